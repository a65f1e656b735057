// The demo's plot page: a measured signal (two sines in noise, 1,024 samples
// in one second) over the magnitudes of its spectrum, each in a scope plot.
// The signal is real, so only the half of the spectrum from the frequency 0
// up is shown. The status strip reads out both cursors; the spectrum's starts
// on the strongest line.
#include "plots.h"
#include <initializer_list>
#include <math.h>

namespace demo {

namespace {

const int SAMPLES = 1024;
const double TAU = 6.283185307179586;

// The measurement: sines of 0.05 and 0.12 cycles per sample, of amplitudes 1
// and 0.5, with uniform noise of +-0.3 from a fixed generator.
void Measure(double* out)
{
    unsigned state = 2026; // a linear congruential generator, the same noise every run
    for (int n = 0; n < SAMPLES; ++n) {
        state = state * 69069u + 1u;
        const double noise = ((state >> 8) % 1001 / 1000.0 - 0.5) * 0.6;
        out[n] = sin(TAU * 0.05 * n) + 0.5 * sin(TAU * 0.12 * n) + noise;
    }
}

class PlotDialog : public KDialog {
public:
    explicit PlotDialog(KWindow* owner) : KDialog(owner, L"Demo Plot", MESSAGE_WIN)
    {
        KArgList none;
        init(nullptr, &none);
        KForm* form = getWorkArea();
        signal = makePlot(form);
        spectrum = makePlot(form);
        form->attachForm(signal, SIDE_LEFT, SIDE_RIGHT, SIDE_TOP);
        form->attachForm(spectrum, SIDE_LEFT, SIDE_RIGHT, SIDE_BOTTOM);
        form->attach(spectrum, SIDE_TOP, signal);
        form->attachOff(spectrum, SIDE_TOP, 6);
        fill();
        // After the plots' own handlers, so the cursor has already moved.
        for (ScopePlot* plot : {signal, spectrum})
            plot->_addEventHandler(new MouseEventHandler<PlotDialog>(
                this, &PlotDialog::cursorMoved, ME_PRESS | ME_DRAG | ME_LEFT | ME_MIDDLE | ME_RIGHT));
        configureAll(false);
        showCursor();
    }

private:
    static ScopePlot* makePlot(KForm* form)
    {
        KArgList args;
        args.add(WA_WIDTH, 560);
        args.add(WA_HEIGHT, 230);
        return MakeScopePlot(form, &args);
    }

    void fill()
    {
        double samples[SAMPLES];
        Measure(samples);
        DFT transform(SAMPLES);
        ScopePlotCurve* trace = signal->addCurve();
        trace->setPen(RGB(0, 0, 160), PS_SOLID, 0);
        for (int n = 0; n < SAMPLES; ++n) {
            trace->addPoint((double)n / SAMPLES, samples[n]);
            transform(n) = complex{samples[n], 0.0};
        }
        signal->setTitle("Signal: %d samples in 1 s, t in s", SAMPLES);
        signal->setLimitsX(0, 1, 0.1);
        signal->setLimitsY(-2, 2, 0.5);
        signal->setCursor(0.25);

        transform.compute(1.0);
        ScopePlotCurve* lines = spectrum->addCurve();
        lines->setPen(RGB(180, 0, 0), PS_SOLID, 1);
        double peak = 0;
        // From the frequency 0 (output N/2) up; the last output, +0.5, is not
        // computed by the transform.
        for (int i = SAMPLES / 2; i < SAMPLES; ++i) {
            const double m = hypot(transform[i].re, transform[i].im);
            lines->addPoint(complex{transform.getFreq(i), m});
            if (m > peak)
                peak = m, peakFreq = transform.getFreq(i);
        }
        spectrum->setTitle("Spectrum: |X(f)|, f in cycles per sample");
        spectrum->setLimitsX(0, 0.5, 0.1);
        spectrum->setLimitsY(0, 0.6, 0.1);
        spectrum->setCursor(peakFreq);
    }

    void cursorMoved(KWindow*, MouseEvent*) { showCursor(); }
    void showCursor()
    {
        mprintf("t = %.3f s;  f = %.4f cycles per sample (strongest line at %.4f)", signal->getCursor(),
                spectrum->getCursor(), peakFreq);
    }

    ScopePlot* signal = nullptr;
    ScopePlot* spectrum = nullptr;
    double peakFreq = 0;
};

} // namespace

void ShowPlotDialog(KWindow* owner)
{
    ShowDialog(new PlotDialog(owner), false, nullptr);
}

} // namespace demo
