// Prompt fields under a shown stage: typed keys through SendInput, pixels read back.
#include "prompt_tests.h"
#include <algorithm>

namespace {

KEditPrompt* Field(KWindow* stage, int numeric, KArgList* args, const wchar_t* prompt, int promptFW)
{
    return numeric ? MakeNumericPrompt(stage, args, prompt, promptFW, 8)
                   : MakeEditPrompt(stage, args, prompt, promptFW, 8);
}

DWORD Rgb(COLORREF c) { return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

} // namespace

TEST(PromptFields, RefusedCharactersLeaveTheText)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    // The '1' typed after each key shows that the key was handled.
    struct Case { int numeric, allowed; std::initializer_list<WORD> keys; const char* want; };
    const Case cases[] = {
        {0, 1, {'A'}, "1"}, {0, 1, {VK_OEM_MINUS}, "-1"}, {0, 1, {VK_OEM_PERIOD}, "1"},
        {0, 2, {VK_OEM_PERIOD}, ".1"}, {0, 2, {'E'}, "e1"}, {0, 2, {'X'}, "1"},
        {0, 0, {'X'}, "x1"}, {1, 0, {VK_OEM_MINUS}, "1"}, {1, 0, {VK_OEM_PERIOD}, "1"},
        {1, 0, {VK_SHIFT, 'F'}, "F1"}, {1, 0, {'G'}, "1"},
    };
    for (const Case& c : cases) {
        KArgList args;
        args.add(WA_ALLOWED_CHARS, c.allowed);
        KEditPrompt* f = Field(stage, c.numeric, &args, L"Value", 6);
        ClickText(f);
        SendKeys(c.keys);
        PressKeys({'1'});
        EXPECT_TRUE(WaitFor([&] { return f->getText().lastChar() == L'1'; }, 3000));
        EXPECT_EQ(c.want, Narrow(f->getText())) << "allowed " << c.allowed << " numeric " << c.numeric;
        delete f;
    }
}

TEST(PromptFields, OnlyTypingReportsChangesAndMarksModified)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    KArgList none;
    KEditPrompt* f = MakeEditPrompt(stage, &none, L"Name", 8);
    PromptRecorder r;
    r.attach(f);
    f->setText(L" 0x1F ");
    f->wprintf("%d", 12);
    PumpMessages();
    EXPECT_EQ(0, r.changes);
    EXPECT_FALSE(f->getIsModified());
    EXPECT_EQ(12, (int)*f);
    ClickText(f);
    PressKeys({VK_END});
    PressKeys({'3'});
    PressKeys({'4'});
    EXPECT_TRUE(WaitFor([&] { return r.changes == 2; }, 3000)) << r.changes;
    EXPECT_EQ("1234", Narrow(f->getText()));
    EXPECT_TRUE(f->getIsModified());
    f->setText(L" 0x1F ");
    EXPECT_EQ(2, r.changes);
    EXPECT_EQ(31L, (long)*f) << "base 0 reads the 0x prefix";
    EXPECT_EQ("0x1F", Narrow(f->getText())) << "blanks stripped";
    EXPECT_EQ("Name: 0x1F", Narrow(f->toString(nullptr)));
}

TEST(PromptFields, BoxesLineUpAndAnEmptyPromptHasNoGap)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    KWinDC dc(stage);
    dc.setFont(DEFAULT_VAR_FONT);
    const int a = dc.getCharWidth(L'A');
    dc.restoreSelection();
    // leftMargin 2, then the prompt, then textOffset 4 when there is a prompt.
    struct Case { const wchar_t* prompt; int promptFW; int boxX; };
    const Case cases[] = {{L"A", 10, 2 + 10 * a + 4}, {L"Much longer", 10, 2 + 10 * a + 4}, {L"", -1, 2}};
    const DWORD edge = Rgb(GetSysColor(COLOR_3DSHADOW));
    for (const Case& c : cases) {
        KArgList none;
        KPromptLab* f = MakePromptLab(stage, &none, c.prompt, c.promptFW, 6);
        EXPECT_EQ(c.boxX, f->getBoxRect().x) << Narrow(c.prompt);
        PumpMessages();
        KMemDC mem(f->width(), f->height());
        f->dump(mem, 2, 0, 0);
        const std::vector<DWORD> p = Pixels(mem);
        const size_t row = (size_t)(f->height() / 2 * f->width());
        EXPECT_EQ(edge, p[row + c.boxX]) << "the sunken edge starts the box";
        if (c.boxX > 0)
            EXPECT_NE(edge, p[row + c.boxX - 1]);
        delete f;
    }
}

TEST(PromptFields, PasswordFieldsDrawInTheFixedFont)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    struct Case { bool password; HFONT font; LONG_PTR style; };
    const Case cases[] = {{true, DEFAULT_FIXED_FONT, ES_PASSWORD}, {false, DEFAULT_VAR_FONT, 0}};
    for (const Case& c : cases) {
        KArgList args;
        args.add(WA_IS_PASSWORD, c.password);
        args.add(WA_TEXT_FONT, DEFAULT_VAR_FONT);
        KEditPrompt* f = MakeEditPrompt(stage, &args, L"Secret", 10);
        EXPECT_EQ(c.font, (HFONT)SendMessageW(f->getEditWin(), WM_GETFONT, 0, 0));
        EXPECT_EQ(c.style, GetWindowLongPtrW(f->getEditWin(), GWL_STYLE) & ES_PASSWORD);
        delete f;
    }
}

TEST(PromptFields, PromptShowsThePointerAndTheFocus)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    KArgList none, below;
    below.add(WA_Y, 60);
    KEditPrompt* f = MakeEditPrompt(stage, &none, L"Hello", 8);
    KEditPrompt* other = MakeEditPrompt(stage, &below, L"Other", 8);
    KPromptLab* label = MakePromptLab(stage, &below, L"Label", 8);
    label->setFocus();
    EXPECT_NE(GetFocus(), label->getWindow()) << "a label field takes no focus";
    const DCRect p = f->getPromptRect();
    const DWORD blue = 0x0000FF, ring = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    struct Case { bool pointerIn, focused; };
    const Case cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const Case& c : cases) {
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
