// Geometry records and the device-context classes that every drawing of the
// library goes through.
#ifndef KORVEL_KGRAPHICS_H
#define KORVEL_KGRAPHICS_H

#include <windows.h>
#include "kexport.h"
#include "kgeometry.h"

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

// Any device-context handle: information and object selection.
class KORVEL_API KDevInfo {
public:
    explicit KDevInfo(HDC h = nullptr) : hdc(h) {}
    virtual ~KDevInfo() = default;
    KDevInfo(const KDevInfo&) = delete;
    KDevInfo& operator=(const KDevInfo&) = delete;

    virtual int Width();
    virtual int Height();
    virtual int width() { return Width(); }
    virtual int height() { return Height(); }

    operator HDC() const { return hdc; }
    HDC getHDC() const { return hdc; }

    // Reads the system's menu font into lfDefault; called once at start-up.
    static void init();
    static LOGFONTW lfDefault;

protected:
    HDC hdc;
};

// A device context that can be drawn on.
class KORVEL_API KDevContext : public KDevInfo {
public:
    // Copies a rectangle of another context into this one.
    BOOL bitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop = SRCCOPY);
    void fillRect(const DCRect& r, COLORREF colour);
protected:
    explicit KDevContext(HDC h = nullptr) : KDevInfo(h) {}
};

// The device context of one window, its client area or the whole window.
class KORVEL_API KWinDC : public KDevContext {
public:
    KWinDC(KWindow* window, bool wholeWindow = false);
    ~KWinDC() override;
    int Width() override;
    int Height() override;
    int width() override;
    int height() override;
private:
    KWindow* window;
};

// A memory context with a bitmap of its own selected.
class KORVEL_API KMemDC : public KDevContext {
public:
    // A context compatible with like (the screen when null) with a w x h bitmap,
    // monochrome when mono is set.
    KMemDC(KDevInfo* like, int w, int h, bool mono = false);
    ~KMemDC() override;
    int Width() override { return bmWidth; }
    int Height() override { return bmHeight; }
    HBITMAP getBitmap() const { return bitmap; }
private:
    int bmWidth = 0, bmHeight = 0;
    HBITMAP bitmap = nullptr;
    HGDIOBJ savedBitmap = nullptr;
};

#endif
