#pragma once
#include <windows.h>
#include <string>

#include "tests/support/RegistryAccess.h"

class CUiDriver;

// The setup program under test, from TSY_SETUP_EXE (a Windows path, or a Unix path that
// Wine sees on drive Z:).
std::string GetSetupExePath();
// A file in the directory of the running test exe.
std::string BesideTestExe(const char* pszName);

// Where setup looks for a previous installation and writes its registration.
extern const char APP_PATHS_KEY[];   // HKLM, App Paths entry of TSY.exe
extern const char UNINSTALL_KEY[];   // HKLM, the product's uninstall entry

// A shell folder of the current user as the prefix's registry names it; "" if unset.
std::string GetShellFolder(const char* pszName);
bool PathExists(const std::string& strPath);

// Waits for the program's end and fails the test if its dialog stays up meanwhile.
void ExpectExitWithoutDialog(CUiDriver& driver);
// Fails the test if anything of an installation is on disk or in the registry: the default
// directory, the shortcuts, the uninstall entry; the App Paths entry must be as before.
void ExpectNothingInstalled(bool bHadAppPath, const std::string& strAppPathBefore);
