// String utilities: KString copies, 8-bit helpers and the fixed-column
// splitter.
#include <gtest/gtest.h>
#include <korvel.h>
#include <string>
#include "test_support.h"

namespace {

std::string Narrow(const KString& s)
{
    std::string out;
    for (int i = 0; i < s.length(); ++i)
        out += (char)s[i];
    return out;
}

} // namespace

TEST(StringCopies, CaseSpacesAndLineFeeds)
{
    KString original(L"  hello World\t");
    EXPECT_EQ("  HELLO WORLD\t", Narrow(ToUpper(original)));
    EXPECT_EQ("  hello world\t", Narrow(ToLower(original)));
    EXPECT_EQ("hello World", Narrow(StripSpaces(original)));
    EXPECT_EQ("  Hello World\t", Narrow(CapitalizeFirstChars(original)));
    EXPECT_EQ("  hello World\t", Narrow(original)) << "the argument is a copy";

    EXPECT_EQ("a\r\nb", Narrow(InsertLF(KString("a\nb"))));
    EXPECT_EQ("\r\n\r\nx\r\r\n", Narrow(InsertLF(KString("\n\nx\r\n"))));
    EXPECT_EQ("", Narrow(InsertLF(KString())));
}

TEST(StringCopies, LookupAndWideAgainstNarrowComparison)
{
    KArray<KString> list;
    list.append(KString("red"));
    list.append(KString("green"));
    list.append(KString("Red"));
    list.append(KString("green"));
    EXPECT_EQ(1, LookupIndex(list, KString("green")));
    EXPECT_EQ(2, LookupIndex(list, KString("Red")));
    EXPECT_EQ(-1, LookupIndex(list, KString("blue")));
    EXPECT_EQ(-1, LookupIndex(KArray<KString>(), KString("red")));

    EXPECT_EQ(0, _strcmp(L"abc", "abc"));
    EXPECT_EQ('d' - 'c', _strcmp(L"abd", "abc"));
    EXPECT_EQ(-'c', _strcmp(L"ab", "abc"));
    EXPECT_EQ('c', _strcmp(L"abc", "ab"));
    // Bytes above 127 are widened as signed values.
    EXPECT_EQ(0, _strcmp(L"\xFFE9", "\xE9"));
    EXPECT_EQ(0xE9 - 0xFFE9, _strcmp(L"\xE9", "\xE9"));
}

TEST(NarrowStrings, ClassesAndCharacterSets)
{
    EXPECT_TRUE(HasLower("ABc"));
    EXPECT_FALSE(HasLower("AB1 "));
    EXPECT_TRUE(HasUpper("abC"));
    EXPECT_FALSE(HasUpper(""));

    EXPECT_EQ(2, FirstChar("hello", "lz"));
    EXPECT_EQ(-1, FirstChar("hello", "xyz"));
    EXPECT_EQ(-1, FirstChar("hello", ""));
    EXPECT_EQ(3, strcount("hello", "lo"));
    EXPECT_EQ(4, strcount("hello", "loo"));
    EXPECT_EQ(0, strcount("", "abc"));
    EXPECT_TRUE(strlast("path\\", "\\/"));
    EXPECT_TRUE(strlast("path/", "\\/"));
    EXPECT_FALSE(strlast("path", "\\/"));
    EXPECT_FALSE(strlast("", "\\/"));
    EXPECT_FALSE(strlast("path\\", ""));
}

TEST(NarrowStrings, StripAndBoundedCopy)
{
    char text[] = "  ab\t";
    EXPECT_EQ(2, strip_spaces(text));
    EXPECT_STREQ("ab", text);
    char blanks[] = " \t\n ";
    EXPECT_EQ(0, strip_spaces(blanks));
    EXPECT_STREQ("", blanks);
    char inner[] = "a b";
    EXPECT_EQ(3, strip_spaces(inner));
    EXPECT_STREQ("a b", inner);

    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(3, _SafeCopy(out, "abcdef", 4));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(2, _SafeCopy(out, "ab", 4));
    EXPECT_STREQ("ab", out);
    EXPECT_EQ(0, _SafeCopy(out, "abc", 1));
    EXPECT_STREQ("", out);
}

TEST(SplitFields, FixedColumnsIntoTypedValues)
{
    KString name;
    int count = -1;
    char gap[4] = "zz";
    double value = 0;
    EXPECT_EQ(4, splitf("AB0012 3.5", "%2S%4d%*s%3f", &name, &count, 1, gap, &value));
    EXPECT_EQ("AB", Narrow(name));
    EXPECT_EQ(12, count);
    EXPECT_STREQ(" ", gap);
    EXPECT_DOUBLE_EQ(3.5, value);

    // Modifiers, literals, "%%" and the default width of 1.
    short small = 0;
    long long big = 0;
    unsigned long u = 0;
    unsigned short us = 0;
    char c = 0;
    int i = 0;
    long l = 0;
    EXPECT_EQ(7, splitf("-12|9876543210 %x 65535  4000000000-7 42",
                        "%3hd|%10Hd %%%c%6hu%12u%2Ld%3ld", &small, &big, &c, &us, &u, &i, &l));
    EXPECT_EQ(-12, small);
    EXPECT_EQ(9876543210LL, big);
    EXPECT_EQ('x', c);
    EXPECT_EQ(65535, us);
    EXPECT_EQ(4000000000ul, u);
    EXPECT_EQ(-7, i);
    EXPECT_EQ(42, l);
    EXPECT_EQ(1, splitf("7x", "%dx", &i));
    EXPECT_EQ(7, i);

    KString tail;
    char rest[16] = "unchanged";
    EXPECT_EQ(2, splitf("abc", "%2S%5s", &tail, rest));
    EXPECT_EQ("ab", Narrow(tail));
    EXPECT_STREQ("c", rest);
}

TEST(SplitFields, MismatchesStopAndUnknownConversionsAreReported)
{
    int n = 5;
    EXPECT_EQ(0, splitf("X1", "Y%d", &n));
    EXPECT_EQ(5, n) << "nothing is stored";
    EXPECT_EQ(0, splitf("1%", "%d%%x", &n)) << "a literal after the text ended";
    EXPECT_EQ(0, splitf("1-2", "%d+%d", &n, &n));

    KString first;
    BoxWatcher box;
    EXPECT_EQ(2, splitf("abcd", "%2S%2q", &first));
    EXPECT_TRUE(box.answered);
    EXPECT_EQ(L"Tarnwell (01-1027)", box.title);
    EXPECT_EQ(L"Unknown case 'q' in KString::_vsprint().", box.text);
    EXPECT_EQ("ab", Narrow(first));
}
