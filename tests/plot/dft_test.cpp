// The Fourier transform against transforms written here: a radix-2 FFT for
// powers of two, the plain sum for odd lengths; the round trip; the trace.
#include <gtest/gtest.h>
#include <complex>
#include "test_support.h"

typedef std::complex<double> C;
static const double TAU = 6.283185307179586;

static void Fft(std::vector<C>& a)
{
    const size_t n = a.size();
    if (n < 2)
        return;
    std::vector<C> even(n / 2), odd(n / 2);
    for (size_t i = 0; i < n / 2; ++i)
        even[i] = a[2 * i], odd[i] = a[2 * i + 1];
    Fft(even);
    Fft(odd);
    for (size_t k = 0; k < n / 2; ++k) {
        const C t = std::polar(1.0, -TAU * (double)k / (double)n) * odd[k];
        a[k] = even[k] + t;
        a[k + n / 2] = even[k] - t;
    }
}

static std::vector<C> PlainSum(const std::vector<C>& x)
{
    const size_t n = x.size();
    std::vector<C> out(n);
    for (size_t m = 0; m < n; ++m)
        for (size_t i = 0; i < n; ++i)
            out[m] += x[i] * std::polar(1.0, -TAU * (double)((i * m) % n) / (double)n);
    return out;
}

TEST(Transform, ForwardAgainstFftAndPlainSumAndBack)
{
    Random r(77);
    for (int N : {8, 64, 1024, 7, 63}) {
        DFT t(N);
        std::vector<C> x((size_t)N);
        for (int n = 0; n < N; ++n) {
            x[(size_t)n] = C((int)r.below(2001) / 1000.0 - 1, (int)r.below(2001) / 1000.0 - 1);
            t(n) = complex{x[(size_t)n].real(), x[(size_t)n].imag()};
        }
        std::vector<C> want = x;
        if (N & (N - 1))
            want = PlainSum(x);
        else
            Fft(want);
        const int h = N / 2;
        double peak = 0;
        for (const C& c : want)
            peak = std::max(peak, std::abs(c) / N);
        t.compute(1.0);
        ASSERT_EQ(N + 1, t.numFreq());
        EXPECT_EQ(-0.5, t.getFreq(0)) << N;
        EXPECT_EQ(0.5, t.getFreq(N)) << N;
        double worst = 0;
        for (int i = 0; i < 2 * h; ++i) {
            const C expect = want[(size_t)((i - h + N) % N)] / (double)N;
            worst = std::max(worst, std::abs(C(t[i].re, t[i].im) - expect));
        }
        EXPECT_LE(worst, 1e-9 * peak) << "N=" << N;
        EXPECT_EQ(0.0, t[N].re + std::abs(t[N].im)) << "the last output is not summed, N=" << N;
        if (N % 2)
            continue;
        // Back: the outputs, their centring undone, summed with the opposite sign.
        DFT back(N);
        for (int n = 0; n < N; ++n)
            back(n) = t[(n + h) % N];
        back.compute(-1.0);
        worst = 0;
        for (int n = 0; n < N; ++n)
            worst = std::max(worst, std::abs(C(back[(n + h) % N].re, back[(n + h) % N].im) - x[(size_t)n]));
        EXPECT_LE(worst, 1e-9) << "round trip, N=" << N;
    }
}

TEST(Transform, SmallCasesCopiesAndTrace)
{
    struct Case { int ones; double F; complex want[5]; };
    const Case cases[] = {
        {4, 1.0, {{0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}}},  // constant: only the frequency 0
        {1, -1.0, {{1, 0}, {1, 0}, {1, 0}, {1, 0}, {0, 0}}}, // one impulse: flat, unscaled
    };
    for (const Case& c : cases) {
        DFT t(4);
        for (int n = 0; n < c.ones; ++n)
            t(n) = complex{1, 0};
        t.compute(c.F);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(c.want[i].re, t[i].re, 1e-12) << c.ones << " output " << i;
            EXPECT_NEAR(c.want[i].im, t[i].im, 1e-12) << c.ones << " output " << i;
        }
    }
    // A copy has arrays of its own; the unsummed last output is scaled by each forward run.
    DFT a(4);
    a[4] = complex{8, -16};
    DFT b = a;
    b(0) = complex{4, 0};
    b.compute(1.0);
    EXPECT_EQ(0.0, a(0).re);
    EXPECT_EQ(8.0, a[4].re);
    EXPECT_EQ((std::vector<double>{2, -4, 1}), (std::vector<double>{b[4].re, b[4].im, b[2].re}));
    MarkLog("dft");
    DFT traced(6);
    traced.compute(-1.0);
    const std::vector<std::string> lines = Lines(LogAfter("dft"));
    ASSERT_EQ(6u, lines.size()) << LogAfter("dft");
    const char* want[] = {"ENTER[", "DFT::DFT(N=6)", "LEAVE[", "DFT::compute(N=6 F=-1.000000)",
                          "data.size()=6", "dft.size()=7"};
    const size_t at[] = {0, 0, 1, 2, 3, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_NE(std::string::npos, lines[at[i]].find(want[i])) << lines[at[i]];
    EXPECT_NE(std::string::npos, lines[5].find("LEAVE[")) << lines[5];
}
