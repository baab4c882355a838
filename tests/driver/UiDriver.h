#pragma once
#include <windows.h>
#include <string>

// Drives another process's dialog and message boxes from outside, as a user would:
// it only posts input and reads what the windows show. Every wait has a timeout and
// returns false (or NULL) when it runs out; nothing here blocks on the program under test.
class CUiDriver
{
public:
    enum BoxIcon { IconNone, IconExclamation, IconStop, IconQuestion, IconInformation, IconOther };

    CUiDriver();
    ~CUiDriver();  // ends the program if it still runs
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;

    // Starts the program with no standard handles and no inherited handles.
    bool Start(const std::string& strExe, const std::string& strArgs = std::string(),
               const std::string& strCurDir = std::string());
    DWORD GetProcessId() const { return m_dwProcessId; }
    void SetTimeout(DWORD dwMilliseconds) { m_dwTimeout = dwMilliseconds; }

    // The program's unowned top-level dialog (#32770), visible or not; NULL if none.
    HWND FindDialog() const;
    // A #32770 window of the program that has an owner, i.e. a message box; NULL if none.
    HWND FindMessageBox() const;
    // Waits until the dialog is visible (and the program idle); NULL on timeout or exit.
    HWND WaitForDialog();
    // Waits until a message box is up (and the program idle); NULL on timeout or exit.
    HWND WaitForMessageBox();
    // Waits until the program answers messages and uses no CPU.
    bool WaitForIdle();
    // Waits for the program's end; the exit code goes to *pdwExitCode.
    bool WaitForExit(DWORD* pdwExitCode = NULL);
    bool HasExited() const;

    // What a window shows. Text is read with WM_GETTEXT, which works across processes.
    static std::string GetText(HWND hWnd);
    static std::string GetItemText(HWND hDlg, int nID);
    static bool IsItemVisible(HWND hDlg, int nID);
    // The control id of the window that has the keyboard focus in hDlg's thread; 0 if none.
    static int GetFocusID(HWND hDlg);
    // The default push button's id (DM_GETDEFID); 0 if the dialog names none.
    static int GetDefaultID(HWND hDlg);
    // WM_GETICON; Wine answers it with NULL when asked from another process.
    static HICON GetWindowIcon(HWND hWnd, int nType);
    // True if the window's caption shows icon nIconID of the program file strExe (at the
    // small icon size), judged by the pixels on the screen; the window must be uncovered.
    static bool IsCaptionShowingIcon(HWND hWnd, const std::string& strExe, int nIconID);
    // The message box's icon (static 1088), told apart by comparing with the system icons.
    static BoxIcon GetBoxIcon(HWND hBox);
    static const char* GetIconName(BoxIcon icon);
    // True if the window's centre is the work area's centre, within a pixel.
    static bool IsCentredOnWorkArea(HWND hWnd);

    // Input. All of it is posted, so a handler that opens a modal box cannot block the driver.
    static bool SetItemText(HWND hDlg, int nID, const std::string& strText);
    static bool ClickButton(HWND hDlg, int nID);      // BM_CLICK on the button
    static bool PostCommand(HWND hDlg, int nID);      // WM_COMMAND as from the button
    static bool PressKey(HWND hDlg, UINT nVirtKey);   // key down/up to the focus window
    static bool PressCloseBox(HWND hWnd);             // WM_SYSCOMMAND SC_CLOSE

private:
    HWND FindWindowOfProcess(bool bOwned) const;
    bool WaitUntil(bool (CUiDriver::*pfnReady)() const);
    bool IsDialogVisible() const;
    bool IsMessageBoxUp() const;
    bool IsResponsive() const;
    ULONGLONG GetCpuTime() const;

    HANDLE m_hProcess;
    HANDLE m_hThread;
    DWORD m_dwProcessId;
    DWORD m_dwTimeout;
};
