#pragma once
#include <windows.h>
#include "framework/String.h"
#include "framework/StringArray.h"

const char TempFileName[] = "tsy.tmp";
const int ExpandBufferSize = 2000000;

// Fills arrFiles with the names that payload records 0, 1, 2, ... are installed as.
void BuildInstallFileTable(CStringArray& arrFiles);

// Expands every payload record into strDir (which exists; no trailing
// backslash) under its name from arrFiles, stamped with the release time.
// FALSE after a message box has told the user why; a failed write or close
// throws CFileException. arrFiles holds the install file table afterwards.
BOOL ExpandPayload(const CString& strDir, CStringArray& arrFiles);

// The same walk over payload bytes given by the caller; a length that runs
// past cbPayload, or a missing end marker, fails like a broken record.
BOOL ExpandPayloadRecords(const CString& strDir, const unsigned char* pPayload, size_t cbPayload,
                          CStringArray& arrFiles);
