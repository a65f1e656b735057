// Directory listing on real trees: KDir entry by entry, FindFiles and
// FindFilesEx with each of their flags, and a generated tree of 10,000 files
// found exactly.
#include <gtest/gtest.h>
#include <wctype.h>
#include <algorithm>
#include <map>
#include <set>
#include <vector>
#include "file_support.h"

namespace {

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

std::wstring W(const KString& s)
{
    return std::wstring((const wchar_t*)s);
}

void WriteSized(const std::wstring& path, size_t size)
{
    Bytes b(size);
    for (size_t i = 0; i < size; ++i)
        b[i] = (unsigned char)(i * 7);
    WriteBytes(path, b);
}

void SetModTime(const std::wstring& path, long seconds)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    unsigned long long ticks = (unsigned long long)seconds * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
}

// "level:relative path" of each record, relative to root, in order.
std::vector<std::string> Listing(const KArray<KFileInfo>& found, const std::wstring& root)
{
    std::vector<std::string> out;
    for (const KFileInfo& f : found) {
        std::wstring p = W(f.path);
        if (Lower(p.substr(0, root.size())) == Lower(root))
            p = p.substr(root.size());
        out.push_back(std::to_string(f.level) + ":" + Narrow(p) + (f.isDirectory() ? "\\" : ""));
    }
    return out;
}

typedef std::vector<std::string> Names;

// Group 5 text of the exception f throws, or a note of what happened instead.
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

// root\  a.dat(10)  B.dat(20)  c.txt(3)
//        sub1\  x.dat(1)  deeper\  y.dat(2)  x.dat(4)
//        sub2\  z.txt(5)
class SmallTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = scratch.path();
        for (const wchar_t* d : {L"sub1", L"sub1\\deeper", L"sub2"})
            CreateDirectoryW((root + d).c_str(), nullptr);
        WriteSized(root + L"a.dat", 10);
        WriteSized(root + L"B.dat", 20);
        WriteSized(root + L"c.txt", 3);
        WriteSized(root + L"sub1\\x.dat", 1);
        WriteSized(root + L"sub1\\deeper\\y.dat", 2);
        WriteSized(root + L"sub1\\deeper\\x.dat", 4);
        WriteSized(root + L"sub2\\z.txt", 5);
    }
    // The sorted listing, as the system's order is its own.
    Names Find(const wchar_t* pattern, int flags)
    {
        KArray<KFileInfo> found;
        FindFiles(root.c_str(), pattern, found, flags);
        Names n = Listing(found, root);
        std::sort(n.begin(), n.end());
        return n;
    }
    ScratchDir scratch;
    std::wstring root;
};

} // namespace

TEST_F(SmallTree, KDirNamesEachEntryOfOneDirectory)
{
    KDir dir;
    KFile file;
    EXPECT_FALSE(dir.next(file)) << "a closed listing has no entries";

    EXPECT_TRUE(dir.open(root.c_str(), L"*"));
    EXPECT_EQ(Lower(W(dir.getDirName())), Lower(root));
    EXPECT_EQ(Lower(W(dir.getSearchPath())), Lower(root + L"*"));
    std::set<std::wstring> seen;
    while (dir.next(file))
        seen.insert(Lower(W(file.getPath())));
    std::set<std::wstring> expected;
    for (const wchar_t* n : {L"a.dat", L"b.dat", L"c.txt", L"sub1\\", L"sub2\\"})
        expected.insert(Lower(root + n));
    EXPECT_EQ(seen, expected) << "directories end in a backslash, no . or ..";
    EXPECT_FALSE(dir.next(file));
    EXPECT_FALSE(dir.next(file));

    // A directory without its separator, a pattern, and macros.
    SetEnvironmentVariableW(L"KFF_ROOT", root.substr(0, root.size() - 1).c_str());
    EXPECT_TRUE(dir.open(L"[KFF_ROOT]\\sub1", L"*.dat"));
    EXPECT_EQ(Lower(W(dir.getDirName())), Lower(root + L"sub1"));
    EXPECT_EQ(Lower(W(dir.getSearchPath())), Lower(root + L"sub1\\*.dat"));
    ASSERT_TRUE(dir.next(file));
    EXPECT_EQ(Lower(W(file.getPath())), Lower(root + L"sub1\\x.dat"));
    EXPECT_EQ(Narrow(file.getFilename()), "x.dat");
    EXPECT_EQ(file.getSize(), 1);
    EXPECT_FALSE(dir.next(file));

    // Reopening starts again; closing ends the listing.
    dir.open(L"[KFF_ROOT]\\sub1", L"*.dat");
    dir.close();
    EXPECT_FALSE(dir.next(file));
    dir.open(L"[KFF_ROOT]\\sub1", L"*.dat");
    EXPECT_TRUE(dir.next(file));

    // An undefined macro throws and leaves the listing as it was.
    SetEnvironmentVariableW(L"KFF_UNDEFINED", nullptr);
    EXPECT_EQ(ThrownText([&] { dir.open(L"[KFF_UNDEFINED]", L"*"); }),
              "GetEnvironmentVariable(KFF_UNDEFINED) failed.");
    EXPECT_EQ(Lower(W(dir.getDirName())), Lower(root + L"sub1"));

    dir.open((root + L"missing").c_str(), L"*");
    EXPECT_FALSE(dir.next(file));
    dir.open(root.c_str(), L"*.none");
    EXPECT_FALSE(dir.next(file));
    SetEnvironmentVariableW(L"KFF_ROOT", nullptr);
}

TEST_F(SmallTree, FindFilesRecordsLevelsAndRecursion)
{
    const long when = 1309780800; // 2011-07-04 12:00:00 UTC
    SetModTime(root + L"a.dat", when);

    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"*.dat", found, FIND_SORT);
    ASSERT_EQ(found.count(), 2);
    const KFileInfo& a = found[0];
    EXPECT_EQ(Narrow(a.name), "a.dat");
    EXPECT_EQ(Lower(W(a.dir)), Lower(root));
    EXPECT_EQ(Lower(W(a.path)), Lower(root + L"a.dat"));
    EXPECT_EQ(a.size, 10u);
    EXPECT_EQ(a.fileSize(), 10u);
    EXPECT_EQ(a.nFileSizeLow, 10u);
    EXPECT_EQ(a.nFileSizeHigh, 0u);
    EXPECT_EQ(a.level, 0);
    EXPECT_FALSE(a.isDirectory());
    EXPECT_EQ(a.modTime.getSeconds(), when);
    EXPECT_EQ(a.modTime.getSeconds(), GetModTime(W(a.path).c_str()));
    EXPECT_TRUE(a.createTime.isValid());
    EXPECT_TRUE(a.accessTime.isValid());
    EXPECT_EQ(Narrow(found[1].name), "B.dat");
    EXPECT_EQ(found[1].size, 20u);

    // Recursion: depth first, each directory's matches before its subdirectories'.
    found.reserve(0, false);
    FindFiles(root.c_str(), L"*.dat", found, FIND_RECURSE);
    Names order = Listing(found, root);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.begin() + 2),
              (std::set<std::string>{"0:a.dat", "0:B.dat"}));
    EXPECT_EQ(order[2], "1:sub1\\x.dat");
    EXPECT_EQ(std::set<std::string>(order.begin() + 3, order.end()),
              (std::set<std::string>{"2:sub1\\deeper\\y.dat", "2:sub1\\deeper\\x.dat"}));
    EXPECT_EQ(found[2].size, 1u);
    EXPECT_EQ(Lower(W(found[2].dir)), Lower(root + L"sub1\\"));

    // Every entry: directories are records too, and are descended.
    EXPECT_EQ(Find(L"*", FIND_RECURSE),
              (Names{"0:B.dat", "0:a.dat", "0:c.txt", "0:sub1\\", "0:sub2\\", "1:sub1\\deeper\\",
                     "1:sub1\\x.dat", "1:sub2\\z.txt", "2:sub1\\deeper\\x.dat", "2:sub1\\deeper\\y.dat"}));
    EXPECT_EQ(Find(L"*", 0), (Names{"0:B.dat", "0:a.dat", "0:c.txt", "0:sub1\\", "0:sub2\\"}));
    EXPECT_EQ(Find(L"*.txt", FIND_RECURSE), (Names{"0:c.txt", "1:sub2\\z.txt"}));
    EXPECT_EQ(Find(L"*.none", FIND_RECURSE), Names{});
    EXPECT_EQ(Find(L"s*", FIND_RECURSE), (Names{"0:sub1\\", "0:sub2\\"}));

    // Descending only where nothing matched.
    const int emptyOnly = FIND_RECURSE | FIND_DESCEND_EMPTY;
    EXPECT_EQ(Find(L"*.dat", emptyOnly), (Names{"0:B.dat", "0:a.dat"}));
    EXPECT_EQ(Find(L"x.dat", emptyOnly), Names{"1:sub1\\x.dat"});
    EXPECT_EQ(Find(L"y.dat", emptyOnly), Names{"2:sub1\\deeper\\y.dat"});
    EXPECT_EQ(Find(L"*", emptyOnly), (Names{"0:B.dat", "0:a.dat", "0:c.txt", "0:sub1\\", "0:sub2\\"}));

    // The dot entries on request; they are never descended.
    Names dots = Find(L"*", FIND_DOTS | FIND_RECURSE);
    EXPECT_EQ(std::count(dots.begin(), dots.end(), "0:.\\"), 1);
    EXPECT_EQ(std::count(dots.begin(), dots.end(), "0:..\\"), 1);
    EXPECT_EQ(std::count(dots.begin(), dots.end(), "1:sub1\\.\\"), 1);
    EXPECT_EQ(std::count(dots.begin(), dots.end(), "2:sub1\\deeper\\..\\"), 1);
    EXPECT_EQ(dots.size(), 10u + 8u);
}

TEST_F(SmallTree, FindFilesSortsClearsAndReplacesMacros)
{
    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"*", found, FIND_RECURSE | FIND_SORT);
    std::vector<std::string> names;
    for (const KFileInfo& f : found)
        names.push_back(Narrow(f.name));
    EXPECT_EQ(names, (std::vector<std::string>{"a.dat", "B.dat", "c.txt", "deeper", "sub1", "sub2",
                                               "x.dat", "x.dat", "y.dat", "z.txt"}));

    // Appended to what is there, or in place of it.
    FindFiles(root.c_str(), L"c.txt", found, 0);
    EXPECT_EQ(found.count(), 11);
    EXPECT_EQ(Narrow(found[10].name), "c.txt");
    FindFiles(root.c_str(), L"c.txt", found, FIND_CLEAR);
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(Narrow(found[0].name), "c.txt");

    // Macros only on request; without them the directory is not there.
    SetEnvironmentVariableW(L"KFF_ROOT", root.c_str());
    FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR);
    EXPECT_EQ(found.count(), 0);
    FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR | FIND_MACROS);
    EXPECT_EQ(Listing(found, root), Names{"0:sub2\\z.txt"});
    SetEnvironmentVariableW(L"KFF_ROOT", nullptr);

    // The path form splits off the pattern; a bare directory lists everything.
    FindFiles((root + L"sub1\\*.dat").c_str(), found, FIND_CLEAR | FIND_RECURSE);
    Names sub1 = Listing(found, root);
    ASSERT_EQ(sub1.size(), 3u);
    EXPECT_EQ(sub1[0], "0:sub1\\x.dat");
    EXPECT_EQ(std::set<std::string>(sub1.begin() + 1, sub1.end()),
              (std::set<std::string>{"1:sub1\\deeper\\y.dat", "1:sub1\\deeper\\x.dat"}));
    FindFiles((root + L"sub2\\").c_str(), found, FIND_CLEAR);
    EXPECT_EQ(Listing(found, root), Names{"0:sub2\\z.txt"});

    // An empty directory is the current one, and the paths stay relative.
    {
        KCurrentDir in(root.c_str());
        FindFiles(L"", L"*.dat", found, FIND_CLEAR | FIND_SORT);
        ASSERT_EQ(found.count(), 2);
        EXPECT_EQ(Narrow(found[0].path), "a.dat");
        EXPECT_EQ(Narrow(found[0].dir), "");
        FindFiles(L"*.txt", found, FIND_CLEAR | FIND_RECURSE | FIND_SORT);
        ASSERT_EQ(found.count(), 2);
        EXPECT_EQ(Narrow(found[1].path), "sub2\\z.txt");
        EXPECT_EQ(Narrow(found[1].dir), "sub2\\");
    }

    // Several patterns, one search after the other, appended; sorting at the end.
    ASSERT_EQ(found.count(), 2);
    FindFilesEx(root.c_str(), L"  *.txt   *.dat ", found, FIND_CLEAR);
    ASSERT_EQ(found.count(), 5) << "FIND_CLEAR is not applied";
    Names ex = Listing(found, root);
    EXPECT_EQ(ex[0], "0:c.txt");
    EXPECT_EQ(ex[1], "1:sub2\\z.txt");
    EXPECT_EQ(ex[2], "0:c.txt");
    EXPECT_EQ(Lower(W(found[2].path)), Lower(root + L"c.txt"));
    EXPECT_EQ(std::set<std::string>(ex.begin() + 3, ex.end()), (std::set<std::string>{"0:a.dat", "0:B.dat"}));
    found.reserve(0, false);
    FindFilesEx(root.c_str(), L"*.txt *.dat", found, FIND_RECURSE | FIND_SORT);
    names.clear();
    for (const KFileInfo& f : found)
        names.push_back(Narrow(f.name));
    EXPECT_EQ(names, (std::vector<std::string>{"a.dat", "B.dat", "c.txt", "x.dat", "x.dat", "y.dat", "z.txt"}));
    FindFilesEx(root.c_str(), L"   ", found, FIND_CLEAR);
    EXPECT_EQ(found.count(), 7);
    SetEnvironmentVariableW(L"KFF_ROOT", root.c_str());
    FindFilesEx(L"[KFF_ROOT]", L"*.dat", found, FIND_MACROS | FIND_CLEAR);
    EXPECT_EQ(found.count(), 7) << "FIND_MACROS is not applied";
    SetEnvironmentVariableW(L"KFF_ROOT", nullptr);
}

TEST_F(SmallTree, FailedSearchThrowsOnRequestAndKeepsTheResult)
{
    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"c.txt", found, 0);
    ASSERT_EQ(found.count(), 1);

    const std::wstring missing = root + L"missing";
    FindFiles(missing.c_str(), L"*.dat", found, FIND_RECURSE);
    EXPECT_EQ(found.count(), 1) << "skipped without FIND_THROW";
    FindFiles(root.c_str(), L"*.none", found, FIND_THROW | FIND_RECURSE);
    EXPECT_EQ(found.count(), 1) << "finding nothing is no failure";

    const std::string text = FindFailure([&] { FindFiles(missing.c_str(), L"*.dat", found, FIND_THROW); });
    const std::string head = "FindFirstFile(" + Narrow(missing) + "\\*.dat) failed.\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(head.size()), Narrow(GetWin32Error(ERROR_PATH_NOT_FOUND)));

    for (int flags : {(int)FIND_THROW, FIND_THROW | FIND_CLEAR, FIND_THROW | FIND_CLEAR | FIND_SORT}) {
        EXPECT_NE(FindFailure([&] { FindFiles(missing.c_str(), L"*", found, flags); }), "<no exception>");
        ASSERT_EQ(found.count(), 1);
        EXPECT_EQ(Narrow(found[0].name), "c.txt");
    }
    EXPECT_NE(FindFailure([&] { FindFilesEx(missing.c_str(), L"*.dat *.txt", found, FIND_THROW); }),
              "<no exception>");
    EXPECT_EQ(found.count(), 1);
    // A failure partway drops what the search had already added.
    EXPECT_NE(FindFailure([&] { FindFilesEx(root.c_str(), L"*.dat ..\\nowhere\\*.x", found, FIND_THROW); }),
              "<no exception>");
    EXPECT_EQ(found.count(), 1);

    SetEnvironmentVariableW(L"KFF_UNDEFINED", nullptr);
    EXPECT_EQ(ThrownText([&] { FindFiles(L"[KFF_UNDEFINED]", L"*", found, FIND_MACROS | FIND_CLEAR); }),
              "GetEnvironmentVariable(KFF_UNDEFINED) failed.");
    EXPECT_EQ(found.count(), 1);
}

// 10,000 files in folders up to four levels deep, sizes 0 to 999 bytes,
// half of them .dat and half .txt.
TEST(FindFilesTree, TenThousandFilesFoundExactly)
{
    ScratchDir scratch;
    const std::wstring root = scratch.path();
    struct Expected {
        int level;
        unsigned size;
    };
    std::map<std::wstring, Expected> files; // lower-case path below root
    std::map<std::wstring, int> dirs;
    for (int i = 0; i < 10000; ++i) {
        const int level = i % 5;
        std::wstring rel;
        const int branch[4] = {i % 7, i % 5 + i % 3, i % 4, i % 2};
        for (int l = 0; l < level && l < 4; ++l) {
            rel += L"d" + std::to_wstring(l) + L"_" + std::to_wstring(branch[l]);
            if (!dirs.count(Lower(rel))) {
                dirs[Lower(rel)] = l;
                ASSERT_TRUE(CreateDirectoryW((root + rel).c_str(), nullptr));
            }
            rel += L"\\";
        }
        rel += L"f" + std::to_wstring(i) + (i % 2 ? L".txt" : L".dat");
        const unsigned size = (unsigned)(i * 37 % 1000);
        WriteSized(root + rel, size);
        files[Lower(rel)] = {level, size};
    }
    ASSERT_EQ(files.size(), 10000u);

    KArray<KFileInfo> found;
    FindFiles(root.c_str(), L"*", found, FIND_RECURSE | FIND_THROW);
    EXPECT_EQ(found.count(), (int)(files.size() + dirs.size()));
    std::set<std::wstring> seenFiles, seenDirs;
    int wrong = 0, reported = 0;
    for (const KFileInfo& f : found) {
        const std::wstring rel = Lower(W(f.path)).substr(root.size());
        if (f.isDirectory()) {
            auto d = dirs.find(rel);
            wrong += d == dirs.end() || d->second != f.level || !seenDirs.insert(rel).second;
            continue;
        }
        auto e = files.find(rel);
        wrong += e == files.end() || e->second.level != f.level || e->second.size != f.size ||
                 W(f.path) != W(f.dir) + W(f.name) || !seenFiles.insert(rel).second;
        if (wrong == 1 && ++reported == 1)
            ADD_FAILURE() << "first wrong record: " << Narrow(rel) << " level " << f.level << " size " << f.size;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(seenFiles.size(), files.size());
    EXPECT_EQ(seenDirs.size(), dirs.size());

    // A pattern: the .dat half, found through the separate listing of subdirectories.
    FindFiles(root.c_str(), L"*.dat", found, FIND_RECURSE | FIND_CLEAR | FIND_SORT);
    ASSERT_EQ(found.count(), 5000);
    wrong = 0;
    for (int i = 0; i < found.count(); ++i) {
        const KFileInfo& f = found[i];
        auto e = files.find(Lower(W(f.path)).substr(root.size()));
        wrong += e == files.end() || e->second.level != f.level || e->second.size != f.size || f.isDirectory();
        if (i > 0)
            wrong += _wcsicmp(found[i - 1].name, f.name) > 0;
    }
    EXPECT_EQ(wrong, 0);
}
