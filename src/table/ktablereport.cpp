// A table printed as a paged report: the layout is measured on the printer,
// and a page can be drawn onto the printer itself or, scaled, onto any
// other context (a preview of the page).
#include "ktablewin.h"
#include "ktableprint.h"
#include "kprint.h"
#include "kdiag.h"
#include "kvalue.h"

namespace {

const int WHITE = 0xFFFFFF;

// A printer distance on a target drawn at scale.
int S(int v, double scale) { return (int)(v * scale); }

DCRect S(const DCRect& r, double scale)
{
    return DCRect(S(r.x, scale), S(r.y, scale), S(r.x + r.w, scale) - S(r.x, scale),
                  S(r.y + r.h, scale) - S(r.y, scale));
}

void Line(KDevContext& dc, int x1, int y1, int x2, int y2, double scale)
{
    dc.drawLine(S(x1, scale), S(y1, scale), S(x2, scale), S(y2, scale));
}

// The rows on page k: the first page loses the title and report header, the
// last the report footer.
int RowsOnPage(const KReportLayout& l, int k)
{
    int space = l.avail;
    if (k == 0)
        space -= l.firstExtra;
    if (k == l.numPage() - 1)
        space -= l.lastExtra;
    return l.rowHeight > 0 ? space / l.rowHeight : 0;
}

// How many rows each page takes while rows remain; false when a page after
// the first would take none (the count would never end).
bool CountPages(KReportLayout& l, int numRow, int pageHeight)
{
    KArray<int> takes;
    if (numRow * l.rowHeight + l.fixed + l.firstExtra + l.lastExtra <= pageHeight) {
        takes.append(numRow);
    } else {
        for (int remaining = numRow; remaining > 0;) {
            int take = 0;
            if (takes.count() == 0)
                take = (l.avail - l.firstExtra) / l.rowHeight;
            else if (remaining * l.rowHeight + l.fixed + l.lastExtra <= pageHeight)
                take = remaining;
            else
                take = l.avail / l.rowHeight;
            if (take <= 0 && takes.count() > 0)
                return false;
            takes.append(take);
            remaining -= take;
        }
    }
    // Each page starts where the rows of the ones before it end, counted
    // with the rows a page has room for.
    l.firstRow = KArray<int>();
    l.firstRow.append(0);
    for (int k = 0; k < takes.count(); k++)
        l.firstRow.append(0);
    for (int k = 0; k < takes.count(); k++)
        l.firstRow[k + 1] = l.firstRow[k] + RowsOnPage(l, k);
    return true;
}

} // namespace

void KTableWin::reportLayout(KPrintDC& p, KTablePrintArg& arg, KReportLayout& l)
{
    l = KReportLayout();
    arg.computeSectionHeights(p);
    const KReportSection* s = arg.sections;
    p.setBkMode(TRANSPARENT);
    p.setFont(s[KTablePrintArg::REPORT_BODY].font, s[KTablePrintArg::REPORT_BODY].ptSize, 0, FW_NORMAL);
    l.left = arg.leftMargin(p);
    l.top = arg.topMargin(p);
    l.bottom = arg.botMargin(p);
    p.stringExtent(L"A", &l.charWidth, &l.charHeight);
    l.pad = nint(p.getLOGPIXELSY() * 0.014);
    l.rowHeight = l.charHeight + 2 * l.pad;
    l.firstExtra = s[0].height + s[1].height;
    l.lastExtra = s[5].height;
    l.fixed = s[2].height + s[4].height + s[6].height + l.rowHeight * titleRows + l.bottom + l.top;
    l.avail = p.Height() - l.fixed;

    const int nc = numDispCol > 0 && numDispCol <= columns.count() ? numDispCol : columns.count();
    l.edges.append(l.left);
    for (int j = 1; j <= nc; j++)
        l.edges.append(l.edges[j - 1] + (columns[j - 1].fieldWidth + 1) * l.charWidth + 2 * l.pad);

    l.fits = l.avail >= 1 && l.rowHeight > 0 && CountPages(l, rowCount, p.Height());
    arg.macros.set("[NUM_PAGE]", "%d", l.numPage());
    arg.macros.set("[NUM_ENTRY]", "%d", rowCount);
}

void KTableWin::print(KPrintDC& dc, KTablePrintArg& arg)
{
    arg.macros.setTime();
    for (int copy = 0; copy < dc.getNumCopy(); copy++)
        printCopy(dc, arg);
}

void KTableWin::printCopy(KPrintDC& p, KTablePrintArg& arg)
{
    if (!p.startDoc(arg.jobName)) {
        ErrorBox(this, ERRCODE(1, 1019), "Could not open printer.\n%U", GetCommDlgError());
        return;
    }
    KReportLayout layout;
    reportLayout(p, arg, layout);
    if (!layout.fits) {
        p.endDoc();
        return;
    }
    const int n = layout.numPage();
    for (int k = 0; k < n; k++) {
        if (skipPage(p, arg, layout, k))
            continue;
        mprintf("Printing page %d of %d ...", k + 1, n);
        if (!p.startPage())
            break;
        drawReportPage(p, arg, layout, k, p, 1.0);
        p.endPage();
    }
    p.endDoc();
    mprintf("Done printing table.");
}

void KTableWin::printPage(KPrintDC& p, KTablePrintArg& arg, int page, KDevContext& target, double scale)
{
    KReportLayout layout;
    reportLayout(p, arg, layout);
    if (layout.fits && page >= 0 && page < layout.numPage())
        drawReportPage(p, arg, layout, page, target, scale);
}

bool KTableWin::skipPage(KPrintDC& p, const KTablePrintArg& arg, const KReportLayout& l, int k) const
{
    if (p.getPageFlag() == 2)
        return k < p.getFirstPage() || k > p.getLastPage();
    if (!p.isAllPage() || arg.pageMode != 1)
        return false;
    const int row = currentRow >= 0 ? currentRow : topRow;
    return row < l.firstRow[k] || row >= l.firstRow[k + 1];
}

void KTableWin::drawReportPage(KPrintDC& p, KTablePrintArg& arg, const KReportLayout& l, int k,
                               KDevContext& target, double scale)
{
    arg.macros.set("[CUR_PAGE]", "%d", k + 1);
    target.setBkMode(TRANSPARENT);
    target.setPen(RGB(0, 0, 0), PS_SOLID, 0);
    int y = l.top;
    if (k == 0) {
        y += arg.printSection(p, KTablePrintArg::REPORT_TITLE, y, target, scale);
        y += arg.printSection(p, KTablePrintArg::REPORT_HEADER, y, target, scale);
    }
    y += arg.printSection(p, KTablePrintArg::PAGE_HEADER, y, target, scale);
    drawReportHeader(p, arg, l, y, target, scale);
    y = drawReportRows(arg, l, k, y + l.rowHeight * titleRows, target, scale);
    if (k == l.numPage() - 1)
        y += arg.printSection(p, KTablePrintArg::REPORT_FOOTER, y, target, scale);
    const int footer = arg.printSection(p, KTablePrintArg::PAGE_FOOTER, y, target, scale);
    arg.printSection(p, KTablePrintArg::REPORT_VERSION, y + footer, target, scale);
}

void KTableWin::drawReportHeader(KPrintDC& p, const KTablePrintArg& arg, const KReportLayout& l, int yH,
                                 KDevContext& target, double scale)
{
    const KReportSection& body = arg.sections[KTablePrintArg::REPORT_BODY];
    // The body font of the printer's pixel height, times scale.
    target.setFontSize(body.font, S(p.pointsToHeight(body.ptSize), scale), 0, FW_NORMAL);
    target.setAlign(0, 0);
    target.setTextColor(body.color);
    const int nc = l.numCol();
    for (int i = 0; i < titleBoxes.count(); i++) {
        const KTitleBox& b = titleBoxes[i];
        if (b.lastCol >= nc)
            continue;
        const DCRect block(l.edges[b.col], yH + b.row * l.rowHeight, l.edges[b.lastCol + 1] - l.edges[b.col],
                           (b.lastRow + 1 - b.row) * l.rowHeight);
        target.textOut(S(block, scale), b.text);
    }
    const int yB = yH + l.rowHeight * titleRows;
    Line(target, l.edges[0], yH, l.edges[nc], yH, scale);
    Line(target, l.edges[0], yH, l.edges[0], yB, scale);
    Line(target, l.edges[nc], yH, l.edges[nc], yB, scale);
    Line(target, l.edges[0], yB, l.edges[nc], yB, scale);
}

int KTableWin::drawReportRows(const KTablePrintArg& arg, const KReportLayout& l, int k, int y,
                              KDevContext& target, double scale)
{
    const int yB = y;
    const int nc = l.numCol();
    for (int r = l.firstRow[k]; r < l.firstRow[k + 1]; r++, y += l.rowHeight) {
        if (r >= rowCount)
            continue;
        for (int c = 0; c < nc; c++) {
            const KTableCol& col = columns[c];
            TableWinCellEvent e(1, r, c);
            prepareCellRequest(e);
            callHandlers(&e);
            const int x0 = l.edges[c], x1 = l.edges[c + 1];
            if (e.background != WHITE)
                target.fillRect(S(DCRect(x0, y, x1 - x0, l.rowHeight), scale), e.background);
            const int x = col.align == 0 ? (x0 + x1) / 2 : col.align == 2 ? x1 - l.charWidth / 2
                                                                          : x0 + l.charWidth / 2;
            target.setTextColor(e.foreground);
            target.setAlign(col.align, 4);
            target.textOut(S(x, scale), S(y + l.pad, scale), e.text);
        }
    }
    if (arg.drawSeparators) {
        for (int j = 0; j <= nc; j++)
            Line(target, l.edges[j], yB, l.edges[j], y, scale);
        Line(target, l.edges[0], y, l.edges[nc], y, scale);
    }
    return y;
}
