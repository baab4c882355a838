#pragma once
#include "framework/CmdTarget.h"
#include "framework/String.h"

class CWnd;

// The framework's Help command, sent for F1.
const UINT ID_HELP = 0xE146;

// The application object: start-up, the main window, the Help command.
// Exactly one exists, constructed statically before WinMain runs.
class CWinApp : public CCmdTarget
{
public:
    // A null name makes start-up take the executable's name without its
    // directory and its last extension.
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program without a message loop.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Asks the help viewer for the main window's topic in the help file.
    void OnHelp();

    LPCSTR m_pszAppName;
    LPCSTR m_pszHelpFilePath;
    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;

    // Start-up as WinMain runs it; returns the process exit status.
    int WinMain(HINSTANCE hInstance);

private:
    void SetNamesFromModule();

    CString m_strAppName;
    CString m_strHelpFilePath;
};

CWinApp* AfxGetApp();
