#pragma once
#include <windows.h>
#include <string>

class CUiDriver;

// Texts of an installing run, as the user sees them.
extern const char FINISHED_TEXT[];
extern const char SPACE_NOTE_TEXT[];
extern const char EXISTS_QUESTION[];
extern const char CANNOT_CREATE_TEXT[];

// Starts setup (in strCurDir, if given) and waits for its ready dialog; NULL if it never shows.
HWND StartSetupDialog(CUiDriver& driver, const std::string& strCurDir = std::string());
// Waits for the end of what OK (or an answer to a question) started: returns the message box
// it put up, or NULL once the dialog shows its finished state and the program is idle again.
// Fails the test when neither comes.
HWND WaitForRunOutcome(CUiDriver& driver, HWND hDlg);
// Puts strDir into the directory edit, clicks OK and waits for the outcome.
HWND RunWithDirectory(CUiDriver& driver, HWND hDlg, const std::string& strDir);
// Clicks a message box button and waits for what follows, like WaitForRunOutcome.
HWND AnswerBox(CUiDriver& driver, HWND hDlg, HWND hBox, int nButton);

// A box of setup's own: caption "setup", the text, the icon ("exclamation", "stop") and
// either the OK button alone or Yes and No.
void ExpectBox(HWND hBox, const char* pszText, const char* pszIcon, bool bYesNo);
// The dialog as OnInitDialog left it, the edit holding strEditText.
void ExpectReadyToInstall(HWND hDlg, const std::string& strEditText);
// Success text, OK hidden but still the default button, "Close", edit and label hidden.
void ExpectFinishedDialog(HWND hDlg);

// The four product files in strDir, byte for byte, modified 1999-08-09 11:00 local; no tsy.tmp.
void ExpectInstalledFiles(const std::string& strDir);
// App Paths and uninstall entries for strInstallDir, the directory as the run took it.
void ExpectRegistration(const std::string& strInstallDir);
// Neither registry entry and no shortcut in the Desktop or Programs folder.
void ExpectNoRegistrationOrShortcuts();

struct CShortcutInfo
{
    bool bRead;
    std::string strTarget;
    std::string strDescription;
};

// The link read back through the shell's link object (IShellLinkA, IPersistFile::Load).
CShortcutInfo ReadShortcut(const std::string& strLink);
// The link read by the Linux tool lnkinfo, which Wine starts like any program; its whole
// report (or why there is none) goes to *pstrReport.
CShortcutInfo ReadShortcutWithLnkinfo(const std::string& strLink, std::string* pstrReport = NULL);
bool IsLnkinfoAvailable();
// Both readers agree that strLink points at strTarget with the description "Tessaly".
void ExpectShortcut(const std::string& strLink, const std::string& strTarget);

// Runs a /bin/sh command line on the Linux side (Wine execs ELF files) and waits for its end;
// its stdout and stderr go to *pstrOutput. False if it could not be run or did not exit with 0.
// The command must not contain double quotes.
bool RunHostCommand(const std::string& strCommand, std::string* pstrOutput);
// The Unix name Wine gives a Windows path; "" if it has none.
std::string GetUnixPath(const std::string& strPath);
// Where the product files of this build are: TSY_PRODUCT_DIR, else the source tree's product\.
std::string GetProductDir();
bool ReadWholeFile(const std::string& strPath, std::string* pstrData);
