// KTabWin: pages behind tabs drawn along the top.
#include "ktabwin.h"
#include "kgraphics.h"

KTab::KTab(const KString& n, const DCRect& r, int resize_, int group)
    : name(n), rect(r), color(BUTTON_FACE_COLOR), resize(resize_ != 0), tabGroup(group)
{
}

KTabWin::KTabWin() : font(DEFAULT_VAR_FONT)
{
    KDisplayInfo screen;
    screen.setFont(font);
    screen.stringExtent(L"A", 1, nullptr, &textHeight);
}

KTabWin::~KTabWin() = default;

KTabWin* MakeTabWin(KWindow* parent, KArgList* args)
{
    auto* tabs = new KTabWin;
    tabs->init(parent, args);
    return tabs;
}

void KTabWin::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ExposeEventHandler<KTabWin>(this, &KTabWin::exposeHandler));
    _addEventHandler(new MouseEventHandler<KTabWin>(this, &KTabWin::pressHandler, ME_PRESS | ME_LEFT));
    _addEventHandler(new ResizeEventHandler<KTabWin>(this, &KTabWin::resizeHandler));
}

void KTabWin::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_OUTER_MARGIN) {
            outerMargin = (int)args->val(i);
            nextTabX = outerMargin + 10;
        } else if (args->attr(i) == WA_INNER_MARGIN) {
            innerMargin = (int)args->val(i);
        }
    }
}

KTab* KTabWin::getTab(KWindow* page) const
{
    return page ? dynamic_cast<KTab*>(page->getParentData()) : nullptr;
}

KTab* KTabWin::getTab(int index) const
{
    return index >= 0 && index < numChild() ? getTab(child(index)) : nullptr;
}

KWindow* KTabWin::getCurTabWin() const
{
    return curTab < numChild() ? child(curTab) : nullptr;
}

KString KTabWin::getCurTabName() const
{
    KTab* tab = getTab(curTab);
    return tab ? tab->name : KString();
}

void KTabWin::insertChild(KWindow* page, KArgList* args)
{
    KString name;
    bool resize = false;
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (args->attr(i) == WA_TAB_NAME)
            name = (const wchar_t*)args->val(i);
        else if (args->attr(i) == WA_TAB_RESIZE)
            resize = (bool)args->val(i);
    }
    int w = 0;
    KDisplayInfo screen;
    screen.setFont(font);
    screen.stringExtent(name, &w, nullptr);
    const DCRect tab(nextTabX, outerMargin, w + 2 * (tabPadX + border), tabHeight() + border);
    nextTabX += tab.w + tabSpacing;
    page->setParentData(new KTab(name, tab, resize, addTabGroup()));
    if (page->childNum() != curTab)
        page->show(false);
}

void KTabWin::reconfigureContainer()
{
    clientWidth = 0;
    clientHeight = 0;
    configure(false);
}

void KTabWin::configure(bool)
{
    configuring = true;
    const int inset = outerMargin + innerMargin + border;
    if (clientWidth == 0 || clientHeight == 0) {
        int w = 0, h = 0;
        for (int i = 0; i < numChild(); ++i) {
            w = child(i)->Width() > w ? child(i)->Width() : w;
            h = child(i)->Height() > h ? child(i)->Height() : h;
        }
        if (clientWidth == 0)
            clientWidth = w + 2 * inset;
        if (clientHeight == 0)
            clientHeight = h + textHeight + 2 * (tabPadY + border + inset);
        resizeClient(clientWidth, clientHeight, true);
    }
    const DCRect area(inset, tabHeight() + inset, clientWidth - 2 * inset,
                      clientHeight - 2 * (tabPadY + border + inset) - textHeight);
    {
        KDeferPos batch(this);
        for (int i = 0; i < numChild(); ++i) {
            KTab* tab = getTab(i);
            if (tab && tab->resize)
                batch.move(child(i), area.x, area.y, area.w, area.h); // visibility unchanged
            else
                batch.move(child(i), area.x, area.y);
        }
    }
    configuring = false;
}

void KTabWin::resizeHandler(KWindow*, ResizeEvent*)
{
    if (!configuring)
        configure(false);
}

void KTabWin::setCurTab(int index, bool notify)
{
    if (index < 0 || index >= numChild())
        return;
    if (index != curTab) {
        child(curTab)->show(false);
        curTab = index;
        child(curTab)->show(true);
        redrawWindow();
    }
    if (notify) {
        TabEvent e(getCurTabName(), index);
        callHandlers(&e);
    }
}

void KTabWin::pressHandler(KWindow*, MouseEvent* e)
{
    for (int i = 0; i < numChild(); ++i) {
        KTab* tab = getTab(i);
        if (!tab)
            continue;
        const DCRect& r = tab->rect;
        if (e->x < r.x || e->x > r.x + r.w || e->y < r.y || e->y > r.y + r.h)
            continue;
        setCurTab(i, true);
        setTab(tab->tabGroup, 0);
        return;
    }
}

void KTabWin::exposeHandler(KWindow*, ExposeEvent*)
{
    draw();
}

void KTabWin::draw()
{
    for (int i = 0; i < numChild(); ++i)
        if (i != curTab)
            drawTab(i);
    {
        KWinDC dc(this);
        dc.drawShadow(DCRect(outerMargin, tabHeight() + outerMargin, clientWidth - 2 * outerMargin,
                             clientHeight - 2 * (border + outerMargin + tabPadY) - textHeight),
                      EDGE_RAISED, (short)border);
    }
    if (curTab < numChild())
        drawTab(curTab);
}

void KTabWin::drawTab(int index)
{
    KTab* tab = getTab(index);
    if (!tab)
        return;
    const int x = tab->rect.x, y = tab->rect.y, w = tab->rect.w, h = tab->rect.h;
    KWinDC dc(this);
    for (int k = 0; k < border; ++k) {
        dc.setPen(GetSysColor(COLOR_BTNHIGHLIGHT), PS_SOLID, 0);
        dc.moveTo(x + k, y + h - border + k);
        dc.lineTo(x + k, y + k);
        dc.lineTo(x + w - 1 - k, y + k);
        dc.setPen(GetSysColor(COLOR_BTNSHADOW), PS_SOLID, 0);
        dc.lineTo(x + w - 1 - k, y + h - border + k + 1);
    }
    if (index == curTab) {
        // The current tab joins its page: the frame line below it goes.
        dc.setPen(BUTTON_FACE_COLOR, PS_SOLID, 0);
        for (int k = 0; k < border; ++k)
            dc.drawLine(x + border, y + h - 1 - k, x + w - border, y + h - 1 - k);
    }
    dc.setFont(font);
    dc.setBkMode(TRANSPARENT);
    dc.setTextColor(foreground);
    dc.setAlign(0, 0);
    dc.textOut(DCRect(x, y, w, h), tab->name);
}
