// The hover tip: placed at the pointer, kept on the monitor, opened by resting the pointer on a
// window with a tip text and closed when it leaves.
#include <gtest/gtest.h>
#include "app_tests.h"

static RECT RectOf(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return r;
}

TEST(ToolTip, PlacedOnTheMonitorAndOpenedByHovering)
{
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    {
        KToolTip tip(KString(L"Voltage"));
        tip.track(100, 100);
        const RECT free = RectOf(tip);
        const int w = free.right - free.left, h = free.bottom - free.top;
        EXPECT_EQ((Longs{100, 100}), (Longs{free.left, free.top}));
        tip.track(W - 5, H - 5); // opens left of and above the point
        EXPECT_EQ((Longs{W - 5 - w - 1, H - 5 - 24 - h}), (Longs{RectOf(tip).left, RectOf(tip).top}));
        tip.track(-50, -50);
        EXPECT_EQ((Longs{0, 0}), (Longs{RectOf(tip).left, RectOf(tip).top}));
        EXPECT_TRUE(IsWindowVisible(tip) && (GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST));
    }
    const bool preference = KAppClass::getUseToolTip();
    KAppClass::setUseToolTip(1);
    WindowOwner windows;
    Probe* w = windows.own(Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 200, WA_Y, 200, WA_WIDTH, 100,
                                       WA_HEIGHT, 60));
    w->setToolTipText(KString(L"Tip text"));
    w->show(true);
    MovePointer(600, 600);
    MovePointer(240, 230);
    MovePointer(250, 230);
    EXPECT_TRUE(WaitFor([] { return KWindow::tool_tip != nullptr; }, 4000)) << "the pointer rested";
    if (KToolTip* tip = KWindow::tool_tip) {
        EXPECT_EQ("Tip text", Narrow(tip->getText()));
        EXPECT_EQ((Longs{266, 254}), (Longs{RectOf(*tip).left, RectOf(*tip).top}));
    }
    MovePointer(600, 600);
    EXPECT_TRUE(WaitFor([] { return KWindow::tool_tip == nullptr; }, 4000)) << "the pointer left";
    KAppClass::setUseToolTip(preference);
}

// The tool strip lines its children up from both ends.
TEST(ButtonBar, ChildrenFromBothEndsAndTheNaturalSize)
{
    WindowOwner windows;
    Probe* top = windows.own(Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_WIDTH, 400, WA_HEIGHT, 100));
    top->show(true);
    KArgList none;
    KButtonBar* bar = MakeButtonBar(top, &none);
    KWindow* c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = Probe::make(bar, WA_WIDTH, 40 + 10 * i, WA_HEIGHT, 10 + i, WA_ATTACH_SIDE, i == 3 ? 1 : 0);
    bar->configure(false);
    // 4 + 40 + 4 + 50 + 4 + 60 on the left, 4 + 70 on the right; as high as the highest.
    EXPECT_EQ((Longs{236, 13}), (Longs{bar->width(), bar->height()}));
    EXPECT_EQ((Longs{0, 44, 98, 166}), (Longs{c[0]->X(), c[1]->X(), c[2]->X(), c[3]->X()}));
    EXPECT_EQ(13, c[0]->Height()) << "every child takes the common height";
    bar->resize(300, 13);
    EXPECT_TRUE(WaitFor([&] { return c[3]->X() == 230; })) << "the right group follows the right end";
    delete c[1];
    EXPECT_EQ((Longs{2, 1}), (Longs{bar->leftCount(), bar->rightCount()}));
}
