// Macro tables, ReplaceToken and the environment macros of paths.
#include <gtest/gtest.h>
#include <limits.h>
#include <malloc.h>
#include "file_support.h"

namespace {

KMacro Table(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    KMacro m;
    for (const auto& e : entries)
        m.set(e.first, "%s", e.second);
    return m;
}

std::string Names(const KMacro& m)
{
    std::string out;
    for (int i = 0; i < m.numEntry(); ++i)
        out += Narrow(m[i].name) + "=" + Narrow(m[i].value) + ";";
    return out;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

} // namespace

TEST(ReplaceToken, ReplacesWithoutOverlapsIntoAnExactBuffer)
{
    KString text("aaa");
    EXPECT_EQ(ReplaceToken(text, "aa", "X"), 1);
    EXPECT_EQ(text, "Xa");

    // The inserted value is not searched again.
    text = "a-b-a";
    EXPECT_EQ(ReplaceToken(text, "a", "aa"), 2);
    EXPECT_EQ(text, "aa-b-aa");
    EXPECT_EQ(_msize((wchar_t*)text), 8 * sizeof(wchar_t));

    // Shrinking, removing, and matches at both ends.
    text = "[X]mid[X]";
    EXPECT_EQ(ReplaceToken(text, "[X]", ""), 2);
    EXPECT_EQ(text, "mid");
    EXPECT_EQ(_msize((wchar_t*)text), 4 * sizeof(wchar_t));

    // No match, or an empty token: the text is left alone.
    text = "abc";
    const wchar_t* before = text;
    EXPECT_EQ(ReplaceToken(text, "zz", "y"), 0);
    EXPECT_EQ(ReplaceToken(text, "", "y"), 0);
    EXPECT_EQ((const wchar_t*)text, before);
    EXPECT_EQ(text, "abc");

    // The whole text.
    EXPECT_EQ(ReplaceToken(text, "abc", "abcabc"), 1);
    EXPECT_EQ(text, "abcabc");
}

TEST(KMacro, EntriesNamesAndLookup)
{
    KMacroEntry e;
    e.setName("cur date");
    EXPECT_EQ(e.name, "[CUR DATE]");
    EXPECT_EQ(e.bareName(), "CUR DATE");
    e.setName("[half");
    EXPECT_EQ(e.name, "[HALF]");
    e.setName("end]");
    EXPECT_EQ(e.name, "[END]");
    e.setName(L"a\x263A"); // each character keeps its low 8 bits
    EXPECT_EQ(e.name, "[A:]");
    KMacroEntry copy(e);
    EXPECT_EQ(copy.name, e.name);
    EXPECT_FALSE(copy == e);
    EXPECT_TRUE(e == e);

    KMacro m;
    EXPECT_EQ(m.numEntry(), 0);
    m.set("[CUR_PAGE]", "%d", 2);
    m.set("[NUM_PAGE]", "%d", 5);
    m.set("[CUR_PAGE]", "%d of %s", 3, "x"); // replaces, keeps the place
    EXPECT_EQ(Names(m), "[CUR_PAGE]=3 of x;[NUM_PAGE]=5;");

    KMacroEntry found;
    EXPECT_TRUE(m.lookupValue("NUM_PAGE", &found));
    EXPECT_EQ(found.value, "5");
    EXPECT_TRUE(m.lookupValue("CUR_PAGE", nullptr));
    found.value = "untouched";
    EXPECT_FALSE(m.lookupValue("num_page", &found)); // case-sensitive
    EXPECT_EQ(found.value, "untouched");
}

TEST(KMacro, ExecuteExpandsNestedMacrosPassByPass)
{
    KMacro pages = Table({{"[CUR_PAGE]", "2"}, {"[NUM_PAGE]", "5"}});
    EXPECT_EQ(pages.execute("Page [CUR_PAGE] of [NUM_PAGE]", 5), "Page 2 of 5");
    EXPECT_EQ(pages.execute("Page [CUR_PAGE]", 0), "Page [CUR_PAGE]");
    EXPECT_EQ(pages.execute("[cur_page]", 5), "[cur_page]"); // names are case-sensitive

    KMacro aFirst = Table({{"[A]", "x[B]"}, {"[B]", "y"}});
    KMacro bFirst = Table({{"[B]", "y"}, {"[A]", "x[B]"}});
    EXPECT_EQ(aFirst.execute("[A]", 2), "xy");
    EXPECT_EQ(bFirst.execute("[A]", 2), "xy");
    EXPECT_EQ(aFirst.execute("[A]", 1), "xy"); // [B] comes later in the same pass
    EXPECT_EQ(bFirst.execute("[A]", 1), "x[B]");

    // Three levels need three passes when each refers to an earlier entry.
    KMacro deep = Table({{"[C]", "c"}, {"[B]", "b[C]"}, {"[A]", "a[B]"}});
    EXPECT_EQ(deep.execute("<[A]>", 2), "<ab[C]>");
    EXPECT_EQ(deep.execute("<[A]>", 3), "<abc>");
    EXPECT_EQ(deep.execute("<[A]>", 50), "<abc>");
}

TEST(KMacro, SelfReferringMacrosStop)
{
    // Each pass replaces again; maxPasses bounds it.
    KMacro grow = Table({{"[A]", "<[A]>"}});
    EXPECT_EQ(grow.execute("[A]", 3), "<<<[A]>>>");

    // Even an unbounded request stops: after MaxPasses passes here.
    KString grown = grow.execute("[A]", INT_MAX);
    EXPECT_EQ(grown.length(), 2 * KMacro::MaxPasses + 3);
    EXPECT_EQ(grown[KMacro::MaxPasses], L'[');

    // A value that doubles the text stops before it passes MaxLength.
    KMacro twice = Table({{"[A]", "[A][A]"}});
    KString big = twice.execute("[A]", INT_MAX);
    EXPECT_LE(big.length(), KMacro::MaxLength);
    EXPECT_GT(big.length(), KMacro::MaxLength / 2);

    // A macro that is its own value, and a pair that names each other.
    KMacro same = Table({{"[A]", "[A]"}});
    EXPECT_EQ(same.execute("x[A]", INT_MAX), "x[A]");
    KMacro cycle = Table({{"[A]", "[B]"}, {"[B]", "[A]"}});
    EXPECT_EQ(cycle.execute("[A]", INT_MAX), "[A]");
    KMacro swap = Table({{"[B]", "[A]"}, {"[A]", "[B]"}});
    EXPECT_EQ(swap.execute("[A]", 3), "[B]");
    EXPECT_EQ(swap.execute("[A]", INT_MAX), "[B]");
}

TEST(KMacro, MergeJoinAndSort)
{
    KMacro mine = Table({{"[X]", "mine"}, {"[Y]", "y"}});
    KMacro other = Table({{"[Z]", "z"}, {"[X]", "theirs"}});

    KMacro both = mine + other;
    EXPECT_EQ(Names(both), "[X]=mine;[Y]=y;[Z]=z;[X]=theirs;");

    mine.merge(other);
    EXPECT_EQ(Names(mine), "[X]=mine;[Y]=y;[Z]=z;");
    mine += mine;
    EXPECT_EQ(mine.numEntry(), 3);
    mine += Table({{"[W]", "w"}});
    EXPECT_EQ(Names(mine), "[X]=mine;[Y]=y;[Z]=z;[W]=w;");

    KMacro unsorted = Table({{"[b]", "1"}, {"[A]", "2"}, {"[a]", "3"}, {"[B]", "4"}, {"[AB]", "5"}});
    unsorted.sort();
    // Ordinal: ']' sorts after the letters, so "[AB]" comes before "[A]".
    EXPECT_EQ(Names(unsorted), "[AB]=5;[A]=2;[B]=4;[a]=3;[b]=1;");

    KMacroEntry a, b;
    a.name = "[A]";
    b.name = "[ZZZZ]";
    EXPECT_EQ(cmp_macro(a, b), -1);
    EXPECT_EQ(cmp_macro(b, a), 1);
    EXPECT_EQ(cmp_macro(a, a), 0);

    // Copies are independent.
    KMacro copy(unsorted);
    copy.set("[A]", "changed");
    EXPECT_EQ(unsorted[1].value, "2");
    KMacro assigned;
    assigned = copy;
    copy.set("[A]", "again");
    EXPECT_EQ(assigned[1].value, "changed");
}

TEST(KMacro, TimeMacrosShareOneInstant)
{
    KMacro empty;
    EXPECT_EQ(empty.numEntry(), 0);
    SYSTEMTIME before;
    GetLocalTime(&before);
    KMacro m(true);
    ASSERT_EQ(m.numEntry(), 11);
    const char* names[] = {"[CUR MONTH]", "[CUR MONTH NAME]", "[CUR MONTH ABBR]", "[CUR DAY]",
                           "[CUR YEAR]",  "[CUR HOUR]",       "[CUR MINUTE]",     "[CUR SECOND]",
                           "[CUR DATE]",  "[CUR TIME]",       "[CUR DATETIME]"};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(m[i].name, names[i]);

    KString date = m.execute("[CUR MONTH]/[CUR DAY]/[CUR YEAR]", 1);
    EXPECT_EQ(m[8].value, date);
    KString stamp = m.execute("[CUR DATE] [CUR HOUR]:[CUR MINUTE]:[CUR SECOND]", 1);
    EXPECT_EQ(m[10].value, stamp);
    EXPECT_EQ(m[0].value.length(), 2);
    EXPECT_EQ(m[4].value.length(), 4);
    EXPECT_EQ(_wtoi(m[4].value), before.wYear);
    EXPECT_TRUE(m[1].value.startsWith(m[2].value)) << Narrow(m[1].value);
    EXPECT_GT(m[9].value.length(), 0);

    // setTime again sets the same entries without adding any.
    m.setTime();
    EXPECT_EQ(m.numEntry(), 11);
}

TEST(KMacro, TableRecordRoundTrips)
{
    ScratchDir scratch;
    std::wstring path = scratch.file(L"macros.dat");
    KFile f;
    f.open(path.c_str(), L"wb");
    KMacro empty;
    empty.IO(f);
    f.close();
    EXPECT_EQ(ReadBytes(path), Bytes({1, 0, 0, 0, 0, 0, 0, 0}));

    KMacro m = Table({{"[A]", "x[B]"}, {"[B]", "\xE9"}});
    f.open(path.c_str(), L"wb");
    m.IO(f);
    f.close();
    Bytes b = ReadBytes(path);
    ASSERT_EQ(b.size(), 8u + (4 + 4 + 8 + 4 + 10) + (4 + 4 + 8 + 4 + 4));
    EXPECT_EQ(Get32(b, 4), 2u);
    EXPECT_EQ(Get32(b, 8), 1u);  // entry version
    EXPECT_EQ(Get32(b, 12), 3u); // "[A]"
    EXPECT_EQ(Get16(b, 16), (unsigned)'[');

    KMacro in = Table({{"[OLD]", "gone"}});
    f.open(path.c_str(), L"rb");
    in.IO(f);
    f.close();
    EXPECT_EQ(Names(in), Names(m));
    EXPECT_EQ(in[1].value[0], 0xFFE9);

    // A cut record leaves the table as it was.
    b.resize(b.size() - 3);
    WriteBytes(path, b);
    KMacro kept = Table({{"[K]", "k"}});
    f.open(path.c_str(), L"rb");
    EXPECT_EQ(ThrownText([&] { kept.IO(f); }),
              "Error reading \"" + Narrow(f.getPath()) + "\".\nEOF while reading.");
    EXPECT_EQ(Names(kept), "[K]=k;");
    f.close();

    // So does an impossible count.
    Bytes bad;
    Put32(bad, 1);
    Put32(bad, 0x80000000u);
    WriteBytes(path, bad);
    f.open(path.c_str(), L"rb");
    EXPECT_EQ(ThrownText([&] { kept.IO(f); }),
              "Invalid count=-2147483648 in KMacro::IO()\nFile \"" + Narrow(f.getPath()) + "\".");
    EXPECT_EQ(Names(kept), "[K]=k;");
}

TEST(ReplaceMacros, EnvironmentVariablesInPaths)
{
    // The library sets both when it is loaded from a "bin" directory.
    wchar_t dll[MAX_PATH + 1] = {0};
    GetModuleFileNameW(GetModuleHandleW(L"korvel.dll"), dll, MAX_PATH);
    std::wstring boot = Lower(dll);
    boot = boot.substr(0, boot.rfind(L'\\'));
    size_t bin = (boot + L"\\").find(L"\\bin\\");
    ASSERT_NE(bin, std::wstring::npos) << "the test expects korvel.dll in a bin directory";
    std::wstring top = boot.substr(0, bin);

    EXPECT_EQ(std::wstring(ReplaceMacros(L"[TARNWELL_DIR]\\user")), top + L"\\user");
    EXPECT_EQ(std::wstring(ReplaceMacros(L"[BOOT_DIR]\\x.dat")), boot + L"\\x.dat");
    KFile f(L"[TARNWELL_DIR]\\user\\print_options\\a.opt");
    EXPECT_EQ(Lower(std::wstring(f.getDir())), top + L"\\user\\print_options\\");

    SetEnvironmentVariableW(L"KFT_NOPE", nullptr);
    EXPECT_EQ(ThrownText([] { ReplaceMacros(L"[KFT_NOPE]\\x"); }),
              "GetEnvironmentVariable(KFT_NOPE) failed.");
    SetEnvironmentVariableW(L"KFT_EMPTY", L"");
    EXPECT_EQ(ThrownText([] { ReplaceMacros(L"[KFT_EMPTY]"); }),
              "GetEnvironmentVariable(KFT_EMPTY) failed.");

    EXPECT_EQ(ReplaceMacros(L"abc[def"), "abc");
    EXPECT_EQ(ReplaceMacros(L"plain]text"), "plain]text");
    EXPECT_EQ(ReplaceMacros(L""), "");
    SetEnvironmentVariableW(L"KFT_A", L"1");
    SetEnvironmentVariableW(L"KFT_B", L"22");
    EXPECT_EQ(ReplaceMacros(L"[KFT_A][KFT_B]-[KFT_A]"), "122-1");
    // Brackets do not nest: the name runs to the first ']'.
    EXPECT_EQ(ThrownText([] { ReplaceMacros(L"[KFT_[KFT_A]]"); }),
              "GetEnvironmentVariable(KFT_[KFT_A) failed.");

    // The one-argument form holds at most 259 characters; the other as many as given room.
    std::wstring longValue(200, L'v');
    SetEnvironmentVariableW(L"KFT_LONG", longValue.c_str());
    EXPECT_EQ(ReplaceMacros(L"[KFT_LONG][KFT_LONG]").length(), 259);
    wchar_t out[1024];
    ReplaceMacros(L"[KFT_LONG]-[KFT_LONG]", out);
    EXPECT_EQ(std::wstring(out), longValue + L"-" + longValue);

    // At most 260 characters of a variable are taken.
    SetEnvironmentVariableW(L"KFT_LONG", std::wstring(300, L'w').c_str());
    ReplaceMacros(L"[KFT_LONG].", out);
    EXPECT_EQ(std::wstring(out), std::wstring(260, L'w') + L".");
    for (const wchar_t* name : {L"KFT_EMPTY", L"KFT_A", L"KFT_B", L"KFT_LONG"})
        SetEnvironmentVariableW(name, nullptr);
}
