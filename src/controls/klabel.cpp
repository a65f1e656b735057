// KLabel: text or a bitmap drawn into the client area, with the measuring,
// colouring and auto-repeat that the buttons and the progress bar reuse.
#include "klabel.h"
#include "kgraphics.h"

KTimer KLabel::timer;
MouseEvent KLabel::repeat_event;

KLabel::KLabel(const KString& t, int width) : text(t), font(DEFAULT_VAR_FONT), fieldWidth(width)
{
    edgeStyle = EDGE_RAISED;
}

KLabel::~KLabel()
{
    // The shared timer must not call into a label that is gone.
    if (repeat_event.window == this)
        stopRepeat();
}

KLabel* MakeLabel(KWindow* parent, KArgList* args, const KString& text, int fieldWidth)
{
    auto* label = new KLabel(text, fieldWidth);
    label->init(parent, args);
    return label;
}

void KLabel::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    forgetUngivenSize(args); // configure fits the window to its text
    _addEventHandler(new ExposeEventHandler<KLabel>(this, &KLabel::exposeHandler));
    configure(false);
}

void KLabel::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_TEXT) text = (const wchar_t*)v;
        else if (a == WA_FONT) font = (HFONT)v;
        else if (a == WA_LEFT_MARGIN) marginLeft = (int)v;
        else if (a == WA_RIGHT_MARGIN) marginRight = (int)v;
        else if (a == WA_MARGIN_WIDTH) marginLeft = marginRight = (int)v;
        else if (a == WA_MARGIN_HEIGHT) marginHeight = (int)v;
        else if (a == WA_ALIGN_X) alignX = (int)v;
        else if (a == WA_ALIGN_Y) alignY = (int)v;
        else if (a == WA_JUST_X) justX = (int)v;
        else if (a == WA_FIELD_WIDTH) fieldWidth = (int)v;
        else if (a == WA_BITMAP_ID) bitmapId = (int)v;
    }
}

void KLabel::configure(bool force)
{
    if (!force && clientWidth && clientHeight)
        return;
    KWinDC dc(this);
    dc.setFont(font);
    int w = 0, h = 0;
    dc.getTextExtent(text, &w, &h);
    if (fieldWidth >= 0)
        w = fieldWidth * dc.getCharWidth(L'A');
    const int width = clientWidth ? (int)clientWidth : w + marginLeft + marginRight;
    const int height = clientHeight ? (int)clientHeight : h + 2 * marginHeight;
    resizeClient(width, height, true);
}

COLORREF KLabel::textColour() const
{
    if (showAsDisabled())
        return GetSysColor(COLOR_GRAYTEXT);
    if (isEntered())
        return background == 0xFF0000 ? 0x00FF00 : 0xFF0000;
    return foreground;
}

void KLabel::draw()
{
    if (!hwnd)
        return;
    KWinDC dc(this);
    if (bitmapId >= 1) {
        dc.setAlign(0, 0);
        dc.showBitmap(bitmapId, clientWidth / 2, clientHeight / 2);
        return;
    }
    dc.setFont(font);
    dc.setBkColor(background);
    dc.setTextColor(textColour());
    dc.setAlign(alignX, alignY);
    dc.setJustify(justX);
    dc.textOut(DCRect(marginLeft, 0, clientWidth - marginLeft - marginRight, clientHeight), text);
    if (!showFocus || text.isNull())
        return;
    int cx = 0, cy = 0;
    dc.getTextExtent(text, &cx, &cy);
    const int x = alignX == 1 ? marginLeft : (int)clientWidth - cx - marginRight;
    drawFocusRect(dc, DCRect(x, (clientHeight - cy) / 2, cx, cy), isFocus());
}

void KLabel::setText(const KString& t)
{
    text = t;
    if (!hwnd)
        return;
    clear();
    draw();
}

bool KLabel::setTextHandler(const wchar_t* t)
{
    setText(KString(t));
    return true;
}

void KLabel::vformat(const char* format, va_list args)
{
    text._vsprint(format, args);
    if (!hwnd)
        return;
    clear();
    draw();
}

void KLabel::wprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vformat(format, args);
    va_end(args);
}

void KLabel::wprintf(COLORREF fg, COLORREF bg, const char* format, ...)
{
    setForeground(fg);
    setBackground(bg, false);
    va_list args;
    va_start(args, format);
    vformat(format, args);
    va_end(args);
}

KString KLabel::getPrintText(int width)
{
    if (width == -1)
        width = fieldWidth;
    if (width <= 0)
        return text;
    KString padded;
    padded.set("%-*S", width, &text);
    return padded;
}

void KLabel::addedHandlerHandler(EventHandler* h)
{
    if (h->iSIOHandler())
        enterLeaveEnabled = true;
}

// --- Auto-repeat ---------------------------------------------------------

void KLabel::setDelay(int first, int repeat)
{
    firstDelay = first;
    repeatDelay = repeat;
    if (first >= 1 && repeat >= 1) {
        if (!repeatHandler)
            repeatHandler = _addEventHandler(new MouseEventHandler<KLabel>(this, &KLabel::mouseHandler, 451));
        return;
    }
    if (!repeatHandler)
        return;
    if (repeat_event.window == this)
        stopRepeat();
    _removeEventHandler(repeatHandler);
    delete repeatHandler;
    repeatHandler = nullptr;
}

void KLabel::mouseHandler(KWindow*, MouseEvent* e)
{
    if (e->type & ME_RELEASE) {
        stopRepeat();
        return;
    }
    if (!(e->type & ME_PRESS) || repeat_event.window || firstDelay < 1)
        return;
    repeat_event = *e;
    repeat_event.window = this;
    timer.setHandler(new TimerEventHandler<KLabel>(this, &KLabel::timerHandler));
    timer.start(firstDelay);
}

void KLabel::timerHandler()
{
    if (repeat_event.window != this)
        return;
    if (timer.getTimeout() != repeatDelay)
        timer.start(repeatDelay);
    // A copy: a handler may stop the repeat, which clears the saved event.
    MouseEvent again = repeat_event;
    callHandlers(&again);
}

void KLabel::stopRepeat()
{
    repeat_event.window = nullptr;
    timer.stop();
}
