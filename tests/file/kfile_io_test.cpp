// KFile's IO family on real files: every value type, composite records with a
// leading version, short reads, scrambling, and the byte layouts of the
// string record and the file header.
#include <gtest/gtest.h>
#include <malloc.h>
#include <string.h>
#include "file_support.h"

namespace {

// Two doubles, as a complex value is stored.
struct Pair {
    double re, im;
};

// Every IO type in a fixed order; the same routine writes and reads.
struct AllTypes {
    bool b = false;
    char c = 0;
    unsigned char uc = 0;
    short s = 0;
    unsigned short us = 0;
    wchar_t wc = 0;
    int i = 0;
    unsigned int ui = 0;
    long l = 0;
    unsigned long ul = 0;
    float f = 0;
    double d = 0;
    long long ll = 0;
    unsigned long long ull = 0;
    KPOINT pt = {0, 0};
    KDateTime t{0L};
    Pair z = {0, 0};
    KString text;

    void IO(KFile& file)
    {
        file.IO(&b);
        file.IO(&c);
        file.IO(&uc);
        file.IO(&s);
        file.IO(&us);
        file.IO(&wc);
        file.IO(&i);
        file.IO(&ui);
        file.IO(&l);
        file.IO(&ul);
        file.IO(&f);
        file.IO(&d);
        file.IO(&ll);
        file.IO(&ull);
        file.IO(&pt);
        file.IO(&t);
        file.IO(&z);
        file.IO(&text);
    }
};

// A record that gained a field in its second version: readers of version 2
// still read files of version 1.
struct Sample {
    int version = 2;
    KString label;
    double value = 0;
    int flags = 0; // since version 2

    void IO(KFile& file)
    {
        file.IO(&version);
        file.IO(&label);
        file.IO(&value);
        if (version >= 2)
            file.IO(&flags);
        else
            flags = 0;
    }
};

} // namespace

TEST(KFileIO, EveryTypeRoundTripsWithItsOwnSize)
{
    ScratchDir scratch;
    AllTypes out;
    out.b = true;
    out.c = -3;
    out.uc = 0xFE;
    out.s = -12345;
    out.us = 0xBEEF;
    out.wc = 0x263A;
    out.i = -123456789;
    out.ui = 0xDEADBEEF;
    out.l = -2000000000L;
    out.ul = 4000000000UL;
    out.f = 1.5f;
    out.d = -2.25e100;
    out.ll = -1234567890123456789LL;
    out.ull = 0xFEDCBA9876543210ULL;
    out.pt = {-7, 9};
    out.t = KDateTime(1300000000L);
    out.z = {0.5, -0.25};
    out.text = L"\x263A text";

    KFile f;
    f.open(scratch.file(L"all.dat").c_str(), L"wb");
    out.IO(f);
    f.close();

    Bytes bytes = ReadBytes(scratch.file(L"all.dat"));
    const size_t fixed = 1 + 1 + 1 + 2 + 2 + 2 + 4 + 4 + 4 + 4 + 4 + 8 + 8 + 8 + 8 + 4 + 16;
    ASSERT_EQ(bytes.size(), fixed + 4 + 2 * 6 + 2);
    // Spot checks of the little-endian layout.
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0xFD);
    EXPECT_EQ(bytes[2], 0xFE);
    EXPECT_EQ(Get16(bytes, 5), 0xBEEFu);
    EXPECT_EQ(Get16(bytes, 7), 0x263Au);
    EXPECT_EQ(Get32(bytes, 13), 0xDEADBEEFu);
    EXPECT_EQ(Get32(bytes, 21), 4000000000u);
    EXPECT_EQ(Get32(bytes, 45), 0x76543210u); // low half of ull
    EXPECT_EQ(Get32(bytes, 49), 0xFEDCBA98u);
    EXPECT_EQ((int)Get32(bytes, 53), -7);
    EXPECT_EQ(Get32(bytes, 61), 1300000000u);
    EXPECT_EQ(Get32(bytes, fixed), 6u);

    AllTypes in;
    in.text = "old";
    f.open(L"rb");
    in.IO(f);
    EXPECT_TRUE(f.atEOF());
    f.close();
    EXPECT_EQ(in.b, out.b);
    EXPECT_EQ(in.c, out.c);
    EXPECT_EQ(in.uc, out.uc);
    EXPECT_EQ(in.s, out.s);
    EXPECT_EQ(in.us, out.us);
    EXPECT_EQ(in.wc, out.wc);
    EXPECT_EQ(in.i, out.i);
    EXPECT_EQ(in.ui, out.ui);
    EXPECT_EQ(in.l, out.l);
    EXPECT_EQ(in.ul, out.ul);
    EXPECT_EQ(in.f, out.f);
    EXPECT_EQ(in.d, out.d);
    EXPECT_EQ(in.ll, out.ll);
    EXPECT_EQ(in.ull, out.ull);
    EXPECT_EQ(in.pt.x, out.pt.x);
    EXPECT_EQ(in.pt.y, out.pt.y);
    EXPECT_TRUE(in.t == out.t);
    EXPECT_EQ(in.z.re, out.z.re);
    EXPECT_EQ(in.z.im, out.z.im);
    EXPECT_EQ(in.text, out.text);

    // readObj and writeObj move the same 4 bytes and string records.
    f.open(scratch.file(L"obj.dat").c_str(), L"wb");
    int i = 42;
    unsigned long ul = 0x01020304;
    f.writeObj(&i);
    f.writeObj(&ul);
    f.writeObj(&out.text);
    f.close();
    f.open(L"rb");
    int i2 = 0;
    unsigned long ul2 = 0;
    KString s2;
    f.readObj(&i2);
    f.readObj(&ul2);
    f.readObj(&s2);
    EXPECT_EQ(i2, 42);
    EXPECT_EQ(ul2, 0x01020304ul);
    EXPECT_EQ(s2, out.text);
}

TEST(KFileIO, CompositeRecordsWithALeadingVersion)
{
    ScratchDir scratch;
    std::vector<Sample> out(3);
    for (int k = 0; k < 3; ++k) {
        out[k].label.set("sample %d", k);
        out[k].value = k * 0.5;
        out[k].flags = 1 << k;
    }
    Sample old;
    old.version = 1;
    old.label = "from version 1";
    old.value = 9.75;

    KFile f;
    f.open(scratch.file(L"samples.dat").c_str(), L"wb");
    int count = 4;
    f.IO(&count);
    for (Sample& s : out)
        s.IO(f);
    old.IO(f);
    f.close();

    f.open(L"rb");
    int n = 0;
    f.IO(&n);
    ASSERT_EQ(n, 4);
    std::vector<Sample> in(n);
    for (Sample& s : in) {
        s.flags = -1;
        s.IO(f);
    }
    EXPECT_TRUE(f.atEOF());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(in[k].version, 2);
        EXPECT_EQ(in[k].label, out[k].label);
        EXPECT_EQ(in[k].value, out[k].value);
        EXPECT_EQ(in[k].flags, out[k].flags);
    }
    EXPECT_EQ(in[3].version, 1);
    EXPECT_EQ(in[3].label, "from version 1");
    EXPECT_EQ(in[3].value, 9.75);
    EXPECT_EQ(in[3].flags, 0);
}

TEST(KFileIO, ShortReadsThrowUnlessPartialIsAllowed)
{
    ScratchDir scratch;
    WriteBytes(scratch.file(L"four.dat"), Bytes{1, 2, 3, 4});
    KFile f;
    f.open(scratch.file(L"four.dat").c_str(), L"rb");
    unsigned char buf[10] = {0};
    EXPECT_EQ(ThrownText([&] { f.read(buf, 10, false); }),
              "Error reading \"" + Narrow(f.getPath()) + "\".\nEOF while reading.");
    f.rewind();
    EXPECT_EQ(f.read(buf, 10, true), 4);
    EXPECT_EQ(buf[3], 4);
    EXPECT_EQ(f.read(buf, 10, true), 0);

    // A value read by IO past the end throws the same way.
    f.rewind();
    double d = 1.0;
    EXPECT_EQ(ThrownText([&] { f.IO(&d); }),
              "Error reading \"" + Narrow(f.getPath()) + "\".\nEOF while reading.");
}

TEST(KFileIO, ScramblingIsSymmetricAndContinuesAcrossCalls)
{
    // The built-in table is the documented generator's output.
    ASSERT_EQ(num_def_enc_bytes, 20190);
    unsigned x = 0x4B6F7276;
    for (int k = 0; k < num_def_enc_bytes; ++k) {
        x = x * 1103515245u + 12345u;
        ASSERT_EQ(def_enc_bytes[k], (x >> 16) & 0xFF) << "byte " << k;
    }

    ScratchDir scratch;
    const unsigned char data[3] = {'a', 'b', 'c'};
    KFile f;
    f.open(scratch.file(L"s.dat").c_str(), L"wb");
    f.setEncrypt(0);
    EXPECT_EQ(f.write(data, 3), 3);
    f.close();
    Bytes raw = ReadBytes(scratch.file(L"s.dat"));
    ASSERT_EQ(raw.size(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(raw[k], data[k] ^ def_enc_bytes[k]);

    unsigned char back[3] = {0};
    f.open(L"rb");
    f.setEncrypt(0);
    f.read(back, 3, false);
    EXPECT_EQ(memcmp(back, data, 3), 0);
    f.rewind();
    f.setEncrypt(-1);
    f.read(back, 3, false);
    EXPECT_NE(memcmp(back, data, 3), 0);
    f.close();

    // A short key wraps; the position runs on across calls and values.
    static const unsigned char key[3] = {0x10, 0x20, 0x40};
    f.open(scratch.file(L"k.dat").c_str(), L"wb");
    int plain = 0x7F7F7F7F;
    f.IO(&plain); // unscrambled
    f.setEncrypt(key, 3, 1);
    KString text("secret");
    short s = 0x0102;
    f.IO(&text);
    f.IO(&s);
    f.clearEncrypt();
    f.IO(&plain);
    f.close();
    raw = ReadBytes(scratch.file(L"k.dat"));
    ASSERT_EQ(raw.size(), 4u + 4 + 12 + 2 + 2 + 4);
    EXPECT_EQ(Get32(raw, 0), 0x7F7F7F7Fu);
    EXPECT_EQ(raw[4], 6 ^ 0x20);       // position 1
    EXPECT_EQ(raw[5], 0 ^ 0x40);       // position 2
    EXPECT_EQ(raw[6], 0 ^ 0x10);       // wrapped to 0
    EXPECT_EQ(raw[8], 's' ^ 0x40);       // position 5
    EXPECT_EQ(Get32(raw, raw.size() - 4), 0x7F7F7F7Fu);

    f.open(L"rb");
    int p1 = 0, p2 = 0;
    KString t2;
    short s2 = 0;
    f.IO(&p1);
    f.setEncrypt(key, 3, 1);
    f.IO(&t2);
    f.IO(&s2);
    f.setEncrypt(-1);
    f.IO(&p2);
    EXPECT_EQ(t2, "secret");
    EXPECT_EQ(s2, 0x0102);
    EXPECT_EQ(p1, plain);
    EXPECT_EQ(p2, plain);
    f.close();

    // Naming the file again switches scrambling off.
    f.open(scratch.file(L"k.dat").c_str(), L"rb");
    f.IO(&p1);
    KString garbled("untouched");
    EXPECT_NE(ThrownText([&] { f.IO(&garbled); }), "<no exception>");
    EXPECT_EQ(garbled, "untouched");

    // The caller's bytes are not scrambled in place.
    f.open(scratch.file(L"big.dat").c_str(), L"wb");
    f.setEncrypt(5);
    std::vector<unsigned char> big(10000, 0xAA);
    f.write(big.data(), (unsigned)big.size());
    f.close();
    EXPECT_EQ(big, std::vector<unsigned char>(10000, 0xAA));
    raw = ReadBytes(scratch.file(L"big.dat"));
    ASSERT_EQ(raw.size(), 10000u);
    EXPECT_EQ(raw[9999], 0xAA ^ def_enc_bytes[10004]);
}

TEST(KFileIO, StringRecordLayoutAndItsChecks)
{
    ScratchDir scratch;
    std::wstring path = scratch.file(L"str.dat");
    KFile f;
    f.open(path.c_str(), L"wb");
    KString("ab").write(f);
    KString().write(f);
    f.close();
    EXPECT_EQ(ReadBytes(path), Bytes({2, 0, 0, 0, 'a', 0, 'b', 0, 0, 0,  //
                                      0, 0, 0, 0, 0, 0}));

    auto readOne = [&](const Bytes& record, KString& s) {
        WriteBytes(path, record);
        KFile r;
        r.open(path.c_str(), L"rb");
        return ThrownText([&] { s.read(r); });
    };
    std::string quoted = "\"" + Narrow(f.getPath()) + "\"";

    // A fixed-width field: terminator 1, text up to the first 0 unit.
    Bytes fixed;
    Put32(fixed, 5);
    for (unsigned u : std::initializer_list<unsigned>{'a', 'b', 0, 'z', 'z', 1})
        Put16(fixed, u);
    KString s("old");
    EXPECT_EQ(readOne(fixed, s), "<no exception>");
    EXPECT_EQ(s, "ab");
    EXPECT_EQ(s.length(), 2);
    EXPECT_EQ(_msize((wchar_t*)s), 3 * sizeof(wchar_t));

    // Terminator 1 without an inner 0: the whole count.
    Bytes full;
    Put32(full, 2);
    for (unsigned u : std::initializer_list<unsigned>{'x', 'y', 1})
        Put16(full, u);
    EXPECT_EQ(readOne(full, s), "<no exception>");
    EXPECT_EQ(s, "xy");
    EXPECT_EQ(s[2], 0);

    // Counts above 1000000 are refused with the offset after the count.
    Bytes huge;
    Put32(huge, 1000001);
    Put16(huge, 0);
    s = "keep";
    EXPECT_EQ(readOne(huge, s), "Invalid length=1000001 in KString::read()\nFile " +
                                    Narrow(f.getPath()) + " offset=4.");
    EXPECT_EQ(s, "keep");
    Bytes negative;
    Put32(negative, 0xFFFFFFFFu);
    EXPECT_EQ(readOne(negative, s),
              "Invalid length=-1 in KString::read()\nFile " + Narrow(f.getPath()) + " offset=4.");
    EXPECT_EQ(s, "keep");

    // 1000000 is still accepted.
    Bytes largest;
    Put32(largest, 1000000);
    largest.resize(4 + 2 * 1000000 + 2, 0);
    for (size_t k = 4; k < largest.size() - 2; k += 2)
        largest[k] = 'q';
    EXPECT_EQ(readOne(largest, s), "<no exception>");
    EXPECT_EQ(s.length(), 1000000);
    EXPECT_EQ(s[999999], L'q');

    // Any other terminator is refused; the string keeps its content.
    Bytes badEnd;
    Put32(badEnd, 1);
    Put16(badEnd, 'a');
    Put16(badEnd, 7);
    s = "keep";
    EXPECT_EQ(readOne(badEnd, s), "Invalid terminator=7 in KString::read()\nFile " + quoted + ".");
    EXPECT_EQ(s, "keep");
    badEnd[7] = 0xFF;
    EXPECT_EQ(readOne(badEnd, s),
              "Invalid terminator=65287 in KString::read()\nFile " + quoted + ".");

    // A record cut short.
    Bytes cut;
    Put32(cut, 3);
    Put16(cut, 'a');
    EXPECT_EQ(readOne(cut, s), "Error reading " + quoted + ".\nEOF while reading.");
    EXPECT_EQ(s, "keep");

    // A 0 unit inside a record ended by 0 also ends the text: a string holds none.
    Bytes inner;
    Put32(inner, 3);
    for (unsigned u : std::initializer_list<unsigned>{'a', 0, 'c', 0})
        Put16(inner, u);
    EXPECT_EQ(readOne(inner, s), "<no exception>");
    EXPECT_EQ(s, "a");
    EXPECT_EQ(_msize((wchar_t*)s), 2 * sizeof(wchar_t));
}

TEST(KFileIO, HeaderLayoutAndReading)
{
    ScratchDir scratch;
    std::wstring path = scratch.file(L"h.dat");
    KFile f;
    f.setFileName(path.c_str());
    WriteHeader(f, "Korvel Test", 3, 4);
    int payload = 0x55667788;
    f.IO(&payload);
    f.close();

    Bytes b = ReadBytes(path);
    ASSERT_EQ(b.size(), 226u + 4);
    EXPECT_EQ(Get32(b, 0), 0x12345678u);
    EXPECT_EQ(Get32(b, 4), 2u);
    EXPECT_EQ(Get32(b, 8), 100u);
    const char* name = "Korvel Test";
    for (size_t k = 0; k < 101; ++k)
        EXPECT_EQ(Get16(b, 12 + 2 * k), k < strlen(name) ? (unsigned)name[k] : 0u) << k;
    EXPECT_EQ(Get16(b, 214), 3u);
    EXPECT_EQ(Get16(b, 216), 4u);
    EXPECT_EQ(Get16(b, 218), 6u);
    EXPECT_EQ(Get16(b, 220), 3u);
    EXPECT_EQ(Get32(b, 222), 0u);
    EXPECT_EQ(Get32(b, 226), 0x55667788u);

    // WriteHeader on an open file rewinds and writes over the start.
    f.open(L"r+b");
    f.setIOMode(2);
    WriteHeader(f, "Other", 9, 8);
    f.close();
    b = ReadBytes(path);
    ASSERT_EQ(b.size(), 230u);
    EXPECT_EQ(Get16(b, 12), (unsigned)'O');
    EXPECT_EQ(Get16(b, 214), 9u);
    EXPECT_EQ(Get32(b, 226), 0x55667788u);

    KFileHeader h;
    ReadHeader(f, h, "Other");
    EXPECT_EQ(h.magic, 0x12345678u);
    EXPECT_STREQ(h.name, L"Other");
    EXPECT_EQ(h.version, 9);
    EXPECT_EQ(h.subVersion, 8);
    EXPECT_EQ(h.libVersionMajor, 6);
    EXPECT_EQ(h.libVersionMinor, 3);
    EXPECT_EQ(h.extra, 0);
    int back = 0;
    f.IO(&back); // the data follows the header directly
    EXPECT_EQ(back, 0x55667788);
    f.close();

    // Another kind (here only the case differs) is refused; the header is untouched.
    KFileHeader mine;
    mine.version = 77;
    EXPECT_EQ(ThrownText([&] { ReadHeader(f, mine, "OTHER"); }), "Not a \"OTHER\" file.");
    EXPECT_EQ(mine.version, 77);
    EXPECT_EQ(mine.name[0], 0);
    f.close();

    // Layout 1: no library version; extra at offset 218. The name's unit 100
    // is forced to 0 even when the file has none.
    Bytes old;
    Put32(old, 0xCAFEBABE);
    Put32(old, 1);
    Put32(old, 100);
    for (int k = 0; k < 101; ++k)
        Put16(old, k < 100 ? 'n' : 'X');
    Put16(old, 5);
    Put16(old, 6);
    Put32(old, 0x01020304);
    WriteBytes(path, old);
    KFileHeader h1;
    ReadHeader(f, h1, KString(100, L'n'));
    EXPECT_EQ(h1.magic, 0xCAFEBABEu);
    EXPECT_EQ(h1.version, 5);
    EXPECT_EQ(h1.subVersion, 6);
    EXPECT_EQ(h1.extra, 0x01020304);
    EXPECT_EQ(h1.libVersionMajor, 0);
    EXPECT_EQ(h1.libVersionMinor, 0);
    EXPECT_EQ(h1.name[100], 0);
    EXPECT_TRUE(f.atEOF());
    f.close();

    // A cleared header.
    h1.clear();
    EXPECT_EQ(h1.magic, 0x12345678u);
    EXPECT_EQ(h1.version, 1);
    EXPECT_EQ(h1.subVersion, 0);
    EXPECT_EQ(h1.extra, 0);
    EXPECT_EQ(h1.libVersionMajor, 6);
    EXPECT_EQ(h1.libVersionMinor, 3);
    for (wchar_t c : h1.name)
        EXPECT_EQ(c, 0);
}
