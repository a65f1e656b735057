// The scroll bar: real clicks on its arrows and page areas, its commands, its clamping.
#include "control_tests.h"

struct Moves {
    std::vector<std::vector<int>> seen; // value, end, fromControl
    void moved(KScrollBar*, ScrollBarEvent* e) { seen.push_back({e->value, e->end, e->fromControl}); }
};

static KScrollBar* Bar(KWindow* stage, int orientation, int length, Moves& moves)
{
    KArgList args;
    args.add(WA_ORIENTATION, orientation);
    args.add(orientation ? WA_CLIENT_HEIGHT : WA_CLIENT_WIDTH, length);
    KScrollBar* bar = MakeScrollBar(stage, &args);
    bar->setRange(0, 100);
    bar->setPageSize(10);
    bar->_addEventHandler(new ScrollBarHandler<Moves>(&moves, &Moves::moved));
    return bar;
}

TEST(ScrollBar, RealClicksCommandsAndClamping)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL), across = GetSystemMetrics(SM_CXVSCROLL);
    // Where along the 200-pixel bar the click lands, from the position 50.
    struct Click { int orientation, at, value; } clicks[] = {
        {1, 200 - arrow / 2, 51}, {1, arrow / 2, 49}, {1, 200 - arrow - 4, 60}, {1, arrow + 4, 40},
        {0, 200 - arrow / 2, 51}, {0, arrow + 4, 40}};
    for (const Click& c : clicks) {
        Moves moves;
        KScrollBar* bar = Bar(stage, c.orientation, 200, moves);
        const int thick = c.orientation ? across : GetSystemMetrics(SM_CYHSCROLL);
        EXPECT_EQ(c.orientation ? bar->width() : bar->height(), thick);
        bar->setCurVal(50, false);
        ClickAt(bar->getControl(), c.orientation ? thick / 2 : c.at, c.orientation ? c.at : thick / 2);
        WaitFor([&] { return moves.seen.size() >= 2; }, 2000);
        const std::vector<std::vector<int>> expected = {{c.value, 0, 1}, {c.value, 1, 1}};
        EXPECT_EQ(moves.seen, expected) << c.orientation << " at " << c.at;
        EXPECT_EQ(bar->getCurVal(), c.value);
        SCROLLINFO info = {sizeof info, SIF_POS};
        GetScrollInfo(bar->getControl(), SB_CTL, &info);
        EXPECT_EQ(info.nPos, c.value);
        EXPECT_NE(GetCapture(), bar->getControl());
        delete bar;
    }
    Moves moves;
    KScrollBar* bar = Bar(stage, 1, 150, moves);
    EXPECT_EQ(bar->getMaxPos(), 91);
    for (std::vector<int> c : {std::vector<int>{200, 91}, {95, 91}, {-5, 0}, {30, 30}}) {
        bar->setCurVal(c[0], false);
        EXPECT_EQ(bar->getCurVal(), c[1]) << c[0];
    }
    EXPECT_TRUE(moves.seen.empty());
    // Each command from the position before it; -1: dropped without an event.
    struct Case { int from, code, value; } cases[] = {
        {91, SB_LINEDOWN, -1}, {0, SB_LINEUP, -1}, {50, SB_LINEDOWN, 51}, {50, SB_PAGEUP, 40},
        {50, SB_PAGEDOWN, 60}, {85, SB_PAGEDOWN, -1}, {50, SB_TOP, 0}, {50, SB_BOTTOM, 91},
        {50, SB_THUMBPOSITION, 50}};
    for (const Case& c : cases) {
        bar->setCurVal(c.from, false);
        moves.seen.clear();
        SendMessageW(*bar, WM_VSCROLL, c.code, (LPARAM)bar->getControl());
        const std::vector<std::vector<int>> none, one = {{c.value, 0, 1}};
        EXPECT_EQ(moves.seen, c.value < 0 ? none : one) << c.code << " from " << c.from;
        EXPECT_EQ(bar->getCurVal(), c.value < 0 ? c.from : c.value) << c.code;
        ReleaseCapture();
    }
    moves.seen.clear();
    SendMessageW(*bar, WM_VSCROLL, SB_ENDSCROLL, (LPARAM)bar->getControl());
    bar->setCurVal(-5, true);
    bar->setMaxVal(50);
    bar->setPageSize(0);
    const std::vector<std::vector<int>> ends = {{50, 1, 1}, {0, 1, 0}};
    EXPECT_EQ(moves.seen, ends);
    EXPECT_EQ(bar->getMaxPos(), 50);
    EXPECT_EQ(bar->getPageSize(), 1);
}
