#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->WinMain(hInstance) : 0;
}
