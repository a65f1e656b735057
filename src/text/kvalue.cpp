// Conversions between typed values and text, and the rounding helpers.
#include "kvalue.h"
#include <math.h>
#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

void value_to_string(KString& out, const short* value)
{
    out.set("%hd", *value);
}

void value_to_string(KString& out, const int* value)
{
    out.set("%d", *value);
}

void value_to_string(KString& out, const long* value)
{
    out.set("%ld", *value);
}

void value_to_string(KString& out, const float* value)
{
    out.set("%f", (double)*value);
}

void value_to_string(KString& out, const unsigned int* value)
{
    out.set("%u", *value);
}

void value_to_string(KString& out, const unsigned long* value)
{
    out.set("%lu", *value);
}

void value_to_string(KString& out, const KString* value)
{
    out = *value;
}

void value_to_string(KString& out, const wchar_t* value)
{
    out = value;
}

void value_to_string(KString& out, const KDateTime* value)
{
    out.set("%t", value);
}

namespace {

// A number ends well at the end of the text or at white space, and only when
// at least one character was read.
bool EndsWell(const wchar_t* text, const wchar_t* end)
{
    return end != text && (*end == 0 || iswspace(*end));
}

bool ReadLong(const wchar_t* text, int base, long* out)
{
    if (!text)
        return false;
    wchar_t* end;
    long v = wcstol(text, &end, base);
    if (!EndsWell(text, end))
        return false;
    *out = v;
    return true;
}

bool ReadDouble(const wchar_t* text, double* out)
{
    if (!text)
        return false;
    wchar_t* end;
    double v = wcstod(text, &end);
    if (!EndsWell(text, end))
        return false;
    *out = v;
    return true;
}

} // namespace

bool string_to_value(int* out, const wchar_t* text, int base)
{
    long v;
    if (!ReadLong(text, base, &v))
        return false;
    *out = (int)v;
    return true;
}

bool string_to_value(unsigned long* out, const wchar_t* text, int base)
{
    if (!text)
        return false;
    wchar_t* end;
    unsigned long v = wcstoul(text, &end, base);
    if (!EndsWell(text, end))
        return false;
    *out = v;
    return true;
}

bool string_to_value(bool* out, const wchar_t* text, int base)
{
    long v;
    if (!ReadLong(text, base, &v))
        return false;
    *out = v == 1;
    return true;
}

bool string_to_value(short* out, const wchar_t* text, int base)
{
    long v;
    if (!ReadLong(text, base, &v) || v < -32768 || v > 32767)
        return false;
    *out = (short)v;
    return true;
}

bool string_to_value(float* out, const wchar_t* text)
{
    double v;
    if (!ReadDouble(text, &v))
        return false;
    *out = (float)v;
    return true;
}

bool string_to_value(double* out, const wchar_t* text)
{
    return ReadDouble(text, out);
}

bool string_to_value(KDateTime* out, const KString& text)
{
    out->set((const char*)text);
    return true;
}

bool string_to_value(KString* out, const KString& text)
{
    *out = text;
    return true;
}

bool string_to_value(wchar_t* out, const KString& text)
{
    wmemcpy(out, (const wchar_t*)text, text.length() + 1);
    return true;
}

namespace {

double RoundHalfUp(double x)
{
    double f = floor(x);
    return x - f >= 0.5 ? f + 1 : f;
}

} // namespace

int nint(double x)
{
    return (int)RoundHalfUp(x);
}

unsigned long nulong(double x)
{
    // Through a 64-bit integer, so that negative values wrap as the
    // processor's own conversion would.
    return (unsigned long)(long long)RoundHalfUp(x);
}

double lumult(double step, double x)
{
    return ceil(x / step) * step;
}

double glmult(double step, double x)
{
    return floor(x / step) * step;
}

double nmult(double step, double x)
{
    double lower = glmult(step, x);
    double upper = lumult(step, x);
    return x - lower < upper - x ? lower : upper;
}
