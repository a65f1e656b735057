#include "faults.h"

void WriteThrough(volatile int* p)
{
    *p = 42;
}

int DivideBy(int d)
{
    volatile int divisor = d;
    return 1000 / divisor;
}
