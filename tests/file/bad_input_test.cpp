// Damaged input: pseudo-random, cut, bit-flipped and padded records and option files. Each
// read gives exactly what RecordOracle finds in the bytes, or throws the exact text of the
// first defect and leaves the target as it was; no file, handle or heap block is left behind.
#include "file_tests.h"

const wchar_t* const RecordKind = L"Bad Input Kind";

// A header of kind, now and then with a name changed, another magic number, junk after
// the name's terminator and other values after the version.
static Bytes RandomHeader(Random& r, std::wstring kind, unsigned layout)
{
    if (r.below(8) == 0)
        kind[r.below((unsigned)kind.size())] ^= 0x20;
    Bytes b = HeaderBytes(kind, r.next() & 0xFFFF, layout);
    if (r.below(4) == 0)
        b[r.below(4)] ^= 0x5A;
    for (size_t k = kind.size() + 1; k < 101; ++k)
        if (r.below(5) == 0)
            b[12 + 2 * k] = (unsigned char)(1 + r.below(255));
    for (size_t k = 216; k < b.size(); ++k)
        if (r.below(3) == 0)
            b[k] = (unsigned char)r.next();
    return b;
}

// A damaged input for one of the readers: 0 a string record, 1 a header, 2 the custom colours,
// 3 the test options.
static Bytes DamagedInput(Random& r, int reader)
{
    Bytes b;
    size_t countAt = reader == 0 ? 0 : std::string::npos;
    if (r.below(reader < 2 ? 4 : 10) == 0)
        return RandomBytes(r, reader == 0 ? 40 : 300);
    if (reader == 0) {
        PutRandomString(r, b);
    } else if (reader == 1) {
        const unsigned layout = r.below(4);
        b = RandomHeader(r, RecordKind, layout == 0 ? 1 : layout == 1 ? r.next() : 2);
    } else if (reader == 2) {
        b = RandomHeader(r, r.below(6) ? ColourKind : TestKind, 2);
        for (int k = 0; k < 16; ++k)
            Put32(b, r.next());
    } else {
        b = RandomHeader(r, r.below(10) ? TestKind : ColourKind, r.below(7) == 0 ? 1 : 2);
        for (int k = 0; k < 3; ++k)
            Put32(b, r.next());
        countAt = b.size();
        PutRandomString(r, b);
        Put32(b, r.next());
    }
    Damage(r, b, countAt);
    return b;
}

// Of 10 inputs, 3 go to KString::read, 2 to ReadHeader, 5 to an option file's _load.
TEST(BadInput, TwentyThousandDamagedRecordsAndOptionFilesAreReadExactlyOrRefusedCleanly)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"damaged.opt");
    const std::string shown = Narrow(KFile(path.c_str()).getPath());
    TestOptions test(3, -7, 2.5, L"sentinel", 99);
    CustomColorOptions colours;
    KFile f;
    // Each kind of read once before measuring, so that first-use allocations are not counted.
    {
        BoxWatcher boxes;
        KFileHeader header;
        KString warm;
        ASSERT_TRUE(TestOptions().store(path.c_str(), false));
        f.setFileName(path.c_str());
        ReadHeader(f, header, TestKind);
        warm.read(f);
        f.close();
        Bytes cut = ReadBytes(path);
        cut.resize(240);
        WriteBytes(path, cut);
        EXPECT_TRUE(Catch([&] { TestOptions()._load(path.c_str()); }));
    }
    const std::wstring snapshots = TempDir() + L"kos*.tmp";
    const size_t snapshotsBefore = Listing(snapshots).size();
    const size_t heapBefore = GetHeapSize();
    Random r(20250611);
    Tally refused;
    for (int i = 0; i < 20000; ++i) {
        const int reader = i % 10 < 3 ? 0 : i % 10 < 5 ? 1 : r.below(10) < 3 ? 2 : 3;
        const Bytes b = DamagedInput(r, reader);
        WriteBytes(path, b);
        RecordOracle want(b, shown);
        Caught got;
        if (reader == 0) {
            std::wstring text = L"sentinel";
            want.string(&text);
            KString target("sentinel");
            f.open(path.c_str(), L"rb");
            got = Catch([&] { target.read(f); });
            ASSERT_EQ(text, Wide(target)) << "file " << i;
        } else if (reader == 1) {
            KFileHeader target, expected;
            target.version = -99;
            target.extra = 12345;
            wcscpy(target.name, L"sentinel");
            expected = target;
            want.header(RecordKind, &expected);
            f.setFileName(path.c_str());
            got = Catch([&] { ReadHeader(f, target, RecordKind); });
            ASSERT_TRUE(SameHeader(expected, target)) << "file " << i;
        } else {
            // What the object of the kind must hold afterwards.
            TestOptions wantTest(test);
            CustomColorOptions wantColours(colours);
            std::wstring title;
            const bool ok = reader == 2 ? want.header(ColourKind) && want.raw(64, wantColours.getColors())
                                        : want.header(TestKind) && want.u32((unsigned*)&wantTest.count) &&
                                              want.raw(8, &wantTest.scale) && want.string(&title) &&
                                              want.u32((unsigned*)&wantTest.flags);
            if (!ok) {
                wantTest = test;
                wantColours = colours;
            } else if (reader == 3) {
                wantTest.title = title.c_str();
            }
            OptionFile& target = reader == 2 ? (OptionFile&)colours : (OptionFile&)test;
            got = Catch([&] { target._load(path.c_str()); });
            ASSERT_EQ(0, memcmp(wantColours.getColors(), colours.getColors(), 64)) << "file " << i;
            ASSERT_TRUE(wantTest.same(test)) << "file " << i;
        }
        f.close();
        ASSERT_EQ(want.error, got.text) << "file " << i;
        ASSERT_TRUE(!got || got.group == 1) << "file " << i;
        if (got)
            refused.add(got.text);
    }
    const long long grown = (long long)GetHeapSize() - (long long)heapBefore;
    refused.print("damaged records and option files", 20000);
    // Every path was taken many times.
    EXPECT_TRUE(refused.total() < 17000 && refused["Error reading "] > 3000 && refused["Not a "] > 1000);
    EXPECT_TRUE(refused["Invalid length"] > 1000 && refused["Invalid terminator"] > 400);
    // Nothing is left behind: no snapshot or temporary file, no open file, no heap block per file.
    EXPECT_EQ(snapshotsBefore, Listing(snapshots).size());
    EXPECT_EQ(std::vector<std::wstring>{L"damaged.opt"}, Listing(scratch.path() + L"*"));
    HANDLE alone = CreateFileW(path.c_str(), GENERIC_ALL, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone) << "no handle to the file is left open";
    CloseHandle(alone);
    ASSERT_TRUE(heapBefore > 0) << "the heap could not be walked";
    EXPECT_LT(grown, 32768);
}
