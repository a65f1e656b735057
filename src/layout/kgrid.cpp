// KGrid: equal cells with fixed spacing; every child is stretched to its cell.
#include "krowcol.h"
#include "kcells.h"

KGrid::KGrid()
    : numRows(1), numCols(0), fillByColumn(true), leftMargin(UNSET_MARGIN),
      rightMargin(UNSET_MARGIN), marginWidth(0), topMargin(UNSET_MARGIN),
      bottomMargin(UNSET_MARGIN), marginHeight(0)
{
}

KGrid::~KGrid() = default;

KGrid* MakeGrid(KWindow* parent, KArgList* args)
{
    auto* grid = new KGrid;
    grid->init(parent, args);
    return grid;
}

void KGrid::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ResizeEventHandler<KGrid>(this, &KGrid::resizeHandler));
}

void KGrid::setValues(KArgList* args)
{
    KWindow::setValues(args);
    MarginFields margins{marginWidth, marginHeight, leftMargin, rightMargin, topMargin, bottomMargin};
    CellCounts counts{numRows, numCols, fillByColumn};
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (!margins.read(args->attr(i), args->val(i)))
            counts.read("KGrid", args->attr(i), args->val(i));
    }
    margins.resolve();
}

void KGrid::insertChild(KWindow* child, KArgList* args)
{
    CellCounts{numRows, numCols, fillByColumn}.place(child, args);
}

void KGrid::renumberGrid()
{
    CellCounts{numRows, numCols, fillByColumn}.renumber(this);
}

void KGrid::getRowCol(KWindow* child, int* row, int* col)
{
    *row = CellRow(child);
    *col = CellCol(child);
}

void KGrid::setRowCol(KWindow* child, int row, int col)
{
    CellCounts{numRows, numCols, fillByColumn}.store(child, row, col);
}

void KGrid::configure(bool natural)
{
    if (natural || width() == 0 || height() == 0) {
        int w = 0, h = 0;
        for (int i = 0; i < numChild(); ++i) {
            KWindow* c = child(i);
            if (!c->isManaged())
                continue;
            if (c->Width() > w)
                w = c->Width();
            if (c->Height() > h)
                h = c->Height();
        }
        // The resize that follows lays the grid out.
        resizeClient(numCols * w + (numCols - 1) * marginWidth + leftMargin + rightMargin,
                     numRows * h + (numRows - 1) * marginHeight + topMargin + bottomMargin, true);
        return;
    }
    // One spacing more in the span and one less in every cell leaves the
    // spacing between cells and none after the last.
    const int spanX = width() - leftMargin - rightMargin + marginWidth;
    const int spanY = height() - topMargin - bottomMargin + marginHeight;
    KDeferPos batch(this);
    for (int i = 0; i < numChild(); ++i) {
        KWindow* c = child(i);
        if (!c->isManaged())
            continue;
        int r, col;
        getRowCol(c, &r, &col);
        const int x0 = col * spanX / numCols, x1 = (col + 1) * spanX / numCols;
        const int y0 = r * spanY / numRows, y1 = (r + 1) * spanY / numRows;
        batch.move(c, leftMargin + x0, topMargin + y0, x1 - x0 - marginWidth, y1 - y0 - marginHeight);
    }
}
