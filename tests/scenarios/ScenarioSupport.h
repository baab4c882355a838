#pragma once
#include <windows.h>
#include <string>

// The setup program under test, from TSY_SETUP_EXE (a Windows path, or a Unix path that
// Wine sees on drive Z:).
std::string GetSetupExePath();
// A file in the directory of the running test exe.
std::string BesideTestExe(const char* pszName);
