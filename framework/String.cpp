#include "framework/String.h"
#include "framework/Exception.h"

#include <stdlib.h>
#include <string.h>

static char s_chNil = 0;

CString::CString() : m_pszData(&s_chNil), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& other) : CString() { Assign(other.m_pszData, other.m_nLength); }

CString::CString(CString&& other) noexcept
    : m_pszData(other.m_pszData), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity)
{
    other.m_pszData = &s_chNil;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
}

CString::CString(LPCSTR psz) : CString() { Assign(psz, psz ? (int)strlen(psz) : 0); }

CString::CString(LPCSTR pch, int nLength) : CString() { Assign(pch, nLength); }

CString::~CString()
{
    if (m_nCapacity)
        free(m_pszData);
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        if (m_nCapacity)
            free(m_pszData);
        m_pszData = other.m_pszData;
        m_nLength = other.m_nLength;
        m_nCapacity = other.m_nCapacity;
        other.m_pszData = &s_chNil;
        other.m_nLength = 0;
        other.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz)
{
    // psz may point into this string: copy before releasing anything.
    CString copy(psz);
    return *this = static_cast<CString&&>(copy);
}

CString& CString::operator+=(const CString& other)
{
    Append(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    Append(psz, psz ? (int)strlen(psz) : 0);
    return *this;
}

void CString::Empty()
{
    if (m_nCapacity)
        free(m_pszData);
    m_pszData = &s_chNil;
    m_nLength = 0;
    m_nCapacity = 0;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > m_nLength)
        nCount = m_nLength;
    return CString(m_pszData, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > m_nLength)
        nCount = m_nLength;
    return CString(m_pszData + m_nLength - nCount, nCount);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > m_nLength)
        nFirst = m_nLength;
    if (nCount < 0 || nCount > m_nLength - nFirst)
        nCount = m_nLength - nFirst;
    return CString(m_pszData + nFirst, nCount);
}

void CString::MakeUpper()
{
    if (m_nLength)
        CharUpperBuffA(m_pszData, (DWORD)m_nLength);
}

LPSTR CString::GetBuffer(int nMinLength)
{
    if (nMinLength < m_nLength)
        nMinLength = m_nLength;
    Reserve(nMinLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (!m_nCapacity)
        return;
    if (nNewLength < 0)
        nNewLength = (int)strnlen(m_pszData, (size_t)m_nCapacity);
    if (nNewLength > m_nCapacity)
        nNewLength = m_nCapacity;
    m_nLength = nNewLength;
    m_pszData[m_nLength] = 0;
}

void CString::Assign(LPCSTR pch, int nLength)
{
    if (nLength <= 0) {
        Empty();
        return;
    }
    // pch may lie inside this string's own buffer.
    CString copy;
    copy.Reserve(nLength);
    memcpy(copy.m_pszData, pch, (size_t)nLength);
    copy.m_pszData[nLength] = 0;
    copy.m_nLength = nLength;
    *this = static_cast<CString&&>(copy);
}

void CString::Append(LPCSTR pch, int nLength)
{
    if (nLength <= 0)
        return;
    CString joined;
    joined.Reserve(m_nLength + nLength);
    memcpy(joined.m_pszData, m_pszData, (size_t)m_nLength);
    memcpy(joined.m_pszData + m_nLength, pch, (size_t)nLength);
    joined.m_nLength = m_nLength + nLength;
    joined.m_pszData[joined.m_nLength] = 0;
    *this = static_cast<CString&&>(joined);
}

// Grows the buffer to hold nCapacity bytes and a NUL, keeping the contents.
void CString::Reserve(int nCapacity)
{
    if (nCapacity <= m_nCapacity)
        return;
    char* pNew = (char*)malloc((size_t)nCapacity + 1);
    if (!pNew)
        AfxThrowMemoryException();
    memcpy(pNew, m_pszData, (size_t)m_nLength + 1);
    if (m_nCapacity)
        free(m_pszData);
    m_pszData = pNew;
    m_nCapacity = nCapacity;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

bool operator==(const CString& a, LPCSTR b)
{
    return strcmp(a.m_pszData, b ? b : "") == 0;
}
