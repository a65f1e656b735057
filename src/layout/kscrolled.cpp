// KScrolledWindow: scroll bars over a form's content, in percent.
#include "kscrolled.h"
#include "kdiag.h"
#include <initializer_list>

KScrolledWindow::KScrolledWindow()
{
    for (SCROLLINFO* info : {&vertInfo, &horzInfo}) {
        ZeroMemory(info, sizeof(*info));
        info->cbSize = sizeof(*info);
    }
}

KScrolledWindow::~KScrolledWindow() = default;

KScrolledWindow* MakeScrolledWindow(KWindow* parent, KArgList* args)
{
    auto* w = new KScrolledWindow;
    w->init(parent, args);
    return w;
}

void KScrolledWindow::init(KWindow* parent, KArgList* args)
{
    // The caller's list stays as it was.
    KArgList withBars = args ? *args : KArgList();
    withBars.add(WA_ADD_WINDOWS_STYLE, (unsigned long)(WS_HSCROLL | WS_VSCROLL));
    KForm::init(parent, &withBars);
}

void KScrolledWindow::setValues(KArgList* args)
{
    KForm::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_ALLOW_HORZ)
            allowHorz = (bool)args->val(i);
        else if (args->attr(i) == WA_ALLOW_VERT)
            allowVert = (bool)args->val(i);
    }
}

int KScrolledWindow::MaxPos(const SCROLLINFO& info)
{
    const int largest = info.nMax - (int)info.nPage - info.nMin + 1;
    return largest > 0 ? largest : 0;
}

void KScrolledWindow::store(int bar, SCROLLINFO& info, UINT mask)
{
    info.fMask = mask;
    SetScrollInfo(hwnd, bar, &info, TRUE);
}

void KScrolledWindow::setVertRange(int min, int max)
{
    vertInfo.nMin = min;
    vertInfo.nMax = max;
    store(SB_VERT, vertInfo, SIF_RANGE);
}

void KScrolledWindow::setHorzRange(int min, int max)
{
    horzInfo.nMin = min;
    horzInfo.nMax = max;
    store(SB_HORZ, horzInfo, SIF_RANGE);
}

void KScrolledWindow::setVertPageSize(int page)
{
    vertInfo.nPage = (UINT)(page < 1 ? 1 : page);
    store(SB_VERT, vertInfo, SIF_PAGE);
}

void KScrolledWindow::setHorzPageSize(int page)
{
    horzInfo.nPage = (UINT)(page < 1 ? 1 : page);
    store(SB_HORZ, horzInfo, SIF_PAGE);
}

static int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

void KScrolledWindow::setCurVertVal(int value)
{
    vertInfo.nPos = Clamp(value, vertInfo.nMin, getMaxVertPos());
    store(SB_VERT, vertInfo, SIF_POS);
}

void KScrolledWindow::setCurHorzVal(int value)
{
    horzInfo.nPos = Clamp(value, horzInfo.nMin, getMaxHorzPos());
    store(SB_HORZ, horzInfo, SIF_POS);
}

void KScrolledWindow::configure(bool resize)
{
    KForm::configure(resize);
    if (!allowHorz && !allowVert) {
        ShowScrollBar(hwnd, SB_BOTH, FALSE);
        return;
    }
    contentWidth = contentHeight = 0;
    for (int i = 0; i < numChild(); ++i) {
        KWindow* c = child(i);
        contentWidth = c->X() + c->Width() - 1 > contentWidth ? c->X() + c->Width() - 1 : contentWidth;
        contentHeight = c->Y() + c->Height() - 1 > contentHeight ? c->Y() + c->Height() - 1 : contentHeight;
    }
    const bool vert = allowVert && contentHeight >= clientHeight;
    const bool horz = allowHorz && contentWidth >= clientWidth;
    showVert(vert);
    showHorz(horz);
    // Showing or hiding a bar resizes the client area (and lays the form out
    // again): the pages are the visible share of what is left.
    const int w = clientWidth, h = clientHeight;
    if (vert && contentHeight >= 1) {
        setVertRange(0, 99);
        setVertPageSize(h * 100 / contentHeight);
    }
    if (horz && contentWidth >= 1) {
        setHorzRange(0, 99);
        setHorzPageSize(w * 100 / contentWidth);
    }
    // The direction that does not scroll fits the content.
    if (allowHorz && !allowVert)
        resizeClient(w, contentHeight + (horz ? GetSystemMetrics(SM_CYHSCROLL) : 0), true);
    else if (allowVert && !allowHorz)
        resizeClient(contentWidth + (vert ? GetSystemMetrics(SM_CXVSCROLL) : 0), h, true);
}

LRESULT KScrolledWindow::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_VSCROLL && msg != WM_HSCROLL)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    scrollBar(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
    return 0;
}

void KScrolledWindow::scrollBar(int bar, int code)
{
    if (code == SB_ENDSCROLL) {
        ReleaseCapture();
        return;
    }
    SCROLLINFO& info = bar == SB_VERT ? vertInfo : horzInfo;
    SCROLLINFO now = {sizeof(now), SIF_POS | SIF_TRACKPOS};
    GetScrollInfo(hwnd, bar, &now);
    SetCapture(hwnd);
    const int old = now.nPos, largest = MaxPos(info);
    int pos;
    switch (code) {
    case SB_LINEUP: pos = old - 1; break;
    case SB_LINEDOWN: pos = old + 1; break;
    case SB_PAGEUP: pos = old - (int)info.nPage; break;
    case SB_PAGEDOWN: pos = old + (int)info.nPage; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = largest; break;
    case SB_THUMBTRACK: pos = now.nTrackPos; break;
    case SB_THUMBPOSITION: pos = old; break;
    default: ErrorBox(ERRCODE(1, 1017), "Unknown scroll code=%d.", code); return;
    }
    if (pos < info.nMin || pos > largest)
        return;
    info.nPos = pos;
    store(bar, info, SIF_POS);
    const int extent = bar == SB_VERT ? contentHeight : contentWidth;
    const int by = old * extent / 100 - pos * extent / 100;
    // The content is the children: they move with the scrolled pixels.
    if (bar == SB_VERT)
        scroll(0, by, (unsigned)SW_SCROLLCHILDREN);
    else
        scroll(by, 0, (unsigned)SW_SCROLLCHILDREN);
}
