// The formatting language of KString::set, KFormatSpec, the separator
// helpers, the value conversions and the rounding helpers.
#include <gtest/gtest.h>
#include <korvel.h>
#include <limits.h>
#include <malloc.h>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

KString Format(const char* format, ...)
{
    KString s;
    va_list args;
    va_start(args, format);
    s._vsprint(format, args);
    va_end(args);
    return s;
}

std::wstring Wide(const KString& s)
{
    return std::wstring((const wchar_t*)s, s.length());
}

// What the runtime's wide printf makes of the same conversion.
std::wstring Runtime(const wchar_t* format, ...)
{
    wchar_t buf[256] = {0};
    va_list args;
    va_start(args, format);
    _vsnwprintf(buf, 255, format, args);
    va_end(args);
    return buf;
}

// Closes every message box of this process from a second thread; finish()
// stops it and gives the title and text of each box, in order.
class BoxWatcher {
public:
    BoxWatcher() { thread = CreateThread(nullptr, 0, watch, this, 0, nullptr); }
    ~BoxWatcher() { finish(); }
    const std::vector<std::pair<std::wstring, std::wstring>>& finish()
    {
        if (thread) {
            stop = true;
            WaitForSingleObject(thread, 10000);
            CloseHandle(thread);
            thread = nullptr;
        }
        return boxes;
    }

private:
    static BOOL CALLBACK findBox(HWND hwnd, LPARAM found)
    {
        DWORD pid = 0;
        wchar_t cls[32] = {0};
        GetWindowThreadProcessId(hwnd, &pid);
        GetClassNameW(hwnd, cls, 32);
        if (pid != GetCurrentProcessId() || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static std::wstring textOf(HWND hwnd)
    {
        wchar_t buf[1024] = {0};
        GetWindowTextW(hwnd, buf, 1024);
        return buf;
    }
    static DWORD WINAPI watch(void* self)
    {
        auto* w = static_cast<BoxWatcher*>(self);
        while (!w->stop) {
            HWND box = nullptr;
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
            if (!box) {
                Sleep(20);
                continue;
            }
            // The static control 0xFFFF of a message box holds its text.
            w->boxes.push_back({textOf(box), textOf(GetDlgItem(box, 0xFFFF))});
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 250 && IsWindow(box); ++i)
                Sleep(20);
        }
        return 0;
    }

    HANDLE thread;
    volatile bool stop = false;
    std::vector<std::pair<std::wstring, std::wstring>> boxes;
};

// A window whose toString shows the text it was given.
class NamedWindow : public KWindow {
public:
    KString toString(const char* format) override
    {
        ++calls;
        lastFormat = format ? format : "(null)";
        return Format("<%s>", lastFormat.c_str());
    }
    int calls = 0;
    std::string lastFormat;
};

} // namespace

// Failure messages show a KString as text, other than printable ASCII as \x{...}.
void PrintTo(const KString& s, std::ostream* os)
{
    *os << '"';
    for (int i = 0; i < s.length(); ++i) {
        if (s[i] >= 0x20 && s[i] < 0x7F)
            *os << (char)s[i];
        else
            *os << "\\x{" << std::hex << (unsigned)s[i] << std::dec << "}";
    }
    *os << '"';
}

TEST(Format, FieldsArePaddedWithTheSignInside)
{
    EXPECT_EQ(Format("%5d|%-5d|%05d|%06d", 42, 42, -42, -42), "   42|42   |00-42|000-42");
    EXPECT_EQ(Format("%+d %+d %+d %+06d", 0, -3, 7, 42), "+0 -3 +7 000+42");
    // One flag only, and the pad character stays '0' when left-justified.
    EXPECT_EQ(Format("%-05d|%*d|%-*d|%*d|", 42, 4, 7, 3, 8, -5, 1), "42000|   7|8  |1|");
    // Text longer than the width or the precision is never cut.
    EXPECT_EQ(Format("%3d|%.2s|%05s|%-4c|%3C", 123456, "abcdef", "ab", 'x', 0x263A),
              L"123456|abcdef|000ab|x   |  \x263A");
    EXPECT_EQ(Format("%d %d %u %lu", INT_MIN, INT_MAX, -1, 7ul), "-2147483648 2147483647 4294967295 7");
    EXPECT_EQ(Format("%x %X %b %b %08X", -1, 255, 5, 0, 0xBEEF), "ffffffff FF 101 0 0000BEEF");
    EXPECT_EQ(Format("100%% of %d%%, %%d", 3), "100% of 3%, %d");
    // %p as the toolchain's own printf writes it.
    void* pointer = reinterpret_cast<void*>((UINT_PTR)0x1234abcd);
    char expected[40];
    snprintf(expected, sizeof(expected), "%p|%p", pointer, (void*)nullptr);
    EXPECT_EQ(Format("%p|%p", pointer, nullptr), expected);

    KString s("kept");
    EXPECT_THROW(s.set("%*d", INT_MAX, 1), std::bad_alloc);
    EXPECT_EQ(s, "kept");
}

TEST(Format, BraceOffsetAppliesOnlyWithoutASizeModifier)
{
    EXPECT_EQ(Format("%{1}d|%{1}ld|%{1}hd|%{1}Hd", 4, 4l, 4, 4ll), "5|4|4|4");
    EXPECT_EQ(Format("%{-1}D|%5{10}d|%-4{1}d|", 1001, 4, 0), "1,000|   14|1   |");
    // An empty brace text is offset 0; L is read and ignored; other
    // conversions take no offset.
    EXPECT_EQ(Format("%{}d %{2}Ld %{5}u %{5}x", 4, 4, 1u, 1), "4 6 1 1");
    // h truncates the int argument to 16 bits.
    EXPECT_EQ(Format("%hd %d %hd", 0x12345, 7, 0xFFFF), "9029 7 -1");
}

TEST(Format, SizeModifiersReadTheRightArguments)
{
    // Each 64-bit value is followed by an int, to catch a wrong read size.
    EXPECT_EQ(Format("%Hd|%d|%Hd|%d", -9000000000ll, 5, LLONG_MIN, 6), "-9000000000|5|-9223372036854775808|6");
    EXPECT_EQ(Format("%HD|%d|%+Hd", 1234567890123ll, 7, 12ll), "1,234,567,890,123|7|+12");
    EXPECT_EQ(Format("%Hx|%HX|%d", 0x123456789abcdefull, 0xFEDCBA9876543210ull, 8),
              "123456789abcdef|FEDCBA9876543210|8");
    EXPECT_EQ(Format("%Hb|%d", 1ull << 40, 9), ("1" + std::string(40, '0') + "|9").c_str());
    // u reads 32 bits even with H; with h, u and b take the low 16 bits
    // unsigned and x widens the short with its sign.
    EXPECT_EQ(Format("%Hu|%d", 4000000000u, 5), "4000000000|5");
    EXPECT_EQ(Format("%hu|%hb|%hx|%hX", 70000, -1, -1, 0x18000), "4464|1111111111111111|ffffffff|FFFF8000");
    EXPECT_EQ(Format("%ld|%lx|%lu", -5l, 255ul, 4000000000ul), "-5|ff|4000000000");
#ifdef _WIN64
    // Here every variable argument fills an 8-byte slot; a 32-bit read must
    // ignore the upper half, which a caller may leave dirty.
    const unsigned long long dirty = 0xDEADBEEF00000000ull;
    unsigned long long slots[] = {dirty | 4000000000u, dirty | 7, dirty | 0xFFFFFFFEu,
                                  dirty | 0x12345, dirty | 0xAB, dirty | 5};
    KString s;
    s._vsprint("%Hu|%u|%d|%hu|%x|%b", reinterpret_cast<va_list>(slots));
    EXPECT_EQ(s, "4000000000|7|-2|9029|ab|101");
#endif
}

TEST(Format, ThousandsSeparators)
{
    EXPECT_EQ(Format("%D|%D|%D|%D|%D|%D", 1234567, -123, -1234, 0, 999, INT_MIN),
              "1,234,567|-123|-1,234|0|999|-2,147,483,648");
    EXPECT_EQ(Format("%+D|%10D|%-8D|", 1234, 1234567, -1000), "+1,234| 1,234,567|-1,000  |");
    EXPECT_EQ(Format("%F|%.2F|%.0F|%.1F", 1234.5, -1012.25, 1234567.0, 999.94),
              "1,234.500000|-1,012.25|1,234,567|999.9");
    // Large values go through the runtime and get their separators too.
    EXPECT_EQ(Format("%+.1F|%12.1F|%.0F", 5000.0, -123456.78, 1e15), "+5,000.0|  -123,456.8|1,000,000,000,000,000");

    // In place, within the capacity given.
    const struct {
        const char* in;
        int size;
        bool isFloat;
        const char* out;
    } cases[] = {{"12345", 6, false, "12345"},          {"12345", 7, false, "12,345"},
                 {"1234567890", 12, false, "1234567,890"}, {"+123", 32, false, "+123"},
                 {"-1012.34", 32, true, "-1,012.34"},    {"1.5e+010", 32, true, "1.5e+010"},
                 {"1234567", 32, true, "1,234,567"},     {"123456.5", 9, true, "123456.5"}};
    for (const auto& c : cases) {
        char text[32];
        strcpy(text, c.in);
        (c.isFloat ? InsertFloatCommas : InsertCommas)(text, c.size);
        EXPECT_STREQ(text, c.out) << c.in << " in " << c.size;
    }
}

TEST(Format, FloatingPointFollowsTheRuntime)
{
    EXPECT_EQ(Wide(Format("%g|%.2e|%+.1f|%f", 0.5, 1500.0, 2.0, 1.5)), Runtime(L"0.5|%.2e|+2.0|1.500000", 1500.0));
    EXPECT_EQ(Wide(Format("%.2e", 1500.0)).substr(0, 5), L"1.50e");
    EXPECT_EQ(Wide(Format("%+e|%+g|%.3g", 12.5, 12.5, 1234.5)), Runtime(L"%+e|%g|%.3g", 12.5, 12.5, 1234.5));
    EXPECT_EQ(Format("%08.2f|%-8.1f|%.0f|%.f|%.*f", -3.14159, 2.35, 0.4, 2.75, 3, 1.0), "000-3.14|2.4     |0|3|1.000");

    // Every %f, whichever way the engine takes, has the runtime's digits:
    // values at or near a rounding half, negative zero, large and tiny ones.
    const double values[] = {0.0,   -0.0,   0.125,     0.375,         2.5,        -2.5,  1.005,
                             1.115, -1.005, 0.0049999, 123456789.987, 1e11 + 0.5, 1e12,  1e15,
                             1e20,  -1e-300, 4.35,     0.045,         99.995,     1.0 / 3, 8589934592.75};
    for (double v : values) {
        for (int prec = 0; prec <= 16; ++prec) {
            EXPECT_EQ(Wide(Format("%.*f", prec, v)), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
            EXPECT_EQ(Wide(Format("%+.*f", prec, v)), Runtime(L"%+.*f", prec, v)) << v << " prec " << prec;
        }
    }
    unsigned state = 12345;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1103515245u + 12345u;
        double v = (double)(int)state / (double)(1 + (state >> 20)) * ((i % 7) ? 1.0 : 1e6);
        int prec = (int)(state >> 8) % 9;
        ASSERT_EQ(Wide(Format("%.*f", prec, v)), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
    }
}

TEST(Format, TextConversionsKeepUnitsAboveAscii)
{
    // 8-bit text, characters and the format itself widen as signed bytes.
    EXPECT_EQ(Format("%s|%c|%c|%c", "\xE9t\xE9", 0xE9, 0x141, 'z'), L"\xFFE9t\xFFE9|\xFFE9|A|z");
    EXPECT_EQ(Format("\xB0%d\x80", 5), L"\xFFB0" L"5\xFF80");
    // %C keeps the low 16 bits; %U and %S copy wide units unchanged.
    EXPECT_EQ(Format("%C%C[%U]", 0x20AC, 0x1263A, L"\x00E9\xFFFF"), L"\x20AC\x263A[\x00E9\xFFFF]");
    KString k(L"\x0416\x00E9z\xD83D\xDE00");
    EXPECT_EQ(Format("%S|%8S|%-7S|", &k, &k, &k),
              L"\x0416\x00E9z\xD83D\xDE00|   \x0416\x00E9z\xD83D\xDE00|\x0416\x00E9z\xD83D\xDE00  |");
    EXPECT_EQ(Format("%4U|%-3s|", L"\x00FC", "\xFC"), L"   \x00FC|\xFFFC  |");

    // A wide format is narrowed to its low bytes, at most 1000 of them.
    KString s;
    EXPECT_EQ(s.set(L"%d\x0141\x20AC", 5), 3);
    EXPECT_EQ(s, L"5A\xFFAC");
    EXPECT_EQ(s.set(std::wstring(1200, L'x').c_str()), 1000);
}

TEST(Format, DateAndWindowConversions)
{
    // Noon UTC in July: the same year in every time zone.
    KDateTime t(1309780800), unknown(-1);
    EXPECT_EQ(Format("%{%Y}t|%{{%Y}}t|%6{%Y}t|%-6{%Y}t|", &t, &t, &t, &t), "2011|{2011}|  2011|2011  |");
    EXPECT_EQ(Format("%{%Y-%m-%d}t|%t|%{}t", &t, &t, &t),
              t.to_string("%Y-%m-%d") + "|" + t.to_string(nullptr) + "|" + t.to_string(nullptr));
    EXPECT_EQ(Format("%t|%{%Y}t", &unknown, &unknown), "???|???");

    NamedWindow w;
    EXPECT_EQ(Format("%w|%{abc}w|%-8{x}w|%8{}w", &w, &w, &w, &w), "<(null)>|<abc>|<x>     |<(null)>");
    EXPECT_EQ(w.calls, 4);
}

TEST(Format, BraceTextNestsAndKeepsAHundredCharacters)
{
    NamedWindow w;
    EXPECT_EQ(Format("%{a{b}c}w|%{{x}{y}}w.", &w, &w), "<a{b}c>|<{x}{y}>.");
    // Conversions inside the brace text consume no arguments.
    EXPECT_EQ(Format("%{%d%s}w %d", &w, 5), "<%d%s> 5");

    std::string inner;
    for (int i = 0; i < 150; ++i)
        inner += (char)('a' + i % 26);
    EXPECT_EQ(Format(("%{" + inner + "}w tail %d").c_str(), &w, 3), ("<" + inner.substr(0, 100) + "> tail 3").c_str());
    EXPECT_EQ(w.lastFormat, inner.substr(0, 100));
    // A long nested text is cut at 100 characters but still ends at its brace.
    std::string nested = "{" + std::string(120, 'n') + "}";
    EXPECT_EQ(Format(("%{" + nested + "}w end").c_str(), &w), ("<" + nested.substr(0, 100) + "> end").c_str());
}

TEST(Format, FormatEndsAtATrailingPercentOrAnOpenBrace)
{
    NamedWindow w;
    for (const char* f : {"abc%", "abc%-05.2", "abc%l", "abc%{12", "abc%{1}", "abc%{x{y}w and more"})
        EXPECT_EQ(Format(f, &w), "abc") << f;
    EXPECT_EQ(w.calls, 0);
    EXPECT_EQ(Format(nullptr), "");
}

TEST(Format, UnknownConversionShowsOneBoxAndConsumesNoArgument)
{
    KString s;
    BoxWatcher one;
    s.set("[%q]%d|%d", 7, 8);
    auto boxes = one.finish();
    EXPECT_EQ(s, "[]7|8");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, L"Tarnwell (01-1018)");
    EXPECT_EQ(boxes[0].second, L"Unknown case 'q' in KString::_vsprint().");

    // The empty field is still padded; each box names its character.
    BoxWatcher two;
    s.set("[%5y]%-3Z|%d", 9);
    boxes = two.finish();
    EXPECT_EQ(s, "[     ]   |9");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].second, L"Unknown case 'y' in KString::_vsprint().");
    EXPECT_EQ(boxes[1].second, L"Unknown case 'Z' in KString::_vsprint().");
}

TEST(Format, AppendStompFieldAndExactResults)
{
    KString s("n=");
    s.append("%d/%s", 5, "x");
    EXPECT_EQ(s, "n=5/x");
    EXPECT_EQ(s.set("%s%S", "ab", &s), 7);
    EXPECT_EQ(s, "abn=5/x");
    KString line("abcdefg");
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
    KFormatSpec spec;
    EXPECT_TRUE(spec.prec == -1 && spec.fmt == ' ' && spec.mod == ' ' && spec.pad == L' ');
    spec.parseFormat("Value: %-08.3{x}lf mV");
    EXPECT_STREQ(spec.prefix, "Value: ");
    EXPECT_STREQ(spec.format, "%-08.3{x}lf");
    EXPECT_STREQ(spec.suffix, " mV");
    EXPECT_STREQ(spec.sub, "x");
    EXPECT_TRUE(spec.left && !spec.sign && spec.pad == L'0');
    EXPECT_EQ(spec.width * 100 + spec.prec, 803);
    EXPECT_EQ(spec.mod, 'l');
    EXPECT_EQ(spec.fmt, 'f');
    EXPECT_EQ(spec.off, 17);

    // No precision is 0, '*' is -1; "%%" is '%' in the prefix only.
    spec.parseFormat("100%% of %+*.*s%%");
    EXPECT_STREQ(spec.prefix, "100% of ");
    EXPECT_TRUE(spec.sign && spec.width == -1 && spec.prec == -1 && spec.fmt == 's');
    EXPECT_STREQ(spec.suffix, "%%");
    spec.parseFormat("%5d");
    EXPECT_TRUE(spec.prec == 0 && spec.width == 5 && spec.off == 2 && !spec.prefix[0] && !spec.sub[0]);

    // Characters outside "CDSUXbcdefpstux" are not conversions: the attempt
    // is dropped and the scan goes on with that character as text.
    spec.parseFormat("x%5gy %{a}Hd then %Lu!");
    EXPECT_STREQ(spec.prefix, "xgy Hd then ");
    EXPECT_STREQ(spec.format, "%Lu");
    EXPECT_TRUE(spec.fmt == 'u' && spec.mod == 'L');
    EXPECT_STREQ(spec.suffix, "!");
    spec.parseFormat("%w and %F");
    EXPECT_EQ(spec.fmt, ' ');
    EXPECT_STREQ(spec.prefix, "w and F");
    EXPECT_STREQ(spec.format, "");

    // Every field keeps at most 100 characters.
    std::string text(150, 'p');
    spec.parseFormat((text + "%{" + text + "}t" + text).c_str());
    EXPECT_EQ(strlen(spec.prefix) + strlen(spec.sub) + strlen(spec.suffix) + strlen(spec.format), 400u);
    EXPECT_EQ(spec.fmt, 't');
    EXPECT_EQ(spec.off, 303);

    spec.parseFormat("T=%+06.2{k}hd C");
    spec.printFormat();
    HANDLE f = CreateFileW(KDebug::getLogFileName(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::string log;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof(buf), &n, nullptr) && n)
        log.append(buf, n);
    CloseHandle(f);
    EXPECT_NE(log.find("prefix='T=' format='%+06.2{k}hd' left=0 sign=1 width=6 prec=2 mod='h' "
                       "fmt='d' off=12 pad='0' suffix=' C' sub='k'"), std::string::npos) << log;
}

TEST(Values, TextToNumbers)
{
    struct Case {
        const wchar_t* text;
        int base;
        bool ok;
        long value;
    };
    const Case ints[] = {{L"12 ", 10, true, 12}, {L"  -7\t", 10, true, -7}, {L"1F", 16, true, 31},
                         {L"010", 0, true, 8},   {L"12abc", 10, false, 0}, {L"", 10, false, 0},
                         {L"   ", 10, false, 0}, {L"1.5", 10, false, 0},   {nullptr, 10, false, 0}};
    for (const Case& c : ints) {
        int i = 99;
        EXPECT_EQ(string_to_value(&i, c.text, c.base), c.ok) << c.text;
        EXPECT_EQ(i, c.ok ? c.value : 99) << c.text;
    }
    const Case shorts[] = {{L"40000", 10, false, 0}, {L"-32769", 10, false, 0},
                           {L"-32768", 10, true, -32768}, {L"32767\n", 10, true, 32767}};
    for (const Case& c : shorts) {
        short h = 5;
        EXPECT_EQ(string_to_value(&h, c.text, c.base), c.ok) << c.text;
        EXPECT_EQ(h, c.ok ? c.value : 5) << c.text;
    }
    // bool: true exactly for 1, and a number that is not 1 still succeeds.
    bool b = true;
    EXPECT_TRUE(string_to_value(&b, L"2", 10) && !b);
    EXPECT_TRUE(string_to_value(&b, L"01", 10) && b);
    EXPECT_FALSE(string_to_value(&b, L"yes", 10));
    EXPECT_TRUE(b);

    unsigned long u = 1;
    EXPECT_TRUE(string_to_value(&u, L"4000000000", 10) && u == 4000000000ul);
    EXPECT_TRUE(string_to_value(&u, L"ff ", 16) && u == 255ul);
    EXPECT_FALSE(string_to_value(&u, L"12x", 10));
    EXPECT_EQ(u, 255ul);
    float f = 0;
    EXPECT_TRUE(string_to_value(&f, L" 1.5e3 ") && f == 1500.0f);
    EXPECT_FALSE(string_to_value(&f, L"3.25x"));
    EXPECT_EQ(f, 1500.0f);
    double d = 0;
    EXPECT_TRUE(string_to_value(&d, L"-.5") && d == -0.5);
    EXPECT_FALSE(string_to_value(&d, L""));
    EXPECT_FALSE(string_to_value(&d, L"e5"));
    EXPECT_EQ(d, -0.5);
}

TEST(Values, TextToTextAndValuesToText)
{
    KString k;
    EXPECT_TRUE(string_to_value(&k, KString(L"\x20AC x")));
    EXPECT_EQ(k, L"\x20AC x");
    wchar_t buf[8];
    wmemset(buf, L'#', 8);
    EXPECT_TRUE(string_to_value(buf, KString(L"ab\x00E9")));
    EXPECT_EQ(std::wstring(buf, 5), std::wstring(L"ab\x00E9\0#", 5));

    KString out[9];
    short s = -5;
    int i = INT_MIN;
    long l = 123456789l;
    float f = 1.5f;
    unsigned int ui = 4000000000u;
    unsigned long ul = 4294967295ul;
    KDateTime unknown(-1);
    value_to_string(out[0], &s);
    value_to_string(out[1], &i);
    value_to_string(out[2], &l);
    value_to_string(out[3], &f);
    value_to_string(out[4], &ui);
    value_to_string(out[5], &ul);
    value_to_string(out[6], &k);
    value_to_string(out[7], L"wide \x0416");
    value_to_string(out[8], &unknown);
    const wchar_t* expected[] = {L"-5",         L"-2147483648", L"123456789", L"1.500000", L"4000000000",
                                 L"4294967295", L"\x20AC x",    L"wide \x0416", L"???"};
    for (int n = 0; n < 9; ++n)
        EXPECT_EQ(out[n], expected[n]) << n;
}

TEST(Values, Rounding)
{
    EXPECT_EQ(nint(-0.5), 0);
    EXPECT_EQ(nint(-2.5), -2);
    EXPECT_EQ(nint(2.5), 3);
    EXPECT_EQ(nint(2.4999), 2);
    EXPECT_EQ(nint(-2.6), -3);
    EXPECT_EQ(nulong(2.5), 3ul);
    EXPECT_EQ(nulong(4294967294.5), 4294967295ul);
    EXPECT_EQ(nulong(0.49), 0ul);
    // Nearer multiple, upper one at equal distance.
    EXPECT_EQ(nmult(5, 7.5), 10);
    EXPECT_EQ(nmult(5, 7.4), 5);
    EXPECT_EQ(nmult(5, -7.5), -5);
    EXPECT_EQ(nmult(5, -7.6), -10);
    EXPECT_EQ(lumult(5, 10) + lumult(5, 10.1) + lumult(5, -4), 25);
    EXPECT_EQ(glmult(5, -0.1) + glmult(5, -10), -15);
    EXPECT_EQ(glmult(0.25, 1.3), 1.25);
    EXPECT_EQ(lumult(0.25, 1.3), 1.5);
}
