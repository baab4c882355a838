#include "framework/Time.h"

namespace {

// FILETIME counts 100 ns ticks since 1601; calendar time seconds since 1970.
const ULONGLONG TicksPerSecond = 10000000ULL;
const ULONGLONG EpochTicks = 116444736000000000ULL;

__time64_t TimeFromTicks(ULONGLONG nTicks)
{
    if (nTicks < EpochTicks)
        return 0;
    return (__time64_t)((nTicks - EpochTicks) / TicksPerSecond);
}

ULONGLONG TicksFromFileTime(const FILETIME& fileTime)
{
    return ((ULONGLONG)fileTime.dwHighDateTime << 32) | fileTime.dwLowDateTime;
}

// Local fields to UTC when the caller says which offset applies.
BOOL LocalToUtcWithBias(const SYSTEMTIME& local, LONG lBiasMinutes, ULONGLONG* pnTicks)
{
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&local, &fileTime))
        return FALSE;
    LONGLONG nBiasTicks = (LONGLONG)lBiasMinutes * 60 * (LONGLONG)TicksPerSecond;
    *pnTicks = TicksFromFileTime(fileTime) + nBiasTicks;
    return TRUE;
}

} // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) : m_time(0)
{
    SYSTEMTIME local = {};
    local.wYear = (WORD)nYear;
    local.wMonth = (WORD)nMonth;
    local.wDay = (WORD)nDay;
    local.wHour = (WORD)nHour;
    local.wMinute = (WORD)nMin;
    local.wSecond = (WORD)nSec;

    ULONGLONG nTicks = 0;
    if (nDST < 0) {
        // Applies the zone's rules for the given date, not today's offset.
        SYSTEMTIME utc;
        FILETIME fileTime;
        if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &fileTime))
            return;
        nTicks = TicksFromFileTime(fileTime);
    } else {
        TIME_ZONE_INFORMATION zone;
        if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
            return;
        LONG lBias = zone.Bias + (nDST > 0 ? zone.DaylightBias : zone.StandardBias);
        if (!LocalToUtcWithBias(local, lBias, &nTicks))
            return;
    }
    m_time = TimeFromTicks(nTicks);
}

CTime::CTime(const FILETIME& fileTime) : m_time(TimeFromTicks(TicksFromFileTime(fileTime)))
{
}

BOOL CTime::GetAsFileTime(FILETIME* pFileTime) const
{
    if (m_time <= 0)
        return FALSE;
    ULONGLONG nTicks = (ULONGLONG)m_time * TicksPerSecond + EpochTicks;
    pFileTime->dwLowDateTime = (DWORD)nTicks;
    pFileTime->dwHighDateTime = (DWORD)(nTicks >> 32);
    return TRUE;
}
