// KFileDlg: the explorer-style open and save dialogs over OPENFILENAMEW.
#include "kfiledlg.h"
#include <initializer_list>
#include <io.h>
#include "kmacro.h"
#include "kpath.h"
#include "kwindow.h"

namespace {

// Room for a multi-selection of many files; the field of 260 is far too small.
const DWORD MultiBufferChars = 200000;

int ByCodeUnit(const KString& a, const KString& b) { return (int)(a - b); }

}

KFileDlg::KFileDlg() : updateDir(false)
{
    fileName[0] = initDir[0] = defExt[0] = 0;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
}

void KFileDlg::setFilter(const wchar_t* description, const wchar_t* pattern)
{
    clearFilters();
    addFilter(description, pattern);
}

void KFileDlg::addFilter(const wchar_t* description, const wchar_t* pattern)
{
    // Drop the extra 0 that ends the list, append the pair, end it again.
    if (filters.count() > 0)
        filters.remove(filters.count() - 1);
    for (const wchar_t* part : {description, pattern}) {
        for (const wchar_t* c = part ? part : L""; *c; ++c)
            filters.append(*c);
        filters.append(0);
    }
    filters.append(0);
}

void KFileDlg::clearFilters()
{
    filters = KArray<wchar_t>();
}

bool KFileDlg::setDefaultExt(const wchar_t* ext)
{
    const size_t n = ext ? wcslen(ext) : 0;
    if (n >= sizeof(defExt) / sizeof(defExt[0]))
        return false;
    lstrcpynW(defExt, ext ? ext : L"", (int)n + 1);
    return true;
}

void KFileDlg::setInitialDir(const wchar_t* dir, bool create)
{
    if (!dir || !*dir)
        return;
    const KString expanded = ReplaceMacros(dir);
    if ((expanded.length() >= 2 && expanded[1] == L':') || expanded.startsWith(KString(L".\\")))
        updateDir = true;
    lstrcpynW(initDir, expanded, MAX_PATH);
    if (create && _waccess(expanded, 0) != 0)
        CreateDirectoryW(expanded, nullptr);
}

void KFileDlg::setInitialFileName(const wchar_t* name)
{
    lstrcpynW(fileName, GetFilePart(KString(name)), MAX_PATH);
}

void KFileDlg::setInitialPath(const wchar_t* path)
{
    const KString p(path);
    if (p.isNull())
        return;
    if (p.lastChar() == L'\\') {
        setInitialDir(p, false);
        return;
    }
    setInitialDir(GetDirPart(p), false);
    setInitialFileName(p);
}

void KFileDlg::takeDirOf(const wchar_t* chosen)
{
    // The multi-selection answer puts a 0 after the directory, which also ends the copy.
    const int n = ofn.nFileOffset < MAX_PATH ? ofn.nFileOffset : MAX_PATH - 1;
    lstrcpynW(initDir, chosen, n + 1);
}

bool KFileDlg::run(KWindow* owner, const wchar_t* title, bool save)
{
    ofn.hwndOwner = owner ? owner->getWindow() : nullptr;
    ofn.lpstrTitle = title;
    ofn.lpstrFilter = filters.count() > 0 ? filters.begin() : nullptr;
    ofn.lpstrInitialDir = initDir[0] ? initDir : nullptr;
    ofn.lpstrDefExt = defExt[0] ? defExt : nullptr;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (ok && updateDir)
        takeDirOf(ofn.lpstrFile);
    return ok != FALSE;
}

KString KFileDlg::getOpenFileName(KWindow* owner, const wchar_t* title)
{
    addFlags(OFN_FILEMUSTEXIST);
    return run(owner, title, false) ? KString(fileName) : KString();
}

KString KFileDlg::getSaveAsFileName(KWindow* owner, const wchar_t* title)
{
    addFlags(OFN_OVERWRITEPROMPT);
    return run(owner, title, true) ? KString(fileName) : KString();
}

KArray<KString> KFileDlg::getOpenFileNames(KWindow* owner, const wchar_t* title)
{
    KArray<KString> paths;
    KArray<wchar_t> answer((int)MultiBufferChars);
    lstrcpynW(answer.begin(), fileName, MAX_PATH);
    addFlags(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
    ofn.lpstrFile = answer.begin();
    ofn.nMaxFile = MultiBufferChars;
    const bool ok = run(owner, title, false);
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = MAX_PATH;
    // The next single choice must not get a list back in the 260-character field.
    clearFlags(OFN_ALLOWMULTISELECT);
    if (!ok)
        return paths;
    const wchar_t* dir = answer.begin();
    if (ofn.nFileOffset == 0 || dir[ofn.nFileOffset - 1] != 0) {
        paths.append(KString(dir));
        return paths;
    }
    for (const wchar_t* name = dir + ofn.nFileOffset; *name; name += wcslen(name) + 1) {
        KString path(dir);
        if (path.lastChar() != L'\\')
            path += L"\\";
        path += name;
        paths.append(path);
    }
    paths.sort(ByCodeUnit);
    return paths;
}
