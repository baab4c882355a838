#pragma once
// Forced into every gtest compile of the Windows build: mingw-w64's win32 thread model
// has no std::mutex or std::condition_variable, which gtest's Notification is built on.
// This Notification waits on a Win32 event instead.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification
{
public:
    Notification() : m_hEvent(CreateEventA(NULL, TRUE, FALSE, NULL)) {}
    ~Notification() { CloseHandle(m_hEvent); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(m_hEvent); }
    void WaitForNotification() { WaitForSingleObject(m_hEvent, INFINITE); }

private:
    HANDLE m_hEvent;
};

}  // namespace internal
}  // namespace testing
