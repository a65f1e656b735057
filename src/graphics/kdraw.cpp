// KDevContext: shadows, segmented lines, rectangles, circles, bitmaps and
// copies of whole surfaces.
#include "kgraphics.h"
#include "kgdi.h"
#include "kwindow.h"
#include "kapp.h"
#include "kdiag.h"

KDevContext::KDevContext(const wchar_t* device, const wchar_t* driver, const DEVMODEW* devmode)
    : KDevInfo(Counted(CreateDCW(driver, device, nullptr, devmode)))
{
    deleteOnDestroy = true;
}

namespace {

struct Ring {
    COLORREF topLeft, bottomRight;
};

// The colours of ring i of a shadow, from the outside in.
bool ShadowRing(int style, int i, int thickness, Ring* ring)
{
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    const bool outer = i < thickness / 2;
    bool lightFirst;
    switch (style) {
    case EDGE_RAISED: lightFirst = true; break;
    case EDGE_SUNKEN: lightFirst = false; break;
    case EDGE_ETCHED: lightFirst = !outer; break;
    case EDGE_BUMP: lightFirst = outer; break;
    default: return false;
    }
    *ring = lightFirst ? Ring{light, dark} : Ring{dark, light};
    return true;
}

} // namespace

void KDevContext::drawShadow(const DCRect& r, short style, short thickness)
{
    if (style == 0 || thickness == 0)
        return;
    Ring ring;
    if (!ShadowRing(style, 0, thickness, &ring)) {
        ErrorBox(ERRCODE(1, 1007), "Unknown shadow style %d.", style);
        return;
    }
    for (int i = 0; i < thickness; ++i) {
        ShadowRing(style, i, thickness, &ring);
        const int left = r.x + i, right = r.x + r.w - 1 - i;
        const int top = r.y + i, bottom = r.y + r.h - 1 - i;
        setPen(ring.topLeft, PS_SOLID, 0);
        const POINT upper[3] = {{left, bottom}, {left, top}, {right, top}};
        Polyline(hdc, upper, 3);
        setPen(ring.bottomRight, PS_SOLID, 0);
        const POINT lower[3] = {{right, top}, {right, bottom}, {left, bottom}};
        Polyline(hdc, lower, 3);
    }
}

void KDevContext::drawLines(const POINT* points, int count, const COLORREF* colours)
{
    int first = 0;
    while (first < count - 1) {
        int last = first; // the last segment of the run
        while (last + 1 < count - 1 && colours[last + 1] == colours[last])
            ++last;
        setPen(colours[first], PS_SOLID, 0);
        Polyline(hdc, points + first, last - first + 2);
        first = last + 1;
    }
}

void KDevContext::drawRect(KPOINT a, KPOINT b)
{
    moveTo(a);
    lineTo(b.x, a.y);
    lineTo(b);
    lineTo(a.x, b.y);
    lineTo(a);
}

void KDevContext::drawRect(const KRECT& r)
{
    drawRect(KPOINT{r.left, r.top}, KPOINT{r.right, r.bottom});
}

void KDevContext::drawRect(const DCRect& r)
{
    if (r.w <= 0 || r.h <= 0)
        return;
    const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
    const POINT outline[5] = {{r.x, r.y}, {right, r.y}, {right, bottom}, {r.x, bottom}, {r.x, r.y}};
    Polyline(hdc, outline, 5);
}

void KDevContext::fillRect(const KRECT& r, COLORREF colour)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    GdiObject brush(CreateSolidBrush(colour));
    const RECT rc = ToRECT(r);
    FillRect(hdc, &rc, brush);
}

void KDevContext::fillRect(const DCRect& r, COLORREF colour)
{
    fillRect(KRECT{r.x, r.y, r.x + r.w, r.y + r.h}, colour);
}

void KDevContext::clear()
{
    fillRect(DCRect(0, 0, Width(), Height()), GetBkColor(hdc));
}

void KDevContext::drawCircle(int x, int y, int radius, bool filled)
{
    if (!filled)
        clearBrush();
    Ellipse(hdc, x - radius, y - radius, x + radius + 1, y + radius + 1);
}

void KDevContext::showBitmap(int resourceId, int x, int y, int w, int h)
{
    GdiObject bitmap(LoadBitmapW(App ? App->instance() : nullptr, MAKEINTRESOURCEW(resourceId)));
    if (!bitmap.get())
        return;
    BITMAP bm = {};
    GetObjectW(bitmap.get(), sizeof(bm), &bm);
    if (w == 0)
        w = bm.bmWidth;
    if (h == 0)
        h = bm.bmHeight;
    if (xalign == 0)
        x -= w / 2;
    else if (xalign == 2)
        x -= w;
    if (yalign == 0)
        y -= h / 2;
    else if (yalign == 5)
        y -= h;
    MemoryContext source(hdc);
    Selection selected(source, bitmap.get());
    StretchBlt(hdc, x, y, w, h, source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
}

void KDevContext::drawBitmap(int x, int y, const KBitmap* bitmap, DWORD rop)
{
    if (!bitmap || bitmap->isNull())
        return;
    KMemDC source(this, bitmap);
    BITMAP bm = {};
    bitmap->getObject(bm);
    POINT extent[2] = {{0, 0}, {bm.bmWidth, bm.bmHeight}};
    ::DPtoLP(hdc, extent, 2);
    BitBlt(hdc, x, y, extent[1].x - extent[0].x, extent[1].y - extent[0].y, source, extent[0].x,
           extent[0].y, rop);
}

BOOL KDevContext::copy(KDevContext& target, int x, int y, DWORD rop)
{
    return BitBlt(target.getHDC(), x, y, Width(), Height(), hdc, 0, 0, rop);
}

BOOL KDevContext::copy(KWindow* window, int x, int y, DWORD rop)
{
    HWND h = window->getWindow();
    HDC target = Counted(GetDC(h));
    const BOOL ok = BitBlt(target, x, y, Width(), Height(), hdc, 0, 0, rop);
    ReleaseCountedDC(h, target);
    return ok;
}

BOOL KDevContext::stretchCopy(KDevContext& target, int x, int y, float scale)
{
    return StretchBlt(target.getHDC(), x, y, (int)(Width() * scale), (int)(Height() * scale), hdc, 0,
                      0, Width(), Height(), SRCCOPY);
}

int KDevContext::excludeUpdateRgn(KWindow* w)
{
    return ExcludeUpdateRgn(hdc, w->getWindow());
}

KPOINT KDevContext::getPos() const
{
    POINT p = {0, 0};
    GetCurrentPositionEx(hdc, &p);
    return KPOINT{p.x, p.y};
}

KPOINT KDevContext::getDCOrg() const
{
    POINT p = {0, 0};
    GetDCOrgEx(hdc, &p);
    return KPOINT{p.x, p.y};
}

KPOINT KDevContext::brushOrg() const
{
    POINT p = {0, 0};
    GetBrushOrgEx(hdc, &p);
    return KPOINT{p.x, p.y};
}

KPOINT KDevContext::brushOrg(int x, int y)
{
    POINT p = {0, 0};
    SetBrushOrgEx(hdc, x, y, &p);
    return KPOINT{p.x, p.y};
}

SIZE KDevContext::getAspectRatio() const
{
    SIZE s = {0, 0};
    GetAspectRatioFilterEx(hdc, &s);
    return s;
}
