// File existence, times and the archive attribute, free disk space and
// copying a file into a directory.
#include "kpath.h"
#include "kpath_internal.h"
#include "kmacro.h"
#include "kdiag.h"
#include "kapp.h"
#include <io.h>
#include <sys/stat.h>

namespace {

// The attributes, or INVALID_FILE_ATTRIBUTES.
DWORD Attributes(const KString& p)
{
    CriticalErrorsOff quiet;
    return GetFileAttributesW(p);
}

// Writes the attributes with the archive bit set or cleared. NORMAL stands
// alone or not at all, so it is dropped or put back as the other bits need.
bool WriteArchiveBit(const KString& p, bool set)
{
    DWORD attrs = Attributes(p);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return false;
    attrs &= ~FILE_ATTRIBUTE_NORMAL;
    attrs = set ? attrs | FILE_ATTRIBUTE_ARCHIVE : attrs & ~FILE_ATTRIBUTE_ARCHIVE;
    if (attrs == 0)
        attrs = FILE_ATTRIBUTE_NORMAL;
    CriticalErrorsOff quiet;
    return SetFileAttributesW(p, attrs) != 0;
}

// The error line of the application, or the log line when no window shows it.
void ReportError(ERRCODE code, const KString& text)
{
    if (App && App->getMainWindow()) {
        App->err_printf(code, "%S", &text);
        return;
    }
    LogPrintf("ERROR(%02d-%04d) %S\n", code.group, code.number, &text);
}

} // namespace

bool PathExists(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    CriticalErrorsOff quiet;
    return _waccess(path, 0) == 0;
}

bool FileExists(const KString& p)
{
    KString path = ReplaceMacros(p);
    return PathExists(path);
}

long GetModTime(const wchar_t* p)
{
    if (!p || !*p)
        return 0;
    CriticalErrorsOff quiet;
    struct _stat64 st;
    if (_wstat64(p, &st) != 0)
        return 0;
    return (long)st.st_mtime;
}

bool GetArchiveBit(const KString& p)
{
    DWORD attrs = Attributes(p);
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_ARCHIVE) != 0;
}

bool SetArchiveBit(const KString& p)
{
    return WriteArchiveBit(p, true);
}

bool ClearArchiveBit(const KString& p)
{
    return WriteArchiveBit(p, false);
}

bool ToggleArchiveBit(const KString& p)
{
    return WriteArchiveBit(p, !GetArchiveBit(p));
}

unsigned long long FreeDiskSpace(const wchar_t* path)
{
    ULARGE_INTEGER freeToCaller, total, totalFree;
    DWORD error;
    {
        CriticalErrorsOff quiet;
        if (GetDiskFreeSpaceExW(path, &freeToCaller, &total, &totalFree))
            return freeToCaller.QuadPart;
        error = GetLastError();
    }
    KString reason = GetWin32Error(error);
    KString text;
    text.set("Could not obtain disk space for \"%U\" %S", path ? path : L"", &reason);
    ReportError(ERRCODE(1, 1020), text);
    return 0;
}

bool CopyFileToDir(KString file, KString dir, KString* target, int flags)
{
    file = ReplaceMacros(file);
    dir = ReplaceMacros(dir);
    if (file.isNull())
        return false;
    KString destination = JoinPath(dir, GetFilePart(file));
    if ((flags & 1) && PathExists(destination)) {
        int answer = QuestionBox(nullptr, MB_YESNO, "File already exists.\nDo you wish to overwrite it?");
        if (answer != IDYES)
            return false;
    }
    if (target)
        *target = destination;
    CriticalErrorsOff quiet;
    return CopyFileW(file, destination, FALSE) != 0;
}
