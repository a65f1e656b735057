// KWindow: geometry, showing, painting helpers, colours and the border.
#include "kwindow.h"
#include "kgraphics.h"

void KWindow::move(int x, int y, int w, int h, bool repaint)
{
    winX = x;
    winY = y;
    winWidth = w;
    winHeight = h;
    MoveWindow(hwnd, x, y, w, h, repaint);
}

void KWindow::move(int x, int y, bool repaint)
{
    move(x, y, winWidth, winHeight, repaint);
}

void KWindow::resize(int w, int h, bool repaint)
{
    move(winX, winY, w, h, repaint);
}

void KWindow::resizeClient(int w, int h, bool repaint)
{
    RECT r = {0, 0, w, h};
    AdjustWindowRectEx(&r, style, hasMenu(), exStyle);
    resize(r.right - r.left, r.bottom - r.top, repaint);
}

KRECT KWindow::getClientRect() const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    return KRECT{r.left, r.top, r.right, r.bottom};
}

KRECT KWindow::getWindowRect() const
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    return KRECT{r.left, r.top, r.right, r.bottom};
}

DCRect KWindow::mapClientRect(KWindow* other) const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(other->hwnd, &r);
    MapWindowPoints(other->hwnd, hwnd, reinterpret_cast<POINT*>(&r), 2);
    return DCRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void KWindow::clientToScreen(KPOINT* p) const
{
    POINT pt = {p->x, p->y};
    ClientToScreen(hwnd, &pt);
    p->x = pt.x;
    p->y = pt.y;
}

bool KWindow::isPointerInWindow() const
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    return ChildWindowFromPoint(hwnd, pt) != nullptr;
}

void KWindow::show(bool on)
{
    mapped = on;
    ShowEvent e(this, on);
    callHandlers(&e);
    _showTree(on, true);
    ShowWindow(hwnd, on ? SW_SHOW : SW_HIDE);
}

void KWindow::_showTree(bool on, bool top)
{
    if (destroying)
        return;
    visible = on;
    showHandler(on);
    for (int i = 0; i < children.count(); ++i)
        children[i]->_showTree(on, false);
    (void)top;
}

void KWindow::_enableTree(bool on)
{
    if (destroying)
        return;
    inputEnabled = on;
    enableHandler(on);
    for (int i = 0; i < children.count(); ++i)
        children[i]->_enableTree(on);
}

void KWindow::setManaged(bool on)
{
    managed = on;
    show(on);
}

void KWindow::invalidate(bool erase)
{
    InvalidateRect(hwnd, nullptr, erase);
}

void KWindow::invalidate(const DCRect& r, bool erase)
{
    RECT rc = {r.x, r.y, r.x + r.w, r.y + r.h};
    InvalidateRect(hwnd, &rc, erase);
}

void KWindow::expose()
{
    invalidate(true);
    update();
}

void KWindow::redrawWindow()
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

namespace {

// A context the system lends for one message (WM_ERASEBKGND).
struct AdoptedDC : KDevContext {
    explicit AdoptedDC(HDC h) : KDevContext(h) {}
};

} // namespace

void KWindow::clear()
{
    // The whole client area, whatever origin the window's coordinates have.
    KWinDC dc(this);
    dc.setViewportOrg(0, 0);
    dc.setWindowOrg(0, 0);
    dc.fillRect(DCRect(0, 0, clientWidth, clientHeight), background);
}

void KWindow::scroll(int dx, int dy, unsigned int flags)
{
    ScrollWindowEx(hwnd, dx, dy, nullptr, nullptr, nullptr, nullptr, flags | SW_INVALIDATE | SW_ERASE);
    UpdateWindow(hwnd);
}

void KWindow::scroll(const DCRect& r, int dx, int dy, unsigned int flags)
{
    RECT rc = {r.x, r.y, r.x + r.w, r.y + r.h};
    ScrollWindowEx(hwnd, dx, dy, &rc, &rc, nullptr, nullptr, flags | SW_INVALIDATE | SW_ERASE);
    UpdateWindow(hwnd);
}

void KWindow::scroll(const DCRect& r, const KPOINT& d, unsigned int flags)
{
    scroll(r, d.x, d.y, flags);
}

void KWindow::drawFocusRect(KWinDC& dc, DCRect r, bool focused)
{
    // A dotted ring two pixels outside r, in the highlight colour when focused
    // and in the background colour (erasing it) when not.
    LOGBRUSH lb = {BS_SOLID, focused ? GetSysColor(COLOR_HIGHLIGHT) : background, 0};
    KDrawObj dotted(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr), true);
    dc.setPen((HPEN)dotted.getHandle());
    dc.clearBrush();
    dc.rectangle(DCRect(r.x - 2, r.y - 2, r.w + 4, r.h + 4));
    dc.restoreSelection();
}

void KWindow::setBackground(COLORREF colour, bool repaint)
{
    background = colour;
    if (repaint)
        invalidate(true);
}

COLORREF KWindow::setForeground(COLORREF colour)
{
    COLORREF old = foreground;
    foreground = colour;
    return old;
}

COLORREF KWindow::setBorderColor(COLORREF colour, bool redraw)
{
    COLORREF old = borderColor;
    borderColor = colour;
    if (redraw)
        drawBorder();
    return old;
}

void KWindow::setShadowStyle(int s)
{
    edgeStyle = (short)s;
    drawBorder();
}

bool KWindow::drawBorder()
{
    if (!parent || (!borderWidth && !edgeThick))
        return false;
    KWinDC dc(this, true);
    if (borderWidth == 1) {
        dc.setPen(borderColor, PS_SOLID, 1);
        dc.drawRect(DCRect(0, 0, winWidth, winHeight));
    }
    if (edgeThick > 0)
        dc.drawEdge(DCRect(borderWidth, borderWidth, winWidth - 2 * borderWidth, winHeight - 2 * borderWidth),
                    edgeStyle, BF_RECT);
    return true;
}

void KWindow::eraseBackground(HDC hdc)
{
    if (!doEraseBackground)
        return;
    AdoptedDC dc(hdc);
    KRECT clip;
    dc.getClipBox(clip);
    dc.fillRect(clip, background);
}

void KWindow::setFocusToTop()
{
    SetFocus(getTopLevel()->hwnd);
}

void KWindow::activateOwner()
{
    if (!owner)
        return;
    HWND top = owner->getTopLevel()->hwnd;
    if (top && GetActiveWindow() != top)
        SetActiveWindow(top);
}

void KWindow::setCoord(HDC hdc) const
{
    SetMapMode(hdc, mapMode);
    SetViewportOrgEx(hdc, vpOrgX, vpOrgY, nullptr);
    SetViewportExtEx(hdc, vpExtX, vpExtY, nullptr);
    SetWindowOrgEx(hdc, winOrgX, winOrgY, nullptr);
    SetWindowExtEx(hdc, winExtX, winExtY, nullptr);
}
