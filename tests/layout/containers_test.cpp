// Frames, scrolled windows and tab windows through real windows: fitted sizes, stretched
// children, scroll ranges and pages, scrolling by the bar's commands, tabs chosen by a click.
#include "layout_tests.h"

namespace {

// Width and height of a text in the default variable font of the frame's title and the tabs.
Longs Extent(const wchar_t* text)
{
    KDisplayInfo screen;
    screen.setFont(DEFAULT_VAR_FONT);
    int w = 0, h = 0;
    screen.stringExtent(text, &w, &h);
    return Longs{w, h};
}

struct Tabs {
    std::vector<std::string> chosen;
    void tab(KWindow*, TabEvent* e) { chosen.push_back(Format("%S %d", &e->name, e->index)); }
};

} // namespace

TEST(Containers, FrameScrolledWindowAndTabWindowPlaceAndShowTheirChildren)
{
    WindowOwner windows;
    KArgList titled, args, none;
    titled.add(WA_TEXT, L"Title");
    KFrame* frame = MakeFrame(ShownPopup(windows, 100, 100, 400, 300), &titled);
    KWindow* inner = Child(frame, 0, 0, 100, 50);
    frame->configure(false);
    const int t = Extent(L"A")[1]; // margins of 2: 2 on the border, 2 inside it
    EXPECT_EQ((Longs{108, 58 + t}), (Longs{frame->width(), frame->height()}));
    EXPECT_EQ((Longs{4, 4 + t, 100, 50}), Placed(inner));
    frame->resize(200, 150);
    EXPECT_TRUE(WaitFor([&] { return Placed(inner) == Longs{4, 4 + t, 192, 142 - t}; }));

    args.add(WA_CLIENT_WIDTH, 300);
    args.add(WA_CLIENT_HEIGHT, 200);
    args.add(WA_ALLOW_HORZ, false);
    KScrolledWindow* view = MakeScrolledWindow(ShownPopup(windows, 100, 100, 400, 300), &args);
    KWindow* content = Child(view, 0, 0, 100, 400);
    view->configure(false);
    // The content ends at y = 399: the page is 200 x 100 / 399 of the range 0 .. 99.
    EXPECT_EQ((Longs{0, 99, 50, 50}), (Longs{view->getMinVertVal(), view->getMaxVertVal(),
                                             view->getPageVertSize(), view->getMaxVertPos()}));
    EXPECT_EQ(WS_VSCROLL, GetWindowLongW(*view, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) << "only one bar";
    EXPECT_EQ((Longs{99, 99 + GetSystemMetrics(SM_CXVSCROLL)}), (Longs{view->width(), view->Width()}))
        << "the client fits the content, the window the content and the bar";
    // Each command moves the bar and scrolls the content by its share; moves beyond the ends
    // are refused.
    struct Step { int code; long position, contentY; };
    const Step steps[] = {{SB_BOTTOM, 50, -199}, {SB_LINEDOWN, 50, -199}, {SB_LINEUP, 49, -195},
                          {SB_PAGEUP, 49, -195}, {SB_TOP, 0, 0}, {SB_PAGEDOWN, 50, -199}};
    for (const Step& s : steps) {
        SendMessageW(*view, WM_VSCROLL, MAKEWPARAM(s.code, 0), 0);
        SendMessageW(*view, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        EXPECT_EQ((Longs{s.position, s.position, s.contentY}),
                  (Longs{view->getCurVertVal(), GetScrollPos(*view, SB_VERT), Placed(content)[1]})) << s.code;
    }
    EXPECT_EQ(nullptr, GetCapture()) << "the end of a scroll releases the mouse";
    BoxWatcher watcher;
    SendMessageW(*view, WM_VSCROLL, MAKEWPARAM(99, 0), 0);
    ASSERT_EQ(1u, watcher.count());
    EXPECT_EQ(L"Unknown scroll code=99.", watcher.box().text);
    view->setCurVertVal(80);
    EXPECT_EQ(50, view->getCurVertVal()) << "clamped to the largest position";
    // Tabs: their geometry, the page area, and a real click on a tab.
    KTabWin* tabs = MakeTabWin(ShownPopup(windows, 100, 100, 400, 300), &none);
    Tabs log;
    tabs->_addEventHandler(new MemberEventHandler<Tabs, TabEvent>(&log, &Tabs::tab));
    KWindow* pages[2];
    const wchar_t* names[2] = {L"One", L"Second"};
    for (int i = 0; i < 2; ++i) {
        KArgList page;
        page.add(WA_WIDTH, 150 - 50 * i);
        page.add(WA_HEIGHT, 80 + 20 * i);
        page.add(WA_TAB_NAME, names[i]);
        page.add(WA_TAB_RESIZE, i == 1);
        pages[i] = MakeWindow(tabs, &page);
    }
    tabs->configure(false);
    const long one = Extent(L"One")[0], h = Extent(L"One")[1];
    const DCRect first = tabs->getTab(0)->rect, second = tabs->getTab(1)->rect;
    // The second tab follows the first and the spacing; the natural size is the largest page's
    // plus the insets of 7, the page area lies under the tabs.
    EXPECT_EQ((Longs{10, 0, one + 14, h + 10, 10 + one + 14 + 5, 164, 100 + h + 22}),
              (Longs{first.x, first.y, first.w, first.h, second.x, tabs->width(), tabs->height()}));
    EXPECT_EQ((Longs{7, h + 15, 150, 80, 7, h + 15, 150, 100}), Placed(pages[0]) + Placed(pages[1]))
        << "a resized page fills the area";
    EXPECT_TRUE(IsWindowVisible(*pages[0]) && !IsWindowVisible(*pages[1]));
    // A real click on the second tab shows its page and tells the handlers.
    ASSERT_TRUE(Activate(GetParent(*tabs)));
    const DWORD click[2] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    SendMouseAt(*tabs, second.x + second.w / 2, second.y + second.h / 2, {click[0], click[1]});
    EXPECT_TRUE(WaitFor([&] { return !log.chosen.empty(); }));
    EXPECT_EQ((std::vector<std::string>{"Second 1"}), log.chosen);
    EXPECT_EQ((Longs{0, 1, 1}),
              (Longs{IsWindowVisible(*pages[0]), IsWindowVisible(*pages[1]), tabs->getCurTab()}));
    tabs->setCurTab(5, true);
    EXPECT_EQ(1, tabs->getCurTab()) << "an index without a page is ignored";
}
