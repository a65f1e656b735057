// KToggleButton: a two-state label, drawn as a push button that stays in or
// as a check box with a square indicator beside its text.
#include "klabel.h"
#include "kgraphics.h"

KToggleButton::KToggleButton(const KString& t) : KLabel(KString(), -1)
{
    text = t;
    edgeStyle = EDGE_RAISED;
    joinTabGroup = true;
    unsetColour = background;
}

KToggleButton::~KToggleButton() = default;

KToggleButton* MakeToggleButton(KWindow* parent, KArgList* args, const KString& text)
{
    auto* button = new KToggleButton(text);
    button->init(parent, args);
    return button;
}

KToggleButton* MakeToggleButtonF(KWindow* parent, KArgList* args, const char* format, ...)
{
    KString text;
    va_list list;
    va_start(list, format);
    text._vsprint(format, list);
    va_end(list);
    return MakeToggleButton(parent, args, text);
}

void KToggleButton::setValues(KArgList* args)
{
    KLabel::setValues(args);
    for (int i = 0; args && i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_CHECK_BOX) {
            checkBox = (int)v;
            alignX = 1;
        }
        else if (a == WA_PROMPT_FW) promptFW = (int)v;
        else if (a == WA_LIMIT_MOUSE) limitMouseOn = (bool)v;
        else if (a == WA_TOGGLE_MASK) toggleMask = (int)v;
        else if (a == WA_SET_COLOR) {
            useSetColour = true;
            setColour = (unsigned long)v;
        }
        else if (a == WA_SET_TEXT) {
            useSetText = true;
            setText_ = (const wchar_t*)v;
        }
    }
    // The indicator square carries the state; a check box has no border.
    if (checkBox)
        edgeStyle = 0;
}

void KToggleButton::init(KWindow* parent, KArgList* args)
{
    KLabel::init(parent, args);
    _addEventHandler(new MouseEventHandler<KToggleButton>(this, &KToggleButton::buttonHandler, toggleMask));
    if (checkBox) {
        if (joinTabGroup) {
            showFocus = true;
            addToTabGroup(this);
        }
        _addEventHandler(new ExposeEventHandler<KToggleButton>(this, &KToggleButton::exposeHandler));
        _addEventHandler(new KeyboardEventHandler<KToggleButton>(this, &KToggleButton::keyboardHandler, KE_ALL));
    }
    unsetColour = background;
    unsetText = text;
}

void KToggleButton::configure(bool force)
{
    if (checkBox) {
        KWinDC dc(this);
        dc.setFont(font);
        int cx = 0, cy = 0;
        dc.getTextExtent(L"A", 1, &cx, &cy);
        indicator = cy - 2;
        if (checkBox == 1) {
            if (promptFW > 0)
                fieldWidth = promptFW;
            marginRight = indicator + 2 * marginLeft;
        } else if (checkBox == 2) {
            marginLeft = indicator + 2 * marginRight;
        }
    }
    KLabel::configure(force);
}

bool KToggleButton::getState() const
{
    return this ? state : false;
}

void KToggleButton::setState(bool on, bool markModified, bool limit)
{
    if (!this)
        return;
    if (markModified && on != state)
        setIsModified(true);
    state = on;
    if (limitMouseOn && limit)
        limitMouse(state);
    showState();
}

void KToggleButton::showState()
{
    if (!hwnd)
        return;
    if (checkBox) {
        drawIndicator();
        return;
    }
    if (useSetColour)
        setBackground(state ? setColour : unsetColour, true);
    if (useSetText)
        setText(state ? setText_ : unsetText);
    setShadowStyle(state ? EDGE_SUNKEN : EDGE_RAISED);
}

void KToggleButton::drawIndicator()
{
    const int s = indicator;
    const int y = (clientHeight - s) / 2;
    int x = marginRight;
    if (checkBox == 1) {
        KWinDC measure(this);
        measure.setFont(font);
        x = promptFW < 1 ? marginLeft - marginRight + (int)clientWidth
                         : promptFW * measure.getCharWidth(L'A') + 2 * marginLeft;
    }
    KWinDC dc(this);
    dc.drawShadow(DCRect(x, y, s, s), state ? EDGE_SUNKEN : EDGE_RAISED, 2);
    dc.fillRect(DCRect(x + 2, y + 2, s - 4, s - 4), state ? 0x00FF00 : background);
}

void KToggleButton::report(unsigned long type, int modifiers)
{
    ToggleButtonEvent changed;
    changed.type = type;
    changed.button = this;
    changed.state = state;
    changed.modifiers = modifiers;
    callHandlers(&changed);
}

void KToggleButton::buttonHandler(KWindow*, MouseEvent* e)
{
    if (e->type & ME_PRESS) {
        if (showFocus)
            setFocus();
        if (modifiedOnChange)
            setIsModified(true);
        setState(!state, false, false);
        report(e->type, (int)e->modifiers);
    } else if ((e->type & ME_RELEASE) && limitMouseOn) {
        limitMouse(state);
    }
}

void KToggleButton::keyboardHandler(KWindow*, KeyboardEvent* e)
{
    if (e->type == KE_FOCUS_IN || e->type == KE_FOCUS_OUT) {
        if (showFocus) {
            draw();
            showState();
        }
        return;
    }
    if (e->type != KE_CHAR || e->key != L' ')
        return;
    setState(!state, true, false);
    report(65, (int)e->modifiers);
}

KString KToggleButton::getPrintText(int width)
{
    if (width == -1)
        width = text.length();
    KString line;
    line.set("%-*S: %s", width, &text, state ? "ON" : "OFF");
    return line;
}
