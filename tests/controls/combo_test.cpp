// Combo boxes with their pop-up list, the font and drive fields and the colour field, driven
// by real input under a shown top level; the open list is read back as pixels.
#include <gtest/gtest.h>
#include <algorithm>
#include "test_support.h"

namespace {

KComboBox* Combo(KWindow* parent, int items, bool sort = false)
{
    KArgList args;
    args.add(WA_NUM_DISP_ROW, 5), args.add(WA_SORT, sort);
    KComboBox* c = MakeComboBox(parent, &args, KString(L"Pick"), 12);
    for (int i = 0; i < items; ++i)
        c->addString(Wide(Format("item %02d", i)).c_str(), 0, 0xFFFFFF);
    return c;
}

// A real click at a point of w; with send, nothing is dispatched (for a loop that must see it).
void ClickAt(KWindow* w, int x, int y, bool send = false, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP)
{
    POINT p = {x, y};
    ClientToScreen(*w, &p);
    send ? SendClick(p.x, p.y, down, up) : (MovePointer(p.x, p.y), MouseButtons({down, up}));
}

void OpenByClick(KComboBox* c) { ClickAt(c, c->width() - 4, c->height() / 2); }

std::vector<std::wstring> Items(KComboBox* c)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < c->getCount(); ++i)
        items.push_back(Wide(c->getListString(i)));
    return items;
}

// Steps run one per tick of a thread timer while open() runs the list's (or a dialog's) own
// loop; a list still open after the last step is closed, so that nothing hangs.
std::vector<std::function<void()>> steps;
size_t done = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (done < steps.size())
        steps[done++]();
}

void WhileOpen(KComboBox* c, const std::function<void()>& open, std::vector<std::function<void()>> script)
{
    script.push_back([c] { if (c->getDropDown()->isVisible()) c->dropDownHandler(-1); });
    steps = script, done = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 120, Tick);
    open();
    WaitFor([&] { return done == steps.size(); });
    KillTimer(nullptr, timer);
}

struct Events {
    std::vector<int> reasons, prompts, presses;
    std::vector<std::wstring> drives;
    void combo(KWindow*, ComboBoxEvent* e) { reasons.push_back(e->reason); }
    void prompt(KWindow*, PromptEvent* e) { prompts.push_back(e->reason); }
    void drive(KWindow*, DriveSelectEvent* e) { drives.push_back(Wide(e->drive)); }
    void pushed(KWindow*, PushButtonEvent* e) { presses.push_back(e->state); }
};

// Which rows of the open list show the highlight colour at x 1.
std::vector<bool> LitRows(KDropDownList* list)
{
    KWinDC src(list);
    KMemDC mem(list->width(), list->height());
    mem.bitBlt(DCRect(0, 0, list->width(), list->height()), src, KPOINT{0, 0});
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    std::vector<bool> lit;
    for (int y = list->getLineHeight() / 2; y < list->height(); y += list->getLineHeight())
        lit.push_back(Pixels(mem)[(size_t)(y * list->width() + 1)] == RGB(GetBValue(h), GetGValue(h), GetRValue(h)));
    return lit;
}

} // namespace

TEST(ComboBox, PopUpListByMouseAndKeys)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 100, 100, 420, 320);
    KComboBox* c = Combo(stage, 12);
    Activate(*stage);
    KDropDownList* list = c->getDropDown();
    KArgList at;
    at.add(WA_X, 300), at.add(WA_Y, 250);
    KPushButton* other = MakePushButton(stage, &at, KString(L"Other"));
    Events ev;
    other->_addEventHandler(new PushButtonHandler<Events>(&ev, &Events::pushed));
    c->_addEventHandler(new ComboBoxHandler<Events>(&ev, 0, &Events::combo));
    // Opened on the last item: 5 rows and a scroll bar, the last item the highlighted bottom row;
    // the scroll bar's arrow scrolls a line; a click outside closes the list and reaches nothing.
    c->setCurSel(11, false);
    std::vector<int> seen;
    std::vector<bool> lit;
    WhileOpen(c, [&] { OpenByClick(c); }, {[&] {
        seen = {list->isVisible(), list->getTopIndex(), list->height() / list->getLineHeight(),
                (GetWindowLongW(*list, GWL_STYLE) & WS_VSCROLL) != 0};
        lit = LitRows(list);
    }, [&] { // the scroll bar's up arrow
        RECT r;
        GetWindowRect(*list, &r);
        SendClick(r.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2, r.top + 1 + GetSystemMetrics(SM_CYVSCROLL) / 2);
    }, [&] { seen.push_back(list->getTopIndex()); }, [&] { ClickAt(other, 10, 10, true); }});
    seen.insert(seen.end(), {list->isVisible(), c->getCurSel()}); // after: closed, nothing taken
    EXPECT_EQ((std::vector<int>{1, 7, 5, 1, 6, 0, 11}), seen);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true}), lit);
    EXPECT_EQ(std::vector<int>(), ev.presses) << "the button got no press";
    // Closed list: Up and Down with and without Shift, at the ends.
    c->setFocus();
    struct Key { int start; WORD key; bool shift; int want; };
    for (const Key& k : {Key{0, VK_UP, false, 0}, Key{0, VK_DOWN, false, 1}, Key{11, VK_DOWN, false, 11},
                         Key{11, VK_UP, false, 10}, Key{3, VK_UP, true, 0}, Key{3, VK_DOWN, true, 11}}) {
        c->setCurSel(k.start, false);
        k.shift ? PressKeys({VK_SHIFT, k.key}) : PressKeys({k.key});
        EXPECT_EQ(k.want, c->getCurSel()) << k.start << " key " << k.key << " shift " << k.shift;
    }
    // Alt+Down opens it (still scrolled to 6); Down past the bottom row scrolls a line and moves the
    // highlight only; a click on the third row takes that item.
    c->setCurSel(10, false);
    ev.reasons.clear();
    WhileOpen(c, [&] { PressKeys({VK_MENU, VK_DOWN}); }, {[&] { SendKeys({VK_DOWN}); }, [&] {
        seen = {list->isVisible(), list->getCurSel(), c->getCurSel(), list->getTopIndex()};
        ClickAt(list, 10, 2 * list->getLineHeight() + 2, true);
    }});
    seen.insert(seen.end(), {list->isVisible(), c->getCurSel()});
    EXPECT_EQ((std::vector<int>{1, 11, 10, 7, 0, 9}), seen);
    EXPECT_EQ((std::vector<int>{7, 1}), ev.reasons) << "drop-down, then the choice";
}

TEST(ComboBox, EnterTakesTheHighlightedItemAndDoesNotCloseTheDialog)
{
    struct Dlg : KDialog {
        Dlg() : KDialog(nullptr, L"Combo", 0) { init(nullptr, nullptr), combo = Combo(getWorkArea(), 6), configure(false); }
        KComboBox* combo;
    }* d = new Dlg;
    std::vector<int> seen;
    steps = {[&] { SetForegroundWindow(*d), d->combo->setFocus(); }, [&] { SendKeys({VK_MENU, VK_DOWN}); },
             [&] { SendKeys({VK_DOWN}); }, [&] { SendKeys({VK_DOWN}); }, [&] { SendKeys({VK_RETURN}); },
             [&] { seen = {d->combo->getDropDown()->isVisible(), d->combo->getCurSel()}; SendKeys({VK_RETURN}); },
             [&] { seen.push_back(d->isRunning()); PostMessageW(*d, WM_CLOSE, 0, 0); }};
    done = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, Tick);
    EXPECT_FALSE(ShowModal(d)) << "closed by the script, not by Enter";
    KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<int>{0, 1, 1}), seen) << "list closed on item 1; the dialog still running";
}

TEST(ComboBox, CloseRequestsWhileTheListRunsItsLoop)
{
    struct Dlg : KDialog {
        Dlg() : KDialog(nullptr, L"Combo", 0) { init(nullptr, nullptr), combo = Combo(getWorkArea(), 6), configure(false); }
        KComboBox* combo;
    }* d = new Dlg;
    const HWND list = d->combo->getDropDown()->getWindow();
    std::vector<int> seen;
    // A close request to the list (taskkill sends one to every top level) only dismisses it;
    // one to the dialog while the list's loop runs ends both without touching the deleted box.
    steps = {[&] { SetForegroundWindow(*d), d->combo->setFocus(); }, [&] { SendKeys({VK_MENU, VK_DOWN}); },
             [&] { seen.push_back(IsWindowVisible(list)), PostMessageW(list, WM_CLOSE, 0, 0); },
             [&] { seen.push_back(IsWindow(list) && !IsWindowVisible(list)), SendKeys({VK_MENU, VK_DOWN}); },
             [&] { seen.push_back(IsWindowVisible(list)), PostMessageW(*d, WM_CLOSE, 0, 0); }};
    done = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, Tick);
    EXPECT_FALSE(ShowModal(d));
    KillTimer(nullptr, timer);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), seen);
    EXPECT_FALSE(IsWindow(list)) << "deleted with its box";
}

TEST(ComboBox, ItemsSearchInsertSortAndNotify)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 100, 100, 420, 320);
    KComboBox* c = Combo(stage, 0, true);
    for (const wchar_t* t : {L"alpha beta", L"Alpha", L"Gamma", L"Beta"})
        c->addString(t, 0, 0xFFFFFF);
    EXPECT_EQ(L"alpha beta", Items(c)[0]) << "unsorted until the focus comes";
    c->setFocus(), PumpMessages();
    // s: selectString, f: findString, i: findStringIns, e: findStringExact.
    struct Find { char op; const wchar_t* text; int want; };
    for (const Find& f : {Find{'s', L"alpha", -1}, Find{'s', L"Alpha", 0}, Find{'f', L"al", 3}, Find{'f', L"B", 1},
                          Find{'i', L"BE", 1}, Find{'i', L"ALPHA B", 3}, Find{'e', L"Gam", -1}}) {
        const int got = f.op == 's' ? c->selectString(f.text, false) : f.op == 'f' ? c->findString(f.text)
                      : f.op == 'i' ? c->findStringIns(f.text) : c->findStringExact(f.text);
        EXPECT_EQ(f.want, got) << f.op << " " << Narrow(f.text);
    }
    EXPECT_EQ("Alpha", Narrow(c->getRawText())) << "selectString shows the item";
    struct Insert { int at, count, where; };
    for (const Insert& i : {Insert{4, 5, 4}, Insert{-1, 4, -1}, Insert{5, 4, -1}, Insert{0, 5, 0}}) {
        c->insertString(i.at, L"new");
        EXPECT_EQ((std::vector<int>{i.count, i.where}), (std::vector<int>{c->getCount(), c->findStringExact(L"new")}));
        c->deleteString(c->findStringExact(L"new"));
    }
    Events ev;
    c->_addEventHandler(new ComboBoxHandler<Events>(&ev, 0, &Events::combo));
    for (bool notify : {false, true}) {
        c->clearIsModified(), ev.reasons.clear();
        c->setCurSel(2, notify);
        EXPECT_EQ(notify, c->getIsModified());
        EXPECT_EQ(notify ? std::vector<int>{1} : std::vector<int>{}, ev.reasons);
    }
    // Sorted again when the list drops down.
    c->addString(L"A", 0, 0xFFFFFF);
    WhileOpen(c, [&] { OpenByClick(c); }, {});
    EXPECT_EQ(L"A", Items(c)[0]);
}

namespace {

int CALLBACK Family(const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM out)
{
    return ((std::vector<std::wstring>*)out)->push_back(f->lfFaceName), 1;
}

} // namespace

TEST(FontAndDriveFields, ListWhatTheSystemHas)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 100, 100, 420, 320);
    std::vector<std::wstring> families, fonts, roots;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, nullptr, Family, (LPARAM)&families);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(families.empty());
    const std::string pick = Narrow(std::count(families.begin(), families.end(), L"Arial") ? L"Arial" : families[0]);
    KFontPrompt* font = MakeFontPrompt(stage, nullptr, KString(L"Font"), 20, pick.c_str());
    fonts = Items(font);
    std::sort(fonts.begin(), fonts.end()), std::sort(families.begin(), families.end());
    EXPECT_EQ(families, fonts);
    EXPECT_EQ(pick, Narrow(font->getRawText()));

    wchar_t buf[1000] = {0};
    GetLogicalDriveStringsW(1000, buf);
    for (const wchar_t* r = buf; *r; r += wcslen(r) + 1)
        roots.push_back(r);
    KDriveSelect* select = MakeDriveSelect(stage, nullptr, KString(L"Drive"));
    Events ev;
    select->_addEventHandler(new DriveSelectHandler<Events>(&ev, &Events::drive));
    EXPECT_EQ(roots, Items(select));
    EXPECT_EQ(-1, select->getCurSel()) << "no item reads \"c:\" exactly";
    Activate(*stage), select->setFocus();
    PressKeys({VK_SHIFT, VK_DOWN});
    EXPECT_EQ(std::vector<std::wstring>{roots.back()}, ev.drives);
}

TEST(ColorField, KeysStepTheCustomColoursAndButtonsChooseOrRestore)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 100, 100, 420, 320);
    for (int i = 0; i < 16; ++i)
        CustColorOpt[i] = RGB(i * 16, 255 - i * 16, 7);
    KColorPrompt* f = MakeColorPrompt(stage, nullptr, KString(L"Trace"), 6, RGB(1, 2, 3));
    Events ev;
    f->_addEventHandler(new PromptEventHandler<Events>(&ev, 0, &Events::prompt));
    Activate(*stage), f->setFocus();
    struct Case { COLORREF start; WORD key; COLORREF want; };
    for (const Case& c : {Case{CustColorOpt[15], VK_UP, CustColorOpt[0]}, Case{CustColorOpt[0], VK_DOWN, CustColorOpt[15]},
                          Case{CustColorOpt[4], VK_UP, CustColorOpt[5]}, Case{RGB(9, 9, 9), VK_DOWN, CustColorOpt[0]}}) {
        f->setColor(c.start);
        PressKeys({c.key});
        EXPECT_EQ(c.want, f->getColor()) << std::hex << c.start;
    }
    // The right button's release opens the chooser (answered here), the middle one restores.
    ColorDialogAnswer pick;
    pick.colour = RGB(40, 50, 60);
    AnswerColorDialog(pick);
    const DCRect box = f->getInnerRect();
    ClickAt(f, box.x + 2, box.y + 2, false, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(ColorDialogResult().found && !ColorDialogResult().forced);
    EXPECT_EQ(RGB(40, 50, 60), f->getColor());
    ClickAt(f, box.x + 2, box.y + 2, false, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    EXPECT_EQ(RGB(1, 2, 3), f->getColor());
    EXPECT_EQ(std::vector<int>(6, 768), ev.prompts);
    CustColorOpt = CustomColorOptions();
}
