// Labels, buttons and progress bars under a shown top level: real input, pixels read back.
#include "control_tests.h"

// The window's client area (or the whole window with its border) as pixels.
static std::vector<DWORD> Picture(KWindow* w, bool whole = false)
{
    PumpMessages(); // pending paints first: a new window gets its border from WM_NCPAINT
    KMemDC dc(whole ? w->Width() : w->width(), whole ? w->Height() : w->height());
    w->dump(dc, whole ? 3 : 2, 0, 0);
    return Pixels(dc);
}

static void Button(KWindow* w, DWORD flag)
{
    SendMouseAt(*w, w->width() / 2, w->height() / 2, {flag});
    PumpMessages();
}

// Columns of the client area that hold a pixel of the given colour.
static std::vector<int> Columns(KWindow* w, DWORD colour)
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
    std::vector<std::pair<bool, unsigned long>> toggles; // state and type
    void pushed(KWindow*, PushButtonEvent* e)
    {
        times.push_back(GetTickCount());
        states.push_back(e->state);
    }
    void toggled(KWindow*, ToggleButtonEvent* e) { toggles.push_back({e->state, e->type}); }
};

TEST(Controls, LabelsProgressBarsAndButtons)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KWinDC dc(stage);
    dc.setFont(DEFAULT_VAR_FONT);
    int tw = 0, th = 0;
    dc.getTextExtent(KString(L"Hello"), &tw, &th);
    const int a = dc.getCharWidth(L'A');
    struct Case { int field, w, h, wantW, wantH; const char* print; };
    const Case cases[] = {{5, 0, 0, 5 * a + 4, th + 4, "Hello"}, {-1, 0, 0, tw + 4, th + 4, "Hello"},
                          {0, 0, 0, 4, th + 4, "Hello"}, {8, 50, 20, 50, 20, "Hello   "}};
    for (const Case& c : cases) {
        KArgList args;
        if (c.w) {
            args.add(WA_CLIENT_WIDTH, c.w);
            args.add(WA_CLIENT_HEIGHT, c.h);
        }
        KLabel* l = MakeLabel(stage, &args, KString(L"Hello"), c.field);
        EXPECT_EQ((std::vector<int>{c.wantW, c.wantH}), (std::vector<int>{l->width(), l->height()}))
            << c.field;
        EXPECT_EQ(c.print, Narrow(l->getPrintText(-1))) << c.field;
        delete l;
    }
    // A raised edge is light at the top left, a sunken one dark.
    struct Placing { int align; int first, last; int shadow; COLORREF corner; };
    const Placing placings[] = {{1, 2, 2 + 40, 5, GetSysColor(COLOR_3DLIGHT)},
                                {2, 118 - 40, 118, 10, GetSysColor(COLOR_3DSHADOW)}};
    for (const Placing& c : placings) {
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
    // A progress bar's fill and its percentage.
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 200);
    args.add(WA_CLIENT_HEIGHT, 24);
    KProgressBar* bar = MakeProgressBar(stage, &args);
    UpdateWindow(*stage);
    PumpMessages();
    EXPECT_EQ(10, bar->shadowStyle());
    struct Fill { double value; int filled; };
    for (const Fill& c : {Fill{0, 0}, Fill{100, 200}, Fill{37.9, 75}, Fill{100.5, 75}, Fill{-1, 75}}) {
        bar->setValue(c.value);
        const std::vector<DWORD> p = Picture(bar);
        EXPECT_EQ(c.filled, std::count(p.begin() + 200, p.begin() + 400, 0x80FFFFu)) << "row 1 " << c.value;
        const std::vector<int> ink = Columns(bar, 0);
        ASSERT_FALSE(ink.empty()) << c.value;
        EXPECT_LT(std::abs((ink.front() + ink.back()) / 2 - 100), 12) << "centred " << c.value;
    }
    delete bar;
    // Push buttons look sunken while pressed and repeat while held.
    KPushButton* b = MakePushButtonF(stage, nullptr, "Go %d", 1);
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
    size_t after = r.states.size();
    EXPECT_FALSE(WaitFor([&] { return r.states.size() > after; }, 500)) << "no repeat after release";
    // A first delay of 0 switches the repeat off, another one restores it.
    struct Delay { int first; DWORD ms; bool repeats; };
    for (const Delay& d : {Delay{0, 600, false}, Delay{300, 1500, true}}) {
        b->setDelay(d.first, 100);
        after = r.states.size();
        Button(b, MOUSEEVENTF_LEFTDOWN);
        EXPECT_EQ(d.repeats, WaitFor([&] { return r.states.size() > after + 1; }, d.ms)) << d.first;
        Button(b, MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(WaitFor([&] { return !r.states.back(); }));
    }
    // Toggle buttons: push style, then a check box.
    delete b;
    KToggleButton* t = MakeToggleButton(stage, nullptr, KString(L"Sound"));
    t->_addEventHandler(new ToggleButtonHandler<Recorder>(&r, &Recorder::toggled));
    ClickAt(*t, t->width() / 2, t->height() / 2);
    ASSERT_TRUE(WaitFor([&] { return r.toggles.size() == 1; }));
    EXPECT_TRUE(t->isSet());
    EXPECT_EQ(65u, r.toggles[0].second) << "a left press";
    EXPECT_EQ(Rgb(GetSysColor(COLOR_3DSHADOW)), Picture(t, true)[0]) << "stays in";
    EXPECT_EQ("Sound: ON", Narrow(t->getPrintText(-1)));
    PressKeys({VK_SPACE});
    EXPECT_FALSE(WaitFor([&] { return r.toggles.size() > 1; }, 300)) << "no keys in push style";
    ClickAt(*t, t->width() / 2, t->height() / 2);
    ASSERT_TRUE(WaitFor([&] { return r.toggles.size() == 2; }));
    EXPECT_FALSE(t->getState());
    KArgList box;
    box.add(WA_CHECK_BOX, 2);
    box.add(WA_Y, 40);
    KToggleButton* c = MakeToggleButton(stage, &box, KString(L"Check"));
    c->_addEventHandler(new ToggleButtonHandler<Recorder>(&r, &Recorder::toggled));
    KWinDC boxDC(c);
    boxDC.setFont(c->getFont());
    int aw = 0, ah = 0;
    boxDC.getTextExtent(L"A", 1, &aw, &ah);
    EXPECT_EQ(ah - 2, c->indicatorSize());
    EXPECT_EQ(ah - 2 + 4, c->leftMargin());
    EXPECT_EQ(0, c->shadowStyle());
    const size_t centre = (size_t)(c->height() / 2 * c->width() + 2 + c->indicatorSize() / 2);
    EXPECT_EQ(Rgb(c->getBackground()), Picture(c)[centre]) << "unset: empty square";
    ClickAt(*c, c->width() / 2, c->height() / 2);
    ASSERT_TRUE(WaitFor([&] { return r.toggles.size() == 3; }));
    EXPECT_TRUE(c->getState());
    EXPECT_EQ(0x00FF00u, Picture(c)[centre]) << "set: green square";
    c->clearIsModified();
    PressKeys({VK_SPACE});
    ASSERT_TRUE(WaitFor([&] { return r.toggles.size() == 4; }));
    EXPECT_FALSE(c->getState());
    EXPECT_EQ(65u, r.toggles[3].second);
    EXPECT_TRUE(c->getIsModified()) << "a typed blank marks the box modified";
}
