// KFile text output (8-bit and wide, headings, boxes), reading lines and
// characters, and the file-system questions, on real files.
#include <gtest/gtest.h>
#include <errno.h>
#include <string.h>
#include "file_support.h"

namespace {

std::string Text(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

} // namespace

TEST(KFileText, PrintWritesLowBytesAndWprintWritesUnits)
{
    ScratchDir scratch;
    KFile f;
    f.open(scratch.file(L"t.txt").c_str(), L"wb");
    KString smile(L"\x263A\x00E9");
    f.print("%d-%s|%S\n", 42, "ab", &smile);
    f.wprint("A%U", L"\x263A");
    f.close();
    Bytes b = ReadBytes(scratch.file(L"t.txt"));
    EXPECT_EQ(b, Bytes({'4', '2', '-', 'a', 'b', '|', 0x3A, 0xE9, '\n',  //
                        'A', 0, 0x3A, 0x26}));

    // Printing to a file that is not open throws instead of crashing.
    EXPECT_EQ(ThrownText([&] { f.print("x"); }),
              "File \"" + Narrow(f.getPath()) + "\" is not open.");
}

TEST(KFileText, HeadingsAndBoxes)
{
    ScratchDir scratch;
    KFile f;
    f.open(scratch.file(L"box.txt").c_str(), L"wb");
    f.printHeading(10, '-', "%s", "ab");
    f.printHeading(9, '=', "ab");
    f.printHeading(3, '*', "%d", 123456); // longer than the width: no fill
    f.printBox(10, 1, '*', "%s", "x");
    f.printBoxBar(4, '#');
    f.printBoxLines(2, 5, '|');
    f.printBox(6, 0, '+', "long text");
    f.close();
    EXPECT_EQ(Text(ReadBytes(scratch.file(L"box.txt"))),
              "----ab----\n"
              "===ab====\n"
              "123456\n"
              "**********\n"
              "*        *\n"
              "* x      *\n"
              "*        *\n"
              "**********\n"
              "####\n"
              "|   |\n"
              "|   |\n"
              "++++++\n"
              "+ long text+\n"
              "++++++\n");
}

TEST(KFileText, GetLineReadsLinesOfEveryEnding)
{
    ScratchDir scratch;
    std::wstring path = scratch.file(L"lines.txt");
    WriteBytes(path, Bytes({'a', 'b', 'c', '\r', '\n',  //
                            'd', 'e', '\r', 'x', 'y', '\n',  //
                            '\n',  //
                            'l', 'a', 's', 't'}));
    KFile f;
    f.open(path.c_str(), L"rb");
    KString line("old");
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(line, "abc");
    char buf[16];
    EXPECT_EQ(f.getLine(buf, sizeof(buf)), 1);
    EXPECT_STREQ(buf, "de"); // the carriage return ends the text
    EXPECT_EQ(buf[3], 'x');  // what followed it was still read
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(line, "");
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(f.getLine(line), 0);
    EXPECT_EQ(line, "");
    EXPECT_EQ(f.getLine(line), 0);
    f.close();

    // An empty last line, then the end.
    WriteBytes(path, Bytes({'a', '\n', '\n'}));
    f.open(path.c_str(), L"rb");
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(line, "");
    EXPECT_EQ(f.getLine(line), 0);
    f.close();

    // A 4-byte buffer holds three characters: "abc" fits, "abcd" does not.
    WriteBytes(path, Bytes({'a', 'b', 'c', '\n', 'a', 'b', 'c', '\r', '\n', 'a', 'b', 'c', 'd', '\n'}));
    f.open(path.c_str(), L"rb");
    char small[4];
    EXPECT_EQ(f.getLine(small, 4), 1);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(f.getLine(small, 4), 1);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(ThrownText([&] { f.getLine(small, 4); }), "Line to long.");
    f.close();

    // Lines of 1024 characters fit the string form; 1025 do not, and the
    // string keeps its content.
    Bytes longLines(1024, 'q');
    longLines.push_back('\n');
    longLines.insert(longLines.end(), 1025, 'r');
    WriteBytes(path, longLines);
    f.open(path.c_str(), L"rb");
    EXPECT_EQ(f.getLine(line), 1);
    EXPECT_EQ(line.length(), 1024);
    line = "kept";
    EXPECT_EQ(ThrownText([&] { f.getLine(line); }), "Line to long.");
    EXPECT_EQ(line, "kept");
    f.close();

    // Characters, 8-bit and wide.
    WriteBytes(path, Bytes({'z', 0x3A, 0x26}));
    f.open(path.c_str(), L"rb");
    EXPECT_EQ(f.getChar(), 'z');
    EXPECT_EQ(f.wGetChar(), 0x263A);
    EXPECT_EQ(f.getChar(), EOF);
}

TEST(KFileStat, SizeTypeAndTimes)
{
    ScratchDir scratch;
    std::wstring path = scratch.file(L"stat.dat");
    WriteBytes(path, Bytes(100, 7));
    KFile f(path.c_str());
    EXPECT_EQ(f.getSize(), 100);
    EXPECT_TRUE(f.isReg());
    EXPECT_FALSE(f.isDir());
    struct _stat32 st;
    f.getStat(&st);
    EXPECT_EQ(st.st_size, 100);
    EXPECT_GT(f.getCreateTime(), 1000000000L);

    // Through the path.
    f.setTimes(1100000000L, 1200000000L);
    EXPECT_EQ(f.getModTime(), 1200000000L);
    EXPECT_EQ(f.getAccessTime(), 1100000000L);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    ULARGE_INTEGER ft;
    ft.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ft.HighPart = data.ftLastWriteTime.dwHighDateTime;
    EXPECT_EQ((ft.QuadPart - 116444736000000000ULL) / 10000000ULL, 1200000000ULL);

    // Through the open stream, after writing: the written bytes do not move
    // the time again when the file is closed.
    f.open(L"ab");
    f.print("more");
    f.setTimes(1150000000L, 1250000000L);
    f.close();
    EXPECT_EQ(f.getModTime(), 1250000000L);
    EXPECT_EQ(f.getSize(), 104);

    // A directory.
    KFile d(scratch.path().substr(0, scratch.path().size() - 1).c_str());
    EXPECT_TRUE(d.isDir());
    EXPECT_FALSE(d.isReg());

    // A missing file.
    KFile missing(scratch.file(L"none.dat").c_str());
    std::string expected = std::string("stat failed.\n") + strerror(ENOENT) + ".";
    EXPECT_EQ(ThrownText([&] { missing.getSize(); }), expected);
    EXPECT_EQ(ThrownText([&] { missing.isReg(); }), expected);
    EXPECT_EQ(ThrownText([&] { missing.setTimes(1, 2); }),
              std::string("_utime failed.\n") + strerror(ENOENT) + ".");
}
