#include "framework/RegKey.h"

#include <string.h>

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        m_hKey = other.Detach();
    }
    return *this;
}

LONG CRegKey::Open(HKEY hKeyParent, LPCSTR pszName)
{
    Close();
    HKEY hKey = nullptr;
    LONG lResult = ::RegOpenKeyA(hKeyParent, pszName, &hKey);
    m_hKey = lResult == ERROR_SUCCESS ? hKey : nullptr;
    return lResult;
}

LONG CRegKey::Create(HKEY hKeyParent, LPCSTR pszName)
{
    Close();
    HKEY hKey = nullptr;
    DWORD dwDisposition = 0;
    LONG lResult = ::RegCreateKeyExA(hKeyParent, pszName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &hKey, &dwDisposition);
    m_hKey = lResult == ERROR_SUCCESS ? hKey : nullptr;
    return lResult;
}

LONG CRegKey::Close()
{
    if (!m_hKey)
        return ERROR_SUCCESS;
    LONG lResult = ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return lResult;
}

void CRegKey::Attach(HKEY hKey)
{
    Close();
    m_hKey = hKey;
}

HKEY CRegKey::Detach()
{
    HKEY hKey = m_hKey;
    m_hKey = nullptr;
    return hKey;
}

LONG CRegKey::QueryStringValue(LPCSTR pszName, DWORD cbBuffer, CString& strValue) const
{
    strValue.Empty();
    CString strBuffer;
    LPSTR pszBuffer = strBuffer.GetBuffer((int)cbBuffer);
    DWORD dwType = 0;
    DWORD cbData = cbBuffer;
    LONG lResult = ::RegQueryValueExA(m_hKey, pszName, nullptr, &dwType, (LPBYTE)pszBuffer, &cbData);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    // The data need not end in a NUL: stop at the bytes returned and the buffer.
    if (cbData > cbBuffer)
        cbData = cbBuffer;
    strBuffer.ReleaseBuffer((int)strnlen(pszBuffer, cbData));
    strValue = strBuffer;
    return lResult;
}

LONG CRegKey::SetStringValue(LPCSTR pszName, LPCSTR pszValue) const
{
    return ::RegSetValueExA(m_hKey, pszName, 0, REG_SZ, (const BYTE*)pszValue, (DWORD)strlen(pszValue) + 1);
}
