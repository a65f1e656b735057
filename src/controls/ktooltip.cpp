// KToolTip: a pale yellow popup with a line of text, placed on the monitor.
#include "ktooltip.h"
#include "kgraphics.h"

KToolTip::KToolTip(const KString& tip) : text(tip)
{
    KArgList args;
    args.add(WA_BORDERWIDTH, (short)1);
    args.add(WA_ADD_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_BACKGROUND, (unsigned long)0xD0FFFD);
    init(nullptr, &args);
    _addEventHandler(new ExposeEventHandler<KToolTip>(this, &KToolTip::exposeHandler));
    configureAll(false);
}

KToolTip::~KToolTip() = default;

void KToolTip::exposeHandler(KWindow*, ExposeEvent*)
{
    KWinDC dc(this);
    dc.setFont(DEFAULT_FIXED_FONT);
    dc.setAlign(1, 4);
    dc.setJustify(0);
    dc.setBkMode(TRANSPARENT);
    dc.textOut(5, 5, text);
}

void KToolTip::track(int x, int y)
{
    int cx = 0, cy = 0;
    {
        KDisplayInfo screen;
        screen.setFont(DEFAULT_FIXED_FONT);
        screen.getTextExtent(text, &cx, &cy);
    }
    const int w = cx + 12, h = cy + 12;
    MONITORINFO mi = {sizeof(mi)};
    GetMonitorInfoW(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& m = mi.rcMonitor;
    if (x < m.left)
        x = m.left;
    else if (x + w >= m.right)
        x = x - w - 1;
    if (y < m.top)
        y = m.top;
    else if (y + h >= m.bottom)
        y = y - 24 - h; // above the pointer
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
