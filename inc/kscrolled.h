// KScrolledWindow: a form whose content may be larger than the window,
// scrolled with the window's own scroll bars. Positions are percentages of
// the content: the range is 0 .. 99 and the page is the visible share.
//
//     KScrolledWindow* view = MakeScrolledWindow(parent, &args);
//     ... children placed in the form, possibly beyond its client area ...
//     view->configure(false);    // the bars show where the content is larger
#ifndef KORVEL_KSCROLLED_H
#define KORVEL_KSCROLLED_H

#include "kform.h"

class KORVEL_API KScrolledWindow : public KForm {
public:
    ~KScrolledWindow() override;

    // --- Vertical bar ---
    void setVertRange(int min, int max);
    void setVertPageSize(int page); // at least 1
    void setMinVertVal(int min) { setVertRange(min, vertInfo.nMax); }
    void setMaxVertVal(int max) { setVertRange(vertInfo.nMin, max); }
    int getMinVertVal() const { return vertInfo.nMin; }
    int getMaxVertVal() const { return vertInfo.nMax; }
    // The largest position: max - page - min + 1, at least 0.
    int getMaxVertPos() const { return MaxPos(vertInfo); }
    // Moves the bar only (clamped); the content does not scroll.
    void setCurVertVal(int value);
    int getCurVertVal() const { return vertInfo.nPos; }
    int getPageVertSize() const { return (int)vertInfo.nPage; }
    void showVert(bool on) { ShowScrollBar(hwnd, SB_VERT, on); }

    // --- Horizontal bar ---
    void setHorzRange(int min, int max);
    void setHorzPageSize(int page);
    void setMinHorzVal(int min) { setHorzRange(min, horzInfo.nMax); }
    void setMaxHorzVal(int max) { setHorzRange(horzInfo.nMin, max); }
    int getMinHorzVal() const { return horzInfo.nMin; }
    int getMaxHorzVal() const { return horzInfo.nMax; }
    int getMaxHorzPos() const { return MaxPos(horzInfo); }
    void setCurHorzVal(int value);
    int getCurHorzVal() const { return horzInfo.nPos; }
    int getPageHorzSize() const { return (int)horzInfo.nPage; }
    void showHorz(bool on) { ShowScrollBar(hwnd, SB_HORZ, on); }

    // Lays the form out, then shows the bars where the content is larger.
    void configure(bool resize) override;
    void setValues(KArgList* args) override;
    // Scrolls on WM_VSCROLL and WM_HSCROLL.
    LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    KScrolledWindow();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KScrolledWindow* MakeScrolledWindow(KWindow* parent, KArgList* args);

    SCROLLINFO vertInfo;
    SCROLLINFO horzInfo;
    int contentHeight = 0;
    int contentWidth = 0;
    bool allowHorz = true;
    bool allowVert = true;

private:
    static int MaxPos(const SCROLLINFO& info);
    void store(int bar, SCROLLINFO& info, UINT mask);
    void scrollBar(int bar, int code);
};

KORVEL_API KScrolledWindow* MakeScrolledWindow(KWindow* parent, KArgList* args);

#endif
