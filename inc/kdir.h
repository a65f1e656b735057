// Directory listing: KDir walks one directory entry by entry, FindFiles
// gathers the entries matching a pattern, optionally in every subdirectory,
// into KFileInfo records.
//
//     KArray<KFileInfo> found;
//     FindFiles(L"[TARNWELL_DIR]\\data", L"*.dat", found,
//               FIND_RECURSE | FIND_SORT | FIND_MACROS | FIND_CLEAR);
//     for (const KFileInfo& f : found)
//         if (!f.isDirectory())
//             Printf("%S %u bytes, level %d\n", &f.path, f.size, f.level);
//
// An empty directory stands for the current one; its entries then carry
// relative paths. The system's critical-error boxes are suppressed while a
// directory is listed.
#ifndef KORVEL_KDIR_H
#define KORVEL_KDIR_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"
#include "kdatetime.h"
#include "array"

class KFile;

// One directory entry found by FindFiles.
struct KORVEL_API KFileInfo {
    KString name;  // as the directory lists it
    KString path;  // dir followed by name
    KString dir;   // the directory searched, with its trailing separator
    unsigned int size;  // low 32 bits of the file size
    int level;          // depth below the directory where the search started
    // The file times as points in time, shown in local time by KDateTime;
    // the current time where the system gives none (or one beyond 2038).
    KDateTime createTime, modTime, accessTime;

    // The system's find-data fields, as listed.
    DWORD dwFileAttributes;
    FILETIME ftCreationTime, ftLastAccessTime, ftLastWriteTime;
    DWORD nFileSizeHigh, nFileSizeLow;

    // An empty record: no name, no attributes, the current time.
    KFileInfo();
    // The record of a listed entry of dir (which ends in a separator or is empty).
    KFileInfo(const WIN32_FIND_DATAW& data, const KString& dir, int level);

    bool isDirectory() const { return (dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The whole size, high and low parts together.
    unsigned long long fileSize() const
    {
        return ((unsigned long long)nFileSizeHigh << 32) | nFileSizeLow;
    }
};

// One directory, entry by entry. "." and ".." are passed over.
//
//     KDir d;
//     KFile f;
//     d.open(L"[TARNWELL_DIR]\\user", L"*.opt");
//     while (d.next(f))
//         load(f);
class KORVEL_API KDir {
public:
    KDir();
    // Closes the search.
    ~KDir();
    KDir(const KDir&) = delete;
    KDir& operator=(const KDir&) = delete;

    // Closes any search and prepares one of dir (macros replaced) for
    // pattern; the listing starts with the first next(). Returns true.
    bool open(const KString& dir, const KString& pattern);
    // Names file after the next matching entry, a directory with a trailing
    // backslash; false when none is left or the directory cannot be listed.
    // Naming replaces macros, so an entry whose name holds "[NAME]" throws
    // KorvelException when NAME is not defined.
    bool next(KFile& file);
    void close();

    // The directory, macros replaced.
    const KString& getDirName() const { return dirName; }
    // The directory joined with the pattern.
    const KString& getSearchPath() const { return searchPath; }

private:
    // Moves to the next listed entry; false at the end.
    bool advance(WIN32_FIND_DATAW& data);

    enum State { Closed, Ready, Listing, Done };
    HANDLE handle;
    State state;
    KString dirName;
    KString searchPath;
};

// Flag bits of FindFiles.
enum {
    FIND_RECURSE = 1,        // descend into subdirectories
    FIND_SORT = 2,           // sort the result by name, ignoring case
    FIND_THROW = 4,          // a directory that cannot be listed throws; else it is skipped
    FIND_DOTS = 8,           // keep the entries "." and ".."
    FIND_DESCEND_EMPTY = 16, // with FIND_RECURSE: descend only from directories where nothing matched
    FIND_MACROS = 64,        // replace macros in dir first
    FIND_CLEAR = 128         // empty out first
};

// Appends a record for every entry of dir matching pattern ("*", "*.dat",
// "run??.txt"), files and directories alike; with FIND_RECURSE the
// subdirectories follow, depth first, each after the entries of its parent.
// A failure with FIND_THROW throws KorvelException (group 5) and leaves out
// as it was.
KORVEL_API void FindFiles(const KString& dir, const KString& pattern, KArray<KFileInfo>& out, int flags);
// The same for a path ending in a pattern ("c:\data\*.dat"); a path ending
// in a separator lists everything in that directory.
KORVEL_API void FindFiles(const KString& path, KArray<KFileInfo>& out, int flags);
// The same for several patterns separated by blanks ("*.dat *.txt"), one
// search after the other; FIND_MACROS and FIND_CLEAR are not applied.
KORVEL_API void FindFilesEx(const KString& dir, const KString& patterns, KArray<KFileInfo>& out, int flags);

#endif
