// KRowCol: a table whose rows and columns take the size of their largest
// child; the table takes the size of its content.
#include "krowcol.h"
#include "kcells.h"

namespace {

// Where each row (or column) starts, and past the last entry the whole extent:
// the first starts at lead, each next one gap after the one before, and trail
// follows the last.
KArray<int> Positions(const KArray<int>& sizes, int lead, int gap, int trail)
{
    const int n = sizes.count();
    KArray<int> pos(n + 1);
    pos[0] = lead;
    for (int i = 0; i < n; ++i)
        pos[i + 1] = pos[i] + sizes[i] + (i == n - 1 ? trail : gap);
    return pos;
}

} // namespace

KRowCol::KRowCol()
    : numRows(1), numCols(0), marginWidth(0), marginHeight(0), leftMargin(UNSET_MARGIN),
      rightMargin(UNSET_MARGIN), topMargin(UNSET_MARGIN), bottomMargin(UNSET_MARGIN),
      fillByColumn(true), configuring(false)
{
}

KRowCol::~KRowCol() = default;

KRowCol* MakeRowCol(KWindow* parent, KArgList* args)
{
    auto* table = new KRowCol;
    table->init(parent, args);
    return table;
}

void KRowCol::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ResizeEventHandler<KRowCol>(this, &KRowCol::resizeHandler));
}

void KRowCol::setValues(KArgList* args)
{
    KWindow::setValues(args);
    MarginFields margins{marginWidth, marginHeight, leftMargin, rightMargin, topMargin, bottomMargin};
    CellCounts counts{numRows, numCols, fillByColumn};
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (!margins.read(args->attr(i), args->val(i)))
            counts.read("KRowCol", args->attr(i), args->val(i));
    }
    margins.resolve();
}

void KRowCol::insertChild(KWindow* child, KArgList* args)
{
    CellCounts{numRows, numCols, fillByColumn}.place(child, args);
}

void KRowCol::renumberGrid()
{
    CellCounts{numRows, numCols, fillByColumn}.renumber(this);
}

void KRowCol::setNumCol(int count)
{
    CellCounts{numRows, numCols, fillByColumn}.read("KRowCol", WA_NUM_GRID_COL, KArgVal(count));
}

void KRowCol::showRow(int row, bool show)
{
    for (int i = 0; i < numChild(); ++i) {
        if (CellRow(child(i)) == row)
            child(i)->show(show);
    }
}

void KRowCol::reconfigureContainer()
{
    clientWidth = 0;
    clientHeight = 0;
    configure(false);
}

void KRowCol::configure(bool)
{
    // Our own resizeClient below raises a resize event while we lay out.
    if (configuring)
        return;
    configuring = true;
    // A child whose cell lies outside the table is left where it is.
    auto placed = [this](KWindow* c) {
        const int r = CellRow(c), col = CellCol(c);
        return c->isManaged() && r >= 0 && r < numRows && col >= 0 && col < numCols;
    };
    KArray<int> rowHeight(numRows), colWidth(numCols);
    for (int i = 0; i < numChild(); ++i) {
        KWindow* c = child(i);
        if (!placed(c))
            continue;
        if (c->Height() > rowHeight[CellRow(c)])
            rowHeight[CellRow(c)] = c->Height();
        if (c->Width() > colWidth[CellCol(c)])
            colWidth[CellCol(c)] = c->Width();
    }
    // A single column or row is stretched to the table.
    if (numCols == 1 && width() > 0)
        colWidth[0] = width() - 2 * marginWidth;
    if (numRows == 1 && height() > 0)
        rowHeight[0] = height() - 2 * marginHeight;
    const KArray<int> rowPos = Positions(rowHeight, topMargin, marginHeight, bottomMargin);
    const KArray<int> colPos = Positions(colWidth, leftMargin, marginWidth, rightMargin);
    KDeferPos batch(this);
    for (int i = 0; i < numChild(); ++i) {
        KWindow* c = child(i);
        if (!placed(c))
            continue;
        const int r = CellRow(c), col = CellCol(c);
        batch.move(c, colPos[col], rowPos[r], colWidth[col], rowHeight[r]);
    }
    resizeClient(colPos[numCols], rowPos[numRows], true);
    configuring = false;
}
