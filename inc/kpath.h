// Paths: splitting and joining their parts, relative paths, name checks,
// existence and attributes, the current and temporary directories, the
// most-recently-used file list, copying into a directory and free space.
//
// Paths follow Windows conventions: drive letters, backslashes and
// case-insensitive comparison. Where a function says so, the path may hold
// environment macros such as "[TARNWELL_DIR]" (see ReplaceMacros); an
// undefined macro throws KorvelException. The other helpers never throw.
//
//     KString dir = GetDirPart(L"c:\\data\\run.dat");   // "c:\data\"
//     {
//         KCurrentDir here("[TARNWELL_DIR]\\user");     // changes directory
//         ...                                          // relative paths work here
//     }                                                // and changes back
#ifndef KORVEL_KPATH_H
#define KORVEL_KPATH_H

#include "kexport.h"
#include "kstring.h"
#include "array"

// Path parts, as the runtime's path splitter gives them.

// Drive and directory, ending in a backslash ("c:\a\" of "c:\a\b.txt").
KORVEL_API KString GetDirPart(const KString& p);
KORVEL_API KString GetFileNameDir(const KString& p);
// Name and extension ("b.txt").
KORVEL_API KString GetFilePart(const KString& p);
// Name without extension ("b").
KORVEL_API KString GetFileNamePart(const KString& p);
// Extension with its dot (".txt"); empty when there is none.
KORVEL_API KString GetExtPart(const KString& p);
// The extension (with its dot) equals ext, ignoring case.
KORVEL_API bool HasFileExt(const KString& p, const wchar_t* ext);
// The end of p that holds n separators ('\', '/' or ':'): 0 gives the file
// name, 1 the last directory and the file name; all of p when it has fewer.
KORVEL_API KString GetFileNameTail(const KString& p, unsigned n);

// Full and long forms. Both return p itself when the system cannot answer.

// The full path (GetFullPathNameW), at most 260 characters.
KORVEL_API KString GetFullPath(const KString& p);
// The long form of a path that may contain short (8.3) names; the file must exist.
KORVEL_API KString GetLongFileName(const KString& p);

// Comparing and relative paths (case ignored throughout).

// Equal after removing one trailing backslash from each.
KORVEL_API bool IsSameDir(const wchar_t* a, const wchar_t* b);
// p without the current directory and its backslash when p lies below it, else p.
KORVEL_API KString GetRelPath(const wchar_t* p);
// p (made full) relative to base (made full), else the full p; empty when
// either is empty.
KORVEL_API KString GetRelPath(const wchar_t* base, const wchar_t* p);
// GetRelPath(p), reduced to its file part when it begins with prefix.
KORVEL_API KString GetRelName(const wchar_t* prefix, const wchar_t* p);

// Names. Valid characters are letters and digits of the C locale and
// " $%'-_@~`!()^#&+,.;=[]"; a directory name may also hold '\' and ':'.

KORVEL_API bool IsValidFileNameChar(int c);
KORVEL_API bool IsValidDirNameChar(int c);
// Non-empty and every character valid.
KORVEL_API bool IsValidFileName(const KString& s);
KORVEL_API bool IsValidDirName(const KString& s);
// s without its invalid file-name characters.
KORVEL_API KString MakeValidFileName(KString s);

// Existence and attributes. The system's critical-error boxes (such as
// "no disk in drive") are suppressed while a path is examined.

// The path, macros replaced, exists (file or directory).
KORVEL_API bool FileExists(const KString& p);
// Modification time in seconds since 1970; 0 when the file cannot be examined.
KORVEL_API long GetModTime(const wchar_t* p);
// The archive attribute; false when the attributes cannot be read.
KORVEL_API bool GetArchiveBit(const KString& p);
// Each returns false when the attributes cannot be read or written.
KORVEL_API bool SetArchiveBit(const KString& p);
KORVEL_API bool ClearArchiveBit(const KString& p);
// Clears the archive attribute when set, else sets it.
KORVEL_API bool ToggleArchiveBit(const KString& p);

// The current directory.

KORVEL_API KString GetCurrentDir();
// Changes to dir, macros replaced. On failure throws KorvelException (group 1)
// when mustSucceed, else returns false.
KORVEL_API bool SetCurrentDir(KString dir, bool mustSucceed);

// A scoped change of the current directory: the destructor changes back to
// the directory that was current when the object was made.
class KORVEL_API KCurrentDir {
public:
    // Changes to dir (macros replaced); a directory that cannot be entered
    // is ignored and the current one is kept.
    explicit KCurrentDir(const KString& dir);
    // Only remembers the current directory.
    KCurrentDir();
    ~KCurrentDir();
    KCurrentDir(const KCurrentDir&) = delete;
    KCurrentDir& operator=(const KCurrentDir&) = delete;

    // The directory asked for (empty for the remembering form).
    const KString& getDir() const { return dir; }
    // The directory restored by the destructor.
    const KString& getPreviousDir() const { return previous; }

private:
    KString dir;
    KString previous;
};

// Places.

// The executable's full path.
KORVEL_API KString GetModulePath();
// The system's temporary directory, ending in a backslash ("c:\temp\" when
// the system names none), created when missing.
KORVEL_API KString GetTempDir();
// Bytes free to the caller on the volume of path. On failure 0, and the
// error (1, 1020) goes to the application's message line, or to the log
// when there is no main window.
KORVEL_API unsigned long long FreeDiskSpace(const wchar_t* path);

// Copying and recent files.

// Copies file into dir under its own name and extension (macros replaced in
// both), overwriting. With flags bit 1 an existing destination is first
// confirmed with a Yes/No question; any answer but Yes copies nothing.
// *target (when given) receives the destination path. True when copied.
KORVEL_API bool CopyFileToDir(KString file, KString dir, KString* target, int flags);
// Puts GetRelPath(file) at the front of list (moved there when present, else
// inserted and the list cut to max entries), then drops every entry whose
// file no longer exists.
KORVEL_API void UpdateRecentFilesList(KArray<KString>& list, const KString& file, int max);

#endif
