// KRowPack: children flow left to right in lines that the application ends.
#include "krowcol.h"
#include "kcells.h"

KRowPack::KRowPack()
    : lineBreaks(0), marginWidth(2), marginHeight(2), leftMargin(UNSET_MARGIN),
      rightMargin(UNSET_MARGIN), topMargin(UNSET_MARGIN), bottomMargin(UNSET_MARGIN),
      alignRight(false)
{
}

// The line ends go with their array.
KRowPack::~KRowPack() = default;

KRowPack* MakeRowPack(KWindow* parent, KArgList* args)
{
    auto* pack = new KRowPack;
    pack->init(parent, args);
    return pack;
}

void KRowPack::setValues(KArgList* args)
{
    KWindow::setValues(args);
    MarginFields margins{marginWidth, marginHeight, leftMargin, rightMargin, topMargin, bottomMargin};
    for (int i = 0; args && i < args->numArg(); ++i) {
        if (!margins.read(args->attr(i), args->val(i)) && args->attr(i) == WA_ALIGN_RIGHT)
            alignRight = (bool)args->val(i);
    }
    margins.resolve();
}

void KRowPack::newLine()
{
    lineBreaks.append(numChild() - 1);
}

void KRowPack::configure(bool)
{
    int x = leftMargin, y = topMargin, lineHeight = 0, line = 0, maxRight = 0, total = 0;
    KDeferPos batch(this);
    for (int i = 0; i < numChild(); ++i) {
        KWindow* c = child(i);
        // total: the bottom of the lowest line so far, plus one spacing.
        if (c->Height() > lineHeight) {
            lineHeight = c->Height();
            total = y + lineHeight + marginHeight;
        }
        batch.move(c, x, y);
        x += c->Width() + marginWidth;
        if (x > maxRight)
            maxRight = x;
        if (line < lineBreaks.count() && i == lineBreaks[line]) {
            y += lineHeight + marginHeight;
            x = leftMargin;
            ++line;
            lineHeight = 0;
        }
    }
    const int w = maxRight - marginWidth + rightMargin;
    const int h = total - marginHeight + bottomMargin;
    if (alignRight) {
        // Apply the lines first: each right-aligned child keeps the row it got.
        batch.beginDefer(this);
        for (int k = 0; k < lineBreaks.count(); ++k) {
            const int last = lineBreaks[k];
            const int before = k > 0 ? lineBreaks[k - 1] : -1;
            // A line of one child stays at the left.
            if (last - before < 2 || last >= numChild())
                continue;
            KWindow* c = child(last);
            batch.move(c, w - rightMargin - c->Width(), c->Y());
        }
    }
    resizeClient(w, h, true);
}
