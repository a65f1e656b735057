// Text and values: strings, the formatting language, conversions, rounding and dates (in fixed zones).
#include <gtest/gtest.h>
#include <ctype.h>
#include <limits.h>
#include <malloc.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <functional>
#include "test_support.h"

namespace {

using Ints = std::vector<long long>;
using Longs = std::vector<long>;
using Reals = std::vector<double>;
using Texts = std::vector<std::wstring>;

// The buffer must hold exactly length + 1 units, the last one 0.
void ExpectExact(const KString& s, const char* text)
{
    EXPECT_TRUE(s == text && s[s.length()] == 0) << text;
    EXPECT_EQ(_msize((wchar_t*)s), (s.length() + 1) * sizeof(wchar_t)) << text;
}

// The text after an edit of a copy of text; EDIT(text, call) calls a member.
template <class F>
std::string Edit(const char* text, F edit)
{
    KString s(text);
    edit(s);
    EXPECT_EQ(wcslen(s), (size_t)s.length()) << text << ": the terminator must follow the text";
    return Narrow(s);
}
#define EDIT(text, call) Edit(text, [](KString& s) { s.call; })

std::string Joined(const KArray<KString>& a)
{
    std::string s = std::to_string(a.count()) + ":";
    for (const KString& item : a)
        s += "[" + Narrow(item) + "]";
    return s;
}

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

struct NamedWindow : KWindow {
    KString toString(const char* format) override
    {
        ++calls;
        return KString(("<" + std::string(format ? format : "(null)") + ">").c_str());
    }
    int calls = 0;
};

// Sets the runtime's TZ (EnvVar sets only the process environment) and puts the old one back at the end.
struct TimeZone {
    std::string saved = getenv("TZ") ? getenv("TZ") : "";
    ~TimeZone() { set(saved); }
    void set(const std::string& tz)
    {
        _putenv(("TZ=" + tz).c_str());
        _tzset();
    }
};

// Noon UTC of 2011-07-04 and 2011-01-15; the last second of the 32-bit count, 2038-01-19 03:14:07 UTC.
const long July4 = 1309780800, Jan15 = 1295092800, Last = 0x7FFFFFFF;

// splitDate and splitTime as "m/d/y h:m:s", with "!" after a group whose call returned false.
std::string Split(long seconds)
{
    int mon, day, year, hour, min, sec;
    KDateTime t(seconds);
    bool date = t.splitDate(&mon, &day, &year), time = t.splitTime(&hour, &min, &sec);
    return Format("%d/%d/%d%s %d:%d:%d%s", mon, day, year, date ? "" : "!", hour, min, sec, time ? "" : "!");
}

long Parsed(const char* text)
{
    KDateTime t(12345);
    t.set(text);
    return t.getSeconds();
}

std::string Text(long seconds, const char* format) { return Narrow(KDateTime(seconds).to_string(format)); }

long FromFileTime(SYSTEMTIME st)
{
    FILETIME ft = {0xFFFFFFFF, 0xFFFFFFFF};
    SystemTimeToFileTime(&st, &ft);
    return GetDateTime(ft).getSeconds();
}

TEST(KString, ExactBuffersTheBuilderByteWideningAndTheEightBitViews)
{
    KString fromEmpty(""), plain, cleared("abc"), s("hello"), r("abcdef"), k("k");
    cleared.clear();
    EXPECT_TRUE(fromEmpty.isNull() && plain.isNull() && cleared.isNull() && !cleared.notNull());
    for (const KString* e : {&fromEmpty, &plain, &cleared})
        ExpectExact(*e, "");
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { s += " world"; }, "hello world"}, {[&] { s += s; }, "hello worldhello world"},
        {[&] { s.trunc(5); }, "hello"}, {[&] { s.insert('!', 5); }, "hello!"},
        {[&] { s.insert("<<", 0); }, "<<hello!"}, {[&] { s.stripChars(L"<!"); }, "hello"},
        {[&] { EXPECT_EQ(s.removeChar(L'l'), 2); }, "heo"},
        {[&] { EXPECT_TRUE(s.skip("h", true)); }, "eo"}, {[&] { s.blank(4, L'-'); }, "----"}};
    for (const auto& [step, want] : steps) {
        step();
        ExpectExact(s, want);
    }
    ExpectExact(KString("abcdef")(1, 3), "bc");
    ExpectExact(KString("a-b").replace("-", "+++"), "a+++b");
    ExpectExact(KString(3, L'x'), "xxx");
    r.remove(4, 1);
    EXPECT_TRUE(r == "af" && _msize((wchar_t*)r) == 7 * sizeof(wchar_t)) << "remove works in place";
    KStringBuff b, f;
    EXPECT_EQ(_msize(b.getBuff()), 128 * sizeof(wchar_t));
    b.verifyBuffer(1000);
    EXPECT_EQ(_msize(b.getBuff()), 1024 * sizeof(wchar_t));
    for (int i = 0; i < 1100; ++i)
        b += (wchar_t)(L'a' + i % 26);
    EXPECT_TRUE(b.getLength() == 1100 && b.getBuff()[1099] == L'a' + 1099 % 26);
    f.append("\xE9z", 1);
    f += &k;
    for (const auto& [text, width, pad, left] :
         {std::make_tuple(L"ab", 5, L'*', false), {L"cd", 4, L'.', true}, {L"long", 2, L'#', true}}) {
        f.markPos();
        f += text;
        f.padField(width, pad, left);
    }
    EXPECT_EQ(std::wstring(f.getBuff(), f.getLength()), L"\xFFE9k***abcd..long");
    // Bytes widen as signed values; units compare unsigned, so a widened byte sorts after ASCII.
    KString e9("\xE9"), t("a"), shortText("short");
    t += (char)0x80;
    t.insert("\xFF", 0);
    EXPECT_TRUE(Wide(e9) == L"\xFFE9" && Wide(t) == L"\xFFFF" L"a\xFF80" && !strcmp(e9, "\xE9"));
    EXPECT_TRUE(e9 == "\xE9" && !(KString(L"\x00E9") == "\xE9") && e9 > KString("z"));
    EXPECT_EQ(Ints({_strcmp(L"abc", "abc"), _strcmp(L"abd", "abc"), _strcmp(L"ab", "abc"),
                    _strcmp(L"abc", "ab"), _strcmp(L"\xFFE9", "\xE9"), _strcmp(L"\xE9", "\xE9")}),
              Ints({0, 1, -'c', 'c', 0, 0xE9 - 0xFFE9}));
    // The 8-bit views rotate through twenty buffers; a long text gets a larger one until its slot's next use.
    const char* first = shortText;
    for (int i = 1; i < 20; ++i)
        EXPECT_NE((const char*)KString("other"), first);
    EXPECT_TRUE(!strcmp(first, "short") && (const char*)KString("again") == first);
    const char* big = KString(100, L'x');
    EXPECT_TRUE(strlen(big) == 100u && _msize((void*)big) == 101u);
    for (int i = 1; i < 20; ++i)
        (void)(const char*)shortText;
    EXPECT_EQ(_msize((void*)(const char*)shortText), 64u);
    // Fixed-buffer copies stop at the size and narrow back; getString's last byte is always 0.
    const std::tuple<const char*, int, const char*> cases[] = {{"abcdef", 4, "abc"}, {"ab", 4, "ab"},
        {"ab", 6, "ab"}, {"", 3, ""}, {"abc", 1, ""}, {"\xFF" "a\x80", 4, "\xFF" "a\x80"}};
    char out[8];
    for (const auto& [text, size, want] : cases) {
        memset(out, 'x', sizeof out);
        KString(text).getString(out, size);
        EXPECT_TRUE(!strcmp(out, want) && out[size - 1] == 0 && out[size] == 'x') << text << " in " << size;
        EXPECT_TRUE(_SafeCopy(out, KString(text), size) == (int)strlen(want) && !strcmp(out, want)) << text;
        EXPECT_TRUE(_SafeCopy(out, text, size) == (int)strlen(want) && !strcmp(out, want)) << text;
    }
}

TEST(KString, ComparisonsSearchesSplitsClampedEditsAndTheEightBitHelpers)
{
    KString a("a"), a2("a"), e, z("z"), ab("ab"), high(L"\xFFFF"), abc("abc"), s("a b\tcab "), cut("abcdef");
    EXPECT_EQ(Ints({a - z, z - a, a - a2, ab - a, e - a, high - a}), Ints({-1, 1, 0, 1, -1, 1}));
    EXPECT_TRUE(a < ab && a <= a && z > a && z >= z && !(ab < a) && ab == L"ab" && ab != L"abc");
    EXPECT_TRUE(abc.beginsWith("AB", false) && !abc.beginsWith("aB", true) && !abc.startsWith("abcd"));
    EXPECT_TRUE(abc.endsWith("BC", false) && !abc.endsWith("BC", true) && !abc.endsWith("xabc", false));
    KArray<KString> list, none;
    for (const char* item : {"red", "green", "Red", "green"})
        list.append(KString(item));
    EXPECT_EQ(Ints({s.find("ab"), s.hasSub("xyz"), s.findChar(L'b'), s.findLast(L'b'), s.findChar(0),
                    s.countChar(L'a'), s.nonSpace(), e.lastChar(), LookupIndex(list, KString("green")),
                    LookupIndex(list, KString("Red")), LookupIndex(list, KString("blue")),
                    LookupIndex(none, KString("red"))}), Ints({5, -1, 2, 6, -1, 2, 6, 0, 1, 2, -1, -1}));
    EXPECT_EQ(Joined(KString("a,b,").split(L',', false)) + Joined(KString().split(L',', false)) +
                  Joined(KString(" x , y ").split(L',', true)) + Joined(KString("  ab  c ").splitTokens()) +
                  Joined(KString(" \t ").splitTokens()), "3:[a][b][]1:[]2:[x][y]2:[ab][c]0:");
    EXPECT_TRUE(cut(2, -1) == "cdef" && cut(4, 2) == "" && cut(-3, 2) == "ab" && cut(2, 100) == "cdef" &&
                cut(9, 12) == "");
    const std::pair<std::string, const char*> rows[] = {
        {EDIT("abcdef", remove(4, 1)), "af"}, {EDIT("abcdef", remove(10, 12)), "abcdef"},
        {EDIT("abcdef", remove(-5, 1)), "cdef"}, {EDIT("abcdef", remove(3, 100)), "abc"},
        {EDIT("abcdef", remove(3, 6)), "abc"}, {EDIT("abcdef", remove(2, 2)), "abdef"},
        {EDIT("abc", remove(0)), "bc"}, {EDIT("ac", insert('b', 1)), "abc"},
        {EDIT("a", insert('!', 1)), "a!"}, {EDIT(" \t ab c \n", stripSpaces()), "ab c"},
        {EDIT("abcdefg", stompField(1, 4, L"xy")), "axy  fg"}, {EDIT("abc", remove(3)), "abc"},
        {EDIT("abcdefg", stompField(1, 2, L"wxyz")), "awxdefg"}, {EDIT("abc", remove(-1)), "abc"},
        {EDIT("abcdefg", stompField(5, 7, L"zz")), "abcdefg"}, {EDIT("a", insert('!', 2)), "a"},
        {EDIT("abcdefg", stompField(-1, 2, L"zz")), "abcdefg"}, {EDIT("", insert("?", -1)), ""},
        {EDIT("  ", stripTrailing()), ""}, {EDIT("**a*b**", stripChar(L'*')), "a*b"},
        {EDIT("Hello World\tFoo", toUpper(6)), "Hello WORLD\tFOO"},
        {EDIT("hELLO wORLD\tfoo", capitalizeFirstChars()), "Hello World\tFoo"}};
    for (const auto& [got, want] : rows)
        EXPECT_EQ(got, want);
    // replace and replaceToken take the first occurrence; the free functions work on a copy.
    KString t("one two one"), d("a1b2c3"), f("file.txt"), original(L"  hello World\t");
    EXPECT_EQ(Narrow(t.replace("one", "1")) + "|" + Narrow(t.replaceToken("two", "three")) + "|" +
                  Narrow(t.replace("six", "6")) + "|" + Narrow(t.replace("", ">")) + "|" +
                  Narrow(t.replaceToken("", ">")),
              "1 two one|one three one|one two one|>one two one|>one two one");
    EXPECT_EQ(Narrow(ToUpper(original)) + "|" + Narrow(ToLower(original)) + "|" +
                  Narrow(StripSpaces(original)) + "|" + Narrow(CapitalizeFirstChars(original)) + "|" +
                  Narrow(original) + "|" + Narrow(InsertLF(KString("a\nb"))) + "|" +
                  Narrow(InsertLF(KString("\n\nx\r\n"))) + "|" + Narrow(InsertLF(e)),
              "  HELLO WORLD\t|  hello world\t|hello World|  Hello World\t|  hello World\t|"
              "a\r\nb|\r\n\r\nx\r\r\n|");
    KString digits(d);
    EXPECT_EQ(Ints({d.replaceChar(L'b', 0), d.replaceChar(L'c', L'b'), digits.keepChars(isdigit),
                    d.removeChars(isdigit)}), Ints({0, 1, 3, 3}));
    EXPECT_TRUE(digits == "123" && d == "abb" && !f.trim(".TXT", true) && f.trim(".TXT", false));
    EXPECT_TRUE(f == "file" && f.length() == 4 && f.skip("FI", false) && f == "le");
    EXPECT_TRUE(HasLower("ABc") && !HasLower("AB1 ") && HasUpper("abC") && !HasUpper(""));
    EXPECT_TRUE(strlast("path\\", "\\/") && strlast("path/", "\\/") && !strlast("path", "\\/") &&
                !strlast("", "\\/") && !strlast("path\\", ""));
    EXPECT_EQ(Ints({FirstChar("hello", "lz"), FirstChar("hello", "xyz"), FirstChar("hello", ""),
                    strcount("hello", "lo"), strcount("hello", "loo"), strcount("", "abc")}),
              Ints({2, -1, -1, 3, 4, 0}));
    for (const auto& [in, want] : {std::make_pair("  ab\t", "ab"), {" \t\n ", ""}, {"a b", "a b"}}) {
        char text[16];
        EXPECT_EQ(strip_spaces(strcpy(text, in)), (int)strlen(want)) << in;
        EXPECT_STREQ(text, want);
    }
    // splitf: modifiers, literals, "%%", '*' widths and the default width of 1.
    KString name;
    int count = -1, i = 0;
    char gap[4] = "zz", rest[16] = "unchanged";
    double value = 0;
    struct { short h; long long big; char c; unsigned short hu; unsigned long u; long l; } v = {};
    EXPECT_EQ(splitf("AB0012 3.5", "%2S%4d%*s%3f", &name, &count, 1, gap, &value), 4);
    EXPECT_TRUE(name == "AB" && count == 12 && value == 3.5 && !strcmp(gap, " "));
    EXPECT_EQ(splitf("-12|9876543210 %x 65535  4000000000-7 42", "%3hd|%10Hd %%%c%6hu%12u%2Ld%3ld", &v.h,
                     &v.big, &v.c, &v.hu, &v.u, &i, &v.l), 7);
    EXPECT_EQ(Ints({v.h, v.big, v.c, v.hu, (long long)v.u, i, v.l}),
              Ints({-12, 9876543210LL, 'x', 65535, 4000000000LL, -7, 42}));
    EXPECT_TRUE(splitf("7x", "%dx", &i) == 1 && i == 7);
    EXPECT_TRUE(splitf("abc", "%2S%5s", &name, rest) == 2 && name == "ab" && !strcmp(rest, "c"));
    // A mismatch stops and stores nothing; an unknown conversion is reported and still counted.
    EXPECT_EQ(Ints({splitf("X1", "Y%d", &i), i, splitf("1%", "%d%%x", &i), splitf("1-2", "%d+%d", &i, &i)}),
              Ints({0, 7, 0, 0}));
    BoxWatcher box;
    EXPECT_EQ(splitf("xyzw", "%2S%2q", &name), 2);
    ASSERT_EQ(box.count(), 1u);
    EXPECT_TRUE(box.box().title == L"Tarnwell (01-1027)" && name == "xy");
    EXPECT_EQ(box.box().text, L"Unknown case 'q' in KString::_vsprint().");
}

TEST(Format, NumbersFieldsSizeModifiersSeparatorsAndTheRuntimesDigits)
{
    // One flag only, and the pad character stays '0' when left-justified.
    EXPECT_EQ(Format("%5d|%-5d|%05d|%06d|%+d %+d %+d %+06d|%-05d|%*d|%-*d|%*d|", 42, 42, -42, -42, 0, -3, 7,
                     42, 42, 4, 7, 3, 8, -5, 1),
              "   42|42   |00-42|000-42|+0 -3 +7 000+42|42000|   7|8  |1|");
    // Text longer than the width or the precision is never cut; a failed set keeps the old text.
    KString s;
    s.set("%3d|%.2s|%05s|%-4c|%3C", 123456, "abcdef", "ab", 'x', 0x263A);
    EXPECT_THROW(s.set("%*d", INT_MAX, 1), std::bad_alloc);
    EXPECT_EQ(Wide(s), L"123456|abcdef|000ab|x   |  \x263A");
    EXPECT_EQ(Format("%d %d %u %lu %x %X %b %b %08X", INT_MIN, INT_MAX, -1, 7ul, -1, 255, 5, 0, 0xBEEF),
              "-2147483648 2147483647 4294967295 7 ffffffff FF 101 0 0000BEEF");
    char pointers[80];
    snprintf(pointers, 80, "100%% of 3%%, %%d|%p|%p", (void*)(UINT_PTR)0x1234abcd, (void*)nullptr);
    EXPECT_EQ(Format("100%% of %d%%, %%d|%p|%p", 3, (void*)(UINT_PTR)0x1234abcd, nullptr), pointers);
    // The brace offset is added without a size modifier, to d and D only; {} is 0; L is ignored.
    EXPECT_EQ(Format("%{1}d|%{1}ld|%{1}hd|%{1}Hd|%{-1}D|%5{10}d|%-4{1}d|%{}d %{2}Ld %{5}u %{5}x", 4, 4l, 4,
                     4ll, 1001, 4, 0, 4, 4, 1u, 1), "5|4|4|4|1,000|   14|1   |4 6 1 1");
    // A 64-bit value is followed by an int to catch a wrong read size; hu and hb read 16 bits unsigned.
    EXPECT_EQ(Format("%Hd|%d|%Hd|%d|%HD|%d|%+Hd|%hd %d %hd", -9000000000ll, 5, LLONG_MIN, 6, 1234567890123ll,
                     7, 12ll, 0x12345, 7, 0xFFFF),
              "-9000000000|5|-9223372036854775808|6|1,234,567,890,123|7|+12|9029 7 -1");
    EXPECT_EQ(Format("%Hx|%HX|%d|%Hb|%d", 0x123456789abcdefull, 0xFEDCBA9876543210ull, 8, 1ull << 40, 9),
              "123456789abcdef|FEDCBA9876543210|8|1" + std::string(40, '0') + "|9");
    EXPECT_EQ(Format("%Hu|%d|%hu|%hb|%hx|%hX|%ld|%lx|%lu", 4000000000u, 5, 70000, -1, -1, 0x18000, -5l, 255ul,
                     4000000000ul), "4000000000|5|4464|1111111111111111|ffffffff|FFFF8000|-5|ff|4000000000");
#ifdef _WIN64
    // Each argument fills an 8-byte slot: a 32-bit read must ignore an upper half left dirty.
    const unsigned long long d = 0xDEADBEEF00000000ull;
    unsigned long long slots[] = {d | 4000000000u, d | 7, d | 0xFFFFFFFEu, d | 0x12345, d | 0xAB, d | 5};
    s._vsprint("%Hu|%u|%d|%hu|%x|%b", reinterpret_cast<va_list>(slots));
    EXPECT_EQ(s, "4000000000|7|-2|9029|ab|101");
#endif
    EXPECT_EQ(Format("%D|%D|%D|%D|%D|%D|%+D|%10D|%-8D|", 1234567, -123, -1234, 0, 999, INT_MIN, 1234, 1234567,
                     -1000), "1,234,567|-123|-1,234|0|999|-2,147,483,648|+1,234| 1,234,567|-1,000  |");
    EXPECT_EQ(Format("%F|%.2F|%.0F|%.1F|%+.1F|%12.1F|%.0F", 1234.5, -1012.25, 1234567.0, 999.94, 5000.0,
                     -123456.78, 1e15),
              "1,234.500000|-1,012.25|1,234,567|999.9|+5,000.0|  -123,456.8|1,000,000,000,000,000");
    const std::tuple<const char*, int, bool, const char*> cases[] = {
        {"12345", 6, false, "12345"}, {"12345", 7, false, "12,345"}, {"1234567890", 12, false, "1234567,890"},
        {"+123", 32, false, "+123"}, {"-1012.34", 32, true, "-1,012.34"}, {"1.5e+010", 32, true, "1.5e+010"},
        {"1234567", 32, true, "1,234,567"}, {"123456.5", 9, true, "123456.5"}};
    for (const auto& [in, size, isFloat, out] : cases) {
        char text[32];
        (isFloat ? InsertFloatCommas : InsertCommas)(strcpy(text, in), size);
        EXPECT_STREQ(text, out) << in << " in " << size;
    }
    // A '.' without digits or '*' gives no precision: the default of 6.
    EXPECT_EQ(Format("%g|%.2e|%+.1f|%f|%+e|%+g|%.3g|%.e|%5.f", 0.5, 1500.0, 2.0, 1.5, 12.5, 12.5, 1234.5,
                     1500.0, 0.5),
              Runtime(L"0.5|%.2e|+2.0|1.500000|%+e|%g|%.3g|%e|%5f", 1500.0, 12.5, 12.5, 1234.5, 1500.0, 0.5));
    EXPECT_EQ(Format("%08.2f|%-8.1f|%.0f|%.*f|%.f|%+.f|%.F", -3.14159, 2.35, 0.4, 3, 1.0, 2.75, 2.75, 1234.5),
              "000-3.14|2.4     |0|1.000|2.750000|+2.750000|1,234.500000");
    // Every %f has the runtime's digits: at or near rounding halves, -0, large, tiny and random values.
    Reals values = {0.0, -0.0, 0.125, 0.375, 2.5, -2.5, 1.005, 1.115, -1.005, 0.0049999,
                   123456789.987, 1e11 + 0.5, 1e12, 1e15, 1e20, -1e-300, 4.35, 0.045, 99.995,
                   1.0 / 3, 8589934592.75};
    Random r(12345);
    for (int i = 0; i < 3000; ++i)
        values.push_back((double)(int)r.next() / (1 + r.below(4096)) * ((i % 7) ? 1.0 : 1e6));
    for (double v : values)
        for (int prec = 0; prec <= 16; ++prec)
            ASSERT_EQ(Format("%.*f|%+.*f", prec, v, prec, v), Runtime(L"%.*f|%+.*f", prec, v, prec, v))
                << v << " prec " << prec;
}

TEST(Format, TextDatesWindowsUnknownConversionsStompFieldAndParseFormat)
{
    // Bytes of text, %c and the format widen signed; %C keeps 16 bits; %U and %S copy wide units.
    KString s, k(L"\x0416\x00E9z\xD83D\xDE00");
    s.set("%s|%c|%c|%c|\xB0%d\x80", "\xE9t\xE9", 0xE9, 0x141, 'z', 5);
    EXPECT_EQ(Wide(s), L"\xFFE9t\xFFE9|\xFFE9|A|z|\xFFB0" L"5\xFF80");
    s.set("%C%C%U%4U|%-3s|%8S|%-7S|", 0x20AC, 0x1263A, L"\x00E9\xFFFF", L"\x00FC", "\xFC", &k, &k);
    EXPECT_EQ(Wide(s), L"\x20AC\x263A\x00E9\xFFFF   \x00FC|\xFFFC  |   " + Wide(k) + L"|" + Wide(k) + L"  |");
    // A wide format is narrowed to its low bytes, at most 1000 of them.
    EXPECT_TRUE(s.set(L"%d\x0141\x20AC", 5) == 3 && Wide(s) == L"5A\xFFAC");
    EXPECT_EQ(s.set(std::wstring(1200, L'x').c_str()), 1000);
    KDateTime t(July4), unknown(-1);
    EXPECT_EQ(Format("%{%Y}t|%{{%Y}}t|%6{%Y}t|%-6{%Y}t|%t|%{%Y}t", &t, &t, &t, &t, &unknown, &unknown),
              "2011|{2011}|  2011|2011  |???|???");
    EXPECT_EQ(Format("%{%Y-%m-%d}t|%t|%{}t", &t, &t, &t),
              Text(July4, "%Y-%m-%d") + "|" + Text(July4, nullptr) + "|" + Narrow(t.to_string()));
    // Brace texts nest, are cut at 100 characters and still end at their brace; conversions inside
    // them consume no arguments. A trailing '%' or an open brace text ends the format.
    NamedWindow w;
    EXPECT_EQ(Format("%w|%{abc}w|%-8{x}w|%8{}w", &w, &w, &w, &w), "<(null)>|<abc>|<x>     |<(null)>");
    EXPECT_EQ(Format("%{a{b}c}w|%{{x}{y}}w.%{%d%s}w %d", &w, &w, &w, 5), "<a{b}c>|<{x}{y}>.<%d%s> 5");
    const std::string inner = std::string(100, 'i') + std::string(50, 'j');
    const std::string nested = "{" + std::string(120, 'n') + "}";
    EXPECT_EQ(Format(("%{" + inner + "}w tail %d").c_str(), &w, 3), "<" + inner.substr(0, 100) + "> tail 3");
    EXPECT_EQ(Format(("%{" + nested + "}w end").c_str(), &w), "<" + nested.substr(0, 100) + "> end");
    for (const char* f : {"abc%", "abc%-05.2", "abc%l", "abc%{12", "abc%{1}", "abc%{x{y}w and more"})
        EXPECT_EQ(Format(f, &w), "abc") << f;
    EXPECT_TRUE(w.calls == 9 && Format(nullptr) == "");
    // An unknown conversion gives an empty field, still padded; each box names its character.
    BoxWatcher box;
    EXPECT_EQ(Format("[%q]%d|%d [%5y]%-3Z|%d", 7, 8, 9), "[]7|8 [     ]   |9");
    ASSERT_EQ(box.count(), 3u);
    EXPECT_EQ(box.box().title, L"Tarnwell (01-1018)");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Narrow(box.box(i).text),
                  std::string("Unknown case '") + "qyZ"[i] + "' in KString::_vsprint().");
    KString line("abcdefg");
    s = "n=";
    s.append("%d/%s", 5, "x");
    EXPECT_TRUE(s.set("%s%S", "ab", &s) == 7 && s == "abn=5/x");
    line.stompField(2, 4, "%d", 7);
    line.stompField(0, 1, "%s", "WXYZ");
    EXPECT_EQ(line, "WX7  fg");
    // Text longer than any start area still ends in an exact buffer.
    std::string big(5000, 'q');
    EXPECT_EQ(s.set("%s|%5000d|%s", big.c_str(), 1, big.c_str()), 15002);
    EXPECT_EQ(_msize((wchar_t*)s), 15003 * sizeof(wchar_t));
    EXPECT_TRUE(s[5000] == L'|' && s[10000] == L'1' && s[15001] == L'q');
    // parseFormat: no precision is 0, '*' is -1; "%%" is '%' in the prefix only; a character outside
    // "CDSUXbcdefpstux" drops the attempt and the scan goes on with it as text.
    KFormatSpec conv;
    EXPECT_TRUE(conv.prec == -1 && conv.fmt == ' ' && conv.mod == ' ' && conv.pad == L' ');
    conv.parseFormat("Value: %-08.3{x}lf mV");
    conv.printFormat();
    EXPECT_NE(ReadLog().find("prefix='Value: ' format='%-08.3{x}lf' left=1 sign=0 width=8 prec=3 mod='l' "
                             "fmt='f' off=17 pad='0' suffix=' mV' sub='x'"), std::string::npos);
    conv.parseFormat("100%% of %+*.*s%%");
    EXPECT_EQ(std::string(conv.prefix) + "|" + conv.suffix, "100% of |%%");
    EXPECT_TRUE(conv.sign && conv.width == -1 && conv.prec == -1 && conv.fmt == 's');
    conv.parseFormat("%5d");
    EXPECT_TRUE(conv.prec == 0 && conv.width == 5 && conv.off == 2 && !conv.prefix[0] && !conv.sub[0]);
    conv.parseFormat("x%5gy %{a}Hd then %Lu!");
    EXPECT_EQ(std::string(conv.prefix) + "|" + conv.format + "|" + conv.suffix, "xgy Hd then |%Lu|!");
    EXPECT_TRUE(conv.fmt == 'u' && conv.mod == 'L');
    conv.parseFormat("%w and %F");
    EXPECT_EQ(std::string(1, conv.fmt) + "|" + conv.prefix + "|" + conv.format, " |w and F|");
    std::string text(150, 'p');
    conv.parseFormat((text + "%{" + text + "}t" + text).c_str());
    EXPECT_EQ(strlen(conv.prefix) + strlen(conv.sub) + strlen(conv.suffix) + strlen(conv.format), 400u)
        << "each field keeps at most 100 characters";
    EXPECT_TRUE(conv.fmt == 't' && conv.off == 303);
}

TEST(Values, NumbersAndTextRoundingAndDateTimeFieldsTextParsingAndZoneLabels)
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
    std::wstring buf(8, L'#');
    EXPECT_TRUE(string_to_value(&k, KString(L"\x20AC x")) && string_to_value(&buf[0], KString(L"ab\x00E9")));
    EXPECT_EQ(buf, std::wstring(L"ab\x00E9\0####", 8));
    value_to_string(wide, L"wide \x0416");
    EXPECT_EQ(Texts({ToText((short)-5), ToText(INT_MIN), ToText(123456789l), ToText(4000000000u),
                     ToText(1.5f), ToText(4294967295ul), ToText(k), Wide(wide), ToText(KDateTime(-1))}),
              Texts({L"-5", L"-2147483648", L"123456789", L"4000000000", L"1.500000", L"4294967295",
                     L"\x20AC x", L"wide \x0416", L"???"}));
    // Halves round upward; nmult takes the nearer multiple (the upper one at equal distance).
    EXPECT_EQ(Reals({(double)nint(-0.5), (double)nint(-2.5), (double)nint(2.5), (double)nint(2.4999),
                     (double)nint(-2.6), (double)nulong(2.5), (double)nulong(4294967294.5),
                     (double)nulong(0.49), nmult(5, 7.5), nmult(5, 7.4), nmult(5, -7.5), nmult(5, -7.6),
                     lumult(5, 10), lumult(5, 10.1), lumult(5, -4), glmult(5, -0.1), glmult(5, -10),
                     glmult(0.25, 1.3), lumult(0.25, 1.3)}),
              Reals({0, -2, 3, 2, -3, 3, 4294967295.0, 0, 10, 5, -5, -10, 10, 15, 0, -5, -10, 1.25, 1.5}));
    const long before = (long)time(nullptr);
    KDateTime now, zero(0), unknown(-1), t(July4), later = t + 60, u(100);
    EXPECT_TRUE(now.isValid() && !now.isNull() && now >= before && now <= (long)time(nullptr));
    EXPECT_TRUE(zero.isNull() && !zero.isValid() && !unknown.isNull() && !unknown.isValid());
    zero.setCurrent();
    EXPECT_GE(zero.getSeconds(), before);
    EXPECT_TRUE(later - 60 == t && t < later && t <= later && later > t && later >= t && t != later);
    EXPECT_TRUE(t == July4 && t != 0 && t > 0 && t >= July4 && t <= July4);
    EXPECT_TRUE(!(t == later) && KDateTime(-5) < KDateTime(5) && KDateTime(-1) < 0);
    u += 50;
    u -= 20;
    u += KDateTime(1000);
    u -= KDateTime(130);
    // The count is 32 bits: one second past the last one wraps to the least.
    KDateTime past = KDateTime(Last) + 1;
    EXPECT_FALSE(past.isValid());
    EXPECT_EQ(Longs({compare_times(t, later), compare_times(later, t), u.getSeconds(),
                     (KDateTime(7) + KDateTime(8)).getSeconds(), (KDateTime(7) - KDateTime(8)).getSeconds(),
                     past.getSeconds(), compare_times(past, KDateTime(Last))}),
              Longs({-60, 60, 1000, 15, -1, LONG_MIN, 1}));
    TimeZone zone;
    zone.set("UTC0");
    EXPECT_EQ(Split(July4) + "|" + Split(Last) + "|" + Text(Last, nullptr) + "|" + Text(0, nullptr) + "|" +
                  Text(-1, nullptr),
              "7/4/2011 12:0:0|1/19/2038 3:14:7|01/19/2038 03:14:07|01/01/1970 00:00:00|???");
    // No local time before 1970 or past the wrap of the count; -1 is unknown.
    for (long v : {-2l, -86400l, LONG_MIN, -1l})
        EXPECT_EQ(Split(v) + Text(v, "%Y"), v == -1 ? "-1/-1/-1! -1:-1:-1!???" : "-1/-1/-1! -1:-1:-1!NULL");
    EXPECT_EQ(Longs({Parsed("1/19/2038 3:14:07"), Parsed("1/19/2038 3:14:08"), Parsed("12/31/2040"),
                     Parsed("1/1/70 0:00"), FromFileTime({2038, 1, 2, 19, 3, 14, 7, 0}),
                     FromFileTime({2038, 1, 2, 19, 3, 14, 8, 0})}), Longs({Last, -1, -1, 0, Last, -1}));
    zone.set("CET-1");
    EXPECT_EQ(Text(July4, "%H:%M") + "|" + Text(Last, nullptr), "13:00|01/19/2038 04:14:07");
    zone.set("EST5");
    EXPECT_EQ(Split(July4) + "|" + Split(Jan15) + "|" + Text(Last, "%Y-%m-%d %H:%M"),
              "7/4/2011 7:0:0|1/15/2011 7:0:0|2038-01-18 22:14");
    // The time may come first; '-' may separate the date; blanks and a third word are ignored; 70 to 99
    // are 1970 to 1999. No words: the null time; a missing date or a year before 1970: the unknown time.
    const long Est = 5 * 3600, Midnight = July4 - 12 * 3600 + Est;
    const FILETIME bad = {0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(Longs({Parsed("7/4/2011 12:00:00"), Parsed("1/15/2011 12:00"), Parsed("12:30:15 7-4-11"),
                     Parsed("  7/4/2011\t12:30:15  "), Parsed("7/4/11 12:30:15 extra"), Parsed("7/4/2011"),
                     Parsed("7/4/2011 12"), Parsed("1/2/70"), Parsed(""), Parsed("   "), Parsed(nullptr),
                     Parsed("12:30"), Parsed("7/4"), Parsed("hello"), Parsed("7/4/1969"),
                     FromFileTime({2011, 7, 1, 4, 12, 0, 0, 0}), GetDateTime(bad).getSeconds()}),
              Longs({July4 + Est, Jan15 + Est, Midnight + 45015, Midnight + 45015, Midnight + 45015, Midnight,
                     Midnight, 86400 + Est, 0, 0, 0, -1, -1, -1, -1, July4 + Est, -1}));
    EXPECT_EQ(Text(Parsed("12/31/99"), "%Y") + Text(Parsed("1/1/37"), "%Y") + Text(Parsed("1/1/00"), "%Y"),
              "199920372000");
    for (long v = 1000000; v < Last - 40000000; v += 39916801)
        EXPECT_EQ(Parsed(Text(v, nullptr).c_str()), v) << "the text of " << v << " reads back";
    KDateTime d(1), e(1);
    EXPECT_TRUE(string_to_value(&d, KString("7/4/2011 12:00:00")) && string_to_value(&e, KString("")));
    EXPECT_TRUE(d.getSeconds() == July4 + Est && e.isNull());
    EXPECT_EQ(Text(July4, ("%Y" + std::string(94, 'a')).c_str()).length(), 98u) << "99 bytes with the 0";
    EXPECT_EQ(Text(July4, ("%Y" + std::string(95, 'a')).c_str()).length(), 0u) << "else nothing";
    const std::pair<int, const char*> labels[] = {
        {-9, "AKST (GMT-9)"}, {-8, "PST (GMT-8)"}, {-7, "PDT (GMT-7)"}, {-6, "MDT (GMT-6)"},
        {-5, "EST (GMT-5)"}, {-4, "EDT (GMT-4)"}, {-3, "ADT (GMT-3)"}, {0, "GMT (GMT+0)"}, {1, "BST (GMT+1)"},
        {2, "EET (GMT+2)"}, {3, "MSK (GMT+3)"}, {4, "MSD (GMT+4)"}, {8, "WST (GMT+8)"}, {9, "CST (GMT+9)"},
        {5, "    (GMT+5)"}, {10, "    (GMT+10)"}, {-12, "    (GMT-12)"}, {-1, "    (GMT-1)"}};
    for (const auto& [hours, label] : labels)
        EXPECT_EQ(GetTimeZoneString(hours), label) << hours;
}

} // namespace
