// DFT: a centred discrete Fourier transform of N complex samples by direct
// summation, its output laid out from the most negative frequency to the most
// positive one, ready for a scope plot curve (ScopePlotCurve::addPoint takes
// complex values).
//
//     DFT t(1024);
//     for (int n = 0; n < 1024; ++n)
//         t(n) = complex{signal[n], 0.0};
//     t.compute(1.0);                     // forward, scaled by 1/N
//     for (int i = 0; i < t.numFreq(); ++i)
//         spectrum->addPoint(t.getFreq(i), hypot(t[i].re, t[i].im));
//
// compute(F) sums output k + N/2 = sum over n of data[n] * exp(-i n k w),
// w = 2 F pi / N, for k = -N/2 .. N/2 - 1 (N/2 truncated), one sine and one
// cosine per term, so that its results are those of the plain sum to the last
// bit. F = 1 is the forward transform divided by N (output N/2 is the
// frequency 0, output 0 the frequency -0.5); F = -1 sums with the opposite
// sign of the exponent and no scaling, which turns a forward result of even N
// back into its samples once the centring is undone: load forward output (n + N/2) mod N
// as sample n, and sample n of the result is output (n + N/2) mod N.
//
// numFreq() counts N + 1 outputs, from the frequency -0.5 to +0.5, but the sum
// fills only outputs 0 .. 2 (N/2) - 1: the last one (the last two for odd N)
// is not computed. It keeps its value, zero after construction, and is
// divided by N like the others by every transform with F > 0; a caller who
// wants +0.5 mirrored copies output 0 there. With N below 1 nothing is summed
// or scaled.
//
// Both the constructor and compute write trace lines into the log
// ("DFT::DFT(N=...)", "DFT::compute(N=... F=...)" with the sizes of both
// arrays). Indices are not checked.
#ifndef KORVEL_KDFT_H
#define KORVEL_KDFT_H

#include "kexport.h"
#include "array"
#include "kmatrix.h"

class KORVEL_API DFT {
public:
    // N samples and N + 1 outputs, all (0, 0).
    explicit DFT(int N);

    // Input sample i.
    complex& operator()(int i) { return data[i]; }
    // Output value i, of the frequency getFreq(i).
    complex& operator[](int i) { return dft[i]; }
    int numFreq() const { return N + 1; }
    // i / N - 0.5, in cycles per sample.
    double getFreq(int i) const { return (double)i / N - 0.5; }
    // The transform of the samples into the outputs; F selects the direction
    // and the scaling (see above).
    void compute(double F);

private:
    int N;
    KArray<complex> data;
    KArray<complex> dft;
};

#endif
