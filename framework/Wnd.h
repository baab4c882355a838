#pragma once
#include "framework/CmdTarget.h"
#include "framework/String.h"

// A window seen through its handle. It does not own the window: copies refer
// to the same window, and destroying the object leaves the window alone.
class CWnd : public CCmdTarget
{
public:
    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();
    HWND GetSafeHwnd() const { return m_hWnd; }

    CWnd GetDlgItem(int nID) const;
    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow) const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetWindowText(LPCSTR pszText) const;
    // The whole text, of any length.
    void GetWindowText(CString& strText) const;
    void GetClientRect(LPRECT pRect) const;
    void GetWindowRect(LPRECT pRect) const;
    // Centres the window on its owner, or on the work area when it has none.
    void CenterWindow() const;
    // The help context of the window's topic; 0 when it has none.
    virtual DWORD GetHelpContext() const { return 0; }

    HWND m_hWnd;
};
