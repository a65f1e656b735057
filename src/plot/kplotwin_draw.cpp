// KPlotWin: rendering into the off-screen image, the curves, and the cursors
// laid over a copy of the image.
#include "kplotwin.h"
#include "kvalue.h"
#include <vector>

void KPlotWin::draw()
{
    const int W = plotArea->width(), H = plotArea->height();
    if (W < 1 || H < 1)
        return;
    if (image.Width() != W || image.Height() != H)
        image.setBitmapSize(W, H, false);
    image.clearClipRect();
    image.setBkColor(0xE9E9E9);
    image.clear();
    image.setBkMode(TRANSPARENT);
    measure(W, H);
    image.fillRect(DCRect(left, top, right - left, bottom - top), 0xFFFFFF);
    drawTitles(H);

    image.setClipRect(KRECT{left, top, right, bottom});
    for (const PlotWinBand& b : bands) {
        const int x1 = X_to_x(b.lo), x2 = X_to_x(b.hi);
        image.fillRect(DCRect(x1, top + 1, x2 - x1, bottom - top), b.color);
    }
    image.clearClipRect();
    drawGrid();

    image.setClipRect(KRECT{left, top, right, bottom});
    drawCurves(image, false);
    image.clearClipRect();
    updateDisplay();
    setVertLimits();
    setHorzLimits();
}

// The extents of the tick labels and titles, the plot area they leave, and
// the data units of one pixel.
void KPlotWin::measure(int W, int H)
{
    int tickW = 0, tickH = 0, cx = 0, cy = 0;
    image.setFont(DEFAULT_FIXED_FONT);
    image.getTextExtent(L"1000.0", 6, &tickW, &tickH);
    image.setFont(titleFont, titleSize, 0, FW_NORMAL);
    image.getTextExtent(title, &cx, &cy);
    titleExtent = KPOINT{cx, cy};
    image.setFont(axisFont, axisSize, 0, FW_NORMAL);
    image.getTextExtent(titleY, &cx, &cy);
    axisTitleExtent = KPOINT{cx, cy};
    const int h = tickH / 2, A = axisTitleExtent.y;
    tickHalf = h;
    left = A + 2 * h + tickW;
    top = tickH + titleExtent.y + h;
    right = W - tickW / 2;
    bottom = H - 2 * h - A - tickH;
    // A window too small for its margins still gets a plot area of one pixel.
    if (right <= left)
        right = left + 1;
    if (bottom <= top)
        bottom = top + 1;
    X0 = originX * xUnit();
    Y0 = originY * yUnit();
    dX = horzDivs * xUnit() / (right - left);
    dY = vertDivs * yUnit() / (bottom - top);
}

void KPlotWin::drawTitles(int H)
{
    image.setTextColor(titleColor);
    image.setFont(titleFont, titleSize, 0, FW_NORMAL);
    image.setAlign(0, 4);
    image.textOut((left + right) / 2, 0, title);
    // Turned a quarter counter-clockwise, the text runs upwards from its
    // anchor, so the anchor sits half its length below the middle.
    image.setTextColor(titleYColor);
    image.setFont(axisFont, axisSize, 900, FW_NORMAL);
    image.setAlign(1, 4);
    image.textOut(0, (top + bottom) / 2 + axisTitleExtent.x / 2, titleY);
    image.setTextColor(titleXColor);
    image.setFont(axisFont, axisSize, 0, FW_NORMAL);
    image.setAlign(0, 5);
    image.textOut((left + right) / 2, H - 1, titleX);
    image.setTextColor(0);
}

void KPlotWin::drawGrid()
{
    KString label;
    for (int i = 0; i <= horzDivs; ++i) {
        const int x = (right - left) * i / horzDivs + left;
        image.setPen(0, i == 0 || i == horzDivs ? PS_SOLID : PS_DOT, 0);
        image.drawLine(x, top, x, bottom);
        label.set("%g", nint(((x - left) * dX + X0) / xUnit()) * xUnit());
        image.setAlign(0, 4);
        image.textOut(x, bottom + tickHalf, label);
    }
    for (int j = 0; j <= vertDivs; ++j) {
        const int y = (bottom - top) * j / vertDivs + top;
        image.setPen(0, j == 0 || j == vertDivs ? PS_SOLID : PS_DOT, 0);
        image.drawLine(left, y, right, y);
        label.set("%g", nint((Y0 - (y - bottom) * dY) / yUnit()) * yUnit());
        image.setAlign(2, 0);
        image.textOut(left - tickHalf, y, label);
    }
}

// Appends the points of one pixel column's run [from, to): the first, the
// lowest, the highest and the last, in their order along the curve. Within a
// column the full polyline covers exactly the pixels between its lowest and
// highest point, and the segments into and out of the column stay the same.
static void AppendRun(std::vector<POINT>& out, const POINT* pts, int from, int to)
{
    int lo = from, hi = from;
    for (int k = from + 1; k < to; ++k) {
        if (pts[k].y < pts[lo].y)
            lo = k;
        if (pts[k].y > pts[hi].y)
            hi = k;
    }
    int order[4] = {from, lo < hi ? lo : hi, lo < hi ? hi : lo, to - 1};
    int last = -1;
    for (int k : order) {
        if (k > last)
            out.push_back(pts[k]);
        last = k > last ? k : last;
    }
}

void KPlotWin::drawCurves(KDevContext& dc, bool highlight)
{
    std::vector<POINT> pts, runs;
    for (const PlotWinCurve& c : curves) {
        const int n = c.numPoints();
        pts.resize(n);
        for (int k = 0; k < n; ++k)
            pts[k] = POINT{X_to_x(c.points[k].X), Y_to_y(c.points[k].Y)};
        dc.setPen(highlight ? 0x0000FF : c.color, c.style, c.thick);
        // Other pens would change: a styled pattern runs along the segments,
        // a wide pen's joins and caps depend on them.
        if (!decimate || c.style != PS_SOLID || c.thick > 1 || n < 4) {
            dc.polyline(pts.data(), n);
            continue;
        }
        runs.clear();
        for (int from = 0, to; from < n; from = to) {
            for (to = from + 1; to < n && pts[to].x == pts[from].x; ++to) {
            }
            AppendRun(runs, pts.data(), from, to);
        }
        dc.polyline(runs.data(), (int)runs.size());
    }
}

void KPlotWin::composeDisplay(KDevContext& target)
{
    image.copy(target, 0, 0);
    target.setBkMode(TRANSPARENT);
    target.setAlign(0, 5);
    for (int i = 0; i < 2; ++i) {
        if (!isXCursorVisible(i))
            continue;
        const int x = X_to_x(param->xCur[i]);
        target.setPen(param->xCurColor[i], PS_SOLID, 0);
        target.drawLine(x, top, x, bottom);
        target.setTextColor(param->xCurColor[i]);
        target.textOut(x, top - 2, L"V", 1);
    }
    target.setAlign(1, 0);
    for (int i = 0; i < 2; ++i) {
        if (!isYCursorVisible(i))
            continue;
        const int y = Y_to_y(param->yCur[i]);
        target.setPen(param->yCurColor[i], PS_SOLID, 0);
        target.drawLine(left, y, right, y);
        target.setTextColor(param->yCurColor[i]);
        target.textOut(right + 2, y, L"<", 1);
    }
}

void KPlotWin::updateDisplay()
{
    KMemDC shown(&image, image.Width(), image.Height());
    composeDisplay(shown);
    KWinDC screen(plotArea);
    screen.bitBlt(DCRect(0, 0, shown.Width(), shown.Height()), shown, KPOINT{0, 0});
}
