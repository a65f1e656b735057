// ScopePlot: a light plot window for live signals. The application sets fixed
// limits on both axes with a grid step each, an origin whose grid lines are
// emphasised, and any number of curves; one vertical cursor follows a press or
// a drag of any mouse button. The picture is rendered off screen by draw();
// the cursor is laid over a copy of it, so moving the cursor never redraws the
// curves.
//
//     ScopePlot* scope = MakeScopePlot(form, &args);
//     scope->setLimitsX(0.0, 1024.0, 128.0);
//     scope->setLimitsY(-2.0, 2.0, 0.5);
//     scope->setOrg(0.0, 0.0);            // these grid lines drawn thick
//     scope->setTitle("Channel %d", 3);
//     ScopePlotCurve* c = scope->addCurve();
//     c->setPen(RGB(200, 0, 0), PS_SOLID, 1);
//     for (int i = 0; i < 1024; ++i)
//         c->addPoint(i, samples[i]);
//     scope->draw();                      // limits, title and curves take effect here
//     scope->setCursor(512.0);            // only the cursor line moves
//
// Layout of the picture, from the size of "0" in DEFAULT_FIXED_FONT (cw x ch):
// the plot area runs from left = cw/2 + 8 cw to right = width - 2 cw and from
// top = ch + 2 (ch/2) to bottom = height - 2 (ch/2) - ch; the title is centred
// above it, the horizontal labels ("%.1f") centred under their grid lines,
// the vertical ones ("%3.1f") right-aligned before theirs. Curves are not
// clipped to the plot area, nor is the cursor line.
//
// Limits that would not end or would divide (settled here, drawn the same way
// every time):
// - a grid step of 0 or less (or not a number) draws only the grid line at the
//   minimum; a step so small that the running sum stops growing ends the grid
//   there; at most MAX_GRID_LINES lines are drawn along each axis;
// - equal limits (xMax == xMin or yMax == yMin), or a plot area without width
//   or height, count as a span of one data unit or one pixel in the
//   conversions, so xMin maps to left and yMax to top;
// - a pixel position is truncated toward zero and kept within +-2^27, the
//   range GDI draws in, so that a line to a far point still leaves in its
//   direction;
// - a window without area draws nothing and keeps its last picture.
#ifndef KORVEL_KSCOPEPLOT_H
#define KORVEL_KSCOPEPLOT_H

#include <windows.h>
#include "kexport.h"
#include "array"
#include "kstring.h"
#include "kmatrix.h"
#include "kgraphics.h"
#include "kwindow.h"

class ScopePlot;

// One point of a curve, in data units.
struct ScopePlotPoint {
    double X;
    double Y;
};
static_assert(sizeof(ScopePlotPoint) == 16, "a point is two doubles");

// A curve of a scope plot: a pen and points joined in the order added. Made
// by ScopePlot::addCurve and owned by the plot.
class KORVEL_API ScopePlotCurve {
public:
    void setPen(COLORREF c, int s, int t) { color = c, style = s, thick = t; }
    void setColor(COLORREF c) { color = c; }
    // A Windows pen style (PS_SOLID, PS_DOT ...).
    void setStyle(int s) { style = s; }
    void setThick(int t) { thick = t; }
    void addPoint(double const& X, double const& Y);
    // The real part as X, the imaginary part as Y.
    void addPoint(complex const& z) { addPoint(z.re, z.im); }
    int getSize() const { return points.count(); }
    const ScopePlotPoint& getPoint(int i) const { return points[i]; }
    COLORREF getColor() const { return color; }
    int getStyle() const { return style; }
    int getThick() const { return thick; }

private:
    friend class ScopePlot;
    ScopePlotCurve() = default;
    ~ScopePlotCurve() = default;
    ScopePlotCurve(const ScopePlotCurve&) = delete;
    ScopePlotCurve& operator=(const ScopePlotCurve&) = delete;

    COLORREF color = 0;
    int style = PS_SOLID;
    int thick = 0;
    KArray<ScopePlotPoint> points;
    int visible = 1; // kept with the curve; the plot does not read it
};

class KORVEL_API ScopePlot : public KWindow {
public:
    // Grid lines drawn at most along one axis.
    static const int MAX_GRID_LINES = 1000;

    ~ScopePlot() override;
    // Only KWindow's attributes.
    void setValues(KArgList* args) override;

    // The title, formatted by the string class; shown by the next draw().
    void setTitle(const char* format, ...);
    // Limits and grid steps, in data units; shown by the next draw().
    void setLimitsX(double min, double max, double step);
    void setLimitsY(double min, double max, double step);
    // The values whose grid lines are drawn thick.
    void setOrg(double x, double y);

    // A new curve at the end; valid until clearCurves() or the plot goes.
    ScopePlotCurve* addCurve();
    // Curve i, null outside 0 .. numCurves() - 1.
    ScopePlotCurve* getCurve(int i) const;
    int numCurves() const { return curves.count(); }
    void clearCurves();

    // Moves the cursor (data units) and shows it over the last picture. The
    // window's pointer shape is KWindow::setCursor(HCURSOR).
    void setCursor(double X);
    double getCursor() const { return cursor; }

    // Renders grid, labels, title and curves off screen, then shows them.
    void draw();
    // Shows the last picture with the cursor line over it.
    void updateDisplay();

    // Data units to client pixels and back.
    int X_to_x(double X) const;
    int Y_to_y(double Y) const;
    double x_to_X(int x) const;
    double y_to_Y(int y) const;

    // The plot area of the last draw(), in client pixels.
    KRECT getPlotArea() const { return KRECT{left, top, right, bottom}; }
    // The last picture, without the cursor.
    KMemDC& getImage() { return image; }

protected:
    ScopePlot();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API ScopePlot* MakeScopePlot(KWindow* parent, KArgList* args);

private:
    void exposeHandler(KWindow*, ExposeEvent*) { draw(); }
    void mouseHandler(KWindow*, MouseEvent* e);
    void drawGridX(int y0, int ch);
    void drawGridY(int cw);
    void drawCurves();

    KMemDC image;
    int left = 0, top = 0, right = 0, bottom = 0;
    KString title;
    double xMin = 0.0, xMax = 1.0, xStep = 0.2, xOrg = 0.0;
    double yMin = 0.0, yMax = 1.0, yStep = 0.2, yOrg = 0.0;
    double cursor = 0.0;
    KArray<ScopePlotCurve*> curves;
};

KORVEL_API ScopePlot* MakeScopePlot(KWindow* parent, KArgList* args);

#endif
