// KDateTime: its arithmetic, its local calendar fields and text under known
// time zones (set through the runtime's TZ), the 2038 edge, file times and
// the time-zone labels. The zones have fixed offsets, without daylight
// saving, so that every expected value is exact.
#include <gtest/gtest.h>
#include <korvel.h>
#include <limits.h>
#include <stdlib.h>
#include <string>
#include <time.h>

namespace {

// Sets the runtime's time zone for one scope and puts the previous one back.
class TimeZone {
public:
    explicit TimeZone(const char* tz)
    {
        const char* old = getenv("TZ");
        saved = old ? old : "";
        hadZone = old != nullptr;
        put(tz);
    }
    ~TimeZone() { put(hadZone ? saved.c_str() : ""); }

private:
    static void put(const char* tz)
    {
        std::string setting = std::string("TZ=") + tz;
        _putenv(setting.c_str());
        _tzset();
    }
    std::string saved;
    bool hadZone;
};

const long July4Noon2011Utc = 1309780800;
const long Jan15Noon2011Utc = 1295092800;
const long LastSecond = 0x7FFFFFFF; // 2038-01-19 03:14:07 UTC

struct Fields {
    int month, day, year, hour, minute, second;
    bool dateOk, timeOk;
};

Fields Split(const KDateTime& t)
{
    Fields f;
    f.dateOk = t.splitDate(&f.month, &f.day, &f.year);
    f.timeOk = t.splitTime(&f.hour, &f.minute, &f.second);
    return f;
}

KDateTime Parsed(const char* text)
{
    KDateTime t(12345);
    t.set(text);
    return t;
}

} // namespace

void PrintTo(const KDateTime& t, std::ostream* os)
{
    *os << "KDateTime(" << t.getSeconds() << ")";
}

TEST(DateTime, NullValidAndCurrent)
{
    long before = (long)time(nullptr);
    KDateTime now;
    long after = (long)time(nullptr);
    EXPECT_TRUE(now.isValid());
    EXPECT_FALSE(now.isNull());
    EXPECT_GE(now.getSeconds(), before);
    EXPECT_LE(now.getSeconds(), after);

    KDateTime zero(0), unknown(-1);
    EXPECT_TRUE(zero.isNull());
    EXPECT_FALSE(zero.isValid());
    EXPECT_FALSE(unknown.isNull());
    EXPECT_FALSE(unknown.isValid());

    KDateTime t(5);
    t.setCurrent();
    EXPECT_GE(t.getSeconds(), before);
    KDateTime copy(t);
    EXPECT_EQ(copy, t);
}

TEST(DateTime, ComparisonAndArithmetic)
{
    KDateTime t(July4Noon2011Utc);
    KDateTime later = t + 60;
    EXPECT_EQ(compare_times(t, later), -60);
    EXPECT_EQ(compare_times(later, t), 60);
    EXPECT_EQ(compare_times(t, t), 0);
    EXPECT_EQ(later - 60, t);
    EXPECT_TRUE(t < later && t <= later && later > t && later >= t && t != later);
    EXPECT_TRUE(t == July4Noon2011Utc && t != 0 && t > 0 && t >= July4Noon2011Utc);
    EXPECT_TRUE(t < July4Noon2011Utc + 1 && t <= July4Noon2011Utc);

    // The comparisons are signed.
    EXPECT_LT(KDateTime(-5), KDateTime(5));
    EXPECT_TRUE(KDateTime(-1) < 0);

    KDateTime u(100);
    u += 50;
    u -= 20;
    EXPECT_EQ(u.getSeconds(), 130);
    u += KDateTime(1000);
    EXPECT_EQ(u.getSeconds(), 1130);
    u -= KDateTime(130);
    EXPECT_EQ(u.getSeconds(), 1000);
    EXPECT_EQ((KDateTime(7) + KDateTime(8)).getSeconds(), 15);
    EXPECT_EQ((KDateTime(7) - KDateTime(8)).getSeconds(), -1);

    // The count is 32 bits: one second past the last one wraps to the least.
    KDateTime last(LastSecond);
    EXPECT_TRUE(last.isValid());
    KDateTime past = last + 1;
    EXPECT_EQ(past.getSeconds(), LONG_MIN);
    EXPECT_FALSE(past.isValid());
    EXPECT_EQ(compare_times(past, last), 1);
}

TEST(DateTime, LocalFieldsFollowTheTimeZone)
{
    {
        TimeZone zone("UTC0");
        Fields f = Split(KDateTime(July4Noon2011Utc));
        EXPECT_TRUE(f.dateOk && f.timeOk);
        EXPECT_EQ(f.month, 7);
        EXPECT_EQ(f.day, 4);
        EXPECT_EQ(f.year, 2011);
        EXPECT_EQ(f.hour, 12);
        EXPECT_EQ(f.minute, 0);
        EXPECT_EQ(f.second, 0);
        f = Split(KDateTime(LastSecond));
        EXPECT_EQ(f.month * 100 + f.day, 119);
        EXPECT_EQ(f.year, 2038);
        EXPECT_EQ(f.hour * 10000 + f.minute * 100 + f.second, 31407);
        EXPECT_EQ(KDateTime(LastSecond).to_string(nullptr), "01/19/2038 03:14:07");
    }
    {
        TimeZone zone("EST5");
        Fields f = Split(KDateTime(July4Noon2011Utc));
        EXPECT_EQ(f.hour, 7);
        EXPECT_EQ(f.day, 4);
        f = Split(KDateTime(Jan15Noon2011Utc));
        EXPECT_EQ(f.hour, 7);
        EXPECT_EQ(f.day, 15);
        f = Split(KDateTime(LastSecond));
        EXPECT_EQ(f.day, 18);
        EXPECT_EQ(f.hour, 22);
        EXPECT_EQ(KDateTime(LastSecond).to_string("%Y-%m-%d %H:%M"), "2038-01-18 22:14");
    }
    {
        TimeZone zone("CET-1");
        EXPECT_EQ(KDateTime(July4Noon2011Utc).to_string("%H:%M"), "13:00");
        EXPECT_EQ(KDateTime(LastSecond).to_string(nullptr), "01/19/2038 04:14:07");
    }
}

TEST(DateTime, ValuesWithoutALocalTime)
{
    TimeZone zone("UTC0");
    for (long v : {-1l, -2l, -86400l, LONG_MIN}) {
        Fields f = Split(KDateTime(v));
        EXPECT_FALSE(f.dateOk) << v;
        EXPECT_FALSE(f.timeOk) << v;
        EXPECT_EQ(f.month, -1);
        EXPECT_EQ(f.day, -1);
        EXPECT_EQ(f.year, -1);
        EXPECT_EQ(f.hour, -1);
        EXPECT_EQ(f.minute, -1);
        EXPECT_EQ(f.second, -1);
    }
    EXPECT_EQ(KDateTime(-1).to_string(nullptr), "???");
    EXPECT_EQ(KDateTime(-1).to_string("%Y"), "???");
    EXPECT_EQ(KDateTime(-2).to_string(nullptr), "NULL");
    EXPECT_EQ(KDateTime(LONG_MIN).to_string("%Y"), "NULL");
    EXPECT_EQ(KDateTime(0).to_string(nullptr), "01/01/1970 00:00:00");
}

TEST(DateTime, TextFormsRoundTrip)
{
    TimeZone zone("EST5");
    KDateTime t = Parsed("7/4/2011 12:00:00");
    EXPECT_EQ(t.getSeconds(), July4Noon2011Utc + 5 * 3600);
    EXPECT_EQ(t.to_string(nullptr), "07/04/2011 12:00:00");
    Fields f = Split(t);
    EXPECT_EQ(f.month, 7);
    EXPECT_EQ(f.day, 4);
    EXPECT_EQ(f.year, 2011);
    EXPECT_EQ(Parsed("1/15/2011 12:00").getSeconds(), Jan15Noon2011Utc + 5 * 3600);
    // Every text written by to_string reads back to the same value.
    for (long v = 1000000; v < LastSecond - 40000000; v += 39916801) {
        KDateTime x(v);
        EXPECT_EQ(Parsed(x.to_string(nullptr)).getSeconds(), v) << (const char*)x.to_string(nullptr);
    }

    // The text is limited to 99 bytes with its terminator: 98 characters
    // fit, 99 give nothing.
    std::string years;
    for (int i = 0; i < 24; ++i)
        years += "%Y";
    EXPECT_EQ(t.to_string((years + "ab").c_str()).length(), 98);
    EXPECT_EQ(t.to_string((years + "abc").c_str()).length(), 0);
}

TEST(DateTime, SetReadsDateAndTimeWords)
{
    TimeZone zone("EST5");
    const long Est = 5 * 3600;
    // The time may come first, '-' may separate the date, two-digit years.
    EXPECT_EQ(Parsed("12:30:15 7-4-11").getSeconds(), 1309782615 + Est);
    EXPECT_EQ(Parsed("  7/4/2011\t12:30:15  ").getSeconds(), 1309782615 + Est);
    EXPECT_EQ(Parsed("7/4/11 12:30:15 extra words").getSeconds(), 1309782615 + Est);
    EXPECT_EQ(Parsed("7/4/2011").getSeconds(), July4Noon2011Utc - 12 * 3600 + Est);
    EXPECT_EQ(Parsed("7/4/2011 12").getSeconds(), July4Noon2011Utc - 12 * 3600 + Est);
    // 69 to 99 are 1969 to 1999, below 69 is 2000 and later.
    EXPECT_EQ(Parsed("1/2/70").getSeconds(), 86400 + Est);
    EXPECT_EQ(Parsed("12/31/99").to_string("%Y"), "1999");
    EXPECT_EQ(Parsed("1/1/37").to_string("%Y"), "2037");
    EXPECT_EQ(Parsed("1/1/00").to_string("%Y"), "2000");

    // No words: the null time. Missing date parts are January 1st 1900, which
    // has no count: the unknown time.
    EXPECT_TRUE(Parsed("").isNull());
    EXPECT_TRUE(Parsed("   ").isNull());
    EXPECT_TRUE(Parsed(nullptr).isNull());
    EXPECT_EQ(Parsed("12:30").getSeconds(), -1);
    EXPECT_EQ(Parsed("7/4").getSeconds(), -1);
    EXPECT_EQ(Parsed("hello").getSeconds(), -1);
    EXPECT_EQ(Parsed("hello").to_string(nullptr), "???");
    EXPECT_EQ(Parsed("7/4/1969").getSeconds(), -1);

    KDateTime d(1);
    EXPECT_TRUE(string_to_value(&d, KString("7/4/2011 12:00:00")));
    EXPECT_EQ(d.getSeconds(), July4Noon2011Utc + Est);
    EXPECT_TRUE(string_to_value(&d, KString("")));
    EXPECT_TRUE(d.isNull());
}

TEST(DateTime, TheLastSecondOf2038)
{
    TimeZone zone("UTC0");
    EXPECT_EQ(Parsed("1/19/2038 3:14:07").getSeconds(), LastSecond);
    EXPECT_EQ(Parsed("1/19/38 3:14:07").to_string(nullptr), "01/19/2038 03:14:07");
    // A second later does not fit the count.
    EXPECT_EQ(Parsed("1/19/2038 3:14:08").getSeconds(), -1);
    EXPECT_EQ(Parsed("12/31/2040").getSeconds(), -1);
    SYSTEMTIME st = {2038, 1, 2, 19, 3, 14, 8, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(GetDateTime(ft).getSeconds(), -1);
    st.wSecond = 7;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(GetDateTime(ft).getSeconds(), LastSecond);
}

TEST(DateTime, FromFileTimes)
{
    {
        TimeZone zone("EST5");
        SYSTEMTIME st = {2011, 7, 1, 4, 12, 0, 0, 0};
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        EXPECT_EQ(GetDateTime(ft), Parsed("7/4/2011 12:00:00"));
        FILETIME bad = {0xFFFFFFFF, 0xFFFFFFFF};
        EXPECT_EQ(GetDateTime(bad).getSeconds(), -1);
    }

    // A real file: its local write time, read back through the runtime's own
    // local time, gives the calendar fields of that local file time.
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"kdt", 0, path);
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    SYSTEMTIME utc = {2011, 3, 2, 15, 9, 26, 53, 0};
    FILETIME written, readBack, local;
    SystemTimeToFileTime(&utc, &written);
    EXPECT_TRUE(SetFileTime(f, nullptr, nullptr, &written));
    CloseHandle(f);
    f = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(GetFileTime(f, nullptr, nullptr, &readBack));
    CloseHandle(f);
    DeleteFileW(path);
    ASSERT_TRUE(FileTimeToLocalFileTime(&readBack, &local));
    SYSTEMTIME fields;
    ASSERT_TRUE(FileTimeToSystemTime(&local, &fields));
    KDateTime t = GetDateTime(local);
    ASSERT_TRUE(t.isValid());
    Fields back = Split(t);
    EXPECT_EQ(back.year, fields.wYear);
    EXPECT_EQ(back.month, fields.wMonth);
    EXPECT_EQ(back.day, fields.wDay);
    EXPECT_EQ(back.hour, fields.wHour);
    EXPECT_EQ(back.minute, fields.wMinute);
    EXPECT_EQ(back.second, fields.wSecond);
}

TEST(DateTime, TimeZoneLabels)
{
    EXPECT_EQ(GetTimeZoneString(-5), "EST (GMT-5)");
    EXPECT_EQ(GetTimeZoneString(0), "GMT (GMT+0)");
    EXPECT_EQ(GetTimeZoneString(5), "    (GMT+5)");
    EXPECT_EQ(GetTimeZoneString(10), "    (GMT+10)");
    EXPECT_EQ(GetTimeZoneString(-12), "    (GMT-12)");
    const struct {
        int hours;
        const char* text;
    } table[] = {{-9, "AKST (GMT-9)"}, {-8, "PST (GMT-8)"}, {-7, "PDT (GMT-7)"}, {-6, "MDT (GMT-6)"},
                 {-4, "EDT (GMT-4)"},  {-3, "ADT (GMT-3)"}, {1, "BST (GMT+1)"},  {2, "EET (GMT+2)"},
                 {3, "MSK (GMT+3)"},   {4, "MSD (GMT+4)"},  {8, "WST (GMT+8)"},  {9, "CST (GMT+9)"}};
    for (const auto& row : table)
        EXPECT_EQ(GetTimeZoneString(row.hours), row.text) << row.hours;
}
