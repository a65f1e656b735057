// Spacing, outer margins and cells shared by the grid, table and pack layouts.
#include "kcells.h"

bool MarginFields::read(int attrib, const KArgVal& v)
{
    const int n = (int)v;
    if (attrib == WA_MARGIN_WIDTH) spaceX = n;
    else if (attrib == WA_MARGIN_HEIGHT) spaceY = n;
    else if (attrib == WA_LEFT_MARGIN) left = n;
    else if (attrib == WA_RIGHT_MARGIN) right = n;
    else if (attrib == WA_TOP_MARGIN) top = n;
    else if (attrib == WA_BOTTOM_MARGIN) bottom = n;
    else if (attrib == WA_OUTER_MARGINS) left = right = top = bottom = n;
    else return false;
    return true;
}

void MarginFields::resolve()
{
    if (left == UNSET_MARGIN) left = spaceX;
    if (right == UNSET_MARGIN) right = spaceX;
    if (top == UNSET_MARGIN) top = spaceY;
    if (bottom == UNSET_MARGIN) bottom = spaceY;
}

bool CellCounts::read(const char* container, int attrib, const KArgVal& v)
{
    const bool isRows = attrib == WA_NUM_GRID_ROW;
    if (!isRows && attrib != WA_NUM_GRID_COL)
        return false;
    const int n = (int)v;
    // The fixed count divides every automatic placement.
    if (n < 1) {
        LogPrintf("%s: %s count %d refused, it must be at least 1\n", container,
                  isRows ? "row" : "column", n);
        return true;
    }
    (isRows ? rows : cols) = n;
    fillByColumn = isRows;
    return true;
}

void CellCounts::next(int k, int* row, int* col) const
{
    if (fillByColumn) {
        *row = k % rows;
        *col = k / rows;
    } else {
        *row = k / cols;
        *col = k % cols;
    }
}

void CellCounts::store(KWindow* child, int row, int col)
{
    child->setUser1(row);
    child->setUser2(col);
    if (row >= rows)
        rows = row + 1;
    if (col >= cols)
        cols = col + 1;
}

void CellCounts::place(KWindow* child, KArgList* args)
{
    bool hasRow = false, hasCol = false;
    int row = -1, col = -1;
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (args->attr(i) == WA_ROW) {
            hasRow = true;
            row = (int)args->val(i);
        } else if (args->attr(i) == WA_COL) {
            hasCol = true;
            col = (int)args->val(i);
        }
    }
    if (!hasRow || !hasCol || row == -1 || col == -1)
        next(child->childNum(), &row, &col);
    store(child, row, col);
}

void CellCounts::renumber(KWindow* container)
{
    (fillByColumn ? cols : rows) = 0;
    int k = 0;
    for (int i = 0; i < container->numChild(); ++i) {
        KWindow* c = container->child(i);
        if (!c->isManaged())
            continue;
        int row, col;
        next(k++, &row, &col);
        store(c, row, col);
    }
}
