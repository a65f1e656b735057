// Menus and accelerators from command lists: the accelerator table, look-ups and edits by label
// and id, context menus chosen with real keys, and accelerators through the loop of run.
#include <gtest/gtest.h>
#include "app_tests.h"

namespace {

enum { ID_OPEN = 101, ID_SAVE, ID_QUIT, ID_RECENT, ID_TOOLS, ID_ZOOM, ID_MENU, ID_FIND, ID_BACK,
       ID_NEXT, ID_ODD, ID_VIEW_RECENT, ID_HELP, ID_REDO };

HMENU Bar(HACCEL& accel)
{
    return MakeMenu(accel,
        MENU_POPUP, L"&File",
            MENU_ITEM, L"&Open ...\tCtrl+O", ID_OPEN,
            MENU_ITEM, L"Save\tCtrl+S", ID_SAVE,
            MENU_POPUP, L"Recent", MENU_ITEM, L"a.txt", ID_RECENT, MENU_POPUP_END,
            MENU_ITEM, L"Tools", ID_TOOLS,
            MENU_SEPARATOR,
            MENU_ITEM, L"&Quit\tCtrl+Shift+Q", ID_QUIT,
            MENU_ITEM, L"Redo\tCtrl+y", ID_REDO,
        MENU_POPUP_END,
        MENU_POPUP, L"&View",
            MENU_ITEM, L"Zoom in\t+", ID_ZOOM,
            MENU_ITEM, L"Menu\tx", ID_MENU,
            MENU_ITEM, L"Find next\tF3", ID_FIND,
            MENU_ITEM, L"Back\tAlt+Left", ID_BACK,
            MENU_ITEM, L"Next\tPage Down", ID_NEXT,
            MENU_ITEM, L"Odd\tCtrl+Banana", ID_ODD,
            MENU_ITEM, L"a.txt", ID_VIEW_RECENT,
        MENU_POPUP_END,
        MENU_POPUP, L"Tools", MENU_POPUP_END,
        MENU_ITEM, L"&Help", ID_HELP,
        MENU_END);
}

// "flags key command" of each entry of a table.
Texts Entries(HACCEL accel)
{
    ACCEL a[32];
    const int n = CopyAcceleratorTableW(accel, a, 32);
    Texts t;
    for (int i = 0; i < n; ++i)
        t.push_back(Format("%d %d %d", a[i].fVirt & 0x7F, a[i].key, a[i].cmd)); // 0x80 ends a table
    return t;
}

bool Grey(HMENU m, UINT item, UINT by) { return (GetMenuState(m, item, by) & MF_GRAYED) != 0; }

// A top-level window whose menu bar is Bar().
struct MenuWin : Probe {
    void makeMenu(HMENU& menu, HACCEL& accel) override { menu = Bar(accel); }
};

// While a context menu tracks, a timer types Down and Enter: the first item is chosen.
void CALLBACK ChooseFirst(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    SendKeys({VK_DOWN});
    SendKeys({VK_RETURN});
}

} // namespace

TEST(Menus, AcceleratorsFromItemTextsAndLookUps)
{
    HACCEL accel = nullptr;
    HMENU bar = Bar(accel);
    ASSERT_NE(nullptr, accel);
    // Ctrl is 8, Shift 4, Alt 16, a virtual key 1; a lone character is itself, upper case after
    // a modifier; an unknown key name leaves the key 0.
    EXPECT_EQ((Texts{"9 79 101", "9 83 102", "13 81 103", "9 89 114", "0 43 106", "0 120 107", "1 114 108",
                     "17 37 109", "1 34 110", "9 0 111"}),
              Entries(accel));
    DestroyAcceleratorTable(accel);
    HACCEL untouched = (HACCEL)1;
    DestroyMenu(MakeMenu(untouched, MENU_ITEM, L"&Help", ID_HELP, MENU_END));
    EXPECT_EQ((HACCEL)1, untouched) << "without accelerators the table is not written";

    HMENU file = GetSubMenu(bar, 0), recent = GetSubMenu(file, 2), view = GetSubMenu(bar, 1);
    struct Look { const wchar_t* label; HMENU menu; int position; const char* raw; };
    const Look looks[] = {
        {L"Open ...", file, 0, "&Open ...\tCtrl+O"}, // cleaned: no "&", nothing after the tab
        {L"Tools", bar, 2, "Tools"},                 // the menu's own items before its popups
        {L"a.txt", recent, 0, "a.txt"},              // popups depth-first, in order
        {L"Quit", file, 5, "&Quit\tCtrl+Shift+Q"},
        {L"open ...", nullptr, -1, ""},              // exact case
        {L"Nothing", nullptr, -1, ""},
    };
    for (const Look& l : looks) {
        int position = -1;
        wchar_t raw[512] = L"";
        EXPECT_EQ(l.menu, FindSubMenu(bar, l.label, &position, raw)) << Narrow(l.label);
        EXPECT_TRUE(l.position == position && l.raw == Narrow(raw)) << Narrow(l.label);
    }
    EXPECT_EQ(nullptr, FindSubMenu(nullptr, L"Tools", nullptr));

    HMENU holder = nullptr;
    int position = -1;
    EXPECT_TRUE(FindPos(bar, ID_VIEW_RECENT, &holder, &position) && holder == view && position == 6);
    EXPECT_TRUE(FindPos(bar, ID_HELP, &holder, &position) && holder == bar && position == 3);
    EXPECT_FALSE(FindPos(bar, 999, &holder, &position));
    EXPECT_EQ("File|Quit", Narrow(GetMenuStringW(bar, 0, MF_BYPOSITION) + "|" +
                                  GetMenuStringW(file, ID_QUIT, MF_BYCOMMAND)));
    EXPECT_TRUE(EnableMenu(bar, L"Save", MF_GRAYED) == 1 && EnableMenu(bar, L"Saved", MF_GRAYED) == 0);
    EXPECT_TRUE(Grey(file, ID_SAVE, MF_BYCOMMAND) && !Grey(file, ID_OPEN, MF_BYCOMMAND));
    EnableMenu(view, false);
    EXPECT_TRUE(Grey(view, 0, MF_BYPOSITION) && Grey(view, 6, MF_BYPOSITION));
    EnableMenu(view, true);
    EXPECT_FALSE(Grey(view, 0, MF_BYPOSITION) || Grey(view, 6, MF_BYPOSITION));
    EnableMenu(nullptr, false);
    EXPECT_FALSE(IsMenuItemChecked(bar, 999));
    DestroyMenu(bar);
}

TEST(Menus, MenuBarOfAWindowChecksReplacementAndContextMenus)
{
    WindowOwner windows;
    MenuWin* w = windows.own(Probe::make<MenuWin>(nullptr, WA_CLIENT_WIDTH, 200, WA_CLIENT_HEIGHT, 100));
    HMENU bar = w->getMenu();
    ASSERT_TRUE(bar && w->hasAccel()) << "makeMenu gives the window its menu and accelerators";
    EXPECT_TRUE(ToggleMenuItemCheck(w, ID_SAVE) && IsMenuItemChecked(bar, ID_SAVE));
    EXPECT_FALSE(ToggleMenuItemCheck(w, ID_SAVE) || IsMenuItemChecked(bar, ID_SAVE));
    EXPECT_FALSE(ToggleMenuItemCheck(Probe::make(w), ID_SAVE)) << "a child has no menu";

    HMENU tools = CreatePopupMenu();
    AppendMenuItem(tools, L"Calibrate", 300);
    EXPECT_TRUE(ReplaceMenu(w, bar, L"Tools", tools) == 1 && GetSubMenu(bar, 2) == tools);
    EXPECT_EQ("Tools", Narrow(GetMenuStringW(bar, 2, MF_BYPOSITION)));
    EXPECT_EQ(0, ReplaceMenu(w, bar, L"Gadgets", tools));

    // The menu bar of the outermost window, from a grandchild.
    Probe* inner = Probe::make(Probe::make(w));
    EnableMainMenu(*inner, false);
    EXPECT_TRUE(Grey(bar, 0, MF_BYPOSITION) && Grey(bar, 3, MF_BYPOSITION));
    EnableMainMenu(*inner, true);
    EXPECT_FALSE(Grey(bar, 0, MF_BYPOSITION));

    // Context menus track the first popup; chosen with real keys.
    w->show(true);
    ASSERT_TRUE(Activate(*w));
    w->calls.clear();
    SetTimer(nullptr, 0, 100, ChooseFirst);
    EXPECT_EQ(ID_OPEN, PopupMenuEx(bar, KPOINT{10, 10}, w));
    PumpMessages();
    EXPECT_TRUE(w->calls.empty()) << "the chosen command is returned, no message sent";
    SetTimer(nullptr, 0, 100, ChooseFirst);
    PopupMenu(bar, KPOINT{10, 10}, w, inner);
    EXPECT_TRUE(WaitFor([&] { return !w->calls.empty() && w->calls.back() == "command 101 0"; }));
    EXPECT_NE(w->calls.end(), std::find(w->calls.begin(), w->calls.end(), "init 279"))
        << "the owner may prepare the popup";
}

TEST(Menus, AcceleratorsThroughTheLoopOfRun)
{
    std::string out;
    EXPECT_EQ(5u, RunChild(L"probe.exe", L"menu", &out)) << out;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    EXPECT_EQ("command 102 1\ncommand 103 1\n", out) << "Ctrl+S while disabled gives nothing";
}
