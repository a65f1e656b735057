// Dialogs run by ShowModal through real input: OK with Shift, Enter in a tab group, the close box;
// input withheld from other windows while timers and painting go on; the place kept.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

// What the last dialog saw before it was deleted.
struct Seen {
    RECT place;
    bool shifted;
} seen;

class Limits : public KDialog {
public:
    explicit Limits(KWindow* owner) : KDialog(owner, L"Limits", 0)
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 200);
        args.add(WA_CLIENT_HEIGHT, 120);
        init(nullptr, &args);
        KArgList f;
        f.add(WA_WIDTH, 60);
        f.add(WA_HEIGHT, 20);
        field = MakeWindow(getWorkArea(), &f);
        addToTabGroup(field);
        configure(false);
    }
    void okHandler() override { remember(); KDialog::okHandler(); }
    void cancelHandler() override { remember(); KDialog::cancelHandler(); }
    KWindow* field;

private:
    void remember()
    {
        GetWindowRect(hwnd, &seen.place);
        seen.shifted = wasShifted();
    }
};

Limits* current = nullptr;
KWindow* otherWindow = nullptr; // a window beside the dialog
std::vector<std::string> steps; // what the script did, and what other windows got
int ticks = 0;

void SendRaw(std::initializer_list<INPUT> inputs)
{
    for (INPUT in : inputs)
        SendInput(1, &in, sizeof(in));
}

INPUT KeyInput(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT MouseInput(DWORD flags, int x = 0, int y = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        in.mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    return in;
}

// A real click at the middle of w, without pumping (the dialog's loop must see it).
void ClickOn(HWND w, bool shift)
{
    RECT r;
    GetWindowRect(w, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    if (shift)
        SendRaw({KeyInput(VK_SHIFT, false)});
    SendRaw({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y), MouseInput(MOUSEEVENTF_LEFTDOWN),
             MouseInput(MOUSEEVENTF_LEFTUP)});
    if (shift)
        SendRaw({KeyInput(VK_SHIFT, true)});
}

// Drives the running dialog, one step per tick of a thread timer (which the dialog's loop
// dispatches): the script names what to do with it.
const char* script = "";
void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!current || !IsWindowVisible(*current))
        return;
    ++ticks;
    if (ticks == 2) {
        SetForegroundWindow(*current);
        current->field->setFocus();
    }
    if (ticks != 4)
        return;
    KillTimer(nullptr, id);
    const std::string s = script;
    if (s == "shift-ok")
        ClickOn(*current->getOkButton(), true);
    else if (s == "enter")
        SendRaw({KeyInput(VK_RETURN, false), KeyInput(VK_RETURN, true)});
    else if (s == "close")
        PostMessageW(*current, WM_CLOSE, 0, 0);
}

bool RunDialog(KWindow* owner, const char* what)
{
    script = what;
    ticks = 0;
    current = new Limits(owner);
    SetTimer(nullptr, 0, 50, Drive);
    const bool ok = ShowModal(current);
    current = nullptr;
    return ok;
}

// Clicks on the other window, has it repainted, then closes the dialog with its close box.
void CALLBACK Interfere(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!current)
        return;
    if (++ticks == 3) {
        ClickOn(*otherWindow, false);
    } else if (ticks == 6) {
        InvalidateRect(*otherWindow, nullptr, TRUE);
    } else if (ticks == 10) {
        KillTimer(nullptr, id);
        PostMessageW(*current, WM_CLOSE, 0, 0);
    }
}

struct Other {
    std::vector<std::string>* log;
    void pressed(KWindow*, MouseEvent*) { log->push_back("press"); }
    void painted(KWindow*, ExposeEvent*) { log->push_back("paint"); }
};

} // namespace

TEST(Dialogs, ModalRunsByRealInputAndTheirPlaceIsKept)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
    WindowOwner windows;
    KWindow* other = otherWindow = ShownPopup(windows, 0, 0, 150, 150);
    Other o = {&steps};
    other->_addEventHandler(new MouseEventHandler<Other>(&o, &Other::pressed, ME_BUTTONS));
    other->_addEventHandler(new MemberEventHandler<Other, ExposeEvent>(&o, &Other::painted));

    // The first time centred; OK clicked with Shift held.
    EXPECT_TRUE(RunDialog(other, "shift-ok"));
    EXPECT_TRUE(seen.shifted);
    const int w = seen.place.right - seen.place.left, h = seen.place.bottom - seen.place.top;
    EXPECT_EQ((std::vector<long>{(ScreenWidth() - w) / 2, (ScreenHeight() - h) / 2}),
              (std::vector<long>{seen.place.left, seen.place.top}));

    // Input to another window is withheld while the dialog runs; its painting goes on.
    steps.clear();
    script = "";
    ticks = 0;
    current = new Limits(other);
    current->move(300, 250);
    SetTimer(nullptr, 0, 50, Interfere);
    EXPECT_FALSE(ShowModal(current)) << "closed with the close box";
    current = nullptr;
    EXPECT_EQ(0, std::count(steps.begin(), steps.end(), "press")) << "the click on the other window was withheld";
    EXPECT_LE(1, std::count(steps.begin(), steps.end(), "paint")) << "painting went on";

    // Closed at (300, 250), it opens there again; Enter in its tab group is OK.
    EXPECT_TRUE(RunDialog(other, "enter"));
    EXPECT_EQ((std::vector<long>{300, 250}), (std::vector<long>{seen.place.left, seen.place.top}));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}

namespace {

// A resizable dialog with a tool strip and a status strip.
class Tools : public KDialog {
public:
    explicit Tools(KWindow* owner) : KDialog(owner, L"Tools", TITLE_BAR | MESSAGE_WIN)
    {
        KArgList args;
        args.add(WA_RESIZE_BORDER, true);
        args.add(WA_CLIENT_WIDTH, 220);
        args.add(WA_CLIENT_HEIGHT, 120);
        init(nullptr, &args);
        addLabel(KString(L"Probe"), SIDE_LEFT);
        configureAll(false);
    }
    KWindow* gripWin() const { return grip; }
};

Tools* tools = nullptr;
KToggleButton* tied = nullptr;
const char* toolsScript = "";

// Unsets the tied toggle with a click on it, or clicks OK.
void CALLBACK DriveTools(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!tools || ++ticks < 4)
        return;
    KillTimer(nullptr, id);
    ClickOn(std::string(toolsScript) == "untoggle" ? *tied : *tools->getOkButton(), false);
}

} // namespace

TEST(Dialogs, ToggleTiedToADialogToolStripAndGrip)
{
    WindowOwner windows;
    KWindow* owner = ShownPopup(windows, 0, 0, 150, 60);
    KArgList none;
    tied = MakeToggleButton(owner, &none, KString(L"Tools"));
    tied->setState(1);
    for (const char* script : {"untoggle", "ok"}) {
        toolsScript = script;
        ticks = 0;
        tools = new Tools(owner);
        ASSERT_TRUE(tools->titleBar() && tools->getMessageWin() && tools->gripWin());
        EXPECT_EQ(1, tools->titleBar()->leftCount());
        RECT dialog, grip;
        GetClientRect(*tools, &dialog);
        GetWindowRect(*tools->gripWin(), &grip);
        MapWindowPoints(nullptr, *tools, (POINT*)&grip, 2);
        EXPECT_EQ((std::vector<long>{dialog.right, dialog.bottom}), (std::vector<long>{grip.right, grip.bottom}))
            << "the grip sits in the corner";
        tied->setState(1);
        SetTimer(nullptr, 0, 50, DriveTools);
        const bool ok = ShowDialog(tools, tied); // modeless: the toggle can be clicked
        tools = nullptr;
        EXPECT_EQ(std::string(script) == "ok", ok) << script;
        EXPECT_FALSE(tied->getState()) << script << ": the toggle is unset either way";
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}
