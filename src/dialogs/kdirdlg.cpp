// KDirDlg: the classic open-file dialog of the library's own template, with
// everything but the directory and drive lists hidden.
#include "kfiledlg.h"
#include <initializer_list>
#include "kapp.h"
#include "kmacro.h"
#include "kpath.h"
#include "kwindow.h"

namespace {

// Control ids of the classic open-file template (dlgs.h).
const int FileTypeLabel = 1089, FileNameLabel = 1090, FileNameEdit = 1152;
const int FileList = 1120, DirList = 1121, FileTypeList = 1136;

}

KDirDlg::KDirDlg()
{
    fileName[0] = initDir[0] = 0;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_LONGNAMES | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_NOCHANGEDIR;
    ofn.lpTemplateName = MAKEINTRESOURCEW(KORVEL_DIRDLG_TEMPLATE);
    ofn.lpfnHook = hook;
}

void KDirDlg::setInitialDir(const wchar_t* dir)
{
    lstrcpynW(initDir, GetFullPath(ReplaceMacros(dir ? dir : L"")), MAX_PATH);
}

void KDirDlg::setTitle(const wchar_t* text)
{
    title = text;
}

KString KDirDlg::getDirName(KWindow* owner)
{
    ofn.hwndOwner = owner ? owner->getWindow() : nullptr;
    ofn.hInstance = (HINSTANCE)hInstKorvel;
    ofn.lpstrTitle = title.notNull() ? (const wchar_t*)title : nullptr;
    ofn.lpstrInitialDir = initDir[0] ? initDir : nullptr;
    if (!GetOpenFileNameW(&ofn))
        return KString();
    // The dialog answers "<dir>\Junk": the directory ends where the name begins.
    if (ofn.nFileOffset < MAX_PATH)
        fileName[ofn.nFileOffset] = 0;
    lstrcpynW(initDir, fileName, MAX_PATH);
    return KString(fileName);
}

UINT_PTR CALLBACK KDirDlg::hook(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    try {
        for (int id : {FileTypeLabel, FileNameLabel, FileNameEdit, FileList, FileTypeList})
            ShowWindow(GetDlgItem(dlg, id), SW_HIDE);
        // A name in the hidden edit lets OK through without a file chosen.
        SetDlgItemTextW(dlg, FileNameEdit, L"Junk");
        SetFocus(GetDlgItem(dlg, DirList));
    } catch (...) {
    }
    // Focus set here; the dialog must not move it to the first control.
    return FALSE;
}
