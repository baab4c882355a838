#include "framework/Wnd.h"

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

CWnd CWnd::GetDlgItem(int nID) const
{
    return CWnd(::GetDlgItem(m_hWnd, nID));
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, nMessage, wParam, lParam);
}

BOOL CWnd::ShowWindow(int nCmdShow) const
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::SetWindowText(LPCSTR pszText) const
{
    ::SetWindowTextA(m_hWnd, pszText);
}

void CWnd::GetWindowText(CString& strText) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    LPSTR pszBuffer = strText.GetBuffer(nLength);
    ::GetWindowTextA(m_hWnd, pszBuffer, nLength + 1);
    strText.ReleaseBuffer();
}

void CWnd::GetClientRect(LPRECT pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}

void CWnd::GetWindowRect(LPRECT pRect) const
{
    ::GetWindowRect(m_hWnd, pRect);
}

void CWnd::CenterWindow() const
{
    RECT rcArea;
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndOwner && ::IsWindowVisible(hWndOwner) && !::IsIconic(hWndOwner))
        ::GetWindowRect(hWndOwner, &rcArea);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);

    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    int x = (rcArea.left + rcArea.right) / 2 - cx / 2;
    int y = (rcArea.top + rcArea.bottom) / 2 - cy / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
