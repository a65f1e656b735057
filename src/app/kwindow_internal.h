// Internal links between the files of the window core.
#ifndef KORVEL_KWINDOW_INTERNAL_H
#define KORVEL_KWINDOW_INTERNAL_H

#include <windows.h>

class KWindow;

// Watches a window across calls that may delete it (a handler may delete
// its own window). The destructor of KWindow marks every watch of the window
// dead; a delivery on the window's chain also keeps its place in the chain
// here, so that removing a handler does not make it skip the next one.
struct WindowWatch {
    KWindow* window;
    int next = 0; // position in the chain of the next handler to be offered the event
    WindowWatch* outer;

    explicit WindowWatch(KWindow* w);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;
    bool alive() const { return window != nullptr; }
};

// Marks every watch of w dead (w is being deleted).
void EndWatchesOf(KWindow* w);
// Keeps running deliveries on w's chain in place after the handler at
// position removed was taken out.
void HandlerRemoved(KWindow* w, int removed);

// Reads the system's colours, metrics, cursors and stock fonts.
void LoadLookAndFeel();

// Reports the exception being handled (call it only from a catch block) as
// thrown by a handler of w (null when unknown): an error box with code
// 1-1030 and a log line. While a box is open, further failures are only logged.
void ReportHandlerException(KWindow* w) noexcept;

// Offers a message of a message loop to the main window's accelerators, when
// it has them, they are enabled and it is the active window; true when the
// message became a command (the loop then goes on with the next message).
// KAppClass::run and the modal loop of dialogs share it.
bool TranslateMainAccelerator(MSG& msg);

#endif
