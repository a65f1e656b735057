// The formatting language, KFormatSpec, separators, value conversions, rounding and KDateTime (under
// fixed-offset time zones set through the runtime's TZ, so that every expected value is exact).
#include <gtest/gtest.h>
#include <limits.h>
#include <malloc.h>
#include <stdio.h>
#include <time.h>
#include "test_support.h"

namespace {

// What the runtime's wide printf makes of the same conversion.
std::string Runtime(const wchar_t* format, ...)
{
    wchar_t buf[256] = {0};
    va_list args;
    va_start(args, format);
    _vsnwprintf(buf, 255, format, args);
    va_end(args);
    return Narrow(buf);
}

// "ok <value>" or "no <value>": what string_to_value returned, and the destination after it.
template <class T, class... Base>
std::string Parse(T start, const wchar_t* text, Base... base)
{
    const bool ok = string_to_value(&start, text, base...);
    return (ok ? "ok " : "no ") + std::to_string(start);
}

template <class T>
std::wstring ToText(const T& value)
{
    KString s;
    value_to_string(s, &value);
    return Wide(s);
}

// A window whose toString shows the text it was given.
class NamedWindow : public KWindow {
public:
    KString toString(const char* format) override
    {
        ++calls;
        lastFormat = format ? format : "(null)";
        return KString(("<" + lastFormat + ">").c_str());
    }
    int calls = 0;
    std::string lastFormat;
};

// The runtime's TZ for one scope (the kit's EnvVar sets the process environment; _tzset reads the runtime's).
void PutZone(const char* tz)
{
    _putenv((std::string("TZ=") + tz).c_str());
    _tzset();
}

struct TimeZone {
    std::string saved = getenv("TZ") ? getenv("TZ") : "";
    explicit TimeZone(const char* tz) { PutZone(tz); }
    ~TimeZone() { PutZone(saved.c_str()); }
};

const long July4Noon2011Utc = 1309780800, Jan15Noon2011Utc = 1295092800;
const long LastSecond = 0x7FFFFFFF; // 2038-01-19 03:14:07 UTC

// splitDate and splitTime as "m/d/y h:m:s", with "!" after a group whose call returned false.
std::string Split(long seconds)
{
    int month, day, year, hour, minute, second;
    KDateTime t(seconds);
    bool date = t.splitDate(&month, &day, &year), time = t.splitTime(&hour, &minute, &second);
    return Format("%d/%d/%d%s %d:%d:%d%s", month, day, year, date ? "" : "!", hour, minute, second,
                  time ? "" : "!");
}

long Parsed(const char* text)
{
    KDateTime t(12345);
    t.set(text);
    return t.getSeconds();
}

std::string Text(long seconds, const char* format) { return Narrow(KDateTime(seconds).to_string(format)); }

TEST(Format, IntegerFieldsSizeModifiersAndSeparators)
{
    EXPECT_EQ(Format("%5d|%-5d|%05d|%06d", 42, 42, -42, -42), "   42|42   |00-42|000-42");
    EXPECT_EQ(Format("%+d %+d %+d %+06d", 0, -3, 7, 42), "+0 -3 +7 000+42");
    // One flag only, and the pad character stays '0' when left-justified.
    EXPECT_EQ(Format("%-05d|%*d|%-*d|%*d|", 42, 4, 7, 3, 8, -5, 1), "42000|   7|8  |1|");
    // Text longer than the width or the precision is never cut.
    KString s;
    s.set("%3d|%.2s|%05s|%-4c|%3C", 123456, "abcdef", "ab", 'x', 0x263A);
    EXPECT_EQ(Wide(s), L"123456|abcdef|000ab|x   |  \x263A");
    EXPECT_EQ(Format("%d %d %u %lu", INT_MIN, INT_MAX, -1, 7ul), "-2147483648 2147483647 4294967295 7");
    EXPECT_EQ(Format("%x %X %b %b %08X", -1, 255, 5, 0, 0xBEEF), "ffffffff FF 101 0 0000BEEF");
    EXPECT_EQ(Format("100%% of %d%%, %%d", 3), "100% of 3%, %d");
    char pointers[40];
    snprintf(pointers, sizeof(pointers), "%p|%p", (void*)(UINT_PTR)0x1234abcd, (void*)nullptr);
    EXPECT_EQ(Format("%p|%p", (void*)(UINT_PTR)0x1234abcd, nullptr), pointers);
    s = "kept";
    EXPECT_THROW(s.set("%*d", INT_MAX, 1), std::bad_alloc);
    EXPECT_EQ(s, "kept");
    // The brace offset is added without a size modifier, to d and D only; {} is 0; L is ignored.
    EXPECT_EQ(Format("%{1}d|%{1}ld|%{1}hd|%{1}Hd", 4, 4l, 4, 4ll), "5|4|4|4");
    EXPECT_EQ(Format("%{-1}D|%5{10}d|%-4{1}d|", 1001, 4, 0), "1,000|   14|1   |");
    EXPECT_EQ(Format("%{}d %{2}Ld %{5}u %{5}x", 4, 4, 1u, 1), "4 6 1 1");
    EXPECT_EQ(Format("%hd %d %hd", 0x12345, 7, 0xFFFF), "9029 7 -1");
    // Each 64-bit value is followed by an int, to catch a wrong read size.
    EXPECT_EQ(Format("%Hd|%d|%Hd|%d", -9000000000ll, 5, LLONG_MIN, 6),
              "-9000000000|5|-9223372036854775808|6");
    EXPECT_EQ(Format("%HD|%d|%+Hd", 1234567890123ll, 7, 12ll), "1,234,567,890,123|7|+12");
    EXPECT_EQ(Format("%Hx|%HX|%d", 0x123456789abcdefull, 0xFEDCBA9876543210ull, 8),
              "123456789abcdef|FEDCBA9876543210|8");
    EXPECT_EQ(Format("%Hb|%d", 1ull << 40, 9), "1" + std::string(40, '0') + "|9");
    // u reads 32 bits even with H; h makes u and b take 16 bits unsigned, x widen the short's sign.
    EXPECT_EQ(Format("%Hu|%d", 4000000000u, 5), "4000000000|5");
    EXPECT_EQ(Format("%hu|%hb|%hx|%hX", 70000, -1, -1, 0x18000), "4464|1111111111111111|ffffffff|FFFF8000");
    EXPECT_EQ(Format("%ld|%lx|%lu", -5l, 255ul, 4000000000ul), "-5|ff|4000000000");
#ifdef _WIN64
    // Each argument fills an 8-byte slot: a 32-bit read must ignore an upper half left dirty.
    const unsigned long long dirty = 0xDEADBEEF00000000ull;
    unsigned long long slots[] = {dirty | 4000000000u, dirty | 7, dirty | 0xFFFFFFFEu,
                                  dirty | 0x12345,     dirty | 0xAB, dirty | 5};
    s._vsprint("%Hu|%u|%d|%hu|%x|%b", reinterpret_cast<va_list>(slots));
    EXPECT_EQ(s, "4000000000|7|-2|9029|ab|101");
#endif
    EXPECT_EQ(Format("%D|%D|%D|%D|%D|%D", 1234567, -123, -1234, 0, 999, INT_MIN),
              "1,234,567|-123|-1,234|0|999|-2,147,483,648");
    EXPECT_EQ(Format("%+D|%10D|%-8D|", 1234, 1234567, -1000), "+1,234| 1,234,567|-1,000  |");
    EXPECT_EQ(Format("%F|%.2F|%.0F|%.1F", 1234.5, -1012.25, 1234567.0, 999.94),
              "1,234.500000|-1,012.25|1,234,567|999.9");
    // Large values go through the runtime and get their separators too.
    EXPECT_EQ(Format("%+.1F|%12.1F|%.0F", 5000.0, -123456.78, 1e15),
              "+5,000.0|  -123,456.8|1,000,000,000,000,000");
    // In place, within the capacity given.
    const std::tuple<const char*, int, bool, const char*> cases[] = {
        {"12345", 6, false, "12345"},         {"12345", 7, false, "12,345"},
        {"1234567890", 12, false, "1234567,890"}, {"+123", 32, false, "+123"},
        {"-1012.34", 32, true, "-1,012.34"},  {"1.5e+010", 32, true, "1.5e+010"},
        {"1234567", 32, true, "1,234,567"},   {"123456.5", 9, true, "123456.5"}};
    for (const auto& [in, size, isFloat, out] : cases) {
        char text[32];
        strcpy(text, in);
        (isFloat ? InsertFloatCommas : InsertCommas)(text, size);
        EXPECT_STREQ(text, out) << in << " in " << size;
    }
}

TEST(Format, FloatingPointFollowsTheRuntime)
{
    EXPECT_EQ(Format("%g|%.2e|%+.1f|%f", 0.5, 1500.0, 2.0, 1.5), Runtime(L"0.5|%.2e|+2.0|1.500000", 1500.0));
    EXPECT_EQ(Format("%+e|%+g|%.3g", 12.5, 12.5, 1234.5), Runtime(L"%+e|%g|%.3g", 12.5, 12.5, 1234.5));
    EXPECT_EQ(Format("%08.2f|%-8.1f|%.0f|%.*f", -3.14159, 2.35, 0.4, 3, 1.0), "000-3.14|2.4     |0|1.000");
    // A '.' without digits or '*' gives no precision: the default of 6.
    EXPECT_EQ(Format("%.f|%+.f|%.F", 2.75, 2.75, 1234.5), "2.750000|+2.750000|1,234.500000");
    EXPECT_EQ(Format("%.e|%5.f", 1500.0, 0.5), Runtime(L"%e|%5f", 1500.0, 0.5));
    // Every %f has the runtime's digits: at or near rounding halves, -0, large and tiny values.
    const double values[] = {0.0,   -0.0,   0.125,     0.375,         2.5,        -2.5,  1.005,
                             1.115, -1.005, 0.0049999, 123456789.987, 1e11 + 0.5, 1e12,  1e15,
                             1e20,  -1e-300, 4.35,     0.045,         99.995,     1.0 / 3, 8589934592.75};
    for (double v : values) {
        for (int prec = 0; prec <= 16; ++prec) {
            EXPECT_EQ(Format("%.*f", prec, v), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
            EXPECT_EQ(Format("%+.*f", prec, v), Runtime(L"%+.*f", prec, v)) << v << " prec " << prec;
        }
    }
    Random r(12345);
    for (int i = 0; i < 3000; ++i) {
        unsigned state = r.next();
        double v = (double)(int)state / (double)(1 + (state >> 20)) * ((i % 7) ? 1.0 : 1e6);
        int prec = (int)(state >> 8) % 9;
        ASSERT_EQ(Format("%.*f", prec, v), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
    }
}

TEST(Format, TextDateAndWindowConversions)
{
    // Bytes of text, %c and the format widen signed; %C keeps 16 bits; %U and %S copy wide units.
    KString s, k(L"\x0416\x00E9z\xD83D\xDE00");
    s.set("%s|%c|%c|%c|\xB0%d\x80", "\xE9t\xE9", 0xE9, 0x141, 'z', 5);
    EXPECT_EQ(Wide(s), L"\xFFE9t\xFFE9|\xFFE9|A|z|\xFFB0" L"5\xFF80");
    s.set("%C%C[%U]%4U|%-3s|", 0x20AC, 0x1263A, L"\x00E9\xFFFF", L"\x00FC", "\xFC");
    EXPECT_EQ(Wide(s), L"\x20AC\x263A[\x00E9\xFFFF]   \x00FC|\xFFFC  |");
    s.set("%S|%8S|%-7S|", &k, &k, &k);
    EXPECT_EQ(Wide(s), Wide(k) + L"|   " + Wide(k) + L"|" + Wide(k) + L"  |");
    // A wide format is narrowed to its low bytes, at most 1000 of them.
    EXPECT_EQ(s.set(L"%d\x0141\x20AC", 5), 3);
    EXPECT_EQ(Wide(s), L"5A\xFFAC");
    EXPECT_EQ(s.set(std::wstring(1200, L'x').c_str()), 1000);
    // Noon UTC in July: the same year in every time zone.
    KDateTime t(July4Noon2011Utc), unknown(-1);
    EXPECT_EQ(Format("%{%Y}t|%{{%Y}}t|%6{%Y}t|%-6{%Y}t|", &t, &t, &t, &t), "2011|{2011}|  2011|2011  |");
    EXPECT_EQ(Format("%{%Y-%m-%d}t|%t|%{}t", &t, &t, &t),
              Text(July4Noon2011Utc, "%Y-%m-%d") + "|" + Text(July4Noon2011Utc, nullptr) + "|" +
                  Narrow(t.to_string()));
    EXPECT_EQ(Format("%t|%{%Y}t", &unknown, &unknown), "???|???");
    NamedWindow w;
    EXPECT_EQ(Format("%w|%{abc}w|%-8{x}w|%8{}w", &w, &w, &w, &w), "<(null)>|<abc>|<x>     |<(null)>");
    EXPECT_EQ(w.calls, 4);
    // Brace texts nest; conversions inside them consume no arguments.
    EXPECT_EQ(Format("%{a{b}c}w|%{{x}{y}}w.%{%d%s}w %d", &w, &w, &w, 5), "<a{b}c>|<{x}{y}>.<%d%s> 5");
    std::string inner;
    for (int i = 0; i < 150; ++i)
        inner += (char)('a' + i % 26);
    EXPECT_EQ(Format(("%{" + inner + "}w tail %d").c_str(), &w, 3), "<" + inner.substr(0, 100) + "> tail 3");
    EXPECT_EQ(w.lastFormat, inner.substr(0, 100));
    // A long nested text is cut at 100 characters but still ends at its brace.
    std::string nested = "{" + std::string(120, 'n') + "}";
    EXPECT_EQ(Format(("%{" + nested + "}w end").c_str(), &w), "<" + nested.substr(0, 100) + "> end");
    // A trailing '%' or an open brace text ends the format.
    w.calls = 0;
    for (const char* f : {"abc%", "abc%-05.2", "abc%l", "abc%{12", "abc%{1}", "abc%{x{y}w and more"})
        EXPECT_EQ(Format(f, &w), "abc") << f;
    EXPECT_EQ(w.calls, 0);
    EXPECT_EQ(Format(nullptr), "");
}

TEST(Format, UnknownConversionsAppendAndStompField)
{
    BoxWatcher box;
    EXPECT_EQ(Format("[%q]%d|%d", 7, 8), "[]7|8");
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.box().title, L"Tarnwell (01-1018)");
    // The empty field is still padded; each box names its character.
    EXPECT_EQ(Format("[%5y]%-3Z|%d", 9), "[     ]   |9");
    ASSERT_EQ(box.count(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Narrow(box.box(i).text),
                  std::string("Unknown case '") + "qyZ"[i] + "' in KString::_vsprint().");
    KString s("n="), line("abcdefg");
    s.append("%d/%s", 5, "x");
    EXPECT_EQ(s, "n=5/x");
    EXPECT_EQ(s.set("%s%S", "ab", &s), 7);
    EXPECT_EQ(s, "abn=5/x");
    line.stompField(2, 4, "%d", 7);
    line.stompField(0, 1, "%s", "WXYZ");
    EXPECT_EQ(line, "WX7  fg");
    // Text longer than any start area still ends in an exact buffer.
    std::string big(5000, 'q');
    EXPECT_EQ(s.set("%s|%5000d|%s", big.c_str(), 1, big.c_str()), 15002);
    EXPECT_EQ(_msize((wchar_t*)s), 15003 * sizeof(wchar_t));
    EXPECT_TRUE(s[5000] == L'|' && s[10000] == L'1' && s[15001] == L'q');
}

TEST(FormatSpec, ParseSplitsTheTextAroundOneConversion)
{
    KFormatSpec conv;
    EXPECT_TRUE(conv.prec == -1 && conv.fmt == ' ' && conv.mod == ' ' && conv.pad == L' ');
    conv.parseFormat("Value: %-08.3{x}lf mV");
    EXPECT_EQ(std::string(conv.prefix) + "|" + conv.format + "|" + conv.suffix + "|" + conv.sub,
              "Value: |%-08.3{x}lf| mV|x");
    EXPECT_TRUE(conv.left && !conv.sign && conv.pad == L'0');
    EXPECT_EQ(std::vector<int>({conv.width, conv.prec, conv.mod, conv.fmt, conv.off}),
              std::vector<int>({8, 3, 'l', 'f', 17}));
    // No precision is 0, '*' is -1; "%%" is '%' in the prefix only.
    conv.parseFormat("100%% of %+*.*s%%");
    EXPECT_EQ(std::string(conv.prefix) + "|" + conv.suffix, "100% of |%%");
    EXPECT_TRUE(conv.sign && conv.width == -1 && conv.prec == -1 && conv.fmt == 's');
    conv.parseFormat("%5d");
    EXPECT_TRUE(conv.prec == 0 && conv.width == 5 && conv.off == 2 && !conv.prefix[0] && !conv.sub[0]);
    // A character outside "CDSUXbcdefpstux" drops the attempt; the scan goes on with it as text.
    conv.parseFormat("x%5gy %{a}Hd then %Lu!");
    EXPECT_EQ(std::string(conv.prefix) + "|" + conv.format + "|" + conv.suffix, "xgy Hd then |%Lu|!");
    EXPECT_TRUE(conv.fmt == 'u' && conv.mod == 'L');
    conv.parseFormat("%w and %F");
    EXPECT_EQ(std::string(1, conv.fmt) + "|" + conv.prefix + "|" + conv.format, " |w and F|");
    // Every field keeps at most 100 characters.
    std::string text(150, 'p');
    conv.parseFormat((text + "%{" + text + "}t" + text).c_str());
    EXPECT_EQ(strlen(conv.prefix) + strlen(conv.sub) + strlen(conv.suffix) + strlen(conv.format), 400u);
    EXPECT_TRUE(conv.fmt == 't' && conv.off == 303);
    conv.parseFormat("T=%+06.2{k}hd C");
    conv.printFormat();
    EXPECT_NE(ReadLog().find("prefix='T=' format='%+06.2{k}hd' left=0 sign=1 width=6 prec=2 mod='h' "
                             "fmt='d' off=12 pad='0' suffix=' C' sub='k'"),
              std::string::npos);
}

TEST(Values, TextToNumbersAndBack)
{
    // bool is true exactly for 1, and a number that is not 1 still succeeds.
    const std::pair<std::string, const char*> rows[] = {
        {Parse(9, L"12 ", 10), "ok 12"},  {Parse(9, L"  -7\t", 10), "ok -7"}, {Parse(9, L"1F", 16), "ok 31"},
        {Parse(9, L"010", 0), "ok 8"},    {Parse(9, L"12abc", 10), "no 9"},   {Parse(9, L"", 10), "no 9"},
        {Parse(9, L"   ", 10), "no 9"},   {Parse(9, L"1.5", 10), "no 9"},     {Parse(9, nullptr, 10), "no 9"},
        {Parse<short>(5, L"32768", 10), "no 5"},       {Parse<short>(5, L"-32769", 10), "no 5"},
        {Parse<short>(5, L"-32768", 10), "ok -32768"}, {Parse<short>(5, L"32767\n", 10), "ok 32767"},
        {Parse(true, L"2", 10), "ok 0"}, {Parse(false, L"01", 10), "ok 1"}, {Parse(true, L"yes", 10), "no 1"},
        {Parse(1ul, L"4000000000", 10), "ok 4000000000"}, {Parse(1ul, L"ff ", 16), "ok 255"},
        {Parse(1ul, L"12x", 10), "no 1"}, {Parse(7.0f, L" 1.5e3 "), "ok 1500.000000"},
        {Parse(7.0f, L"3.25x"), "no 7.000000"}, {Parse(7.0, L"-.5"), "ok -0.500000"},
        {Parse(7.0, L""), "no 7.000000"}, {Parse(7.0, L"e5"), "no 7.000000"}};
    for (const auto& [got, want] : rows)
        EXPECT_EQ(got, want);
    KString k, wide;
    EXPECT_TRUE(string_to_value(&k, KString(L"\x20AC x")));
    EXPECT_EQ(Wide(k), L"\x20AC x");
    wchar_t buf[8];
    wmemset(buf, L'#', 8);
    EXPECT_TRUE(string_to_value(buf, KString(L"ab\x00E9")));
    EXPECT_EQ(std::wstring(buf, 5), std::wstring(L"ab\x00E9\0#", 5));
    value_to_string(wide, L"wide \x0416");
    EXPECT_EQ(std::vector<std::wstring>({ToText((short)-5), ToText(INT_MIN), ToText(123456789l), ToText(1.5f),
                                         ToText(4000000000u), ToText(4294967295ul), ToText(k), Wide(wide),
                                         ToText(KDateTime(-1))}),
              std::vector<std::wstring>({L"-5", L"-2147483648", L"123456789", L"1.500000", L"4000000000",
                                         L"4294967295", L"\x20AC x", L"wide \x0416", L"???"}));
    // Halves round upward; nmult takes the nearer multiple (the upper one at equal distance).
    EXPECT_EQ(std::vector<double>({(double)nint(-0.5), (double)nint(-2.5), (double)nint(2.5),
                                   (double)nint(2.4999), (double)nint(-2.6), (double)nulong(2.5),
                                   (double)nulong(4294967294.5), (double)nulong(0.49)}),
              std::vector<double>({0, -2, 3, 2, -3, 3, 4294967295.0, 0}));
    EXPECT_EQ(std::vector<double>({nmult(5, 7.5), nmult(5, 7.4), nmult(5, -7.5), nmult(5, -7.6),
                                   lumult(5, 10), lumult(5, 10.1), lumult(5, -4), glmult(5, -0.1),
                                   glmult(5, -10), glmult(0.25, 1.3), lumult(0.25, 1.3)}),
              std::vector<double>({10, 5, -5, -10, 10, 15, 0, -5, -10, 1.25, 1.5}));
}

TEST(DateTime, ValuesLocalFieldsTextAndZoneLabels)
{
    long before = (long)time(nullptr);
    KDateTime now, zero(0), unknown(-1);
    EXPECT_TRUE(now.isValid() && !now.isNull());
    EXPECT_TRUE(now.getSeconds() >= before && now.getSeconds() <= (long)time(nullptr));
    EXPECT_TRUE(zero.isNull() && !zero.isValid() && !unknown.isNull() && !unknown.isValid());
    zero.setCurrent();
    EXPECT_GE(zero.getSeconds(), before);
    KDateTime t(July4Noon2011Utc), later = t + 60, u(100);
    EXPECT_TRUE(later - 60 == t);
    EXPECT_TRUE(t < later && t <= later && later > t && later >= t && t != later && !(t == later));
    EXPECT_TRUE(t == July4Noon2011Utc && t != 0 && t > 0 && t >= July4Noon2011Utc && t <= July4Noon2011Utc);
    EXPECT_TRUE(KDateTime(-5) < KDateTime(5) && KDateTime(-1) < 0);
    u += 50;
    u -= 20;
    u += KDateTime(1000);
    u -= KDateTime(130);
    // The count is 32 bits: one second past the last one wraps to the least.
    KDateTime past = KDateTime(LastSecond) + 1;
    EXPECT_FALSE(past.isValid());
    EXPECT_EQ(std::vector<long>({compare_times(t, later), compare_times(later, t), u.getSeconds(),
                                 (KDateTime(7) + KDateTime(8)).getSeconds(),
                                 (KDateTime(7) - KDateTime(8)).getSeconds(), past.getSeconds(),
                                 compare_times(past, KDateTime(LastSecond))}),
              std::vector<long>({-60, 60, 1000, 15, -1, LONG_MIN, 1}));
    {
        TimeZone zone("UTC0");
        EXPECT_EQ(Split(July4Noon2011Utc) + "|" + Split(LastSecond), "7/4/2011 12:0:0|1/19/2038 3:14:7");
        EXPECT_EQ(Text(LastSecond, nullptr) + "|" + Text(0, nullptr),
                  "01/19/2038 03:14:07|01/01/1970 00:00:00");
        // No local time before 1970 or past the wrap of the count; -1 is unknown.
        for (long v : {-2l, -86400l, LONG_MIN, -1l}) {
            EXPECT_EQ(Split(v), "-1/-1/-1! -1:-1:-1!") << v;
            EXPECT_EQ(Text(v, "%Y"), v == -1 ? "???" : "NULL") << v;
        }
        EXPECT_EQ(Text(-1, nullptr), "???");
    }
    {
        TimeZone zone("EST5");
        EXPECT_EQ(Split(July4Noon2011Utc) + "|" + Split(Jan15Noon2011Utc), "7/4/2011 7:0:0|1/15/2011 7:0:0");
        EXPECT_EQ(Text(LastSecond, "%Y-%m-%d %H:%M"), "2038-01-18 22:14");
    }
    {
        TimeZone zone("CET-1");
        EXPECT_EQ(Text(July4Noon2011Utc, "%H:%M") + "|" + Text(LastSecond, nullptr),
                  "13:00|01/19/2038 04:14:07");
    }
    // The text has at most 99 bytes with its terminator: 98 characters fit, 99 give nothing.
    std::string years;
    for (int i = 0; i < 24; ++i)
        years += "%Y";
    EXPECT_EQ(Text(July4Noon2011Utc, (years + "ab").c_str()).length(), 98u);
    EXPECT_EQ(Text(July4Noon2011Utc, (years + "abc").c_str()).length(), 0u);
    const std::pair<int, const char*> labels[] = {
        {-9, "AKST (GMT-9)"}, {-8, "PST (GMT-8)"}, {-7, "PDT (GMT-7)"}, {-6, "MDT (GMT-6)"},
        {-5, "EST (GMT-5)"},  {-4, "EDT (GMT-4)"}, {-3, "ADT (GMT-3)"}, {0, "GMT (GMT+0)"},
        {1, "BST (GMT+1)"},   {2, "EET (GMT+2)"},  {3, "MSK (GMT+3)"},  {4, "MSD (GMT+4)"},
        {8, "WST (GMT+8)"},   {9, "CST (GMT+9)"},  {5, "    (GMT+5)"},  {10, "    (GMT+10)"},
        {-12, "    (GMT-12)"}, {-1, "    (GMT-1)"}};
    for (const auto& [hours, label] : labels)
        EXPECT_EQ(GetTimeZoneString(hours), label) << hours;
}

TEST(DateTime, SetFileTimesAndThe2038Edge)
{
    TimeZone zone("EST5");
    const long Est = 5 * 3600, Midnight = July4Noon2011Utc - 12 * 3600 + Est;
    // The time may come first; '-' may separate the date; blanks and a third word are ignored; 70 to 99
    // are 1970 to 1999. No words: the null time; a missing date or a year before 1970: the unknown time.
    EXPECT_EQ(std::vector<long>({Parsed("7/4/2011 12:00:00"), Parsed("1/15/2011 12:00"),
                                 Parsed("12:30:15 7-4-11"), Parsed("  7/4/2011\t12:30:15  "),
                                 Parsed("7/4/11 12:30:15 extra"), Parsed("7/4/2011"), Parsed("7/4/2011 12"),
                                 Parsed("1/2/70"), Parsed(""), Parsed("   "), Parsed(nullptr),
                                 Parsed("12:30"), Parsed("7/4"), Parsed("hello"), Parsed("7/4/1969")}),
              std::vector<long>({July4Noon2011Utc + Est, Jan15Noon2011Utc + Est, Midnight + 45015,
                                 Midnight + 45015, Midnight + 45015, Midnight, Midnight, 86400 + Est, 0, 0, 0,
                                 -1, -1, -1, -1}));
    EXPECT_EQ(Text(Parsed("12/31/99"), "%Y") + Text(Parsed("1/1/37"), "%Y") + Text(Parsed("1/1/00"), "%Y"),
              "199920372000");
    // Every text written by to_string reads back to its value.
    for (long v = 1000000; v < LastSecond - 40000000; v += 39916801)
        EXPECT_EQ(Parsed(Text(v, nullptr).c_str()), v) << v;
    KDateTime d(1);
    EXPECT_TRUE(string_to_value(&d, KString("7/4/2011 12:00:00")));
    EXPECT_EQ(d.getSeconds(), July4Noon2011Utc + Est);
    EXPECT_TRUE(string_to_value(&d, KString("")));
    EXPECT_TRUE(d.isNull());
    SYSTEMTIME st = {2038, 1, 2, 19, 3, 14, 7, 0}, july = {2011, 7, 1, 4, 12, 0, 0, 0};
    FILETIME ft, bad = {0xFFFFFFFF, 0xFFFFFFFF};
    {
        TimeZone zone("UTC0");
        EXPECT_EQ(std::vector<long>({Parsed("1/19/2038 3:14:07"), Parsed("1/19/2038 3:14:08"),
                                     Parsed("12/31/2040"), Parsed("1/1/70 0:00")}),
                  std::vector<long>({LastSecond, -1, -1, 0}));
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        EXPECT_EQ(GetDateTime(ft).getSeconds(), LastSecond);
        st.wSecond = 8;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
        EXPECT_EQ(GetDateTime(ft).getSeconds(), -1);
    }
    {
        TimeZone zone("EST5");
        ASSERT_TRUE(SystemTimeToFileTime(&july, &ft));
        EXPECT_EQ(GetDateTime(ft).getSeconds(), Parsed("7/4/2011 12:00:00"));
        EXPECT_EQ(GetDateTime(bad).getSeconds(), -1);
    }
    // A real file's write time in the machine's own zone, made local by the system, keeps its fields
    // when read back through the runtime's local time.
    ScratchDir dir;
    HANDLE f = CreateFileW(dir.file(L"t").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    SYSTEMTIME utc = {2011, 3, 2, 15, 9, 26, 53, 0}, local;
    FILETIME written, readBack, localTime;
    SystemTimeToFileTime(&utc, &written);
    EXPECT_TRUE(SetFileTime(f, nullptr, nullptr, &written) && GetFileTime(f, nullptr, nullptr, &readBack));
    CloseHandle(f);
    ASSERT_TRUE(FileTimeToLocalFileTime(&readBack, &localTime) && FileTimeToSystemTime(&localTime, &local));
    EXPECT_EQ(Split(GetDateTime(localTime).getSeconds()),
              Format("%d/%d/%d %d:%d:%d", local.wMonth, local.wDay, local.wYear, local.wHour, local.wMinute,
                     local.wSecond));
}

} // namespace
