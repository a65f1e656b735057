// The table under real input: keys into the cell editor and the cell window,
// clicks, held presses, the wheel, and what the application hears of them.
#include <cstdio>
#include <map>
#include "table_tests.h"

namespace {

// The application behind the table: values "r<row>c<col>" until edited, a
// refusal switch, and a record of the cell events 2..4 ("<reason> <row> <col>
// <text>") and of the input events ("<k|m|t><type> <row> <col> <mode or key>").
struct Model {
    static inline Model* now = nullptr;
    std::map<std::pair<int, int>, std::string> values;
    std::vector<std::string> cells, input;
    std::vector<double> at; // get_time() of each input event
    bool refuse = false;
    Model() { now = this; }
    ~Model() { now = nullptr; }
    static std::string Line(char k, long type, int row, int col, const char* text)
    {
        char s[160];
        snprintf(s, sizeof s, "%c%ld %d %d %s", k, type, row, col, text);
        return s;
    }
    std::string value(int r, int c) const
    {
        auto v = values.find({r, c});
        return v != values.end() ? v->second : "r" + std::to_string(r) + "c" + std::to_string(c);
    }
    static void cell(KTableWin*, TableWinCellEvent* e, int r, int c)
    {
        if (e->reason == 1)
            return e->Set("%s", now->value(r, c).c_str());
        now->cells.push_back(Line(' ', e->reason, r, c, Narrow(e->text).c_str()).substr(1));
        if (e->reason == 2 && !now->refuse)
            now->values[{r, c}] = Narrow(e->text);
    }
    void note(char k, long type, int r, int c, int m)
    {
        input.push_back(Line(k, type, r, c, std::to_string(m).c_str()));
        at.push_back(get_time());
    }
    void key(KWindow*, TableWinKeyEvent* e) { note('k', e->key->type, e->row, e->col, e->key->key); }
    void mouse(KWindow*, TableWinMouseEvent* e) { note('m', e->mouse->type, e->row, e->col, e->mode); }
    void title(KWindow*, TableWinTitleEvent* e) { note('t', e->mouse->type, 0, e->col, e->mode); }
    size_t count(const std::string& start) const
    {
        return std::count_if(input.begin(), input.end(), [&](const std::string& s) { return s.rfind(start, 0) == 0; });
    }
};

enum { E = TABLE_EDIT, S = TABLE_SELECT, B = TABLE_BUTTON, D = TABLE_DISPLAY };

// Columns of the given modes, 6 characters wide; an edit column 5 keeps the
// spaces of its texts, a select column 6 has the row keys.
KTableWin* Table(WindowOwner& w, Model& m, std::initializer_list<int> modes, int rows, bool insert = true)
{
    KTableWin* t = MakeTestTable(w, 420, 200, {{WA_ALLOW_INSERT, insert}, {WA_SHOW_ENTRY, 4}}, {});
    for (int mode : modes)
        t->addCol("C", COL_FIELD_WIDTH, 6, COL_MODE, mode == 5 ? E : mode == 6 ? S : mode,
                  COL_STRIP_SPACES, mode != 5, COL_ROW_KEYS, mode == 6);
    AddEventHandler(t, &Model::cell);
    t->_addEventHandler(new TableKeyHandler<Model>(&m, &Model::key));
    t->_addEventHandler(new TableMouseHandler<Model>(&m, &Model::mouse));
    t->_addEventHandler(new TableTitleHandler<Model>(&m, &Model::title));
    t->setNumRow(rows);
    t->configure(true);
    return t;
}

// Client point of a cell's centre in the cell window.
POINT Centre(KTableWin* t, int row, int col)
{
    const DCRect r = t->getCellRect(row, col);
    return {(LONG)(r.x + r.w / 2 - t->getHorzOffset()), (LONG)(r.y + r.h / 2)};
}

void Press(KTableWin* t, int row, int col, std::initializer_list<DWORD> flags, WORD held = 0)
{
    const POINT p = Centre(t, row, col);
    SendMouseAt(*t->cellWin(), p.x, p.y, flags, held);
}

void Click(KTableWin* t, int row, int col, DWORD down = MOUSEEVENTF_LEFTDOWN)
{
    Press(t, row, col, {down, down << 1});
    WaitFor([&] { return t->curRow() == row && t->curCol() == col; }, 1500);
    PumpMessages();
}

bool Settles(const std::function<bool()>& done) { return WaitFor(done, 1500); }

// Presses each key (with held down around it), waiting until this thread has
// taken it: a key press flips the low bit of its state.
void Keys(std::initializer_list<WORD> keys, WORD held = 0)
{
    for (WORD k : keys) {
        const int was = GetKeyState(k) & 1;
        held ? SendKeys({held, k}) : SendKeys({k});
        WaitFor([&] { return (GetKeyState(k) & 1) != was; }, 1500);
        PumpMessages();
    }
}

void Type(const char* text)
{
    for (const char* c = text; *c; ++c)
        Keys({(WORD)(VkKeyScanA(*c) & 0xFF)});
}

HWND Control(KTableWin* t) { return t->getEditor() ? t->getEditor()->getControl() : nullptr; }

// Waits for the editor to be open on (row, col) with the keyboard focus.
bool EditsAt(KTableWin* t, int row, int col)
{
    return Settles([&] { return t->curRow() == row && t->curCol() == col && GetFocus() == Control(t) && Control(t); });
}

} // namespace

TEST(TableInput, EditorNavigatesAtTheEdgesOfRowsColumnsAndText)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, D, E, S}, 3);
    struct Case { int row, col; std::vector<WORD> keys; int toRow, toCol, caret; } cases[] = {
        {0, 0, {VK_RETURN}, 0, 2, -1},          // the display column is skipped
        {0, 2, {VK_TAB}, 1, 0, -1},             // past the last editable column: next row
        {2, 2, {VK_RETURN}, 3, 0, -1},          // past the last row: the insertion row
        {1, 0, {VK_RIGHT}, 1, 2, -1},           // the whole text selected: its end is the caret's
        {1, 2, {VK_LEFT}, 1, 0, -1},
        {1, 0, {VK_END, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}, 1, 0, 0}, // Left moves the caret
        {1, 0, {VK_END, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}, 0, 2, -1}, // ... until it is at 0
        {0, 0, {VK_UP}, 0, 0, -1},
        {2, 2, {VK_DOWN}, 3, 2, -1},
        {1, 2, {VK_UP}, 0, 2, -1},
        {2, 2, {VK_HOME}, 0, 0, -1},
    };
    for (const Case& c : cases) {
        t->setEditCell(c.row, c.col);
        ASSERT_TRUE(EditsAt(t, c.row, c.col)) << c.row << " " << c.col;
        for (WORD k : c.keys)
            Keys({k});
        EXPECT_TRUE(EditsAt(t, c.toRow, c.toCol)) << c.row << " " << c.col << " " << c.keys.size();
        int start = -1, end = -1;
        t->getEditor()->getSel(&start, &end);
        if (c.caret >= 0)
            EXPECT_EQ(start, c.caret);
        EXPECT_EQ(Narrow(t->getEditor()->getText()), c.toRow < 3 ? m.value(c.toRow, c.toCol) : "");
    }
    // Selecting: Up and Down stop at the first and last row and report a left press.
    Click(t, 1, 3);
    struct Step { WORD key; int row, col; } steps[] = {
        {VK_UP, 0, 3}, {VK_UP, 0, 3}, {VK_DOWN, 1, 3}, {VK_DOWN, 2, 3}, {VK_DOWN, 2, 3}, {VK_HOME, 0, 0}};
    for (const Step& s : steps) {
        Keys({s.key});
        EXPECT_TRUE(Settles([&] { return t->curRow() == s.row && t->curCol() == s.col; })) << s.key;
    }
    EXPECT_EQ(m.count("m65 0 3 1"), 1u); // Up at row 0 reports nothing
    EXPECT_EQ(m.count("m65 2 3 1"), 1u);
    EXPECT_EQ(m.count("k2 2 3 36"), 1u); // Home was first offered to the application
    EXPECT_EQ(boxes.count(), 0u);
}

// The pixels of one cell as the cell window shows it.
std::vector<DWORD> CellPixels(KTableWin* t, int row, int col)
{
    KMemDC all(t->cellWin()->width(), t->cellWin()->height());
    t->cellWin()->dump(all, 2, 0, 0);
    const std::vector<DWORD> p = Pixels(all);
    const DCRect r = t->getCellRect(row, col);
    std::vector<DWORD> cell;
    for (long y = r.y + 2; y < r.y + r.h - 2; ++y)
        cell.insert(cell.end(), p.begin() + y * all.width() + r.x + 2, p.begin() + y * all.width() + r.x + r.w - 2);
    return cell;
}

TEST(TableInput, EditsAreCommittedAsTypedAndEndWithTheFocus)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, D, 5}, 60);
    enum End { ENTER, CLICK, WHEEL, ESCAPE };
    struct Case { int col; const char* typed; End end; bool refuse; const char* kept; bool open; } cases[] = {
        {0, " 42 ", ENTER, false, "42", true},    // stripped, the editor on the next editable column
        {2, " 42 ", CLICK, false, " 42 ", false}, // a column that keeps the spaces
        {0, "x", WHEEL, false, "x", true},        // the editor scrolls with its cell
        {0, "z", ESCAPE, false, "z", true},       // Escape is the control's: the text stays
        {0, "bad", CLICK, true, "r5c0", false},   // refused: the old value is shown again
    };
    int row = 0;
    for (const Case& c : cases) {
        m.refuse = c.refuse;
        const std::vector<DWORD> before = CellPixels(t, ++row, c.col);
        Click(t, row, c.col);
        ASSERT_TRUE(EditsAt(t, row, c.col));
        Type(c.typed);
        EXPECT_TRUE(Settles([&] { return Narrow(t->getEditor()->getText()) == c.typed; })) << c.typed;
        EXPECT_EQ(m.cells.back(), Format("2 %d %d %s", row, c.col, c.kept[0] == 'r' ? "bad" : c.kept));
        const int first = t->firstRow();
        if (c.end == ENTER || c.end == ESCAPE)
            Keys({c.end == ENTER ? (WORD)VK_RETURN : (WORD)VK_ESCAPE});
        else if (c.end == CLICK)
            Click(t, row + 1, 1);
        else
            Wheel(-WHEEL_DELTA);
        EXPECT_TRUE(Settles([&] { return (t->getEditor() != nullptr) == c.open; })) << c.typed;
        EXPECT_EQ(m.value(row, c.col), c.kept);
        if (c.end == WHEEL) {
            EXPECT_TRUE(Settles([&] { return t->firstRow() == first + 1; }));
            EXPECT_EQ(t->getEditor()->Y(), t->getCellRect(row, 0).y);
            EXPECT_EQ(GetFocus(), Control(t));
            t->setFirstRow(0);
        }
        if (c.refuse)
            EXPECT_TRUE(Settles([&] { return CellPixels(t, row, c.col) == before; }));
    }
    EXPECT_EQ(boxes.count(), 0u);
}

// The cell events recorded since the first n, joined with "|".
std::string Since(const Model& m, size_t n)
{
    std::string s;
    for (size_t i = n; i < m.cells.size(); ++i)
        s += (i > n ? "|" : "") + m.cells[i];
    return s;
}

TEST(TableInput, RowsAreInsertedAndDeletedAsTheKeysAndColumnsSay)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, 6, S}, 3);
    KTableWin* one = Table(w, m, {E, 6}, 1, false);
    one->getTopLevel()->move(100, 340); // beside the first stage, not over it
    struct Case { KTableWin* t; int row, col; WORD key, held; const char* events; int rows, cur; } cases[] = {
        {t, 3, 0, '7', 0, "3 3 0 |2 3 0 7", 4, 3},          // typed into the insertion row
        {t, 1, 0, VK_INSERT, VK_SHIFT, "3 1 0 ", 5, 1},
        {t, 1, 0, VK_INSERT, 0, "", 5, 1},                  // the control's key without Shift
        {t, 1, 0, VK_DELETE, VK_SHIFT, "4 1 0 ", 4, 1},
        {t, 3, 0, VK_DELETE, VK_SHIFT, "4 3 0 ", 3, 2},     // the last row: the current one moves up
        {t, 1, 0, VK_DELETE, 0, "2 1 0 ", 3, 1},            // the control deletes the selected text
        {t, 0, 1, VK_INSERT, 0, "3 0 1 ", 4, 0},            // row keys in a selecting column
        {t, 3, 1, VK_DELETE, 0, "4 3 1 ", 3, 2},
        {t, 0, 2, VK_DELETE, 0, "", 3, 0},                  // no row keys: a beep
        {t, 0, 2, VK_INSERT, 0, "", 3, 0},
        {one, 0, 0, VK_INSERT, VK_SHIFT, "", 1, 0},         // no insertion allowed
        {one, 0, 1, VK_DELETE, 0, "4 0 1 ", 0, 0},          // the only row: the current row stays
        {one, 0, 1, VK_DELETE, 0, "", 0, 0},                // none left: a beep
    };
    for (const Case& c : cases) {
        Click(c.t, c.row, c.col);
        const size_t n = m.cells.size();
        Keys({c.key}, c.held);
        EXPECT_TRUE(Settles([&] { return c.t->numRow() == c.rows && Since(m, n) == c.events; }))
            << c.key << " " << c.row << " " << c.col << ": " << Since(m, n);
        EXPECT_EQ(c.t->curRow(), c.cur) << c.key << " " << c.row;
        EXPECT_EQ(c.t->getEditor() != nullptr, c.col == 0);
        if (c.col == 0 && c.rows != 0)
            EXPECT_TRUE(EditsAt(c.t, c.cur, 0));
        if (c.key == '7') // the character went into the editor of the new row
            EXPECT_EQ(Narrow(Control(c.t) ? c.t->getEditor()->getText() : KString()), "7");
    }
    EXPECT_EQ(t->getEditor(), nullptr); // it lost the focus to the other table
    // Presses on the table window beside the header: left adds a row, right takes the last away.
    struct Corner { KTableWin* t; DWORD down; const char* events; int rows; } corners[] = {
        {t, MOUSEEVENTF_LEFTDOWN, "3 3 0 ", 4}, {t, MOUSEEVENTF_RIGHTDOWN, "4 3 0 ", 3},
        {t, MOUSEEVENTF_RIGHTDOWN, "4 2 0 ", 2}, {one, MOUSEEVENTF_LEFTDOWN, "", 0}};
    for (const Corner& c : corners) {
        const size_t n = m.cells.size();
        SendMouseAt(*c.t, c.t->width() - GetSystemMetrics(SM_CXVSCROLL) / 2, c.t->getTitleHeight() / 2,
                    {c.down, c.down << 1});
        EXPECT_TRUE(Settles([&] { return c.t->numRow() == c.rows && Since(m, n) == c.events; })) << Since(m, n);
    }
    EXPECT_EQ(boxes.count(), 0u);
}

// Holds the left button down at client point p of w for the seconds given.
void Hold(HWND w, POINT p, double seconds)
{
    SendMouseAt(w, p.x, p.y, {MOUSEEVENTF_LEFTDOWN});
    const double start = get_time();
    WaitFor([&] { return get_time() - start > seconds; }, 3000);
    SendMouseAt(w, p.x, p.y, {MOUSEEVENTF_LEFTUP});
}

TEST(TableInput, EventsCarryTheirCellsAndHeldPressesRepeat)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, B, D, S}, 200);
    // Clicks and keys on a displaying column, a click on a selecting one, on the header.
    Click(t, 2, 2);
    Keys({'A'});
    Click(t, 3, 3);
    const POINT head = {Centre(t, 0, 2).x, (LONG)t->getTitleHeight() / 2};
    SendMouseAt(*t->titleWin(), head.x, head.y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    for (const char* seen : {"m65 2 2 0", "m66 2 2 0", "k2 2 2 65", "k1 2 2 97", "k4 2 2 65", "m65 3 3 1",
                             "m66 3 3 1", "t65 0 2 0", "t66 0 2 0"})
        EXPECT_TRUE(Settles([&] { return m.count(seen) == 1; })) << seen;
    // A button cell held for a second: at once, after 500 ms, then about every 30 ms.
    m.input.clear();
    m.at.clear();
    Hold(*t->cellWin(), Centre(t, 4, 1), 1.0);
    ASSERT_TRUE(Settles([&] { return m.count("m66 4 1 3") == 1; }));
    const size_t ticks = m.count("m65 4 1 3");
    ASSERT_GE(ticks, 3u);
    std::vector<double> at;
    for (size_t i = 0; i < m.input.size(); ++i)
        if (m.input[i] == "m65 4 1 3")
            at.push_back(m.at[i]);
    EXPECT_NEAR(at[1] - at[0], 0.5, 0.1);
    EXPECT_NEAR((at.back() - at[1]) / (ticks - 2), 0.030, 0.012);
    EXPECT_NEAR((double)(ticks - 2), 0.5 / 0.030, 8.0);
    EXPECT_EQ(t->curRow(), 4);
    EXPECT_FALSE(Settles([&] { return m.count("m65 4 1 3") > ticks; })) << "repeats after the release";
    // A held header press repeats its title event.
    Hold(*t->titleWin(), {Centre(t, 0, 1).x, head.y}, 0.7);
    ASSERT_TRUE(Settles([&] { return m.count("t66 0 1 3") == 1; }));
    EXPECT_FALSE(KTableWin::repeatTimer()->isRunning());
    EXPECT_GE(m.count("t65 0 1 3"), 4u);
    EXPECT_LE(m.count("t65 0 1 3"), 12u);
    EXPECT_EQ(boxes.count(), 0u);
}

// n wheel notches in one SendInput call, taken one right after the other.
void Notches(int n, int delta)
{
    std::vector<INPUT> in(n);
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = MOUSEEVENTF_WHEEL;
        i.mi.mouseData = (DWORD)delta;
    }
    SendInput(n, in.data(), sizeof(INPUT));
}

TEST(TableInput, TheWheelScrollsARowANotchAndAPageWhenFast)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, D}, 200);
    const POINT p = Centre(t, 1, 1);
    SendMouseAt(*t->cellWin(), p.x, p.y, {});
    const int page = t->getNumDispRow();
    struct Case { int notches, delta, first; } cases[] = {
        {1, -WHEEL_DELTA, 1}, {1, -WHEEL_DELTA, 2}, {2, -WHEEL_DELTA, 3 + page},
        {1, WHEEL_DELTA, 2 + page}, {2, WHEEL_DELTA, 1}, {1, 2 * WHEEL_DELTA, 0}};
    for (const Case& c : cases) {
        const double quiet = get_time();
        WaitFor([&] { return get_time() - quiet > 0.1; }, 1000); // slower than 0.04 s
        Notches(c.notches, c.delta);
        EXPECT_TRUE(Settles([&] { return t->firstRow() == c.first; })) << c.first << " " << t->firstRow();
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(TableInput, TheLastOfTenMillionRowsIsEdited)
{
    BoxWatcher boxes;
    WindowOwner w;
    Model m;
    KTableWin* t = Table(w, m, {E, D}, 10000000, false);
    t->assureLastRowVisible(); // the key table has no Ctrl+End
    ASSERT_TRUE(Settles([&] { return t->firstRow() == 10000000 - t->getNumDispRow(); }));
    Click(t, 9999999, 0);
    ASSERT_TRUE(EditsAt(t, 9999999, 0));
    EXPECT_EQ(Narrow(t->getEditor()->getText()), "r9999999c0");
    Type("9");
    EXPECT_TRUE(Settles([&] { return m.value(9999999, 0) == "9"; }));
    EXPECT_EQ(boxes.count(), 0u);
}
