// KColorPrompt: a prompt field whose value is a colour, shown as the colour
// of its box. Up and Down step through the sixteen custom colours of the
// colour chooser (wrapping at both ends); a right click opens the chooser on
// the current colour, a middle click puts the default colour back. Every
// change is reported as a PromptEvent and marks the field modified.
//
//     KArgList none;
//     KColorPrompt* trace = MakeColorPrompt(form, &none, L"Trace", 6, RGB(255, 0, 0));
//     trace->_addEventHandler(new PromptEventHandler<Panel>(this, 0, &Panel::colourChanged));
//     plot->setPenColor(trace->getColor());
#ifndef KORVEL_KCOLORPROMPT_H
#define KORVEL_KCOLORPROMPT_H

#include "kprompt.h"

class KORVEL_API KColorPrompt : public KPromptBase {
public:
    KColorPrompt(const KString& prompt, int promptFW, int fieldWidth, unsigned long defaultColor);
    ~KColorPrompt() override;
    void init(KWindow* parent, KArgList* args);

    // Shows the colour; reports nothing.
    void setColor(COLORREF colour);
    COLORREF getColor() const { return textBackground; }
    COLORREF getDefaultColor() const { return defaultColor; }

    // Steps through the custom colours: Up (1) forward, Down (-1) back.
    void arrowHandler(int step, bool shift) override;
    void mouseHandler(KWindow* w, MouseEvent* e) override;

private:
    unsigned long defaultColor;
};

KORVEL_API KColorPrompt* MakeColorPrompt(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                                         int fieldWidth, unsigned long colour);
KORVEL_API KColorPrompt* MakeColorPrompt(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth,
                                         unsigned long colour);

#endif
