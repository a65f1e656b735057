// Three containers that place their children without constraints:
// - KGrid divides its client area into equal cells and stretches every child
//   to its cell;
// - KRowCol is a table: each row as tall as its tallest child, each column as
//   wide as its widest, and the container takes the size of its content;
// - KRowPack flows its children left to right in lines that the application
//   ends with newLine(), and takes the size of its content.
//
//     KArgList args;
//     args.add(WA_NUM_GRID_COL, 2);        // two columns, filled row by row
//     args.add(WA_MARGIN_WIDTH, 4);        // 4 pixels between columns, and at both sides
//     KRowCol* table = MakeRowCol(parent, &args);
//     KArgList none;
//     MakeWindow(table, &none);            // row 0, column 0
//     MakeWindow(table, &none);            // row 0, column 1
//     KArgList at;
//     at.add(WA_ROW, 3);
//     at.add(WA_COL, 1);
//     MakeWindow(table, &at);              // its own cell; the table grows to 4 rows
//
//     KRowPack* bar = MakeRowPack(parent, &none);
//     MakeWindow(bar, &none);
//     MakeWindow(bar, &none);
//     bar->newLine();                      // the first line ends after these two
//     MakeWindow(bar, &none);
//     bar->configure(false);               // a pack is laid out only on request
//
// Attributes of the containers (setValues, after KWindow's):
//   WA_NUM_GRID_ROW  grid, table: the row count; the rows are fixed, so new
//                    children fill each column top to bottom, then the next
//   WA_NUM_GRID_COL  grid, table: the column count; children fill each row
//                    left to right, then the next. Counts below 1 are refused
//                    (logged, nothing changes): placement divides by them.
//   WA_MARGIN_WIDTH, WA_MARGIN_HEIGHT  spacing between columns and between
//                    rows (pack: 2 each, the others 0), and the default of
//                    the outer margins left/right and top/bottom
//   WA_LEFT_MARGIN, WA_RIGHT_MARGIN, WA_TOP_MARGIN, WA_BOTTOM_MARGIN,
//   WA_OUTER_MARGINS the outer margins, one or all four; a margin never given
//                    takes the spacing in force when the list has been read
//   WA_ALIGN_RIGHT   pack: the last child of each ended line goes to the right
// Attributes of a child of a grid or table (its factory's list): WA_ROW and
// WA_COL together give its cell; without them (or with -1) the child takes
// the next cell in fill order, counted by its index among the children.
//
// Grids and tables keep each child's cell in the child's user words (row in
// user 1, column in user 2): children of these containers must leave them be.
// Grids and tables lay themselves out on every resize and in configure();
// with no size yet (client width or height 0) they first size themselves to
// their content. Unmanaged children (setManaged(false)) are not placed.
#ifndef KORVEL_KROWCOL_H
#define KORVEL_KROWCOL_H

#include "kwindow.h"

class KORVEL_API KGrid : public KWindow {
public:
    ~KGrid() override;
    // natural, or a client width or height of 0: resizes to cells as large as
    // the largest child (the resize lays the grid out); else lays out.
    void configure(bool natural) override;
    void setValues(KArgList* args) override;
    void insertChild(KWindow* child, KArgList* args) override;
    // Gives every managed child, in child order, the next cell in fill order.
    void renumberGrid();
    void resizeHandler(KWindow*, ResizeEvent*) { configure(false); }

protected:
    KGrid();
    // Creates the window and lays it out again on every resize.
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KGrid* MakeGrid(KWindow* parent, KArgList* args);

    int numRows;
    int numCols;
    bool fillByColumn;
    int leftMargin, rightMargin;
    int marginWidth;
    int topMargin, bottomMargin;
    int marginHeight;

private:
    void getRowCol(KWindow* child, int* row, int* col);
    // Stores the cell and grows the counts to include it.
    void setRowCol(KWindow* child, int row, int col);
};

class KORVEL_API KRowCol : public KWindow {
public:
    ~KRowCol() override;
    // Forgets the current size, so the next layout takes the natural one.
    void reconfigureContainer() override;
    // Places the children and resizes to the content. A single column (or
    // row) is stretched to the client width (height) less two spacings.
    void configure(bool natural) override;
    void setValues(KArgList* args) override;
    void insertChild(KWindow* child, KArgList* args) override;
    void renumberGrid();
    // Shows or hides every child in that row.
    void showRow(int row, bool show);
    // Sets the column count as WA_NUM_GRID_COL does; cells already given stay
    // until renumberGrid().
    void setNumCol(int count);
    void resizeHandler(KWindow*, ResizeEvent*) { configure(false); }

protected:
    KRowCol();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KRowCol* MakeRowCol(KWindow* parent, KArgList* args);

    int numRows;
    int numCols;
    int marginWidth;
    int marginHeight;
    int leftMargin, rightMargin, topMargin, bottomMargin;
    bool fillByColumn;
    // Set while a layout runs: its own resize must not start another.
    bool configuring;
};

class KORVEL_API KRowPack : public KWindow {
public:
    ~KRowPack() override;
    // Places every child (managed or not) in its line and resizes to the
    // content; with alignRight, the last child of each line that was ended
    // and holds two or more children moves to the right margin.
    void configure(bool natural) override;
    void setValues(KArgList* args) override;
    // Ends the current line after the child made last.
    void newLine();

protected:
    KRowPack();
    friend KORVEL_API KRowPack* MakeRowPack(KWindow* parent, KArgList* args);

    // Index of the last child of each ended line, in order.
    KArray<int> lineBreaks;
    int marginWidth;
    int marginHeight;
    int leftMargin, rightMargin, topMargin, bottomMargin;
    bool alignRight;
};

KORVEL_API KGrid* MakeGrid(KWindow* parent, KArgList* args);
KORVEL_API KRowCol* MakeRowCol(KWindow* parent, KArgList* args);
KORVEL_API KRowPack* MakeRowPack(KWindow* parent, KArgList* args);

#endif
