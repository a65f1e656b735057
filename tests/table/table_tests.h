// What the table tests share: a table with columns on a shown stage, a
// recorder of the cell requests that answers them with "r<row>c<col>", pixels.
#ifndef KORVEL_TESTS_TABLE_TESTS_H
#define KORVEL_TESTS_TABLE_TESTS_H

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "test_support.h"

// A table at (10, 10) of w x h on a shown, active popup stage, with the
// attributes given as (attribute, value) pairs and one column, 6 characters
// wide, per title.
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
    int colourRow = -1;                        // the row given the colours below
    unsigned long foreground = 0, background = 0xFFFFFF;
    short shadowThick = 0, shadowStyle = 0;
    CellRecorder() { current = this; }
    ~CellRecorder() { current = nullptr; }
    static void handle(KTableWin*, TableWinCellEvent* e, int row, int col)
    {
        CellRecorder* r = current;
        if (!r || e->reason != 1)
            return;
        r->requests.push_back({row, col});
        e->Set("r%dc%d", row, col);
        if (row == r->colourRow) {
            e->foreground = r->foreground;
            e->background = r->background;
            e->shadowThick = r->shadowThick;
            e->shadowStyle = r->shadowStyle;
        }
    }
};

// 0x00RRGGBB of a COLORREF, as Pixels reports it.
inline DWORD Rgb(COLORREF c) { return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

// A pane's client area as pixels, read with At(x, y).
struct Picture {
    int w = 0, h = 0;
    std::vector<DWORD> p;
    explicit Picture(KWindow* pane) : w(pane->width()), h(pane->height())
    {
        PumpMessages();
        KMemDC mem(w, h);
        pane->dump(mem, 2, 0, 0);
        p = Pixels(mem);
    }
    DWORD At(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0xFFFFFFFF : p[(size_t)(y * w + x)]; }
};

// The table's client area as the screen shows it, its panes copied in place, saved as a BMP file.
inline void SaveTablePicture(KTableWin* t, const std::wstring& path)
{
    PumpMessages();
    KMemDC mem(t->width(), t->height());
    t->dump(mem, 2, 0, 0);
    KWindow* panes[] = {t->entryWin(), t->titleWin(), t->cellWin(), t->vertBar(), t->horzBar()};
    for (KWindow* pane : panes)
        if (pane) {
            const DCRect r = t->mapClientRect(pane);
            pane->dump(mem, 2, r.x, r.y);
        }
    SaveBitmap(path, mem);
}

#endif
