// KButtonBar: children lined up from both ends of a strip.
#include "kbuttonbar.h"
#include <initializer_list>

KButtonBar::~KButtonBar() = default;

KButtonBar* MakeButtonBar(KWindow* parent, KArgList* args)
{
    auto* bar = new KButtonBar;
    bar->init(parent, args);
    return bar;
}

void KButtonBar::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ResizeEventHandler<KButtonBar>(this, &KButtonBar::resizeHandler));
}

void KButtonBar::resizeHandler(KWindow*, ResizeEvent*)
{
    if (!configuring)
        configure(false);
}

void KButtonBar::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_SIDE_MARGIN)
            sideMargin = (int)args->val(i);
        else if (args->attr(i) == WA_MARGIN_HEIGHT)
            marginHeight = (int)args->val(i);
    }
}

void KButtonBar::insertChild(KWindow* child, KArgList* args)
{
    int side = 0;
    for (int i = 0; args && i < args->numArg(); ++i)
        if (args->attr(i) == WA_ATTACH_SIDE)
            side = (int)args->val(i);
    (side == 0 ? left : right).append(child);
}

void KButtonBar::removeChild(KWindow* child)
{
    left.findRemove(child);
    right.findRemove(child);
}

void KButtonBar::configure(bool force)
{
    KWindow::configure(force);
    int W = 2 * sideMargin, H = 0;
    for (const KArray<KWindow*>* group : {&left, &right})
        for (KWindow* c : *group) {
            if (!c->isManaged())
                continue;
            if (clientWidth == 0)
                W += spacing + c->Width();
            H = c->Height() > H ? c->Height() : H;
        }
    {
        KDeferPos batch(this);
        int x = sideMargin;
        for (KWindow* c : left) {
            if (!c->isManaged())
                continue;
            batch.move(c, x, marginHeight, c->Width(), H);
            x += spacing + c->Width();
        }
        int r = clientWidth > W ? clientWidth : W;
        for (KWindow* c : right) {
            if (!c->isManaged())
                continue;
            x = r - sideMargin - c->Width();
            batch.move(c, x, marginHeight, c->Width(), H);
            r = x - spacing;
        }
    }
    if (clientHeight != 0)
        return;
    configuring = true;
    resizeClient(clientWidth == 0 ? W : clientWidth, H + 2 * marginHeight, true);
    configuring = false;
}

KLabel* KButtonBar::addLabel(const KString& text, int side)
{
    KArgList args;
    args.add(WA_ATTACH_SIDE, side);
    return MakeLabel(this, &args, text, -1);
}

KToggleButton* KButtonBar::addToggle(const KString& text, int side)
{
    KArgList args;
    args.add(WA_ATTACH_SIDE, side);
    args.add(WA_MODIFIED_ON_CHANGE, false);
    return MakeToggleButton(this, &args, text);
}

KPushButton* KButtonBar::addPushButton(const KString& text, int side)
{
    KArgList args;
    args.add(WA_ATTACH_SIDE, side);
    return MakePushButton(this, &args, text);
}
