// Layout speed: forms of 10, 100, 500 and 1,000 children, chained left to
// right by widget attachments and placed vertically at fractions of the form.
// For each size, in one run: solving both directions along the chains, the
// dense elimination of the same equations (up to 500 children: it is cubic),
// moving the children in the library's batch, and moving them with a raw
// DeferWindowPos batch; each the best of several rounds.
#include "bench_app.h"
#include <stdio.h>
#include <vector>

namespace {

struct BenchForm : KForm {
    using KForm::_computeConfig;
    using KForm::init;
};

void Measure(KWindow* stage, int n)
{
    auto* form = new BenchForm;
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 8000);
    args.add(WA_CLIENT_HEIGHT, 600);
    form->init(stage, &args);
    for (int i = 0; i < n; ++i) {
        KArgList c;
        c.add(WA_WIDTH, 6);
        c.add(WA_HEIGHT, 20);
        KWindow* w = MakeWindow(form, &c);
        if (i == 0)
            form->attachForm(w, SIDE_LEFT);
        else
            form->attach(w, SIDE_LEFT, form->child(i - 1));
        form->attachOff(w, SIDE_LEFT, 2);
        form->attachFrac(w, SIDE_TOP, (i % 25) / 25.0);
    }
    KMatrix<double> H, V;
    const int rounds = n <= 100 ? 20 : 5;
    const double chains = Best(rounds, [&] {
        form->_computeConfig(H, HORIZONTAL);
        form->_computeConfig(V, VERTICAL);
    });
    double dense = -1;
    if (n <= 500)
        dense = Best(n <= 100 ? rounds : 1, [&] {
            KMatrix<double> h, v;
            form->_computeConfig(h, HORIZONTAL, true);
            form->_computeConfig(v, VERTICAL, true);
        });
    std::vector<RECT> rects((size_t)n);
    for (int i = 0; i < n; ++i)
        rects[(size_t)i] = RECT{(LONG)H(2 * i, 0), (LONG)V(2 * i, 0), (LONG)(H(2 * i + 1, 0) - H(2 * i, 0) + 1),
                                (LONG)(V(2 * i + 1, 0) - V(2 * i, 0) + 1)};
    int shift = 0;
    const double library = Best(rounds, [&] {
        KDeferPos batch(form);
        ++shift;
        for (int i = 0; i < n; ++i)
            batch.move(form->child(i), rects[(size_t)i].left, rects[(size_t)i].top + shift % 2,
                       rects[(size_t)i].right, rects[(size_t)i].bottom);
    });
    const double raw = Best(rounds, [&] {
        HDWP batch = BeginDeferWindowPos(n);
        ++shift;
        for (int i = 0; i < n; ++i)
            batch = DeferWindowPos(batch, form->child(i)->getWindow(), nullptr, rects[(size_t)i].left,
                                   rects[(size_t)i].top + shift % 2, rects[(size_t)i].right,
                                   rects[(size_t)i].bottom, SWP_NOCOPYBITS | SWP_NOZORDER);
        EndDeferWindowPos(batch);
    });
    char denseText[32] = "        -";
    if (dense >= 0)
        snprintf(denseText, sizeof(denseText), "%9.2f", dense);
    printf("%5d children: solve %8.3f ms  dense %s ms  library move %8.2f ms  raw move %8.2f ms"
           "  solve / move %.3f\n",
           n, chains, denseText, library, raw, chains / library);
    delete form;
}

int RunBench()
{
    KArgList top;
    top.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    top.add(WA_WIDTH, 800);
    top.add(WA_HEIGHT, 600);
    KWindow* stage = MakeWindow(nullptr, &top);
    stage->show(true);
    printf("Forms of chained children; best of several rounds (target: at 1000 children the\n"
           "solving takes no longer than the moving)\n");
    for (int n : {10, 100, 500, 1000})
        Measure(stage, n);
    delete stage;
    return 0;
}

BenchApp app(L"Layout Bench", RunBench);

} // namespace
