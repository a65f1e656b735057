// The colour chooser answered through its real dialog: a choice, a cancel that undoes edits of
// the custom colours, and the custom colours kept across runs.
#include <gtest/gtest.h>
#include "test_support.h"

TEST(ColorChooser, OkTakesTheChoiceAndCancelUndoesCustomEdits)
{
    const auto Custom = [](const COLORREF* c) { return std::vector<COLORREF>(c, c + 16); };
    WindowOwner windows;
    KWindow* owner = ShownPopup(windows, 0, 0, 120, 80);
    ScratchDir dir;
    const KString file(dir.file(L"colors.opt").c_str());
    for (bool ok : {true, false}) {
        CustColorOpt = CustomColorOptions();
        CustColorOpt[3] = RGB(1, 2, 3);
        ASSERT_TRUE(CustColorOpt.store(file, true));
        const std::vector<COLORREF> stored = Custom(CustColorOpt.getColors());
        COLORREF colour = RGB(7, 7, 7);
        ColorDialogAnswer answer;
        answer.colour = RGB(10, 200, 30);
        answer.addCustom = true;
        answer.ok = ok;
        AnswerColorDialog(answer);
        KColorDlg dlg;
        EXPECT_EQ(ok, dlg.choose(owner, &colour));
        ASSERT_TRUE(ColorDialogResult().found && !ColorDialogResult().forced) << ok;
        EXPECT_EQ((DWORD)(CC_RGBINIT | CC_FULLOPEN), dlg.record().Flags);
        EXPECT_EQ(owner->getWindow(), dlg.record().hwndOwner);
        const std::vector<COLORREF> edited = Custom(ColorDialogResult().custom);
        EXPECT_NE(stored, edited) << ok << ": the dialog edited the custom colours";
        EXPECT_EQ(ok ? RGB(10, 200, 30) : RGB(7, 7, 7), colour) << ok;
        EXPECT_EQ(ok ? edited : stored, Custom(CustColorOpt.getColors())) << ok;
        CustomColorOptions onDisk;
        ASSERT_TRUE(onDisk.load(file, false));
        EXPECT_EQ(ok ? edited : stored, Custom(onDisk.getColors())) << ok << ": the file";
    }
    CustColorOpt = CustomColorOptions();
}

TEST(ColorChooser, CustomColoursFoundAgainAfterARestart)
{
    ScratchDir dir;
    const std::wstring file = L" \"" + dir.file(L"colors.opt") + L"\"";
    std::string stored, read;
    ASSERT_EQ(0u, RunChild(L"colorstore.exe", L"store" + file + L" 2a3b4c", &stored)) << stored;
    ASSERT_EQ(0u, RunChild(L"colorstore.exe", L"read" + file, &read)) << read;
    const std::vector<std::string> before = Lines(stored), after = Lines(read);
    ASSERT_EQ(17u, before.size()) << stored;
    EXPECT_EQ("chosen 4c3b2a", before[0]);
    EXPECT_EQ(1, std::count(before.begin(), before.end(), "4c3b2a")) << "added to the custom colours";
    EXPECT_EQ(std::vector<std::string>(before.begin() + 1, before.end()), after);
}
