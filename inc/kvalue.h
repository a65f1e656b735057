// Typed conversions between values and text, and rounding helpers.
//
// value_to_string writes a value in its plain form ("%d", "%f", "%lu" ...).
// string_to_value reads a number with the runtime (leading white space is
// skipped) and accepts it only when something was read and the number is
// followed by the end of the text or white space; otherwise it returns false
// and leaves the destination as it was.
#ifndef KORVEL_KVALUE_H
#define KORVEL_KVALUE_H

#include "kexport.h"
#include "kstring.h"
#include "kdatetime.h"

KORVEL_API void value_to_string(KString& out, const short* value);
KORVEL_API void value_to_string(KString& out, const int* value);
KORVEL_API void value_to_string(KString& out, const long* value);
KORVEL_API void value_to_string(KString& out, const float* value);
KORVEL_API void value_to_string(KString& out, const unsigned int* value);
KORVEL_API void value_to_string(KString& out, const unsigned long* value);
KORVEL_API void value_to_string(KString& out, const KString* value);
// value is 0-terminated wide text.
KORVEL_API void value_to_string(KString& out, const wchar_t* value);
KORVEL_API void value_to_string(KString& out, const KDateTime* value);

KORVEL_API bool string_to_value(int* out, const wchar_t* text, int base);
KORVEL_API bool string_to_value(unsigned long* out, const wchar_t* text, int base);
// True exactly when the number read is 1.
KORVEL_API bool string_to_value(bool* out, const wchar_t* text, int base);
// Fails outside -32768..32767.
KORVEL_API bool string_to_value(short* out, const wchar_t* text, int base);
KORVEL_API bool string_to_value(float* out, const wchar_t* text);
KORVEL_API bool string_to_value(double* out, const wchar_t* text);
// KDateTime::set of the narrowed text; always succeeds.
KORVEL_API bool string_to_value(KDateTime* out, const KString& text);
KORVEL_API bool string_to_value(KString* out, const KString& text);
// Copies the text and its terminator; out must hold text.length() + 1 units.
KORVEL_API bool string_to_value(wchar_t* out, const KString& text);

// Nearest integer; halves round upward (-2.5 gives -2).
KORVEL_API int nint(double x);
KORVEL_API unsigned long nulong(double x);
// Multiples of step: the nearer one (the upper one at equal distance), the
// least not below x, the greatest not above x.
KORVEL_API double nmult(double step, double x);
KORVEL_API double lumult(double step, double x);
KORVEL_API double glmult(double step, double x);

#endif
