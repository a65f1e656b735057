// KFrame: a group box round its children, with an etched border interrupted
// by the title.
#include "kframe.h"
#include "kgraphics.h"

KFrame::KFrame() : font(DEFAULT_VAR_FONT) {}

KFrame::~KFrame() = default;

KFrame* MakeFrame(KWindow* parent, KArgList* args)
{
    auto* frame = new KFrame;
    frame->init(parent, args);
    return frame;
}

KFrame* MakeFrame(KWindow* parent, KArgList* args, const char* format, ...)
{
    auto* frame = new KFrame;
    va_list list;
    va_start(list, format);
    frame->text._vsprint(format, list);
    va_end(list);
    frame->init(parent, args);
    return frame;
}

void KFrame::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ExposeEventHandler<KFrame>(this, &KFrame::exposeHandler));
    _addEventHandler(new ResizeEventHandler<KFrame>(this, &KFrame::resizeHandler));
}

void KFrame::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        if (a == WA_TEXT)
            text = (const wchar_t*)args->val(i);
        else if (a == WA_MARGIN_WIDTH)
            marginWidth = (int)args->val(i);
        else if (a == WA_DRAW_FRAME)
            drawFrame = (bool)args->val(i);
    }
}

void KFrame::setText(const wchar_t* title)
{
    text = title;
    clear();
    draw();
}

void KFrame::wprintf(const char* format, ...)
{
    va_list list;
    va_start(list, format);
    text._vsprint(format, list);
    va_end(list);
    clear();
    draw();
}

void KFrame::configure(bool)
{
    const int m = marginWidth;
    int w = 0, h = 0;
    for (int i = 0; i < numChild(); ++i) {
        w = child(i)->Width() > w ? child(i)->Width() : w;
        h = child(i)->Height() > h ? child(i)->Height() : h;
    }
    titleHeight = 0;
    if (text.notNull()) {
        KWinDC dc(this);
        dc.setFont(font);
        dc.stringExtent(text, nullptr, &titleHeight);
    }
    resizing = true;
    resizeClient(w + 4 * m, h + titleHeight + 4 * m, true);
    resizing = false;
    for (int i = 0; i < numChild(); ++i)
        child(i)->move(2 * m, titleHeight + 2 * m);
}

void KFrame::resizeHandler(KWindow*, ResizeEvent*)
{
    if (resizing)
        return;
    const int m = marginWidth;
    KDeferPos batch(this);
    for (int i = 0; i < numChild(); ++i)
        batch.move(child(i), 2 * m, 2 * m + titleHeight, clientWidth - 4 * m, clientHeight - titleHeight - 4 * m);
}

void KFrame::exposeHandler(KWindow*, ExposeEvent*)
{
    draw();
}

void KFrame::draw()
{
    const int m = marginWidth;
    KWinDC dc(this);
    int x = 2 * m + 1;
    if (drawFrame) {
        dc.drawShadow(DCRect(m - 1, m + titleHeight / 2 - 1, clientWidth - 2 * m + 2,
                             clientHeight - 2 * m - titleHeight / 2 + 2),
                      EDGE_ETCHED, 2);
        x = 20;
    }
    if (text.isNull())
        return;
    // Opaque on the background, so that the title interrupts the border.
    dc.setFont(font);
    dc.setBkMode(OPAQUE);
    dc.setBkColor(background);
    dc.setTextColor(foreground);
    dc.setAlign(1, 4);
    KString title;
    title.set(" %S ", &text);
    dc.textOut(x, m, title);
}
