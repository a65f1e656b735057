// Dispatch speed: WM_MOUSEMOVE messages sent to a library window with a
// chain of three mouse handlers, against a raw window procedure that does the
// same work (decodes the position, the button bits and the modifier keys
// into an event record and offers it to three handlers through their masks),
// measured side by side in one run.
//
// The two sides run in alternating rounds; the best round of each counts.
// The program starts in the library's WinMain (window classes registered),
// runs in the application's main() and ends the message loop with exit code
// 0 when both sides saw every message.
#include "bench_app.h"
#include <stdio.h>

namespace {

const int Messages = 1000000;
const int Rounds = 10;
const int PerRound = Messages / Rounds;

// --- the library side ---------------------------------------------------------

class Target : public KWindow {
public:
    static Target* make()
    {
        auto* t = new Target;
        KArgList args;
        args.add(WA_WIDTH, 100);
        args.add(WA_HEIGHT, 100);
        t->init(nullptr, &args);
        // Moves with or without the left button (72 | 4), moves without a
        // button (4), and every mouse event.
        t->_addEventHandler(new MouseEventHandler<Target>(t, &Target::dragged, 72 | 4));
        t->_addEventHandler(new MouseEventHandler<Target>(t, &Target::moved, 4));
        t->_addEventHandler(new MouseEventHandler<Target>(t, &Target::any, ~0ul));
        return t;
    }
    long drags = 0, moves = 0, all = 0;

private:
    void dragged(KWindow*, MouseEvent* e) { drags += e->x; }
    void moved(KWindow*, MouseEvent* e) { moves += e->y; }
    void any(KWindow*, MouseEvent*) { ++all; }
};

// --- the raw side --------------------------------------------------------------

struct RawEvent {
    long x, y;
    unsigned long type, modifiers;
};

struct RawHandler {
    unsigned long mask;
    void (*call)(const RawEvent&);
};

long rawDrags = 0, rawMoves = 0, rawAll = 0;

const RawHandler RawChain[] = {
    {72 | 4, [](const RawEvent& e) { rawDrags += e.x; }},
    {4, [](const RawEvent& e) { rawMoves += e.y; }},
    {~0ul, [](const RawEvent&) { ++rawAll; }},
};

LRESULT CALLBACK RawProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_MOUSEMOVE)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    RawEvent e;
    e.x = (short)LOWORD(lParam);
    e.y = (short)HIWORD(lParam);
    e.modifiers = ((wParam >> 2) & 3) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    e.type = (wParam & MK_LBUTTON) ? 72 : (wParam & MK_MBUTTON) ? 136 : (wParam & MK_RBUTTON) ? 264 : 4;
    for (const RawHandler& h : RawChain)
        if ((h.mask & e.type) == e.type)
            h.call(e);
    return 0;
}

HWND MakeRawWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RawProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Raw Dispatch Bench";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// Sends one round of moves without a button (a drag would reach the library
// window's handlers only after a press in it); returns the seconds it took.
double Round(HWND to, int first)
{
    const double start = get_time();
    for (int i = first; i < first + PerRound; ++i)
        SendMessageW(to, WM_MOUSEMOVE, 0, MAKELPARAM(i % 97, i % 89));
    return get_time() - start;
}

int RunBench()
{
    Target* library = Target::make();
    HWND raw = MakeRawWindow();
    double bestLibrary = 1e9, bestRaw = 1e9;
    for (int r = 0; r < Rounds; ++r) {
        const double l = Round(*library, r * PerRound);
        const double w = Round(raw, r * PerRound);
        bestLibrary = l < bestLibrary ? l : bestLibrary;
        bestRaw = w < bestRaw ? w : bestRaw;
    }
    printf("%d WM_MOUSEMOVE messages in %d rounds, sent to each side\n", Messages, Rounds);
    printf("  library window, 3 handlers : best %10.0f messages/s\n", PerRound / bestLibrary);
    printf("  raw window procedure       : best %10.0f messages/s\n", PerRound / bestRaw);
    printf("  time ratio library / raw: %.2f (target <= 1.5)\n", bestLibrary / bestRaw);
    const bool same = library->drags == rawDrags && library->moves == rawMoves &&
                      library->all == Messages && rawAll == Messages;
    if (!same)
        printf("  the two sides saw different events: %ld/%ld/%ld against %ld/%ld/%ld\n",
               library->drags, library->moves, library->all, rawDrags, rawMoves, rawAll);
    DestroyWindow(raw);
    delete library;
    return same ? 0 : 1;
}

BenchApp app(L"Dispatch Bench", RunBench);

} // namespace
