// Functions that fault, kept in a file of their own: the compiler sees a call
// into code it cannot look at, which might throw, as with any library call.
// (Within one file it would prove them unable to throw and drop the catch
// clauses around their calls.)
#ifndef KORVEL_TESTS_DIAG_FAULTS_H
#define KORVEL_TESTS_DIAG_FAULTS_H

// Stores 42 through p.
void WriteThrough(volatile int* p);
int DivideBy(int d);

#endif
