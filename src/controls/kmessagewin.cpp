// KMessageWin: panes of messages and progress along the bottom of a window.
#include "kmessagewin.h"
#include "kgraphics.h"

KMessageWin::~KMessageWin() = default;

KMessageWin* MakeMessageWin(KWindow* parent, KArgList* args)
{
    auto* w = new KMessageWin;
    w->init(parent, args);
    return w;
}

void KMessageWin::setValues(KArgList* args)
{
    KForm::setValues(args);
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (args->attr(i) == WA_DEFAULT_SHADOW_STYLE)
            shadowStyle = (int)args->val(i);
        else if (args->attr(i) == WA_FONT)
            font = (HFONT)args->val(i);
    }
}

void KMessageWin::init(KWindow* parent, KArgList* args)
{
    if (!font)
        font = DEFAULT_FIXED_FONT;
    KForm::init(parent, args);
    KArgList pane;
    pane.add(WA_SHADOW_STYLE, (short)shadowStyle);
    pane.add(WA_FONT, font);
    if (shadowStyle == 0)
        pane.add(WA_ALIGN_X, 1);
    KProgressBar* first = MakeProgressBar(this, &pane);
    panes.append(first);
    attachForm(first, SIDE_LEFT, SIDE_RIGHT, SIDE_TOP, SIDE_BOTTOM);
    lastLeft = lastRight = first;
}

int KMessageWin::add(int fieldWidth, AttachSide side)
{
    const int index = panes.count();
    KArgList args;
    args.add(WA_SHADOW_STYLE, (short)EDGE_SUNKEN);
    args.add(WA_FIELD_WIDTH, fieldWidth);
    args.add(WA_FONT, font);
    KProgressBar* p = MakeProgressBar(this, &args);
    panes.append(p);
    attachForm(p, SIDE_TOP, SIDE_BOTTOM);
    KProgressBar* first = panes[0];
    if (side == SIDE_LEFT) {
        if (lastLeft == first) {
            attachForm(p, SIDE_LEFT);
        } else {
            attach(p, SIDE_LEFT, lastLeft);
            attachOff(p, SIDE_LEFT, 2);
        }
        attach(first, SIDE_LEFT, p);
        attachOff(first, SIDE_LEFT, 2);
        lastLeft = p;
    } else if (side == SIDE_RIGHT) {
        attachForm(p, SIDE_RIGHT);
        attach(lastRight, SIDE_RIGHT, p);
        attachOff(lastRight, SIDE_RIGHT, 2);
        lastRight = p;
    }
    return index;
}

void KMessageWin::_wprintf(int pane, COLORREF fg, COLORREF bg, const char* format, va_list args)
{
    KProgressBar* p = this ? getPane(pane) : nullptr;
    if (!p)
        return;
    KString text;
    text._vsprint(format, args);
    // Colour and text change together, whichever thread prints.
    struct Locked {
        KMutex& m;
        explicit Locked(KMutex& mutex) : m(mutex) { m.enter(); }
        ~Locked() { m.leave(); }
    } locked(lock);
    if (fg == 0 && bg == 0) {
        fg = BUTTON_TEXT_COLOR;
        bg = BUTTON_FACE_COLOR;
    }
    if (p->getBackground() != bg)
        p->setBackground(bg, true);
    p->setForeground(fg);
    p->wprintf("%S", &text);
}

void KMessageWin::wprintf(int pane, COLORREF fg, COLORREF bg, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _wprintf(pane, fg, bg, format, args);
    va_end(args);
}

void KMessageWin::showProgress(int pane, double value)
{
    if (KProgressBar* p = getPane(pane))
        p->setValue(value);
}

int KMessageWin::getMessageLength(int pane) const
{
    KProgressBar* p = getPane(pane);
    return p ? p->getTextLength() : -1;
}
