// Pictures and places for the tests: the pixels of a memory context and BMP
// files of them, kept under the build folder as artefacts or compared with
// references; stages for windows and the rectangles the windows got.
#include "test_support.h"
#include <algorithm>

std::vector<DWORD> Pixels(KMemDC& dc)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), dc.Width(), -dc.Height(), 1, 32, BI_RGB};
    std::vector<DWORD> p((size_t)(dc.Width() * dc.Height()));
    GetDIBits(dc, dc.getBitmap(), 0, dc.Height(), p.data(), &bi, DIB_RGB_COLORS);
    return p;
}

void SaveBitmap(const std::wstring& path, KMemDC& dc)
{
    const int w = dc.Width(), h = dc.Height();
    const std::vector<DWORD> pixels = Pixels(dc);
    const int stride = (w * 3 + 3) & ~3;
    Bytes file(54 + (size_t)(stride * h));
    BITMAPFILEHEADER fh = {0x4D42, (DWORD)file.size(), 0, 0, 54};
    BITMAPINFOHEADER ih = {sizeof(ih), w, h, 1, 24, BI_RGB, (DWORD)(stride * h)};
    memcpy(&file[0], &fh, 14);
    memcpy(&file[14], &ih, 40);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            memcpy(&file[54 + (size_t)((h - 1 - y) * stride + 3 * x)], &pixels[(size_t)(y * w + x)], 3);
    WriteBytes(path, file);
}

// Big-endian 32 bits; a chunk of a PNG file: length, type, data, CRC of type and data.
static void PutBig32(Bytes& b, unsigned v)
{
    b.insert(b.end(), {(unsigned char)(v >> 24), (unsigned char)(v >> 16), (unsigned char)(v >> 8), (unsigned char)v});
}

static void PutChunk(Bytes& png, const char* type, const Bytes& data)
{
    PutBig32(png, (unsigned)data.size());
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    unsigned crc = 0xFFFFFFFF;
    for (unsigned char byte : typed)
        for (int k = 0, bit = crc ^= byte; k < 8; ++k, bit = crc)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (bit & 1)));
    png.insert(png.end(), typed.begin(), typed.end());
    PutBig32(png, ~crc);
}

void SavePng(const std::wstring& path, KMemDC& dc)
{
    const int w = dc.Width(), h = dc.Height();
    const std::vector<DWORD> pixels = Pixels(dc);
    Bytes raw, z = {0x78, 0x01}, header; // rows of filter 0 and R, G, B; a zlib stream of stored blocks
    for (int i = 0; i < w * h; ++i)
        for (int shift = i % w ? 16 : 24; shift >= 0; shift -= 8)
            raw.push_back(shift == 24 ? 0 : (unsigned char)(pixels[(size_t)i] >> shift));
    unsigned a = 1, b = 0;
    for (size_t at = 0, n; at < raw.size(); at += n) {
        n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size());
        Put16(z, (unsigned)n);
        Put16(z, (unsigned)~n & 0xFFFF);
        z.insert(z.end(), raw.begin() + (long)at, raw.begin() + (long)(at + n));
    }
    for (unsigned char byte : raw)
        a = (a + byte) % 65521, b = (b + a) % 65521;
    PutBig32(z, b << 16 | a);
    PutBig32(header, (unsigned)w);
    PutBig32(header, (unsigned)h);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", Bytes());
    WriteBytes(path, png);
}

KWindow* ShownPopup(WindowOwner& windows, int x, int y, int w, int h)
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_X, x);
    args.add(WA_Y, y);
    args.add(WA_WIDTH, w);
    args.add(WA_HEIGHT, h);
    KWindow* stage = windows.own(MakeWindow(nullptr, &args));
    stage->show(true);
    return stage;
}

std::vector<long> Placed(KWindow* w)
{
    RECT r;
    GetWindowRect(*w, &r);
    MapWindowPoints(nullptr, GetParent(*w), (POINT*)&r, 2);
    return std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top};
}
