// Labels and the controls built on them. Every one is a plain library window
// that draws itself through a window device context; none wraps a native
// Windows control.
//
//     KArgList args;
//     args.add(WA_ALIGN_X, 1);                          // text at the left
//     KLabel* title = MakeLabel(form, &args, L"Ready", 12);  // 12 "A"s wide
//     title->wprintf("%d files", count);                // reformat and redraw
//
//     KArgList none;
//     KPushButton* more = MakePushButton(form, &none, L"More");
//     more->setDelay(500, 100);                         // repeat while held
//     more->_addEventHandler(new PushButtonHandler<Panel>(this, &Panel::more));
//
//     KArgList box;
//     box.add(WA_CHECK_BOX, 2);                         // square at the left
//     KToggleButton* sound = MakeToggleButton(form, &box, L"Sound");
//     sound->_addEventHandler(new ToggleButtonHandler<Panel>(this, &Panel::sound));
//
//     KProgressBar* bar = MakeProgressBar(form, &none);
//     bar->setValue(37.5);                              // fills 37.5 % and prints " 37%"
//
// Attributes of a label (setValues, after KWindow's): WA_TEXT (wide text),
// WA_FONT, WA_LEFT_MARGIN, WA_RIGHT_MARGIN, WA_MARGIN_WIDTH (both sides),
// WA_MARGIN_HEIGHT, WA_ALIGN_X, WA_ALIGN_Y, WA_JUST_X (the device context's
// text anchor and justification), WA_FIELD_WIDTH (characters; negative fits
// the text), WA_BITMAP_ID (a bitmap resource shown instead of the text).
// A toggle button also reads WA_CHECK_BOX (0 push style, 1 square at the
// right, 2 at the left), WA_PROMPT_FW, WA_LIMIT_MOUSE, WA_TOGGLE_MASK,
// WA_SET_COLOR (background while set) and WA_SET_TEXT (text while set).
//
// Auto-repeat: all labels share one timer, so at most one repeats at a time.
#ifndef KORVEL_KLABEL_H
#define KORVEL_KLABEL_H

#include "kwindow.h"
#include "ktimer.h"

class KPushButton;
class KToggleButton;

class KORVEL_API PushButtonEvent : public Event {
public:
    KPushButton* button = nullptr;
    bool state = false; // the button's state when the event was made
};

// The base type field holds the mouse type bits, or 65 for a typed blank.
class KORVEL_API ToggleButtonEvent : public Event {
public:
    KToggleButton* button = nullptr;
    bool state = false; // after the change
    int modifiers = 0;  // 1 Shift, 2 Control
    bool isShifted() const { return (modifiers & 1) != 0; }
    bool isControl() const { return (modifiers & 2) != 0; }
};

template <class T>
class PushButtonHandler : public MemberEventHandler<T, PushButtonEvent> {
public:
    using MemberEventHandler<T, PushButtonEvent>::MemberEventHandler;
};

template <class T>
class ToggleButtonHandler : public MemberEventHandler<T, ToggleButtonEvent> {
public:
    using MemberEventHandler<T, ToggleButtonEvent>::MemberEventHandler;
};

class KORVEL_API KLabel : public KWindow {
public:
    KLabel(const KString& text, int fieldWidth);
    ~KLabel() override;
    void init(KWindow* parent, KArgList* args);

    KString getPrintText(int width) override;
    bool setTextHandler(const wchar_t* text) override;
    void enterLeaveHandler(bool) override { draw(); }
    void enableHandler(bool) override { draw(); }
    // A mouse handler added to a label turns its enter/leave tracking on.
    void addedHandlerHandler(EventHandler* h) override;
    // Sizes a window given no size to its text and margins.
    void configure(bool force) override;
    void setValues(KArgList* args) override;

    // Assigns, clears the window and draws.
    void setText(const KString& text);
    const KString& getText() const { return text; }
    int getTextLength() const { return text.length(); }
    void wprintf(const char* format, ...);
    // Sets the colours without repainting, then formats as above.
    void wprintf(COLORREF foreground, COLORREF background, const char* format, ...);
    void draw();
    void exposeHandler(KWindow*, ExposeEvent*) { draw(); }

    // Both delays of 1 ms or more: a held press is delivered again after
    // first, then every repeat ms; a delay below 1 switches repeating off.
    void setDelay(int first, int repeat);
    void stopRepeat();

    HFONT getFont() const { return font; }
    int getFieldWidth() const { return fieldWidth; }
    int leftMargin() const { return marginLeft; }
    int rightMargin() const { return marginRight; }

    static KTimer timer;

protected:
    void vformat(const char* format, va_list args);
    void mouseHandler(KWindow*, MouseEvent* e);
    void timerHandler();
    COLORREF textColour() const;

    KString text;
    int bitmapId = -1;
    HFONT font;
    int marginLeft = 2, marginRight = 2, marginHeight = 2;
    int alignX = 0, alignY = 0, justX = 2;
    int fieldWidth;
    int firstDelay = 0, repeatDelay = 0;
    EventHandler* repeatHandler = nullptr;
    bool showFocus = false;

    // The press being repeated; its window is null while none is.
    static MouseEvent repeat_event;
};

// A label that looks pressed while a mouse button is held on it.
class KORVEL_API KPushButton : public KLabel {
public:
    explicit KPushButton(const KString& text);
    ~KPushButton() override;
    void init(KWindow* parent, KArgList* args);
    bool getState() const { return state; }
    // Presses sink the border, releases raise it; every event is reported.
    void buttonHandler(KWindow*, MouseEvent* e);

private:
    bool state = false;
};

// A two-state button: push style, or a check box with a square indicator.
class KORVEL_API KToggleButton : public KLabel {
public:
    explicit KToggleButton(const KString& text = KString());
    ~KToggleButton() override;
    void init(KWindow* parent, KArgList* args);

    // "<text padded to width>: ON" or ": OFF"; width -1 uses the text length.
    KString getPrintText(int width) override;
    void configure(bool force) override;
    void setValues(KArgList* args) override;

    bool getState() const; // false for a null button
    bool isSet() const { return getState(); }
    void setState(int on) { setState(on != 0, false, false); }
    void setState(bool on, bool markModified, bool limit);
    void showState();
    void buttonHandler(KWindow*, MouseEvent* e);
    void keyboardHandler(KWindow*, KeyboardEvent* e);
    void exposeHandler(KWindow*, ExposeEvent*) { showState(); }
    int indicatorSize() const { return indicator; }
    int checkBoxMode() const { return checkBox; }

private:
    void report(unsigned long type, int modifiers);
    void drawIndicator();

    int toggleMask = 451;
    int indicator = 15;
    int promptFW = 0;
    int checkBox = 0;
    bool state = false;
    bool limitMouseOn = false;
    bool useSetColour = false;
    COLORREF setColour = 0x00FF00;
    COLORREF unsetColour;
    bool useSetText = false;
    KString setText_, unsetText;
};

// A sunken bar filled from the left to a percentage, which it prints.
class KORVEL_API KProgressBar : public KLabel {
public:
    KProgressBar();
    ~KProgressBar() override;
    void setValues(KArgList* args) override { KLabel::setValues(args); }
    // Stores the percentage and draws the bar; values outside 0..100 draw nothing.
    void setValue(double percent);
    double getValue() const { return value; }
    void drawProgress();

private:
    double value = 0.0;
};

KORVEL_API KLabel* MakeLabel(KWindow* parent, KArgList* args, const KString& text, int fieldWidth);
KORVEL_API KPushButton* MakePushButton(KWindow* parent, KArgList* args, const KString& text);
KORVEL_API KPushButton* MakePushButtonF(KWindow* parent, KArgList* args, const char* format, ...);
KORVEL_API KToggleButton* MakeToggleButton(KWindow* parent, KArgList* args, const KString& text);
KORVEL_API KToggleButton* MakeToggleButtonF(KWindow* parent, KArgList* args, const char* format, ...);
KORVEL_API KProgressBar* MakeProgressBar(KWindow* parent, KArgList* args);

#endif
