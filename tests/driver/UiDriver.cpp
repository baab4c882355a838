#include "tests/driver/UiDriver.h"

#include <vector>

namespace
{
const int ID_BOX_TEXT = 0xFFFF;  // the message text static of a message box
const int ID_BOX_ICON = 1088;    // the icon static of a message box
const DWORD POLL_MS = 50;
const UINT SEND_TIMEOUT_MS = 2000;

struct FindData
{
    DWORD dwProcessId;
    bool bOwned;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    FindData* pData = reinterpret_cast<FindData*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pData->dwProcessId)
        return TRUE;
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, "#32770") != 0)
        return TRUE;
    if ((GetWindow(hWnd, GW_OWNER) != NULL) != pData->bOwned)
        return TRUE;
    pData->hFound = hWnd;
    return FALSE;
}

// Sends with a timeout, so a hung or busy program cannot hang the driver.
bool SendTimeout(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, DWORD_PTR* pResult)
{
    DWORD_PTR dwResult = 0;
    LRESULT lr = SendMessageTimeoutA(hWnd, nMsg, wParam, lParam, SMTO_ABORTIFHUNG,
                                     SEND_TIMEOUT_MS, &dwResult);
    if (pResult)
        *pResult = dwResult;
    return lr != 0;
}

// 32-bit pixels of a rectangle of the screen, or of an icon drawn on a plain background.
typedef std::vector<DWORD> Pixels;

Pixels ReadPixels(HDC hdcMem, HBITMAP hBitmap, int cx, int cy)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    Pixels pixels(cx * cy);
    GetDIBits(hdcMem, hBitmap, 0, cy, pixels.data(), &bmi, DIB_RGB_COLORS);
    return pixels;
}

// Draws into a fresh bitmap: the screen rectangle at (x, y) if hIcon is NULL, else hIcon
// on a background of crBack.
Pixels Capture(int x, int y, int cx, int cy, HICON hIcon, COLORREF crBack)
{
    HDC hdcScreen = GetDC(NULL);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    if (hIcon) {
        RECT rc = { 0, 0, cx, cy };
        HBRUSH hBrush = CreateSolidBrush(crBack);
        FillRect(hdcMem, &rc, hBrush);
        DeleteObject(hBrush);
        DrawIconEx(hdcMem, 0, 0, hIcon, cx, cy, 0, NULL, DI_NORMAL);
    } else {
        BitBlt(hdcMem, 0, 0, cx, cy, hdcScreen, x, y, SRCCOPY);
    }
    SelectObject(hdcMem, hOld);
    Pixels pixels = ReadPixels(hdcMem, hBitmap, cx, cy);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
    ReleaseDC(NULL, hdcScreen);
    return pixels;
}

bool IsNear(DWORD a, DWORD b)
{
    for (int nShift = 0; nShift < 24; nShift += 8) {
        int d = static_cast<int>((a >> nShift) & 0xFF) - static_cast<int>((b >> nShift) & 0xFF);
        if (d < -48 || d > 48)
            return false;
    }
    return true;
}

// An icon as drawn here: the pixels that are the same on black and on white are opaque.
struct IconLook
{
    IconLook(HICON hIcon, int cxIcon, int cyIcon)
        : onBlack(Capture(0, 0, cxIcon, cyIcon, hIcon, RGB(0, 0, 0))),
          onWhite(Capture(0, 0, cxIcon, cyIcon, hIcon, RGB(255, 255, 255))),
          cx(cxIcon), cy(cyIcon)
    {
    }

    Pixels onBlack;
    Pixels onWhite;
    int cx;
    int cy;
};

// Share of the icon's opaque pixels that the screen shows in another colour, with the
// icon's top left at (x, y) of a capture cxScreen pixels wide; 1.0 if none is opaque.
double MismatchOnScreen(const Pixels& screen, int cxScreen, int x, int y, const IconLook& look)
{
    int nOpaque = 0;
    int nWrong = 0;
    for (int row = 0; row < look.cy; ++row) {
        for (int col = 0; col < look.cx; ++col) {
            size_t i = row * look.cx + col;
            if (look.onBlack[i] != look.onWhite[i])
                continue;
            ++nOpaque;
            if (!IsNear(look.onBlack[i], screen[(y + row) * cxScreen + x + col]))
                ++nWrong;
        }
    }
    return nOpaque ? static_cast<double>(nWrong) / nOpaque : 1.0;
}

const double MAX_MISMATCH = 0.1;  // more than a tenth of the pixels wrong is no match
}

CUiDriver::CUiDriver()
    : m_hProcess(NULL), m_hThread(NULL), m_dwProcessId(0), m_dwTimeout(20000)
{
}

CUiDriver::~CUiDriver()
{
    if (m_hProcess && !HasExited()) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
    }
    if (m_hThread)
        CloseHandle(m_hThread);
    if (m_hProcess)
        CloseHandle(m_hProcess);
}

bool CUiDriver::Start(const std::string& strExe, const std::string& strArgs,
                      const std::string& strCurDir)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    // No standard handles at all: the program under test must not hold ours open.
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi = {};
    std::string strCmdLine = "\"" + strExe + "\"";
    if (!strArgs.empty())
        strCmdLine += " " + strArgs;
    if (!CreateProcessA(strExe.c_str(), &strCmdLine[0], NULL, NULL, FALSE, 0, NULL,
                        strCurDir.empty() ? NULL : strCurDir.c_str(), &si, &pi))
        return false;
    m_hProcess = pi.hProcess;
    m_hThread = pi.hThread;
    m_dwProcessId = pi.dwProcessId;
    return true;
}

HWND CUiDriver::FindWindowOfProcess(bool bOwned) const
{
    FindData data = { m_dwProcessId, bOwned, NULL };
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
    return data.hFound;
}

HWND CUiDriver::FindDialog() const
{
    return FindWindowOfProcess(false);
}

HWND CUiDriver::FindMessageBox() const
{
    return FindWindowOfProcess(true);
}

bool CUiDriver::HasExited() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
}

bool CUiDriver::IsDialogVisible() const
{
    HWND hDlg = FindDialog();
    return hDlg && IsWindowVisible(hDlg);
}

bool CUiDriver::IsMessageBoxUp() const
{
    HWND hBox = FindMessageBox();
    return hBox && IsWindowVisible(hBox);
}

bool CUiDriver::WaitUntil(bool (CUiDriver::*pfnReady)() const)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        if ((this->*pfnReady)())
            return true;
        if (!m_hProcess || HasExited() || GetTickCount() - dwStart > m_dwTimeout)
            return false;
        Sleep(POLL_MS);
    }
}

HWND CUiDriver::WaitForDialog()
{
    if (!WaitUntil(&CUiDriver::IsDialogVisible) || !WaitForIdle())
        return NULL;
    return IsDialogVisible() ? FindDialog() : NULL;
}

HWND CUiDriver::WaitForMessageBox()
{
    if (!WaitUntil(&CUiDriver::IsMessageBoxUp) || !WaitForIdle())
        return NULL;
    return IsMessageBoxUp() ? FindMessageBox() : NULL;
}

bool CUiDriver::IsResponsive() const
{
    // A message answered means the GUI thread sits in a message loop, its own or a box's.
    HWND hWnd = FindMessageBox();
    if (!hWnd)
        hWnd = FindDialog();
    if (hWnd)
        return SendTimeout(hWnd, WM_NULL, 0, 0, NULL);
    return WaitForInputIdle(m_hProcess, 0) == 0;
}

ULONGLONG CUiDriver::GetCpuTime() const
{
    FILETIME ftCreation, ftExit, ftKernel, ftUser;
    if (!GetProcessTimes(m_hProcess, &ftCreation, &ftExit, &ftKernel, &ftUser))
        return 0;
    ULARGE_INTEGER kernel = { { ftKernel.dwLowDateTime, ftKernel.dwHighDateTime } };
    ULARGE_INTEGER user = { { ftUser.dwLowDateTime, ftUser.dwHighDateTime } };
    return kernel.QuadPart + user.QuadPart;
}

bool CUiDriver::WaitForIdle()
{
    if (!m_hProcess)
        return false;
    DWORD dwStart = GetTickCount();
    WaitForInputIdle(m_hProcess, m_dwTimeout);
    ULONGLONG nLastCpu = GetCpuTime();
    int nQuiet = 0;
    // Idle: it answers a message and has used no CPU for two polls in a row.
    while (nQuiet < 2) {
        if (HasExited())
            return true;
        if (GetTickCount() - dwStart > m_dwTimeout)
            return false;
        Sleep(POLL_MS);
        ULONGLONG nCpu = GetCpuTime();
        nQuiet = (nCpu == nLastCpu && IsResponsive()) ? nQuiet + 1 : 0;
        nLastCpu = nCpu;
    }
    return true;
}

bool CUiDriver::WaitForExit(DWORD* pdwExitCode)
{
    if (!m_hProcess || WaitForSingleObject(m_hProcess, m_dwTimeout) != WAIT_OBJECT_0)
        return false;
    DWORD dwExitCode = 0;
    GetExitCodeProcess(m_hProcess, &dwExitCode);
    if (pdwExitCode)
        *pdwExitCode = dwExitCode;
    return true;
}

std::string CUiDriver::GetText(HWND hWnd)
{
    DWORD_PTR nLength = 0;
    if (!hWnd || !SendTimeout(hWnd, WM_GETTEXTLENGTH, 0, 0, &nLength))
        return std::string();
    std::string strText(nLength + 1, '\0');
    DWORD_PTR nCopied = 0;
    SendTimeout(hWnd, WM_GETTEXT, strText.size(), reinterpret_cast<LPARAM>(&strText[0]), &nCopied);
    strText.resize(nCopied <= nLength ? nCopied : nLength);
    return strText;
}

std::string CUiDriver::GetItemText(HWND hDlg, int nID)
{
    return GetText(GetDlgItem(hDlg, nID));
}

bool CUiDriver::IsItemVisible(HWND hDlg, int nID)
{
    HWND hItem = GetDlgItem(hDlg, nID);
    return hItem && IsWindowVisible(hItem);
}

int CUiDriver::GetFocusID(HWND hDlg)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, NULL), &info) || !info.hwndFocus)
        return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

int CUiDriver::GetDefaultID(HWND hDlg)
{
    DWORD_PTR dwResult = 0;
    if (!SendTimeout(hDlg, DM_GETDEFID, 0, 0, &dwResult) || HIWORD(dwResult) != DC_HASDEFID)
        return 0;
    return LOWORD(dwResult);
}

HICON CUiDriver::GetWindowIcon(HWND hWnd, int nType)
{
    DWORD_PTR dwResult = 0;
    SendTimeout(hWnd, WM_GETICON, nType, 0, &dwResult);
    return reinterpret_cast<HICON>(dwResult);
}

CUiDriver::BoxIcon CUiDriver::GetBoxIcon(HWND hBox)
{
    HWND hIconStatic = GetDlgItem(hBox, ID_BOX_ICON);
    DWORD_PTR dwResult = 0;
    if (!hIconStatic || !SendTimeout(hIconStatic, STM_GETICON, 0, 0, &dwResult) || !dwResult)
        return IconNone;
    static const struct { LPCSTR pszID; BoxIcon icon; } s_known[] = {
        { IDI_EXCLAMATION, IconExclamation },
        { IDI_HAND, IconStop },
        { IDI_QUESTION, IconQuestion },
        { IDI_ASTERISK, IconInformation },
    };
    // Icon handles belong to their process under Wine, so the icon is told by its looks:
    // the box's icon on the screen against the system icons drawn here.
    RECT rc;
    GetWindowRect(hIconStatic, &rc);
    int cx = GetSystemMetrics(SM_CXICON);
    int cy = GetSystemMetrics(SM_CYICON);
    Pixels screen = Capture(rc.left, rc.top, cx, cy, NULL, 0);
    BoxIcon best = IconOther;
    double dBest = MAX_MISMATCH;
    for (const auto& known : s_known) {
        double d = MismatchOnScreen(screen, cx, 0, 0, IconLook(LoadIconA(NULL, known.pszID), cx, cy));
        if (d < dBest) {
            dBest = d;
            best = known.icon;
        }
    }
    return best;
}

bool CUiDriver::IsCaptionShowingIcon(HWND hWnd, const std::string& strExe, int nIconID)
{
    HMODULE hModule = LoadLibraryExA(strExe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!hModule)
        return false;
    int cx = GetSystemMetrics(SM_CXSMICON);
    int cy = GetSystemMetrics(SM_CYSMICON);
    // A window given only the large image shows it shrunk, so try both images at small size.
    const int anSizes[] = { cx, GetSystemMetrics(SM_CXICON) };
    std::vector<IconLook> looks;
    for (int nSize : anSizes) {
        HICON hIcon = static_cast<HICON>(LoadImageA(hModule, MAKEINTRESOURCEA(nIconID), IMAGE_ICON,
                                                    nSize, nSize, 0));
        if (hIcon) {
            looks.emplace_back(hIcon, cx, cy);
            DestroyIcon(hIcon);
        }
    }
    FreeLibrary(hModule);
    // The icon sits at the caption's left end; search the top left corner for it.
    RECT rc;
    GetWindowRect(hWnd, &rc);
    const int cxArea = 3 * cx;
    const int cyArea = 2 * cy;
    Pixels screen = Capture(rc.left, rc.top, cxArea, cyArea, NULL, 0);
    for (const IconLook& look : looks) {
        for (int y = 0; y + cy <= cyArea; ++y) {
            for (int x = 0; x + cx <= cxArea; ++x) {
                if (MismatchOnScreen(screen, cxArea, x, y, look) < MAX_MISMATCH)
                    return true;
            }
        }
    }
    return false;
}

const char* CUiDriver::GetIconName(BoxIcon icon)
{
    static const char* const s_names[] = {
        "none", "exclamation", "stop", "question", "information", "other"
    };
    return s_names[icon];
}

bool CUiDriver::IsCentredOnWorkArea(HWND hWnd)
{
    RECT rcWork, rcWnd;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0) || !GetWindowRect(hWnd, &rcWnd))
        return false;
    int dx = (rcWnd.left + rcWnd.right) - (rcWork.left + rcWork.right);
    int dy = (rcWnd.top + rcWnd.bottom) - (rcWork.top + rcWork.bottom);
    // Twice the offset of the centres: odd sizes round either way.
    return dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
}

bool CUiDriver::SetItemText(HWND hDlg, int nID, const std::string& strText)
{
    HWND hItem = GetDlgItem(hDlg, nID);
    return hItem && SendTimeout(hItem, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()), NULL);
}

bool CUiDriver::ClickButton(HWND hDlg, int nID)
{
    HWND hButton = GetDlgItem(hDlg, nID);
    return hButton && PostMessageA(hButton, BM_CLICK, 0, 0);
}

bool CUiDriver::PostCommand(HWND hDlg, int nID)
{
    HWND hButton = GetDlgItem(hDlg, nID);
    return PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
}

bool CUiDriver::PressKey(HWND hDlg, UINT nVirtKey)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND hTarget = hDlg;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, NULL), &info) && info.hwndFocus)
        hTarget = info.hwndFocus;
    // The same two messages a keyboard puts in the queue; the modal loop's dialog
    // navigation turns Enter and Esc into commands as it would for a real key.
    LPARAM lScan = static_cast<LPARAM>(MapVirtualKeyA(nVirtKey, MAPVK_VK_TO_VSC)) << 16;
    return PostMessageA(hTarget, WM_KEYDOWN, nVirtKey, lScan | 1)
        && PostMessageA(hTarget, WM_KEYUP, nVirtKey, lScan | 0xC0000001);
}

bool CUiDriver::PressCloseBox(HWND hWnd)
{
    return PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}
