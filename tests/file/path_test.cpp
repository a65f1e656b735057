// Path helpers on real files and directories: parts and tails, full, long
// and relative paths, names, existence and attributes, the current and
// temporary directories, free space, copying with the overwrite question and
// the recent-files list.
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

std::wstring W(const KString& s)
{
    return std::wstring((const wchar_t*)s);
}

std::wstring CurrentDirectory()
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buf);
    return std::wstring(buf, n);
}

void WriteText(const std::wstring& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

std::string ReadText(const std::wstring& path)
{
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

std::string LogText()
{
    HANDLE f = CreateFileW(KDebug::getLogFileName(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof(buf), &n, nullptr) && n)
        text.append(buf, n);
    CloseHandle(f);
    return text;
}

// Sets an environment variable for one scope and puts the old value back.
class EnvVar {
public:
    EnvVar(const wchar_t* name, const std::wstring& value) : name(name)
    {
        wchar_t buf[4096];
        DWORD n = GetEnvironmentVariableW(name, buf, 4096);
        had = n > 0 && n < 4096;
        if (had)
            old = buf;
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~EnvVar() { SetEnvironmentVariableW(name, had ? old.c_str() : nullptr); }

private:
    const wchar_t* name;
    std::wstring old;
    bool had;
};

// Answers the next message box of this process by pressing one of its
// buttons, from a second thread, and records the box's text and buttons.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button) : button(button)
    {
        thread = CreateThread(nullptr, 0, watch, this, 0, nullptr);
    }
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
    struct Finder {
        DWORD process;
        HWND box;
    };
    static BOOL CALLBACK findBox(HWND hwnd, LPARAM data)
    {
        Finder* f = reinterpret_cast<Finder*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[32] = {0};
        GetClassNameW(hwnd, cls, 32);
        if (pid != f->process || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd))
            return TRUE;
        f->box = hwnd;
        return FALSE;
    }
    static DWORD WINAPI watch(void* p)
    {
        BoxAnswerer* self = static_cast<BoxAnswerer*>(p);
        while (!self->stop) {
            Finder f = {GetCurrentProcessId(), nullptr};
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&f));
            if (!f.box) {
                Sleep(20);
                continue;
            }
            wchar_t buf[1024] = {0};
            GetWindowTextW(GetDlgItem(f.box, 0xFFFF), buf, 1024);
            self->text = buf;
            self->hasYes = GetDlgItem(f.box, IDYES) != nullptr;
            self->hasNo = GetDlgItem(f.box, IDNO) != nullptr;
            self->hasOk = GetDlgItem(f.box, IDOK) != nullptr;
            HWND b = GetDlgItem(f.box, self->button);
            PostMessageW(f.box, WM_COMMAND, MAKEWPARAM(self->button, BN_CLICKED), (LPARAM)b);
            self->answered = true;
            return 0;
        }
        return 0;
    }
    int button;
    HANDLE thread;
    volatile bool stop = false;
};

const char* const OverwriteQuestion = "File already exists.\nDo you wish to overwrite it?";

} // namespace

TEST(PathParts, SplitsIntoDriveDirNameAndExtension)
{
    struct Case {
        const wchar_t* path;
        const char *dir, *file, *name, *ext;
    } cases[] = {
        {L"c:\\a\\b.txt", "c:\\a\\", "b.txt", "b", ".txt"},
        {L"c:\\a\\b.tar.gz", "c:\\a\\", "b.tar.gz", "b.tar", ".gz"},
        {L"b.txt", "", "b.txt", "b", ".txt"},
        {L"c:\\a\\", "c:\\a\\", "", "", ""},
        {L"c:noext", "c:", "noext", "noext", ""},
        {L"dir/sub/f.c", "dir/sub/", "f.c", "f", ".c"},
        {L"\\\\srv\\share\\x.dat", "\\\\srv\\share\\", "x.dat", "x", ".dat"},
        {L"c:\\my.dir\\file", "c:\\my.dir\\", "file", "file", ""},
        {L"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(std::wstring(c.path)));
        KString p(c.path);
        EXPECT_EQ(Narrow(GetDirPart(p)), c.dir);
        EXPECT_EQ(Narrow(GetFileNameDir(p)), c.dir);
        EXPECT_EQ(Narrow(GetFilePart(p)), c.file);
        EXPECT_EQ(Narrow(GetFileNamePart(p)), c.name);
        EXPECT_EQ(Narrow(GetExtPart(p)), c.ext);
    }

    // A path beyond the runtime's fixed part sizes splits just the same.
    std::wstring deep = L"c:\\";
    while (deep.size() < 400)
        deep += L"abcdefghij\\";
    KString longPath((deep + L"name.ext").c_str());
    EXPECT_EQ(W(GetDirPart(longPath)), deep);
    EXPECT_EQ(Narrow(GetFilePart(longPath)), "name.ext");

    EXPECT_TRUE(HasFileExt(L"c:\\a\\b.txt", L".TXT"));
    EXPECT_TRUE(HasFileExt(L"B.TxT", L".txt"));
    EXPECT_FALSE(HasFileExt(L"c:\\a\\b.txt", L"txt"));
    EXPECT_FALSE(HasFileExt(L"c:\\a\\b.txt", L".tx"));
    EXPECT_FALSE(HasFileExt(L"c:\\a.txt\\b", L".txt"));
    EXPECT_TRUE(HasFileExt(L"noext", L""));
    EXPECT_TRUE(HasFileExt(L"noext", nullptr));
}

TEST(PathParts, TailsCountSeparators)
{
    KString p(L"c:\\a\\b\\c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(p, 0)), "c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(p, 1)), "b\\c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(p, 2)), "a\\b\\c.txt");
    // The drive's colon is a separator too.
    EXPECT_EQ(Narrow(GetFileNameTail(p, 3)), "\\a\\b\\c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(p, 4)), "c:\\a\\b\\c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(p, 100)), "c:\\a\\b\\c.txt");
    EXPECT_EQ(Narrow(GetFileNameTail(L"x/y\\z", 1)), "y\\z");
    EXPECT_EQ(Narrow(GetFileNameTail(L"c:\\a\\", 0)), "");
    EXPECT_EQ(Narrow(GetFileNameTail(L"plain", 0)), "plain");
    EXPECT_EQ(Narrow(GetFileNameTail(L"", 2)), "");
}

TEST(PathCompare, SameDirFullAndRelativePaths)
{
    EXPECT_TRUE(IsSameDir(L"C:\\Data\\", L"c:\\data"));
    EXPECT_TRUE(IsSameDir(L"c:\\data", L"C:\\DATA"));
    EXPECT_TRUE(IsSameDir(L"c:\\", L"C:"));
    // Only one trailing backslash is removed.
    EXPECT_FALSE(IsSameDir(L"c:\\data\\\\", L"c:\\data"));
    EXPECT_FALSE(IsSameDir(L"c:\\data", L"c:\\database"));
    EXPECT_TRUE(IsSameDir(nullptr, L""));
    EXPECT_FALSE(IsSameDir(nullptr, L"c:\\"));

    ScratchDir scratch;
    CreateDirectoryW(scratch.file(L"work").c_str(), nullptr);
    CreateDirectoryW(scratch.file(L"workbench").c_str(), nullptr);
    const std::wstring work = scratch.file(L"work");
    KCurrentDir in(work.c_str());
    ASSERT_EQ(Lower(CurrentDirectory()), Lower(work));

    EXPECT_EQ(Narrow(GetRelPath((work + L"\\x\\y.dat").c_str())), "x\\y.dat");
    EXPECT_EQ(Narrow(GetRelPath((Lower(work) + L"\\X\\y.dat").c_str())), "X\\y.dat");
    const std::wstring bench = scratch.file(L"workbench\\y.dat");
    EXPECT_EQ(W(GetRelPath(bench.c_str())), bench);
    EXPECT_EQ(Narrow(GetRelPath(L"rel\\y.dat")), "rel\\y.dat");
    EXPECT_EQ(W(GetRelPath(work.c_str())), work);

    EXPECT_EQ(Lower(W(GetFullPath(L"x\\..\\y.dat"))), Lower(work + L"\\y.dat"));
    EXPECT_EQ(Lower(W(GetFullPath(L"."))), Lower(work));
    EXPECT_EQ(Narrow(GetFullPath(L"")), "");

    // Against a base: both made full, the base's one trailing backslash ignored.
    const std::wstring root = scratch.path();
    EXPECT_EQ(Narrow(GetRelPath(root.c_str(), (root + L"work\\a.txt").c_str())), "work\\a.txt");
    EXPECT_EQ(Narrow(GetRelPath(root.substr(0, root.size() - 1).c_str(), (root + L"a.txt").c_str())),
              "a.txt");
    EXPECT_EQ(Narrow(GetRelPath(Lower(root).c_str(), L"sub\\b.txt")), "work\\sub\\b.txt");
    EXPECT_EQ(Narrow(GetRelPath(L"..", L"z.txt")), "work\\z.txt");
    EXPECT_EQ(Lower(W(GetRelPath(work.c_str(), bench.c_str()))), Lower(bench));
    EXPECT_EQ(Lower(W(GetRelPath(work.c_str(), work.c_str()))), Lower(work));
    EXPECT_EQ(Narrow(GetRelPath(L"", L"a.txt")), "");
    EXPECT_EQ(Narrow(GetRelPath(root.c_str(), L"")), "");
    EXPECT_EQ(Narrow(GetRelPath(nullptr, L"a.txt")), "");

    // Names below the prefix are cut to their file part.
    EXPECT_EQ(Narrow(GetRelName(L"data\\", (work + L"\\data\\run.dat").c_str())), "run.dat");
    EXPECT_EQ(Narrow(GetRelName(L"DATA", (work + L"\\data\\run.dat").c_str())), "run.dat");
    EXPECT_EQ(Narrow(GetRelName(L"other\\", (work + L"\\data\\run.dat").c_str())), "data\\run.dat");
    EXPECT_EQ(W(GetRelName(L"data\\", bench.c_str())), bench);
}

TEST(PathNames, ValidCharactersAndCleaning)
{
    for (char c : std::string(" $%'-_@~`!()^#&+,.;=[]azAZ09")) {
        EXPECT_TRUE(IsValidFileNameChar(c)) << c;
        EXPECT_TRUE(IsValidDirNameChar(c)) << c;
    }
    for (char c : std::string("*?<>|\"/\\:{}\t")) {
        EXPECT_FALSE(IsValidFileNameChar(c)) << c;
    }
    EXPECT_TRUE(IsValidDirNameChar('\\'));
    EXPECT_TRUE(IsValidDirNameChar(':'));
    EXPECT_FALSE(IsValidDirNameChar('/'));
    EXPECT_FALSE(IsValidDirNameChar('*'));
    EXPECT_FALSE(IsValidFileNameChar(0));
    EXPECT_FALSE(IsValidFileNameChar(-23));
    EXPECT_FALSE(IsValidFileNameChar(0x263A));
    EXPECT_FALSE(IsValidFileNameChar(0x10041)); // 'A' plus 0x10000 is not 'A'

    EXPECT_FALSE(IsValidFileName(KString()));
    EXPECT_TRUE(IsValidFileName(L"Run 12 (copy) [v2].dat"));
    EXPECT_FALSE(IsValidFileName(L"a*b"));
    EXPECT_FALSE(IsValidFileName(L"c:\\a.dat"));
    EXPECT_FALSE(IsValidDirName(KString()));
    EXPECT_TRUE(IsValidDirName(L"c:\\data\\run 1"));
    EXPECT_FALSE(IsValidDirName(L"c:/data"));

    EXPECT_EQ(Narrow(MakeValidFileName(L"a*b?c")), "abc");
    EXPECT_EQ(Narrow(MakeValidFileName(L"<c:\\x/y|z>.dat")), "cxyz.dat");
    EXPECT_EQ(Narrow(MakeValidFileName(L"?*")), "");
    EXPECT_EQ(Narrow(MakeValidFileName(L"fine name.txt")), "fine name.txt");
}

TEST(PathLongName, ShortNamesBecomeLong)
{
    ScratchDir scratch;
    CreateDirectoryW(scratch.file(L"a long directory").c_str(), nullptr);
    const std::wstring full = scratch.file(L"a long directory\\measurement results.data");
    WriteText(full, "x");

    wchar_t shortBuf[MAX_PATH];
    DWORD n = GetShortPathNameW(full.c_str(), shortBuf, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::wstring shortPath(shortBuf, n);
    EXPECT_NE(Lower(shortPath), Lower(full)) << "the file system gives no short names";
    EXPECT_EQ(Lower(W(GetLongFileName(shortPath.c_str()))), Lower(full));
    EXPECT_EQ(Lower(W(GetLongFileName(full.c_str()))), Lower(full));

    // Without the file there is no long form: the path comes back as given.
    const std::wstring missing = scratch.file(L"NOSUCH~1.DAT");
    EXPECT_EQ(W(GetLongFileName(missing.c_str())), missing);
    EXPECT_EQ(Narrow(GetLongFileName(KString())), "");
}

TEST(PathExistence, FileExistsModTimeAndArchiveBit)
{
    ScratchDir scratch;
    const std::wstring file = scratch.file(L"present.dat");
    WriteText(file, "data");
    EnvVar macro(L"KPT_DIR", scratch.path());

    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_TRUE(FileExists(scratch.path().c_str()));
    EXPECT_TRUE(FileExists(L"[KPT_DIR]present.dat"));
    EXPECT_FALSE(FileExists(L"[KPT_DIR]absent.dat"));
    EXPECT_FALSE(FileExists(KString()));
    EXPECT_FALSE(FileExists(L"Q:\\no\\such\\drive.dat"));
    SetEnvironmentVariableW(L"KPT_UNDEFINED", nullptr);
    EXPECT_EQ(ThrownText([] { FileExists(L"[KPT_UNDEFINED]\\x.dat"); }),
              "GetEnvironmentVariable(KPT_UNDEFINED) failed.");

    // 2011-07-04 12:00:00 UTC.
    const long when = 1309780800;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    unsigned long long ticks = (unsigned long long)when * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
    EXPECT_EQ(GetModTime(file.c_str()), when);
    EXPECT_EQ(GetModTime(scratch.file(L"absent.dat").c_str()), 0);
    EXPECT_EQ(GetModTime(nullptr), 0);

    // The archive bit, read back through the system, on a read-only file and
    // a hidden folder whose other bits must stay. Wine keeps the bit set on
    // every file and never stores it on a folder: what the system cannot
    // store is probed first and only the rest is required.
    const std::wstring folder = scratch.file(L"folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    struct Target {
        std::wstring path;
        DWORD other;
    } targets[] = {{file, FILE_ATTRIBUTE_READONLY}, {folder, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN}};
    for (const Target& t : targets) {
        SCOPED_TRACE(Narrow(t.path));
        const wchar_t* p = t.path.c_str();
        auto archived = [&] { return (GetFileAttributesW(p) & FILE_ATTRIBUTE_ARCHIVE) != 0; };
        auto others = [&] { return GetFileAttributesW(p) & ~(DWORD)FILE_ATTRIBUTE_ARCHIVE; };
        ASSERT_TRUE(SetFileAttributesW(p, t.other | FILE_ATTRIBUTE_ARCHIVE));
        const bool stores = archived();
        ASSERT_TRUE(SetFileAttributesW(p, t.other));
        const bool clears = !archived();
        ASSERT_EQ(others(), t.other);
        if (!stores || !clears)
            std::printf("note: the system cannot %s the archive bit of %s\n", stores ? "clear" : "set",
                        Narrow(t.path).c_str());

        EXPECT_EQ(GetArchiveBit(p), archived());
        EXPECT_TRUE(SetArchiveBit(p));
        EXPECT_EQ(GetArchiveBit(p), archived());
        EXPECT_TRUE(archived() || !stores);
        EXPECT_EQ(others(), t.other);
        EXPECT_TRUE(ClearArchiveBit(p));
        EXPECT_EQ(GetArchiveBit(p), archived());
        EXPECT_TRUE(!archived() || !clears);
        EXPECT_EQ(others(), t.other);
        for (int i = 0; i < 2; ++i) {
            const bool before = archived();
            EXPECT_TRUE(ToggleArchiveBit(p));
            if (stores && clears)
                EXPECT_NE(archived(), before);
            EXPECT_EQ(others(), t.other);
        }
        SetFileAttributesW(p, t.other & FILE_ATTRIBUTE_DIRECTORY ? t.other : FILE_ATTRIBUTE_NORMAL);
    }

    const KString absent(scratch.file(L"absent.dat").c_str());
    EXPECT_FALSE(GetArchiveBit(absent));
    EXPECT_FALSE(SetArchiveBit(absent));
    EXPECT_FALSE(ClearArchiveBit(absent));
    EXPECT_FALSE(ToggleArchiveBit(absent));
    EXPECT_FALSE(FileExists(absent));
}

TEST(CurrentDir, SetAndScopedChanges)
{
    ScratchDir scratch;
    const std::wstring start = CurrentDirectory();
    EXPECT_EQ(W(GetCurrentDir()), start);
    const std::wstring a = scratch.file(L"a");
    const std::wstring bracketed = scratch.file(L"run[1]");
    CreateDirectoryW(a.c_str(), nullptr);
    CreateDirectoryW(bracketed.c_str(), nullptr);
    const std::wstring missing = scratch.file(L"missing");
    {
        KCurrentDir keep;
        EXPECT_EQ(W(keep.getPreviousDir()), start);

        EXPECT_TRUE(SetCurrentDir(a.c_str(), true));
        EXPECT_EQ(Lower(W(GetCurrentDir())), Lower(a));
        EXPECT_FALSE(SetCurrentDir(missing.c_str(), false));
        EXPECT_EQ(Lower(W(GetCurrentDir())), Lower(a));

        SetLastError(0);
        std::string text = ThrownText([&] { SetCurrentDir(missing.c_str(), true); });
        const std::string head = "Could not set current directory to \"" + Narrow(missing) + "\".\n";
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_GT(text.size(), head.size()) << "the system's reason follows";
        EXPECT_EQ(Lower(W(GetCurrentDir())), Lower(a));

        EnvVar macro(L"KPT_DIR", scratch.path());
        EXPECT_TRUE(SetCurrentDir(L"[KPT_DIR]", false));
        EXPECT_EQ(Lower(W(GetCurrentDir()) + L"\\"), Lower(scratch.path()));
        SetEnvironmentVariableW(L"KPT_UNDEFINED", nullptr);
        EXPECT_EQ(ThrownText([] { SetCurrentDir(L"[KPT_UNDEFINED]", false); }),
                  "GetEnvironmentVariable(KPT_UNDEFINED) failed.");
    }
    EXPECT_EQ(CurrentDirectory(), start) << "the remembering form changes back";

    {
        EnvVar macro(L"KPT_DIR", scratch.path());
        KCurrentDir in(L"[KPT_DIR]a");
        EXPECT_EQ(Lower(W(in.getDir())), Lower(a));
        EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
        {
            // A directory that cannot be entered is ignored, and the
            // directory restored is the one current at the time.
            KCurrentDir nowhere(missing.c_str());
            EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
            SetCurrentDirectoryW(scratch.path().c_str());
        }
        EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
        // Brackets in the directory left behind are part of its name, not macros.
        SetCurrentDirectoryW(bracketed.c_str());
        {
            KCurrentDir back(a.c_str());
            EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
        }
        EXPECT_EQ(Lower(CurrentDirectory()), Lower(bracketed));
        SetCurrentDirectoryW(a.c_str());
        // Asked to enter it, the brackets are read as a macro.
        SetEnvironmentVariableW(L"1", nullptr);
        EXPECT_EQ(ThrownText([&] { KCurrentDir into(bracketed.c_str()); }),
                  "GetEnvironmentVariable(1) failed.");
        EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
        EXPECT_EQ(Lower(CurrentDirectory()), Lower(a));
    }
    EXPECT_EQ(CurrentDirectory(), start);
}

TEST(Places, ModuleTempDirAndFreeSpace)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(W(GetModulePath()), std::wstring(exe));
    EXPECT_TRUE(HasFileExt(GetModulePath(), L".exe"));

    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    KString tempDir = GetTempDir();
    EXPECT_EQ(W(tempDir), std::wstring(temp));
    EXPECT_EQ(tempDir.lastChar(), L'\\');

    ScratchDir scratch;
    {
        // A temporary directory that is missing is made, every level of it.
        const std::wstring nested = scratch.file(L"t1\\t2\\t3");
        EnvVar tmp(L"TMP", nested);
        EnvVar tempVar(L"TEMP", nested);
        EXPECT_EQ(Lower(W(GetTempDir())), Lower(nested + L"\\"));
        DWORD attrs = GetFileAttributesW(nested.c_str());
        EXPECT_NE(attrs, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
    }

    ULARGE_INTEGER avail, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExW(scratch.path().c_str(), &avail, &total, &totalFree));
    unsigned long long got = FreeDiskSpace(scratch.path().c_str());
    EXPECT_GT(got, 0u);
    const unsigned long long slack = 256ULL << 20;
    EXPECT_LT(got > avail.QuadPart ? got - avail.QuadPart : avail.QuadPart - got, slack);

    // Failure: 0, and the error line goes to the log (no main window here).
    const std::wstring nowhere = scratch.file(L"no\\such\\dir\\");
    EXPECT_EQ(FreeDiskSpace(nowhere.c_str()), 0u);
    const std::string line = "ERROR(01-1020) Could not obtain disk space for \"" + Narrow(nowhere) + "\" ";
    EXPECT_NE(LogText().find(line), std::string::npos) << line;
}

TEST(CopyFileToDir, CopiesAndAsksBeforeOverwriting)
{
    ScratchDir scratch;
    const std::wstring source = scratch.file(L"report.txt");
    const std::wstring dir = scratch.file(L"out");
    const std::wstring dest = dir + L"\\report.txt";
    CreateDirectoryW(dir.c_str(), nullptr);
    WriteText(source, "new text");

    // No destination yet: copied without a question.
    {
        BoxAnswerer no(IDNO);
        KString target;
        EXPECT_TRUE(CopyFileToDir(source.c_str(), (dir + L"\\").c_str(), &target, 1));
        EXPECT_EQ(Lower(W(target)), Lower(dest));
        EXPECT_EQ(ReadText(dest), "new text");
        Sleep(100);
        EXPECT_FALSE(no.answered);
    }
    // Flag 1 and an existing destination: No keeps it, Yes overwrites it.
    WriteText(dest, "old text");
    {
        BoxAnswerer no(IDNO);
        KString target(L"untouched");
        EXPECT_FALSE(CopyFileToDir(source.c_str(), dir.c_str(), &target, 1));
        EXPECT_TRUE(no.answered);
        EXPECT_EQ(Narrow(no.text), OverwriteQuestion);
        EXPECT_TRUE(no.hasYes);
        EXPECT_TRUE(no.hasNo);
        EXPECT_FALSE(no.hasOk);
        EXPECT_EQ(Narrow(target), "untouched");
        EXPECT_EQ(ReadText(dest), "old text");
    }
    {
        BoxAnswerer yes(IDYES);
        EXPECT_TRUE(CopyFileToDir(source.c_str(), dir.c_str(), nullptr, 1));
        EXPECT_TRUE(yes.answered);
        EXPECT_EQ(Narrow(yes.text), OverwriteQuestion);
        EXPECT_EQ(ReadText(dest), "new text");
    }
    // Without flag 1 an existing destination is overwritten without asking.
    WriteText(dest, "old text");
    {
        BoxAnswerer no(IDNO);
        EnvVar macro(L"KPT_DIR", scratch.path());
        EXPECT_TRUE(CopyFileToDir(L"[KPT_DIR]report.txt", L"[KPT_DIR]out", nullptr, 0));
        EXPECT_EQ(ReadText(dest), "new text");
        Sleep(100);
        EXPECT_FALSE(no.answered);
    }
    // Nothing to copy.
    KString target;
    EXPECT_FALSE(CopyFileToDir(KString(), dir.c_str(), &target, 0));
    EXPECT_TRUE(target.isNull());
    EXPECT_FALSE(CopyFileToDir(scratch.file(L"absent.txt").c_str(), dir.c_str(), &target, 0));
    EXPECT_EQ(Lower(W(target)), Lower(dir + L"\\absent.txt"));
    EXPECT_EQ(GetFileAttributesW(target), INVALID_FILE_ATTRIBUTES);
    SetEnvironmentVariableW(L"KPT_UNDEFINED", nullptr);
    EXPECT_EQ(ThrownText([&] { CopyFileToDir(source.c_str(), L"[KPT_UNDEFINED]", nullptr, 0); }),
              "GetEnvironmentVariable(KPT_UNDEFINED) failed.");

    // Copying a file into its own directory must not lose it.
    CopyFileToDir(dest.c_str(), dir.c_str(), nullptr, 0);
    EXPECT_EQ(ReadText(dest), "new text");
}

TEST(RecentFiles, MovesInsertsCutsAndDropsMissing)
{
    ScratchDir scratch;
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
    list.append(L"a.dat");
    list.append(L"b.dat");
    list.append(L"c.dat");
    // A new file goes first and pushes the last one out; it is kept relative.
    UpdateRecentFilesList(list, scratch.file(L"d.dat").c_str(), 3);
    EXPECT_EQ(names(list), "d.dat,a.dat,b.dat");
    // A file already listed moves to the front; nothing is cut.
    UpdateRecentFilesList(list, scratch.file(L"b.dat").c_str(), 2);
    EXPECT_EQ(names(list), "b.dat,d.dat,a.dat");
    UpdateRecentFilesList(list, L"b.dat", 3);
    EXPECT_EQ(names(list), "b.dat,d.dat,a.dat");
    // Files that are gone drop out, the new one too.
    DeleteFileW(scratch.file(L"a.dat").c_str());
    UpdateRecentFilesList(list, scratch.file(L"gone.dat").c_str(), 3);
    EXPECT_EQ(names(list), "b.dat,d.dat");
    // Brackets in a real name are not macros; an entry with a macro counts
    // when its file exists and drops out when the macro is undefined.
    UpdateRecentFilesList(list, scratch.file(L"run[1].dat").c_str(), 5);
    EXPECT_EQ(names(list), "run[1].dat,b.dat,d.dat");
    {
        EnvVar macro(L"KPT_DIR", scratch.path());
        UpdateRecentFilesList(list, L"[KPT_DIR]c.dat", 5);
        EXPECT_EQ(names(list), "[KPT_DIR]c.dat,run[1].dat,b.dat,d.dat");
    }
    UpdateRecentFilesList(list, L"d.dat", 5);
    EXPECT_EQ(names(list), "d.dat,run[1].dat,b.dat");

    // Files outside the current directory keep their full path.
    ScratchDir other;
    const std::wstring outside = other.file(L"far.dat");
    WriteText(outside, "x");
    UpdateRecentFilesList(list, outside.c_str(), 4);
    EXPECT_EQ(W(list[0]), outside);
    EXPECT_EQ(list.count(), 4);

    UpdateRecentFilesList(list, scratch.file(L"c.dat").c_str(), 0);
    EXPECT_EQ(list.count(), 0);
    KArray<KString> freed;
    freed.free();
    UpdateRecentFilesList(freed, scratch.file(L"c.dat").c_str(), 4);
    EXPECT_EQ(names(freed), "c.dat");
}
