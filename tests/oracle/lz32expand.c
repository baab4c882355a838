/* lz32expand IN OUT [IN OUT]...
 * Expands each SZDD file IN into OUT through the system's LZ expansion
 * service, so that the host tests can hear what Windows makes of our files.
 * Exit status 0 when every pair was expanded. */
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>

static int ExpandOne(const char* pszIn, const char* pszOut)
{
    static BYTE buffer[65536];
    OFSTRUCT of;
    INT hIn;
    FILE* pOut;
    int nResult = 0;

    ZeroMemory(&of, sizeof(of));
    hIn = LZOpenFileA((LPSTR)pszIn, &of, OF_READ);
    if (hIn < 0) {
        fprintf(stderr, "lz32expand: LZOpenFileA '%s' failed: %d\n", pszIn, hIn);
        return 1;
    }
    pOut = fopen(pszOut, "wb");
    if (!pOut) {
        fprintf(stderr, "lz32expand: cannot create '%s'\n", pszOut);
        LZClose(hIn);
        return 1;
    }
    for (;;) {
        INT cbRead = LZRead(hIn, (LPSTR)buffer, sizeof(buffer));
        if (cbRead < 0) {
            fprintf(stderr, "lz32expand: LZRead '%s' failed: %d\n", pszIn, cbRead);
            nResult = 1;
            break;
        }
        if (cbRead == 0)
            break;
        if (fwrite(buffer, 1, (size_t)cbRead, pOut) != (size_t)cbRead) {
            fprintf(stderr, "lz32expand: cannot write '%s'\n", pszOut);
            nResult = 1;
            break;
        }
    }
    LZClose(hIn);
    if (fclose(pOut) != 0)
        nResult = 1;
    return nResult;
}

int main(int argc, char** argv)
{
    int i;
    int nFailures = 0;
    if (argc < 3 || argc % 2 != 1) {
        fputs("usage: lz32expand IN OUT [IN OUT]...\n", stderr);
        return 2;
    }
    for (i = 1; i + 1 < argc; i += 2)
        nFailures += ExpandOne(argv[i], argv[i + 1]);
    return nFailures == 0 ? 0 : 1;
}
