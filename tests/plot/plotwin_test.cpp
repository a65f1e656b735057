// The plot window driven as an application drives it: real clicks and drags on its drawing area
// and scroll bars, its read-outs, its record, and its picture against a reference image.
#include <gtest/gtest.h>
#include <math.h>
#include "test_support.h"

namespace {

// A shown plot window of 600 x 440 with titles, on an active stage.
struct Plot {
    WindowOwner windows;
    PlotWinParam param;
    KPlotWin* plot;
    KWindow* area;
    KRECT r{};
    Plot()
    {
        KWindow* stage = ShownPopup(windows, 40, 40, 600, 440);
        KArgList args;
        args.add(WA_WIDTH, 600);
        args.add(WA_HEIGHT, 440);
        plot = MakePlotWin(stage, &args, &param);
        plot->setTitle("Two %s", "curves");
        plot->setTitleX("time");
        plot->setTitleY("volts");
        plot->configureAll(false);
        area = plot->getPlotArea();
        EXPECT_TRUE(Activate(*stage));
        redraw();
    }
    void redraw()
    {
        plot->draw();
        r = plot->getPlotRect();
    }
    // A real press (and release, unless drag) of a button at (x, y) of the drawing area.
    void click(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN)
    {
        SendMouseAt(*area, x, y, {down, down << 1});
        PumpMessages();
    }
    // A real drag with the left button from one point to another.
    void drag(int x0, int y0, int x1, int y1)
    {
        SendMouseAt(*area, x0, y0, {MOUSEEVENTF_LEFTDOWN});
        SendMouseAt(*area, (x0 + x1) / 2, (y0 + y1) / 2, {});
        SendMouseAt(*area, x1, y1, {MOUSEEVENTF_LEFTUP});
        PumpMessages();
    }
    std::string label(int i) { return Narrow(plot->getStatusLabel(i)->getText()); }
};

} // namespace

const DWORD L = MOUSEEVENTF_LEFTDOWN, M = MOUSEEVENTF_MIDDLEDOWN, R = MOUSEEVENTF_RIGHTDOWN;

// Each press from the scale before it, on the strip of either axis title; a press that changes
// nothing (beeps) neither marks the window nor redraws it.
TEST(PlotWin, ScaleStripsStepThroughOneTwoFive)
{
    Plot p;
    struct Step { DWORD button; int mant, exp, toMant, toExp; const char* label; } steps[] = {
        {L, 0, 0, 1, 0, "2.0x10e0/div"},   {L, 1, 0, 2, 0, "5.0x10e0/div"},
        {L, 2, 3, 0, 4, "1.0x10e4/div"},   {L, 2, -1, 0, 0, "1.0x10e0/div"},
        {R, 0, 0, 2, -1, "5.0x10e-1/div"}, {R, 2, 5, 1, 5, "2.0x10e5/div"},
        {R, 0, 1, 2, 0, "5.0x10e0/div"},   {M, 2, 7, 0, 1, "1.0x10e1/div"},
        {M, 0, 1, 0, 1, "1.0x10e1/div"},   {R, 0, -20, 0, -20, nullptr},
        {L, 2, 20, 2, 20, nullptr}};
    for (int axis = 0; axis < 2; ++axis) {
        for (const Step& s : steps) {
            int& mant = axis ? p.param.yMant : p.param.xMant;
            int& exp = axis ? p.param.yExp : p.param.xExp;
            mant = s.mant, exp = s.exp;
            p.redraw();
            // Data of 9.5 divisions of the new scale: only a redraw sets the range to 0 .. 10.
            p.plot->clearCurves();
            const double unit = KPlotWin::X_per_div[s.toMant] * pow(10.0, s.toExp);
            p.plot->addCurve().addPoint(9.5 * unit, 9.5 * unit);
            p.plot->clearIsModified();
            KLabel* label = axis ? p.plot->getVertScaleLabel() : p.plot->getHorzScaleLabel();
            const std::string before = Narrow(label->getText());
            const int H = p.area->height(), A = p.plot->getAxisTitleHeight();
            p.click(axis ? A / 2 : (p.r.left + p.r.right) / 2, axis ? (p.r.top + p.r.bottom) / 2 : H - A / 2,
                    s.button);
            const std::string where = Format("axis %d button %x from %d,%d", axis, s.button, s.mant, s.exp);
            EXPECT_EQ(std::make_pair(mant, exp), std::make_pair(s.toMant, s.toExp)) << where;
            EXPECT_EQ(Narrow(label->getText()), s.label ? s.label : before) << where;
            EXPECT_EQ(p.plot->getIsModified(), s.label != nullptr) << where;
            KScrollBar* bar = axis ? p.plot->getVertScroll() : p.plot->getHorzScroll();
            const int top = axis ? -bar->getMinVal() : bar->getMaxVal();
            EXPECT_EQ(top == 10, s.label != nullptr) << where << " redrawn";
        }
    }
}

// Conversions at the edges of the plot area, truncated toward zero, after scrolling 3 divisions.
TEST(PlotWin, DataToPixelsAtTheEdges)
{
    Plot p;
    p.param.xExp = 1, p.param.yMant = 1;
    p.plot->setOrigin(-3, 2);
    p.redraw();
    const double dX = 100.0 / (p.r.right - p.r.left), dY = 16.0 / (p.r.bottom - p.r.top);
    EXPECT_DOUBLE_EQ(p.plot->x_to_X(p.r.left), 30.0);
    EXPECT_DOUBLE_EQ(p.plot->x_to_X(p.r.right), 130.0);
    EXPECT_DOUBLE_EQ(p.plot->y_to_Y(p.r.bottom), -4.0);
    EXPECT_DOUBLE_EQ(p.plot->y_to_Y(p.r.top), 12.0);
    EXPECT_EQ(p.plot->X_to_x(30.0 + dX / 2), p.r.left);
    EXPECT_EQ(p.plot->X_to_x(30.0 - dX / 2), p.r.left - 1);
    EXPECT_EQ(p.plot->X_to_x(30.0 - (p.r.left + 0.5) * dX), 0) << "toward zero, not down";
    EXPECT_EQ(p.plot->Y_to_y(-4.0 + dY / 2), p.r.bottom - 1) << "0.5 pixels up truncates to bottom - 0.5";
    EXPECT_EQ(p.plot->Y_to_y(12.0 - dY / 2), p.r.top);
}

// Presses above and right of the plot area place cursors, middle presses on handles switch them
// off; the read-outs follow, dx and dy only while both cursors of the axis are on.
TEST(PlotWin, CursorsPlacedByClicksAndTheirReadOuts)
{
    Plot p;
    const int above = p.r.top - 3, beside = p.r.right + 8, mid = (p.r.left + p.r.right) / 2;
    // The cursor (axis, index) a left press sets; the four flags x0, x1, y0, y1 afterwards.
    struct Click { int x, y; DWORD button; int axis, index; std::vector<bool> on; } clicks[] = {
        {mid - 100, above, L, 0, 0, {1, 0, 0, 0}}, {mid + 100, above, L, 0, 1, {1, 1, 0, 0}},
        {mid - 70, above, L, 0, 0, {1, 1, 0, 0}},  {mid - 70, p.r.top, M, 0, 0, {0, 1, 0, 0}},
        {mid, above, L, 0, 0, {1, 1, 0, 0}},       {beside, p.r.top + 30, L, 1, 0, {1, 1, 1, 0}},
        {beside, p.r.bottom - 30, L, 1, 1, {1, 1, 1, 1}}, {p.r.right, p.r.top + 30, M, 1, 0, {1, 1, 0, 1}}};
    for (const Click& c : clicks) {
        p.click(c.x, c.y, c.button);
        const std::string where = Format("click at %d,%d", c.x, c.y);
        const PlotWinParam& q = p.param;
        EXPECT_EQ((std::vector<bool>{q.xCurOn[0], q.xCurOn[1], q.yCurOn[0], q.yCurOn[1]}), c.on) << where;
        if (c.button == L)
            EXPECT_EQ(c.axis ? q.yCur[c.index] : q.xCur[c.index],
                      c.axis ? p.plot->y_to_Y(c.y) : p.plot->x_to_X(c.x)) << where;
        for (int axis = 0; axis < 2; ++axis) {
            const char* names[2][3] = {{"x1=%g", "x2=%g", "dx=%g"}, {"y1=%g", "y2=%g", "dy=%g"}};
            const bool* o = axis ? q.yCurOn : q.xCurOn;
            const double* v = axis ? q.yCur : q.xCur;
            EXPECT_EQ(p.label(3 * axis), o[0] ? Format(names[axis][0], v[0]) : "") << where;
            EXPECT_EQ(p.label(3 * axis + 1), o[1] ? Format(names[axis][1], v[1]) : "") << where;
            EXPECT_EQ(p.label(3 * axis + 2), o[0] && o[1] ? Format(names[axis][2], v[1] - v[0]) : "") << where;
            for (int i = 0; i < 2; ++i)
                if (o[i])
                    EXPECT_EQ(p.plot->getStatusLabel(3 * axis + i)->getForeground(), i ? 0xFF0000u : 0x0000FFu);
        }
    }
}

TEST(PlotWin, PictureOfTwoCurvesABandAndFourCursors)
{
    Plot p;
    PlotWinCurve& sine = p.plot->addCurve();
    sine.setPen(RGB(0, 0, 200), PS_SOLID, 0);
    for (int i = 0; i <= 1000; ++i)
        sine.addPoint(i / 100.0, 3 * sin(i / 50.0) + 4);
    PlotWinCurve& saw = p.plot->addCurve();
    saw.setPen(RGB(160, 0, 160), PS_SOLID, 2);
    for (int i = 0; i <= 10; ++i)
        saw.addPoint(i, i % 2 ? 7.5 : 0.5);
    p.plot->addBand(2.5, 4.0).setColor(RGB(160, 255, 160));
    p.param.xCurOn[0] = p.param.xCurOn[1] = p.param.yCurOn[0] = p.param.yCurOn[1] = true;
    p.param.xCur[0] = 1.5, p.param.xCur[1] = 7.25, p.param.yCur[0] = 2, p.param.yCur[1] = 6.5;
    p.redraw();
    KMemDC shown(p.plot->getImage().Width(), p.plot->getImage().Height());
    p.plot->composeDisplay(shown);
    SaveBitmap(ProgramDir() + L"plotwin.bmp", shown);
}
