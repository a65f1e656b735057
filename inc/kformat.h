// The formatting language of KString::set, append and stompField, in short:
//
//   %[-|+][0][width|*][.prec|.*][{text}][h|l|H|L]conversion
//
//   c C      a byte (widened as signed) / a 16-bit unit
//   s U S    const char* / const wchar_t* / const KString* (a pointer)
//   d D      int (short with h, long with l, 64-bit with H); D adds ',' every
//            three digits. Without h, l or H the brace number is added, so
//            "%{1}d" prints a 0-based index 1-based
//   u        unsigned int (16-bit with h, unsigned long with l)
//   x X b    hexadecimal / upper-case hexadecimal / binary, no prefix
//   e f F g  double; F adds ',' to the integer part
//   p        a pointer, as the runtime prints it
//   t        const KDateTime*, the brace text as its strftime format
//   w        KWindow*, its toString() given the brace text
//
// Fields are padded to the width with blanks, or zeros after a 0 flag (the
// sign is part of the field: "%05d" of -42 is "000-42"); text is never cut.
#ifndef KORVEL_KFORMAT_H
#define KORVEL_KFORMAT_H

#include "kexport.h"

// Insert ',' between groups of three digits, in place; size is the capacity.
KORVEL_API void InsertCommas(char* text, int size);
// The same for the integer part of a floating-point text.
KORVEL_API void InsertFloatCommas(char* text, int size);

// The one conversion of a format text, split from the text around it; used to
// take a number format such as "%.2f mV" apart into conversion and label.
struct KORVEL_API KFormatSpec {
    bool left;        // '-' flag
    bool sign;        // '+' flag
    wchar_t pad;      // '0' after a 0 flag, else ' '
    int width;        // -1 for '*', 0 when absent
    int prec;         // -1 for ".*", 0 when absent
    char mod;         // 'L', 'h', 'l' or ' '
    char fmt;         // the conversion character; ' ' when there is none
    int off;          // position of the conversion character in the text
    char format[101]; // the conversion, from its '%' to its character
    char prefix[101]; // the text before it, "%%" reduced to "%"
    char suffix[101]; // the text after it
    char sub[101];    // the brace text, without its braces

    KFormatSpec() { reset(); }
    void reset();
    // Finds the first conversion of one of the characters "CDSUXbcdefpstux";
    // a text without one goes whole into prefix and leaves fmt ' '.
    void parseFormat(const char* text);
    // Writes the fields to the log.
    void printFormat() const;
};

#endif
