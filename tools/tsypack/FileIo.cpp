#include "tools/tsypack/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace {

// Owns a C stream; closing is explicit where its result matters.
class CStdioFile
{
public:
    CStdioFile(const std::string& strPath, const char* pszMode) : m_pFile(std::fopen(strPath.c_str(), pszMode)) {}
    ~CStdioFile() { if (m_pFile) std::fclose(m_pFile); }
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    std::FILE* Get() const { return m_pFile; }
    bool Close()
    {
        std::FILE* pFile = m_pFile;
        m_pFile = nullptr;
        return std::fclose(pFile) == 0;
    }

private:
    std::FILE* m_pFile;
};

std::string DescribeErrno(const std::string& strWhat, const std::string& strPath)
{
    return strWhat + " '" + strPath + "': " + std::strerror(errno);
}

std::string MakeTempSibling(const std::string& strPath)
{
    std::random_device random;
    char szSuffix[32];
    std::snprintf(szSuffix, sizeof(szSuffix), ".%08x.tmp", unsigned(random()));
    return strPath + szSuffix;
}

void WriteAll(const std::string& strPath, const std::vector<unsigned char>& data)
{
    CStdioFile file(strPath, "wb");
    if (!file.Get())
        throw CToolError(DescribeErrno("cannot create", strPath));
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file.Get()) != data.size())
        throw CToolError(DescribeErrno("cannot write", strPath));
    if (!file.Close())
        throw CToolError(DescribeErrno("cannot write", strPath));
}

} // namespace

std::vector<unsigned char> ReadWholeFile(const std::string& strPath)
{
    CStdioFile file(strPath, "rb");
    if (!file.Get())
        throw CToolError(DescribeErrno("cannot open", strPath));
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    size_t cbRead;
    while ((cbRead = std::fread(buffer, 1, sizeof(buffer), file.Get())) > 0)
        data.insert(data.end(), buffer, buffer + cbRead);
    if (std::ferror(file.Get()))
        throw CToolError(DescribeErrno("cannot read", strPath));
    return data;
}

void WriteFileReplacing(const std::string& strPath, const std::vector<unsigned char>& data)
{
    const std::string strTemp = MakeTempSibling(strPath);
    try {
        WriteAll(strTemp, data);
        std::filesystem::rename(strTemp, strPath);
    } catch (const std::filesystem::filesystem_error& e) {
        std::remove(strTemp.c_str());
        throw CToolError("cannot replace '" + strPath + "': " + e.code().message());
    } catch (...) {
        std::remove(strTemp.c_str());
        throw;
    }
}
