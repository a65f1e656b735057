// Pictures and places for the tests: the pixels of a memory context and BMP
// files of them, kept under the build folder as artefacts or compared with
// references; stages for windows and the rectangles the windows got.
#include "test_support.h"

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
