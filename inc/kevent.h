// Events and handler chains. A window procedure builds an event on the stack
// and offers it to every handler of the window, in order of addition.
#ifndef KORVEL_KEVENT_H
#define KORVEL_KEVENT_H

#include <windows.h>
#include <typeinfo>
#include "kexport.h"
#include "kgeometry.h"

class KWindow;
class KListBox;
class KScrollBar;
// Events of controls, defined with their controls.
class ScrollBarEvent;
class ComboBoxEvent;
class PromptEvent;

class KORVEL_API Event {
public:
    unsigned long type = 0;       // event-specific code or bit set; 0 is no event
    KWindow* window = nullptr;    // the window the event is about
    unsigned long clientData = 0; // set by the delivering handler
    unsigned long repeatCount = 0;

    Event() = default;
    Event(KWindow* w, unsigned long t = 0) : type(t), window(w) {}
    virtual ~Event() = default;
    virtual void Print() {}
    bool isDoubleClick() const { return (type & 16) != 0; }
};

// Mouse type bits. A handler's mask takes an event when all its type bits are
// in the mask: ME_BUTTONS (475) takes presses, releases, drags and double
// clicks of all three buttons, ME_MOTION alone plain pointer motion.
enum {
    ME_PRESS = 1, ME_RELEASE = 2, ME_MOTION = 4, ME_DRAG = 8, ME_DOUBLE = 16,
    ME_LEFT = 64, ME_MIDDLE = 128, ME_RIGHT = 256, ME_WHEEL = 512,
    ME_BUTTONS = 475
};

// Keyboard types; KE_ALL (31) takes every keyboard event.
enum {
    KE_CHAR = 1, KE_KEY_DOWN = 2, KE_KEY_UP = 4, KE_FOCUS_IN = 8, KE_FOCUS_OUT = 16,
    KE_ALL = 31
};

class KORVEL_API MouseEvent : public Event {
public:
    unsigned long modifiers = 0; // 1 Shift, 2 Control, 4 Alt
    long wheel = 0;              // wheel steps
    long x = 0, y = 0;           // client coordinates

    // Position of the last press or release that changed the mouse capture.
    static KPOINT down_pt;

    MouseEvent() = default;
    // Builds the event from a mouse message, capturing the mouse on a press
    // and swallowing the rest of a double click.
    MouseEvent(KWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
    bool isShifted() const { return (modifiers & 1) != 0; }
    bool isControl() const { return (modifiers & 2) != 0; }
    bool isAlt() const { return (modifiers & 4) != 0; }
};

// Built from WM_CHAR, WM_KEYDOWN, WM_KEYUP, WM_SETFOCUS and WM_KILLFOCUS.
class KORVEL_API KeyboardEvent : public Event {
public:
    unsigned short key = 0;
    unsigned long modifiers = 0;
    long lParam = 0;

    KeyboardEvent(KWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
    bool isShifted() const { return (modifiers & 1) != 0; }
    bool isControl() const { return (modifiers & 2) != 0; }
    bool isAlt() const { return (modifiers & 4) != 0; }
};

// Brackets one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class KORVEL_API ExposeEvent : public Event {
public:
    PAINTSTRUCT paint;
    RECT updateRect;

    ExposeEvent(KWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
    // Ends the paint even when a handler deleted the window.
    ~ExposeEvent() override;
    ExposeEvent(const ExposeEvent&) = delete;
    ExposeEvent& operator=(const ExposeEvent&) = delete;

private:
    HWND painted;
};

class KORVEL_API ResizeEvent : public Event {
public:
    unsigned long sizeType;
    ResizeEvent(KWindow* w, UINT, WPARAM wParam, LPARAM)
        : Event(w), sizeType((unsigned long)wParam) {}
};

class KORVEL_API ShowEvent : public Event {
public:
    bool show;
    ShowEvent(KWindow* w, bool on) : Event(w), show(on) {}
};

class KORVEL_API DestroyEvent : public Event {
public:
    explicit DestroyEvent(KWindow* w) : Event(w) {}
};

class KORVEL_API MessageEvent : public Event {
public:
    long msgType;
    MessageEvent(KWindow* w, int t) : Event(w), msgType(t) {}
    // A new message type for an application-defined event, from 2 upwards.
    static long GetMsgType();
    static long num_msg_type;
};

// A device arrival or removal; the window field stays null.
class KORVEL_API DeviceEvent : public Event {
public:
    unsigned long data = 0;
    DeviceEvent() = default;
    DeviceEvent(KWindow*, UINT, WPARAM wParam, LPARAM lParam)
        : Event(nullptr, (unsigned long)wParam), data((unsigned long)lParam) {}
};

// A socket notification posted as WM_APP + 1.
class KORVEL_API SocketEvent : public Event {
public:
    UINT_PTR socket = 0;
    unsigned long error = 0;
    SocketEvent() = default;
    SocketEvent(KWindow* w, UINT, WPARAM wParam, LPARAM lParam)
        : Event(w, LOWORD(lParam)), socket(wParam), error(HIWORD(lParam)) {}
};

// A notification of a list box (code is the LBN_ code).
class KORVEL_API ListBoxEvent : public Event {
public:
    KListBox* list = nullptr;
    int code = 0;
    // list is w when w is a list box (Enter in a list comes as LBN_DBLCLK).
    ListBoxEvent(KWindow* w, int c);
    // From the list itself, code 0 (the list box sets it).
    explicit ListBoxEvent(KListBox* l);
};

// A handler of a window's chain. The window owns it.
class KORVEL_API EventHandler {
public:
    virtual ~EventHandler() = default;
    // Delivers the event if this handler wants it; returns whether it did.
    virtual bool callHandler(KWindow* window, Event* event) = 0;
    // True for handlers of user input (mouse and keyboard).
    virtual bool iSIOHandler() { return false; }
};

// Matches the event's exact dynamic type, not a derived one.
template <class E>
inline E* EventAs(Event* e)
{
    return typeid(*e) == typeid(E) ? static_cast<E*>(e) : nullptr;
}

template <class T, class E>
class MemberEventHandler : public EventHandler {
public:
    typedef void (T::*Method)(KWindow*, E*);
    MemberEventHandler(T* o, Method m) : owner(o), method(m) {}
    bool callHandler(KWindow* window, Event* event) override
    {
        E* e = EventAs<E>(event);
        if (!e)
            return false;
        (owner->*method)(window, e);
        return true;
    }
protected:
    T* owner;
    Method method;
};

template <class T>
class ExposeEventHandler : public MemberEventHandler<T, ExposeEvent> {
public:
    using MemberEventHandler<T, ExposeEvent>::MemberEventHandler;
};

template <class T>
class ResizeEventHandler : public MemberEventHandler<T, ResizeEvent> {
public:
    using MemberEventHandler<T, ResizeEvent>::MemberEventHandler;
};

// Takes mouse events whose type bits all lie in mask; stamps clientData.
template <class T>
class MouseEventHandler : public EventHandler {
public:
    typedef void (T::*Method)(KWindow*, MouseEvent*);
    MouseEventHandler(T* o, Method m, unsigned long mask_, unsigned long data = 0)
        : owner(o), method(m), mask(mask_), clientData(data) {}
    bool callHandler(KWindow* window, Event* event) override
    {
        MouseEvent* e = EventAs<MouseEvent>(event);
        if (!e || (mask & e->type) != e->type)
            return false;
        e->clientData = clientData;
        (owner->*method)(window, e);
        return true;
    }
    bool iSIOHandler() override { return true; }
private:
    T* owner;
    Method method;
    unsigned long mask;
    unsigned long clientData;
};

template <class T>
class KeyboardEventHandler : public EventHandler {
public:
    typedef void (T::*Method)(KWindow*, KeyboardEvent*);
    KeyboardEventHandler(T* o, Method m, unsigned long mask_) : owner(o), method(m), mask(mask_) {}
    bool callHandler(KWindow* window, Event* event) override
    {
        KeyboardEvent* e = EventAs<KeyboardEvent>(event);
        if (!e || (mask & e->type) != e->type)
            return false;
        (owner->*method)(window, e);
        return true;
    }
    bool iSIOHandler() override { return true; }
private:
    T* owner;
    Method method;
    unsigned long mask;
};

// Takes events of class E and stamps them with the handler's client value
// (the base of ComboBoxHandler and PromptEventHandler).
template <class T, class E>
class ClientEventHandler : public EventHandler {
public:
    typedef void (T::*Method)(KWindow*, E*);
    ClientEventHandler(T* o, unsigned long data, Method m) : owner(o), clientData(data), method(m) {}
    bool callHandler(KWindow* window, Event* event) override
    {
        E* e = EventAs<E>(event);
        if (!e)
            return false;
        e->clientData = clientData;
        (owner->*method)(window, e);
        return true;
    }
private:
    T* owner;
    unsigned long clientData;
    Method method;
};

template <class T>
class ComboBoxHandler : public ClientEventHandler<T, ComboBoxEvent> {
public:
    using ClientEventHandler<T, ComboBoxEvent>::ClientEventHandler;
};

template <class T>
class PromptEventHandler : public ClientEventHandler<T, PromptEvent> {
public:
    using ClientEventHandler<T, PromptEvent>::ClientEventHandler;
};

// Calls the owner with the scroll bar the event comes from. (E is a parameter
// only so that the event class may still be incomplete here.)
template <class T, class E = ScrollBarEvent>
class ScrollBarHandler : public EventHandler {
public:
    typedef void (T::*Method)(KScrollBar*, E*);
    ScrollBarHandler(T* o, Method m) : owner(o), method(m) {}
    bool callHandler(KWindow*, Event* event) override
    {
        E* e = EventAs<E>(event);
        if (!e)
            return false;
        (owner->*method)(e->bar, e);
        return true;
    }
private:
    T* owner;
    Method method;
};

// Handlers that call a plain function.
template <class E>
class FunctionEventHandler : public EventHandler {
public:
    typedef void (*Function)(KWindow*, E*);
    explicit FunctionEventHandler(Function f) : function(f) {}
    bool callHandler(KWindow* window, Event* event) override
    {
        E* e = EventAs<E>(event);
        if (!e)
            return false;
        function(window, e);
        return true;
    }
private:
    Function function;
};

class ExposeEventProc : public FunctionEventHandler<ExposeEvent> {
public:
    using FunctionEventHandler<ExposeEvent>::FunctionEventHandler;
};

class DeviceEventProc : public FunctionEventHandler<DeviceEvent> {
public:
    using FunctionEventHandler<DeviceEvent>::FunctionEventHandler;
};

// Timer callbacks; timers keep them, not window chains.
class KORVEL_API _TimerEventHandler {
public:
    virtual ~_TimerEventHandler() = default;
    virtual void operator()() = 0;
};

template <class T>
class TimerEventHandler : public _TimerEventHandler {
public:
    typedef void (T::*Method)();
    TimerEventHandler(T* o, Method m) : owner(o), method(m) {}
    void operator()() override { (owner->*method)(); }
private:
    T* owner;
    Method method;
};

KORVEL_API void AddEventHandler(KWindow* w, void (*f)(KWindow*, ExposeEvent*));
KORVEL_API void AddEventHandler(KWindow* w, void (*f)(KWindow*, DeviceEvent*));

#endif
