// Dialogs run by ShowModal through real input: OK with Shift, Enter in a tab group, the close box;
// input withheld from other windows while timers and painting go on; the place kept.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

RECT place; // where the last dialog was when OK or Cancel ended it
bool shifted;
KWindow* field = nullptr; // the field of the running dialog, if it has one

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
    void okHandler() override
    {
        remember();
        KDialog::okHandler();
    }
    void cancelHandler() override
    {
        remember();
        KDialog::cancelHandler();
    }

private:
    void remember()
    {
        GetWindowRect(hwnd, &place);
        shifted = wasShifted();
    }
};

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

KDialog* current = nullptr;
KWindow* otherWindow = nullptr; // a window beside the dialog
KToggleButton* tied = nullptr;  // the toggle a modeless dialog is tied to
std::string script;
int ticks = 0;

// A real click at the middle of w, with Shift held when shift, not dispatched: the dialog's
// loop must see it.
void ClickOn(HWND w, bool shift)
{
    RECT r;
    GetClientRect(w, &r);
    SendMouseAt(w, r.right / 2, r.bottom / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                shift ? VK_SHIFT : 0);
}

// Drives the running dialog, one step per tick of a thread timer (which the dialog's loop
// dispatches): the focus to its field on tick 2, what the script names on tick 4; "interfere"
// clicks on the other window, has it repainted on tick 6 and uses the close box on tick 10.
void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!current || !IsWindowVisible(*current))
        return;
    const int t = ++ticks;
    if (t == (script == "interfere" ? 10 : 4))
        KillTimer(nullptr, id);
    if (t == 2 && field) {
        SetForegroundWindow(*current);
        field->setFocus();
    } else if (t == 4 && script == "enter") {
        SendKeys({VK_RETURN});
    } else if (t == 4) {
        const bool onOk = script == "shift-ok" || script == "ok";
        ClickOn(onOk ? *current->getOkButton() : script == "untoggle" ? *tied : *otherWindow,
                script == "shift-ok");
    } else if (t == 6 && script == "interfere") {
        InvalidateRect(*otherWindow, nullptr, TRUE);
    } else if (t == 10) {
        PostMessageW(*current, WM_CLOSE, 0, 0);
    }
}

// Runs d, modal or modeless (tied to the toggle), under the script.
bool RunDialog(KDialog* d, const char* what, bool modal = true)
{
    script = what;
    ticks = 0;
    current = d;
    SetTimer(nullptr, 0, 50, Drive);
    const bool ok = modal ? ShowModal(d) : ShowDialog(d, tied);
    current = nullptr;
    field = nullptr;
    return ok;
}

struct Other {
    std::vector<std::string> log; // what the other window got
    void pressed(KWindow*, MouseEvent*) { log.push_back("press"); }
    void painted(KWindow*, ExposeEvent*) { log.push_back("paint"); }
};

} // namespace

TEST(Dialogs, ModalRunsByRealInputAndTheirPlaceIsKept)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
    WindowOwner windows;
    KWindow* other = otherWindow = ShownPopup(windows, 0, 0, 150, 150);
    Other o;
    other->_addEventHandler(new MouseEventHandler<Other>(&o, &Other::pressed, ME_BUTTONS));
    other->_addEventHandler(new MemberEventHandler<Other, ExposeEvent>(&o, &Other::painted));
    // The first time centred; OK clicked with Shift held.
    EXPECT_TRUE(RunDialog(new Limits(other), "shift-ok"));
    EXPECT_TRUE(shifted);
    const int w = place.right - place.left, h = place.bottom - place.top;
    EXPECT_EQ((std::vector<long>{(ScreenWidth() - w) / 2, (ScreenHeight() - h) / 2}),
              (std::vector<long>{place.left, place.top}));
    // Input to another window is withheld while the dialog runs; its painting goes on.
    Limits* moved = new Limits(other);
    moved->move(300, 250);
    EXPECT_FALSE(RunDialog(moved, "interfere")) << "closed with the close box";
    EXPECT_EQ(0, std::count(o.log.begin(), o.log.end(), "press")) << "the click on the other window withheld";
    EXPECT_LE(1, std::count(o.log.begin(), o.log.end(), "paint")) << "painting went on";
    // Closed at (300, 250), it opens there again; Enter in its tab group is OK.
    EXPECT_TRUE(RunDialog(new Limits(other), "enter"));
    EXPECT_EQ((std::vector<long>{300, 250}), (std::vector<long>{place.left, place.top}));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}

TEST(Dialogs, ToggleTiedToADialogToolStripAndGrip)
{
    WindowOwner windows;
    KWindow* owner = ShownPopup(windows, 0, 0, 150, 60);
    KArgList none;
    tied = MakeToggleButton(owner, &none, KString(L"Tools"));
    for (const char* what : {"untoggle", "ok"}) {
        Tools* tools = new Tools(owner);
        ASSERT_TRUE(tools->titleBar() && tools->getMessageWin() && tools->gripWin());
        EXPECT_EQ(1, tools->titleBar()->leftCount());
        RECT dialog, grip;
        GetClientRect(*tools, &dialog);
        GetWindowRect(*tools->gripWin(), &grip);
        MapWindowPoints(nullptr, *tools, (POINT*)&grip, 2);
        EXPECT_EQ(dialog.right, grip.right) << "the grip sits in the corner";
        EXPECT_EQ(dialog.bottom, grip.bottom) << "the grip sits in the corner";
        tied->setState(1);
        // Modeless: the toggle can be clicked.
        EXPECT_EQ(std::string(what) == "ok", RunDialog(tools, what, false)) << what;
        EXPECT_FALSE(tied->getState()) << what << ": the toggle is unset either way";
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}
