#pragma once
#include "framework/Wnd.h"

// One exchange between a dialog's members and its controls: save reads the
// controls into the members, load writes the members into the controls.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches rControl to the dialog's control nIDC at the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Save: the control's whole text into value. Load: value into the control,
// only when the control's text differs.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
