// The count of GDI objects and device contexts the library holds, and the
// small owners that every temporary object of the library lives in. Taking
// ownership of a handle counts it; deleting or releasing it uncounts it, so
// the count comes back to where it was when nothing leaks.
#ifndef KORVEL_KGDI_H
#define KORVEL_KGDI_H

#include <windows.h>

void CountGdi(int delta);
// Counts h when it is not null and returns it.
template <class H>
H Counted(H h)
{
    if (h)
        CountGdi(1);
    return h;
}
// DeleteObject, uncounted.
void DeleteCounted(HGDIOBJ h);
// DeleteDC / ReleaseDC of a context the library holds, uncounted.
void DeleteCountedDC(HDC h);
void ReleaseCountedDC(HWND window, HDC h);

// A font description: height in logical units (negative: a character
// height), escapement and orientation both angle (tenths of a degree),
// TrueType preferred, ANSI character set.
LOGFONTW FontDescription(const wchar_t* face, int height, int angle, int weight);

// One GDI object the library made: deleted once, when the owner goes.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ h) : handle(Counted(h)) {}
    ~GdiObject() { DeleteCounted(handle); }
    GdiObject(GdiObject&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return handle; }
    operator HBRUSH() const { return (HBRUSH)handle; }
private:
    HGDIOBJ handle;
};

// An object selected into a context for a while: the previous one goes back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ h) : dc(dc), previous(SelectObject(dc, h)) {}
    ~Selection() { SelectObject(dc, previous); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
private:
    HDC dc;
    HGDIOBJ previous;
};

// A memory context made for one operation.
class MemoryContext {
public:
    explicit MemoryContext(HDC like) : dc(Counted(CreateCompatibleDC(like))) {}
    ~MemoryContext() { DeleteCountedDC(dc); }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    operator HDC() const { return dc; }
private:
    HDC dc;
};

// A context of the screen, made for one operation.
class ScreenContext {
public:
    ScreenContext() : dc(Counted(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr))) {}
    ~ScreenContext() { DeleteCountedDC(dc); }
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;
    operator HDC() const { return dc; }
private:
    HDC dc;
};

#endif
