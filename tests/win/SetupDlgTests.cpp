#include "app/SetupDlg.h"

#include <gtest/gtest.h>

namespace {

// Runs the real initialisation, then looks at the dialog from inside before ending it.
class CProbedSetupDlg : public CSetupDlg
{
public:
    HICON m_hBigIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HCURSOR m_hDragIcon = nullptr;
    CString m_strEditText;
    CString m_strStatusText;
    BOOL m_bWasIconic = FALSE;

protected:
    BOOL OnInitDialog() override
    {
        BOOL bResult = CSetupDlg::OnInitDialog();
        m_hBigIcon = (HICON)SendMessage(WM_GETICON, ICON_BIG, 0);
        m_hSmallIcon = (HICON)SendMessage(WM_GETICON, ICON_SMALL, 0);
        m_editDir.GetWindowText(m_strEditText);
        GetDlgItem(IDC_STATUS_TEXT).GetWindowText(m_strStatusText);

        // Minimised, the dialog paints its icon and hands it out for dragging.
        ShowWindow(SW_MINIMIZE);
        m_bWasIconic = IsIconic();
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        m_hDragIcon = (HCURSOR)SendMessage(WM_QUERYDRAGICON);
        EndDialog(IDCANCEL);
        return bResult;
    }
};

TEST(SetupDlg, NewInstallationInitialisesIconsProposalAndNote)
{
    CProbedSetupDlg dlg;
    ASSERT_NE(nullptr, dlg.m_hIcon);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());

    EXPECT_EQ(dlg.m_hIcon, dlg.m_hBigIcon);
    EXPECT_EQ(dlg.m_hIcon, dlg.m_hSmallIcon);
    EXPECT_TRUE(dlg.m_bNewInstall);
    EXPECT_FALSE(dlg.m_bInstalled);
    // Wine's Windows directory is "C:\windows".
    EXPECT_STREQ("C:\\Program Files\\Tessaly", dlg.m_strInstallDir);
    EXPECT_STREQ("C:\\Program Files\\Tessaly", dlg.m_strEditText);
    EXPECT_STREQ("The program needs 2 MBytes of free disk space", dlg.m_strStatusText);
    EXPECT_STREQ("The program needs 2 MBytes of free disk space", dlg.m_strStatus);
    EXPECT_TRUE(dlg.m_bWasIconic);
    EXPECT_EQ((HCURSOR)dlg.m_hIcon, dlg.m_hDragIcon);
}

TEST(SetupDlg, IconIsTheStandardSizeImage)
{
    CSetupDlg dlg;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(dlg.m_hIcon, &info));
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), bm.bmWidth);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

}  // namespace
