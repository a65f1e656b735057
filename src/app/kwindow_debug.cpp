// KWindow debug aids: the window tree in the log and a picture of a tree.
#include "kwindow.h"
#include "kgraphics.h"
#include <math.h>

void KWindow::printTree(int depth)
{
    KString cls = className();
    Printf("%*sthis=%p hwnd=%08x cls='%S' '%S'\n", 4 * depth, "", (void*)this,
           (unsigned)(UINT_PTR)hwnd, &cls, &name);
    for (int i = 0; i < children.count(); ++i)
        children[i]->printTree(depth + 1);
}

// An arrow at the cursor position, turned by 135 degrees.
static void DrawCursorArrow(KDevContext& dc, KWindow* w, int x, int y)
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(w->getWindow(), &pt);
    static const double shape[][2] = {{0, 0}, {12, -4}, {8, 0}, {16, 8}, {12, 12}, {4, 4}, {0, 8}};
    const double a = 135.0 * 3.14159265358979 / 180.0;
    POINT poly[7];
    for (int i = 0; i < 7; ++i) {
        double px = shape[i][0] / 1.4142, py = shape[i][1] / 1.4142;
        poly[i].x = x + pt.x + (LONG)(px * cos(a) - py * sin(a));
        poly[i].y = y + pt.y + (LONG)(px * sin(a) + py * cos(a));
    }
    dc.setBrush((HBRUSH)GetStockObject(BLACK_BRUSH));
    dc.polygon(poly, 7);
}

void KWindow::dump(KDevContext& dc, int flags, int x, int y, bool top)
{
    if (!visible || !hwnd)
        return;
    if (top) {
        const bool whole = (flags & 1) != 0;
        KWinDC src(this, whole);
        RECT r;
        if (whole)
            GetWindowRect(hwnd, &r);
        else
            GetClientRect(hwnd, &r);
        dc.bitBlt(DCRect(x, y, r.right - r.left, r.bottom - r.top), src, KPOINT{0, 0});
        if (whole) {
            // Children are placed relative to the client area: skip the frame.
            POINT origin = {0, 0};
            ClientToScreen(hwnd, &origin);
            x += origin.x - r.left;
            y += origin.y - r.top;
        }
    } else if (!printBackground) {
        // Two colours: the background becomes white, everything else black.
        KWinDC src(this);
        KMemDC mono(nullptr, clientWidth, clientHeight, true);
        src.setBkColor(background);
        mono.bitBlt(DCRect(0, 0, clientWidth, clientHeight), src, KPOINT{0, 0});
        dc.bitBlt(DCRect(x + winX + borderWidth, y + winY + borderWidth, clientWidth, clientHeight), mono,
                  KPOINT{0, 0});
    }
    if (!(flags & 2)) {
        for (int i = 0; i < children.count(); ++i) {
            KWindow* c = children[i];
            if (!c->mapped)
                continue;
            c->dumpHandler(1);
            c->dump(dc, flags, top ? x : x + winX + borderWidth, top ? y : y + winY + borderWidth, false);
            c->dumpHandler(2);
        }
    }
    if (top && (flags & 4))
        DrawCursorArrow(dc, this, x, y);
}
