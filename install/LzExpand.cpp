#include "install/LzExpand.h"
#include "framework/FileException.h"
#include "install/SzddCodec.h"

#include <memory>
#include <new>

BOOL CLzFile::Open(LPCSTR pszPath)
{
    return m_file.Open(pszPath, CFile::modeRead | CFile::shareDenyWrite);
}

int CLzFile::Read(unsigned char* pBuffer, int cbBuffer)
{
    if (!m_file.IsOpen())
        return LzErrorNotOpen;

    std::unique_ptr<unsigned char[]> pFile;
    size_t cbFile = 0;
    try {
        ULONGLONG cbLength = m_file.GetLength();
        if (cbLength > 0x7FFFFFFF)
            return LzErrorTooLarge;
        cbFile = (size_t)cbLength;
        pFile.reset(new (std::nothrow) unsigned char[cbFile ? cbFile : 1]);
        if (!pFile)
            return LzErrorRead;
        if (m_file.Read(pFile.get(), (UINT)cbFile) != cbFile)
            return LzErrorRead;
    } catch (const CFileException&) {
        // The caller knows only counts: a file it cannot read is a failed expansion.
        return LzErrorRead;
    }

    SzddHeader header;
    if (cbFile < SzddHeaderSize || !SzddReadHeader(pFile.get(), cbFile, &header) || header.nMode != SzddModeLzss)
        return LzErrorBadFormat;
    if (header.cbExpanded > (uint32_t)cbBuffer)
        return LzErrorTooLarge;
    size_t cbExpanded = SzddExpand(pFile.get() + SzddHeaderSize, cbFile - SzddHeaderSize, pBuffer, (size_t)cbBuffer);
    if (cbExpanded != header.cbExpanded)
        return LzErrorBadLength;
    return (int)cbExpanded;
}

void CLzFile::Close()
{
    try {
        m_file.Close();
    } catch (const CFileException&) {
        // The data was read already; a handle that will not close changes nothing for the caller.
    }
}
