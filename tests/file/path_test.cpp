// Path helpers on real files and directories: parts, full, long and
// relative paths, names, existence and attributes, the current and temporary
// directories, free space, copying with the overwrite question and the
// recent-files list.
#include <gtest/gtest.h>
#include <stdio.h>
#include <wctype.h>
#include "file_support.h"

namespace {

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

std::wstring W(const KString& s) { return (const wchar_t*)s; }
std::string N(const KString& s) { return Narrow(s); }

std::wstring Cwd()
{
    wchar_t buf[MAX_PATH + 1];
    return std::wstring(buf, GetCurrentDirectoryW(MAX_PATH + 1, buf));
}

void WriteText(const std::wstring& path, const std::string& text) { WriteBytes(path, Bytes(text.begin(), text.end())); }

std::string ReadText(const std::wstring& path)
{
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

// An environment variable set for one scope; the old value (or none) is put back.
struct EnvVar {
    const wchar_t* name;
    wchar_t old[1024];
    bool had;
    EnvVar(const wchar_t* n, const std::wstring& value) : name(n)
    {
        DWORD len = GetEnvironmentVariableW(n, old, 1024);
        had = len > 0 && len < 1024;
        SetEnvironmentVariableW(n, value.c_str());
    }
    ~EnvVar() { SetEnvironmentVariableW(name, had ? old : nullptr); }
};

// Presses one button of the next message box of this process, from a
// second thread, and records the box's text and buttons.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button) : button(button) { thread = CreateThread(nullptr, 0, watch, this, 0, nullptr); }
    ~BoxAnswerer()
    {
        stop = true;
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    volatile bool answered = false;
    std::wstring text;
    bool hasYes = false, hasNo = false, hasOk = false;

private:
    static BOOL CALLBACK findBox(HWND hwnd, LPARAM found)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[32] = {0};
        GetClassNameW(hwnd, cls, 32);
        if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static DWORD WINAPI watch(void* p)
    {
        BoxAnswerer* self = static_cast<BoxAnswerer*>(p);
        for (HWND box = nullptr; !self->stop; Sleep(20)) {
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
            if (!box)
                continue;
            wchar_t buf[1024] = {0};
            GetWindowTextW(GetDlgItem(box, 0xFFFF), buf, 1024);
            self->text = buf;
            self->hasYes = GetDlgItem(box, IDYES) != nullptr;
            self->hasNo = GetDlgItem(box, IDNO) != nullptr;
            self->hasOk = GetDlgItem(box, IDOK) != nullptr;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->button, BN_CLICKED), (LPARAM)GetDlgItem(box, self->button));
            self->answered = true;
            return 0;
        }
        return 0;
    }
    int button;
    HANDLE thread;
    volatile bool stop = false;
};

} // namespace

TEST(PathParts, SplitsJoinsAndTails)
{
    struct Case {
        const wchar_t* path;
        const char *dir, *file, *name, *ext;
    } cases[] = {
        {L"c:\\a\\b.txt", "c:\\a\\", "b.txt", "b", ".txt"},
        {L"c:\\my.dir\\b.tar.gz", "c:\\my.dir\\", "b.tar.gz", "b.tar", ".gz"},
        {L"b.txt", "", "b.txt", "b", ".txt"},
        {L"c:\\a\\", "c:\\a\\", "", "", ""},
        {L"c:noext", "c:", "noext", "noext", ""},
        {L"dir/sub/f.c", "dir/sub/", "f.c", "f", ".c"},
        {L"\\\\srv\\share\\x.dat", "\\\\srv\\share\\", "x.dat", "x", ".dat"},
        {L"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        KString p(c.path);
        EXPECT_EQ(N(GetDirPart(p)), c.dir) << N(p);
        EXPECT_EQ(N(GetFileNameDir(p)), c.dir) << N(p);
        EXPECT_EQ(N(GetFilePart(p)), c.file) << N(p);
        EXPECT_EQ(N(GetFileNamePart(p)), c.name) << N(p);
        EXPECT_EQ(N(GetExtPart(p)), c.ext) << N(p);
    }
    // Longer than the runtime's fixed part sizes.
    std::wstring deep = L"c:\\";
    while (deep.size() < 400)
        deep += L"abcdefghij\\";
    EXPECT_EQ(W(GetDirPart((deep + L"name.ext").c_str())), deep);
    EXPECT_EQ(N(GetFilePart((deep + L"name.ext").c_str())), "name.ext");

    EXPECT_TRUE(HasFileExt(L"c:\\a\\b.txt", L".TXT"));
    EXPECT_FALSE(HasFileExt(L"c:\\a\\b.txt", L"txt"));
    EXPECT_FALSE(HasFileExt(L"c:\\a.txt\\b", L".txt"));
    EXPECT_TRUE(HasFileExt(L"noext", nullptr));

    KString p(L"c:\\a\\b\\c.txt");
    const char* tails[] = {"c.txt", "b\\c.txt", "a\\b\\c.txt", "\\a\\b\\c.txt", "c:\\a\\b\\c.txt", "c:\\a\\b\\c.txt"};
    for (unsigned n = 0; n < 6; ++n)
        EXPECT_EQ(N(GetFileNameTail(p, n)), tails[n]) << n;
    EXPECT_EQ(N(GetFileNameTail(L"x/y\\z", 1)), "y\\z");
    EXPECT_EQ(N(GetFileNameTail(L"c:\\a\\", 0)), "");
}

TEST(PathCompare, SameDirFullAndRelativePaths)
{
    EXPECT_TRUE(IsSameDir(L"C:\\Data\\", L"c:\\data"));
    EXPECT_TRUE(IsSameDir(L"c:\\", L"C:"));
    EXPECT_FALSE(IsSameDir(L"c:\\data\\\\", L"c:\\data")) << "one backslash only";
    EXPECT_FALSE(IsSameDir(L"c:\\data", L"c:\\database"));

    ScratchDir scratch;
    const std::wstring root = scratch.path(), work = root + L"work", bench = root + L"workbench\\y.dat";
    CreateDirectoryW(work.c_str(), nullptr);
    KCurrentDir in(work.c_str());
    ASSERT_EQ(Lower(Cwd()), Lower(work));

    EXPECT_EQ(N(GetRelPath((work + L"\\x\\y.dat").c_str())), "x\\y.dat");
    EXPECT_EQ(N(GetRelPath((Lower(work) + L"\\X\\y.dat").c_str())), "X\\y.dat");
    EXPECT_EQ(W(GetRelPath(bench.c_str())), bench);
    EXPECT_EQ(W(GetRelPath(work.c_str())), work);
    EXPECT_EQ(Lower(W(GetFullPath(L"x\\..\\y.dat"))), Lower(work + L"\\y.dat"));

    // Against a base: both made full, one trailing backslash of the base ignored.
    EXPECT_EQ(N(GetRelPath(root.c_str(), (root + L"work\\a.txt").c_str())), "work\\a.txt");
    EXPECT_EQ(N(GetRelPath(root.substr(0, root.size() - 1).c_str(), (root + L"a.txt").c_str())), "a.txt");
    EXPECT_EQ(N(GetRelPath(L"..", L"z.txt")), "work\\z.txt");
    EXPECT_EQ(Lower(W(GetRelPath(work.c_str(), bench.c_str()))), Lower(bench));
    EXPECT_EQ(Lower(W(GetRelPath(work.c_str(), work.c_str()))), Lower(work));
    EXPECT_EQ(N(GetRelPath(L"", L"a.txt")), "");
    EXPECT_EQ(N(GetRelPath(root.c_str(), nullptr)), "");

    EXPECT_EQ(N(GetRelName(L"DATA\\", (work + L"\\data\\run.dat").c_str())), "run.dat");
    EXPECT_EQ(N(GetRelName(L"other\\", (work + L"\\data\\run.dat").c_str())), "data\\run.dat");
}

TEST(PathNames, ValidCharactersAndCleaning)
{
    for (char c : std::string(" $%'-_@~`!()^#&+,.;=[]azAZ09"))
        EXPECT_TRUE(IsValidFileNameChar(c) && IsValidDirNameChar(c)) << c;
    for (char c : std::string("*?<>|\"/\\:{}\t"))
        EXPECT_FALSE(IsValidFileNameChar(c)) << c;
    EXPECT_TRUE(IsValidDirNameChar('\\') && IsValidDirNameChar(':'));
    EXPECT_FALSE(IsValidDirNameChar('/') || IsValidDirNameChar('*'));
    EXPECT_FALSE(IsValidFileNameChar(0) || IsValidFileNameChar(-23) || IsValidFileNameChar(0x10041));

    EXPECT_FALSE(IsValidFileName(KString()));
    EXPECT_TRUE(IsValidFileName(L"Run 12 (copy) [v2].dat"));
    EXPECT_FALSE(IsValidFileName(L"c:\\a.dat"));
    EXPECT_TRUE(IsValidDirName(L"c:\\data\\run 1"));
    EXPECT_FALSE(IsValidDirName(L"c:/data") || IsValidDirName(KString()));
    EXPECT_EQ(N(MakeValidFileName(L"a*b?c")), "abc");
    EXPECT_EQ(N(MakeValidFileName(L"<c:\\x/y|z>.dat")), "cxyz.dat");
}

TEST(PathLongName, ShortNamesBecomeLong)
{
    ScratchDir scratch;
    CreateDirectoryW(scratch.file(L"a long directory").c_str(), nullptr);
    const std::wstring full = scratch.file(L"a long directory\\measurement results.data");
    WriteText(full, "x");
    wchar_t shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(full.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(Lower(shortPath), Lower(full)) << "no short names here";
    EXPECT_EQ(Lower(W(GetLongFileName(shortPath))), Lower(full));
    const std::wstring missing = scratch.file(L"NOSUCH~1.DAT");
    EXPECT_EQ(W(GetLongFileName(missing.c_str())), missing) << "no long form without the file";
}

TEST(PathExistence, FileExistsModTimeAndArchiveBit)
{
    ScratchDir scratch;
    const std::wstring file = scratch.file(L"present.dat"), absent = scratch.file(L"absent.dat");
    WriteText(file, "data");
    {
        EnvVar macro(L"KPT_DIR", scratch.path());
        EXPECT_TRUE(FileExists(L"[KPT_DIR]present.dat") && FileExists(scratch.path().c_str()));
        EXPECT_FALSE(FileExists(L"[KPT_DIR]absent.dat") || FileExists(KString()) || FileExists(L"Q:\\x.dat"));
    }
    EXPECT_EQ(ThrownText([] { FileExists(L"[KPT_DIR]x.dat"); }), "GetEnvironmentVariable(KPT_DIR) failed.");

    const long when = 1309780800; // 2011-07-04 12:00:00 UTC
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    unsigned long long ticks = (unsigned long long)when * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
    EXPECT_EQ(GetModTime(file.c_str()), when);
    EXPECT_EQ(GetModTime(absent.c_str()), 0);

    // The archive bit on a read-only file and a hidden folder, whose other
    // bits must stay. Wine keeps the bit on every file and never stores it on
    // a folder: what the system cannot store is probed and not required.
    const std::wstring folder = scratch.file(L"folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    struct Target {
        std::wstring path;
        DWORD other;
    } targets[] = {{file, FILE_ATTRIBUTE_READONLY}, {folder, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN}};
    for (const Target& t : targets) {
        const wchar_t* p = t.path.c_str();
        auto archived = [&] { return (GetFileAttributesW(p) & FILE_ATTRIBUTE_ARCHIVE) != 0; };
        auto others = [&] { return GetFileAttributesW(p) & ~(DWORD)FILE_ATTRIBUTE_ARCHIVE; };
        ASSERT_TRUE(SetFileAttributesW(p, t.other | FILE_ATTRIBUTE_ARCHIVE));
        const bool stores = archived();
        ASSERT_TRUE(SetFileAttributesW(p, t.other));
        const bool clears = !archived();
        if (!stores || !clears)
            printf("note: the system cannot %s the archive bit of %ls\n", stores ? "clear" : "set", p);

        EXPECT_TRUE(SetArchiveBit(p));
        EXPECT_TRUE(GetArchiveBit(p) == archived() && (archived() || !stores));
        EXPECT_EQ(others(), t.other);
        EXPECT_TRUE(ClearArchiveBit(p));
        EXPECT_TRUE(GetArchiveBit(p) == archived() && (!archived() || !clears));
        EXPECT_EQ(others(), t.other);
        const bool before = archived();
        EXPECT_TRUE(ToggleArchiveBit(p));
        EXPECT_TRUE(archived() != before || !stores || !clears);
        EXPECT_EQ(others(), t.other);
        SetFileAttributesW(p, t.other & FILE_ATTRIBUTE_DIRECTORY ? t.other : FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_FALSE(GetArchiveBit(absent.c_str()) || SetArchiveBit(absent.c_str()) ||
                 ClearArchiveBit(absent.c_str()) || ToggleArchiveBit(absent.c_str()));
}

TEST(CurrentDir, SetAndScopedChanges)
{
    ScratchDir scratch;
    const std::wstring start = Cwd(), a = scratch.file(L"a"), bracketed = scratch.file(L"run[1]");
    const std::wstring missing = scratch.file(L"missing");
    CreateDirectoryW(a.c_str(), nullptr);
    CreateDirectoryW(bracketed.c_str(), nullptr);
    EXPECT_EQ(W(GetCurrentDir()), start);
    {
        KCurrentDir keep;
        EXPECT_TRUE(SetCurrentDir(a.c_str(), true));
        EXPECT_EQ(Lower(W(GetCurrentDir())), Lower(a));
        EXPECT_FALSE(SetCurrentDir(missing.c_str(), false));
        SetCurrentDirectoryW(missing.c_str());
        const std::string reason = Narrow(GetWin32Error(GetLastError()));
        EXPECT_EQ(ThrownText([&] { SetCurrentDir(missing.c_str(), true); }),
                  "Could not set current directory to \"" + Narrow(missing) + "\".\n" + reason);
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(Lower(Cwd()), Lower(a));
        EnvVar macro(L"KPT_DIR", scratch.path());
        EXPECT_TRUE(SetCurrentDir(L"[KPT_DIR]", false));
        EXPECT_EQ(Lower(Cwd() + L"\\"), Lower(scratch.path()));
    }
    EXPECT_EQ(Cwd(), start) << "the remembering form changes back";
    {
        EnvVar macro(L"KPT_DIR", scratch.path());
        KCurrentDir in(L"[KPT_DIR]a");
        EXPECT_EQ(Lower(Cwd()), Lower(a));
        {
            KCurrentDir nowhere(missing.c_str()); // ignored
            EXPECT_EQ(Lower(Cwd()), Lower(a));
            SetCurrentDirectoryW(bracketed.c_str());
        }
        EXPECT_EQ(Lower(Cwd()), Lower(a)) << "back to the directory current when it was made";
        // Brackets in the directory to go back to are part of its name.
        SetCurrentDirectoryW(bracketed.c_str());
        {
            KCurrentDir back(a.c_str());
        }
        EXPECT_EQ(Lower(Cwd()), Lower(bracketed));
        // Asked to enter it, they are a macro.
        EXPECT_EQ(ThrownText([&] { KCurrentDir into(bracketed.c_str()); }), "GetEnvironmentVariable(1) failed.");
        EXPECT_EQ(Lower(Cwd()), Lower(bracketed));
    }
    EXPECT_EQ(Cwd(), start);
}

TEST(Places, ModuleTempDirAndFreeSpace)
{
    wchar_t exe[MAX_PATH], temp[MAX_PATH + 1];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(W(GetModulePath()), exe);
    GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_EQ(W(GetTempDir()), temp);

    ScratchDir scratch;
    {
        const std::wstring nested = scratch.file(L"t1\\t2\\t3");
        EnvVar tmp(L"TMP", nested), tempVar(L"TEMP", nested);
        EXPECT_EQ(Lower(W(GetTempDir())), Lower(nested + L"\\"));
        EXPECT_TRUE(GetFileAttributesW(nested.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << "made, every level";
    }
    EXPECT_EQ(W(GetTempDir()), temp);

    ULARGE_INTEGER avail, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExW(scratch.path().c_str(), &avail, &total, &totalFree));
    const unsigned long long got = FreeDiskSpace(scratch.path().c_str());
    EXPECT_GT(got, 0u);
    EXPECT_LT(got > avail.QuadPart ? got - avail.QuadPart : avail.QuadPart - got, 256ULL << 20);

    // Failure: 0, and the error line goes to the log when no window shows it.
    const std::wstring nowhere = scratch.file(L"no\\such\\dir\\");
    EXPECT_EQ(FreeDiskSpace(nowhere.c_str()), 0u);
    GetDiskFreeSpaceExW(nowhere.c_str(), &avail, &total, &totalFree);
    const std::string line = "ERROR(01-1020) Could not obtain disk space for \"" + Narrow(nowhere) + "\" " +
                             Narrow(GetWin32Error(GetLastError()));
    Bytes log = ReadBytes((const wchar_t*)KDebug::getLogFileName());
    EXPECT_NE(std::string(log.begin(), log.end()).find(line), std::string::npos) << line;
}

TEST(CopyFileToDir, CopiesAndAsksBeforeOverwriting)
{
    ScratchDir scratch;
    const std::wstring source = scratch.file(L"report.txt"), dir = scratch.file(L"out");
    const std::wstring dest = dir + L"\\report.txt";
    CreateDirectoryW(dir.c_str(), nullptr);
    WriteText(source, "new text");
    {
        BoxAnswerer no(IDNO);
        KString target;
        EXPECT_TRUE(CopyFileToDir(source.c_str(), (dir + L"\\").c_str(), &target, 1));
        EXPECT_EQ(Lower(W(target)), Lower(dest));
        EXPECT_EQ(ReadText(dest), "new text");
        Sleep(100);
        EXPECT_FALSE(no.answered) << "nothing to overwrite, nothing asked";
    }
    WriteText(dest, "old text");
    {
        BoxAnswerer no(IDNO);
        KString target(L"untouched");
        EXPECT_FALSE(CopyFileToDir(source.c_str(), dir.c_str(), &target, 1));
        EXPECT_EQ(Narrow(no.text), "File already exists.\nDo you wish to overwrite it?");
        EXPECT_TRUE(no.hasYes && no.hasNo && !no.hasOk);
        EXPECT_EQ(N(target), "untouched");
        EXPECT_EQ(ReadText(dest), "old text");
    }
    {
        BoxAnswerer yes(IDYES);
        EXPECT_TRUE(CopyFileToDir(source.c_str(), dir.c_str(), nullptr, 1));
        EXPECT_TRUE(yes.answered);
        EXPECT_EQ(ReadText(dest), "new text");
    }
    WriteText(dest, "old text");
    {
        BoxAnswerer no(IDNO);
        EnvVar macro(L"KPT_DIR", scratch.path());
        EXPECT_TRUE(CopyFileToDir(L"[KPT_DIR]report.txt", L"[KPT_DIR]out", nullptr, 0));
        EXPECT_EQ(ReadText(dest), "new text");
        Sleep(100);
        EXPECT_FALSE(no.answered) << "without flag 1 nothing is asked";
    }
    KString target;
    EXPECT_FALSE(CopyFileToDir(KString(), dir.c_str(), &target, 0));
    EXPECT_TRUE(target.isNull());
    EXPECT_FALSE(CopyFileToDir(scratch.file(L"absent.txt").c_str(), dir.c_str(), &target, 0));
    EXPECT_EQ(Lower(W(target)), Lower(dir + L"\\absent.txt"));
    EXPECT_EQ(ThrownText([&] { CopyFileToDir(source.c_str(), L"[KPT_DIR]", nullptr, 0); }),
              "GetEnvironmentVariable(KPT_DIR) failed.");
    CopyFileToDir(dest.c_str(), dir.c_str(), nullptr, 0);
    EXPECT_EQ(ReadText(dest), "new text") << "copied onto itself, the file stays";
}

TEST(RecentFiles, MovesInsertsCutsAndDropsMissing)
{
    ScratchDir scratch, other;
    KCurrentDir in(scratch.path().c_str());
    for (const wchar_t* name : {L"a.dat", L"b.dat", L"c.dat", L"d.dat", L"run[1].dat"})
        WriteText(scratch.file(name), "x");
    auto names = [](const KArray<KString>& list) {
        std::string s;
        for (const KString& e : list)
            s += (s.empty() ? "" : ",") + Narrow(e);
        return s;
    };
    KArray<KString> list;
    for (const wchar_t* name : {L"a.dat", L"b.dat", L"c.dat"})
        list.append(name);
    UpdateRecentFilesList(list, scratch.file(L"d.dat").c_str(), 3);
    EXPECT_EQ(names(list), "d.dat,a.dat,b.dat");
    UpdateRecentFilesList(list, scratch.file(L"b.dat").c_str(), 2);
    EXPECT_EQ(names(list), "b.dat,d.dat,a.dat") << "moved to the front, nothing cut";
    DeleteFileW(scratch.file(L"a.dat").c_str());
    UpdateRecentFilesList(list, scratch.file(L"gone.dat").c_str(), 3);
    EXPECT_EQ(names(list), "b.dat,d.dat") << "missing files dropped, the new one too";
    UpdateRecentFilesList(list, scratch.file(L"run[1].dat").c_str(), 5);
    EXPECT_EQ(names(list), "run[1].dat,b.dat,d.dat");
    {
        EnvVar macro(L"KPT_DIR", scratch.path());
        UpdateRecentFilesList(list, L"[KPT_DIR]c.dat", 5);
        EXPECT_EQ(names(list), "[KPT_DIR]c.dat,run[1].dat,b.dat,d.dat");
    }
    UpdateRecentFilesList(list, L"d.dat", 5);
    EXPECT_EQ(names(list), "d.dat,run[1].dat,b.dat") << "an undefined macro names no file";
    const std::wstring outside = other.file(L"far.dat");
    WriteText(outside, "x");
    UpdateRecentFilesList(list, outside.c_str(), 4);
    EXPECT_EQ(W(list[0]), outside);
    EXPECT_EQ(list.count(), 4);
    list.free();
    UpdateRecentFilesList(list, scratch.file(L"c.dat").c_str(), 4);
    EXPECT_EQ(names(list), "c.dat");
}
