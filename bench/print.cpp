// Table report speed, measured in one run on the default printer (under Wine
// the CUPS PDF printer of scripts/cups.sh): the 1,000-row report printed by
// KTableWin::print against the same pages drawn with raw TextOutW calls on the
// same printer context (the cell texts and the section texts at the places
// the report's layout gives them, one document each), time per page and the
// ratio. The documents are timed from StartDoc to EndDoc; the PDFs that the
// printer writes afterwards are not waited for.
#include <windows.h>
#include <stdio.h>
#include "bench_app.h"

namespace {

const int Rows = 1000, Cols = 4, Rounds = 3;

void CellText(KTableWin*, TableWinCellEvent* e, int row, int col)
{
    if (e->reason == 1)
        e->Set("%06d.%02d", row, col * 11);
}

KTablePrintArg ReportArg()
{
    KTablePrintArg a;
    a.sections[KTablePrintArg::REPORT_TITLE].text = L"Calibration Report";
    a.sections[KTablePrintArg::PAGE_HEADER].text = L"Bench [CUR DATE]";
    a.sections[KTablePrintArg::PAGE_FOOTER].text = L"Page [CUR_PAGE] of [NUM_PAGE]";
    a.sections[KTablePrintArg::REPORT_FOOTER].text = L"[NUM_ENTRY] entries";
    return a;
}

// The same pages as raw text: each cell at the left of its column, the
// sections at the left margin, with the body font selected once.
void RawPages(KPrintDC& p, const KReportLayout& l, const KTablePrintArg& a)
{
    wchar_t text[64];
    for (int k = 0; k < l.numPage(); ++k) {
        p.startPage();
        SetBkMode(p, TRANSPARENT);
        int y = l.top;
        for (int s = 0; s < KTablePrintArg::NUM_SECTION; ++s)
            if (a.sections[s].text.notNull() && s != KTablePrintArg::REPORT_BODY) {
                TextOutW(p, l.left, y, a.sections[s].text, a.sections[s].text.length());
                y += a.sections[s].height;
            }
        for (int c = 0; c < Cols; ++c) {
            const int n = swprintf(text, 64, L"Col %d", c);
            TextOutW(p, l.edges[c] + l.charWidth / 2, y, text, n);
        }
        y += l.rowHeight;
        for (int r = l.firstRow[k]; r < l.firstRow[k + 1] && r < Rows; ++r, y += l.rowHeight)
            for (int c = 0; c < Cols; ++c) {
                const int n = swprintf(text, 64, L"%06d.%02d", r, c * 11);
                TextOutW(p, l.edges[c] + l.charWidth / 2, y + l.pad, text, n);
            }
        p.endPage();
    }
}

int RunBench()
{
    KArgList stageArgs, none;
    stageArgs.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    stageArgs.add(WA_WIDTH, 600);
    stageArgs.add(WA_HEIGHT, 400);
    KWindow* stage = MakeWindow(nullptr, &stageArgs);
    KTableWin* table = MakeTableWin(stage, &none);
    for (int c = 0; c < Cols; ++c) {
        KString title;
        title.set("Col %d", c);
        table->addCol(title, COL_FIELD_WIDTH, 10);
    }
    table->configure(true);
    AddEventHandler(table, CellText);
    table->setNumRow(Rows);

    KPrintDC printer;
    KTablePrintArg arg = ReportArg();
    KReportLayout layout;
    if (!printer.startDoc(L"Bench layout")) {
        printf("no printer: start the PDF printer with scripts/cups.sh start\n");
        return 1;
    }
    table->reportLayout(printer, arg, layout);
    const int dpi = printer.getLOGPIXELSY();
    printer.endDoc();
    const int pages = layout.numPage();

    const double report = Best(Rounds, [&] {
        arg.jobName = L"Bench report";
        table->print(printer, arg);
    });
    const double raw = Best(Rounds, [&] {
        printer.startDoc(L"Bench raw");
        KReportLayout l;
        table->reportLayout(printer, arg, l);
        RawPages(printer, l, arg);
        printer.endDoc();
    });
    printf("%d rows, %d columns, %d pages at %d dpi, best of %d\n", Rows, Cols, pages, dpi, Rounds);
    printf("  report (KTableWin::print)  %8.2f ms per page\n", report / pages);
    printf("  raw TextOutW               %8.2f ms per page\n", raw / pages);
    printf("  ratio                      %8.2f (target at most 1.5)\n", report / raw);
    delete stage;
    return 0;
}

} // namespace

BenchApp app(L"Print Bench", RunBench);
