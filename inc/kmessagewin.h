// KMessageWin: the status strip. Pane 0 stretches across; add() puts further
// panes at the left or right end. Each pane is a progress bar, so it shows a
// one-line message in its colours or, through showProgress, a filled bar.
// The windows' mprintf, err_printf, warn_printf and mshow_progress print into
// the strip of their top level.
//
//     int count = strip->add(10, SIDE_RIGHT);     // a 10-character pane at the right
//     strip->wprintf(count, 0, 0, "%d files", n);  // default colours
//     strip->showProgress(0, 37);                  // pane 0 as a bar at 37 %
#ifndef KORVEL_KMESSAGEWIN_H
#define KORVEL_KMESSAGEWIN_H

#include "kform.h"
#include "klabel.h"
#include "ksystem.h"

class KORVEL_API KMessageWin : public KForm {
public:
    ~KMessageWin() override;
    // A pane of fieldWidth characters at the left (SIDE_LEFT) or right
    // (SIDE_RIGHT) end; returns its index.
    int add(int fieldWidth, AttachSide side);
    // Prints into a pane (nothing for an index without a pane); foreground and
    // background both 0 mean the button colours. Safe from other threads.
    void _wprintf(int pane, COLORREF foreground, COLORREF background, const char* format, va_list args);
    void wprintf(int pane, COLORREF foreground, COLORREF background, const char* format, ...);
    // The pane as a bar filled to value percent.
    void showProgress(int pane, double value);
    // The length of the pane's text; -1 for an index without a pane.
    int getMessageLength(int pane) const;
    int numPane() const { return panes.count(); }
    KProgressBar* getPane(int i) const { return i >= 0 && i < panes.count() ? panes[i] : nullptr; }
    void setValues(KArgList* args) override;

protected:
    KMessageWin() = default;
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KMessageWin* MakeMessageWin(KWindow* parent, KArgList* args);

    int shadowStyle = EDGE_SUNKEN;
    HFONT font = nullptr; // DEFAULT_FIXED_FONT unless WA_FONT
    KMutex lock;
    KArray<KProgressBar*> panes;
    KProgressBar* lastLeft = nullptr;
    KProgressBar* lastRight = nullptr;
};

KORVEL_API KMessageWin* MakeMessageWin(KWindow* parent, KArgList* args);

#endif
