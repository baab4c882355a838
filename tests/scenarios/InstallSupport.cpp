#include "tests/scenarios/InstallSupport.h"
#include "tests/driver/UiDriver.h"
#include "tests/scenarios/ScenarioSupport.h"

#include <gtest/gtest.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>

const char FINISHED_TEXT[] = "The program has been successfully installed";
const char SPACE_NOTE_TEXT[] = "The program needs 2 MBytes of free disk space";
const char EXISTS_QUESTION[] = "Directory already exixts\r\nContinue?";
const char CANNOT_CREATE_TEXT[] = "Cannot create directory";

namespace
{
const char* const PRODUCT_FILES[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe" };
const DWORD OUTCOME_TIMEOUT_MS = 60000;
const DWORD HOST_COMMAND_TIMEOUT_MS = 60000;

// The scenario exe links no COM libraries; the link object is reached through ole32 loaded
// here, with the identifiers spelled out.
const GUID CLSID_LINK_OBJECT = { 0x00021401, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
const GUID IID_SHELL_LINK_A = { 0x000214EE, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
const GUID IID_PERSIST_FILE = { 0x0000010B, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };

typedef HRESULT(WINAPI* PFN_CO_INITIALIZE)(LPVOID);
typedef void(WINAPI* PFN_CO_UNINITIALIZE)();
typedef HRESULT(WINAPI* PFN_CO_CREATE_INSTANCE)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
typedef char*(CDECL* PFN_WINE_GET_UNIX_FILE_NAME)(LPCWSTR);

template <class PFN>
PFN GetProc(HMODULE hModule, const char* pszName)
{
    // Through void*: a plain cast between function pointer types draws a warning.
    return reinterpret_cast<PFN>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

template <class I>
void ReleaseInterface(I*& pInterface)
{
    if (pInterface)
        pInterface->Release();
    pInterface = NULL;
}

std::string FormatLocalTime(const FILETIME& ftUtc)
{
    SYSTEMTIME utc = {};
    SYSTEMTIME local = {};
    // The offset of that date, not today's: a summer date reads as summer time all year.
    if (!FileTimeToSystemTime(&ftUtc, &utc) || !SystemTimeToTzSpecificLocalTime(NULL, &utc, &local))
        return "(no time)";
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute, local.wSecond);
    return szText;
}

bool ReadFileTimes(const std::string& strPath, WIN32_FILE_ATTRIBUTE_DATA* pData)
{
    return GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, pData) != 0;
}

std::string WithNul(const std::string& str)
{
    return str + std::string(1, '\0');
}

void ExpectRegString(const char* pszKey, const char* pszName, const std::string& strExpected)
{
    std::string strData;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadRegValue(HKEY_LOCAL_MACHINE, pszKey, pszName, &strData, &dwType))
        << pszKey << " value \"" << pszName << "\" missing";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), dwType) << pszName;
    // The stored length counts the NUL.
    EXPECT_EQ(WithNul(strExpected), strData) << pszName;
}

// The value after "Name<tabs>: " in lnkinfo's report; "" if absent.
std::string GetLnkinfoField(const std::string& strReport, const std::string& strName)
{
    std::string::size_type nPos = strReport.find("\t" + strName + "\t");
    if (nPos == std::string::npos)
        return std::string();
    nPos = strReport.find(": ", nPos);
    std::string::size_type nEnd = strReport.find('\n', nPos);
    if (nPos == std::string::npos || nEnd == std::string::npos)
        return std::string();
    return strReport.substr(nPos + 2, nEnd - nPos - 2);
}
}

HWND StartSetupDialog(CUiDriver& driver, const std::string& strCurDir)
{
    if (!driver.Start(GetSetupExePath(), std::string(), strCurDir))
        return NULL;
    return driver.WaitForDialog();
}

HWND WaitForRunOutcome(CUiDriver& driver, HWND hDlg)
{
    DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < OUTCOME_TIMEOUT_MS) {
        if (driver.HasExited()) {
            ADD_FAILURE() << "setup ended during the run";
            return NULL;
        }
        HWND hBox = driver.FindMessageBox();
        if (hBox && IsWindowVisible(hBox))
            return driver.WaitForMessageBox();
        // The text shows before the shortcuts and keys are written: wait for the end of the run.
        if (CUiDriver::GetItemText(hDlg, 1002) == FINISHED_TEXT) {
            EXPECT_TRUE(driver.WaitForIdle());
            return NULL;
        }
        Sleep(50);
    }
    ADD_FAILURE() << "neither a message box nor the finished state";
    return NULL;
}

HWND RunWithDirectory(CUiDriver& driver, HWND hDlg, const std::string& strDir)
{
    EXPECT_TRUE(CUiDriver::SetItemText(hDlg, 1001, strDir));
    EXPECT_TRUE(CUiDriver::ClickButton(hDlg, IDOK));
    return WaitForRunOutcome(driver, hDlg);
}

HWND AnswerBox(CUiDriver& driver, HWND hDlg, HWND hBox, int nButton)
{
    EXPECT_TRUE(CUiDriver::ClickButton(hBox, nButton));
    DWORD dwStart = GetTickCount();
    while (IsWindow(hBox) && GetTickCount() - dwStart < OUTCOME_TIMEOUT_MS)
        Sleep(20);
    EXPECT_FALSE(IsWindow(hBox)) << "the box stayed up";
    // After Yes the run goes on; after No or OK it has ended and no box follows.
    if (nButton == IDYES)
        return WaitForRunOutcome(driver, hDlg);
    EXPECT_TRUE(driver.WaitForIdle());
    return driver.FindMessageBox();
}

void ExpectBox(HWND hBox, const char* pszText, const char* pszIcon, bool bYesNo)
{
    ASSERT_TRUE(hBox != NULL) << "no message box; expected \"" << pszText << "\"";
    EXPECT_EQ("setup", CUiDriver::GetText(hBox));
    EXPECT_EQ(pszText, CUiDriver::GetItemText(hBox, 0xFFFF));
    EXPECT_STREQ(pszIcon, CUiDriver::GetIconName(CUiDriver::GetBoxIcon(hBox)));
    EXPECT_EQ(!bYesNo, CUiDriver::IsItemVisible(hBox, IDOK));
    EXPECT_EQ(bYesNo, CUiDriver::IsItemVisible(hBox, IDYES));
    EXPECT_EQ(bYesNo, CUiDriver::IsItemVisible(hBox, IDNO));
    EXPECT_FALSE(CUiDriver::IsItemVisible(hBox, IDCANCEL));
}

void ExpectReadyToInstall(HWND hDlg, const std::string& strEditText)
{
    EXPECT_TRUE(IsWindowVisible(hDlg));
    EXPECT_EQ(strEditText, CUiDriver::GetItemText(hDlg, 1001));
    EXPECT_EQ(SPACE_NOTE_TEXT, CUiDriver::GetItemText(hDlg, 1002));
    EXPECT_EQ("OK", CUiDriver::GetItemText(hDlg, IDOK));
    EXPECT_EQ("Cancel", CUiDriver::GetItemText(hDlg, IDCANCEL));
    for (int nID : { IDOK, IDCANCEL, 1001, 1002, 1003 })
        EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, nID)) << "control " << nID << " hidden";
    EXPECT_EQ(IDOK, CUiDriver::GetDefaultID(hDlg));
}

void ExpectFinishedDialog(HWND hDlg)
{
    EXPECT_TRUE(IsWindowVisible(hDlg));
    EXPECT_EQ(FINISHED_TEXT, CUiDriver::GetItemText(hDlg, 1002));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, 1002));
    EXPECT_EQ("Close", CUiDriver::GetItemText(hDlg, IDCANCEL));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hDlg, IDCANCEL));
    for (int nID : { IDOK, 1001, 1003 })
        EXPECT_FALSE(CUiDriver::IsItemVisible(hDlg, nID)) << "control " << nID << " still shown";
    // Hidden, not destroyed: OK stays the default button, so Enter still reaches the run.
    EXPECT_TRUE(GetDlgItem(hDlg, IDOK) != NULL);
    EXPECT_EQ(IDOK, CUiDriver::GetDefaultID(hDlg));
}

void ExpectInstalledFiles(const std::string& strDir)
{
    const std::string strProductDir = GetProductDir();
    for (const char* pszName : PRODUCT_FILES) {
        SCOPED_TRACE(pszName);
        std::string strExpected;
        std::string strInstalled;
        ASSERT_TRUE(ReadWholeFile(strProductDir + "\\" + pszName, &strExpected))
            << "product file missing in " << strProductDir << " (set TSY_PRODUCT_DIR)";
        ASSERT_TRUE(ReadWholeFile(strDir + "\\" + pszName, &strInstalled)) << "not installed in " << strDir;
        EXPECT_EQ(strExpected.size(), strInstalled.size());
        EXPECT_TRUE(strExpected == strInstalled) << "installed bytes differ from the product file";

        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ASSERT_TRUE(ReadFileTimes(strDir + "\\" + pszName, &data));
        EXPECT_EQ("1999-08-09 11:00:00", FormatLocalTime(data.ftLastWriteTime));
    }
    EXPECT_FALSE(PathExists(strDir + "\\tsy.tmp")) << "the staging file was left behind";
}

void ExpectRegistration(const std::string& strInstallDir)
{
    ExpectRegString(APP_PATHS_KEY, "", strInstallDir + "\\TSY.exe");
    ExpectRegString(APP_PATHS_KEY, "Path", strInstallDir);
    ExpectRegString(UNINSTALL_KEY, "DisplayName", "Tessaly for Text");
    // Quoted, so that a directory with blanks still names one program.
    ExpectRegString(UNINSTALL_KEY, "UninstallString", "\"" + strInstallDir + "\\Uninstall.exe\"");
}

void ExpectNoRegistrationOrShortcuts()
{
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, APP_PATHS_KEY));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY));
    EXPECT_FALSE(PathExists(GetShellFolder("Desktop") + "\\TSY.lnk"));
    EXPECT_FALSE(PathExists(GetShellFolder("Programs") + "\\TSY.lnk"));
}

CShortcutInfo ReadShortcut(const std::string& strLink)
{
    CShortcutInfo info = { false, std::string(), std::string() };
    HMODULE hOle = LoadLibraryA("ole32.dll");
    if (!hOle)
        return info;
    PFN_CO_INITIALIZE pfnCoInitialize = GetProc<PFN_CO_INITIALIZE>(hOle, "CoInitialize");
    PFN_CO_UNINITIALIZE pfnCoUninitialize = GetProc<PFN_CO_UNINITIALIZE>(hOle, "CoUninitialize");
    PFN_CO_CREATE_INSTANCE pfnCoCreateInstance = GetProc<PFN_CO_CREATE_INSTANCE>(hOle, "CoCreateInstance");
    if (!pfnCoInitialize || !pfnCoUninitialize || !pfnCoCreateInstance)
        return info;

    pfnCoInitialize(NULL);
    IShellLinkA* pLink = NULL;
    IPersistFile* pFile = NULL;
    WCHAR wszLink[MAX_PATH] = L"";
    if (SUCCEEDED(pfnCoCreateInstance(CLSID_LINK_OBJECT, NULL, CLSCTX_INPROC_SERVER, IID_SHELL_LINK_A,
                                      reinterpret_cast<void**>(&pLink)))
        && SUCCEEDED(pLink->QueryInterface(IID_PERSIST_FILE, reinterpret_cast<void**>(&pFile)))
        && MultiByteToWideChar(CP_ACP, 0, strLink.c_str(), -1, wszLink, MAX_PATH)
        && SUCCEEDED(pFile->Load(wszLink, STGM_READ))) {
        char szText[MAX_PATH] = "";
        // The stored path as it is, not resolved against the disk.
        if (SUCCEEDED(pLink->GetPath(szText, MAX_PATH, NULL, SLGP_RAWPATH)))
            info.strTarget = szText;
        szText[0] = '\0';
        if (SUCCEEDED(pLink->GetDescription(szText, MAX_PATH)))
            info.strDescription = szText;
        info.bRead = true;
    }
    ReleaseInterface(pFile);
    ReleaseInterface(pLink);
    pfnCoUninitialize();
    return info;
}

bool IsLnkinfoAvailable()
{
    return PathExists("Z:\\usr\\bin\\lnkinfo") && PathExists("Z:\\bin\\sh");
}

CShortcutInfo ReadShortcutWithLnkinfo(const std::string& strLink, std::string* pstrReport)
{
    CShortcutInfo info = { false, std::string(), std::string() };
    std::string strUnix = GetUnixPath(strLink);
    std::string strReport = "no Unix name for " + strLink;
    bool bRan = !strUnix.empty() && RunHostCommand("/usr/bin/lnkinfo '" + strUnix + "'", &strReport);
    if (pstrReport)
        *pstrReport = strReport;
    if (!bRan)
        return info;
    info.bRead = true;
    info.strTarget = GetLnkinfoField(strReport, "Local path");
    info.strDescription = GetLnkinfoField(strReport, "Description");
    return info;
}

void ExpectShortcut(const std::string& strLink, const std::string& strTarget)
{
    SCOPED_TRACE(strLink);
    ASSERT_TRUE(PathExists(strLink)) << "no shortcut";
    CShortcutInfo info = ReadShortcut(strLink);
    ASSERT_TRUE(info.bRead) << "the link object cannot load it";
    EXPECT_EQ(strTarget, info.strTarget);
    EXPECT_EQ("Tessaly", info.strDescription);
    if (!IsLnkinfoAvailable())
        return;
    std::string strReport;
    CShortcutInfo outside = ReadShortcutWithLnkinfo(strLink, &strReport);
    ASSERT_TRUE(outside.bRead) << "lnkinfo cannot read it:\n" << strReport;
    EXPECT_EQ(strTarget, outside.strTarget) << "lnkinfo";
    EXPECT_EQ("Tessaly", outside.strDescription) << "lnkinfo";
}

bool RunHostCommand(const std::string& strCommand, std::string* pstrOutput)
{
    pstrOutput->clear();
    char szTempDir[MAX_PATH] = "";
    char szOutput[MAX_PATH] = "";
    if (!GetTempPathA(MAX_PATH, szTempDir) || !GetTempFileNameA(szTempDir, "tsy", 0, szOutput))
        return false;
    const std::string strOutput = szOutput;
    const std::string strDone = strOutput + ".rc";
    const std::string strUnixOutput = GetUnixPath(strOutput);
    const std::string strUnixDone = GetUnixPath(strDone);
    if (strUnixOutput.empty() || strUnixDone.empty())
        return false;

    // Wine starts a Linux program but gives back no process handle to wait on: the shell
    // reports the end itself, by renaming a file with the exit status into place.
    std::string strCmdLine = "Z:\\bin\\sh -c \"(" + strCommand + ") >'" + strUnixOutput + "' 2>&1; echo $? >'"
        + strUnixDone + ".tmp'; mv '" + strUnixDone + ".tmp' '" + strUnixDone + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // The Linux side is forked from this process: buffered output would be written twice.
    std::fflush(stdout);
    std::fflush(stderr);
    if (!CreateProcessA(NULL, &strCmdLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);

    std::string strStatus;
    DWORD dwStart = GetTickCount();
    while (!ReadWholeFile(strDone, &strStatus) && GetTickCount() - dwStart < HOST_COMMAND_TIMEOUT_MS)
        Sleep(50);
    ReadWholeFile(strOutput, pstrOutput);
    DeleteFileA(strOutput.c_str());
    DeleteFileA(strDone.c_str());
    return std::atoi(strStatus.c_str()) == 0 && !strStatus.empty();
}

std::string GetUnixPath(const std::string& strPath)
{
    PFN_WINE_GET_UNIX_FILE_NAME pfnGetUnixName =
        GetProc<PFN_WINE_GET_UNIX_FILE_NAME>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    WCHAR wszPath[MAX_PATH] = L"";
    if (!pfnGetUnixName || !MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, wszPath, MAX_PATH))
        return std::string();
    char* pszUnix = pfnGetUnixName(wszPath);
    if (!pszUnix)
        return std::string();
    std::string strUnix = pszUnix;
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

std::string GetProductDir()
{
    std::string strDir;
    if (const char* pszDir = std::getenv("TSY_PRODUCT_DIR"))
        strDir = pszDir;
    else {
        // This file's absolute name, as the build gave it to the compiler, leads to the tree.
        strDir = __FILE__;
        std::string::size_type nPos = strDir.rfind("tests/scenarios/");
        strDir = nPos == std::string::npos ? std::string() : strDir.substr(0, nPos) + "product";
    }
    if (!strDir.empty() && strDir[0] == '/') {
        strDir = "Z:" + strDir;
        for (char& ch : strDir) {
            if (ch == '/')
                ch = '\\';
        }
    }
    return strDir;
}

bool ReadWholeFile(const std::string& strPath, std::string* pstrData)
{
    pstrData->clear();
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD dwRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &dwRead, NULL) && dwRead > 0)
        pstrData->append(buffer, dwRead);
    CloseHandle(hFile);
    return true;
}
