#include "tests/scenarios/ScenarioSupport.h"

#include <cstdlib>

std::string GetSetupExePath()
{
    const char* pszPath = std::getenv("TSY_SETUP_EXE");
    std::string strPath = pszPath ? pszPath : "";
    if (!strPath.empty() && strPath[0] == '/') {
        strPath = "Z:" + strPath;
        for (char& ch : strPath) {
            if (ch == '/')
                ch = '\\';
        }
    }
    return strPath;
}

std::string BesideTestExe(const char* pszName)
{
    char szPath[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of('\\') + 1) + pszName;
}
