// setup.exe from start-up to the waiting dialog, and every way of leaving it without
// installing: the proposal, the reinstall question, Cancel, Esc and the close box.
#include "tests/driver/UiDriver.h"
#include "tests/scenarios/ScenarioSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char REINSTALL_TEXT[] = "A previous Installation of TSY found\r\nReinstall?";
const char DEFAULT_DIR[] = "C:\\Program Files\\Tessaly";

void ExpectReadyDialog(HWND hDlg, const std::string& strDir)
{
    EXPECT_EQ("Setup Tessaly for Text", CUiDriver::GetText(hDlg));
    EXPECT_TRUE(IsWindowVisible(hDlg));
    EXPECT_TRUE(CUiDriver::IsCentredOnWorkArea(hDlg));
    EXPECT_EQ(strDir, CUiDriver::GetItemText(hDlg, 1001));
    EXPECT_EQ("The program needs 2 MBytes of free disk space", CUiDriver::GetItemText(hDlg, 1002));
    EXPECT_EQ("Setup Directory:", CUiDriver::GetItemText(hDlg, 1003));
    EXPECT_EQ("OK", CUiDriver::GetItemText(hDlg, IDOK));
    EXPECT_EQ("Cancel", CUiDriver::GetItemText(hDlg, IDCANCEL));
    EXPECT_EQ(IDOK, CUiDriver::GetFocusID(hDlg));
    EXPECT_EQ(IDOK, CUiDriver::GetDefaultID(hDlg));
}

void ExpectReinstallQuestion(const CUiDriver& driver, HWND hBox, const char* pszCaption)
{
    EXPECT_EQ(pszCaption, CUiDriver::GetText(hBox));
    EXPECT_EQ(REINSTALL_TEXT, CUiDriver::GetItemText(hBox, 0xFFFF));
    EXPECT_STREQ("exclamation", CUiDriver::GetIconName(CUiDriver::GetBoxIcon(hBox)));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hBox, IDYES));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hBox, IDNO));
    EXPECT_FALSE(CUiDriver::IsItemVisible(hBox, IDOK));
    // Asked during initialisation: the dialog exists but has not been shown.
    HWND hDlg = driver.FindDialog();
    ASSERT_TRUE(hDlg != NULL);
    EXPECT_FALSE(IsWindowVisible(hDlg));
}

void EndWithCancel(CUiDriver& driver, HWND hDlg)
{
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDCANCEL));
    ASSERT_TRUE(driver.WaitForExit());
}

TEST(Startup, WithoutPreviousInstallationProposesTheDefaultDirectory)
{
    CUiDriver driver;
    ASSERT_TRUE(driver.Start(GetSetupExePath()));
    HWND hDlg = driver.WaitForDialog();
    ASSERT_TRUE(hDlg != NULL);

    EXPECT_TRUE(driver.FindMessageBox() == NULL) << "a question without a previous installation";
    // Wine's Windows directory is "C:\windows": the drive letter comes out upper-case all the same.
    ExpectReadyDialog(hDlg, DEFAULT_DIR);
    // Wine answers WM_GETICON from another process with NULL; the caption shows the icon.
    EXPECT_TRUE(CUiDriver::IsCaptionShowingIcon(hDlg, GetSetupExePath(), 128));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, IDOK));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, 1001));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, 1003));

    EndWithCancel(driver, hDlg);
}

// One stored "Path" value of a previous installation and what start-up makes of it.
struct PathCase
{
    const char* pszName;
    DWORD dwType;
    std::string strBytes;    // stored exactly, NUL included only where written
    bool bAsks;              // the reinstall question comes up
    std::string strProposal; // the edit's text once the dialog shows
};

std::string WithNul(const std::string& str)
{
    return str + std::string(1, '\0');
}

std::string PathCaseName(const testing::TestParamInfo<PathCase>& info)
{
    return info.param.pszName;
}

const std::string LONGEST_FITTING = "D:\\" + std::string(257, 'x');  // 260 characters

const PathCase PATH_CASES[] = {
    { "TrailingBackslashMixedCase", REG_SZ, WithNul("D:\\Tools\\Tessaly\\"), true, "D:\\Tools\\Tessaly\\" },
    { "Empty", REG_SZ, WithNul(""), false, DEFAULT_DIR },
    { "Chars260", REG_SZ, WithNul(LONGEST_FITTING), true, LONGEST_FITTING },
    { "Chars261", REG_SZ, WithNul(LONGEST_FITTING + "y"), false, DEFAULT_DIR },
    { "ExpandSzNotExpanded", REG_EXPAND_SZ, WithNul("%SystemDrive%\\Tessaly"), true, "%SystemDrive%\\Tessaly" },
    { "StoredWithoutNul", REG_SZ, "D:\\Tools", true, "D:\\Tools" },
};

class PreviousPath : public testing::TestWithParam<PathCase>
{
};

TEST_P(PreviousPath, YesShowsTheStoredDirectoryUnchanged)
{
    const PathCase& test = GetParam();
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "Path", test.dwType,
                              test.strBytes.data(), static_cast<DWORD>(test.strBytes.size())));
    CUiDriver driver;
    ASSERT_TRUE(driver.Start(GetSetupExePath()));

    if (test.bAsks) {
        HWND hBox = driver.WaitForMessageBox();
        ASSERT_TRUE(hBox != NULL) << "no reinstall question";
        ExpectReinstallQuestion(driver, hBox, "setup");
        ASSERT_TRUE(CUiDriver::ClickButton(hBox, IDYES));
    }
    HWND hDlg = driver.WaitForDialog();
    ASSERT_TRUE(hDlg != NULL);
    EXPECT_TRUE(driver.FindMessageBox() == NULL);
    ExpectReadyDialog(hDlg, test.strProposal);

    EndWithCancel(driver, hDlg);
}

INSTANTIATE_TEST_SUITE_P(Values, PreviousPath, testing::ValuesIn(PATH_CASES), PathCaseName);

// Any answer but Yes ends the program before the dialog is ever shown.
TEST(ReinstallQuestion, AnswersOtherThanYesEndWithoutDialogOrChanges)
{
    static const struct { const char* pszHow; bool bCloseBox; } s_answers[] = {
        { "No", false },
        { "close box", true },
    };
    const std::string strPath = WithNul("D:\\Tools\\Tessaly");
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "Path", REG_SZ, strPath.data(),
                              static_cast<DWORD>(strPath.size())));
    for (const auto& answer : s_answers) {
        SCOPED_TRACE(answer.pszHow);
        CUiDriver driver;
        ASSERT_TRUE(driver.Start(GetSetupExePath()));
        HWND hBox = driver.WaitForMessageBox();
        ASSERT_TRUE(hBox != NULL);
        ASSERT_TRUE(answer.bCloseBox ? CUiDriver::PressCloseBox(hBox) : CUiDriver::ClickButton(hBox, IDNO));
        ExpectExitWithoutDialog(driver);
        ExpectNothingInstalled(true, strPath);
    }
}

TEST(ReinstallQuestion, CaptionIsTheExecutablesOwnName)
{
    const std::string strPath = WithNul("D:\\Tools\\Tessaly");
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "Path", REG_SZ, strPath.data(),
                              static_cast<DWORD>(strPath.size())));
    ASSERT_TRUE(CreateDirectoryA("C:\\renamed", NULL));
    ASSERT_TRUE(CopyFileA(GetSetupExePath().c_str(), "C:\\renamed\\MyInstall.EXE", FALSE));

    CUiDriver driver;
    ASSERT_TRUE(driver.Start("C:\\renamed\\MyInstall.EXE"));
    HWND hBox = driver.WaitForMessageBox();
    ASSERT_TRUE(hBox != NULL);
    ExpectReinstallQuestion(driver, hBox, "MyInstall");
    ASSERT_TRUE(CUiDriver::ClickButton(hBox, IDNO));
    ASSERT_TRUE(driver.WaitForExit());
}

// Cancel, Esc and the close box all end the program from the waiting dialog.
enum CloseWay { CloseCancel, CloseEsc, CloseBox };

class Closing : public testing::TestWithParam<CloseWay>
{
};

TEST_P(Closing, EndsTheProgramWithNothingWritten)
{
    CUiDriver driver;
    ASSERT_TRUE(driver.Start(GetSetupExePath()));
    HWND hDlg = driver.WaitForDialog();
    ASSERT_TRUE(hDlg != NULL);

    switch (GetParam()) {
    case CloseCancel:
        ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDCANCEL));
        break;
    case CloseEsc:
        ASSERT_TRUE(CUiDriver::PressKey(hDlg, VK_ESCAPE));
        break;
    case CloseBox:
        ASSERT_TRUE(CUiDriver::PressCloseBox(hDlg));
        break;
    }
    ASSERT_TRUE(driver.WaitForExit()) << "still running";
    EXPECT_TRUE(driver.FindMessageBox() == NULL);
    ExpectNothingInstalled(false, std::string());
}

std::string CloseWayName(const testing::TestParamInfo<CloseWay>& info)
{
    static const char* const s_names[] = { "Cancel", "Esc", "CloseBox" };
    return s_names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing, testing::Values(CloseCancel, CloseEsc, CloseBox), CloseWayName);
}
