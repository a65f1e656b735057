// Top-level windows and the main window.
#include "ktoplevel.h"
#include "kapp.h"

KTopLevel::KTopLevel(const wchar_t* title)
{
    name = title;
}

void KTopLevel::checkMenuItem(int id, int checked) const
{
    CheckMenuItem(GetMenu(hwnd), id, checked ? MF_CHECKED : MF_UNCHECKED);
}

KMainWin::KMainWin(const wchar_t* title) : KTopLevel(title)
{
    // A class of its own, named after the executable, so that other programs
    // can find the main window by its class.
    wchar_t path[MAX_PATH] = {0};
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH))
        return;
    if (wndClass.registerClass(path, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS))
        classAtom = wndClass.atom;
}

// The class cannot be unregistered while the native window exists; the
// registration then simply lasts until the process ends.
KMainWin::~KMainWin() = default;

void KMainWin::setValues(KArgList* args)
{
    KTopLevel::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_MESSAGE_BOX)
            hasMessageBox = (bool)args->val(i);
        else if (args->attr(i) == WA_BUTTON_BAR)
            hasButtonBar = (bool)args->val(i);
    }
}

void KMainWin::init(KWindow*, KArgList* args)
{
    KForm::init(nullptr, args);
}

namespace {

struct TopLevelCount {
    DWORD process;
    int count;
};

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM data)
{
    auto* c = reinterpret_cast<TopLevelCount*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->process && IsWindowVisible(hwnd))
        ++c->count;
    return TRUE;
}

} // namespace

int GetTopLevelCount()
{
    TopLevelCount c = {GetCurrentProcessId(), 0};
    if (App && App->getMainWindow())
        GetWindowThreadProcessId(App->getMainWindow()->getWindow(), &c.process);
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    return c.count;
}
