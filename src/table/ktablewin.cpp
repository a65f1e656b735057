// KTableWin: construction, attributes, the child windows and their geometry,
// scrolling, and the row and cell operations. The header layout lives in
// ktablecols.cpp, the painting in ktablepaint.cpp.
#include "ktablewin.h"
#include "kgraphics.h"
#include "kscrollbar.h"
#include "ktimer.h"

namespace {

// Mouse masks of the three input handlers: the cells take presses, releases,
// drags and double clicks of all buttons and the wheel; the header presses,
// releases and double clicks; the table window itself presses and releases.
const unsigned long CELL_MOUSE = ME_BUTTONS | ME_WHEEL;
const unsigned long TITLE_MOUSE = ME_PRESS | ME_RELEASE | ME_DOUBLE | ME_LEFT | ME_MIDDLE | ME_RIGHT;
const unsigned long TABLE_MOUSE = ME_PRESS | ME_RELEASE | ME_LEFT | ME_MIDDLE | ME_RIGHT;

// Clears a flag when the scope ends, however it ends.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

} // namespace

KTableWin::KTableWin() : font(DEFAULT_FIXED_FONT), lineColor(BUTTON_FACE_COLOR) {}

KTableWin::~KTableWin()
{
    // The editor reports its text to the table when it loses the focus, so
    // it goes while the table is still whole.
    KTableCellEditor* open = editor;
    editor = nullptr;
    delete open;
    // The panes' handlers call into the table; they go before its columns.
    KWindow* panes[] = {cellWindow, titleWindow, entryWindow, entryTitleWin};
    cellWindow = titleWindow = entryWindow = entryTitleWin = nullptr;
    for (KWindow* pane : panes)
        delete pane;
}

KTableWin* MakeTableWin(KWindow* parent, KArgList* args)
{
    auto* t = new KTableWin;
    t->init(parent, args);
    return t;
}

void KTableWin::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_FONT) font = (HFONT)v;
        else if (a == WA_HORIZONTAL_SCROLLBAR) horzBarHeight = (int)v != 0;
        else if (a == WA_VERTICAL_SCROLLBAR) vertBarWidth = (int)v != 0;
        else if (a == WA_SHOW_ENTRY) showEntry = (int)v < 5 ? 5 : (int)v;
        else if (a == WA_ENTRY_BASE) entryBase = (int)v;
        else if (a == WA_CELL_HEIGHT) cellHeight = (int)v;
        else if (a == WA_MARGIN_HEIGHT) cellMargin = (int)v;
        else if (a == WA_TITLE_SHADOW_THICK) titleShadowThick = (int)v;
        else if (a == WA_TITLE_DOUBLE_CLICKS) titleDoubleClicks = (int)v != 0;
        else if (a == WA_LINE_COLOR) lineColor = (unsigned long)v;
        else if (a == WA_TABLE_MODE) {
            tableMode = (TableMode)(int)v;
            if (tableMode == TABLE_SELECT)
                enableSelectRect(true);
        }
        else if (a == WA_COL_ALIGN) colAlign = (int)v;
        else if (a == WA_HIGHLIGHT_SELECT) highlightSelect = (int)v != 0;
        else if (a == WA_ALLOW_INSERT) allowInsert = (int)v != 0;
        else if (a == WA_NUM_DISP_ROW) numDispRow = (int)v;
        else if (a == WA_NUM_DISP_COL) numDispCol = (int)v;
    }
}

// Height of "A" in a font, on the display.
static SIZE CharSize(HFONT font)
{
    KDisplayInfo dc;
    dc.setFont(font);
    int cx = 0, cy = 0;
    dc.stringExtent(L"A", 1, &cx, &cy);
    return SIZE{cx, cy};
}

void KTableWin::init(KWindow* p, KArgList* args)
{
    KWindow::init(p, args);
    forgetUngivenSize(args); // configure sizes the table to its columns
    _addEventHandler(new ResizeEventHandler<KTableWin>(this, &KTableWin::resizeHandler));
    if (cellHeight == 0)
        cellHeight = CharSize(font).cy + 2 * cellMargin;
    _addEventHandler(new MouseEventHandler<KTableWin>(this, &KTableWin::mouseHandler, TABLE_MOUSE));
    _addEventHandler(new ExposeEventHandler<KTableWin>(this, &KTableWin::exposeHandler));

    KWindow** panes[] = {&entryTitleWin, &entryWindow, &titleWindow, &cellWindow};
    for (KWindow** pane : panes) {
        KArgList paneArgs;
        paneArgs.add(WA_SHADOW_STYLE, 5);
        if (pane == &cellWindow)
            paneArgs.add(WA_BACKGROUND, (unsigned long)0xFFFFFF);
        *pane = MakeWindow(this, &paneArgs);
        (*pane)->_addEventHandler(new ExposeEventHandler<KTableWin>(this, &KTableWin::exposeHandler));
    }
    titleWindow->enableDoubleClicks(titleDoubleClicks);
    titleWindow->_addEventHandler(
        new MouseEventHandler<KTableWin>(this, &KTableWin::titleMouseHandler, TITLE_MOUSE));
    cellWindow->enableDoubleClicks(tableMode == TABLE_SELECT);
    cellWindow->_addEventHandler(
        new MouseEventHandler<KTableWin>(this, &KTableWin::cellMouseHandler, CELL_MOUSE));
    cellWindow->_addEventHandler(
        new KeyboardEventHandler<KTableWin>(this, &KTableWin::keyboardHandler, KE_ALL));

    if (vertBarWidth) {
        KArgList barArgs;
        barArgs.add(WA_ORIENTATION, 1);
        vertScrollBar = MakeScrollBar(this, &barArgs);
        setVertBarLimits();
        vertScrollBar->_addEventHandler(new ScrollBarHandler<KTableWin>(this, &KTableWin::scrollHandler));
        vertBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    }
    if (horzBarHeight) {
        KArgList barArgs;
        barArgs.add(WA_ORIENTATION, 0);
        horzScrollBar = MakeScrollBar(this, &barArgs);
        horzScrollBar->_addEventHandler(new ScrollBarHandler<KTableWin>(this, &KTableWin::scrollHandler));
        horzBarHeight = GetSystemMetrics(SM_CYHSCROLL);
    }
    if (joinTabGroup)
        addToTabGroup(this);
}

void KTableWin::resizeHandler(KWindow*, ResizeEvent*)
{
    configure(false);
}

void KTableWin::enableDoubleClicks(bool on)
{
    if (cellWindow)
        cellWindow->enableDoubleClicks(on);
}

void KTableWin::setFocus()
{
    if (currentCol < 0)
        currentCol = 0;
    if (editor)
        editor->setFocus();
    else if (cellWindow)
        cellWindow->setFocus();
}

void KTableWin::enableSelectRect(bool on)
{
    highlightSelect = on;
    cellMargin = on ? 3 : 2;
}

void KTableWin::configure(bool force)
{
    if (configuring)
        return;
    FlagGuard guard(configuring);
    KWindow::configure(force);
    configCols();
    horzOffset = 0;
    const SIZE a = CharSize(font);
    if (clientHeight != 0 && cellHeight > 0) {
        cellAreaHeight = clientHeight - titleHeight - horzBarHeight;
        if (cellAreaHeight < 0)
            cellAreaHeight = 0;
        numDispRow = cellAreaHeight / cellHeight + (cellAreaHeight % cellHeight != 0);
    }
    if (showEntry > 0) {
        entryCharWidth = a.cx;
        entryWidth = (showEntry + 1) * entryCharWidth;
    }
    if (numDispCol == 0 || numDispCol > columns.count())
        numDispCol = columns.count();
    int w = numDispCol > 0 ? columns[numDispCol - 1].right() : totalWidth;
    if (clientWidth != 0)
        w = clientWidth - vertBarWidth - entryWidth;
    if (w < 0)
        w = 0;
    const int e = entryWidth, t = titleHeight, h = cellAreaHeight;
    {
        KDeferPos batch(this);
        batch.move(entryTitleWin, 0, 0, e, t);
        batch.move(entryWindow, 0, t, e, h);
        batch.move(titleWindow, e, 0, w, t);
        batch.move(cellWindow, e, t, w, h);
        if (horzScrollBar)
            batch.move(horzScrollBar, e, t + h, w, horzBarHeight);
        if (vertScrollBar)
            batch.move(vertScrollBar, e + w, t, vertBarWidth, h);
    }
    resizeClient(e + w + vertBarWidth, h + t + horzBarHeight, true);
    if (horzScrollBar) {
        horzScrollBar->setRange(horzScrollBar->getMinVal(), totalWidth - 1);
        horzScrollBar->setPageSize(w);
        horzScrollBar->setCurVal(0, false);
    }
    setVertBarLimits();
}

// --- Scrolling ---

void KTableWin::setVertBarLimits()
{
    if (!vertScrollBar)
        return;
    int last = allowInsert ? rowCount : rowCount - 1;
    if (last < vertScrollBar->getMinVal())
        last = vertScrollBar->getMinVal();
    vertScrollBar->setRange(vertScrollBar->getMinVal(), last);
    vertScrollBar->setPageSize(numDispRow);
}

void KTableWin::scrollHandler(KScrollBar* bar, ScrollBarEvent* e)
{
    if (!cellWindow)
        return; // the table is going
    if (bar == vertScrollBar) {
        scrollToRow(e->value);
        return;
    }
    const int dx = horzOffset - e->value;
    if (bar != horzScrollBar || dx == 0)
        return;
    horzOffset = e->value;
    cellWindow->scroll(dx, 0);
    titleWindow->scroll(dx, 0);
    placeEditor();
}

void KTableWin::scrollToRow(int v)
{
    if (v < 0 || v >= rowCount || v == topRow)
        return;
    const int rows = v - topRow;
    topRow = v;
    // A jump beyond a page moves nothing that stays visible: repaint
    // instead of shifting by a distance that may not fit in 32 bits.
    if (rows > numDispRow || -rows > numDispRow) {
        cellWindow->invalidate(false);
        entryWindow->invalidate(false);
        cellWindow->update();
        entryWindow->update();
    } else {
        cellWindow->scroll(0, -rows * cellHeight);
        entryWindow->scroll(0, -rows * cellHeight);
    }
    placeEditor();
}

void KTableWin::setFirstRow(int r)
{
    if (rowCount <= 0) {
        topRow = 0;
        return;
    }
    if (r > rowCount - 1)
        r = rowCount - 1;
    if (r < 0)
        r = 0;
    if (vertScrollBar)
        vertScrollBar->setCurVal(r, true);
    else
        scrollToRow(r);
}

void KTableWin::assureCellVisible(int row, int)
{
    if (row < topRow)
        setFirstRow(row);
    else if (row >= topRow + numDispRow)
        setFirstRow(row - numDispRow + 1);
}

void KTableWin::assurePointVisible(const KPOINT& p)
{
    int row, col;
    pointToCell(p, row, col);
    assureCellVisible(row, col);
}

// --- Rows and cells ---

void KTableWin::setNumRow(int n)
{
    rowCount = n;
    setVertBarLimits();
}

void KTableWin::update(int n)
{
    if (n != -1)
        setNumRow(n);
    if (topRow >= rowCount)
        assureLastRowVisible();
    cellWindow->invalidate(false);
    entryWindow->invalidate(false);
    cellWindow->update();
    entryWindow->update();
}

int KTableWin::getLastDrawRow() const
{
    const int rows = rowCount + (allowInsert ? 1 : 0);
    const int shown = topRow + numDispRow;
    return rows < shown ? rows : shown;
}

KString KTableWin::getCellString(int row, int col)
{
    if (!isValidCell(row, col))
        return KString();
    TableWinCellEvent e(1, row, col);
    e.window = this;
    callHandlers(&e);
    return e.text;
}

void KTableWin::setCellString(int row, int col, const KString& text)
{
    const bool strip = isValidCol(col) ? columns[col].stripSpaces : true;
    TableWinCellEvent e(text, row, col, strip);
    e.window = this;
    callHandlers(&e);
}

void KTableWin::notifyChange(const KString& text)
{
    if (!isValidRow(currentRow))
        return;
    setIsModified(true);
    setCellString(currentRow, currentCol, text);
}

DCRect KTableWin::getCellRect(int row, int col) const
{
    const KTableCol* c = isValidCol(col) ? &columns[col] : nullptr;
    return DCRect(c ? c->xLeft : 0, (row - topRow) * cellHeight, c ? c->width : 0, cellHeight);
}

void KTableWin::pointToCell(KPOINT p, int& row, int& col) const
{
    row = cellHeight > 0 ? p.y / cellHeight + topRow : topRow;
    const int x = p.x + horzOffset;
    for (col = 0; col < columns.count(); ++col)
        if (columns[col].right() > x)
            return;
}

int KTableWin::XtoCellCol(int col, int x) const
{
    if (!isValidCol(col))
        return -1;
    const KTableCol& c = columns[col];
    if (c.charWidth <= 0)
        return 0;
    return (c.right() - c.charWidth / 2 - x) / c.charWidth;
}

void KTableWin::setCurRow(int row, bool show)
{
    if (!isValidRow(row))
        return;
    if (show)
        assureRowVisible(row);
    const int old = currentRow;
    currentRow = row;
    drawRow(old);
    drawRow(row);
}

void KTableWin::setCurCenterRow(int row)
{
    if (!isValidRow(row))
        return;
    if (row - topRow >= numDispRow / 2)
        setFirstRow(row - numDispRow / 2 + 1);
    else if (row < topRow)
        setFirstRow(row);
    const int old = currentRow;
    currentRow = row;
    drawRow(old);
    drawRow(row);
}

void KTableWin::setCurCell(int row, int col)
{
    previousRow = currentRow;
    previousCol = currentCol;
    currentRow = row;
    currentCol = col;
    drawRow(previousRow);
}

void KTableWin::clearSelection(bool redraw)
{
    const int old = currentRow;
    currentRow = -1;
    if (redraw)
        drawRow(old);
}

void KTableWin::draw()
{
    if (cellWindow)
        cellWindow->invalidate(false);
}

void KTableWin::drawRow(int row)
{
    if (row < 0 || row > rowCount || !cellWindow)
        return;
    const int h = highlightHalfWidth;
    const int y = (row - topRow) * cellHeight - h;
    cellWindow->invalidate(DCRect(0, y, cellWindow->width(), cellHeight + 2 * h), false);
    entryWindow->invalidate(DCRect(0, y, entryWindow->width(), cellHeight + 2 * h), false);
}

void KTableWin::drawCol(int col)
{
    if (!isValidCol(col) || !cellWindow)
        return;
    const KTableCol& c = columns[col];
    cellWindow->invalidate(DCRect(c.xLeft - horzOffset - 1, 0, c.width + 2, cellWindow->height()), false);
}

void KTableWin::drawCell(int row, int col)
{
    if (row < 0 || row > rowCount || !isValidCol(col) || !cellWindow)
        return;
    const int h = highlightHalfWidth;
    DCRect r = getCellRect(row, col);
    cellWindow->invalidate(DCRect(r.x - horzOffset - h, r.y - h, r.w + 2 * h, r.h + 2 * h), false);
}

void KTableWin::setHelpText(const wchar_t* text)
{
    KWindow* panes[] = {entryTitleWin, entryWindow, titleWindow, cellWindow};
    for (KWindow* pane : panes)
        if (pane)
            pane->setToolTipText(KString(text));
}
