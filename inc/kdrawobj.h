// Drawing objects: pens, brushes, fonts and bitmaps, each held by an owning
// KDrawObj. An object the library creates is owned and deleted exactly once
// (when the holder is destroyed or given another object); a stock object or
// a handle passed in is never deleted.
//
//     KPen red(RGB(255, 0, 0), PS_SOLID, 2);  // owned: deleted with red
//     KBrush hollow(KStock{NULL_BRUSH});      // a stock brush: never deleted
//     dc.setPen(&red);                        // the context does not take it over
//
// Do not delete an object while a context still has it selected: select
// something else first, or let the context restore its selection.
#ifndef KORVEL_KDRAWOBJ_H
#define KORVEL_KDRAWOBJ_H

#include <windows.h>
#include "kexport.h"

class KDevInfo;
class KDevContext;

// The index of a stock object (GetStockObject), kept apart from colours so
// that KBrush(KStock{WHITE_BRUSH}) and KBrush(RGB(...)) cannot be confused.
struct KStock {
    int index;
};

class KORVEL_API KDrawObj {
public:
    KDrawObj() = default;
    // Holds h; when owned, deletes it when done.
    KDrawObj(HGDIOBJ h, bool owned);
    ~KDrawObj() { destroy(); }
    KDrawObj(KDrawObj&& other) noexcept;
    KDrawObj& operator=(KDrawObj&& other) noexcept;
    KDrawObj(const KDrawObj&) = delete;
    KDrawObj& operator=(const KDrawObj&) = delete;

    // Deletes the object when owned; the holder is empty afterwards.
    void destroy();
    // Destroys what was held, then holds h.
    void set(HGDIOBJ h, bool owned);
    HGDIOBJ getHandle() const { return handle; }
    bool isOwned() const { return owned; }
    bool isNull() const { return handle == nullptr; }

protected:
    HGDIOBJ handle = nullptr;
    bool owned = false;
};

class KORVEL_API KPen : public KDrawObj {
public:
    explicit KPen(KStock stock);
    KPen(COLORREF colour, int style = PS_SOLID, int width = 0);
    explicit KPen(const LOGPEN* description);
    int getObject(LOGPEN& description) const;
    operator HPEN() const { return (HPEN)handle; }
};

class KORVEL_API KBrush : public KDrawObj {
public:
    explicit KBrush(KStock stock);
    explicit KBrush(COLORREF colour);
    KBrush(COLORREF colour, int hatchStyle);
    explicit KBrush(const LOGBRUSH* description);
    int getObject(LOGBRUSH& description) const;
    operator HBRUSH() const { return (HBRUSH)handle; }
};

class KORVEL_API KFont : public KDrawObj {
public:
    KFont() = default;
    explicit KFont(const LOGFONTW& description);
    // Makes the font anew, its height from points at the screen's resolution
    // (the second form: at the device's); the previous font is destroyed.
    void create(const wchar_t* face, int pointSize, int angle = 0, int weight = FW_NORMAL);
    void create(const KDevInfo* device, const wchar_t* face, int pointSize, int angle = 0,
                int weight = FW_NORMAL);
    int getObject(LOGFONTW& description) const;
    operator HFONT() const { return (HFONT)handle; }
};

class KORVEL_API KBitmap : public KDrawObj {
public:
    KBitmap() = default;
    // A bitmap compatible with like (the screen when null); its recorded
    // dimension is w x h.
    KBitmap(KDevContext* like, int w, int h);
    // Holds a bitmap made elsewhere (LoadBitmap, CreateDIBSection ...).
    KBitmap(HBITMAP bitmap, bool owned) : KDrawObj(bitmap, owned) {}

    long getBits(void* buffer, long count) const;
    long setBits(const void* buffer, long count);
    // The recorded dimension (SetBitmapDimensionEx / GetBitmapDimensionEx).
    void setDimension(int w, int h);
    SIZE size() const;
    int width() const { return size().cx; }
    int height() const { return size().cy; }
    int getObject(BITMAP& description) const;
    operator HBITMAP() const { return (HBITMAP)handle; }
};

// GDI objects and device contexts the library holds now (it counts what it
// creates and deletes; GetGDIObjectCount asks the system, which Wine does not
// answer).
KORVEL_API int GetLibraryGDIObjectCount();
// GDI objects of the whole process, from the system (GetGuiResources).
KORVEL_API int GetGDIObjectCount();

#endif
