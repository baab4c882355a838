#pragma once
#include <windows.h>
#include "framework/File.h"

// The LZ expansion service: expands a complete SZDD file of mode 'A' into
// memory. Open, Read and Close go in that order whatever Open returned;
// Read's count tells the caller whether it worked.
class CLzFile
{
public:
    enum
    {
        LzErrorNotOpen = -1,     // Open failed or was not called
        LzErrorRead = -2,        // the file could not be read
        LzErrorBadFormat = -3,   // no SZDD header of mode 'A'
        LzErrorTooLarge = -4,    // the expanded length exceeds the buffer
        LzErrorBadLength = -5    // the data expands to a count other than the header's
    };

    // Opens the file sharing reading only; FALSE when it cannot be opened.
    BOOL Open(LPCSTR pszPath);
    // The count of expanded bytes placed at the start of pBuffer: exactly the
    // header's expanded length (0 for an empty file), or an LzError value.
    int Read(unsigned char* pBuffer, int cbBuffer);
    void Close();

private:
    CFile m_file;
};
