// KDateTime: its arithmetic, its local calendar fields and text under known
// time zones (set through the runtime's TZ), the 2038 edge, file times and
// the time-zone labels. The zones have fixed offsets, without daylight
// saving, so that every expected value is exact.
#include <gtest/gtest.h>
#include <korvel.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <time.h>

namespace {

// Sets the runtime's time zone for one scope and puts the previous one back.
class TimeZone {
public:
    explicit TimeZone(const char* tz) : hadZone(getenv("TZ") != nullptr)
    {
        saved = hadZone ? getenv("TZ") : "";
        put(tz);
    }
    ~TimeZone() { put(hadZone ? saved.c_str() : ""); }

private:
    static void put(const char* tz)
    {
        _putenv((std::string("TZ=") + tz).c_str());
        _tzset();
    }
    bool hadZone;
    std::string saved;
};

const long July4Noon2011Utc = 1309780800;
const long Jan15Noon2011Utc = 1295092800;
const long LastSecond = 0x7FFFFFFF; // 2038-01-19 03:14:07 UTC

// splitDate and splitTime as "month/day/year hour:minute:second", with
// "!" after a field group whose call returned false.
std::string Split(const KDateTime& t)
{
    int month, day, year, hour, minute, second;
    bool date = t.splitDate(&month, &day, &year), time = t.splitTime(&hour, &minute, &second);
    char text[80];
    snprintf(text, sizeof(text), "%d/%d/%d%s %d:%d:%d%s", month, day, year, date ? "" : "!", hour, minute,
             second, time ? "" : "!");
    return text;
}

long Parsed(const char* text)
{
    KDateTime t(12345);
    t.set(text);
    return t.getSeconds();
}

} // namespace

void PrintTo(const KDateTime& t, std::ostream* os)
{
    *os << "KDateTime(" << t.getSeconds() << ")";
}

TEST(DateTime, ValuesCompareAndAddAsSignedSeconds)
{
    long before = (long)time(nullptr);
    KDateTime now, zero(0), unknown(-1);
    EXPECT_TRUE(now.isValid() && !now.isNull());
    EXPECT_TRUE(now.getSeconds() >= before && now.getSeconds() <= (long)time(nullptr));
    EXPECT_TRUE(zero.isNull() && !zero.isValid());
    EXPECT_TRUE(!unknown.isNull() && !unknown.isValid());
    zero.setCurrent();
    EXPECT_GE(zero.getSeconds(), before);

    KDateTime t(July4Noon2011Utc), later = t + 60;
    EXPECT_EQ(compare_times(t, later), -60);
    EXPECT_EQ(compare_times(later, t), 60);
    EXPECT_EQ(later - 60, t);
    EXPECT_TRUE(t < later && t <= later && later > t && later >= t && t != later && !(t == later));
    EXPECT_TRUE(t == July4Noon2011Utc && t != 0 && t > 0 && t >= July4Noon2011Utc && t <= July4Noon2011Utc);
    EXPECT_TRUE(KDateTime(-5) < KDateTime(5) && KDateTime(-1) < 0);

    KDateTime u(100);
    u += 50;
    u -= 20;
    u += KDateTime(1000);
    u -= KDateTime(130);
    EXPECT_EQ(u.getSeconds(), 1000);
    EXPECT_EQ((KDateTime(7) + KDateTime(8)).getSeconds(), 15);
    EXPECT_EQ((KDateTime(7) - KDateTime(8)).getSeconds(), -1);

    // The count is 32 bits: one second past the last one wraps to the least.
    KDateTime past = KDateTime(LastSecond) + 1;
    EXPECT_EQ(past.getSeconds(), LONG_MIN);
    EXPECT_FALSE(past.isValid());
    EXPECT_EQ(compare_times(past, KDateTime(LastSecond)), 1);
}

TEST(DateTime, LocalFieldsAndTextFollowTheTimeZone)
{
    {
        TimeZone zone("UTC0");
        EXPECT_EQ(Split(KDateTime(July4Noon2011Utc)), "7/4/2011 12:0:0");
        EXPECT_EQ(Split(KDateTime(LastSecond)), "1/19/2038 3:14:7");
        EXPECT_EQ(KDateTime(LastSecond).to_string(nullptr), "01/19/2038 03:14:07");
        EXPECT_EQ(KDateTime(0).to_string(nullptr), "01/01/1970 00:00:00");
        // No local time: before 1970, or past the wrap of the count.
        for (long v : {-2l, -86400l, LONG_MIN}) {
            EXPECT_EQ(Split(KDateTime(v)), "-1/-1/-1! -1:-1:-1!") << v;
            EXPECT_EQ(KDateTime(v).to_string("%Y"), "NULL") << v;
        }
        EXPECT_EQ(Split(KDateTime(-1)), "-1/-1/-1! -1:-1:-1!");
        EXPECT_EQ(KDateTime(-1).to_string(nullptr), "???");
        EXPECT_EQ(KDateTime(-1).to_string("%Y"), "???");
    }
    {
        TimeZone zone("EST5");
        EXPECT_EQ(Split(KDateTime(July4Noon2011Utc)), "7/4/2011 7:0:0");
        EXPECT_EQ(Split(KDateTime(Jan15Noon2011Utc)), "1/15/2011 7:0:0");
        EXPECT_EQ(KDateTime(LastSecond).to_string("%Y-%m-%d %H:%M"), "2038-01-18 22:14");
    }
    {
        TimeZone zone("CET-1");
        EXPECT_EQ(KDateTime(July4Noon2011Utc).to_string("%H:%M"), "13:00");
        EXPECT_EQ(KDateTime(LastSecond).to_string(nullptr), "01/19/2038 04:14:07");
    }
    // The text is limited to 99 bytes with its terminator: 98 characters
    // fit, 99 give nothing.
    std::string years;
    for (int i = 0; i < 24; ++i)
        years += "%Y";
    KDateTime t(July4Noon2011Utc);
    EXPECT_EQ(t.to_string((years + "ab").c_str()).length(), 98);
    EXPECT_EQ(t.to_string((years + "abc").c_str()).length(), 0);
}

TEST(DateTime, SetReadsDateAndTimeWords)
{
    TimeZone zone("EST5");
    const long Est = 5 * 3600, Midnight = July4Noon2011Utc - 12 * 3600;
    EXPECT_EQ(Parsed("7/4/2011 12:00:00"), July4Noon2011Utc + Est);
    EXPECT_EQ(Parsed("1/15/2011 12:00"), Jan15Noon2011Utc + Est);
    // The time may come first, '-' may separate the date, two-digit years;
    // blanks around and a third word are ignored.
    for (const char* text : {"12:30:15 7-4-11", "  7/4/2011\t12:30:15  ", "7/4/11 12:30:15 extra"})
        EXPECT_EQ(Parsed(text), Midnight + 12 * 3600 + 30 * 60 + 15 + Est) << text;
    EXPECT_EQ(Parsed("7/4/2011"), Midnight + Est);
    EXPECT_EQ(Parsed("7/4/2011 12"), Midnight + Est);
    // 70 to 99 are 1970 to 1999, below 69 is 2000 and later.
    EXPECT_EQ(Parsed("1/2/70"), 86400 + Est);
    EXPECT_EQ(KDateTime(Parsed("12/31/99")).to_string("%Y"), "1999");
    EXPECT_EQ(KDateTime(Parsed("1/1/37")).to_string("%Y"), "2037");
    EXPECT_EQ(KDateTime(Parsed("1/1/00")).to_string("%Y"), "2000");
    // Every text written by to_string reads back to its value.
    for (long v = 1000000; v < LastSecond - 40000000; v += 39916801)
        EXPECT_EQ(Parsed(KDateTime(v).to_string(nullptr)), v) << v;

    // No words: the null time. Missing date parts are January 1st 1900, which
    // has no count: the unknown time, as have years before 1970.
    for (const char* text : {"", "   ", (const char*)nullptr})
        EXPECT_EQ(Parsed(text), 0);
    for (const char* text : {"12:30", "7/4", "hello", "7/4/1969"})
        EXPECT_EQ(Parsed(text), -1) << text;

    KDateTime d(1);
    EXPECT_TRUE(string_to_value(&d, KString("7/4/2011 12:00:00")));
    EXPECT_EQ(d.getSeconds(), July4Noon2011Utc + Est);
    EXPECT_TRUE(string_to_value(&d, KString("")));
    EXPECT_TRUE(d.isNull());
}

TEST(DateTime, TheLastSecondOf2038)
{
    TimeZone zone("UTC0");
    EXPECT_EQ(Parsed("1/19/2038 3:14:07"), LastSecond);
    EXPECT_EQ(Parsed("1/19/2038 3:14:08"), -1);
    EXPECT_EQ(Parsed("12/31/2040"), -1);
    SYSTEMTIME st = {2038, 1, 2, 19, 3, 14, 7, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(GetDateTime(ft).getSeconds(), LastSecond);
    st.wSecond = 8;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(GetDateTime(ft).getSeconds(), -1);
}

TEST(DateTime, FromFileTimes)
{
    {
        TimeZone zone("EST5");
        SYSTEMTIME st = {2011, 7, 1, 4, 12, 0, 0, 0};
        FILETIME ft, bad = {0xFFFFFFFF, 0xFFFFFFFF};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        EXPECT_EQ(GetDateTime(ft).getSeconds(), Parsed("7/4/2011 12:00:00"));
        EXPECT_EQ(GetDateTime(bad).getSeconds(), -1);
    }

    // A real file in the machine's own zone: its write time, made local by
    // the system and read back through the runtime's local time, keeps the
    // calendar fields of that local file time.
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"kdt", 0, path);
    HANDLE f = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    SYSTEMTIME utc = {2011, 3, 2, 15, 9, 26, 53, 0}, local;
    FILETIME written, readBack, localTime;
    SystemTimeToFileTime(&utc, &written);
    EXPECT_TRUE(SetFileTime(f, nullptr, nullptr, &written));
    EXPECT_TRUE(GetFileTime(f, nullptr, nullptr, &readBack));
    CloseHandle(f);
    DeleteFileW(path);
    ASSERT_TRUE(FileTimeToLocalFileTime(&readBack, &localTime));
    ASSERT_TRUE(FileTimeToSystemTime(&localTime, &local));
    char expected[80];
    snprintf(expected, sizeof(expected), "%d/%d/%d %d:%d:%d", local.wMonth, local.wDay, local.wYear, local.wHour,
             local.wMinute, local.wSecond);
    EXPECT_EQ(Split(GetDateTime(localTime)), expected);
}

TEST(DateTime, TimeZoneLabels)
{
    const struct {
        int hours;
        const char* text;
    } table[] = {{-9, "AKST (GMT-9)"}, {-8, "PST (GMT-8)"},  {-7, "PDT (GMT-7)"},    {-6, "MDT (GMT-6)"},
                 {-5, "EST (GMT-5)"},  {-4, "EDT (GMT-4)"},  {-3, "ADT (GMT-3)"},    {0, "GMT (GMT+0)"},
                 {1, "BST (GMT+1)"},   {2, "EET (GMT+2)"},   {3, "MSK (GMT+3)"},     {4, "MSD (GMT+4)"},
                 {8, "WST (GMT+8)"},   {9, "CST (GMT+9)"},   {5, "    (GMT+5)"},     {10, "    (GMT+10)"},
                 {-12, "    (GMT-12)"}, {-1, "    (GMT-1)"}};
    for (const auto& row : table)
        EXPECT_EQ(GetTimeZoneString(row.hours), row.text) << row.hours;
}
