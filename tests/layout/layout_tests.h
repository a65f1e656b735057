// What the layout tests share beyond the kit: includes, lists of numbers, plain child windows.
#ifndef KORVEL_TESTS_LAYOUT_TESTS_H
#define KORVEL_TESTS_LAYOUT_TESTS_H

#include <gtest/gtest.h>
#include "test_support.h"

typedef std::vector<long> Longs;

// Two lists of numbers, one after the other.
inline Longs operator+(Longs a, const Longs& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A plain child window at (x, y), w x h; in cell (row, col) unless row is -2.
inline KWindow* Child(KWindow* parent, int x, int y, int w, int h, int row = -2, int col = -2)
{
    KArgList args;
    args.add(WA_X, x);
    args.add(WA_Y, y);
    args.add(WA_WIDTH, w);
    args.add(WA_HEIGHT, h);
    if (row != -2) {
        args.add(WA_ROW, row);
        args.add(WA_COL, col);
    }
    return MakeWindow(parent, &args);
}

#endif
