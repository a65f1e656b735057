// KButtonBar: a tool strip that lines its children up from its left and right
// ends. A child made with WA_ATTACH_SIDE 0 (or none) joins the left group, any
// other side the right group; each group keeps the order of insertion.
//
//     KButtonBar* bar = MakeButtonBar(top, &args);
//     KArgList right;
//     right.add(WA_ATTACH_SIDE, (int)SIDE_RIGHT);
//     MakeWindow(bar, &none);      // first on the left
//     MakeWindow(bar, &right);     // at the right end
//     bar->configure(false);       // a bar without a size takes its natural one
#ifndef KORVEL_KBUTTONBAR_H
#define KORVEL_KBUTTONBAR_H

#include "kwindow.h"
#include "klabel.h"

class KORVEL_API KButtonBar : public KWindow {
public:
    ~KButtonBar() override;
    void configure(bool force) override;
    void setValues(KArgList* args) override;
    void insertChild(KWindow* child, KArgList* args) override;
    void removeChild(KWindow* child) override;
    // A label, toggle or push button at the left (SIDE_LEFT) or right end.
    KLabel* addLabel(const KString& text, int side);
    KToggleButton* addToggle(const KString& text, int side);
    KPushButton* addPushButton(const KString& text, int side);
    int leftCount() const { return left.count(); }
    int rightCount() const { return right.count(); }

protected:
    KButtonBar() = default;
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KButtonBar* MakeButtonBar(KWindow* parent, KArgList* args);

    int spacing = 4;
    int sideMargin = 0;
    int marginHeight = 0;
    KArray<KWindow*> left;
    KArray<KWindow*> right;
    bool configuring = false;

private:
    void resizeHandler(KWindow*, ResizeEvent*);
};

KORVEL_API KButtonBar* MakeButtonBar(KWindow* parent, KArgList* args);

#endif
