// Prompt fields under a shown stage: typed keys through SendInput, pixels read back.
#include "control_tests.h"

TEST(PromptFields, TypingBoxesFontsPointerAndFocus)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    // The '1' typed after each key shows that the key was handled.
    struct Case { int numeric, allowed; std::initializer_list<WORD> keys; const char* want; };
    const Case cases[] = {{0, 1, {'A'}, "1"}, {0, 1, {VK_OEM_MINUS}, "-1"}, {0, 1, {VK_OEM_PERIOD}, "1"},
        {0, 2, {VK_OEM_PERIOD}, ".1"}, {0, 2, {'E'}, "e1"}, {0, 2, {'X'}, "1"}, {0, 0, {'X'}, "x1"},
        {1, 0, {VK_OEM_MINUS}, "1"}, {1, 0, {VK_OEM_PERIOD}, "1"}, {1, 0, {VK_SHIFT, 'F'}, "F1"},
        {1, 0, {'G'}, "1"}};
    for (const Case& c : cases) {
        KArgList args;
        args.add(WA_ALLOWED_CHARS, c.allowed);
        KEditPrompt* f = c.numeric ? MakeNumericPrompt(stage, &args, L"Value", 6, 8)
                                   : MakeEditPrompt(stage, &args, L"Value", 6, 8);
        ClickText(f);
        SendKeys(c.keys);
        PressKeys({'1'});
        EXPECT_TRUE(WaitFor([&] { return f->getText().lastChar() == L'1'; }, 3000));
        EXPECT_EQ(c.want, Narrow(f->getText())) << "allowed " << c.allowed << " numeric " << c.numeric;
        delete f;
    }
    // Only typing reports changes and marks the field modified.
    KEditPrompt* f = MakeEditPrompt(stage, nullptr, L"Name", 8);
    PromptRecorder r;
    r.attach(f);
    f->setText(L" 0x1F ");
    f->wprintf("%d", 12);
    PumpMessages();
    EXPECT_EQ(0, r.changes);
    EXPECT_FALSE(f->getIsModified());
    EXPECT_EQ(12, (int)*f);
    ClickText(f);
    for (WORD key : {(WORD)VK_END, (WORD)'3', (WORD)'4'})
        PressKeys({key});
    EXPECT_TRUE(WaitFor([&] { return r.changes == 2; }, 3000)) << r.changes;
    EXPECT_EQ("1234", Narrow(f->getText()));
    EXPECT_TRUE(f->getIsModified());
    f->setText(L" 0x1F ");
    EXPECT_EQ(2, r.changes);
    EXPECT_EQ(31L, (long)*f) << "base 0 reads the 0x prefix";
    EXPECT_EQ("0x1F", Narrow(f->getText())) << "blanks stripped";
    EXPECT_EQ("Name: 0x1F", Narrow(f->toString(nullptr)));
    delete f;
    // Boxes line up; an empty prompt has no gap.
    KWinDC dc(stage);
    dc.setFont(DEFAULT_VAR_FONT);
    const int a = dc.getCharWidth(L'A');
    dc.restoreSelection();
    // leftMargin 2, then the prompt, then textOffset 4 when there is a prompt; an empty one has no gap.
    struct Box { const wchar_t* prompt; int promptFW; int boxX; };
    const Box boxes[] = {{L"A", 10, 2 + 10 * a + 4}, {L"Much longer", 10, 2 + 10 * a + 4}, {L"", -1, 2}};
    const DWORD edge = Rgb(GetSysColor(COLOR_3DSHADOW));
    for (const Box& c : boxes) {
        KPromptLab* f = MakePromptLab(stage, nullptr, c.prompt, c.promptFW, 6);
        EXPECT_EQ(c.boxX, f->getBoxRect().x) << Narrow(c.prompt);
        PumpMessages();
        KMemDC mem(f->width(), f->height());
        f->dump(mem, 2, 0, 0);
        const std::vector<DWORD> p = Pixels(mem);
        const size_t row = (size_t)(f->height() / 2 * f->width());
        EXPECT_EQ(edge, p[row + c.boxX]) << "the sunken edge starts the box";
        EXPECT_NE(edge, p[row + c.boxX - 1]);
        delete f;
    }
    for (bool password : {true, false}) {
        KArgList args;
        args.add(WA_IS_PASSWORD, password);
        args.add(WA_TEXT_FONT, DEFAULT_VAR_FONT);
        KEditPrompt* f = MakeEditPrompt(stage, &args, L"Secret", 10);
        const HWND edit = f->getEditWin();
        const HFONT font = (HFONT)SendMessageW(edit, WM_GETFONT, 0, 0);
        EXPECT_EQ(password ? DEFAULT_FIXED_FONT : DEFAULT_VAR_FONT, font);
        EXPECT_EQ(password ? ES_PASSWORD : 0, GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD);
        delete f;
    }
    // The prompt shows the pointer (blue) and the focus (a ring).
    KArgList below;
    below.add(WA_Y, 60);
    f = MakeEditPrompt(stage, nullptr, L"Hello", 8);
    KEditPrompt* other = MakeEditPrompt(stage, &below, L"Other", 8);
    KPromptLab* label = MakePromptLab(stage, &below, L"Label", 8);
    label->setFocus();
    EXPECT_NE(GetFocus(), label->getWindow()) << "a label field takes no focus";
    const DCRect p = f->getPromptRect();
    const DWORD blue = 0x0000FF, ring = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    struct Look { bool pointerIn, focused; };
    for (const Look& c : {Look{false, false}, Look{true, false}, Look{false, true}, Look{true, true}}) {
        POINT at = {c.pointerIn ? p.x + p.w / 4 : 400, c.pointerIn ? p.y + p.h / 2 : 150};
        ClientToScreen(c.pointerIn ? f->getWindow() : stage->getWindow(), &at);
        MovePointer(at.x, at.y);
        EXPECT_TRUE(WaitFor([&] { return f->isEntered() == c.pointerIn; }, 2000));
        (c.focused ? f : other)->setFocus();
        EXPECT_TRUE(WaitFor([&] { return f->holdsFocus() == c.focused; }, 2000));
        PumpMessages();
        KMemDC mem(f->width(), f->height());
        f->dump(mem, 2, 0, 0);
        const std::vector<DWORD> px = Pixels(mem);
        const auto from = px.begin() + (p.y - 2) * f->width();
        EXPECT_EQ(c.pointerIn, std::count(px.begin(), px.end(), blue) > 0) << "blue prompt";
        EXPECT_EQ(c.focused, std::count(from, from + p.x + p.w + 3, ring) > 0) << "focus ring";
    }
}
