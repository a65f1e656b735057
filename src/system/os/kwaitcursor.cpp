// The wait cursor: a process-wide count of active KWaitCursor objects that
// the window core reads when a window is asked for its cursor.
#include "kservices.h"
#include "kwindow.h"

int KWaitCursor::count = 0;

KWaitCursor::KWaitCursor(bool start) : active(false)
{
    if (start)
        startWait();
}

KWaitCursor::~KWaitCursor()
{
    if (!active)
        return;
    --count;
    // The cursor stays an hourglass until the window under the pointer sets
    // its own, which it does only on the next WM_SETCURSOR; ask for it now
    // rather than waiting for the pointer to move.
    POINT p;
    if (!GetCursorPos(&p))
        return;
    HWND w = WindowFromPoint(p);
    if (!w)
        return;
    LRESULT hit = SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(w, WM_SETCURSOR, (WPARAM)w, MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
}

void KWaitCursor::startWait()
{
    if (active)
        return;
    active = true;
    ++count;
    setCursor();
}

bool KWaitCursor::usingWaitCursor()
{
    return count > 0;
}

void KWaitCursor::setCursor()
{
    SetCursor(WAIT_CURSOR);
}
