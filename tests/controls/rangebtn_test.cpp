// Spin fields stepped by real clicks on their arrows and real Up/Down keys.
#include "control_tests.h"
#include <krangebtn.h>

static KRangeBtn<int>* Spin(KWindow* stage, int value, int step, int y = 0)
{
    KArgList args;
    args.add(WA_Y, y);
    return MakeRangeBtn<int>(stage, &args, L"Count", 6, 4, value, 0, 10, step, "%d");
}

TEST(SpinFields, MouseStepsWrapKeysStopInvalidTextFallsBackHeldPressRepeats)
{
    WindowOwner windows;
    KWindow* stage = Stage(windows);
    enum { LEFT, RIGHT, MIDDLE, UP, DOWN };
    struct Case { int start, input; WORD held; int step, want; };
    const Case cases[] = {{4, LEFT, 0, 3, 7}, {7, LEFT, 0, 3, 10}, {10, LEFT, 0, 3, 0}, {9, LEFT, 0, 3, 0},
        {1, RIGHT, 0, 3, 10}, {7, MIDDLE, 0, 3, 0}, {9, UP, 0, 3, 10}, {10, UP, 0, 3, 10}, {1, DOWN, 0, 3, 0},
        {4, DOWN, 0, 3, 1}, {2, UP, VK_SHIFT, 3, 10}, {2, LEFT, VK_SHIFT, 3, 0}, {12, DOWN, 0, 3, 10},
        {4, LEFT, 0, 11, 4}, {4, UP, 0, 11, 4}};
    const DWORD buttons[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    for (const Case& c : cases) {
        KRangeBtn<int>* f = Spin(stage, c.start, c.step);
        PromptRecorder r;
        r.attach(f);
        const DCRect& up = f->getIconRect();
        if (c.input <= MIDDLE) {
            ClickAt(*f, up.x + up.w / 2, up.y + up.h / 4, buttons[c.input], c.held);
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
    // Invalid text falls back when the field is left.
    struct Typed { std::initializer_list<WORD> keys; int want; };
    const Typed typed[] = {{{'2', '5'}, 4}, {{'7'}, 7}, {{VK_OEM_MINUS}, 4}};
    for (const Typed& c : typed) {
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
        EXPECT_EQ(1, r.changes) << "none once out of range";
        delete other;
        delete f;
    }
    // A held press repeats after a delay.
    auto* f = MakeRangeBtn<double>(stage, nullptr, L"Gain", 6, 6, 0.0, 0.0, 1000.0, 0.5, "%.1f dB");
    EXPECT_EQ(" dB", Narrow(f->getRightText())) << "the unit after the conversion";
    PromptRecorder r;
    f->_addEventHandler(
        new MouseEventHandler<PromptRecorder>(&r, &PromptRecorder::pressed, ME_PRESS | ME_LEFT));
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
