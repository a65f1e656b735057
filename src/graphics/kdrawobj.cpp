// Drawing objects and the count of what the library holds.
#include "kdrawobj.h"
#include "kgraphics.h"
#include "kgdi.h"

namespace {

// Only the user-interface thread draws, but a count is cheap to keep exact.
volatile LONG gdi_count = 0;

} // namespace

void CountGdi(int delta)
{
    InterlockedExchangeAdd(&gdi_count, delta);
}

void DeleteCounted(HGDIOBJ h)
{
    if (h && DeleteObject(h))
        CountGdi(-1);
}

void DeleteCountedDC(HDC h)
{
    if (h && DeleteDC(h))
        CountGdi(-1);
}

void ReleaseCountedDC(HWND window, HDC h)
{
    if (h && ReleaseDC(window, h))
        CountGdi(-1);
}

int GetLibraryGDIObjectCount()
{
    return gdi_count;
}

int GetGDIObjectCount()
{
    return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// --- KDrawObj ---------------------------------------------------------------

KDrawObj::KDrawObj(HGDIOBJ h, bool own) : handle(own ? Counted(h) : h), owned(own) {}

KDrawObj::KDrawObj(KDrawObj&& other) noexcept : handle(other.handle), owned(other.owned)
{
    other.handle = nullptr;
    other.owned = false;
}

KDrawObj& KDrawObj::operator=(KDrawObj&& other) noexcept
{
    if (this != &other) {
        destroy();
        handle = other.handle;
        owned = other.owned;
        other.handle = nullptr;
        other.owned = false;
    }
    return *this;
}

void KDrawObj::destroy()
{
    if (owned)
        DeleteCounted(handle);
    handle = nullptr;
    owned = false;
}

void KDrawObj::set(HGDIOBJ h, bool own)
{
    destroy();
    handle = own ? Counted(h) : h;
    owned = own;
}

// --- Pens, brushes, fonts, bitmaps --------------------------------------------

KPen::KPen(KStock stock) : KDrawObj(GetStockObject(stock.index), false) {}
KPen::KPen(COLORREF colour, int style, int width) : KDrawObj(CreatePen(style, width, colour), true) {}
KPen::KPen(const LOGPEN* description) : KDrawObj(CreatePenIndirect(description), true) {}
int KPen::getObject(LOGPEN& d) const { return GetObjectW(handle, sizeof(d), &d); }

KBrush::KBrush(KStock stock) : KDrawObj(GetStockObject(stock.index), false) {}
KBrush::KBrush(COLORREF colour) : KDrawObj(CreateSolidBrush(colour), true) {}
KBrush::KBrush(COLORREF colour, int hatch) : KDrawObj(CreateHatchBrush(hatch, colour), true) {}
KBrush::KBrush(const LOGBRUSH* description) : KDrawObj(CreateBrushIndirect(description), true) {}
int KBrush::getObject(LOGBRUSH& d) const { return GetObjectW(handle, sizeof(d), &d); }

KFont::KFont(const LOGFONTW& description) : KDrawObj(CreateFontIndirectW(&description), true) {}

void KFont::create(const wchar_t* face, int pointSize, int angle, int weight)
{
    KDisplay screen;
    create(&screen, face, pointSize, angle, weight);
}

void KFont::create(const KDevInfo* device, const wchar_t* face, int pointSize, int angle, int weight)
{
    LOGFONTW lf = FontDescription(face, -MulDiv(pointSize, device->getLOGPIXELSY(), 72), angle, weight);
    set(CreateFontIndirectW(&lf), true);
}

int KFont::getObject(LOGFONTW& d) const { return GetObjectW(handle, sizeof(d), &d); }

KBitmap::KBitmap(KDevContext* like, int w, int h)
{
    if (like) {
        set(CreateCompatibleBitmap(*like, w, h), true);
    } else {
        ScreenContext screen;
        set(CreateCompatibleBitmap(screen, w, h), true);
    }
    setDimension(w, h);
}

long KBitmap::getBits(void* buffer, long count) const
{
    return GetBitmapBits((HBITMAP)handle, count, buffer);
}

long KBitmap::setBits(const void* buffer, long count)
{
    return SetBitmapBits((HBITMAP)handle, count, buffer);
}
void KBitmap::setDimension(int w, int h) { SetBitmapDimensionEx((HBITMAP)handle, w, h, nullptr); }

SIZE KBitmap::size() const
{
    SIZE s = {0, 0};
    GetBitmapDimensionEx((HBITMAP)handle, &s);
    return s;
}

int KBitmap::getObject(BITMAP& d) const { return GetObjectW(handle, sizeof(d), &d); }
