// Real keyboard and mouse input for the tests, through SendInput: under Wine
// it travels through the X server and comes back as the events a user makes.
#include "test_support.h"

namespace {

void Send(INPUT in)
{
    SendInput(1, &in, sizeof(in));
}

INPUT Key(WORD vk, DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki = {vk, 0, flags, 0, 0};
    return in;
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi = {dx, dy, data, flags, 0, 0};
    return in;
}

} // namespace

void SendKeys(std::initializer_list<WORD> keys)
{
    for (WORD k : keys)
        Send(Key(k, 0));
    for (auto k = keys.end(); k != keys.begin();)
        Send(Key(*--k, KEYEVENTF_KEYUP));
}

void PressKeys(std::initializer_list<WORD> keys)
{
    SendKeys(keys);
    PumpMessages();
}

void MovePointer(int x, int y)
{
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    Send(Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65535 + w / 2) / (w - 1),
               (y * 65535 + h / 2) / (h - 1)));
    WaitFor([&] {
        POINT p;
        return GetCursorPos(&p) && p.x == x && p.y == y;
    }, 2000);
}

void MouseButtons(std::initializer_list<DWORD> buttonFlags)
{
    for (DWORD f : buttonFlags)
        Send(Mouse(f));
    PumpMessages();
}

void Wheel(int delta)
{
    Send(Mouse(MOUSEEVENTF_WHEEL, 0, 0, (DWORD)delta));
    PumpMessages();
}

bool Activate(HWND w)
{
    SetForegroundWindow(w);
    SetActiveWindow(w);
    SetFocus(w);
    return WaitFor([&] { return GetActiveWindow() == w && GetFocus() == w; }, 3000);
}

void SendMouseAt(HWND w, int x, int y, std::initializer_list<DWORD> buttonFlags, WORD heldKey)
{
    POINT p = {x, y};
    ClientToScreen(w, &p);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    Send(Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (p.x * 65535 + sw / 2) / (sw - 1),
               (p.y * 65535 + sh / 2) / (sh - 1)));
    if (heldKey)
        Send(Key(heldKey, 0));
    for (DWORD f : buttonFlags)
        Send(Mouse(f));
    if (heldKey)
        Send(Key(heldKey, KEYEVENTF_KEYUP));
}
