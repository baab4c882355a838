#pragma once
#include <windows.h>
#include "framework/String.h"
#include "framework/Time.h"

// What GetStatus reads from an open file and SetStatus writes back by name.
struct CFileStatus
{
    CTime m_ctime;            // creation
    CTime m_mtime;            // last modification
    CTime m_atime;            // last access
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;     // the low eight FILE_ATTRIBUTE_ bits
    char m_szFullName[MAX_PATH] = {};
};

// A file handle with the framework's open flags. Open reports failure by its
// result; Write, Close, SetStatus and Remove throw CFileException.
class CFile
{
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000
    };

    CFile();
    ~CFile();  // closes a file still open, ignoring any failure
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with GetLastError telling why; pError, when given,
    // receives the cause, code and name as well.
    BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, class CFileException* pError = nullptr);
    // Bytes read; 0 at the end of the file.
    UINT Read(void* pBuffer, UINT nCount);
    // Throws when the write fails, and with the disk-full cause when it is short.
    void Write(const void* pBuffer, UINT nCount);
    ULONGLONG GetLength() const;
    void Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    const CString& GetFilePath() const { return m_strFileName; }

    // Times, size, attributes and full name of the open file; FALSE when
    // the times or the size cannot be read.
    BOOL GetStatus(CFileStatus& status) const;
    // Writes the record's times (those not 0, when m_mtime is not 0) and
    // attribute byte to the named file.
    static void SetStatus(LPCSTR pszFileName, const CFileStatus& status);
    // Deletes the named file; throws also when it does not exist.
    static void Remove(LPCSTR pszFileName);

private:
    HANDLE m_hFile;
    CString m_strFileName;  // full path, for exception reports
};
