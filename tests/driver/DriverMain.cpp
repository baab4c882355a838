// tsydriver: drives a setup program from the command line and prints what it sees,
// one key=value line per fact. Exit code 0 when every command succeeded, 1 when one
// failed (timeout, missing window, early exit), 2 for a bad command line.
//
//   tsydriver.exe Z:\path\setup.exe wait-dialog dump set-dir "C:\x" click ok
//                 wait-box dump-box press yes wait-exit
#include "tests/driver/UiDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
const char USAGE[] =
    "usage: tsydriver.exe PROGRAM [command...]\n"
    "  timeout MS        later waits give up after MS milliseconds (default 20000)\n"
    "  wait-dialog       wait until the dialog is visible and the program idle\n"
    "  wait-box          wait until a message box is up and the program idle\n"
    "  wait-idle         wait until the program answers messages and uses no CPU\n"
    "  wait-exit         wait for the end of the program; prints exit=CODE\n"
    "  dump              print the dialog's caption, state and controls\n"
    "                    (dialog.icon.caption: the caption shows the program's icon 128)\n"
    "  dump-box          print the message box's caption, text, icon and buttons\n"
    "  set-dir TEXT      put TEXT into the directory edit (1001)\n"
    "  set-text ID TEXT  put TEXT into control ID of the dialog\n"
    "  click BUTTON      click a dialog button (ok, cancel or an id)\n"
    "  command BUTTON    post the button's WM_COMMAND to the dialog\n"
    "  key KEY           press enter or esc in the dialog\n"
    "  close             the dialog's close box\n"
    "  press BUTTON      click a message box button (yes, no, ok, cancel or an id)\n"
    "  box-key KEY       press enter or esc in the message box\n"
    "  signal FILE       create FILE, e.g. to tell a script the dialog is up\n"
    "  wait-file FILE    wait until FILE exists, e.g. after a screenshot was taken\n"
    "  sleep MS          wait MS milliseconds\n";

int ParseButton(const std::string& strName)
{
    static const struct { const char* pszName; int nID; } s_names[] = {
        { "ok", IDOK }, { "cancel", IDCANCEL }, { "yes", IDYES }, { "no", IDNO },
    };
    for (const auto& name : s_names) {
        if (strName == name.pszName)
            return name.nID;
    }
    return std::atoi(strName.c_str());
}

UINT ParseKey(const std::string& strName)
{
    if (strName == "enter")
        return VK_RETURN;
    if (strName == "esc")
        return VK_ESCAPE;
    return 0;
}

// Control characters are written as escapes so that every fact stays on one line.
std::string Escape(const std::string& strText)
{
    std::string strOut;
    for (char ch : strText) {
        if (ch == '\r')
            strOut += "\\r";
        else if (ch == '\n')
            strOut += "\\n";
        else if (ch == '\t')
            strOut += "\\t";
        else
            strOut += ch;
    }
    return strOut;
}

void PrintFact(const std::string& strKey, const std::string& strValue)
{
    std::printf("%s=%s\n", strKey.c_str(), Escape(strValue).c_str());
    std::fflush(stdout);
}

void PrintFact(const std::string& strKey, long nValue)
{
    PrintFact(strKey, std::to_string(nValue));
}

BOOL CALLBACK DumpChildProc(HWND hChild, LPARAM)
{
    std::string strKey = "item." + std::to_string(GetDlgCtrlID(hChild));
    PrintFact(strKey + ".text", CUiDriver::GetText(hChild));
    PrintFact(strKey + ".visible", IsWindowVisible(hChild) ? 1 : 0);
    return TRUE;
}

// The id of the program's icon that its dialog is expected to show.
const int ID_PROGRAM_ICON = 128;

void DumpDialog(HWND hDlg, const std::string& strExe)
{
    RECT rc = {};
    GetWindowRect(hDlg, &rc);
    PrintFact("dialog.caption", CUiDriver::GetText(hDlg));
    PrintFact("dialog.visible", IsWindowVisible(hDlg) ? 1 : 0);
    PrintFact("dialog.rect", std::to_string(rc.left) + "," + std::to_string(rc.top) + ","
                                 + std::to_string(rc.right) + "," + std::to_string(rc.bottom));
    PrintFact("dialog.centred", CUiDriver::IsCentredOnWorkArea(hDlg) ? 1 : 0);
    // WM_GETICON gives NULL across processes under Wine, so the caption is looked at too.
    PrintFact("dialog.icon.big", CUiDriver::GetWindowIcon(hDlg, ICON_BIG) ? 1 : 0);
    PrintFact("dialog.icon.small", CUiDriver::GetWindowIcon(hDlg, ICON_SMALL) ? 1 : 0);
    PrintFact("dialog.icon.caption", CUiDriver::IsCaptionShowingIcon(hDlg, strExe, ID_PROGRAM_ICON) ? 1 : 0);
    PrintFact("dialog.focus", CUiDriver::GetFocusID(hDlg));
    PrintFact("dialog.default", CUiDriver::GetDefaultID(hDlg));
    EnumChildWindows(hDlg, DumpChildProc, 0);
}

void DumpBox(const CUiDriver& driver, HWND hBox)
{
    PrintFact("box.caption", CUiDriver::GetText(hBox));
    PrintFact("box.text", CUiDriver::GetItemText(hBox, 0xFFFF));
    PrintFact("box.icon", CUiDriver::GetIconName(CUiDriver::GetBoxIcon(hBox)));
    std::string strButtons;
    for (int nID : { IDOK, IDCANCEL, IDYES, IDNO }) {
        if (CUiDriver::IsItemVisible(hBox, nID))
            strButtons += (strButtons.empty() ? "" : ",") + std::to_string(nID);
    }
    PrintFact("box.buttons", strButtons);
    HWND hDlg = driver.FindDialog();
    PrintFact("dialog.visible", hDlg && IsWindowVisible(hDlg) ? 1 : 0);
}

class CCommandRunner
{
public:
    CCommandRunner(int argc, char** argv) : m_argc(argc), m_argv(argv), m_nNext(2) {}

    int Run()
    {
        if (m_argc < 2) {
            std::fputs(USAGE, stderr);
            return 2;
        }
        if (!m_driver.Start(m_argv[1])) {
            PrintFact("error", "cannot start " + std::string(m_argv[1]));
            return 1;
        }
        PrintFact("started", (long)m_driver.GetProcessId());
        while (m_nNext < m_argc) {
            std::string strCommand = m_argv[m_nNext++];
            int nResult = RunCommand(strCommand);
            if (nResult != 0)
                return nResult;
        }
        return 0;
    }

private:
    bool HasArg() const { return m_nNext < m_argc; }
    std::string NextArg() { return m_argv[m_nNext++]; }

    int Fail(const std::string& strWhat)
    {
        PrintFact("error", strWhat + (m_driver.HasExited() ? " (program has exited)" : ""));
        return 1;
    }

    int Usage(const std::string& strCommand)
    {
        std::fprintf(stderr, "bad command or missing argument: %s\n%s", strCommand.c_str(), USAGE);
        return 2;
    }

    HWND Dialog() { return m_driver.FindDialog(); }

    int RunCommand(const std::string& strCommand);

    int m_argc;
    char** m_argv;
    int m_nNext;
    CUiDriver m_driver;
};

int CCommandRunner::RunCommand(const std::string& strCommand)
{
    static const char* const s_withArg[] = {
        "timeout", "set-dir", "click", "command", "key", "press", "box-key",
        "signal", "wait-file", "sleep",
    };
    for (const char* pszName : s_withArg) {
        if (strCommand == pszName && !HasArg())
            return Usage(strCommand);
    }
    if (strCommand == "timeout") {
        m_driver.SetTimeout(std::atoi(NextArg().c_str()));
    } else if (strCommand == "wait-dialog") {
        if (!m_driver.WaitForDialog())
            return Fail("no visible dialog");
        PrintFact("dialog", "visible");
    } else if (strCommand == "wait-box") {
        if (!m_driver.WaitForMessageBox())
            return Fail("no message box");
        PrintFact("box", "up");
    } else if (strCommand == "wait-idle") {
        if (!m_driver.WaitForIdle())
            return Fail("program not idle");
    } else if (strCommand == "wait-exit") {
        DWORD dwExitCode = 0;
        if (!m_driver.WaitForExit(&dwExitCode))
            return Fail("program did not exit");
        PrintFact("exit", (long)dwExitCode);
    } else if (strCommand == "dump") {
        if (!Dialog())
            return Fail("no dialog");
        DumpDialog(Dialog(), m_argv[1]);
    } else if (strCommand == "dump-box") {
        HWND hBox = m_driver.FindMessageBox();
        if (!hBox)
            return Fail("no message box");
        DumpBox(m_driver, hBox);
    } else if (strCommand == "set-dir" || strCommand == "set-text") {
        int nID = 1001;
        if (strCommand == "set-text") {
            nID = std::atoi(NextArg().c_str());
            if (!HasArg())
                return Usage(strCommand);
        }
        if (!CUiDriver::SetItemText(Dialog(), nID, NextArg()))
            return Fail("cannot set the text of " + std::to_string(nID));
    } else if (strCommand == "click" || strCommand == "command") {
        int nID = ParseButton(NextArg());
        bool bPosted = strCommand == "click" ? CUiDriver::ClickButton(Dialog(), nID)
                                             : CUiDriver::PostCommand(Dialog(), nID);
        if (!bPosted)
            return Fail("no button " + std::to_string(nID));
    } else if (strCommand == "key" || strCommand == "box-key") {
        UINT nKey = ParseKey(NextArg());
        HWND hWnd = strCommand == "key" ? Dialog() : m_driver.FindMessageBox();
        if (!nKey)
            return Usage(strCommand);
        if (!hWnd || !CUiDriver::PressKey(hWnd, nKey))
            return Fail("no window for the key");
    } else if (strCommand == "close") {
        if (!Dialog() || !CUiDriver::PressCloseBox(Dialog()))
            return Fail("no dialog");
    } else if (strCommand == "press") {
        int nID = ParseButton(NextArg());
        if (!CUiDriver::ClickButton(m_driver.FindMessageBox(), nID))
            return Fail("no message box button " + std::to_string(nID));
    } else if (strCommand == "signal") {
        std::string strFile = NextArg();
        HANDLE hFile = CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            return Fail("cannot create " + strFile);
        CloseHandle(hFile);
    } else if (strCommand == "wait-file") {
        std::string strFile = NextArg();
        DWORD dwStart = GetTickCount();
        while (GetFileAttributesA(strFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (GetTickCount() - dwStart > 60000)
                return Fail("no file " + strFile);
            Sleep(50);
        }
    } else if (strCommand == "sleep") {
        Sleep(std::atoi(NextArg().c_str()));
    } else {
        return Usage(strCommand);
    }
    return 0;
}
}

int main(int argc, char** argv)
{
    CCommandRunner runner(argc, argv);
    return runner.Run();
}
