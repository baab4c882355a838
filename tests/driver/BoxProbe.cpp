// tsyboxprobe: shows one message box owned by a hidden dialog-class window, so the
// driver's box readings can be checked against a box whose text, icon and buttons are known.
//   tsyboxprobe.exe exclamation|stop|question|information|none [yesno]
#include <windows.h>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszCmdLine, int)
{
    static const struct { const char* pszName; UINT nIcon; } s_icons[] = {
        { "exclamation", MB_ICONEXCLAMATION }, { "stop", MB_ICONSTOP },
        { "question", MB_ICONQUESTION }, { "information", MB_ICONINFORMATION },
    };
    UINT nType = std::strstr(pszCmdLine, "yesno") ? MB_YESNO : MB_OK;
    for (const auto& icon : s_icons) {
        if (std::strncmp(pszCmdLine, icon.pszName, std::strlen(icon.pszName)) == 0)
            nType |= icon.nIcon;
    }
    // The owner is what tells a message box from the dialog; keep it invisible like
    // a dialog that is still initialising.
    HWND hOwner = CreateWindowExA(0, "#32770", "probe owner", WS_POPUP, 0, 0, 10, 10,
                                  NULL, NULL, NULL, NULL);
    int nResult = MessageBoxA(hOwner, "Probe line 1\r\nProbe line 2", "probe", nType);
    DestroyWindow(hOwner);
    return nResult;
}
