// The one window procedure of every library window class: it finds the
// KWindow bound to the native window and turns each message into a virtual
// call or a typed event offered to the window's handler chain.
#include "kwindow.h"
#include "kapp.h"
#include "ktoplevel.h"

namespace {

KWindow* BoundWindow(HWND hwnd)
{
    return reinterpret_cast<KWindow*>(GetWindowLongPtrW(hwnd, 0));
}

bool IsMouseButtonMessage(UINT msg)
{
    return msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK;
}

} // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return KWindow::_windowProc(hwnd, msg, wParam, lParam);
}

LRESULT KWindow::_windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!App)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_CREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* w = static_cast<KWindow*>(cs->lpCreateParams);
        if (!w)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        w->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(w));
        return 0;
    }
    KWindow* w = BoundWindow(hwnd);
    if (!w)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    // A window being torn down only sees its own WM_DESTROY: its derived
    // parts are already gone, so no handler or override may run for it.
    if (w->destroying && msg != WM_DESTROY)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return w->dispatch(msg, wParam, lParam);
}

LRESULT KWindow::dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DESTROY:
        if (App->getMainWindow() && static_cast<KWindow*>(App->getMainWindow()) == this)
            PostQuitMessage((int)App->getExitCode());
        SetWindowLongPtrW(hwnd, 0, 0);
        return 0;
    case WM_MOVE:
        if (parent) {
            winX = (short)LOWORD(lParam) - borderWidth;
            winY = (short)HIWORD(lParam) - borderWidth;
        } else {
            RECT r;
            GetWindowRect(hwnd, &r);
            winX = r.left;
            winY = r.top;
        }
        return 0;
    case WM_SIZE: {
        clientWidth = (short)LOWORD(lParam);
        clientHeight = (short)HIWORD(lParam);
        RECT r;
        GetWindowRect(hwnd, &r);
        winWidth = r.right - r.left;
        winHeight = r.bottom - r.top;
        ResizeEvent e(this, msg, wParam, lParam);
        callHandlers(&e);
        if (!parent)
            sizeHandler((unsigned)wParam);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            ClipCursor(nullptr);
        activateHandler(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        return keyMessage(msg, wParam, lParam);
    case WM_ENABLE:
        _enableTree(wParam != 0);
        return 0;
    case WM_SETTEXT:
        if (setTextHandler(reinterpret_cast<const wchar_t*>(lParam)))
            return 1;
        break;
    case WM_PAINT: {
        int taken;
        {
            ExposeEvent e(this, msg, wParam, lParam);
            taken = callHandlers(&e);
        }
        if (taken > 0)
            return 0;
        break;
    }
    case WM_CLOSE:
        if (App->getMainWindow() == (KWindow*)this && GetTopLevelCount() > 1)
            ErrorBox(this, ERRCODE(1, 1022), "Cannot exit while dialogs are open!");
        else
            closeHandler();
        return 0;
    case WM_ERASEBKGND:
        eraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETCURSOR:
        if (_setCursorHandler(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return 0;
        break;
    case WM_MOUSEACTIVATE:
        if (!activateOnClick)
            return MA_NOACTIVATE;
        break;
    case WM_VKEYTOITEM:
        if (LOWORD(wParam) == VK_RETURN) {
            // Enter in a list box acts as a double click on the selection.
            ListBoxEvent e(this, LBN_DBLCLK);
            callHandlers(&e);
        } else if (LOWORD(wParam) == VK_TAB) {
            SendMessageW(hwnd, WM_CHAR, VK_TAB, 0);
        }
        break;
    case WM_NCHITTEST:
        if (isGripWin)
            return HTBOTTOMRIGHT;
        break;
    case WM_NCPAINT:
        if (drawBorder())
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if ((lParam & (1 << 29)) && altKeyHandler((int)wParam))
            return 0;
        break;
    case WM_COMMAND:
        menuHandler(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
        initMenuHandler(msg, reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        if (wParam == 0)
            _enterLeaveNotify(true);
        return mouseMessage(msg, wParam, lParam);
    case WM_MOUSEWHEEL: {
        // The wheel goes to the library window under the pointer, not to the
        // window with the focus.
        POINT pt;
        GetCursorPos(&pt);
        HWND under = WindowFromPoint(pt);
        KWindow* target = nullptr;
        if (under && GetWindowLongPtrW(under, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(WndProc))
            target = BoundWindow(under);
        if (!target)
            break;
        MouseEvent e(target, msg, wParam, lParam);
        target->callHandlers(&e);
        return 0;
    }
    case WM_PARENTNOTIFY:
        return 0;
    case WM_DEVICECHANGE: {
        DeviceEvent e(this, msg, wParam, lParam);
        if (callHandlers(&e) > 0)
            return TRUE;
        break;
    }
    case WM_MOUSEHOVER:
        _hoverHandler();
        break;
    case WM_MOUSELEAVE:
        _enterLeaveNotify(false);
        return 0;
    case WM_APP + 1: {
        SocketEvent e(this, msg, wParam, lParam);
        if (e.type == 0)
            break;
        if (callHandlers(&e) > 0)
            return 0;
        break;
    }
    default:
        if (IsMouseButtonMessage(msg))
            return mouseMessage(msg, wParam, lParam);
        break;
    }
    return defMsgHandler(msg, wParam, lParam);
}

LRESULT KWindow::mouseMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    MouseEvent e(this, msg, wParam, lParam);
    if (e.type == 0)
        return defMsgHandler(msg, wParam, lParam);
    if (callHandlers(&e) > 0)
        return 0;
    return defMsgHandler(msg, wParam, lParam);
}

LRESULT KWindow::keyMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!inputEnabled)
        return 0;
    KeyboardEvent e(this, msg, wParam, lParam);
    if (callHandlers(&e) > 0)
        return 0;
    return defMsgHandler(msg, wParam, lParam);
}

LRESULT KWindow::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
