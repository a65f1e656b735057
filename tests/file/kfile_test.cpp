// KFile on real files: every value type, scrambling, string records and headers; naming, opening, the
// stream position, stat and times, text output and input.
#include "file_tests.h"

struct Pair {
    double re, im;
};

typedef std::tuple<bool, char, unsigned char, short, unsigned short, wchar_t, int, unsigned int, long,
                   unsigned long, float, double, long long, unsigned long long, KPOINT, KDateTime, Pair,
                   KString>
    AllTypes;

static void MoveAll(KFile& f, AllTypes& v) { std::apply([&](auto&... field) { (f.IO(&field), ...); }, v); }

// The bytes that write puts into a new file at path.
template <class F>
static Bytes Written(const std::wstring& path, F write)
{
    KFile f;
    f.open(path.c_str(), L"wb");
    write(f);
    f.close();
    return ReadBytes(path);
}

TEST(KFileIO, ValuesStringRecordsScramblingAndHeaders)
{
    ScratchDir scratch;
    AllTypes out(true, -3, 0xFE, -12345, 0xBEEF, 0x263A, -123456789, 0xDEADBEEF, -2000000000L, 4000000000UL,
                 1.5f, -2.25e100, -1234567890123456789LL, 0xFEDCBA9876543210ULL, KPOINT{-7, 9},
                 KDateTime(1300000000L), Pair{0.5, -0.25}, KString(L"\x263A text")), in;
    const Bytes all = Written(scratch.file(L"all.dat"), [&](KFile& f) { MoveAll(f, out); });
    const size_t fixed = 1 + 1 + 1 + 2 + 2 + 2 + 4 + 4 + 4 + 4 + 4 + 8 + 8 + 8 + 8 + 4 + 16;
    ASSERT_EQ(fixed + 4 + 2 * 6 + 2, all.size());
    // Little-endian: six fields, the low half of a 64-bit one, the string's count.
    EXPECT_EQ((Bytes{1, 0xFD, 0xFE, 0xC7, 0xCF, 0xEF, 0xBE, 0x3A, 0x26}), Bytes(&all[0], &all[9]));
    EXPECT_TRUE(Get32(all, 45) == 0x76543210 && Get32(all, 53) == 0xFFFFFFF9 && Get32(all, fixed) == 6);
    // Read back and written again, the same bytes; short reads throw unless partial.
    std::get<KString>(in) = "old";
    KFile f(scratch.file(L"all.dat").c_str());
    f.open(L"rb");
    MoveAll(f, in);
    unsigned char buf[10] = {0};
    EXPECT_TRUE(f.atEOF() && f.read(buf, 10, true) == 0);
    f.seekEnd(-4);
    EXPECT_TRUE(f.read(buf, 10, true) == 4 && buf[3] == 0);
    const std::string eof = "Error reading \"" + Narrow(f.getPath()) + "\".\nEOF while reading.";
    EXPECT_EQ(eof, ThrownText([&] { MoveAll(f, in); }));
    EXPECT_EQ(all, Written(scratch.file(L"again.dat"), [&](KFile& g) { MoveAll(g, in); }));
    // writeObj and readObj move the same string records; an empty string is a count and a terminator.
    Bytes records(all.begin() + fixed, all.end());
    Put32(records, 0);
    Put16(records, 0);
    const Bytes objects = Written(scratch.file(L"obj.dat"), [&](KFile& g) {
        g.writeObj(&std::get<KString>(out));
        KString().write(g);
    });
    KString read;
    f.open(scratch.file(L"obj.dat").c_str(), L"rb");
    f.readObj(&read);
    EXPECT_TRUE(records == objects && read == std::get<KString>(out) && std::get<KString>(in) == read);
    // String records read up to their first 0 unit into an exact buffer: a fixed-width field, a string
    // holding a 0 unit, the longest record (damaged ones: bad_input_test.cpp).
    const std::pair<std::vector<unsigned>, unsigned> cases[] = {{{'a', 'b', 0, 'z', 'z'}, 1}, {{'x', 'y'}, 1},
        {{'a', 0, 'c'}, 0}, {std::vector<unsigned>(1000000, 'q'), 0}};
    for (const auto& [units, terminator] : cases) {
        Bytes b;
        PutString(b, units, terminator);
        WriteBytes(scratch.file(L"str.dat"), b);
        KString s("keep");
        f.open(scratch.file(L"str.dat").c_str(), L"rb");
        s.read(f);
        f.close();
        const size_t n = std::find(units.begin(), units.end(), 0u) - units.begin();
        EXPECT_TRUE(Wide(s) == std::wstring(units.begin(), units.begin() + n) &&
                    _msize((wchar_t*)s) == (n + 1) * sizeof(wchar_t)) << n;
    }
    // The built-in key is the documented generator's output; from position 0 it scrambles the bytes in
    // the file, not in place, and unscrambles them when read.
    ASSERT_EQ(20190, num_def_enc_bytes);
    unsigned x = 0x4B6F7276;
    for (int k = 0; k < num_def_enc_bytes; ++k) {
        x = x * 1103515245u + 12345u;
        ASSERT_EQ((x >> 16) & 0xFF, def_enc_bytes[k]) << "byte " << k;
    }
    Bytes big(10000, 0xAA), back(10000);
    Bytes raw = Written(scratch.file(L"big.dat"), [&](KFile& g) {
        g.setEncrypt(0);
        EXPECT_EQ(10000, g.write(big.data(), 10000));
    });
    f.open(scratch.file(L"big.dat").c_str(), L"rb");
    f.setEncrypt(0);
    f.read(back.data(), 10000, false);
    for (size_t k = 0; k < 10000; ++k)
        raw[k] ^= def_enc_bytes[k];
    EXPECT_TRUE(big == Bytes(10000, 0xAA) && back == big && raw == big);
    // Naming the file again switches scrambling off.
    f.setEncrypt(0);
    f.open(scratch.file(L"big.dat").c_str(), L"rb");
    f.read(back.data(), 10000, false);
    EXPECT_TRUE(back == ReadBytes(scratch.file(L"big.dat")) && back != big);
    // Headers against HeaderBytes and, read back, against RecordOracle (damaged ones: bad_input_test.cpp).
    const std::wstring path = scratch.file(L"h.dat");
    KFileHeader h, want;
    int payload = 0x55667788, plain = 0;
    auto expectFile = [&](const wchar_t* kind, int version, int subVersion) {
        Bytes bytes = HeaderBytes(kind, version);
        bytes[216] = (unsigned char)subVersion;
        Put32(bytes, payload);
        EXPECT_EQ(bytes, ReadBytes(path));
        return bytes;
    };
    f.setFileName(path.c_str());
    WriteHeader(f, "Korvel Test", 3, 4);
    f.IO(&payload);
    f.close();
    expectFile(L"Korvel Test", 3, 4);
    // WriteHeader on an open file rewinds and writes over the start; the data follows the header directly.
    f.open(L"r+b");
    f.setIOMode(2);
    WriteHeader(f, "Other", 9, 8);
    f.close();
    RecordOracle(expectFile(L"Other", 9, 8), "").header(L"Other", &want);
    ReadHeader(f, h, "Other");
    f.IO(&plain);
    f.close();
    EXPECT_TRUE(SameHeader(want, h) && payload == plain);
    // Layout 1: no library version, extra at 218; the name's unit 100 is forced to 0.
    Bytes old = HeaderBytes(std::wstring(101, L'n'), 5, 1);
    Set32(old, 0, 0xCAFEBABE);
    old[216] = 6;
    Set32(old, 218, 0x01020304);
    WriteBytes(path, old);
    RecordOracle(old, "").header(std::wstring(100, L'n'), &want);
    ReadHeader(f, h, KString(100, L'n'));
    EXPECT_TRUE(f.atEOF());
    f.close();
    EXPECT_TRUE(SameHeader(want, h) && want.extra == 0x01020304 && want.libVersionMajor == 0);
    // A cleared header: version 1.0 of library version 6.3, no name.
    RecordOracle(HeaderBytes(L"", 1), "").header(L"", &want);
    h.clear();
    EXPECT_TRUE(SameHeader(want, h) && want.libVersionMajor == 6);
    EXPECT_EQ(std::wstring(101, L'\0'), std::wstring(h.name, 101));
}

TEST(KFileName, NamingCopiesOpeningFailuresPositionStatAndTimes)
{
    ScratchDir scratch;
    KCurrentDir in(scratch.path().c_str());
    EnvVar sub(L"KFT_SUB", L"sub"), none(L"KFT_NOPE", nullptr);
    KFile f(L"[KFT_SUB]\\a.b.txt"), a, b;
    auto parts = [&] { return Narrow(f.getExt() + "|" + f.getPrefix() + "|" + f.getFilename()); };
    EXPECT_EQ(Lower(scratch.path() + L"sub\\a.b.txt|" + scratch.path() + L"sub\\"),
              Lower(Wide(f.getPath() + "|" + f.getDir())));
    EXPECT_TRUE(f.getDrive().length() == 2 && f.getDrive()[1] == L':' && f.getDir().startsWith(f.getDrive()));
    EXPECT_TRUE(parts() == "txt|a.b|a.b.txt" && f.IOMode() == 0 && !f.isOpen());
    f.setFileName(L"noext");
    EXPECT_EQ("|noext|noext", parts());
    // Two-part naming joins with a backslash and resolves ".." like any path.
    KFile joined(KString(scratch.path().c_str()) + "sub\\..", KString("x.dat"));
    EXPECT_EQ(Lower(scratch.file(L"x.dat")), Lower(Wide(joined.getPath())));
    for (const wchar_t* empty : {L"", (const wchar_t*)nullptr}) {
        f.setFileName(empty);
        EXPECT_TRUE(f.getPath().isNull() && f.getDrive().isNull() && f.getDir().isNull() && parts() == "||");
    }
    // An undefined macro throws and leaves the open file as it was.
    f.open(scratch.file(L"keep.dat").c_str(), L"wb");
    int v = 7;
    f.IO(&v);
    const KString before = f.getPath();
    EXPECT_EQ("GetEnvironmentVariable(KFT_NOPE) failed.", ThrownText([&] { f.setFileName(L"[KFT_NOPE]"); }));
    EXPECT_TRUE(f.getPath() == before && f.isOpen());
    f.IO(&v);
    f.close();
    EXPECT_EQ(8u, ReadBytes(scratch.file(L"keep.dat")).size());
    // A copy takes the name and mode but not the stream; assignment closes the target's own stream first.
    a.open(scratch.file(L"a.dat").c_str(), L"wb");
    KFile copy(a);
    EXPECT_TRUE(copy.getPath() == a.getPath() && copy.IOMode() == 2 && !copy.isOpen() && a.isOpen());
    b.open(scratch.file(L"b.dat").c_str(), L"wb");
    v = 5;
    b.IO(&v);
    b = a;
    b = b;
    EXPECT_TRUE(!b.isOpen() && b.getPath() == a.getPath());
    EXPECT_EQ((Bytes{5, 0, 0, 0}), ReadBytes(scratch.file(L"b.dat")));
    // Without a stream, IO in a writing mode fails loudly instead of crashing; in mode 0 nothing happens.
    EXPECT_EQ("File \"" + Narrow(copy.getPath()) + "\" is not open.", ThrownText([&] { copy.IO(&v); }));
    KFile().IO(&v);
    EXPECT_EQ(5, v);
    // Opening for writing or appending makes the missing directories, and nothing fails when all exist.
    const std::wstring deep = scratch.path() + L"one\\two\\three\\";
    f.open((deep + L"x.dat").c_str(), L"wb");
    EXPECT_TRUE(f.isOpen() && f.IOMode() == 2 && f.getFileNo() >= 0);
    f.close();
    EXPECT_TRUE(f.IOMode() == 2 && f.getFileNo() == -1) << "the mode is kept after closing";
    EXPECT_TRUE(GetFileAttributesW(deep.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(KFile((deep + L"z.dat").c_str()).makeDir());
    f.open((scratch.path() + L"four\\y.txt").c_str(), L"a");
    f.print("one");
    f.open(L"a");
    f.print("two");
    f.open(L"rb");
    char buf[16] = {0};
    EXPECT_TRUE(f.IOMode() == 1 && f.read(buf, sizeof(buf), true) == 6 && std::string(buf) == "onetwo");
    // Failures: the path shown relative to the current directory, else full; no directory below a file.
    const std::string noFile = std::string("\".\n") + strerror(ENOENT) + ".";
    EXPECT_EQ("Error[2] opening \"missing.dat" + noFile, ThrownText([&] { f.open(L"missing.dat", L"rb"); }));
    EXPECT_FALSE(f.isOpen());
    KFile g((scratch.path() + L"..\\korvel_no_such_dir_42\\m.dat").c_str());
    EXPECT_EQ("Error[2] opening \"" + Narrow(g.getPath()) + noFile, ThrownText([&] { g.open(L"rb"); }));
    WriteBytes(scratch.file(L"plain.txt"), Bytes{'x'});
    KFile h(scratch.file(L"plain.txt\\sub\\x.dat").c_str());
    const std::string text = ThrownText([&] { h.open(L"wb"); });
    const std::string prefix = "Could not create directory \"" + Narrow(h.getDir()) + "\": ";
    EXPECT_EQ(prefix, text.substr(0, prefix.size())) << text;
    EXPECT_TRUE(text.size() > prefix.size() + 1 && text.back() == '.' && !h.isOpen());
    f.open(scratch.file(L"pos.dat").c_str(), L"wb");
    for (int i = 0; i < 3; ++i)
        f.IO(&i);
    EXPECT_TRUE(f.getPos() == 12 && f.atEOF() && f.flush() == 0);
    f.open(L"rb");
    std::vector<int> seen;
    for (v = -1; !f.atEOF(); seen.push_back(v))
        f.IO(&v);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), seen);
    EXPECT_FALSE(f.isEOF()) << "nothing was read past the end yet";
    EXPECT_TRUE(f.read(&v, 4, true) == 0 && f.isEOF());
    f.rewind();
    EXPECT_TRUE(f.getPos() == 0 && !f.atEOF() && f.seekTo(8) == 0 && f.seek(-4) == 0 && f.getPos() == 4);
    f.close();
    // Without a stream nothing is touched.
    EXPECT_TRUE(f.getPos() == -1 && f.seek(1) == -1 && f.atEOF() && f.isEOF() && f.flush() == -1);
    f.rewind();
    const std::wstring path = scratch.file(L"stat.dat");
    WriteBytes(path, Bytes(100, 7));
    f.setFileName(path.c_str());
    EXPECT_TRUE(f.getSize() == 100 && f.isReg() && !f.isDir() && f.getCreateTime() > 1000000000L);
    // Times set through the path, then through the stream after writing: closing keeps them.
    f.setTimes(1100000000L, 1200000000L);
    EXPECT_TRUE(f.getModTime() == 1200000000L && f.getAccessTime() == 1100000000L);
    EXPECT_EQ(1200000000L, GetModTime(path.c_str()));
    f.open(L"ab");
    f.print("more");
    f.setTimes(1150000000L, 1250000000L);
    f.close();
    EXPECT_TRUE(f.getModTime() == 1250000000L && f.getSize() == 104);
    KFile d(scratch.path().substr(0, scratch.path().size() - 1).c_str()), missing(L"none.dat");
    EXPECT_TRUE(d.isDir() && !d.isReg());
    const std::string noStat = std::string(" failed.\n") + strerror(ENOENT) + ".";
    EXPECT_EQ("stat" + noStat + "|stat" + noStat + "|_utime" + noStat,
              ThrownText([&] { missing.getSize(); }) + "|" + ThrownText([&] { missing.isReg(); }) + "|" +
                  ThrownText([&] { missing.setTimes(1, 2); }));
}

TEST(KFileText, PrintHeadingsBoxesAndReadLinesOfEveryEnding)
{
    ScratchDir scratch;
    const KString smile(L"\x263A\x00E9");
    Written(scratch.file(L"t.txt"), [&](KFile& f) {
        f.print("%d-%s|%S\n", 42, "ab", &smile); // the low byte of each character
        f.wprint("A%U\n", L"\x263A");            // two bytes a character
        f.printHeading(10, '-', "%s", "ab");
        f.printHeading(9, '=', "ab");
        f.printHeading(3, '*', "%d", 123456); // longer than the width: no fill
        f.printBox(10, 1, '*', "%s", "x");
        f.printBoxBar(4, '#');
        f.printBoxLines(2, 5, '|');
        f.printBox(6, 0, '+', "long text");
    });
    EXPECT_EQ(std::string("42-ab|:\xE9\nA\0:&\n\0", 15) +
                  "----ab----\n===ab====\n123456\n"
                  "**********\n*        *\n* x      *\n*        *\n**********\n"
                  "####\n|   |\n|   |\n++++++\n+ long text+\n++++++\n",
              ReadFileText(scratch.file(L"t.txt")));
    KFile f(scratch.file(L"t.txt").c_str());
    EXPECT_EQ("File \"" + Narrow(f.getPath()) + "\" is not open.", ThrownText([&] { f.print("x"); }));
    // Lines of every ending, and characters.
    const std::wstring path = scratch.file(L"lines.txt");
    KString line("old");
    char buf[16];
    auto start = [&](const std::string& text) {
        f.close();
        WriteBytes(path, Bytes(text.begin(), text.end()));
        f.open(path.c_str(), L"rb");
    };
    // The results and texts of the next n lines.
    auto next = [&](int n) {
        std::string out;
        for (int i = 0; i < n; ++i) {
            const int got = f.getLine(line);
            out += std::to_string(got) + ":" + Narrow(line) + "|";
        }
        return out;
    };
    start("abc\r\nde\rxy\n\nlast");
    EXPECT_EQ("1:abc|", next(1));
    EXPECT_EQ(1, f.getLine(buf, sizeof(buf)));
    EXPECT_TRUE(std::string(buf) == "de" && buf[3] == 'x') << "a carriage return ends the text";
    EXPECT_EQ("1:|1:last|0:|0:|", next(4));
    start("a\n\n"); // an empty last line, then the end
    EXPECT_EQ("1:a|1:|0:|", next(3));
    // A 4-byte buffer holds three characters: "abc" fits, "abcd" does not.
    start("abc\nabc\r\nabcd\n");
    EXPECT_TRUE(f.getLine(buf, 4) == 1 && std::string(buf) == "abc");
    EXPECT_TRUE(f.getLine(buf, 4) == 1 && std::string(buf) == "abc");
    EXPECT_EQ("Line to long.", ThrownText([&] { f.getLine(buf, 4); }));
    // Lines of 1024 characters fit the string form; 1025 do not, and the string keeps its content.
    start(std::string(1024, 'q') + "\n" + std::string(1025, 'r'));
    EXPECT_EQ("1:" + std::string(1024, 'q') + "|", next(1));
    line = "kept";
    EXPECT_EQ("Line to long.", ThrownText([&] { f.getLine(line); }));
    EXPECT_EQ("kept", Narrow(line));
    start("z:&");
    EXPECT_TRUE(f.getChar() == 'z' && f.wGetChar() == 0x263A && f.getChar() == EOF);
}
