#include "tests/scenarios/ScenarioSupport.h"
#include "tests/driver/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>

const char APP_PATHS_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TSY.exe";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly Text v2.0";

std::string GetSetupExePath()
{
    const char* pszPath = std::getenv("TSY_SETUP_EXE");
    std::string strPath = pszPath ? pszPath : "";
    if (!strPath.empty() && strPath[0] == '/') {
        strPath = "Z:" + strPath;
        for (char& ch : strPath) {
            if (ch == '/')
                ch = '\\';
        }
    }
    return strPath;
}

std::string BesideTestExe(const char* pszName)
{
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of('\\') + 1) + pszName;
}

std::string GetShellFolder(const char* pszName)
{
    std::string strData;
    if (!ReadRegValue(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                      pszName, &strData))
        return std::string();
    return strData.c_str();  // up to the NUL
}

bool PathExists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ExpectExitWithoutDialog(CUiDriver& driver)
{
    // A dialog ended during its initialisation must never appear, not even for a moment.
    DWORD dwStart = GetTickCount();
    while (!driver.HasExited()) {
        HWND hDlg = driver.FindDialog();
        ASSERT_FALSE(hDlg && IsWindowVisible(hDlg)) << "the dialog showed up";
        ASSERT_LT(GetTickCount() - dwStart, 20000u) << "the program did not exit";
        Sleep(5);
    }
}

void ExpectNothingInstalled(bool bHadAppPath, const std::string& strAppPathBefore)
{
    std::string strAppPath;
    bool bHasAppPath = ReadRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "Path", &strAppPath);
    EXPECT_EQ(bHadAppPath, bHasAppPath);
    EXPECT_EQ(strAppPathBefore, strAppPath);
    EXPECT_FALSE(ReadRegValue(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, "", &strAppPath))
        << "App Paths default value written";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY));
    EXPECT_FALSE(PathExists("C:\\Program Files\\Tessaly"));
    EXPECT_FALSE(PathExists(GetShellFolder("Desktop") + "\\TSY.lnk"));
    EXPECT_FALSE(PathExists(GetShellFolder("Programs") + "\\TSY.lnk"));
}
