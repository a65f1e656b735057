// The rubber band: one module-wide band, redrawn with XOR through a fresh
// context of its window at every step.
#include "krubber.h"
#include "kgraphics.h"
#include "kwindow.h"
#include <stdlib.h>

namespace {

KWindow* bandWindow = nullptr;
KPOINT anchor = {0, 0};
KPOINT bandEnd = {0, 0};
DCRect bandRect;

// The context of one step: a thin grey pen that XORs onto the picture.
class BandDC : public KWinDC {
public:
    explicit BandDC(KWindow* w) : KWinDC(w)
    {
        setPen(RGB(0x64, 0x64, 0x64), PS_SOLID, 0);
        setROP2(R2_XORPEN);
    }
    void line() { drawLine(anchor, bandEnd); }
};

} // namespace

void StartRubberRect(KWindow* w, const KPOINT& p)
{
    bandWindow = w;
    anchor = p;
    bandRect = DCRect(p.x, p.y, 0, 0);
    BandDC dc(w);
    dc.saveDC();
    dc.drawRect(bandRect);
}

void UpdateRubberRect(const KPOINT& p)
{
    if (!bandWindow)
        return;
    BandDC dc(bandWindow);
    dc.drawRect(bandRect);
    bandRect = DCRect(p.x < anchor.x ? p.x : anchor.x, p.y < anchor.y ? p.y : anchor.y,
                      labs(p.x - anchor.x), labs(p.y - anchor.y));
    dc.drawRect(bandRect);
}

void EndRubberRect()
{
    if (!bandWindow)
        return;
    BandDC dc(bandWindow);
    dc.drawRect(bandRect);
    dc.restoreDC();
    bandWindow = nullptr;
}

void StartRubberLine(KWindow* w, const KPOINT& p)
{
    bandWindow = w;
    anchor = bandEnd = p;
    BandDC dc(w);
    dc.saveDC();
    dc.line();
}

void UpdateRubberLine(const KPOINT& p)
{
    if (!bandWindow)
        return;
    BandDC dc(bandWindow);
    dc.line();
    bandEnd = p;
    dc.line();
}

void EndRubberLine(KPOINT* start, KPOINT* end)
{
    if (!bandWindow)
        return;
    BandDC dc(bandWindow);
    dc.line();
    dc.restoreDC();
    bandWindow = nullptr;
    if (start)
        *start = anchor;
    if (end)
        *end = bandEnd;
}
