#include "app/SetupDlg.h"
#include "framework/MessageBox.h"
#include "framework/StringArray.h"
#include "install/ExpandPayload.h"
#include "system/ShellFolders.h"

#include <objbase.h>

void CSetupDlg::RunInstall()
{
    if (m_bInstalled) {
        OnCancel();
        return;
    }

    CString strDesktop;
    CString strPrograms;
    ReadShellFolders(strDesktop, strPrograms);

    CString strDir;
    m_editDir.GetWindowText(strDir);
    if (strDir.Right(1) == "\\")
        strDir = strDir.Left(strDir.GetLength() - 1);

    if (!::CreateDirectoryA(strDir, nullptr)) {
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            AfxMessageBox("Cannot create directory", MB_OK);
            return;
        }
        if (m_bNewInstall && AfxMessageBox("Directory already exixts\r\nContinue?", MB_YESNO) != IDYES)
            return;
    }

    CStringArray arrInstallFiles;
    if (!ExpandPayload(strDir, arrInstallFiles))
        return;

    m_strStatus = "The program has been successfully installed";
    UpdateData(FALSE);
    // Hidden, OK stays the default button: Enter now closes the dialog.
    GetDlgItem(IDOK).ShowWindow(SW_HIDE);
    GetDlgItem(IDCANCEL).SetWindowText("Close");
    m_editDir.ShowWindow(SW_HIDE);
    m_staticDirLabel.ShowWindow(SW_HIDE);

    ::CoInitialize(nullptr);
    // An empty folder would put the link at the root of the current drive,
    // outside every folder the user chose: that shortcut is left out.
    CString strTarget = strDir + "\\" + arrInstallFiles[0];
    if (!strDesktop.IsEmpty())
        CreateShortcut(strTarget, strDesktop + "\\TSY.lnk", "Tessaly");
    if (!strPrograms.IsEmpty())
        CreateShortcut(strTarget, strPrograms + "\\TSY.lnk", "Tessaly");

    m_strInstallDir = strDir;
    RegisterAppPath();
    RegisterUninstall();
    ::CoUninitialize();

    m_bInstalled = TRUE;
}
