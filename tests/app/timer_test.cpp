// Interval timers through the real message loop.
#include <gtest/gtest.h>
#include <stdexcept>
#include "test_support.h"

namespace {

struct Counter {
    int fired = 0;
    KTimer* stopOnFirst = nullptr;
    bool throws = false;
    void tick()
    {
        ++fired;
        if (stopOnFirst)
            stopOnFirst->stop();
        if (throws)
            throw std::runtime_error("tick failed");
    }
};

KTimer* Timed(Counter& c)
{
    auto* t = new KTimer;
    t->setHandler(new TimerEventHandler<Counter>(&c, &Counter::tick));
    return t;
}

} // namespace

TEST(Timers, FireThroughTheLoopAndKeepTheirInterval)
{
    Counter c;
    KTimer* t = Timed(c);
    const int before = KTimer::numTimer();
    t->start(50);
    EXPECT_TRUE(t->isRunning());
    EXPECT_EQ(before + 1, KTimer::numTimer());
    EXPECT_EQ(t, KTimer::timers[before]);
    WaitFor([] { return false; }, 1000);
    // About 20 expiries; wide bounds for a loaded machine.
    EXPECT_GE(c.fired, 8);
    EXPECT_LE(c.fired, 24);

    t->stop();
    EXPECT_FALSE(t->isRunning());
    EXPECT_EQ(before, KTimer::numTimer());
    t->start(0);
    EXPECT_EQ(50, t->getTimeout()) << "start(0) keeps the interval";
    EXPECT_TRUE(t->isRunning());
    t->start(-5);
    EXPECT_EQ(50, t->getTimeout());
    EXPECT_EQ(before + 1, KTimer::numTimer()) << "a restart is registered once";
    delete t;
    EXPECT_EQ(before, KTimer::numTimer());
}

TEST(Timers, LateExpiriesStoppedTimersAndFailingHandlers)
{
    // An expiry queued before the timer was destroyed is ignored.
    Counter late;
    KTimer* t = Timed(late);
    t->start(10);
    // Only the expiry is taken off the queue: pumping would deliver it.
    MSG msg = {};
    for (int i = 0; i < 400 && !PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_TIMER);
    ASSERT_EQ(UINT(WM_TIMER), msg.message);
    delete t;
    DispatchMessageW(&msg);
    EXPECT_EQ(0, late.fired);

    // A handler that stops its own timer is called once.
    Counter once;
    KTimer* self = Timed(once);
    once.stopOnFirst = self;
    self->start(10);
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(1, once.fired);
    EXPECT_FALSE(self->isRunning());
    delete self;

    // What a handler throws stops in the timer procedure: a box, and the loop goes on.
    Counter failing;
    failing.throws = true;
    KTimer* bad = Timed(failing);
    failing.stopOnFirst = bad;
    BoxWatcher boxes;
    bad->start(10);
    EXPECT_TRUE(WaitFor([&] { return boxes.count() >= 1; }, 3000));
    EXPECT_EQ(L"tick failed", boxes.box().text);
    EXPECT_EQ(1, failing.fired);
    delete bad;
}
