// Progress in the status strip: 100,000 mshow_progress updates of a main
// window's status pane against the same number of PBM_SETPOS updates of a
// native progress bar of the same size, side by side in one run (best of
// alternating rounds). Both repaint at once (UpdateWindow), as a busy loop
// that shows its progress has to.
#include "bench_app.h"
#include <commctrl.h>
#include <stdio.h>
#include <algorithm>

namespace {

const int Updates = 100000, Rounds = 5, PerRound = Updates / Rounds;

struct Main : KMainWin {
    Main() : KMainWin(L"Progress Bench")
    {
        KArgList args;
        args.add(WA_MESSAGE_BOX, true);
        args.add(WA_CLIENT_WIDTH, 400);
        args.add(WA_CLIENT_HEIGHT, 100);
        init(nullptr, &args);
    }
};

int RunBench()
{
    Main* m = new Main;
    m->configureAll(false);
    m->show(true);
    KProgressBar* pane = m->getMessageWin()->getPane(0);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HWND native = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, pane->Width(),
                                  pane->Height(), *m->mainForm(), nullptr, nullptr, nullptr);
    SendMessageW(native, PBM_SETRANGE32, 0, 100);
    double library = 1e9, raw = 1e9;
    for (int r = 0; r < Rounds; ++r) {
        double start = get_time();
        for (int i = 0; i < PerRound; ++i) {
            m->mshow_progress(0, i % 101);
            UpdateWindow(*pane);
        }
        library = std::min(library, get_time() - start);
        start = get_time();
        for (int i = 0; i < PerRound; ++i) {
            SendMessageW(native, PBM_SETPOS, i % 101, 0);
            UpdateWindow(native);
        }
        raw = std::min(raw, get_time() - start);
    }
    printf("%d progress updates in %d rounds on each side\n", Updates, Rounds);
    printf("  mshow_progress (status pane) : best %10.0f updates/s\n", PerRound / library);
    printf("  PBM_SETPOS (native bar)      : best %10.0f updates/s\n", PerRound / raw);
    printf("  time ratio library / native: %.2f (target <= 1.5)\n", library / raw);
    DestroyWindow(native);
    delete m;
    return 0;
}

BenchApp app(L"Progress Bench", RunBench);

} // namespace
