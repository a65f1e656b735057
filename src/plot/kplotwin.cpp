// KPlotWin: construction of the window and its parts, the parameter record,
// the data, the scales and the scroll bars.
#include "kplotwin.h"
#include <math.h>
#include <stdarg.h>

static_assert(sizeof(int) == 4 && sizeof(double) == 8 && sizeof(bool) == 1 && sizeof(COLORREF) == 4,
              "the parameter record is stored field by field in these sizes");

const double KPlotWin::X_per_div[3] = {1.0, 2.0, 5.0};
const double KPlotWin::Y_per_div[3] = {1.0, 2.0, 5.0};

// --- The parameter record ------------------------------------------------------

void PlotWinParam::IO(KFile& file)
{
    int version = 2;
    file.IO(&version);
    file.IO(&reserved);
    file.IO(&xExp);
    if (version >= 2)
        file.IO(&yExp);
    file.IO(&xMant);
    file.IO(&yMant);
    for (int i = 0; i < 2; ++i) {
        file.IO(&xCur[i]);
        file.IO(&yCur[i]);
        file.IO(&xCurOn[i]);
        file.IO(&yCurOn[i]);
        file.IO(&xCurColor[i]);
        file.IO(&yCurColor[i]);
    }
}

// --- Construction ----------------------------------------------------------------

KPlotWin* MakePlotWin(KWindow* parent, KArgList* args, PlotWinParam* param)
{
    auto* plot = new KPlotWin(param);
    plot->init(parent, args);
    return plot;
}

KPlotWin::KPlotWin(PlotWinParam* p)
    : param(p), image(1, 1), titleFont(L"Times Roman"), axisFont(L"Arial")
{
}

KPlotWin::~KPlotWin() = default;

void KPlotWin::setValues(KArgList* args)
{
    KForm::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_VERT_DIV)
            vertDivs = (int)args->val(i);
        else if (args->attr(i) == WA_HORZ_DIV)
            horzDivs = (int)args->val(i);
    }
}

static KLabel* StatusLabel(KWindow* box, const wchar_t* text)
{
    KArgList args;
    args.add(WA_BACKGROUND, (unsigned long)0xFFFFFF);
    args.add(WA_SHADOW_STYLE, 10);
    args.add(WA_ALIGN_X, 1);
    args.add(WA_LEFT_MARGIN, 5);
    args.add(WA_FONT, DEFAULT_FIXED_FONT);
    return MakeLabel(box, &args, KString(text), -1);
}

void KPlotWin::init(KWindow* parent, KArgList* args)
{
    KForm::init(parent, args);
    setDefaultOffset(5);

    KArgList boxArgs;
    boxArgs.add(WA_MARGIN_WIDTH, 5);
    boxArgs.add(WA_OUTER_MARGINS, 0);
    boxArgs.add(WA_NUM_GRID_ROW, 2);
    buttonBox = MakeRowCol(this, &boxArgs);
    attachForm(buttonBox, SIDE_LEFT, SIDE_TOP);
    KArgList scaleArgs;
    scaleArgs.add(WA_ALIGN_X, 1);
    scaleArgs.add(WA_FONT, DEFAULT_FIXED_FONT);
    horzScaleLabel = MakeLabel(buttonBox, &scaleArgs, KString(L"5.0x10e-20/div"), -1);
    vertScaleLabel = MakeLabel(buttonBox, &scaleArgs, KString(L"5.0x10e-20/div"), -1);

    KArgList statusArgs;
    statusArgs.add(WA_NUM_GRID_COL, 3);
    statusBox = MakeRowCol(this, &statusArgs);
    attachForm(statusBox, SIDE_LEFT, SIDE_RIGHT, SIDE_BOTTOM);
    const wchar_t* sizing[6] = {L"t1=xxxxxxx", L"t2=xxxxxxx", L"dt=xxxxxxx",
                                L"v1=-8,182",  L"v2=-8,182",  L"dv=-16,383"};
    for (int i = 0; i < 6; ++i)
        status[i] = StatusLabel(statusBox, sizing[i]);

    KArgList scopeArgs;
    scopeArgs.add(WA_BORDERWIDTH, 1);
    scopeForm = MakeForm(this, &scopeArgs);
    attachForm(scopeForm, SIDE_LEFT, SIDE_RIGHT);
    attach(scopeForm, SIDE_TOP, buttonBox);
    attach(scopeForm, SIDE_BOTTOM, statusBox);

    KArgList vertArgs;
    vertArgs.add(WA_ORIENTATION, 1);
    vertScroll = MakeScrollBar(scopeForm, &vertArgs);
    scopeForm->attachForm(vertScroll, SIDE_TOP, SIDE_RIGHT, SIDE_BOTTOM);
    scopeForm->attachOff(vertScroll, SIDE_BOTTOM, GetSystemMetrics(SM_CYHSCROLL));
    KArgList horzArgs;
    horzArgs.add(WA_ORIENTATION, 0);
    horzScroll = MakeScrollBar(scopeForm, &horzArgs);
    scopeForm->attachForm(horzScroll, SIDE_LEFT, SIDE_BOTTOM, SIDE_RIGHT);
    scopeForm->attachOff(horzScroll, SIDE_RIGHT, GetSystemMetrics(SM_CXVSCROLL));
    KArgList areaArgs;
    plotArea = MakeWindow(scopeForm, &areaArgs);
    scopeForm->attachForm(plotArea, SIDE_LEFT, SIDE_TOP);
    scopeForm->attach(plotArea, SIDE_RIGHT, vertScroll);
    scopeForm->attach(plotArea, SIDE_BOTTOM, horzScroll);

    vertScroll->_addEventHandler(new ScrollBarHandler<KPlotWin>(this, &KPlotWin::scrollBarHandler));
    horzScroll->_addEventHandler(new ScrollBarHandler<KPlotWin>(this, &KPlotWin::scrollBarHandler));
    plotArea->_addEventHandler(new ExposeEventHandler<KPlotWin>(this, &KPlotWin::exposeHandler));
    plotArea->_addEventHandler(new MouseEventHandler<KPlotWin>(this, &KPlotWin::mouseHandler,
                                                               ME_PRESS | ME_RELEASE | ME_DRAG | ME_LEFT |
                                                                   ME_MIDDLE | ME_RIGHT));
    setData();
}

// --- Texts and data --------------------------------------------------------------

void KPlotWin::setTitle(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    title._vsprint(format, args);
    va_end(args);
}

void KPlotWin::setTitleX(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    titleX._vsprint(format, args);
    va_end(args);
}

void KPlotWin::setTitleY(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    titleY._vsprint(format, args);
    va_end(args);
}

PlotWinCurve& KPlotWin::addCurve()
{
    return curves.append(PlotWinCurve());
}

PlotWinBand& KPlotWin::addBand(double lo, double hi)
{
    PlotWinBand band;
    band.lo = lo;
    band.hi = hi;
    return bands.append(band);
}

void KPlotWin::clearCurves()
{
    curves.reserve(0, false);
    bands.reserve(0, false);
}

void KPlotWin::setData()
{
    labelHorzScale();
    labelVertScale();
    showStatusX();
    showStatusY();
}

// --- Scales ------------------------------------------------------------------------

// 10^e by repeated squaring; 1 / 10^|e| for a negative e.
static double PowerOfTen(int e)
{
    unsigned n = e < 0 ? 0u - (unsigned)e : (unsigned)e;
    double result = 1.0, square = 10.0;
    for (; n; n >>= 1, square *= square)
        if (n & 1)
            result *= square;
    return e < 0 ? 1.0 / result : result;
}

static double Unit(const double* table, int mant, int exp)
{
    return table[mant < 0 ? 0 : mant > 2 ? 2 : mant] * PowerOfTen(exp);
}

double KPlotWin::xUnit() const { return Unit(X_per_div, param->xMant, param->xExp); }
double KPlotWin::yUnit() const { return Unit(Y_per_div, param->yMant, param->yExp); }

int KPlotWin::ToPixel(double v)
{
    // GDI takes coordinates of 27 bits; a point far outside stays far outside.
    const double limit = 1 << 27;
    if (!(v > -limit))
        return -(1 << 27);
    if (v > limit)
        return 1 << 27;
    return (int)v;
}

// --- Scroll bars ----------------------------------------------------------------

// The smallest and largest coordinate of all points; false when there is none.
static bool Extent(const KArray<PlotWinCurve>& curves, bool horizontal, double& lo, double& hi)
{
    bool any = false;
    for (const PlotWinCurve& c : curves) {
        for (const PlotWinPoint& p : c.points) {
            const double v = horizontal ? p.X : p.Y;
            lo = any && lo < v ? lo : v;
            hi = any && hi > v ? hi : v;
            any = true;
        }
    }
    return any;
}

// Whole divisions of a data value, held within what a scroll bar takes.
static int Divisions(double v)
{
    return v < -1e9 ? -1000000000 : v > 1e9 ? 1000000000 : (int)v;
}

void KPlotWin::setHorzLimits()
{
    double lo = 0, hi = 0;
    if (curves.count() <= 0 || !Extent(curves, true, lo, hi))
        return;
    const double unit = xUnit();
    horzScroll->setRange(Divisions(floor(lo / unit)), Divisions(ceil(hi / unit)));
    horzScroll->setPageSize(horzDivs);
    // The thumb follows the window also when the program or a new scale moved it.
    horzScroll->setCurVal(originX, false);
}

// The vertical bar's position p puts the top of the window at -p divisions,
// so its range runs from minus the top of the data to minus its bottom: the
// mirror of the horizontal range, and the same for data symmetric about zero.
void KPlotWin::setVertLimits()
{
    double lo = 0, hi = 0;
    if (curves.count() <= 0 || !Extent(curves, false, lo, hi))
        return;
    const double unit = yUnit();
    vertScroll->setRange(-Divisions(ceil(hi / unit)), -Divisions(floor(lo / unit)));
    vertScroll->setPageSize(vertDivs);
    vertScroll->setCurVal(-(originY + vertDivs), false);
}

// The end event of a scroll action repeats the position: it draws nothing again.
void KPlotWin::scrollBarHandler(KScrollBar* bar, ScrollBarEvent* e)
{
    if (bar == vertScroll) {
        const int y = -(vertDivs + e->value);
        if (y == originY)
            return;
        originY = y;
    } else {
        if (e->value == originX)
            return;
        originX = e->value;
    }
    draw();
}
