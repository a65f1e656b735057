// String utilities: value-returning copies of KString's editing operations,
// helpers on 8-bit zero-terminated strings, and splitf, which reads records
// whose fields have fixed widths.
#ifndef KORVEL_KSTRUTIL_H
#define KORVEL_KSTRUTIL_H

#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"
#include "array"

// --- Copies of a KString -----------------------------------------------------

KORVEL_API KString ToUpper(KString s);
KORVEL_API KString ToLower(KString s);
KORVEL_API KString StripSpaces(KString s);
KORVEL_API KString CapitalizeFirstChars(KString s);
// Every line feed preceded by a carriage return (CR LF becomes CR CR LF).
KORVEL_API KString InsertLF(const KString& s);
// Index of the first element equal to s, or -1.
KORVEL_API int LookupIndex(const KArray<KString>& list, const KString& s);
// Wide text against 8-bit text (bytes widened as signed values): the
// difference of the first differing units, 0 when equal.
KORVEL_API int _strcmp(const wchar_t* a, const char* b);

// --- 8-bit zero-terminated strings -------------------------------------------

KORVEL_API bool HasLower(const char* s);
KORVEL_API bool HasUpper(const char* s);
// Index of the first character of s that occurs in set, or -1.
KORVEL_API int FirstChar(const char* s, const char* set);
// For each character of s, how often it occurs in set, summed.
KORVEL_API int strcount(const char* s, const char* set);
// Whether the last character of s occurs in set.
KORVEL_API bool strlast(const char* s, const char* set);
// Removes leading and trailing white space in place; returns the new length.
KORVEL_API int strip_spaces(char* s);
// Copies at most size - 1 characters and terminates; returns the number copied.
KORVEL_API int _SafeCopy(char* dst, const char* src, int size);

// --- Fixed-column records ----------------------------------------------------
//
// Walks format and text together; returns the number of conversions made, or
// 0 when a literal format character does not match the text. A conversion is
// %, a width (digits, * for an int argument, else 1), an optional modifier
// (H 64-bit, h 16-bit, l long, L ignored) and one of
//   S KString*   s char* (field + terminator)   c char* (first character)
//   d int*/short*/long*/64-bit   u unsigned long*/unsigned short*   f double*
// Each takes exactly width characters of the text (fewer at its end), at most
// 1023 of them; numbers skip leading blanks. An unknown conversion shows an
// error box (01-1027) and still counts.
//
//     KString name; int count; char gap[2]; double value;
//     splitf("AB0012 3.5", "%2S%4d%*s%3f", &name, &count, 1, gap, &value); // 4
KORVEL_API int splitf(const char* text, const char* format, ...);
KORVEL_API int _splitf(const char* text, const char* format, va_list args);

#endif
