// The simple prompt fields: edit, hexadecimal and label-style, and their
// factories.
#include "kprompt.h"

KEditPrompt::KEditPrompt(const KString& p, int pfw, int width) : KPromptBase(p, pfw, width)
{
    hasEdit = true;
    iconExtra = false;
}

KEditPrompt::~KEditPrompt() = default;

void KEditPrompt::init(KWindow* parent, KArgList* args)
{
    KPromptBase::init(parent, args);
}

KNumericPrompt::KNumericPrompt(const KString& p, int pfw, int width) : KEditPrompt(p, pfw, width) {}

KNumericPrompt::~KNumericPrompt() = default;

bool KNumericPrompt::isValidChar(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

KPromptLab::KPromptLab(const KString& p, int pfw, int width) : KPromptBase(p, pfw, width)
{
    iconExtra = false;
    joinTabGroup = false;
}

KPromptLab::~KPromptLab() = default;

void KPromptLab::init(KWindow* parent, KArgList* args)
{
    KPromptBase::init(parent, args);
    enterLeaveEnabled = false;
}

KEditPrompt* MakeEditPrompt(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                            int fieldWidth)
{
    auto* field = new KEditPrompt(prompt, promptFW, fieldWidth);
    field->init(parent, args);
    return field;
}

KEditPrompt* MakeEditPrompt(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth)
{
    return MakeEditPrompt(parent, args, prompt, -1, fieldWidth);
}

KNumericPrompt* MakeNumericPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                  int promptFW, int fieldWidth)
{
    auto* field = new KNumericPrompt(prompt, promptFW, fieldWidth);
    field->init(parent, args);
    return field;
}

KNumericPrompt* MakeNumericPrompt(KWindow* parent, KArgList* args, const KString& prompt,
                                  int fieldWidth)
{
    return MakeNumericPrompt(parent, args, prompt, -1, fieldWidth);
}

KPromptLab* MakePromptLab(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                          int fieldWidth)
{
    auto* field = new KPromptLab(prompt, promptFW, fieldWidth);
    field->init(parent, args);
    return field;
}

KPromptLab* MakePromptLab(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth)
{
    return MakePromptLab(parent, args, prompt, -1, fieldWidth);
}
