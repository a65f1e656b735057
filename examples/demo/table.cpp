// The demo's table page: 100,000 rows of measurements computed from the row
// number when a cell is painted. Only what the user changed is stored: the
// notes typed into the editable column and the trims added with the button
// column, each in a small map.
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
        getWorkArea()->attachForm(table, SIDE_LEFT, SIDE_TOP);
        getWorkArea()->attachForm(table, SIDE_RIGHT, SIDE_BOTTOM);
        notes[40] = L"probe moved";
        notes[43] = L"recalibrated";
        configureAll(false);
        mprintf("Trim adds 1 mV a press; hold it to repeat");
        if (showCurrent)
            PostMessageW(hwnd, WM_COMMAND, SHOW_CURRENT, 0);
    }

    void menuHandler(unsigned id, unsigned code) override
    {
        if (id != SHOW_CURRENT) {
            KDialog::menuHandler(id, code);
            return;
        }
        table->setFirstRow(36);
        table->setEditCell(41, NOTE);
    }

private:
    enum { SHOW_CURRENT = 901 };

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
    std::map<int, KString> notes;
    std::map<int, int> trims;
    KString empty;
};

} // namespace

void ShowTableDialog(KWindow* owner, bool showCurrent)
{
    ShowDialog(new TableDialog(owner, showCurrent), false, nullptr);
}

} // namespace demo
