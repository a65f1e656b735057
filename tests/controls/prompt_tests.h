// What the prompt-field and spin-field tests share: a shown stage, real clicks
// into a field, and a recorder of its events.
#ifndef KORVEL_TESTS_PROMPT_TESTS_H
#define KORVEL_TESTS_PROMPT_TESTS_H

#include <gtest/gtest.h>
#include "test_support.h"

inline KWindow* PromptStage(WindowOwner& windows)
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_CLIENT_WIDTH, 500);
    args.add(WA_CLIENT_HEIGHT, 200);
    KWindow* top = windows.own(MakeWindow(nullptr, &args));
    top->show(true);
    Activate(*top);
    PumpMessages();
    return top;
}

// A real press and release of a button (a MOUSEEVENTF_*DOWN flag) at (x, y) of w.
inline void ClickAt(KWindow* w, int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, WORD held = 0)
{
    SendMouseAt(*w, x, y, {down, down << 1}, held);
    PumpMessages();
}

// A click into the middle of the field's text.
inline void ClickText(KPromptBase* f)
{
    const DCRect& r = f->getTextRect();
    ClickAt(f, r.x + r.w / 2, r.y + r.h / 2);
    WaitFor([&] { return GetFocus() == f->getEditWin(); }, 2000);
}

struct PromptRecorder {
    int changes = 0;
    std::vector<unsigned long> repeats; // repeat counts of the presses seen
    void changed(KWindow*, PromptEvent* e) { changes += e->reason == EN_CHANGE; }
    void pressed(KWindow*, MouseEvent* e) { repeats.push_back(e->repeatCount); }
    void attach(KPromptBase* f) { f->_addEventHandler(new PromptEventHandler<PromptRecorder>(this, 0, &PromptRecorder::changed)); }
};

#endif
