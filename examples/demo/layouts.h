// The demo's layouts: a frame holding a row/column table, a grid of controls
// beside it and a tab window below, all placed by the attachments of one form. The demo's
// main window shows them; a test renders the same form.
#ifndef KORVEL_DEMO_LAYOUTS_H
#define KORVEL_DEMO_LAYOUTS_H

#include <korvel.h>

namespace demo {

// A coloured panel that paints its caption in its middle.
class Panel : public KWindow {
public:
    static Panel* make(KWindow* parent, const wchar_t* caption, int w, int h, COLORREF colour,
                       KArgList* extra = nullptr)
    {
        KArgList args = extra ? *extra : KArgList();
        args.add(WA_WIDTH, w);
        args.add(WA_HEIGHT, h);
        args.add(WA_BACKGROUND, (unsigned long)colour);
        args.add(WA_BORDERWIDTH, (short)1);
        auto* p = new Panel(caption);
        p->init(parent, &args);
        p->_addEventHandler(new ExposeEventHandler<Panel>(p, &Panel::paint));
        return p;
    }

private:
    explicit Panel(const wchar_t* caption) : text(caption) {}

    void paint(KWindow*, ExposeEvent*)
    {
        KWinDC dc(this);
        dc.setFont(DEFAULT_VAR_FONT);
        dc.setBkMode(TRANSPARENT);
        dc.setTextColor(getForeground());
        dc.setAlign(0, 0);
        dc.textOut(DCRect(0, 0, width(), height()), text);
    }

    KString text;
};

struct Layouts {
    KFrame* frame;
    KRowCol* table;
    KGrid* grid;
    KTabWin* tabs;
};

// Builds the layouts in form and lays the form out.
inline Layouts BuildLayouts(KForm* form)
{
    Layouts l;
    KArgList args;
    args.add(WA_TEXT, L"Channels");
    l.frame = MakeFrame(form, &args);
    KArgList cells;
    cells.add(WA_NUM_GRID_COL, 2);
    cells.add(WA_MARGIN_WIDTH, 4);
    cells.add(WA_MARGIN_HEIGHT, 4);
    l.table = MakeRowCol(l.frame, &cells);
    const wchar_t* names[6] = {L"Volts", L"Amps", L"Ohms", L"Hertz", L"Watts", L"Lux"};
    for (int i = 0; i < 6; ++i)
        Panel::make(l.table, names[i], 60 + 10 * (i % 2), 24, RGB(0xC8 + 8 * i, 0xE0, 0xF8 - 12 * i));
    l.table->configure(false);
    l.frame->configure(false);

    KArgList grid;
    grid.add(WA_NUM_GRID_COL, 3);
    grid.add(WA_MARGIN_WIDTH, 3);
    grid.add(WA_MARGIN_HEIGHT, 3);
    grid.add(WA_WIDTH, 180);
    grid.add(WA_HEIGHT, 90);
    l.grid = MakeGrid(form, &grid);
    // Controls in the grid: a label, push buttons, a push-style toggle and check boxes.
    KArgList plain, sunken, box;
    sunken.add(WA_SHADOW_STYLE, (short)EDGE_SUNKEN);
    box.add(WA_CHECK_BOX, 2);
    MakeLabel(l.grid, &sunken, KString(L"12.5 V"), 6);
    MakePushButton(l.grid, &plain, KString(L"Start"));
    MakePushButton(l.grid, &plain, KString(L"Stop"));
    MakeToggleButton(l.grid, &plain, KString(L"Hold"));
    MakeToggleButton(l.grid, &box, KString(L"Filter"))->setState(1);
    MakeToggleButton(l.grid, &box, KString(L"Log"));

    KArgList tabs;
    l.tabs = MakeTabWin(form, &tabs);
    const wchar_t* pages[2] = {L"Signal", L"Settings"};
    for (int i = 0; i < 2; ++i) {
        KArgList page;
        page.add(WA_TAB_NAME, pages[i]);
        page.add(WA_TAB_RESIZE, true);
        Panel::make(l.tabs, pages[i], 300, 60, RGB(0xD8, 0xF0 - 16 * i, 0xD0), &page);
    }
    l.tabs->configure(false);

    form->attachForm(l.frame, SIDE_LEFT, SIDE_TOP);
    form->attachOff(l.frame, SIDE_LEFT, 10, SIDE_TOP, 10);
    form->attach(l.grid, SIDE_LEFT, l.frame);
    form->attachForm(l.grid, SIDE_TOP, SIDE_RIGHT);
    form->attachOff(l.grid, SIDE_LEFT, 10, SIDE_TOP, 16, SIDE_RIGHT, 10);
    form->attach(l.tabs, SIDE_TOP, l.frame);
    form->attachForm(l.tabs, SIDE_LEFT, SIDE_RIGHT, SIDE_BOTTOM);
    form->attachOff(l.tabs, SIDE_TOP, 10, SIDE_LEFT, 10, SIDE_RIGHT, 10, SIDE_BOTTOM, 10);
    form->configure(false);
    return l;
}

} // namespace demo

#endif
