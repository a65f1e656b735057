// KTopLevel: tab groups and the focus keys, and the focus kept across
// deactivation; the input a modal dialog withholds from other windows.
#include "ktoplevel.h"

int KTopLevel::addTabGroup()
{
    curGroup = tabGroups.count();
    return curGroup;
}

void KTopLevel::addToTabGroup(KWindow* w)
{
    w->setIsInTabGroup(true);
    while (tabGroups.count() <= curGroup)
        tabGroups.append(KArray<KWindow*>());
    tabGroups[curGroup].append(w);
    // Character, focus in and focus out.
    w->_addEventHandler(new KeyboardEventHandler<KTopLevel>(this, &KTopLevel::tabGroupFocusHandler,
                                                            KE_CHAR | KE_FOCUS_IN | KE_FOCUS_OUT));
}

void KTopLevel::removeFromTabGroup(KWindow* w)
{
    w->setIsInTabGroup(false);
    for (KArray<KWindow*>& group : tabGroups)
        while (group.findRemove(w) >= 0) {
        }
}

void KTopLevel::setTab(int group, int index)
{
    const int groups = tabGroups.count();
    if (groups == 0)
        return;
    if (group < 0)
        group = groups - 1;
    else if (group >= groups)
        group = 0;
    if (group != curGroup)
        index = 0;
    KArray<KWindow*>& members = tabGroups[group];
    if (members.count() == 0)
        return;
    if (index < 0)
        index = members.count() - 1;
    else if (index >= members.count())
        index = 0;
    KWindow* w = members[index];
    if (!IsWindowVisible(w->getWindow()))
        return;
    curGroup = group;
    curIndex = index;
    w->setFocus();
}

void KTopLevel::tabGroupFocusHandler(KWindow* w, KeyboardEvent* e)
{
    if (e->type == KE_FOCUS_IN) {
        for (int g = 0; g < tabGroups.count(); ++g)
            for (int i = 0; i < tabGroups[g].count(); ++i)
                if (tabGroups[g][i] == w) {
                    curGroup = g;
                    curIndex = i;
                    return;
                }
        return;
    }
    if (e->type != KE_CHAR)
        return;
    switch (e->key) {
    case VK_TAB:
        if (e->isShifted())
            setTab(curGroup + 1, curIndex);
        else
            setTab(curGroup, curIndex + 1);
        break;
    case VK_RETURN: returnHandler(); break;
    case VK_ESCAPE: setTab(curGroup, curIndex - 1); break;
    default: break;
    }
}

void KTopLevel::activateHandler(bool active)
{
    if (!active) {
        lastFocus = GetFocus();
        return;
    }
    if (lastFocus && IsWindow(lastFocus))
        SetFocus(lastFocus);
    else
        setTab(0, 0);
}

bool IsModalMsg(unsigned int msg)
{
    return (msg >= WM_MOUSEMOVE && msg <= 525) || (msg >= WM_NCMOUSEMOVE && msg <= 169) ||
           (msg >= WM_KEYDOWN && msg <= 264);
}
