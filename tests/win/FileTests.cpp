#include <gtest/gtest.h>

#include "framework/File.h"
#include "framework/FileException.h"
#include "tests/win/InstallFixture.h"

namespace {

const CBytes OldContent = { 'o', 'l', 'd', '-', 'c', 'o', 'n', 't', 'e', 'n', 't' };

std::string FullPath(const std::string& strPath)
{
    char sz[MAX_PATH];
    GetFullPathNameA(strPath.c_str(), MAX_PATH, sz, nullptr);
    return sz;
}

FILETIME FileTimeOf(WORD wYear, WORD wMonth, WORD wDay, WORD wHour)
{
    SYSTEMTIME st = {};
    st.wYear = wYear;
    st.wMonth = wMonth;
    st.wDay = wDay;
    st.wHour = wHour;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

std::string LastWriteUtcOf(const std::string& strPath)
{
    CFileTimes times;
    return ReadFileTimes(strPath, &times) ? FormatUtc(times.lastWrite) : "missing";
}

struct OpenCase
{
    const char* pszName;
    bool bExisting;
    const char* pszRelative;  // file name inside the test directory
    UINT nFlags;
    bool bOpens;
    DWORD dwError;
    const char* pszAfterWrite;  // content after writing "new", when it opens
};

TEST(CFileOpen, FlagsDecideCreationTruncationAndFailure)
{
    const OpenCase rgCases[] = {
        { "create truncates an existing file", true, "f.txt", CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive,
          true, 0, "new" },
        { "create without truncation keeps the rest", true, "f.txt",
          CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, true, 0, "new-content" },
        { "create makes a missing file", false, "f.txt", CFile::modeCreate | CFile::modeWrite, true, 0, "new" },
        { "plain open of a missing file", false, "f.txt", CFile::modeRead, false, ERROR_FILE_NOT_FOUND, nullptr },
        { "missing directory", false, "nodir\\f.txt", CFile::modeCreate | CFile::modeWrite, false, ERROR_PATH_NOT_FOUND,
          nullptr },
    };
    for (const OpenCase& test : rgCases) {
        SCOPED_TRACE(test.pszName);
        CTempDir dir;
        std::string strPath = dir / test.pszRelative;
        if (test.bExisting) {
            ASSERT_TRUE(WriteFileBytes(strPath, OldContent));
        }

        CFile file;
        CFileException error;
        SetLastError(0);
        BOOL bOpened = file.Open(strPath.c_str(), test.nFlags, &error);
        DWORD dwError = GetLastError();

        ASSERT_EQ(test.bOpens, bOpened != FALSE);
        if (!test.bOpens) {
            EXPECT_EQ(test.dwError, dwError);
            EXPECT_EQ((LONG)test.dwError, error.m_lOsError);
            EXPECT_EQ(CFileException::OsErrorToException((LONG)test.dwError), error.m_cause);
            EXPECT_STREQ(FullPath(strPath).c_str(), (LPCSTR)error.m_strFileName);
            continue;
        }
        file.Write("new", 3);
        file.Close();
        std::string strAfter(test.pszAfterWrite);
        EXPECT_TRUE(ReadFileBytes(strPath) == CBytes(strAfter.begin(), strAfter.end()));
    }
}

struct ShareCase
{
    UINT nFirstShare;
    UINT nSecondAccess;
    bool bSecondOpens;
};

TEST(CFileOpen, ShareFlagsDecideWhoElseMayOpen)
{
    const ShareCase rgCases[] = {
        { CFile::shareExclusive, CFile::modeRead, false },
        { CFile::shareDenyWrite, CFile::modeRead, true },
        { CFile::shareDenyWrite, CFile::modeWrite, false },
        { CFile::shareDenyRead, CFile::modeRead, false },
        { CFile::shareDenyRead, CFile::modeWrite, true },
        { CFile::shareDenyNone, CFile::modeReadWrite, true },
    };
    CTempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir / "f.txt", OldContent));
    for (const ShareCase& test : rgCases) {
        SCOPED_TRACE(testing::Message() << "first share " << std::hex << test.nFirstShare << ", second access "
                                        << test.nSecondAccess);
        CFile first, second;
        ASSERT_TRUE(first.Open((dir / "f.txt").c_str(), CFile::modeReadWrite | test.nFirstShare));
        BOOL bOpened = second.Open((dir / "f.txt").c_str(), test.nSecondAccess | CFile::shareDenyNone);
        EXPECT_EQ(test.bSecondOpens, bOpened != FALSE);
        if (!bOpened) {
            EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
        }
    }
}

TEST(CFile, DestructionClosesAFileStillOpenAndKeepsWhatWasWritten)
{
    CTempDir dir;
    {
        CFile file;
        ASSERT_TRUE(file.Open((dir / "f.txt").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
        file.Write("partial", 7);
    }
    CFile again;
    EXPECT_TRUE(again.Open((dir / "f.txt").c_str(), CFile::modeRead | CFile::shareExclusive));
    EXPECT_EQ(7u, again.GetLength());
}

TEST(CFile, FailedWriteThrowsWithCauseAndFullPath)
{
    CTempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir / "f.txt", OldContent));
    CFile file;
    ASSERT_TRUE(file.Open((dir / "f.txt").c_str(), CFile::modeRead));
    try {
        file.Write("x", 1);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::accessDenied, e.m_cause);
        EXPECT_EQ(ERROR_ACCESS_DENIED, e.m_lOsError);
        EXPECT_EQ("Access to " + FullPath(dir / "f.txt") + " was denied.", (LPCSTR)e.GetErrorMessage());
    }
}

TEST(CFile, GetStatusReadsTheOpenFile)
{
    CTempDir dir;
    std::string strPath = dir / "f.txt";
    CFile file;
    ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    file.Write(CBytes(1234, 'a').data(), 1234);

    CFileStatus status;
    ASSERT_TRUE(file.GetStatus(status));
    file.Close();

    CFileTimes times;
    ASSERT_TRUE(ReadFileTimes(strPath, &times));
    EXPECT_EQ(1234u, status.m_size);
    EXPECT_STREQ(FullPath(strPath).c_str(), status.m_szFullName);
    EXPECT_EQ(GetFileAttributesA(strPath.c_str()) & 0xFF, status.m_attribute);
    EXPECT_EQ(CTime(times.lastWrite).GetTime(), status.m_mtime.GetTime());
    EXPECT_EQ(CTime(times.access).GetTime(), status.m_atime.GetTime());
    EXPECT_NE(0, status.m_ctime.GetTime());

    CFile closed;
    EXPECT_FALSE(closed.GetStatus(status));
}

// Wine keeps no creation time (it reports the modification time instead), so
// these check the access and modification times, set to different values so
// that swapped arguments show.
TEST(CFileSetStatus, WritesTheTimesStraightAsUtc)
{
    CTempDir dir;
    std::string strPath = dir / "f.txt";
    ASSERT_TRUE(WriteFileBytes(strPath, OldContent));
    CFileStatus status;
    status.m_ctime = CTime(FileTimeOf(1999, 8, 9, 9));
    status.m_atime = CTime(FileTimeOf(2001, 2, 3, 4));
    status.m_mtime = CTime(FileTimeOf(2000, 1, 2, 3));
    status.m_attribute = (BYTE)(GetFileAttributesA(strPath.c_str()) & 0xFF);

    CFile::SetStatus(strPath.c_str(), status);

    CFileTimes times;
    ASSERT_TRUE(ReadFileTimes(strPath, &times));
    EXPECT_EQ("2000-01-02 03:00:00", FormatUtc(times.lastWrite));
    EXPECT_EQ("2001-02-03 04:00:00", FormatUtc(times.access));
}

TEST(CFileSetStatus, ZeroModificationTimeLeavesTheTimesAlone)
{
    CTempDir dir;
    std::string strPath = dir / "f.txt";
    ASSERT_TRUE(WriteFileBytes(strPath, OldContent));
    CFileTimes before;
    ASSERT_TRUE(ReadFileTimes(strPath, &before));
    CFileStatus status;
    status.m_ctime = CTime(FileTimeOf(1999, 8, 9, 9));
    status.m_atime = CTime(FileTimeOf(1999, 8, 9, 9));
    status.m_attribute = (BYTE)(GetFileAttributesA(strPath.c_str()) & 0xFF);

    CFile::SetStatus(strPath.c_str(), status);

    CFileTimes after;
    ASSERT_TRUE(ReadFileTimes(strPath, &after));
    EXPECT_EQ(FormatUtc(before.lastWrite), FormatUtc(after.lastWrite));
    EXPECT_EQ(FormatUtc(before.access), FormatUtc(after.access));
}

TEST(CFileSetStatus, ReadOnlyGoesOnLastAndComesOffFirst)
{
    struct
    {
        DWORD dwBefore;
        BYTE bWanted;
    } const rgCases[] = {
        { FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY },
        { FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_ARCHIVE },
    };
    for (const auto& test : rgCases) {
        SCOPED_TRACE(testing::Message() << "attributes before " << test.dwBefore);
        CTempDir dir;
        std::string strPath = dir / "f.txt";
        ASSERT_TRUE(WriteFileBytes(strPath, OldContent));
        SetFileAttributesA(strPath.c_str(), test.dwBefore);
        CFileStatus status;
        status.m_mtime = CTime(FileTimeOf(2000, 1, 2, 3));
        status.m_attribute = test.bWanted;

        CFile::SetStatus(strPath.c_str(), status);

        EXPECT_EQ(test.bWanted, GetFileAttributesA(strPath.c_str()) & 0xFF);
        EXPECT_EQ("2000-01-02 03:00:00", LastWriteUtcOf(strPath));
    }
}

TEST(CFileSetStatus, MissingFileThrowsNamingIt)
{
    CTempDir dir;
    CFileStatus status;
    status.m_mtime = CTime(FileTimeOf(2000, 1, 2, 3));
    try {
        CFile::SetStatus((dir / "missing.txt").c_str(), status);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
        EXPECT_STREQ((dir / "missing.txt").c_str(), (LPCSTR)e.m_strFileName);
    }
}

TEST(CFileRemove, DeletesTheFileAndThrowsWhenThereIsNone)
{
    CTempDir dir;
    std::string strPath = dir / "f.txt";
    ASSERT_TRUE(WriteFileBytes(strPath, OldContent));

    CFile::Remove(strPath.c_str());
    EXPECT_FALSE(FileExists(strPath));

    try {
        CFile::Remove(strPath.c_str());
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
        EXPECT_EQ(strPath + " was not found.", (LPCSTR)e.GetErrorMessage());
    }
}

} // namespace
