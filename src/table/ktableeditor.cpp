// KTableCellEditor: the EDIT control over the current cell of a table. Its
// window procedure is replaced by the editor's, which passes the navigation
// keys to the table's cell window and ends the editor when the focus leaves.
#include "ktablewin.h"
#include "../app/kwindow_internal.h"

namespace {

// The keys the table navigates with rather than the control. Left and Right
// move the caret until it stands at the start or the end of the text; End
// stays the control's unless Control makes it a jump to the last row.
bool TableTakesKey(WPARAM key, const KTableCellEditor* editor)
{
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
        return true;
    case VK_LEFT:
    case VK_RIGHT: {
        int start = 0, end = 0;
        editor->getSel(&start, &end);
        return key == VK_LEFT ? start == 0 : end == editor->getTextLength();
    }
    case VK_INSERT:
    case VK_DELETE:
        return GetKeyState(VK_SHIFT) < 0;
    case VK_END:
        return GetKeyState(VK_CONTROL) < 0;
    default:
        return false;
    }
}

} // namespace

KTableCellEditor::KTableCellEditor(KTableWin* t) : table(t) {}

KTableCellEditor* MakeTableCellEditor(KWindow* parent, KTableWin* table, KArgList* args)
{
    auto* e = new KTableCellEditor(table);
    e->init(parent, args);
    e->_addEventHandler(new ResizeEventHandler<KTableCellEditor>(e, &KTableCellEditor::resizeHandler));
    e->configure(false);
    // The text comes from the application, whose handler may throw: an editor
    // left half made would stay over the cell without the table knowing it.
    try {
        e->createControl();
    } catch (...) {
        delete e;
        throw;
    }
    return e;
}

KTableCellEditor::~KTableCellEditor()
{
    if (control && IsWindow(control) && oldProc) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    }
    enableAccel(true);
    // Deleted with its parent rather than by the table: the table forgets it.
    if (table && table->editor == this)
        table->editor = nullptr;
    table = nullptr;
    control = nullptr;
}

void KTableCellEditor::setValues(KArgList* args)
{
    const unsigned long own = KWindow::style;
    KWindow::setValues(args);
    if (!args)
        return;
    // The added style bits are meant for the control, not for the editor's
    // own window.
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) != WA_ADD_WINDOWS_STYLE)
            continue;
        const unsigned long bits = (unsigned long)args->val(i);
        style |= bits;
        KWindow::style &= ~(bits & ~own);
    }
}

void KTableCellEditor::createControl()
{
    creating = true;
    const int col = table->curCol();
    const bool known = table->isValidCol(col);
    if (known && table->getCol(col).autoHScroll)
        style |= ES_AUTOHSCROLL;
    if (known && table->getCol(col).align == 2)
        style |= ES_RIGHT;
    control = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, clientWidth, clientHeight, hwnd, nullptr,
                              KWNDCLASS::hInst, nullptr);
    if (!control) {
        creating = false;
        return; // an editor without a control edits nothing; the table goes on
    }
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KTableCellEditor::wndProc)));
    if (known) {
        const KTableCol& c = table->getCol(col);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(c.charWidth / 2, 0));
    }
    ShowWindow(control, SW_SHOW);
    const KString text = table->getCellString(table->curRow(), col);
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(text)));
    SendMessageW(control, EM_SETMODIFY, FALSE, 0);
    creating = false;
}

void KTableCellEditor::resizeHandler(KWindow*, ResizeEvent*)
{
    if (control)
        MoveWindow(control, 0, 0, clientWidth, clientHeight, TRUE);
}

// --- The control's text ------------------------------------------------------

KString KTableCellEditor::getText() const
{
    const int n = getTextLength();
    KString text(n, L' ');
    if (n > 0)
        GetWindowTextW(control, text, n + 1);
    return text;
}

int KTableCellEditor::getTextLength() const
{
    return control ? GetWindowTextLengthW(control) : 0;
}

void KTableCellEditor::setText(const KString& text, bool modified)
{
    _setText(text, WM_SETTEXT, 0, modified);
}

void KTableCellEditor::replaceText(const KString& text)
{
    _setText(text, EM_REPLACESEL, TRUE, true);
}

void KTableCellEditor::_setText(const KString& text, unsigned msg, unsigned wParam, bool modified)
{
    SendMessageW(control, msg, wParam, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(text)));
    setIsModified(modified);
}

void KTableCellEditor::setIsModified(bool on)
{
    SendMessageW(control, EM_SETMODIFY, on, 0);
}

bool KTableCellEditor::getIsModified() const
{
    return control && SendMessageW(control, EM_GETMODIFY, 0, 0) != 0;
}

void KTableCellEditor::getSel(int* start, int* end) const
{
    DWORD s = 0, e = 0;
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    *start = (int)s;
    *end = (int)e;
}

void KTableCellEditor::setTabStop(int n)
{
    int stop = n * 4; // dialog units, four to a character
    SendMessageW(control, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
}

LRESULT KTableCellEditor::sendMessage(unsigned msg, unsigned wParam, long lParam) const
{
    return SendMessageW(control, msg, wParam, lParam);
}

void KTableCellEditor::setFocus()
{
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

void KTableCellEditor::deleteCellEditor()
{
    if (table && table->getEditor() == this)
        table->deleteCellEditor();
}

void KTableCellEditor::menuHandler(unsigned int, unsigned int code)
{
    if (code == EN_CHANGE && !creating && table)
        table->notifyChange(getText());
}

// --- The replacement window procedure ----------------------------------------

LRESULT CALLBACK KTableCellEditor::wndProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* editor = reinterpret_cast<KTableCellEditor*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!editor)
        return CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(h, GCLP_WNDPROC)), h, msg,
                               wParam, lParam);
    try {
        return editor->controlMessage(msg, wParam, lParam);
    } catch (...) {
        // A handler may have deleted the editor before it threw.
        const bool alive = IsWindow(h) && GetWindowLongPtrW(h, GWLP_USERDATA) == (LONG_PTR)editor;
        ReportHandlerException(alive ? editor : nullptr);
    }
    return 0;
}

// The table's handlers may delete this editor (a key that moves it to another
// cell): after they ran, only what was copied to the stack is used.
LRESULT KTableCellEditor::controlMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND h = control;
    const WNDPROC proc = oldProc;
    KTableWin* t = table;
    switch (msg) {
    case WM_CHAR:
        if (wParam == VK_TAB || wParam == VK_RETURN)
            return 0;
        // The first character typed on the insertion row makes the row; the
        // table hands it on to the control.
        if (wParam >= L' ' && wParam != 127 && t->autoInsertRow(msg, (unsigned)wParam, (long)lParam))
            return 0;
        break;
    case WM_SETFOCUS:
        enableAccel(false);
        break;
    case WM_KILLFOCUS: {
        enableAccel(true);
        if (getIsModified())
            t->notifyChange(getText());
        const LRESULT result = CallWindowProcW(proc, h, msg, wParam, lParam);
        if (t->getEditor() == this)
            t->deleteCellEditor();
        return result;
    }
    case WM_KEYDOWN:
        if (wParam >= VK_TAB && wParam <= VK_DELETE && TableTakesKey(wParam, this)) {
            KWindow* cells = t->cellWin();
            KeyboardEvent e(cells, msg, wParam, lParam);
            if (cells->callHandlers(&e) > 0)
                return 0;
        }
        break;
    case WM_MOUSEWHEEL: {
        // The wheel scrolls the table, whatever a one-line control would do
        // with it.
        KWindow* cells = t->cellWin();
        MouseEvent e(cells, msg, wParam, lParam);
        cells->callHandlers(&e);
        return 0;
    }
    case WM_NCDESTROY:
        // Destroyed under the editor (its native parent went first).
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        control = nullptr;
        break;
    default:
        break;
    }
    return CallWindowProcW(proc, h, msg, wParam, lParam);
}
