#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT)
{
    CWinApp* pApp = AfxGetApp();
    HWND hWndOwner = nullptr;
    if (pApp && pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd)
        hWndOwner = ::GetLastActivePopup(pApp->m_pMainWnd->m_hWnd);

    if (!(nType & MB_ICONMASK)) {
        UINT nButtons = nType & MB_TYPEMASK;
        if (nButtons == MB_OK || nButtons == MB_OKCANCEL || nButtons == MB_YESNO || nButtons == MB_YESNOCANCEL)
            nType |= MB_ICONEXCLAMATION;
    }
    LPCSTR pszCaption = pApp ? pApp->m_pszAppName : nullptr;
    return ::MessageBoxA(hWndOwner, pszText, pszCaption, nType);
}
