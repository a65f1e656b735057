// Internal links between the files of the window core.
#ifndef KORVEL_KWINDOW_INTERNAL_H
#define KORVEL_KWINDOW_INTERNAL_H

class KWindow;

// Stops every running event delivery on w's chain (w is being deleted).
void EndDeliveriesOf(KWindow* w);

// Reads the system's colours, metrics, cursors and stock fonts.
void LoadLookAndFeel();

// Reports the exception being handled (call it only from a catch block) as
// thrown by a handler of w (null when unknown): an error box with code
// 1-1030 and a log line. While a box is open, further failures are only logged.
void ReportHandlerException(KWindow* w) noexcept;

#endif
