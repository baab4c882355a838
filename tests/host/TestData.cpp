#include "tests/host/TestData.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <sys/wait.h>

namespace {

CBytes Repeat(const std::string& strText, size_t nTimes)
{
    CBytes out;
    for (size_t i = 0; i < nTimes; ++i)
        out.insert(out.end(), strText.begin(), strText.end());
    return out;
}

CBytes Concat(std::initializer_list<CBytes> parts)
{
    CBytes out;
    for (const CBytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

CBytes Text(const std::string& str)
{
    return CBytes(str.begin(), str.end());
}

// A random block, then fresh bytes, then the block again so that it starts
// exactly nDistance bytes after its first copy.
CBytes RepeatAtDistance(size_t nDistance, unsigned nSeed)
{
    const CBytes block = RandomBytes(40, nSeed);
    return Concat({ block, RandomBytes(nDistance - block.size(), nSeed + 1), block });
}

const char* const WinePeDir = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
const char* const WinePeFiles[] = { "msimg32.dll", "regsvr32.exe", "hid.dll", "reg.exe" };

} // namespace

CBytes RandomBytes(size_t cb, unsigned nSeed, unsigned nAlphabet)
{
    std::mt19937 random(nSeed);
    CBytes out(cb);
    for (unsigned char& ch : out)
        ch = (unsigned char)(random() % nAlphabet);
    return out;
}

std::vector<CSample> SyntheticSamples()
{
    return {
        { "empty", {} },
        { "one byte", { 'x' } },
        { "one space", { ' ' } },
        { "two bytes", { 0x00, 0xFF } },
        { "all spaces", CBytes(5000, ' ') },
        { "spaces past the initial window", CBytes(20000, ' ') },
        { "run longer than 18", CBytes(1000, 'x') },
        { "run of 19", CBytes(19, 0) },
        { "short period", Repeat("ab", 700) },
        { "period 18 and 19", Concat({ Repeat("0123456789abcdefgh", 30), Repeat("0123456789abcdefghi", 30) }) },
        { "leading spaces then text", Concat({ CBytes(17, ' '), Text("Tessaly") }) },
        { "text that starts with spaces", Concat({ Text("   Tessaly  Setup "), CBytes(40, ' '), Text("end") }) },
        { "repeat at distance 4095", RepeatAtDistance(4095, 1) },
        { "repeat at distance 4096", RepeatAtDistance(4096, 3) },
        { "repeat at distance 4097", RepeatAtDistance(4097, 5) },
        { "incompressible", RandomBytes(10000, 7) },
        { "small alphabet", RandomBytes(30000, 9, 3) },
        { "mixed", Concat({ RandomBytes(3000, 11, 16), CBytes(100, 0), Repeat("Tessaly ", 100), RandomBytes(5000, 13) }) },
    };
}

std::vector<CSample> RealPeSamples()
{
    std::vector<std::string> paths = {
        TSY_PRODUCT_DIR "/TSY.exe",
        TSY_PRODUCT_DIR "/TSY.hlp",
        TSY_PRODUCT_DIR "/TSY.cnt",
        TSY_PRODUCT_DIR "/Uninstall.exe",
    };
    for (const char* pszName : WinePeFiles)
        paths.push_back(std::string(WinePeDir) + pszName);
    std::vector<CSample> samples;
    for (const std::string& strPath : paths) {
        if (FileExists(strPath))
            samples.push_back({ std::filesystem::path(strPath).filename().string(), ReadFileBytes(strPath) });
    }
    return samples;
}

CBytes ReadFileBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + strPath);
    return CBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& strPath, const CBytes& data)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!file)
        throw std::runtime_error("cannot write " + strPath);
}

bool FileExists(const std::string& strPath)
{
    std::error_code error;
    return std::filesystem::exists(strPath, error);
}

CTempDir::CTempDir()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "tsy-host-test-XXXXXX").string();
    if (!mkdtemp(strTemplate.data()))
        throw std::runtime_error("cannot create a temporary directory");
    m_strPath = strTemplate;
}

CTempDir::~CTempDir()
{
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
}

int RunShell(const std::string& strCommand)
{
    const int nStatus = std::system(strCommand.c_str());
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}
