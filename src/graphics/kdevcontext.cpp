// Device contexts: the screen, windows and memory bitmaps.
#include "kgraphics.h"
#include "kwindow.h"

LOGFONTW KDevInfo::lfDefault;

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void KDevInfo::init()
{
    // The structure is given the size of the classic layout (500 bytes), which
    // every version of Windows accepts.
    NONCLIENTMETRICSW ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = 500;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &ncm, 0))
        lfDefault = ncm.lfMenuFont;
}

int KDevInfo::Width() { return GetDeviceCaps(hdc, HORZRES); }
int KDevInfo::Height() { return GetDeviceCaps(hdc, VERTRES); }

BOOL KDevContext::bitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    return BitBlt(hdc, x, y, w, h, src, sx, sy, rop);
}

void KDevContext::fillRect(const DCRect& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rc = {r.x, r.y, r.x + r.w, r.y + r.h};
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);
}

KWinDC::KWinDC(KWindow* w, bool wholeWindow) : window(w)
{
    HWND h = w->getWindow();
    hdc = wholeWindow ? GetWindowDC(h) : GetDC(h);
    if (hdc && !wholeWindow)
        w->setCoord(hdc);
}

KWinDC::~KWinDC()
{
    if (hdc)
        ReleaseDC(window->getWindow(), hdc);
}

int KWinDC::Width() { return window->Width(); }
int KWinDC::Height() { return window->Height(); }
int KWinDC::width() { return window->width(); }
int KWinDC::height() { return window->height(); }

KMemDC::KMemDC(KDevInfo* like, int w, int h, bool mono)
{
    HDC base = like ? like->getHDC() : nullptr;
    hdc = CreateCompatibleDC(base);
    if (!hdc || w < 1 || h < 1)
        return;
    HDC screen = base ? nullptr : GetDC(nullptr);
    bitmap = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(base ? base : screen, w, h);
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!bitmap)
        return;
    bmWidth = w;
    bmHeight = h;
    savedBitmap = SelectObject(hdc, bitmap);
}

KMemDC::~KMemDC()
{
    if (savedBitmap)
        SelectObject(hdc, savedBitmap);
    if (bitmap)
        DeleteObject(bitmap);
    if (hdc)
        DeleteDC(hdc);
}
