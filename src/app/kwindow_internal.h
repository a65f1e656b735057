// Internal links between the files of the window core.
#ifndef KORVEL_KWINDOW_INTERNAL_H
#define KORVEL_KWINDOW_INTERNAL_H

class KWindow;

// Stops every running event delivery on w's chain (w is being deleted).
void EndDeliveriesOf(KWindow* w);

// Reads the system's colours, metrics, cursors and stock fonts.
void LoadLookAndFeel();

#endif
