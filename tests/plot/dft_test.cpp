// The Fourier transform against one written here (radix 2, the plain sum for odd lengths), the
// round trip, the small cases and the trace.
#include <gtest/gtest.h>
#include <complex>
#include "test_support.h"

typedef std::complex<double> C;

static std::vector<C> Fft(const std::vector<C>& a)
{
    const size_t n = a.size(), odd = n % 2;
    std::vector<C> out(n), half[2];
    for (size_t i = 0; i < n && !odd; ++i)
        half[i % 2].push_back(a[i]);
    for (size_t m = 0; m < n; ++m)
        for (size_t i = 0; i < n && odd; ++i)
            out[m] += a[i] * std::polar(1.0, -2 * M_PI * (double)(i * m % n) / (double)n);
    if (odd)
        return out;
    half[0] = Fft(half[0]), half[1] = Fft(half[1]);
    for (size_t k = 0; k < n / 2; ++k) {
        const C t = std::polar(1.0, -2 * M_PI * (double)k / (double)n) * half[1][k];
        out[k] = half[0][k] + t, out[k + n / 2] = half[0][k] - t;
    }
    return out;
}

static C Out(DFT& t, int i) { return C(t[i].re, t[i].im); }

TEST(Transform, AgainstFftAndPlainSumBackSmallCasesAndTrace)
{
    Random r(77);
    for (int N : {8, 64, 1024, 7, 63}) {
        DFT t(N), back(N);
        std::vector<C> x;
        for (int n = 0; n < N; ++n) {
            x.push_back(C((int)r.below(2001) / 1000.0 - 1, (int)r.below(2001) / 1000.0 - 1));
            t(n) = complex{x.back().real(), x.back().imag()};
        }
        const std::vector<C> want = Fft(x);
        const int h = N / 2;
        double peak = 0, worst = 0, again = 0;
        for (const C& c : want)
            peak = std::max(peak, std::abs(c) / N);
        t.compute(1.0);
        for (int i = 0; i < 2 * h; ++i) // output h is the frequency 0
            worst = std::max(worst, std::abs(Out(t, i) - want[(size_t)((i - h + N) % N)] / (double)N));
        EXPECT_LE(worst, 1e-9 * peak) << N;
        EXPECT_EQ((std::vector<double>{N + 1.0, -0.5, 0.5}),
                  (std::vector<double>{(double)t.numFreq(), t.getFreq(0), t.getFreq(N)}));
        // Back: the outputs with their centring undone, summed with the opposite sign.
        for (int n = 0; n < N; ++n)
            back(n) = t[(n + h) % N];
        back.compute(-1.0);
        for (int n = 0; n < N && N % 2 == 0; ++n)
            again = std::max(again, std::abs(Out(back, (n + h) % N) - x[(size_t)n]));
        EXPECT_LE(again, 1e-9) << "round trip " << N;
    }
    // Four ones forward: only the frequency 0; one impulse backward: flat and not scaled. The last
    // output, not summed, keeps its value, scaled by a forward run.
    struct Case { int ones; double F; std::vector<C> want; };
    for (const Case& c : {Case{4, 1.0, {0, 0, 1, 0, {2, -4}}}, Case{1, -1.0, {1, 1, 1, 1, {8, -16}}}}) {
        DFT t(4);
        for (int n = 0; n < c.ones; ++n)
            t(n) = complex{1, 0};
        t[4] = complex{8, -16};
        t.compute(c.F);
        for (int i = 0; i < 5; ++i)
            EXPECT_LT(std::abs(Out(t, i) - c.want[(size_t)i]), 1e-12) << c.ones << " output " << i;
    }
    MarkLog("dft");
    DFT(6).compute(-1.0);
    const std::string log = LogAfter("dft");
    size_t at = 0;
    for (const char* line : {"ENTER[", "DFT::DFT(N=6)\r\n", "LEAVE[", "ENTER[", "DFT::compute(N=6 F=-1.",
                             "data.size()=6\r\n", "dft.size()=7\r\n", "LEAVE["})
        EXPECT_NE(std::string::npos, at = log.find(line, at)) << line << " in order in\n" << log;
}
