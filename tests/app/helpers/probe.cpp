// A program on the library that the tests start as a child process, through the library's WinMain.
// By its first argument:
//   args           prints its command-line records, "name|value" a line; exits with their number
//   env            prints BOOT_DIR and TARNWELL_DIR
//   window <code>  opens a main window with a child and closes it from a timer; exits with <code>
//   menu           a main window with accelerators: a timer types Ctrl+S, Ctrl+S again with them
//                  disabled, then Ctrl+Shift+Q; prints each command; exits with 5, or 9 when late
//   throw <what>   the main window's menu handler throws (korvel, std, fault, other); prints the
//                  boxes answered and the first one's text; exits with 5 when the loop ended
// A close request while a box is open would be refused, so timers close only once it is answered.
#include <korvel.h>
#include <stdexcept>
#include <stdio.h>
#include <stdlib.h>
#include "test_support.h"

namespace {

enum { ID_SAVE = 102, ID_QUIT = 103 };
BoxWatcher* watcher = nullptr;
volatile int* volatile nowhere = nullptr;

struct ProbeWindow : KMainWin {
    std::string mode, what;
    ProbeWindow(const std::string& m, const std::string& w) : KMainWin(L"Probe"), mode(m), what(w)
    {
        KArgList none;
        init(nullptr, &none);
        if (mode == "window")
            MakeWindow(this, &none);
    }
    ~ProbeWindow() override
    {
        if (watcher)
            printf("boxes: %d\n%s\n", (int)watcher->count(), Narrow(watcher->box().text).c_str());
        fflush(stdout);
    }
    KString toString(const char*) override { return KString(L"the boundary window"); }
    void makeMenu(HMENU& menu, HACCEL& accel) override
    {
        if (mode == "menu")
            menu = MakeMenu(accel, MENU_POPUP, L"&File", MENU_ITEM, L"&Save\tCtrl+S", ID_SAVE,
                            MENU_ITEM, L"&Quit\tCtrl+Shift+Q", ID_QUIT, MENU_POPUP_END, MENU_END);
    }
    void menuHandler(unsigned id, unsigned code) override
    {
        if (what == "korvel")
            throw KorvelException(1, 1005, "refused %d", 5);
        if (what == "std")
            throw std::runtime_error("out of range");
        if (what == "fault")
            *nowhere = 1;
        if (mode == "throw")
            throw 42;
        printf("command %u %u\n", id, code);
        fflush(stdout);
        if (id == ID_QUIT) {
            App->setExitCode(5);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
    }
};

void CALLBACK CloseSoon(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    App->close();
}

void CALLBACK CloseWhenAnswered(HWND, UINT, UINT_PTR id, DWORD)
{
    if (watcher->count() == 0 || FindMessageBox())
        return;
    KillTimer(nullptr, id);
    PostMessageW(*App->getMainWindow(), WM_CLOSE, 0, 0);
}

// Each tick takes the next step once the window is active; the steps are spaced so that the
// disabled Ctrl+S has had time to arrive and be ignored.
void CALLBACK TypeKeys(HWND, UINT, UINT_PTR, DWORD)
{
    static int tick = 0;
    HWND main = *App->getMainWindow();
    if (GetActiveWindow() != main) {
        SetForegroundWindow(main);
        return;
    }
    switch (++tick) {
    case 1: SendKeys({VK_CONTROL, 'S'}); break;
    case 5: App->getMainWindow()->enableAccel(false); SendKeys({VK_CONTROL, 'S'}); break;
    case 10: App->getMainWindow()->enableAccel(true); SendKeys({VK_CONTROL, VK_SHIFT, 'Q'}); break;
    case 200: PostMessageW(main, WM_CLOSE, 0, 0); break;
    }
}

class ProbeApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Probe"); }
    void main() override
    {
        KArray<KCmdArg> args = GetCommandArgs();
        const std::string mode = args.count() > 1 ? Narrow(args[1].name) : "";
        const std::string arg = args.count() > 2 ? Narrow(args[2].name) : "";
        const bool window = mode == "window", menu = mode == "menu";
        if (window || menu || mode == "throw") {
            static BoxWatcher answering;
            watcher = window || menu ? nullptr : &answering;
            setMainWindow(new ProbeWindow(mode, arg));
            setExitCode(window ? strtoul(arg.c_str(), nullptr, 10) : menu ? 9 : 5);
            if (watcher)
                PostMessageW(*getMainWindow(), WM_COMMAND, 1, 0);
            HWND owner = window ? getMainWindow()->getWindow() : nullptr;
            SetTimer(owner, 1, menu ? 50 : 100, window ? CloseSoon : menu ? TypeKeys : CloseWhenAnswered);
            return;
        }
        KString text;
        int code = 255;
        if (mode == "args") {
            for (int i = 0; i < args.count(); ++i)
                text.append("%S|%S\n", &args[i].name, &args[i].value);
            code = args.count();
        } else if (mode == "env") {
            for (const wchar_t* name : {L"BOOT_DIR", L"TARNWELL_DIR"}) {
                wchar_t value[MAX_PATH] = {0};
                const bool set = GetEnvironmentVariableW(name, value, MAX_PATH) > 0;
                text.append("%U=%U\n", name, set ? value : L"<unset>");
            }
            code = 0;
        }
        fputs((const char*)text, stdout);
        fflush(stdout);
        setExitCode(code);
        PostQuitMessage(code);
    }
};

ProbeApp app;

} // namespace
