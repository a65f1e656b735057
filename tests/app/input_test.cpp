// Events from real input (SendInput through Wine's X11 driver) and handler chains that change
// while an event is delivered.
#include <gtest/gtest.h>
#include "app_tests.h"

namespace {

const unsigned long Popup = WS_POPUP;

// Mouse events as "type@x,y" (or "type/wheel" for the wheel), keyboard events as "k<type> key".
struct Recorder {
    Texts events;
    void mouse(KWindow*, MouseEvent* e)
    {
        events.push_back(e->type & ME_WHEEL ? Format("%lu/%ld", e->type, e->wheel)
                                            : Format("%lu@%ld,%ld", e->type, e->x, e->y));
    }
    void key(KWindow*, KeyboardEvent* e)
    {
        events.push_back(e->key ? Format("k%lu %c", e->type, (char)e->key) : Format("k%lu", e->type));
    }
    bool has(const std::string& event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    // The events other than plain motion, which the pointer's travel adds at will.
    Texts withoutMotion() const
    {
        Texts t;
        for (const std::string& e : events)
            if (e.compare(0, 2, "4@") != 0)
                t.push_back(e);
        return t;
    }
};

Probe* Listened(WindowOwner& windows, Probe* w, Recorder& r)
{
    windows.own(w)->show(true);
    w->_addEventHandler(new MouseEventHandler<Recorder>(&r, &Recorder::mouse, 0xFFFF));
    w->_addEventHandler(new KeyboardEventHandler<Recorder>(&r, &Recorder::key, KE_ALL));
    return w;
}

} // namespace

TEST(RealInput, CaptureDoubleClicksWheelKeysFocusAndEnterLeave)
{
    WindowOwner windows;
    Recorder ra, rb;
    Probe* a = Listened(windows, Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 20, WA_Y, 20,
                                             WA_WIDTH, 200, WA_HEIGHT, 200), ra);
    Probe* b = Listened(windows, Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 300, WA_Y, 300,
                                             WA_WIDTH, 100, WA_HEIGHT, 100, WA_ENTER_LEAVE_ENABLED, true), rb);
    ASSERT_TRUE(Activate(*a)) << "the display must let a window take the focus";
    MovePointer(70, 70);
    PumpMessages();
    ra.events.clear();
    rb.events.clear();

    // The press captures the mouse: the drag out of the window and the release over the other
    // window come to the pressed one, in its client coordinates.
    MouseButtons({MOUSEEVENTF_LEFTDOWN});
    MovePointer(350, 350);
    MouseButtons({MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(WaitFor([&] { return ra.has("66@330,330"); }));
    EXPECT_EQ((Texts{"65@50,50", "72@330,330", "66@330,330"}), ra.withoutMotion());
    EXPECT_EQ(Texts{}, rb.withoutMotion()) << "the window under the pointer saw no button";
    EXPECT_EQ(nullptr, GetCapture());

    // Entering and leaving the window that asks for it.
    MovePointer(360, 360);
    EXPECT_TRUE(WaitFor([&] { return b->isEntered(); }));
    MovePointer(250, 250);
    EXPECT_TRUE(WaitFor([&] { return !b->isEntered(); }));
    EXPECT_EQ((Texts{"enter", "leave"}), b->calls);

    // The wheel turned over b goes to b, though a has the focus.
    MovePointer(350, 350);
    Wheel(-240);
    EXPECT_TRUE(WaitFor([&] { return rb.has("512/-2"); }));
    EXPECT_FALSE(ra.has("512/-2"));

    // A double click: the second press arrives as one, its release never.
    MovePointer(70, 70);
    WaitFor([] { return false; }, GetDoubleClickTime() + 50); // the first press is long past
    ra.events.clear();
    a->enableDoubleClicks(true);
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(WaitFor([&] { return ra.has("81@50,50"); }));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ((Texts{"65@50,50", "66@50,50", "81@50,50"}), ra.withoutMotion());
    EXPECT_EQ(nullptr, GetCapture()) << "the capture of the double click is released";

    // Keys, then the focus moving to b.
    ra.events.clear();
    PressKeys({'B'});
    EXPECT_TRUE(WaitFor([&] { return ra.has("k4 B"); }));
    SetFocus(*b);
    EXPECT_EQ((Texts{"k2 B", "k1 b", "k4 B", "k16"}), ra.events);

    // A disabled window gets nothing.
    ra.events.clear();
    EnableWindow(*a, FALSE);
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(Texts{}, ra.withoutMotion());
}

namespace {

// Three handlers a, b, c on one window; one of them changes the chain (or deletes the window)
// the first time it is offered an event. Each delivery writes the names of the handlers that
// ran, and a naive walk of the chain would skip one, run a removed one or touch freed memory.
struct Scene;
typedef void (*ChainChange)(Scene& s, EventHandler* self);

struct Actor : EventHandler {
    Actor(Scene& s, const char* n) : scene(s), name(n) {}
    bool callHandler(KWindow* w, Event* e) override;
    Scene& scene;
    std::string name;
    ChainChange change = nullptr;
};

struct Scene {
    Probe* window = Probe::make(nullptr);
    Actor* handlers[3];
    std::string ran;
    bool first = true;
    explicit Scene(const char* actor, ChainChange change)
    {
        for (int i = 0; i < 3; ++i) {
            handlers[i] = new Actor(*this, i == 0 ? "a" : i == 1 ? "b" : "c");
            if (handlers[i]->name == actor)
                handlers[i]->change = change;
            window->_addEventHandler(handlers[i]);
        }
    }
    void remove(int i)
    {
        window->_removeEventHandler(handlers[i]);
        delete handlers[i];
    }
    // Delivers one device event; returns the handlers that ran, like "a b c".
    std::string deliver()
    {
        ran.clear();
        SendMessageW(*window, WM_DEVICECHANGE, 0x8000, 0);
        first = false;
        return ran.empty() ? ran : ran.substr(1);
    }
};

bool Actor::callHandler(KWindow*, Event* e)
{
    if (!EventAs<DeviceEvent>(e))
        return false;
    scene.ran += " " + name;
    // The change may delete this handler: nothing of it is touched afterwards.
    if (change && scene.first)
        change(scene, this);
    return true;
}

} // namespace

TEST(HandlerChain, HandlersChangingTheChainWhileAnEventIsDelivered)
{
    struct Case {
        const char* what;
        const char* actor;
        ChainChange change;
        const char* firstRun;  // during the change
        const char* secondRun; // the chain afterwards ("gone" when the window is)
    };
    const Case cases[] = {
        {"a removes itself", "a", [](Scene& s, EventHandler*) { s.remove(0); }, "a b c", "b c"},
        {"b removes itself", "b", [](Scene& s, EventHandler*) { s.remove(1); }, "a b c", "a c"},
        {"a removes b", "a", [](Scene& s, EventHandler*) { s.remove(1); }, "a c", "a c"},
        {"b removes a", "b", [](Scene& s, EventHandler*) { s.remove(0); }, "a b c", "b c"},
        {"c removes a and b", "c", [](Scene& s, EventHandler*) { s.remove(0), s.remove(1); }, "a b c", "c"},
        {"a adds d", "a",
         [](Scene& s, EventHandler*) { s.window->_addEventHandler(new Actor(s, "d")); }, "a b c d",
         "a b c d"},
        {"b deletes the window", "b",
         [](Scene& s, EventHandler*) { delete s.window, s.window = nullptr; }, "a b", "gone"},
    };
    for (const Case& c : cases) {
        Scene scene(c.actor, c.change);
        EXPECT_EQ(c.firstRun, scene.deliver()) << c.what;
        EXPECT_EQ(c.secondRun, scene.window ? scene.deliver() : "gone") << c.what;
        delete scene.window;
    }
}
