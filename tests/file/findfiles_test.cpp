// Directory listing on a real tree: FindFiles and FindFilesEx with their flags, failed searches, KDir.
#include "file_tests.h"

typedef std::vector<std::string> Names;

// "level:path below root" of each record, a directory ending in a backslash.
static Names Listing(const KArray<KFileInfo>& found, const std::wstring& root, bool sorted)
{
    Names out;
    for (const KFileInfo& f : found) {
        std::wstring p = Wide(f.path);
        if (Lower(p.substr(0, root.size())) == Lower(root))
            p = p.substr(root.size());
        out.push_back(std::to_string(f.level) + ":" + Narrow(p) + (f.isDirectory() ? "\\" : ""));
    }
    if (sorted)
        std::sort(out.begin(), out.end());
    return out;
}

static std::string NamesOf(const KArray<KFileInfo>& found)
{
    std::string names;
    for (const KFileInfo& f : found)
        names += Narrow(f.name) + " ";
    return names;
}

TEST(FindFiles, RecordsFlagsFailuresAndKDirEntries)
{
    // root\ a.dat(10) B.dat(20) c.txt(3) sub1\x.dat(1) sub1\deeper\{y.dat(2),x.dat(4)} sub2\z.txt(5)
    ScratchDir scratch;
    const std::wstring root = scratch.path();
    for (const wchar_t* d : {L"sub1", L"sub1\\deeper", L"sub2"})
        CreateDirectoryW((root + d).c_str(), nullptr);
    for (const auto& [name, size] : {std::make_pair(L"a.dat", 10), {L"B.dat", 20}, {L"c.txt", 3},
                                     {L"sub1\\x.dat", 1}, {L"sub1\\deeper\\y.dat", 2},
                                     {L"sub1\\deeper\\x.dat", 4}, {L"sub2\\z.txt", 5}})
        WriteBytes(root + name, Bytes(size, 'x'));
    KArray<KFileInfo> found;
    auto Find = [&](const wchar_t* pattern, int flags) {
        FindFiles(root.c_str(), pattern, found, flags | FIND_CLEAR);
        return Listing(found, root, true);
    };
    const long when = 1309780800; // 2011-07-04 12:00:00 UTC
    KFile((root + L"a.dat").c_str()).setTimes(when, when);
    FindFiles(root.c_str(), L"*.dat", found, FIND_SORT);
    ASSERT_EQ("a.dat B.dat ", NamesOf(found));
    const KFileInfo& a = found[0];
    EXPECT_TRUE(Lower(root) == Lower(Wide(a.dir)) && Wide(a.dir) + L"a.dat" == Wide(a.path));
    EXPECT_TRUE(a.size == 10 && a.nFileSizeLow == 10 && a.fileSize() == 10 && found[1].size == 20);
    EXPECT_TRUE(a.modTime.getSeconds() == when && a.createTime.isValid() && a.accessTime.isValid());
    // Recursion: depth first, a directory's matches before its subdirectories'.
    FindFiles(root.c_str(), L"*.dat", found, FIND_RECURSE | FIND_CLEAR);
    Names order = Listing(found, root, false);
    ASSERT_EQ(5u, order.size());
    std::sort(order.begin(), order.begin() + 2);
    std::sort(order.begin() + 3, order.end());
    EXPECT_EQ((Names{"0:B.dat", "0:a.dat", "1:sub1\\x.dat", "2:sub1\\deeper\\x.dat",
                     "2:sub1\\deeper\\y.dat"}),
              order);
    EXPECT_EQ((Names{"0:B.dat", "0:a.dat", "0:c.txt", "0:sub1\\", "0:sub2\\", "1:sub1\\deeper\\",
                     "1:sub1\\x.dat", "1:sub2\\z.txt", "2:sub1\\deeper\\x.dat", "2:sub1\\deeper\\y.dat"}),
              Find(L"*", FIND_RECURSE));
    EXPECT_EQ((Names{"0:sub1\\", "0:sub2\\"}), Find(L"s*", FIND_RECURSE));
    EXPECT_EQ((Names{"0:B.dat", "0:a.dat"}), Find(L"*.dat", FIND_RECURSE | FIND_DESCEND_EMPTY));
    EXPECT_EQ(Names{"1:sub1\\x.dat"}, Find(L"x.dat", FIND_RECURSE | FIND_DESCEND_EMPTY));
    EXPECT_EQ(Names{"2:sub1\\deeper\\y.dat"}, Find(L"y.dat", FIND_RECURSE | FIND_DESCEND_EMPTY));
    const Names dots = Find(L"*", FIND_DOTS | FIND_RECURSE);
    EXPECT_TRUE(dots.size() == 18 && std::count(dots.begin(), dots.end(), "2:sub1\\deeper\\..\\") == 1);
    FindFiles(root.c_str(), L"*", found, FIND_RECURSE | FIND_SORT | FIND_CLEAR);
    EXPECT_EQ("a.dat B.dat c.txt deeper sub1 sub2 x.dat x.dat y.dat z.txt ", NamesOf(found));
    FindFiles(root.c_str(), L"c.txt", found, 0);
    EXPECT_EQ(11, found.count()) << "appended without FIND_CLEAR";
    {
        EnvVar macro(L"KFF_ROOT", root.c_str());
        FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR);
        EXPECT_EQ(0, found.count()) << "macros only on request";
        FindFiles(L"[KFF_ROOT]sub2", L"*", found, FIND_CLEAR | FIND_MACROS);
        EXPECT_EQ(Names{"0:sub2\\z.txt"}, Listing(found, root, false));
        FindFilesEx(L"[KFF_ROOT]", L"*", found, FIND_MACROS | FIND_CLEAR);
        EXPECT_EQ(1, found.count()) << "FindFilesEx neither replaces macros nor clears";
    }
    // The path form; a bare directory lists everything in it.
    FindFiles((root + L"sub1\\*.dat").c_str(), found, FIND_CLEAR | FIND_RECURSE);
    EXPECT_EQ((Names{"0:sub1\\x.dat", "1:sub1\\deeper\\x.dat", "1:sub1\\deeper\\y.dat"}),
              Listing(found, root, true));
    FindFiles((root + L"sub2\\").c_str(), found, FIND_CLEAR);
    EXPECT_EQ(Names{"0:sub2\\z.txt"}, Listing(found, root, false));
    {
        KCurrentDir in(root.c_str());
        FindFiles(L"*.txt", found, FIND_CLEAR | FIND_RECURSE | FIND_SORT);
        EXPECT_EQ((Names{"0:c.txt", "1:sub2\\z.txt"}), Listing(found, L"", false)) << "from the current one";
    }
    FindFilesEx(root.c_str(), L"  *.txt   *.dat ", found, 0);
    Names ex = Listing(found, root, false);
    ASSERT_EQ(5u, ex.size());
    std::sort(ex.begin() + 3, ex.end());
    EXPECT_EQ((Names{"0:c.txt", "1:sub2\\z.txt", "0:c.txt", "0:B.dat", "0:a.dat"}), ex);
    FindFilesEx(root.c_str(), L"*.txt *.dat", found, FIND_RECURSE | FIND_SORT | FIND_CLEAR);
    EXPECT_EQ("a.dat a.dat B.dat B.dat c.txt c.txt c.txt x.dat x.dat y.dat z.txt z.txt ", NamesOf(found));
    // KDir names each entry of one directory.
    KDir dir;
    KFile file;
    EXPECT_FALSE(dir.next(file)) << "never opened";
    EXPECT_TRUE(dir.open((root + L"sub1").c_str(), L"*.dat") && dir.next(file));
    EXPECT_TRUE(Lower(Wide(file.getPath())) == Lower(root + L"sub1\\x.dat") && file.getSize() == 1);
    EXPECT_FALSE(dir.next(file));
    // A failed search throws on request and keeps the result.
    FindFiles(root.c_str(), L"c.txt", found, FIND_CLEAR);
    const std::wstring missing = root + L"missing";
    FindFiles(missing.c_str(), L"*.dat", found, FIND_RECURSE);
    FindFiles(root.c_str(), L"*.none", found, FIND_THROW | FIND_RECURSE);
    EXPECT_EQ(1, found.count()) << "a missing directory is skipped; finding nothing is no failure";
    const std::string text = "FindFirstFile(" + Narrow(missing) + "\\*) failed.\n" +
                             Narrow(GetWin32Error(ERROR_PATH_NOT_FOUND));
    const std::function<void()> failing[] = {
        [&] { FindFiles(missing.c_str(), L"*", found, FIND_THROW | FIND_CLEAR); },
        [&] { FindFiles(missing.c_str(), L"*", found, FIND_THROW | FIND_CLEAR | FIND_SORT | FIND_RECURSE); },
        [&] { FindFilesEx(root.c_str(), L"*.dat missing\\*", found, FIND_THROW); }};
    for (const auto& f : failing) {
        const Caught got = Catch(f);
        EXPECT_TRUE(got.text == text && got.group == 5) << got.text;
        EXPECT_EQ("c.txt ", NamesOf(found)) << "what the failed search had added is dropped";
    }
    EXPECT_EQ("GetEnvironmentVariable(KFF_NONE) failed.",
              ThrownText([&] { FindFiles(L"[KFF_NONE]", L"*", found, FIND_MACROS | FIND_CLEAR); }));
    EXPECT_EQ(1, found.count());
}

