// Option files on real files under Wine: custom colours, hooks and versions,
// scrambled bodies, stores that fail part way without losing the old file,
// and 10,000 damaged files that every load refuses cleanly.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "file_support.h"

typedef std::pair<std::wstring, std::wstring> Box; // title, text

namespace {

std::vector<Box>* shown = nullptr;
HWND pendingBox = nullptr;

std::wstring WindowText(HWND h)
{
    std::wstring s(GetWindowTextLengthW(h) + 1, L'\0');
    s.resize(GetWindowTextW(h, &s[0], (int)s.size()));
    return s;
}

LRESULT CALLBACK OnCbt(int code, WPARAM w, LPARAM l)
{
    wchar_t cls[16] = {0};
    if (code == HCBT_ACTIVATE && (HWND)w != pendingBox && GetClassNameW((HWND)w, cls, 16) &&
        lstrcmpW(cls, L"#32770") == 0) {
        pendingBox = (HWND)w;
        PostMessageW(pendingBox, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK OnMessage(int code, WPARAM w, LPARAM l)
{
    const MSG* m = (const MSG*)l;
    if (code == HC_ACTION && w == PM_REMOVE && pendingBox && m->hwnd == pendingBox &&
        m->message == WM_COMMAND) {
        shown->push_back({WindowText(m->hwnd), WindowText(GetDlgItem(m->hwnd, 0xFFFF))});
        pendingBox = nullptr;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

} // namespace

// Runs f and returns the message boxes it showed on this thread, each closed
// with OK: a box's activation posts it an OK, and when the box's own loop
// takes that OK from the queue the box, filled by then, is read.
std::vector<Box> BoxesShownBy(const std::function<void()>& f)
{
    std::vector<Box> boxes;
    HHOOK cbt = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
    HHOOK queue = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
    if (cbt && queue) {
        shown = &boxes;
        f();
        shown = nullptr;
    } else {
        ADD_FAILURE() << "no hooks to close message boxes with; not run";
    }
    UnhookWindowsHookEx(cbt);
    UnhookWindowsHookEx(queue);
    return boxes;
}

namespace {

std::wstring Wide(const KString& s)
{
    return std::wstring((const wchar_t*)s, s.length());
}

const wchar_t* const TestKind = L"Korvel Test Options";
const wchar_t* const ColourKind = L"Custom Color Options";

// A record with a field of each kind, whose hooks record their calls and can fail.
class TestOptions : public OptionFile {
public:
    explicit TestOptions(int v = 3)
    {
        name = TestKind;
        version = v;
    }
    void set(int c, double s, const wchar_t* t, int f)
    {
        count = c;
        scale = s;
        title = t;
        flags = f;
    }
    bool same(const TestOptions& o) const
    {
        return count == o.count && memcmp(&scale, &o.scale, 8) == 0 && Wide(title) == Wide(o.title) &&
               flags == o.flags;
    }

    int count = 0;
    double scale = 0;
    KString title;
    int flags = 0;
    bool scramble = false;
    bool failWriting = false; // IO throws after the first field when writing
    bool failBeforeStore = false;
    // Once here is set: the hooks called, and IO on files in the directory here.
    std::wstring here;
    std::vector<std::string> calls;

protected:
    void note(const std::string& call)
    {
        if (!here.empty())
            calls.push_back(call);
    }
    void storeHandler() override
    {
        note("storeHandler");
        if (failBeforeStore)
            throw KorvelException(1, "Nothing to store.");
    }
    void loadHandler() override { note("loadHandler"); }
    void encryptHandler(KFile& f) override
    {
        note("encryptHandler");
        if (scramble)
            f.setEncrypt(def_enc_bytes, num_def_enc_bytes, 0);
    }
    void IO(KFile& f, int v) override
    {
        if (Wide(f.getDir()) == here)
            note(std::string(f.IOMode() == 1 ? "IO read v" : "IO write v") + std::to_string(v));
        f.IO(&count);
        if (failWriting && f.IOMode() == 2)
            throw KorvelException(1, "Disk pulled out.");
        f.IO(&scale);
        f.IO(&title);
        f.IO(&flags);
    }
};

std::string FullPath(const std::wstring& path)
{
    return Narrow(KFile(path.c_str()).getPath());
}

// The names that match a pattern such as "dir\\*", without "." and "..".
std::vector<std::wstring> Listing(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0)
            names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// How often the log holds what.
size_t InLog(const std::string& what)
{
    Bytes b = ReadBytes(Wide(KDebug::getLogFileName()));
    std::string log(b.begin(), b.end());
    size_t n = 0;
    for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
        ++n;
    return n;
}

// The header WriteHeader writes, built by hand.
Bytes HeaderBytes(const std::wstring& kind, unsigned version, unsigned layout = 2)
{
    Bytes b;
    Put32(b, 0x12345678);
    Put32(b, layout);
    Put32(b, 100);
    for (size_t k = 0; k < 101; ++k)
        Put16(b, k < kind.size() ? kind[k] : 0);
    Put16(b, version);
    Put16(b, 0);
    if (layout >= 2) {
        Put16(b, 6);
        Put16(b, 3);
    }
    Put32(b, 0);
    return b;
}

// Runs a store that must fail; returns the text of its one box.
std::string FailedStore(OptionFile& o, const std::wstring& path, bool remember)
{
    bool stored = true;
    std::vector<Box> boxes = BoxesShownBy([&] { stored = o.store(path.c_str(), remember); });
    EXPECT_FALSE(stored);
    if (boxes.size() != 1) {
        ADD_FAILURE() << boxes.size() << " boxes";
        return std::string();
    }
    EXPECT_EQ(L"Tarnwell (01-1014)", boxes[0].first);
    return Narrow(boxes[0].second);
}

TEST(OptionFile, CustomColoursRoundTripAsA290ByteFile)
{
    const COLORREF defaults[16] = {0x000000, 0xFFFFFF, BUTTON_FACE_COLOR, 0x0000FF, 0x00FF00, 0xFF0000,
                                   0x00FFFF, 0xFFFF00, 0xFF00FF, 0x808080, 0xFF8000, 0x0000C8,
                                   0x00C800, 0xC80000, 0xD0FFFD, 0x000000};
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), BUTTON_FACE_COLOR);
    CustomColorOptions fresh;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(defaults[i], fresh[i]) << i;
        EXPECT_EQ(defaults[i], CustColorOpt[i]) << "the global, " << i;
    }
    EXPECT_EQ(&fresh[0], fresh.getColors());
    EXPECT_EQ(ColourKind, Wide(fresh.getName()));
    EXPECT_EQ(1, fresh.getVersion());
    EXPECT_TRUE(fresh.getPath().isNull());
    EXPECT_FALSE(fresh.isLoaded());

    ScratchDir scratch;
    const std::wstring path = scratch.file(L"colours\\nested\\custom.opt");
    CustomColorOptions mine;
    Bytes want = HeaderBytes(ColourKind, 1);
    for (int i = 0; i < 16; ++i) {
        mine[i] = 0x00010203u * (i + 1) + 0x00F00000u;
        Put32(want, mine[i]);
    }
    ASSERT_TRUE(mine.store(path.c_str(), true));
    EXPECT_EQ(path, Wide(mine.getPath()));
    EXPECT_EQ(290u, want.size());
    EXPECT_EQ(want, ReadBytes(path));
    EXPECT_EQ(std::vector<std::wstring>{L"custom.opt"}, Listing(scratch.file(L"colours\\nested\\*")))
        << "no temporary file is left beside the option file";

    CustomColorOptions back;
    EXPECT_TRUE(back.load(path.c_str(), false));
    EXPECT_TRUE(back.isLoaded());
    EXPECT_TRUE(back.getPath().isNull()) << "not remembered";
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(mine[i], back[i]) << i;

    // A copy is an option file of its own; storing again replaces the file.
    CustomColorOptions copy(mine);
    copy[5] = 0x123456;
    ASSERT_TRUE(copy.store());
    back = fresh;
    EXPECT_FALSE(back.isLoaded());
    EXPECT_EQ(defaults[5], back[5]);
    back.setPath(path.c_str());
    EXPECT_TRUE(back.load());
    EXPECT_EQ(0x123456u, back[5]);
    EXPECT_EQ(mine[6], back[6]);
}

TEST(OptionFile, HooksRunInOrderAndIOGetsTheFilesVersion)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"test.opt");
    TestOptions out(3);
    out.here = scratch.path();
    out.set(-12, 0.125, L"caf\x00E9 \x263A", 0x7F00FF01);
    ASSERT_TRUE(out.store(path.c_str(), true));
    EXPECT_EQ((std::vector<std::string>{"storeHandler", "encryptHandler", "IO write v3"}), out.calls);

    Bytes want = HeaderBytes(TestKind, 3);
    Put32(want, (unsigned)-12);
    want.resize(want.size() + 8);
    memcpy(&want[want.size() - 8], &out.scale, 8);
    Put32(want, 6);
    for (wchar_t c : std::wstring(L"caf\x00E9 \x263A"))
        Put16(want, c);
    Put16(want, 0);
    Put32(want, 0x7F00FF01);
    EXPECT_EQ(want, ReadBytes(path));

    // A reader of a later version is given the version the file was written with.
    TestOptions in(5);
    in.here = scratch.path();
    EXPECT_TRUE(in.load(path.c_str(), true));
    EXPECT_EQ((std::vector<std::string>{"encryptHandler", "IO read v3", "loadHandler"}), in.calls);
    EXPECT_TRUE(in.same(out));
    EXPECT_TRUE(in.isLoaded());
    EXPECT_EQ(5, in.getVersion());
}

TEST(OptionFile, MissingFilesOtherKindsAndEmptyPaths)
{
    ScratchDir scratch;
    const std::wstring missing = scratch.file(L"none\\missing.opt");
    CustomColorOptions colours;
    std::vector<Box> boxes = BoxesShownBy([&] {
        EXPECT_FALSE(colours.load(missing.c_str(), true));
        EXPECT_FALSE(colours.load());
        EXPECT_FALSE(colours.load(KString(), true));
        EXPECT_FALSE(colours.store(KString(), true));
    });
    EXPECT_TRUE(boxes.empty()) << "nothing worth a box";
    EXPECT_EQ(missing, Wide(colours.getPath())) << "remembered for a later store";
    EXPECT_FALSE(colours.isLoaded());

    colours.setMustExist(true);
    boxes = BoxesShownBy([&] { EXPECT_FALSE(colours.load()); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Tarnwell (01-1013)", boxes[0].first);
    EXPECT_EQ("Could not load option file \"" + Narrow(missing) + "\".\n\nError[2] opening \"" +
                  FullPath(missing) + "\".\nNo such file or directory.",
              Narrow(boxes[0].second));

    // A file of another kind is refused with this object's kind, and logged.
    const std::wstring other = scratch.file(L"other.opt");
    TestOptions test;
    ASSERT_TRUE(test.store(other.c_str(), false));
    EXPECT_TRUE(test.getPath().isNull());
    colours[3] = 0xABCDEF;
    boxes = BoxesShownBy([&] { EXPECT_FALSE(colours.load(other.c_str(), false)); });
    ASSERT_EQ(1u, boxes.size());
    const std::string text = "Could not load option file \"" + Narrow(other) + "\".";
    EXPECT_EQ(text + "\n\nNot a \"Custom Color Options\" file.", Narrow(boxes[0].second));
    EXPECT_EQ(1u, InLog(text + ": Not a \"Custom Color Options\" file."));
    EXPECT_EQ(0xABCDEFu, colours[3]);
    EXPECT_FALSE(colours.isLoaded());

    // A directory is no option file, whether it must exist or not.
    colours.setMustExist(false);
    boxes = BoxesShownBy([&] { EXPECT_FALSE(colours.load(scratch.path().c_str(), false)); });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].second.find(L"Could not load option file"));
}

TEST(OptionFile, AScrambledBodyBehindAReadableHeader)
{
    ScratchDir scratch;
    const std::wstring plainPath = scratch.file(L"plain.opt"), secretPath = scratch.file(L"secret.opt");
    TestOptions plain;
    plain.set(77, -3.5, L"a secret title", 1234);
    TestOptions secret = plain;
    secret.scramble = true;
    ASSERT_TRUE(plain.store(plainPath.c_str(), false));
    ASSERT_TRUE(secret.store(secretPath.c_str(), false));

    Bytes p = ReadBytes(plainPath), s = ReadBytes(secretPath);
    ASSERT_EQ(p.size(), s.size());
    EXPECT_TRUE(std::equal(p.begin(), p.begin() + 226, s.begin())) << "the header is never scrambled";
    size_t differing = 0;
    for (size_t k = 226; k < p.size(); ++k)
        differing += p[k] != s[k];
    EXPECT_GT(differing, (p.size() - 226) / 2);
    KFile f(secretPath.c_str());
    KFileHeader h;
    ReadHeader(f, h, TestKind);
    f.close();
    EXPECT_EQ(3, h.version);

    TestOptions back;
    back.scramble = true;
    EXPECT_TRUE(back.load(secretPath.c_str(), false));
    EXPECT_TRUE(back.same(plain));
    // Read without the key, the body is refused or reads as other values.
    TestOptions unkeyed;
    bool refused = false;
    try {
        unkeyed._load(secretPath.c_str());
    } catch (const KorvelException&) {
        refused = true;
    }
    EXPECT_TRUE(refused || !unkeyed.same(plain));
}

// Each way a store can fail part way leaves the old file as it was, and no
// temporary file behind.
TEST(OptionFile, AStoreThatFailsNeverLosesTheOldFile)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"keep.opt");
    TestOptions old;
    old.set(1, 1.5, L"old content", 11);
    ASSERT_TRUE(old.store(path.c_str(), true));
    const Bytes oldBytes = ReadBytes(path);
    auto expectOldFile = [&](const char* how) {
        EXPECT_EQ(oldBytes, ReadBytes(path)) << how;
        TestOptions check;
        EXPECT_NO_THROW(check._load(path.c_str())) << how;
        EXPECT_TRUE(check.same(old)) << how;
        EXPECT_EQ(std::vector<std::wstring>{L"keep.opt"}, Listing(scratch.path() + L"*")) << how;
    };
    TestOptions next;
    next.set(2, 2.5, L"new content that is longer", 22);
    const std::string full = FullPath(path);

    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ("Could not store option file.\n\nThe file \"" + full + "\" is read-only.",
              FailedStore(next, path, false));
    expectOldFile("read-only");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held) << "held open by a program that shares nothing";
    EXPECT_EQ("Could not store option file.\n\nError[13] opening \"" + full + "\".\nPermission denied.",
              FailedStore(next, path, false));
    CloseHandle(held);
    expectOldFile("held open");

    next.failWriting = true;
    EXPECT_EQ("Could not store option file.\n\nDisk pulled out.", FailedStore(next, path, true));
    EXPECT_EQ(path, Wide(next.getPath())) << "remembered before writing";
    expectOldFile("IO failed part way");
    next.failWriting = false;

    TestOptions refusing;
    refusing.failBeforeStore = true;
    EXPECT_EQ("Could not store option file.\n\nNothing to store.", FailedStore(refusing, path, true));
    EXPECT_TRUE(refusing.getPath().isNull()) << "not remembered when storeHandler fails";
    expectOldFile("storeHandler failed");

    // Paths that cannot be written: a directory, a file taken for a directory.
    const std::wstring dir = scratch.file(L"a directory");
    CreateDirectoryW(dir.c_str(), nullptr);
    EXPECT_EQ(0u, FailedStore(next, dir, false).find("Could not store option file.\n\nError[13] opening \""));
    EXPECT_TRUE(GetFileAttributesW(dir.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(Listing(dir + L"\\*").empty());
    RemoveDirectoryW(dir.c_str());
    EXPECT_EQ(0u, FailedStore(next, path + L"\\inside.opt", false).find("Could not store option file.\n\n"));
    expectOldFile("path through the file");

    // Then a store that can succeed replaces the file whole and keeps its hidden mark.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(BoxesShownBy([&] { EXPECT_TRUE(next.store()); }).empty());
    TestOptions check;
    EXPECT_TRUE(check.load(path.c_str(), false));
    EXPECT_TRUE(check.same(next));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(std::vector<std::wstring>{L"keep.opt"}, Listing(scratch.path() + L"*"));
}

// ---------------------------------------------------------------------------
// Damaged files.

// A fixed linear congruential generator, so every run sees the same files.
class Random {
public:
    explicit Random(unsigned start) : x(start) {}
    unsigned next()
    {
        x = x * 1664525u + 1013904223u;
        return x >> 8 ^ x << 24;
    }
    unsigned below(unsigned n) { return n ? next() % n : 0; }

private:
    unsigned x;
};

// What loading the bytes must give, worked out from the file layout alone:
// the error text, or the fields read.
struct Outcome {
    std::string error;
    int count = 0;
    double scale = 0;
    std::wstring title;
    int flags = 0;
    COLORREF colors[16] = {};
};

struct Decoder {
    const Bytes& b;
    const std::string& shown;
    Outcome out;
    size_t at = 0;

    bool have(size_t n)
    {
        if (b.size() >= at + n)
            return true;
        out.error = "Error reading \"" + shown + "\".\nEOF while reading.";
        return false;
    }
    bool header(const std::wstring& kind)
    {
        if (!have(218))
            return false;
        const size_t size = (int)Get32(b, 4) >= 2 ? 226 : 222;
        if (!have(size))
            return false;
        std::wstring stored;
        for (int k = 0; k < 100 && Get16(b, 12 + 2 * k) != 0; ++k)
            stored += (wchar_t)Get16(b, 12 + 2 * k);
        if (stored != kind) {
            out.error = "Not a \"" + Narrow(kind) + "\" file.";
            return false;
        }
        at = size;
        return true;
    }
    bool testBody()
    {
        if (!have(4))
            return false;
        out.count = (int)Get32(b, at);
        at += 4;
        if (!have(8))
            return false;
        memcpy(&out.scale, &b[at], 8);
        at += 8;
        if (!have(4))
            return false;
        const unsigned n = Get32(b, at);
        at += 4;
        if (n > 1000000) {
            out.error = "Invalid length=" + std::to_string((int)n) + " in KString::read()\nFile " + shown +
                        " offset=" + std::to_string(at) + ".";
            return false;
        }
        if (!have(2 * (size_t)n + 2))
            return false;
        const unsigned t = Get16(b, at + 2 * n);
        if (t > 1) {
            out.error = "Invalid terminator=" + std::to_string(t) + " in KString::read()\nFile \"" + shown + "\".";
            return false;
        }
        for (unsigned k = 0; k < n && Get16(b, at + 2 * k) != 0; ++k)
            out.title += (wchar_t)Get16(b, at + 2 * k);
        at += 2 * n + 2;
        if (!have(4))
            return false;
        out.flags = (int)Get32(b, at);
        return true;
    }
    bool colourBody()
    {
        if (!have(64))
            return false;
        for (int i = 0; i < 16; ++i)
            out.colors[i] = Get32(b, at + 4 * i);
        return true;
    }
};

// A header with now and then another magic number, junk after the name's
// terminator and another extra field: none of which a reader looks at.
Bytes RandomHeader(Random& r, const std::wstring& kind, unsigned layout)
{
    Bytes b = HeaderBytes(kind, 1 + r.below(9), layout);
    if (r.below(4) == 0)
        b[r.below(4)] ^= 0x5A;
    for (size_t k = kind.size() + 1; k < 101; ++k)
        if (r.below(5) == 0)
            b[12 + 2 * k] = (unsigned char)(1 + r.below(255));
    if (r.below(3) == 0)
        b[b.size() - 1 - r.below(4)] = (unsigned char)r.next();
    return b;
}

// A well-formed body; *countAt receives the offset of the title's count.
void TestBody(Random& r, Bytes& b, size_t* countAt)
{
    Put32(b, r.next());
    Put32(b, r.next());
    Put32(b, r.next());
    *countAt = b.size();
    const unsigned n = r.below(24);
    Put32(b, n);
    for (unsigned k = 0; k < n; ++k)
        Put16(b, r.below(10) == 0 ? 0 : 1 + r.below(0xFFFF));
    const unsigned end = r.below(10);
    Put16(b, end == 0 ? 1 : end == 1 ? 2 + r.below(0xFFFE) : 0);
    Put32(b, r.next());
}

void Damage(Random& r, Bytes& b, size_t countAt)
{
    switch (r.below(6)) {
    case 0:
        break; // intact
    case 1:
    case 2:
        b.resize(r.below((unsigned)b.size() + 1));
        break;
    case 3:
        for (unsigned flips = 1 + r.below(3); flips > 0 && !b.empty(); --flips)
            b[r.below((unsigned)b.size())] ^= (unsigned char)(1 << r.below(8));
        break;
    case 4:
        if (countAt && countAt + 4 <= b.size()) {
            static const unsigned counts[] = {1000000, 1000001, 0xFFFFFFFF, 0x80000000, 3, 40};
            const unsigned c = r.below(2) ? counts[r.below(6)] : r.next();
            b[countAt] = c & 0xFF;
            b[countAt + 1] = (c >> 8) & 0xFF;
            b[countAt + 2] = (c >> 16) & 0xFF;
            b[countAt + 3] = c >> 24;
        }
        break;
    default:
        for (unsigned extra = r.below(10); extra > 0; --extra)
            b.push_back((unsigned char)r.next());
        break;
    }
}

// One damaged file: its bytes and whether it is meant for the colours.
Bytes DamagedFile(Random& r, bool* colours)
{
    const std::wstring colourKind = L"Custom Color Options";
    *colours = false;
    Bytes b;
    size_t countAt = 0;
    const unsigned pick = r.below(10);
    if (pick == 0) {
        b.resize(r.below(300));
        for (unsigned char& c : b)
            c = (unsigned char)r.next();
        *colours = r.below(2) == 0;
        return b;
    }
    if (pick <= 2) {
        *colours = true;
        b = RandomHeader(r, r.below(6) ? colourKind : std::wstring(TestKind), 2);
        for (int i = 0; i < 16; ++i)
            Put32(b, r.next());
    } else {
        b = RandomHeader(r, r.below(10) ? std::wstring(TestKind) : colourKind, pick == 3 ? 1 : 2);
        TestBody(r, b, &countAt);
    }
    Damage(r, b, countAt);
    return b;
}

// Loads each file once through _load, which throws, and every 20th once more
// through load, which shows the box, checking both against the outcome
// worked out from the bytes: the fields read, or the exact message with every
// field as it was before.
TEST(OptionFile, TenThousandDamagedFilesAreRefusedCleanly)
{
    ScratchDir scratch;
    const std::wstring path = scratch.file(L"damaged.opt");
    const std::string shown = FullPath(path);
    const std::string boxLine = "Could not load option file \"" + Narrow(path) + "\".: ";

    // Each kind of load once before measuring, so that first-use allocations
    // of the runtime are not counted.
    {
        TestOptions t;
        ASSERT_TRUE(t.store(path.c_str(), false));
        t._load(path.c_str());
        Bytes cut = ReadBytes(path);
        cut.resize(240);
        WriteBytes(path, cut);
        EXPECT_THROW(t._load(path.c_str()), KorvelException);
        BoxesShownBy([&] { t.load(path.c_str(), false); });
    }
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring snapshots = std::wstring(temp) + L"kos*.tmp";
    const size_t tempFilesBefore = Listing(snapshots).size();
    const size_t logBefore = InLog(boxLine);
    const size_t heapBefore = GetHeapSize();

    TestOptions test, boxedTest;
    test.set(-7, 2.5, L"sentinel", 99);
    boxedTest.set(-7, 2.5, L"sentinel", 99);
    CustomColorOptions colours, boxedColours;
    Random r(20250611);
    const int total = 10000;
    int accepted = 0, boxed = 0, boxedFailures = 0;
    std::map<std::string, int> refusals;
    for (int i = 0; i < total; ++i) {
        bool forColours = false;
        const Bytes b = DamagedFile(r, &forColours);
        WriteBytes(path, b);
        Decoder d{b, shown, {}};
        const bool ok = d.header(forColours ? ColourKind : TestKind) && (forColours ? d.colourBody() : d.testBody());
        const Outcome& want = d.out;
        if (ok)
            ++accepted;
        else
            ++refusals[want.error.substr(0, want.error.find_first_of("=\""))];

        // Both objects of a kind hold the fields read, or those they had before.
        const TestOptions testBefore(test);
        const CustomColorOptions coloursBefore(colours);
        auto expectFields = [&](const char* via) {
            if (forColours) {
                for (int k = 0; k < 16; ++k) {
                    ASSERT_EQ(colours[k], boxedColours[k]) << "file " << i << " " << via;
                    ASSERT_EQ(ok ? want.colors[k] : coloursBefore[k], colours[k]) << "file " << i << " " << via;
                }
                return;
            }
            ASSERT_TRUE(test.same(boxedTest)) << "file " << i << " " << via;
            if (!ok) {
                ASSERT_TRUE(test.same(testBefore)) << "file " << i << " " << via;
                return;
            }
            ASSERT_EQ(want.count, test.count) << "file " << i;
            ASSERT_EQ(0, memcmp(&want.scale, &test.scale, 8)) << "file " << i;
            ASSERT_EQ(want.title, Wide(test.title)) << "file " << i;
            ASSERT_EQ(want.flags, test.flags) << "file " << i;
        };

        OptionFile& target = forColours ? (OptionFile&)colours : (OptionFile&)test;
        OptionFile& boxedTarget = forColours ? (OptionFile&)boxedColours : (OptionFile&)boxedTest;
        std::string got;
        try {
            target._load(path.c_str());
        } catch (const KorvelException& e) {
            got = Narrow(e.text);
            ASSERT_EQ(1, e.group) << "file " << i;
        }
        ASSERT_EQ(ok ? std::string() : want.error, got) << "file " << i;

        if (i % 20 == 0) {
            ++boxed;
            bool loaded = false;
            const std::vector<Box> boxes = BoxesShownBy([&] { loaded = boxedTarget.load(path.c_str(), false); });
            ASSERT_EQ(ok, loaded) << "file " << i;
            ASSERT_EQ(ok ? 0u : 1u, boxes.size()) << "file " << i;
            if (!ok) {
                ++boxedFailures;
                ASSERT_EQ(L"Tarnwell (01-1013)", boxes[0].first) << "file " << i;
                ASSERT_EQ("Could not load option file \"" + Narrow(path) + "\".\n\n" + want.error,
                          Narrow(boxes[0].second))
                    << "file " << i;
            }
        } else if (ok) {
            boxedTarget._load(path.c_str()); // keeps the twins alike
        }
        expectFields("after the loads");
        if (HasFatalFailure())
            return;
    }
    const size_t heapAfter = GetHeapSize();

    printf("damaged option files: %d, %d read, %d refused; %d also through the box (%d boxes)\n", total,
           accepted, total - accepted, boxed, boxedFailures);
    for (const auto& kind : refusals)
        printf("  %5d  %s...\n", kind.second, kind.first.c_str());
    EXPECT_TRUE(test.isLoaded());
    EXPECT_TRUE(colours.isLoaded());
    EXPECT_EQ(logBefore + boxedFailures, InLog(boxLine)) << "each box is logged";
    // Every path was taken many times.
    EXPECT_GT(accepted, 800);
    EXPECT_GT(refusals["Error reading "], 1000);
    EXPECT_GT(refusals["Not a "], 1000);
    EXPECT_GT(refusals["Invalid length"], 200);
    EXPECT_GT(refusals["Invalid terminator"], 200);
    EXPECT_GT(boxedFailures, 200);
    // Nothing leaks: no scratch file, no open file, no heap block per file.
    EXPECT_EQ(tempFilesBefore, Listing(snapshots).size());
    EXPECT_EQ(std::vector<std::wstring>{L"damaged.opt"}, Listing(scratch.path() + L"*"));
    HANDLE alone = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone) << "no handle to the file is left open";
    CloseHandle(alone);
    ASSERT_GT(heapBefore, 0u) << "the heap could not be walked";
    EXPECT_LT(heapAfter, heapBefore + 32768) << heapBefore << " -> " << heapAfter;
}

} // namespace
