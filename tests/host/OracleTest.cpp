// Outside decoders read what SzddCompress writes: libmspack, msexpand and
// Wine's LZ32 (through a small Windows program run under wine64).
#include "install/SzddCodec.h"
#include "tests/host/TestData.h"

#include <gtest/gtest.h>
#include <mspack.h>

#include <cstdlib>

namespace {

// Every sample compressed once into its own file, shared by the oracles.
class COracleTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pDir = new CTempDir;
        s_pSamples = new std::vector<CSample>(SyntheticSamples());
        for (CSample& sample : RealPeSamples())
            s_pSamples->push_back(std::move(sample));
        for (size_t i = 0; i < s_pSamples->size(); ++i) {
            const CBytes& data = (*s_pSamples)[i].data;
            WriteFileBytes(CompressedPath(i), SzddCompress(data.data(), data.size()));
        }
    }

    static void TearDownTestSuite()
    {
        delete s_pSamples;
        delete s_pDir;
    }

    static std::string Name(size_t i) { return "sample" + std::to_string(i); }
    static std::string CompressedPath(size_t i) { return *s_pDir / (Name(i) + ".sz_"); }
    static std::string ExpandedPath(size_t i, const std::string& strOracle) { return *s_pDir / (Name(i) + "." + strOracle); }
    static const std::vector<CSample>& Samples() { return *s_pSamples; }
    static const std::string& DirPath() { return s_pDir->Path(); }

    static void ExpectExpandedFilesMatch(const std::string& strOracle)
    {
        for (size_t i = 0; i < Samples().size(); ++i) {
            SCOPED_TRACE(Samples()[i].strName);
            ASSERT_TRUE(FileExists(ExpandedPath(i, strOracle)));
            EXPECT_TRUE(Samples()[i].data == ReadFileBytes(ExpandedPath(i, strOracle)));
        }
    }

private:
    static CTempDir* s_pDir;
    static std::vector<CSample>* s_pSamples;
};

CTempDir* COracleTest::s_pDir = nullptr;
std::vector<CSample>* COracleTest::s_pSamples = nullptr;

TEST_F(COracleTest, LibmspackExpandsEverySample)
{
    msszdd_decompressor* pDecompressor = mspack_create_szdd_decompressor(nullptr);
    ASSERT_NE(nullptr, pDecompressor);
    for (size_t i = 0; i < Samples().size(); ++i) {
        SCOPED_TRACE(Samples()[i].strName);
        msszddd_header* pHeader = pDecompressor->open(pDecompressor, CompressedPath(i).c_str());
        ASSERT_NE(nullptr, pHeader);
        EXPECT_EQ(MSSZDD_FMT_NORMAL, pHeader->format);
        EXPECT_EQ(off_t(Samples()[i].data.size()), pHeader->length);
        EXPECT_EQ(MSPACK_ERR_OK, pDecompressor->extract(pDecompressor, pHeader, ExpandedPath(i, "mspack").c_str()));
        pDecompressor->close(pDecompressor, pHeader);
    }
    mspack_destroy_szdd_decompressor(pDecompressor);
    ExpectExpandedFilesMatch("mspack");
}

TEST_F(COracleTest, MsexpandExpandsEverySample)
{
    if (RunShell("command -v msexpand >/dev/null") != 0)
        GTEST_SKIP() << "msexpand is not installed";
    for (size_t i = 0; i < Samples().size(); ++i) {
        SCOPED_TRACE(Samples()[i].strName);
        EXPECT_EQ(0, RunShell("msexpand < '" + CompressedPath(i) + "' > '" + ExpandedPath(i, "msexpand") + "'"));
    }
    ExpectExpandedFilesMatch("msexpand");
}

// The prefix is made once per test run by the fixture that ctest runs first.
TEST_F(COracleTest, WineLz32ExpandsEverySample)
{
    const char* pszPrefix = std::getenv("TSY_WINEPREFIX");
    const char* pszExpander = std::getenv("TSY_LZ32EXPAND");
    if (!pszPrefix || !pszExpander)
        GTEST_SKIP() << "TSY_WINEPREFIX and TSY_LZ32EXPAND name the Wine prefix and lz32expand.exe";
    // One Wine start for all samples; names relative to the directory Wine starts in.
    std::string strCommand = "cd '" + DirPath() + "' && WINEPREFIX='" + pszPrefix
        + "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=d' /usr/lib/wine/wine64 '"
        + pszExpander + "'";
    for (size_t i = 0; i < Samples().size(); ++i)
        strCommand += " " + Name(i) + ".sz_ " + Name(i) + ".lz32";
    strCommand += " > lz32expand.log 2>&1 < /dev/null";
    if (RunShell(strCommand) != 0) {
        const CBytes log = ReadFileBytes(DirPath() + "/lz32expand.log");
        FAIL() << "lz32expand failed:\n" << std::string(log.begin(), log.end());
    }
    ExpectExpandedFilesMatch("lz32");
}

} // namespace
