// Combo boxes with their pop-up list, the font and drive fields and the colour field, driven
// by real input under a shown top level; the open list is read back as pixels.
#include "control_tests.h"

static KComboBox* Combo(KWindow* parent, int items, bool sort = false)
{
    KArgList args;
    args.add(WA_NUM_DISP_ROW, 5);
    args.add(WA_SORT, sort);
    KComboBox* c = MakeComboBox(parent, &args, KString(L"Pick"), 12);
    for (int i = 0; i < items; ++i)
        c->addString(Wide(Format("item %02d", i)).c_str(), 0, 0xFFFFFF);
    return c;
}

// A real left click at (x, y) of w, not dispatched: the list's (or a dialog's) loop sees it.
static void SendLeft(HWND w, int x, int y)
{
    SendMouseAt(w, x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

static std::vector<std::wstring> Items(KComboBox* c)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < c->getCount(); ++i)
        items.push_back(Wide(c->getListString(i)));
    return items;
}

// Runs open(), which runs the list's (or a dialog's) own loop, while a thread timer runs one step
// per tick; c's list (when c is given) still open after the last step is closed, so that nothing hangs.
static std::vector<std::function<void()>> steps;
static size_t done = 0;
static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (done < steps.size())
        steps[done++]();
}

static void RunSteps(UINT ms, KComboBox* c, const std::function<void()>& open,
                     std::vector<std::function<void()>> script)
{
    if (c)
        script.push_back([c] { if (c->getDropDown()->isVisible()) c->dropDownHandler(-1); });
    steps = script;
    done = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, ms, Tick);
    open();
    WaitFor([&] { return done == steps.size(); });
    KillTimer(nullptr, timer);
}

struct Dlg : KDialog {
    Dlg() : KDialog(nullptr, L"Combo", 0)
    {
        init(nullptr, nullptr);
        combo = Combo(getWorkArea(), 6);
        configure(false);
    }
    KComboBox* combo;
};

struct Events {
    std::vector<int> reasons, prompts, presses;
    std::vector<std::wstring> drives;
    void combo(KWindow*, ComboBoxEvent* e) { reasons.push_back(e->reason); }
    void prompt(KWindow*, PromptEvent* e) { prompts.push_back(e->reason); }
    void drive(KWindow*, DriveSelectEvent* e) { drives.push_back(Wide(e->drive)); }
    void pushed(KWindow*, PushButtonEvent* e) { presses.push_back(e->state); }
};

static int CALLBACK Family(const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM out)
{
    ((std::vector<std::wstring>*)out)->push_back(f->lfFaceName);
    return 1;
}

// Which rows of the open list show the highlight colour at x 1.
static std::vector<bool> LitRows(KDropDownList* list)
{
    KWinDC src(list);
    KMemDC mem(list->width(), list->height());
    mem.bitBlt(DCRect(0, 0, list->width(), list->height()), src, KPOINT{0, 0});
    const std::vector<DWORD> p = Pixels(mem);
    std::vector<bool> lit;
    for (int y = list->getLineHeight() / 2; y < list->height(); y += list->getLineHeight())
        lit.push_back(p[(size_t)(y * list->width() + 1)] == Rgb(GetSysColor(COLOR_HIGHLIGHT)));
    return lit;
}

TEST(ComboBox, ListsFieldsAndDialogsByMouseAndKeys)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    KComboBox* c = Combo(stage, 12);
    KDropDownList* list = c->getDropDown();
    KPushButton* other = MakePushButton(stage, nullptr, KString(L"Other"));
    other->move(300, 250, other->Width(), other->Height());
    Events ev;
    other->_addEventHandler(new PushButtonHandler<Events>(&ev, &Events::pushed));
    c->_addEventHandler(new ComboBoxHandler<Events>(&ev, 0, &Events::combo));
    // Opened on the last item: 5 rows and a scroll bar, the last item the highlighted bottom row;
    // the scroll bar's arrow scrolls a line; a click outside closes the list and reaches nothing.
    c->setCurSel(11, false);
    std::vector<int> seen;
    std::vector<bool> lit;
    RunSteps(120, c, [&] { ClickAt(*c, c->width() - 4, c->height() / 2); }, {[&] {
        seen = {list->isVisible(), list->getTopIndex(), list->height() / list->getLineHeight(),
                (GetWindowLongW(*list, GWL_STYLE) & WS_VSCROLL) != 0};
        lit = LitRows(list);
    }, [&] { // the scroll bar's up arrow, outside the client area: placed from the desktop's origin
        RECT r;
        GetWindowRect(*list, &r);
        SendLeft(GetDesktopWindow(), r.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2,
                      r.top + 1 + GetSystemMetrics(SM_CYVSCROLL) / 2);
    }, [&] { seen.push_back(list->getTopIndex()); }, [&] { SendLeft(*other, 10, 10); }});
    seen.insert(seen.end(), {list->isVisible(), c->getCurSel()}); // after: closed, nothing taken
    EXPECT_EQ((std::vector<int>{1, 7, 5, 1, 6, 0, 11}), seen);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true}), lit);
    EXPECT_EQ(std::vector<int>(), ev.presses) << "the button got no press";
    // Closed list: Up and Down with and without Shift, at the ends.
    c->setFocus();
    struct Key { int start; WORD key; bool shift; int want; };
    const Key arrows[] = {{0, VK_UP, false, 0}, {0, VK_DOWN, false, 1}, {11, VK_DOWN, false, 11},
                        {11, VK_UP, false, 10}, {3, VK_UP, true, 0}, {3, VK_DOWN, true, 11}};
    for (const Key& k : arrows) {
        c->setCurSel(k.start, false);
        k.shift ? PressKeys({VK_SHIFT, k.key}) : PressKeys({k.key});
        EXPECT_EQ(k.want, c->getCurSel()) << k.start << " key " << k.key << " shift " << k.shift;
    }
    // Alt+Down opens it (still scrolled to 6); Down past the bottom row scrolls a line and moves
    // the highlight only; a click on the third row takes that item.
    c->setCurSel(10, false);
    ev.reasons.clear();
    RunSteps(120, c, [&] { PressKeys({VK_MENU, VK_DOWN}); }, {[&] { SendKeys({VK_DOWN}); }, [&] {
        seen = {list->isVisible(), list->getCurSel(), c->getCurSel(), list->getTopIndex()};
        SendLeft(*list, 10, 2 * list->getLineHeight() + 2);
    }});
    seen.insert(seen.end(), {list->isVisible(), c->getCurSel()});
    EXPECT_EQ((std::vector<int>{1, 11, 10, 7, 0, 9}), seen);
    EXPECT_EQ((std::vector<int>{7, 1}), ev.reasons) << "drop-down, then the choice";
    // A sorted box: items found, inserted and chosen with or without a notice.
    delete c;
    c = Combo(stage, 0, true);
    for (const wchar_t* t : {L"alpha beta", L"Alpha", L"Gamma", L"Beta"})
        c->addString(t, 0, 0xFFFFFF);
    EXPECT_EQ(L"alpha beta", Items(c)[0]) << "unsorted until the focus comes";
    c->setFocus();
    PumpMessages();
    struct Find { char op; const wchar_t* text; int want; };
    const Find finds[] = {{'s', L"alpha", -1}, {'s', L"Alpha", 0}, {'f', L"al", 3}, {'f', L"B", 1},
                          {'i', L"BE", 1}, {'i', L"ALPHA B", 3}, {'e', L"Gam", -1}};
    for (const Find& f : finds) {
        const int got = f.op == 's' ? c->selectString(f.text, false)
                        : f.op == 'f' ? c->findString(f.text)
                        : f.op == 'i' ? c->findStringIns(f.text)
                                      : c->findStringExact(f.text);
        EXPECT_EQ(f.want, got) << f.op << " " << Narrow(f.text);
    }
    EXPECT_EQ("Alpha", Narrow(c->getRawText())) << "selectString shows the item";
    struct Insert { int at, count, where; };
    for (const Insert& i : {Insert{4, 5, 4}, Insert{-1, 4, -1}, Insert{5, 4, -1}, Insert{0, 5, 0}}) {
        c->insertString(i.at, L"new");
        EXPECT_EQ(i.count, c->getCount()) << i.at;
        EXPECT_EQ(i.where, c->findStringExact(L"new")) << i.at;
        c->deleteString(c->findStringExact(L"new"));
    }
    c->_addEventHandler(new ComboBoxHandler<Events>(&ev, 0, &Events::combo));
    for (bool notify : {false, true}) {
        c->clearIsModified();
        ev.reasons.clear();
        c->setCurSel(2, notify);
        EXPECT_EQ(notify, c->getIsModified());
        EXPECT_EQ(notify ? std::vector<int>{1} : std::vector<int>{}, ev.reasons);
    }
    c->addString(L"A", 0, 0xFFFFFF);
    RunSteps(120, c, [&] { ClickAt(*c, c->width() - 4, c->height() / 2); }, {});
    EXPECT_EQ(L"A", Items(c)[0]) << "sorted again when the list drops down";
    // The font and drive fields list what the system has.
    delete c;
    std::vector<std::wstring> families, roots;
    EnumFontFamiliesW(KWinDC(stage), nullptr, Family, (LPARAM)&families);
    ASSERT_FALSE(families.empty());
    const bool arial = std::count(families.begin(), families.end(), L"Arial") > 0;
    const std::string pick = Narrow(arial ? L"Arial" : families[0]);
    KFontPrompt* font = MakeFontPrompt(stage, nullptr, KString(L"Font"), 20, pick.c_str());
    std::vector<std::wstring> fonts = Items(font);
    std::sort(fonts.begin(), fonts.end());
    std::sort(families.begin(), families.end());
    EXPECT_EQ(families, fonts);
    EXPECT_EQ(pick, Narrow(font->getRawText()));
    wchar_t buf[1000] = {0};
    GetLogicalDriveStringsW(1000, buf);
    for (const wchar_t* r = buf; *r; r += wcslen(r) + 1)
        roots.push_back(r);
    KDriveSelect* select = MakeDriveSelect(stage, nullptr, KString(L"Drive"));
    ev = Events();
    select->_addEventHandler(new DriveSelectHandler<Events>(&ev, &Events::drive));
    EXPECT_EQ(roots, Items(select));
    EXPECT_EQ(-1, select->getCurSel()) << "no item reads \"c:\" exactly";
    select->setFocus();
    PressKeys({VK_SHIFT, VK_DOWN});
    EXPECT_EQ(std::vector<std::wstring>{roots.back()}, ev.drives);
    delete select;
    delete font;
    // The colour field: keys step through the custom colours, buttons choose or restore.
    for (int i = 0; i < 16; ++i)
        CustColorOpt[i] = RGB(i * 16, 255 - i * 16, 7);
    KColorPrompt* f = MakeColorPrompt(stage, nullptr, KString(L"Trace"), 6, RGB(1, 2, 3));
    f->_addEventHandler(new PromptEventHandler<Events>(&ev, 0, &Events::prompt));
    f->setFocus();
    struct Case { COLORREF start; WORD key; COLORREF want; };
    const COLORREF* o = CustColorOpt.getColors();
    const Case cases[] = {{o[15], VK_UP, o[0]}, {o[0], VK_DOWN, o[15]}, {o[4], VK_UP, o[5]},
                          {RGB(9, 9, 9), VK_DOWN, o[0]}};
    for (const Case& c : cases) {
        f->setColor(c.start);
        PressKeys({c.key});
        EXPECT_EQ(c.want, f->getColor()) << std::hex << c.start;
    }
    // The right button's release opens the chooser (answered here), the middle one restores.
    ColorDialogAnswer answer;
    answer.colour = RGB(40, 50, 60);
    AnswerColorDialog(answer);
    const DCRect box = f->getInnerRect();
    ClickAt(*f, box.x + 2, box.y + 2, MOUSEEVENTF_RIGHTDOWN);
    EXPECT_TRUE(ColorDialogResult().found && !ColorDialogResult().forced);
    EXPECT_EQ(RGB(40, 50, 60), f->getColor());
    ClickAt(*f, box.x + 2, box.y + 2, MOUSEEVENTF_MIDDLEDOWN);
    EXPECT_EQ(RGB(1, 2, 3), f->getColor());
    EXPECT_EQ(std::vector<int>(6, 768), ev.prompts);
    CustColorOpt = CustomColorOptions();
    seen.clear();
    Dlg* d = new Dlg;
    bool ok = true;
    const auto keys = [](std::initializer_list<WORD> k) { return [k] { SendKeys(k); }; };
    const auto focus = [&] {
        SetForegroundWindow(*d);
        d->combo->setFocus();
    };
    const auto close = [&] { PostMessageW(*d, WM_CLOSE, 0, 0); };
    // Enter takes the highlighted item and leaves the dialog running.
    RunSteps(150, nullptr, [&] { ok = ShowModal(d); }, {focus, keys({VK_MENU, VK_DOWN}), keys({VK_DOWN}),
        keys({VK_DOWN}), keys({VK_RETURN}),
        [&] { seen = {d->combo->getDropDown()->isVisible(), d->combo->getCurSel()}; }, keys({VK_RETURN}),
        [&] { seen.push_back(d->isRunning()); }, close});
    EXPECT_FALSE(ok) << "closed by the script, not by Enter";
    EXPECT_EQ((std::vector<int>{0, 1, 1}), seen) << "list closed on item 1; the dialog still running";
    // A close request to the list (taskkill sends one to every top level) only dismisses it;
    // one to the dialog while the list's loop runs ends both without touching the deleted box.
    d = new Dlg;
    const HWND listWin = d->combo->getDropDown()->getWindow();
    seen.clear();
    RunSteps(150, nullptr, [&] { ok = ShowModal(d); }, {focus, keys({VK_MENU, VK_DOWN}),
        [&] { seen.push_back(IsWindowVisible(listWin)); }, [&] { PostMessageW(listWin, WM_CLOSE, 0, 0); },
        [&] { seen.push_back(IsWindow(listWin) && !IsWindowVisible(listWin)); }, keys({VK_MENU, VK_DOWN}),
        [&] { seen.push_back(IsWindowVisible(listWin)); }, close});
    EXPECT_FALSE(ok);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), seen);
    EXPECT_FALSE(IsWindow(listWin)) << "deleted with its box";
}
