// KDateTime, the library's point in time: a 32-bit signed count of seconds
// since 1970-01-01 00:00 UTC that compares and adds like a number and turns
// into calendar fields and text in local time.
//
// 0 is the null time, values above 0 are valid times, and -1 (all bits set)
// stands for an unknown time, shown as "???". The count is 32 bits on every
// target, so times after 2038-01-19 03:14:07 UTC cannot be held.
#ifndef KORVEL_KDATETIME_H
#define KORVEL_KDATETIME_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"

class KORVEL_API KDateTime {
public:
    // The current time.
    KDateTime();
    KDateTime(const KDateTime& other) = default;
    explicit KDateTime(long seconds) : value(seconds) {}
    KDateTime& operator=(const KDateTime& other) = default;

    void setCurrent();
    long getSeconds() const { return value; }
    bool isNull() const { return value == 0; }
    bool isValid() const { return value > 0; }

    // Signed comparison of the second counts.
    bool operator==(const KDateTime& t) const { return value == t.value; }
    bool operator!=(const KDateTime& t) const { return value != t.value; }
    bool operator<(const KDateTime& t) const { return value < t.value; }
    bool operator<=(const KDateTime& t) const { return value <= t.value; }
    bool operator>(const KDateTime& t) const { return value > t.value; }
    bool operator>=(const KDateTime& t) const { return value >= t.value; }
    bool operator==(long t) const { return value == t; }
    bool operator!=(long t) const { return value != t; }
    bool operator<(long t) const { return value < t; }
    bool operator<=(long t) const { return value <= t; }
    bool operator>(long t) const { return value > t; }
    bool operator>=(long t) const { return value >= t; }

    // Arithmetic in seconds; it wraps around at the ends of the 32-bit range.
    KDateTime& operator+=(int seconds);
    KDateTime& operator-=(int seconds);
    KDateTime& operator+=(const KDateTime& t);
    KDateTime& operator-=(const KDateTime& t);

    // Local calendar date (month 1-12, day 1-31, four-digit year) and time of
    // day; false, with -1 in all three, when the value has no local time.
    bool splitDate(int* month, int* day, int* year) const;
    bool splitTime(int* hour, int* minute, int* second) const;

    // Local time through strftime, "%m/%d/%Y %H:%M:%S" for a null format;
    // "???" for the unknown time, "NULL" when there is no local time.
    KString to_string(const char* format = nullptr) const;
    // Reads "month/day/year hour:minute:second" (either word may be missing
    // or come first, '-' may separate the date) as local time.
    void set(const char* text);

private:
    long value;
};

static_assert(sizeof(KDateTime) == 4, "a KDateTime is its 32-bit count");

KORVEL_API KDateTime operator+(const KDateTime& t, int seconds);
KORVEL_API KDateTime operator-(const KDateTime& t, int seconds);
KORVEL_API KDateTime operator+(const KDateTime& a, const KDateTime& b);
KORVEL_API KDateTime operator-(const KDateTime& a, const KDateTime& b);
// a - b in seconds.
KORVEL_API int compare_times(const KDateTime& a, const KDateTime& b);

// The calendar fields of a local file time (see FileTimeToLocalFileTime) as a
// local time; the unknown time when they cannot be converted.
KORVEL_API KDateTime GetDateTime(const FILETIME& localFileTime);
// "EST (GMT-5)": a zone name for common offsets from GMT, else three blanks.
KORVEL_API KString GetTimeZoneString(int hoursFromGmt);

#endif
