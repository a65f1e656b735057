// Grids, tables and packs under a shown top level: each child's rectangle as the native window
// reports it after the layout pass, and the container's own client size. Every expected value
// below was worked out by hand from the layout rules, step by step.
#include "layout_tests.h"

namespace {

enum Kind { Grid, Table, Pack };

// A child of w x h; row -2: the list gives no WA_ROW/WA_COL; endsLine: newLine() of a pack after it.
struct Kid { int w, h, row = -2, col = -2; bool endsLine = false; };

KWindow* Container(Kind kind, KWindow* parent, const std::vector<int>& attrs)
{
    KArgList args;
    for (size_t i = 0; i + 1 < attrs.size(); i += 2)
        if (attrs[i] == WA_ALIGN_RIGHT)
            args.add(attrs[i], attrs[i + 1] != 0);
        else
            args.add(attrs[i], attrs[i + 1]);
    if (kind == Grid)
        return MakeGrid(parent, &args);
    if (kind == Table)
        return MakeRowCol(parent, &args);
    return MakeRowPack(parent, &args);
}

// x, y, width and height of each child in the container's client area, then its client size.
Longs Places(KWindow* box, const std::vector<KWindow*>& kids)
{
    Longs out;
    for (KWindow* k : kids)
        out = out + Placed(k);
    RECT r;
    GetClientRect(*box, &r);
    return out + Longs{r.right, r.bottom};
}

} // namespace

TEST(RowColLayouts, CellsMarginsSpacingAndNaturalSizes)
{
    struct Case { Kind kind; std::vector<int> attrs; std::vector<Kid> kids; int resizeW, resizeH;
                  Longs want; }; // resizeW 0: laid out by configure(false) instead of a resize
    const int MW = WA_MARGIN_WIDTH, MH = WA_MARGIN_HEIGHT, CW = WA_CLIENT_WIDTH, CH = WA_CLIENT_HEIGHT;
    const int NR = WA_NUM_GRID_ROW, NC = WA_NUM_GRID_COL, OM = WA_OUTER_MARGINS, LM = WA_LEFT_MARGIN;
    const int RM = WA_RIGHT_MARGIN, TM = WA_TOP_MARGIN, BM = WA_BOTTOM_MARGIN, AR = WA_ALIGN_RIGHT;
    const std::vector<Kid> twoLines = {{20, 10}, {30, 14, -2, -2, true}, {10, 8}, {25, 12}, {15, 6}};
    const Case cases[] = {
        // Grid 2 x 3: column spans 104 / 3 at 0, 34, 69; row span 54 / 2 at 0, 27; 4 off every
        // cell. The column count 0 is refused, so the rows stay fixed and fill each column first.
        {Grid, {NR, 2, NC, 0, MW, 4, MH, 4, OM, 0, CW, 10, CH, 10}, std::vector<Kid>(6, {5, 5}), 100, 50,
         {0, 0, 30, 23, 0, 27, 30, 23, 34, 0, 31, 23, 34, 27, 31, 23, 69, 0, 31, 23, 69, 27, 31, 23,
          100, 50}},
        // Grid by rows; an explicit cell (2, 1) makes three rows; spans 98 / 2 from x 2, 59 / 3 from y 1.
        {Grid, {NC, 2, MW, 3, MH, 5, LM, 2, RM, 4, TM, 1, BM, 6, CW, 101, CH, 61},
         {{8, 8}, {8, 8}, {8, 8}, {8, 8, 2, 1}}, 0, 0,
         {2, 1, 46, 14, 51, 1, 46, 14, 2, 20, 46, 15, 51, 40, 46, 15, 101, 61}},
        // Grid of no size yet: cells of the largest width (20) and height (30), 3·20+2·4+2+2 by 30+2+2.
        {Grid, {MW, 4, MH, 3, OM, 2}, {{10, 10}, {20, 5}, {5, 30}}, 0, 0,
         {2, 2, 20, 30, 26, 2, 20, 30, 50, 2, 20, 30, 72, 34}},
        // Table of two columns 20, 30 wide, rows 8, 12, 9 tall; the fifth child opens row 2.
        {Table, {NC, 2, MW, 3, MH, 2, LM, 1, RM, 4, TM, 5, BM, 6, CW, 200, CH, 100},
         {{10, 8}, {30, 5}, {20, 12}, {5, 6}, {15, 9}}, 0, 0,
         {1, 5, 20, 8, 24, 5, 30, 8, 1, 15, 20, 12, 24, 15, 30, 12, 1, 29, 20, 9, 58, 44}},
        // Table of three fixed rows, one column: the resize stretches it to 100 - 2·5 whatever the
        // children's widths; the right margin defaults to the spacing, the left one is given.
        {Table, {NR, 3, MW, 5, MH, 1, LM, 7, CW, 50, CH, 50}, {{10, 4}, {20, 6}, {15, 3}}, 100, 80,
         {7, 1, 90, 4, 7, 6, 90, 6, 7, 13, 90, 3, 102, 17}},
        // Table cells (0,0); explicit (1,2) makes 2 x 3; the next ones fill by column: k 2 -> (0,1),
        // and k 3 (its row given as -1) -> (1,1). Columns 10, 8, 20; rows 10, 9.
        {Table, {}, {{10, 10}, {20, 7, 1, 2}, {6, 5}, {8, 9, -1, 0}}, 0, 0,
         {0, 0, 10, 10, 18, 10, 20, 9, 10, 0, 8, 10, 10, 10, 8, 9, 38, 19}},
        // Pack of two lines: outer margins 5 stay when the spacing comes after them; left and
        // bottom are given. Aligned right, only the end of the first line moves: 69 - 5 - 30.
        {Pack, {OM, 5, MW, 4, MH, 3, LM, 6, BM, 1}, twoLines, 0, 0,
         {6, 5, 20, 10, 30, 5, 30, 14, 6, 22, 10, 8, 20, 22, 25, 12, 49, 22, 15, 6, 69, 35}},
        {Pack, {OM, 5, MW, 4, MH, 3, LM, 6, BM, 1, AR, 1}, twoLines, 0, 0,
         {6, 5, 20, 10, 34, 5, 30, 14, 6, 22, 10, 8, 20, 22, 25, 12, 49, 22, 15, 6, 69, 35}},
        // Pack with spacing and margins 2, aligned right: a line of one child and the unended
        // last line stay left; the end of the middle line goes to 34 - 2 - 10.
        {Pack, {AR, 1}, {{12, 7, -2, -2, true}, {8, 9}, {10, 4, -2, -2, true}, {30, 5}}, 0, 0,
         {2, 2, 12, 7, 2, 11, 8, 9, 22, 11, 10, 4, 2, 22, 30, 5, 34, 29}},
    };
    for (const Case& c : cases) {
        WindowOwner windows;
        KWindow* box = Container(c.kind, ShownPopup(windows, 0, 0, 400, 300), c.attrs);
        std::vector<KWindow*> kids;
        for (const Kid& k : c.kids) {
            kids.push_back(Child(box, 0, 0, k.w, k.h, k.row, k.col));
            if (k.endsLine)
                static_cast<KRowPack*>(box)->newLine();
        }
        if (c.resizeW)
            box->resizeClient(c.resizeW, c.resizeH);
        else
            box->configure(false);
        EXPECT_EQ(c.want, Places(box, kids)) << "case " << &c - cases;
    }
}

TEST(RowColLayouts, TableRenumbersShowsRowsAndReturnsToNaturalSize)
{
    WindowOwner windows;
    KWindow* top = ShownPopup(windows, 0, 0, 400, 300);
    auto* table = static_cast<KRowCol*>(Container(Table, top, {WA_NUM_GRID_COL, 2}));
    KWindow *a = Child(table, 0, 0, 10, 10), *b = Child(table, 0, 0, 10, 10);
    KWindow *c = Child(table, 0, 0, 10, 10), *d = Child(table, 0, 0, 10, 10);
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
