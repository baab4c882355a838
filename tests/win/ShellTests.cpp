#include "app/SetupDlg.h"
#include "system/ShellFolders.h"
#include "tests/win/RegistryTestUtil.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

const char ShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Folder(size_t n)
{
    std::string s = "C:\\";
    while (s.size() < n)
        s += (char)('A' + s.size() % 26);
    return s;
}

struct FolderCase
{
    const char* pszName;
    bool bDeleteKey;
    DWORD dwType;
    std::string desktop;  // raw bytes; "-" means the value is removed
    std::string programs;
    std::string expectedDesktop;
    std::string expectedPrograms;
};

void PrintTo(const FolderCase& c, std::ostream* os)
{
    *os << c.pszName;
}


class ShellFolders : public ::testing::TestWithParam<FolderCase> {};

void SetOrDelete(const char* pszName, DWORD dwType, const std::string& data)
{
    if (data == "-") {
        HKEY hKey;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, ShellFoldersKey, 0, KEY_ALL_ACCESS, &hKey) == ERROR_SUCCESS) {
            RegDeleteValueA(hKey, pszName);
            RegCloseKey(hKey);
        }
        return;
    }
    WriteRegValue(HKEY_CURRENT_USER, ShellFoldersKey, pszName, dwType, data);
}

TEST_P(ShellFolders, ReadsBothValues)
{
    const FolderCase& c = GetParam();
    if (c.bDeleteKey) {
        RegDeleteTreeA(HKEY_CURRENT_USER, ShellFoldersKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, ShellFoldersKey);
    } else {
        SetOrDelete("Desktop", c.dwType, c.desktop);
        SetOrDelete("Programs", c.dwType, c.programs);
    }
    CString strDesktop = "stale";
    CString strPrograms = "stale";
    ReadShellFolders(strDesktop, strPrograms);
    EXPECT_EQ(c.expectedDesktop, std::string((LPCSTR)strDesktop));
    EXPECT_EQ(c.expectedPrograms, std::string((LPCSTR)strPrograms));
}

INSTANTIATE_TEST_SUITE_P(Values, ShellFolders, ::testing::Values(
    FolderCase{ "Both", false, REG_SZ, Sz("C:\\D"), Sz("C:\\P"), "C:\\D", "C:\\P" },
    FolderCase{ "NoKey", true, REG_SZ, "", "", "", "" },
    // The shared buffer still holds the desktop text: Programs must not pick it up.
    FolderCase{ "ProgramsMissing", false, REG_SZ, Sz("C:\\D"), "-", "C:\\D", "" },
    FolderCase{ "DesktopMissing", false, REG_SZ, "-", Sz("C:\\P"), "", "C:\\P" },
    FolderCase{ "Fits259", false, REG_SZ, Sz(Folder(259)), Sz("C:\\P"), Folder(259), "C:\\P" },
    FolderCase{ "TooLong260", false, REG_SZ, Sz(Folder(260)), Sz("C:\\P"), "", "C:\\P" },
    FolderCase{ "ExpandSzUnexpanded", false, REG_EXPAND_SZ, Sz("%USERPROFILE%\\Desktop"), Sz("%APPDATA%\\P"),
                "%USERPROFILE%\\Desktop", "%APPDATA%\\P" },
    FolderCase{ "NoNul", false, REG_BINARY, "C:\\D", "C:\\Prog", "C:\\D", "C:\\Prog" }),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.pszName); });

class Shortcut : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        m_dir = std::string(szTemp) + "tsy-links";
        CreateDirectoryA(m_dir.c_str(), nullptr);
    }
    void TearDown() override { CoUninitialize(); }

    // Reads a link back through the shell's own reader.
    static bool ReadLink(const std::string& path, std::string& target, std::string& description)
    {
        IShellLinkA* pLink = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&pLink)))
            return false;
        IPersistFile* pFile = nullptr;
        bool bOk = SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void**)&pFile));
        WCHAR wsz[MAX_PATH * 2];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wsz, MAX_PATH * 2);
        bOk = bOk && SUCCEEDED(pFile->Load(wsz, STGM_READ));
        char sz[1024] = "";
        bOk = bOk && SUCCEEDED(pLink->GetPath(sz, sizeof sz, nullptr, SLGP_RAWPATH));
        target = sz;
        sz[0] = 0;
        bOk = bOk && SUCCEEDED(pLink->GetDescription(sz, sizeof sz));
        description = sz;
        if (pFile)
            pFile->Release();
        pLink->Release();
        return bOk;
    }

    std::string m_dir;
};

TEST_F(Shortcut, SavesTargetAndDescriptionAndReplacesAnOldLink)
{
    CSetupDlg dlg;
    std::string link = m_dir + "\\TSY.lnk";
    ASSERT_TRUE(SUCCEEDED(dlg.CreateShortcut("C:\\Old\\TSY.exe", link.c_str(), "Old")));
    ASSERT_TRUE(SUCCEEDED(dlg.CreateShortcut("C:\\Program Files\\Tessaly\\TSY.exe", link.c_str(), "Tessaly")));

    std::string target, description;
    ASSERT_TRUE(ReadLink(link, target, description));
    EXPECT_EQ("C:\\Program Files\\Tessaly\\TSY.exe", target);
    EXPECT_EQ("Tessaly", description);
}

TEST_F(Shortcut, LinkPathThatDoesNotFitIsNeverSaved)
{
    CSetupDlg dlg;
    // 259 characters and the NUL fill the wide buffer exactly; one more does not fit.
    std::string fits = m_dir + "\\";
    fits += std::string(259 - fits.size() - 4, 'a') + ".lnk";
    ASSERT_EQ(259u, fits.size());
    std::string tooLong = m_dir + "\\";
    tooLong += std::string(260 - tooLong.size() - 4, 'b') + ".lnk";

    // Wine's file system may refuse a long name on its own; only the cut must never happen.
    dlg.CreateShortcut("C:\\T\\TSY.exe", fits.c_str(), "Tessaly");
    EXPECT_TRUE(FAILED(dlg.CreateShortcut("C:\\T\\TSY.exe", tooLong.c_str(), "Tessaly")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tooLong.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tooLong.substr(0, 259).c_str()));
}

TEST(ShortcutWithoutCom, FailsAndWritesNothing)
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    std::string link = std::string(szTemp) + "nocom.lnk";
    CSetupDlg dlg;
    EXPECT_TRUE(FAILED(dlg.CreateShortcut("C:\\T\\TSY.exe", link.c_str(), "Tessaly")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link.c_str()));
}

}  // namespace
