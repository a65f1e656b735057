// What the grid, the table and the pack share: spacing and outer margins read
// from attribute lists, and the cells of the children of grids and tables.
#ifndef KORVEL_KCELLS_H
#define KORVEL_KCELLS_H

#include <limits.h>
#include "kwindow.h"

// An outer margin that no attribute gave.
const int UNSET_MARGIN = INT_MIN;

// The spacing and outer margins of one container, read as a group.
struct MarginFields {
    int& spaceX;
    int& spaceY;
    int& left;
    int& right;
    int& top;
    int& bottom;

    // Stores a spacing or margin attribute; false for any other attribute.
    bool read(int attrib, const KArgVal& v);
    // Margins still unset take the spacing of their direction.
    void resolve();
};

// The row and column counts of a grid or table and its fill order.
struct CellCounts {
    int& rows;
    int& cols;
    bool& fillByColumn;

    // WA_NUM_GRID_ROW or WA_NUM_GRID_COL; false for any other attribute.
    bool read(const char* container, int attrib, const KArgVal& v);
    // The k-th cell in fill order.
    void next(int k, int* row, int* col) const;
    // Stores the cell in the child's user words and grows the counts to it.
    void store(KWindow* child, int row, int col);
    // The cell of a new child: the one its list gives, else the next in fill
    // order by its index among the children.
    void place(KWindow* child, KArgList* args);
    // Every managed child, in child order, takes the next cell; the count of
    // the direction that grows is counted anew.
    void renumber(KWindow* container);
};

inline int CellRow(const KWindow* child) { return (int)child->getUser1(); }
inline int CellCol(const KWindow* child) { return (int)child->getUser2(); }

#endif
