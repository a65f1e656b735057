// KToolTip: the floating tip that shows a short text near the pointer, kept
// on the monitor. The window core opens one when the pointer rests on a
// window with a tool-tip text (KWindow::setToolTipText) and closes it when
// the pointer leaves.
#ifndef KORVEL_KTOOLTIP_H
#define KORVEL_KTOOLTIP_H

#include "kwindow.h"

class KORVEL_API KToolTip : public KWindow {
public:
    explicit KToolTip(const KString& text);
    ~KToolTip() override;
    // Shows the tip at the screen point (x, y); near the monitor's right or
    // bottom edge it opens to the left of or above the point instead.
    void track(int x, int y);
    const KString& getText() const { return text; }

private:
    void exposeHandler(KWindow*, ExposeEvent*);
    KString text;
};

#endif
