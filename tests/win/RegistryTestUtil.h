#pragma once
#include <windows.h>

#include <string>

// Small registry helpers for tests: raw reads and writes of test values.
struct RegValue
{
    bool bFound = false;
    DWORD dwType = 0;
    std::string data;  // the raw bytes, NUL included when stored
};

inline RegValue ReadRegValue(HKEY hRoot, const char* pszKey, const char* pszName)
{
    RegValue value;
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return value;
    char buffer[4096];
    DWORD cb = sizeof buffer;
    if (RegQueryValueExA(hKey, pszName, nullptr, &value.dwType, (BYTE*)buffer, &cb) == ERROR_SUCCESS) {
        value.bFound = true;
        value.data.assign(buffer, cb);
    }
    RegCloseKey(hKey);
    return value;
}

inline bool RegKeyExists(HKEY hRoot, const char* pszKey)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

inline void WriteRegValue(HKEY hRoot, const char* pszKey, const char* pszName, DWORD dwType, const std::string& data)
{
    HKEY hKey;
    RegCreateKeyExA(hRoot, pszKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    RegSetValueExA(hKey, pszName, 0, dwType, (const BYTE*)data.data(), (DWORD)data.size());
    RegCloseKey(hKey);
}

// A REG_SZ as stored: the text and its NUL.
inline std::string Sz(const std::string& text)
{
    return text + std::string(1, '\0');
}
