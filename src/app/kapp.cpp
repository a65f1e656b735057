// The application object, its message loop and the program's entry point.
#include "kapp.h"
#include "kwindow_internal.h"
#include "kgraphics.h"
#include "kwindow.h"
#include "ktoplevel.h"
#include "kregistry.h"

KAppClass* App = nullptr;
const wchar_t KAppClass::USE_TOOL_TIPS_VALUE[] = L"Use Tool Tips";

KAppClass::KAppClass()
    : hInst(nullptr), hPrevInst(nullptr), cmdLine(nullptr), cmdShow(0), mainWin(nullptr),
      exitCode(0)
{
    App = this;
}

KAppClass::~KAppClass()
{
    if (App == this)
        App = nullptr;
}

void KAppClass::init(HINSTANCE inst, HINSTANCE prev, char* line, int show)
{
    hInst = inst;
    hPrevInst = prev;
    cmdLine = line;
    cmdShow = show;
}

bool TranslateMainAccelerator(MSG& msg)
{
    KMainWin* w = App ? App->getMainWindow() : nullptr;
    if (!w || !w->hasAccel() || !w->areAccelEnabled() || GetActiveWindow() != w->getWindow())
        return false;
    return TranslateAcceleratorW(w->getWindow(), w->getAccel(), &msg) != 0;
}

unsigned long KAppClass::run()
{
    if (mainWin) {
        mainWin->configureAll(false);
        ShowWindow(mainWin->getWindow(), cmdShow);
        UpdateWindow(mainWin->getWindow());
        mainWin->restoreState();
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateMainAccelerator(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (unsigned long)msg.wParam;
}

void KAppClass::close()
{
    SendMessageW(mainWin->getWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool KAppClass::isForegroundWindow()
{
    return mainWin && GetForegroundWindow() == mainWin->getWindow();
}

HMENU KAppClass::getMenu() const
{
    return mainWin ? GetMenu(mainWin->getWindow()) : nullptr;
}

bool KAppClass::getUseToolTip()
{
    if (!GetActiveWindow())
        return false;
    int value = 0;
    try {
        KRegistry reg;
        reg.openKey(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY, KEY_READ);
        reg.loadValue(USE_TOOL_TIPS_VALUE, &value);
    } catch (const KorvelException&) {
        return false;
    }
    return value != 0;
}

bool KAppClass::setUseToolTip(int value)
{
    try {
        KRegistry reg;
        reg.createKey(HKEY_CURRENT_USER, TARNWELL_PREFERENCES_SUBKEY);
        reg.storeValue(USE_TOOL_TIPS_VALUE, value);
        return true;
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1001), "Could not store tool tips preference to registry.");
        return false;
    }
}

// Each forwards to the main window. Like every window output operation, one
// called on a null window (no main window yet) does nothing.
#define FORWARD_TO_MAIN(call)    \
    if (!this)                   \
        return;                  \
    va_list args;                \
    va_start(args, format);      \
    KWindow* w = mainWin;        \
    call;                        \
    va_end(args)

void KAppClass::err_printf(ERRCODE code, const char* format, ...) { FORWARD_TO_MAIN(w->_err_printf(0, code, format, args)); }
void KAppClass::err_printf(int field, ERRCODE code, const char* format, ...) { FORWARD_TO_MAIN(w->_err_printf(field, code, format, args)); }
void KAppClass::warn_printf(ERRCODE code, const char* format, ...) { FORWARD_TO_MAIN(w->_warn_printf(0, code, format, args)); }
void KAppClass::warn_printf(int field, ERRCODE code, const char* format, ...) { FORWARD_TO_MAIN(w->_warn_printf(field, code, format, args)); }
void KAppClass::mprintf(const char* format, ...) { FORWARD_TO_MAIN(w->_mprintf(0, 0, 0, format, args)); }
void KAppClass::mprintf(int field, const char* format, ...) { FORWARD_TO_MAIN(w->_mprintf(field, 0, 0, format, args)); }
void KAppClass::mprintf(int field, unsigned long fg, unsigned long bg, const char* format, ...)
{
    FORWARD_TO_MAIN(w->_mprintf(field, fg, bg, format, args));
}

bool StartMaximized()
{
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    GetStartupInfoW(&si);
    return (si.dwFlags & STARTF_USESHOWWINDOW) && si.wShowWindow == SW_SHOWMAXIMIZED;
}

int GetOSVersion()
{
    OSVERSIONINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info); // 276 bytes
    if (!GetVersionExW(&info))
        FatalAppExitW(0, L"GetVersionEx failed");
    return (int)info.dwMajorVersion;
}

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                              int nCmdShow)
{
    KWNDCLASS::hInst = hInstance;
    def_class.registerClass(L"Korvel Window", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    popup_class.registerClass(L"Korvel Popup", CS_SAVEBITS | CS_DBLCLKS);
    KDevInfo::init();
    App->init(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
    App->main();
    return (int)App->run();
}
