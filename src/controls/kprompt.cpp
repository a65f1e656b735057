// KPromptBase: construction, attributes, the layout of prompt and box, their
// drawing, and the value text with its conversions.
#include "kprompt.h"
#include "kgraphics.h"
#include "krepeat.h"
#include <wchar.h>
#include <stdlib.h>

PromptEvent::PromptEvent(KPromptBase* p, int r) : Event(p), prompt(p), reason(r) {}

KPromptBase::KPromptBase(const KString& p, int pfw, int width)
    : promptFont(DEFAULT_VAR_FONT), textFont(DEFAULT_FIXED_FONT), prompt(p), promptFW(pfw),
      fieldWidth(width)
{
    enterLeaveEnabled = true;
    joinTabGroup = true;
}

KPromptBase::~KPromptBase()
{
    PromptRepeat::forget(this);
    // The edit control dies with the field's native window, after this
    // object: it must not call back into it.
    if (!editWin || !IsWindow(editWin))
        return;
    SetWindowLongPtrW(editWin, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc));
    SetWindowLongPtrW(editWin, GWLP_USERDATA, 0);
}

void KPromptBase::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    forgetUngivenSize(args); // configure fits the field
    if (hasEdit)
        createEdit();
    configure(false);
    _addEventHandler(new ExposeEventHandler<KPromptBase>(this, &KPromptBase::exposeHandler));
    _addEventHandler(new MouseEventHandler<KPromptBase>(this, &KPromptBase::baseMouseHandler, ME_BUTTONS));
    _addEventHandler(new MouseEventHandler<KPromptBase>(this, &KPromptBase::pointerHandler, ME_MOTION));
    _addEventHandler(new KeyboardEventHandler<KPromptBase>(this, &KPromptBase::keyboardHandler, KE_ALL));
    if (joinTabGroup)
        addToTabGroup(this);
}

void KPromptBase::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_FONT) promptFont = (HFONT)v;
        else if (a == WA_TEXT_FONT) textFont = (HFONT)v;
        else if (a == WA_TEXT_CASE) textCase = (int)v;
        else if (a == WA_MARGIN_HEIGHT) marginHeight = (int)v;
        else if (a == WA_LEFT_MARGIN) leftMargin = (int)v;
        else if (a == WA_RIGHT_MARGIN) rightMargin = (int)v;
        else if (a == WA_PROMPT_FW) promptFW = (int)v;
        else if (a == WA_TEXT_OFFSET) textOffset = (int)v;
        else if (a == WA_TEXT_LEFT_MARGIN) textLeftMargin = (int)v;
        else if (a == WA_TEXT_RIGHT_MARGIN) textRightMargin = (int)v;
        else if (a == WA_ALIGN_X) alignX = (int)v;
        else if (a == WA_AUTO_HSCROLL) autoHScroll = (bool)v;
        else if (a == WA_IS_PASSWORD) isPassword = (bool)v;
        else if (a == WA_SORT) sort = (bool)v;
        else if (a == WA_ICON_EXTRA) iconExtra = (bool)v;
        else if (a == WA_ICON_STYLE) iconStyle = (int)v;
        else if (a == WA_STRIP_SPACES) stripSpaces = (bool)v;
        else if (a == WA_TEXT_BACKGROUND) setInputBackground((COLORREF)(unsigned long)v, false);
        else if (a == WA_HAS_EDIT) hasEdit = (bool)v;
        else if (a == WA_ALLOWED_CHARS) allowedChars = (int)v;
        else if (a == WA_UPDATE_ALWAYS) updateAlways = (bool)v;
    }
    // Hidden characters are drawn in the fixed font whatever was asked for.
    if (isPassword)
        textFont = DEFAULT_FIXED_FONT;
}

void KPromptBase::createEdit()
{
    editStyle = WS_CHILD;
    if (autoHScroll) editStyle |= ES_AUTOHSCROLL;
    if (alignX == 2) editStyle |= ES_RIGHT;
    if (isPassword) editStyle |= ES_PASSWORD;
    if (textCase == 1) editStyle |= ES_UPPERCASE;
    else if (textCase == 2) editStyle |= ES_LOWERCASE;
    editWin = CreateWindowExW(0, L"EDIT", L"", editStyle, 0, 0, 0, 0, hwnd, nullptr,
                              KWNDCLASS::hInst, nullptr);
    if (!editWin)
        return; // the field then draws its text itself
    SetWindowLongPtrW(editWin, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editWin, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KPromptBase::EditProc)));
    const int right = rightText.notNull() ? 0 : textRightMargin;
    SendMessageW(editWin, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(textLeftMargin, right));
    ShowWindow(editWin, SW_SHOW);
    setText(text);
}

// --- Layout ----------------------------------------------------------------

void KPromptBase::configure(bool force)
{
    if (!force && clientWidth && clientHeight)
        return;
    if (!textFont)
        textFont = promptFont;
    const int E = GetSystemMetrics(SM_CXEDGE);
    const int S = GetSystemMetrics(SM_CXVSCROLL);
    KWinDC dc(this);
    dc.setFont(promptFont);
    int wp = 0, hp = 0;
    dc.getTextExtent(prompt, &wp, &hp);
    if (promptFW >= 0)
        wp = promptFW * dc.getCharWidth(L'A');
    int rightW = 0, rightH = 0;
    dc.setFont(textFont);
    const int At = dc.getCharWidth(L'A');
    dc.getTextExtent(rightText, &rightW, &rightH);
    dc.restoreSelection();

    promptRect = DCRect(leftMargin, marginHeight + E, wp, hp);
    const int gap = prompt.notNull() ? textOffset : 0;
    boxRect = DCRect(wp + leftMargin + gap, 0,
                     fieldWidth * At + 2 * E + textLeftMargin + textRightMargin + (iconExtra ? S : 0),
                     hp + 2 * (marginHeight + E));
    innerRect = DCRect(boxRect.x + E, boxRect.y + E, boxRect.w - 2 * E, boxRect.h - 2 * E);
    textRect = DCRect(innerRect.x + textLeftMargin, innerRect.y + marginHeight,
                      innerRect.w - (textLeftMargin + textRightMargin), innerRect.h - 2 * marginHeight);
    iconRect = DCRect();
    if (iconStyle || iconExtra) {
        iconRect = DCRect(innerRect.x + innerRect.w - S, innerRect.y, S, innerRect.h);
        innerRect.w -= S;
        textRect.w -= S;
    }
    rightRect = DCRect();
    if (rightText.notNull()) {
        const int w = rightW + textRightMargin;
        rightRect = DCRect(innerRect.x + innerRect.w - w, textRect.y, w, textRect.h);
        textRect.w -= w - textRightMargin;
    }
    const int width = clientWidth ? (int)clientWidth : boxRect.x + boxRect.w + rightMargin;
    const int height = clientHeight ? (int)clientHeight : boxRect.h;
    resizeClient(width, height, true);
    if (!editWin)
        return;
    const int right = rightText.notNull() ? 0 : textRightMargin;
    MoveWindow(editWin, textRect.x - textLeftMargin, textRect.y, textRect.w + textLeftMargin + right,
               textRect.h, TRUE);
    SendMessageW(editWin, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), TRUE);
}

void KPromptBase::setFieldWidth(int width)
{
    fieldWidth = width;
    configure(true);
    invalidate();
}

void KPromptBase::setPrompt(const KString& p)
{
    prompt = p;
    draw(DRAW_PROMPT);
}

void KPromptBase::setRightText(const KString& t)
{
    rightText = t;
    draw(DRAW_BOX);
}

void KPromptBase::setAlign(int x)
{
    alignX = x;
    if (editWin) {
        LONG_PTR s = GetWindowLongPtrW(editWin, GWL_STYLE) & ~(LONG_PTR)(ES_RIGHT | ES_CENTER);
        SetWindowLongPtrW(editWin, GWL_STYLE, s | (x == 2 ? ES_RIGHT : ES_LEFT));
    }
    draw(DRAW_BOX);
}

// --- Drawing ---------------------------------------------------------------

void KPromptBase::draw(int parts)
{
    if (!hwnd || destroying)
        return;
    KWinDC dc(this);
    if (parts & DRAW_PROMPT)
        drawPrompt(dc);
    if (parts & DRAW_BOX)
        drawBox(dc);
    if ((parts & DRAW_BUTTON) || ((parts & DRAW_BOX) && !iconStyle && iconExtra))
        drawButton(dc);
}

void KPromptBase::drawPrompt(KWinDC& dc)
{
    dc.fillRect(DCRect(0, 0, boxRect.x, clientHeight), background);
    dc.setFont(promptFont);
    dc.setBkColor(background);
    COLORREF colour = 0;
    if (showAsDisabled())
        colour = GetSysColor(COLOR_GRAYTEXT);
    else if (isEntered())
        colour = 0xFF0000;
    dc.setTextColor(colour);
    dc.setAlign(1, 0);
    dc.setClipRect(promptRect);
    dc.textOut(promptRect, prompt);
    dc.clearClipRect();
    dc.restoreSelection();
    if (joinTabGroup)
        drawFocusRect(dc, promptRect, hasFocus);
}

void KPromptBase::drawBox(KWinDC& dc)
{
    dc.drawEdge(boxRect, EDGE_SUNKEN, BF_RECT);
    dc.fillRect(innerRect, textBackground);
    if (!editWin) {
        COLORREF fg = inputForeground, bg = textBackground;
        if (showAsDisabled()) {
            fg = GetSysColor(COLOR_GRAYTEXT);
        } else if (hasFocus) {
            fg = GetSysColor(COLOR_HIGHLIGHTTEXT);
            bg = GetSysColor(COLOR_HIGHLIGHT);
        }
        dc.setFont(textFont);
        dc.setTextColor(fg);
        dc.setBkColor(bg);
        dc.setAlign(alignX, 0);
        dc.setClipRect(textRect);
        dc.textOut(textRect, text);
        dc.clearClipRect();
        dc.restoreSelection();
    }
    if (!showRight || rightText.isNull())
        return;
    dc.setFont(textFont);
    dc.setTextColor(inputForeground);
    dc.setBkColor(textBackground);
    dc.setAlign(1, 0);
    dc.textOut(rightRect, rightText);
    dc.restoreSelection();
}

void KPromptBase::drawButton(KWinDC& dc)
{
    if (iconRect.w <= 0)
        return;
    const UINT pushed = iconPressed ? DFCS_PUSHED : 0;
    if (iconStyle == 1) {
        dc.drawFrameControl(iconRect, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | pushed);
    } else if (iconStyle == 2) {
        const int half = iconRect.h / 2;
        dc.drawFrameControl(DCRect(iconRect.x, iconRect.y, iconRect.w, half), DFC_SCROLL,
                            DFCS_SCROLLUP | pushed);
        dc.drawFrameControl(DCRect(iconRect.x, iconRect.y + half, iconRect.w, iconRect.h - half),
                            DFC_SCROLL, DFCS_SCROLLDOWN | pushed);
    } else {
        dc.fillRect(iconRect, textBackground);
    }
}

void KPromptBase::setInputBackground(COLORREF colour, bool redraw)
{
    textBackground = colour;
    backBrush = KBrush(colour);
    if (redraw)
        draw(DRAW_BOX);
    if (redraw && editWin)
        InvalidateRect(editWin, nullptr, TRUE);
}

void KPromptBase::setInputForeground(COLORREF colour, bool redraw)
{
    inputForeground = colour;
    if (redraw)
        draw(DRAW_BOX);
    if (redraw && editWin)
        InvalidateRect(editWin, nullptr, TRUE);
}

// --- Text ------------------------------------------------------------------

void KPromptBase::setText(const KString& t)
{
    text = t;
    if (editWin) {
        settingText = true;
        SetWindowTextW(editWin, text);
        settingText = false;
    }
    draw(DRAW_BOX);
}

void KPromptBase::wprintf(const char* format, ...)
{
    KString t;
    va_list args;
    va_start(args, format);
    t._vsprint(format, args);
    va_end(args);
    setText(t);
}

KString KPromptBase::getText() const
{
    KString t = text;
    if (stripSpaces)
        t.stripSpaces();
    return t;
}

KPromptBase::operator long() const
{
    return wcstol(getText(), nullptr, 0);
}

KPromptBase::operator int() const { return (int)operator long(); }

KPromptBase::operator unsigned long() const
{
    return wcstoul(getText(), nullptr, 0);
}

KPromptBase::operator unsigned int() const { return (unsigned int)operator unsigned long(); }

KPromptBase::operator double() const
{
    return wcstod(getText(), nullptr);
}

KPromptBase::operator float() const { return (float)operator double(); }

KString KPromptBase::getPrintText(int width)
{
    if (width == -1)
        width = promptFW;
    KString out;
    if (width > 0)
        out.set("%-*S: %S", width, &prompt, &text);
    else
        out.set("%-S: %S", &prompt, &text);
    return out;
}

KString KPromptBase::toString(const char* format)
{
    KString p = prompt, t = text;
    p.stripSpaces();
    t.stripSpaces();
    KString out;
    out.set(format ? format : "%S: %S", &p, &t);
    return out;
}
