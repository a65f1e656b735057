// The table under real input: keys into the cell editor and the cell window,
// clicks, held presses, the wheel, and what the application hears of them.
#include <map>
#include <numeric>
#include "table_tests.h"

namespace {

// The application: values "r<row>c<col>" until edited, a refusal switch, the cell events 2..4
// ("<reason> <row> <col> <text>") and input events ("<k|m|t><type> <row> <col> <mode or key>").
struct Model {
    static inline Model* now = nullptr;
    std::map<std::pair<int, int>, std::string> values;
    std::vector<std::string> cells, input;
    std::vector<double> at; // get_time() of each input event
    bool refuse = false;
    Model() { now = this; }
    ~Model() { now = nullptr; }
    std::string value(int r, int c) const
    {
        auto v = values.find({r, c});
        return v != values.end() ? v->second : "r" + std::to_string(r) + "c" + std::to_string(c);
    }
    static void cell(KTableWin*, TableWinCellEvent* e, int r, int c)
    {
        if (e->reason == 1)
            return e->Set("%s", now->value(r, c).c_str());
        now->cells.push_back(Format("%lu %d %d %s", e->reason, r, c, Narrow(e->text).c_str()));
        if (e->reason == 2 && !now->refuse)
            now->values[{r, c}] = Narrow(e->text);
    }
    void note(const char* kind, unsigned long type, int r, int c, int m)
    {
        input.push_back(Format("%s%lu %d %d %d", kind, type, r, c, m));
        at.push_back(get_time());
    }
    void key(KWindow*, TableWinKeyEvent* e) { note("k", e->key->type, e->row, e->col, e->key->key); }
    void mouse(KWindow*, TableWinMouseEvent* e) { note("m", e->mouse->type, e->row, e->col, e->mode); }
    void title(KWindow*, TableWinTitleEvent* e) { note("t", e->mouse->type, 0, e->col, e->mode); }
    size_t count(const std::string& s) const { return std::count(input.begin(), input.end(), s); }
    // The cell events from the n-th on, each ended by "|".
    std::string since(size_t n) const
    {
        return std::accumulate(cells.begin() + n, cells.end(), std::string(),
                               [](const std::string& a, const std::string& b) { return a + b + "|"; });
    }
};

enum { E = TABLE_EDIT, S = TABLE_SELECT, B = TABLE_BUTTON, D = TABLE_DISPLAY, KEEP = 5, ROW_KEYS = 6 };

// Every case runs on fresh tables and answers every box, which must not come.
struct TableInput : testing::Test {
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    void TearDown() override { EXPECT_EQ(boxes.count(), 0u); }
    // Columns of the given modes, 6 characters wide: KEEP edits and keeps the
    // spaces of its texts, ROW_KEYS selects with the row keys.
    KTableWin* table(std::initializer_list<int> modes, int rows, bool insert = true)
    {
        KTableWin* t = MakeTestTable(w, 420, 200, {{WA_ALLOW_INSERT, insert}, {WA_SHOW_ENTRY, 4}}, {});
        for (int mode : modes)
            t->addCol("C", COL_FIELD_WIDTH, 6, COL_MODE, mode == KEEP ? E : mode == ROW_KEYS ? S : mode,
                      COL_STRIP_SPACES, mode != KEEP, COL_ROW_KEYS, mode == ROW_KEYS);
        AddEventHandler(t, &Model::cell);
        t->_addEventHandler(new TableKeyHandler<Model>(&m, &Model::key));
        t->_addEventHandler(new TableMouseHandler<Model>(&m, &Model::mouse));
        t->_addEventHandler(new TableTitleHandler<Model>(&m, &Model::title));
        t->setNumRow(rows);
        t->configure(true);
        return t;
    }
};

bool Settles(const std::function<bool()>& done) { return WaitFor(done, 1500); }

// Client point of a cell's centre in the cell window.
POINT Centre(KTableWin* t, int row, int col)
{
    const DCRect r = t->getCellRect(row, col);
    return {(LONG)(r.x + r.w / 2 - t->getHorzOffset()), (LONG)(r.y + r.h / 2)};
}

void Click(KTableWin* t, int row, int col)
{
    const POINT p = Centre(t, row, col);
    SendMouseAt(*t->cellWin(), p.x, p.y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    Settles([&] { return t->curRow() == row && t->curCol() == col; });
}

// The key this thread last took from its queue released.
WORD released = 0;
LRESULT CALLBACK Taken(int code, WPARAM key, LPARAM info)
{
    released = code == HC_ACTION && (info & 0x80000000) ? (WORD)key : released;
    return CallNextHookEx(nullptr, code, key, info);
}

// Presses each key (held down around it) until this thread took its release; digits are key codes.
void Keys(const std::wstring& keys, WORD held = 0)
{
    static HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, Taken, nullptr, GetCurrentThreadId());
    for (WORD k : keys) {
        released = 0;
        held ? SendKeys({held, k}) : SendKeys({k});
        Settles([&] { return hook && released == (held ? held : k); });
    }
}

HWND Control(KTableWin* t) { return t->getEditor() ? t->getEditor()->getControl() : HWND(-1); }

// Waits for the editor to be open on (row, col) with the keyboard focus.
bool EditsAt(KTableWin* t, int row, int col)
{
    return Settles([&] { return t->curRow() == row && t->curCol() == col && GetFocus() == Control(t); });
}

// Holds the left button down at client point p of w for the seconds given.
void Hold(HWND w, POINT p, double seconds)
{
    SendMouseAt(w, p.x, p.y, {MOUSEEVENTF_LEFTDOWN});
    const double start = get_time();
    WaitFor([&] { return get_time() - start > seconds; }, 3000);
    SendMouseAt(w, p.x, p.y, {MOUSEEVENTF_LEFTUP});
}

} // namespace

TEST_F(TableInput, EditorNavigatesAtTheEdgesOfRowsColumnsAndText)
{
    KTableWin* t = table({E, D, E, S}, 3);
    struct Case { int row, col; std::wstring keys; int toRow, toCol, caret; } cases[] = {
        {0, 0, {VK_RETURN}, 0, 2, -1}, // the display column is skipped
        {0, 2, {VK_TAB}, 1, 0, -1}, {2, 2, {VK_RETURN}, 3, 0, -1}, // the next row, the insertion row
        {1, 0, {VK_RIGHT}, 1, 2, -1}, {1, 2, {VK_LEFT}, 1, 0, -1}, // the whole text is selected
        {1, 0, {VK_END, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}, 1, 0, 0}, // Left moves the caret
        {1, 0, {VK_END, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}, 0, 2, -1}, // ... until it is at 0
        {0, 0, {VK_UP}, 0, 0, -1}, {2, 2, {VK_DOWN}, 3, 2, -1}, {1, 2, {VK_UP}, 0, 2, -1},
        {2, 2, {VK_HOME}, 0, 0, -1},
    };
    for (const Case& c : cases) {
        t->setEditCell(c.row, c.col);
        ASSERT_TRUE(EditsAt(t, c.row, c.col)) << c.row << " " << c.col;
        Keys(c.keys);
        EXPECT_TRUE(EditsAt(t, c.toRow, c.toCol)) << c.row << " " << c.col << " " << c.keys.size();
        int start = -1, end = -1;
        t->getEditor()->getSel(&start, &end);
        EXPECT_TRUE(c.caret < 0 || start == c.caret) << start;
        EXPECT_EQ(Narrow(t->getEditor()->getText()), c.toRow < 3 ? m.value(c.toRow, c.toCol) : "");
    }
    // Selecting: Up and Down stop at the first and last row and report a left press.
    Click(t, 1, 3);
    struct Step { WORD key; int row, col; } steps[] = {{VK_UP, 0, 3}, {VK_UP, 0, 3}, {VK_DOWN, 1, 3},
                                                     {VK_DOWN, 2, 3}, {VK_DOWN, 2, 3}, {VK_HOME, 0, 0}};
    for (const Step& s : steps) {
        Keys({s.key});
        EXPECT_TRUE(Settles([&] { return t->curRow() == s.row && t->curCol() == s.col; })) << s.key;
    }
    // Up at row 0 and Down at the last row report nothing; Home was offered to the application.
    for (const char* seen : {"m65 0 3 1", "m65 2 3 1", "k2 2 3 36"})
        EXPECT_EQ(m.count(seen), 1u) << seen;
}

TEST_F(TableInput, EditsAreCommittedAsTypedAndEndWithTheFocus)
{
    KTableWin* t = table({E, D, KEEP}, 60);
    auto shot = [&] { // the cell window's pixels as the screen shows them
        KMemDC all(t->cellWin()->width(), t->cellWin()->height());
        t->cellWin()->dump(all, 2, 0, 0);
        return Pixels(all);
    };
    enum End { CLICK, WHEEL, ENTER = VK_RETURN, ESCAPE = VK_ESCAPE };
    struct Case { int col; const char* typed; End end; bool refuse; const char* kept; bool open; } cases[] = {
        {0, " 42 ", ENTER, false, "42", true},    // stripped, the editor on the next editable column
        {2, " 42 ", CLICK, false, " 42 ", false}, // a column that keeps the spaces
        {0, "999", CLICK, true, "r3c0", false},   // refused: the old value is shown again
        {0, "5", WHEEL, false, "5", true},        // the editor scrolls with its cell
        {0, "6", ESCAPE, false, "6", true},       // Escape is the control's: the text stays
    };
    int row = 0;
    for (const Case& c : cases) {
        m.refuse = c.refuse;
        const std::vector<DWORD> before = shot();
        Click(t, ++row, c.col);
        ASSERT_TRUE(EditsAt(t, row, c.col));
        Keys(Wide(std::string(c.typed)));
        EXPECT_TRUE(Settles([&] { return Narrow(t->getEditor()->getText()) == c.typed; })) << c.typed;
        EXPECT_EQ(m.cells.back(), Format("2 %d %d %s", row, c.col, c.refuse ? "999" : c.kept));
        if (c.end == CLICK)
            Click(t, row + 1, 1);
        else
            c.end == WHEEL ? Wheel(-WHEEL_DELTA) : Keys({(WORD)c.end});
        EXPECT_TRUE(Settles([&] { return (t->getEditor() != nullptr) == c.open; })) << c.typed;
        EXPECT_EQ(m.value(row, c.col), c.kept);
        EXPECT_TRUE(!c.refuse || Settles([&] { return shot() == before; }));
        if (c.end == WHEEL) {
            EXPECT_TRUE(Settles([&] { return t->firstRow() == 1; }));
            EXPECT_EQ(t->getEditor()->Y(), t->getCellRect(row, 0).y);
        }
    }
}

TEST_F(TableInput, RowsAreInsertedAndDeletedAsTheKeysAndColumnsSay)
{
    KTableWin* t = table({E, ROW_KEYS, S}, 3);
    KTableWin* one = table({E, ROW_KEYS}, 1, false);
    one->getTopLevel()->move(100, 340); // beside the first stage, not over it
    struct Case { KTableWin* t; int row, col; WORD key, held; const char* events; int rows, cur; } cases[] = {
        {t, 3, 0, '7', 0, "3 3 0 |2 3 0 7|", 4, 3},          // typed into the insertion row
        {t, 1, 0, VK_INSERT, VK_SHIFT, "3 1 0 |", 5, 1}, {t, 1, 0, VK_DELETE, VK_SHIFT, "4 1 0 |", 4, 1},
        {t, 1, 0, VK_INSERT, 0, "", 4, 1},                  // the control's key without Shift
        {t, 3, 0, VK_DELETE, VK_SHIFT, "4 3 0 |", 3, 2},     // the last row: the current one moves up
        {t, 1, 0, VK_DELETE, 0, "2 1 0 |", 3, 1},            // the control deletes the selected text
        {one, 0, 0, VK_INSERT, VK_SHIFT, "", 1, 0},         // no insertion allowed
        {t, 0, 1, VK_INSERT, 0, "3 0 1 |", 4, 0},            // row keys in a selecting column
        {t, 3, 1, VK_DELETE, 0, "4 3 1 |", 3, 2},
        {t, 0, 2, VK_DELETE, 0, "", 3, 0}, {t, 0, 2, VK_INSERT, 0, "", 3, 0}, // no row keys
        {one, 0, 1, VK_DELETE, 0, "4 0 1 |", 0, 0},          // the only row: the current row stays
        {one, 0, 1, VK_DELETE, 0, "", 0, 0},                // none left: a beep
    };
    for (const Case& c : cases) {
        Click(c.t, c.row, c.col);
        const size_t n = m.cells.size();
        Keys({c.key}, c.held);
        EXPECT_TRUE(Settles([&] { return c.t->numRow() == c.rows && m.since(n) == c.events; })) << m.since(n);
        EXPECT_EQ(c.t->curRow(), c.cur) << c.key << " " << c.row;
        EXPECT_TRUE(c.col != 0 ? !c.t->getEditor() : c.rows == 0 || EditsAt(c.t, c.cur, 0));
        EXPECT_TRUE(c.t == t || !t->getEditor()); // it went with the focus
    }
    // Presses on the table window beside the header: left adds a row, right takes the last away.
    struct Corner { KTableWin* t; DWORD down; const char* events; int rows; } corners[] = {
        {t, MOUSEEVENTF_LEFTDOWN, "3 3 0 |", 4}, {t, MOUSEEVENTF_RIGHTDOWN, "4 3 0 |", 3},
        {t, MOUSEEVENTF_RIGHTDOWN, "4 2 0 |", 2}, {one, MOUSEEVENTF_LEFTDOWN, "", 0}};
    for (const Corner& c : corners) {
        const size_t n = m.cells.size();
        SendMouseAt(*c.t, c.t->width() - GetSystemMetrics(SM_CXVSCROLL) / 2, c.t->getTitleHeight() / 2,
                    {c.down, c.down << 1});
        EXPECT_TRUE(Settles([&] { return c.t->numRow() == c.rows && m.since(n) == c.events; })) << m.since(n);
    }
}

TEST_F(TableInput, EventsCarryTheirCellsAndHeldPressesRepeat)
{
    KTableWin* t = table({E, B, D, S}, 200);
    // Clicks and keys on a displaying column, a click on a selecting one, on the header.
    Click(t, 2, 2);
    Keys(L"A");
    Click(t, 3, 3);
    const POINT head = {Centre(t, 0, 2).x, (LONG)t->getTitleHeight() / 2};
    SendMouseAt(*t->titleWin(), head.x, head.y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    for (const char* seen : {"m65 2 2 0", "m66 2 2 0", "k2 2 2 65", "k1 2 2 97", "k4 2 2 65", "m65 3 3 1",
                             "m66 3 3 1", "t65 0 2 0", "t66 0 2 0"})
        EXPECT_TRUE(Settles([&] { return m.count(seen) == 1; })) << seen;
    // A button cell held for a second: at once, after 500 ms, then about every 30 ms.
    Hold(*t->cellWin(), Centre(t, 4, 1), 1.0);
    ASSERT_TRUE(Settles([&] { return m.count("m66 4 1 3") == 1; }));
    std::vector<double> at; // the times of the presses
    for (size_t i = 0; i < m.input.size(); ++i)
        m.input[i] == "m65 4 1 3" ? at.push_back(m.at[i]) : void();
    ASSERT_GE(at.size(), 3u);
    EXPECT_NEAR(at[1] - at[0], 0.5, 0.1);
    EXPECT_NEAR((at.back() - at[1]) / (at.size() - 2), 0.030, 0.012);
    EXPECT_NEAR((double)(at.size() - 2), 0.5 / 0.030, 8.0);
    EXPECT_EQ(t->curRow(), 4);
    EXPECT_FALSE(Settles([&] { return m.count("m65 4 1 3") > at.size(); })) << "repeats after the release";
    // A held header press repeats its title event.
    Hold(*t->titleWin(), {Centre(t, 0, 1).x, head.y}, 0.7);
    ASSERT_TRUE(Settles([&] { return m.count("t66 0 1 3") == 1; }));
    EXPECT_FALSE(KTableWin::repeatTimer()->isRunning());
    EXPECT_NEAR((double)m.count("t65 0 1 3"), 8.0, 4.0); // at once, at 0.5 s, then every 30 ms
}

TEST_F(TableInput, TheWheelScrollsARowANotchOrAPageAndTheLastOfTenMillionRowsIsEdited)
{
    KTableWin* t = table({E, D}, 200);
    const POINT p = Centre(t, 1, 1);
    SendMouseAt(*t->cellWin(), p.x, p.y, {});
    const int page = t->getNumDispRow();
    struct Case { int notches, delta, first; } cases[] = {
        {1, -WHEEL_DELTA, 1}, {1, -WHEEL_DELTA, 2}, {2, -WHEEL_DELTA, 3 + page},
        {1, WHEEL_DELTA, 2 + page}, {2, WHEEL_DELTA, 1}, {1, 2 * WHEEL_DELTA, 0}};
    for (const Case& c : cases) {
        const double quiet = get_time();
        WaitFor([&] { return get_time() - quiet > 0.1; }, 1000); // slower than 0.04 s
        // The notches of one SendInput call come one right after the other.
        std::vector<INPUT> in(c.notches, INPUT{INPUT_MOUSE, {}});
        for (INPUT& i : in)
            i.mi = {0, 0, (DWORD)c.delta, MOUSEEVENTF_WHEEL, 0, 0};
        SendInput(c.notches, in.data(), sizeof(INPUT));
        EXPECT_TRUE(Settles([&] { return t->firstRow() == c.first; })) << c.first << " " << t->firstRow();
    }
    t = table({E, D}, 10000000, false);
    Click(t, 0, 0);
    Keys({VK_END}, VK_CONTROL);
    ASSERT_TRUE(EditsAt(t, 9999999, 0));
    ASSERT_TRUE(Settles([&] { return t->firstRow() == 10000000 - t->getNumDispRow(); }));
    EXPECT_EQ(Narrow(t->getEditor()->getText()), "r9999999c0");
    Keys(L"9");
    EXPECT_TRUE(Settles([&] { return m.value(9999999, 0) == "9"; }));
}
