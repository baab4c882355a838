#pragma once
#include <windows.h>

// Calendar time: whole seconds since 1 January 1970 UTC; 0 means no time.
class CTime
{
public:
    CTime() : m_time(0) {}
    explicit CTime(__time64_t time) : m_time(time) {}
    // Local date and time. nDST < 0 lets the time zone's rules for that date
    // decide whether daylight saving time applies; 0 means standard time,
    // > 0 daylight saving time. Fields that name no valid local time give 0.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // A file system time (UTC), cut to whole seconds.
    explicit CTime(const FILETIME& fileTime);

    __time64_t GetTime() const { return m_time; }
    // The same instant as a file system time (UTC); FALSE when it has none.
    BOOL GetAsFileTime(FILETIME* pFileTime) const;

    bool operator==(const CTime& other) const { return m_time == other.m_time; }
    bool operator!=(const CTime& other) const { return m_time != other.m_time; }

private:
    __time64_t m_time;
};
