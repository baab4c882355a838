#pragma once
#include <objbase.h>

// Owns one reference to a COM interface and releases it when it goes.
template <class T>
class CComPtr
{
public:
    CComPtr() : m_p(nullptr) {}
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    CComPtr(CComPtr&& other) noexcept : m_p(other.Detach()) {}

    void Release()
    {
        if (m_p) {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }
    void Attach(T* p)
    {
        Release();
        m_p = p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    // The address to receive a new interface; releases the one held.
    T** operator&()
    {
        Release();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }

private:
    T* m_p;
};
