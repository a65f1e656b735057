// KWindow: the handler chain, the cursor, pointer enter/leave and messages
// written to the top level's message window.
#include "kwindow.h"
#include "kapp.h"
#include "kservices.h"
#include "kwindow_internal.h"
#include "ktooltip.h"
#include "kmessagewin.h"

namespace {

// The watches of this thread, innermost first. Linked for their lifetime, so
// that an exception thrown by a handler unlinks its delivery too.
WindowWatch* running_watches = nullptr;

} // namespace

WindowWatch::WindowWatch(KWindow* w) : window(w), outer(running_watches)
{
    running_watches = this;
}

WindowWatch::~WindowWatch()
{
    running_watches = outer;
}

void EndWatchesOf(KWindow* w)
{
    for (WindowWatch* d = running_watches; d; d = d->outer)
        if (d->window == w)
            d->window = nullptr;
}

void HandlerRemoved(KWindow* w, int removed)
{
    for (WindowWatch* d = running_watches; d; d = d->outer)
        if (d->window == w && removed < d->next)
            --d->next;
}

int KWindow::callHandlers(Event* e)
{
    if (destroying && !dynamic_cast<DestroyEvent*>(e))
        return 0;
    WindowWatch d(this);
    int taken = 0;
    // The length is read again at every step, so a handler added during the
    // delivery is offered the event too; removals move d.next back.
    while (d.alive() && d.next < handlers.count()) {
        EventHandler* h = handlers[d.next++];
        if (h->callHandler(this, e))
            ++taken;
    }
    return taken;
}

EventHandler* KWindow::_addEventHandler(EventHandler* h)
{
    addedHandlerHandler(h);
    handlers.append(h);
    return h;
}

void KWindow::_removeEventHandler(EventHandler* h)
{
    removedHandlerHandler(h);
    const int removed = handlers.findRemove(h);
    if (removed >= 0)
        HandlerRemoved(this, removed);
}

bool KWindow::hasIOHandlers() const
{
    for (int i = 0; i < handlers.count(); ++i)
        if (handlers[i]->iSIOHandler())
            return true;
    return false;
}

void AddEventHandler(KWindow* w, void (*f)(KWindow*, ExposeEvent*))
{
    w->_addEventHandler(new ExposeEventProc(f));
}

void AddEventHandler(KWindow* w, void (*f)(KWindow*, DeviceEvent*))
{
    w->_addEventHandler(new DeviceEventProc(f));
}

void KWindow::setCursor(HCURSOR h)
{
    cursor = h;
    SetCursor(h);
}

void KWindow::limitMouse(bool on)
{
    if (!on) {
        ClipCursor(nullptr);
        setCursor(ARROW_CURSOR);
        return;
    }
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    ClipCursor(&r);
    setCursor(CROSS_CURSOR);
}

int KWindow::compressMotionEvents(MouseEvent* last)
{
    MSG msg, lastMsg = {};
    int n = 0;
    while (PeekMessageW(&msg, hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        lastMsg = msg;
        ++n;
    }
    if (n > 0 && last)
        *last = MouseEvent(this, lastMsg.message, lastMsg.wParam, lastMsg.lParam);
    return n;
}

bool KWindow::_setCursorHandler(HWND window, int hitTest)
{
    HCURSOR c = nullptr;
    switch (hitTest) {
    case HTCLIENT:
        if (window != hwnd)
            return false;
        c = KWaitCursor::usingWaitCursor() ? WAIT_CURSOR : cursor;
        break;
    case HTLEFT:
    case HTRIGHT: c = SIZEWE_CURSOR; break;
    case HTTOP:
    case HTBOTTOM: c = SIZENS_CURSOR; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: c = SIZENWSE_CURSOR; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: c = SIZENESW_CURSOR; break;
    default: return false;
    }
    SetCursor(c);
    return true;
}

static void TrackMouse(HWND hwnd, DWORD flags)
{
    TRACKMOUSEEVENT t = {sizeof(t), flags, hwnd, 500};
    TrackMouseEvent(&t);
}

void KWindow::_enterLeaveNotify(bool enter)
{
    if (!enter && tool_tip) {
        delete tool_tip;
        tool_tip = nullptr;
    }
    if (enter && !tool_tip && toolTipText.notNull() && KAppClass::getUseToolTip())
        TrackMouse(hwnd, TME_HOVER | TME_LEAVE);
    if (!enterLeaveEnabled)
        return;
    if (!enter) {
        high_win = nullptr;
        enterLeaveHandler(false);
    } else if (high_win != this) {
        high_win = this;
        TrackMouse(hwnd, TME_LEAVE);
        enterLeaveHandler(true);
    }
}

void KWindow::_hoverHandler()
{
    if (tool_tip || toolTipText.isNull())
        return;
    POINT p;
    GetCursorPos(&p);
    tool_tip = new KToolTip(toolTipText);
    tool_tip->track(p.x + 16, p.y + 24);
}

// --- Messages -----------------------------------------------------------

void KWindow::_mprintf(int field, unsigned long fg, unsigned long bg, const char* format, va_list args)
{
    if (!this)
        return;
    if (KMessageWin* m = getMessageWin())
        m->_wprintf(field, fg, bg, format, args);
}

namespace {

// How errors and warnings look in the message window, sound and are logged.
struct ReportStyle {
    unsigned long foreground, background;
    unsigned beep;
    const char* logTag;
};

const ReportStyle ERROR_STYLE = {0xFFFFFF, 0x0000FF, MB_ICONHAND, "ERROR"};  // white on red
const ReportStyle WARNING_STYLE = {0, 0x00FFFF, MB_OK, "WARNING"};        // black on yellow

} // namespace

// The beep and the log line come even when there is no message window.
static void Report(KWindow* w, int field, ERRCODE code, const char* format, va_list args,
                   const ReportStyle& style)
{
    KString text;
    text._vsprint(format, args);
    w->mprintf(field, style.foreground, style.background, "(%02d-%04d) %S", code.group,
               code.number, &text);
    Beep(style.beep);
    LogPrintf("%s(%02d-%04d) %S\n", style.logTag, code.group, code.number, &text);
}

void KWindow::_err_printf(int field, ERRCODE code, const char* format, va_list args)
{
    if (this)
        Report(this, field, code, format, args, ERROR_STYLE);
}

void KWindow::_warn_printf(int field, ERRCODE code, const char* format, va_list args)
{
    if (this)
        Report(this, field, code, format, args, WARNING_STYLE);
}

#define FORWARD(call)            \
    va_list args;                \
    va_start(args, format);      \
    call;                        \
    va_end(args)

void KWindow::err_printf(ERRCODE code, const char* format, ...) { FORWARD(_err_printf(0, code, format, args)); }
void KWindow::err_printf(int field, ERRCODE code, const char* format, ...) { FORWARD(_err_printf(field, code, format, args)); }
void KWindow::warn_printf(ERRCODE code, const char* format, ...) { FORWARD(_warn_printf(0, code, format, args)); }
void KWindow::warn_printf(int field, ERRCODE code, const char* format, ...) { FORWARD(_warn_printf(field, code, format, args)); }
void KWindow::mprintf(const char* format, ...) { FORWARD(_mprintf(0, 0, 0, format, args)); }
void KWindow::mprintf(int field, const char* format, ...) { FORWARD(_mprintf(field, 0, 0, format, args)); }
void KWindow::mprintf(int field, unsigned long fg, unsigned long bg, const char* format, ...)
{
    FORWARD(_mprintf(field, fg, bg, format, args));
}

void KWindow::mshow_progress(int field, double percent)
{
    if (!this)
        return;
    if (KMessageWin* m = getMessageWin())
        m->showProgress(field, percent);
}

void KWindow::clearMessageWin()
{
    KMessageWin* m = this ? getMessageWin() : nullptr;
    if (m && m->getMessageLength(0) > 0)
        m->wprintf(0, 0, 0, "");
}
