// KScrollBar: a native scroll bar control in a library window, as thick as
// the system's scroll bars, reporting its moves as ScrollBarEvent.
//
//     KArgList args;
//     args.add(WA_ORIENTATION, 0);                 // horizontal (1, the default: vertical)
//     args.add(WA_CLIENT_WIDTH, 200);
//     KScrollBar* bar = MakeScrollBar(form, &args);
//     bar->setRange(0, 100);
//     bar->setPageSize(10);                        // positions 0 .. 91
//     bar->_addEventHandler(new ScrollBarHandler<Panel>(this, &Panel::scrolled));
//     // scrolled(KScrollBar*, ScrollBarEvent* e): e->value; e->end is 1 when
//     // the user let go (or for setCurVal), 0 while the bar moves.
//
// The user's moves beyond 0 .. getMaxPos() are dropped without an event.
#ifndef KORVEL_KSCROLLBAR_H
#define KORVEL_KSCROLLBAR_H

#include "kwindow.h"

class KORVEL_API ScrollBarEvent : public Event {
public:
    KScrollBar* bar;
    int orientation; // 0 horizontal, 1 vertical
    int value;       // the position
    int min, max;
    int end;         // 1 at the end of a scroll action or for a change by the program
    bool fromControl; // the move came from the native control
    ScrollBarEvent(KScrollBar* bar, int end, bool fromControl);
};

class KORVEL_API KScrollBar : public KWindow {
public:
    KScrollBar();
    ~KScrollBar() override;
    // Takes the system's thickness across the bar when none was given.
    void configure(bool force) override;
    void setValues(KArgList* args) override;
    // Turns WM_HSCROLL and WM_VSCROLL of the control into moves and events.
    LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual void createControl();

    void setRange(int min, int max);
    void setMinVal(int min) { setRange(min, info.nMax); }
    void setMaxVal(int max) { setRange(info.nMin, max); }
    // Values below 1 become 1.
    void setPageSize(int page);
    int getMinVal() const { return info.nMin; }
    int getMaxVal() const { return info.nMax; }
    int getCurVal() const { return info.nPos; }
    int getPageSize() const { return (int)info.nPage; }
    // The last position the thumb can take: max - page - min + 1, at least 0.
    int getMaxPos() const;
    // Clamped to min .. getMaxPos(); notify sends an event with end 1.
    void setCurVal(int value, bool notify);
    int getOrientation() const { return orientation; }
    HWND getControl() const { return control; }

private:
    friend KORVEL_API KScrollBar* MakeScrollBar(KWindow* parent, KArgList* args);
    void initBar(KWindow* parent, KArgList* args);
    void resized(KWindow*, ResizeEvent*);
    void apply(UINT mask, bool redraw);
    // The position a scroll code asks for; the program ends on an unknown code.
    int target(int code);

    HWND control = nullptr;
    SCROLLINFO info;
    int orientation = 1;
};

KORVEL_API KScrollBar* MakeScrollBar(KWindow* parent, KArgList* args);

#endif
