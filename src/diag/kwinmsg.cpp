// Texts for traces: names of common-dialog errors and one-line descriptions
// of window messages. Both answer in a static buffer.
#include "kdiag.h"
#include <windowsx.h>
#include <commdlg.h>
#include <cderr.h>
#include <stdio.h>

#define NAME(c) \
    case c:     \
        return L## #c L"."

static const wchar_t* CommDlgErrorName(unsigned long code)
{
    switch (code) {
        NAME(CDERR_GENERALCODES);
        NAME(CDERR_STRUCTSIZE);
        NAME(CDERR_INITIALIZATION);
        NAME(CDERR_NOTEMPLATE);
        NAME(CDERR_NOHINSTANCE);
        NAME(CDERR_LOADSTRFAILURE);
        NAME(CDERR_FINDRESFAILURE);
        NAME(CDERR_LOADRESFAILURE);
        NAME(CDERR_LOCKRESFAILURE);
        NAME(CDERR_MEMALLOCFAILURE);
        NAME(CDERR_MEMLOCKFAILURE);
        NAME(CDERR_NOHOOK);
        NAME(CDERR_REGISTERMSGFAIL);
        NAME(PDERR_PRINTERCODES);
        NAME(PDERR_SETUPFAILURE);
        NAME(PDERR_PARSEFAILURE);
        NAME(PDERR_RETDEFFAILURE);
        NAME(PDERR_LOADDRVFAILURE);
        NAME(PDERR_GETDEVMODEFAIL);
        NAME(PDERR_INITFAILURE);
        NAME(PDERR_NODEVICES);
        NAME(PDERR_NODEFAULTPRN);
        NAME(PDERR_DNDMMISMATCH);
        NAME(PDERR_CREATEICFAILURE);
        NAME(PDERR_PRINTERNOTFOUND);
        NAME(PDERR_DEFAULTDIFFERENT);
        NAME(CFERR_CHOOSEFONTCODES);
        NAME(CFERR_NOFONTS);
        NAME(CFERR_MAXLESSTHANMIN);
        NAME(FNERR_FILENAMECODES);
        NAME(FNERR_SUBCLASSFAILURE);
        NAME(FNERR_INVALIDFILENAME);
        NAME(FNERR_BUFFERTOOSMALL);
        NAME(FRERR_FINDREPLACECODES);
        NAME(FRERR_BUFFERLENGTHZERO);
        NAME(CCERR_CHOOSECOLORCODES);
        NAME(CDERR_DIALOGFAILURE);
    default:
        return nullptr;
    }
}

#undef NAME

const wchar_t* GetCommDlgError(unsigned long code)
{
    if (const wchar_t* name = CommDlgErrorName(code))
        return name;
    static wchar_t hex[16];
    swprintf(hex, 16, L"%lX", code);
    return hex;
}

const wchar_t* GetCommDlgError()
{
    return GetCommDlgError(CommDlgExtendedError());
}

// --- Window messages -------------------------------------------------------

namespace {

const char* MessageName(unsigned msg)
{
    switch (msg) {
#define MSG_NAME(m) \
    case m:         \
        return #m
        MSG_NAME(WM_CREATE);
        MSG_NAME(WM_DESTROY);
        MSG_NAME(WM_MOVE);
        MSG_NAME(WM_SIZE);
        MSG_NAME(WM_ACTIVATE);
        MSG_NAME(WM_SETFOCUS);
        MSG_NAME(WM_KILLFOCUS);
        MSG_NAME(WM_GETTEXT);
        MSG_NAME(WM_PAINT);
        MSG_NAME(WM_CLOSE);
        MSG_NAME(WM_ERASEBKGND);
        MSG_NAME(WM_SHOWWINDOW);
        MSG_NAME(WM_ACTIVATEAPP);
        MSG_NAME(WM_CANCELMODE);
        MSG_NAME(WM_SETCURSOR);
        MSG_NAME(WM_GETMINMAXINFO);
        MSG_NAME(WM_WINDOWPOSCHANGING);
        MSG_NAME(WM_WINDOWPOSCHANGED);
        MSG_NAME(WM_NOTIFY);
        MSG_NAME(WM_NCCREATE);
        MSG_NAME(WM_NCDESTROY);
        MSG_NAME(WM_NCCALCSIZE);
        MSG_NAME(WM_NCHITTEST);
        MSG_NAME(WM_NCPAINT);
        MSG_NAME(WM_NCACTIVATE);
        MSG_NAME(WM_NCMOUSEMOVE);
        MSG_NAME(WM_NCLBUTTONDOWN);
        MSG_NAME(WM_COMMAND);
        MSG_NAME(WM_SYSCOMMAND);
        MSG_NAME(WM_INITMENU);
        MSG_NAME(WM_INITMENUPOPUP);
        MSG_NAME(WM_MENUSELECT);
        MSG_NAME(WM_ENTERIDLE);
        MSG_NAME(WM_MOUSEMOVE);
        MSG_NAME(WM_LBUTTONDOWN);
        MSG_NAME(WM_LBUTTONUP);
        MSG_NAME(WM_LBUTTONDBLCLK);
        MSG_NAME(WM_RBUTTONDOWN);
        MSG_NAME(WM_RBUTTONUP);
        MSG_NAME(WM_RBUTTONDBLCLK);
        MSG_NAME(WM_MBUTTONDOWN);
        MSG_NAME(WM_MBUTTONUP);
        MSG_NAME(WM_MBUTTONDBLCLK);
        MSG_NAME(WM_PARENTNOTIFY);
#undef MSG_NAME
    default:
        return nullptr;
    }
}

unsigned HandleNumber(const void* h)
{
    return (unsigned)(ULONG_PTR)h;
}

bool IsMouseMessage(unsigned msg)
{
    return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

// What a child reported to its parent: the low word of wParam.
void ParentNotifyEvent(char* out, size_t size, WPARAM wParam, LPARAM lParam)
{
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (LOWORD(wParam)) {
    case WM_CREATE:
        snprintf(out, size, "WM_CREATE child %x", HandleNumber((HWND)lParam));
        break;
    case WM_DESTROY:
        snprintf(out, size, "WM_DESTROY child %x", HandleNumber((HWND)lParam));
        break;
    case WM_LBUTTONDOWN:
        snprintf(out, size, "WM_LBUTTONDOWN (%d,%d)", x, y);
        break;
    case WM_RBUTTONDOWN:
        snprintf(out, size, "WM_RBUTTONDOWN (%d,%d)", x, y);
        break;
    case WM_MBUTTONDOWN:
        snprintf(out, size, "WM_MBUTTONDOWN (%d,%d)", x, y);
        break;
    default:
        snprintf(out, size, "WM_???");
        break;
    }
}

// The decoded parameters of the messages that have some worth showing,
// written after the name (with a leading blank); nothing for the others.
void DescribeParameters(char* out, size_t size, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    out[0] = 0;
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (IsMouseMessage(msg)) {
        snprintf(out, size, " flags=%x x=%d y=%d", (unsigned)wParam, x, y);
        return;
    }
    switch (msg) {
    case WM_CREATE:
    case WM_NCCREATE: {
        const CREATESTRUCTW* cs = (const CREATESTRUCTW*)lParam;
        if (cs)
            snprintf(out, size, " x=%d y=%d width=%d height=%d", cs->x, cs->y, cs->cx, cs->cy);
        break;
    }
    case WM_MOVE:
        snprintf(out, size, " x=%3d y=%3d", x, y);
        break;
    case WM_SIZE:
        snprintf(out, size, " width=%3d height=%3d", LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
        snprintf(out, size, " wParm=%x", (unsigned)wParam);
        break;
    case WM_ACTIVATE:
        snprintf(out, size, " state=%d minimized=%d other=%08X", LOWORD(wParam),
                 HIWORD(wParam), HandleNumber((HWND)lParam));
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        snprintf(out, size, " other=%08X", HandleNumber((HWND)wParam));
        break;
    case WM_GETTEXT:
        snprintf(out, size, " max=%d", (int)wParam);
        break;
    case WM_SHOWWINDOW:
        snprintf(out, size, " show=%d status=%d", (int)wParam, (int)lParam);
        break;
    case WM_ACTIVATEAPP:
        snprintf(out, size, " active=%d thread=%x", (int)wParam, (unsigned)lParam);
        break;
    case WM_SETCURSOR:
        snprintf(out, size, " window=%08X hit=%d mouse=%x", HandleNumber((HWND)wParam),
                 (short)LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
        const WINDOWPOS* wp = (const WINDOWPOS*)lParam;
        if (wp)
            snprintf(out, size, " x=%d y=%d width=%d height=%d flags=%x", wp->x, wp->y, wp->cx,
                     wp->cy, wp->flags);
        break;
    }
    case WM_NOTIFY: {
        const NMHDR* nm = (const NMHDR*)lParam;
        if (nm)
            snprintf(out, size, " id=%u code=%d", (unsigned)nm->idFrom, (int)nm->code);
        break;
    }
    case WM_NCCALCSIZE:
        snprintf(out, size, " valid=%d", (int)wParam);
        break;
    case WM_NCHITTEST:
        snprintf(out, size, " x=%d y=%d", x, y);
        break;
    case WM_NCACTIVATE:
        snprintf(out, size, " active=%d", (int)wParam);
        break;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
        snprintf(out, size, " hit=%d x=%d y=%d", (int)wParam, x, y);
        break;
    case WM_INITMENU:
        snprintf(out, size, " menu=%08X", HandleNumber((HMENU)wParam));
        break;
    case WM_INITMENUPOPUP:
        snprintf(out, size, " menu=%08X pos=%d system=%d", HandleNumber((HMENU)wParam),
                 LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MENUSELECT:
        snprintf(out, size, " item=%d flags=%x menu=%08X", LOWORD(wParam), HIWORD(wParam),
                 HandleNumber((HMENU)lParam));
        break;
    case WM_ENTERIDLE:
        snprintf(out, size, " reason=%d window=%08X", (int)wParam, HandleNumber((HWND)lParam));
        break;
    case WM_PARENTNOTIFY: {
        char event[64];
        ParentNotifyEvent(event, sizeof(event), wParam, lParam);
        snprintf(out, size, " event %s", event);
        break;
    }
    default:
        break;
    }
}

} // namespace

const char* WinMsgString(HWND hwnd, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    static char text[256];
    const char* name = MessageName(msg);
    if (!name) {
        snprintf(text, sizeof(text), "hwnd=%08X unknown msg=%x", HandleNumber(hwnd), msg);
        return text;
    }
    char params[160];
    DescribeParameters(params, sizeof(params), msg, wParam, lParam);
    snprintf(text, sizeof(text), "HWND=%08X %s%s", HandleNumber(hwnd), name, params);
    return text;
}
