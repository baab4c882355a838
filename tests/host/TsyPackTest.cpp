// The packer as its users see it: exit status, messages, files on disk.
#include "install/SzddCodec.h"
#include "tests/host/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

struct CRun
{
    int nStatus;
    std::string strOut;
    std::string strErr;
};

class CTsyPackTest : public ::testing::Test
{
protected:
    CRun Run(const std::string& strArgs)
    {
        const int nStatus = RunShell("'" TSYPACK_PATH "' " + strArgs + " > '" + m_logs / "stdout" + "' 2> '"
            + m_logs / "stderr" + "'");
        const CBytes out = ReadFileBytes(m_logs / "stdout");
        const CBytes err = ReadFileBytes(m_logs / "stderr");
        return { nStatus, std::string(out.begin(), out.end()), std::string(err.begin(), err.end()) };
    }

    std::string Write(const std::string& strName, const CBytes& data)
    {
        WriteFileBytes(m_dir / strName, data);
        return m_dir / strName;
    }

    std::vector<std::string> FilesIn(const std::string& strDir)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(strDir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A payload of three small records, and the offset of its end marker.
    CBytes SmallPayload()
    {
        const std::string strFiles = Write("a", CBytes(100, 'a')) + " " + Write("b", RandomBytes(50, 1)) + " "
            + Write("c", { 'c' });
        EXPECT_EQ(0, Run("pack -o '" + m_dir / "small.bin" + "' " + strFiles).nStatus);
        return ReadFileBytes(m_dir / "small.bin");
    }

    CTempDir m_dir;
    CTempDir m_logs;    // apart, so that they never show among the files a command left
};

TEST_F(CTsyPackTest, PacksListsAndUnpacksInTableOrder)
{
    const std::vector<CBytes> contents = {
        RandomBytes(70000, 1, 8), CBytes(5000, ' '), { 'x' }, RandomBytes(3000, 2), {},
    };
    std::string strArgs = "pack -o '" + m_dir / "payload.bin" + "'";
    for (size_t i = 0; i < contents.size(); ++i)
        strArgs += " '" + Write("in" + std::to_string(i), contents[i]) + "'";
    const CRun pack = Run(strArgs);
    ASSERT_EQ(0, pack.nStatus) << pack.strErr;

    const CRun list = Run("list '" + m_dir / "payload.bin" + "'");
    ASSERT_EQ(0, list.nStatus) << list.strErr;
    EXPECT_EQ("", list.strErr);
    // The second record starts after the first: 4 + body of the first.
    const CBytes payload = ReadFileBytes(m_dir / "payload.bin");
    const uint32_t cbFirst = payload[0] | payload[1] << 8 | payload[2] << 16 | payload[3] << 24;
    EXPECT_NE(std::string::npos, list.strOut.find(" 0          0 ")) << list.strOut;
    EXPECT_NE(std::string::npos, list.strOut.find(std::to_string(4 + cbFirst))) << list.strOut;
    for (const char* pszExpected : { "70000  TSY.exe", "5000  TSY.hlp", "1  TSY.cnt", "3000  Uninstall.exe", "0  (not installed)" })
        EXPECT_NE(std::string::npos, list.strOut.find(pszExpected)) << pszExpected << "\n" << list.strOut;

    const CRun unpack = Run("unpack '" + m_dir / "payload.bin" + "' '" + m_dir / "out" + "'");
    ASSERT_EQ(0, unpack.nStatus) << unpack.strErr;
    const std::vector<std::string> expectedNames = { "TSY.cnt", "TSY.exe", "TSY.hlp", "Uninstall.exe", "record4" };
    EXPECT_EQ(expectedNames, FilesIn(m_dir / "out"));
    const char* const installNames[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe", "record4" };
    for (size_t i = 0; i < contents.size(); ++i)
        EXPECT_TRUE(contents[i] == ReadFileBytes(m_dir / "out" + "/" + installNames[i])) << installNames[i];
    EXPECT_EQ(0u, payload[payload.size() - 1] | payload[payload.size() - 2] | payload[payload.size() - 3]
        | payload[payload.size() - 4]) << "the payload ends with its end marker";
}

TEST_F(CTsyPackTest, ListAndUnpackRefuseDamagedPayloads)
{
    const CBytes good = SmallPayload();
    CBytes badSignature = good;
    badSignature[4] = 0x89;
    CBytes badMode = good;
    badMode[8] = 'B';
    CBytes trailing = good;
    trailing.push_back(0);
    struct CCase
    {
        const char* pszName;
        CBytes payload;
        const char* pszMessage;
    };
    const CCase cases[] = {
        { "body runs past the end", CBytes(good.begin(), good.begin() + 20), "runs past the end" },
        { "no end marker", CBytes(good.begin(), good.end() - 4), "no end marker" },
        { "end marker cut short", CBytes(good.begin(), good.end() - 2), "no end marker" },
        { "bad signature", badSignature, "bad signature" },
        { "mode other than A", badMode, "compression mode" },
        { "bytes after the end marker", trailing, "follow the end marker" },
        { "empty file", {}, "no end marker" },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::string strPath = Write("damaged.bin", c.payload);
        const CRun list = Run("list '" + strPath + "'");
        EXPECT_NE(0, list.nStatus);
        EXPECT_NE(std::string::npos, list.strErr.find(c.pszMessage)) << list.strErr;
        const CRun unpack = Run("unpack '" + strPath + "' '" + m_dir / "never" + "'");
        EXPECT_NE(0, unpack.nStatus);
        EXPECT_NE(std::string::npos, unpack.strErr.find(c.pszMessage)) << unpack.strErr;
        EXPECT_FALSE(FileExists(m_dir / "never"));
    }
}

TEST_F(CTsyPackTest, CompressAndExpandSingleFiles)
{
    const CBytes data = RandomBytes(20000, 3, 5);
    const std::string strIn = Write("in", data);
    ASSERT_EQ(0, Run("compress '" + strIn + "' '" + m_dir / "in.sz_" + "'").nStatus);
    EXPECT_TRUE(SzddCompress(data.data(), data.size()) == ReadFileBytes(m_dir / "in.sz_"));
    ASSERT_EQ(0, Run("expand '" + m_dir / "in.sz_" + "' '" + m_dir / "in.out" + "'").nStatus);
    EXPECT_TRUE(data == ReadFileBytes(m_dir / "in.out"));
}

TEST_F(CTsyPackTest, ExpandsWhatMscompressWrites)
{
    if (RunShell("command -v mscompress >/dev/null") != 0)
        GTEST_SKIP() << "mscompress is not installed";
    const CBytes data = ReadFileBytes(TSY_PRODUCT_DIR "/Uninstall.exe");
    const std::string strIn = Write("Uninstall.exe", data);
    ASSERT_EQ(0, RunShell("mscompress '" + strIn + "'"));
    const CRun expand = Run("expand '" + strIn + "_' '" + m_dir / "back.exe" + "'");
    ASSERT_EQ(0, expand.nStatus) << expand.strErr;
    EXPECT_TRUE(data == ReadFileBytes(m_dir / "back.exe"));
}

// A failing command reports on stderr, exits non-zero, and leaves no file
// (and no temporary) under the output name; an older file there stays as it was.
TEST_F(CTsyPackTest, FailuresLeaveNoOutputBehind)
{
    const CBytes data = RandomBytes(5000, 4, 4);
    const std::string strGood = Write("good.sz_", SzddCompress(data.data(), data.size()));
    CBytes shortFile = ReadFileBytes(strGood);
    shortFile.resize(shortFile.size() / 2);
    CBytes hugeLength = ReadFileBytes(strGood);
    hugeLength[13] = 0x7F;
    Write("short.sz_", shortFile);
    Write("huge.sz_", hugeLength);
    Write("plain", data);
    struct CCase
    {
        const char* pszName;
        std::string strArgs;
        const char* pszMessage;
    };
    const std::string strOut = m_dir / "out";
    const CCase cases[] = {
        { "compress a missing input", "compress '" + m_dir / "missing" + "' '" + strOut + "'", "cannot open" },
        { "compress into a missing directory", "compress '" + m_dir / "plain" + "' '" + m_dir / "no/such/dir" + "'", "cannot" },
        { "expand a file that is not SZDD", "expand '" + m_dir / "plain" + "' '" + strOut + "'", "not an SZDD file" },
        { "expand a file cut in half", "expand '" + m_dir / "short.sz_" + "' '" + strOut + "'", "ends after" },
        { "expand a header claiming too much", "expand '" + m_dir / "huge.sz_" + "' '" + strOut + "'", "can hold" },
        { "pack with a missing input", "pack -o '" + strOut + "' '" + m_dir / "plain" + "' '" + m_dir / "missing" + "'",
          "cannot open" },
        { "pack without -o", "pack '" + m_dir / "plain" + "'", "-o" },
        { "unknown command", "shrink a b", "unknown command" },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::vector<std::string> before = FilesIn(m_dir.Path());
        const CRun run = Run(c.strArgs);
        EXPECT_NE(0, run.nStatus);
        EXPECT_NE(std::string::npos, run.strErr.find(c.pszMessage)) << run.strErr;
        EXPECT_EQ(before, FilesIn(m_dir.Path()));
    }

    Write("out", { 'o', 'l', 'd' });
    EXPECT_NE(0, Run("expand '" + m_dir / "short.sz_" + "' '" + strOut + "'").nStatus);
    EXPECT_TRUE(CBytes({ 'o', 'l', 'd' }) == ReadFileBytes(strOut));
}

TEST_F(CTsyPackTest, HelpGoesToStdoutAndNoArgumentsIsAnError)
{
    const CRun help = Run("--help");
    EXPECT_EQ(0, help.nStatus);
    for (const char* pszCommand : { "pack -o", "list", "unpack", "compress", "expand" })
        EXPECT_NE(std::string::npos, help.strOut.find(pszCommand)) << pszCommand;
    const CRun none = Run("");
    EXPECT_NE(0, none.nStatus);
    EXPECT_NE(std::string::npos, none.strErr.find("usage"));
}

} // namespace
