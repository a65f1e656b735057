// The contexts that obtain a handle and give it back: windows and memory
// bitmaps; and the rectangle helpers.
#include "kgraphics.h"
#include "kgdi.h"
#include "kwindow.h"

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

DCRect Intersect(const DCRect& a, const DCRect& b)
{
    const long left = a.x > b.x ? a.x : b.x, top = a.y > b.y ? a.y : b.y;
    const long right = a.x + a.w < b.x + b.w ? a.x + a.w : b.x + b.w;
    const long bottom = a.y + a.h < b.y + b.h ? a.y + a.h : b.y + b.h;
    if (right <= left || bottom <= top)
        return DCRect();
    return DCRect(left, top, right - left, bottom - top);
}

KWinDC::KWinDC(KWindow* w, bool wholeWindow) : window(w)
{
    HWND h = w->getWindow();
    hdc = Counted(wholeWindow ? GetWindowDC(h) : GetDC(h));
    if (hdc)
        w->setCoord(hdc);
}

KWinDC::~KWinDC()
{
    restoreSelection();
    ReleaseCountedDC(window->getWindow(), hdc);
    hdc = nullptr;
}

int KWinDC::Width() { return window->Width(); }
int KWinDC::Height() { return window->Height(); }
int KWinDC::width() { return window->width(); }
int KWinDC::height() { return window->height(); }

KMemDC::KMemDC(KDevInfo* like, int w, int h, bool mono)
{
    HDC base = like ? like->getHDC() : nullptr;
    hdc = Counted(CreateCompatibleDC(base));
    deleteOnDestroy = true;
    if (w < 1 || h < 1)
        return;
    // A bitmap compatible with a memory context would be monochrome: the
    // screen stands in for a missing like.
    if (base)
        setBitmapSize(base, w, h, mono);
    else
        setBitmapSize(w, h, mono);
}

KMemDC::KMemDC(int w, int h, bool mono)
{
    ScreenContext screen;
    hdc = Counted(CreateCompatibleDC(screen));
    deleteOnDestroy = true;
    setBitmapSize(screen, w, h, mono);
}

KMemDC::KMemDC(KDevInfo* like, const KBitmap* bitmap)
{
    const SIZE s = bitmap->size();
    bmWidth = s.cx;
    bmHeight = s.cy;
    HDC base = like ? like->getHDC() : nullptr;
    hdc = Counted(CreateCompatibleDC(base));
    deleteOnDestroy = true;
    select(WO_BITMAP, bitmap->getHandle(), false);
    if (base)
        SetMapMode(hdc, GetMapMode(base));
}

KMemDC::~KMemDC()
{
    restoreSelection();
}

HGDIOBJ KMemDC::setBitmap(const KBitmap* bitmap) { return select(WO_BITMAP, bitmap->getHandle(), false); }
HGDIOBJ KMemDC::setBitmap(HBITMAP bitmap) { return select(WO_BITMAP, bitmap, false); }

HGDIOBJ KMemDC::setBitmapSize(HDC like, int w, int h, bool mono)
{
    bmWidth = w;
    bmHeight = h;
    HBITMAP bitmap = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(like, w, h);
    return select(WO_BITMAP, bitmap, true);
}

HGDIOBJ KMemDC::setBitmapSize(int w, int h, bool mono)
{
    ScreenContext screen;
    return setBitmapSize(screen, w, h, mono);
}
