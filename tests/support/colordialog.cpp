// The Windows colour dialog answered by real clicks from a thread timer, which
// the dialog's own loop dispatches.
#include "test_support.h"
#include <colordlg.h>

namespace {

ColorDialogAnswer want;
ColorDialogSeen seen;
int ticks = 0;

void ClickControl(HWND dlg, int id)
{
    const HWND control = GetDlgItem(dlg, id);
    RECT r;
    GetClientRect(control, &r);
    SendMouseAt(control, r.right / 2, r.bottom / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void CALLBACK Step(HWND, UINT, UINT_PTR id, DWORD)
{
    const HWND dlg = FindMessageBox(COLOR_RED);
    ++ticks;
    if (dlg && !seen.found)
        seen.found = true, ticks = 1;
    if (!seen.found && ticks < 200) // waits 10 s for the dialog
        return;
    if (dlg && ticks == 2) {
        SetForegroundWindow(dlg);
        SetDlgItemInt(dlg, COLOR_RED, GetRValue(want.colour), FALSE);
        SetDlgItemInt(dlg, COLOR_GREEN, GetGValue(want.colour), FALSE);
        SetDlgItemInt(dlg, COLOR_BLUE, GetBValue(want.colour), FALSE);
    } else if (dlg && ticks == 4 && want.addCustom) {
        ClickControl(dlg, COLOR_ADD);
    } else if (dlg && ticks == 6) {
        memcpy(seen.custom, CustColorOpt.getColors(), sizeof(seen.custom));
        ClickControl(dlg, want.ok ? IDOK : IDCANCEL);
    } else if (!dlg || ticks >= 60) { // gone, or the clicks did not close it: never hang a test
        KillTimer(nullptr, id);
        seen.forced = dlg != nullptr;
        if (dlg)
            PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

void AnswerColorDialog(const ColorDialogAnswer& answer)
{
    want = answer, seen = ColorDialogSeen(), ticks = 0;
    SetTimer(nullptr, 0, 50, Step);
}

const ColorDialogSeen& ColorDialogResult() { return seen; }
