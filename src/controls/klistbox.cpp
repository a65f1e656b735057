// KTextControl: a native control filling a library window, sized in
// characters and lines; KListBox: the native list box on it.
#include "klistbox.h"
#include "kgraphics.h"

namespace {
// The child id of every native control: each library window holds only one.
const int ControlId = 1;
}

ListBoxEvent::ListBoxEvent(KWindow* w, int c) : Event(w), list(dynamic_cast<KListBox*>(w)), code(c) {}
ListBoxEvent::ListBoxEvent(KListBox* l) : Event(l), list(l) {}

KTextControl::KTextControl(unsigned long style, HFONT initialFont) : controlStyle(style)
{
    font.set(initialFont, false);
}

KTextControl::~KTextControl() = default;

void KTextControl::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_VERT_SCROLL && (bool)v) controlStyle |= WS_VSCROLL | ES_AUTOVSCROLL;
        else if (a == WA_HORZ_SCROLL && (bool)v) controlStyle |= WS_HSCROLL | ES_AUTOHSCROLL;
        else if (a == WA_FONT) font.set((HFONT)v, false);
        else if (a == WA_NUM_LINE) numLines = (int)v;
        else if (a == WA_NUM_CHAR) numChars = (int)v;
        else if (a == WA_ADD_WINDOWS_STYLE) controlStyle |= (unsigned long)v;
    }
}

void KTextControl::initControl(KWindow* p, KArgList* args)
{
    KWindow::init(p, args);
    _addEventHandler(new ResizeEventHandler<KTextControl>(this, &KTextControl::resized));
    createControl();
    addToTabGroup(this);
    configure(false);
}

void KTextControl::makeControl(const wchar_t* cls, unsigned long controlExStyle)
{
    control = CreateWindowExW(controlExStyle, cls, L"", controlStyle, 0, 0, clientWidth, clientHeight,
                              hwnd, (HMENU)(INT_PTR)ControlId, KWNDCLASS::hInst, nullptr);
    SendMessageW(control, WM_SETFONT, (WPARAM)font.getHandle(), FALSE);
    ShowWindow(control, SW_SHOW);
}

void KTextControl::resized(KWindow*, ResizeEvent*)
{
    if (control)
        MoveWindow(control, 0, 0, clientWidth, clientHeight, TRUE);
}

void KTextControl::configure(bool)
{
    if (numLines < 1 && numChars < 1)
        return;
    KWinDC dc(this);
    dc.setFont((HFONT)font.getHandle());
    int w = 0, h = 0;
    dc.getTextExtent(L"A", 1, &w, &h);
    int width = clientWidth, height = clientHeight;
    if (numChars > 0)
        width = numChars * w + ((controlStyle & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    if (numLines > 0)
        height = numLines * h + ((controlStyle & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    resizeClient(width, height, true);
    if (control)
        MoveWindow(control, 0, 0, width, height, TRUE);
}

KListBox::KListBox(int chars, int lines) : KTextControl(WS_CHILD, DEFAULT_VAR_FONT)
{
    numChars = chars;
    numLines = lines;
}

KListBox::~KListBox() = default;

KListBox* MakeListBox(KWindow* parent, KArgList* args, int numChars, int numLines)
{
    auto* list = new KListBox(numChars, numLines);
    list->initControl(parent, args);
    return list;
}

void KListBox::createControl()
{
    controlStyle |= WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_HASSTRINGS | LBS_WANTKEYBOARDINPUT;
    makeControl(L"LISTBOX", WS_EX_CLIENTEDGE);
}

void KListBox::menuHandler(unsigned, unsigned code)
{
    ListBoxEvent e(this);
    e.code = (int)code;
    callHandlers(&e);
}

int KListBox::addString(int data, const wchar_t* text)
{
    const int i = addString(text);
    if (i >= 0)
        setItemData(i, data);
    return i;
}

int KListBox::getCurItem()
{
    const int sel = getCurSel();
    return sel < 0 ? -1 : getItemData(sel);
}

int KListBox::setCurItem(int data)
{
    const int n = getCount();
    for (int i = 0; i < n; ++i) {
        if (getItemData(i) != data)
            continue;
        setCurSel(i);
        return i;
    }
    return -1;
}

KString KListBox::getListString(int i)
{
    const int n = (int)send(LB_GETTEXTLEN, i);
    if (n == LB_ERR)
        return KString();
    KString text(n, 0);
    const int got = (int)send(LB_GETTEXT, i, (LPARAM)(wchar_t*)text);
    text.trunc(got < 0 ? 0 : got);
    return text;
}

void KListBox::setListString(int i, const wchar_t* text)
{
    if (deleteString(i) == LB_ERR)
        return;
    insertString(i, text);
}
