// Interval timers through the real message loop.
#include <gtest/gtest.h>
#include <stdexcept>
#include "test_support.h"

namespace {

// Counts expiries; stops its timer on the first one and throws when told to.
struct Counter {
    int fired = 0;
    KTimer timer;
    bool stopFirst = false, throws = false;
    Counter() { timer.setHandler(new TimerEventHandler<Counter>(this, &Counter::tick)); }
    void tick()
    {
        ++fired;
        if (stopFirst)
            timer.stop();
        if (throws)
            throw std::runtime_error("tick failed");
    }
};

} // namespace

TEST(Timers, FireThroughTheLoopKeepTheirIntervalAndIgnoreLateExpiries)
{
    const int before = KTimer::numTimer();
    {
        Counter c;
        c.timer.start(50);
        EXPECT_EQ(&c.timer, KTimer::timers[before]);
        WaitFor([] { return false; }, 1000);
        EXPECT_TRUE(c.fired >= 8 && c.fired <= 24) << c.fired << " expiries, about 20 expected";
        c.timer.stop();
        c.timer.start(0);
        EXPECT_TRUE(c.timer.isRunning() && c.timer.getTimeout() == 50) << "start(0) keeps the interval";
        EXPECT_EQ(before + 1, KTimer::numTimer()) << "a restart is registered once";
    }
    EXPECT_EQ(before, KTimer::numTimer());

    // An expiry taken off the queue (pumping would deliver it) before its timer is destroyed is ignored.
    auto* late = new Counter;
    late->timer.start(10);
    MSG msg = {};
    for (int i = 0; i < 400 && !PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_TIMER);
    ASSERT_EQ(UINT(WM_TIMER), msg.message);
    delete late;
    DispatchMessageW(&msg);

    // A handler stopping its own timer, and one throwing: a box, the loop goes on.
    Counter once, failing;
    once.stopFirst = failing.stopFirst = failing.throws = true;
    BoxWatcher boxes;
    once.timer.start(10);
    failing.timer.start(10);
    EXPECT_TRUE(WaitFor([&] { return boxes.count() >= 1 && once.fired; }, 3000));
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(once.fired == 1 && failing.fired == 1 && boxes.box().text == L"tick failed");
}
