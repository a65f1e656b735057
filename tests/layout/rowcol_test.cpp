// Grids, tables and packs under a shown top level: each child's rectangle as the native window
// reports it after the layout pass, and the container's own client size. Every expected value
// below was worked out by hand from the layout rules, step by step.
#include <gtest/gtest.h>
#include <vector>
#include "test_support.h"

namespace {

typedef std::vector<long> Longs;
enum Kind { Grid, Table, Pack };

struct Kid {
    int w, h;
    int row = -2, col = -2; // -2: the list gives no WA_ROW/WA_COL
    bool endsLine = false;  // pack: newLine() after this child
};

KWindow* Shown(WindowOwner& windows)
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_CLIENT_WIDTH, 400);
    args.add(WA_CLIENT_HEIGHT, 300);
    KWindow* top = windows.own(MakeWindow(nullptr, &args));
    top->show(true);
    return top;
}

KWindow* Container(Kind kind, KWindow* parent, const std::vector<int>& attrs)
{
    KArgList args;
    for (size_t i = 0; i + 1 < attrs.size(); i += 2) {
        if (attrs[i] == WA_ALIGN_RIGHT)
            args.add(attrs[i], attrs[i + 1] != 0);
        else
            args.add(attrs[i], attrs[i + 1]);
    }
    if (kind == Grid)
        return MakeGrid(parent, &args);
    if (kind == Table)
        return MakeRowCol(parent, &args);
    return MakeRowPack(parent, &args);
}

KWindow* Child(KWindow* parent, int w, int h, int row = -2, int col = -2)
{
    KArgList args;
    args.add(WA_WIDTH, w);
    args.add(WA_HEIGHT, h);
    if (row != -2) {
        args.add(WA_ROW, row);
        args.add(WA_COL, col);
    }
    return MakeWindow(parent, &args);
}

// x, y, width and height of each child's native window in its parent's client area, then the
// client size of the container.
Longs Places(KWindow* box, const std::vector<KWindow*>& kids)
{
    Longs out;
    RECT r;
    for (KWindow* k : kids) {
        GetWindowRect(*k, &r);
        MapWindowPoints(nullptr, *box, reinterpret_cast<POINT*>(&r), 2);
        out.insert(out.end(), {r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    GetClientRect(*box, &r);
    out.insert(out.end(), {r.right, r.bottom});
    return out;
}

} // namespace

TEST(RowColLayouts, CellsMarginsSpacingAndNaturalSizes)
{
    struct Case {
        const char* name;
        Kind kind;
        std::vector<int> attrs;
        std::vector<Kid> kids;
        int resizeW, resizeH; // 0: configure(false) lays it out instead
        Longs want;           // x, y, width, height of each child, then the client size
    };
    const int MW = WA_MARGIN_WIDTH, MH = WA_MARGIN_HEIGHT, CW = WA_CLIENT_WIDTH, CH = WA_CLIENT_HEIGHT;
    const Case cases[] = {
        // Column spans 104 / 3 at 0, 34, 69; row span 54 / 2 at 0, 27; 4 off every cell. The
        // column count 0 is refused, so the rows stay fixed and fill each column first.
        {"grid 2x3, uneven columns", Grid,
         {WA_NUM_GRID_ROW, 2, WA_NUM_GRID_COL, 0, MW, 4, MH, 4, WA_OUTER_MARGINS, 0, CW, 10, CH, 10},
         {{5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}, {5, 5}}, 100, 50,
         {0, 0, 30, 23, 0, 27, 30, 23, 34, 0, 31, 23, 34, 27, 31, 23, 69, 0, 31, 23, 69, 27, 31, 23,
          100, 50}},
        // Rows filled across; an explicit cell (2, 1) makes three rows. Spans 98 / 2 from x 2,
        // 59 / 3 from y 1.
        {"grid by rows, own margins", Grid,
         {WA_NUM_GRID_COL, 2, MW, 3, MH, 5, WA_LEFT_MARGIN, 2, WA_RIGHT_MARGIN, 4, WA_TOP_MARGIN, 1,
          WA_BOTTOM_MARGIN, 6, CW, 101, CH, 61},
         {{8, 8}, {8, 8}, {8, 8}, {8, 8, 2, 1}}, 0, 0,
         {2, 1, 46, 14, 51, 1, 46, 14, 2, 20, 46, 15, 51, 40, 46, 15, 101, 61}},
        // No size yet: cells of the largest width (20) and height (30), 3·20+2·4+2+2 by 30+2+2.
        {"grid natural size", Grid, {MW, 4, MH, 3, WA_OUTER_MARGINS, 2},
         {{10, 10}, {20, 5}, {5, 30}}, 0, 0,
         {2, 2, 20, 30, 26, 2, 20, 30, 50, 2, 20, 30, 72, 34}},
        // Columns 20, 30 wide, rows 8, 12, 9 tall; the fifth child opens row 2 in column 0.
        {"table of two columns", Table,
         {WA_NUM_GRID_COL, 2, MW, 3, MH, 2, WA_LEFT_MARGIN, 1, WA_RIGHT_MARGIN, 4, WA_TOP_MARGIN, 5,
          WA_BOTTOM_MARGIN, 6, CW, 200, CH, 100},
         {{10, 8}, {30, 5}, {20, 12}, {5, 6}, {15, 9}}, 0, 0,
         {1, 5, 20, 8, 24, 5, 30, 8, 1, 15, 20, 12, 24, 15, 30, 12, 1, 29, 20, 9, 58, 44}},
        // Three fixed rows, one column: the resize stretches it to 100 - 2·5 whatever the
        // children's widths; the right margin defaults to the spacing, the left one is given.
        {"table, one column stretched", Table,
         {WA_NUM_GRID_ROW, 3, MW, 5, MH, 1, WA_LEFT_MARGIN, 7, CW, 50, CH, 50},
         {{10, 4}, {20, 6}, {15, 3}}, 100, 80,
         {7, 1, 90, 4, 7, 6, 90, 6, 7, 13, 90, 3, 102, 17}},
        // (0,0); explicit (1,2) makes 2 x 3; the next ones fill by column: k 2 -> (0,1), and
        // k 3 (its row given as -1) -> (1,1). Columns 10, 8, 20; rows 10, 9.
        {"table, explicit cells", Table, {},
         {{10, 10}, {20, 7, 1, 2}, {6, 5}, {8, 9, -1, 0}}, 0, 0,
         {0, 0, 10, 10, 18, 10, 20, 9, 10, 0, 8, 10, 10, 10, 8, 9, 38, 19}},
        // Outer margins 5 stay when the spacing comes after them; left and bottom are given.
        {"pack, two lines", Pack,
         {WA_OUTER_MARGINS, 5, MW, 4, MH, 3, WA_LEFT_MARGIN, 6, WA_BOTTOM_MARGIN, 1},
         {{20, 10}, {30, 14, -2, -2, true}, {10, 8}, {25, 12}, {15, 6}}, 0, 0,
         {6, 5, 20, 10, 30, 5, 30, 14, 6, 22, 10, 8, 20, 22, 25, 12, 49, 22, 15, 6, 69, 35}},
        // Only the end of the first line moves right: 69 - 5 - 30.
        {"pack, two lines aligned right", Pack,
         {WA_OUTER_MARGINS, 5, MW, 4, MH, 3, WA_LEFT_MARGIN, 6, WA_BOTTOM_MARGIN, 1, WA_ALIGN_RIGHT, 1},
         {{20, 10}, {30, 14, -2, -2, true}, {10, 8}, {25, 12}, {15, 6}}, 0, 0,
         {6, 5, 20, 10, 34, 5, 30, 14, 6, 22, 10, 8, 20, 22, 25, 12, 49, 22, 15, 6, 69, 35}},
        // Spacing and margins 2: a line of one child and the unended last line stay left; the
        // end of the middle line goes to 34 - 2 - 10.
        {"pack, short lines aligned right", Pack, {WA_ALIGN_RIGHT, 1},
         {{12, 7, -2, -2, true}, {8, 9}, {10, 4, -2, -2, true}, {30, 5}}, 0, 0,
         {2, 2, 12, 7, 2, 11, 8, 9, 22, 11, 10, 4, 2, 22, 30, 5, 34, 29}},
    };
    for (const Case& c : cases) {
        WindowOwner windows;
        KWindow* box = Container(c.kind, Shown(windows), c.attrs);
        std::vector<KWindow*> kids;
        for (const Kid& k : c.kids) {
            kids.push_back(Child(box, k.w, k.h, k.row, k.col));
            if (k.endsLine)
                static_cast<KRowPack*>(box)->newLine();
        }
        if (c.resizeW)
            box->resizeClient(c.resizeW, c.resizeH);
        else
            box->configure(false);
        EXPECT_EQ(c.want, Places(box, kids)) << c.name;
    }
}

TEST(RowColLayouts, TableRenumbersShowsRowsAndReturnsToNaturalSize)
{
    WindowOwner windows;
    KWindow* top = Shown(windows);
    KRowCol* table = static_cast<KRowCol*>(Container(Table, top, {WA_NUM_GRID_COL, 2}));
    KWindow *a = Child(table, 10, 10), *b = Child(table, 10, 10);
    KWindow *c = Child(table, 10, 10), *d = Child(table, 10, 10);
    // Without b, the managed children renumber to (0,0), (0,1), (1,0); b keeps its cell, unplaced.
    b->setManaged(false);
    table->renumberGrid();
    table->configure(false);
    EXPECT_EQ((Longs{0, 0, 10, 10, 10, 0, 10, 10, 0, 10, 10, 10, 20, 20}), Places(table, {a, c, d}));
    table->showRow(1, false);
    EXPECT_EQ((Longs{1, 0}), (Longs{IsWindowVisible(*a), IsWindowVisible(*d)}));
    // Three columns filled across: one row, stretched to the 20 pixels the table has. Once the
    // table forgets its size, the row takes the children's height (made 10 again) back.
    table->setNumCol(3);
    table->renumberGrid();
    table->configure(false);
    EXPECT_EQ((Longs{0, 0, 10, 20, 10, 0, 10, 20, 20, 0, 10, 20, 30, 20}), Places(table, {a, c, d}));
    for (KWindow* k : {a, c, d})
        k->resize(10, 10);
    a->reconfigureContainers();
    EXPECT_EQ((Longs{20, 0, 10, 10, 30, 10}), Places(table, {d}));
}
