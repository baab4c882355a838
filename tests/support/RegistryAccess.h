#pragma once
#include <windows.h>

#include <string>

// Raw registry access for tests, shared by the unit tests and the scenarios.

// Writes the value with exactly these bytes, creating the key if needed.
inline bool WriteRegValue(HKEY hRoot, const char* pszKey, const char* pszName, DWORD dwType,
                          const void* pData, DWORD cbData)
{
    HKEY hKey = NULL;
    if (RegCreateKeyExA(hRoot, pszKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG lResult = RegSetValueExA(hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

// The value's raw bytes and type; false if the key or value is missing.
inline bool ReadRegValue(HKEY hRoot, const char* pszKey, const char* pszName, std::string* pstrData,
                         DWORD* pdwType = NULL)
{
    HKEY hKey = NULL;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD cbData = 0;
    LONG lResult = RegQueryValueExA(hKey, pszName, NULL, &dwType, NULL, &cbData);
    if (lResult == ERROR_SUCCESS) {
        pstrData->assign(cbData, '\0');
        lResult = RegQueryValueExA(hKey, pszName, NULL, &dwType,
                                   reinterpret_cast<BYTE*>(&(*pstrData)[0]), &cbData);
        pstrData->resize(cbData);
    }
    RegCloseKey(hKey);
    if (pdwType)
        *pdwType = dwType;
    return lResult == ERROR_SUCCESS;
}

// True when the key can be opened.
inline bool RegKeyExists(HKEY hRoot, const char* pszKey)
{
    HKEY hKey = NULL;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}
