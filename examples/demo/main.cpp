// A small application on korvel.dll: a main window with a few child windows.
// It starts through the library's WinMain; its exit code is the one set on
// the application object when the main window goes away.
//
//   demo.exe [/exit:<code>] [/close:<milliseconds>]
#include <korvel.h>
#include <stdlib.h>

namespace {

// A coloured panel that paints its own caption.
class Panel : public KWindow {
public:
    static Panel* make(KWindow* parent, const wchar_t* caption, int x, int y, int w, int h,
                       COLORREF colour, short shadow)
    {
        KArgList args;
        args.add(WA_X, x);
        args.add(WA_Y, y);
        args.add(WA_WIDTH, w);
        args.add(WA_HEIGHT, h);
        args.add(WA_BACKGROUND, (unsigned long)colour);
        if (shadow)
            args.add(WA_SHADOW_STYLE, shadow);
        else
            args.add(WA_BORDERWIDTH, (short)1);
        auto* p = new Panel(caption);
        p->init(parent, &args);
        p->_addEventHandler(new ExposeEventHandler<Panel>(p, &Panel::paint));
        return p;
    }

private:
    explicit Panel(const wchar_t* caption) : text(caption) {}

    void paint(KWindow*, ExposeEvent* e)
    {
        HDC dc = e->paint.hdc;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, getForeground());
        HGDIOBJ old = SelectObject(dc, DEFAULT_VAR_FONT);
        RECT r = {0, 0, width(), height()};
        DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
    }

    KString text;
};

class DemoWindow : public KMainWin {
public:
    DemoWindow() : KMainWin(L"Korvel Demo")
    {
        KArgList args;
        args.add(WA_X, 40);
        args.add(WA_Y, 40);
        args.add(WA_CLIENT_WIDTH, 420);
        args.add(WA_CLIENT_HEIGHT, 260);
        init(nullptr, &args);
        Panel::make(this, L"Raised", 20, 20, 180, 100, RGB(0xC8, 0xE0, 0xF8), EDGE_RAISED);
        Panel::make(this, L"Sunken", 220, 20, 180, 100, RGB(0xF8, 0xE8, 0xC0), EDGE_SUNKEN);
        Panel::make(this, L"Bordered", 20, 140, 380, 100, RGB(0xD8, 0xF0, 0xD0), 0);
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
