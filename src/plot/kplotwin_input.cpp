// KPlotWin: the mouse on the drawing area (scale strips, cursors) and the
// read-outs of the scales and cursors.
#include "kplotwin.h"
#include <math.h>

// --- Cursor hits ------------------------------------------------------------------

// A press closer than this to a cursor's handle takes the cursor.
static const double HitRadius = 20.0;

static double Distance(KPOINT p, long x, long y)
{
    const double dx = (double)p.x - x, dy = (double)p.y - y;
    return sqrt(dx * dx + dy * dy);
}

// The nearest of the cursors that are on, by the distance to its handle.
static int Nearest(const bool* on, const double* d, double* dist)
{
    int best = -1;
    double bestDist = 1000000.0;
    for (int i = 0; i < 2; ++i) {
        if (on[i] && (best < 0 || d[i] < bestDist)) {
            best = i;
            bestDist = d[i];
        }
    }
    if (dist)
        *dist = bestDist;
    return best;
}

int KPlotWin::getNearestHitX(KPOINT p, double* dist) const
{
    const double d[2] = {Distance(p, X_to_x(param->xCur[0]), top),
                         Distance(p, X_to_x(param->xCur[1]), top)};
    return Nearest(param->xCurOn, d, dist);
}

int KPlotWin::getNearestHitY(KPOINT p, double* dist) const
{
    const double d[2] = {Distance(p, right, Y_to_y(param->yCur[0])),
                         Distance(p, right, Y_to_y(param->yCur[1]))};
    return Nearest(param->yCurOn, d, dist);
}

int KPlotWin::checkCursorHitX(KPOINT p) const
{
    double dist = 0;
    const int i = getNearestHitX(p, &dist);
    return dist < HitRadius ? i : -1;
}

int KPlotWin::checkCursorHitY(KPOINT p) const
{
    double dist = 0;
    const int i = getNearestHitY(p, &dist);
    return dist < HitRadius ? i : -1;
}

bool KPlotWin::isXCursorVisible(int i) const
{
    if (!param->xCurOn[i])
        return false;
    const int x = X_to_x(param->xCur[i]);
    return left <= x && x <= right;
}

bool KPlotWin::isYCursorVisible(int i) const
{
    if (!param->yCurOn[i])
        return false;
    const int y = Y_to_y(param->yCur[i]);
    return top <= y && y <= bottom;
}

// --- The mouse ----------------------------------------------------------------------

void KPlotWin::mouseHandler(KWindow*, MouseEvent* e)
{
    const KPOINT p = {e->x, e->y};
    if (p.x <= axisTitleExtent.y) {
        vertScaleHandler(e);
        return;
    }
    if (p.y > plotArea->height() - axisTitleExtent.y) {
        horzScaleHandler(e);
        return;
    }
    if (p.y < titleExtent.y)
        return;
    if (e->type == (ME_PRESS | ME_MIDDLE)) {
        switchOffHit(p);
        return;
    }
    if (e->type == (ME_PRESS | ME_LEFT)) {
        activeCursor = checkCursorHitX(p);
        activeAxis = 0;
        if (activeCursor < 0) {
            activeCursor = checkCursorHitY(p);
            activeAxis = 1;
        }
        if (activeCursor >= 0)
            return;
        if (left <= p.x && p.x <= right && p.y < top)
            placeCursor(true, p);
        else if (top <= p.y && p.y <= bottom && p.x > right)
            placeCursor(false, p);
        return;
    }
    if (activeCursor < 0)
        return;
    if (e->type == (ME_DRAG | ME_LEFT))
        dragCursor(p);
    else if (e->type == (ME_RELEASE | ME_LEFT))
        releaseCursor(p);
}

void KPlotWin::cursorChanged(int axis)
{
    if (axis == 0)
        showStatusX();
    else
        showStatusY();
    setIsModified(true);
    updateDisplay();
}

void KPlotWin::switchOffHit(KPOINT p)
{
    int i = checkCursorHitX(p);
    if (i >= 0) {
        param->xCurOn[i] = false;
    } else {
        i = checkCursorHitY(p);
        if (i >= 0)
            param->yCurOn[i] = false;
    }
    showStatusX();
    showStatusY();
    setIsModified(true);
    updateDisplay();
}

// A press in the margin above (horizontal) or right of the plot area puts a
// hidden cursor there, or else moves the nearer one.
void KPlotWin::placeCursor(bool horizontal, KPOINT p)
{
    const int axis = horizontal ? 0 : 1;
    bool visible[2];
    for (int i = 0; i < 2; ++i)
        visible[i] = horizontal ? isXCursorVisible(i) : isYCursorVisible(i);
    int i = !visible[0] ? 0 : !visible[1] ? 1 : horizontal ? getNearestHitX(p) : getNearestHitY(p);
    if (horizontal) {
        param->xCur[i] = x_to_X(p.x);
        param->xCurOn[i] = true;
    } else {
        param->yCur[i] = y_to_Y(p.y);
        param->yCurOn[i] = true;
    }
    cursorChanged(axis);
}

void KPlotWin::dragCursor(KPOINT p)
{
    if (activeAxis == 0)
        param->xCur[activeCursor] = x_to_X(p.x);
    else
        param->yCur[activeCursor] = y_to_Y(p.y);
    cursorChanged(activeAxis);
}

// A cursor let go outside the plot area is not drawn there; it is switched off.
void KPlotWin::releaseCursor(KPOINT p)
{
    const int i = activeCursor;
    activeCursor = -1;
    if (activeAxis == 0 && (p.x < left || p.x > right)) {
        param->xCurOn[i] = false;
        showStatusX();
    } else if (activeAxis == 1 && (p.y < top || p.y > bottom)) {
        param->yCurOn[i] = false;
        showStatusY();
    }
}

// --- Scales ---------------------------------------------------------------------------

void KPlotWin::horzScaleHandler(MouseEvent* e) { stepScale(e, param->xMant, param->xExp, true); }
void KPlotWin::vertScaleHandler(MouseEvent* e) { stepScale(e, param->yMant, param->yExp, false); }

void KPlotWin::stepScale(MouseEvent* e, int& mant, int& exp, bool horizontal)
{
    const int oldMant = mant, oldExp = exp;
    if (e->type == (ME_PRESS | ME_MIDDLE)) {
        mant = 0;
        exp = 1;
    } else if (e->type == (ME_PRESS | ME_LEFT)) {
        if (mant < 2)
            ++mant;
        else if (exp < 20)
            ++exp, mant = 0;
    } else if (e->type == (ME_PRESS | ME_RIGHT)) {
        if (mant >= 1)
            --mant;
        else if (exp > -20)
            --exp, mant = 2;
    } else {
        return;
    }
    if (e->type != (ME_PRESS | ME_MIDDLE) && mant == oldMant && exp == oldExp) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (horizontal)
        labelHorzScale();
    else
        labelVertScale();
    setIsModified(true);
    draw();
}

// --- Read-outs --------------------------------------------------------------------------

static int Index(int mant) { return mant < 0 ? 0 : mant > 2 ? 2 : mant; }

void KPlotWin::labelHorzScale()
{
    if (horzScaleLabel)
        horzScaleLabel->wprintf("%.1fx10e%d/div", X_per_div[Index(param->xMant)], param->xExp);
}

void KPlotWin::labelVertScale()
{
    if (vertScaleLabel)
        vertScaleLabel->wprintf("%.1fx10e%d/div", Y_per_div[Index(param->yMant)], param->yExp);
}

// One axis's three labels: both values in their colours and, while both are
// on, their difference.
static void ShowCursors(KLabel* const* labels, const char* const* formats, const bool* on,
                        const double* value, const COLORREF* colour)
{
    for (int i = 0; i < 2; ++i) {
        if (on[i])
            labels[i]->wprintf(colour[i], 0xFFFFFF, formats[i], value[i]);
        else
            labels[i]->setText(KString());
    }
    if (on[0] && on[1])
        labels[2]->wprintf(formats[2], value[1] - value[0]);
    else
        labels[2]->setText(KString());
}

void KPlotWin::showStatusX()
{
    static const char* const formats[3] = {"x1=%g", "x2=%g", "dx=%g"};
    ShowCursors(status, formats, param->xCurOn, param->xCur, param->xCurColor);
}

void KPlotWin::showStatusY()
{
    static const char* const formats[3] = {"y1=%g", "y2=%g", "dy=%g"};
    ShowCursors(status + 3, formats, param->yCurOn, param->yCur, param->yCurColor);
}
