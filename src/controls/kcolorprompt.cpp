// KColorPrompt: a colour shown as the box of a prompt field, stepped through
// the custom colours or picked in the colour chooser.
#include "kcolorprompt.h"
#include "kcolordlg.h"

KColorPrompt::KColorPrompt(const KString& prompt, int promptFW, int fieldWidth, unsigned long colour)
    : KPromptBase(prompt, promptFW, fieldWidth), defaultColor(colour)
{
    textBackground = colour;
    joinTabGroup = true;
}

KColorPrompt::~KColorPrompt() = default;

KColorPrompt* MakeColorPrompt(KWindow* parent, KArgList* args, const KString& prompt, int promptFW, int fieldWidth,
                              unsigned long colour)
{
    auto* field = new KColorPrompt(prompt, promptFW, fieldWidth, colour);
    field->init(parent, args);
    return field;
}

KColorPrompt* MakeColorPrompt(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth,
                              unsigned long colour)
{
    return MakeColorPrompt(parent, args, prompt, -1, fieldWidth, colour);
}

void KColorPrompt::init(KWindow* parent, KArgList* args)
{
    KPromptBase::init(parent, args);
    setInputBackground(textBackground, true);
}

void KColorPrompt::setColor(COLORREF colour)
{
    setInputBackground(colour, true);
}

void KColorPrompt::arrowHandler(int step, bool)
{
    const int n = CustomColorOptions::NumColors;
    int next = 0;
    for (int i = 0; i < n; ++i) {
        if (CustColorOpt[i] == textBackground) {
            next = ((i + step) % n + n) % n;
            break;
        }
    }
    setColor(CustColorOpt[next]);
    changeNotify();
}

void KColorPrompt::mouseHandler(KWindow*, MouseEvent* e)
{
    if (e->type == (ME_RELEASE | ME_RIGHT)) {
        COLORREF colour = textBackground;
        if (!KColorDlg().choose(this, &colour))
            return;
        setColor(colour);
        changeNotify();
    } else if (e->type == (ME_RELEASE | ME_MIDDLE)) {
        setColor(defaultColor);
        changeNotify();
    }
}
