// Damaged files: 10,000 deterministic pseudo-random, mutated and truncated
// files fed to KString::read and ReadHeader. Each read either succeeds with
// exactly the content the bytes describe or throws KorvelException with the
// exact message for the first defect in the bytes; a failed read leaves the
// object read into as it was, and nothing leaks.
#include <gtest/gtest.h>
#include <map>
#include <stdio.h>
#include <string.h>
#include "file_support.h"

namespace {

// A fixed linear congruential generator, so every run sees the same files.
class Random {
public:
    explicit Random(unsigned start) : x(start) {}
    unsigned next()
    {
        x = x * 1664525u + 1013904223u;
        return x >> 8;
    }
    unsigned below(unsigned n) { return n ? next() % n : 0; }
private:
    unsigned x;
};

const char* const Kind = "Bad Input Kind";

// What reading the bytes must give: the text, or the exception's message.
struct Outcome {
    bool ok;
    std::wstring text;
    std::string error;
};

// Decodes a string record the way the record is defined; path is the file's.
Outcome ExpectString(const Bytes& b, const std::string& path)
{
    const std::string eof = "Error reading \"" + path + "\".\nEOF while reading.";
    if (b.size() < 4)
        return {false, L"", eof};
    unsigned n = Get32(b, 0);
    if (n > 1000000)
        return {false, L"", "Invalid length=" + std::to_string((int)n) +
                                " in KString::read()\nFile " + path + " offset=4."};
    if (b.size() < 4 + 2 * (size_t)n + 2)
        return {false, L"", eof};
    unsigned t = Get16(b, 4 + 2 * n);
    if (t > 1)
        return {false, L"", "Invalid terminator=" + std::to_string(t) +
                                " in KString::read()\nFile \"" + path + "\"."};
    std::wstring text;
    for (unsigned k = 0; k < n && Get16(b, 4 + 2 * k) != 0; ++k)
        text += (wchar_t)Get16(b, 4 + 2 * k);
    return {true, text, ""};
}

// Decodes a header; on success fills h.
Outcome ExpectHeader(const Bytes& b, const std::string& path, KFileHeader& h)
{
    const Outcome eof = {false, L"", "Error reading \"" + path + "\".\nEOF while reading."};
    if (b.size() < 218)
        return eof;
    int layout = (int)Get32(b, 4);
    size_t need = 218 + (layout >= 2 ? 4 : 0) + 4;
    if (b.size() < need)
        return eof;
    std::wstring name;
    for (int k = 0; k < 100 && Get16(b, 12 + 2 * k) != 0; ++k)
        name += (wchar_t)Get16(b, 12 + 2 * k);
    if (name != L"Bad Input Kind")
        return {false, L"", std::string("Not a \"") + Kind + "\" file."};
    h.magic = Get32(b, 0);
    h.version = (short)Get16(b, 214);
    h.subVersion = (short)Get16(b, 216);
    h.libVersionMajor = layout >= 2 ? (short)Get16(b, 218) : 0;
    h.libVersionMinor = layout >= 2 ? (short)Get16(b, 220) : 0;
    h.extra = (int)Get32(b, need - 4);
    return {true, name, ""};
}

// A string record of random units (now and then a 0 unit), random terminator.
Bytes StringRecord(Random& r)
{
    Bytes b;
    unsigned n = r.below(24);
    Put32(b, n);
    for (unsigned k = 0; k < n; ++k)
        Put16(b, r.below(8) == 0 ? 0 : 1 + r.below(0xFFFF));
    unsigned pick = r.below(6);
    Put16(b, pick < 3 ? 0 : pick < 5 ? 1 : r.next() & 0xFFFF);
    return b;
}

Bytes HeaderRecord(Random& r)
{
    Bytes b;
    Put32(b, r.below(3) ? 0x12345678 : r.next());
    unsigned pick = r.below(4);
    Put32(b, pick == 0 ? 1 : pick == 1 ? r.next() : 2);
    Put32(b, 100);
    std::string name = Kind;
    if (r.below(4) == 0)
        name[r.below((unsigned)name.size())] ^= 0x20; // differs by case or a character
    for (int k = 0; k < 101; ++k)
        Put16(b, k < (int)name.size() ? (unsigned char)name[k] : r.below(6) == 0 ? r.next() : 0);
    for (int k = 0; k < 4; ++k)
        Put16(b, r.next() & 0xFFFF);
    Put32(b, r.next());
    return b;
}

// Damages a record: cuts it, flips bytes, or replaces the count field.
void Damage(Random& r, Bytes& b, bool isString)
{
    switch (r.below(5)) {
    case 0:
        break; // intact
    case 1:
    case 2:
        b.resize(r.below((unsigned)b.size() + 1));
        break;
    case 3:
        for (unsigned flips = 1 + r.below(4); flips > 0 && !b.empty(); --flips)
            b[r.below((unsigned)b.size())] ^= (unsigned char)(1 << r.below(8));
        break;
    default:
        if (isString && b.size() >= 4) {
            static const unsigned counts[] = {1000000, 1000001, 0xFFFFFFFF, 0x80000000, 7};
            unsigned c = r.below(2) ? counts[r.below(5)] : r.next() * 2654435761u;
            b[0] = c & 0xFF;
            b[1] = (c >> 8) & 0xFF;
            b[2] = (c >> 16) & 0xFF;
            b[3] = c >> 24;
        } else {
            b.resize(b.size() + r.below(8), (unsigned char)r.next());
        }
        break;
    }
}

Bytes RandomBytes(Random& r, unsigned maxLen)
{
    Bytes b(r.below(maxLen + 1));
    for (unsigned char& c : b)
        c = (unsigned char)r.next();
    return b;
}

} // namespace

TEST(BadInput, TenThousandDamagedFilesNeverCrashLeakOrChangeTheTarget)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"damaged.dat");
    KFile probe(path.c_str());
    const std::string shown = Narrow(probe.getPath());

    // One read of each kind before measuring the heap, so that the runtime's
    // own first-use allocations are not counted.
    WriteBytes(path, Bytes{1, 0, 0, 0, 'a', 0, 0, 0});
    KString warm;
    KFile w;
    w.open(path.c_str(), L"rb");
    warm.read(w);
    w.close();
    KFileHeader warmHeader;
    EXPECT_NE(ThrownText([&] { ReadHeader(w, warmHeader, Kind); }), "<no exception>");
    w.close();
    const size_t heapBefore = GetHeapSize();

    Random r(20240611);
    const int total = 10000;
    int strings = 0, headers = 0, accepted = 0;
    std::map<std::string, int> refusals;
    for (int i = 0; i < total; ++i) {
        const bool isString = i % 5 < 3;
        Bytes b;
        if (r.below(4) == 0) {
            b = RandomBytes(r, isString ? 40 : 260);
        } else {
            b = isString ? StringRecord(r) : HeaderRecord(r);
            Damage(r, b, isString);
        }
        WriteBytes(path, b);

        KFile f;
        std::string got = "<no exception>";
        if (isString) {
            ++strings;
            Outcome want = ExpectString(b, shown);
            KString target("sentinel");
            f.open(path.c_str(), L"rb");
            got = ThrownText([&] { target.read(f); });
            f.close();
            if (want.ok) {
                ASSERT_EQ(got, "<no exception>") << "file " << i;
                ASSERT_EQ(std::wstring(target), want.text) << "file " << i;
                ASSERT_EQ(target.length(), (int)want.text.size()) << "file " << i;
                ++accepted;
            } else {
                ASSERT_EQ(got, want.error) << "file " << i;
                ASSERT_EQ(target, "sentinel") << "file " << i;
                ASSERT_EQ(target.length(), 8) << "file " << i;
            }
        } else {
            ++headers;
            KFileHeader expected;
            Outcome want = ExpectHeader(b, shown, expected);
            KFileHeader target;
            target.clear();
            target.version = -99;
            target.extra = 12345;
            wcscpy(target.name, L"sentinel");
            f.setFileName(path.c_str());
            got = ThrownText([&] { ReadHeader(f, target, Kind); });
            f.close();
            if (want.ok) {
                ASSERT_EQ(got, "<no exception>") << "file " << i;
                ASSERT_STREQ(target.name, L"Bad Input Kind") << "file " << i;
                ASSERT_EQ(target.magic, expected.magic) << "file " << i;
                ASSERT_EQ(target.version, expected.version) << "file " << i;
                ASSERT_EQ(target.subVersion, expected.subVersion) << "file " << i;
                ASSERT_EQ(target.libVersionMajor, expected.libVersionMajor) << "file " << i;
                ASSERT_EQ(target.libVersionMinor, expected.libVersionMinor) << "file " << i;
                ASSERT_EQ(target.extra, expected.extra) << "file " << i;
                ++accepted;
            } else {
                ASSERT_EQ(got, want.error) << "file " << i;
                ASSERT_STREQ(target.name, L"sentinel") << "file " << i;
                ASSERT_EQ(target.version, -99) << "file " << i;
                ASSERT_EQ(target.extra, 12345) << "file " << i;
            }
        }
        if (got != "<no exception>")
            ++refusals[got.substr(0, got.find_first_of("=\""))];
    }
    const size_t heapAfter = GetHeapSize();

    printf("damaged files: %d (%d string records, %d headers); %d read, %d refused\n", total,
           strings, headers, accepted, total - accepted);
    for (const auto& kind : refusals)
        printf("  %5d  %s...\n", kind.second, kind.first.c_str());
    EXPECT_EQ(strings + headers, total);
    // Every path was taken many times.
    EXPECT_GT(accepted, 500);
    EXPECT_GT(refusals["Error reading "], 500);
    EXPECT_GT(refusals["Invalid length"], 300);
    EXPECT_GT(refusals["Invalid terminator"], 300);
    EXPECT_GT(refusals["Not a "], 300);
    // A leak of even one small block per file would show as well over 100 KB.
    ASSERT_GT(heapBefore, 0u) << "the heap could not be walked";
    EXPECT_LT(heapAfter, heapBefore + 32768) << heapBefore << " -> " << heapAfter;
}
