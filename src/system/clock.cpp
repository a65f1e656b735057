// High-resolution clock on the performance counter.
#include "ksystem.h"

namespace {
// Read on the first call only; the counter's frequency is fixed at boot.
LONGLONG CounterFrequency;
}

double get_time()
{
    if (CounterFrequency == 0) {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        CounterFrequency = f.QuadPart;
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)CounterFrequency;
}
