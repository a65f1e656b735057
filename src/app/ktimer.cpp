// Interval timers on the Windows thread timer, with the class-wide registry
// that routes each expiry to its timer's handler.
#include "ktimer.h"
#include "kdiag.h"
#include "kwindow_internal.h"

KArray<KTimer*> KTimer::timers;

namespace {

// Called from DispatchMessageW, so between it and the message loop lie
// user32's frames: nothing a handler throws may leave it.
void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    try {
        KTimer::callHandler(id);
    } catch (...) {
        ReportHandlerException(nullptr);
    }
}

} // namespace

KTimer::KTimer() : handler(nullptr), id(0), timeout(0) {}

KTimer::~KTimer()
{
    stop();
    delete handler;
}

void KTimer::setHandler(_TimerEventHandler* h)
{
    if (h == handler)
        return;
    delete handler;
    handler = h;
}

void KTimer::start(long ms)
{
    stop();
    if (ms > 0)
        timeout = ms;
    id = (unsigned)SetTimer(nullptr, 0, (UINT)timeout, TimerProc);
    if (id)
        timers.append(this);
}

void KTimer::stop()
{
    if (!id)
        return;
    KillTimer(nullptr, id);
    id = 0;
    timers.findRemove(this);
}

int KTimer::numTimer()
{
    return timers.count();
}

void KTimer::callHandler(UINT_PTR windowsId)
{
    for (KTimer* t : timers) {
        if (t->id != windowsId)
            continue;
        // The handler may stop, restart or delete its timer: nothing of the
        // timer or the registry is touched after the call.
        if (t->handler)
            (*t->handler)();
        return;
    }
}

void KTimer::printTimers()
{
    Printf("num_timer=%d\n", timers.count());
    for (int i = 0; i < timers.count(); ++i) {
        const KTimer* t = timers[i];
        Printf("timer[%d]=%p id=%x timeout=%d handler=%p\n", i, t, t->id, (int)t->timeout, t->handler);
    }
}
