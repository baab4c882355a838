#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

// Answers the message boxes that this process shows, from a thread of its
// own, as a user would: reads the text and the icon, then presses the
// default button. Needs an X display under Wine.
class CBoxWatcher
{
public:
    enum Icon { IconNone, IconExclamation, IconStop, IconQuestion, IconInformation, IconOther };
    struct CShownBox
    {
        std::string strText;
        Icon icon;
    };

    CBoxWatcher()
    {
        InitializeCriticalSection(&m_lock);
        m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_hThread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    ~CBoxWatcher()
    {
        SetEvent(m_hStop);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        CloseHandle(m_hStop);
        DeleteCriticalSection(&m_lock);
    }
    CBoxWatcher(const CBoxWatcher&) = delete;
    CBoxWatcher& operator=(const CBoxWatcher&) = delete;

    std::vector<CShownBox> GetBoxes()
    {
        EnterCriticalSection(&m_lock);
        std::vector<CShownBox> boxes = m_boxes;
        LeaveCriticalSection(&m_lock);
        return boxes;
    }
    // The texts alone, in the order shown.
    std::vector<std::string> GetTexts()
    {
        std::vector<std::string> texts;
        for (const CShownBox& box : GetBoxes())
            texts.push_back(box.strText);
        return texts;
    }

private:
    static const int MessageTextId = 0xFFFF;
    static const int MessageIconId = 1088;

    struct CSearch
    {
        DWORD dwProcessId;
        std::vector<HWND> boxes;
    };

    static BOOL CALLBACK CollectBox(HWND hWnd, LPARAM lParam)
    {
        CSearch* pSearch = reinterpret_cast<CSearch*>(lParam);
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(hWnd, &dwProcessId);
        char szClass[16] = "";
        GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (dwProcessId == pSearch->dwProcessId && lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hWnd) &&
            GetDlgItem(hWnd, MessageTextId))
            pSearch->boxes.push_back(hWnd);
        return TRUE;
    }

    static Icon IdentifyIcon(HWND hBox)
    {
        HWND hIcon = GetDlgItem(hBox, MessageIconId);
        HICON hShown = hIcon ? (HICON)SendMessageA(hIcon, STM_GETICON, 0, 0) : nullptr;
        if (!hShown)
            return IconNone;
        // A box loads the shared system icons, so the handles of this process match.
        if (hShown == LoadIcon(nullptr, IDI_EXCLAMATION))
            return IconExclamation;
        if (hShown == LoadIcon(nullptr, IDI_HAND))
            return IconStop;
        if (hShown == LoadIcon(nullptr, IDI_QUESTION))
            return IconQuestion;
        if (hShown == LoadIcon(nullptr, IDI_ASTERISK))
            return IconInformation;
        return IconOther;
    }

    static DWORD WINAPI Watch(LPVOID pParam)
    {
        static_cast<CBoxWatcher*>(pParam)->AnswerBoxes();
        return 0;
    }

    void AnswerBoxes()
    {
        std::set<HWND> answered;
        while (WaitForSingleObject(m_hStop, 20) == WAIT_TIMEOUT) {
            CSearch search = { GetCurrentProcessId(), {} };
            EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
            for (HWND hBox : search.boxes) {
                if (answered.count(hBox))
                    continue;
                char szText[1024] = "";
                SendMessageA(GetDlgItem(hBox, MessageTextId), WM_GETTEXT, sizeof(szText), (LPARAM)szText);
                Icon icon = IdentifyIcon(hBox);
                EnterCriticalSection(&m_lock);
                m_boxes.push_back({ szText, icon });
                LeaveCriticalSection(&m_lock);
                answered.insert(hBox);
                // Posted: the box's own thread is inside its modal loop.
                PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
    }

    CRITICAL_SECTION m_lock;
    HANDLE m_hStop;
    HANDLE m_hThread;
    std::vector<CShownBox> m_boxes;
};
