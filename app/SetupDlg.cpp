#include "app/SetupDlg.h"
#include "framework/MessageBox.h"

BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    ON_WM_PAINT(CSetupDlg)
    ON_WM_QUERYDRAGICON(CSetupDlg)
    ON_BN_CLICKED(IDOK, CSetupDlg::RunInstall)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_bInstalled(FALSE), m_bNewInstall(FALSE)
{
    m_strStatus = "";
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
}

CSetupDlg::~CSetupDlg()
{
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DIR_LABEL, m_staticDirLabel);
    DDX_Control(pDX, IDC_DIR_EDIT, m_editDir);
    DDX_Text(pDX, IDC_STATUS_TEXT, m_strStatus);
}

BOOL CSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    m_strInstallDir = ReadPreviousInstallDir();
    if (!m_strInstallDir.IsEmpty()) {
        m_bNewInstall = FALSE;
        if (AfxMessageBox("A previous Installation of TSY found\r\nReinstall?", MB_YESNO) != IDYES)
            EndDialog(IDCANCEL);
    } else {
        char szWindowsDir[261];
        // A failure leaves the directory empty, which proposes "\Tessaly".
        if (!::GetWindowsDirectoryA(szWindowsDir, sizeof szWindowsDir))
            szWindowsDir[0] = 0;
        m_bNewInstall = TRUE;
        m_strInstallDir = MakeDefaultInstallDir(szWindowsDir);
    }

    m_editDir.SetWindowText(m_strInstallDir);
    m_strStatus = "The program needs 2 MBytes of free disk space";
    UpdateData(FALSE);
    return TRUE;
}

CString CSetupDlg::MakeDefaultInstallDir(const CString& strWindowsDir)
{
    CString strDrive = strWindowsDir.Left(2);
    strDrive.MakeUpper();
    CString strBase;
    if (strDrive.GetLength() == 2 && strDrive[0] >= 'A' && strDrive[0] <= 'Z' && strDrive[1] == ':')
        strBase = strDrive + "\\Program Files";
    return strBase + "\\Tessaly";
}

void CSetupDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }

    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)hDC, 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(hDC, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

HCURSOR CSetupDlg::OnQueryDragIcon()
{
    return (HCURSOR)m_hIcon;
}
