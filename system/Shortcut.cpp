#include "app/SetupDlg.h"
#include "framework/ComPtr.h"

#include <shlobj.h>

// The wide buffer for the link's file name, its NUL included.
static const int LinkPathBufferSize = 260;

HRESULT CSetupDlg::CreateShortcut(CString strTarget, CString strLinkPath, CString strDescription)
{
    CComPtr<IShellLinkA> pShellLink;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    (void**)&pShellLink);
    if (FAILED(hr))
        return hr;
    pShellLink->SetPath(strTarget);
    pShellLink->SetDescription(strDescription);

    CComPtr<IPersistFile> pPersistFile;
    hr = pShellLink->QueryInterface(IID_IPersistFile, (void**)&pPersistFile);
    if (FAILED(hr))
        return hr;

    // A name that does not fit is never saved cut short.
    WCHAR wszLinkPath[LinkPathBufferSize];
    if (!::MultiByteToWideChar(CP_ACP, 0, strLinkPath, -1, wszLinkPath, LinkPathBufferSize))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    return pPersistFile->Save(wszLinkPath, TRUE);
}
