// KTabWin: a notebook. Its children are pages, one visible at a time, chosen
// by tabs drawn along the top; each page gets a keyboard tab group of its own.
//
//     KTabWin* tabs = MakeTabWin(form, &args);
//     KArgList page;
//     page.add(WA_TAB_NAME, L"Channels");
//     page.add(WA_TAB_RESIZE, true);            // stretched to the page area
//     MakeForm(tabs, &page);
//     tabs->configure(false);                   // sizes itself to the largest page
//
// A click on a tab shows its page and offers a TabEvent (name, index) to the
// tab window's handlers.
#ifndef KORVEL_KTABWIN_H
#define KORVEL_KTABWIN_H

#include "kwindow.h"

// What a tab window keeps in each page: its tab.
class KORVEL_API KTab : public KParentData {
public:
    KTab(const KString& name, const DCRect& rect, int resize, int tabGroup);
    KString name;
    DCRect rect;
    COLORREF color;
    bool resize;
    int tabGroup;
};

// A page was chosen: the tab's name and index.
class KORVEL_API TabEvent : public Event {
public:
    TabEvent(const KString& name, int index) : Event(nullptr, 1), name(name), index(index) {}
    KString name;
    int index;
};

class KORVEL_API KTabWin : public KWindow {
public:
    ~KTabWin() override;

    // Shows page index (an invalid index is ignored); with notify, offers a
    // TabEvent to the handlers.
    void setCurTab(int index, bool notify);
    int getCurTab() const { return curTab; }
    KWindow* getCurTabWin() const;
    KString getCurTabName() const;
    KTab* getTab(KWindow* page) const;
    KTab* getTab(int index) const;
    int tabHeight() const { return textHeight + 2 * (tabPadY + border); }
    int getBottomOffset() const { return outerMargin + innerMargin + border; }

    void draw();
    void drawTab(int index);
    void configure(bool resize) override;
    void reconfigureContainer() override;
    void setValues(KArgList* args) override;
    // Gives the page its tab (WA_TAB_NAME, WA_TAB_RESIZE) and tab group.
    void insertChild(KWindow* page, KArgList* args) override;

protected:
    KTabWin();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KTabWin* MakeTabWin(KWindow* parent, KArgList* args);

    bool configuring = true;
    int textHeight = 0;
    HFONT font;
    int nextTabX = 10;
    int border = 2;
    int tabSpacing = 5;
    int innerMargin = 5;
    int outerMargin = 0;
    int tabPadX = 5;
    int tabPadY = 2;
    int curTab = 0;

private:
    void exposeHandler(KWindow*, ExposeEvent*);
    void pressHandler(KWindow*, MouseEvent* e);
    void resizeHandler(KWindow*, ResizeEvent*);
};

KORVEL_API KTabWin* MakeTabWin(KWindow* parent, KArgList* args);

#endif
