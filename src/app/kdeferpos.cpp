// KDeferPos: one batch of deferred moves of a container's children.
#include "kwindow.h"

void KDeferPos::beginDefer(KWindow* parent)
{
    endDefer();
    int n = parent ? parent->numChild() : 0;
    hdwp = BeginDeferWindowPos(n < 5 ? 5 : n);
}

void KDeferPos::endDefer()
{
    if (hdwp)
        EndDeferWindowPos(hdwp);
    hdwp = nullptr;
}

void KDeferPos::defer(KWindow* w, int x, int y, int width, int height, UINT flags)
{
    if (!w || !hdwp)
        return;
    // Each deferral returns the handle to use for the next one.
    hdwp = DeferWindowPos(hdwp, w->getWindow(), nullptr, x, y, width, height, flags);
}

void KDeferPos::show(KWindow* w, bool on)
{
    UINT flags = SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
    defer(w, 0, 0, 0, 0, flags | (on ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void KDeferPos::move(KWindow* w, const DCRect& r)
{
    UINT flags = SWP_NOCOPYBITS | SWP_NOZORDER;
    flags |= (r.h > 0 && r.w >= 1) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    defer(w, r.x, r.y, r.w, r.h, flags);
}

void KDeferPos::move(KWindow* w, int x, int y, int width, int height)
{
    defer(w, x, y, width, height, SWP_NOCOPYBITS | SWP_NOZORDER);
}

void KDeferPos::move(KWindow* w, int x, int y)
{
    defer(w, x, y, 0, 0, SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOSIZE);
}

void KDeferPos::resize(KWindow* w, int width, int height)
{
    defer(w, 0, 0, width, height, SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOMOVE);
}
