// The shared repeat timer of the prompt fields.
#include "krepeat.h"
#include "ktimer.h"

namespace {

struct Repeat {
    MouseEvent press; // its window is null while no repeat runs
    int rate = 0;
};

Repeat& State()
{
    static Repeat state;
    return state;
}

KTimer& Timer()
{
    static KTimer timer;
    return timer;
}

struct Tick : _TimerEventHandler {
    void operator()() override
    {
        Repeat& r = State();
        if (!r.press.window)
            return;
        if (r.rate > 0 && Timer().getTimeout() != r.rate)
            Timer().start(r.rate);
        ++r.press.repeatCount;
        // A copy: a handler may stop the repeat or delete the window.
        MouseEvent again = r.press;
        again.window->callHandlers(&again);
    }
};

} // namespace

namespace PromptRepeat {

void start(const MouseEvent& press, int delay, int rate)
{
    Repeat& r = State();
    if (r.press.window || !press.window)
        return;
    r.press = press;
    r.press.repeatCount = 0;
    r.rate = rate;
    Timer().setHandler(new Tick);
    Timer().start(delay);
}

void stop()
{
    State().press.window = nullptr;
    Timer().stop();
}

bool running()
{
    return State().press.window != nullptr;
}

void forget(KWindow* w)
{
    if (State().press.window == w)
        stop();
}

} // namespace PromptRepeat
