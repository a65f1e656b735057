// Editing on the table: the editor moved from cell to cell, and rows inserted
// and deleted by asking the application.
#include "ktablewin.h"
#include "kscrollbar.h"

int KTableWin::firstEditCol() const
{
    for (int c = 0; c < columns.count(); ++c)
        if (columns[c].mode == TABLE_EDIT)
            return c;
    return -1;
}

void KTableWin::setEditCell(int row, int col)
{
    if (row == currentRow) {
        // Past either end of the row the editor goes on in the next or
        // previous row; the insertion row (rowCount) is the last it reaches.
        if (col >= columns.count()) {
            col = 0;
            row = row + 1 > rowCount ? rowCount : row + 1;
        } else if (col < 0) {
            col = columns.count() - 1;
            row = row - 1 < 0 ? 0 : row - 1;
        }
    } else if (col == currentCol) {
        row = row < 0 ? 0 : row > rowCount ? rowCount : row;
    }
    if (!isValidCol(col) || row < 0)
        return;
    if (row != currentRow || col != currentCol) {
        previousRow = currentRow;
        previousCol = currentCol;
        currentRow = row;
        currentCol = col;
    }
    if (editor) {
        KTableCellEditor* old = editor;
        editor = nullptr;
        delete old;
    }
    // Scrolled first, so that the editor is placed where the cell is shown.
    assureCellVisible(currentRow, currentCol);
    const DCRect r = getCellRect(currentRow, currentCol);
    KArgList args;
    args.add(WA_X, (int)(r.x - horzOffset));
    args.add(WA_Y, (int)r.y);
    args.add(WA_WIDTH, (int)r.w);
    args.add(WA_HEIGHT, (int)r.h);
    editor = MakeTableCellEditor(cellWindow, this, &args);
    editor->setFocus();
    drawCell(previousRow, previousCol);
    drawCell(currentRow, currentCol);
}

// The cells scroll without their children: the editor is moved after them,
// out of sight while its row is.
void KTableWin::placeEditor()
{
    if (!editor)
        return;
    const DCRect r = getCellRect(currentRow, currentCol);
    editor->move((int)(r.x - horzOffset), (int)r.y, (int)r.w, (int)r.h);
}

void KTableWin::setEditRow(int row)
{
    if (row < 0 || row > rowCount || firstEditCol() < 0)
        return;
    setEditCell(row, firstEditCol());
}

void KTableWin::incEditCol(int step)
{
    const int n = columns.count();
    int row = currentRow, col = currentCol + step;
    if (n < 2) {
        setEditCell(row, col);
        return;
    }
    for (int i = 0; i < n - 1; ++i) {
        if (col >= n) {
            col = 0;
            row = row + 1 > rowCount ? rowCount : row + 1;
        } else if (col < 0) {
            col = n - 1;
            row = row - 1 < 0 ? 0 : row - 1;
        }
        if (columns[col].mode == TABLE_EDIT)
            break;
        col += step;
    }
    setEditCell(row, col);
}

void KTableWin::deleteCellEditor()
{
    // Forgotten before it goes: the focus it loses on the way must not find
    // it still registered and delete it a second time.
    KTableCellEditor* old = editor;
    editor = nullptr;
    delete old;
    drawCell(currentRow, currentCol);
}

bool KTableWin::autoInsertRow(unsigned msg, unsigned wParam, long lParam)
{
    if (!editor || !allowInsert || currentRow != rowCount)
        return false;
    TableWinCellEvent e(3, currentRow, currentCol);
    e.window = this;
    callHandlers(&e);
    update(rowCount + 1);
    if (editor)
        editor->sendMessage(msg, wParam, lParam);
    return true;
}

void KTableWin::insertRow(int row, int col)
{
    setIsModified(true);
    TableWinCellEvent e(3, row, col);
    e.window = this;
    callHandlers(&e);
    update(rowCount + 1);
}

// Deletes the application's row (row, col), the current row moving up when
// it was the last one.
void KTableWin::deleteRow(int row, int col)
{
    setIsModified(true);
    TableWinCellEvent e(4, row, col);
    e.window = this;
    callHandlers(&e);
    if (currentRow == rowCount - 1 && currentRow > 0)
        --currentRow;
    update(rowCount - 1);
    assureCellVisible(currentRow, currentCol);
}

bool KTableWin::deleteCurrentRow()
{
    if (rowCount == 0 || currentRow >= rowCount || currentRow < 0) {
        Beep(MB_ICONHAND);
        return false;
    }
    deleteRow(currentRow, currentCol);
    return true;
}
