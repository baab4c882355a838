#include "install/ExpandPayload.h"
#include "app/ProductNames.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/FileException.h"
#include "framework/MessageBox.h"
#include "framework/Time.h"
#include "install/LzExpand.h"
#include "install/PayloadRecords.h"
#include "resources/resource.h"

namespace {

const UINT CreateWriteExclusive = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;  // 0x1011
const LPCSTR RawDataType = MAKEINTRESOURCEA(10);  // RT_RCDATA, spelled for the ANSI call

// The zero-filled work buffer of one call, released on every way out.
class CWorkBuffer
{
public:
    CWorkBuffer() : m_hMem(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, ExpandBufferSize)) {}
    ~CWorkBuffer()
    {
        if (m_hMem)
            GlobalFree(m_hMem);
    }
    CWorkBuffer(const CWorkBuffer&) = delete;
    CWorkBuffer& operator=(const CWorkBuffer&) = delete;
    unsigned char* Get() const { return static_cast<unsigned char*>(m_hMem); }

private:
    HGLOBAL m_hMem;
};

BOOL Fail(LPCSTR pszMessage)
{
    AfxMessageBox(pszMessage, MB_OK);
    return FALSE;
}

LPCSTR MessageForTempFileError(DWORD dwError)
{
    if (dwError == ERROR_DISK_FULL)
        return "No space on disk";
    if (dwError == ERROR_BAD_PATHNAME)
        return "Invalid Path";
    return "File Error";
}

// Writes "SZDD" and the record body to the temporary file, giving back a complete SZDD file.
BOOL StageRecord(const CString& strTempPath, const unsigned char* pBody, uint32_t cbBody)
{
    CFile file;
    if (!file.Open(strTempPath, CreateWriteExclusive))
        return Fail(MessageForTempFileError(GetLastError()));
    file.Write("SZDD", 4);
    file.Write(pBody, cbBody);
    file.Close();
    return TRUE;
}

int ExpandStagedFile(const CString& strTempPath, unsigned char* pBuffer)
{
    CLzFile lzFile;
    lzFile.Open(strTempPath);
    int nCount = lzFile.Read(pBuffer, ExpandBufferSize);
    lzFile.Close();
    return nCount;
}

void StampReleaseTime(const CString& strPath, CFileStatus& status, const CTime& releaseTime)
{
    status.m_ctime = releaseTime;
    status.m_mtime = releaseTime;
    try {
        CFile::SetStatus(strPath, status);
    } catch (const CFileException&) {
        // A file without its release stamp still installs; nobody is told.
    }
}

BOOL InstallFile(const CString& strPath, const unsigned char* pData, int cbData, const CTime& releaseTime)
{
    CFile file;
    if (!file.Open(strPath, CreateWriteExclusive))
        return Fail("Error in installing");
    file.Write(pData, (UINT)cbData);
    CFileStatus status;
    BOOL bStatus = file.GetStatus(status);
    file.Close();
    if (bStatus)
        StampReleaseTime(strPath, status, releaseTime);
    return TRUE;
}

void RemoveTempFile(const CString& strTempPath)
{
    try {
        CFile::Remove(strTempPath);
    } catch (const CFileException&) {
        // Absent when no record was expanded; a leftover is harmless.
    }
}

} // namespace

void BuildInstallFileTable(CStringArray& arrFiles)
{
    arrFiles.SetSize(0, 10);
    arrFiles.Add(ProductExeName);
    arrFiles.Add("TSY.hlp");
    arrFiles.Add("TSY.cnt");
    arrFiles.Add("Uninstall.exe");
}

BOOL ExpandPayload(const CString& strDir, CStringArray& arrFiles)
{
    HRSRC hResource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PAYLOAD), RawDataType);
    HGLOBAL hPayload = LoadResource(nullptr, hResource);
    const unsigned char* pPayload = static_cast<const unsigned char*>(LockResource(hPayload));
    size_t cbPayload = SizeofResource(nullptr, hResource);
    return ExpandPayloadRecords(strDir, pPayload, cbPayload, arrFiles);
}

BOOL ExpandPayloadRecords(const CString& strDir, const unsigned char* pPayload, size_t cbPayload,
                          CStringArray& arrFiles)
{
    CWorkBuffer buffer;
    if (!buffer.Get())
        AfxThrowMemoryException();
    BuildInstallFileTable(arrFiles);
    const CTime releaseTime(1999, 8, 9, 11, 0, 0, -1);

    const CString strTempPath = strDir + "\\" + TempFileName;
    size_t nOffset = 0;
    for (int i = 0; i < arrFiles.GetSize(); i++) {
        uint32_t cbBody = 0;
        PayloadStep step = ReadPayloadRecord(pPayload, cbPayload, nOffset, &cbBody);
        if (step == PayloadEndMarker)
            break;
        if (step == PayloadTruncated)
            return Fail("Error in installing");

        if (!StageRecord(strTempPath, pPayload + nOffset + PayloadLengthSize, cbBody))
            return FALSE;
        nOffset += PayloadLengthSize + cbBody;

        int nCount = ExpandStagedFile(strTempPath, buffer.Get());
        if (nCount <= 0)
            return Fail("Error in installing");
        if (!InstallFile(strDir + "\\" + arrFiles[i], buffer.Get(), nCount, releaseTime))
            return FALSE;
    }
    RemoveTempFile(strTempPath);
    return TRUE;
}
