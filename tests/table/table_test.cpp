// The table window as an application sees it: header layout, geometry,
// painting through real windows and pixels, scrolling by real input.
#include "table_tests.h"

TEST(Table, MakesItsChildrenAndBars)
{
    WindowOwner windows;
    KTableWin* t = MakeTestTable(windows, 300, 100, {{WA_SHOW_ENTRY, 2}}, {"A", "B"});
    ASSERT_NE(t->cellWin(), nullptr);
    EXPECT_NE(t->titleWin(), nullptr);
    EXPECT_NE(t->vertBar(), nullptr);
    EXPECT_EQ(t->horzBar(), nullptr);
    EXPECT_EQ(t->numCol(), 2);
}
