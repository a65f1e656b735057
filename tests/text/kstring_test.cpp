// KString and KStringBuff: exact-size buffers, byte widening, the 8-bit view
// ring, clamping rules, searching, editing and splitting.
#include <gtest/gtest.h>
#include <ctype.h>
#include <malloc.h>
#include <string.h>
#include "kstring.h"

namespace {

// The buffer must hold exactly length + 1 units, the last one 0.
void ExpectExact(const KString& s, const char* text)
{
    EXPECT_EQ(s, text);
    EXPECT_EQ(_msize((wchar_t*)s), (s.length() + 1) * sizeof(wchar_t)) << text;
    EXPECT_EQ(s[s.length()], 0) << text;
}

TEST(KString, EveryChangeLeavesAnExactBuffer)
{
    KString fromEmpty(""), plain, cleared("abc");
    cleared.clear();
    for (const KString* s : {&fromEmpty, &plain, &cleared}) {
        EXPECT_TRUE(s->isNull());
        EXPECT_FALSE(s->notNull());
        ExpectExact(*s, "");
    }

    KString s("hello");
    s += " world";
    ExpectExact(s, "hello world");
    s += s;
    ExpectExact(s, "hello worldhello world");
    s.trunc(5);
    ExpectExact(s, "hello");
    s.insert('!', 5);
    s.insert("<<", 0);
    ExpectExact(s, "<<hello!");
    s.stripChars(L"<!");
    ExpectExact(s, "hello");
    EXPECT_EQ(s.removeChar(L'l'), 2);
    ExpectExact(s, "heo");
    EXPECT_TRUE(s.skip("h", true));
    ExpectExact(s, "eo");
    s.blank(4, L'-');
    ExpectExact(s, "----");
    ExpectExact(KString("abcdef")(1, 3), "bc");
    ExpectExact(KString("a-b").replace("-", "+++"), "a+++b");
    ExpectExact(KString(3, L'x'), "xxx");

    // remove works in place: the buffer keeps its size.
    KString r("abcdef");
    r.remove(4, 1);
    EXPECT_EQ(r, "af");
    EXPECT_EQ(_msize((wchar_t*)r), 7 * sizeof(wchar_t));
}

TEST(KString, BytesWidenAsSignedAndNarrowBack)
{
    KString s("\xE9");
    ASSERT_EQ(s.length(), 1);
    EXPECT_EQ(s[0], 0xFFE9);
    EXPECT_STREQ((const char*)s, "\xE9");
    EXPECT_TRUE(s == "\xE9");
    EXPECT_FALSE(KString(L"\x00E9") == "\xE9");
    // Units compare unsigned: a widened byte sorts after ASCII.
    EXPECT_GT(s, KString("z"));

    KString t("a");
    t += (char)0x80;
    t.insert("\xFF", 0);
    EXPECT_EQ(t[0], 0xFFFF);
    EXPECT_EQ(t[2], 0xFF80);
    char out[4];
    t.getString(out, sizeof out);
    EXPECT_STREQ(out, "\xFF" "a\x80");
}

TEST(KString, EightBitViewsRotateThroughTwentyBuffers)
{
    KString shortText("short");
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
}

TEST(KString, FixedBufferCopiesStopAtTheSize)
{
    KString s("abcdef");
    char out[4];
    s.getString(out, sizeof out);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(_SafeCopy(out, KString("ab"), 4), 2);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(_SafeCopy(out, s, 4), 3);
    EXPECT_STREQ(out, "abc");
}

TEST(KString, ComparisonsAreOrdinalAndThreeWay)
{
    KString a("a"), z("z"), ab("ab"), high(L"\xFFFF");
    EXPECT_EQ(a - z, -1L);
    EXPECT_EQ(z - a, 1L);
    EXPECT_EQ(a - KString("a"), 0L);
    EXPECT_EQ(ab - a, 1L);
    EXPECT_EQ(KString() - a, -1L);
    EXPECT_EQ(high - a, 1L);
    EXPECT_TRUE(a < ab && a <= a && z > a && z >= z);
    EXPECT_FALSE(ab < a);
    EXPECT_TRUE(ab == L"ab" && ab != L"abc");

    KString abc("abc");
    EXPECT_TRUE(abc.beginsWith("AB", false));
    EXPECT_FALSE(abc.beginsWith("AB", true));
    EXPECT_FALSE(abc.startsWith("abcd"));
    EXPECT_TRUE(abc.endsWith("BC", false));
    EXPECT_FALSE(abc.endsWith("BC", true));
    EXPECT_FALSE(abc.endsWith("xabc", false));
}

TEST(KString, SearchPositions)
{
    KString s("a b\tcab ");
    EXPECT_EQ(s.find("ab"), 5);
    EXPECT_EQ(s.hasSub("xyz"), -1);
    EXPECT_EQ(s.findChar(L'b'), 2);
    EXPECT_EQ(s.findLast(L'b'), 6);
    EXPECT_EQ(s.findChar(0), -1);
    EXPECT_EQ(s.countChar(L'a'), 2);
    EXPECT_EQ(s.nonSpace(), 6);
    EXPECT_EQ(KString().lastChar(), 0);
}

TEST(KString, SubstringsAndRemovalClamp)
{
    KString s("abcdef");
    EXPECT_EQ(s(2, -1), "cdef");
    EXPECT_EQ(s(4, 2), "");
    EXPECT_EQ(s(-3, 2), "ab");
    EXPECT_EQ(s(2, 100), "cdef");
    EXPECT_EQ(s(9, 12), "");

    struct Case {
        int a, b;
        const char* want;
    } cases[] = {{4, 1, "af"}, {10, 12, "abcdef"}, {-5, 1, "cdef"}, {3, 100, "abc"}, {3, 6, "abc"}, {2, 2, "abdef"}};
    for (const Case& c : cases) {
        KString r("abcdef");
        r.remove(c.a, c.b);
        EXPECT_EQ(r, c.want) << c.a << "," << c.b;
    }
    KString r("abc");
    r.remove(3);
    r.remove(-1);
    EXPECT_EQ(r, "abc");
    r.remove(0);
    EXPECT_EQ(r, "bc");
}

TEST(KString, StompFieldOverwritesWithoutChangingLength)
{
    KString s("abcdefg");
    s.stompField(1, 4, KString("xy"));
    EXPECT_EQ(s, "axy  fg");
    s.stompField(1, 2, KString("wxyz"));
    EXPECT_EQ(s, "awx  fg");
    s.stompField(5, 7, KString("zz"));
    s.stompField(-1, 2, KString("zz"));
    EXPECT_EQ(s, "awx  fg");
}

TEST(KString, InsertClampsAndReplaceTakesTheFirstOccurrence)
{
    KString s("ac");
    s.insert(L'b', 1);
    s.insert(L'!', 3);
    s.insert(L'!', 9);
    s.insert("?", -1);
    EXPECT_EQ(s, "abc!");

    KString t("one two one");
    EXPECT_EQ(t.replace("one", "1"), "1 two one");
    EXPECT_EQ(t.replaceToken("two", "three"), "one three one");
    EXPECT_EQ(t.replace("six", "6"), t);
    EXPECT_EQ(t.replace("", ">"), ">one two one");
    EXPECT_EQ(t.replaceToken("", ">"), ">one two one");
}

TEST(KString, CaseAndCharacterClasses)
{
    KString s("hELLO wORLD\tfoo");
    s.capitalizeFirstChars();
    EXPECT_EQ(s, "Hello World\tFoo");
    s.toUpper(6);
    EXPECT_EQ(s, "Hello WORLD\tFOO");

    KString d("a1b2c3");
    EXPECT_EQ(d.replaceChar(L'b', 0), 0);
    EXPECT_EQ(d.replaceChar(L'c', L'b'), 1);
    KString digits(d);
    EXPECT_EQ(digits.keepChars(isdigit), 3);
    EXPECT_EQ(digits, "123");
    EXPECT_EQ(d.removeChars(isdigit), 3);
    EXPECT_EQ(d, "abb");
}

TEST(KString, StrippingTrimmingAndSkipping)
{
    KString s(" \t ab c \n");
    s.stripSpaces();
    EXPECT_EQ(s, "ab c");
    KString stars("**a*b**");
    stars.stripChar(L'*');
    EXPECT_EQ(stars, "a*b");
    KString blanks("   ");
    blanks.stripTrailing();
    EXPECT_TRUE(blanks.isNull());

    KString f("file.txt");
    EXPECT_FALSE(f.trim(".TXT", true));
    EXPECT_TRUE(f.trim(".TXT", false));
    EXPECT_EQ(f, "file");
    EXPECT_EQ(f.length(), 4);
    EXPECT_TRUE(f.skip("FI", false));
    EXPECT_EQ(f, "le");
}

TEST(KString, SplitKeepsEmptyFieldsAndTokensDoNot)
{
    KArray<KString> a = KString("a,b,").split(L',', false);
    ASSERT_EQ(a.count(), 3);
    EXPECT_TRUE(a[0] == "a" && a[1] == "b" && a[2].isNull());
    KArray<KString> e = KString().split(L',', false);
    ASSERT_EQ(e.count(), 1);
    EXPECT_TRUE(e[0].isNull());
    KArray<KString> s = KString(" x , y ").split(L',', true);
    ASSERT_EQ(s.count(), 2);
    EXPECT_TRUE(s[0] == "x" && s[1] == "y");

    KArray<KString> t = KString("  ab  c ").splitTokens();
    ASSERT_EQ(t.count(), 2);
    EXPECT_TRUE(t[0] == "ab" && t[1] == "c");
    EXPECT_EQ(KString(" \t ").splitTokens().count(), 0);
}

TEST(KStringBuff, GrowsByDoublingAndPadsFields)
{
    KStringBuff b;
    EXPECT_EQ(_msize(b.getBuff()), 128 * sizeof(wchar_t));
    b.verifyBuffer(1000);
    EXPECT_EQ(_msize(b.getBuff()), 1024 * sizeof(wchar_t));
    for (int i = 0; i < 1100; ++i)
        b += (wchar_t)(L'a' + i % 26);
    ASSERT_EQ(b.getLength(), 1100);
    EXPECT_EQ(b.getBuff()[1099], L'a' + 1099 % 26);

    KStringBuff f;
    KString k("k");
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
    const wchar_t want[] = {0xFFE9, 'k', '*', '*', '*', 'a', 'b', 'c', 'd', '.', '.', 'l', 'o', 'n', 'g'};
    ASSERT_EQ(f.getLength(), 15);
    EXPECT_EQ(memcmp(f.getBuff(), want, sizeof want), 0);
}

} // namespace
