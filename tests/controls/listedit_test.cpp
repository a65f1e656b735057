// List box, edit and rich-edit controls on a shown popup: real clicks and keys, texts, pixels, files.
#include <richedit.h>
#include "control_tests.h"

template <class W>
W* Sized(W* (*make)(KWindow*, KArgList*), KWindow* stage, int chars = 20, int lines = 3)
{
    KArgList args;
    args.add(WA_NUM_CHAR, chars);
    args.add(WA_NUM_LINE, lines);
    return make(stage, &args);
}

static KString Raw(HWND control)
{
    wchar_t text[256] = {0};
    GetWindowTextW(control, text, 256);
    return KString(text);
}

struct Codes {
    std::vector<int> list, edit;
    std::vector<KListBox*> from;
    void listed(KWindow*, ListBoxEvent* e)
    {
        list.push_back(e->code);
        from.push_back(e->list);
    }
    void edited(KWindow*, EditControlEvent* e) { edit.push_back(e->code); }
};

TEST(ListEdit, EventsListOperationsLineFeedsSizesFontsColoursAndFiles)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    Codes codes;
    KEditControl* edit = Sized(MakeEditControl, stage);
    edit->_addEventHandler(new EditControlHandler<Codes>(&codes, &Codes::edited));
    ClickAt(edit->getControl(), 5, 5);
    PressKeys({'Q'});
    EXPECT_TRUE(WaitFor([&] { return edit->getText() == L"q"; }));
    EXPECT_NE(std::count(codes.edit.begin(), codes.edit.end(), EN_CHANGE), 0);
    EXPECT_TRUE(edit->getIsModified());

    KListBox* list = MakeListBox(stage, nullptr, 10, 4);
    list->move(0, 100, list->Width(), list->Height());
    list->_addEventHandler(new ListBoxHandler<Codes>(&codes, &Codes::listed));
    for (const wchar_t* s : {L"gamma", L"alpha", L"beta"})
        list->addString(s);
    RECT item;
    SendMessageW(list->getControl(), LB_GETITEMRECT, 1, (LPARAM)&item);
    ClickAt(list->getControl(), item.left + 5, (item.top + item.bottom) / 2);
    EXPECT_TRUE(WaitFor([&] { return !codes.list.empty(); }));
    EXPECT_EQ(std::count(codes.list.begin(), codes.list.end(), LBN_SELCHANGE), 1);
    EXPECT_EQ(Narrow(list->getCurString()), "beta"); // sorted: alpha, beta, gamma
    PressKeys({VK_RETURN}); // taken as a double click
    EXPECT_TRUE(WaitFor([&] { return codes.list.back() == LBN_DBLCLK; }));
    EXPECT_EQ(codes.from.back(), list);

    list = MakeListBox(stage, nullptr, 10, 5);
    EXPECT_EQ(list->setCurItem(3), -1); // empty
    EXPECT_EQ(list->getCurItem(), -1);
    for (const auto& item : {std::make_pair(30, L"c"), std::make_pair(10, L"a"), std::make_pair(20, L"b")})
        list->addString(item.first, item.second);
    struct Case { int data, index, item; } cases[] = {{20, 1, 20}, {99, -1, 20}, {30, 2, 30}, {10, 0, 10}};
    for (const Case& c : cases) {
        EXPECT_EQ(list->setCurItem(c.data), c.index) << c.data;
        EXPECT_EQ(list->getCurItem(), c.item) << c.data; // a missing one keeps the selection
    }
    EXPECT_EQ(Narrow(list->getListString(7)), "");
    EXPECT_EQ(Narrow(list->getListString(-1)), "");
    list->setListString(0, L"zz");
    EXPECT_EQ(Narrow(list->getListString(0)), "zz"); // not re-sorted
    EXPECT_EQ(list->findStringExact(L"b", (unsigned)-1), 1);
    EXPECT_EQ(list->getCount(), 3);
    // Line feeds become CR LF in the control, and back.
    struct Shown { const wchar_t* text; const char* shown; } shown[] = {
        {L"one\ntwo", "one\r\ntwo"}, {L"\n\nx\n", "\r\n\r\nx\r\n"}, {L"plain", "plain"}};
    edit = Sized(MakeEditControl, stage);
    KRichEditControl* rich = Sized(MakeRichEditControl, stage);
    for (const Shown& c : shown) {
        edit->setText(c.text, false);
        EXPECT_EQ(Narrow(Raw(edit->getControl())), c.shown);
        EXPECT_EQ(Narrow(edit->getText()), Narrow(c.text));
        EXPECT_FALSE(edit->getIsModified());
        rich->setText(c.text, true);
        EXPECT_EQ(Narrow(rich->getText()), Narrow(c.text));
        EXPECT_TRUE(rich->isModified());
    }
    edit->setText(L"a", false);
    edit->appendText(KString(L"\nb"));
    edit->print("%d\n", 42);
    EXPECT_EQ(Narrow(Raw(edit->getControl())), "a\r\nb42\r\n");
    EXPECT_EQ(edit->getLineCount(), 3);
    EXPECT_EQ(Narrow(edit->getLine(1)), "b42");
    // Sized in characters and lines of the system font.
    struct Sizing { int chars, lines; bool vert, horz; } sizes[] = {
        {20, 3, true, false}, {8, 5, false, true}, {12, 1, false, false}};
    KWinDC dc(stage);
    dc.setFont((HFONT)GetStockObject(SYSTEM_FONT));
    int w = 0, h = 0;
    dc.getTextExtent(L"A", 1, &w, &h);
    for (const Sizing& c : sizes) {
        KArgList args;
        args.add(WA_NUM_CHAR, c.chars);
        args.add(WA_NUM_LINE, c.lines);
        args.add(WA_VERT_SCROLL, c.vert);
        args.add(WA_HORZ_SCROLL, c.horz);
        edit = MakeEditControl(stage, &args);
        EXPECT_EQ(edit->width(), c.chars * w + (c.vert ? GetSystemMetrics(SM_CXVSCROLL) : 0));
        EXPECT_EQ(edit->height(), c.lines * h + (c.horz ? GetSystemMetrics(SM_CYHSCROLL) : 0));
        EXPECT_EQ(Placed(edit)[2], edit->Width());
        RECT r;
        GetWindowRect(edit->getControl(), &r);
        EXPECT_EQ(r.right - r.left, edit->width());
        EXPECT_EQ((edit->getControlStyle() & WS_VSCROLL) != 0, c.vert);
    }
    // Fonts passed in are not deleted; a stage of their own goes, with every font the library made.
    stage = Stage(windows);
    HFONT given = CreateFontW(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    const int before = GetLibraryGDIObjectCount();
    KArgList args;
    args.add(WA_FONT, given);
    edit = MakeEditControl(stage, &args);
    EXPECT_EQ((HFONT)SendMessageW(edit->getControl(), WM_GETFONT, 0, 0), given);
    edit->setFont(L"Arial", 30, FW_BOLD);
    EXPECT_EQ(GetLibraryGDIObjectCount(), before + 1);
    LOGFONTW made = {};
    GetObjectW((HFONT)SendMessageW(edit->getControl(), WM_GETFONT, 0, 0), sizeof made, &made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    windows.release(stage);
    EXPECT_EQ(GetLibraryGDIObjectCount(), before);
    LOGFONTW still = {};
    EXPECT_EQ(GetObjectW(given, sizeof still, &still), (int)sizeof still);
    DeleteObject(given);
    // Colours of an edit control in its pixels, of a range of a rich-edit control in its format.
    stage = Stage(windows);
    edit = Sized(MakeEditControl, stage, 10, 2);
    edit->setText(L"MMMMMM", false);
    struct Colours { COLORREF fore, back; } colours[] = {{RGB(255, 0, 0), RGB(0, 0, 255)},
                                                         {RGB(0, 128, 0), RGB(255, 255, 0)}};
    for (const Colours& c : colours) {
        edit->setForeground(c.fore, true);
        edit->setBackground(c.back, true);
        UpdateWindow(edit->getControl());
        KMemDC mem(edit->width(), edit->height());
        edit->dump(mem, 2, 0, 0);
        const std::vector<DWORD> p = Pixels(mem);
        EXPECT_GT(std::count(p.begin(), p.end(), Rgb(c.back)), (int)p.size() / 2);
        EXPECT_GT(std::count(p.begin(), p.end(), Rgb(c.fore)), 20);
    }
    rich = Sized(MakeRichEditControl, stage, 20, 2);
    rich->setText(L"abcdefgh", false);
    CHARRANGE kept = {1, 1};
    SendMessageW(rich->getControl(), EM_EXSETSEL, 0, (LPARAM)&kept);
    rich->setColor(2, 5, RGB(255, 0, 0));
    CHARRANGE now = {};
    SendMessageW(rich->getControl(), EM_EXGETSEL, 0, (LPARAM)&now);
    EXPECT_EQ((std::vector<LONG>{1, 1}), (std::vector<LONG>{now.cpMin, now.cpMax})) << "selection kept";
    struct Range { LONG from, to; COLORREF colour; };
    const Range ranges[] = {{2, 5, RGB(255, 0, 0)}, {0, 2, 0}, {5, 8, 0}};
    for (const Range& c : ranges) {
        CHARRANGE r = {c.from, c.to};
        SendMessageW(rich->getControl(), EM_EXSETSEL, 0, (LPARAM)&r);
        CHARFORMAT2W f = {};
        f.cbSize = sizeof f;
        SendMessageW(rich->getControl(), EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&f);
        EXPECT_TRUE(f.dwMask & CFM_COLOR) << c.from;
        EXPECT_EQ(f.dwEffects & CFE_AUTOCOLOR ? 0 : f.crTextColor, c.colour) << c.from;
    }
    // Files loaded, and a missing one reported.
    ScratchDir dir;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += Format("line %d of the file\n", i);
    WriteBytes(dir.file(L"text.txt"), Bytes(text.begin(), text.end()));
    edit = Sized(MakeEditControl, stage);
    rich = Sized(MakeRichEditControl, stage);
    edit->setText(L"old", false);
    rich->setText(L"old", false);
    ASSERT_TRUE(edit->loadFile(dir.file(L"text.txt").c_str()));
    ASSERT_TRUE(rich->loadFile(dir.file(L"text.txt").c_str()));
    EXPECT_TRUE(edit->getText() == KString(text.c_str()));
    EXPECT_TRUE(rich->getText() == KString(text.c_str()));
    EXPECT_TRUE(edit->getIsModified());
    EXPECT_TRUE(rich->isModified());
    EXPECT_EQ(edit->getFirstVisibleLine(), 0);
    EXPECT_EQ(rich->getFirstVisibleLine(), 0);
    const std::wstring none = dir.file(L"none.txt");
    struct Failure { std::function<bool()> load; const char *code, *text; } failures[] = {
        {[&] { return edit->loadFile(none.c_str()); }, "(01-1003)", "Could not load edit control file."},
        {[&] { return rich->loadFile(none.c_str()); }, "(01-1016)", "Could not load RichEdit file."}};
    for (const Failure& c : failures) {
        BoxWatcher boxes;
        EXPECT_FALSE(c.load());
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_NE(Narrow(boxes.box().title).find(c.code), std::string::npos)
            << Narrow(boxes.box().title);
        EXPECT_EQ(Narrow(boxes.box().text).find(c.text), 0u) << Narrow(boxes.box().text);
    }
    EXPECT_EQ(edit->getTextLength(), (int)(text.size() + 2000)); // unchanged by the failure
}

