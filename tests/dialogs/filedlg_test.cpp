// The choosers answered through their real dialogs: names typed, Escape, the overwrite prompt,
// a multi-selection, the directory kept, and the directory chooser with its file controls hidden.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

// What the timer does to the next chooser of this thread: type, then OK or Escape.
struct Answer {
    std::wstring typed;
    std::function<void(HWND)> look;
    int prompts = 0, ticks = 0;
    bool cancel = false, acted = false, forced = false;
} answer;

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
{
    // 10 s at most: a chooser left open is closed and the test fails.
    if (++answer.ticks > 100) {
        if (HWND w = FindMessageBox())
            PostMessageW(w, WM_COMMAND, IDCANCEL, 0), answer.forced = true;
        return;
    }
    HWND prompt = FindMessageBox(IDYES);
    if (prompt && !GetDlgItem(prompt, cmb2))
        return (void)PostMessageW(prompt, WM_COMMAND, IDYES, 0), (void)++answer.prompts;
    HWND dlg = FindMessageBox(cmb2);
    if (!dlg || answer.acted || answer.ticks < 5)
        return;
    answer.acted = true;
    answer.look ? answer.look(dlg) : (void)0;
    Activate(dlg);
    if (answer.cancel)
        return SendKeys({VK_ESCAPE});
    // The explorer dialog starts with the focus in "Look in": click into the name first.
    HWND name = GetDlgItem(dlg, cmb13) ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
    if (IsWindowVisible(name))
        SendMouseAt(name, 8, 6, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    for (wchar_t c : answer.typed) {
        const SHORT k = VkKeyScanW(c);
        k & 0x100 ? SendKeys({VK_SHIFT, (WORD)(k & 0xff)}) : SendKeys({(WORD)(k & 0xff)});
    }
    SendKeys({VK_RETURN});
}

// Arms the timer for the chooser that run() opens; false when it had to be forced shut.
template <class F>
bool Answered(const std::wstring& typed, F run, bool cancel = false)
{
    answer = Answer(), answer.typed = typed, answer.cancel = cancel;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, Step);
    run();
    KillTimer(nullptr, timer);
    return answer.acted && !answer.forced;
}

KString At(const ScratchDir& dir, const wchar_t* name) { return KString(dir.file(name).c_str()); }

}

TEST(FileChooser, TypedNamesCancelPromptMultiSelectionAndKeptDirectory)
{
    ScratchDir dir;
    CreateDirectoryW(dir.file(L"sub").c_str(), nullptr);
    for (const wchar_t* name : {L"a.dat", L"b.dat", L"sub\\c.dat", L"sub\\d.dat"})
        WriteBytes(dir.file(name), {3});
    KFileDlg dlg;
    dlg.setInitialDir(dir.path().c_str(), false);
    EXPECT_TRUE(!dlg.setDefaultExt(L"toolong") && dlg.setDefaultExt(L"dat"));
    KArray<KString> many;
    ASSERT_TRUE(Answered(L"\"b.dat\" \"a.dat\"", [&] { many = dlg.getOpenFileNames(nullptr, L"Many"); }));
    ASSERT_EQ(2, many.count());
    EXPECT_EQ(Narrow(At(dir, L"a.dat")) + " " + Narrow(At(dir, L"b.dat")), Narrow(many[0]) + " " + Narrow(many[1]));
    const struct { const wchar_t* typed; bool save, cancel; const wchar_t* pathInDir; int prompts; } cases[] = {
        {L"a.dat", false, false, L"a.dat", 0}, {L"", false, true, nullptr, 0},
        {L"b", true, false, L"b.dat", 1},      {L"new", true, false, L"new.dat", 0},
        {L"sub\\c.dat", false, false, L"sub\\c.dat", 0}, {L"d.dat", false, false, L"sub\\d.dat", 0}};
    for (const auto& c : cases) {
        KString got;
        ASSERT_TRUE(Answered(c.typed, [&] {
            got = c.save ? dlg.getSaveAsFileName(nullptr, L"Save") : dlg.getOpenFileName(nullptr, L"Open");
        }, c.cancel)) << Narrow(c.typed);
        EXPECT_EQ(c.pathInDir ? Narrow(At(dir, c.pathInDir)) : "", Narrow(got)) << Narrow(c.typed);
        EXPECT_EQ(c.prompts, answer.prompts) << Narrow(c.typed);
    }
    EXPECT_EQ(Narrow(At(dir, L"sub\\")), Narrow(dlg.getInitialDir())) << "a drive: the directory follows";
    EXPECT_EQ((DWORD)(OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT), dlg.getFlags() & (OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT));
    EnvVar root(L"KFILEDLG_ROOT", dir.path().c_str());
    dlg.setInitialDir(L"[KFILEDLG_ROOT]made", true);
    EXPECT_EQ(Narrow(At(dir, L"made")), Narrow(dlg.getInitialDir()));
    dlg.setInitialDir(L"[KFILEDLG_ROOT]other", false);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"made").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"other").c_str()));
    dlg.setInitialPath(L"c:\\x\\y\\name.txt");
    EXPECT_EQ("c:\\x\\y\\", Narrow(dlg.getInitialDir()));
}

TEST(DirChooser, ReturnsTheDirectoryItWasOpenedInWithFileControlsHidden)
{
    ScratchDir dir;
    CreateDirectoryW(dir.file(L"sub").c_str(), nullptr);
    KDirDlg dlg;
    dlg.setInitialDir(dir.file(L"sub").c_str());
    std::vector<int> seen; // visible: the file labels, edit, lists, OK; then the focus on the directory list
    wchar_t edit[16] = L"";
    KString got;
    ASSERT_TRUE(Answered(L"", [&] {
        answer.look = [&](HWND d) {
            for (int id : {stc2, stc3, edt1, lst1, cmb1, lst2, IDOK})
                seen.push_back(IsWindowVisible(GetDlgItem(d, id)) ? 1 : 0);
            seen.push_back(GetFocus() == GetDlgItem(d, lst2));
            GetDlgItemTextW(d, edt1, edit, 16);
        };
        got = dlg.getDirName(nullptr);
    }));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 1, 1, 1}), seen);
    EXPECT_EQ("Junk", Narrow(edit));
    EXPECT_EQ(Narrow(At(dir, L"sub\\")) + "|" + Narrow(At(dir, L"sub\\")), Narrow(got) + "|" + Narrow(dlg.getInitDir()));
    ASSERT_TRUE(Answered(L"", [&] { got = dlg.getDirName(nullptr); }, true));
    EXPECT_EQ("", Narrow(got)) << "cancelled";
}
