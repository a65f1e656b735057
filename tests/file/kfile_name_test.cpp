// KFile naming, copying, opening, directory creation and stream state, on
// real files in a scratch directory.
#include <gtest/gtest.h>
#include <errno.h>
#include <string.h>
#include "file_support.h"

namespace {

// Changes the current directory for one test and restores it.
class InDir {
public:
    explicit InDir(const std::wstring& dir)
    {
        GetCurrentDirectoryW(MAX_PATH + 1, old);
        SetCurrentDirectoryW(dir.c_str());
    }
    ~InDir() { SetCurrentDirectoryW(old); }
private:
    wchar_t old[MAX_PATH + 1];
};

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

} // namespace

TEST(KFileName, RelativePathWithMacroBecomesFullAndSplits)
{
    ScratchDir scratch;
    InDir in(scratch.path());
    SetEnvironmentVariableW(L"KFT_SUB", L"sub");

    KFile f(L"[KFT_SUB]\\a.b.txt");
    std::wstring expected = scratch.path() + L"sub\\a.b.txt";
    EXPECT_EQ(Lower(std::wstring(f.getPath())), Lower(expected));
    EXPECT_EQ(f.getExt(), "txt");
    EXPECT_EQ(f.getPrefix(), "a.b");
    EXPECT_EQ(f.getFilename(), "a.b.txt");
    EXPECT_EQ(Lower(std::wstring(f.getDir())), Lower(scratch.path() + L"sub\\"));
    EXPECT_EQ(f.getDrive().length(), 2);
    EXPECT_EQ(f.getDrive()[1], L':');
    EXPECT_TRUE(f.getDir().startsWith(f.getDrive()));
    EXPECT_EQ(f.IOMode(), 0);
    EXPECT_FALSE(f.isOpen());

    f.setFileName(L"noext");
    EXPECT_EQ(f.getExt(), "");
    EXPECT_EQ(f.getPrefix(), "noext");
    EXPECT_EQ(f.getFilename(), "noext");

    // Two-part naming joins with a backslash and resolves ".." like any path.
    KFile joined(KString(scratch.path().c_str()) + "sub\\..", KString("x.dat"));
    EXPECT_EQ(Lower(std::wstring(joined.getPath())), Lower(scratch.file(L"x.dat")));

    f.setFileName(L"");
    for (const KString* part : {&f.getPath(), &f.getDrive(), &f.getDir(), &f.getExt(),
                                &f.getPrefix(), &f.getFilename()})
        EXPECT_TRUE(part->isNull());
    f.setFileName(nullptr);
    EXPECT_TRUE(f.getPath().isNull());
    SetEnvironmentVariableW(L"KFT_SUB", nullptr);
}

TEST(KFileName, UndefinedMacroThrowsAndKeepsTheOpenFile)
{
    ScratchDir scratch;
    KFile f;
    f.open(scratch.file(L"keep.dat").c_str(), L"wb");
    int v = 7;
    f.IO(&v);
    KString before = f.getPath();

    SetEnvironmentVariableW(L"KFT_NOPE", nullptr);
    EXPECT_EQ(ThrownText([&] { f.setFileName(L"[KFT_NOPE]\\x.dat"); }),
              "GetEnvironmentVariable(KFT_NOPE) failed.");
    EXPECT_EQ(f.getPath(), before);
    ASSERT_TRUE(f.isOpen());
    f.IO(&v);
    f.close();
    EXPECT_EQ(ReadBytes(scratch.file(L"keep.dat")).size(), 8u);

    // A macro in the file name of the library's own location resolves.
    KFile boot(L"[BOOT_DIR]\\probe.dat");
    wchar_t dll[MAX_PATH + 1] = {0};
    GetModuleFileNameW(GetModuleHandleW(L"korvel.dll"), dll, MAX_PATH);
    std::wstring dllDir = Lower(dll);
    dllDir = dllDir.substr(0, dllDir.rfind(L'\\') + 1);
    EXPECT_EQ(Lower(std::wstring(boot.getDir())), dllDir);
}

TEST(KFileName, CopiesTakeTheNameButNotTheStream)
{
    ScratchDir scratch;
    KFile a;
    a.open(scratch.file(L"a.dat").c_str(), L"wb");

    KFile copy(a);
    EXPECT_EQ(copy.getPath(), a.getPath());
    EXPECT_EQ(copy.getExt(), "dat");
    EXPECT_EQ(copy.getDir(), a.getDir());
    EXPECT_EQ(copy.IOMode(), 2);
    EXPECT_FALSE(copy.isOpen());
    EXPECT_TRUE(a.isOpen());
    EXPECT_FALSE(copy == a);
    EXPECT_TRUE(copy == copy);

    // Assignment closes the target's own stream first.
    KFile b;
    b.open(scratch.file(L"b.dat").c_str(), L"wb");
    int v = 5;
    b.IO(&v);
    b = a;
    EXPECT_FALSE(b.isOpen());
    EXPECT_EQ(b.getPath(), a.getPath());
    EXPECT_EQ(ReadBytes(scratch.file(L"b.dat")), Bytes({5, 0, 0, 0}));
    b = b;
    EXPECT_EQ(b.getPath(), a.getPath());

    // Without a stream, IO in a writing mode fails loudly instead of crashing.
    EXPECT_EQ(ThrownText([&] { copy.IO(&v); }),
              "File \"" + Narrow(copy.getPath()) + "\" is not open.");
    KFile unnamed;
    unnamed.IO(&v); // mode 0: nothing happens
    EXPECT_EQ(v, 5);
    a.close();
}

TEST(KFileName, OpenSetsTheModeAndCreatesMissingDirectories)
{
    ScratchDir scratch;
    std::wstring deep = scratch.path() + L"one\\two\\three\\";
    KFile f;
    f.open((deep + L"x.dat").c_str(), L"wb");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.IOMode(), 2);
    EXPECT_GE(f.getFileNo(), 0);
    f.close();
    EXPECT_EQ(f.IOMode(), 2); // kept after closing
    EXPECT_EQ(f.getFileNo(), -1);
    DWORD attr = GetFileAttributesW(deep.c_str());
    ASSERT_NE(attr, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attr & FILE_ATTRIBUTE_DIRECTORY);

    // "a" appends, also creating directories; "r" reads.
    f.open((scratch.path() + L"four\\y.txt").c_str(), L"a");
    f.print("one");
    f.close();
    f.open(L"a");
    f.print("two");
    f.close();
    f.open(L"rb");
    EXPECT_EQ(f.IOMode(), 1);
    char buf[16] = {0};
    EXPECT_EQ(f.read(buf, sizeof(buf), true), 6);
    EXPECT_STREQ(buf, "onetwo");
    f.close();

    // makeDir on its own: nothing to do when everything exists.
    KFile again((deep + L"z.dat").c_str());
    EXPECT_TRUE(again.makeDir());
}

TEST(KFileName, OpenFailuresThrowWithTheRuntimeMessage)
{
    ScratchDir scratch;
    InDir in(scratch.path());
    KFile f;
    std::string text = ThrownText([&] { f.open(L"missing.dat", L"rb"); });
    // The path is shown relative to the current directory.
    EXPECT_EQ(text, std::string("Error[2] opening \"missing.dat\".\n") + strerror(ENOENT) + ".");
    EXPECT_FALSE(f.isOpen());

    // Outside the current directory the full path is shown.
    std::wstring other = scratch.path() + L"..\\korvel_no_such_dir_42\\m.dat";
    KFile g;
    text = ThrownText([&] { g.open(other.c_str(), L"rb"); });
    EXPECT_EQ(text, "Error[2] opening \"" + Narrow(g.getPath()) + "\".\n" + strerror(ENOENT) + ".");

    // A directory cannot be made below a plain file.
    WriteBytes(scratch.file(L"plain.txt"), Bytes{'x'});
    KFile h;
    text = ThrownText([&] { h.open(scratch.file(L"plain.txt\\sub\\x.dat").c_str(), L"wb"); });
    std::string prefix = "Could not create directory \"" + Narrow(h.getDir()) + "\": ";
    EXPECT_EQ(text.substr(0, prefix.size()), prefix) << text;
    EXPECT_EQ(text.back(), '.');
    EXPECT_GT(text.size(), prefix.size() + 1);
    EXPECT_FALSE(h.isOpen());
}

TEST(KFileName, StreamPositionAndEndOfFile)
{
    ScratchDir scratch;
    KFile f;
    f.open(scratch.file(L"pos.dat").c_str(), L"wb");
    f.setMaxBuf();
    for (int i = 0; i < 3; ++i)
        f.IO(&i);
    EXPECT_EQ(f.getPos(), 12);
    EXPECT_TRUE(f.atEOF());
    EXPECT_EQ(f.flush(), 0);
    f.close();

    f.open(L"rb");
    EXPECT_EQ(f.setBufSize(64), 0);
    std::vector<int> seen;
    while (!f.atEOF()) {
        int v = -1;
        f.IO(&v);
        seen.push_back(v);
    }
    EXPECT_EQ(seen, std::vector<int>({0, 1, 2}));
    EXPECT_FALSE(f.isEOF()); // nothing was read past the end yet
    int extra = 0;
    EXPECT_EQ(f.read(&extra, 4, true), 0);
    EXPECT_TRUE(f.isEOF());

    f.rewind();
    EXPECT_EQ(f.getPos(), 0);
    EXPECT_FALSE(f.atEOF());
    EXPECT_EQ(f.seekTo(8), 0);
    int v = 0;
    f.IO(&v);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(f.seek(-8), 0);
    f.IO(&v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(f.seekEnd(-12), 0);
    f.IO(&v);
    EXPECT_EQ(v, 0);
    f.close();

    // A buffer of the caller's, set before any reading as the runtime requires.
    static char own[8];
    f.open(L"rb");
    EXPECT_EQ(f.setVBuf(own, _IOFBF, sizeof(own)), 0);
    f.seekTo(4);
    f.IO(&v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(memcmp(own, "\x01\0\0\0\x02\0\0\0", 8), 0);
    f.close();

    // Without a stream nothing is touched.
    EXPECT_EQ(f.getPos(), -1);
    EXPECT_EQ(f.seek(1), -1);
    EXPECT_TRUE(f.atEOF());
    EXPECT_TRUE(f.isEOF());
    EXPECT_EQ(f.flush(), -1);
    f.rewind();
}
