// KDIB: a device-independent copy of the bitmap of a memory context, drawn
// into any context or stored as a BMP file.
//
//     KMemDC mem(400, 300);
//     ...draw into mem...
//     KDIB dib(mem);                                 // the pixels as they are now
//     dib.stretchDIBits(printDC, 0, 0, 2400, 1800);  // halftoned to any size
//     dib.writeToFile(L"[BOOT_DIR]\\plot.bmp");        // a failure is shown in a box
#ifndef KORVEL_KDIB_H
#define KORVEL_KDIB_H

#include <windows.h>
#include "kexport.h"
#include "kgraphics.h"
#include "kstring.h"

class KORVEL_API KDIB {
public:
    KDIB() = default;
    // The bitmap selected in mem, in mem's format: a colour table for fewer
    // than 16 bits per pixel, rows bottom-up.
    explicit KDIB(KMemDC& mem);
    ~KDIB();
    KDIB(const KDIB&) = delete;
    KDIB& operator=(const KDIB&) = delete;

    bool isValid() const { return info && bits; }
    // The whole image halftoned into (x, y, w, h) of dc; the result of
    // StretchDIBits, 0 when there is no image.
    int stretchDIBits(KDevContext& dc, int x, int y, int w, int h);
    // A BMP file of the image; a failure is shown in an error box, nothing
    // is thrown.
    void writeToFile(const KString& path);

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    // Bytes of the bitmap-info block: the header, then the colour table.
    int getInfoSize() const { return infoSize; }
    const BITMAPINFO* getInfo() const { return info; }
    const void* getBits() const { return bits; }
    DWORD getImageSize() const { return info ? info->bmiHeader.biSizeImage : 0; }

protected:
    void store(const KString& path);

    int width = 0;
    int height = 0;
    int infoSize = 0;
    BITMAPINFO* info = nullptr;
    void* bits = nullptr;
};

#endif
