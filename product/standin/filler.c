/* Writes deterministic filler for the stand-in product files.
 *   filler code SEED COUNT   bytes shaped like machine code and tables: skewed
 *                            byte values, many short repeats, some long-range ones
 *   filler text SEED COUNT   help-like prose built from a small vocabulary
 *   filler help SEED COUNT   prose broken up by binary blocks, as a help file's
 *                            own compressed topics break up its text
 * The same arguments always give the same bytes. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned long long g_state;

static unsigned NextRandom(void)
{
    /* splitmix64: fixed output on every platform */
    unsigned long long z = (g_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return (unsigned)((z ^ (z >> 31)) >> 32);
}

static unsigned RandomBelow(unsigned n)
{
    return NextRandom() % n;
}

static const unsigned char CommonOpcodes[] = {
    0x8B, 0x89, 0x83, 0xE8, 0x50, 0x51, 0x52, 0x53, 0x55, 0x56, 0x57, 0x5D, 0x5E, 0x5F, 0xC3,
    0x0F, 0x84, 0x85, 0x74, 0x75, 0xEB, 0xFF, 0x45, 0x4D, 0x55, 0x08, 0x0C, 0x10, 0x24, 0x44,
    0x6A, 0x68, 0x33, 0xC0, 0x3B, 0xC8, 0x8D, 0x04, 0x40, 0x01, 0x02, 0xF8, 0xFC, 0xEC, 0xE5,
};

static unsigned char CodeLiteral(void)
{
    unsigned r = RandomBelow(100);
    if (r < 22)
        return 0x00;
    if (r < 26)
        return 0xFF;
    if (r < 58)
        return CommonOpcodes[RandomBelow(sizeof(CommonOpcodes))];
    return (unsigned char)RandomBelow(256);
}

static void WriteCode(unsigned char* pOut, size_t cb)
{
    size_t n = 0;
    while (n < cb) {
        unsigned r = RandomBelow(100);
        if (n > 64 && r < 21) {
            /* mostly near repeats, as code reuses nearby sequences; a few far ones */
            size_t nReach = RandomBelow(10) == 0 ? 60000 : 3000;
            size_t nDistance = 1 + RandomBelow((unsigned)(n < nReach ? n : nReach));
            size_t nLength = 3 + RandomBelow(6) + (RandomBelow(4) == 0 ? RandomBelow(24) : 0);
            size_t i;
            for (i = 0; i < nLength && n < cb; ++i, ++n)
                pOut[n] = pOut[n - nDistance];
            continue;
        }
        pOut[n++] = CodeLiteral();
    }
}

static const char* const Words[] = {
    "Tessaly", "document", "text", "page", "the", "a", "to", "of", "and", "in", "you", "your", "can", "is",
    "file", "menu", "click", "choose", "open", "save", "print", "format", "paragraph", "style", "font",
    "window", "dialog", "box", "button", "select", "command", "toolbar", "option", "list", "folder", "name",
    "with", "for", "this", "that", "when", "each", "new", "edit", "view", "insert", "table", "column",
    "row", "heading", "margin", "spelling", "search", "replace", "undo", "help", "topic", "shortcut",
    "keyboard", "mouse", "press", "type", "line", "word", "character", "selection", "then", "or", "not",
};

static size_t WriteText(unsigned char* pOut, size_t n, size_t cb)
{
    size_t nWordsInLine = 0;
    while (n < cb) {
        const char* pszWord = Words[RandomBelow(sizeof(Words) / sizeof(Words[0]))];
        char szPiece[64];
        size_t i;
        if (nWordsInLine == 0 && RandomBelow(8) == 0)
            sprintf(szPiece, "#%u %s\r\n", RandomBelow(900) + 100, pszWord);
        else if (++nWordsInLine > 9 + RandomBelow(4)) {
            sprintf(szPiece, "%s.\r\n", pszWord);
            nWordsInLine = 0;
        } else
            sprintf(szPiece, "%s ", pszWord);
        for (i = 0; szPiece[i] && n < cb; ++i)
            pOut[n++] = (unsigned char)szPiece[i];
    }
    return n;
}

static void WriteHelp(unsigned char* pOut, size_t cb)
{
    size_t n = 0;
    while (n < cb) {
        size_t nEnd = n + 120 + RandomBelow(200);
        n = WriteText(pOut, n, nEnd < cb ? nEnd : cb);
        nEnd = n + 200 + RandomBelow(250);
        while (n < cb && n < nEnd)
            pOut[n++] = (unsigned char)RandomBelow(256);
    }
}

int main(int argc, char** argv)
{
    size_t cb;
    unsigned char* pOut;
    if (argc != 4) {
        fputs("usage: filler code|text SEED COUNT\n", stderr);
        return 2;
    }
    g_state = strtoull(argv[2], NULL, 10);
    cb = (size_t)strtoull(argv[3], NULL, 10);
    pOut = malloc(cb ? cb : 1);
    if (!pOut)
        return 1;
    if (strcmp(argv[1], "code") == 0)
        WriteCode(pOut, cb);
    else if (strcmp(argv[1], "text") == 0)
        WriteText(pOut, 0, cb);
    else if (strcmp(argv[1], "help") == 0)
        WriteHelp(pOut, cb);
    else
        return 2;
    return fwrite(pOut, 1, cb, stdout) == cb ? 0 : 1;
}
