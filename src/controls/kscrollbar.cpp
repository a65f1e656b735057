// KScrollBar: the native scroll bar in a library window.
#include "kscrollbar.h"

static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is 28 bytes");

ScrollBarEvent::ScrollBarEvent(KScrollBar* b, int e, bool fc)
    : Event(b), bar(b), orientation(b->getOrientation()), value(b->getCurVal()), min(b->getMinVal()),
      max(b->getMaxVal()), end(e), fromControl(fc)
{
}

KScrollBar::KScrollBar()
{
    info = {};
    info.cbSize = sizeof info;
    info.nMax = 100;
    info.nPage = 1;
}

KScrollBar::~KScrollBar() = default;

KScrollBar* MakeScrollBar(KWindow* parent, KArgList* args)
{
    auto* bar = new KScrollBar;
    bar->initBar(parent, args);
    return bar;
}

void KScrollBar::initBar(KWindow* p, KArgList* args)
{
    KWindow::init(p, args);
    // Across the bar, a thickness never given takes the system's.
    forgetUngivenSize(args, orientation == 1, orientation == 0);
    _addEventHandler(new ResizeEventHandler<KScrollBar>(this, &KScrollBar::resized));
    createControl();
    configure(false);
}

void KScrollBar::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i)
        if (args->attr(i) == WA_ORIENTATION)
            orientation = (int)args->val(i);
}

void KScrollBar::createControl()
{
    const DWORD kind = orientation == 1 ? SBS_VERT : SBS_HORZ;
    control = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | kind, 0, 0, clientWidth, clientHeight, hwnd,
                              nullptr, KWNDCLASS::hInst, nullptr);
    apply(SIF_RANGE | SIF_POS | SIF_PAGE, false);
    ShowWindow(control, SW_SHOW);
}

void KScrollBar::configure(bool)
{
    if (orientation == 0 && clientHeight == 0)
        clientHeight = GetSystemMetrics(SM_CYHSCROLL);
    if (orientation == 1 && clientWidth == 0)
        clientWidth = GetSystemMetrics(SM_CXVSCROLL);
    resizeClient(clientWidth, clientHeight, true);
    if (control)
        MoveWindow(control, 0, 0, clientWidth, clientHeight, TRUE);
}

void KScrollBar::resized(KWindow*, ResizeEvent*)
{
    if (control)
        MoveWindow(control, 0, 0, clientWidth, clientHeight, TRUE);
}

void KScrollBar::apply(UINT mask, bool redraw)
{
    SCROLLINFO set = info;
    set.fMask = mask;
    SetScrollInfo(control, SB_CTL, &set, redraw);
}

void KScrollBar::setRange(int min, int max)
{
    info.nMin = min;
    info.nMax = max;
    apply(SIF_RANGE, true);
}

void KScrollBar::setPageSize(int page)
{
    info.nPage = page < 1 ? 1 : page;
    apply(SIF_PAGE, true);
}

int KScrollBar::getMaxPos() const
{
    const int last = info.nMax - (int)info.nPage - info.nMin + 1;
    return last < 0 ? 0 : last;
}

void KScrollBar::setCurVal(int value, bool notify)
{
    if (value > getMaxPos())
        value = getMaxPos();
    if (value < info.nMin)
        value = info.nMin;
    info.nPos = value;
    apply(SIF_POS, true);
    if (!notify)
        return;
    ScrollBarEvent e(this, 1, false);
    callHandlers(&e);
}

int KScrollBar::target(int code)
{
    SCROLLINFO now = {};
    now.cbSize = sizeof now;
    switch (code) {
    case SB_TOP: return info.nMin;
    case SB_LINEUP: return info.nPos - 1;
    case SB_LINEDOWN: return info.nPos + 1;
    case SB_PAGEUP: return info.nPos - (int)info.nPage;
    case SB_PAGEDOWN: return info.nPos + (int)info.nPage;
    case SB_BOTTOM: return getMaxPos();
    case SB_THUMBTRACK:
        now.fMask = SIF_TRACKPOS;
        GetScrollInfo(control, SB_CTL, &now);
        return now.nTrackPos;
    case SB_THUMBPOSITION:
        now.fMask = SIF_POS;
        GetScrollInfo(control, SB_CTL, &now);
        return now.nPos;
    default:
        Fatal("scrollb", 150, "Unknown code=%d", code);
        return info.nPos;
    }
}

LRESULT KScrollBar::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg != WM_HSCROLL && msg != WM_VSCROLL) || (lParam && (HWND)lParam != control))
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const int code = LOWORD(wParam);
    if (code == SB_ENDSCROLL) {
        ReleaseCapture();
        ScrollBarEvent e(this, 1, lParam != 0);
        callHandlers(&e);
        return 0;
    }
    SetCapture(control);
    const int pos = target(code);
    if (pos < info.nMin || pos > getMaxPos())
        return 0;
    info.nPos = pos;
    apply(SIF_POS, true);
    ScrollBarEvent e(this, 0, lParam != 0);
    callHandlers(&e);
    return 0;
}
