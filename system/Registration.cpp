#include "app/ProductNames.h"
#include "app/SetupDlg.h"
#include "framework/RegKeyPath.h"

// The buffer offered for the previous installation's "Path" value.
static const DWORD PathValueBufferSize = 261;

CString CSetupDlg::ReadPreviousInstallDir()
{
    CString strResult;
    const LPCSTR levels[] = { "SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths", ProductExeName };
    CRegKeyPath<6> path;
    if (path.Open(HKEY_LOCAL_MACHINE, levels))
        path.Last().QueryStringValue("Path", PathValueBufferSize, strResult);
    return strResult;
}

void CSetupDlg::RegisterAppPath()
{
    const LPCSTR levels[] = { "SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "App Paths" };
    CRegKeyPath<5> path;
    if (!path.Open(HKEY_LOCAL_MACHINE, levels))
        return;
    CRegKey keyProduct;
    if (keyProduct.Create(path.Last(), ProductExeName) != ERROR_SUCCESS)
        return;

    CString strExePath = m_strInstallDir + "\\" + ProductExeName;
    keyProduct.SetStringValue(nullptr, strExePath);
    keyProduct.SetStringValue("Path", m_strInstallDir);
}

void CSetupDlg::RegisterUninstall()
{
    const LPCSTR levels[] = { "SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "Uninstall" };
    CRegKeyPath<5> path;
    if (!path.Open(HKEY_LOCAL_MACHINE, levels))
        return;
    CRegKey keyProduct;
    if (keyProduct.Create(path.Last(), "Tessaly Text v2.0") != ERROR_SUCCESS)
        return;

    // Quoted, so that a directory with blanks cannot be read as a shorter
    // program path ("C:\Program.exe").
    CString strCommand = "\"" + m_strInstallDir + "\\Uninstall.exe\"";
    keyProduct.SetStringValue("DisplayName", "Tessaly for Text");
    keyProduct.SetStringValue("UninstallString", strCommand);
}
