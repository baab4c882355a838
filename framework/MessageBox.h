#pragma once
#include <windows.h>

// A message box captioned with the application name and owned by the main
// window's last active popup. A type that names no icon gets the exclamation
// icon. Returns the button pressed.
int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
