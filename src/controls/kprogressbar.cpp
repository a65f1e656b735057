// KProgressBar: a sunken label that fills from the left to a percentage.
#include "klabel.h"
#include "kgraphics.h"

KProgressBar::KProgressBar() : KLabel(KString(), -1)
{
    edgeStyle = EDGE_SUNKEN;
}

KProgressBar::~KProgressBar() = default;

KProgressBar* MakeProgressBar(KWindow* parent, KArgList* args)
{
    auto* bar = new KProgressBar;
    bar->init(parent, args);
    return bar;
}

void KProgressBar::setValue(double percent)
{
    value = percent;
    drawProgress();
}

void KProgressBar::drawProgress()
{
    if (!hwnd || !(value >= 0.0 && value <= 100.0))
        return;
    // Composed off screen and copied in one piece, so the bar never flickers.
    KWinDC window(this);
    KMemDC picture(&window, clientWidth, clientHeight);
    picture.setBkColor(BUTTON_FACE_COLOR);
    picture.clear();
    picture.setFont(font);
    picture.setTextColor(0);
    picture.setBkMode(TRANSPARENT);
    picture.fillRect(DCRect(0, 0, (int)(value / 100.0 * clientWidth), clientHeight), 0xFFFF80);
    picture.setAlign(0, 0);
    picture.wprintf((int)clientWidth / 2, (int)clientHeight / 2, "%3d%%", (int)value);
    window.bitBlt(DCRect(0, 0, clientWidth, clientHeight), picture, KPOINT{0, 0}, SRCCOPY);
}
