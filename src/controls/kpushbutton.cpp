// KPushButton: a label whose border sinks while a mouse button is held on it.
#include "klabel.h"

KPushButton::KPushButton(const KString& t) : KLabel(KString(), -1)
{
    text = t;
    edgeStyle = EDGE_RAISED;
}

KPushButton::~KPushButton() = default;

KPushButton* MakePushButton(KWindow* parent, KArgList* args, const KString& text)
{
    auto* button = new KPushButton(text);
    button->init(parent, args);
    return button;
}

KPushButton* MakePushButtonF(KWindow* parent, KArgList* args, const char* format, ...)
{
    KString text;
    va_list list;
    va_start(list, format);
    text._vsprint(format, list);
    va_end(list);
    return MakePushButton(parent, args, text);
}

void KPushButton::init(KWindow* parent, KArgList* args)
{
    KLabel::init(parent, args);
    _addEventHandler(new MouseEventHandler<KPushButton>(this, &KPushButton::buttonHandler, 451));
}

void KPushButton::buttonHandler(KWindow*, MouseEvent* e)
{
    // setShadowStyle repaints the border at once, before the event goes out.
    if (e->type & ME_PRESS) {
        state = true;
        setShadowStyle(EDGE_SUNKEN);
    } else if (e->type & ME_RELEASE) {
        state = false;
        setShadowStyle(EDGE_RAISED);
    }
    PushButtonEvent pushed;
    pushed.button = this;
    pushed.state = state;
    callHandlers(&pushed);
}
