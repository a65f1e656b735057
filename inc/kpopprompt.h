// One-call prompts: a small modal dialog asking for one value.
//
//     KString n = PopGetNumber(main, L"Address", L"Hex", 8, L"1F00", 0);
//     if (n.isNull()) return;                       // cancelled
//     KString name = PopGetString(main, L"Rename", L"Name", 20, oldName, false);
//     KString secret = GetPassword(main);           // hidden, 25 characters
//
// Each returns the field's text when the user confirmed (OK, or Enter in the
// field), and an empty string when the user cancelled. Confirming without
// typing returns the initial text, with which the field is preset.
#ifndef KORVEL_KPOPPROMPT_H
#define KORVEL_KPOPPROMPT_H

#include "kdialog.h"
#include "kprompt.h"

// A dialog with one hexadecimal field in large bold type.
class KORVEL_API KNumericDlg : public KDialog {
public:
    KNumericDlg(KWindow* parent, const KString& title, const KString& prompt, int fieldWidth,
                KString* result, int flags);
    ~KNumericDlg() override;
    void okHandler() override;
    void cancelHandler() override;
    KNumericPrompt* getPrompt() const { return prompt; }

private:
    KNumericPrompt* prompt = nullptr; // a child window of the dialog
    KString* result;
    int flags; // kept for the caller; no behaviour depends on it
    KFont promptFont, textFont; // deleted with the dialog
};

// A dialog with one text field, its characters hidden for a password.
class KORVEL_API KPromptDlg : public KDialog {
public:
    KPromptDlg(KWindow* parent, const KString& title, const KString& prompt, int fieldWidth,
               KString* result, bool isPassword);
    ~KPromptDlg() override;
    void okHandler() override;
    void cancelHandler() override;
    KEditPrompt* getPrompt() const { return prompt; }

private:
    KEditPrompt* prompt = nullptr;
    KString* result;
};

KORVEL_API KString PopGetNumber(KWindow* parent, const KString& title, const KString& prompt,
                                int fieldWidth, KString initial, int flags);
KORVEL_API KString PopGetString(KWindow* parent, const KString& title, const KString& prompt,
                                int fieldWidth, KString initial, bool isPassword);
// "Enter Password" / "Password", 25 characters, hidden.
KORVEL_API KString GetPassword(KWindow* parent);

#endif
