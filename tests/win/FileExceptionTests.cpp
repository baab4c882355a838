#include <gtest/gtest.h>

#include "framework/FileException.h"
#include "tests/win/BoxWatcher.h"

namespace {

TEST(CFileException, SystemErrorCodesMapToCauses)
{
    struct
    {
        LONG lOsError;
        int nCause;
    } const rgCases[] = {
        { ERROR_DISK_FULL, CFileException::diskFull },
        { ERROR_HANDLE_DISK_FULL, CFileException::diskFull },
        { ERROR_ACCESS_DENIED, CFileException::accessDenied },
        { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
        { ERROR_PATH_NOT_FOUND, CFileException::badPath },
        { ERROR_BAD_PATHNAME, CFileException::badPath },
        { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
        { ERROR_INVALID_HANDLE, CFileException::invalidFile },
        { ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir },
        { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
        { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
        { ERROR_HANDLE_EOF, CFileException::endOfFile },
        { ERROR_SEEK, CFileException::badSeek },
        { ERROR_SEEK_ON_DEVICE, CFileException::badSeek },
        { ERROR_WRITE_PROTECT, CFileException::accessDenied },
        { ERROR_CRC, CFileException::hardIO },
        { NO_ERROR, CFileException::none },
        { ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException },
        { 99999, CFileException::genericException },
    };
    for (const auto& test : rgCases)
        EXPECT_EQ(test.nCause, CFileException::OsErrorToException(test.lOsError)) << "error " << test.lOsError;
}

TEST(CFileException, MessageNamesTheFileInTheCauseText)
{
    struct
    {
        int nCause;
        const char* pszFile;
        const char* pszMessage;
    } const rgCases[] = {
        { CFileException::genericException, "C:\\a.txt", "An unknown error occurred while accessing C:\\a.txt." },
        { CFileException::fileNotFound, "C:\\a.txt", "C:\\a.txt was not found." },
        { CFileException::badPath, "C:\\a.txt", "C:\\a.txt contains an invalid path." },
        { CFileException::tooManyOpenFiles, "C:\\a.txt",
          "C:\\a.txt could not be opened because there are too many open files." },
        { CFileException::accessDenied, "C:\\a.txt", "Access to C:\\a.txt was denied." },
        { CFileException::invalidFile, "C:\\a.txt", "An invalid file handle was associated with C:\\a.txt." },
        { CFileException::removeCurrentDir, "C:\\d", "C:\\d could not be removed because it is the current directory." },
        { CFileException::directoryFull, "C:\\a.txt", "C:\\a.txt could not be created because the directory is full." },
        { CFileException::badSeek, "C:\\a.txt", "Seek failed on C:\\a.txt" },
        { CFileException::hardIO, "C:\\a.txt", "A hardware I/O error was reported while accessing C:\\a.txt." },
        { CFileException::sharingViolation, "C:\\a.txt", "A sharing violation occurred while accessing C:\\a.txt." },
        { CFileException::lockViolation, "C:\\a.txt", "A locking violation occurred while accessing C:\\a.txt." },
        { CFileException::diskFull, "C:\\a.txt", "Disk full while accessing C:\\a.txt." },
        { CFileException::endOfFile, "C:\\a.txt", "An attempt was made to access C:\\a.txt past its end." },
        { CFileException::genericException, nullptr, "An unknown error occurred while accessing an unnamed file." },
        { CFileException::diskFull, "", "Disk full while accessing an unnamed file." },
    };
    for (const auto& test : rgCases) {
        CFileException e(test.nCause, 0, test.pszFile);
        EXPECT_STREQ(test.pszMessage, (LPCSTR)e.GetErrorMessage()) << "cause " << test.nCause;
    }
}

TEST(CFileException, MessageIsCutTo511Characters)
{
    std::string strLong = "C:\\" + std::string(600, 'n');
    CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, strLong.c_str());
    CString strMessage = e.GetErrorMessage();
    EXPECT_EQ(511, strMessage.GetLength());
    EXPECT_EQ(strLong.substr(0, 511), (LPCSTR)strMessage);
}

TEST(CFileException, ReportShowsTheMessageWithTheStopIcon)
{
    CBoxWatcher watcher;
    CFileException(CFileException::diskFull, ERROR_DISK_FULL, "C:\\Tessaly\\TSY.exe").ReportError();
    std::vector<CBoxWatcher::CShownBox> boxes = watcher.GetBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Disk full while accessing C:\\Tessaly\\TSY.exe.", boxes[0].strText);
    EXPECT_EQ(CBoxWatcher::IconStop, boxes[0].icon);
}

} // namespace
