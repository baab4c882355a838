/* A stand-in for a Tessaly program: it only says what it is. */
#include <windows.h>

#ifndef STANDIN_TEXT
#define STANDIN_TEXT "Tessaly stand-in"
#endif

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    (void)hInstance;
    (void)hPrevInstance;
    (void)pszCmdLine;
    (void)nCmdShow;
    MessageBoxA(NULL, STANDIN_TEXT "\r\n\r\nThis file stands in for the real program until it is delivered.",
        "Tessaly stand-in", MB_OK | MB_ICONINFORMATION);
    return 0;
}
