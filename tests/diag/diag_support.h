// Helpers of the diagnostics tests: marking and reading parts of the log.
#ifndef KORVEL_TESTS_DIAG_SUPPORT_H
#define KORVEL_TESTS_DIAG_SUPPORT_H

#include <string>
#include "test_support.h"

// Writes the marker line "== <marker> ==" into the log.
void MarkLog(const std::string& marker);
// The part of the log written after the marker line.
std::string LogAfter(const std::string& marker);

#endif
