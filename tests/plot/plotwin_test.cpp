// The plot window driven as an application drives it: real clicks and drags on its drawing area
// and scroll bars, its read-outs, its record, and its picture against a reference image.
#include <gtest/gtest.h>
#include <math.h>
#include <algorithm>
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
        plot->setTitle("Two %s", "curves"), plot->setTitleX("time"), plot->setTitleY("volts");
        plot->configureAll(false);
        area = plot->getPlotArea();
        EXPECT_TRUE(Activate(*stage));
        redraw();
    }
    void redraw() { plot->draw(), r = plot->getPlotRect(); }
    // A real press and release of a button at (x, y) of the drawing area.
    void click(int x, int y, DWORD down) { SendMouseAt(*area, x, y, {down, down << 1}), PumpMessages(); }
    // A real drag with the left button from one point to another.
    void drag(int x0, int y0, int x1, int y1)
    {
        SendMouseAt(*area, x0, y0, {MOUSEEVENTF_LEFTDOWN});
        SendMouseAt(*area, (x0 + x1) / 2, (y0 + y1) / 2, {}), SendMouseAt(*area, x1, y1, {MOUSEEVENTF_LEFTUP});
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
            int &mant = axis ? p.param.yMant : p.param.xMant, &exp = axis ? p.param.yExp : p.param.xExp;
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
            EXPECT_EQ((axis ? -bar->getMinVal() : bar->getMaxVal()) == 10, s.label != nullptr) << where;
        }
    }
}

// Conversions at the edges of the plot area, truncated toward zero, after scrolling 3 divisions;
// bands at the edges.
TEST(PlotWin, DataToPixelsAndBandsAtTheEdges)
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
    // Bands are clipped to the visible range; clearCurves removes curves and bands.
    p.param.xExp = 0, p.param.yMant = 0;
    p.plot->setOrigin(-2, 0);
    p.plot->addBand(1.0, 4.5).setColor(RGB(0, 255, 0));
    p.plot->addBand(9.5, 30.0).setColor(RGB(0, 0, 255));
    p.redraw();
    const std::vector<DWORD> px = Pixels(p.plot->getImage());
    const long W = p.plot->getImage().Width(), y = p.r.top + (p.r.bottom - p.r.top) * 3 / 16;
    const int b4 = p.plot->X_to_x(4.5), b9 = p.plot->X_to_x(9.5);
    struct Spot { long x, y; DWORD colour; } spots[] = {
        {p.r.left - 1, y, 0xE9E9E9}, {p.r.left + 1, y, 0x00FF00}, {b4 - 1, y, 0x00FF00},
        {b4 + 1, y, 0xFFFFFF},       {b9 + 1, y, 0x0000FF},       {p.r.right - 1, y, 0x0000FF},
        {p.r.right + 1, y, 0xE9E9E9}, {p.r.left + 1, p.r.top + 1, 0x00FF00},
        {p.r.left + 1, p.r.bottom + 1, 0xE9E9E9}, {p.r.left + 1, p.r.top - 1, 0xE9E9E9}};
    for (const Spot& s : spots)
        EXPECT_EQ(px[(size_t)(s.y * W + s.x)] & 0xFFFFFF, s.colour) << s.x << "," << s.y;
    p.plot->clearCurves();
    EXPECT_EQ(std::make_pair(p.plot->numCurves(), p.plot->numBands()), std::make_pair(0, 0));
    p.redraw();
    EXPECT_EQ(Pixels(p.plot->getImage())[(size_t)(y * W + p.r.left + 1)] & 0xFFFFFF, 0xFFFFFFu);
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
            const COLORREF* colour = axis ? q.yCurColor : q.xCurColor;
            EXPECT_EQ(p.label(3 * axis), o[0] ? Format(names[axis][0], v[0]) : "") << where;
            EXPECT_EQ(p.label(3 * axis + 1), o[1] ? Format(names[axis][1], v[1]) : "") << where;
            EXPECT_EQ(p.label(3 * axis + 2), o[0] && o[1] ? Format(names[axis][2], v[1] - v[0]) : "");
            for (int i = 0; i < 2; ++i)
                if (o[i])
                    EXPECT_EQ(p.plot->getStatusLabel(3 * axis + i)->getForeground(), colour[i]);
        }
    }
}

// A press 19 pixels from a handle drags the cursor, at 20 it does not; a cursor let go outside
// the plot area (to 1000: beyond its right or bottom edge) is switched off.
TEST(PlotWin, CursorsDraggedAndReleasedOutside)
{
    Plot p;
    struct Drag { int axis, dx, dy, to; bool moved, on; } drags[] = {
        {0, 19, 0, 40, 1, 1},  {0, 20, 0, 40, 0, 1}, {0, 0, 19, 40, 1, 1},  {0, 13, 13, 40, 1, 1},
        {0, 15, 15, 40, 0, 1}, {0, 0, 5, 1000, 1, 0}, {1, 0, 19, -30, 1, 1}, {1, 0, 20, -30, 0, 1},
        {1, -19, 0, -30, 1, 1}, {1, -5, 0, 1000, 1, 0}};
    for (const Drag& d : drags) {
        const int hx[2] = {p.r.left + 100, p.r.right}, hy[2] = {p.r.top, p.r.top + 100};
        p.param.xCurOn[0] = p.param.yCurOn[0] = true;
        p.param.xCur[0] = p.plot->x_to_X(hx[0]), p.param.yCur[0] = p.plot->y_to_Y(hy[1]);
        p.plot->setData();
        double& cursor = d.axis ? p.param.yCur[0] : p.param.xCur[0];
        const double before = cursor;
        const int x = hx[d.axis] + d.dx, y = hy[d.axis] + d.dy;
        const int tx = d.axis ? x : d.to == 1000 ? p.r.right + 6 : hx[0] + d.to;
        const int ty = !d.axis ? y : d.to == 1000 ? p.r.bottom + 4 : hy[1] + d.to;
        p.drag(x, y, tx, ty);
        const std::string where = Format("axis %d from %d,%d", d.axis, d.dx, d.dy);
        EXPECT_EQ(cursor, !d.moved ? before : d.axis ? p.plot->y_to_Y(ty) : p.plot->x_to_X(tx)) << where;
        EXPECT_EQ(d.axis ? p.param.yCurOn[0] : p.param.xCurOn[0], d.on) << where;
        EXPECT_EQ(p.label(3 * d.axis).empty(), !d.on) << where;
    }
}

// Scroll ranges from the data, and real clicks on the bars' arrows and page areas scroll the
// window in whole divisions.
TEST(PlotWin, ScrollRangesAndRealScrollBarClicks)
{
    Plot p;
    p.param.xExp = 1;
    PlotWinCurve& c = p.plot->addCurve();
    c.addPoint(0, 0), c.addPoint(95, 0);
    p.redraw();
    KScrollBar *h = p.plot->getHorzScroll(), *v = p.plot->getVertScroll();
    EXPECT_EQ((std::vector<int>{h->getMinVal(), h->getMaxVal(), h->getPageSize()}),
              (std::vector<int>{0, 10, 10})) << "0 .. 95 with 10 per division";
    p.param.xExp = 0;
    c.addPoint(295, -20), c.addPoint(-2.5, 12.5);
    p.redraw();
    EXPECT_EQ((std::vector<int>{h->getMinVal(), h->getMaxVal(), v->getMinVal(), v->getMaxVal(),
                                v->getPageSize()}),
              (std::vector<int>{-3, 295, -13, 20, 8}));
    const int arrowW = GetSystemMetrics(SM_CXHSCROLL), arrowH = GetSystemMetrics(SM_CYVSCROLL);
    const int hw = h->width(), vh = v->height(), across = GetSystemMetrics(SM_CYHSCROLL) / 2;
    // The bar, the click along it, the horizontal and vertical origins (X0, Y0) afterwards.
    struct Click { KScrollBar* bar; int along; double X0, Y0; } clicks[] = {
        {h, hw - arrowW / 2, 1, 0},  {h, hw - arrowW / 2, 2, 0}, {h, hw - arrowW - 4, 12, 0},
        {h, arrowW / 2, 11, 0},      {v, vh - arrowH / 2, 11, -1}, {v, arrowH / 2, 11, 0},
        {v, arrowH / 2, 11, 1}};
    auto origin = [&] { return std::make_pair(p.plot->x_to_X(p.r.left), p.plot->y_to_Y(p.r.bottom)); };
    for (const Click& k : clicks) {
        const bool horizontal = k.bar == h;
        SendMouseAt(k.bar->getControl(), horizontal ? k.along : across, horizontal ? across : k.along,
                    {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        WaitFor([&] { return origin() == std::make_pair(k.X0, k.Y0) && !GetCapture(); }, 2000);
        EXPECT_EQ(origin(), std::make_pair(k.X0, k.Y0)) << k.along;
    }
    v->setCurVal(-10, true); // as an application moves the bar: the top of the window at 10
    EXPECT_EQ(origin(), std::make_pair(11.0, 2.0));
}

// The record: version 2 written byte for byte and read back; a version-1 record has no yExp.
TEST(PlotWin, ParameterRecordWrittenAndRead)
{
    ScratchDir dir;
    auto io = [&](const wchar_t* name, const wchar_t* mode, PlotWinParam& q) {
        KFile f(dir.file(name).c_str());
        f.open(mode), q.IO(f), f.close();
    };
    PlotWinParam out; // every field changed
    out.reserved = 7, out.xExp = -3, out.yExp = 4, out.xMant = 2, out.yMant = 1;
    out.xCur[0] = 1.5, out.yCur[0] = -2.25, out.xCurOn[0] = true, out.yCurOn[1] = true;
    out.xCur[1] = 1e-9, out.yCur[1] = 8, out.xCurColor[1] = 0x123456, out.yCurColor[0] = 0xABCDEF;
    io(L"plot.rec", L"wb", out);
    Bytes b[2]; // versions 1 and 2, by hand
    for (int v = 1; v <= 2; ++v) {
        for (unsigned u : {(unsigned)v, 7u, (unsigned)-3, 4u, 2u, 1u})
            if (v == 2 || u != 4u)
                Put32(b[v - 1], u);
        for (int i = 0; i < 2; ++i) {
            for (double d : {out.xCur[i], out.yCur[i]})
                b[v - 1].insert(b[v - 1].end(), (const unsigned char*)&d, (const unsigned char*)&d + 8);
            b[v - 1].insert(b[v - 1].end(), {out.xCurOn[i], out.yCurOn[i]});
            Put32(b[v - 1], out.xCurColor[i]), Put32(b[v - 1], out.yCurColor[i]);
        }
    }
    EXPECT_EQ(ReadBytes(dir.file(L"plot.rec")), b[1]);
    EXPECT_EQ(std::make_pair(b[0].size(), b[1].size()), std::make_pair((size_t)72, (size_t)76));
    WriteBytes(dir.file(L"v1.rec"), b[0]);
    for (const wchar_t* name : {L"plot.rec", L"v1.rec"}) {
        PlotWinParam in;
        in.yExp = 9;
        io(name, L"rb", in);
        EXPECT_EQ(in.yExp, name[0] == 'v' ? 9 : 4);
        in.yExp = 4;
        io(L"back.rec", L"wb", in);
        EXPECT_EQ(ReadBytes(dir.file(L"back.rec")), b[1]) << Narrow(name);
    }
}

// Two curves, a band and both cursors of each axis, as shown, against the reference image (which
// a run without it saves as bin/plotwin.bmp).
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
    const std::wstring source = Wide(std::string(KORVEL_TEST_SOURCE_DIR)) + L"/plotwin.bmp";
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, source.c_str(), IMAGE_BITMAP, 0, 0,
                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_TRUE(bitmap) << "no reference image; this run's is bin/plotwin.bmp";
    KBitmap held(bitmap, true);
    KMemDC reference(shown.Width(), shown.Height());
    reference.setBitmap(&held);
    EXPECT_TRUE(Pixels(shown) == Pixels(reference)) << "the picture differs from tests/plot/plotwin.bmp";
}

// The per-column reduction of a solid thin pen's curve gives the pixels of the full polyline.
TEST(PlotWin, ReducedCurvesDrawTheSamePixels)
{
    Plot p;
    Random random(7);
    const double dX = p.plot->x_to_X(1) - p.plot->x_to_X(0), dY = p.plot->y_to_Y(0) - p.plot->y_to_Y(1);
    for (int pen = 0; pen < 3; ++pen) {
        p.plot->clearCurves();
        PlotWinCurve& c = p.plot->addCurve();
        c.setPen(RGB(0, 0, 255), pen == 2 ? PS_DOT : PS_SOLID, pen % 2);
        // In each pixel column: extremes 1 pixel beyond the next points, first and last in the middle.
        for (int x = 0; x < p.r.right - p.r.left; ++x) {
            const int a = 2 + random.below(30), offsets[8] = {0, 1 - a, -a, 2 - a, a - 1, a, a - 2, 0};
            for (int k = 0; k < 8; ++k)
                c.addPoint((x + 0.05 + 0.1 * k) * dX, 4 + 3 * sin(x / 40.0) + (offsets[k] + 0.5) * dY);
        }
        std::vector<DWORD> drawn[2];
        for (int way = 0; way < 2; ++way) {
            KMemDC dc(p.plot->getImage().Width(), p.plot->getImage().Height());
            p.plot->setDecimation(way == 0);
            p.plot->drawCurves(dc, false);
            drawn[way] = Pixels(dc);
        }
        EXPECT_GT(std::count(drawn[0].begin(), drawn[0].end(), 0x0000FFu), 5000) << "pen " << pen;
        EXPECT_TRUE(drawn[0] == drawn[1]) << "pen " << pen;
    }
}
