#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CBaseTarget : public CCmdTarget
{
public:
    std::string m_strCalls;
    void OnFirst() { m_strCalls += "base-first "; }
    void OnSecond() { m_strCalls += "base-second "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(100, CBaseTarget::OnFirst)
    ON_COMMAND(101, CBaseTarget::OnSecond)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget
{
public:
    void OnFirst() { m_strCalls += "derived-first "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(100, CDerivedTarget::OnFirst)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedMapIsSearchedFirstThenTheBase)
{
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, 0));
    EXPECT_TRUE(target.OnCmdMsg(101, 0));
    EXPECT_FALSE(target.OnCmdMsg(102, 0));
    EXPECT_FALSE(target.OnCmdMsg(100, 1));  // another notification code
    EXPECT_EQ("derived-first base-second ", target.m_strCalls);
}

class CQuietApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        m_bRan = TRUE;
        return FALSE;
    }
    BOOL m_bRan = FALSE;
};

TEST(WinApp, StartUpNamesTheAppAfterTheExecutableAndEndsWhenInitFails)
{
    CQuietApp app;
    SetErrorMode(0);
    EXPECT_EQ(0, app.WinMain(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(app.m_bRan);

    char szPath[MAX_PATH];
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path = szPath;
    std::string name = path.substr(path.find_last_of('\\') + 1);
    std::string stem = name.substr(0, name.find_last_of('.'));
    EXPECT_EQ(stem, app.m_pszAppName);
    EXPECT_EQ(path.substr(0, path.find_last_of('.')) + ".HLP", app.m_pszHelpFilePath);

    UINT nMode = SetErrorMode(0);
    EXPECT_EQ((UINT)(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              nMode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

TEST(Dialog, MissingTemplateGivesMinusOneAndShowsNothing)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
}

// Counts the texts set on the status control while the dialog exchanges data.
class CExchangeDlg : public CDialog
{
public:
    CExchangeDlg() : CDialog(IDD_SETUP) {}

    CString m_strStatus;
    int m_nSetTexts = 0;
    CString m_strSaved;
    HWND m_hWndAtInit = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_STATUS_TEXT, m_strStatus); }

    BOOL OnInitDialog() override
    {
        m_hWndAtInit = m_hWnd;
        HWND hStatus = ::GetDlgItem(m_hWnd, IDC_STATUS_TEXT);
        ::SetWindowLongPtrA(hStatus, GWLP_USERDATA, (LONG_PTR)this);
        s_pfnStatic = (WNDPROC)::SetWindowLongPtrA(hStatus, GWLP_WNDPROC, (LONG_PTR)CountingProc);

        m_strStatus = "note";
        UpdateData(FALSE);
        UpdateData(FALSE);  // unchanged: no second WM_SETTEXT
        ::SetWindowTextA(hStatus, "typed by someone else");
        UpdateData(TRUE);
        m_strSaved = m_strStatus;
        EndDialog(7);
        return TRUE;
    }

private:
    static LRESULT CALLBACK CountingProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        if (nMessage == WM_SETTEXT)
            reinterpret_cast<CExchangeDlg*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA))->m_nSetTexts++;
        return ::CallWindowProcA(s_pfnStatic, hWnd, nMessage, wParam, lParam);
    }
    static WNDPROC s_pfnStatic;
};

WNDPROC CExchangeDlg::s_pfnStatic = nullptr;

TEST(Dialog, TextExchangeLoadsOnlyChangedTextAndSavesTheWholeText)
{
    CExchangeDlg dlg;
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_NE(nullptr, dlg.m_hWndAtInit);
    // The base initialisation did not run here, so the first load is the note itself;
    // the direct SetWindowText counts as the second.
    EXPECT_EQ(2, dlg.m_nSetTexts);
    EXPECT_STREQ("typed by someone else", dlg.m_strSaved);
}

}  // namespace
