// A small application on korvel.dll: a main window with a menu, a tool strip
// and a status strip, whose work area holds a framed table, a grid of controls
// and a tab window (layouts.h); File > Settings opens a dialog, File > Input
// the input page (inputs.cpp), File > Table a table of measurements that
// prints as a report and shows a print preview (table.cpp),
// File > Plot a signal and its spectrum (plots.cpp).
// It starts through the library's WinMain; its exit code is the one set on
// the application object when the main window goes away.
//
//   demo.exe [/exit:<code>] [/close:<milliseconds>]
#include <korvel.h>
#include "inputs.h"
#include "layouts.h"
#include "plots.h"
#include "table.h"
#include <stdlib.h>

namespace {

enum { ID_SETTINGS = 101, ID_INPUT, ID_QUIT, ID_ABOUT, ID_TABLE, ID_PLOT };

// The scripted runs of `make demo` choose a page through the environment.
bool EnvSet(const wchar_t* name) { return GetEnvironmentVariableW(name, nullptr, 0) > 0; }

// The settings dialog: OK and Cancel, and a note in its status strip.
class SettingsDialog : public KDialog {
public:
    explicit SettingsDialog(KWindow* owner) : KDialog(owner, L"Demo Settings", MESSAGE_WIN)
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 260);
        args.add(WA_CLIENT_HEIGHT, 140);
        init(nullptr, &args);
        KArgList box;
        box.add(WA_CHECK_BOX, 2);
        KToggleButton* beep = MakeToggleButton(getWorkArea(), &box, KString(L"Beep at the limits"));
        getWorkArea()->attachForm(beep, SIDE_LEFT, SIDE_TOP);
        KArgList plain;
        KLabel* limit = MakeLabel(getWorkArea(), &plain, KString(L"Upper limit: 15 V"), -1);
        getWorkArea()->attachForm(limit, SIDE_LEFT);
        getWorkArea()->attach(limit, SIDE_TOP, beep);
        configureAll(false);
        mprintf("Changes apply at once");
    }
};

class DemoWindow : public KMainWin {
public:
    DemoWindow() : KMainWin(L"Korvel Demo")
    {
        KArgList args;
        args.add(WA_X, 40);
        args.add(WA_Y, 40);
        args.add(WA_CLIENT_WIDTH, 460);
        args.add(WA_CLIENT_HEIGHT, 360);
        args.add(WA_BUTTON_BAR, true);
        args.add(WA_MESSAGE_BOX, true);
        init(nullptr, &args);
        addLabel(KString(L"Channel 3"), SIDE_LEFT);
        addToggle(KString(L"Hold"), SIDE_LEFT);
        addPushButton(KString(L"Run"), SIDE_RIGHT);
        progressPane = addMessageWin(16, SIDE_RIGHT);
        demo::BuildLayouts(mainForm());
    }
    void makeMenu(HMENU& menu, HACCEL& accel) override
    {
        menu = MakeMenu(accel, MENU_POPUP, L"&File", MENU_ITEM, L"&Settings ...", ID_SETTINGS,
                        MENU_ITEM, L"&Input ...", ID_INPUT, MENU_ITEM, L"&Table ...", ID_TABLE,
                        MENU_ITEM, L"&Plot ...", ID_PLOT, MENU_SEPARATOR,
                        MENU_ITEM, L"&Quit\tCtrl+Q", ID_QUIT, MENU_POPUP_END, MENU_POPUP, L"&Help",
                        MENU_ITEM, L"&About", ID_ABOUT, MENU_POPUP_END, MENU_END);
    }
    void menuHandler(unsigned id, unsigned) override
    {
        if (id == ID_SETTINGS)
            ShowModal(new SettingsDialog(this));
        else if (id == ID_INPUT)
            demo::ShowInputDialog(this, EnvSet(L"KORVEL_DEMO_INPUT"));
        else if (id == ID_TABLE)
            demo::ShowTableDialog(this, EnvSet(L"KORVEL_DEMO_TABLE"),
                                  EnvSet(L"KORVEL_DEMO_PRINT") ? 1 : EnvSet(L"KORVEL_DEMO_PREVIEW") ? 2 : 0);
        else if (id == ID_PLOT)
            demo::ShowPlotDialog(this);
        else if (id == ID_QUIT)
            App->close();
    }
    void restoreState() override
    {
        mprintf("Ready: 6 channels");
        mshow_progress(progressPane, 37);
    }

private:
    int progressPane = -1;
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
        // With KORVEL_DEMO_DIALOG set, the settings dialog opens at once (for
        // its screenshot).
        if (EnvSet(L"KORVEL_DEMO_DIALOG"))
            PostMessageW(getMainWindow()->getWindow(), WM_COMMAND, ID_SETTINGS, 0);
        // With KORVEL_DEMO_INPUT set, the input page opens with a list dropped down.
        if (EnvSet(L"KORVEL_DEMO_INPUT"))
            PostMessageW(getMainWindow()->getWindow(), WM_COMMAND, ID_INPUT, 0);
        // With KORVEL_DEMO_TABLE set, the table page opens scrolled, a note being edited.
        // With KORVEL_DEMO_PRINT set it also prints two pages and ends; with
        // KORVEL_DEMO_PREVIEW set it opens the print preview.
        if (EnvSet(L"KORVEL_DEMO_TABLE") ||
            EnvSet(L"KORVEL_DEMO_PRINT") ||
            EnvSet(L"KORVEL_DEMO_PREVIEW"))
            PostMessageW(getMainWindow()->getWindow(), WM_COMMAND, ID_TABLE, 0);
        // With KORVEL_DEMO_PLOT set, the plot page opens at once.
        if (EnvSet(L"KORVEL_DEMO_PLOT"))
            PostMessageW(getMainWindow()->getWindow(), WM_COMMAND, ID_PLOT, 0);
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
