// KComboBox: the list of items, the current item and the queries on them.
#include "kcombo.h"
#include <wchar.h>

ComboBoxEvent::ComboBoxEvent(KComboBox* c, int r) : Event(c), combo(c), reason(r) {}

KComboBox::KComboBox(const KString& prompt, int promptFW, int fieldWidth)
    : KPromptBase(prompt, promptFW, fieldWidth)
{
    iconStyle = 1;
    modifiedOnChange = true;
}

KComboBox::~KComboBox()
{
    // The list is a top level of its own, not a child: it goes with its box.
    delete dropDown;
    dropDown = nullptr;
}

KComboBox* MakeComboBox(KWindow* parent, KArgList* args, const KString& prompt, int promptFW, int fieldWidth)
{
    auto* combo = new KComboBox(prompt, promptFW, fieldWidth);
    combo->init(parent, args);
    return combo;
}

KComboBox* MakeComboBox(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth)
{
    return MakeComboBox(parent, args, prompt, -1, fieldWidth);
}

void KComboBox::init(KWindow* parent, KArgList* args)
{
    KPromptBase::init(parent, args);
    KArgList list;
    // The field draws its value in the prompt font when it has no text font.
    list.add(WA_FONT, textFont ? textFont : promptFont);
    list.add(WA_NUM_DISP_ROW, numDispRow);
    dropDown = MakeDropDown(this, &list, curSel);
}

void KComboBox::setValues(KArgList* args)
{
    KPromptBase::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i)
        if (args->attr(i) == WA_NUM_DISP_ROW)
            numDispRow = (int)args->val(i);
}

int KComboBox::addString(const wchar_t* text, unsigned long foreground, unsigned long background)
{
    return addString(-1, text, foreground, background);
}

int KComboBox::addString(int data, const wchar_t* text, unsigned long foreground, unsigned long background)
{
    KComboItem item;
    item.data = data;
    item.text = text;
    item.foreground = foreground;
    item.background = background;
    items.append(item);
    sorted = false;
    return items.count() - 1;
}

void KComboBox::insertString(int index, const wchar_t* text)
{
    if (index < 0 || index > items.count())
        return;
    KComboItem item;
    item.text = text;
    items.append(item);
    for (int i = items.count() - 1; i > index; --i)
        items[i] = items[i - 1];
    items[index] = item;
    sorted = false;
    if (curSel >= index)
        ++curSel;
}

void KComboBox::deleteString(int index)
{
    if (!validIndex(index))
        return;
    items.remove(index);
    if (curSel == index)
        curSel = -1;
    else if (curSel > index)
        --curSel;
}

void KComboBox::clear(bool redraw)
{
    items.reserve(0, false);
    curSel = -1;
    sorted = true;
    if (redraw)
        setText(KString());
}

int KComboBox::getCurItem()
{
    return validIndex(curSel) ? items[curSel].data : -1;
}

int KComboBox::getItemData(int index)
{
    return validIndex(index) ? items[index].data : -1;
}

void KComboBox::setItemData(int index, int data)
{
    if (validIndex(index))
        items[index].data = data;
}

void KComboBox::setItemColor(int index, unsigned long foreground, unsigned long background)
{
    if (!validIndex(index))
        return;
    items[index].foreground = foreground;
    items[index].background = background;
}

KString KComboBox::getListString(int index)
{
    return validIndex(index) ? items[index].text : KString();
}

void KComboBox::setListString(int index, const wchar_t* text)
{
    if (validIndex(index))
        items[index].text = text;
}

void KComboBox::setRightString(int index, const wchar_t* text)
{
    if (validIndex(index))
        items[index].rightText = text;
}

void KComboBox::setCurSel(int index, bool notify)
{
    if (!validIndex(index))
        return;
    curSel = index;
    setText(items[index].text);
    drawArrow(false);
    selectAll();
    if (!notify)
        return;
    if (modifiedOnChange)
        setIsModified(true);
    ComboBoxEvent e(this, 1);
    callHandlers(&e);
}

int KComboBox::setCurItem(int data, bool notify)
{
    for (int i = 0; i < items.count(); ++i) {
        if (items[i].data == data) {
            setCurSel(i, notify);
            return i;
        }
    }
    return -1;
}

int KComboBox::selectString(const wchar_t* text, bool notify)
{
    const int i = findStringExact(text);
    setCurSel(i, notify);
    return i;
}

int KComboBox::findString(const wchar_t* prefix) const
{
    const KString p(prefix);
    for (int i = 0; i < items.count(); ++i)
        if (items[i].text.beginsWith(p, true))
            return i;
    return -1;
}

int KComboBox::findStringIns(const wchar_t* prefix) const
{
    const KString p(prefix);
    for (int i = 0; i < items.count(); ++i)
        if (items[i].text.beginsWith(p, false))
            return i;
    return -1;
}

int KComboBox::findStringExact(const wchar_t* text) const
{
    for (int i = 0; i < items.count(); ++i)
        if (items[i].text == text)
            return i;
    return -1;
}

long KComboBox::cmp_item(const KComboItem& a, const KComboItem& b)
{
    return a.text - b.text;
}

void KComboBox::sortList()
{
    if (!sort || sorted)
        return;
    // The current item keeps its place in the box: find it again by text.
    const KString current = validIndex(curSel) ? items[curSel].text : KString();
    items.sort([](const KComboItem& a, const KComboItem& b) { return (int)cmp_item(a, b); });
    sorted = true;
    if (curSel >= 0)
        curSel = findStringExact(current);
}
