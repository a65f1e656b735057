// Mouse, keyboard and other messages becoming events on handler chains.
#include <gtest/gtest.h>
#include <korvel.h>
#include <stdexcept>
#include <vector>
#include "test_support.h"

namespace {

class Target : public KWindow {
public:
    static Target* make(KWindow* parent, int x = 0, int y = 0, int w = 100, int h = 80)
    {
        KArgList args;
        args.add(WA_X, x);
        args.add(WA_Y, y);
        args.add(WA_WIDTH, w);
        args.add(WA_HEIGHT, h);
        if (!parent)
            args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
        auto* t = new Target;
        t->init(parent, &args);
        return t;
    }
    using KWindow::inputEnabled;
};

struct Log {
    std::vector<unsigned long> types;
    std::vector<unsigned long> data;
    std::vector<long> wheels;
    std::vector<KWindow*> windows;
    void mouse(KWindow* w, MouseEvent* e)
    {
        types.push_back(e->type);
        data.push_back(e->clientData);
        wheels.push_back(e->wheel);
        windows.push_back(w);
    }
    void key(KWindow*, KeyboardEvent* e) { types.push_back(e->type * 1000 + e->key); }
    void device(KWindow* w, DeviceEvent* e)
    {
        types.push_back(e->type);
        windows.push_back(e->window);
        windows.push_back(w);
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

} // namespace

TEST(MouseEvents, MasksPressesReleasesAndCapture)
{
    Target* w = Target::make(nullptr, 10, 10);
    w->show(true);
    Log buttons, motion;
    w->_addEventHandler(new MouseEventHandler<Log>(&buttons, &Log::mouse, 475, 7));
    w->_addEventHandler(new MouseEventHandler<Log>(&motion, &Log::mouse, 4));

    SendMessageW(*w, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageW(*w, WM_LBUTTONDOWN, MK_LBUTTON, At(12, 34));
    EXPECT_EQ(w->getWindow(), GetCapture()) << "a press captures the mouse";
    EXPECT_EQ(12, MouseEvent::down_pt.x);
    SendMessageW(*w, WM_MOUSEMOVE, MK_LBUTTON, At(15, 36));
    SendMessageW(*w, WM_LBUTTONUP, 0, At(20, 40));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(20, MouseEvent::down_pt.x);

    std::vector<unsigned long> expected = {65, 72, 66};
    EXPECT_EQ(expected, buttons.types) << "mask 475 takes presses, drags and releases, not motion";
    EXPECT_EQ(std::vector<unsigned long>({7, 7, 7}), buttons.data) << "client value is stamped";
    EXPECT_EQ(std::vector<unsigned long>({4}), motion.types) << "mask 4 takes motion only";

    // A release whose press went elsewhere, and a drag without a press.
    buttons.types.clear();
    SendMessageW(*w, WM_RBUTTONUP, 0, At(1, 1));
    SendMessageW(*w, WM_MOUSEMOVE, MK_RBUTTON, At(2, 2));
    EXPECT_TRUE(buttons.types.empty());

    // Right and middle buttons.
    SendMessageW(*w, WM_RBUTTONDOWN, MK_RBUTTON, At(1, 1));
    SendMessageW(*w, WM_RBUTTONUP, 0, At(1, 1));
    SendMessageW(*w, WM_MBUTTONDOWN, MK_MBUTTON, At(1, 1));
    SendMessageW(*w, WM_MOUSEMOVE, MK_MBUTTON, At(3, 3));
    SendMessageW(*w, WM_MBUTTONUP, 0, At(1, 1));
    expected = {257, 258, 129, 136, 130};
    EXPECT_EQ(expected, buttons.types);
    delete w;
}

TEST(MouseEvents, DoubleClicksAndDisabledInput)
{
    Target* w = Target::make(nullptr, 10, 10);
    w->show(true);
    Log log;
    w->_addEventHandler(new MouseEventHandler<Log>(&log, &Log::mouse, 0xFFFF));

    // Not accepting double clicks: the second click is another press.
    SendMessageW(*w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(1, 1));
    SendMessageW(*w, WM_LBUTTONUP, 0, At(1, 1));
    EXPECT_EQ(std::vector<unsigned long>({65, 66}), log.types);

    // Accepting them: the double click arrives and its release is swallowed.
    log.types.clear();
    w->enableDoubleClicks(true);
    PostMessageW(*w, WM_MOUSEMOVE, MK_LBUTTON, At(2, 2));
    PostMessageW(*w, WM_LBUTTONUP, 0, At(2, 2));
    PostMessageW(*w, WM_MOUSEMOVE, 0, At(3, 3));
    SendMessageW(*w, WM_LBUTTONDBLCLK, MK_LBUTTON, At(1, 1));
    PumpMessages();
    EXPECT_EQ(std::vector<unsigned long>({81, 4}), log.types)
        << "the release that ends a double click is never delivered";

    // With Shift held it is a press.
    log.types.clear();
    SendMessageW(*w, WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, At(1, 1));
    SendMessageW(*w, WM_LBUTTONUP, MK_SHIFT, At(1, 1));
    EXPECT_EQ(std::vector<unsigned long>({65, 66}), log.types);

    // A window without input gets no mouse or keyboard events.
    log.types.clear();
    Log keys;
    w->_addEventHandler(new KeyboardEventHandler<Log>(&keys, &Log::key, 31));
    w->inputEnabled = false;
    SendMessageW(*w, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 1));
    SendMessageW(*w, WM_LBUTTONUP, 0, At(1, 1));
    EXPECT_EQ(0, SendMessageW(*w, WM_CHAR, 'a', 0));
    EXPECT_TRUE(log.types.empty());
    EXPECT_TRUE(keys.types.empty());
    w->inputEnabled = true;
    SendMessageW(*w, WM_KEYDOWN, 'B', 0);
    SendMessageW(*w, WM_CHAR, 'b', 0);
    SendMessageW(*w, WM_KEYUP, 'B', 0);
    EXPECT_EQ(std::vector<unsigned long>({2000 + 'B', 1000 + 'b', 4000 + 'B'}), keys.types);
    delete w;
}

TEST(MouseEvents, WheelGoesToTheWindowUnderThePointer)
{
    Target* a = Target::make(nullptr, 0, 0, 100, 100);
    Target* b = Target::make(nullptr, 300, 300, 100, 100);
    a->show(true);
    b->show(true);
    PumpMessages();
    Log la, lb;
    a->_addEventHandler(new MouseEventHandler<Log>(&la, &Log::mouse, 0xFFFF));
    b->_addEventHandler(new MouseEventHandler<Log>(&lb, &Log::mouse, 0xFFFF));
    SetCursorPos(350, 350);
    POINT pt;
    GetCursorPos(&pt);
    ASSERT_EQ(350, pt.x) << "the display must allow moving the pointer";

    EXPECT_EQ(0, SendMessageW(*a, WM_MOUSEWHEEL, MAKEWPARAM(0, -240), At(350, 350)));
    SendMessageW(*a, WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON, 60), At(350, 350));
    EXPECT_TRUE(la.types.empty());
    ASSERT_EQ(2u, lb.types.size());
    EXPECT_EQ(512u, lb.types[0]);
    EXPECT_EQ(-2, lb.wheels[0]);
    EXPECT_EQ(576u, lb.types[1]);
    EXPECT_EQ(0, lb.wheels[1]) << "a delta of 60 is less than one step";
    EXPECT_EQ(b, lb.windows[0]);
    delete a;
    delete b;
}

TEST(HandlerChain, EveryHandlerIsOfferedInOrder)
{
    Target* w = Target::make(nullptr);
    std::vector<int> order;
    struct Tagged {
        std::vector<int>* order;
        int tag;
        void device(KWindow*, DeviceEvent*) { order->push_back(tag); }
    } first{&order, 1}, second{&order, 2};
    w->_addEventHandler(new MemberEventHandler<Tagged, DeviceEvent>(&first, &Tagged::device));
    w->_addEventHandler(new MemberEventHandler<Tagged, DeviceEvent>(&second, &Tagged::device));
    Log mouse;
    w->_addEventHandler(new MouseEventHandler<Log>(&mouse, &Log::mouse, 0xFFFF));
    EXPECT_TRUE(w->hasIOHandlers());

    DeviceEvent e(w, WM_DEVICECHANGE, 0x8000, 77);
    EXPECT_EQ(2, w->callHandlers(&e));
    EXPECT_EQ(std::vector<int>({1, 2}), order);
    EXPECT_EQ(nullptr, e.window) << "a device event carries no window";
    EXPECT_EQ(TRUE, SendMessageW(*w, WM_DEVICECHANGE, 0x8004, 0));
    EXPECT_EQ(std::vector<int>({1, 2, 1, 2}), order);

    // A handler for MouseEvent takes no event of a derived class.
    struct Derived : MouseEvent {};
    Derived d;
    d.type = 65;
    EXPECT_EQ(0, w->callHandlers(&d));
    delete w;
}

TEST(HandlerChain, HandlerMayDeleteItsWindow)
{
    Target* w = Target::make(nullptr);
    struct Killer {
        int calls = 0;
        void kill(KWindow* win, DeviceEvent*)
        {
            ++calls;
            delete win;
        }
    } killer;
    w->_addEventHandler(new MemberEventHandler<Killer, DeviceEvent>(&killer, &Killer::kill));
    w->_addEventHandler(new MemberEventHandler<Killer, DeviceEvent>(&killer, &Killer::kill));
    HWND h = w->getWindow();
    SendMessageW(h, WM_DEVICECHANGE, 0x8000, 0);
    EXPECT_EQ(1, killer.calls) << "delivery stops once the window is gone";
    EXPECT_FALSE(IsWindow(h));
}

TEST(HandlerChain, ExceptionsCrossTheLibrary)
{
    // Thrown by the library, caught here.
    KRegistry reg;
    try {
        reg.openKey(HKEY_CURRENT_USER, KString(L"Software\\Tarnwell\\No Such Key"), KEY_READ);
        FAIL() << "opening a missing key must throw";
    } catch (const KorvelException& e) {
        EXPECT_EQ(10, e.group);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e.number);
        EXPECT_TRUE(e.getErrorText().startsWith(KString(L"Open Registry Key(Software\\Tarnwell\\No Such Key) Failed\n")));
    }

    // Thrown here, unwound through the library's delivery loop.
    Target* w = Target::make(nullptr);
    struct Thrower {
        void boom(KWindow*, DeviceEvent*) { throw std::runtime_error("from a handler"); }
    } thrower;
    w->_addEventHandler(new MemberEventHandler<Thrower, DeviceEvent>(&thrower, &Thrower::boom));
    DeviceEvent e;
    EXPECT_THROW(w->callHandlers(&e), std::runtime_error);
    delete w;
}

TEST(SocketAndCursor, MessagesReachTheirHandlers)
{
    Target* w = Target::make(nullptr);
    struct Sockets {
        std::vector<unsigned long> seen;
        void on(KWindow*, SocketEvent* e) { seen.push_back(e->type + 1000 * (unsigned long)e->socket + 100000 * e->error); }
    } sockets;
    w->_addEventHandler(new MemberEventHandler<Sockets, SocketEvent>(&sockets, &Sockets::on));
    EXPECT_EQ(0, SendMessageW(*w, WM_APP + 1, 3, MAKELPARAM(1, 2)));
    SendMessageW(*w, WM_APP + 1, 3, MAKELPARAM(0, 2));
    EXPECT_EQ(std::vector<unsigned long>({1 + 3000 + 200000}), sockets.seen);
    delete w;
}
