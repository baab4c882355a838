#pragma once
#include <windows.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "install/SzddCodec.h"

typedef std::vector<unsigned char> CBytes;

// A fresh empty directory under the temporary folder, removed with its
// files (read-only ones too) at the end of the test.
class CTempDir
{
public:
    explicit CTempDir(const char* pszParent = nullptr)
    {
        char szBase[MAX_PATH] = "";
        if (pszParent)
            lstrcpynA(szBase, pszParent, MAX_PATH);
        else
            GetTempPathA(MAX_PATH, szBase);
        std::string strBase = szBase;
        if (!strBase.empty() && strBase.back() == '\\')
            strBase.pop_back();
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; n++) {
            m_strPath = strBase + "\\tsytest" + std::to_string(n % 1000000);
            if (CreateDirectoryA(m_strPath.c_str(), nullptr))
                break;
        }
    }
    ~CTempDir() { RemoveTree(m_strPath); }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& strName) const { return m_strPath + "\\" + strName; }

private:
    static void RemoveTree(const std::string& strDir)
    {
        WIN32_FIND_DATAA data;
        HANDLE hFind = FindFirstFileA((strDir + "\\*").c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                std::string strName = data.cFileName;
                if (strName == "." || strName == "..")
                    continue;
                std::string strPath = strDir + "\\" + strName;
                SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(strPath);
                else
                    DeleteFileA(strPath.c_str());
            } while (FindNextFileA(hFind, &data));
            FindClose(hFind);
        }
        RemoveDirectoryA(strDir.c_str());
    }

    std::string m_strPath;
};

inline bool FileExists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline CBytes ReadFileBytes(const std::string& strPath)
{
    CBytes bytes;
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(hFile, nullptr));
    DWORD cbRead = 0;
    if (!bytes.empty())
        ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &cbRead, nullptr);
    bytes.resize(cbRead);
    CloseHandle(hFile);
    return bytes;
}

inline bool WriteFileBytes(const std::string& strPath, const CBytes& bytes)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cbWritten = 0;
    BOOL bOk = WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &cbWritten, nullptr);
    CloseHandle(hFile);
    return bOk && cbWritten == bytes.size();
}

// Wine run as root writes read-only files: root passes every permission check.
inline bool IsReadOnlyEnforced(const std::string& strDir)
{
    std::string strProbe = strDir + "\\readonly.probe";
    WriteFileBytes(strProbe, CBytes(1, 'p'));
    SetFileAttributesA(strProbe.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE hFile = CreateFileA(strProbe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    bool bEnforced = hFile == INVALID_HANDLE_VALUE;
    if (!bEnforced)
        CloseHandle(hFile);
    SetFileAttributesA(strProbe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(strProbe.c_str());
    return bEnforced;
}

// Creation, last-access and last-write times as the file system reports them.
struct CFileTimes
{
    FILETIME creation, access, lastWrite;
};

inline bool ReadFileTimes(const std::string& strPath, CFileTimes* pTimes)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BOOL bOk = GetFileTime(hFile, &pTimes->creation, &pTimes->access, &pTimes->lastWrite);
    CloseHandle(hFile);
    return bOk != FALSE;
}

// "1999-08-09 09:00:00" for a UTC file time.
inline std::string FormatUtc(const FILETIME& fileTime)
{
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&fileTime, &st))
        return "invalid";
    char sz[32];
    wsprintfA(sz, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return sz;
}

// Bytes that compress like real program files: runs, repeats and noise.
inline CBytes MakeContent(size_t cb, uint32_t nSeed)
{
    CBytes bytes;
    bytes.reserve(cb);
    uint32_t nState = nSeed * 2654435761u + 1;
    auto next = [&nState] { return nState = nState * 1664525u + 1013904223u; };
    while (bytes.size() < cb) {
        uint32_t r = next();
        size_t cbRun = 1 + (r >> 8) % 40;
        if ((r & 3) == 0 && bytes.size() > 64) {
            size_t nFrom = bytes.size() - 1 - (r >> 16) % (bytes.size() < 4000 ? bytes.size() : 4000);
            for (size_t i = 0; i < cbRun && bytes.size() < cb; i++)
                bytes.push_back(bytes[nFrom + i]);
        } else if ((r & 3) == 1) {
            bytes.insert(bytes.end(), cbRun < cb - bytes.size() ? cbRun : cb - bytes.size(), (unsigned char)(r >> 24));
        } else {
            for (size_t i = 0; i < cbRun && bytes.size() < cb; i++)
                bytes.push_back((unsigned char)(next() >> 24));
        }
    }
    return bytes;
}

// A payload record's body: the SZDD file of the data without "SZDD".
inline CBytes MakeBody(const CBytes& data)
{
    CBytes file = SzddCompress(data.data(), data.size());
    return CBytes(file.begin() + 4, file.end());
}

inline void AppendLength(CBytes& payload, uint32_t cb)
{
    for (int i = 0; i < 4; i++)
        payload.push_back((unsigned char)(cb >> (8 * i)));
}

inline void AppendRecord(CBytes& payload, const CBytes& body)
{
    AppendLength(payload, (uint32_t)body.size());
    payload.insert(payload.end(), body.begin(), body.end());
}

// Payload bytes placed so that they end right at an inaccessible page:
// reading one byte past the end faults.
class CGuardedBytes
{
public:
    explicit CGuardedBytes(const CBytes& bytes)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t cbPage = info.dwPageSize;
        size_t cbData = (bytes.size() + cbPage - 1) / cbPage * cbPage;
        m_pBase = static_cast<unsigned char*>(VirtualAlloc(nullptr, cbData + cbPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD dwOld;
        VirtualProtect(m_pBase + cbData, cbPage, PAGE_NOACCESS, &dwOld);
        m_pData = m_pBase + cbData - bytes.size();
        if (!bytes.empty())
            memcpy(m_pData, bytes.data(), bytes.size());
        m_cb = bytes.size();
    }
    ~CGuardedBytes() { VirtualFree(m_pBase, 0, MEM_RELEASE); }
    CGuardedBytes(const CGuardedBytes&) = delete;
    CGuardedBytes& operator=(const CGuardedBytes&) = delete;

    const unsigned char* Data() const { return m_pData; }
    size_t Size() const { return m_cb; }

private:
    unsigned char* m_pBase;
    unsigned char* m_pData;
    size_t m_cb;
};

// The zone Wine was started with; it is read once per process.
inline std::string GetTimeZoneName()
{
    char sz[64] = "";
    GetEnvironmentVariableA("TZ", sz, sizeof(sz));
    return sz;
}
