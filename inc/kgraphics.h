// Device contexts: every drawing of the library goes through them.
//
//     void Meter::expose(KWindow*, ExposeEvent*)
//     {
//         KWinDC dc(this);
//         dc.setPen(RGB(0, 0, 128));          // made here, owned by dc
//         dc.drawRect(DCRect(0, 0, width(), height()));
//         dc.setAlign(0, 0);                  // anchor at the middle
//         dc.textOut(width() / 2, height() / 2, label);
//     }                                       // initial pen back, the made one deleted
//
// Ownership: a context remembers the object it held before the first
// selection of each kind (pen, brush, bitmap, font) and puts it back in
// restoreSelection(), which every context that gives its handle back calls
// first. An object the context made (setPen(colour), setFont(face, size) ...)
// is owned by it and deleted as soon as it is replaced or restored; objects
// passed in (KPen*, handles) are only selected.
//
// Text: textOut lays a multi-line text (lines end at '\n') out in a line table
// shared by all contexts, and places the block by its anchor: xalign 0 middle,
// 1 left, 2 right; yalign 0 middle, 3 base line of the first line, 4 top,
// 5 bottom; each line justified by justify 0 left, 1 right, 2 centred.
#ifndef KORVEL_KGRAPHICS_H
#define KORVEL_KGRAPHICS_H

#include <windows.h>
#include "kexport.h"
#include "kgeometry.h"
#include "kdrawobj.h"
#include "kstring.h"
#include "array"

class KWindow;

// Size of the primary screen in pixels.
KORVEL_API int ScreenWidth();
KORVEL_API int ScreenHeight();

// Look-and-feel values read from the system when the library is loaded.
extern KORVEL_API COLORREF BUTTON_FACE_COLOR;
extern KORVEL_API COLORREF BUTTON_TEXT_COLOR;
extern KORVEL_API COLORREF BORDER_COLOR;
extern KORVEL_API int BORDER_WIDTH;
extern KORVEL_API int FRAME_WIDTH;
extern KORVEL_API int CAPTION_HEIGHT;
extern KORVEL_API int MENU_HEIGHT;
extern KORVEL_API int SHADOW_WIDTH;
extern KORVEL_API HFONT DEFAULT_VAR_FONT;
extern KORVEL_API HFONT DEFAULT_FIXED_FONT;
const int DEFAULT_POINT_SIZE = 8;
const int DEFAULT_MARGIN = 2;

// The overlap of two rectangles; {0, 0, 0, 0} when they do not overlap.
KORVEL_API DCRect Intersect(const DCRect& a, const DCRect& b);
inline RECT ToRECT(const DCRect& r) { return RECT{r.x, r.y, r.x + r.w, r.y + r.h}; }
inline RECT ToRECT(const KRECT& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The selection slots of a context.
enum WHICHOBJ { WO_PEN = 0, WO_BRUSH = 1, WO_BITMAP = 2, WO_FONT = 3, WO_OTHER = 4, WO_COUNT = 5 };

// One line of the class-wide line table: where it starts in the caller's
// text, its length without the line feed, and its size.
struct KTextExtentLine {
    int width = 0;
    int height = 0;
    const wchar_t* text = nullptr;
    int length = 0;
};

// Any device-context handle: information, object selection, clipping and
// text measurement.
class KORVEL_API KDevInfo {
public:
    // An information context of a device (CreateICW), deleted with the object.
    KDevInfo(const wchar_t* device, const wchar_t* driver, const wchar_t* port,
             const DEVMODEW* devmode);
    // Adopts a handle that stays the caller's.
    explicit KDevInfo(HDC h = nullptr);
    virtual ~KDevInfo();
    KDevInfo(const KDevInfo&) = delete;
    KDevInfo& operator=(const KDevInfo&) = delete;

    // Size of the whole surface, and of its drawable inner part.
    virtual int Width();
    virtual int Height();
    virtual int width() { return Width(); }
    virtual int height() { return Height(); }

    operator HDC() const { return hdc; }
    HDC getHDC() const; // null for a null object

    // --- Selection (each returns the object the context held before) ---
    HGDIOBJ setPen(COLORREF colour, int style = PS_SOLID, int width = 0);
    HGDIOBJ setPen(const KPen* pen);
    HGDIOBJ setPen(HPEN pen);
    HGDIOBJ setBrush(COLORREF colour);
    HGDIOBJ setBrush(const KBrush* brush);
    HGDIOBJ setBrush(HBRUSH brush);
    HGDIOBJ setBrushHatch(COLORREF colour, int hatchStyle);
    HGDIOBJ clearBrush(); // the hollow stock brush
    HGDIOBJ setFont(const LOGFONTW& description);
    HGDIOBJ setFont(HFONT font);
    // A font of the face with the height in logical units.
    HGDIOBJ setFontSize(const wchar_t* face, int height, int angle = 0, int weight = FW_NORMAL);
    // A font of the face in points for this device (shrunk in preview).
    HGDIOBJ setFont(const wchar_t* face, int pointSize, int angle = 0, int weight = FW_NORMAL);
    // The system's menu font in points.
    HGDIOBJ setFont(int pointSize, int angle = 0);
    HPEN getPen() const { return (HPEN)drawObj[WO_PEN].getHandle(); }
    HBRUSH getBrush() const { return (HBRUSH)drawObj[WO_BRUSH].getHandle(); }
    HFONT getFontHandle() const { return (HFONT)GetCurrentObject(hdc, OBJ_FONT); }
    // Puts the initial objects back and deletes what the context made.
    void restoreSelection();
    // The height of a point size on this device, shrunk in preview.
    int pointsToHeight(int pointSize) const;

    // --- Clipping ---
    int setClipRect(const KRECT& r);
    int setClipRect(const DCRect& r);
    int subtractClipRect(const KRECT& r);
    int clearClipRect();

    // --- Text measurement ---
    BOOL stringExtent(const wchar_t* text, int length, int* cx, int* cy);
    BOOL stringExtent(const KString& text, int* cx, int* cy);
    BOOL stringExtent(const wchar_t* text, int* cx, int* cy);
    // Extent of a multi-line text, without the line table.
    void getTextExtent(const wchar_t* text, int length, int* cx, int* cy);
    void getTextExtent(const KString& text, int* cx, int* cy);
    // Lays a multi-line text out into the line table and text_rect.
    void getTextExtent(const wchar_t* text, int length);
    void getTextExtent(const KString& text);
    static void clearTextLines();
    int getCharWidth(wchar_t ch);

    // --- Text settings ---
    void setAlign(int x, int y) { xalign = x, yalign = y; }
    void setJustify(int j) { justify = j; }
    int xAlign() const { return xalign; }
    int yAlign() const { return yalign; }
    int getJustify() const { return justify; }
    void setIsPreview(bool on) { isPreview = on; }
    bool getIsPreview() const { return isPreview; }

    // --- Device capabilities ---
    int getCap(int index) const { return GetDeviceCaps(hdc, index); }
    int getDRIVERVERSION() const { return getCap(DRIVERVERSION); }
    int getTECHNOLOGY() const { return getCap(TECHNOLOGY); }
    int getHORZSIZE() const { return getCap(HORZSIZE); }
    int getVERTSIZE() const { return getCap(VERTSIZE); }
    int getHORZRES() const { return getCap(HORZRES); }
    int getVERTRES() const { return getCap(VERTRES); }
    int getBITSPIXEL() const { return getCap(BITSPIXEL); }
    int getPLANES() const { return getCap(PLANES); }
    int getNUMBRUSHES() const { return getCap(NUMBRUSHES); }
    int getNUMPENS() const { return getCap(NUMPENS); }
    int getNUMMARKERS() const { return getCap(NUMMARKERS); }
    int getNUMFONTS() const { return getCap(NUMFONTS); }
    int getNUMCOLORS() const { return getCap(NUMCOLORS); }
    int getPDEVICESIZE() const { return getCap(PDEVICESIZE); }
    int getCURVECAPS() const { return getCap(CURVECAPS); }
    int getLINECAPS() const { return getCap(LINECAPS); }
    int getPOLYGONALCAPS() const { return getCap(POLYGONALCAPS); }
    int getTEXTCAPS() const { return getCap(TEXTCAPS); }
    int getCLIPCAPS() const { return getCap(CLIPCAPS); }
    int getRASTERCAPS() const { return getCap(RASTERCAPS); }
    int getASPECTX() const { return getCap(ASPECTX); }
    int getASPECTY() const { return getCap(ASPECTY); }
    int getASPECTXY() const { return getCap(ASPECTXY); }
    int getLOGPIXELSX() const { return getCap(LOGPIXELSX); }
    int getLOGPIXELSY() const { return getCap(LOGPIXELSY); }
    int getSIZEPALETTE() const { return getCap(SIZEPALETTE); }
    int getNUMRESERVED() const { return getCap(NUMRESERVED); }
    int getCOLORRES() const { return getCap(COLORRES); }
    // Escape; its result is kept for error().
    int escape(int code, int count, const char* in, void* out);
    int error() const { return errorCode; }

    // Reads the system's menu font into lfDefault; called once at start-up.
    static void init();
    static LOGFONTW lfDefault;
    // The line table of the last layout: rows 0 .. num_text_line - 1 are in
    // use; text_rect.w is the widest line, text_rect.h the sum of the heights.
    static KArray<KTextExtentLine> text_line;
    static int num_text_line;
    static int max_text_line;
    static DCRect text_rect;

protected:
    HGDIOBJ select(WHICHOBJ which, HGDIOBJ object, bool owned);
    // Selects a font made from a description (owned).
    HGDIOBJ selectFont(const wchar_t* face, int height, int angle, int weight);
    static void addTextLine(int width, int height, const wchar_t* text, int length);
    int lineHeight();

    HDC hdc;
    KDrawObj drawObj[WO_COUNT];
    bool hasClip = false;
    HGDIOBJ savedObj[WO_COUNT] = {};
    int xalign = 1;
    int yalign = 4;
    int justify = 2;
    int errorCode = 0;
    bool isChanged = false;
    bool isPreview = false;
    wchar_t glyphChar = 0;
    int glyphOffsetX = 0, glyphOffsetY = 0;
    bool deleteOnDestroy = false; // the handle was created here
};

// An information context of the screen.
class KORVEL_API KDisplayInfo : public KDevInfo {
public:
    KDisplayInfo() : KDevInfo(nullptr, L"DISPLAY", nullptr, nullptr) {}
};

// A device context that can be drawn on.
class KORVEL_API KDevContext : public KDevInfo {
public:
    // A context of a device (CreateDCW), deleted with the object.
    KDevContext(const wchar_t* device, const wchar_t* driver, const DEVMODEW* devmode);

    // --- Text output ---
    // Multi-line text placed by its anchor point.
    void textOut(int x, int y, const wchar_t* text, int length);
    void textOut(int x, int y, const KString& text) { textOut(x, y, text, text.length()); }
    // The same, anchored in a rectangle (xalign 0, 1, 2; yalign 0 or 4).
    void textOut(const DCRect& r, const wchar_t* text, int length);
    void textOut(const DCRect& r, const KString& text) { textOut(r, text, text.length()); }
    void charOut(int x, int y, wchar_t ch) { textOut(x, y, &ch, 1); }
    void wprintf(int x, int y, const char* format, ...);
    void wprintf(KPOINT p, const char* format, ...);
    // TextOutW as it stands: no anchor, no lines.
    BOOL stringOut(int x, int y, const wchar_t* text, int length)
    {
        return TextOutW(hdc, x, y, text, length);
    }
    BOOL stringOut(int x, int y, const KString& text) { return stringOut(x, y, text, text.length()); }
    // One character with the middle of its ink on (x, y).
    void drawCentered(int x, int y, wchar_t ch);

    // --- Composite drawing ---
    // A 3-D border inside r: style EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED or
    // EDGE_BUMP, thickness rings.
    void drawShadow(const DCRect& r, short style, short thickness);
    // Segment i (point i to i + 1) in colours[i]; one polyline per run of a colour.
    void drawLines(const POINT* points, int count, const COLORREF* colours);
    void drawRect(KPOINT a, KPOINT b);
    void drawRect(const KRECT& r);
    // The outline inside r; nothing when r has no area.
    void drawRect(const DCRect& r);
    void fillRect(const KRECT& r, COLORREF colour);
    void fillRect(const DCRect& r, COLORREF colour);
    // Fills the whole surface with the background colour.
    void clear();
    void drawCircle(int x, int y, int radius, bool filled);
    // A bitmap resource of the application placed by the anchor; w, h of 0
    // mean its own size.
    void showBitmap(int resourceId, int x, int y, int w = 0, int h = 0);
    void drawBitmap(int x, int y, const KBitmap* bitmap, DWORD rop = SRCCOPY);
    // This whole surface into another context or a window.
    BOOL copy(KDevContext& target, int x, int y, DWORD rop = SRCCOPY);
    BOOL copy(KWindow* window, int x, int y, DWORD rop = SRCCOPY);
    BOOL stretchCopy(KDevContext& target, int x, int y, float scale);

    // --- Coordinates ---
    BOOL LPtoDP(POINT* points, int n) { return ::LPtoDP(hdc, points, n); }
    BOOL LPtoDP(KPOINT& p) { return ::LPtoDP(hdc, (POINT*)&p, 1); }
    BOOL DPtoLP(POINT* points, int n) { return ::DPtoLP(hdc, points, n); }
    BOOL DPtoLP(KPOINT& p) { return ::DPtoLP(hdc, (POINT*)&p, 1); }
    int mapMode() const { return GetMapMode(hdc); }
    int mapMode(int mode) { return SetMapMode(hdc, mode); }
    BOOL setViewportOrg(int x, int y) { return SetViewportOrgEx(hdc, x, y, nullptr); }
    BOOL setViewportExt(int x, int y) { return SetViewportExtEx(hdc, x, y, nullptr); }
    BOOL setWindowOrg(int x, int y) { return SetWindowOrgEx(hdc, x, y, nullptr); }
    BOOL setWindowOrg(KPOINT p) { return setWindowOrg(p.x, p.y); }
    BOOL setWindowExt(KPOINT p) { return SetWindowExtEx(hdc, p.x, p.y, nullptr); }

    // --- Modes and colours ---
    int getROP2() const { return GetROP2(hdc); }
    int setROP2(int mode) { return SetROP2(hdc, mode); }
    int getStretchBltMode() const { return GetStretchBltMode(hdc); }
    int setStretchBltMode(int mode) { return SetStretchBltMode(hdc, mode); }
    UINT getTextAlign() const { return GetTextAlign(hdc); }
    UINT setTextAlign(UINT align) { return SetTextAlign(hdc, align); }
    int getTextCharExtra() const { return GetTextCharacterExtra(hdc); }
    int setTextCharExtra(int extra) { return SetTextCharacterExtra(hdc, extra); }
    COLORREF getTextColor() const { return GetTextColor(hdc); }
    COLORREF setTextColor(COLORREF c) { return SetTextColor(hdc, c); }
    COLORREF getBkColor() const { return GetBkColor(hdc); }
    COLORREF setBkColor(COLORREF c) { return SetBkColor(hdc, c); }
    int getBkMode() const { return GetBkMode(hdc); }
    int setBkMode(int mode) { return SetBkMode(hdc, mode); }
    int fillMode() const { return GetPolyFillMode(hdc); }
    int fillMode(int mode) { return SetPolyFillMode(hdc, mode); }

    // --- Lines and shapes (the end point of a line is not drawn) ---
    BOOL moveTo(int x, int y) { return MoveToEx(hdc, x, y, nullptr); }
    BOOL moveTo(KPOINT p) { return moveTo(p.x, p.y); }
    BOOL lineTo(int x, int y) { return LineTo(hdc, x, y); }
    BOOL lineTo(KPOINT p) { return lineTo(p.x, p.y); }
    BOOL drawLine(int x1, int y1, int x2, int y2) { return moveTo(x1, y1) && lineTo(x2, y2); }
    BOOL drawLine(KPOINT a, KPOINT b) { return drawLine(a.x, a.y, b.x, b.y); }
    BOOL polyline(const POINT* points, int n) { return Polyline(hdc, points, n); }
    BOOL polygon(const POINT* points, int n) { return Polygon(hdc, points, n); }
    BOOL polyPolygon(const POINT* points, const INT* counts, int n)
    {
        return PolyPolygon(hdc, points, counts, n);
    }
    BOOL ellipse(const DCRect& r) { return Ellipse(hdc, r.x, r.y, r.x + r.w, r.y + r.h); }
    BOOL ellipse(const KRECT& r) { return Ellipse(hdc, r.left, r.top, r.right, r.bottom); }
    BOOL ellipse(int l, int t, int r, int b) { return Ellipse(hdc, l, t, r, b); }
    BOOL rectangle(const DCRect& r) { return Rectangle(hdc, r.x, r.y, r.x + r.w, r.y + r.h); }
    BOOL roundRect(const DCRect& r, int w, int h)
    {
        return RoundRect(hdc, r.x, r.y, r.x + r.w, r.y + r.h, w, h);
    }
    BOOL arc(const DCRect& r, KPOINT a, KPOINT b)
    {
        return Arc(hdc, r.x, r.y, r.x + r.w, r.y + r.h, a.x, a.y, b.x, b.y);
    }
    BOOL chord(const DCRect& r, KPOINT a, KPOINT b)
    {
        return Chord(hdc, r.x, r.y, r.x + r.w, r.y + r.h, a.x, a.y, b.x, b.y);
    }
    BOOL pie(const DCRect& r, KPOINT a, KPOINT b)
    {
        return Pie(hdc, r.x, r.y, r.x + r.w, r.y + r.h, a.x, a.y, b.x, b.y);
    }

    // --- Areas ---
    BOOL fill(KPOINT p, COLORREF c) { return FloodFill(hdc, p.x, p.y, c); }
    BOOL fill(KPOINT p, COLORREF c, UINT type) { return ExtFloodFill(hdc, p.x, p.y, c, type); }
    int fill(const KRECT& r, const KBrush& b) { RECT rc = ToRECT(r); return FillRect(hdc, &rc, b); }
    int frame(const KRECT& r, const KBrush& b) { RECT rc = ToRECT(r); return FrameRect(hdc, &rc, b); }
    BOOL invert(const KRECT& r) { RECT rc = ToRECT(r); return InvertRect(hdc, &rc); }
    BOOL patBlt(const DCRect& r, DWORD rop) { return PatBlt(hdc, r.x, r.y, r.w, r.h, rop); }
    BOOL bitBlt(const DCRect& dest, KDevContext& src, KPOINT from, DWORD rop = SRCCOPY)
    {
        return BitBlt(hdc, dest.x, dest.y, dest.w, dest.h, src, from.x, from.y, rop);
    }
    BOOL stretchBlt(const DCRect& dest, KDevContext& src, const DCRect& from, DWORD rop = SRCCOPY)
    {
        return StretchBlt(hdc, dest.x, dest.y, dest.w, dest.h, src, from.x, from.y, from.w, from.h, rop);
    }

    // --- System drawing ---
    BOOL drawEdge(const DCRect& r, UINT edge, UINT flags)
    {
        RECT rc = ToRECT(r);
        return DrawEdge(hdc, &rc, edge, flags);
    }
    BOOL drawFrameControl(const DCRect& r, UINT type, UINT state)
    {
        RECT rc = ToRECT(r);
        return DrawFrameControl(hdc, &rc, type, state);
    }
    BOOL drawFocusRect(const KRECT& r) { RECT rc = ToRECT(r); return DrawFocusRect(hdc, &rc); }
    BOOL drawIcon(int x, int y, HICON icon) { return DrawIcon(hdc, x, y, icon); }
    int drawText(KRECT& r, const wchar_t* text, UINT format, int count = -1)
    {
        return DrawTextW(hdc, text, count, (RECT*)&r, format);
    }
    BOOL grayString(const DCRect& r, const wchar_t* text, const KBrush& b)
    {
        return GrayStringW(hdc, b, nullptr, (LPARAM)text, 0, r.x, r.y, r.w, r.h);
    }

    // --- Clip regions ---
    int excludeClipRect(const DCRect& r) { return ExcludeClipRect(hdc, r.x, r.y, r.x + r.w, r.y + r.h); }
    int intersectClipRect(const DCRect& r) { return IntersectClipRect(hdc, r.x, r.y, r.x + r.w, r.y + r.h); }
    int excludeUpdateRgn(KWindow* w);
    int getClipBox(KRECT& r) { return GetClipBox(hdc, (RECT*)&r); }
    int offsetClipRgn(int dx, int dy) { return OffsetClipRgn(hdc, dx, dy); }

    // --- Fonts ---
    BOOL charWidth(UINT first, UINT last, int* widths) { return GetCharWidthW(hdc, first, last, widths); }
    int textFace(wchar_t* buffer, int size) { return GetTextFaceW(hdc, size, buffer); }
    BOOL textMetrics(TEXTMETRICW& tm) { return GetTextMetricsW(hdc, &tm); }
    BOOL setTextJustification(int extra, int breaks) { return SetTextJustification(hdc, extra, breaks); }
    DWORD setMapperFlags(DWORD flags) { return SetMapperFlags(hdc, flags); }

    // --- Pixels ---
    COLORREF getPixel(int x, int y) const { return GetPixel(hdc, x, y); }
    COLORREF getPixel(KPOINT p) const { return GetPixel(hdc, p.x, p.y); }
    COLORREF setPixel(int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c); }
    COLORREF nearestColor(COLORREF c) { return GetNearestColor(hdc, c); }
    BOOL ptVisible(int x, int y) { return PtVisible(hdc, x, y); }
    BOOL rectVisible(const KRECT& r) { RECT rc = ToRECT(r); return RectVisible(hdc, &rc); }
    BOOL updateColors() { return UpdateColors(hdc); }

    // --- Positions and state ---
    KPOINT getPos() const;
    KPOINT getDCOrg() const;
    KPOINT brushOrg() const;
    KPOINT brushOrg(int x, int y);
    SIZE getAspectRatio() const;
    BOOL restore(int saved) { return RestoreDC(hdc, saved); }

    // --- Metafiles (kmetafile.h records them) ---
    // The metafile resource number id of korvel.dll, of type "ENHMETAFILE";
    // its header is copied into header when given. Null when it cannot be
    // had; the caller deletes it (DeleteEnhMetaFile).
    HENHMETAFILE getMetaFile(int id, ENHMETAHEADER* header = nullptr) const;
    // A resource metafile, or one stored in a file (macros expanded), drawn
    // into r with its aspect kept: it fills r in one direction and sits at
    // r's top-left corner. Nothing when it cannot be had.
    void playMetaFile(int id, const DCRect& r);
    void playMetaFile(const KString& path, const DCRect& r);

protected:
    explicit KDevContext(HDC h = nullptr) : KDevInfo(h) {}
    // Plays a metafile fitted into r as above.
    void playFitted(HENHMETAFILE mf, const ENHMETAHEADER& header, const DCRect& r);
};

// A device context of the whole screen.
class KORVEL_API KDisplay : public KDevContext {
public:
    KDisplay() : KDevContext(nullptr, L"DISPLAY", nullptr) {}
};

// The device context of one window: its client area with the window's
// coordinate settings, or the whole window.
class KORVEL_API KWinDC : public KDevContext {
public:
    KWinDC(KWindow* window, bool wholeWindow = false);
    ~KWinDC() override;
    int Width() override;
    int Height() override;
    int width() override;
    int height() override;
    int saveDC() { return SaveDC(hdc); }
    BOOL restoreDC() { return RestoreDC(hdc, -1); }
private:
    KWindow* window;
};

// A memory context with a bitmap selected.
class KORVEL_API KMemDC : public KDevContext {
public:
    // Compatible with like (the screen when null); with a w x h bitmap of its
    // own when both are at least 1, monochrome when mono is set.
    KMemDC(KDevInfo* like, int w, int h, bool mono = false);
    KMemDC(int w, int h, bool mono = false);
    // Draws into the given bitmap (not owned), sized by its recorded dimension.
    KMemDC(KDevInfo* like, const KBitmap* bitmap);
    ~KMemDC() override;
    int Width() override { return bmWidth; }
    int Height() override { return bmHeight; }

    HGDIOBJ setBitmap(const KBitmap* bitmap);
    HGDIOBJ setBitmap(HBITMAP bitmap);
    // Makes and selects a bitmap of its own (owned).
    HGDIOBJ setBitmapSize(HDC like, int w, int h, bool mono = false);
    HGDIOBJ setBitmapSize(int w, int h, bool mono = false);
    HBITMAP getBitmap() const { return (HBITMAP)drawObj[WO_BITMAP].getHandle(); }

private:
    int bmWidth = 0, bmHeight = 0;
};

#endif
