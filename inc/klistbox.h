// Native text controls inside library windows, and the list box.
//
// KTextControl is the base of the list box and the edit controls: a library
// window that owns one native control filling its client area, sizes itself
// in characters and lines of its font, and passes the control's WM_COMMAND
// notifications along its handler chain as events.
//
//     KArgList args;
//     args.add(WA_VERT_SCROLL, true);                  // LBS_HASSTRINGS for a list box
//     KListBox* list = MakeListBox(form, &args, 20, 8); // 20 "A"s wide, 8 lines high
//     list->addString(7, L"Channel 7");                // item data 7
//     list->setCurItem(7);                             // selects it
//     list->_addEventHandler(new ListBoxHandler<Panel>(this, &Panel::picked));
//     // picked(KWindow*, ListBoxEvent* e): e->code is LBN_SELCHANGE, LBN_DBLCLK ...
//
// Attributes (setValues, after KWindow's): WA_VERT_SCROLL (bool: WS_VSCROLL and
// ES_AUTOVSCROLL), WA_HORZ_SCROLL (bool: WS_HSCROLL and ES_AUTOHSCROLL),
// WA_FONT, WA_NUM_LINE, WA_NUM_CHAR, WA_ADD_WINDOWS_STYLE (also ORed into the
// control's style).
//
// Fonts: a font passed with WA_FONT stays the application's; the control
// deletes only a font it created itself (KEditControl::setFont).
#ifndef KORVEL_KLISTBOX_H
#define KORVEL_KLISTBOX_H

#include "kwindow.h"
#include "kdrawobj.h"

template <class T>
class ListBoxHandler : public MemberEventHandler<T, ListBoxEvent> {
public:
    using MemberEventHandler<T, ListBoxEvent>::MemberEventHandler;
};

class KORVEL_API KTextControl : public KWindow {
public:
    ~KTextControl() override;
    void setFocus() override { SetFocus(control); }
    // Sizes the window to numChars x numLines of "A" in the font (plus the
    // scroll bars asked for); nothing when neither is set.
    void configure(bool force) override;
    void setValues(KArgList* args) override;
    // Makes the native control; called once, at the end of the factory.
    virtual void createControl() = 0;

    HWND getControl() const { return control; }
    HFONT getFont() const { return (HFONT)font.getHandle(); }
    unsigned long getControlStyle() const { return controlStyle; }

protected:
    KTextControl(unsigned long style, HFONT initialFont);
    // KWindow::init, the resize handler, createControl, the tab group and a first configure.
    void initControl(KWindow* parent, KArgList* args);
    // Creates the control of class cls at (0, 0, client size), sends the font and shows it.
    void makeControl(const wchar_t* cls, unsigned long exStyle);

    int numLines = 0;
    int numChars = 0;
    KDrawObj font; // owned only when the control made it
    HWND control = nullptr;
    unsigned long controlStyle;

private:
    void resized(KWindow*, ResizeEvent*);
};

class KORVEL_API KListBox : public KTextControl {
public:
    KListBox(int numChars, int numLines);
    ~KListBox() override;
    void menuHandler(unsigned id, unsigned code) override;
    void createControl() override;

    int getCount() { return (int)send(LB_GETCOUNT); }
    int getCurSel() { return (int)send(LB_GETCURSEL); }
    int setCurSel(int i) { return (int)send(LB_SETCURSEL, i); }
    int addString(const wchar_t* text) { return (int)send(LB_ADDSTRING, 0, (LPARAM)text); }
    // Adds the item and gives it the data; returns its index.
    int addString(int data, const wchar_t* text);
    int insertString(int i, const wchar_t* text) { return (int)send(LB_INSERTSTRING, i, (LPARAM)text); }
    int deleteString(int i) { return (int)send(LB_DELETESTRING, i); }
    void clear() { send(LB_RESETCONTENT); }
    int setItemData(int i, int data) { return (int)send(LB_SETITEMDATA, i, data); }
    int getItemData(int i) { return (int)send(LB_GETITEMDATA, i); }
    // Searches start after the index start (-1: from the top), by prefix or whole text.
    int selectString(const wchar_t* text, unsigned start) { return (int)send(LB_SELECTSTRING, (int)start, (LPARAM)text); }
    int findString(const wchar_t* text, unsigned start) { return (int)send(LB_FINDSTRING, (int)start, (LPARAM)text); }
    int findStringExact(const wchar_t* text, unsigned start) { return (int)send(LB_FINDSTRINGEXACT, (int)start, (LPARAM)text); }
    long sendMessage(unsigned msg, unsigned wParam, long lParam) { return (long)send(msg, wParam, lParam); }

    // Item data of the selection; -1 without one.
    int getCurItem();
    // Selects the first item with this data; its index, or -1 (selection unchanged).
    int setCurItem(int data);
    // The item's text; empty for an invalid index.
    KString getListString(int i);
    KString getCurString() { return getListString(getCurSel()); }
    // Replaces the item's text at the same index (not re-sorted).
    void setListString(int i, const wchar_t* text);

private:
    friend KORVEL_API KListBox* MakeListBox(KWindow*, KArgList*, int, int);
    LRESULT send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(control, msg, wParam, lParam); }
};

KORVEL_API KListBox* MakeListBox(KWindow* parent, KArgList* args, int numChars, int numLines);

#endif
