// Times OK to the finished state: setup.exe against a dialog that only copies the same
// expanded files. Both are driven alike, one after the other, REPETITIONS times each, into
// fresh directories; prints every time, the medians and their ratio, and apart from that the
// time the platform's link object takes for the two shortcuts that setup saves.
//
//   installbench.exe SETUP_EXE COPY_EXE SOURCE_DIR REPETITIONS
#include "tests/driver/UiDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
const char FINISHED_TEXT[] = "The program has been successfully installed";
const char APP_PATHS_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TSY.exe";
const char* const PRODUCT_FILES[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe" };
const UINT RUN_TIMEOUT_MS = 120000;

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// The status text as soon as the dialog answers. A run pumps no messages, so during one the
// reply comes only once the run has returned to the dialog's loop.
std::string ReadStatus(HWND hDlg)
{
    char szText[256] = "";
    DWORD_PTR dwCopied = 0;
    if (!SendMessageTimeoutA(GetDlgItem(hDlg, 1002), WM_GETTEXT, sizeof(szText),
                             reinterpret_cast<LPARAM>(szText), SMTO_NORMAL, RUN_TIMEOUT_MS, &dwCopied))
        return std::string();
    return szText;
}

bool HasProductFiles(const std::string& strDir, const std::string& strSourceDir)
{
    for (const char* pszName : PRODUCT_FILES) {
        WIN32_FILE_ATTRIBUTE_DATA installed, source;
        if (!GetFileAttributesExA((strDir + "\\" + pszName).c_str(), GetFileExInfoStandard, &installed)
            || !GetFileAttributesExA((strSourceDir + "\\" + pszName).c_str(), GetFileExInfoStandard, &source)
            || installed.nFileSizeLow != source.nFileSizeLow)
            return false;
    }
    return true;
}

// Seconds from the OK click to the finished state, or a negative number on failure.
double TimeRun(const std::string& strExe, const std::string& strArgs, const std::string& strDir)
{
    // No previous installation: setup then asks nothing at start-up.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY);
    CUiDriver driver;
    if (!driver.Start(strExe, strArgs))
        return -1;
    HWND hDlg = driver.WaitForDialog();
    if (!hDlg || !CUiDriver::SetItemText(hDlg, 1001, strDir) || !driver.WaitForIdle())
        return -1;

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CUiDriver::ClickButton(hDlg, IDOK))
        return -1;
    for (;;) {
        std::string strStatus = ReadStatus(hDlg);
        QueryPerformanceCounter(&end);
        if (strStatus == FINISHED_TEXT)
            break;
        if (driver.FindMessageBox() || driver.HasExited() || Seconds(start, end) * 1000 > RUN_TIMEOUT_MS)
            return -1;
        Sleep(0);
    }
    CUiDriver::ClickButton(hDlg, IDCANCEL);
    driver.WaitForExit();
    return Seconds(start, end);
}

// Seconds for what setup's run spends in the platform's shell: two shortcuts saved through
// the link object, as the run makes them (COM already initialised and warm).
double TimeTwoShortcuts(int nRun)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 2; ++i) {
        IShellLinkA* pLink = NULL;
        IPersistFile* pFile = NULL;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&pLink))))
            return -1;
        pLink->SetPath(("C:\\bench\\setup" + std::to_string(nRun) + "\\TSY.exe").c_str());
        pLink->SetDescription("Tessaly");
        HRESULT hr = pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
        if (SUCCEEDED(hr)) {
            std::wstring strLink = L"C:\\bench\\link" + std::to_wstring(nRun * 2 + i) + L".lnk";
            hr = pFile->Save(strLink.c_str(), TRUE);
            pFile->Release();
        }
        pLink->Release();
        if (FAILED(hr))
            return -1;
    }
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintTimes(const char* pszName, const std::vector<double>& times)
{
    std::printf("%-6s", pszName);
    for (double d : times)
        std::printf(" %7.1f", d * 1000);
    std::printf("   median %7.1f ms\n", Median(times) * 1000);
}
}

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: installbench.exe SETUP_EXE COPY_EXE SOURCE_DIR REPETITIONS\n");
        return 2;
    }
    const std::string strSetup = argv[1];
    const std::string strCopy = argv[2];
    const std::string strSource = argv[3];
    const int nRepetitions = std::max(1, std::atoi(argv[4]));
    CreateDirectoryA("C:\\bench", NULL);

    std::vector<double> setupTimes, copyTimes, linkTimes;
    CoInitialize(NULL);
    TimeTwoShortcuts(-1);  // loads the shell once, as setup's first run of a process does
    // Alternating, so that both see the same state of the machine.
    for (int i = 0; i < nRepetitions; ++i) {
        std::string strSetupDir = "C:\\bench\\setup" + std::to_string(i);
        std::string strCopyDir = "C:\\bench\\copy" + std::to_string(i);
        double dSetup = TimeRun(strSetup, std::string(), strSetupDir);
        double dCopy = TimeRun(strCopy, "\"" + strSource + "\"", strCopyDir);
        if (dSetup < 0 || !HasProductFiles(strSetupDir, strSource)) {
            std::fprintf(stderr, "setup run %d failed\n", i + 1);
            return 1;
        }
        if (dCopy < 0 || !HasProductFiles(strCopyDir, strSource)) {
            std::fprintf(stderr, "copy run %d failed\n", i + 1);
            return 1;
        }
        setupTimes.push_back(dSetup);
        copyTimes.push_back(dCopy);
        linkTimes.push_back(TimeTwoShortcuts(i));
    }
    CoUninitialize();

    std::printf("OK to finished state, ms (%d runs each)\n", nRepetitions);
    PrintTimes("setup", setupTimes);
    PrintTimes("copy", copyTimes);
    std::printf("ratio setup/copy (medians): %.2f  (goal: at most 3)\n", Median(setupTimes) / Median(copyTimes));
    // Part of setup's time is the shell's, not setup's: shown apart for comparison.
    PrintTimes("links", linkTimes);
    std::printf("ratio without the two shortcut saves: %.2f\n",
                (Median(setupTimes) - Median(linkTimes)) / Median(copyTimes));
    return 0;
}
