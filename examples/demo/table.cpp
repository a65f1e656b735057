// The demo's table page: 100,000 rows of measurements computed from the row
// number when a cell is painted. Only what the user changed is stored: the
// notes typed into the editable column and the trims added with the button
// column, each in a small map. "Print" prints the table as a paged report
// through the print dialog, "Print preview" shows its first page.
#include "table.h"
#include <map>
#include <math.h>

namespace demo {

namespace {

const int ROWS = 100000;

enum Column { TIME, VOLT, MILLIVOLT, CURRENT, TRIM, NOTE };

class TableDialog : public KDialog {
public:
    TableDialog(KWindow* owner, bool showCurrent) : KDialog(owner, L"Demo Table", MESSAGE_WIN)
    {
        KArgList none;
        init(nullptr, &none);
        KArgList args;
        args.add(WA_SHOW_ENTRY, 6);
        args.add(WA_NUM_DISP_ROW, 14);
        args.add(WA_HIGHLIGHT_SELECT, 1);
        table = MakeTableWin(getWorkArea(), &args);
        table->addCol(L"Time\ns", COL_FIELD_WIDTH, 8, COL_ALIGN, 2);
        table->addCol(L"Voltage\nV", COL_FIELD_WIDTH, 7, COL_ALIGN, 2);
        table->addCol(L"Voltage\nmV", COL_FIELD_WIDTH, 8, COL_ALIGN, 2);
        table->addCol(L"Current\nmA", COL_FIELD_WIDTH, 7, COL_ALIGN, 2);
        table->addCol(L"Trim", COL_FIELD_WIDTH, 4, COL_MODE, TABLE_BUTTON, COL_BUTTON_LOOK, 1, COL_ALIGN, 0);
        table->addCol(L"Note", COL_FIELD_WIDTH, 14, COL_MODE, TABLE_EDIT);
        table->_addEventHandler(new TableCellHandler<TableDialog>(this, &TableDialog::cell));
        table->_addEventHandler(new TableMouseHandler<TableDialog>(this, &TableDialog::pressed));
        table->setNumRow(ROWS);
        KArgList plain;
        KPushButton* print = MakePushButton(getWorkArea(), &plain, KString(L"Print"));
        KPushButton* preview = MakePushButton(getWorkArea(), &plain, KString(L"Print preview"));
        print->_addEventHandler(new MouseEventHandler<TableDialog>(this, &TableDialog::printPressed, ME_LEFT | ME_RELEASE));
        preview->_addEventHandler(
            new MouseEventHandler<TableDialog>(this, &TableDialog::previewPressed, ME_LEFT | ME_RELEASE));
        getWorkArea()->attachForm(table, SIDE_LEFT, SIDE_TOP);
        getWorkArea()->attachForm(table, SIDE_RIGHT);
        getWorkArea()->attach(table, SIDE_BOTTOM, print);
        getWorkArea()->attachForm(print, SIDE_LEFT, SIDE_BOTTOM);
        getWorkArea()->attachForm(preview, SIDE_BOTTOM);
        getWorkArea()->attach(preview, SIDE_LEFT, print);
        setUpReport();
        notes[40] = L"probe moved";
        notes[43] = L"recalibrated";
        configureAll(false);
        mprintf("Trim adds 1 mV a press; hold it to repeat");
        if (showCurrent)
            PostMessageW(hwnd, WM_COMMAND, SHOW_CURRENT, 0);
    }

    void menuHandler(unsigned id, unsigned code) override
    {
        if (id == PRINT_PAGES) {
            printFirstPages();
            return;
        }
        if (id == PREVIEW) {
            showPreview();
            return;
        }
        if (id != SHOW_CURRENT) {
            KDialog::menuHandler(id, code);
            return;
        }
        table->setFirstRow(36);
        table->setEditCell(41, NOTE);
    }

    // Posts a command that prints the first two pages on the default printer
    // and closes the demo, or opens the preview.
    void postCommand(unsigned id) { PostMessageW(hwnd, WM_COMMAND, id, 0); }
    enum { SHOW_CURRENT = 901, PRINT_PAGES, PREVIEW };

private:
    // The report around the rows: a title and header on the first page, the
    // page numbers at the foot of every page, the row count at the end.
    void setUpReport()
    {
        report.jobName = L"Korvel Demo Table";
        report.sections[0].text = L"Channel 3 Measurements";
        report.sections[1].text = L"Bench 2, probe A\nSampled every 0.25 s";
        report.sections[2].text = L"Korvel Demo";
        report.sections[4].text = L"Page [CUR_PAGE] of [NUM_PAGE]";
        report.sections[5].text = L"[NUM_ENTRY] rows measured";
    }

    void printPressed(KWindow*, MouseEvent*)
    {
        KPrintDC printer;
        if (printer.choose(this, true))
            table->print(printer, report);
    }

    // Pages 1 and 2 on the default printer without a dialog, then the demo
    // ends: a run without a user.
    void printFirstPages()
    {
        KPrintDC printer;
        if (printer.choose(nullptr, true)) {
            printer.printDlg().Flags |= PD_PAGENUMS;
            printer.setFromToPage(1, 2);
            table->print(printer, report);
        }
        // The application refuses to end while a dialog is open: this one
        // closes first, and the main window is asked to close after it.
        cancelHandler();
        PostMessageW(App->getMainWindow()->getWindow(), WM_CLOSE, 0, 0);
    }

    void previewPressed(KWindow*, MouseEvent*) { showPreview(); }
    void showPreview();

    // A slow sine with a little ripple: the same row always reads the same.
    static double volts(int row) { return 12.0 + 0.75 * sin(row / 40.0) + 0.01 * (row * 7919 % 13); }

    void cell(KWindow*, TableWinCellEvent* e)
    {
        const int row = e->row;
        if (e->reason == 2 && e->col == NOTE) {
            notes[row] = e->text;
            return;
        }
        if (e->reason != 1)
            return;
        const auto trim = trims.find(row);
        const double mv = volts(row) * 1000.0 + (trim == trims.end() ? 0 : trim->second);
        switch (e->col) {
        case TIME: e->Set("%.2f", row * 0.25); break;
        case VOLT: e->Set("%.3f", mv / 1000.0); break;
        case MILLIVOLT: e->Set("%.1f", mv); break;
        case CURRENT: e->Set(mv > 12700 ? RGB(180, 0, 0) : 0, 0xFFFFFF, "%.2f", mv / 47.0); break;
        case TRIM: e->Set("+"); break;
        case NOTE: {
            const auto note = notes.find(row);
            e->Set("%S", note == notes.end() ? &empty : &note->second);
            break;
        }
        default: break;
        }
    }

    void pressed(KWindow*, TableWinMouseEvent* e)
    {
        if (e->mode != TABLE_BUTTON || !(e->type & ME_PRESS))
            return;
        trims[e->row] += 1;
        table->drawRow(e->row);
    }

    KTableWin* table = nullptr;
    KTablePrintArg report;
    std::map<int, KString> notes;
    std::map<int, int> trims;
    KString empty;
};

// The first page of the report at screen scale; "PRINT" prints the report.
class TablePreview : public KPrintPreviewDlg {
public:
    TablePreview(KWindow* owner, KPrintDC* printer, KTableWin* table, KTablePrintArg* report)
        : KPrintPreviewDlg(owner, KString(L"Demo Print Preview"), printer), table(table), report(report)
    {
    }
    void drawPage(KDevContext& dc) override { table->printPage(*printDC, *report, 0, dc, scale); }
    void printHandler() override { table->print(*printDC, *report); }

private:
    KTableWin* table;
    KTablePrintArg* report;
};

void TableDialog::showPreview()
{
    KPrintDC printer;
    ShowModal(new TablePreview(this, &printer, table, &report), nullptr);
}

} // namespace

void ShowTableDialog(KWindow* owner, bool showCurrent, int action)
{
    TableDialog* dialog = new TableDialog(owner, showCurrent);
    if (action)
        dialog->postCommand(action == 1 ? TableDialog::PRINT_PAGES : TableDialog::PREVIEW);
    ShowDialog(dialog, false, nullptr);
}

} // namespace demo
