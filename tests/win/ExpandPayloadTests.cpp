#include <gtest/gtest.h>

#include <iostream>

#include "framework/FileException.h"
#include "framework/StringArray.h"
#include "install/ExpandPayload.h"
#include "install/PayloadRecords.h"
#include "tests/win/BoxWatcher.h"
#include "tests/win/InstallFixture.h"

namespace {

const char* const InstallNames[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe" };
const size_t ShippedSizes[] = { 737280, 42223, 268, 152576 };

// Four files of the shipped sizes, packed as the product's payload is.
struct CProductPayload
{
    std::vector<CBytes> files;
    std::vector<CBytes> bodies;
};

const CProductPayload& GetProductPayload()
{
    static CProductPayload product;
    if (product.files.empty()) {
        for (int i = 0; i < 4; i++) {
            product.files.push_back(MakeContent(ShippedSizes[i], i + 1));
            product.bodies.push_back(MakeBody(product.files.back()));
        }
    }
    return product;
}

// Small files for the cases where the sizes do not matter.
const std::vector<CBytes>& GetSmallFiles()
{
    static std::vector<CBytes> files;
    if (files.empty()) {
        for (int i = 0; i < 5; i++)
            files.push_back(MakeContent(3000 + 1000 * i, 10 + i));
    }
    return files;
}

CBytes MakePayload(const std::vector<CBytes>& files, size_t nCount, bool bEndMarker = true)
{
    CBytes payload;
    for (size_t i = 0; i < nCount; i++)
        AppendRecord(payload, MakeBody(files[i]));
    if (bEndMarker)
        AppendLength(payload, 0);
    return payload;
}

void SetExpandedLength(CBytes& body, uint32_t cbExpanded)
{
    for (int i = 0; i < 4; i++)
        body[6 + i] = (unsigned char)(cbExpanded >> (8 * i));
}

int CountEntries(const std::string& strDir)
{
    int nCount = 0;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strDir + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (lstrcmpA(data.cFileName, ".") && lstrcmpA(data.cFileName, ".."))
            nCount++;
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return nCount;
}

std::string LastWriteUtc(const std::string& strPath)
{
    CFileTimes times;
    return ReadFileTimes(strPath, &times) ? FormatUtc(times.lastWrite) : "missing";
}

class ExpandPayloadTest : public ::testing::Test
{
protected:
    // The payload sits right before an inaccessible page, so that any read
    // past its end faults.
    BOOL Expand(const CBytes& payload, const CTempDir& dir)
    {
        CGuardedBytes guarded(payload);
        return ExpandPayloadRecords(dir.Path().c_str(), guarded.Data(), guarded.Size(), m_arrFiles);
    }
    BOOL Expand(const CBytes& payload) { return Expand(payload, m_dir); }
    std::vector<std::string> Boxes() { return m_watcher.GetTexts(); }

    CTempDir m_dir;
    CBoxWatcher m_watcher;
    CStringArray m_arrFiles;
};

typedef std::vector<std::string> Texts;

TEST_F(ExpandPayloadTest, InstallsEveryRecordUnderItsNameWithTheOriginalBytes)
{
    const CProductPayload& product = GetProductPayload();
    CBytes payload;
    for (const CBytes& body : product.bodies)
        AppendRecord(payload, body);
    AppendLength(payload, 0);

    ASSERT_TRUE(Expand(payload));

    EXPECT_EQ(Texts(), Boxes());
    ASSERT_EQ(4, m_arrFiles.GetSize());
    for (int i = 0; i < 4; i++) {
        EXPECT_STREQ(InstallNames[i], (LPCSTR)m_arrFiles[i]);
        CBytes installed = ReadFileBytes(m_dir / InstallNames[i]);
        EXPECT_EQ(ShippedSizes[i], installed.size()) << InstallNames[i];
        EXPECT_TRUE(installed == product.files[i]) << InstallNames[i];
        EXPECT_EQ("1999-08-09", LastWriteUtc(m_dir / InstallNames[i]).substr(0, 10)) << InstallNames[i];
    }
    EXPECT_FALSE(FileExists(m_dir / "tsy.tmp"));
    EXPECT_EQ(4, CountEntries(m_dir.Path()));
}

TEST_F(ExpandPayloadTest, EndMarkerFirstWritesNothingAndSucceeds)
{
    EXPECT_TRUE(Expand(MakePayload(GetSmallFiles(), 0)));
    EXPECT_EQ(Texts(), Boxes());
    EXPECT_EQ(0, CountEntries(m_dir.Path()));
    EXPECT_EQ(4, m_arrFiles.GetSize());
}

TEST_F(ExpandPayloadTest, TwoRecordsWriteTheFirstTwoEntriesOnly)
{
    EXPECT_TRUE(Expand(MakePayload(GetSmallFiles(), 2)));
    EXPECT_EQ(Texts(), Boxes());
    EXPECT_TRUE(ReadFileBytes(m_dir / "TSY.exe") == GetSmallFiles()[0]);
    EXPECT_TRUE(ReadFileBytes(m_dir / "TSY.hlp") == GetSmallFiles()[1]);
    EXPECT_FALSE(FileExists(m_dir / "TSY.cnt"));
    EXPECT_FALSE(FileExists(m_dir / "Uninstall.exe"));
    EXPECT_FALSE(FileExists(m_dir / "tsy.tmp"));
}

TEST_F(ExpandPayloadTest, StopsAfterTheFourthEntryWithoutReadingFurther)
{
    // The payload ends right after the fourth record, at the guard page: a
    // look at a fifth length would fault. A fifth record (here without a
    // body) is never installed.
    for (bool bFifthLength : { false, true }) {
        SCOPED_TRACE(bFifthLength ? "bogus fifth length" : "nothing after four records");
        CTempDir dir;
        CBytes payload = MakePayload(GetSmallFiles(), 4, false);
        if (bFifthLength)
            AppendLength(payload, 0x7FFFFFF0);
        EXPECT_TRUE(Expand(payload, dir));
        for (int i = 0; i < 4; i++)
            EXPECT_TRUE(ReadFileBytes(dir / InstallNames[i]) == GetSmallFiles()[i]) << InstallNames[i];
        EXPECT_EQ(4, CountEntries(dir.Path()));
    }
    EXPECT_EQ(Texts(), Boxes());
}

TEST_F(ExpandPayloadTest, RecordThatExpandsToNothingFailsAndLeavesItsStagedFile)
{
    CBytes payload;
    CBytes body = MakeBody(CBytes());
    AppendRecord(payload, body);
    AppendLength(payload, 0);

    EXPECT_FALSE(Expand(payload));

    EXPECT_EQ(Texts({ "Error in installing" }), Boxes());
    EXPECT_EQ(CBoxWatcher::IconExclamation, m_watcher.GetBoxes().at(0).icon);
    CBytes staged = { 'S', 'Z', 'D', 'D' };
    staged.insert(staged.end(), body.begin(), body.end());
    EXPECT_TRUE(ReadFileBytes(m_dir / "tsy.tmp") == staged);
    EXPECT_FALSE(FileExists(m_dir / "TSY.exe"));
}

// Ways to keep a file from being created, as a user's machine might.
enum Blocker { BlockReadOnly, BlockHeldOpen, BlockDirectory };

struct BlockerCase
{
    const char* pszName;
    Blocker blocker;
};

const BlockerCase BlockerCases[] = {
    { "read-only file", BlockReadOnly },
    { "file held open by another program", BlockHeldOpen },
    { "directory of that name", BlockDirectory },
};

// Puts the blocker in place; the returned handle (if any) keeps it there.
HANDLE PlaceBlocker(const std::string& strPath, Blocker blocker, const CBytes& content)
{
    if (blocker == BlockDirectory) {
        CreateDirectoryA(strPath.c_str(), nullptr);
        return INVALID_HANDLE_VALUE;
    }
    WriteFileBytes(strPath, content);
    if (blocker == BlockReadOnly) {
        SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_READONLY);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST_F(ExpandPayloadTest, TempFileThatCannotBeCreatedFailsBeforeAnyFileIsWritten)
{
    const CBytes old = { 'o', 'l', 'd' };
    for (const BlockerCase& test : BlockerCases) {
        SCOPED_TRACE(test.pszName);
        CTempDir dir;
        if (test.blocker == BlockReadOnly && !IsReadOnlyEnforced(dir.Path())) {
            std::cout << "read-only files are writable here (root): case left out\n";
            continue;
        }
        HANDLE hHeld = PlaceBlocker(dir / "tsy.tmp", test.blocker, old);
        size_t nBoxes = Boxes().size();

        EXPECT_FALSE(Expand(MakePayload(GetSmallFiles(), 4), dir));

        Texts boxes = Boxes();
        EXPECT_EQ(Texts({ "File Error" }), Texts(boxes.begin() + nBoxes, boxes.end()));
        EXPECT_FALSE(FileExists(dir / "TSY.exe"));
        if (hHeld != INVALID_HANDLE_VALUE)
            CloseHandle(hHeld);
        if (test.blocker != BlockDirectory) {
            EXPECT_TRUE(ReadFileBytes(dir / "tsy.tmp") == old);
        }
    }
}

TEST_F(ExpandPayloadTest, TargetThatCannotBeCreatedFailsAndEarlierFilesStay)
{
    const CBytes old(10, 'x');
    for (const BlockerCase& test : BlockerCases) {
        SCOPED_TRACE(test.pszName);
        CTempDir dir;
        if (test.blocker == BlockReadOnly && !IsReadOnlyEnforced(dir.Path())) {
            std::cout << "read-only files are writable here (root): case left out\n";
            continue;
        }
        HANDLE hHeld = PlaceBlocker(dir / "TSY.hlp", test.blocker, old);
        size_t nBoxes = Boxes().size();

        EXPECT_FALSE(Expand(MakePayload(GetSmallFiles(), 4), dir));

        Texts boxes = Boxes();
        EXPECT_EQ(Texts({ "Error in installing" }), Texts(boxes.begin() + nBoxes, boxes.end()));
        EXPECT_TRUE(ReadFileBytes(dir / "TSY.exe") == GetSmallFiles()[0]);
        EXPECT_EQ("1999-08-09", LastWriteUtc(dir / "TSY.exe").substr(0, 10));
        EXPECT_FALSE(FileExists(dir / "TSY.cnt"));
        if (hHeld != INVALID_HANDLE_VALUE)
            CloseHandle(hHeld);
        if (test.blocker != BlockDirectory) {
            EXPECT_TRUE(ReadFileBytes(dir / "TSY.hlp") == old);
        }
    }
}

TEST_F(ExpandPayloadTest, RunningAgainRewritesEveryFileToTheSameResult)
{
    // A longer leftover is truncated, not overwritten in place.
    ASSERT_TRUE(WriteFileBytes(m_dir / "TSY.cnt", CBytes(50000, 'z')));
    CBytes payload = MakePayload(GetSmallFiles(), 4);

    ASSERT_TRUE(Expand(payload));
    std::vector<CFileTimes> first(4);
    for (int i = 0; i < 4; i++)
        ASSERT_TRUE(ReadFileTimes(m_dir / InstallNames[i], &first[i]));
    ASSERT_TRUE(Expand(payload));

    EXPECT_EQ(Texts(), Boxes());
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(InstallNames[i]);
        EXPECT_TRUE(ReadFileBytes(m_dir / InstallNames[i]) == GetSmallFiles()[i]);
        CFileTimes again;
        ASSERT_TRUE(ReadFileTimes(m_dir / InstallNames[i], &again));
        EXPECT_EQ(FormatUtc(first[i].lastWrite), FormatUtc(again.lastWrite));
        EXPECT_EQ(FormatUtc(first[i].creation), FormatUtc(again.creation));
    }
    EXPECT_EQ(4, CountEntries(m_dir.Path()));
}

struct BrokenPayloadCase
{
    const char* pszName;
    CBytes (*pfnMake)();
    int nFilesBefore;  // entries written before the broken record
};

CBytes LengthPastTheEnd()
{
    CBytes payload = MakePayload(GetSmallFiles(), 1, false);
    CBytes body = MakeBody(GetSmallFiles()[1]);
    AppendLength(payload, (uint32_t)body.size() + 1);
    payload.insert(payload.end(), body.begin(), body.end());
    return payload;
}

CBytes LengthFieldCutOff()
{
    CBytes payload = MakePayload(GetSmallFiles(), 1, false);
    payload.push_back(0);
    payload.push_back(0);
    return payload;
}

CBytes NoEndMarker() { return MakePayload(GetSmallFiles(), 2, false); }

CBytes WithExpandedLength(const CBytes& data, uint32_t cbExpanded)
{
    CBytes body = MakeBody(data);
    SetExpandedLength(body, cbExpanded);
    CBytes payload;
    AppendRecord(payload, body);
    AppendLength(payload, 0);
    return payload;
}

CBytes HeaderLongerThanData() { return WithExpandedLength(GetSmallFiles()[0], (uint32_t)GetSmallFiles()[0].size() + 1); }
CBytes HeaderShorterThanData() { return WithExpandedLength(GetSmallFiles()[0], (uint32_t)GetSmallFiles()[0].size() - 1); }

CBytes TruncatedStream()
{
    CBytes body = MakeBody(GetSmallFiles()[0]);
    body.resize(body.size() - 100);
    CBytes payload;
    AppendRecord(payload, body);
    AppendLength(payload, 0);
    return payload;
}

CBytes LongerThanTheWorkBuffer() { return WithExpandedLength(CBytes(ExpandBufferSize + 1, 0), ExpandBufferSize + 1); }

CBytes NotSzdd()
{
    CBytes body = MakeBody(GetSmallFiles()[0]);
    body[0] ^= 0xFF;
    CBytes payload;
    AppendRecord(payload, body);
    AppendLength(payload, 0);
    return payload;
}

TEST_F(ExpandPayloadTest, BrokenPayloadFailsWithoutReadingPastItsEnd)
{
    const BrokenPayloadCase rgCases[] = {
        { "record length runs past the end", LengthPastTheEnd, 1 },
        { "length field cut off", LengthFieldCutOff, 1 },
        { "no end marker after two records", NoEndMarker, 2 },
        { "header promises more than the data holds", HeaderLongerThanData, 0 },
        { "header promises less than the data holds", HeaderShorterThanData, 0 },
        { "compressed data cut short", TruncatedStream, 0 },
        { "expands beyond the work buffer", LongerThanTheWorkBuffer, 0 },
        { "body without the SZDD signature", NotSzdd, 0 },
    };
    for (const BrokenPayloadCase& test : rgCases) {
        SCOPED_TRACE(test.pszName);
        CTempDir dir;
        size_t nBoxes = Boxes().size();

        EXPECT_FALSE(Expand(test.pfnMake(), dir));

        Texts boxes = Boxes();
        EXPECT_EQ(Texts({ "Error in installing" }), Texts(boxes.begin() + nBoxes, boxes.end()));
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(i < test.nFilesBefore, FileExists(dir / InstallNames[i])) << InstallNames[i];
    }
}

// Time stamps need the zone that Wine was started in: run these with
// TZ=Europe/Berlin and TZ=UTC respectively.
void ExpectReleaseStamp(const char* pszZone, const char* pszUtc)
{
    if (GetTimeZoneName() != pszZone)
        GTEST_SKIP() << "needs TZ=" << pszZone;
    CTempDir dir;
    CBoxWatcher watcher;
    CStringArray arrFiles;
    CBytes payload = MakePayload(GetSmallFiles(), 4);
    ASSERT_TRUE(ExpandPayloadRecords(dir.Path().c_str(), payload.data(), payload.size(), arrFiles));
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(InstallNames[i]);
        CFileTimes times;
        ASSERT_TRUE(ReadFileTimes(dir / InstallNames[i], &times));
        EXPECT_EQ(pszUtc, FormatUtc(times.lastWrite));
        EXPECT_EQ(pszUtc, FormatUtc(times.creation));
        // The access time is written back as read, not stamped.
        EXPECT_NE(pszUtc, FormatUtc(times.access));
    }
}

TEST(ReleaseStampBerlin, SummerTimeElevenIsNineUtcWhateverTheSeasonToday)
{
    ExpectReleaseStamp("Europe/Berlin", "1999-08-09 09:00:00");
}

TEST(ReleaseStampUtc, ElevenLocalIsElevenUtc)
{
    ExpectReleaseStamp("UTC", "1999-08-09 11:00:00");
}

// A full disk needs a small file system: TSY_FULL_DISK_DIR names a directory
// on one (e.g. a 64 KB tmpfs seen through Z:).
TEST(ExpandPayloadFullDisk, ShortWriteThrowsDiskFullNamingTheFile)
{
    char szParent[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("TSY_FULL_DISK_DIR", szParent, MAX_PATH))
        GTEST_SKIP() << "needs TSY_FULL_DISK_DIR on a file system of about 64 KB";
    CTempDir dir(szParent);
    CBoxWatcher watcher;
    CStringArray arrFiles;
    // Compresses to a few KB, so the staged file fits and the target does not.
    CBytes data(200000, 'A');
    CBytes payload;
    AppendRecord(payload, MakeBody(data));
    AppendLength(payload, 0);

    try {
        ExpandPayloadRecords(dir.Path().c_str(), payload.data(), payload.size(), arrFiles);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        char szFull[MAX_PATH];
        GetFullPathNameA((dir / "TSY.exe").c_str(), MAX_PATH, szFull, nullptr);
        EXPECT_EQ(CFileException::diskFull, e.m_cause);
        EXPECT_STREQ(szFull, (LPCSTR)e.m_strFileName);
        EXPECT_EQ(std::string("Disk full while accessing ") + szFull + ".", (LPCSTR)e.GetErrorMessage());
    }
    EXPECT_EQ(Texts(), watcher.GetTexts());
    size_t cbWritten = ReadFileBytes(dir / "TSY.exe").size();
    EXPECT_GT(cbWritten, 0u);
    EXPECT_LT(cbWritten, data.size());
}

// ExpandPayload itself reads the program's own resource 129.
TEST(ExpandPayloadResource, InstallsWhatTheProgramCarries)
{
    HRSRC hResource = FindResourceA(nullptr, MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(10));
    if (!hResource)
        GTEST_SKIP() << "this test program carries no payload";
    const unsigned char* pPayload = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, hResource)));
    size_t cbPayload = SizeofResource(nullptr, hResource);
    std::vector<CBytes> expected;
    size_t nOffset = 0;
    uint32_t cbBody = 0;
    while (expected.size() < 4 && ReadPayloadRecord(pPayload, cbPayload, nOffset, &cbBody) == PayloadRecordFound) {
        CBytes file = { 'S', 'Z', 'D', 'D' };
        file.insert(file.end(), pPayload + nOffset + 4, pPayload + nOffset + 4 + cbBody);
        SzddHeader header;
        ASSERT_TRUE(SzddReadHeader(file.data(), file.size(), &header));
        CBytes data(header.cbExpanded);
        SzddExpand(file.data() + SzddHeaderSize, file.size() - SzddHeaderSize, data.data(), data.size());
        expected.push_back(data);
        nOffset += 4 + cbBody;
    }
    CTempDir dir;
    CBoxWatcher watcher;
    CStringArray arrFiles;

    EXPECT_TRUE(ExpandPayload(dir.Path().c_str(), arrFiles));

    EXPECT_EQ(Texts(), watcher.GetTexts());
    ASSERT_EQ(4, arrFiles.GetSize());
    EXPECT_STREQ("TSY.exe", (LPCSTR)arrFiles[0]);
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_TRUE(ReadFileBytes(dir / InstallNames[i]) == expected[i]) << InstallNames[i];
    EXPECT_FALSE(FileExists(dir / "tsy.tmp"));
}

} // namespace
