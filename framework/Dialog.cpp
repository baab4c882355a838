#include "framework/Dialog.h"
#include "framework/Exception.h"
#include "framework/WinApp.h"

#include <new>
#include <stdlib.h>
#include <string.h>

namespace {

// A private copy of a dialog template without WS_VISIBLE. The dialog manager
// still shows a modal dialog when its loop starts, but a dialog ended during
// WM_INITDIALOG then never appears, not even for a moment.
class CHiddenTemplate
{
public:
    CHiddenTemplate(LPCDLGTEMPLATEA pTemplate, DWORD cbTemplate)
        : m_pCopy(cbTemplate >= 16 ? (BYTE*)malloc(cbTemplate) : nullptr)
    {
        if (!m_pCopy)
            return;
        memcpy(m_pCopy, pTemplate, cbTemplate);
        // The extended form starts with version 1 and signature 0xFFFF; its style follows
        // the help id and the extended style. The plain form starts with the style.
        bool bExtended = ((const WORD*)m_pCopy)[0] == 1 && ((const WORD*)m_pCopy)[1] == 0xFFFF;
        DWORD* pStyle = (DWORD*)(m_pCopy + (bExtended ? 12 : 0));
        *pStyle &= ~WS_VISIBLE;
    }
    ~CHiddenTemplate() { free(m_pCopy); }
    CHiddenTemplate(const CHiddenTemplate&) = delete;
    CHiddenTemplate& operator=(const CHiddenTemplate&) = delete;

    LPCDLGTEMPLATEA Get(LPCDLGTEMPLATEA pOriginal) const
    {
        return m_pCopy ? (LPCDLGTEMPLATEA)m_pCopy : pOriginal;
    }

private:
    BYTE* m_pCopy;
};

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_hWndParent(pParentWnd ? pParentWnd->m_hWnd : nullptr),
      m_bDefault(FALSE)
{
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    HRSRC hResource = ::FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), (LPCSTR)RT_DIALOG);
    if (!hResource)
        return -1;
    HGLOBAL hTemplate = ::LoadResource(hInstance, hResource);
    LPCDLGTEMPLATEA pTemplate = hTemplate ? (LPCDLGTEMPLATEA)::LockResource(hTemplate) : nullptr;
    if (!pTemplate)
        return -1;

    CHiddenTemplate hidden(pTemplate, ::SizeofResource(hInstance, hResource));
    INT_PTR nResult = ::DialogBoxIndirectParamA(hInstance, hidden.Get(pTemplate), m_hWndParent, DialogProc,
                                                (LPARAM)this);
    m_hWnd = nullptr;
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, UINT nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode);
}

// The one place where messages enter the dialog object: the framework's
// exceptions are reported here, so none unwinds through the dialog manager.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CDialog* pThis;
    if (nMessage == WM_INITDIALOG) {
        pThis = reinterpret_cast<CDialog*>(lParam);
        pThis->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)pThis);
    } else {
        pThis = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    }
    if (!pThis)
        return FALSE;

    try {
        return pThis->HandleMessage(nMessage, wParam, lParam);
    } catch (const CException& e) {
        e.ReportError();
    } catch (const std::bad_alloc&) {
        CMemoryException().ReportError();
    }
    return nMessage == WM_INITDIALOG ? TRUE : FALSE;
}

INT_PTR CDialog::HandleMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (nMessage) {
    case WM_INITDIALOG:
        return HandleInitDialog();
    case WM_COMMAND:
        return HandleCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
        // F1 becomes the framework's Help command.
        return OnCmdMsg(ID_HELP, 0);
    }

    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMessage, 0, 0);
    if (!pEntry)
        return FALSE;
    if (pEntry->pfnCursor)
        return (INT_PTR)(this->*pEntry->pfnCursor)();
    m_bDefault = FALSE;
    (this->*pEntry->pfn)();
    return !m_bDefault;
}

// Centres the dialog after OnInitDialog unless the handler placed or showed
// it itself, or the template asks for a placement of its own.
BOOL CDialog::HandleInitDialog()
{
    RECT rcBefore;
    GetWindowRect(&rcBefore);
    BOOL bResult = OnInitDialog();

    RECT rcAfter;
    GetWindowRect(&rcAfter);
    LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    BOOL bMoved = !::EqualRect(&rcBefore, &rcAfter);
    if (!bMoved && !IsWindowVisible() && !(lStyle & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)))
        CenterWindow();
    return bResult;
}

BOOL CDialog::HandleCommand(UINT nID, UINT nCode)
{
    if (OnCmdMsg(nID, nCode))
        return TRUE;
    if (nID == IDOK && nCode == BN_CLICKED) {
        OnOK();
        return TRUE;
    }
    if (nID == IDCANCEL && nCode == BN_CLICKED) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}
