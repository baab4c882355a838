#include "framework/FileException.h"
#include "framework/MessageBox.h"

#include <string.h>

namespace {

// Indexed by cause; none has no text of its own and reads as a generic error.
const char* const s_rgszCauseText[] = {
    "An unknown error occurred while accessing %1.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
};

const int MaxMessageLength = 511;

struct OsErrorCause
{
    LONG lOsError;
    int nCause;
};

const OsErrorCause s_rgOsErrorCause[] = {
    { NO_ERROR, CFileException::none },
    { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
    { ERROR_PATH_NOT_FOUND, CFileException::badPath },
    { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
    { ERROR_ACCESS_DENIED, CFileException::accessDenied },
    { ERROR_INVALID_HANDLE, CFileException::invalidFile },
    { ERROR_INVALID_DRIVE, CFileException::badPath },
    { ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir },
    { ERROR_NO_MORE_FILES, CFileException::directoryFull },
    { ERROR_WRITE_PROTECT, CFileException::accessDenied },
    { ERROR_NOT_READY, CFileException::hardIO },
    { ERROR_CRC, CFileException::hardIO },
    { ERROR_SEEK, CFileException::badSeek },
    { ERROR_SECTOR_NOT_FOUND, CFileException::hardIO },
    { ERROR_WRITE_FAULT, CFileException::hardIO },
    { ERROR_READ_FAULT, CFileException::hardIO },
    { ERROR_GEN_FAILURE, CFileException::hardIO },
    { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
    { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
    { ERROR_SHARING_BUFFER_EXCEEDED, CFileException::lockViolation },
    { ERROR_HANDLE_EOF, CFileException::endOfFile },
    { ERROR_HANDLE_DISK_FULL, CFileException::diskFull },
    { ERROR_BAD_NETPATH, CFileException::badPath },
    { ERROR_NETWORK_ACCESS_DENIED, CFileException::accessDenied },
    { ERROR_BAD_NET_NAME, CFileException::badPath },
    { ERROR_FILE_EXISTS, CFileException::accessDenied },
    { ERROR_CANNOT_MAKE, CFileException::directoryFull },
    { ERROR_INVALID_PASSWORD, CFileException::accessDenied },
    { ERROR_DISK_FULL, CFileException::diskFull },
    { ERROR_INVALID_NAME, CFileException::badPath },
    { ERROR_NEGATIVE_SEEK, CFileException::badSeek },
    { ERROR_SEEK_ON_DEVICE, CFileException::badSeek },
    { ERROR_NOT_LOCKED, CFileException::lockViolation },
    { ERROR_BAD_PATHNAME, CFileException::badPath },
    { ERROR_LOCK_FAILED, CFileException::lockViolation },
    { ERROR_ALREADY_EXISTS, CFileException::accessDenied },
    { ERROR_FILENAME_EXCED_RANGE, CFileException::badPath },
};

} // namespace

CFileException::CFileException(int nCause, LONG lOsError, LPCSTR pszFileName)
    : m_cause(nCause), m_lOsError(lOsError), m_strFileName(pszFileName)
{
}

CString CFileException::GetErrorMessage() const
{
    int nCause = m_cause;
    if (nCause < none || nCause > endOfFile)
        nCause = genericException;
    const char* pszText = s_rgszCauseText[nCause];
    const char* pszMark = strstr(pszText, "%1");
    CString strName = m_strFileName.IsEmpty() ? CString("an unnamed file") : m_strFileName;
    CString strMessage = CString(pszText, (int)(pszMark - pszText)) + strName + (pszMark + 2);
    if (strMessage.GetLength() > MaxMessageLength)
        return strMessage.Left(MaxMessageLength);
    return strMessage;
}

void CFileException::ReportError() const
{
    AfxMessageBox(GetErrorMessage(), MB_ICONSTOP);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    for (const OsErrorCause& entry : s_rgOsErrorCause) {
        if (entry.lOsError == lOsError)
            return entry.nCause;
    }
    return genericException;
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR pszFileName)
{
    Throw(OsErrorToException(lOsError), lOsError, pszFileName);
}

void CFileException::Throw(int nCause, LONG lOsError, LPCSTR pszFileName)
{
    throw CFileException(nCause, lOsError, pszFileName);
}
