// The one window procedure of every library window class: it finds the
// KWindow bound to the native window and turns each message into a virtual
// call or a typed event offered to the window's handler chain.
//
// It is also the boundary no exception crosses. Between the window procedure
// and the message loop lie user32's frames, which the i686 DWARF unwinder
// cannot walk (the process would end in terminate) and through which x86_64
// Windows may swallow an exception. So whatever a handler throws, a translated
// access violation included, is reported here and the message gets the
// default result; the program goes on.
#include "kwindow.h"
#include "kapp.h"
#include "ktoplevel.h"
#include "kwindow_internal.h"
#include <exception>

// The private entry of the window procedure into KWindow.
struct WindowProcedure {
    static LRESULT route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

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
    try {
        return WindowProcedure::route(hwnd, msg, wParam, lParam);
    } catch (...) {
        // The handler may have deleted its window: look the object up again.
        ReportHandlerException(IsWindow(hwnd) ? BoundWindow(hwnd) : nullptr);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

namespace {

const ERRCODE HandlerFailure(1, 1030);

// Set while a handler failure is shown; the box runs a message loop of its
// own, in which the same handler may fail again at once (a paint handler, a
// command it posted itself). Those further failures are only logged.
bool showing = false;

struct ShowingBox {
    ShowingBox() { showing = true; }
    ~ShowingBox() { showing = false; }
};

void ReportCurrentException(KWindow* w)
{
    KString where;
    try {
        throw;
    } catch (const KorvelException& e) {
        where.set("Unhandled exception in the handler of %w.", w);
        if (showing) {
            LogPrintf("%S: %S\n", &where, &e.text);
            return;
        }
        ShowingBox box;
        e.popupMessage(HandlerFailure, "%S", &where); // logs the same line
    } catch (const std::exception& e) {
        where.set("Unhandled exception in the handler of %w.", w);
        LogPrintf("ERROR(01-1030) %S: %s\n", &where, e.what());
        if (showing)
            return;
        ShowingBox box;
        ErrorBox(HandlerFailure, "%s", e.what());
    } catch (...) {
        where.set("Unknown exception in the handler of %w.", w);
        LogPrintf("ERROR(01-1030) %S\n", &where);
        if (showing)
            return;
        ShowingBox box;
        ErrorBox(HandlerFailure, "%S", &where);
    }
}

} // namespace

void ReportHandlerException(KWindow* w) noexcept
{
    try {
        ReportCurrentException(w);
    } catch (...) {
        // Reporting itself failed (no memory): the program goes on regardless.
    }
}

LRESULT WindowProcedure::route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
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
        WindowWatch watch(this);
        ResizeEvent e(this, msg, wParam, lParam);
        callHandlers(&e);
        if (watch.alive() && !parent)
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
            WindowWatch watch(this);
            ListBoxEvent e(this, LBN_DBLCLK);
            callHandlers(&e);
            if (!watch.alive())
                return -1; // a handler deleted the list: nothing more to do
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
