// The file and directory choosers answered through their real dialogs: names typed and OK
// clicked, Cancel by Escape, the overwrite prompt answered, a multi-selection, the directory
// kept for the next dialog, and the directory chooser with its file controls hidden.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

// What the timer does to the next chooser of this thread: type, then OK or Escape.
struct Answer {
    std::wstring typed;
    bool cancel = false;
    std::function<void(HWND)> look;
    int prompts = 0, ticks = 0;
    bool acted = false, forced = false;
};
Answer answer;

void Type(const std::wstring& text)
{
    for (wchar_t c : text) {
        const SHORT k = VkKeyScanW(c);
        if (k & 0x100)
            SendKeys({VK_SHIFT, (WORD)(k & 0xff)});
        else
            SendKeys({(WORD)(k & 0xff)});
    }
}

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
{
    // 10 s at most: a chooser left open is closed and the test fails.
    if (++answer.ticks > 100) {
        if (HWND w = FindMessageBox())
            PostMessageW(w, WM_COMMAND, IDCANCEL, 0), answer.forced = true;
        return;
    }
    HWND prompt = FindMessageBox(IDYES);
    if (prompt && !GetDlgItem(prompt, cmb2)) {
        ++answer.prompts;
        PostMessageW(prompt, WM_COMMAND, IDYES, (LPARAM)GetDlgItem(prompt, IDYES));
        return;
    }
    HWND dlg = FindMessageBox(cmb2);
    if (!dlg || answer.acted || answer.ticks < 5)
        return;
    answer.acted = true;
    if (answer.look)
        answer.look(dlg);
    Activate(dlg);
    if (answer.cancel)
        return SendKeys({VK_ESCAPE});
    // The explorer dialog starts with the focus in "Look in": click into the name first.
    HWND name = GetDlgItem(dlg, cmb13) ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
    if (IsWindowVisible(name))
        SendMouseAt(name, 8, 6, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    Type(answer.typed);
    SendKeys({VK_RETURN});
}

// Arms the timer for the chooser that run() opens; false when it had to be forced shut.
template <class F>
bool Answered(const std::wstring& typed, F run, bool cancel = false)
{
    answer = Answer();
    answer.typed = typed, answer.cancel = cancel;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, Step);
    run();
    KillTimer(nullptr, timer);
    if (!answer.acted || answer.forced)
        printf("chooser: acted %d forced %d ticks %d\n", answer.acted, answer.forced, answer.ticks);
    return answer.acted && !answer.forced;
}

KString At(const ScratchDir& dir, const wchar_t* name) { return KString(dir.file(name).c_str()); }

}

TEST(FileChooser, TypedNamesCancelAndOverwritePrompt)
{
    ScratchDir dir;
    WriteBytes(dir.file(L"a.dat"), {1});
    WriteBytes(dir.file(L"b.dat"), {2});
    KFileDlg dlg;
    dlg.setFilter(L"Data", L"*.dat");
    dlg.setInitialDir(dir.path().c_str(), false);
    KString got;
    ASSERT_TRUE(Answered(L"a.dat", [&] { got = dlg.getOpenFileName(nullptr, L"Open"); }));
    EXPECT_EQ(Narrow(At(dir, L"a.dat")), Narrow(got));
    EXPECT_TRUE(dlg.getFlags() & OFN_FILEMUSTEXIST);
    ASSERT_TRUE(Answered(L"", [&] { got = dlg.getOpenFileName(nullptr, L"Open"); }, true));
    EXPECT_TRUE(got.isNull()) << Narrow(got);
    EXPECT_FALSE(dlg.setDefaultExt(L"toolong"));
    EXPECT_TRUE(dlg.setDefaultExt(L"dat"));
    ASSERT_TRUE(Answered(L"b", [&] { got = dlg.getSaveAsFileName(nullptr, L"Save"); }));
    EXPECT_EQ(Narrow(At(dir, L"b.dat")), Narrow(got));
    EXPECT_EQ(1, answer.prompts) << "the overwrite prompt of an existing file";
    ASSERT_TRUE(Answered(L"new", [&] { got = dlg.getSaveAsFileName(nullptr, L"Save"); }));
    EXPECT_EQ(Narrow(At(dir, L"new.dat")), Narrow(got));
    EXPECT_EQ(0, answer.prompts);
}

TEST(FileChooser, MultiSelectionSortedAndDirectoryKept)
{
    ScratchDir dir;
    CreateDirectoryW(dir.file(L"sub").c_str(), nullptr);
    for (const wchar_t* name : {L"a.dat", L"b.dat", L"sub\\c.dat", L"sub\\d.dat"})
        WriteBytes(dir.file(name), {3});
    KFileDlg dlg;
    dlg.setInitialDir(dir.path().c_str(), false);
    KArray<KString> got;
    ASSERT_TRUE(Answered(L"\"b.dat\" \"a.dat\"", [&] { got = dlg.getOpenFileNames(nullptr, L"Many"); }));
    ASSERT_EQ(2, got.count());
    EXPECT_EQ(Narrow(At(dir, L"a.dat")), Narrow(got[0]));
    EXPECT_EQ(Narrow(At(dir, L"b.dat")), Narrow(got[1]));
    EXPECT_FALSE(dlg.getFlags() & OFN_ALLOWMULTISELECT);
    KString one;
    ASSERT_TRUE(Answered(L"sub\\c.dat", [&] { one = dlg.getOpenFileName(nullptr, L"Open"); }));
    EXPECT_EQ(Narrow(At(dir, L"sub\\c.dat")), Narrow(one));
    EXPECT_EQ(Narrow(At(dir, L"sub\\")), Narrow(dlg.getInitialDir())) << "a drive: the directory follows";
    ASSERT_TRUE(Answered(L"d.dat", [&] { one = dlg.getOpenFileName(nullptr, L"Open"); }));
    EXPECT_EQ(Narrow(At(dir, L"sub\\d.dat")), Narrow(one));
    dlg.setUpdateDir(false);
    dlg.setInitialDir(L"", false);
    ASSERT_TRUE(Answered(L"c.dat", [&] { one = dlg.getOpenFileName(nullptr, L"Open"); }));
    EXPECT_EQ(Narrow(At(dir, L"sub\\")), Narrow(dlg.getInitialDir())) << "kept without update";
}

TEST(FileChooser, InitialDirectoryWithMacroIsCreated)
{
    ScratchDir dir;
    EnvVar root(L"KFILEDLG_ROOT", dir.path().c_str());
    KFileDlg dlg;
    dlg.setInitialDir(L"[KFILEDLG_ROOT]made", true);
    EXPECT_EQ(Narrow(At(dir, L"made")), Narrow(dlg.getInitialDir()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"made").c_str()));
    dlg.setInitialDir(L"[KFILEDLG_ROOT]other", false);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"other").c_str()));
    dlg.setInitialPath(L"c:\\x\\y\\name.txt");
    EXPECT_EQ("c:\\x\\y\\", Narrow(dlg.getInitialDir()));
}

TEST(DirChooser, ReturnsTheDirectoryItWasOpenedIn)
{
    ScratchDir dir;
    CreateDirectoryW(dir.file(L"sub").c_str(), nullptr);
    KDirDlg dlg;
    dlg.setTitle(L"Folder");
    dlg.setInitialDir(dir.file(L"sub").c_str());
    std::vector<int> shown;
    std::wstring edit(16, L'\0');
    bool listFocused = false;
    KString got;
    ASSERT_TRUE(Answered(L"", [&] {
        answer.look = [&](HWND d) {
            for (int id : {stc2, stc3, edt1, lst1, cmb1, lst2, IDOK})
                shown.push_back(IsWindowVisible(GetDlgItem(d, id)) ? 1 : 0);
            edit.resize(GetDlgItemTextW(d, edt1, &edit[0], 16));
            listFocused = GetFocus() == GetDlgItem(d, lst2);
        };
        got = dlg.getDirName(nullptr);
    }));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 1, 1}), shown);
    EXPECT_EQ("Junk", Narrow(edit));
    EXPECT_TRUE(listFocused);
    EXPECT_EQ(Narrow(At(dir, L"sub\\")), Narrow(got));
    EXPECT_EQ(Narrow(got), Narrow(dlg.getInitDir()));
}
