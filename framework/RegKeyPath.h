#pragma once
#include "framework/RegKey.h"

// A chain of registry keys opened one level at a time beneath a root. Each
// level is judged by the handle obtained; the first missing level ends the
// descent. The keys close innermost first when the path goes.
template <int N>
class CRegKeyPath
{
public:
    // TRUE when every level opened.
    BOOL Open(HKEY hKeyRoot, const LPCSTR (&levels)[N])
    {
        HKEY hKeyParent = hKeyRoot;
        for (int i = 0; i < N; ++i) {
            m_keys[i].Open(hKeyParent, levels[i]);
            if (!m_keys[i].m_hKey)
                return FALSE;
            hKeyParent = m_keys[i].m_hKey;
        }
        return TRUE;
    }

    const CRegKey& Last() const { return m_keys[N - 1]; }

private:
    // Array elements are destroyed last to first: innermost key first.
    CRegKey m_keys[N];
};
