// Tab groups of a top level through real keys: Tab, Shift+Tab, Escape and Enter, hidden members,
// and the focus given back when the top level is activated again.
#include <gtest/gtest.h>
#include "app_tests.h"

namespace {

class Top : public KTopLevel {
public:
    Top() : KTopLevel(L"Tab Groups")
    {
        KArgList args;
        args.add(WA_X, 50);
        args.add(WA_Y, 50);
        args.add(WA_CLIENT_WIDTH, 300);
        args.add(WA_CLIENT_HEIGHT, 100);
        init(nullptr, &args);
    }
    void returnHandler() override { ++returns; }
    int returns = 0;
};

} // namespace

TEST(TabGroups, FocusKeysHiddenMembersAndActivation)
{
    WindowOwner windows;
    Top* top = windows.own(new Top);
    KWindow* m[5];
    for (int i = 0; i < 5; ++i) {
        if (i == 0 || i == 3)
            top->addTabGroup();
        m[i] = Probe::make(top, WA_X, 10 + 50 * i, WA_Y, 10, WA_WIDTH, 40, WA_HEIGHT, 20);
        top->addToTabGroup(m[i]);
    }
    top->show(true);
    ASSERT_TRUE(Activate(*top));
    m[0]->setFocus();
    auto focused = [&] {
        for (int i = 0; i < 5; ++i)
            if (GetFocus() == *m[i])
                return i;
        return -1;
    };
    // Groups {0, 1, 2} and {3, 4}: each key from where the one before left the focus.
    struct Key { std::initializer_list<WORD> keys; int focus; };
    const Key keys[] = {
        {{VK_TAB}, 1}, {{VK_TAB}, 2}, {{VK_TAB}, 0},          // after the last, the first
        {{VK_ESCAPE}, 2},                                     // one back, round to the last
        {{VK_SHIFT, VK_TAB}, 3}, {{VK_TAB}, 4},               // the next group's first member
        {{VK_SHIFT, VK_TAB}, 0},                              // after the last group, group 0
    };
    for (const Key& k : keys) {
        PressKeys(k.keys);
        EXPECT_TRUE(WaitFor([&] { return focused() == k.focus; }, 2000)) << k.focus << " " << focused();
    }
    EXPECT_TRUE(top->getCurGroup() == 0 && top->getCurIndex() == 0);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return top->returns == 1; }, 2000));
    // A hidden member is not given the focus: it stays where it was.
    m[1]->show(false);
    PressKeys({VK_TAB});
    PumpMessages();
    EXPECT_EQ(0, focused());
    m[1]->show(true);
    // A member deleted leaves its group.
    delete m[2];
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return focused() == 1; }, 2000)) << "the last member is now 1";

    // Deactivated and activated again, the top level gives the focus back.
    KWindow* other =
        windows.own(Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 400, WA_WIDTH, 50, WA_HEIGHT, 50));
    other->show(true);
    ASSERT_TRUE(Activate(*other));
    SetForegroundWindow(*top);
    SetActiveWindow(*top);
    EXPECT_TRUE(WaitFor([&] { return focused() == 1; }, 2000));
}

TEST(ModalMessages, InputIsWithheldPaintAndTimersPass)
{
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEWHEEL, 525, WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN,
                     169, WM_KEYDOWN, WM_CHAR, WM_SYSKEYDOWN, 264})
        EXPECT_TRUE(IsModalMsg(msg)) << msg;
    for (UINT msg : {WM_PAINT, WM_TIMER, 526, 159, 170, 255, 265, WM_COMMAND, WM_NCHITTEST})
        EXPECT_FALSE(IsModalMsg(msg)) << msg;
}
