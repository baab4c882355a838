#include "framework/DataExchange.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (!rControl.m_hWnd)
        rControl.Attach(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd control = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate) {
        control.GetWindowText(value);
        return;
    }
    // Setting an unchanged text would only make the control flicker.
    CString strCurrent;
    control.GetWindowText(strCurrent);
    if (strCurrent != value)
        control.SetWindowText(value);
}
