// KTableWin's columns: adding and changing them, and the layout of the
// multi-line header, whose equal texts on a line share one box.
#include "ktablewin.h"
#include "kgraphics.h"

int KTableWin::addCol(const KString& title, ColArg a1, int v1, ColArg a2, int v2, ColArg a3, int v3,
                      ColArg a4, int v4, ColArg a5, int v5, ColArg a6, int v6, ColArg a7, int v7)
{
    KTableCol c;
    c.title = title;
    c.align = colAlign;
    c.mode = tableMode;
    c.font = font;
    const ColArg keys[] = {a1, a2, a3, a4, a5, a6, a7};
    const int values[] = {v1, v2, v3, v4, v5, v6, v7};
    for (int i = 0; i < 7; ++i)
        c.setArg(keys[i], values[i]);
    if (c.background == (unsigned long)-1)
        c.background = defaultBackground;
    if (c.foreground == (unsigned long)-1)
        c.foreground = defaultForeground;
    if (c.fieldWidth == 0)
        c.fieldWidth = title.length();
    if (c.mode == TABLE_SELECT)
        enableSelectRect(true);
    columns.append(c);
    return columns.count() - 1;
}

void KTableWin::clearCols()
{
    columns.reserve(0, false);
    titleBoxes.reserve(0, false);
    numDispCol = 0;
}

void KTableWin::setTitle(int col, const KString& title, bool redraw)
{
    if (!isValidCol(col))
        return;
    columns[col].title = title;
    configCols();
    if (redraw)
        drawTitle(true);
}

KString KTableWin::fieldTitle(int col) const
{
    return isValidCol(col) ? columns[col].title : KString();
}

int KTableWin::fieldWidth(int col) const
{
    return isValidCol(col) ? columns[col].fieldWidth : 0;
}

void KTableWin::setFieldWidth(int col, int chars)
{
    if (isValidCol(col))
        columns[col].fieldWidth = chars;
}

int KTableWin::getColWidth(int col) const
{
    return isValidCol(col) ? columns[col].width : 0;
}

TableMode KTableWin::getMode(int col) const
{
    return isValidCol(col) ? columns[col].mode : TABLE_DISPLAY;
}

void KTableWin::setMode(TableMode mode, int firstCol, int lastCol)
{
    if (lastCol == -1 || lastCol >= columns.count())
        lastCol = columns.count() - 1;
    for (int c = firstCol < 0 ? 0 : firstCol; c <= lastCol; ++c)
        columns[c].mode = mode;
}

// lines[c][r] is header line r of column c; ids[c][r] names the box it
// belongs to.
void KTableWin::groupCells(KArray<KArray<KString>>& lines, KArray<KArray<int>>& ids, int r, int first,
                           int last)
{
    if (r >= titleRows || first > last)
        return;
    for (int c = first; c <= last; ++c) {
        const int start = c;
        while (c < last && lines[c][r] == lines[c + 1][r]) {
            ids[c + 1][r] = ids[c][r];
            ++c;
        }
        const bool single = c == 0 || ids[c - 1][r] != ids[c][r];
        if (r != titleRows - 1 && single) {
            ids[c][r + 1] = ids[c][r];
            if (lines[c][r + 1].notNull())
                lines[c][r].append("\n%S", &lines[c][r + 1]);
        }
        groupCells(lines, ids, r + 1, start, c);
    }
}

void KTableWin::configCols()
{
    titleBoxes.reserve(0, false);
    const int n = columns.count();
    KArray<KArray<KString>> lines(n);
    KArray<KArray<int>> ids(n);
    int most = 1;
    for (int c = 0; c < n; ++c) {
        lines[c] = columns[c].title.split(L'\n', false);
        if (lines[c].count() > most)
            most = lines[c].count();
    }
    titleRows = most;
    for (int c = 0; c < n; ++c) {
        while (lines[c].count() < most)
            lines[c].append(KString());
        ids[c] = KArray<int>(most);
        for (int r = 0; r < most; ++r)
            ids[c][r] = r * 65536 + c;
    }
    // Header lines empty in every column are dropped from the bottom.
    for (int r = most - 1; r > 0; --r) {
        bool empty = true;
        for (int c = 0; c < n && empty; ++c)
            empty = lines[c][r].isNull();
        if (!empty)
            break;
        --titleRows;
    }
    groupCells(lines, ids, 0, 0, n - 1);
    makeTitleBoxes(lines, ids);
    measureCols();
    if (n == 0) {
        titleRows = 1;
        totalWidth = 0;
        titleHeight = cellHeight;
    } else {
        totalWidth = columns[n - 1].right();
        titleHeight = (cellHeight - 1) * titleRows + 1;
    }
    cellAreaHeight = numDispRow * cellHeight;
    for (KTitleBox& b : titleBoxes) {
        const int x = columns[b.col].xLeft;
        const int span = b.lastRow - b.row;
        b.rect = DCRect(x, (cellHeight - 1) * b.row, columns[b.lastCol].right() - x,
                        (span + 1) * cellHeight - span);
    }
}

void KTableWin::makeTitleBoxes(KArray<KArray<KString>>& lines, KArray<KArray<int>>& ids)
{
    const int n = columns.count();
    for (int r = 0; r < titleRows; ++r) {
        for (int c = 0; c < n; ++c) {
            const int id = ids[c][r];
            if (id == -1)
                continue;
            KTitleBox box(r, c);
            box.text = lines[c][r];
            box.shadowThick = (short)titleShadowThick;
            while (box.lastCol + 1 < n && ids[box.lastCol + 1][r] == id)
                ++box.lastCol;
            while (box.lastRow + 1 < titleRows && ids[box.lastCol][box.lastRow + 1] == id)
                ++box.lastRow;
            for (int rr = box.row; rr <= box.lastRow; ++rr)
                for (int cc = box.col; cc <= box.lastCol; ++cc)
                    ids[cc][rr] = -1;
            titleBoxes.append(box);
        }
    }
}

void KTableWin::measureCols()
{
    KDisplayInfo dc;
    for (int c = 0; c < columns.count(); ++c) {
        KTableCol& col = columns[c];
        dc.setFont(col.font);
        int cx = 0, cy = 0;
        dc.stringExtent(L"A", 1, &cx, &cy);
        col.charWidth = cx;
        col.charHeight = cy;
        col.width = (col.fieldWidth + 1) * cx;
        col.xLeft = c == 0 ? 0 : columns[c - 1].right() + col.spacing;
    }
}
