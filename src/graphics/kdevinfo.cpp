// KDevInfo: the handle, the selection slots with their ownership, clipping
// and device information.
#include "kgraphics.h"
#include "kgdi.h"
#include <string.h>

LOGFONTW KDevInfo::lfDefault;

KDevInfo::KDevInfo(HDC h) : hdc(h) {}

KDevInfo::KDevInfo(const wchar_t* device, const wchar_t* driver, const wchar_t* port,
                   const DEVMODEW* devmode)
    : hdc(Counted(CreateICW(driver, device, port, devmode))), deleteOnDestroy(true)
{
}

KDevInfo::~KDevInfo()
{
    restoreSelection();
    if (deleteOnDestroy)
        DeleteCountedDC(hdc);
}

HDC KDevInfo::getHDC() const
{
    return this ? hdc : nullptr;
}

int KDevInfo::Width() { return GetDeviceCaps(hdc, HORZRES); }
int KDevInfo::Height() { return GetDeviceCaps(hdc, VERTRES); }

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

// --- Selection ---------------------------------------------------------------

HGDIOBJ KDevInfo::select(WHICHOBJ which, HGDIOBJ object, bool owned)
{
    HGDIOBJ previous = SelectObject(hdc, object);
    // What the slot held is no longer selected: only now may it be deleted.
    drawObj[which].set(object, owned);
    if (!savedObj[which])
        savedObj[which] = previous;
    isChanged = true;
    return previous;
}

void KDevInfo::restoreSelection()
{
    if (!hdc)
        return;
    if (hasClip)
        clearClipRect();
    if (!isChanged)
        return;
    for (int i = 0; i < WO_COUNT; ++i) {
        if (!savedObj[i])
            continue;
        SelectObject(hdc, savedObj[i]);
        savedObj[i] = nullptr;
        drawObj[i].destroy();
    }
    isChanged = false;
}

HGDIOBJ KDevInfo::setPen(COLORREF colour, int style, int width)
{
    return select(WO_PEN, CreatePen(style, width, colour), true);
}

HGDIOBJ KDevInfo::setPen(const KPen* pen) { return select(WO_PEN, pen->getHandle(), false); }
HGDIOBJ KDevInfo::setPen(HPEN pen) { return select(WO_PEN, pen, false); }
HGDIOBJ KDevInfo::setBrush(COLORREF colour) { return select(WO_BRUSH, CreateSolidBrush(colour), true); }
HGDIOBJ KDevInfo::setBrush(const KBrush* brush) { return select(WO_BRUSH, brush->getHandle(), false); }
HGDIOBJ KDevInfo::setBrush(HBRUSH brush) { return select(WO_BRUSH, brush, false); }
HGDIOBJ KDevInfo::clearBrush() { return select(WO_BRUSH, GetStockObject(NULL_BRUSH), false); }

HGDIOBJ KDevInfo::setBrushHatch(COLORREF colour, int hatchStyle)
{
    return select(WO_BRUSH, CreateHatchBrush(hatchStyle, colour), true);
}

HGDIOBJ KDevInfo::setFont(const LOGFONTW& description)
{
    glyphChar = 0; // the cached ink offsets belong to the old font
    return select(WO_FONT, CreateFontIndirectW(&description), true);
}

HGDIOBJ KDevInfo::setFont(HFONT font) { return select(WO_FONT, font, false); }

LOGFONTW FontDescription(const wchar_t* face, int height, int angle, int weight)
{
    LOGFONTW lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = height;
    lf.lfEscapement = lf.lfOrientation = angle;
    lf.lfWeight = weight;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    if (face)
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

HGDIOBJ KDevInfo::selectFont(const wchar_t* face, int height, int angle, int weight)
{
    return setFont(FontDescription(face, height, angle, weight));
}

HGDIOBJ KDevInfo::setFontSize(const wchar_t* face, int height, int angle, int weight)
{
    return selectFont(face, height, angle, weight);
}

int KDevInfo::pointsToHeight(int pointSize) const
{
    const int height = -MulDiv(pointSize, getLOGPIXELSY(), 72);
    // A preview page is drawn smaller than the printed one by a fixed factor.
    return isPreview ? (int)(height / 1.45) : height;
}

HGDIOBJ KDevInfo::setFont(const wchar_t* face, int pointSize, int angle, int weight)
{
    return selectFont(face, pointsToHeight(pointSize), angle, weight);
}

HGDIOBJ KDevInfo::setFont(int pointSize, int angle)
{
    LOGFONTW lf = lfDefault;
    lf.lfHeight = pointsToHeight(pointSize);
    lf.lfEscapement = lf.lfOrientation = angle;
    return setFont(lf);
}

// --- Clipping and escapes -------------------------------------------------------

int KDevInfo::setClipRect(const DCRect& r)
{
    GdiObject region(CreateRectRgn(r.x, r.y, r.x + r.w, r.y + r.h));
    hasClip = true;
    return SelectClipRgn(hdc, (HRGN)region.get());
}

int KDevInfo::setClipRect(const KRECT& r)
{
    return setClipRect(DCRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

int KDevInfo::subtractClipRect(const KRECT& r)
{
    GdiObject region(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    hasClip = true;
    return ExtSelectClipRgn(hdc, (HRGN)region.get(), RGN_DIFF);
}

int KDevInfo::clearClipRect()
{
    hasClip = false;
    return SelectClipRgn(hdc, nullptr);
}

int KDevInfo::escape(int code, int count, const char* in, void* out)
{
    errorCode = Escape(hdc, code, count, in, out);
    return errorCode;
}
