// Events and handler chains: mouse messages turned into events, real input through Wine's X11
// driver (SendInput), and chains that change while an event is delivered.
#include <gtest/gtest.h>
#include "app_tests.h"

namespace {

struct Step { UINT msg; WPARAM keys; int x, y; };

void Play(KWindow* w, std::initializer_list<Step> steps)
{
    for (const Step& s : steps)
        SendMessageW(*w, s.msg, s.keys, MAKELPARAM(s.x, s.y));
}

Probe* Listened(WindowOwner& windows, Probe* w, Log& log, unsigned long mask = 0xFFFF)
{
    windows.own(w)->show(true);
    w->_addEventHandler(new MouseEventHandler<Log>(&log, &Log::mouse, mask));
    w->_addEventHandler(new KeyboardEventHandler<Log>(&log, &Log::key, KE_ALL));
    return w;
}

void Pause(DWORD ms) { WaitFor([] { return false; }, ms); }

} // namespace

TEST(MouseEvents, MasksClientDataCaptureStateAndDoubleClicks)
{
    WindowOwner windows;
    Log buttons, motion, all;
    Probe* w = Listened(windows, Probe::make(nullptr, WA_WINDOWS_STYLE, Popup), buttons, ME_BUTTONS);
    w->_addEventHandler(new MouseEventHandler<Log>(&motion, &Log::mouse, ME_MOTION, 7));
    Play(w, {{WM_MOUSEMOVE, 0, 5, 5}, {WM_LBUTTONDOWN, MK_LBUTTON, 12, 34}});
    EXPECT_EQ(12, MouseEvent::down_pt.x);
    Play(w, {{WM_MOUSEMOVE, MK_LBUTTON, 15, 36}, {WM_LBUTTONUP, 0, 20, 40}});
    EXPECT_EQ(20, MouseEvent::down_pt.x);
    // A release whose press went elsewhere and a drag without a press give nothing.
    Play(w, {{WM_RBUTTONUP, 0, 1, 1}, {WM_MOUSEMOVE, MK_RBUTTON, 2, 2}, {WM_RBUTTONDOWN, MK_RBUTTON, 1, 1},
             {WM_RBUTTONUP, 0, 1, 1}, {WM_MBUTTONDOWN, MK_MBUTTON, 1, 1}, {WM_MOUSEMOVE, MK_MBUTTON, 3, 3},
             {WM_MBUTTONUP, 0, 1, 1}});
    EXPECT_EQ((Texts{"65@12,34", "72@15,36", "66@20,40", "257@1,1", "258@1,1", "129@1,1", "136@3,3",
                     "130@1,1"}), buttons.events) << "mask 475: presses, drags and releases, no motion";
    EXPECT_EQ((Texts{"4@5,5#7"}), motion.events) << "mask 4: motion only, stamped with the client value";

    // Not accepting double clicks, the second click is a press; accepting them, it arrives and the
    // release that ends it is never delivered; with Shift held it is a press again.
    w->_addEventHandler(new MouseEventHandler<Log>(&all, &Log::mouse, 0xFFFF));
    Play(w, {{WM_LBUTTONDBLCLK, MK_LBUTTON, 1, 1}, {WM_LBUTTONUP, 0, 1, 1}});
    w->enableDoubleClicks(true);
    PostMessageW(*w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(*w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    PostMessageW(*w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Play(w, {{WM_LBUTTONDBLCLK, MK_LBUTTON, 1, 1}});
    PumpMessages();
    Play(w, {{WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, 1, 1}, {WM_LBUTTONUP, MK_SHIFT, 1, 1}});
    EXPECT_EQ((Texts{"65@1,1", "66@1,1", "81@1,1", "4@3,3", "65@1,1", "66@1,1"}), all.events);
    // A window without input gets no mouse or keyboard events.
    all.events.clear();
    buttons.events.clear();
    w->inputEnabled = false;
    Play(w, {{WM_LBUTTONDOWN, MK_LBUTTON, 1, 1}, {WM_LBUTTONUP, 0, 1, 1}, {WM_CHAR, 'a', 0, 0}});
    EXPECT_TRUE(all.events.empty() && buttons.events.empty()) << "no mouse nor keyboard events";
}

TEST(RealInput, CaptureDoubleClicksWheelKeysFocusAndEnterLeave)
{
    WindowOwner windows;
    Log la, lb;
    Probe* a = Listened(windows, Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 20, WA_Y, 20,
                                             WA_WIDTH, 200, WA_HEIGHT, 200), la);
    Probe* b = Listened(windows, Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 300, WA_Y, 300, WA_WIDTH,
                                             100, WA_HEIGHT, 100, WA_ENTER_LEAVE_ENABLED, true), lb);
    ASSERT_TRUE(Activate(*a)) << "the display must let a window take the focus";
    MovePointer(70, 70);
    PumpMessages();
    la.events.clear();
    lb.events.clear();

    // The press captures the mouse: the drag out of the window and the release over the other
    // window come to the pressed one, in its client coordinates.
    MouseButtons({MOUSEEVENTF_LEFTDOWN});
    MovePointer(350, 350);
    MouseButtons({MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(WaitFor([&] { return la.has("66@330,330"); }));
    EXPECT_EQ((Texts{"65@50,50", "72@330,330", "66@330,330"}), la.withoutMotion());
    EXPECT_EQ(Texts{}, lb.withoutMotion()) << "the window under the pointer saw no button";
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
    EXPECT_TRUE(WaitFor([&] { return lb.has("512/-2"); }));
    // Also when the system gives it to the focused window; a delta of 60 is less than a step.
    SendMessageW(*a, WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON, 60), MAKELPARAM(350, 350));
    EXPECT_TRUE(lb.has("576/0"));
    EXPECT_FALSE(la.has("512/-2") || la.has("576/0"));

    // A double click (the first press is long past): the second press arrives as one, its
    // release never.
    MovePointer(70, 70);
    Pause(GetDoubleClickTime() + 50);
    la.events.clear();
    a->enableDoubleClicks(true);
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(WaitFor([&] { return la.has("81@50,50"); }));
    Pause(200);
    EXPECT_EQ((Texts{"65@50,50", "66@50,50", "81@50,50"}), la.withoutMotion());
    EXPECT_EQ(nullptr, GetCapture()) << "the capture of the double click is released";

    // Keys, then the focus moving to b.
    la.events.clear();
    PressKeys({'B'});
    EXPECT_TRUE(WaitFor([&] { return la.has("k4 B"); }));
    SetFocus(*b);
    EXPECT_EQ((Texts{"k2 B", "k1 b", "k4 B", "k16"}), la.events);

    // A disabled window gets nothing.
    la.events.clear();
    EnableWindow(*a, FALSE);
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    Pause(200);
    EXPECT_EQ(Texts{}, la.withoutMotion());
}

TEST(HandlerChain, OrderExactTypesDevicesAndSockets)
{
    WindowOwner windows;
    Probe* w = windows.own(Probe::make(nullptr));
    Log log;
    w->_addEventHandler(new MemberEventHandler<Log, DeviceEvent>(&log, &Log::device));
    w->_addEventHandler(new MouseEventHandler<Log>(&log, &Log::mouse, 0xFFFF));
    w->_addEventHandler(new MemberEventHandler<Log, SocketEvent>(&log, &Log::socket));
    AddEventHandler(w, [](KWindow*, DeviceEvent* e) { e->clientData = 99; });
    EXPECT_TRUE(w->hasIOHandlers());
    DeviceEvent e(w, WM_DEVICECHANGE, 0x8000, 77);
    EXPECT_EQ(2, w->callHandlers(&e)) << "every handler is offered the event, in order";
    EXPECT_EQ(99u, e.clientData) << "the function handler ran last";
    EXPECT_EQ(nullptr, e.window) << "a device event carries no window";
    EXPECT_EQ(TRUE, SendMessageW(*w, WM_DEVICECHANGE, 0x8004, 0));
    // A handler for MouseEvent takes no event of a derived class.
    struct Derived : MouseEvent {};
    Derived d;
    d.type = 65;
    EXPECT_EQ(0, w->callHandlers(&d));
    // WM_APP + 1 carries a socket event in its low word; 0 there is none.
    EXPECT_EQ(0, SendMessageW(*w, WM_APP + 1, 3, MAKELPARAM(1, 2)));
    SendMessageW(*w, WM_APP + 1, 3, MAKELPARAM(0, 2));
    EXPECT_EQ((Texts{"device", "device", "1 3 2"}), log.events);
}

namespace {

// Three handlers a, b, c on one window; one of them changes the chain (or deletes the window)
// the first time it is offered an event. A naive walk of the chain would skip a handler, run a
// removed one or touch freed memory.
struct Scene;
typedef void (*ChainChange)(Scene& s);

struct Actor : EventHandler {
    Actor(Scene& s, std::string n) : scene(s), name(n) {}
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
    Scene(char actor, ChainChange change)
    {
        for (int i = 0; i < 3; ++i) {
            handlers[i] = new Actor(*this, std::string(1, char('a' + i)));
            handlers[i]->change = 'a' + i == actor ? change : nullptr;
            window->_addEventHandler(handlers[i]);
        }
    }
    void remove(int i)
    {
        window->_removeEventHandler(handlers[i]);
        delete handlers[i];
    }
    // Delivers one device event; returns the handlers that ran, like "abc".
    std::string deliver()
    {
        ran.clear();
        SendMessageW(*window, WM_DEVICECHANGE, 0x8000, 0);
        first = false;
        return ran;
    }
};

bool Actor::callHandler(KWindow*, Event* e)
{
    if (!EventAs<DeviceEvent>(e))
        return false;
    scene.ran += name;
    // The change may delete this handler: nothing of it is touched afterwards.
    if (change && scene.first)
        change(scene);
    return true;
}

} // namespace

TEST(HandlerChain, HandlersChangingTheChainWhileAnEventIsDelivered)
{
    // The actor, its change, the handlers that ran during the change and in the next delivery ("gone"
    // when the window is).
    const struct { char actor; ChainChange change; const char *during, *after; } cases[] = {
        {'a', [](Scene& s) { s.remove(0); }, "abc", "bc"},
        {'b', [](Scene& s) { s.remove(1); }, "abc", "ac"},
        {'a', [](Scene& s) { s.remove(1); }, "ac", "ac"},
        {'b', [](Scene& s) { s.remove(0); }, "abc", "bc"},
        {'c', [](Scene& s) { s.remove(0), s.remove(1); }, "abc", "c"},
        {'a', [](Scene& s) { s.window->_addEventHandler(new Actor(s, "d")); }, "abcd", "abcd"},
        {'b', [](Scene& s) { delete s.window, s.window = nullptr; }, "ab", "gone"},
    };
    for (const auto& c : cases) {
        Scene scene(c.actor, c.change);
        EXPECT_EQ(c.during, scene.deliver()) << c.actor << " " << c.after;
        EXPECT_EQ(c.after, scene.window ? scene.deliver() : "gone") << c.actor << " " << c.after;
        delete scene.window;
    }
}
