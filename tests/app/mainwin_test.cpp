// The main window's parts: tool strip along the top, status strip with its grip along the
// bottom, the work area between; messages and reports of any window printed into the strip.
#include <gtest/gtest.h>
#include "app_tests.h"

namespace {

struct Main : KMainWin {
    Main() : KMainWin(L"Main Parts")
    {
        KArgList args;
        args.add(WA_MESSAGE_BOX, true);
        args.add(WA_BUTTON_BAR, true);
        args.add(WA_CLIENT_WIDTH, 400);
        args.add(WA_CLIENT_HEIGHT, 200);
        init(nullptr, &args);
    }
};

} // namespace

TEST(MainWindowParts, StripsWorkAreaAndMessagesInTheStatusStrip)
{
    WindowOwner windows;
    Main* m = windows.own(new Main);
    m->addLabel(KString(L"Ready"), SIDE_LEFT);
    m->addPushButton(KString(L"Go"), SIDE_RIGHT);
    const int side = m->addMessageWin(8, SIDE_RIGHT);
    m->configureAll(false);
    m->show(true);
    KMessageWin* strip = m->getMessageWin();
    ASSERT_TRUE(strip && m->titleBar() && m->mainForm() && side == 1);
    const int g = GetSystemMetrics(SM_CXVSCROLL);
    // Tool strip on top, status strip and grip at the bottom, the work area between.
    EXPECT_EQ((Longs{0, 0, 400}), (Longs{m->titleBar()->X(), m->titleBar()->Y(), m->titleBar()->Width()}));
    EXPECT_EQ((Longs{0, 200, 400 - g}), (Longs{strip->X(), strip->Y() + strip->Height(), strip->Width()}));
    EXPECT_EQ(m->titleBar()->Height(), m->mainForm()->Y());
    EXPECT_EQ(strip->Y(), m->mainForm()->Y() + m->mainForm()->Height());

    // Reports of a window in the work area go to the strip, in their colours.
    KWindow* inner = Probe::make(m->mainForm(), WA_WIDTH, 50, WA_HEIGHT, 20);
    struct Report { void (*print)(KWindow*); const char* text; COLORREF fg, bg; int pane; };
    const Report reports[] = {
        {[](KWindow* w) { w->err_printf(ERRCODE(1, 42), "bad value %d", 7); }, "(01-0042) bad value 7",
         0xFFFFFF, 0x0000FF, 0},
        {[](KWindow* w) { w->warn_printf(ERRCODE(2, 3), "careful"); }, "(02-0003) careful", 0, 0x00FFFF, 0},
        {[](KWindow* w) { w->mprintf(1, "x=%d", 5); }, "x=5", BUTTON_TEXT_COLOR, BUTTON_FACE_COLOR, 1},
    };
    for (const Report& r : reports) {
        r.print(inner);
        KProgressBar* pane = strip->getPane(r.pane);
        EXPECT_EQ(r.text, Narrow(pane->getText()));
        EXPECT_TRUE(pane->getForeground() == r.fg && pane->getBackground() == r.bg) << r.text;
        UpdateWindow(*pane);
        KWinDC dc(pane);
        EXPECT_EQ(r.bg, dc.getPixel(pane->width() - 5, 3)) << r.text;
    }
    RedrawWindow(*m, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    KMemDC picture(m->Width(), m->Height());
    m->dump(picture, 1, 0, 0);
    SaveBitmap(ProgramDir() + L"mainwin.bmp", picture); // kept to be looked at
    inner->mshow_progress(0, 37);
    EXPECT_TRUE(strip->getPane(0)->getValue() == 37 && strip->getMessageLength(5) == -1);
    strip->wprintf(-1, 0, 0, "nowhere");
    // A press anywhere clears the message of pane 0.
    inner->mprintf("hello");
    SendMessageW(*inner, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(*inner, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(0, strip->getMessageLength(0));
}
