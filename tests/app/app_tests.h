// What the tests of the window core share: windows made from attribute pairs.
#ifndef KORVEL_TESTS_APP_TESTS_H
#define KORVEL_TESTS_APP_TESTS_H

#include <algorithm>
#include <string>
#include <vector>
#include "test_support.h"

typedef std::vector<long> Longs;
typedef std::vector<std::string> Texts;

// WA_WINDOWS_STYLE of a top level without frame or caption.
const unsigned long Popup = WS_POPUP;

inline void Add(KArgList&) {}

template <class V, class... Rest>
void Add(KArgList& args, int attrib, V value, Rest... rest)
{
    args.add(attrib, value);
    Add(args, rest...);
}

// A window made from attribute pairs, Probe::make(parent, WA_X, 1, WA_Y, 2), that records its
// size calls. At namespace scope, so that its run-time type name is plainly "Probe".
class Probe : public KWindow {
public:
    // Probe::make<Derived>(...) makes a window of a class derived from Probe.
    template <class W = Probe, class... Pairs>
    static W* make(KWindow* parent, Pairs... pairs)
    {
        KArgList args;
        Add(args, pairs...);
        auto* w = new W;
        w->init(parent, &args);
        return w;
    }
    void sizeHandler(unsigned int type) override { sizeTypes.push_back(type); }
    int getInitialTab() override { return 3; }
    void enterLeaveHandler(bool in) override { calls.push_back(in ? "enter" : "leave"); }
    void menuHandler(unsigned id, unsigned c) override { calls.push_back(Format("command %u %u", id, c)); }
    void initMenuHandler(unsigned msg, HMENU) override { calls.push_back(Format("init %u", msg)); }
    std::vector<unsigned> sizeTypes;
    std::vector<std::string> calls; // enter/leave and menu calls, in order
    using KWindow::inputEnabled;
};

// What handlers were given, as text: mouse events "type@x,y" (with "#data" for client data, the
// wheel as "type/steps"), keyboard events "k<type> <key>", others by name; and the windows.
struct Log {
    Texts events;
    std::vector<HWND> windows;
    void mouse(KWindow* w, MouseEvent* e)
    {
        std::string t = e->type & ME_WHEEL ? Format("%lu/%ld", e->type, e->wheel)
                                           : Format("%lu@%ld,%ld", e->type, e->x, e->y);
        events.push_back(e->clientData ? t + Format("#%lu", e->clientData) : t);
        windows.push_back(*w);
    }
    void key(KWindow*, KeyboardEvent* e)
    {
        events.push_back(e->key ? Format("k%lu %c", e->type, (char)e->key) : Format("k%lu", e->type));
    }
    void device(KWindow*, DeviceEvent*) { events.push_back("device"); }
    void socket(KWindow*, SocketEvent* e)
    {
        events.push_back(Format("%lu %d %d", e->type, (int)e->socket, e->error));
    }
    void destroyed(KWindow* w, DestroyEvent*)
    {
        events.push_back(Narrow(w->getCaption()));
        windows.push_back(*w);
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

#endif
