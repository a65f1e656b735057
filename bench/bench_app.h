// Benchmarks that need windows run inside a real application: the library's
// WinMain registers the window classes and calls main(), which runs the
// benchmark and ends the message loop with its result as the exit code.
//     BenchApp app(L"Dispatch Bench", RunBench);
#ifndef KORVEL_BENCH_APP_H
#define KORVEL_BENCH_APP_H

#include <korvel.h>

class BenchApp : public KAppClass {
public:
    BenchApp(const wchar_t* title, int (*run)()) : title(title), run(run) {}
    KString appTitle() override { return KString(title); }
    void main() override
    {
        const int code = run();
        setExitCode(code);
        PostQuitMessage(code);
    }

private:
    const wchar_t* title;
    int (*run)();
};

// The best time of rounds calls of f, in milliseconds.
template <class F>
double Best(int rounds, F f)
{
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const double start = get_time();
        f();
        const double t = get_time() - start;
        best = t < best ? t : best;
    }
    return best * 1000;
}

#endif
