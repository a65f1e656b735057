// Plot window speed, in one run, each figure the best of several rounds:
// (a) draw() of a plot holding a 1,000,000-point curve against one raw
//     Polyline of the same pixel points into a memory bitmap;
// (b) moving a cursor by dragging its handle (mouse messages through the
//     window procedure) over that plot against over a 100-point plot;
// (c) the 1,000,000-point draw() with the per-column reduction of the curve
//     against without it.
#include "bench_app.h"
#include <math.h>
#include <stdio.h>
#include <vector>

namespace {

// A noisy sine over 10 divisions.
std::vector<PlotWinPoint> Data(int points)
{
    std::vector<PlotWinPoint> data;
    unsigned noise = 1;
    for (int i = 0; i < points; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double X = 10.0 * i / points;
        data.push_back(PlotWinPoint{X, 4 + 3 * sin(X * 2) + (int)(noise >> 22) / 1024.0 - 0.5});
    }
    return data;
}

KPlotWin* MakePlot(KWindow* stage, PlotWinParam* param, const std::vector<PlotWinPoint>& data)
{
    KArgList args;
    args.add(WA_WIDTH, 800);
    args.add(WA_HEIGHT, 600);
    KPlotWin* plot = MakePlotWin(stage, &args, param);
    plot->configureAll(false);
    PlotWinCurve& c = plot->addCurve();
    c.setPen(RGB(0, 0, 255), PS_SOLID, 0);
    for (const PlotWinPoint& p : data)
        c.addPoint(p.X, p.Y);
    plot->draw();
    return plot;
}

// Milliseconds of one cursor move: a press on cursor 0's handle, then moves
// with the left button held, each laying the cursors over the picture again.
double CursorMove(KPlotWin* plot, PlotWinParam* param)
{
    const int moves = 200;
    param->xCurOn[0] = true;
    param->xCur[0] = 1.0;
    plot->draw();
    HWND area = *plot->getPlotArea();
    const KRECT r = plot->getPlotRect();
    const double ms = Best(5, [&] {
        const int x = plot->X_to_x(param->xCur[0]);
        SendMessageW(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, r.top));
        for (int i = 1; i <= moves; ++i)
            SendMessageW(area, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.left + 20 + i % 300, r.top + 5));
        SendMessageW(area, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 20, r.top + 5));
    });
    if (param->xCur[0] == 1.0)
        printf("  (the cursor did not move: the figure is not of a cursor move)\n");
    return ms / moves;
}

int RunBench()
{
    KArgList top;
    top.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    top.add(WA_WIDTH, 820);
    top.add(WA_HEIGHT, 620);
    KWindow* stage = MakeWindow(nullptr, &top);
    stage->show(true);
    PlotWinParam bigParam, smallParam;
    const std::vector<PlotWinPoint> data = Data(1000000);
    KPlotWin* big = MakePlot(stage, &bigParam, data);

    // (a) and (c)
    const double reduced = Best(5, [&] { big->draw(); });
    big->setDecimation(false);
    const double full = Best(3, [&] { big->draw(); });
    big->setDecimation(true);
    // The same pixel points, converted once outside the timing.
    std::vector<POINT> pixels;
    for (const PlotWinPoint& p : data)
        pixels.push_back(POINT{big->X_to_x(p.X), big->Y_to_y(p.Y)});
    KMemDC raw(big->getImage().Width(), big->getImage().Height());
    const double polyline = Best(3, [&] {
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
        HGDIOBJ previous = SelectObject(raw, pen);
        Polyline(raw, pixels.data(), (int)pixels.size());
        SelectObject(raw, previous);
        DeleteObject(pen);
    });
    printf("1,000,000-point curve, %d x %d picture\n", big->getImage().Width(), big->getImage().Height());
    printf("  (a) draw()                       : %8.2f ms\n", reduced);
    printf("      one raw Polyline, same points: %8.2f ms\n", polyline);
    printf("      ratio draw / Polyline: %.2f (target <= 1.2)\n", reduced / polyline);
    // (b)
    // Each plot alone on the stage, so that both moves draw into an unobscured window.
    const double moveBig = CursorMove(big, &bigParam);
    delete big;
    KPlotWin* small = MakePlot(stage, &smallParam, Data(100));
    const double moveSmall = CursorMove(small, &smallParam);
    printf("  (b) cursor move, 1,000,000 points: %8.3f ms\n", moveBig);
    printf("      cursor move, 100 points      : %8.3f ms\n", moveSmall);
    printf("      ratio: %.2f (target 0.90 .. 1.10)\n", moveBig / moveSmall);
    printf("  (c) draw() without the reduction : %8.2f ms\n", full);
    printf("      reduction speeds draw() up %.1f times\n", full / reduced);
    delete stage;
    return 0;
}

} // namespace

BenchApp app(L"Plot Bench", RunBench);
