// Table window speed and memory, measured in one run:
// (a) repainting a full page of visible cells with 100 rows and with
//     10,000,000 rows (time per paint), and the process's private bytes
//     after each, which must not follow the row count;
// (b) the same visible page against a native virtual list view (comctl32,
//     LVS_OWNERDATA | LVS_REPORT) fed the same texts through LVN_GETDISPINFO,
//     per paint and per visible cell;
// (c) 1,000 page scrolls of the ten-million-row table.
// Both sides repaint through RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW).
#define PSAPI_VERSION 2
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include "bench_app.h"

namespace {

const int Cols = 8, Width = 10, Paints = 200, Scrolls = 1000;

void CellText(KTableWin*, TableWinCellEvent* e, int row, int col)
{
    if (e->reason == 1)
        e->Set("%08d.%03d", row, col * 111);
}

// Heap bytes in use and the process's committed bytes, in KB.
struct Memory {
    double heap, committed;
    static Memory now()
    {
        PROCESS_MEMORY_COUNTERS c = {};
        c.cb = sizeof c;
        GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
        return Memory{GetHeapSize() / 1024.0, c.PagefileUsage / 1024.0};
    }
    Memory operator-(const Memory& o) const { return Memory{heap - o.heap, committed - o.committed}; }
};

void Pump()
{
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Seconds per repaint of w, over one round of Paints.
double PaintTime(HWND w)
{
    Pump();
    const double start = get_time();
    for (int i = 0; i < Paints; ++i)
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return (get_time() - start) / Paints;
}

wchar_t listText[64];

// The list view's parent: answers every text request as the table's handler does.
LRESULT CALLBACK ListParent(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NOTIFY && ((NMHDR*)lp)->code == LVN_GETDISPINFOW) {
        LVITEMW& item = ((NMLVDISPINFOW*)lp)->item;
        if (item.mask & LVIF_TEXT) {
            KString s;
            s.set("%08d.%03d", item.iItem, item.iSubItem * 111);
            lstrcpynW(item.pszText, s, item.cchTextMax);
        }
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND MakeListView(int w, int h, int colWidth, int rows)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ListParent;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TableBenchListParent";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 620, 20, w, h, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                w, h, parent, nullptr, wc.hInstance, nullptr);
    SendMessageW(list, WM_SETFONT, (WPARAM)DEFAULT_FIXED_FONT, TRUE);
    for (int c = 0; c < Cols; ++c) {
        LVCOLUMNW col = {LVCF_WIDTH | LVCF_TEXT, 0, colWidth, (wchar_t*)L"Col"};
        SendMessageW(list, LVM_INSERTCOLUMNW, c, (LPARAM)&col);
    }
    SendMessageW(list, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL);
    return list;
}

int Run()
{
    KArgList stageArgs;
    stageArgs.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    stageArgs.add(WA_X, 20);
    stageArgs.add(WA_Y, 20);
    stageArgs.add(WA_WIDTH, 600);
    stageArgs.add(WA_HEIGHT, 480);
    KWindow* stage = MakeWindow(nullptr, &stageArgs);
    stage->show(true);
    const Memory before = Memory::now();
    KArgList args;
    args.add(WA_WIDTH, 600);
    args.add(WA_HEIGHT, 480);
    args.add(WA_SHOW_ENTRY, 8);
    KTableWin* t = MakeTableWin(stage, &args);
    for (int c = 0; c < Cols; ++c)
        t->addCol("Col", COL_FIELD_WIDTH, Width);
    AddEventHandler(t, CellText);
    t->configure(true);
    Pump();

    // The two row counts alternate, round by round, so that neither gains from going second.
    double perPaint[2] = {1e9, 1e9};
    Memory memory[2];
    const int counts[2] = {100, 10000000};
    for (int round = 0; round < 7; ++round)
        for (int i = 0; i < 2; ++i) {
            t->update(counts[i]);
            t->setFirstRow(counts[i] / 2);
            const double t1 = PaintTime(*t->cellWin());
            perPaint[i] = t1 < perPaint[i] ? t1 : perPaint[i];
            memory[i] = Memory::now() - before;
        }
    const int rows = t->getNumDispRow();
    printf("(a) a page of %d rows x %d columns, best of 7 x %d repaints\n", rows, Cols, Paints);
    const char* names[2] = {"100 rows       ", "10,000,000 rows"};
    for (int i = 0; i < 2; ++i)
        printf("  %s : %8.3f ms per paint; since before the table: heap %+.1f KB, committed %+.1f KB\n", names[i],
               perPaint[i] * 1e3, memory[i].heap, memory[i].committed);
    printf("  time ratio 10M / 100: %.2f (target within 1.10); growth from 100 to 10M rows: heap %+.1f KB, "
           "committed %+.1f KB\n",
           perPaint[1] / perPaint[0], memory[1].heap - memory[0].heap, memory[1].committed - memory[0].committed);

    const int cellW = t->cellWin()->width(), cellH = t->cellWin()->height();
    HWND list = MakeListView(cellW, cellH, t->getColWidth(0) + 1, counts[1]);
    SendMessageW(list, LVM_ENSUREVISIBLE, counts[1] / 2, FALSE);
    Pump();
    double listPaint = 1e9;
    for (int round = 0; round < 7; ++round) {
        const double t1 = PaintTime(list);
        listPaint = t1 < listPaint ? t1 : listPaint;
    }
    const int listRows = (int)SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0);
    printf("(b) native virtual list view, %d x %d pixels: %d rows x %d columns visible\n", cellW, cellH, listRows,
           Cols);
    printf("  table     : %8.3f ms per paint, %6.2f us per row\n", perPaint[1] * 1e3, perPaint[1] * 1e6 / rows);
    printf("  list view : %8.3f ms per paint, %6.2f us per row\n", listPaint * 1e3, listPaint * 1e6 / listRows);
    printf("  time ratio table / list view: per paint %.2f, per row %.2f (target <= 1.5)\n",
           perPaint[1] / listPaint, (perPaint[1] / rows) / (listPaint / listRows));
    DestroyWindow(GetParent(list));

    t->setFirstRow(0);
    Pump();
    const double start = get_time();
    for (int i = 0; i < Scrolls; ++i)
        t->setFirstRow(t->firstRow() + rows);
    const double scroll = (get_time() - start) / Scrolls;
    printf("(c) %d page scrolls of the 10,000,000-row table: %.3f ms each, first row now %d\n", Scrolls,
           scroll * 1e3, t->firstRow());
    delete stage;
    return 0;
}

} // namespace

BenchApp app(L"Table Bench", Run);
