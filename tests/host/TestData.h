#pragma once
#include <string>
#include <vector>

using CBytes = std::vector<unsigned char>;

struct CSample
{
    std::string strName;
    CBytes data;
};

// Inputs that stress the codec's corners: empty, tiny, runs, matches into
// the initial spaces, repeats at the edge of the window, incompressible data.
std::vector<CSample> SyntheticSamples();

// The product stand-ins and a fixed few of Wine's own PE files; files that
// are absent are left out, so the list may be shorter than its table.
std::vector<CSample> RealPeSamples();

CBytes RandomBytes(size_t cb, unsigned nSeed, unsigned nAlphabet = 256);
CBytes ReadFileBytes(const std::string& strPath);
void WriteFileBytes(const std::string& strPath, const CBytes& data);
bool FileExists(const std::string& strPath);

// A fresh directory removed with everything in it when the object goes.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& strName) const { return m_strPath + "/" + strName; }

private:
    std::string m_strPath;
};

// Runs a shell command line; returns its exit status (-1 when it did not exit).
int RunShell(const std::string& strCommand);
