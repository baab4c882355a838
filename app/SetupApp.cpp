#include "app/SetupApp.h"
#include "app/SetupDlg.h"
#include "framework/Ctl3d.h"

CSetupApp theApp;

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp()
    : CWinApp(nullptr)
{
}

BOOL CSetupApp::InitInstance()
{
    Enable3dControlsStatic();

    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // The dialog has closed: end without a message loop.
    return FALSE;
}
