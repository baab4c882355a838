#include "framework/WinApp.h"
#include "framework/Wnd.h"

static CWinApp* s_pApp = nullptr;

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWinApp::CWinApp(LPCSTR pszAppName)
    : m_pszAppName(pszAppName), m_pszHelpFilePath(nullptr), m_hInstance(nullptr), m_pMainWnd(nullptr)
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::WinMain(HINSTANCE hInstance)
{
    // Critical errors and missing files come back as error codes, never as system boxes.
    UINT nMode = ::SetErrorMode(0);
    ::SetErrorMode(nMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    m_hInstance = hInstance;
    SetNamesFromModule();
    if (!InitInstance())
        return ExitInstance();
    return Run();
}

void CWinApp::SetNamesFromModule()
{
    CString strPath;
    LPSTR pszPath = strPath.GetBuffer(MAX_PATH);
    DWORD cch = ::GetModuleFileNameA(m_hInstance, pszPath, MAX_PATH + 1);
    strPath.ReleaseBuffer(cch > MAX_PATH ? MAX_PATH : (int)cch);

    int nNameStart = 0;
    int nExtension = strPath.GetLength();
    for (int i = 0; i < strPath.GetLength(); ++i) {
        if (strPath[i] == '\\' || strPath[i] == '/' || strPath[i] == ':') {
            nNameStart = i + 1;
            nExtension = strPath.GetLength();
        } else if (strPath[i] == '.') {
            nExtension = i;
        }
        // A lead byte's trail byte is never a separator.
        if (::IsDBCSLeadByte((BYTE)strPath[i]))
            ++i;
    }

    if (!m_pszAppName) {
        m_strAppName = strPath.Mid(nNameStart, nExtension - nNameStart);
        m_pszAppName = m_strAppName;
    }
    m_strHelpFilePath = strPath.Left(nExtension) + ".HLP";
    m_pszHelpFilePath = m_strHelpFilePath;
}

void CWinApp::OnHelp()
{
    HWND hWndMain = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    DWORD dwContext = m_pMainWnd ? m_pMainWnd->GetHelpContext() : 0;
    ::WinHelpA(hWndMain, m_pszHelpFilePath, HELP_CONTEXT, dwContext);
}
