// KTimer: an interval timer with one handler, on the Windows thread timer.
// Its expiries arrive through whatever message loop runs (the main loop of
// KAppClass::run or a modal loop), so a timer fires only while one does.
//
//     KTimer blink;
//     blink.setHandler(new TimerEventHandler<Cursor>(this, &Cursor::toggle));
//     blink.start(500);   // every 500 ms until stop() or destruction
#ifndef KORVEL_KTIMER_H
#define KORVEL_KTIMER_H

#include <windows.h>
#include "kexport.h"
#include "array"
#include "kevent.h"

class KORVEL_API KTimer {
public:
    KTimer();
    // Stops the timer and destroys its handler; an expiry still queued for
    // it is ignored.
    ~KTimer();
    KTimer(const KTimer&) = delete;
    KTimer& operator=(const KTimer&) = delete;

    // Takes ownership of h and destroys the previous handler.
    void setHandler(_TimerEventHandler* h);
    // Restarts the timer; ms <= 0 keeps the previous interval.
    void start(long ms = 0);
    void stop();
    bool isRunning() const { return id != 0; }
    long getTimeout() const { return timeout; }

    // The running timers, in the order they were started.
    static int numTimer();
    // Calls the handler of the running timer with this Windows id; unknown
    // ids (a timer stopped after its expiry was queued) are ignored.
    static void callHandler(UINT_PTR id);
    // Writes the running timers to the log.
    static void printTimers();
    static KArray<KTimer*> timers;

private:
    _TimerEventHandler* handler;
    unsigned id; // the Windows timer id; 0 while stopped
    long timeout;
};

#endif
