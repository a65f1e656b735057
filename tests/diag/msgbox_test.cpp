// Message boxes of a program without application object or windows, read and answered by a watcher
// thread; reports without a window; fatal errors.
#include <gtest/gtest.h>
#include <functional>
#include "test_support.h"

TEST(MessageBoxes, TitleTextIconButtonsResultAndReportsWithoutWindows)
{
    ASSERT_TRUE(!App && !GetActiveWindow());
    KString name(L"x.opt");
    KorvelException e(1, 5, "disk %s", "full");
    struct Case {
        std::function<int()> show; // the box's result, 0 for boxes without one
        int press;
        std::wstring title, text; // the title after "Tarnwell"
        LPCWSTR icon;             // system icon shown, or null
        std::vector<int> buttons;
    } cases[] = {
        {[&] { return ErrorBox(ERRCODE(1, 1013), "Could not load option file \"%S\".", &name), 0; },
         IDOK, L" (01-1013)", L"Could not load option file \"x.opt\".", IDI_HAND, {IDOK}},
        // The caller's text goes through "%S": a '%' in it is shown as it is.
        {[] { return WarnBox(ERRCODE(2, 7), "%s", "100% sure"), 0; }, IDOK, L" (02-0007)", L"100% sure",
         IDI_EXCLAMATION, {IDOK}},
        {[] { return WarnBox(MB_OKCANCEL, ERRCODE(12, 345), "Overwrite %d files?", 3); }, IDCANCEL,
         L" (12-0345)", L"Overwrite 3 files?", IDI_EXCLAMATION, {IDOK, IDCANCEL}},
        {[] { return InfoBox("%d items", 12), 0; }, IDOK, L"", L"12 items", IDI_ASTERISK, {IDOK}},
        {[] { return QuestionBox(nullptr, MB_YESNO, "Save %s?", "a.txt"); }, IDNO, L"", L"Save a.txt?",
         IDI_QUESTION, {IDYES, IDNO}},
        {[] { return MessageBoxW(nullptr, MB_RETRYCANCEL, "Printer %s offline", "P1"); }, IDRETRY, L"",
         L"Printer P1 offline", nullptr, {IDRETRY, IDCANCEL}},
        // An exception's text below the caller's; the two are logged too.
        {[&] { return e.popupMessage(ERRCODE(1, 1014), "Could not store option file."), 0; }, IDOK,
         L" (01-1014)", L"Could not store option file.\n\ndisk full", IDI_HAND, {IDOK}},
    };
    MarkLog("boxes");
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        BoxWatcher watcher(c.press);
        const int result = c.show();
        ASSERT_EQ(1u, watcher.count());
        EXPECT_EQ(c.press == IDOK ? 0 : c.press, result);
        const ShownBox box = watcher.box();
        EXPECT_TRUE(box.title == L"Tarnwell" + c.title && box.text == c.text && box.buttons == c.buttons);
        // No window anywhere: the box has no owner and is asked to stay on top.
        EXPECT_TRUE(box.icon == (c.icon ? LoadIconW(nullptr, c.icon) : nullptr) && !box.owner);
        TODO_WINE(box.exStyle & WS_EX_TOPMOST);
    }
    // Reports through a null window or a missing application object do nothing.
    KWindow* none = nullptr;
    none->err_printf(ERRCODE(9, 9), "null window");
    none->warn_printf(ERRCODE(9, 9), "null window");
    none->mprintf("null window");
    App->err_printf(ERRCODE(9, 9), "no application");
    App->warn_printf(1, ERRCODE(9, 9), "no application");
    App->mprintf("no application");
    EXPECT_EQ("Could not store option file.: disk full\r\n", LogAfter("boxes"));
}

TEST(FatalErrors, FatalShowsFileLineAndTextAndEndsTheProcess)
{
    std::string out;
    const DWORD code = RunChild(L"diag_child.exe", L"fatal", &out);
    EXPECT_TRUE(out.find("box: FILE: child.cpp LINE: 42 boom 7\r\n") != out.npos && code != 0) << out;
    EXPECT_EQ(std::string::npos, out.find("Fatal returned")) << out;
}
