// Rubber bands dragged with the real mouse in a window whose handlers call the helpers: the band
// XORed onto the picture while the button is held, the picture as it was after the release.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

const int W = 200, H = 150;

// Paper with a blue block under the bands, so that they cross two colours.
void Paint(KWindow* w, ExposeEvent*)
{
    KWinDC dc(w);
    dc.fillRect(DCRect(0, 0, W, H), RGB(255, 255, 255));
    dc.fillRect(DCRect(30, 40, 40, 30), RGB(0, 0, 255));
}

// The mouse handler of the window: a rectangle band, or a line band, per left drag.
struct Bander {
    bool lines = false;
    int releases = 0;
    KPOINT start = {-1, -1}, end = {-1, -1}, last = {-1, -1};
    void mouse(KWindow* w, MouseEvent* e)
    {
        const KPOINT p = {e->x, e->y};
        last = p;
        if (e->type == (ME_PRESS | ME_LEFT))
            lines ? StartRubberLine(w, p) : StartRubberRect(w, p);
        else if (e->type == (ME_DRAG | ME_LEFT))
            lines ? UpdateRubberLine(p) : UpdateRubberRect(p);
        else if (e->type == (ME_RELEASE | ME_LEFT)) {
            lines ? EndRubberLine(&start, &end) : EndRubberRect();
            ++releases;
        }
    }
};

std::vector<DWORD> Shot(KWindow* w)
{
    KWinDC dc(w);
    KMemDC shot(W, H);
    shot.bitBlt(DCRect(0, 0, W, H), dc, KPOINT{0, 0});
    return Pixels(shot);
}

// The picture with the figure drawn over it in XOR by GDI directly.
std::vector<DWORD> Expected(const std::vector<DWORD>& picture, bool line, KPOINT a, KPOINT b)
{
    std::vector<DWORD> p = picture;
    if (!line) {
        // The outline of (10, 50, 40, 30) lies on its inner edge.
        for (int y = 50; y < 80; ++y)
            for (int x = 10; x < 50; ++x)
                if (x == 10 || x == 49 || y == 50 || y == 79)
                    p[(size_t)(y * W + x)] ^= 0x646464;
        return p;
    }
    KMemDC dc(W, H);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB};
    SetDIBits(dc, dc.getBitmap(), 0, H, picture.data(), &bi, DIB_RGB_COLORS);
    dc.setPen(RGB(0x64, 0x64, 0x64));
    dc.setROP2(R2_XORPEN);
    dc.drawLine(a, b);
    return Pixels(dc);
}

} // namespace

TEST(RubberBand, DraggedWithTheMouseXoredAndTakenAway)
{
    WindowOwner windows;
    KWindow* w = ShownPopup(windows, 60, 60, W, H);
    AddEventHandler(w, Paint);
    Bander bander;
    w->_addEventHandler(new MouseEventHandler<Bander>(&bander, &Bander::mouse, ME_BUTTONS));
    InvalidateRect(*w, nullptr, TRUE);
    UpdateWindow(*w);
    ASSERT_TRUE(Activate(*w));
    const std::vector<DWORD> picture = Shot(w);

    struct Case { bool line; KPOINT from, via, to; };
    const Case cases[] = {{false, {50, 50}, {90, 120}, {10, 80}}, {true, {20, 20}, {150, 30}, {120, 60}}};
    for (const Case& c : cases) {
        bander.lines = c.line;
        const int released = bander.releases;
        for (KPOINT p : {c.from, c.via, c.to}) {
            SendMouseAt(*w, p.x, p.y, {});
            if (p.x == c.from.x && p.y == c.from.y)
                MouseButtons({MOUSEEVENTF_LEFTDOWN});
            ASSERT_TRUE(WaitFor([&] { return bander.last.x == p.x && bander.last.y == p.y; })) << p.x << "," << p.y;
        }
        EXPECT_TRUE(Expected(picture, c.line, c.from, c.to) == Shot(w))
            << (c.line ? "the line" : "the rectangle (10, 50, 40, 30)") << " XORed over the picture alone";
        MouseButtons({MOUSEEVENTF_LEFTUP});
        ASSERT_TRUE(WaitFor([&] { return bander.releases > released; }));
        EXPECT_TRUE(picture == Shot(w)) << "the picture as it was";
    }
    EXPECT_EQ((std::vector<long>{20, 20, 120, 60}), (std::vector<long>{bander.start.x, bander.start.y,
                                                                        bander.end.x, bander.end.y}));
}
