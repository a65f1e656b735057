// The table window as an application sees it: header layout, geometry,
// painting read back as pixels, scrolling by real clicks and drags.
#include "table_tests.h"

// A real click (press and release) at (x, y) of a native window.
static void Click(HWND w, int x, int y)
{
    SendMouseAt(w, x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    PumpMessages();
}

TEST(Table, HeaderGroupsAndBoxes)
{
    // Boxes as "text row-lastRow col-lastCol", in the order the header walk makes them.
    struct Case { std::initializer_list<const char*> titles; int lines; std::vector<std::string> boxes; } cases[] = {
        {{"Depth\nmm", "Depth\nin"}, 2, {"Depth 0-0 0-1", "mm 1-1 0-0", "in 1-1 1-1"}},
        {{"Pos\nx", "Pos\ny", "Pos\nz"}, 2, {"Pos 0-0 0-2", "x 1-1 0-0", "y 1-1 1-1", "z 1-1 2-2"}},
        {{"Time\ns", "Depth\nmm", "Depth\nin"}, 2, {"Time\ns 0-1 0-0", "Depth 0-0 1-2", "mm 1-1 1-1", "in 1-1 2-2"}},
        {{"A", "B\n\n"}, 1, {"A 0-0 0-0", "B 0-0 1-1"}},
        {{"Zero", "Depth\nmm", "Depth\nin", "Gain\ndB\nx"}, 3,
         {"Zero 0-2 0-0", "Depth 0-0 1-2", "Gain\ndB 0-2 3-3", "mm 1-2 1-1", "in 1-2 2-2"}},
    };
    for (const Case& c : cases) {
        WindowOwner windows;
        KTableWin* t = MakeTestTable(windows, 400, 120, {{WA_CELL_HEIGHT, 16}}, c.titles);
        std::vector<std::string> boxes;
        for (int i = 0; i < t->numTitleBox(); ++i) {
            const KTitleBox& b = t->getTitleBox(i);
            boxes.push_back(Format("%S %d-%d %d-%d", &b.text, b.row, b.lastRow, b.col, b.lastCol));
            const int x = t->getCol(b.col).left(), span = b.lastRow - b.row;
            EXPECT_EQ(std::vector<long>({b.rect.x, b.rect.y, b.rect.w, b.rect.h}),
                      std::vector<long>({x, 15 * b.row, t->getCol(b.lastCol).right() - x, 16 * (span + 1) - span}))
                << boxes.back();
        }
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(t->numTitleRow(), c.lines);
        EXPECT_EQ(t->getTitleHeight(), 15 * c.lines + 1);
    }
    // The shared G box has no edge where its columns meet; a ends there, G at the third's end.
    WindowOwner windows;
    KTableWin* t = MakeTestTable(windows, 400, 120, {{WA_CELL_HEIGHT, 16}}, {"G\na", "G\nb", "G\nc"});
    const Picture header(t->titleWin());
    const DWORD face = Rgb(t->titleWin()->getBackground());
    const int seam = t->getCol(0).right() - 1;
    EXPECT_EQ(header.At(seam, 8), face);
    EXPECT_NE(header.At(seam, 23), face);
    EXPECT_NE(header.At(t->getCol(2).right() - 1, 8), face);
    EXPECT_EQ(header.At(t->getCol(2).right() - 3, 8), face);
}

TEST(Table, GeometryOfPanesAndCells)
{
    WindowOwner windows;
    SIZE a; // "A" in the fixed font, measured apart from the library
    KDisplayInfo screen;
    screen.setFont(DEFAULT_FIXED_FONT);
    GetTextExtentPoint32W(screen, L"A", 1, &a);
    const int cw = a.cx;
    KTableWin* t = MakeTestTable(windows, 300, 100, {{WA_CELL_HEIGHT, 16}, {WA_SHOW_ENTRY, 2}}, {"A", "B", "C"});
    EXPECT_EQ(std::vector<int>({t->getTitleHeight(), t->getNumDispRow(), t->getEntryWidth(), t->getCol(1).left()}),
              std::vector<int>({16, 6, 6 * cw, 7 * cw + 1}));
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(Placed(t->cellWin()), std::vector<long>({6 * cw, 16, 300 - bar - 6 * cw, 84}));
    EXPECT_EQ(Placed(t->vertBar()), std::vector<long>({300 - bar, 16, bar, 84}));
    EXPECT_EQ(Placed(t->entryWin()), std::vector<long>({0, 16, 6 * cw, 84}));
    t->setNumRow(100);
    t->setFirstRow(5);
    ASSERT_EQ(t->firstRow(), 5);
    struct Point { long x, y; int row, col; } points[] = {
        {0, 0, 5, 0}, {7 * cw - 1, 15, 5, 0}, {7 * cw, 16, 6, 1}, {7 * cw + 1, 31, 6, 1},
        {21 * cw + 2, 32, 7, 3}, {14 * cw + 1, 95, 10, 2}};
    for (const Point& p : points) {
        int row = -9, col = -9;
        t->pointToCell(KPOINT{p.x, p.y}, row, col);
        EXPECT_EQ(std::vector<int>({row, col}), std::vector<int>({p.row, p.col})) << p.x << "," << p.y;
    }
    const DCRect r = t->getCellRect(7, 1);
    EXPECT_EQ(std::vector<long>({r.x, r.y, r.w, r.h}), std::vector<long>({7 * cw + 1, 32, 7 * cw, 16}));
    EXPECT_EQ(t->getCellRect(3, 0).y, -32);
    struct Chars { int col, x, at; } chars[] = {
        {0, 7 * cw - cw / 2, 0}, {0, 6 * cw - cw / 2, 1}, {0, cw, 5}, {2, 21 * cw + 2 - cw / 2, 0}, {3, 0, -1}, {-1, 0, -1}};
    for (const Chars& c : chars)
        EXPECT_EQ(t->XtoCellCol(c.col, c.x), c.at) << c.col << " " << c.x;
    t->setFirstRow(90);
    t->update(40);
    EXPECT_EQ(t->firstRow(), 34) << "the last row made visible";
    t->setNumRow(1000);
    // Each from the state the one before left: above goes to the top, 600 is already at most
    // half a page down, an invalid row is ignored.
    struct Centre { int row, first, current; } centres[] = {
        {30, 30, 30}, {600, 598, 600}, {600, 598, 600}, {601, 599, 601}, {1000, 599, 601}};
    for (const Centre& c : centres) {
        t->setCurCenterRow(c.row);
        EXPECT_EQ(std::vector<int>({t->firstRow(), t->curRow()}), std::vector<int>({c.first, c.current})) << c.row;
    }
}

TEST(Table, AsksOnlyForTheExposedCells)
{
    for (int rows : {100, 10000000}) {
        WindowOwner windows;
        CellRecorder cells;
        KTableWin* t = MakeTestTable(windows, 300, 150, {{WA_CELL_HEIGHT, 16}}, {"A", "B", "C", "D", "E"});
        AddEventHandler(t, &CellRecorder::handle);
        t->setNumRow(rows);
        t->setFirstRow(rows / 2);
        PumpMessages();
        cells.requests.clear();
        t->update(-1);
        EXPECT_EQ(t->numRow(), rows);
        std::vector<std::pair<int, int>> expected, one = {{rows / 2 + 2, 1}};
        for (int r = rows / 2; r < rows / 2 + (t->cellWin()->height() + 15) / 16; ++r)
            for (int c = 0; c < t->numCol() && t->getCol(c).left() < t->cellWin()->width(); ++c)
                expected.push_back({r, c});
        EXPECT_EQ(cells.requests, expected) << rows;
        const DCRect inside = t->getCellRect(rows / 2 + 2, 1);
        cells.requests.clear();
        t->cellWin()->invalidate(DCRect(inside.x + 2, inside.y + 2, inside.w - 4, inside.h - 4), false);
        t->cellWin()->update();
        EXPECT_EQ(cells.requests, one);
        EXPECT_EQ(Narrow(t->getCellString(rows - 1, 4)), Format("r%dc4", rows - 1));
        EXPECT_EQ(Narrow(t->getCellString(rows, 0)), "");
    }
}

// Row 0 takes the application's colours and a raised shadow two rings thick; row 1 is current.
TEST(Table, PixelsOfASmallTable)
{
    const COLORREF line = RGB(0, 200, 0);
    struct Case { bool insert, entry; } cases[] = {{true, true}, {false, false}, {true, false}};
    for (const Case& k : cases) {
        WindowOwner windows;
        CellRecorder cells;
        cells.colourRow = 0;
        cells.foreground = RGB(255, 255, 0);
        cells.background = RGB(0, 0, 255);
        cells.shadowThick = 2;
        cells.shadowStyle = 5;
        KTableWin* t = MakeTestTable(
            windows, 360, 150,
            {{WA_CELL_HEIGHT, 18}, {WA_LINE_COLOR, (int)line}, {WA_HIGHLIGHT_SELECT, 1}, {WA_ALLOW_INSERT, k.insert},
             {k.entry ? WA_SHOW_ENTRY : WA_ENTRY_BASE, k.entry ? 2 : 1}},
            {"Time\ns", "Depth\nmm", "Depth\nin"});
        t->addCol("Zero", COL_BUTTON_LOOK, 1);
        AddEventHandler(t, &CellRecorder::handle);
        t->configure(true);
        t->update(3);
        t->setCurRow(1, false);
        if (k.insert && k.entry)
            SaveTablePicture(t, ProgramDir() + L"..\\table-small.bmp"); // looked at by hand
        const Picture p(t->cellWin());
        const KTableCol &c0 = t->getCol(0), &c1 = t->getCol(1), &c2 = t->getCol(2), &zero = t->getCol(3);
        EXPECT_EQ(p.At(c1.left() - 1, 2 * 18 + 9), Rgb(line)) << "column line";
        EXPECT_EQ(p.At(c2.right(), 2 * 18 + 9), Rgb(line)) << "column line beside the buttons";
        EXPECT_EQ(p.At(c1.left() + 3, 2 * 18 + 17), Rgb(line)) << "row line";
        EXPECT_EQ(p.At(zero.right() - 2, 18 + 9), 0xFF0000u) << "current-row frame, right side";
        EXPECT_EQ(p.At(c0.left() + 1, 18 + 9), 0xFF0000u) << "current-row frame, left side";
        EXPECT_EQ(p.At(c1.left() + 3, 18), 0xFF0000u) << "current-row frame, top";
        EXPECT_EQ(p.At(c0.left() + 1, 2 * 18 + 9), 0xFFFFFFu);
        EXPECT_EQ(p.At(c1.right() - 3, 3), 0x0000FFu) << "application background inside the shadow";
        int ink = 0;
        for (int x = c0.left(); x < c0.right(); ++x)
            for (int y = 0; y < 18; ++y)
                ink += p.At(x, y) == 0xFFFF00u;
        EXPECT_GT(ink, 10) << "application foreground";
        for (int y : {16, 17})
            EXPECT_TRUE(p.At(c1.left() + 3, y) != Rgb(line) && p.At(c1.left() + 3, y) != 0x0000FFu) << "ring " << y;
        EXPECT_NE(p.At(c1.left() + 3, 0), p.At(c1.left() + 3, 17)) << "raised: light above, dark below";
        EXPECT_EQ(p.At(zero.left() + zero.width / 2, 2 * 18 + 2), Rgb(BUTTON_FACE_COLOR)) << "button face";
        for (int y : {2 * 18, 2 * 18 + 17})
            EXPECT_NE(p.At(zero.left() + 3, y), Rgb(line)) << "a button cell has a shadow, no grid";
        EXPECT_EQ(p.At(5, p.h - 2), k.insert ? 0x808080u : 0xFFFFFFu) << "area below the rows";
        EXPECT_EQ(p.At(5, (k.insert ? 4 : 3) * 18 + 2), k.insert ? 0x808080u : 0xFFFFFFu);
        EXPECT_EQ(p.At(c0.width - 3, 3 * 18 + 9), k.insert && !k.entry ? 0xC0C0C0u : 0xFFFFFFu) << "insertion row";
        if (!k.entry)
            continue;
        const Picture entry(t->entryWin());
        int star = 0;
        for (int x = entry.w / 2; x < entry.w; ++x)
            for (int y = 3 * 18 + 3; y < 4 * 18 - 3; ++y)
                star += entry.At(x, y) == 0;
        EXPECT_EQ(star > 0, k.insert) << "\"*\" on the insertion row";
    }
}

// Pixels of after that are not those of before moved by (dx, dy).
static int Unmoved(const Picture& before, const Picture& after, int dx, int dy)
{
    int wrong = 0;
    for (int y = 0; y + dy < before.h; ++y)
        for (int x = 0; x + dx < before.w; ++x)
            wrong += after.At(x, y) != before.At(x + dx, y + dy);
    return wrong;
}

TEST(Table, ScrollBarsByRealClicks)
{
    WindowOwner windows;
    CellRecorder cells;
    KTableWin* t = MakeTestTable(windows, 200, 200, {{WA_CELL_HEIGHT, 16}, {WA_HORIZONTAL_SCROLLBAR, 1}},
                                 {"A", "B\nb", "C", "D", "E", "F", "G", "H", "I", "J"});
    AddEventHandler(t, &CellRecorder::handle);
    t->update(10000000);
    const int rows = t->getNumDispRow(), arrow = GetSystemMetrics(SM_CYVSCROLL);
    HWND vbar = t->vertBar()->getControl();
    const int bx = t->vertBar()->width() / 2, bh = t->vertBar()->height();
    const Picture top(t->cellWin());
    struct Step { int y, firstRow; } steps[] = {
        {bh - arrow / 2, 1}, {bh - arrow - 3, 1 + rows}, {arrow / 2, rows}, {bh - arrow - 3, 2 * rows}};
    for (const Step& s : steps) {
        Click(vbar, bx, s.y);
        EXPECT_TRUE(WaitFor([&] { return t->firstRow() == s.firstRow; }, 2000)) << t->firstRow() << " at " << s.y;
        if (s.firstRow == 1)
            EXPECT_EQ(Unmoved(top, Picture(t->cellWin()), 0, 16), 0) << "one row up";
    }
    // The thumb dragged to the bottom with real input, all of it sent before any is dispatched
    // (the bar's own loop reads it). Under Wine a release outside the stage is lost.
    SendMouseAt(vbar, bx, arrow + 3, {MOUSEEVENTF_LEFTDOWN});
    for (int y = arrow + 20; y < bh; y += 20)
        SendMouseAt(vbar, bx, y, {});
    SendMouseAt(vbar, bx, bh - 1, {MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(WaitFor([&] { return t->firstRow() == 10000000 - rows; }, 3000)) << t->firstRow();
    cells.requests.clear();
    t->update(-1);
    ASSERT_FALSE(cells.requests.empty());
    EXPECT_EQ(cells.requests.back().first, 9999999) << "the last row shown";
    Click(vbar, bx, arrow + 30);
    EXPECT_TRUE(WaitFor([&] { return t->firstRow() == 10000000 - 2 * rows; }, 2000)) << "page up " << t->firstRow();

    // One step right moves the header and the cells together by one pixel; a page by the bar's page.
    const Picture header(t->titleWin()), body(t->cellWin());
    HWND hbar = t->horzBar()->getControl();
    const int by = t->horzBar()->height() / 2, bw = t->horzBar()->width();
    Click(hbar, bw - arrow / 2, by);
    ASSERT_TRUE(WaitFor([&] { return t->getHorzOffset() == 1; }, 2000));
    EXPECT_EQ(Unmoved(header, Picture(t->titleWin()), 1, 0) + Unmoved(body, Picture(t->cellWin()), 1, 0), 0);
    Click(hbar, arrow / 2, by);
    Click(hbar, bw - arrow - 3, by);
    const int off = t->horzBar()->getPageSize();
    ASSERT_TRUE(WaitFor([&] { return t->getHorzOffset() == off; }, 2000)) << t->getHorzOffset();
    const Picture header2(t->titleWin()), body2(t->cellWin());
    for (int c = 0; c < t->numCol(); ++c) {
        const int edge = t->getCol(c).right() - off;
        if (edge > 1 && edge < body2.w) {
            EXPECT_EQ(body2.At(edge, 8), Rgb(BUTTON_FACE_COLOR)) << "column line " << c;
            EXPECT_NE(header2.At(edge - 1, 24), Rgb(t->titleWin()->getBackground())) << "box edge " << c;
        }
    }
}
