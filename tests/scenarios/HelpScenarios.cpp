// F1: the Help command reaches the help viewer with the dialog's topic.
#include "tests/driver/UiDriver.h"
#include "tests/scenarios/ScenarioSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// Stands in for the help viewer: the system hands a help request to the window
// of this class as WM_COPYDATA carrying a WINHELP-style record.
class CHelpViewerStandIn
{
public:
    CHelpViewerStandIn()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "MS_WINHELP";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA("MS_WINHELP", "help", 0, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~CHelpViewerStandIn() { DestroyWindow(m_hWnd); }

    // Pumps messages until a request came or the time ran out.
    bool WaitForRequest(DWORD dwMilliseconds)
    {
        DWORD dwEnd = GetTickCount() + dwMilliseconds;
        while (!m_bRequest && GetTickCount() < dwEnd) {
            MSG msg;
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
        return m_bRequest;
    }

    bool m_bRequest = false;
    WORD m_wCommand = 0;
    DWORD m_dwContext = 0;
    std::string m_strFile;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        CHelpViewerStandIn* pThis = (CHelpViewerStandIn*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (nMessage == WM_COPYDATA && pThis) {
            // size (2), command (2), data (4), reserved (4), file offset (2), ... the file name
            const COPYDATASTRUCT* pData = (const COPYDATASTRUCT*)lParam;
            const BYTE* p = (const BYTE*)pData->lpData;
            if (pData->cbData >= 16) {
                pThis->m_wCommand = *(const WORD*)(p + 2);
                pThis->m_dwContext = *(const DWORD*)(p + 4);
                WORD wOffset = *(const WORD*)(p + 12);
                if (wOffset < pData->cbData)
                    pThis->m_strFile.assign((const char*)p + wOffset, strnlen((const char*)p + wOffset, pData->cbData - wOffset));
                pThis->m_bRequest = true;
            }
            return TRUE;
        }
        return DefWindowProcA(hWnd, nMessage, wParam, lParam);
    }

    HWND m_hWnd;
};

// A real key press: F1's help request comes from the system's keyboard input,
// not from a posted WM_KEYDOWN.
void TypeKey(HWND hDlg, WORD wVirtKey)
{
    SetForegroundWindow(hDlg);
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = wVirtKey;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

std::string WithHlpExtension(std::string strPath)
{
    size_t nSlash = strPath.find_last_of("\\/");
    size_t nDot = strPath.find_last_of('.');
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash))
        strPath.erase(nDot);
    return strPath + ".HLP";
}

TEST(Help, F1AsksTheHelpViewerForTheDialogTopicInTheSetupHelpFile)
{
    CHelpViewerStandIn viewer;
    CUiDriver driver;
    ASSERT_TRUE(driver.Start(GetSetupExePath()));
    HWND hDlg = driver.WaitForDialog();
    ASSERT_TRUE(hDlg != NULL);

    TypeKey(hDlg, VK_F1);
    ASSERT_TRUE(viewer.WaitForRequest(10000)) << "no help request arrived";
    EXPECT_EQ(HELP_CONTEXT, viewer.m_wCommand);
    EXPECT_EQ(0x20066u, viewer.m_dwContext);

    char szFull[MAX_PATH];
    GetFullPathNameA(GetSetupExePath().c_str(), MAX_PATH, szFull, NULL);
    EXPECT_EQ(0, _stricmp(WithHlpExtension(szFull).c_str(), viewer.m_strFile.c_str()))
        << "help file " << viewer.m_strFile;

    // The dialog is still there and still ready.
    EXPECT_TRUE(IsWindow(hDlg));
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDCANCEL));
    EXPECT_TRUE(driver.WaitForExit());
}

}  // namespace
