// KPlotWin: an oscilloscope-like x/y plot. A fixed number of divisions per
// axis, each worth 1, 2 or 5 times a power of ten; two cursors per axis with
// read-outs of their values and differences; green (or any colour) bands over
// ranges of the horizontal axis; scroll bars that move the visible window in
// whole divisions.
//
//     PlotWinParam param;                          // the application's, outlives the window
//     KArgList args;
//     args.add(WA_HORZ_DIV, 10);
//     args.add(WA_VERT_DIV, 8);
//     KPlotWin* plot = MakePlotWin(form, &args, &param);
//     plot->setTitle("Channel %d", 3);
//     PlotWinCurve& c = plot->addCurve();          // valid until the next addCurve
//     c.setPen(RGB(0, 0, 255), PS_SOLID, 0);
//     for (int i = 0; i < n; ++i)
//         c.addPoint(t[i], v[i]);
//     plot->addBand(2.0, 3.5);                     // a green band from X 2 to 3.5
//     plot->draw();                                // render, then show with the cursors
//
// The user's mouse: a left, right or middle press on the strip of an axis
// title makes that scale coarser, finer, or 10 per division; a left press above
// the plot area places a horizontal-position cursor, right of it a
// vertical-position one; a cursor's handle (its end at the top or right edge)
// is dragged with the left button, switched off with the middle one, and a
// cursor let go outside the plot area is switched off.
//
// The picture is rendered into an off-screen bitmap by draw(); updateDisplay()
// lays the cursors over a copy and shows it, so moving a cursor never redraws
// the curves. The scale labels "%.1fx10e%d/div" are the first two children of
// the button box (one per row); the application's buttons follow them.
#ifndef KORVEL_KPLOTWIN_H
#define KORVEL_KPLOTWIN_H

#include "kform.h"
#include "krowcol.h"
#include "klabel.h"
#include "kscrollbar.h"
#include "kgraphics.h"
#include "kfile.h"

// The scales and cursors of a plot, kept by the application (for example in
// its files through IO) and shared with the window by pointer.
struct KORVEL_API PlotWinParam {
    int reserved = 2;
    int xExp = 0, yExp = 0;   // powers of ten of the value per division
    int xMant = 0, yMant = 0; // index 0..2 into 1, 2, 5
    bool xCurOn[2] = {false, false};
    double xCur[2] = {0.0, 0.0};
    COLORREF xCurColor[2] = {0x0000FF, 0xFF0000};
    bool yCurOn[2] = {false, false};
    double yCur[2] = {0.0, 0.0};
    COLORREF yCurColor[2] = {0x0000FF, 0xFF0000};

    // Reads or writes the record by the file's mode: version 2 (76 bytes);
    // a version-1 record (72 bytes) has no yExp and leaves it as it was.
    void IO(KFile& file);
};

// One point of a curve, in data units.
struct PlotWinPoint {
    double X, Y;
};

class KORVEL_API PlotWinCurve {
public:
    PlotWinCurve() = default;
    void setPen(COLORREF c, int penStyle, int width) { color = c, style = penStyle, thick = width; }
    void setStyle(int penStyle) { style = penStyle; }
    void setThick(int width) { thick = width; }
    void addPoint(double X, double Y) { points.append(PlotWinPoint{X, Y}); }
    int numPoints() const { return points.count() > 0 ? points.count() : 0; }

    COLORREF color = 0;
    int style = PS_SOLID;
    int thick = 0;
    int reserved = 1;
    KArray<PlotWinPoint> points;
};

class KORVEL_API PlotWinBand {
public:
    void setColor(COLORREF c) { color = c; }
    int reserved = 1;
    COLORREF color = 0x00FF00;
    double lo = 0.0, hi = 0.0;
};

class KORVEL_API KPlotWin : public KForm {
public:
    ~KPlotWin() override;
    // KForm's attributes, then WA_VERT_DIV and WA_HORZ_DIV; nothing is redrawn.
    void setValues(KArgList* args) override;

    // --- Texts (none redraws) ---
    void setTitle(const char* format, ...);
    void setTitleX(const char* format, ...);
    void setTitleY(const char* format, ...);
    void setTitleColor(COLORREF c) { titleColor = c; }
    void setTitleXColor(COLORREF c) { titleXColor = c; }
    void setTitleYColor(COLORREF c) { titleYColor = c; }

    // --- Data ---
    PlotWinCurve& addCurve();
    PlotWinBand& addBand(double lo, double hi);
    // Frees every curve's points and removes all curves and bands.
    void clearCurves();
    int numCurves() const { return curves.count(); }
    int numBands() const { return bands.count(); }
    // The visible window starts x divisions left of zero and y below it.
    void setOrigin(int x, int y) { originX = -x, originY = -y; }
    KRowCol* getButtonBox() const { return buttonBox; }
    PlotWinParam* getParam() const { return param; }

    // --- Rendering ---
    // Scale labels and read-outs from the parameters.
    void setData();
    // Renders titles, grid, bands and curves into the off-screen image, then
    // shows it with the cursors and sets the scroll ranges.
    void draw();
    // Shows the image with the cursors laid over a copy of it.
    void updateDisplay();
    // The picture as updateDisplay shows it, into target (at least the image's size).
    void composeDisplay(KDevContext& target);
    // Every curve into dc in pixels of the plot area, in red when highlight.
    // Solid pens of width 0 or 1 draw each pixel column's run of points as
    // its first, lowest, highest and last point: the same pixels, far fewer
    // segments. setDecimation(false) draws every point.
    void drawCurves(KDevContext& dc, bool highlight);
    void setDecimation(bool on) { decimate = on; }
    // Range and page of the scroll bars from the extent of the data.
    void setVertLimits();
    void setHorzLimits();
    KMemDC& getImage() { return image; }
    KWindow* getPlotArea() const { return plotArea; }
    KScrollBar* getVertScroll() const { return vertScroll; }
    KScrollBar* getHorzScroll() const { return horzScroll; }
    // The plot area in pixels of the drawing area, as the last draw placed it.
    KRECT getPlotRect() const { return KRECT{left, top, right, bottom}; }
    int getTitleHeight() const { return titleExtent.y; }
    int getAxisTitleHeight() const { return axisTitleExtent.y; }

    // --- Conversions (data units and pixels of the drawing area; truncated) ---
    int X_to_x(double X) const { return ToPixel((X - X0) / dX + left); }
    int Y_to_y(double Y) const { return ToPixel(bottom - (Y - Y0) / dY); }
    double x_to_X(int x) const { return (x - left) * dX + X0; }
    double y_to_Y(int y) const { return Y0 - (y - bottom) * dY; }
    // Data units of one division on each axis.
    double xUnit() const;
    double yUnit() const;

    // --- Cursors ---
    // The cursor whose handle is nearest to p (-1 when none is on); dist gets
    // its distance (1 000 000 when none).
    int getNearestHitX(KPOINT p, double* dist = nullptr) const;
    int getNearestHitY(KPOINT p, double* dist = nullptr) const;
    // The nearest cursor when its handle is less than 20 pixels away, else -1.
    int checkCursorHitX(KPOINT p) const;
    int checkCursorHitY(KPOINT p) const;
    bool isXCursorVisible(int i) const;
    bool isYCursorVisible(int i) const;

    // --- Read-outs ---
    void labelHorzScale();
    void labelVertScale();
    void showStatusX();
    void showStatusY();
    KLabel* getStatusLabel(int i) const { return i >= 0 && i < 6 ? status[i] : nullptr; }
    KLabel* getHorzScaleLabel() const { return horzScaleLabel; }
    KLabel* getVertScaleLabel() const { return vertScaleLabel; }

    static const double X_per_div[3];
    static const double Y_per_div[3];

protected:
    explicit KPlotWin(PlotWinParam* p);
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KPlotWin* MakePlotWin(KWindow* parent, KArgList* args, PlotWinParam* param);

    void exposeHandler(KWindow*, ExposeEvent*) { draw(); }
    void mouseHandler(KWindow*, MouseEvent* e);
    void horzScaleHandler(MouseEvent* e);
    void vertScaleHandler(MouseEvent* e);
    void scrollBarHandler(KScrollBar* bar, ScrollBarEvent* e);

    PlotWinParam* param;
    KMemDC image;
    KRowCol* buttonBox = nullptr;
    KLabel* vertScaleLabel = nullptr;
    KLabel* horzScaleLabel = nullptr;
    KRowCol* statusBox = nullptr;
    // x1, x2, dx, y1, y2, dy, in the order of creation.
    KLabel* status[6] = {};
    KForm* scopeForm = nullptr;
    KWindow* plotArea = nullptr;
    KScrollBar* vertScroll = nullptr;
    KScrollBar* horzScroll = nullptr;
    KPOINT titleExtent = {0, 0};
    KPOINT axisTitleExtent = {0, 0};
    KString title, titleFont;
    int titleSize = 20;
    COLORREF titleColor = 0xFF0000;
    KString titleY, titleX;
    COLORREF titleXColor = 0, titleYColor = 0;
    KString axisFont;
    int axisSize = 12;
    int horzDivs = 10, vertDivs = 8;
    int activeCursor = -1;
    int activeAxis = 0;
    double X0 = 0.0, Y0 = 0.0;
    long left = 0, top = 0, right = 100, bottom = 100;
    double dX = 1.0, dY = 1.0;
    int originX = 0, originY = 0;
    KArray<PlotWinBand> bands;
    KArray<PlotWinCurve> curves;
    bool decimate = true;
    int tickHalf = 0; // half the height of a tick label

private:
    // Truncates toward zero; values beyond what GDI takes are held at its limit.
    static int ToPixel(double v);
    void measure(int W, int H);
    void drawTitles(int H);
    void drawGrid();
    // A press on a scale strip; mant and exp are the axis's pair.
    void stepScale(MouseEvent* e, int& mant, int& exp, bool horizontal);
    void placeCursor(bool horizontal, KPOINT p);
    void dragCursor(KPOINT p);
    void releaseCursor(KPOINT p);
    void switchOffHit(KPOINT p);
    void cursorChanged(int axis);
};

KORVEL_API KPlotWin* MakePlotWin(KWindow* parent, KArgList* args, PlotWinParam* param);

#endif
