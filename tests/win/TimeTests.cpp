#include <gtest/gtest.h>

#include "framework/Time.h"
#include "tests/win/InstallFixture.h"

namespace {

const __time64_t NineUtcOnReleaseDay = 934189200;  // 1999-08-09 09:00:00 UTC

FILETIME FileTimeFromTicks(ULONGLONG nTicks)
{
    FILETIME ft = { (DWORD)nTicks, (DWORD)(nTicks >> 32) };
    return ft;
}

ULONGLONG TicksOf(const FILETIME& ft) { return ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime; }

TEST(CTimeFileTime, ConvertsStraightBetweenUtcTicksAndSeconds)
{
    const ULONGLONG nTicks = 125786628000000000ULL;  // 1999-08-09 09:00:00 UTC
    EXPECT_EQ(NineUtcOnReleaseDay, CTime(FileTimeFromTicks(nTicks)).GetTime());
    // Fractions of a second are dropped, not rounded.
    EXPECT_EQ(NineUtcOnReleaseDay, CTime(FileTimeFromTicks(nTicks + 9999999)).GetTime());

    FILETIME back;
    ASSERT_TRUE(CTime(NineUtcOnReleaseDay).GetAsFileTime(&back));
    EXPECT_EQ(nTicks, TicksOf(back));
    EXPECT_EQ("1999-08-09 09:00:00", FormatUtc(back));
}

TEST(CTimeFileTime, NoTimeHasNoFileTime)
{
    FILETIME ft;
    EXPECT_FALSE(CTime().GetAsFileTime(&ft));
    EXPECT_EQ(0, CTime(FileTimeFromTicks(0)).GetTime());
}

struct LocalCase
{
    const char* pszName;
    int nYear, nMonth, nDay, nHour, nDST;
    const char* pszUtc;
};

void ExpectLocalConversions(const char* pszZone, const LocalCase* pCases, size_t nCases)
{
    if (GetTimeZoneName() != pszZone)
        GTEST_SKIP() << "needs TZ=" << pszZone;
    for (size_t i = 0; i < nCases; i++) {
        const LocalCase& test = pCases[i];
        CTime time(test.nYear, test.nMonth, test.nDay, test.nHour, 0, 0, test.nDST);
        FILETIME ft;
        ASSERT_TRUE(time.GetAsFileTime(&ft)) << test.pszName;
        EXPECT_EQ(test.pszUtc, FormatUtc(ft)) << test.pszName;
    }
}

// Run with TZ=Europe/Berlin. The date's own rules apply, whatever today's season.
TEST(CTimeLocalBerlin, ConvertsWithTheRulesForThatDate)
{
    const LocalCase rgCases[] = {
        { "summer, library decides", 1999, 8, 9, 11, -1, "1999-08-09 09:00:00" },
        { "winter, library decides", 1999, 1, 15, 11, -1, "1999-01-15 10:00:00" },
        { "summer, said to be standard time", 1999, 8, 9, 11, 0, "1999-08-09 10:00:00" },
        { "winter, said to be summer time", 1999, 1, 15, 11, 1, "1999-01-15 09:00:00" },
        { "last day of summer time", 1999, 10, 30, 12, -1, "1999-10-30 10:00:00" },
        { "first day of winter time", 1999, 10, 31, 12, -1, "1999-10-31 11:00:00" },
    };
    ExpectLocalConversions("Europe/Berlin", rgCases, sizeof(rgCases) / sizeof(rgCases[0]));
}

// Run with TZ=UTC.
TEST(CTimeLocalUtc, LocalTimeIsUtc)
{
    const LocalCase rgCases[] = {
        { "summer", 1999, 8, 9, 11, -1, "1999-08-09 11:00:00" },
        { "winter", 1999, 1, 15, 11, -1, "1999-01-15 11:00:00" },
    };
    ExpectLocalConversions("UTC", rgCases, sizeof(rgCases) / sizeof(rgCases[0]));
}

TEST(CTimeLocal, FieldsThatNameNoDayGiveNoTime)
{
    EXPECT_EQ(0, CTime(1999, 13, 1, 11, 0, 0, -1).GetTime());
    EXPECT_EQ(0, CTime(1999, 2, 30, 11, 0, 0, -1).GetTime());
    EXPECT_EQ(0, CTime(1999, 2, 30, 11, 0, 0, 0).GetTime());
}

} // namespace
