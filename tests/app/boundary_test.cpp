// The window procedure is an exception boundary: whatever a handler throws is reported in a box and
// the log, the message gets the default result, and the program goes on.
#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>
#include "test_support.h"

namespace {

volatile int* volatile nowhere = nullptr;

// A window whose mouse or resize handler throws what it is told to.
class Thrower : public KWindow {
public:
    enum What { Nothing, Korvel, Std, Fault, Other };
    static Thrower* make(KWindow* parent = nullptr, What inSize = Nothing)
    {
        auto* t = new Thrower;
        t->sizeThrows = inSize;
        // Before init: a visible child gets WM_SIZE inside CreateWindowExW.
        t->_addEventHandler(new ResizeEventHandler<Thrower>(t, &Thrower::resized));
        KArgList args;
        args.add(WA_WIDTH, 100);
        args.add(WA_HEIGHT, 60);
        t->init(parent, &args);
        t->_addEventHandler(new MouseEventHandler<Thrower>(t, &Thrower::pressed, ~0ul));
        return t;
    }
    KString toString(const char*) override { return KString(L"Thrower"); }
    // A menu command fails as a click does.
    void menuHandler(unsigned, unsigned) override { pressed(this, nullptr); }

    What what = Nothing, sizeThrows = Nothing;
    int repeats = 0, presses = 0; // repeats: presses posted again by the handler before it throws

private:
    static void raise(What w)
    {
        switch (w) {
        case Korvel: throw KorvelException(1, 1005, "refused %d", 5);
        case Std: throw std::runtime_error("out of range");
        case Fault: *nowhere = 1; break;
        case Other: throw 42;
        case Nothing: break;
        }
    }
    void pressed(KWindow*, MouseEvent*)
    {
        if (++presses <= repeats)
            PostMessageW(hwnd, WM_COMMAND, 1, 0);
        raise(what);
    }
    void resized(KWindow*, ResizeEvent*) { raise(sizeThrows); }
};

const std::string Of = "Unhandled exception in the handler of Thrower.";

const struct { Thrower::What what; std::string box, log; } Cases[] = {
    {Thrower::Korvel, Of + "\n\nrefused 5", Of + ": refused 5"},
    {Thrower::Std, "out of range", "ERROR(01-1030) " + Of + ": out of range"},
    {Thrower::Fault, Of + "\n\nEXCEPTION_ACCESS_VIOLATION(c0000005)\nAddress=",
     Of + ": EXCEPTION_ACCESS_VIOLATION(c0000005)"},
    {Thrower::Other, "Unknown exception in the handler of Thrower.",
     "ERROR(01-1030) Unknown exception in the handler of Thrower."},
};

} // namespace

TEST(HandlerExceptions, SentMessageShowsTheBoxLogsAndGoesOn)
{
    WindowOwner windows;
    Thrower* t = windows.own(Thrower::make());
    for (const auto& c : Cases) {
        t->what = c.what;
        const std::string mark = "case " + std::to_string(c.what);
        MarkLog(mark);
        BoxWatcher boxes;
        EXPECT_EQ(0, SendMessageW(*t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5))) << c.box;
        ASSERT_EQ(1u, boxes.count()) << c.box;
        const std::string text = Narrow(boxes.box().text);
        EXPECT_TRUE(boxes.box().title == L"Window Tests (01-1030)" && text.find(c.box) == 0) << text;
        EXPECT_NE(std::string::npos, LogAfter(mark).find(c.log)) << LogAfter(mark);
    }
    // The window still takes its messages.
    t->what = Thrower::Nothing;
    const int before = t->presses;
    SendMessageW(*t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(before + 1, t->presses);
}

TEST(HandlerExceptions, RepeatedFailuresWhileTheBoxIsOpenAreOnlyLogged)
{
    // The handler fails again at once, in the box's own message loop.
    WindowOwner windows;
    Thrower* t = windows.own(Thrower::make());
    t->what = Thrower::Std;
    t->repeats = 4;
    MarkLog("repeats");
    BoxWatcher boxes;
    SendMessageW(*t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    WaitFor([&] { return t->presses > t->repeats; }, 3000);
    EXPECT_TRUE(t->presses == 5 && boxes.count() == 1 && boxes.box().text == L"out of range");
    const std::vector<std::string> lines = Lines(LogAfter("repeats"));
    EXPECT_EQ(5, std::count_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.find(": out of range") != l.npos; }));
}

TEST(HandlerExceptions, FailuresDuringCreateWindowEx)
{
    WindowOwner windows;
    {
        // The resize handler runs inside CreateWindowExW; the window is made all the same.
        Thrower* top = windows.own(Thrower::make());
        BoxWatcher boxes;
        Thrower* t = Thrower::make(top, Thrower::Std);
        EXPECT_TRUE(t->getWindow() && t == top->child(0));
        ASSERT_GE(boxes.count(), 1u);
        EXPECT_EQ(L"out of range", boxes.box().text);
    }
    {
        // WM_CREATE itself faults on a creation parameter that is no window.
        BoxWatcher boxes;
        HWND h = CreateWindowExW(0, L"Korvel Window", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 KWNDCLASS::hInst, (void*)16);
        EXPECT_NE(nullptr, h);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(0u, Narrow(boxes.box().text)
                          .find("Unhandled exception in the handler of .\n\nEXCEPTION_ACCESS_VIOLATION"))
            << Narrow(boxes.box().text);
        DestroyWindow(h);
    }
}

TEST(HandlerExceptions, TheMessageLoopOfRunGoesOnAndTheProgramEndsNormally)
{
    const std::string of = "Unhandled exception in the handler of the boundary window.\n\n";
    const std::pair<const wchar_t*, std::string> runs[] = {{L"korvel", of + "refused 5"},
        {L"std", "out of range"}, {L"fault", of + "EXCEPTION_ACCESS_VIOLATION"},
        {L"other", "Unknown exception in the handler of the boundary window."}};
    for (const auto& [what, box] : runs) {
        std::string out;
        DeleteFileW((TempDir() + L"probe.log").c_str());
        EXPECT_EQ(5u, RunChild(L"probe.exe", std::wstring(L"throw ") + what, &out)) << out;
        out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
        EXPECT_NE(std::string::npos, out.find("boxes: 1\n" + box)) << out;
        const std::string log = ReadFileText(TempDir() + L"probe.log");
        EXPECT_NE(std::string::npos, log.find("handler of the boundary window.")) << log;
    }
}
