#include "framework/StringArray.h"
#include "framework/Exception.h"

#include <new>
#include <utility>

CStringArray::CStringArray() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}

CStringArray::~CStringArray()
{
    delete[] m_pData;
}

void CStringArray::SetSize(int nNewSize, int nGrowBy)
{
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize < 0)
        nNewSize = 0;
    if (nNewSize > m_nMaxSize)
        Reserve(nNewSize);
    for (int i = nNewSize; i < m_nSize; i++)
        m_pData[i].Empty();
    m_nSize = nNewSize;
}

int CStringArray::Add(const CString& str)
{
    // str may be an element of this array: copy it before growing.
    CString strCopy(str);
    if (m_nSize == m_nMaxSize) {
        int nStep = m_nGrowBy > 0 ? m_nGrowBy : (m_nSize < 4 ? 4 : m_nSize / 2);
        Reserve(m_nSize + nStep);
    }
    m_pData[m_nSize] = std::move(strCopy);
    return m_nSize++;
}

void CStringArray::Reserve(int nCapacity)
{
    CString* pNew = new (std::nothrow) CString[nCapacity];
    if (!pNew)
        AfxThrowMemoryException();
    for (int i = 0; i < m_nSize; i++)
        pNew[i] = std::move(m_pData[i]);
    delete[] m_pData;
    m_pData = pNew;
    m_nMaxSize = nCapacity;
}
