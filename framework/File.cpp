#include "framework/File.h"
#include "framework/FileException.h"


namespace {

const DWORD LowAttributeBits = 0xFF;

DWORD AccessFromFlags(UINT nOpenFlags)
{
    switch (nOpenFlags & 3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ShareFromFlags(UINT nOpenFlags)
{
    switch (nOpenFlags & 0x70) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;  // exclusive and compatibility mode
    }
}

DWORD DispositionFromFlags(UINT nOpenFlags)
{
    if (!(nOpenFlags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (nOpenFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

CString GetFullPath(LPCSTR pszFileName)
{
    CString strPath;
    DWORD cch = GetFullPathNameA(pszFileName, MAX_PATH, strPath.GetBuffer(MAX_PATH), nullptr);
    if (cch == 0 || cch >= MAX_PATH) {
        strPath.ReleaseBuffer(0);
        return CString(pszFileName);
    }
    strPath.ReleaseBuffer((int)cch);
    return strPath;
}

// A handle closed on every way out, for the short open in SetStatus.
class CHandleOwner
{
public:
    explicit CHandleOwner(HANDLE hFile) : m_hFile(hFile) {}
    ~CHandleOwner()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
    }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;
    HANDLE Get() const { return m_hFile; }
    HANDLE Detach()
    {
        HANDLE hFile = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        return hFile;
    }

private:
    HANDLE m_hFile;
};

void SetFileTimes(LPCSTR pszFileName, const CFileStatus& status)
{
    FILETIME creation, access, lastWrite;
    BOOL bCreation = status.m_ctime.GetAsFileTime(&creation);
    BOOL bAccess = status.m_atime.GetAsFileTime(&access);
    BOOL bLastWrite = status.m_mtime.GetAsFileTime(&lastWrite);

    CHandleOwner file(CreateFileA(pszFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);
    if (!SetFileTime(file.Get(), bCreation ? &creation : nullptr, bAccess ? &access : nullptr,
                     bLastWrite ? &lastWrite : nullptr))
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);
    if (!CloseHandle(file.Detach()))
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);
}

void SetAttributes(LPCSTR pszFileName, BYTE bAttribute)
{
    if (!SetFileAttributesA(pszFileName, bAttribute))
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);
}

} // namespace

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::~CFile()
{
    if (IsOpen())
        CloseHandle(m_hFile);
}

BOOL CFile::Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (IsOpen())
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName = GetFullPath(pszFileName);

    HANDLE hFile = CreateFileA(pszFileName, AccessFromFlags(nOpenFlags), ShareFromFlags(nOpenFlags), nullptr,
                               DispositionFromFlags(nOpenFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        DWORD dwError = GetLastError();
        if (pError) {
            pError->m_cause = CFileException::OsErrorToException((LONG)dwError);
            pError->m_lOsError = (LONG)dwError;
            pError->m_strFileName = m_strFileName;
        }
        SetLastError(dwError);  // the caller picks its message by this code
        return FALSE;
    }
    m_hFile = hFile;
    return TRUE;
}

UINT CFile::Read(void* pBuffer, UINT nCount)
{
    DWORD cbRead = 0;
    if (!ReadFile(m_hFile, pBuffer, nCount, &cbRead, nullptr))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return cbRead;
}

void CFile::Write(const void* pBuffer, UINT nCount)
{
    DWORD cbWritten = 0;
    if (!WriteFile(m_hFile, pBuffer, nCount, &cbWritten, nullptr))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (cbWritten != nCount)
        CFileException::Throw(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (ULONGLONG)size.QuadPart;
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    HANDLE hFile = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    // A failed close carries no name: the report says "an unnamed file".
    if (!CloseHandle(hFile))
        CFileException::ThrowOsError((LONG)GetLastError());
}

BOOL CFile::GetStatus(CFileStatus& status) const
{
    status = CFileStatus();
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    status.m_ctime = CTime(info.ftCreationTime);
    status.m_atime = CTime(info.ftLastAccessTime);
    status.m_mtime = CTime(info.ftLastWriteTime);
    status.m_size = ((ULONGLONG)info.nFileSizeHigh << 32) | info.nFileSizeLow;
    status.m_attribute = (BYTE)(info.dwFileAttributes & LowAttributeBits);
    lstrcpynA(status.m_szFullName, m_strFileName, MAX_PATH);
    return TRUE;
}

void CFile::SetStatus(LPCSTR pszFileName, const CFileStatus& status)
{
    DWORD dwAttributes = GetFileAttributesA(pszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);

    // A read-only file takes its new attributes before the times can be
    // written; any other file after, so that read-only comes last.
    BOOL bAttributesDiffer = (dwAttributes & LowAttributeBits) != status.m_attribute;
    BOOL bReadOnly = (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (bAttributesDiffer && bReadOnly)
        SetAttributes(pszFileName, status.m_attribute);

    if (status.m_mtime.GetTime() != 0)
        SetFileTimes(pszFileName, status);

    if (bAttributesDiffer && !bReadOnly)
        SetAttributes(pszFileName, status.m_attribute);
}

void CFile::Remove(LPCSTR pszFileName)
{
    if (!DeleteFileA(pszFileName))
        CFileException::ThrowOsError((LONG)GetLastError(), pszFileName);
}
