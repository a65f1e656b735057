// A program on the library whose main window has a menu bar with accelerators,
// for the test of accelerator translation in the message loop of
// KAppClass::run. It starts in the library's WinMain; once its main window is
// active, a timer types Ctrl+S, then Ctrl+S again with the accelerators
// disabled, then Ctrl+Shift+Q with them enabled again. The menu handler prints
// each command it gets and closes the window on Quit; the exit code is 5 when
// the loop ended that way, 9 when the commands did not come within 10 s.
#include <korvel.h>
#include <stdio.h>
#include "test_support.h"

namespace {

enum { ID_SAVE = 102, ID_QUIT = 103 };

class MenuWindow : public KMainWin {
public:
    MenuWindow() : KMainWin(L"Menus")
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 160);
        args.add(WA_CLIENT_HEIGHT, 80);
        init(nullptr, &args);
    }
    void makeMenu(HMENU& menu, HACCEL& accel) override
    {
        menu = MakeMenu(accel, MENU_POPUP, L"&File", MENU_ITEM, L"&Save\tCtrl+S", ID_SAVE,
                        MENU_ITEM, L"&Quit\tCtrl+Shift+Q", ID_QUIT, MENU_POPUP_END, MENU_END);
    }
    void menuHandler(unsigned id, unsigned code) override
    {
        printf("command %u %u\n", id, code);
        fflush(stdout);
        if (id == ID_QUIT) {
            App->setExitCode(5);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
    }
};

// Each tick takes the next step once the window is active; the steps are
// spaced so that the disabled Ctrl+S has had time to arrive and be ignored.
void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
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

class ChildApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Menu Child"); }
    void main() override
    {
        setMainWindow(new MenuWindow);
        setExitCode(9);
        SetTimer(nullptr, 0, 50, Step);
    }
};

ChildApp app;

} // namespace
