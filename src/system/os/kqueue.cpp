// Message-queue flushing and questions about the process's windows.
#include <stdarg.h>
#include "kservices.h"
#include "kwindow.h"

// Dispatches what PeekMessageW removes with the given filter.
static void Flush(UINT first, UINT last)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void FlushEvents()
{
    Flush(0, 0);
}

void FlushPaintMessages()
{
    Flush(WM_PAINT, WM_PAINT);
}

bool IsAnyModified(KWindow* first, ...)
{
    va_list args;
    va_start(args, first);
    bool found = false;
    for (KWindow* w = first; w; w = va_arg(args, KWindow*)) {
        if (w->getIsModified()) {
            found = true;
            break;
        }
    }
    va_end(args);
    return found;
}

int GetUserObjectCount()
{
    return (int)GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
}
