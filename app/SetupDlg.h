#pragma once
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "resources/resource.h"

class CSetupDlg : public CDialog
{
public:
    explicit CSetupDlg(CWnd* pParent = nullptr);
    ~CSetupDlg() override;

    enum { IDD = IDD_SETUP };

    CStatic m_staticDirLabel;
    CEdit m_editDir;
    CString m_strStatus;
    CString m_strInstallDir;
    HICON m_hIcon;
    BOOL m_bInstalled;
    BOOL m_bNewInstall;

    // The proposal for a new installation: the Windows directory's drive
    // with "\Program Files\Tessaly", or "\Tessaly" when it has no drive letter.
    static CString MakeDefaultInstallDir(const CString& strWindowsDir);

    void RunInstall();
    CString ReadPreviousInstallDir();
    void RegisterAppPath();
    void RegisterUninstall();
    HRESULT CreateShortcut(CString strTarget, CString strLinkPath, CString strDescription);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    DECLARE_MESSAGE_MAP()
};
