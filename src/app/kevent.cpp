// Events built from window messages: mouse capture, double clicks and
// keyboard state.
#include "kwindow.h"
#include "kevent.h"

KPOINT MouseEvent::down_pt = {0, 0};
long MessageEvent::num_msg_type = 2;

// Whether a press captured the mouse and its release is still to come.
static bool mouse_captured = false;

long MessageEvent::GetMsgType()
{
    return num_msg_type++;
}

static unsigned long MouseModifiers(WPARAM wParam)
{
    unsigned long m = (wParam >> 2) & 3; // MK_SHIFT gives 1, MK_CONTROL 2
    if (GetKeyState(VK_MENU) < 0)
        m |= 4;
    return m;
}

static unsigned long ButtonBits(WPARAM wParam, unsigned long left, unsigned long middle,
                                unsigned long right, unsigned long none)
{
    if (wParam & MK_LBUTTON) return left;
    if (wParam & MK_MBUTTON) return middle;
    if (wParam & MK_RBUTTON) return right;
    return none;
}

// Takes the rest of a double click off the queue, up to and including the
// release of the same button, so that release is never delivered.
static void SwallowDoubleClick(HWND hwnd, UINT upMessage)
{
    SetCapture(hwnd);
    MSG m;
    while (GetMessageW(&m, hwnd, WM_MOUSEMOVE, WM_MOUSELAST) > 0)
        if (m.message == upMessage)
            break;
    ReleaseCapture();
}

MouseEvent::MouseEvent(KWindow* w, UINT msg, WPARAM wParam, LPARAM lParam) : Event(w)
{
    x = (short)LOWORD(lParam);
    y = (short)HIWORD(lParam);
    if (!w->isInputEnabled())
        return;
    modifiers = MouseModifiers(wParam);
    const bool dbl = modifiers == 0 && w->acceptsDoubleClick();
    UINT upMessage = 0;
    switch (msg) {
    case WM_MOUSEMOVE: type = ButtonBits(wParam, 72, 136, 264, 4); break;
    case WM_LBUTTONDOWN: w->clearMessageWin(); type = 65; break;
    case WM_LBUTTONUP: type = 66; break;
    case WM_LBUTTONDBLCLK: type = dbl ? 81 : 65; upMessage = WM_LBUTTONUP; break;
    case WM_RBUTTONDOWN: w->clearMessageWin(); type = 257; break;
    case WM_RBUTTONUP: type = 258; break;
    case WM_RBUTTONDBLCLK: type = dbl ? 273 : 257; upMessage = WM_RBUTTONUP; break;
    case WM_MBUTTONDOWN: w->clearMessageWin(); type = 129; break;
    case WM_MBUTTONUP: type = 130; break;
    case WM_MBUTTONDBLCLK: type = dbl ? 145 : 129; upMessage = WM_MBUTTONUP; break;
    case WM_MOUSEWHEEL:
        wheel = (short)HIWORD(wParam) / WHEEL_DELTA;
        type = ButtonBits(wParam, 576, 640, 768, 512);
        break;
    default:
        ErrorBox(w, ERRCODE(1, 1004), "Unknown mouse msg=%x.", msg);
        return;
    }

    HWND hwnd = w->getWindow();
    if (type & ME_DOUBLE) {
        SwallowDoubleClick(hwnd, upMessage);
    } else if (type & ME_PRESS) {
        down_pt = KPOINT{x, y};
        SetCapture(hwnd);
        mouse_captured = true;
    } else if (type & ME_RELEASE) {
        if (!mouse_captured) {
            type = 0; // the press went elsewhere
            return;
        }
        down_pt = KPOINT{x, y};
        mouse_captured = false;
        ReleaseCapture();
    } else if ((type & ME_DRAG) && !mouse_captured) {
        type = 0;
    }
}

static unsigned long KeyModifiers()
{
    unsigned long m = 0;
    if (GetKeyState(VK_SHIFT) < 0) m |= 1;
    if (GetKeyState(VK_CONTROL) < 0) m |= 2;
    if (GetKeyState(VK_MENU) < 0) m |= 4;
    return m;
}

KeyboardEvent::KeyboardEvent(KWindow* w, UINT msg, WPARAM wParam, LPARAM lp) : Event(w)
{
    modifiers = KeyModifiers();
    switch (msg) {
    case WM_CHAR: type = 1; key = (unsigned short)wParam; break;
    case WM_KEYDOWN: type = 2; key = (unsigned short)wParam; break;
    case WM_KEYUP: type = 4; key = (unsigned short)wParam; break;
    case WM_SETFOCUS: type = 8; lParam = (long)lp; break;
    case WM_KILLFOCUS: type = 16; lParam = (long)lp; break;
    default: break;
    }
}

ExposeEvent::ExposeEvent(KWindow* w, UINT, WPARAM, LPARAM) : Event(w), painted(w->getWindow())
{
    BeginPaint(painted, &paint);
    updateRect = paint.rcPaint;
}

ExposeEvent::~ExposeEvent()
{
    EndPaint(painted, &paint);
}
