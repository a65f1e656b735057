// KTableWin's painting: the header boxes, the row-number column, and the
// cells, whose texts and colours are asked of the application one visible
// cell at a time.
#include "ktablewin.h"
#include "kgraphics.h"
#include "kscrollbar.h"

void KTitleBox::draw(KWindow*, KWinDC& dc)
{
    if (shadowThick > 0)
        dc.drawShadow(rect, shadowStyle, shadowThick);
    dc.setAlign(0, 0);
    dc.setJustify(2);
    dc.textOut(rect.x + rect.w / 2, rect.y + rect.h / 2, text);
}

void KTableWin::exposeHandler(KWindow* w, ExposeEvent* e)
{
    const RECT& r = e->updateRect;
    if (w == titleWindow)
        drawTitle(false);
    else if (w == cellWindow)
        paintCells(KRECT{r.left, r.top, r.right, r.bottom});
    else if (w == entryTitleWin)
        drawEntryTitle();
    else if (w == entryWindow)
        drawEntryWin(r.top, r.bottom);
    else if (w == this && allowInsert && vertScrollBar) {
        KWinDC dc(this);
        dc.setFont(font);
        dc.setBkMode(TRANSPARENT);
        dc.setAlign(0, 0);
        dc.textOut(clientWidth - vertBarWidth / 2, titleHeight / 2, KString("*"));
    }
}

void KTableWin::drawTitle(bool clear)
{
    if (clear)
        titleWindow->clear();
    KWinDC dc(titleWindow);
    dc.setWindowOrg(horzOffset, 0);
    dc.setBkMode(TRANSPARENT);
    dc.setFont(font);
    for (KTitleBox& box : titleBoxes)
        box.draw(titleWindow, dc);
}

void KTableWin::drawEntryTitle()
{
    KWinDC dc(entryTitleWin);
    dc.setBkMode(TRANSPARENT);
    dc.setFont(font);
    dc.setAlign(0, 0);
    dc.textOut(entryTitleWin->width() / 2, entryTitleWin->height() / 2, KString("ENTRY"));
}

void KTableWin::drawEntryWin(int y0, int y1)
{
    KWinDC dc(entryWindow);
    dc.setBkMode(TRANSPARENT);
    dc.setFont(font);
    dc.setAlign(2, 0);
    const int last = getLastDrawRow();
    for (int row = topRow; row < last; ++row) {
        const int y = (row - topRow) * cellHeight;
        if (y > y1 || y + cellHeight < y0)
            continue;
        const DCRect band(0, y, entryWidth, cellHeight);
        // Rows are redrawn without erasing: the band is cleared first.
        dc.fillRect(band, entryWindow->getBackground());
        dc.drawShadow(band, row == currentRow ? 10 : 5, 1);
        KString text;
        if (row == rowCount)
            text = "    *";
        else
            text.set("%D", entryBase + row);
        dc.textOut(entryWidth - entryCharWidth / 2, y + cellHeight / 2, text);
    }
    const int below = (last - topRow) * cellHeight;
    if (below < entryWindow->height())
        dc.fillRect(DCRect(0, below, entryWindow->width(), entryWindow->height() - below),
                    entryWindow->getBackground());
}

void KTableWin::paintCells(const KRECT& r)
{
    KWinDC dc(cellWindow);
    const int last = getLastDrawRow();
    for (int row = topRow; row < last; ++row)
        for (int col = 0; col < columns.count(); ++col)
            paintCell(dc, r, row, col);
    dc.setWindowOrg(0, 0);
    const int w = cellWindow->width(), h = cellWindow->height();
    const int right = totalWidth + 1 - horzOffset;
    const int below = (last - topRow) * cellHeight;
    if (right < w)
        dc.fillRect(DCRect(right, 0, w - right, below), cellWindow->getBackground());
    if (below < h)
        dc.fillRect(DCRect(0, below, w, h - below), allowInsert ? 0x808080 : cellWindow->getBackground());
    paintFocusFrame(dc);
}

// The editor's cell in black, or the current row in highlightColor.
void KTableWin::paintFocusFrame(KWinDC& dc)
{
    const int h = highlightHalfWidth;
    DCRect frame;
    COLORREF colour;
    if (editor && isValidCell(currentRow, currentCol)) {
        frame = getCellRect(currentRow, currentCol);
        colour = 0;
    } else if (highlightSelect && isValidRow(currentRow) && columns.count() > 0) {
        int k = 0;
        while (k < columns.count() - 1 && columns[k].shadowStyle != 0)
            ++k;
        const int x = columns[k].xLeft + h;
        frame = DCRect(x, (currentRow - topRow) * cellHeight, columns[columns.count() - 1].right() - x - h + 1,
                       cellHeight);
        colour = highlightColor;
    } else {
        return;
    }
    dc.setWindowOrg(horzOffset, 0);
    dc.clearBrush();
    dc.setPen(colour, PS_SOLID, 2 * h + 1);
    dc.rectangle(frame);
    dc.setWindowOrg(0, 0);
}

void KTableWin::paintCell(KWinDC& dc, KRECT clip, int row, int col)
{
    if (!isValidCol(col) || row < 0 || row > rowCount)
        return;
    const KTableCol& c = columns[col];
    DCRect rect = getCellRect(row, col);
    clip.left += horzOffset;
    clip.right += horzOffset;
    if (clip.right <= rect.x || clip.left >= rect.x + rect.w || clip.bottom <= rect.y
        || clip.top >= rect.y + rect.h)
        return;
    dc.setWindowOrg(horzOffset, 0);
    dc.clearClipRect();
    dc.intersectClipRect(rect);
    dc.setFont(c.font);

    TableWinCellEvent e(1, row, col);
    prepareCellRequest(e);
    const bool insertRow = row == rowCount;
    if (!insertRow) {
        callHandlers(&e);
    } else if (col == 0 && entryWidth == 0) {
        e.shadowThick = 1;
        e.shadowStyle = 5;
        e.background = 0xC0C0C0;
        e.text = "*";
    }
    const DCRect cell = rect;
    if (e.shadowThick > 0) {
        dc.drawShadow(rect, e.shadowStyle, e.shadowThick);
        rect = DCRect(rect.x + e.shadowThick, rect.y + e.shadowThick, rect.w - 2 * e.shadowThick,
                      rect.h - 2 * e.shadowThick);
    }
    const bool editing = editor && c.mode == TABLE_EDIT && row == currentRow && col == currentCol;
    if (!(editing && !insertRow)) {
        dc.fillRect(rect, e.background);
        dc.setBkMode(TRANSPARENT);
        dc.setTextColor(insertRow ? 0 : e.foreground);
        dc.setAlign(insertRow ? 2 : c.align, 0);
        const int m = c.charWidth / 2;
        dc.textOut(DCRect(rect.x + m, rect.y, rect.w - 2 * m, rect.h), e.text);
    }
    dc.clearClipRect();
    if (e.shadowThick == 0 && showGrid)
        drawGrid(dc, cell);
}

// Lines round a plain cell, shared with its neighbours through the column
// spacing.
void KTableWin::drawGrid(KWinDC& dc, const DCRect& cell)
{
    dc.setPen(lineColor);
    const int top = cell.y, bottom = cell.y + cellHeight - 1;
    const int left = cell.x, right = cell.x + cell.w;
    dc.drawLine(left - 1, top, right + 1, top);
    dc.drawLine(left - 1, bottom, right + 1, bottom);
    dc.drawLine(left - 1, top, left - 1, bottom + 1);
    dc.drawLine(right, top, right, bottom + 1);
}

void KTableWin::setBackground(const KWinDC& dc, int row, int col, unsigned long colour)
{
    if (!isValidCol(col))
        return;
    DCRect r = getCellRect(row, col);
    r.x -= horzOffset;
    const_cast<KWinDC&>(dc).fillRect(r, colour);
}

void KTableWin::drawShadow(int row, int col, short style)
{
    if (!isValidCol(col) || !cellWindow)
        return;
    KWinDC dc(cellWindow);
    DCRect r = getCellRect(row, col);
    r.x -= horzOffset;
    dc.drawShadow(r, style, columns[col].shadowThick);
}

void KTableWin::prepareCellRequest(TableWinCellEvent& e)
{
    const KTableCol& c = columns[e.col];
    e.window = this;
    e.foreground = c.foreground;
    e.background = c.background;
    e.shadowThick = c.shadowThick;
    e.shadowStyle = c.shadowStyle;
}
