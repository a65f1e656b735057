// The scope plot in a shown window: its picture read back pixel by pixel, the
// cursor moved by real presses and drags.
#include <gtest/gtest.h>
#include <algorithm>
#include "test_support.h"

namespace {

const DWORD BG = 0xC8DCF0, WHITE = 0xFFFFFF, INK = 0;
const COLORREF BG_REF = RGB(0xC8, 0xDC, 0xF0);

struct Stage {
    WindowOwner windows;
    KWindow* top = ShownPopup(windows, 60, 60, 440, 340);
    ScopePlot* plot;
    Stage()
    {
        KArgList args;
        args.add(WA_X, 10), args.add(WA_Y, 10), args.add(WA_WIDTH, 420), args.add(WA_HEIGHT, 320);
        args.add(WA_BACKGROUND, (unsigned long)BG_REF);
        plot = MakeScopePlot(top, &args);
        EXPECT_TRUE(Activate(*top));
    }
};

// A picture as rows of 0x00RRGGBB.
struct Picture {
    int w, h;
    std::vector<DWORD> p;
    explicit Picture(KMemDC& dc) : w(dc.Width()), h(dc.Height()), p(Pixels(dc)) {}
    DWORD at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? BG : p[(size_t)(y * w + x)]; }
    // Pixels of colour c in columns x0..x1 of row y, or rows y0..y1 of column x.
    int inRow(int y, int x0, int x1, DWORD c) const
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += at(x, y) == c;
        return n;
    }
    int inColumn(int x, int y0, int y1, DWORD c) const
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            n += at(x, y) == c;
        return n;
    }
};

Picture Shown(ScopePlot* plot)
{
    PumpMessages();
    KMemDC dc(plot->width(), plot->height());
    plot->dump(dc, 2, 0, 0);
    return Picture(dc);
}

SIZE Extent(const char* text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, DEFAULT_FIXED_FONT);
    SIZE s = {0, 0};
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &s);
    SelectObject(dc, old);
    DeleteDC(dc);
    return s;
}

// A box a text of the fixed font covers: anchored centre/top (xa 0) or right/middle (xa 2).
struct Box {
    int x0, y0, x1, y1;
    bool inked = false;
};
Box TextBox(const std::string& text, int x, int y, int xa)
{
    const SIZE s = Extent(text.c_str());
    if (xa == 0)
        return Box{x - s.cx / 2 - 1, y - 1, x + s.cx / 2 + 1, y + s.cy};
    return Box{x - s.cx - 1, y - s.cy / 2 - 1, x, y + s.cy / 2 + 1};
}

} // namespace

TEST(Scope, GridAxesLabelsAndTitle)
{
    Stage s;
    ScopePlot* plot = s.plot;
    const SIZE c = Extent("0");
    const int w = plot->width(), h = plot->height();
    const KRECT area = {c.cx / 2 + 8 * c.cx, c.cy + 2 * (c.cy / 2), w - 2 * c.cx, h - 2 * (c.cy / 2) - c.cy};
    struct Case { double yMin, yMax, yStep; int xLabels, yLabels; };
    const Case cases[] = {{0, 1, 0.2, 6, 6}, {-1, 1, 0.5, 6, 5}};
    for (const Case& k : cases) {
        plot->setLimitsY(k.yMin, k.yMax, k.yStep);
        plot->setTitle("Run %d", 7);
        plot->draw();
        const KRECT a = plot->getPlotArea();
        ASSERT_EQ((std::vector<long>{area.left, area.top, area.right, area.bottom}),
                  (std::vector<long>{a.left, a.top, a.right, a.bottom}));
        const Picture p(plot->getImage());
        SaveBitmap(ProgramDir() + (k.yMin < 0 ? L"scope-centred.bmp" : L"scope.bmp"), plot->getImage());
        const int y0 = (int)((a.bottom - a.top) * (0 - k.yMax) / (k.yMin - k.yMax) + a.top);
        EXPECT_EQ(y0, plot->Y_to_y(0.0));
        EXPECT_EQ(BG, p.at(2, 2));
        EXPECT_EQ(WHITE, p.at(plot->X_to_x(0.1), plot->Y_to_y(k.yMin + k.yStep / 2)));
        // Label boxes: the title, the horizontal values, the vertical ones.
        std::vector<Box> boxes = {TextBox("Run 7", (a.left + a.right) / 2, c.cy / 2, 0)};
        for (int i = 0; i < k.xLabels; ++i) {
            const int x = (int)((a.right - a.left) * (0.2 * i) + a.left);
            EXPECT_EQ(x, plot->X_to_x(0.2 * i));
            boxes.push_back(TextBox(Format("%.1f", 0.2 * i), x, a.bottom + c.cy / 2, 0));
            // Dotted from top to bottom; the line at 0 solid and thick down to the level of 0.
            const int dots = p.inColumn(x, a.top, a.bottom - 1, INK);
            EXPECT_TRUE(dots > (a.bottom - a.top) / 3 && (i == 0 || dots < a.bottom - a.top - 8)) << i;
            int thick = 0, below = 0;
            for (int y = a.top; y < a.bottom; ++y)
                (y < y0 - 1 ? thick : below) += p.inRow(y, x - 1, x + 1, INK) >= 2;
            if (i == 0)
                EXPECT_EQ(y0 - 1 - a.top, thick) << k.yMin;
            else
                EXPECT_LE(thick, 2 * k.yLabels) << k.yMin << " x " << i;
            EXPECT_LE(below, 4 + k.yLabels * 2) << k.yMin << " x " << i;
            if (i < 5)
                EXPECT_EQ(0, p.inRow((a.top + a.bottom) / 2 + 3, x + 2, plot->X_to_x(0.2 * i + 0.2) - 2, INK));
        }
        for (int i = 0; i < k.yLabels; ++i) {
            const double Y = k.yMin + i * k.yStep;
            const int y = plot->Y_to_y(Y);
            boxes.push_back(TextBox(Format("%3.1f", Y), a.left - c.cx / 2, y, 2));
            const int solid = p.inRow(y, a.left + 2, a.right - 2, INK) + p.inRow(y + 1, a.left + 2, a.right - 2, INK);
            const bool origin = Y == 0;
            EXPECT_TRUE(origin ? solid >= a.right - a.left - 4 : solid < (a.right - a.left) * 3 / 4) << Y;
            EXPECT_GT(p.inRow(y, a.left + 2, a.right - 2, INK), (a.right - a.left) / 3) << Y;
        }
        // Every pixel of ink outside the plot area lies in a label box, and every box has ink.
        int stray = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (p.at(x, y) == BG || (x >= a.left - 2 && x <= a.right + 1 && y >= a.top - 2 && y <= a.bottom + 1))
                    continue;
                bool in = false;
                for (Box& b : boxes)
                    if (x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1)
                        in = b.inked = true;
                stray += !in;
            }
        EXPECT_EQ(0, stray) << k.yMin;
        for (size_t i = 0; i < boxes.size(); ++i)
            EXPECT_TRUE(boxes[i].inked) << k.yMin << " box " << i;
    }
}

TEST(Scope, CurvesAndTheirPens)
{
    Stage s;
    ScopePlot* plot = s.plot;
    struct Case { COLORREF colour; int thick; std::vector<complex> points; double probeX, probeY; int across; };
    const Case cases[] = {
        {RGB(255, 0, 0), 0, {{0, 0}, {0.5, 0.5}, {1, 1}}, 0.25, 0.25, 1},
        {RGB(0, 0, 255), 5, {{0.1, 0.9}, {0.9, 0.9}}, 0.5, 0.9, 5},
        {RGB(255, 0, 255), 1, {{-0.3, 0.5}, {0.0, 0.5}}, -0.15, 0.5, 1}, // not clipped to the plot area
        {RGB(0, 160, 0), 3, {{0.5, 0.5}}, 0.5, 0.5, 0},                 // one point: nothing
    };
    for (const Case& k : cases) {
        ScopePlotCurve* curve = plot->addCurve();
        curve->setPen(k.colour, PS_SOLID, k.thick);
        for (const complex& z : k.points)
            curve->addPoint(z);
        EXPECT_EQ((int)k.points.size(), curve->getSize());
    }
    EXPECT_EQ(nullptr, plot->getCurve(-1));
    EXPECT_EQ(nullptr, plot->getCurve(4));
    EXPECT_EQ(RGB(0, 0, 255), plot->getCurve(1)->getColor());
    plot->draw();
    Picture p(plot->getImage());
    for (const Case& k : cases) {
        const DWORD c = (DWORD)(GetRValue(k.colour) << 16 | GetGValue(k.colour) << 8 | GetBValue(k.colour));
        const int x = plot->X_to_x(k.probeX), y = plot->Y_to_y(k.probeY);
        EXPECT_EQ(k.across, p.inColumn(x, y - 8, y + 8, c)) << std::hex << c;
        EXPECT_EQ(k.across > 0, std::count(p.p.begin(), p.p.end(), c) > 0) << std::hex << c;
    }
    plot->clearCurves();
    EXPECT_EQ(nullptr, plot->getCurve(0));
    plot->draw();
    p = Picture(plot->getImage());
    EXPECT_EQ(0, std::count(p.p.begin(), p.p.end(), 0xFF0000u)) << "cleared";
}

TEST(Scope, CursorFollowsRealPressesAndDrags)
{
    Stage s;
    ScopePlot* plot = s.plot;
    plot->draw();
    const KRECT a = plot->getPlotArea();
    const double at3 = 0.3;
    plot->setCursor(at3);
    int x = plot->X_to_x(at3);
    EXPECT_EQ(a.bottom - a.top, Shown(plot).inColumn(x, a.top, a.bottom - 1, INK)) << "over the picture";
    EXPECT_LT(Picture(plot->getImage()).inColumn(x, a.top, a.bottom - 1, INK), 3) << "not in it";
    auto X = [&](int px) { return (double)(px - a.left) / (a.right - a.left); };
    struct Case { DWORD down; int press, drag; };
    const Case cases[] = {
        {MOUSEEVENTF_LEFTDOWN, plot->X_to_x(0.7), a.left - 5},   // dragged into the margin
        {MOUSEEVENTF_RIGHTDOWN, a.right + 6, plot->X_to_x(0.45)}, // pressed in the margin
        {MOUSEEVENTF_MIDDLEDOWN, plot->X_to_x(0.2), -40},        // dragged out of the window
    };
    const int row = (a.top + a.bottom) / 2;
    for (const Case& k : cases) {
        SendMouseAt(*plot, k.press, row, {k.down});
        EXPECT_TRUE(WaitFor([&] { return plot->getCursor() == X(k.press); })) << k.press;
        EXPECT_EQ(a.bottom - a.top, Shown(plot).inColumn(k.press, a.top, a.bottom - 1, INK)) << k.press;
        SendMouseAt(*plot, k.drag, row + 7, {});
        EXPECT_TRUE(WaitFor([&] { return plot->getCursor() == X(k.drag); })) << k.drag;
        if (k.drag >= 0)
            EXPECT_EQ(a.bottom - a.top, Shown(plot).inColumn(k.drag, a.top, a.bottom - 1, INK)) << k.drag;
        plot->setCursor(at3);
        MouseButtons({k.down << 1});
        EXPECT_FALSE(WaitFor([&] { return plot->getCursor() != at3; }, 300)) << "release " << k.drag;
    }
}
