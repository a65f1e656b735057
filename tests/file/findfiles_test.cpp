// Directory listing on real trees: KDir entry by entry, FindFiles and
// FindFilesEx with their flags, and a generated tree of 10,000 files found
// exactly.
#include <gtest/gtest.h>
#include <wctype.h>
#include <algorithm>
#include <map>
#include <set>
#include <vector>
#include "file_support.h"

namespace {

typedef std::vector<std::string> Names;

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

std::wstring W(const KString& s) { return (const wchar_t*)s; }

void WriteSized(const std::wstring& path, size_t size) { WriteBytes(path, Bytes(size, 'x')); }

// "level:path below root" of each record, a directory with a backslash.
Names Listing(const KArray<KFileInfo>& found, const std::wstring& root, bool sorted)
{
    Names out;
    for (const KFileInfo& f : found) {
        std::wstring p = W(f.path);
        if (Lower(p.substr(0, root.size())) == Lower(root))
            p = p.substr(root.size());
        out.push_back(std::to_string(f.level) + ":" + Narrow(p) + (f.isDirectory() ? "\\" : ""));
    }
    if (sorted)
        std::sort(out.begin(), out.end());
    return out;
}

// Group 5 text of what f throws.
template <class F>
std::string FindFailure(F f)
{
    try {
        f();
    } catch (const KorvelException& e) {
        return e.group == 5 ? Narrow(e.text) : "<group " + std::to_string(e.group) + ">";
    }
    return "<no exception>";
}

// root\ a.dat(10) B.dat(20) c.txt(3) sub1\x.dat(1) sub1\deeper\{y.dat(2),x.dat(4)} sub2\z.txt(5)
class SmallTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* d : {L"sub1", L"sub1\\deeper", L"sub2"})
            CreateDirectoryW((root + d).c_str(), nullptr);
        const std::pair<const wchar_t*, int> files[] = {{L"a.dat", 10}, {L"B.dat", 20}, {L"c.txt", 3},
            {L"sub1\\x.dat", 1}, {L"sub1\\deeper\\y.dat", 2}, {L"sub1\\deeper\\x.dat", 4}, {L"sub2\\z.txt", 5}};
        for (const auto& f : files)
            WriteSized(root + f.first, f.second);
    }
    Names Find(const wchar_t* pattern, int flags)
    {
        KArray<KFileInfo> found;
        FindFiles(root.c_str(), pattern, found, flags);
        return Listing(found, root, true);
    }
    ScratchDir scratch;
    const std::wstring root = scratch.path();
};

} // namespace

TEST_F(SmallTree, KDirNamesEachEntryOfOneDirectory)
{
    KDir dir;
    KFile file;
    EXPECT_FALSE(dir.next(file)) << "never opened";
    EXPECT_TRUE(dir.open(root.c_str(), L"*"));
    EXPECT_EQ(Lower(W(dir.getSearchPath())), Lower(root + L"*"));
    std::set<std::wstring> seen, expected;
    while (dir.next(file))
        seen.insert(Lower(W(file.getPath())));
    for (const wchar_t* n : {L"a.dat", L"b.dat", L"c.txt", L"sub1\\", L"sub2\\"})
        expected.insert(Lower(root + n));
    EXPECT_EQ(seen, expected) << "directories end in a backslash; no . or ..";
    EXPECT_FALSE(dir.next(file));

    SetEnvironmentVariableW(L"KFF_ROOT", root.substr(0, root.size() - 1).c_str());
    dir.open(L"[KFF_ROOT]\\sub1", L"*.dat");
    EXPECT_EQ(Lower(W(dir.getDirName())), Lower(root + L"sub1"));
    EXPECT_EQ(Lower(W(dir.getSearchPath())), Lower(root + L"sub1\\*.dat"));
    ASSERT_TRUE(dir.next(file));
    EXPECT_EQ(Lower(W(file.getPath())), Lower(root + L"sub1\\x.dat"));
    EXPECT_EQ(file.getSize(), 1);
    EXPECT_FALSE(dir.next(file));
    dir.close();
    EXPECT_FALSE(dir.next(file));
    SetEnvironmentVariableW(L"KFF_ROOT", nullptr);
    EXPECT_EQ(ThrownText([&] { dir.open(L"[KFF_ROOT]", L"*"); }), "GetEnvironmentVariable(KFF_ROOT) failed.");
    EXPECT_EQ(Lower(W(dir.getDirName())), Lower(root + L"sub1")) << "kept after a failed open";
    dir.open((root + L"missing").c_str(), L"*");
    EXPECT_FALSE(dir.next(file));
}

TEST_F(SmallTree, FindFilesRecordsAndFlags)
{
    const long when = 1309780800; // 2011-07-04 12:00:00 UTC
    HANDLE h = CreateFileW((root + L"a.dat").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    unsigned long long ticks = (unsigned long long)when * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);

    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"*.dat", found, FIND_SORT);
    ASSERT_EQ(found.count(), 2);
    const KFileInfo& a = found[0];
    EXPECT_EQ(Narrow(a.name) + Narrow(found[1].name), "a.datB.dat");
    EXPECT_EQ(Lower(W(a.dir)), Lower(root));
    EXPECT_EQ(W(a.path), W(a.dir) + L"a.dat");
    EXPECT_TRUE(a.size == 10 && a.nFileSizeLow == 10 && a.fileSize() == 10 && found[1].size == 20);
    EXPECT_EQ(a.modTime.getSeconds(), when);
    EXPECT_TRUE(a.createTime.isValid() && a.accessTime.isValid() && !a.isDirectory());

    // Recursion: depth first, a directory's matches before its subdirectories'.
    FindFiles(root.c_str(), L"*.dat", found, FIND_RECURSE | FIND_CLEAR);
    Names order = Listing(found, root, false);
    ASSERT_EQ(order.size(), 5u);
    std::sort(order.begin(), order.begin() + 2);
    std::sort(order.begin() + 3, order.end());
    EXPECT_EQ(order, (Names{"0:B.dat", "0:a.dat", "1:sub1\\x.dat", "2:sub1\\deeper\\x.dat", "2:sub1\\deeper\\y.dat"}));
    EXPECT_EQ(Find(L"*", FIND_RECURSE), (Names{"0:B.dat", "0:a.dat", "0:c.txt", "0:sub1\\", "0:sub2\\",
              "1:sub1\\deeper\\", "1:sub1\\x.dat", "1:sub2\\z.txt", "2:sub1\\deeper\\x.dat", "2:sub1\\deeper\\y.dat"}));
    EXPECT_EQ(Find(L"s*", FIND_RECURSE), (Names{"0:sub1\\", "0:sub2\\"}));
    const int emptyOnly = FIND_RECURSE | FIND_DESCEND_EMPTY;
    EXPECT_EQ(Find(L"*.dat", emptyOnly), (Names{"0:B.dat", "0:a.dat"}));
    EXPECT_EQ(Find(L"x.dat", emptyOnly), Names{"1:sub1\\x.dat"});
    EXPECT_EQ(Find(L"y.dat", emptyOnly), Names{"2:sub1\\deeper\\y.dat"});
    Names dots = Find(L"*", FIND_DOTS | FIND_RECURSE);
    EXPECT_EQ(dots.size(), 18u);
    EXPECT_EQ(std::count(dots.begin(), dots.end(), "2:sub1\\deeper\\..\\"), 1);

    FindFiles(root.c_str(), L"*", found, FIND_RECURSE | FIND_SORT | FIND_CLEAR);
    std::string names;
    for (const KFileInfo& f : found)
        names += Narrow(f.name) + " ";
    EXPECT_EQ(names, "a.dat B.dat c.txt deeper sub1 sub2 x.dat x.dat y.dat z.txt ");
    FindFiles(root.c_str(), L"c.txt", found, 0);
    EXPECT_EQ(found.count(), 11) << "appended without FIND_CLEAR";

    SetEnvironmentVariableW(L"KFF_ROOT", root.c_str());
    FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR);
    EXPECT_EQ(found.count(), 0) << "macros only on request";
    FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR | FIND_MACROS);
    EXPECT_EQ(Listing(found, root, false), Names{"0:sub2\\z.txt"});
    FindFilesEx(L"[KFF_ROOT]", L"*", found, FIND_MACROS | FIND_CLEAR);
    EXPECT_EQ(found.count(), 1) << "FindFilesEx neither replaces macros nor clears";
    SetEnvironmentVariableW(L"KFF_ROOT", nullptr);

    // The path form; a bare directory lists everything in it.
    FindFiles((root + L"sub1\\*.dat").c_str(), found, FIND_CLEAR | FIND_RECURSE);
    EXPECT_EQ(Listing(found, root, true), (Names{"0:sub1\\x.dat", "1:sub1\\deeper\\x.dat", "1:sub1\\deeper\\y.dat"}));
    FindFiles((root + L"sub2\\").c_str(), found, FIND_CLEAR);
    EXPECT_EQ(Listing(found, root, false), Names{"0:sub2\\z.txt"});
    {
        KCurrentDir in(root.c_str());
        FindFiles(L"*.txt", found, FIND_CLEAR | FIND_RECURSE | FIND_SORT);
        EXPECT_EQ(Listing(found, L"", false), (Names{"0:c.txt", "1:sub2\\z.txt"})) << "relative to the current directory";
    }
    FindFilesEx(root.c_str(), L"  *.txt   *.dat ", found, 0);
    Names ex = Listing(found, root, false);
    ASSERT_EQ(ex.size(), 5u);
    EXPECT_EQ(ex[2], "0:c.txt");
    EXPECT_EQ(std::set<std::string>(ex.begin() + 3, ex.end()), (std::set<std::string>{"0:a.dat", "0:B.dat"}));
    FindFilesEx(root.c_str(), L"*.txt *.dat", found, FIND_RECURSE | FIND_SORT | FIND_CLEAR);
    names.clear();
    for (const KFileInfo& f : found)
        names += Narrow(f.name) + " ";
    EXPECT_EQ(names, "a.dat a.dat B.dat B.dat c.txt c.txt c.txt x.dat x.dat y.dat z.txt z.txt ");
}

TEST_F(SmallTree, FailedSearchThrowsOnRequestAndKeepsTheResult)
{
    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"c.txt", found, 0);
    const std::wstring missing = root + L"missing";
    FindFiles(missing.c_str(), L"*.dat", found, FIND_RECURSE);
    FindFiles(root.c_str(), L"*.none", found, FIND_THROW | FIND_RECURSE);
    EXPECT_EQ(found.count(), 1) << "a missing directory is skipped; finding nothing is no failure";

    EXPECT_EQ(FindFailure([&] { FindFiles(missing.c_str(), L"*.dat", found, FIND_THROW); }),
              "FindFirstFile(" + Narrow(missing) + "\\*.dat) failed.\n" + Narrow(GetWin32Error(ERROR_PATH_NOT_FOUND)));
    for (int flags : {FIND_THROW | FIND_CLEAR, FIND_THROW | FIND_CLEAR | FIND_SORT | FIND_RECURSE}) {
        EXPECT_NE(FindFailure([&] { FindFiles(missing.c_str(), L"*", found, flags); }), "<no exception>");
        ASSERT_EQ(found.count(), 1);
        EXPECT_EQ(Narrow(found[0].name), "c.txt");
    }
    EXPECT_NE(FindFailure([&] { FindFilesEx(root.c_str(), L"*.dat ..\\nowhere\\*.x", found, FIND_THROW); }),
              "<no exception>");
    EXPECT_EQ(found.count(), 1) << "what the failed search had added is dropped";
    EXPECT_EQ(ThrownText([&] { FindFiles(L"[KFF_NONE]", L"*", found, FIND_MACROS | FIND_CLEAR); }),
              "GetEnvironmentVariable(KFF_NONE) failed.");
    EXPECT_EQ(found.count(), 1);
}

// 10,000 files of 0 to 999 bytes in folders up to four levels deep, half of
// them .dat and half .txt.
TEST(FindFilesTree, TenThousandFilesFoundExactly)
{
    ScratchDir scratch;
    const std::wstring root = scratch.path();
    std::map<std::wstring, std::pair<int, unsigned>> files; // lower-case path below root: level, size
    std::map<std::wstring, int> dirs;
    for (int i = 0; i < 10000; ++i) {
        std::wstring rel;
        const int branch[4] = {i % 7, i % 5 + i % 3, i % 4, i % 2};
        for (int l = 0; l < i % 5; ++l) {
            rel += L"d" + std::to_wstring(l) + L"_" + std::to_wstring(branch[l]);
            if (dirs.emplace(Lower(rel), l).second)
                ASSERT_TRUE(CreateDirectoryW((root + rel).c_str(), nullptr));
            rel += L"\\";
        }
        rel += L"f" + std::to_wstring(i) + (i % 2 ? L".txt" : L".dat");
        WriteSized(root + rel, i * 37 % 1000);
        files[Lower(rel)] = {i % 5, (unsigned)(i * 37 % 1000)};
    }

    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"*", found, FIND_RECURSE | FIND_THROW);
    std::map<std::wstring, std::pair<int, unsigned>> seenFiles;
    std::map<std::wstring, int> seenDirs;
    for (const KFileInfo& f : found) {
        const std::wstring rel = Lower(W(f.path)).substr(root.size());
        if (f.isDirectory())
            seenDirs.emplace(rel, f.level);
        else
            seenFiles.emplace(rel, std::make_pair(f.level, f.size));
    }
    EXPECT_EQ(found.count(), (int)(files.size() + dirs.size())) << "no entry twice";
    EXPECT_TRUE(seenFiles == files) << seenFiles.size() << " files found";
    EXPECT_TRUE(seenDirs == dirs) << seenDirs.size() << " directories found";

    // With a pattern the subdirectories come from a listing of their own.
    FindFiles(root.c_str(), L"*.dat", found, FIND_RECURSE | FIND_CLEAR | FIND_SORT);
    ASSERT_EQ(found.count(), 5000);
    int wrong = 0;
    for (int i = 0; i < found.count(); ++i) {
        auto e = files.find(Lower(W(found[i].path)).substr(root.size()));
        wrong += e == files.end() || e->second != std::make_pair(found[i].level, found[i].size);
        wrong += i > 0 && _wcsicmp(found[i - 1].name, found[i].name) > 0;
    }
    EXPECT_EQ(wrong, 0);
}
