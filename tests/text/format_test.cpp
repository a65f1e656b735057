// The formatting language of KString::set, KFormatSpec, the separator
// helpers, the value conversions and the rounding helpers.
#include <gtest/gtest.h>
#include <korvel.h>
#include <limits.h>
#include <malloc.h>
#include <math.h>
#include <stdio.h>
#include <string>
#include <vector>
#include <wchar.h>

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

#ifdef _WIN64
// Formats from argument slots laid out as the 64-bit calling convention
// passes variable arguments: one 8-byte slot each.
KString FromSlots(const char* format, std::initializer_list<unsigned long long> slots)
{
    std::vector<unsigned long long> area(slots);
    KString s;
    s._vsprint(format, reinterpret_cast<va_list>(area.data()));
    return s;
}
#endif

std::wstring Wide(const KString& s)
{
    return std::wstring((const wchar_t*)s, s.length());
}

// What the runtime's wide printf makes of the same conversion.
std::wstring Runtime(const wchar_t* format, ...)
{
    wchar_t buf[256];
    va_list args;
    va_start(args, format);
    _vsnwprintf(buf, 255, format, args);
    va_end(args);
    buf[255] = 0;
    return buf;
}

// Closes every message box of this process from a second thread and keeps
// its title and text. Read the boxes only after finish().
class BoxWatcher {
public:
    struct Box {
        std::wstring title, text;
    };

    BoxWatcher() { thread = CreateThread(nullptr, 0, watch, this, 0, nullptr); }
    ~BoxWatcher() { finish(); }

    const std::vector<Box>& finish()
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
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[32] = {0};
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
    std::vector<Box> boxes;
};

// A window that answers toString with the text it was given.
class NamedWindow : public KWindow {
public:
    KString toString(const char* format) override
    {
        ++calls;
        lastFormat = format ? format : "(null)";
        KString s;
        s.set("<%s>", lastFormat.c_str());
        return s;
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
    EXPECT_EQ(Format("%+d %+d %+d", 0, -3, 7), "+0 -3 +7");
    EXPECT_EQ(Format("%+06d", 42), "000+42");
    // One flag only, and the pad character stays '0' when left-justified.
    EXPECT_EQ(Format("%-05d|", 42), "42000|");
    EXPECT_EQ(Format("%*d|%-*d|", 4, 7, 3, 8), "   7|8  |");
    // Text longer than the width, or than the precision, is never cut.
    EXPECT_EQ(Format("%3d|%.2s|%2s", 123456, "abcdef", "xyz"), "123456|abcdef|xyz");
    EXPECT_EQ(Format("%05s|%-4c|%3C", "ab", 'x', 0x263A), L"000ab|x   |  \x263A");
    EXPECT_EQ(Format("%d %d", INT_MIN, INT_MAX), "-2147483648 2147483647");
    EXPECT_EQ(Format("%u %lu %x %X %b %b", -1, 7ul, -1, 255, 5, 0), "4294967295 7 ffffffff FF 101 0");
    EXPECT_EQ(Format("%08X", 0xBEEF), "0000BEEF");
    // %p as the toolchain's own printf writes it.
    void* pointer = reinterpret_cast<void*>((UINT_PTR)0x1234abcd);
    char expected[40];
    snprintf(expected, sizeof(expected), "%p|%p", pointer, (void*)nullptr);
    EXPECT_EQ(Format("%p|%p", pointer, nullptr), expected);
    // Literal text around the conversions, and %%.
    EXPECT_EQ(Format("100%% of %d%%", 3), "100% of 3%");
    EXPECT_EQ(Format("%%d"), "%d");
}

TEST(Format, BraceOffsetAppliesOnlyWithoutASizeModifier)
{
    EXPECT_EQ(Format("%{1}d", 4), "5");
    EXPECT_EQ(Format("%{1}ld|%{1}hd|%{1}Hd", 4l, 4, 4ll), "4|4|4");
    EXPECT_EQ(Format("%{-1}D", 1001), "1,000");
    EXPECT_EQ(Format("%5{10}d|%-4{1}d|", 4, 0), "   14|1   |");
    // An empty brace text is offset 0; L is read and ignored.
    EXPECT_EQ(Format("%{}d %{2}Ld", 4, 4), "4 6");
    // The offset is not applied to other conversions.
    EXPECT_EQ(Format("%{5}u %{5}x", 1u, 1), "1 1");
    // h truncates the int argument to 16 bits and takes the next one after it.
    EXPECT_EQ(Format("%hd %d", 0x12345, 7), "9029 7");
    EXPECT_EQ(Format("%hd", 0xFFFF), "-1");
}

TEST(Format, SizeModifiersReadTheRightArguments)
{
    // 64-bit values with H, each followed by an int to catch a wrong read size.
    EXPECT_EQ(Format("%Hd|%d", -9000000000ll, 5), "-9000000000|5");
    EXPECT_EQ(Format("%Hd|%d", LLONG_MIN, 6), "-9223372036854775808|6");
    EXPECT_EQ(Format("%HD|%d", 1234567890123ll, 7), "1,234,567,890,123|7");
    EXPECT_EQ(Format("%Hx|%HX|%d", 0x123456789abcdefull, 0xFEDCBA9876543210ull, 8),
              "123456789abcdef|FEDCBA9876543210|8");
    EXPECT_EQ(Format("%Hb|%d", 1ull << 40, 9), ("1" + std::string(40, '0') + "|9").c_str());
    EXPECT_EQ(Format("%+Hd", 12ll), "+12");
    // u reads 32 bits even with H.
    EXPECT_EQ(Format("%Hu|%d", 4000000000u, 5), "4000000000|5");
    // h: u and b take the low 16 bits unsigned, x widens the short with its sign.
    EXPECT_EQ(Format("%hu|%hb|%hx|%hX", 70000, -1, -1, 0x18000), "4464|1111111111111111|ffffffff|FFFF8000");
    EXPECT_EQ(Format("%ld|%lx|%lu", -5l, 255ul, 4000000000ul), "-5|ff|4000000000");
#ifdef _WIN64
    // Every argument fills an 8-byte slot here; a 32-bit read must ignore
    // the upper half of its slot, which a caller may leave dirty.
    const unsigned long long dirty = 0xDEADBEEF00000000ull;
    EXPECT_EQ(FromSlots("%Hu|%u|%d|%hu|%x|%b",
                        {dirty | 4000000000u, dirty | 7, dirty | 0xFFFFFFFEu, dirty | 0x12345, dirty | 0xAB, dirty | 5}),
              "4000000000|7|-2|9029|ab|101");
#endif
}

TEST(Format, ThousandsSeparators)
{
    EXPECT_EQ(Format("%D|%D|%D|%D|%D", 1234567, -123, -1234, 0, 999), "1,234,567|-123|-1,234|0|999");
    EXPECT_EQ(Format("%D", INT_MIN), "-2,147,483,648");
    EXPECT_EQ(Format("%+D|%10D|%-8D|", 1234, 1234567, -1000), "+1,234| 1,234,567|-1,000  |");
    EXPECT_EQ(Format("%F", 1234.5), "1,234.500000");
    EXPECT_EQ(Format("%.2F|%.0F|%.1F", -1012.25, 1234567.0, 999.94), "-1,012.25|1,234,567|999.9");
    EXPECT_EQ(Format("%+.1F|%12.1F|", 5000.0, -123456.78), "+5,000.0|  -123,456.8|");
    // Large values go through the runtime and get their separators too.
    EXPECT_EQ(Format("%.0F", 1e15), "1,000,000,000,000,000");

    char text[32];
    strcpy(text, "12345");
    InsertCommas(text, 6); // no room to grow
    EXPECT_STREQ(text, "12345");
    InsertCommas(text, 7);
    EXPECT_STREQ(text, "12,345");
    strcpy(text, "1234567890");
    InsertCommas(text, 12); // room for one separator only
    EXPECT_STREQ(text, "1234567,890");
    strcpy(text, "+123");
    InsertCommas(text, 32);
    EXPECT_STREQ(text, "+123");

    strcpy(text, "-1012.34");
    InsertFloatCommas(text, 32);
    EXPECT_STREQ(text, "-1,012.34");
    strcpy(text, "1.5e+010");
    InsertFloatCommas(text, 32);
    EXPECT_STREQ(text, "1.5e+010");
    strcpy(text, "1234567");
    InsertFloatCommas(text, 32);
    EXPECT_STREQ(text, "1,234,567");
    strcpy(text, "123456.5");
    InsertFloatCommas(text, 9);
    EXPECT_STREQ(text, "123456.5");
}

TEST(Format, FloatingPointFollowsTheRuntime)
{
    EXPECT_EQ(Wide(Format("%g|%.2e|%+.1f|%f", 0.5, 1500.0, 2.0, 1.5)),
              Runtime(L"0.5|%.2e|+2.0|1.500000", 1500.0));
    EXPECT_EQ(Wide(Format("%.2e", 1500.0)).substr(0, 5), L"1.50e");
    EXPECT_EQ(Wide(Format("%+e|%+g|%.3g", 12.5, 12.5, 1234.5)), Runtime(L"%+e|%g|%.3g", 12.5, 12.5, 1234.5));
    EXPECT_EQ(Format("%08.2f|%-8.1f|%.0f", -3.14159, 2.35, 0.4), "000-3.14|2.4     |0");
    EXPECT_EQ(Format("%.f|%.*f", 2.75, 3, 1.0), "3|1.000");

    // Every %f, whichever way the engine takes, gives the runtime's digits:
    // values near a rounding half, negative zero, large and tiny values.
    const double values[] = {0.0,    -0.0,       0.125,     0.375,         2.5,      -2.5,
                             1.005,  -1.005,     0.0049999, 123456789.987, 1e11 + 0.5, 1e12,
                             1e15,   1e20,       -1e-300,   4.35,          0.045,    99.995,
                             1.0 / 3, 2.0 / 3,   8589934592.75, -0.0005, 1234.5678, 0.999999999};
    for (double v : values) {
        for (int prec = 0; prec <= 16; ++prec) {
            EXPECT_EQ(Wide(Format("%.*f", prec, v)), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
            EXPECT_EQ(Wide(Format("%+.*f", prec, v)), Runtime(L"%+.*f", prec, v)) << v << " prec " << prec;
        }
    }
    // Pseudo-random values with many digits.
    unsigned seed = 12345;
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        double v = (double)(int)seed / (double)(1 + (seed >> 20)) * ((i % 7) ? 1.0 : 1e6);
        int prec = (int)(seed >> 8) % 9;
        ASSERT_EQ(Wide(Format("%.*f", prec, v)), Runtime(L"%.*f", prec, v)) << v << " prec " << prec;
    }
}

TEST(Format, TextConversionsKeepUnitsAboveAscii)
{
    // 8-bit text and characters widen as signed bytes.
    EXPECT_EQ(Format("%s", "\xE9t\xE9"), L"\xFFE9t\xFFE9");
    EXPECT_EQ(Format("%c|%c|%c", 0xE9, 0x141, 'z'), L"\xFFE9|A|z");
    EXPECT_EQ(Format("\xB0%d\x80", 5), L"\xFFB0" L"5\xFF80");
    // %C keeps the low 16 bits; %U and %S copy wide units unchanged.
    EXPECT_EQ(Format("%C%C", 0x20AC, 0x1263A), L"\x20AC\x263A");
    EXPECT_EQ(Format("[%U]", L"\x20AC\x00E9\xFFFF"), L"[\x20AC\x00E9\xFFFF]");
    KString k(L"\x0416\x00E9z\xD83D\xDE00");
    EXPECT_EQ(Format("%S|%8S|%-7S|", &k, &k, &k),
              L"\x0416\x00E9z\xD83D\xDE00|   \x0416\x00E9z\xD83D\xDE00|\x0416\x00E9z\xD83D\xDE00  |");
    EXPECT_EQ(Format("%4U|%-3s|", L"\x00FC", "\xFC"), L"   \x00FC|\xFFFC  |");

    // A wide format is narrowed to its low bytes, at most 1000 of them.
    KString s;
    EXPECT_EQ(s.set(L"%d\x0141\x20AC", 5), 3);
    EXPECT_EQ(s, L"5A\xFFAC");
    std::wstring longFormat(1200, L'x');
    EXPECT_EQ(s.set(longFormat.c_str()), 1000);
}

TEST(Format, DateAndWindowConversions)
{
    // Mid-year noon UTC: the same year and day in every time zone.
    KDateTime t(1309780800);
    EXPECT_EQ(Format("%{%Y}t", &t), "2011");
    EXPECT_EQ(Format("%{%Y-%m-%d}t|%t", &t, &t), t.to_string("%Y-%m-%d") + "|" + t.to_string(nullptr));
    EXPECT_EQ(Format("%{}t", &t), t.to_string(nullptr));
    EXPECT_EQ(Format("%{{%Y}}t", &t), "{2011}");
    EXPECT_EQ(Format("%6{%Y}t|%-6{%Y}t|", &t, &t), "  2011|2011  |");
    KDateTime unknown(-1);
    EXPECT_EQ(Format("%t|%{%Y}t", &unknown, &unknown), "???|???");

    NamedWindow w;
    EXPECT_EQ(Format("%w", &w), "<(null)>");
    EXPECT_EQ(Format("%{abc}w|%-8{x}w|%8{}w", &w, &w, &w), "<abc>|<x>     |<(null)>");
    EXPECT_EQ(w.calls, 4);
}

TEST(Format, BraceTextNestsAndKeepsAHundredCharacters)
{
    NamedWindow w;
    EXPECT_EQ(Format("%{a{b}c}w", &w), "<a{b}c>");
    EXPECT_EQ(Format("%{{x}{y}}w.", &w), "<{x}{y}>.");
    // Conversions inside the brace text consume no arguments.
    EXPECT_EQ(Format("%{%d%s}w %d", &w, 5), "<%d%s> 5");
    EXPECT_EQ(w.lastFormat, "%d%s");

    std::string inner(150, 'x');
    for (int i = 0; i < 150; ++i)
        inner[i] = (char)('a' + i % 26);
    std::string format = "%{" + inner + "}w tail %d";
    EXPECT_EQ(Format(format.c_str(), &w, 3), ("<" + inner.substr(0, 100) + "> tail 3").c_str());
    EXPECT_EQ(w.lastFormat, inner.substr(0, 100));
    // A long nested text is cut at 100 characters but still ends at its brace.
    std::string nested = "{" + std::string(120, 'n') + "}";
    format = "%{" + nested + "}w end";
    EXPECT_EQ(Format(format.c_str(), &w), ("<" + nested.substr(0, 100) + "> end").c_str());
}

TEST(Format, FormatEndsAtATrailingPercentOrAnOpenBrace)
{
    NamedWindow w;
    EXPECT_EQ(Format("abc%"), "abc");
    EXPECT_EQ(Format("abc%-05.2"), "abc");
    EXPECT_EQ(Format("abc%l"), "abc");
    EXPECT_EQ(Format("a%{12"), "a");
    EXPECT_EQ(Format("a%{1}"), "a");
    EXPECT_EQ(Format("a%{x{y}w and more", &w), "a");
    EXPECT_EQ(w.calls, 0);
    EXPECT_EQ(Format(nullptr), "");
    EXPECT_EQ(Format(""), "");
}

TEST(Format, AbsurdWidthIsRefusedAndLeavesTheString)
{
    KString s("kept");
    EXPECT_THROW(s.set("%*d", INT_MAX, 1), std::bad_alloc);
    EXPECT_EQ(s, "kept");
    // Negative widths from '*' pad nothing.
    EXPECT_EQ(Format("%*d|%-*d|", -5, 1, INT_MIN, 2), "1|2|");
}

TEST(Format, UnknownConversionShowsOneBoxAndConsumesNoArgument)
{
    KString s;
    {
        BoxWatcher watcher;
        s.set("[%q]%d|%s", 7, "next");
        const auto& boxes = watcher.finish();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, L"Tarnwell (01-1018)");
        EXPECT_EQ(boxes[0].text, L"Unknown case 'q' in KString::_vsprint().");
    }
    EXPECT_EQ(s, "[]7|next");
    {
        // The empty field is still padded; the box names the character.
        BoxWatcher watcher;
        s.set("[%5y]%-3Z|%d", 9);
        const auto& boxes = watcher.finish();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, L"Unknown case 'y' in KString::_vsprint().");
        EXPECT_EQ(boxes[1].text, L"Unknown case 'Z' in KString::_vsprint().");
    }
    EXPECT_EQ(s, "[     ]   |9");
}

TEST(Format, AppendStompFieldAndTheLengthReturned)
{
    KString s("n=");
    s.append("%d/%s", 5, "x");
    EXPECT_EQ(s, "n=5/x");
    EXPECT_EQ(s.set("%s%S", "ab", &s), 7);
    EXPECT_EQ(s, "abn=5/x");

    KString line("abcdefg");
    line.stompField(2, 4, "%d", 7);
    EXPECT_EQ(line, "ab7  fg");
    line.stompField(1, 2, "%s", "WXYZ");
    EXPECT_EQ(line.length(), 7);
    EXPECT_EQ(line, "aWX  fg");

    // The result is an exact buffer even for text longer than any start area.
    std::string big(5000, 'q');
    EXPECT_EQ(s.set("%s|%5000d|%s", big.c_str(), 1, big.c_str()), 5000 + 1 + 5000 + 1 + 5000);
    EXPECT_EQ(_msize((wchar_t*)s), (size_t)(15002 + 1) * sizeof(wchar_t));
    EXPECT_EQ(s[5000], L'|');
    EXPECT_EQ(s[10000], L'1');
    EXPECT_EQ(s[15001], L'q');
}

TEST(FormatSpec, ParseSplitsTheTextAroundOneConversion)
{
    KFormatSpec spec;
    EXPECT_EQ(spec.prec, -1);
    EXPECT_EQ(spec.fmt, ' ');
    EXPECT_EQ(spec.mod, ' ');
    EXPECT_EQ(spec.pad, L' ');

    spec.parseFormat("Value: %-08.3{x}lf mV");
    EXPECT_STREQ(spec.prefix, "Value: ");
    EXPECT_STREQ(spec.format, "%-08.3{x}lf");
    EXPECT_STREQ(spec.suffix, " mV");
    EXPECT_STREQ(spec.sub, "x");
    EXPECT_TRUE(spec.left);
    EXPECT_FALSE(spec.sign);
    EXPECT_EQ(spec.pad, L'0');
    EXPECT_EQ(spec.width, 8);
    EXPECT_EQ(spec.prec, 3);
    EXPECT_EQ(spec.mod, 'l');
    EXPECT_EQ(spec.fmt, 'f');
    EXPECT_EQ(spec.off, 17);

    // Without a precision it is 0; '*' gives -1; "%%" becomes '%' in the
    // prefix but stays as it is in the suffix.
    spec.parseFormat("100%% of %+*.*s%%");
    EXPECT_STREQ(spec.prefix, "100% of ");
    EXPECT_TRUE(spec.sign);
    EXPECT_EQ(spec.width, -1);
    EXPECT_EQ(spec.prec, -1);
    EXPECT_EQ(spec.fmt, 's');
    EXPECT_STREQ(spec.suffix, "%%");
    spec.parseFormat("%5d");
    EXPECT_EQ(spec.prec, 0);
    EXPECT_EQ(spec.width, 5);
    EXPECT_STREQ(spec.prefix, "");
    EXPECT_STREQ(spec.sub, "");
    EXPECT_EQ(spec.off, 2);

    // Characters outside "CDSUXbcdefpstux" are not conversions: the attempt
    // is dropped and the scan goes on with that character as text.
    spec.parseFormat("x%5gy %{a}Hd then %Lu!");
    EXPECT_STREQ(spec.prefix, "xgy Hd then ");
    EXPECT_EQ(spec.fmt, 'u');
    EXPECT_EQ(spec.mod, 'L');
    EXPECT_STREQ(spec.format, "%Lu");
    EXPECT_STREQ(spec.suffix, "!");
    spec.parseFormat("%w and %F");
    EXPECT_EQ(spec.fmt, ' ');
    EXPECT_STREQ(spec.prefix, "w and F");
    EXPECT_STREQ(spec.format, "");
    spec.parseFormat("plain text");
    EXPECT_EQ(spec.fmt, ' ');
    EXPECT_STREQ(spec.prefix, "plain text");
    EXPECT_STREQ(spec.suffix, "");

    // Every field keeps at most 100 characters.
    std::string longText(150, 'p');
    spec.parseFormat((longText + "%{" + longText + "}t" + longText).c_str());
    EXPECT_EQ(strlen(spec.prefix), 100u);
    EXPECT_EQ(strlen(spec.sub), 100u);
    EXPECT_EQ(strlen(spec.suffix), 100u);
    EXPECT_EQ(strlen(spec.format), 100u);
    EXPECT_EQ(spec.fmt, 't');
    EXPECT_EQ(spec.off, 150 + 2 + 150 + 1);
}

TEST(FormatSpec, PrintFormatWritesTheFieldsToTheLog)
{
    KFormatSpec spec;
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
                       "fmt='d' off=12 pad='0' suffix=' C' sub='k'"),
              std::string::npos)
        << log;
}

TEST(Values, TextToNumbers)
{
    int i = -1;
    EXPECT_TRUE(string_to_value(&i, L"12 ", 10));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(string_to_value(&i, L"  -7\t", 10));
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(string_to_value(&i, L"1F", 16));
    EXPECT_EQ(i, 31);
    EXPECT_TRUE(string_to_value(&i, L"010", 0));
    EXPECT_EQ(i, 8);
    i = 99;
    for (const wchar_t* bad : {L"12abc", L"", L"   ", L"abc", L"1.5", L"12,3"})
        EXPECT_FALSE(string_to_value(&i, bad, 10)) << bad;
    EXPECT_FALSE(string_to_value(&i, nullptr, 10));
    EXPECT_EQ(i, 99) << "a failed read leaves the value";

    short h = 5;
    EXPECT_FALSE(string_to_value(&h, L"40000", 10));
    EXPECT_FALSE(string_to_value(&h, L"-32769", 10));
    EXPECT_EQ(h, 5);
    EXPECT_TRUE(string_to_value(&h, L"-32768", 10));
    EXPECT_EQ(h, -32768);
    EXPECT_TRUE(string_to_value(&h, L"32767\n", 10));
    EXPECT_EQ(h, 32767);

    bool b = true;
    EXPECT_TRUE(string_to_value(&b, L"2", 10));
    EXPECT_FALSE(b);
    EXPECT_TRUE(string_to_value(&b, L"01", 10));
    EXPECT_TRUE(b);
    EXPECT_FALSE(string_to_value(&b, L"yes", 10));
    EXPECT_TRUE(b);

    unsigned long u = 1;
    EXPECT_TRUE(string_to_value(&u, L"4000000000", 10));
    EXPECT_EQ(u, 4000000000ul);
    EXPECT_TRUE(string_to_value(&u, L"ff ", 16));
    EXPECT_EQ(u, 255ul);
    EXPECT_FALSE(string_to_value(&u, L"12x", 10));
    EXPECT_EQ(u, 255ul);

    float f = 0;
    EXPECT_TRUE(string_to_value(&f, L" 1.5e3 "));
    EXPECT_EQ(f, 1500.0f);
    EXPECT_FALSE(string_to_value(&f, L"3.25x"));
    EXPECT_EQ(f, 1500.0f);
    double d = 0;
    EXPECT_TRUE(string_to_value(&d, L"-.5"));
    EXPECT_EQ(d, -0.5);
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

    KString out;
    short s = -5;
    int i = INT_MIN;
    long l = 123456789l;
    float f = 1.5f;
    unsigned int ui = 4000000000u;
    unsigned long ul = 4294967295ul;
    value_to_string(out, &s);
    EXPECT_EQ(out, "-5");
    value_to_string(out, &i);
    EXPECT_EQ(out, "-2147483648");
    value_to_string(out, &l);
    EXPECT_EQ(out, "123456789");
    value_to_string(out, &f);
    EXPECT_EQ(out, "1.500000");
    value_to_string(out, &ui);
    EXPECT_EQ(out, "4000000000");
    value_to_string(out, &ul);
    EXPECT_EQ(out, "4294967295");
    value_to_string(out, &k);
    EXPECT_EQ(out, L"\x20AC x");
    value_to_string(out, L"wide \x0416");
    EXPECT_EQ(out, L"wide \x0416");
    KDateTime unknown(-1), t(1309780800);
    value_to_string(out, &unknown);
    EXPECT_EQ(out, "???");
    value_to_string(out, &t);
    EXPECT_EQ(out, t.to_string(nullptr));
}

TEST(Values, Rounding)
{
    EXPECT_EQ(nint(-0.5), 0);
    EXPECT_EQ(nint(-2.5), -2);
    EXPECT_EQ(nint(2.5), 3);
    EXPECT_EQ(nint(2.4999), 2);
    EXPECT_EQ(nint(-2.6), -3);
    EXPECT_EQ(nint(0.0), 0);
    EXPECT_EQ(nulong(2.5), 3ul);
    EXPECT_EQ(nulong(4294967294.5), 4294967295ul);
    EXPECT_EQ(nulong(0.49), 0ul);

    EXPECT_EQ(nmult(5, 7.5), 10);
    EXPECT_EQ(nmult(5, 7.4), 5);
    EXPECT_EQ(nmult(5, -7.5), -5);
    EXPECT_EQ(nmult(5, -7.6), -10);
    EXPECT_EQ(nmult(5, 10), 10);
    EXPECT_EQ(lumult(5, 10), 10);
    EXPECT_EQ(lumult(5, 10.1), 15);
    EXPECT_EQ(lumult(5, -4), 0);
    EXPECT_EQ(glmult(5, -0.1), -5);
    EXPECT_EQ(glmult(5, -10), -10);
    EXPECT_EQ(glmult(0.25, 1.3), 1.25);
    EXPECT_EQ(lumult(0.25, 1.3), 1.5);
}
