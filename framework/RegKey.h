#pragma once
#include "framework/String.h"

// Owns one open registry key. A failed open or create leaves a null handle;
// nothing here throws.
class CRegKey
{
public:
    CRegKey() : m_hKey(nullptr) {}
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& other) noexcept : m_hKey(other.Detach()) {}
    CRegKey& operator=(CRegKey&& other) noexcept;

    // The plain open with default access (RegOpenKeyA).
    LONG Open(HKEY hKeyParent, LPCSTR pszName);
    // Creates the key, or opens it if it exists, with full access.
    LONG Create(HKEY hKeyParent, LPCSTR pszName);
    LONG Close();
    void Attach(HKEY hKey);
    HKEY Detach();

    // A value's bytes as text, read into a buffer of cbBuffer bytes: up to the
    // first NUL, and never past the bytes returned. strValue is left empty on failure.
    LONG QueryStringValue(LPCSTR pszName, DWORD cbBuffer, CString& strValue) const;
    // A REG_SZ value; the data length counts the terminating NUL.
    LONG SetStringValue(LPCSTR pszName, LPCSTR pszValue) const;

    operator HKEY() const { return m_hKey; }

    HKEY m_hKey;
};
