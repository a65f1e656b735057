// Labels, buttons and progress bars under a shown top level: real input, pixels read back.
#include <gtest/gtest.h>
#include <algorithm>
#include "test_support.h"

namespace {

// 0x00RRGGBB of a COLORREF, as Pixels reports it.
DWORD Rgb(COLORREF c) { return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

KWindow* Stage(WindowOwner& windows)
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_CLIENT_WIDTH, 400);
    args.add(WA_CLIENT_HEIGHT, 200);
    KWindow* top = windows.own(MakeWindow(nullptr, &args));
    top->show(true);
    Activate(*top);
    PumpMessages();
    return top;
}

// The window's client area (or the whole window with its border) as pixels.
std::vector<DWORD> Picture(KWindow* w, bool whole = false)
{
    PumpMessages(); // pending paints first: a new window gets its border from WM_NCPAINT
    KMemDC dc(whole ? w->Width() : w->width(), whole ? w->Height() : w->height());
    w->dump(dc, whole ? 3 : 2, 0, 0);
    return Pixels(dc);
}

void Button(KWindow* w, DWORD flags)
{
    POINT p = {w->width() / 2, w->height() / 2};
    ClientToScreen(*w, &p);
    MovePointer(p.x, p.y);
    MouseButtons({flags});
}

void Click(KWindow* w) { Button(w, MOUSEEVENTF_LEFTDOWN), Button(w, MOUSEEVENTF_LEFTUP); }

// Columns of the client area that hold a pixel of the given colour.
std::vector<int> Columns(KWindow* w, DWORD colour)
{
    const std::vector<DWORD> p = Picture(w);
    std::vector<int> out;
    for (int x = 0; x < w->width(); ++x)
        for (int y = 0; y < w->height(); ++y)
            if (p[(size_t)(y * w->width() + x)] == colour && (out.push_back(x), true))
                break;
    return out;
}

struct Recorder {
    std::vector<DWORD> times;
    std::vector<bool> states;
    std::vector<unsigned long> types;
    void pushed(KWindow*, PushButtonEvent* e) { times.push_back(GetTickCount()), states.push_back(e->state); }
    void toggled(KWindow*, ToggleButtonEvent* e) { states.push_back(e->state), types.push_back(e->type); }
};

} // namespace

TEST(Labels, NaturalSizesAndPrintText)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KWinDC dc(stage);
    dc.setFont(DEFAULT_VAR_FONT);
    int tw = 0, th = 0;
    dc.getTextExtent(KString(L"Hello"), &tw, &th);
    const int a = dc.getCharWidth(L'A');
    struct Case { int field, w, h, wantW, wantH; const char* print; };
    const Case cases[] = {
        {5, 0, 0, 5 * a + 4, th + 4, "Hello"},
        {-1, 0, 0, tw + 4, th + 4, "Hello"},
        {0, 0, 0, 4, th + 4, "Hello"},
        {8, 50, 20, 50, 20, "Hello   "},
    };
    for (const Case& c : cases) {
        KArgList args;
        if (c.w) {
            args.add(WA_CLIENT_WIDTH, c.w);
            args.add(WA_CLIENT_HEIGHT, c.h);
        }
        KLabel* l = MakeLabel(stage, &args, KString(L"Hello"), c.field);
        EXPECT_EQ((std::vector<int>{c.wantW, c.wantH}), (std::vector<int>{l->width(), l->height()})) << c.field;
        EXPECT_EQ(c.print, Narrow(l->getPrintText(-1))) << c.field;
    }
}

TEST(Labels, TextPlacementColoursAndShadows)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    // A raised edge is light at the top left, a sunken one dark.
    struct Case { int align; int first, last; int shadow; COLORREF corner; };
    const Case cases[] = {{1, 2, 2 + 40, 5, GetSysColor(COLOR_3DLIGHT)},
                          {2, 118 - 40, 118, 10, GetSysColor(COLOR_3DSHADOW)}};
    for (const Case& c : cases) {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 120);
        args.add(WA_CLIENT_HEIGHT, 24);
        args.add(WA_BACKGROUND, (unsigned long)0xFFFFFF);
        args.add(WA_FOREGROUND, (unsigned long)0);
        args.add(WA_ALIGN_X, c.align);
        args.add(WA_JUST_X, 0);
        args.add(WA_SHADOW_STYLE, c.shadow);
        KLabel* l = MakeLabel(stage, &args, KString(L"iiii"), -1);
        l->draw();
        const std::vector<int> ink = Columns(l, 0);
        ASSERT_FALSE(ink.empty());
        EXPECT_LE(c.first, ink.front()) << "inside the left margin";
        EXPECT_GE(c.last - 1, ink.back()) << "inside the right margin";
        EXPECT_EQ(Rgb(c.corner), Picture(l, true)[0]) << "shadow " << c.shadow;
        l->wprintf(0x0000FF, 0xFFFFFF, "%d", 7);
        EXPECT_FALSE(Columns(l, 0xFF0000).empty()) << "wprintf's foreground, as red";
        EXPECT_EQ("7", Narrow(l->getText()));
        delete l;
    }
}

TEST(PushButtons, PressLooksSunkenAndRepeatsWhileHeld)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KArgList none;
    KPushButton* b = MakePushButtonF(stage, &none, "Go %d", 1);
    EXPECT_EQ("Go 1", Narrow(b->getText()));
    Recorder r;
    b->_addEventHandler(new PushButtonHandler<Recorder>(&r, &Recorder::pushed));
    b->setDelay(300, 100);
    const DWORD raised = Picture(b, true)[0];
    EXPECT_EQ(Rgb(GetSysColor(COLOR_3DLIGHT)), raised);
    Button(b, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == 1; }));
    EXPECT_TRUE(b->getState());
    EXPECT_EQ(Rgb(GetSysColor(COLOR_3DSHADOW)), Picture(b, true)[0]) << "pressed";
    ASSERT_TRUE(WaitFor([&] { return r.states.size() >= 5; }, 3000)) << "repeats while held";
    EXPECT_GE(r.times[1] - r.times[0], 250u) << "first delay";
    EXPECT_LT(r.times[4] - r.times[1], 3 * 250u) << "repeat delay";
    Button(b, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return !r.states.back(); }));
    EXPECT_FALSE(b->getState());
    EXPECT_EQ(raised, Picture(b, true)[0]) << "released";
    const size_t after = r.states.size();
    EXPECT_FALSE(WaitFor([&] { return r.states.size() > after; }, 500)) << "no repeat after release";
    b->setDelay(0, 100);
    Button(b, MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(WaitFor([&] { return r.states.size() > after + 1; }, 600)) << "repeat switched off";
    Button(b, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == after + 2; }));
    b->setDelay(300, 100);
    Button(b, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitFor([&] { return r.states.size() > after + 3; }, 1500)) << "repeat restored";
    Button(b, MOUSEEVENTF_LEFTUP);
}

TEST(ToggleButtons, ClicksFlipPushStyleAndCheckBoxes)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KArgList none;
    KToggleButton* t = MakeToggleButton(stage, &none, KString(L"Sound"));
    Recorder r;
    t->_addEventHandler(new ToggleButtonHandler<Recorder>(&r, &Recorder::toggled));
    Click(t);
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == 1; }));
    EXPECT_TRUE(t->isSet());
    EXPECT_EQ(65u, r.types[0]) << "a left press";
    EXPECT_EQ(Rgb(GetSysColor(COLOR_3DSHADOW)), Picture(t, true)[0]) << "stays in";
    EXPECT_EQ("Sound: ON", Narrow(t->getPrintText(-1)));
    PressKeys({VK_SPACE});
    EXPECT_FALSE(WaitFor([&] { return r.states.size() > 1; }, 300)) << "no keys in push style";
    Click(t);
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == 2; }));
    EXPECT_FALSE(t->getState());

    KArgList box;
    box.add(WA_CHECK_BOX, 2);
    box.add(WA_Y, 40);
    KToggleButton* c = MakeToggleButton(stage, &box, KString(L"Check"));
    c->_addEventHandler(new ToggleButtonHandler<Recorder>(&r, &Recorder::toggled));
    KWinDC dc(c);
    dc.setFont(c->getFont());
    int aw = 0, ah = 0;
    dc.getTextExtent(L"A", 1, &aw, &ah);
    EXPECT_EQ(ah - 2, c->indicatorSize());
    EXPECT_EQ(ah - 2 + 4, c->leftMargin());
    EXPECT_EQ(0, c->shadowStyle());
    const size_t centre = (size_t)(c->height() / 2 * c->width() + 2 + c->indicatorSize() / 2);
    EXPECT_EQ(Rgb(c->getBackground()), Picture(c)[centre]) << "unset: empty square";
    Click(c);
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == 3; }));
    EXPECT_TRUE(c->getState());
    EXPECT_EQ(0x00FF00u, Picture(c)[centre]) << "set: green square";
    c->clearIsModified();
    PressKeys({VK_SPACE});
    ASSERT_TRUE(WaitFor([&] { return r.states.size() == 4; }));
    EXPECT_FALSE(c->getState());
    EXPECT_EQ(65u, r.types[3]);
    EXPECT_TRUE(c->getIsModified()) << "a typed blank marks the box modified";
}

TEST(ProgressBars, FillAndPercentage)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 200);
    args.add(WA_CLIENT_HEIGHT, 24);
    KProgressBar* bar = MakeProgressBar(stage, &args);
    UpdateWindow(*stage);
    PumpMessages();
    EXPECT_EQ(10, bar->shadowStyle());
    struct Case { double value; int filled; };
    for (const Case& c : {Case{0, 0}, Case{100, 200}, Case{37.9, 75}, Case{100.5, 75}, Case{-1, 75}}) {
        bar->setValue(c.value);
        const std::vector<DWORD> p = Picture(bar);
        EXPECT_EQ(c.filled, std::count(p.begin() + 200, p.begin() + 400, 0x80FFFFu)) << "row 1 " << c.value;
        const std::vector<int> ink = Columns(bar, 0);
        ASSERT_FALSE(ink.empty()) << c.value;
        EXPECT_LT(std::abs((ink.front() + ink.back()) / 2 - 100), 12) << "centred " << c.value;
    }
}
