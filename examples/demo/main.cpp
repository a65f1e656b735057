// A small application on korvel.dll: a main window whose form holds a framed
// table, a grid and a tab window (layouts.h).
// It starts through the library's WinMain; its exit code is the one set on
// the application object when the main window goes away.
//
//   demo.exe [/exit:<code>] [/close:<milliseconds>]
#include <korvel.h>
#include "layouts.h"
#include <stdlib.h>

namespace {

class DemoWindow : public KMainWin {
public:
    DemoWindow() : KMainWin(L"Korvel Demo")
    {
        KArgList args;
        args.add(WA_X, 40);
        args.add(WA_Y, 40);
        args.add(WA_CLIENT_WIDTH, 460);
        args.add(WA_CLIENT_HEIGHT, 300);
        init(nullptr, &args);
        demo::BuildLayouts(this);
    }
};

class DemoApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Korvel Demo"); }

    void main() override
    {
        KArray<KCmdArg> args = GetCommandArgs();
        int closeAfter = 0;
        for (int i = 1; i < args.count(); ++i) {
            if (args[i].name == "/exit")
                setExitCode(wcstoul(args[i].value, nullptr, 10));
            else if (args[i].name == "/close")
                closeAfter = (int)wcstol(args[i].value, nullptr, 10);
        }
        setMainWindow(new DemoWindow);
        if (closeAfter > 0)
            SetTimer(getMainWindow()->getWindow(), 1, closeAfter, closeTimer);
    }

private:
    static void CALLBACK closeTimer(HWND hwnd, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(hwnd, id);
        App->close();
    }
};

DemoApp demo;

} // namespace
