// KDIB: the pixels of a memory bitmap in device-independent form, drawn with
// halftoning or stored as a BMP file.
#include "kdib.h"
#include "kdiag.h"
#include "kfile.h"
#include "kmemory.h"
#include <string.h>

namespace {

// The file header of a BMP file, field by field, little-endian.
void WriteFileHeader(KFile& f, DWORD fileSize, DWORD pixelOffset)
{
    const WORD magic = 0x4D42; // "BM"
    const DWORD reserved = 0;
    f.write(&magic, 2);
    f.write(&fileSize, 4);
    f.write(&reserved, 4);
    f.write(&pixelOffset, 4);
}

} // namespace

KDIB::KDIB(KMemDC& mem) : width(mem.Width()), height(mem.Height())
{
    const int b = mem.getBITSPIXEL() * mem.getPLANES();
    // Up to 8 bits a pixel indexes a colour table; 16 and 32 bits leave room
    // for three colour masks, of which BI_RGB needs none.
    infoSize = b < 16 ? 40 + 4 * (1 << b) : 44;
    info = (BITMAPINFO*)Calloc(1, (size_t)infoSize);
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height; // positive: the rows bottom-up
    h.biPlanes = 1;
    h.biBitCount = (WORD)b;
    h.biCompression = BI_RGB;
    // Without a buffer the driver fills in the image size and the colour table.
    HBITMAP bitmap = mem.getBitmap();
    if (!GetDIBits(mem, bitmap, 0, (UINT)height, nullptr, info, DIB_RGB_COLORS) || !h.biSizeImage)
        return;
    bits = Malloc(h.biSizeImage);
    if (bits && !GetDIBits(mem, bitmap, 0, (UINT)height, bits, info, DIB_RGB_COLORS)) {
        Free(bits);
        bits = nullptr;
    }
}

KDIB::~KDIB()
{
    Free(info);
    Free(bits);
}

int KDIB::stretchDIBits(KDevContext& dc, int x, int y, int w, int h)
{
    if (!isValid())
        return 0;
    // HALFTONE wants the brush origin set after the mode is chosen.
    dc.setStretchBltMode(HALFTONE);
    dc.brushOrg(0, 0);
    return StretchDIBits(dc, x, y, w, h, 0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY);
}

void KDIB::writeToFile(const KString& path)
{
    try {
        store(path);
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1000), "Could not store DIB to file.");
    }
}

void KDIB::store(const KString& path)
{
    if (!isValid())
        return;
    KFile f(path);
    f.open(L"wb");
    WriteFileHeader(f, 0, 0);
    f.write(info, (unsigned)infoSize);
    // The header and the info block end 2 bytes past a multiple of 4: the
    // pixel rows start on the next one.
    static const char padding[4] = {0};
    f.write(padding, (unsigned)(f.getPos() % 4));
    const DWORD pixelOffset = (DWORD)f.getPos();
    f.write(bits, info->bmiHeader.biSizeImage);
    const DWORD fileSize = (DWORD)f.getPos();
    f.rewind();
    WriteFileHeader(f, fileSize, pixelOffset);
    f.close();
}
