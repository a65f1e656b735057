// KFileDlg and KDirDlg: the Windows file dialogs behind the library's types.
// A chooser may be kept and reused; it remembers its directory, filters and flags.
//
//     KFileDlg dlg;
//     dlg.setFilter(L"Data files", L"*.dat");
//     dlg.addFilter(L"All files", L"*.*");
//     dlg.setDefaultExt(L"dat");
//     dlg.setInitialDir(L"[TARNWELL_DIR]\\user\\data", true);   // made when missing
//     KString path = dlg.getSaveAsFileName(mainWin, L"Save the curve");
//     if (path.notNull()) ...                                     // empty on Cancel
//
//     KDirDlg dirs;
//     dirs.setInitialDir(L"[BOOT_DIR]");
//     KString dir = dirs.getDirName(mainWin);                     // ends in a backslash
#ifndef KORVEL_KFILEDLG_H
#define KORVEL_KFILEDLG_H

#include <windows.h>
#include <commdlg.h>
#include "kexport.h"
#include "kstring.h"
#include "array"

class KWindow;

// The library's own classic open-file dialog, reduced by KDirDlg to its directory list.
#define KORVEL_DIRDLG_TEMPLATE 1536

class KORVEL_API KFileDlg {
public:
    KFileDlg();
    KFileDlg(const KFileDlg&) = delete;
    KFileDlg& operator=(const KFileDlg&) = delete;

    // Filters: pairs of description and pattern ("*.dat;*.bin").
    void setFilter(const wchar_t* description, const wchar_t* pattern);
    void addFilter(const wchar_t* description, const wchar_t* pattern);
    void clearFilters();

    // Extension added to a typed name without one; at most 6 characters, a
    // longer one is refused (false) and the previous one kept.
    bool setDefaultExt(const wchar_t* ext);

    // Macros replaced; with a drive or ".\" the directory also follows the
    // user's choices. create makes a missing directory (one level).
    void setInitialDir(const wchar_t* dir, bool create);
    // Only the file part of name is kept.
    void setInitialFileName(const wchar_t* name);
    // "dir\" sets the directory only; "dir\name.ext" both.
    void setInitialPath(const wchar_t* path);

    void setUpdateDir(bool update) { updateDir = update; }
    void setFlags(DWORD flags) { ofn.Flags = flags; }
    void addFlags(DWORD flags) { ofn.Flags |= flags; }
    void clearFlags(DWORD flags) { ofn.Flags &= ~flags; }
    DWORD getFlags() const { return ofn.Flags; }
    KString getInitialDir() const { return KString(initDir); }
    // The filter chosen in the last dialog, from 1.
    int getFilterIndex() const { return (int)ofn.nFilterIndex; }

    // The full path chosen, empty on Cancel. Open wants an existing file;
    // Save As asks before overwriting one.
    KString getOpenFileName(KWindow* owner, const wchar_t* title);
    KString getSaveAsFileName(KWindow* owner, const wchar_t* title);
    // Full paths, sorted by code unit; empty on Cancel.
    KArray<KString> getOpenFileNames(KWindow* owner, const wchar_t* title);

private:
    bool run(KWindow* owner, const wchar_t* title, bool save);
    void takeDirOf(const wchar_t* chosen);

    bool updateDir;
    wchar_t fileName[MAX_PATH];
    wchar_t initDir[MAX_PATH];
    wchar_t defExt[7];
    KArray<wchar_t> filters;
    OPENFILENAMEW ofn;
};

class KORVEL_API KDirDlg {
public:
    KDirDlg();
    KDirDlg(const KDirDlg&) = delete;
    KDirDlg& operator=(const KDirDlg&) = delete;

    // Macros replaced, then made a full path.
    void setInitialDir(const wchar_t* dir);
    void setTitle(const wchar_t* text);
    void setFlags(DWORD flags) { ofn.Flags = flags; }
    void addFlags(DWORD flags) { ofn.Flags |= flags; }
    void clearFlags(DWORD flags) { ofn.Flags &= ~flags; }
    KString getFileName() const { return KString(fileName); }
    KString getInitDir() const { return KString(initDir); }

    // The directory the user stood in when pressing OK (it is also where the
    // next dialog opens); empty on Cancel.
    KString getDirName(KWindow* owner);

private:
    static UINT_PTR CALLBACK hook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

    wchar_t fileName[MAX_PATH];
    wchar_t initDir[MAX_PATH];
    KString title;
    OPENFILENAMEW ofn;
};

static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEW) == 88, "the file dialog record is 88 bytes on 32-bit Windows");

#endif
