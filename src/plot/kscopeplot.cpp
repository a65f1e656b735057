// ScopePlot: grid, labels, title and curves rendered into an off-screen
// bitmap; the cursor line drawn over a copy of it on every cursor change.
#include "kscopeplot.h"
#include <math.h>

namespace {

const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF WHITE = RGB(255, 255, 255);
// GDI keeps coordinates within 27 bits; beyond that lines are dropped.
const double PIXEL_LIMIT = 134217727.0;

// Truncation toward zero of a pixel position kept in GDI's range; a value
// that is not a number (0 / 0 of degenerate data) lands on 0.
int ToPixel(double v)
{
    if (v != v)
        return 0;
    if (v > PIXEL_LIMIT)
        return (int)PIXEL_LIMIT;
    if (v < -PIXEL_LIMIT)
        return -(int)PIXEL_LIMIT;
    return (int)v;
}

// A divisor that is never 0: a zero span counts as one unit of its sign.
double Span(double d, double whenZero)
{
    return d == 0.0 ? whenZero : d;
}

// Calls line(v) for v = min, min + step, ... (a running sum) while v <= max.
// Ends when the sum stops growing (a step of 0 or less, not a number, or too
// small for v) and after MAX_GRID_LINES lines.
template <class F>
void ForGrid(double min, double max, double step, F line)
{
    double v = min;
    for (int n = 0; n < ScopePlot::MAX_GRID_LINES && v <= max; ++n) {
        line(v);
        const double next = v + step;
        if (!(next > v))
            return;
        v = next;
    }
}

} // namespace

// --- Curves ------------------------------------------------------------------

void ScopePlotCurve::addPoint(double const& X, double const& Y)
{
    points.append(ScopePlotPoint{X, Y});
}

// --- Making and settings -------------------------------------------------------

ScopePlot::ScopePlot() : image(1, 1) {}

ScopePlot::~ScopePlot()
{
    clearCurves();
    curves.free();
}

ScopePlot* MakeScopePlot(KWindow* parent, KArgList* args)
{
    auto* plot = new ScopePlot;
    plot->init(parent, args);
    return plot;
}

void ScopePlot::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ExposeEventHandler<ScopePlot>(this, &ScopePlot::exposeHandler));
    _addEventHandler(new MouseEventHandler<ScopePlot>(
        this, &ScopePlot::mouseHandler, ME_PRESS | ME_RELEASE | ME_DRAG | ME_LEFT | ME_MIDDLE | ME_RIGHT));
    configure(false);
}

void ScopePlot::setValues(KArgList* args)
{
    KWindow::setValues(args);
}

void ScopePlot::setTitle(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    title._vsprint(format, args);
    va_end(args);
}

void ScopePlot::setLimitsX(double min, double max, double step)
{
    xMin = min, xMax = max, xStep = step;
}

void ScopePlot::setLimitsY(double min, double max, double step)
{
    yMin = min, yMax = max, yStep = step;
}

void ScopePlot::setOrg(double x, double y)
{
    xOrg = x, yOrg = y;
}

ScopePlotCurve* ScopePlot::addCurve()
{
    return curves.append(new ScopePlotCurve);
}

ScopePlotCurve* ScopePlot::getCurve(int i) const
{
    if (i < 0 || i >= curves.count())
        return nullptr;
    return curves[i];
}

void ScopePlot::clearCurves()
{
    for (ScopePlotCurve* c : curves)
        delete c;
    curves.reserve(0, false);
}

void ScopePlot::setCursor(double X)
{
    cursor = X;
    updateDisplay();
}

// --- Conversions -----------------------------------------------------------------

int ScopePlot::X_to_x(double X) const
{
    return ToPixel((right - left) * (X - xMin) / Span(xMax - xMin, 1.0) + left);
}

int ScopePlot::Y_to_y(double Y) const
{
    return ToPixel((bottom - top) * (Y - yMax) / Span(yMin - yMax, -1.0) + top);
}

double ScopePlot::x_to_X(int x) const
{
    return (xMax - xMin) * (x - left) / Span(right - left, 1.0) + xMin;
}

double ScopePlot::y_to_Y(int y) const
{
    return (yMin - yMax) * (y - top) / Span(bottom - top, 1.0) + yMax;
}

// --- Drawing -----------------------------------------------------------------------

void ScopePlot::draw()
{
    const KRECT client = getClientRect();
    const int w = client.right, h = client.bottom;
    // A bitmap cannot be empty: a window without area keeps its last picture.
    if (!hwnd || w < 1 || h < 1)
        return;
    if (image.Width() != w || image.Height() != h)
        image.setBitmapSize(w, h);
    image.fillRect(DCRect(0, 0, w, h), background);
    image.setBkMode(TRANSPARENT);
    image.setFont(DEFAULT_FIXED_FONT);
    int cw = 0, ch = 0;
    image.getTextExtent(KString(L"0"), &cw, &ch);
    left = cw / 2 + 8 * cw;
    top = ch + 2 * (ch / 2);
    right = w - 2 * cw;
    bottom = h - 2 * (ch / 2) - ch;
    image.fillRect(DCRect(left, top, right - left, bottom - top), WHITE);
    const int y0 = Y_to_y(0.0);
    image.setAlign(0, 4);
    image.textOut((left + right) / 2, ch / 2, title);
    drawGridX(y0, ch);
    drawGridY(cw);
    drawCurves();
    updateDisplay();
}

// Vertical grid lines with their labels under the plot area; the one at the
// origin is drawn thick from the top down to the level of 0.
void ScopePlot::drawGridX(int y0, int ch)
{
    ForGrid(xMin, xMax, xStep, [&](double X) {
        const int x = X_to_x(X);
        image.setPen(BLACK, PS_DOT, 0);
        image.drawLine(x, top, x, bottom);
        if (fabs(X - xOrg) < 1e-6) {
            image.setPen(BLACK, PS_SOLID, 2);
            image.drawLine(x, top, x, y0);
        }
        image.setAlign(0, 4);
        image.wprintf(x, bottom + ch / 2, "%.1f", X);
    });
}

// Horizontal grid lines with their labels left of the plot area.
void ScopePlot::drawGridY(int cw)
{
    ForGrid(yMin, yMax, yStep, [&](double Y) {
        const int y = Y_to_y(Y);
        const bool origin = fabs(Y - yOrg) < 1e-6;
        image.setPen(BLACK, origin ? PS_SOLID : PS_DOT, origin ? 2 : 0);
        image.drawLine(left, y, right, y);
        image.setAlign(2, 0);
        image.wprintf(left - cw / 2, y, "%3.1f", Y);
    });
}

void ScopePlot::drawCurves()
{
    for (const ScopePlotCurve* c : curves) {
        if (c->getSize() == 0)
            continue;
        image.setPen(c->color, c->style, c->thick);
        const ScopePlotPoint& first = c->points[0];
        image.moveTo(X_to_x(first.X), Y_to_y(first.Y));
        for (int i = 1; i < c->getSize(); ++i)
            image.lineTo(X_to_x(c->points[i].X), Y_to_y(c->points[i].Y));
    }
}

void ScopePlot::updateDisplay()
{
    const KRECT client = getClientRect();
    if (!hwnd || client.right < 1 || client.bottom < 1)
        return;
    KMemDC shown(client.right, client.bottom);
    // Before the first draw() the picture is smaller than the window.
    shown.fillRect(DCRect(0, 0, client.right, client.bottom), background);
    image.copy(shown, 0, 0, SRCCOPY);
    const int x = X_to_x(cursor);
    shown.setPen(BLACK, PS_SOLID, 0);
    shown.drawLine(x, top, x, bottom);
    KWinDC window(this);
    shown.copy(window, 0, 0, SRCCOPY);
}

// A press or a drag of any button places the cursor, inside the plot area or
// not; releases leave it.
void ScopePlot::mouseHandler(KWindow*, MouseEvent* e)
{
    if (!(e->type & (ME_PRESS | ME_DRAG)))
        return;
    cursor = x_to_X(e->x);
    updateDisplay();
}
