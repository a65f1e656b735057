// KComboBox: opening the list and running it, and the keys and mouse of the box.
#include "kcombo.h"

bool KComboBox::isButtonDown(unsigned int msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_MBUTTONDOWN: case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_NCRBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

void KComboBox::dropDownList()
{
    if (!dropDown)
        return;
    if (dropDown->isVisible()) {
        dropDownHandler(-1);
        return;
    }
    ComboBoxEvent dropping(this, 7);
    callHandlers(&dropping);
    sortList();
    POINT at = {boxRect.x, (LONG)height()};
    ClientToScreen(hwnd, &at);
    dropDown->showList(at.x, at.y, boxRect.w - 2, curSel);
    // The list runs here until it closes: a press anywhere but on the list
    // dismisses it and goes no further, everything else is delivered. A
    // message dispatched here may delete the box (its dialog closing): then
    // the loop ends without touching it again.
    const HWND self = hwnd;
    MSG msg;
    while (dropDown && dropDown->isVisible()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            dropDownHandler(-1);
            if (got == 0)
                PostQuitMessage((int)msg.wParam);
            return;
        }
        if (isButtonDown(msg.message) && msg.hwnd != dropDown->getWindow()) {
            dropDownHandler(-1);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (!IsWindow(self))
            return;
    }
}

void KComboBox::dropDownHandler(int index)
{
    setCurSel(index, true);
    if (dropDown)
        dropDown->hideList();
    drawArrow(false);
}

void KComboBox::drawArrow(bool pressed)
{
    iconPressed = pressed;
    draw(4);
}

void KComboBox::mouseHandler(KWindow*, MouseEvent* e)
{
    if (e->type == (ME_PRESS | ME_LEFT)) {
        drawArrow(true);
        dropDownList();
    } else if (e->type == (ME_RELEASE | ME_LEFT)) {
        drawArrow(false);
    }
}

bool KComboBox::altKeyHandler(int key)
{
    if (key != VK_DOWN)
        return false;
    dropDownList();
    return true;
}

void KComboBox::arrowHandler(int direction, bool shift)
{
    if (dropDown && dropDown->isVisible()) {
        dropDown->arrowHandler(direction, shift);
        return;
    }
    if (shift)
        setCurSel(direction > 0 ? 0 : items.count() - 1, true);
    else
        setCurSel(curSel - direction, true);
}

void KComboBox::returnHandler()
{
    if (dropDown && dropDown->isVisible())
        dropDown->okHandler();
}

void KComboBox::gainFocusHandler()
{
    sortList();
}

void KComboBox::loseFocusHandler()
{
    if (dropDown && dropDown->isVisible())
        dropDownHandler(-1);
}
