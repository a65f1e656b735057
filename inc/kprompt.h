// Prompt fields: a prompt text on the left and a sunken value box on the
// right, optionally with a button area (drop-down arrow or spin arrows) at the
// right end of the box. The box hosts a native single-line edit control for
// typed input, or is drawn by the field itself.
//
//     KArgList args;
//     args.add(WA_ALLOWED_CHARS, 1);                        // "-+" and digits
//     KEditPrompt* count = MakeEditPrompt(form, &args, L"Count", 10, 6);
//     count->setText(L"12");                                // no PromptEvent
//     count->_addEventHandler(new PromptEventHandler<Panel>(this, 0, &Panel::changed));
//     int n = *count;                                       // wcstol, base 0
//
//     KArgList none;
//     KPromptLab* state = MakePromptLab(form, &none, L"State", 10, 12);
//     state->wprintf("%d runs", runs);                      // a labelled read-only value
//
// Attributes (setValues, after KWindow's): WA_FONT (prompt font),
// WA_TEXT_FONT, WA_TEXT_CASE (1 upper, 2 lower), WA_MARGIN_HEIGHT,
// WA_LEFT_MARGIN, WA_RIGHT_MARGIN, WA_PROMPT_FW, WA_TEXT_OFFSET,
// WA_TEXT_LEFT_MARGIN, WA_TEXT_RIGHT_MARGIN, WA_ALIGN_X, WA_AUTO_HSCROLL,
// WA_IS_PASSWORD (also forces the fixed font), WA_SORT, WA_ICON_EXTRA,
// WA_ICON_STYLE, WA_STRIP_SPACES, WA_TEXT_BACKGROUND, WA_HAS_EDIT,
// WA_ALLOWED_CHARS (0 any, 1 integer, 2 real), WA_UPDATE_ALWAYS.
//
// Typing reports every change as a PromptEvent with reason 768 (EN_CHANGE)
// and marks the field modified; text set by the program reports nothing.
// A character the field refuses sounds the error beep and is dropped; text
// pasted into the edit control is not filtered.
#ifndef KORVEL_KPROMPT_H
#define KORVEL_KPROMPT_H

#include "kwindow.h"
#include "kdrawobj.h"

class KPromptBase;

class KORVEL_API PromptEvent : public Event {
public:
    KPromptBase* prompt = nullptr;
    int reason = 0; // 768 (EN_CHANGE) when the value changed

    PromptEvent(KPromptBase* p, int r);
};

class KORVEL_API KPromptBase : public KWindow {
public:
    // Part bits of draw().
    enum { DRAW_PROMPT = 1, DRAW_BOX = 2, DRAW_BUTTON = 4, DRAW_ALL = 7 };

    KPromptBase(const KString& prompt, int promptFW, int fieldWidth);
    ~KPromptBase() override;

    // "prompt: text", the prompt padded to width (-1: promptFW) when positive.
    KString getPrintText(int width) override;
    void enterLeaveHandler(bool) override { draw(DRAW_PROMPT); }
    void enableHandler(bool) override { draw(DRAW_ALL); }
    // Focus to the edit control (or the field) with the whole text selected;
    // a field outside the tab groups refuses.
    void setFocus() override;
    // An input handler added by the application turns the prompt's highlight on.
    void addedHandlerHandler(EventHandler* h) override;
    // Prompt and text, each stripped, through format (null: "%S: %S").
    KString toString(const char* format) override;
    void configure(bool force) override;
    void setValues(KArgList* args) override;
    // EN_CHANGE of the edit control arrives here.
    void menuHandler(unsigned int id, unsigned int code) override;
    // Colours of the edit control.
    LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // --- What subclasses change ---
    // True keeps Enter from the tab group (the dialog's OK).
    virtual bool disableReturnHandler() { return false; }
    virtual bool isValidChar(int c);
    virtual bool validateText(KString&) { return true; }
    // Up (1) and Down (-1) keys.
    virtual void arrowHandler(int, bool) {}
    // Whether a typed change is reported.
    virtual bool editChangeHandler() { return true; }
    virtual void gainFocusHandler() {}
    virtual void loseFocusHandler() {}
    virtual void mouseHandler(KWindow*, MouseEvent*) {}
    virtual void returnHandler() {}

    // --- Value ---
    // Stores the text, writes it into the edit control (reporting nothing) and redraws.
    void setText(const KString& text);
    void wprintf(const char* format, ...);
    // The text, stripped of leading and trailing blanks when stripSpaces.
    KString getText() const;
    const KString& getRawText() const { return text; }
    operator int() const;
    operator long() const;   // wcstol base 0: "0x" prefixes are read
    operator unsigned int() const;
    operator unsigned long() const;
    operator double() const; // wcstod
    operator float() const;
    operator KString() const { return getText(); }

    // --- Appearance ---
    void setPrompt(const KString& p);
    const KString& getPrompt() const { return prompt; }
    void setRightText(const KString& t);
    const KString& getRightText() const { return rightText; }
    void setAlign(int x);
    void setFieldWidth(int width);
    int getFieldWidth() const { return fieldWidth; }
    int getPromptFW() const { return promptFW; }
    void setInputBackground(COLORREF colour, bool redraw = true);
    void setInputForeground(COLORREF colour, bool redraw = true);
    COLORREF getInputBackground() const { return textBackground; }
    COLORREF getInputForeground() const { return inputForeground; }
    HFONT getPromptFont() const { return promptFont; }
    HFONT getTextFont() const { return textFont; }
    // Redraws the parts named by the DRAW_* bits.
    void draw(int parts = DRAW_ALL);

    // --- Selection and focus ---
    void selectAll();
    void clearSelection();
    bool holdsFocus() const { return hasFocus; }
    HWND getEditWin() const { return editWin; }

    // --- Geometry of the last layout ---
    const DCRect& getPromptRect() const { return promptRect; }
    const DCRect& getBoxRect() const { return boxRect; }
    const DCRect& getInnerRect() const { return innerRect; }
    const DCRect& getTextRect() const { return textRect; }
    const DCRect& getRightRect() const { return rightRect; }
    const DCRect& getIconRect() const { return iconRect; }

    // --- Input ---
    // Held presses are delivered again after delay ms, then every rate ms;
    // 0 means none. One field repeats at a time in the whole program.
    void setDelay(int delay, int rate);
    // Marks the field modified and offers a PromptEvent (reason 768).
    void changeNotify();
    // True without an edit control; with one, whether the last press lay in
    // the button area.
    bool dispatchMouseEvents() const;

protected:
    void init(KWindow* parent, KArgList* args);
    void exposeHandler(KWindow*, ExposeEvent*) { draw(DRAW_ALL); }
    void keyboardHandler(KWindow* w, KeyboardEvent* e);
    void baseMouseHandler(KWindow* w, MouseEvent* e);
    void pointerHandler(KWindow* w, MouseEvent* e);
    void createEdit();
    // The edit control's replaced window procedure.
    LRESULT editMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void drawPrompt(KWinDC& dc);
    void drawBox(KWinDC& dc);
    void drawButton(KWinDC& dc);
    bool inRect(const DCRect& r, long x, long y) const;

    HFONT promptFont;
    HFONT textFont;
    bool showRight = true;
    int textCase = 0;
    DCRect promptRect, boxRect, innerRect, textRect, rightRect, iconRect;
    int marginHeight = 2;
    int leftMargin = 2;
    KString prompt;
    int promptFW;
    int textOffset = 4;
    KString text;
    KString rightText;
    int fieldWidth;
    int textLeftMargin = 4, textRightMargin = 4;
    int rightMargin = 2;
    int alignX = 1;
    bool autoHScroll = false;
    bool isPassword = false;
    bool sort = false;
    bool iconExtra = true;
    int iconStyle = 0;
    bool iconPressed = false;
    bool hasFocus = false;
    bool stripSpaces = true;
    COLORREF textBackground = 0xFFFFFF;
    COLORREF inputForeground = 0;
    bool hasEdit = false;
    HWND editWin = nullptr;
    unsigned long editStyle = WS_CHILD;
    WNDPROC editProc = nullptr;
    bool settingText = false;
    int pressX = 0, pressY = 0;
    KBrush backBrush{KStock{WHITE_BRUSH}};
    int allowedChars = 0;
    bool updateAlways = false;
    int repeatDelay = 0, repeatRate = 0;
    // Set when the last press lay in the button area.
    bool pressInIcon = false;
};

// A field with an edit control for typed text.
class KORVEL_API KEditPrompt : public KPromptBase {
public:
    KEditPrompt(const KString& prompt, int promptFW, int fieldWidth);
    ~KEditPrompt() override;
    void init(KWindow* parent, KArgList* args);
};

// An edit field for hexadecimal digits.
class KORVEL_API KNumericPrompt : public KEditPrompt {
public:
    KNumericPrompt(const KString& prompt, int promptFW, int fieldWidth);
    ~KNumericPrompt() override;
    bool isValidChar(int c) override;
};

// A labelled read-only value, drawn by the field itself; outside the tab
// groups and without the prompt's highlight.
class KORVEL_API KPromptLab : public KPromptBase {
public:
    KPromptLab(const KString& prompt, int promptFW, int fieldWidth);
    ~KPromptLab() override;
    void init(KWindow* parent, KArgList* args);
};

// Factories; the forms without promptFW size the prompt to its text.
KORVEL_API KEditPrompt* MakeEditPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                       int promptFW, int fieldWidth);
KORVEL_API KEditPrompt* MakeEditPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                       int fieldWidth);
KORVEL_API KNumericPrompt* MakeNumericPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                             int promptFW, int fieldWidth);
KORVEL_API KNumericPrompt* MakeNumericPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                             int fieldWidth);
KORVEL_API KPromptLab* MakePromptLab(KWindow* parent, KArgList* args, const KString& prompt,
                                     int promptFW, int fieldWidth);
KORVEL_API KPromptLab* MakePromptLab(KWindow* parent, KArgList* args, const KString& prompt,
                                     int fieldWidth);

#endif
