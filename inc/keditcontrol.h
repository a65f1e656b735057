// The native edit ("EDIT") and rich-edit ("RichEdit20W") controls in library
// windows (see klistbox.h for the shared attributes and sizing).
//
//     KArgList args;
//     args.add(WA_NUM_CHAR, 40);
//     args.add(WA_NUM_LINE, 10);
//     args.add(WA_VERT_SCROLL, true);
//     KEditControl* notes = MakeEditControl(form, &args);
//     notes->setText("first\nsecond", false);   // the control holds "first\r\nsecond"
//     notes->print("%d samples\n", n);            // appended, undoable
//     notes->setBackground(RGB(255, 255, 224), true);
//     notes->_addEventHandler(new EditControlHandler<Panel>(this, &Panel::edited));
//     // edited(KWindow*, EditControlEvent* e): e->code is EN_CHANGE, EN_SETFOCUS ...
//     if (!notes->loadFile(L"$(DATA)\\readme.txt")) ...  // the error box was shown
//
// Texts use "\n" alone: a carriage return is put before every line feed on
// the way in and every carriage return is dropped on the way out.
//
// Fonts: a font passed in with WA_FONT, and the stock font the edit control
// starts with, are never deleted by the control; a font made by setFont is
// the control's own and is deleted when replaced or when the control goes.
// The rich-edit control needs riched20.dll; without it the program ends.
// A rich-edit control sends EN_CHANGE only after setEventMask(ENM_CHANGE).
#ifndef KORVEL_KEDITCONTROL_H
#define KORVEL_KEDITCONTROL_H

#include "klistbox.h"

class KEditControl;
class KRichEditControl;

class KORVEL_API EditControlEvent : public Event {
public:
    KEditControl* edit;
    int code = 0; // EN_ notification
    explicit EditControlEvent(KEditControl* e);
};

class KORVEL_API RichEditControlEvent : public Event {
public:
    KRichEditControl* edit;
    int code = 0;
    explicit RichEditControlEvent(KRichEditControl* e);
};

template <class T>
class EditControlHandler : public MemberEventHandler<T, EditControlEvent> {
public:
    using MemberEventHandler<T, EditControlEvent>::MemberEventHandler;
};

template <class T>
class RichEditControlHandler : public MemberEventHandler<T, RichEditControlEvent> {
public:
    using MemberEventHandler<T, RichEditControlEvent>::MemberEventHandler;
};

// The text operations the edit and rich-edit controls share.
class KORVEL_API KEditBase : public KTextControl {
public:
    ~KEditBase() override;
    KString getText();
    // WM_SETTEXT, then the modified mark as asked.
    void setText(const KString& text, bool modified) { _setText(text, WM_SETTEXT, 0, modified); }
    // Replaces the selection (EM_REPLACESEL) and marks the text modified.
    void replaceText(const KString& text) { _setText(text, EM_REPLACESEL, 0, true); }
    void _setText(const KString& text, unsigned msg, unsigned wParam, bool modified);
    // Inserts at the end, undoable; the first converts line feeds, the second takes the text as it is.
    void appendText(const KString& text);
    void appendText(const wchar_t* text, bool canUndo);
    // Line n, cut at 999 characters.
    KString getLine(int n);
    KString getCurLine() { return getLine(getCurLineNum()); }
    // The line of the selection's start.
    int getCurLineNum();
    int getLineCount() { return (int)send(EM_GETLINECOUNT); }
    int getFirstVisibleLine() { return (int)send(EM_GETFIRSTVISIBLELINE); }
    // Scrolls so that line n is the first shown.
    void setFirstLine(int n);
    int getTextLength() { return GetWindowTextLengthW(control); }

protected:
    KEditBase(unsigned long style, HFONT initialFont) : KTextControl(style, initialFont) {}
    // The file's bytes (widened, line feeds converted) as the text, marked
    // modified, shown from line 0; on failure the error box with this code.
    bool loadFile(const wchar_t* path, ERRCODE code, const char* failure);
    void markModified(bool on) { send(EM_SETMODIFY, on); }
    LRESULT send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(control, msg, wParam, lParam); }
    // The plain edit control: EM_FMTLINES (soft line breaks read as line
    // feeds) and EM_SETLIMITTEXT are its own; the rich edit's is EM_EXLIMITTEXT.
    bool plainEdit = false;
};

class KORVEL_API KEditControl : public KEditBase {
public:
    KEditControl();
    ~KEditControl() override;
    void setIsModified(bool on) override { markModified(on); }
    bool getIsModified() const override { return SendMessageW(control, EM_GETMODIFY, 0, 0) != 0; }
    void menuHandler(unsigned id, unsigned code) override;
    // Colours the control through WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC.
    LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void createControl() override;

    // Formats in the library's language and appends.
    void print(const char* format, ...);
    void getSel(int* start, int* end) { send(EM_GETSEL, (WPARAM)start, (LPARAM)end); }
    // One tab stop every n x 4 dialog units.
    void setTabStop(int n);
    void setForeground(unsigned long colour, bool redraw);
    void setBackground(unsigned long colour, bool redraw);
    unsigned long getTextForeground() const { return textForeground; }
    unsigned long getTextBackground() const { return textBackground; }
    // A font of its own: points at the screen's resolution, the weight given.
    void setFont(const wchar_t* face, int points, int weight);
    // Error box 1-1003 and false when the file cannot be read.
    bool loadFile(const wchar_t* path);

private:
    friend KORVEL_API KEditControl* MakeEditControl(KWindow*, KArgList*);
    unsigned long textForeground = 0;
    unsigned long textBackground = 0xFFFFFF;
    KBrush backBrush;
};

class KORVEL_API KRichEditControl : public KEditBase {
public:
    KRichEditControl();
    ~KRichEditControl() override;
    void menuHandler(unsigned id, unsigned code) override;
    void createControl() override;

    bool isModified() { return send(EM_GETMODIFY) != 0; }
    // Which notifications the control sends (ENM_CHANGE ...).
    void setEventMask(long mask);
    void setSelectedColor(unsigned long colour);
    // Colours characters start..end-1; the selection is kept.
    void setColor(int start, int end, unsigned long colour);
    // Error box 1-1016 and false when the file cannot be read.
    bool loadFile(const wchar_t* path);

private:
    friend KORVEL_API KRichEditControl* MakeRichEditControl(KWindow*, KArgList*);
};

KORVEL_API KEditControl* MakeEditControl(KWindow* parent, KArgList* args);
KORVEL_API KRichEditControl* MakeRichEditControl(KWindow* parent, KArgList* args);

#endif
