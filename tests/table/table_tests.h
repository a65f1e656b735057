// What the table tests share: a shown stage, a table with columns in it, and
// a recorder of the cell requests that answers them with "r<row>c<col>".
#ifndef KORVEL_TESTS_TABLE_TESTS_H
#define KORVEL_TESTS_TABLE_TESTS_H

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "test_support.h"

// A table at (10, 10) of w x h on a shown, active popup stage, with the
// attributes given as (attribute, value) pairs and one column per title; each
// column is 6 characters wide unless the title asks for more.
inline KTableWin* MakeTestTable(WindowOwner& windows, int w, int h,
                                std::initializer_list<std::pair<int, int>> attrs,
                                std::initializer_list<const char*> titles)
{
    KWindow* stage = ShownPopup(windows, 100, 100, w + 20, h + 20);
    Activate(*stage);
    KArgList args;
    args.add(WA_X, 10);
    args.add(WA_Y, 10);
    args.add(WA_WIDTH, w);
    args.add(WA_HEIGHT, h);
    for (const auto& a : attrs)
        args.add(a.first, a.second);
    KTableWin* t = MakeTableWin(stage, &args);
    for (const char* title : titles)
        t->addCol(title, COL_FIELD_WIDTH, 6);
    t->configure(true);
    return t;
}

// Answers every cell request with "r<row>c<col>" and counts what it saw.
struct CellRecorder {
    static inline CellRecorder* current = nullptr;
    std::vector<std::pair<int, int>> requests; // reason 1, in order
    std::vector<std::string> handedBack;       // reason 2 texts
    unsigned long foreground = 0, background = 0xFFFFFF;
    short shadowThick = -1;                    // -1: leave the column's
    CellRecorder() { current = this; }
    ~CellRecorder() { current = nullptr; }
    static void handle(KTableWin*, TableWinCellEvent* e, int row, int col)
    {
        CellRecorder* r = current;
        if (!r)
            return;
        if (e->reason == 2) {
            r->handedBack.push_back(Narrow(e->text));
            return;
        }
        if (e->reason != 1)
            return;
        r->requests.push_back({row, col});
        e->Set("r%dc%d", row, col);
        if (r->shadowThick >= 0) {
            e->foreground = r->foreground;
            e->background = r->background;
            e->shadowThick = r->shadowThick;
        }
    }
};

#endif
