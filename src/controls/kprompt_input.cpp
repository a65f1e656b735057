// KPromptBase: keyboard, mouse and focus, the edit control's replaced window
// procedure, character filtering and change notification.
#include "kprompt.h"
#include "kgraphics.h"
#include "krepeat.h"
#include "../app/kwindow_internal.h"

namespace {

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

// Keys whose key-down the field's handlers may take from the edit control.
bool IsFieldKey(WPARAM key)
{
    return key == VK_TAB || key == VK_RETURN || key == VK_HOME || key == VK_UP || key == VK_DOWN;
}

} // namespace

bool KPromptBase::isValidChar(int c)
{
    switch (allowedChars) {
    case 1: return c == '-' || c == '+' || IsDigit(c);
    case 2: return c == '-' || c == '+' || c == '.' || c == 'E' || c == 'e' || IsDigit(c);
    default: return true;
    }
}

bool KPromptBase::inRect(const DCRect& r, long x, long y) const
{
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// --- Focus -----------------------------------------------------------------

void KPromptBase::setFocus()
{
    if (!joinTabGroup) {
        if (!enterLeaveEnabled)
            Beep(MB_ICONHAND);
        return;
    }
    SetFocus(editWin ? editWin : hwnd);
    selectAll();
}

void KPromptBase::addedHandlerHandler(EventHandler* h)
{
    if (h->iSIOHandler())
        enterLeaveEnabled = true;
}

void KPromptBase::selectAll()
{
    if (editWin)
        SendMessageW(editWin, EM_SETSEL, 0, -1);
    else
        draw(DRAW_BOX);
}

void KPromptBase::clearSelection()
{
    if (editWin)
        SendMessageW(editWin, EM_SETSEL, 0, 0);
    else
        draw(DRAW_BOX);
}

// --- Keyboard --------------------------------------------------------------

void KPromptBase::keyboardHandler(KWindow*, KeyboardEvent* e)
{
    switch (e->type) {
    case KE_FOCUS_IN:
        hasFocus = true;
        draw(editWin ? DRAW_PROMPT : DRAW_PROMPT | DRAW_BOX);
        gainFocusHandler();
        break;
    case KE_FOCUS_OUT:
        hasFocus = false;
        draw(editWin ? DRAW_PROMPT : DRAW_PROMPT | DRAW_BOX);
        clearSelection();
        loseFocusHandler();
        break;
    case KE_CHAR:
        if (e->key != VK_RETURN)
            break;
        // Type 0 makes the tab group's handler, later in the chain, ignore it.
        if (disableReturnHandler())
            e->type = 0;
        returnHandler();
        break;
    case KE_KEY_DOWN:
        if (e->key == VK_UP)
            arrowHandler(1, e->isShifted());
        else if (e->key == VK_DOWN)
            arrowHandler(-1, e->isShifted());
        break;
    default:
        break;
    }
}

// --- The edit control --------------------------------------------------------

LRESULT CALLBACK KPromptBase::EditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* field = reinterpret_cast<KPromptBase*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!field)
        return DefWindowProcW(h, msg, wParam, lParam);
    try {
        return field->editMessage(msg, wParam, lParam);
    } catch (...) {
        ReportHandlerException(IsWindow(h) ? field : nullptr);
    }
    return 0;
}

LRESULT KPromptBase::editMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND edit = editWin;
    const WNDPROC previous = editProc;
    switch (msg) {
    case WM_CHAR:
        // The field's handlers and the tab group see these; the control does not.
        if (wParam == VK_TAB || wParam == VK_ESCAPE || wParam == VK_RETURN)
            return WndProc(hwnd, msg, wParam, lParam);
        if (wParam >= 32 && !isValidChar((int)wParam)) {
            Beep(MB_ICONHAND);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        // Accelerators would eat keys typed into the control.
        enableAccel(msg == WM_KILLFOCUS);
        WndProc(hwnd, msg, wParam, lParam);
        break; // the control still needs it for its caret
    }
    case WM_KEYDOWN:
        if (IsFieldKey(wParam)) {
            KeyboardEvent e(this, msg, wParam, lParam);
            if (callHandlers(&e) > 0)
                return 0;
        }
        break;
    case WM_DESTROY:
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return CallWindowProcW(previous, edit, msg, wParam, lParam);
}

void KPromptBase::menuHandler(unsigned int, unsigned int code)
{
    if (code != EN_CHANGE || settingText || !editWin)
        return;
    const int n = GetWindowTextLengthW(editWin);
    KString typed(n, L' ');
    GetWindowTextW(editWin, typed, n + 1);
    typed.trunc(n);
    text = typed;
    if (editChangeHandler())
        changeNotify();
}

LRESULT KPromptBase::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) && editWin &&
        reinterpret_cast<HWND>(lParam) == editWin) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, inputForeground);
        SetBkColor(dc, textBackground);
        return reinterpret_cast<LRESULT>((HBRUSH)backBrush);
    }
    return KWindow::defMsgHandler(msg, wParam, lParam);
}

void KPromptBase::changeNotify()
{
    setIsModified(true);
    PromptEvent e(this, EN_CHANGE);
    callHandlers(&e);
}

// --- Mouse -----------------------------------------------------------------

bool KPromptBase::dispatchMouseEvents() const
{
    return !editWin || pressInIcon;
}

void KPromptBase::setDelay(int delay, int rate)
{
    repeatDelay = delay;
    repeatRate = rate;
    if (delay <= 0)
        PromptRepeat::forget(this);
}

void KPromptBase::baseMouseHandler(KWindow* w, MouseEvent* e)
{
    const bool press = (e->type & ME_PRESS) != 0;
    if (press && e->repeatCount == 0) {
        if (!hasFocus)
            setFocus();
        pressX = e->x;
        pressY = e->y;
        pressInIcon = inRect(iconRect, e->x, e->y);
    }
    if (repeatDelay > 0 && dispatchMouseEvents()) {
        if (press && e->repeatCount == 0)
            PromptRepeat::start(*e, repeatDelay, repeatRate);
        else if (e->type & ME_RELEASE)
            PromptRepeat::stop();
    }
    if (!dispatchMouseEvents()) {
        if (e->type == (ME_PRESS | ME_LEFT))
            clearSelection();
        return;
    }
    if (press)
        clearSelection();
    mouseHandler(w, e);
}

void KPromptBase::pointerHandler(KWindow*, MouseEvent* e)
{
    HCURSOR c = nullptr;
    if (inRect(promptRect, e->x, e->y))
        c = ARROW_CURSOR;
    else if (inRect(iconRect, e->x, e->y) || (!editWin && inRect(innerRect, e->x, e->y)))
        c = iconStyle == 2 ? SIZENS_CURSOR : ARROW_CURSOR;
    if (c)
        setCursor(c);
}
