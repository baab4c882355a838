#pragma once
#include "framework/String.h"

// The current user's Desktop and Programs folders; a value that is missing
// or cannot be read leaves its string empty.
void ReadShellFolders(CString& strDesktop, CString& strPrograms);
