// Rubber bands dragged with the real mouse in a window whose handlers call the helpers: the band
// XORed onto the picture while the button is held, the picture as it was after the release.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

const int W = 200, H = 150;

// A left drag makes a rectangle band, or a line band.
struct Bander {
    bool lines = false;
    int releases = 0;
    KPOINT start = {-1, -1}, end = {-1, -1}, last = {-1, -1};
    void mouse(KWindow* w, MouseEvent* e)
    {
        const KPOINT p = last = {e->x, e->y};
        if (e->type == (ME_PRESS | ME_LEFT))
            lines ? StartRubberLine(w, p) : StartRubberRect(w, p);
        else if (e->type == (ME_DRAG | ME_LEFT))
            lines ? UpdateRubberLine(p) : UpdateRubberRect(p);
        else if (e->type == (ME_RELEASE | ME_LEFT) && ++releases)
            lines ? EndRubberLine(&start, &end) : EndRubberRect();
    }
};

// The window's pixels; with a line from a to b XORed over them by GDI directly.
std::vector<DWORD> Shot(KWindow* w, KPOINT a = {0, 0}, KPOINT b = {0, 0})
{
    KWinDC dc(w);
    KMemDC shot(W, H);
    shot.bitBlt(DCRect(0, 0, W, H), dc, KPOINT{0, 0});
    shot.setPen(RGB(0x64, 0x64, 0x64));
    shot.setROP2(R2_XORPEN);
    shot.drawLine(a, b);
    return Pixels(shot);
}

} // namespace

TEST(RubberBand, DraggedWithTheMouseXoredAndTakenAway)
{
    WindowOwner windows;
    KWindow* w = ShownPopup(windows, 60, 60, W, H);
    AddEventHandler(w, [](KWindow* win, ExposeEvent*) {
        KWinDC dc(win);
        dc.fillRect(DCRect(0, 0, W, H), RGB(255, 255, 255));
        dc.fillRect(DCRect(30, 40, 40, 30), RGB(0, 0, 255)); // a blue block: the bands cross two colours
    });
    Bander bander;
    w->_addEventHandler(new MouseEventHandler<Bander>(&bander, &Bander::mouse, ME_BUTTONS));
    InvalidateRect(*w, nullptr, TRUE);
    ASSERT_TRUE(Activate(*w));
    const std::vector<DWORD> picture = Shot(w);
    std::vector<DWORD> rect = picture; // with the outline of (10, 50, 40, 30) XORed, on its inner edge
    for (int y = 50; y < 80; ++y)
        for (int x = 10; x < 50; ++x)
            rect[(size_t)(y * W + x)] ^= x == 10 || x == 49 || y == 50 || y == 79 ? 0x646464 : 0;

    struct Case { bool line; KPOINT from, via, to; };
    const Case cases[] = {{false, {50, 50}, {90, 120}, {10, 80}}, {true, {20, 20}, {150, 30}, {120, 60}}};
    for (const Case& c : cases) {
        bander.lines = c.line;
        for (KPOINT p : {c.from, c.via, c.to}) {
            SendMouseAt(*w, p.x, p.y, {});
            if (p.x == c.from.x)
                MouseButtons({MOUSEEVENTF_LEFTDOWN});
            ASSERT_TRUE(WaitFor([&] { return bander.last.x == p.x && bander.last.y == p.y; })) << p.x << "," << p.y;
        }
        // XORing the line once more gives the picture back: the band is that line and nothing else.
        EXPECT_TRUE(c.line ? Shot(w, c.from, c.to) == picture : Shot(w) == rect) << "the band alone, line " << c.line;
        const int released = bander.releases;
        MouseButtons({MOUSEEVENTF_LEFTUP});
        ASSERT_TRUE(WaitFor([&] { return bander.releases > released; }));
        EXPECT_TRUE(picture == Shot(w)) << "the picture as it was";
    }
    EXPECT_EQ((std::vector<long>{20, 20, 120, 60}),
              (std::vector<long>{bander.start.x, bander.start.y, bander.end.x, bander.end.y}));
}
