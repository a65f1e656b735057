// Formatting speed: KString::set against the runtime's wide _snwprintf on the
// same mixes of conversions, measured side by side in one run.
//
// For each mix the two sides run in alternating rounds of a fixed time; the
// best round of each counts. The runtime writes into a buffer on the stack;
// KString::set also makes its exact-size string. The runtime has no
// thousands separators, so in the separator mix its side groups the digits
// by hand after formatting. Before timing, each mix shows its text and
// checks that both sides produce the same.
#include <korvel.h>
#include <stdio.h>
#include <wchar.h>

namespace {

const double RoundSeconds = 0.25;
const int Rounds = 6;
const int Batch = 2000;

const KString Name("temperature");
const wchar_t* const Unit = L"degrees Celsius";

void IntegersLibrary(KString& s, int i)
{
    s.set("%d %5d %-6d|%05d %x %X %u", i, i % 1000, -i % 777, i % 99999, i, i * 7, (unsigned)i * 3u);
}

int IntegersRuntime(wchar_t* buf, int size, int i)
{
    return _snwprintf(buf, size, L"%d %5d %-6d|%05d %x %X %u", i, i % 1000, -i % 777, i % 99999, i,
                      i * 7, (unsigned)i * 3u);
}

void TextLibrary(KString& s, int i)
{
    s.set("%s: %S = %-10s [%U] %c%s", "sensor", &Name, (i & 1) ? "odd" : "even", Unit, 'A' + i % 26,
          "end of line");
}

int TextRuntime(wchar_t* buf, int size, int i)
{
    // In the runtime's wide functions %S is 8-bit text and %s wide text.
    return _snwprintf(buf, size, L"%S: %s = %-10S [%s] %c%S", "sensor", (const wchar_t*)Name,
                      (i & 1) ? "odd" : "even", Unit, 'A' + i % 26, "end of line");
}

void FloatsLibrary(KString& s, int i)
{
    double x = i * 0.731 + 0.5;
    s.set("%.2f %8.3f %f %.1f", x, x / 7, x * 1000, -x);
}

int FloatsRuntime(wchar_t* buf, int size, int i)
{
    double x = i * 0.731 + 0.5;
    return _snwprintf(buf, size, L"%.2f %8.3f %f %.1f", x, x / 7, x * 1000, -x);
}

void ScientificLibrary(KString& s, int i)
{
    double x = i * 12345.678 + 0.5;
    s.set("%.3e %g %.4g", x, x, 1 / x);
}

int ScientificRuntime(wchar_t* buf, int size, int i)
{
    double x = i * 12345.678 + 0.5;
    return _snwprintf(buf, size, L"%.3e %g %.4g", x, x, 1 / x);
}

void SeparatorsLibrary(KString& s, int i)
{
    s.set("%D bytes, %12D items, %D", i * 1237, i * 31, -i);
}

// The runtime's decimal text of v with ',' between groups of three digits.
const wchar_t* Grouped(wchar_t* out, int v)
{
    wchar_t number[16];
    const wchar_t* d = number;
    _snwprintf(number, 16, L"%d", v);
    wchar_t* p = out;
    if (*d == L'-')
        *p++ = *d++;
    int digits = (int)wcslen(d);
    for (int i = 0; i < digits; ++i) {
        if (i && (digits - i) % 3 == 0)
            *p++ = L',';
        *p++ = d[i];
    }
    *p = 0;
    return out;
}

int SeparatorsRuntime(wchar_t* buf, int size, int i)
{
    wchar_t a[20], b[20], c[20];
    return _snwprintf(buf, size, L"%s bytes, %12s items, %s", Grouped(a, i * 1237), Grouped(b, i * 31),
                      Grouped(c, -i));
}

struct Mix {
    const char* name;
    void (*library)(KString&, int);
    int (*runtime)(wchar_t*, int, int);
};

const Mix Mixes[] = {
    {"integers with widths", IntegersLibrary, IntegersRuntime},
    {"text", TextLibrary, TextRuntime},
    {"floats with precision", FloatsLibrary, FloatsRuntime},
    {"exponent and %g", ScientificLibrary, ScientificRuntime},
    {"%D separators", SeparatorsLibrary, SeparatorsRuntime},
};

// Both sides must write the same text.
bool SameText(const Mix& mix, int i)
{
    KString s;
    wchar_t buf[256];
    mix.library(s, i);
    mix.runtime(buf, 256, i);
    bool same = wcscmp(s, buf) == 0;
    printf("  %-22s '%ls'\n", mix.name, (const wchar_t*)s);
    if (!same)
        printf("  %-22s '%ls' from the runtime differs\n", "", buf);
    return same;
}

double LibraryRound(const Mix& mix, int* state)
{
    KString s;
    long calls = 0;
    double start = get_time(), now = start;
    do {
        for (int k = 0; k < Batch; ++k)
            mix.library(s, (*state)++ & 0xFFFFF);
        calls += Batch;
        now = get_time();
    } while (now - start < RoundSeconds);
    return calls / (now - start);
}

volatile int Sink;

double RuntimeRound(const Mix& mix, int* state)
{
    wchar_t buf[256];
    long calls = 0;
    double start = get_time(), now = start;
    do {
        for (int k = 0; k < Batch; ++k)
            Sink = mix.runtime(buf, 256, (*state)++ & 0xFFFFF);
        calls += Batch;
        now = get_time();
    } while (now - start < RoundSeconds);
    return calls / (now - start);
}

} // namespace

int main()
{
    printf("Formatting: KString::set against _snwprintf, calls per second (best of %d rounds of %.2f s)\n\n",
           Rounds, RoundSeconds);
    int mismatches = 0;
    for (const Mix& mix : Mixes) {
        if (!SameText(mix, 12345))
            ++mismatches;
    }
    printf("\n%-24s %14s %14s %8s\n", "mix", "KString::set", "_snwprintf", "ratio");
    for (const Mix& mix : Mixes) {
        double library = 0, runtime = 0;
        int state = 1;
        for (int r = 0; r < Rounds; ++r) {
            double l = LibraryRound(mix, &state);
            double c = RuntimeRound(mix, &state);
            library = l > library ? l : library;
            runtime = c > runtime ? c : runtime;
        }
        printf("%-24s %14.0f %14.0f %7.2fx\n", mix.name, library, runtime, library / runtime);
    }
    printf("\nratio = KString::set calls per second / _snwprintf calls per second\n");
    if (mismatches)
        printf("%d mix(es) gave different text\n", mismatches);
    return mismatches ? 1 : 0;
}
