// Input on the table: keys and clicks on the cells, presses on the header and
// on the table window itself, held presses that repeat, and the wheel.
#include "ktablewin.h"
#include "kscrollbar.h"
#include "ksystem.h"
#include "ktimer.h"

MouseEvent KTableWin::rep_event;

namespace {

// One tick of a held press. The press's window is checked first: a table
// deleted while its cell or header was held must not be called back.
class RepeatTick : public _TimerEventHandler {
public:
    typedef void (KTableWin::*Method)();
    RepeatTick(KTableWin* t, Method m, HWND pressed) : table(t), method(m), pressed(pressed) {}
    void operator()() override
    {
        if (!KTableWin::rep_event.window || !IsWindow(pressed)) {
            KTableWin::rep_event.window = nullptr;
            KTableWin::repeatTimer()->stop();
            return;
        }
        (table->*method)();
    }

private:
    KTableWin* table;
    Method method;
    HWND pressed;
};

const double FAST_WHEEL = 0.04; // seconds between notches that scroll a page

} // namespace

KTimer* KTableWin::repeatTimer()
{
    static KTimer timer;
    return &timer;
}

// --- Keyboard on the cell window ---------------------------------------------

void KTableWin::keyboardHandler(KWindow*, KeyboardEvent* e)
{
    if (!isValidCol(currentCol))
        return;
    const TableMode mode = columns[currentCol].mode;
    bool taken = false;
    if (mode == TABLE_DISPLAY || mode == TABLE_SELECT) {
        TableWinKeyEvent k(e, currentRow, currentCol);
        taken = callHandlers(&k) > 0;
        if (mode == TABLE_DISPLAY)
            return;
    }
    if (e->type == KE_FOCUS_OUT) {
        drawRow(currentRow);
        return;
    }
    if (e->type != KE_KEY_DOWN || e->key < VK_TAB || e->key > VK_DELETE)
        return;
    if (mode == TABLE_EDIT)
        editKey(e);
    else if (mode == TABLE_SELECT)
        selectKey(e, taken);
}

void KTableWin::editKey(KeyboardEvent* e)
{
    const bool rowKeys = columns[currentCol].rowKeys;
    switch (e->key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_RIGHT:
        incEditCol(1);
        return;
    case VK_LEFT:
        incEditCol(-1);
        return;
    case VK_HOME:
        if (firstEditCol() >= 0)
            setEditCell(0, firstEditCol());
        return;
    case VK_END:
        // Ctrl+End: the last row, as in the list controls of the system.
        if (e->isControl() && rowCount > 0)
            setEditCell(rowCount - 1, currentCol);
        return;
    case VK_UP:
        setEditCell(currentRow - 1, currentCol);
        return;
    case VK_DOWN:
        setEditCell(currentRow + 1, currentCol);
        return;
    case VK_INSERT:
        if (!((e->isShifted() && allowInsert) || rowKeys))
            return;
        insertRow(currentRow, currentCol);
        setEditCell(currentRow, currentCol);
        return;
    case VK_DELETE:
        if (!(e->isShifted() || rowKeys)) {
            Beep(MB_ICONHAND);
            return;
        }
        if (deleteCurrentRow())
            setEditCell(currentRow, currentCol);
        return;
    default:
        return;
    }
}

void KTableWin::selectKey(KeyboardEvent* e, bool taken)
{
    const bool rowKeys = columns[currentCol].rowKeys;
    switch (e->key) {
    case VK_HOME:
        setCurCell(0, 0);
        drawRow(currentRow);
        assureCellVisible(currentRow, currentCol);
        return;
    case VK_END:
        if (e->isControl() && rowCount > 0 && currentRow != rowCount - 1)
            selectMove(rowCount - 1, e);
        return;
    case VK_UP:
        if (currentRow >= 1)
            selectMove(currentRow - 1, e);
        return;
    case VK_DOWN:
        if (currentRow < rowCount - 1)
            selectMove(currentRow + 1, e);
        return;
    case VK_INSERT:
        if (rowKeys)
            insertRow(currentRow, currentCol);
        return;
    case VK_DELETE:
        if (rowKeys)
            deleteCurrentRow();
        else if (!taken)
            Beep(MB_ICONHAND);
        return;
    default:
        return;
    }
}

// Up and Down in a selecting column: the row moves and the application hears
// of it as of a left press on the new row.
void KTableWin::selectMove(int row, KeyboardEvent*)
{
    setCurCell(row, currentCol);
    drawRow(currentRow);
    assureCellVisible(currentRow, currentCol);
    MouseEvent press;
    press.type = ME_LEFT | ME_PRESS;
    press.window = cellWindow;
    TableWinMouseEvent m(this, &press, currentRow, currentCol);
    callHandlers(&m);
}

// --- Mouse on the cell window ------------------------------------------------

void KTableWin::cellMouseHandler(KWindow*, MouseEvent* e)
{
    if (e->type & ME_WHEEL) {
        wheelScroll(e);
        return;
    }
    int row = -1, col = -1;
    pointToCell(KPOINT{e->x, e->y}, row, col);
    const bool valid = isValidCol(col) && row >= 0;
    const TableMode mode = valid ? columns[col].mode : TABLE_DISPLAY;
    // A release ends a held press wherever the pointer went meanwhile.
    if ((e->type & ME_RELEASE) && !(valid && mode == TABLE_BUTTON && row < rowCount))
        stopRepeat();
    if (!valid)
        return;
    if (mode == TABLE_EDIT) {
        editMouse(e, row, col);
        return;
    }
    if (row >= rowCount)
        return;
    deleteCellEditor();
    if (mode == TABLE_BUTTON) {
        buttonMouse(e, row, col);
        return;
    }
    setCurCell(row, col);
    const bool leftPress = e->type == (ME_LEFT | ME_PRESS);
    if (leftPress)
        cellWindow->setFocus();
    if (mode == TABLE_SELECT) {
        const bool moved = currentRow != previousRow;
        if (leftPress || ((e->type & ME_DRAG) && moved)) {
            drawRow(previousRow);
            drawRow(currentRow);
            assureCellVisible(currentRow, currentCol);
        }
        if ((e->type & ME_DRAG) && !moved)
            return;
    }
    TableWinMouseEvent m(this, e, currentRow, currentCol);
    callHandlers(&m);
}

void KTableWin::editMouse(MouseEvent* e, int row, int col)
{
    if (row > rowCount || (row == rowCount && !allowInsert))
        return;
    // The editor stays over the current cell: a drag or another button
    // moving the current cell closes it rather than leave it on the old one.
    if (editor && (row != currentRow || col != currentCol))
        deleteCellEditor();
    setCurCell(row, col);
    if (e->type == (ME_LEFT | ME_PRESS))
        setEditCell(currentRow, currentCol);
    if (row >= rowCount)
        return;
    TableWinMouseEvent m(this, e, row, col);
    callHandlers(&m);
}

void KTableWin::buttonMouse(MouseEvent* e, int row, int col)
{
    setIsModified(true);
    const bool repeating = rep_event.window != nullptr;
    const bool press = (e->type & ME_PRESS) && !repeating;
    if (press)
        setCurCell(row, col);
    TableWinMouseEvent m(this, e, currentRow, currentCol);
    callHandlers(&m);
    drawCell(currentRow, currentCol);
    // The release of a double click never comes (the event swallows it), so
    // a double click starts no repeat.
    if (press && !e->isDoubleClick())
        startRepeat(e, &KTableWin::cellTimerHandler);
    else if ((e->type & ME_RELEASE) && repeating)
        stopRepeat();
}

void KTableWin::wheelScroll(MouseEvent* e)
{
    if (!vertScrollBar)
        return;
    const double now = get_time();
    const int step = now - lastWheel < FAST_WHEEL ? numDispRow : 1;
    lastWheel = now;
    vertScrollBar->setCurVal(topRow - (int)e->wheel * step, true);
}

// --- Header, repeats and the table window ------------------------------------

void KTableWin::titleMouseHandler(KWindow*, MouseEvent* e)
{
    int row = -1, col = -1;
    pointToCell(KPOINT{e->x, e->y}, row, col);
    if (!isValidCol(col)) {
        if (e->type & ME_RELEASE)
            stopRepeat();
        return;
    }
    setIsModified(true);
    TableWinTitleEvent t(this, e, col);
    callHandlers(&t);
    const bool repeating = rep_event.window != nullptr;
    if ((e->type & ME_PRESS) && !repeating) {
        setCurCell(row, col);
        if (!e->isDoubleClick())
            startRepeat(e, &KTableWin::titleTimerHandler);
    } else if ((e->type & ME_RELEASE) && repeating) {
        stopRepeat();
    }
}

void KTableWin::startRepeat(MouseEvent* e, void (KTableWin::*tick)())
{
    rep_event = *e;
    KTimer* timer = repeatTimer();
    timer->setHandler(new RepeatTick(this, tick, e->window ? e->window->getWindow() : nullptr));
    timer->start(repeatDelay);
}

void KTableWin::stopRepeat()
{
    rep_event.window = nullptr;
    repeatTimer()->stop();
}

// The first tick comes after repeatDelay; from then on every repeatRate.
void KTableWin::cellTimerHandler()
{
    KTimer* timer = repeatTimer();
    if (timer->getTimeout() != repeatRate)
        timer->start(repeatRate);
    TableWinMouseEvent m(this, &rep_event, currentRow, currentCol);
    callHandlers(&m);
    drawCell(currentRow, currentCol);
}

void KTableWin::titleTimerHandler()
{
    KTimer* timer = repeatTimer();
    if (timer->getTimeout() != repeatRate)
        timer->start(repeatRate);
    TableWinTitleEvent t(this, &rep_event, currentCol);
    callHandlers(&t);
}

// Presses on the table window outside its children (the corner above the
// vertical bar, marked "*"): left adds a row at the end, right takes the
// last one away.
void KTableWin::mouseHandler(KWindow*, MouseEvent* e)
{
    if (!allowInsert)
        return;
    if (e->type == (ME_LEFT | ME_PRESS)) {
        insertRow(rowCount, 0);
        assureLastRowVisible();
    } else if (e->type == (ME_RIGHT | ME_PRESS) && rowCount > 0) {
        deleteRow(rowCount - 1, 0);
        if (editor)
            setEditCell(currentRow, currentCol);
    }
}
