// The bench's baseline: a dialog whose OK copies the four product files, already expanded,
// into the directory in its edit (one read and one write each), then shows the text setup
// shows when it has finished.
//
//   copydialog.exe SOURCE_DIR
#include <windows.h>

#include <string>
#include <vector>

namespace
{
const char* const PRODUCT_FILES[] = { "TSY.exe", "TSY.hlp", "TSY.cnt", "Uninstall.exe" };
std::string g_strSourceDir;

bool ReadWholeFile(const std::string& strPath, std::vector<char>* pData)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    pData->resize(GetFileSize(hFile, NULL));
    DWORD dwRead = 0;
    BOOL bRead = pData->empty() || ReadFile(hFile, pData->data(), static_cast<DWORD>(pData->size()), &dwRead, NULL);
    CloseHandle(hFile);
    return bRead && dwRead == pData->size();
}

bool WriteWholeFile(const std::string& strPath, const std::vector<char>& data)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    BOOL bWritten = WriteFile(hFile, data.data(), static_cast<DWORD>(data.size()), &dwWritten, NULL);
    CloseHandle(hFile);
    return bWritten && dwWritten == data.size();
}

bool CopyProduct(const std::string& strTargetDir)
{
    CreateDirectoryA(strTargetDir.c_str(), NULL);
    std::vector<char> data;
    for (const char* pszName : PRODUCT_FILES) {
        if (!ReadWholeFile(g_strSourceDir + "\\" + pszName, &data)
            || !WriteWholeFile(strTargetDir + "\\" + pszName, data))
            return false;
    }
    return true;
}

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM)
{
    if (nMsg != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    if (LOWORD(wParam) == IDOK) {
        char szDir[MAX_PATH] = "";
        GetDlgItemTextA(hDlg, 1001, szDir, MAX_PATH);
        SetDlgItemTextA(hDlg, 1002, CopyProduct(szDir) ? "The program has been successfully installed"
                                                        : "Copy failed");
        return TRUE;
    }
    return FALSE;
}
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int)
{
    g_strSourceDir = pszCmdLine;
    if (g_strSourceDir.size() >= 2 && g_strSourceDir.front() == '"' && g_strSourceDir.back() == '"')
        g_strSourceDir = g_strSourceDir.substr(1, g_strSourceDir.size() - 2);
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(1), NULL, DialogProc, 0);
    return 0;
}
