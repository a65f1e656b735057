// The colour chooser answered through its real dialog: a choice, a cancel that
// undoes edits of the custom colours, and the custom colours kept across runs.
#include <gtest/gtest.h>
#include "test_support.h"
#include "kcolordlg.h"

namespace {

std::vector<COLORREF> Custom(const COLORREF* c) { return std::vector<COLORREF>(c, c + 16); }

} // namespace

TEST(ColorChooser, OkTakesTheChoiceAndCancelUndoesCustomEdits)
{
    WindowOwner windows;
    KWindow* owner = ShownPopup(windows, 0, 0, 120, 80);
    ScratchDir dir;
    struct Case { const char* name; COLORREF pick; bool ok; };
    const Case cases[] = {
        {"ok", RGB(10, 200, 30), true},
        {"cancel", RGB(99, 1, 2), false},
    };
    for (const Case& c : cases) {
        CustColorOpt = CustomColorOptions();
        CustColorOpt[3] = RGB(1, 2, 3);
        ASSERT_TRUE(CustColorOpt.store(KString(dir.file(L"colors.opt").c_str()), true));
        const std::vector<COLORREF> stored = Custom(CustColorOpt.getColors());
        COLORREF colour = RGB(7, 7, 7);
        ColorDialogAnswer answer;
        answer.colour = c.pick, answer.addCustom = true, answer.ok = c.ok;
        answer.custom = CustColorOpt.getColors();
        AnswerColorDialog(answer);
        KColorDlg dlg;
        EXPECT_EQ(c.ok, dlg.choose(owner, &colour)) << c.name;
        const ColorDialogSeen& seen = ColorDialogResult();
        ASSERT_TRUE(seen.found && !seen.forced) << c.name << ": the dialog was answered by clicks";
        EXPECT_EQ((DWORD)(CC_RGBINIT | CC_FULLOPEN), dlg.record().Flags);
        EXPECT_EQ(owner->getWindow(), dlg.record().hwndOwner);
        const std::vector<COLORREF> inDialog = Custom(seen.custom);
        EXPECT_NE(stored, inDialog) << c.name << ": the dialog edited the custom colours";
        EXPECT_EQ(c.ok ? c.pick : RGB(7, 7, 7), colour) << c.name;
        EXPECT_EQ(c.ok ? inDialog : stored, Custom(CustColorOpt.getColors())) << c.name;
        CustomColorOptions onDisk;
        ASSERT_TRUE(onDisk.load(KString(dir.file(L"colors.opt").c_str()), false));
        EXPECT_EQ(c.ok ? inDialog : stored, Custom(onDisk.getColors())) << c.name << ": the file";
    }
    CustColorOpt = CustomColorOptions();
}

TEST(ColorChooser, CustomColoursFoundAgainAfterARestart)
{
    ScratchDir dir;
    const std::wstring file = dir.file(L"colors.opt");
    std::string stored, read;
    ASSERT_EQ(0u, RunChild(L"colorstore.exe", L"store \"" + file + L"\" 0x2a3b4c", &stored)) << stored;
    ASSERT_EQ(0u, RunChild(L"colorstore.exe", L"read \"" + file + L"\"", &read)) << read;
    const std::vector<std::string> before = Lines(stored), after = Lines(read);
    ASSERT_EQ(17u, before.size()) << stored;
    EXPECT_EQ("chosen 2a3b4c", before[0]);
    EXPECT_NE(before.end(), std::find(before.begin(), before.end(), "4c3b2a")) << "the added custom colour";
    EXPECT_EQ(std::vector<std::string>(before.begin() + 1, before.end()), after);
}
