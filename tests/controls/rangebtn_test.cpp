// Spin fields stepped by real clicks on their arrows and real Up/Down keys.
#include "prompt_tests.h"
#include <krangebtn.h>

namespace {

// A press on the upper spin arrow, with heldKey down around it.
void PressSpin(KPromptBase* f, DWORD down, WORD heldKey = 0)
{
    const DCRect& r = f->getIconRect();
    ClickAt(f, r.x + r.w / 2, r.y + r.h / 4, down, heldKey);
}

KRangeBtn<int>* Spin(KWindow* stage, int value, int step, int y = 0)
{
    KArgList args;
    args.add(WA_Y, y);
    return MakeRangeBtn<int>(stage, &args, L"Count", 6, 4, value, 0, 10, step, "%d");
}

} // namespace

TEST(SpinFields, MouseStepsWrapKeysStop)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    enum { LEFT, RIGHT, MIDDLE, UP, DOWN };
    struct Case { int start, input; WORD held; int step, want; };
    const Case cases[] = {
        {4, LEFT, 0, 3, 7}, {7, LEFT, 0, 3, 10}, {10, LEFT, 0, 3, 0}, {9, LEFT, 0, 3, 0},
        {1, RIGHT, 0, 3, 10}, {7, MIDDLE, 0, 3, 0}, {9, UP, 0, 3, 10}, {10, UP, 0, 3, 10},
        {1, DOWN, 0, 3, 0}, {4, DOWN, 0, 3, 1}, {2, UP, VK_SHIFT, 3, 10}, {2, LEFT, VK_SHIFT, 3, 0},
        {12, DOWN, 0, 3, 10}, {4, LEFT, 0, 11, 4}, {4, UP, 0, 11, 4},
    };
    const DWORD buttons[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    for (const Case& c : cases) {
        KRangeBtn<int>* f = Spin(stage, c.start, c.step);
        PromptRecorder r;
        r.attach(f);
        if (c.input <= MIDDLE) {
            PressSpin(f, buttons[c.input], c.held);
        } else {
            f->setFocus();
            const WORD key = c.input == UP ? VK_UP : VK_DOWN;
            c.held ? PressKeys({c.held, key}) : PressKeys({key});
        }
        EXPECT_TRUE(WaitFor([&] { return r.changes > 0; }, 3000));
        EXPECT_EQ(c.want, f->getValue()) << "from " << c.start << " input " << c.input;
        EXPECT_EQ(std::to_string(c.want), Narrow(f->getText()));
        delete f;
    }
}

TEST(SpinFields, HeldPressRepeats)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    KArgList none;
    KRangeBtn<double>* f = MakeRangeBtn<double>(stage, &none, L"Gain", 6, 6, 0.0, 0.0, 1000.0, 0.5, "%.1f dB");
    EXPECT_EQ(" dB", Narrow(f->getRightText())) << "the unit after the conversion";
    PromptRecorder r;
    f->_addEventHandler(new MouseEventHandler<PromptRecorder>(&r, &PromptRecorder::pressed, ME_PRESS | ME_LEFT));
    const DCRect& icon = f->getIconRect();
    const DWORD start = GetTickCount();
    SendMouseAt(*f, icon.x + 2, icon.y + 2, {MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(WaitFor([&] { return r.repeats.size() >= 6; }, 3000)) << r.repeats.size();
    EXPECT_GE(GetTickCount() - start, 400u) << "the first repeat waits for the delay";
    SendMouseAt(*f, icon.x + 2, icon.y + 2, {MOUSEEVENTF_LEFTUP});
    WaitFor([] { return false; }, 200);
    const size_t held = r.repeats.size();
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(held, r.repeats.size()) << "the release stops it";
    for (size_t i = 0; i < held; ++i)
        EXPECT_EQ(i, r.repeats[i]);
    EXPECT_DOUBLE_EQ(0.5 * (double)held, f->getValue());
    EXPECT_EQ(Format("%.1f", 0.5 * (double)held), Narrow(f->getText()));
}

TEST(SpinFields, InvalidTextFallsBackWhenLeft)
{
    WindowOwner windows;
    KWindow* stage = PromptStage(windows);
    struct Case { std::initializer_list<WORD> keys; int want; int changes; };
    const Case cases[] = {{{'2', '5'}, 4, 1}, {{'7'}, 7, 1}, {{VK_OEM_MINUS}, 4, 1}};
    for (const Case& c : cases) {
        KRangeBtn<int>* f = Spin(stage, 4, 3);
        KRangeBtn<int>* other = Spin(stage, 0, 1, 60);
        PromptRecorder r;
        r.attach(f);
        ClickText(f);
        f->selectAll();
        for (WORD k : c.keys)
            PressKeys({k});
        WaitFor([&] { return f->getRawText().length() == (int)c.keys.size(); }, 3000);
        ClickText(other);
        EXPECT_EQ(c.want, f->getValue());
        EXPECT_EQ(std::to_string(c.want), Narrow(f->getText()));
        EXPECT_EQ(c.changes, r.changes) << "none once out of range";
        delete other;
        delete f;
    }
}
