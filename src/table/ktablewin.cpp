// KTableWin: columns, header layout, geometry and scrolling.
#include "ktablewin.h"

TableMode KTableWin::getMode(int col) const
{
    return isValidCol(col) ? columns[col].mode : TABLE_DISPLAY;
}
