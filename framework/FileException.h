#pragma once
#include <windows.h>
#include "framework/Exception.h"
#include "framework/String.h"

// A failed file operation: why (the cause), the system error code behind it
// and the file's full path (empty when the operation had no name, e.g. a close).
class CFileException : public CException
{
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int nCause = none, LONG lOsError = -1, LPCSTR pszFileName = nullptr);

    // The cause's text with %1 replaced by the file name or "an unnamed file",
    // cut to 511 characters.
    CString GetErrorMessage() const;
    // Shows GetErrorMessage with the stop icon.
    void ReportError() const override;

    // The cause that a system error code stands for; genericException when
    // no closer cause fits.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCSTR pszFileName = nullptr);
    [[noreturn]] static void Throw(int nCause, LONG lOsError, LPCSTR pszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
