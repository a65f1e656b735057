// Pop-up prompts answered with typed text and Enter, or cancelled with a click on Cancel, by real
// input sent from a timer while their modal loop runs.
#include <gtest/gtest.h>
#include <cctype>
#include "test_support.h"

namespace {

struct Script {
    const char* keys; // typed, then Enter; null: a click on Cancel
    std::string seen; // "title|prompt|hidden or shown|field width" of the dialog answered
    int ticks = 0;
    bool enterRefused = false; // Enter was typed once and the dialog stayed
    UINT_PTR timer = 0;
} script;

int returns = 0; // Enter seen by a field that keeps it from the dialog

// The prompt field whose edit control has the focus (it keeps its field in its user data).
KPromptBase* FocusedField()
{
    wchar_t cls[16] = L"";
    HWND edit = GetFocus();
    if (!edit || !GetClassNameW(edit, cls, 16) || _wcsicmp(cls, L"Edit") != 0)
        return nullptr;
    return reinterpret_cast<KPromptBase*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
}

void ClickCancel(KWindow* top)
{
    KLabel* cancel = dynamic_cast<KDialog*>(top)->getCancelButton();
    SendMouseAt(*cancel, cancel->width() / 2, cancel->height() / 2,
                {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD)
{
    KPromptBase* f = FocusedField();
    if (++script.ticks > 100) // never leave a dialog hanging
        PostMessageW(GetActiveWindow(), WM_CLOSE, 0, 0);
    if (!f || !f->isWindowVisible())
        return;
    KWindow* top = f->getTopLevel();
    if (returns > 0) { // Enter went to the field only: the dialog is still open
        if (!script.enterRefused)
            ClickCancel(top);
        script.enterRefused = true;
        return;
    }
    if (script.seen.size())
        return; // answered already; waiting for the dialog to react
    const bool hidden = (GetWindowLongPtrW(f->getEditWin(), GWL_STYLE) & ES_PASSWORD) != 0;
    script.seen = Narrow(top->getCaption()) + "|" + Narrow(f->getPrompt()) + "|" +
                  (hidden ? "hidden|" : "shown|") + std::to_string(f->getFieldWidth());
    if (!script.keys) {
        ClickCancel(top);
        return;
    }
    for (const char* k = script.keys; *k; ++k)
        SendKeys({(WORD)toupper((unsigned char)*k)});
    SendKeys({VK_RETURN});
}

void Start(const char* keys)
{
    script = Script();
    script.keys = keys;
    returns = 0;
    script.timer = SetTimer(nullptr, 0, 50, Answer);
}

class QuietField : public KEditPrompt {
public:
    QuietField() : KEditPrompt(L"Name", -1, 8) {}
    bool disableReturnHandler() override { return true; }
    void returnHandler() override { ++returns; }
};

class OneField : public KDialog {
public:
    explicit OneField(bool quiet) : KDialog(nullptr, L"One field", 0)
    {
        KArgList none;
        init(nullptr, &none);
        KEditPrompt* f = quiet ? new QuietField : new KEditPrompt(L"Name", -1, 8);
        f->init(getWorkArea(), &none);
        getWorkArea()->attachForm(f, SIDE_LEFT, SIDE_TOP);
        configureAll(false);
    }
};

} // namespace

TEST(PopPrompts, AnsweredOrCancelled)
{
    enum { NUMBER, STRING, PASSWORD };
    struct Case { int kind; const char* initial; const char* keys; const char* want; const char* seen; };
    const Case cases[] = {
        {NUMBER, "1F", "", "1F", "Address|Hex|shown|6"},
        {NUMBER, "1F", "ab2", "AB2", "Address|Hex|shown|6"},
        {NUMBER, "1F", nullptr, "", "Address|Hex|shown|6"},
        {STRING, "old", "new", "new", "Rename|Name|shown|12"},
        {STRING, "old", nullptr, "", "Rename|Name|shown|12"},
        {PASSWORD, "", "pw7", "pw7", "Enter Password|Password|hidden|25"},
        {PASSWORD, "", nullptr, "", "Enter Password|Password|hidden|25"},
    };
    const int held = GetLibraryGDIObjectCount();
    for (const Case& c : cases) {
        Start(c.keys);
        const KString initial(c.initial);
        KString got;
        if (c.kind == NUMBER)
            got = PopGetNumber(nullptr, L"Address", L"Hex", 6, initial, 0);
        else if (c.kind == STRING)
            got = PopGetString(nullptr, L"Rename", L"Name", 12, initial, false);
        else
            got = GetPassword(nullptr);
        KillTimer(nullptr, script.timer);
        const std::string what = Format("%d %s", c.kind, c.keys ? c.keys : "(cancel)");
        EXPECT_EQ(c.want, Narrow(got)) << what;
        EXPECT_EQ(c.seen, script.seen) << what;
    }
    EXPECT_EQ(held, GetLibraryGDIObjectCount()) << "the large fonts go with their dialog";
}

TEST(PopPrompts, EnterInAFieldIsOkUnlessTheFieldKeepsIt)
{
    struct Case { bool quiet, ok, refused; };
    const Case cases[] = {{false, true, false}, {true, false, true}};
    for (const Case& c : cases) {
        Start("x");
        EXPECT_EQ(c.ok, ShowModal(new OneField(c.quiet))) << c.quiet;
        KillTimer(nullptr, script.timer);
        EXPECT_EQ(c.refused, script.enterRefused) << c.quiet;
        EXPECT_EQ(c.quiet ? 1 : 0, returns);
    }
}
