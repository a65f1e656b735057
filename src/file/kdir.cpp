// KFileInfo records and KDir, the entry-by-entry listing of one directory.
#include "kdir.h"
#include "kpath_internal.h"
#include "kfile.h"
#include "kmacro.h"
#include <string.h>
#include <wchar.h>

namespace {

// The instant of a file time (UTC, 100 ns since 1601) as seconds since 1970;
// the current time for a zero time or one outside the 32-bit count.
KDateTime ToDateTime(const FILETIME& ft)
{
    const unsigned long long Epoch1970 = 116444736000000000ULL;
    const unsigned long long TicksPerSecond = 10000000ULL;
    unsigned long long ticks = ((unsigned long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    if (ticks < Epoch1970)
        return KDateTime();
    unsigned long long seconds = (ticks - Epoch1970) / TicksPerSecond;
    if (seconds > 0x7FFFFFFFULL)
        return KDateTime();
    return KDateTime((long)seconds);
}

// dir followed by name in one allocation.
KString Concat(const KString& dir, const wchar_t* name)
{
    const int dirLen = dir.length();
    const int nameLen = (int)wcslen(name);
    KString s(dirLen + nameLen, 0);
    wmemcpy(s, dir, dirLen);
    wmemcpy((wchar_t*)s + dirLen, name, nameLen);
    return s;
}

} // namespace

// KFileInfo

KFileInfo::KFileInfo()
    : size(0), level(0), dwFileAttributes(0), ftCreationTime(), ftLastAccessTime(),
      ftLastWriteTime(), nFileSizeHigh(0), nFileSizeLow(0)
{
}

KFileInfo::KFileInfo(const WIN32_FIND_DATAW& data, const KString& d, int lvl)
    : name(data.cFileName), path(Concat(d, data.cFileName)), dir(d), size(data.nFileSizeLow),
      level(lvl), createTime(ToDateTime(data.ftCreationTime)),
      modTime(ToDateTime(data.ftLastWriteTime)), accessTime(ToDateTime(data.ftLastAccessTime)),
      dwFileAttributes(data.dwFileAttributes), ftCreationTime(data.ftCreationTime),
      ftLastAccessTime(data.ftLastAccessTime), ftLastWriteTime(data.ftLastWriteTime),
      nFileSizeHigh(data.nFileSizeHigh), nFileSizeLow(data.nFileSizeLow)
{
}

// KDir

KDir::KDir() : handle(INVALID_HANDLE_VALUE), state(Closed) {}

KDir::~KDir()
{
    close();
}

bool KDir::open(const KString& dir, const KString& pattern)
{
    // The new names are worked out first: an undefined macro leaves the
    // current search as it was.
    KString name = ReplaceMacros(dir);
    close();
    dirName = name;
    searchPath = JoinPath(dirName, pattern);
    state = Ready;
    return true;
}

void KDir::close()
{
    if (handle != INVALID_HANDLE_VALUE)
        FindClose(handle);
    handle = INVALID_HANDLE_VALUE;
    state = Closed;
}

bool KDir::advance(WIN32_FIND_DATAW& data)
{
    if (state == Ready) {
        CriticalErrorsOff quiet;
        handle = FindFirstFileW(searchPath, &data);
        state = handle == INVALID_HANDLE_VALUE ? Done : Listing;
        return state == Listing;
    }
    if (state != Listing)
        return false;
    if (FindNextFileW(handle, &data))
        return true;
    FindClose(handle);
    handle = INVALID_HANDLE_VALUE;
    state = Done;
    return false;
}

bool KDir::next(KFile& file)
{
    WIN32_FIND_DATAW data;
    while (advance(data)) {
        if (IsDotEntry(data.cFileName))
            continue;
        KString path = JoinPath(dirName, data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            path += L'\\';
        file.setFileName(path);
        return true;
    }
    return false;
}
