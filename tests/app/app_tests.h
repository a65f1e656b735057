// What the tests of the window core share: windows made from attribute pairs.
#ifndef KORVEL_TESTS_APP_TESTS_H
#define KORVEL_TESTS_APP_TESTS_H

#include <vector>
#include <string>
#include "test_support.h"

typedef std::vector<long> Longs;
typedef std::vector<std::string> Texts;

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
    template <class... Pairs>
    static Probe* make(KWindow* parent, Pairs... pairs)
    {
        KArgList args;
        Add(args, pairs...);
        auto* w = new Probe;
        w->init(parent, &args);
        return w;
    }
    void sizeHandler(unsigned int type) override { sizeTypes.push_back(type); }
    int getInitialTab() override { return 3; }
    void enterLeaveHandler(bool in) override { calls.push_back(in ? "enter" : "leave"); }
    void menuHandler(unsigned id, unsigned code) override { calls.push_back(Format("command %u %u", id, code)); }
    void initMenuHandler(unsigned msg, HMENU) override { calls.push_back(Format("init %u", msg)); }
    std::vector<unsigned> sizeTypes;
    std::vector<std::string> calls; // enter/leave and menu calls, in order
    using KWindow::inputEnabled;
};

// What handlers were given: events as text, and the native windows.
struct Log {
    Texts events;
    std::vector<HWND> windows;
    void mouse(KWindow* w, MouseEvent* e)
    {
        events.push_back(Format("%lu/%lu/%ld", e->type, e->clientData, e->wheel)); // type/client data/wheel
        windows.push_back(*w);
    }
    void key(KWindow*, KeyboardEvent* e) { events.push_back(Format("k%lu %c", e->type, (char)e->key)); }
    void first(KWindow*, DeviceEvent*) { events.push_back("first"); }
    void second(KWindow*, DeviceEvent*) { events.push_back("second"); }
    void socket(KWindow*, SocketEvent* e)
    {
        events.push_back(Format("%lu %d %d", e->type, (int)e->socket, e->error));
    }
    void destroyed(KWindow* w, DestroyEvent*)
    {
        events.push_back(Narrow(w->getCaption()));
        windows.push_back(*w);
    }
    void kill(KWindow* w, DeviceEvent*)
    {
        events.push_back("kill");
        delete w;
    }
};

#endif
