// The scope plot in a shown window: its picture read back pixel by pixel, the cursor moved by real
// presses and drags.
#include <gtest/gtest.h>
#include <algorithm>
#include "test_support.h"

static const DWORD BG = 0xC8DCF0, INK = 0;

static ScopePlot* Stage(WindowOwner& windows)
{
    KWindow* top = ShownPopup(windows, 60, 60, 440, 340);
    KArgList args;
    args.add(WA_X, 10), args.add(WA_Y, 10), args.add(WA_WIDTH, 420), args.add(WA_HEIGHT, 320);
    args.add(WA_BACKGROUND, (unsigned long)RGB(0xC8, 0xDC, 0xF0));
    ScopePlot* plot = MakeScopePlot(top, &args);
    EXPECT_TRUE(Activate(*top));
    return plot;
}

// The picture drawn (without the cursor) or shown in the window (with it), as rows of 0x00RRGGBB;
// count() finds a colour from (x0, y0) to (x1, y1), both included.
struct Picture {
    int w, h;
    std::vector<DWORD> p;
    Picture(ScopePlot* plot, bool shown) : w(plot->width()), h(plot->height()), p(Pixels(plot->getImage()))
    {
        if (!shown)
            return;
        PumpMessages();
        KMemDC dc(w, h);
        plot->dump(dc, 2, 0, 0);
        p = Pixels(dc);
    }
    DWORD at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? BG : p[(size_t)(y * w + x)]; }
    int all(DWORD c) const { return (int)std::count(p.begin(), p.end(), c); }
    int count(int x0, int y0, int x1, int y1, DWORD c) const
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                n += at(x, y) == c;
        return n;
    }
};

static SIZE Extent(const std::string& text)
{
    KMemDC dc(1, 1);
    dc.setFont(DEFAULT_FIXED_FONT);
    SIZE s = {0, 0};
    return GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &s), s;
}

// Where a text of the fixed font goes, 1 pixel spare: anchored centre/top, or right/middle.
static RECT TextBox(const std::string& text, int x, int y, bool centre)
{
    const SIZE s = Extent(text);
    return centre ? RECT{x - s.cx / 2 - 1, y - 1, x + s.cx / 2 + 1, y + s.cy}
                  : RECT{x - s.cx - 1, y - s.cy / 2 - 1, x, y + s.cy / 2 + 1};
}

TEST(Scope, GridAxesLabelsAndTitle)
{
    WindowOwner windows;
    ScopePlot* plot = Stage(windows);
    const int cw = Extent("0").cx, ch = Extent("0").cy, w = plot->width(), h = plot->height();
    const std::vector<long> area = {cw / 2 + 8 * cw, ch + 2 * (ch / 2), w - 2 * cw, h - 2 * (ch / 2) - ch};
    for (double yMin : {0.0, -1.0}) { // y from yMin to 1 in 6 lines, x from 0 to 1
        plot->setLimitsY(yMin, 1, (1 - yMin) / 5);
        plot->setTitle("Run %d", 7);
        plot->draw();
        const KRECT a = plot->getPlotArea();
        ASSERT_EQ(area, (std::vector<long>{a.left, a.top, a.right, a.bottom}));
        const Picture p(plot, false);
        const int y0 = (int)((a.bottom - a.top) * (0 - 1) / (yMin - 1) + a.top); // the level of 0
        const int tall = a.bottom - a.top, wide = a.right - a.left - 4;
        EXPECT_EQ(BG, p.at(2, 2));
        EXPECT_EQ(0xFFFFFFu, p.at(a.left + 9, y0 - 9)) << "the plot area";
        // The line at 0 is thick from the top down to the level of 0, dotted below.
        std::vector<int> thick(2);
        for (int y = a.top; y < a.bottom; ++y)
            thick[y >= y0 - 1] += p.count(a.left - 1, y, a.left + 1, y, INK) >= 2;
        EXPECT_EQ(y0 - 1 - a.top, thick[0]) << yMin;
        EXPECT_LE(thick[1], 7) << yMin << ": only where dotted lines cross";
        std::vector<RECT> boxes = {TextBox("Run 7", (a.left + a.right) / 2, ch / 2, true)};
        double X = 0, Y = yMin; // running sums, as the grid adds its steps; both end at 1.0
        for (int i = 0; i < 6; ++i, X += 0.2, Y += (1 - yMin) / 5) {
            const int x = (int)((a.right - a.left) * X + a.left), y = plot->Y_to_y(Y);
            const int dots = p.count(x, a.top, x, a.bottom, INK);
            const int ink = p.count(a.left + 2, y, a.right - 2, y + 1, INK);
            boxes.push_back(TextBox(Format("%.1f", X), x, a.bottom + ch / 2, true));
            boxes.push_back(TextBox(Format("%3.1f", Y), a.left - cw / 2, y, false));
            EXPECT_TRUE(dots > tall / 3 && (i == 0 || dots < tall * 3 / 4)) << i;
            EXPECT_TRUE(Y == 0 ? ink >= wide && y == y0 : ink < wide * 3 / 4 && ink > wide / 3) << Y;
        }
        // All ink outside the plot area (and its lines' overhang) lies in the label boxes; each has ink.
        int inBoxes = 0;
        for (const RECT& b : boxes) {
            const int ink = p.count(b.left, b.top, b.right, b.bottom, INK);
            EXPECT_GT(ink, 0) << yMin << " label at " << b.left << "," << b.top;
            inBoxes += ink;
        }
        const int outside = p.all(INK) - p.count(a.left - 2, a.top - 2, a.right + 1, a.bottom + 1, INK);
        EXPECT_EQ(outside, inBoxes) << yMin;
    }
    // Limits that would not end or would divide: a step of 0 or less, one too small for its sum, one
    // lost in it, equal limits (then one unit wide). Each draw ends; min is at the left and max at the top.
    struct Open { double min, max, step; };
    const Open open[] = {{0, 1, 0}, {0, 1, -1}, {0, 1, 1e-300}, {1e20, 2e20, 1}, {2, 2, 1}};
    for (const Open& o : open) {
        plot->setLimitsX(o.min, o.max, o.step);
        plot->setLimitsY(o.min, o.max, o.step);
        plot->draw();
        EXPECT_EQ(area[0], plot->X_to_x(o.min)) << o.min << " " << o.step;
        EXPECT_EQ(area[1], plot->Y_to_y(o.max)) << o.min << " " << o.step;
    }
    EXPECT_EQ(area[2], plot->X_to_x(3));
    EXPECT_EQ(area[3], plot->Y_to_y(1));
}

TEST(Scope, CurvesAndCursorFollowingRealPressesAndDrags)
{
    WindowOwner windows;
    ScopePlot* plot = Stage(windows);
    struct Curve { DWORD rgb; int thick; std::vector<complex> points; double X, Y; int across; };
    const Curve curves[] = {
        {0xFF0000, 0, {{0, 0}, {0.5, 0.5}, {1, 1}}, 0.25, 0.25, 1},
        {0x0000FF, 5, {{0.1, 0.9}, {0.9, 0.9}}, 0.5, 0.9, 5},    // real part X, imaginary part Y
        {0xFF00FF, 1, {{-0.3, 0.5}, {0.0, 0.5}}, -0.15, 0.5, 1}, // not clipped to the plot area
        {0x00A000, 3, {{0.5, 0.5}}, 0.5, 0.5, 0},                 // one point: nothing
    };
    for (const Curve& k : curves) {
        ScopePlotCurve* curve = plot->addCurve();
        curve->setPen(RGB(k.rgb >> 16, k.rgb >> 8 & 255, k.rgb & 255), PS_SOLID, k.thick);
        for (const complex& z : k.points)
            curve->addPoint(z);
        EXPECT_EQ((int)k.points.size(), curve->getSize());
    }
    EXPECT_TRUE(!plot->getCurve(-1) && !plot->getCurve(4) && plot->getCurve(3)) << "null outside the list";
    plot->draw();
    const Picture p(plot, false);
    for (const Curve& k : curves) {
        const int x = plot->X_to_x(k.X), y = plot->Y_to_y(k.Y);
        EXPECT_EQ(k.across, p.count(x, y - 8, x, y + 8, k.rgb)) << std::hex << k.rgb;
        EXPECT_EQ(k.across > 0, p.all(k.rgb) > 0) << std::hex << k.rgb;
    }
    plot->clearCurves();
    plot->setLimitsX(-2, 2, 1);
    const int gdi = GetLibraryGDIObjectCount();
    plot->draw();
    EXPECT_EQ(gdi, GetLibraryGDIObjectCount()) << "pens and bitmaps of a draw given back";
    EXPECT_EQ(nullptr, plot->getCurve(0));
    EXPECT_EQ(0, Picture(plot, false).all(0xFF0000)) << "cleared";
    // The cursor: drawn over the picture, not into it, wherever a press or drag puts it.
    const KRECT a = plot->getPlotArea();
    const int tall = a.bottom - a.top, row = (a.top + a.bottom) / 2;
    auto X = [&](int x) { return 4.0 * (x - a.left) / (a.right - a.left) - 2; };
    auto column = [&](bool shown, int x) {
        return Picture(plot, shown).count(x, a.top, x, a.bottom - 1, INK);
    };
    struct Case { DWORD down; int press, drag; };
    const Case cases[] = {
        {MOUSEEVENTF_LEFTDOWN, plot->X_to_x(0.7), a.left - 5},    // dragged into the margin
        {MOUSEEVENTF_RIGHTDOWN, a.right + 6, plot->X_to_x(-1.5)}, // pressed in the margin
        {MOUSEEVENTF_MIDDLEDOWN, plot->X_to_x(1.2), -40},         // dragged out of the window
    };
    for (const Case& k : cases) {
        SendMouseAt(*plot, k.press, row, {k.down});
        EXPECT_TRUE(WaitFor([&] { return plot->getCursor() == X(k.press); })) << k.press;
        EXPECT_EQ(tall, column(true, k.press)) << k.press;
        EXPECT_LT(column(false, k.press), tall / 4) << "not in the picture " << k.press;
        SendMouseAt(*plot, k.drag, row + 7, {});
        EXPECT_TRUE(WaitFor([&] { return plot->getCursor() == X(k.drag); })) << k.drag;
        EXPECT_EQ(k.drag < 0 ? 0 : tall, column(true, k.drag)) << k.drag;
        plot->setCursor(0.3);
        MouseButtons({k.down << 1});
        EXPECT_FALSE(WaitFor([&] { return plot->getCursor() != 0.3; }, 300)) << "release " << k.drag;
    }
}
