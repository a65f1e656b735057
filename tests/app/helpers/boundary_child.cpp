// A program on the library whose main window's menu handler throws, for the
// tests of the window procedure as an exception boundary. It starts in the
// library's WinMain; main() opens the main window and posts a menu command,
// dispatched by the message loop of KAppClass::run; once the box is answered,
// a timer closes the window (a close request while a box is open would be
// refused). The
// argument says what the handler throws: korvel, std, fault or other. The
// window prints how many boxes were answered and the first one's text when it
// closes; the exit code is 5 when the loop ended normally.
#include <korvel.h>
#include <stdexcept>
#include <stdio.h>
#include <string.h>
#include "test_support.h"

namespace {

BoxWatcher* watcher = nullptr;
volatile int* volatile nowhere = nullptr;

class ThrowingWindow : public KMainWin {
public:
    explicit ThrowingWindow(const char* what) : KMainWin(L"Boundary"), what(what)
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 120);
        args.add(WA_CLIENT_HEIGHT, 80);
        init(nullptr, &args);
    }
    ~ThrowingWindow() override
    {
        printf("boxes: %d\n%s\n", (int)watcher->count(), Narrow(watcher->box().text).c_str());
        fflush(stdout);
    }
    KString toString(const char*) override { return KString(L"the boundary window"); }
    void menuHandler(unsigned, unsigned) override
    {
        if (strcmp(what, "korvel") == 0)
            throw KorvelException(1, 1005, "refused %d", 5);
        if (strcmp(what, "std") == 0)
            throw std::runtime_error("out of range");
        if (strcmp(what, "fault") == 0)
            *nowhere = 1;
        throw 42;
    }
private:
    const char* what;
};

void CALLBACK CloseWhenAnswered(HWND, UINT, UINT_PTR id, DWORD)
{
    if (watcher->count() == 0 || FindMessageBox())
        return;
    KillTimer(nullptr, id);
    PostMessageW(*App->getMainWindow(), WM_CLOSE, 0, 0);
}

class ChildApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Boundary Child"); }
    void main() override
    {
        static BoxWatcher answering;
        watcher = &answering;
        auto* w = new ThrowingWindow(__argc > 1 ? __argv[1] : "other");
        setMainWindow(w);
        setExitCode(5);
        PostMessageW(*w, WM_COMMAND, 1, 0);
        SetTimer(nullptr, 0, 20, CloseWhenAnswered);
    }
};

ChildApp app;

} // namespace
