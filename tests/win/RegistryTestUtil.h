#pragma once
#include "tests/support/RegistryAccess.h"

// A value as the unit tests compare it: found or not, its type and raw bytes.
struct RegValue
{
    bool bFound = false;
    DWORD dwType = 0;
    std::string data;  // the raw bytes, NUL included when stored
};

inline RegValue ReadRegValue(HKEY hRoot, const char* pszKey, const char* pszName)
{
    RegValue value;
    value.bFound = ReadRegValue(hRoot, pszKey, pszName, &value.data, &value.dwType);
    return value;
}

inline void WriteRegValue(HKEY hRoot, const char* pszKey, const char* pszName, DWORD dwType, const std::string& data)
{
    WriteRegValue(hRoot, pszKey, pszName, dwType, data.data(), (DWORD)data.size());
}

// A REG_SZ as stored: the text and its NUL.
inline std::string Sz(const std::string& text)
{
    return text + std::string(1, '\0');
}
