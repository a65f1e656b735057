// Pieces shared by the path, directory and search code of the library.
#ifndef KORVEL_KPATH_INTERNAL_H
#define KORVEL_KPATH_INTERNAL_H

#include <windows.h>
#include "kstring.h"

// While it lives, the calling thread gets failure codes instead of the
// system's critical-error boxes ("There is no disk in the drive").
class CriticalErrorsOff {
public:
    CriticalErrorsOff() : previous(0), changed(SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous)) {}
    ~CriticalErrorsOff()
    {
        if (changed)
            SetThreadErrorMode(previous, nullptr);
    }
    CriticalErrorsOff(const CriticalErrorsOff&) = delete;
    CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

private:
    DWORD previous;
    BOOL changed;
};

// True when c separates the parts of a path.
inline bool IsDirSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The entries "." and ".." that every directory lists.
inline bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// dir joined with name: one backslash between them, none after an empty dir
// (a name alone is found in the current directory).
inline KString JoinPath(const KString& dir, const wchar_t* name)
{
    if (dir.isNull() || IsDirSeparator(dir.lastChar()))
        return dir + KString(name);
    return dir + KString(L"\\") + KString(name);
}

// The path exists as it is written (no macros), file or directory; the
// critical-error boxes are suppressed while it is tested.
bool PathExists(const wchar_t* path);

#endif
