#include "app/SetupDlg.h"
#include "tests/win/RegistryTestUtil.h"

#include <gtest/gtest.h>

namespace {

const char AppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char ProductKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TSY.exe";
const char UninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char ProductUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaly Text v2.0";

// Windows always has both parent levels; a fresh Wine prefix may lack "Uninstall".
class Registration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* pszKey : { AppPathsKey, UninstallKey }) {
            HKEY hKey;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, pszKey, &hKey));
            RegCloseKey(hKey);
        }
    }
};

void RegisterWith(const char* pszDir)
{
    CSetupDlg dlg;
    dlg.m_strInstallDir = pszDir;
    dlg.RegisterAppPath();
    dlg.RegisterUninstall();
}

struct WriterCase
{
    const char* pszDir;
    const char* pszExePath;
    const char* pszUninstall;
};

void PrintTo(const WriterCase& c, std::ostream* os)
{
    *os << c.pszDir;
}


class RegistrationWriters : public Registration, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(RegistrationWriters, WriteExactlyTheFourValues)
{
    const WriterCase& c = GetParam();
    RegisterWith(c.pszDir);

    RegValue exePath = ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, nullptr);
    RegValue path = ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Path");
    RegValue name = ReadRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "DisplayName");
    RegValue command = ReadRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "UninstallString");
    for (const RegValue* v : { &exePath, &path, &name, &command }) {
        ASSERT_TRUE(v->bFound);
        EXPECT_EQ((DWORD)REG_SZ, v->dwType);
    }
    // The stored lengths count exactly one NUL.
    EXPECT_EQ(Sz(c.pszExePath), exePath.data);
    EXPECT_EQ(Sz(c.pszDir), path.data);
    EXPECT_EQ(Sz("Tessaly for Text"), name.data);
    EXPECT_EQ(Sz(c.pszUninstall), command.data);
}

INSTANTIATE_TEST_SUITE_P(Dirs, RegistrationWriters, ::testing::Values(
    WriterCase{ "D:\\Tools\\Tessaly", "D:\\Tools\\Tessaly\\TSY.exe", "\"D:\\Tools\\Tessaly\\Uninstall.exe\"" },
    WriterCase{ "C:\\Program Files\\Tessaly", "C:\\Program Files\\Tessaly\\TSY.exe",
                "\"C:\\Program Files\\Tessaly\\Uninstall.exe\"" },
    // A directory that still ends in a backslash is not normalised.
    WriterCase{ "D:\\Tools\\", "D:\\Tools\\\\TSY.exe", "\"D:\\Tools\\\\Uninstall.exe\"" },
    WriterCase{ "relative dir", "relative dir\\TSY.exe", "\"relative dir\\Uninstall.exe\"" }));

TEST_F(Registration, ReinstallOverwritesOurValuesAndKeepsOthers)
{
    WriteRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Other", REG_SZ, Sz("kept"));
    WriteRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "Publisher", REG_SZ, Sz("kept too"));
    RegisterWith("C:\\First");
    RegisterWith("E:\\Second");

    EXPECT_EQ(Sz("E:\\Second\\TSY.exe"), ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, nullptr).data);
    EXPECT_EQ(Sz("E:\\Second"), ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Path").data);
    EXPECT_EQ(Sz("\"E:\\Second\\Uninstall.exe\""),
              ReadRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "UninstallString").data);
    EXPECT_EQ(Sz("kept"), ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Other").data);
    EXPECT_EQ(Sz("kept too"), ReadRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "Publisher").data);
}

TEST_F(Registration, MissingUninstallLevelWritesOnlyTheAppPath)
{
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey));
    RegisterWith("D:\\Tools\\Tessaly");

    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_EQ(Sz("D:\\Tools\\Tessaly"), ReadRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Path").data);
}

TEST_F(Registration, MissingAppPathsLevelWritesOnlyTheUninstallEntry)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, AppPathsKey);
    RegisterWith("D:\\Tools\\Tessaly");

    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, AppPathsKey));
    EXPECT_TRUE(ReadRegValue(HKEY_LOCAL_MACHINE, ProductUninstallKey, "DisplayName").bFound);
}

struct PreviousCase
{
    const char* pszName;
    bool bKey;
    DWORD dwType;
    std::string data;  // raw bytes of "Path"; empty with bKey means no value
    bool bValue;
    std::string expected;
};

void PrintTo(const PreviousCase& c, std::ostream* os)
{
    *os << c.pszName;
}


class PreviousInstallDir : public ::testing::TestWithParam<PreviousCase>
{
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, ProductKey); }
};

TEST_P(PreviousInstallDir, ReadsPathAsStored)
{
    const PreviousCase& c = GetParam();
    if (c.bKey) {
        WriteRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Other", REG_SZ, Sz("x"));
        if (c.bValue)
            WriteRegValue(HKEY_LOCAL_MACHINE, ProductKey, "Path", c.dwType, c.data);
    }
    CSetupDlg dlg;
    EXPECT_EQ(c.expected, std::string((LPCSTR)dlg.ReadPreviousInstallDir()));
}

std::string Chars(size_t n)
{
    std::string s = "C:\\";
    while (s.size() < n)
        s += (char)('a' + s.size() % 26);
    return s;
}

INSTANTIATE_TEST_SUITE_P(Values, PreviousInstallDir, ::testing::Values(
    PreviousCase{ "NoKey", false, REG_SZ, "", false, "" },
    PreviousCase{ "NoPathValue", true, REG_SZ, "", false, "" },
    PreviousCase{ "EmptyPath", true, REG_SZ, Sz(""), true, "" },
    PreviousCase{ "AsStored", true, REG_SZ, Sz("d:\\TOOLS\\Tessaly\\"), true, "d:\\TOOLS\\Tessaly\\" },
    PreviousCase{ "Fits260", true, REG_SZ, Sz(Chars(260)), true, Chars(260) },
    PreviousCase{ "TooLong261", true, REG_SZ, Sz(Chars(261)), true, "" },
    PreviousCase{ "ExpandSzUnexpanded", true, REG_EXPAND_SZ, Sz("%SystemDrive%\\Tessaly"), true,
                  "%SystemDrive%\\Tessaly" },
    PreviousCase{ "NoNulBoundedByData", true, REG_BINARY, "D:\\Bin", true, "D:\\Bin" },
    PreviousCase{ "NoNulFillingTheBuffer", true, REG_BINARY, Chars(261), true, Chars(261) },
    PreviousCase{ "TextUpToFirstNul", true, REG_SZ, std::string("D:\\A\0junk\0", 10), true, "D:\\A" }),
    [](const ::testing::TestParamInfo<PreviousCase>& info) { return std::string(info.param.pszName); });

}  // namespace
