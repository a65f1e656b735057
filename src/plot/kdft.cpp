// DFT: the direct sum. No fast algorithm and no table of factors: every term
// takes its own sine and cosine, so the outputs equal the plain sum exactly.
#include "kdft.h"
#include "kdiag.h"
#include <math.h>

static const double PI = 3.141592653589793;

DFT::DFT(int n) : N(n), data(n > 0 ? n : 0), dft(n >= 0 ? n + 1 : 0)
{
    KDebug trace("DFT::DFT(N=%d)\n", N);
}

void DFT::compute(double F)
{
    KDebug trace("DFT::compute(N=%d F=%f)\n", N, F);
    trace.print("data.size()=%d\n", data.count());
    trace.print("dft.size()=%d\n", dft.count());
    if (N < 1)
        return;
    const double w = 2 * F * PI / N;
    const int h = N / 2;
    for (int k = -h; k < h; ++k) {
        complex sum = {0.0, 0.0};
        for (int n = 0; n < N; ++n) {
            const complex& x = data[n];
            const double theta = n * (k * w);
            const double c = cos(theta), s = sin(theta);
            sum.re += x.re * c + x.im * s;
            sum.im += x.im * c - x.re * s;
        }
        dft[k + h] = sum;
    }
    if (F <= 0)
        return;
    for (int i = 0; i <= N; ++i) {
        dft[i].re /= N;
        dft[i].im /= N;
    }
}
