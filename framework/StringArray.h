#pragma once
#include "framework/String.h"

// A growable array of strings. Growing by nGrowBy at a time keeps a run of
// Add calls from reallocating each time; a failed allocation throws
// CMemoryException.
class CStringArray
{
public:
    CStringArray();
    ~CStringArray();
    CStringArray(const CStringArray&) = delete;
    CStringArray& operator=(const CStringArray&) = delete;

    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    // Elements past nNewSize are dropped, new ones are empty; nGrowBy < 0
    // keeps the current growth step.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void RemoveAll() { SetSize(0); }
    // Returns the new element's index.
    int Add(const CString& str);

    // nIndex must lie in 0 .. GetUpperBound().
    const CString& GetAt(int nIndex) const { return m_pData[nIndex]; }
    void SetAt(int nIndex, const CString& str) { m_pData[nIndex] = str; }
    CString& operator[](int nIndex) { return m_pData[nIndex]; }
    const CString& operator[](int nIndex) const { return m_pData[nIndex]; }

private:
    void Reserve(int nCapacity);

    CString* m_pData;
    int m_nSize;
    int m_nMaxSize;
    int m_nGrowBy;
};
