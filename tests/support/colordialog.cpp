// The Windows colour dialog answered by real input from a thread timer, which
// the dialog's own loop dispatches.
#include "test_support.h"
#include <colordlg.h>

namespace {

ColorDialogAnswer want;
ColorDialogSeen seen;
int ticks = 0;

BOOL CALLBACK FindColor(HWND hwnd, LPARAM data)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && GetDlgItem(hwnd, COLOR_RED)) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A real click at the middle of a control, without pumping messages.
void ClickControl(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    INPUT in[3] = {};
    for (INPUT& i : in)
        i.type = INPUT_MOUSE;
    in[0].mi.dx = (x * 65535 + w / 2) / (w - 1);
    in[0].mi.dy = (y * 65535 + h / 2) / (h - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

void SetField(HWND dlg, int id, int value)
{
    SetDlgItemInt(dlg, id, (UINT)value, FALSE);
}

void CALLBACK Step(HWND, UINT, UINT_PTR id, DWORD)
{
    const HWND dlg = FindColorDialog();
    if (!dlg) {
        if (++ticks > 200) // 10 s without a dialog: give up
            KillTimer(nullptr, id);
        return;
    }
    seen.found = true;
    ++ticks;
    if (ticks == 2) {
        SetForegroundWindow(dlg);
        SetField(dlg, COLOR_RED, GetRValue(want.colour));
        SetField(dlg, COLOR_GREEN, GetGValue(want.colour));
        SetField(dlg, COLOR_BLUE, GetBValue(want.colour));
    } else if (ticks == 4 && want.addCustom) {
        ClickControl(GetDlgItem(dlg, COLOR_ADD));
    } else if (ticks == 6) {
        if (want.custom)
            memcpy(seen.custom, want.custom, sizeof(seen.custom));
        ClickControl(GetDlgItem(dlg, want.ok ? IDOK : IDCANCEL));
    } else if (ticks >= 60) { // the click did not close it: never hang the test
        KillTimer(nullptr, id);
        seen.forced = true;
        PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

HWND FindColorDialog()
{
    HWND dlg = nullptr;
    EnumWindows(FindColor, reinterpret_cast<LPARAM>(&dlg));
    return dlg;
}

void AnswerColorDialog(const ColorDialogAnswer& answer)
{
    want = answer;
    seen = ColorDialogSeen();
    ticks = 0;
    SetTimer(nullptr, 0, 50, Step);
}

const ColorDialogSeen& ColorDialogResult()
{
    return seen;
}
