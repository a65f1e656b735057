// KDateTime: a 32-bit count of seconds, with its calendar fields and text
// taken through the runtime's 64-bit local-time functions.
#include "kdatetime.h"
#include <stdio.h>
#include <string.h>
#include <time.h>

namespace {

const long UnknownTime = -1;

// The local calendar fields of a second count; false when the runtime has no
// local time for it (before 1970, or the unknown time).
bool LocalFields(long value, struct tm* out)
{
    time_t t = value;
    struct tm* fields = localtime(&t);
    if (!fields)
        return false;
    *out = *fields;
    return true;
}

// The second count of local calendar fields, daylight saving decided by the
// system; the unknown time when the result does not fit 32 bits.
long FromLocalFields(int year, int month, int day, int hour, int minute, int second)
{
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    time_t t = mktime(&fields);
    if (t < 0 || t > 0x7FFFFFFF)
        return UnknownTime;
    return (long)t;
}

// Copies the next blank-separated word (at most size - 1 characters) and
// returns the position after it; null when only blanks are left.
const char* NextWord(const char* p, char* word, int size)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
        ++p;
    if (!*p)
        return nullptr;
    int n = 0;
    for (; *p && *p != ' ' && *p != '\t' && *p != '\n' && *p != '\r'; ++p) {
        if (n < size - 1)
            word[n++] = *p;
    }
    word[n] = 0;
    return p;
}

// Two-digit years: 00-68 are 2000-2068, 69-99 are 1969-1999.
int FullYear(int year)
{
    if (year < 69)
        return year + 2000;
    if (year <= 99)
        return year + 1900;
    return year;
}

long Add(long a, long b)
{
    return (long)((unsigned long)a + (unsigned long)b);
}

long Subtract(long a, long b)
{
    return (long)((unsigned long)a - (unsigned long)b);
}

} // namespace

KDateTime::KDateTime()
{
    setCurrent();
}

void KDateTime::setCurrent()
{
    value = (long)time(nullptr);
}

KDateTime& KDateTime::operator+=(int seconds)
{
    value = Add(value, seconds);
    return *this;
}

KDateTime& KDateTime::operator-=(int seconds)
{
    value = Subtract(value, seconds);
    return *this;
}

KDateTime& KDateTime::operator+=(const KDateTime& t)
{
    value = Add(value, t.value);
    return *this;
}

KDateTime& KDateTime::operator-=(const KDateTime& t)
{
    value = Subtract(value, t.value);
    return *this;
}

KDateTime operator+(const KDateTime& t, int seconds)
{
    KDateTime r(t);
    return r += seconds;
}

KDateTime operator-(const KDateTime& t, int seconds)
{
    KDateTime r(t);
    return r -= seconds;
}

KDateTime operator+(const KDateTime& a, const KDateTime& b)
{
    KDateTime r(a);
    return r += b;
}

KDateTime operator-(const KDateTime& a, const KDateTime& b)
{
    KDateTime r(a);
    return r -= b;
}

int compare_times(const KDateTime& a, const KDateTime& b)
{
    return (int)Subtract(a.getSeconds(), b.getSeconds());
}

bool KDateTime::splitDate(int* month, int* day, int* year) const
{
    struct tm fields;
    if (!LocalFields(value, &fields)) {
        *month = *day = *year = -1;
        return false;
    }
    *month = fields.tm_mon + 1;
    *day = fields.tm_mday;
    *year = fields.tm_year + 1900;
    return true;
}

bool KDateTime::splitTime(int* hour, int* minute, int* second) const
{
    struct tm fields;
    if (!LocalFields(value, &fields)) {
        *hour = *minute = *second = -1;
        return false;
    }
    *hour = fields.tm_hour;
    *minute = fields.tm_min;
    *second = fields.tm_sec;
    return true;
}

KString KDateTime::to_string(const char* format) const
{
    if (value == UnknownTime)
        return KString("???");
    struct tm fields;
    if (!LocalFields(value, &fields))
        return KString("NULL");
    char text[100];
    size_t n = strftime(text, 99, format ? format : "%m/%d/%Y %H:%M:%S", &fields);
    text[n < 100 ? n : 0] = 0;
    return KString(text);
}

void KDateTime::set(const char* text)
{
    char words[2][100];
    int count = 0;
    for (const char* p = text ? text : ""; count < 2 && (p = NextWord(p, words[count], 100));)
        ++count;
    if (count == 0) {
        value = 0;
        return;
    }
    int month = 1, day = 1, year = 1900, hour = 0, minute = 0, second = 0;
    bool haveDate = false, haveTime = false;
    for (int i = 0; i < count; ++i) {
        char* word = words[i];
        if (!haveDate && strpbrk(word, "/-")) {
            for (char* c = word; (c = strchr(c, '-')) != nullptr; ++c)
                *c = '/';
            sscanf(word, "%d/%d/%d", &month, &day, &year);
            year = FullYear(year);
            haveDate = true;
        }
        if (!haveTime && strchr(word, ':')) {
            sscanf(word, "%d:%d:%d", &hour, &minute, &second);
            haveTime = true;
        }
    }
    value = FromLocalFields(year, month, day, hour, minute, second);
}

KDateTime GetDateTime(const FILETIME& localFileTime)
{
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&localFileTime, &st))
        return KDateTime(UnknownTime);
    return KDateTime(FromLocalFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                                     st.wSecond));
}

KString GetTimeZoneString(int hoursFromGmt)
{
    static const struct {
        int hours;
        const char* name;
    } Zones[] = {
        {-9, "AKST"}, {-8, "PST"}, {-7, "PDT"}, {-6, "MDT"}, {-5, "EST"},
        {-4, "EDT"},  {-3, "ADT"}, {0, "GMT"},  {1, "BST"},  {2, "EET"},
        {3, "MSK"},   {4, "MSD"},  {8, "WST"},  {9, "CST"},
    };
    const char* name = "   ";
    for (const auto& zone : Zones) {
        if (zone.hours == hoursFromGmt)
            name = zone.name;
    }
    KString text;
    text.set("%s (GMT%+2d)", name, hoursFromGmt);
    return text;
}
