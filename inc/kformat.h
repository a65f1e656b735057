// Helpers of the formatting language: thousands separators.
#ifndef KORVEL_KFORMAT_H
#define KORVEL_KFORMAT_H

#include "kexport.h"

// Insert ',' between groups of three digits, in place; size is the capacity.
KORVEL_API void InsertCommas(char* text, int size);
// The same for the integer part of a floating-point text.
KORVEL_API void InsertFloatCommas(char* text, int size);

#endif
