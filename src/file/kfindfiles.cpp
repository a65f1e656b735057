// FindFiles and FindFilesEx: the entries matching patterns, optionally in
// every subdirectory, as KFileInfo records.
#include "kdir.h"
#include "kpath.h"
#include "kpath_internal.h"
#include "kmacro.h"
#include "kdiag.h"
#include <utility>
#include <wchar.h>

namespace {

// An open directory listing, closed when it goes.
class FindHandle {
public:
    FindHandle(const KString& searchPath, WIN32_FIND_DATAW& data)
        : handle(FindFirstFileW(searchPath, &data)), error(handle == INVALID_HANDLE_VALUE ? GetLastError() : 0)
    {
    }
    ~FindHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    DWORD getError() const { return error; }
    bool next(WIN32_FIND_DATAW& data) { return FindNextFileW(handle, &data) != 0; }

private:
    HANDLE handle;
    DWORD error;
};

// One search: its pattern, its flags and where the records go.
struct Search {
    const KString& pattern;
    int flags;
    KArray<KFileInfo>& out;
    // The pattern lists every entry, so its listing also gives the subdirectories.
    bool listsAll;
};

// The directory with a trailing separator; empty stays empty (the current directory).
KString WithSeparator(const KString& dir)
{
    if (dir.isNull() || IsDirSeparator(dir.lastChar()))
        return dir;
    return dir + KString(L"\\");
}

// A listing that cannot be opened: nothing found is no failure; any other
// throws with FIND_THROW and is skipped without it.
bool ListingOpened(const FindHandle& find, const KString& searchPath, int flags)
{
    if (find.isOpen())
        return true;
    const DWORD error = find.getError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES || !(flags & FIND_THROW))
        return false;
    KString reason = GetWin32Error(error);
    throw KorvelException(5, "FindFirstFile(%S) failed.\n%S", &searchPath, &reason);
}

void SearchDir(const Search& s, const KString& dir, int level);

// Searches each subdirectory of dir that the listing with "*" gives, in
// listing order.
void SearchSubdirs(const Search& s, const KString& dir, int level)
{
    KString searchPath = dir + KString(L"*");
    WIN32_FIND_DATAW data;
    FindHandle find(searchPath, data);
    if (!ListingOpened(find, searchPath, s.flags))
        return;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(data.cFileName))
            SearchDir(s, dir + KString(data.cFileName) + KString(L"\\"), level + 1);
    } while (find.next(data));
}

// The subdirectories among the records from first on, which a listing of
// every entry has just added.
void SearchListedSubdirs(const Search& s, int first, int level)
{
    const int last = s.out.count();
    for (int i = first; i < last; ++i) {
        const KFileInfo& e = s.out[i];
        if (!e.isDirectory() || IsDotEntry(e.name))
            continue;
        // The record moves when the array grows: the path is copied first.
        KString sub = e.path + KString(L"\\");
        SearchDir(s, sub, level + 1);
    }
}

// Appends the matches of dir, then searches its subdirectories when asked.
void SearchDir(const Search& s, const KString& dir, int level)
{
    KString searchPath = dir + s.pattern;
    const int first = s.out.count() > 0 ? s.out.count() : 0;
    {
        WIN32_FIND_DATAW data;
        FindHandle find(searchPath, data);
        if (ListingOpened(find, searchPath, s.flags)) {
            do {
                if ((s.flags & FIND_DOTS) || !IsDotEntry(data.cFileName))
                    s.out.append(KFileInfo(data, dir, level));
            } while (find.next(data));
        }
    }
    if (!(s.flags & FIND_RECURSE))
        return;
    if ((s.flags & FIND_DESCEND_EMPTY) && s.out.count() > first)
        return;
    if (s.listsAll)
        SearchListedSubdirs(s, first, level);
    else
        SearchSubdirs(s, dir, level);
}

int CompareNames(const KFileInfo& a, const KFileInfo& b)
{
    int c = _wcsicmp(a.name, b.name);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void DropFrom(KArray<KFileInfo>& out, int count)
{
    while (out.count() > count)
        out.remove(out.count() - 1);
}

// Searches dir for each pattern in turn. Whatever fails leaves out as it was.
void SearchPatterns(const KString& dir, const KArray<KString>& patterns, KArray<KFileInfo>& out, int flags)
{
    const int before = out.count() > 0 ? out.count() : 0;
    const KString start = WithSeparator(dir);
    CriticalErrorsOff quiet;
    try {
        for (const KString& pattern : patterns) {
            Search s = {pattern, flags, out, pattern == L"*"};
            SearchDir(s, start, 0);
        }
    } catch (...) {
        DropFrom(out, before);
        throw;
    }
    if (flags & FIND_SORT)
        out.sort(CompareNames);
}

} // namespace

void FindFiles(const KString& dir, const KString& pattern, KArray<KFileInfo>& out, int flags)
{
    const KString start = (flags & FIND_MACROS) ? ReplaceMacros(dir) : dir;
    KArray<KString> patterns;
    patterns.append(pattern);
    if (!(flags & FIND_CLEAR)) {
        SearchPatterns(start, patterns, out, flags);
        return;
    }
    // Cleared only in effect until the search has succeeded.
    KArray<KFileInfo> previous(std::move(out));
    try {
        SearchPatterns(start, patterns, out, flags);
    } catch (...) {
        out = std::move(previous);
        throw;
    }
}

void FindFiles(const KString& path, KArray<KFileInfo>& out, int flags)
{
    KString pattern = GetFilePart(path);
    if (pattern.isNull())
        pattern = L"*";
    FindFiles(GetDirPart(path), pattern, out, flags);
}

void FindFilesEx(const KString& dir, const KString& patterns, KArray<KFileInfo>& out, int flags)
{
    SearchPatterns(dir, patterns.splitTokens(), out, flags & ~(FIND_MACROS | FIND_CLEAR));
}
