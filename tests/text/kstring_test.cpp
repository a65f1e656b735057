// KString, KStringBuff and the string utilities: exact-size buffers, byte widening, the 8-bit view
// ring, clamping rules, searching, editing, splitting, the 8-bit helpers and the fixed-column splitter.
#include <gtest/gtest.h>
#include <ctype.h>
#include <malloc.h>
#include <string.h>
#include <functional>
#include "test_support.h"

namespace {

using Ints = std::vector<long long>;

// The buffer must hold exactly length + 1 units, the last one 0.
void ExpectExact(const KString& s, const char* text)
{
    EXPECT_EQ(s, text);
    EXPECT_EQ(_msize((wchar_t*)s), (s.length() + 1) * sizeof(wchar_t)) << text;
    EXPECT_EQ(s[s.length()], 0) << text;
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
    for (int i = 0; i < a.count(); ++i)
        s += "[" + Narrow(a[i]) + "]";
    return s;
}

TEST(KString, EveryChangeLeavesAnExactBufferAndTheBuilderDoubles)
{
    KString fromEmpty(""), plain, cleared("abc"), s("hello"), r("abcdef");
    cleared.clear();
    for (const KString* e : {&fromEmpty, &plain, &cleared}) {
        EXPECT_TRUE(e->isNull() && !e->notNull());
        ExpectExact(*e, "");
    }
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] { s += " world"; }, "hello world"}, {[&] { s += s; }, "hello worldhello world"},
        {[&] { s.trunc(5); }, "hello"},          {[&] { s.insert('!', 5); }, "hello!"},
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
    // remove works in place: the buffer keeps its size.
    r.remove(4, 1);
    EXPECT_EQ(r, "af");
    EXPECT_EQ(_msize((wchar_t*)r), 7 * sizeof(wchar_t));
    // KStringBuff grows by doubling and pads fields.
    KStringBuff b, f;
    KString k("k");
    EXPECT_EQ(_msize(b.getBuff()), 128 * sizeof(wchar_t));
    b.verifyBuffer(1000);
    EXPECT_EQ(_msize(b.getBuff()), 1024 * sizeof(wchar_t));
    for (int i = 0; i < 1100; ++i)
        b += (wchar_t)(L'a' + i % 26);
    ASSERT_EQ(b.getLength(), 1100);
    EXPECT_EQ(b.getBuff()[1099], L'a' + 1099 % 26);
    f.append("\xE9z", 1);
    f += &k;
    f.markPos();
    f += "ab";
    f.padField(5, L'*', false);
    f.markPos();
    f += L"cd";
    f.padField(4, L'.', true);
    f.markPos();
    f += "long";
    f.padField(2, L'#', true);
    EXPECT_EQ(std::wstring(f.getBuff(), f.getLength()), L"\xFFE9k***abcd..long");
}

TEST(KString, BytesWidenAsSignedAndNarrowBackIntoViewsAndBuffers)
{
    KString s("\xE9"), t("a"), shortText("short");
    EXPECT_EQ(Wide(s), L"\xFFE9");
    EXPECT_STREQ((const char*)s, "\xE9");
    EXPECT_TRUE(s == "\xE9" && !(KString(L"\x00E9") == "\xE9"));
    // Units compare unsigned: a widened byte sorts after ASCII.
    EXPECT_GT(s, KString("z"));
    t += (char)0x80;
    t.insert("\xFF", 0);
    EXPECT_EQ(Wide(t), L"\xFFFF" L"a\xFF80");
    char out[8];
    t.getString(out, 4);
    EXPECT_STREQ(out, "\xFF" "a\x80");
    // Wide against 8-bit text: the difference of the first differing units.
    EXPECT_EQ(Ints({_strcmp(L"abc", "abc"), _strcmp(L"abd", "abc"), _strcmp(L"ab", "abc"),
                    _strcmp(L"abc", "ab"), _strcmp(L"\xFFE9", "\xE9"), _strcmp(L"\xE9", "\xE9")}),
              Ints({0, 1, -'c', 'c', 0, 0xE9 - 0xFFE9}));
    // The 8-bit views rotate through twenty buffers.
    const char* first = shortText;
    for (int i = 1; i < 20; ++i)
        EXPECT_NE((const char*)KString("other"), first);
    EXPECT_STREQ(first, "short");
    EXPECT_EQ((const char*)KString("again"), first);
    // A long text gets a larger buffer, given back when its slot comes round.
    const char* big = KString(100, L'x');
    EXPECT_EQ(strlen(big), 100u);
    EXPECT_EQ(_msize((void*)big), 101u);
    for (int i = 1; i < 20; ++i)
        (void)(const char*)shortText;
    EXPECT_EQ(_msize((void*)(const char*)shortText), 64u);
    // Fixed-buffer copies stop at the size; getString's last byte is 0 even after a shorter text.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"abcdef", 4, "abc"}, {"ab", 4, "ab"}, {"ab", 6, "ab"}, {"", 3, ""}, {"abc", 1, ""}};
    for (const auto& [text, size, want] : cases) {
        memset(out, 'x', sizeof out);
        KString(text).getString(out, size);
        EXPECT_STREQ(out, want) << text << " in " << size;
        EXPECT_TRUE(out[size - 1] == 0 && out[size] == 'x') << text << " in " << size;
        EXPECT_EQ(_SafeCopy(out, KString(text), size), (int)strlen(want)) << text;
        EXPECT_STREQ(out, want);
        EXPECT_EQ(_SafeCopy(out, text, size), (int)strlen(want)) << text;
        EXPECT_STREQ(out, want);
    }
}

TEST(KString, ComparisonsSearchesAndSplits)
{
    KString a("a"), z("z"), ab("ab"), high(L"\xFFFF"), abc("abc"), s("a b\tcab ");
    EXPECT_EQ(Ints({a - z, z - a, a - KString("a"), ab - a, KString() - a, high - a}),
              Ints({-1, 1, 0, 1, -1, 1}));
    EXPECT_TRUE(a < ab && a <= a && z > a && z >= z && !(ab < a));
    EXPECT_TRUE(ab == L"ab" && ab != L"abc");
    EXPECT_TRUE(abc.beginsWith("AB", false) && !abc.beginsWith("aB", true) && !abc.startsWith("abcd"));
    EXPECT_TRUE(abc.endsWith("BC", false) && !abc.endsWith("BC", true) && !abc.endsWith("xabc", false));
    EXPECT_EQ(Ints({s.find("ab"), s.hasSub("xyz"), s.findChar(L'b'), s.findLast(L'b'), s.findChar(0),
                    s.countChar(L'a'), s.nonSpace(), KString().lastChar()}),
              Ints({5, -1, 2, 6, -1, 2, 6, 0}));
    KArray<KString> list;
    for (const char* item : {"red", "green", "Red", "green"})
        list.append(KString(item));
    EXPECT_EQ(Ints({LookupIndex(list, KString("green")), LookupIndex(list, KString("Red")),
                    LookupIndex(list, KString("blue")), LookupIndex(KArray<KString>(), KString("red"))}),
              Ints({1, 2, -1, -1}));
    // Splitting keeps empty fields; tokens never are empty.
    EXPECT_EQ(Joined(KString("a,b,").split(L',', false)) + Joined(KString().split(L',', false)),
              "3:[a][b][]1:[]");
    EXPECT_EQ(Joined(KString(" x , y ").split(L',', true)), "2:[x][y]");
    EXPECT_EQ(Joined(KString("  ab  c ").splitTokens()) + Joined(KString(" \t ").splitTokens()),
              "2:[ab][c]0:");
}

TEST(KString, EditsClampTheirPositions)
{
    KString s("abcdef");
    EXPECT_TRUE(s(2, -1) == "cdef" && s(4, 2) == "" && s(-3, 2) == "ab" && s(2, 100) == "cdef");
    EXPECT_EQ(s(9, 12), "");
    const std::pair<std::string, const char*> rows[] = {
        {EDIT("abcdef", remove(4, 1)), "af"},    {EDIT("abcdef", remove(10, 12)), "abcdef"},
        {EDIT("abcdef", remove(-5, 1)), "cdef"}, {EDIT("abcdef", remove(3, 100)), "abc"},
        {EDIT("abcdef", remove(3, 6)), "abc"},   {EDIT("abcdef", remove(2, 2)), "abdef"},
        {EDIT("abc", remove(3)), "abc"}, {EDIT("abc", remove(-1)), "abc"}, {EDIT("abc", remove(0)), "bc"},
        {EDIT("ac", insert('b', 1)), "abc"}, {EDIT("a", insert('!', 1)), "a!"},
        {EDIT("a", insert('!', 2)), "a"}, {EDIT("", insert("?", -1)), ""}, {EDIT("  ", stripTrailing()), ""},
        {EDIT("**a*b**", stripChar(L'*')), "a*b"}, {EDIT(" \t ab c \n", stripSpaces()), "ab c"},
        {EDIT("abcdefg", stompField(1, 4, L"xy")), "axy  fg"},
        {EDIT("abcdefg", stompField(1, 2, L"wxyz")), "awxdefg"},
        {EDIT("abcdefg", stompField(5, 7, L"zz")), "abcdefg"},
        {EDIT("abcdefg", stompField(-1, 2, L"zz")), "abcdefg"},
        {EDIT("hELLO wORLD\tfoo", capitalizeFirstChars()), "Hello World\tFoo"},
        {EDIT("Hello World\tFoo", toUpper(6)), "Hello WORLD\tFOO"}};
    for (const auto& [got, want] : rows)
        EXPECT_EQ(got, want);
    // replace and replaceToken take the first occurrence.
    KString t("one two one"), d("a1b2c3"), f("file.txt");
    EXPECT_EQ(Narrow(t.replace("one", "1")) + "|" + Narrow(t.replaceToken("two", "three")) + "|" +
                  Narrow(t.replace("six", "6")) + "|" + Narrow(t.replace("", ">")) + "|" +
                  Narrow(t.replaceToken("", ">")),
              "1 two one|one three one|one two one|>one two one|>one two one");
    EXPECT_EQ(Ints({d.replaceChar(L'b', 0), d.replaceChar(L'c', L'b')}), Ints({0, 1}));
    KString digits(d);
    EXPECT_EQ(Ints({digits.keepChars(isdigit), d.removeChars(isdigit)}), Ints({3, 3}));
    EXPECT_TRUE(digits == "123" && d == "abb");
    EXPECT_TRUE(!f.trim(".TXT", true) && f.trim(".TXT", false) && f == "file" && f.length() == 4);
    EXPECT_TRUE(f.skip("FI", false) && f == "le");
    // The free functions work on a copy.
    KString original(L"  hello World\t");
    EXPECT_EQ(Narrow(ToUpper(original)) + "|" + Narrow(ToLower(original)) + "|" +
                  Narrow(StripSpaces(original)) + "|" + Narrow(CapitalizeFirstChars(original)) + "|" +
                  Narrow(original),
              "  HELLO WORLD\t|  hello world\t|hello World|  Hello World\t|  hello World\t");
    EXPECT_EQ(Narrow(InsertLF(KString("a\nb"))) + "|" + Narrow(InsertLF(KString("\n\nx\r\n"))) + "|" +
                  Narrow(InsertLF(KString())),
              "a\r\nb|\r\n\r\nx\r\r\n|");
}

TEST(StringUtilities, NarrowHelpersAndFixedColumns)
{
    EXPECT_TRUE(HasLower("ABc") && !HasLower("AB1 ") && HasUpper("abC") && !HasUpper(""));
    EXPECT_EQ(Ints({FirstChar("hello", "lz"), FirstChar("hello", "xyz"), FirstChar("hello", ""),
                    strcount("hello", "lo"), strcount("hello", "loo"), strcount("", "abc")}),
              Ints({2, -1, -1, 3, 4, 0}));
    EXPECT_TRUE(strlast("path\\", "\\/") && strlast("path/", "\\/"));
    EXPECT_FALSE(strlast("path", "\\/") || strlast("", "\\/") || strlast("path\\", ""));
    for (const auto& [in, want] : {std::make_pair("  ab\t", "ab"), {" \t\n ", ""}, {"a b", "a b"}}) {
        char text[16];
        strcpy(text, in);
        EXPECT_EQ(strip_spaces(text), (int)strlen(want)) << in;
        EXPECT_STREQ(text, want);
    }
    // splitf: modifiers, literals, "%%", '*' widths and the default width of 1.
    KString name;
    int count = -1, i = 0;
    char gap[4] = "zz", c = 0, rest[16] = "unchanged";
    double value = 0;
    short small = 0;
    long long big = 0;
    unsigned long u = 0;
    unsigned short us = 0;
    long l = 0;
    EXPECT_EQ(splitf("AB0012 3.5", "%2S%4d%*s%3f", &name, &count, 1, gap, &value), 4);
    EXPECT_TRUE(name == "AB" && count == 12 && value == 3.5 && !strcmp(gap, " "));
    EXPECT_EQ(splitf("-12|9876543210 %x 65535  4000000000-7 42", "%3hd|%10Hd %%%c%6hu%12u%2Ld%3ld", &small,
                     &big, &c, &us, &u, &i, &l),
              7);
    EXPECT_EQ(Ints({small, big, c, us, (long long)u, i, l}),
              Ints({-12, 9876543210LL, 'x', 65535, 4000000000LL, -7, 42}));
    EXPECT_TRUE(splitf("7x", "%dx", &i) == 1 && i == 7);
    EXPECT_EQ(splitf("abc", "%2S%5s", &name, rest), 2);
    EXPECT_TRUE(name == "ab" && !strcmp(rest, "c"));
    // A mismatch stops and stores nothing; an unknown conversion is reported.
    EXPECT_EQ(Ints({splitf("X1", "Y%d", &i), i, splitf("1%", "%d%%x", &i), splitf("1-2", "%d+%d", &i, &i)}),
              Ints({0, 7, 0, 0}));
    BoxWatcher box;
    name.clear();
    EXPECT_EQ(splitf("abcd", "%2S%2q", &name), 2);
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.box().title, L"Tarnwell (01-1027)");
    EXPECT_EQ(box.box().text, L"Unknown case 'q' in KString::_vsprint().");
    EXPECT_EQ(name, "ab");
}

} // namespace
