#pragma once
#include <windows.h>

// Single-byte ANSI string with value semantics. Lengths and positions are in
// bytes; a failed allocation throws CMemoryException.
class CString
{
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCSTR psz);
    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR psz);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator LPCSTR() const { return m_pszData; }
    char operator[](int nIndex) const { return m_pszData[nIndex]; }

    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst, int nCount) const;
    // Upper-cases in the ANSI code page; lead and trail bytes of a
    // double-byte character are left as they are.
    void MakeUpper();

    // Direct access for APIs that fill a buffer: GetBuffer(n) gives room for
    // n bytes plus a NUL; ReleaseBuffer(-1) takes the length up to the first NUL.
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);
    friend bool operator==(const CString& a, LPCSTR b);
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }

private:
    void Assign(LPCSTR pch, int nLength);
    void Append(LPCSTR pch, int nLength);
    void Reserve(int nCapacity);

    char* m_pszData;
    int m_nLength;
    int m_nCapacity;
};
