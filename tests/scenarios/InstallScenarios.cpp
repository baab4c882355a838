// setup.exe installing: OK and what follows it, on disk, in the registry and in the dialog.
// Each case starts from a clean prefix.
#include "tests/driver/UiDriver.h"
#include "tests/scenarios/InstallSupport.h"
#include "tests/scenarios/ScenarioSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
const char DEFAULT_DIR[] = "C:\\Program Files\\Tessaly";
const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char USER_SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string LinkIn(const char* pszFolder)
{
    return GetShellFolder(pszFolder) + "\\TSY.lnk";
}

void ExpectCompleteInstallation(const std::string& strFilesDir, const std::string& strInstallDir,
                                const std::string& strLinkTarget)
{
    ExpectInstalledFiles(strFilesDir);
    ExpectShortcut(LinkIn("Desktop"), strLinkTarget);
    ExpectShortcut(LinkIn("Programs"), strLinkTarget);
    ExpectRegistration(strInstallDir);
}

// Something in the target directory that keeps setup from creating one of its files. Read-only
// files do not do it here: Wine maps the attribute to Unix permissions, which root ignores.
class CBlocker
{
public:
    enum Kind { Directory, HeldOpen };

    CBlocker(Kind kind, const std::string& strPath) : m_kind(kind), m_strPath(strPath), m_hFile(INVALID_HANDLE_VALUE) {}
    ~CBlocker() { Remove(); }
    CBlocker(const CBlocker&) = delete;
    CBlocker& operator=(const CBlocker&) = delete;

    bool Plant()
    {
        if (m_kind == Directory)
            return CreateDirectoryA(m_strPath.c_str(), NULL) != 0;
        // Opened without sharing, as a program using the file would hold it.
        m_hFile = CreateFileA(m_strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        return m_hFile != INVALID_HANDLE_VALUE;
    }

    bool Remove()
    {
        if (m_kind == Directory)
            return RemoveDirectoryA(m_strPath.c_str()) != 0;
        if (m_hFile == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        return true;
    }

private:
    Kind m_kind;
    std::string m_strPath;
    HANDLE m_hFile;
};

void DeleteShellFolderValue(const char* pszName)
{
    for (const char* pszKey : { SHELL_FOLDERS_KEY, USER_SHELL_FOLDERS_KEY }) {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, pszKey, 0, KEY_SET_VALUE, &hKey));
        RegDeleteValueA(hKey, pszName);
        RegCloseKey(hKey);
    }
}


TEST(CompletedRun, FinishedDialogFilesShortcutsAndRegistry)
{
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver);
    ASSERT_TRUE(hDlg != NULL);
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    HWND hBox = WaitForRunOutcome(driver, hDlg);
    ASSERT_TRUE(hBox == NULL) << "unexpected box: " << CUiDriver::GetItemText(hBox, 0xFFFF);

    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation(DEFAULT_DIR, DEFAULT_DIR, std::string(DEFAULT_DIR) + "\\TSY.exe");
    // Only the four files: the staging file is gone and nothing else was written there.
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((std::string(DEFAULT_DIR) + "\\*").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind);
    int nFiles = 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++nFiles;
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    EXPECT_EQ(4, nFiles);
}

// An independent reader of the shortcut files, outside Wine's shell.
TEST(CompletedRun, ShortcutsReadByLnkinfo)
{
    if (!IsLnkinfoAvailable())
        GTEST_SKIP() << "lnkinfo (Debian liblnk-utils) is not installed at /usr/bin/lnkinfo";
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver);
    ASSERT_TRUE(hDlg != NULL);
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    ASSERT_TRUE(WaitForRunOutcome(driver, hDlg) == NULL);

    for (const char* pszFolder : { "Desktop", "Programs" }) {
        SCOPED_TRACE(pszFolder);
        CShortcutInfo info = ReadShortcutWithLnkinfo(LinkIn(pszFolder));
        ASSERT_TRUE(info.bRead);
        EXPECT_EQ(std::string(DEFAULT_DIR) + "\\TSY.exe", info.strTarget);
        EXPECT_EQ("Tessaly", info.strDescription);
    }
}

// After a completed run, OK (the hidden default button), Enter and Close all end the program.
// What the run wrote is taken away first: a second run would bring it back.
enum CloseWay { CloseOkCommand, CloseEnterKey, CloseButton };

class ClosingAfterInstall : public testing::TestWithParam<CloseWay>
{
};

TEST_P(ClosingAfterInstall, EndsTheProgramAndWritesNothingMore)
{
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver);
    ASSERT_TRUE(hDlg != NULL);
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    ASSERT_TRUE(WaitForRunOutcome(driver, hDlg) == NULL);
    ExpectFinishedDialog(hDlg);

    const std::string strExe = std::string(DEFAULT_DIR) + "\\TSY.exe";
    ASSERT_TRUE(DeleteFileA(strExe.c_str()));
    ASSERT_TRUE(DeleteFileA(LinkIn("Desktop").c_str()));
    ASSERT_TRUE(DeleteFileA(LinkIn("Programs").c_str()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY));

    switch (GetParam()) {
    case CloseOkCommand:
        ASSERT_TRUE(CUiDriver::PostCommand(hDlg, IDOK));
        break;
    case CloseEnterKey:
        ASSERT_TRUE(CUiDriver::PressKey(hDlg, VK_RETURN));
        break;
    case CloseButton:
        ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDCANCEL));
        break;
    }
    ASSERT_TRUE(driver.WaitForExit()) << "setup still runs";
    EXPECT_FALSE(PathExists(strExe));
    EXPECT_TRUE(PathExists(std::string(DEFAULT_DIR) + "\\TSY.hlp"));
    EXPECT_FALSE(PathExists(std::string(DEFAULT_DIR) + "\\tsy.tmp"));
    ExpectNoRegistrationOrShortcuts();
}

std::string CloseWayName(const testing::TestParamInfo<CloseWay>& info)
{
    static const char* const s_names[] = { "OkCommand", "EnterKey", "CloseButton" };
    return s_names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingAfterInstall, testing::Values(CloseOkCommand, CloseEnterKey, CloseButton),
                         CloseWayName);

// The directory text, taken as typed: one trailing backslash removed, nothing else changed.

struct DirCase
{
    const char* pszName;
    const char* pszText;       // typed into the edit
    const char* pszCurDir;     // setup's current directory
    const char* pszFilesDir;   // where the files land
    const char* pszInstallDir; // the directory the registry names
    const char* pszLinkTarget; // the target both shortcuts hold
};

const DirCase DIR_CASES[] = {
    { "TrailingBackslash", "C:\\Tessaly\\", "C:\\", "C:\\Tessaly", "C:\\Tessaly", "C:\\Tessaly\\TSY.exe" },
    // One backslash stays and is doubled in every path built from the directory; the link
    // object stores the target it is given in its normalised form.
    { "TwoTrailingBackslashes", "C:\\Tessaly\\\\", "C:\\", "C:\\Tessaly", "C:\\Tessaly\\",
      "C:\\Tessaly\\TSY.exe" },
    // Resolved against setup's current directory by the file system (and by the link object
    // for the target it stores); the registry keeps the text as typed.
    { "Relative", "Tessaly", "C:\\users", "C:\\users\\Tessaly", "Tessaly", "C:\\users\\Tessaly\\TSY.exe" },
    { "Blanks", "C:\\Program Files\\Tessaly for Text", "C:\\", "C:\\Program Files\\Tessaly for Text",
      "C:\\Program Files\\Tessaly for Text", "C:\\Program Files\\Tessaly for Text\\TSY.exe" },
};

class TargetDirectory : public testing::TestWithParam<DirCase>
{
};

TEST_P(TargetDirectory, InstallsWhereTheTextSays)
{
    const DirCase& test = GetParam();
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver, test.pszCurDir);
    ASSERT_TRUE(hDlg != NULL);
    HWND hBox = RunWithDirectory(driver, hDlg, test.pszText);
    ASSERT_TRUE(hBox == NULL) << "unexpected box: " << CUiDriver::GetItemText(hBox, 0xFFFF);

    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation(test.pszFilesDir, test.pszInstallDir, test.pszLinkTarget);
}

INSTANTIATE_TEST_SUITE_P(Texts, TargetDirectory, testing::ValuesIn(DIR_CASES),
    [](const testing::TestParamInfo<DirCase>& info) { return std::string(info.param.pszName); });

struct BadDirCase
{
    const char* pszName;
    const char* pszText;
};

const BadDirCase BAD_DIR_CASES[] = {
    { "Empty", "" },
    { "LoneBackslash", "\\" },
    { "MissingParent", "C:\\missing\\Tessaly" },
};

class UncreatableDirectory : public testing::TestWithParam<BadDirCase>
{
};

TEST_P(UncreatableDirectory, ReportsAndLeavesTheDialogReady)
{
    const BadDirCase& test = GetParam();
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver, "C:\\");
    ASSERT_TRUE(hDlg != NULL);
    HWND hBox = RunWithDirectory(driver, hDlg, test.pszText);
    ExpectBox(hBox, CANNOT_CREATE_TEXT, "exclamation", false);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDOK) == NULL);

    ExpectReadyToInstall(hDlg, test.pszText);
    EXPECT_FALSE(PathExists("C:\\missing"));
    EXPECT_FALSE(PathExists("C:\\tsy.tmp"));
    ExpectNoRegistrationOrShortcuts();

    // Still usable: the next OK with a good directory installs.
    ASSERT_TRUE(RunWithDirectory(driver, hDlg, "C:\\Tessaly") == NULL);
    ExpectFinishedDialog(hDlg);
    ExpectInstalledFiles("C:\\Tessaly");
}

INSTANTIATE_TEST_SUITE_P(Texts, UncreatableDirectory, testing::ValuesIn(BAD_DIR_CASES),
    [](const testing::TestParamInfo<BadDirCase>& info) { return std::string(info.param.pszName); });

// A directory that is already there.

TEST(ExistingDirectory, NewInstallationAsksNoKeepsEverythingYesInstalls)
{
    ASSERT_TRUE(CreateDirectoryA(DEFAULT_DIR, NULL));
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver);
    ASSERT_TRUE(hDlg != NULL);

    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    HWND hBox = WaitForRunOutcome(driver, hDlg);
    ExpectBox(hBox, EXISTS_QUESTION, "exclamation", true);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDNO) == NULL);
    ExpectReadyToInstall(hDlg, DEFAULT_DIR);
    EXPECT_FALSE(PathExists(std::string(DEFAULT_DIR) + "\\TSY.exe"));
    EXPECT_FALSE(PathExists(std::string(DEFAULT_DIR) + "\\tsy.tmp"));
    ExpectNoRegistrationOrShortcuts();

    // Every OK repeats the whole run, question included.
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    hBox = WaitForRunOutcome(driver, hDlg);
    ExpectBox(hBox, EXISTS_QUESTION, "exclamation", true);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDYES) == NULL);
    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation(DEFAULT_DIR, DEFAULT_DIR, std::string(DEFAULT_DIR) + "\\TSY.exe");
}

TEST(ExistingDirectory, AfterAPreviousInstallationNoQuestion)
{
    const std::string strPrevious = "C:\\Tools\\Tessaly";
    ASSERT_TRUE(CreateDirectoryA("C:\\Tools", NULL));
    ASSERT_TRUE(CreateDirectoryA(strPrevious.c_str(), NULL));
    const std::string strPath = strPrevious + std::string(1, '\0');
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "Path", REG_SZ, strPath.data(),
                              static_cast<DWORD>(strPath.size())));

    CUiDriver driver;
    ASSERT_TRUE(driver.Start(GetSetupExePath()));
    HWND hQuestion = driver.WaitForMessageBox();
    ASSERT_TRUE(hQuestion != NULL) << "no reinstall question";
    ASSERT_TRUE(CUiDriver::ClickButton(hQuestion, IDYES));
    HWND hDlg = driver.WaitForDialog();
    ASSERT_TRUE(hDlg != NULL);
    ExpectReadyToInstall(hDlg, strPrevious);

    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    HWND hBox = WaitForRunOutcome(driver, hDlg);
    ASSERT_TRUE(hBox == NULL) << "unexpected box: " << CUiDriver::GetItemText(hBox, 0xFFFF);
    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation(strPrevious, strPrevious, strPrevious + "\\TSY.exe");
}

// An expansion that fails leaves the dialog ready; the next OK runs from the start again.

struct ExpansionCase
{
    const char* pszName;
    const char* pszBlocked;       // the name setup cannot create
    CBlocker::Kind blocker;
    const char* pszMessage;
    const char* pszWrittenBefore; // a file the failed run completed first, or NULL
};

const ExpansionCase EXPANSION_CASES[] = {
    { "StagingFileIsADirectory", "tsy.tmp", CBlocker::Directory, "File Error", NULL },
    { "StagingFileHeldOpen", "tsy.tmp", CBlocker::HeldOpen, "File Error", NULL },
    { "TargetFileHeldOpen", "TSY.hlp", CBlocker::HeldOpen, "Error in installing", "TSY.exe" },
};

class FailedExpansion : public testing::TestWithParam<ExpansionCase>
{
};

TEST_P(FailedExpansion, ReportsThenTheNextOkAsksAboutTheDirectoryAgain)
{
    const ExpansionCase& test = GetParam();
    CBlocker blocker(test.blocker, std::string(DEFAULT_DIR) + "\\" + test.pszBlocked);
    ASSERT_TRUE(CreateDirectoryA(DEFAULT_DIR, NULL));
    ASSERT_TRUE(blocker.Plant());
    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver);
    ASSERT_TRUE(hDlg != NULL);

    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    HWND hBox = WaitForRunOutcome(driver, hDlg);
    ExpectBox(hBox, EXISTS_QUESTION, "exclamation", true);
    hBox = AnswerBox(driver, hDlg, hBox, IDYES);
    ExpectBox(hBox, test.pszMessage, "exclamation", false);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDOK) == NULL);

    ExpectReadyToInstall(hDlg, DEFAULT_DIR);
    ExpectNoRegistrationOrShortcuts();
    if (test.pszWrittenBefore) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ASSERT_TRUE(GetFileAttributesExA((std::string(DEFAULT_DIR) + "\\" + test.pszWrittenBefore).c_str(),
                                         GetFileExInfoStandard, &data))
            << "the file before the failing one is not there";
        EXPECT_NE(0u, data.nFileSizeLow);
    }

    // The run created nothing the dialog remembers: the directory is questioned again.
    ASSERT_TRUE(blocker.Remove());
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    hBox = WaitForRunOutcome(driver, hDlg);
    ExpectBox(hBox, EXISTS_QUESTION, "exclamation", true);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDYES) == NULL);
    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation(DEFAULT_DIR, DEFAULT_DIR, std::string(DEFAULT_DIR) + "\\TSY.exe");
}

INSTANTIATE_TEST_SUITE_P(Blockers, FailedExpansion, testing::ValuesIn(EXPANSION_CASES),
    [](const testing::TestParamInfo<ExpansionCase>& info) { return std::string(info.param.pszName); });

// A shell folder the registry does not name: the run completes without that shortcut, and
// nothing lands at the root of the current drive.

class MissingShellFolder : public testing::TestWithParam<const char*>
{
};

TEST_P(MissingShellFolder, CompletesAndSkipsThatShortcut)
{
    const char* pszMissing = GetParam();
    const char* pszPresent = std::string(pszMissing) == "Desktop" ? "Programs" : "Desktop";
    const std::string strUsualLink = LinkIn(pszMissing);
    DeleteShellFolderValue(pszMissing);
    ASSERT_FALSE(HasFatalFailure());

    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver, "C:\\users");
    ASSERT_TRUE(hDlg != NULL);
    ASSERT_EQ("", GetShellFolder(pszMissing)) << "the value came back at start-up";
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    ASSERT_TRUE(WaitForRunOutcome(driver, hDlg) == NULL);

    ExpectFinishedDialog(hDlg);
    ExpectInstalledFiles(DEFAULT_DIR);
    ExpectShortcut(LinkIn(pszPresent), std::string(DEFAULT_DIR) + "\\TSY.exe");
    EXPECT_FALSE(PathExists(strUsualLink));
    EXPECT_FALSE(PathExists("C:\\TSY.lnk")) << "a shortcut at the root of the current drive";
    ExpectRegistration(DEFAULT_DIR);
}

INSTANTIATE_TEST_SUITE_P(Folders, MissingShellFolder, testing::Values("Desktop", "Programs"),
    [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// A disk that fills up during the expansion.

// A tmpfs of a fixed size, mounted inside this prefix and seen by Wine as drive X:.
// Mounting needs root; the test is skipped where it is not allowed.
class CTinyDrive
{
public:
    CTinyDrive() {}
    ~CTinyDrive() { Unmount(); }
    CTinyDrive(const CTinyDrive&) = delete;
    CTinyDrive& operator=(const CTinyDrive&) = delete;

    bool Mount(const char* pszSize, std::string* pstrOutput)
    {
        const char* pszPrefix = std::getenv("WINEPREFIX");
        if (!pszPrefix || pszPrefix[0] != '/') {
            *pstrOutput = "WINEPREFIX is not set";
            return false;
        }
        m_strMountPoint = std::string(pszPrefix) + "/tsy-tiny-drive";
        m_strDriveLink = std::string(pszPrefix) + "/dosdevices/x:";
        std::string strScript = "mkdir -p '" + m_strMountPoint + "' && mount -t tmpfs -o size=" + pszSize
            + " tsy-tiny '" + m_strMountPoint + "' && ln -sfn '" + m_strMountPoint + "' '" + m_strDriveLink + "'";
        return RunHostCommand(strScript, pstrOutput);
    }

    void Unmount()
    {
        if (m_strMountPoint.empty())
            return;
        std::string strOutput;
        RunHostCommand("rm -f '" + m_strDriveLink + "'; umount '" + m_strMountPoint + "' || umount -l '"
                           + m_strMountPoint + "'; rmdir '" + m_strMountPoint + "'",
                       &strOutput);
        m_strMountPoint.clear();
    }

private:
    std::string m_strMountPoint;
    std::string m_strDriveLink;
};

TEST(DiskFull, ReportsTheFileKeepsTheDialogReadyAndARetryElsewhereSucceeds)
{
    // Room for the staged TSY.exe (about 410 KB compressed), not for it expanded beside it.
    CTinyDrive drive;
    std::string strOutput;
    if (!drive.Mount("640k", &strOutput))
        GTEST_SKIP() << "cannot give Wine a tiny drive (mount -t tmpfs needs root): " << strOutput;

    CUiDriver driver;
    HWND hDlg = StartSetupDialog(driver, "C:\\");
    ASSERT_TRUE(hDlg != NULL);
    HWND hBox = RunWithDirectory(driver, hDlg, "X:\\Tessaly");
    ExpectBox(hBox, "Disk full while accessing X:\\Tessaly\\TSY.exe.", "stop", false);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDOK) == NULL);
    ExpectReadyToInstall(hDlg, "X:\\Tessaly");
    ExpectNoRegistrationOrShortcuts();

    // The failed run created the directory, so a new installation now asks about it.
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    hBox = WaitForRunOutcome(driver, hDlg);
    ExpectBox(hBox, EXISTS_QUESTION, "exclamation", true);
    ASSERT_TRUE(AnswerBox(driver, hDlg, hBox, IDNO) == NULL);
    ExpectReadyToInstall(hDlg, "X:\\Tessaly");

    ASSERT_TRUE(RunWithDirectory(driver, hDlg, "C:\\Roomy") == NULL);
    ExpectFinishedDialog(hDlg);
    ExpectCompleteInstallation("C:\\Roomy", "C:\\Roomy", "C:\\Roomy\\TSY.exe");
    ASSERT_TRUE(CUiDriver::ClickButton(hDlg, IDCANCEL));
    ASSERT_TRUE(driver.WaitForExit());
}
}
