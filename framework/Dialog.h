#pragma once
#include "framework/DataExchange.h"
#include "framework/Wnd.h"

// A modal dialog built from a template resource of the program.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; -1 when the template cannot be loaded.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // FALSE loads the members into the controls, TRUE saves the controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The help context of the dialog's topic.
    DWORD GetHelpContext() const override { return 0x20000 + m_nIDTemplate; }

    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    // Hands the message being handled on to the dialog manager's own processing.
    void Default() { m_bDefault = TRUE; }

    BOOL OnCmdMsg(UINT nID, UINT nCode) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);
    BOOL HandleInitDialog();
    BOOL HandleCommand(UINT nID, UINT nCode);

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    BOOL m_bDefault;
};
