// What the control tests share: a shown, active stage, real clicks, colours as Pixels gives them
// and a recorder of prompt events.
#ifndef KORVEL_TESTS_CONTROL_TESTS_H
#define KORVEL_TESTS_CONTROL_TESTS_H

#include <gtest/gtest.h>
#include <algorithm>
#include "test_support.h"

inline KWindow* Stage(WindowOwner& windows)
{
    KWindow* top = ShownPopup(windows, 100, 100, 500, 320);
    EXPECT_TRUE(Activate(*top));
    return top;
}

// A real press and release (a MOUSEEVENTF_*DOWN flag) at client point (x, y) of w, with held
// (0: none) down around it.
inline void ClickAt(HWND w, int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, WORD held = 0)
{
    SendMouseAt(w, x, y, {down, down << 1}, held);
    PumpMessages();
}

// A click into the field's text.
inline void ClickText(KPromptBase* f)
{
    const DCRect& r = f->getTextRect();
    ClickAt(*f, r.x + r.w / 2, r.y + r.h / 2);
    WaitFor([&] { return GetFocus() == f->getEditWin(); }, 2000);
}

// 0x00RRGGBB of a COLORREF, as Pixels reports it.
inline DWORD Rgb(COLORREF c) { return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

struct PromptRecorder {
    int changes = 0;
    std::vector<unsigned long> repeats; // repeat counts of the presses seen
    void changed(KWindow*, PromptEvent* e) { changes += e->reason == EN_CHANGE; }
    void pressed(KWindow*, MouseEvent* e) { repeats.push_back(e->repeatCount); }
    void attach(KPromptBase* f)
    {
        f->_addEventHandler(new PromptEventHandler<PromptRecorder>(this, 0, &PromptRecorder::changed));
    }
};

#endif
