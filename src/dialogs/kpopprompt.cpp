// The one-call prompt dialogs.
#include "kpopprompt.h"

namespace {

LOGFONTW BoldFont(const wchar_t* face)
{
    LOGFONTW lf = {};
    lf.lfHeight = -30;
    lf.lfWeight = FW_BOLD;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

// Places the field at the top left of the work area and gives it the focus.
void Place(KDialog* d, KPromptBase* field, const KString& initial)
{
    field->setText(initial);
    d->getWorkArea()->attachForm(field, SIDE_LEFT, SIDE_TOP);
    d->configureAll(false);
    field->setFocus();
}

} // namespace

KNumericDlg::KNumericDlg(KWindow* parent, const KString& title, const KString& p, int fieldWidth,
                         KString* r, int f)
    : KDialog(parent, title, 0), result(r), flags(f)
{
    KArgList none;
    init(nullptr, &none);
    promptFont = KFont(BoldFont(L"Arial"));
    textFont = KFont(BoldFont(L"Courier New"));
    KArgList args;
    args.add(WA_FONT, (HFONT)promptFont);
    args.add(WA_TEXT_FONT, (HFONT)textFont);
    args.add(WA_TEXT_CASE, 1);
    args.add(WA_TEXT_LEFT_MARGIN, 4);
    args.add(WA_TEXT_RIGHT_MARGIN, 4);
    prompt = MakeNumericPrompt(getWorkArea(), &args, p, fieldWidth);
}

KNumericDlg::~KNumericDlg() = default;

void KNumericDlg::okHandler()
{
    *result = prompt->getText();
    KDialog::okHandler();
}

void KNumericDlg::cancelHandler()
{
    result->clear();
    KDialog::cancelHandler();
}

KPromptDlg::KPromptDlg(KWindow* parent, const KString& title, const KString& p, int fieldWidth,
                       KString* r, bool isPassword)
    : KDialog(parent, title, 0), result(r)
{
    KArgList none;
    init(nullptr, &none);
    KArgList args;
    args.add(WA_IS_PASSWORD, isPassword);
    prompt = MakeEditPrompt(getWorkArea(), &args, p, fieldWidth);
}

KPromptDlg::~KPromptDlg() = default;

void KPromptDlg::okHandler()
{
    *result = prompt->getText();
    KDialog::okHandler();
}

void KPromptDlg::cancelHandler()
{
    result->clear();
    KDialog::cancelHandler();
}

KString PopGetNumber(KWindow* parent, const KString& title, const KString& prompt, int fieldWidth,
                     KString initial, int flags)
{
    auto* d = new KNumericDlg(parent, title, prompt, fieldWidth, &initial, flags);
    Place(d, d->getPrompt(), initial);
    ShowModal(d);
    return initial;
}

KString PopGetString(KWindow* parent, const KString& title, const KString& prompt, int fieldWidth,
                     KString initial, bool isPassword)
{
    auto* d = new KPromptDlg(parent, title, prompt, fieldWidth, &initial, isPassword);
    Place(d, d->getPrompt(), initial);
    ShowModal(d);
    return initial;
}

KString GetPassword(KWindow* parent)
{
    return PopGetString(parent, L"Enter Password", L"Password", 25, KString(), true);
}
