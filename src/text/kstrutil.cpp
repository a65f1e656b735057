// String utilities: copies of KString edits, 8-bit string helpers and the
// fixed-column splitter splitf.
#include "kstrutil.h"
#include "kdiag.h"
#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

// --- Copies of a KString -----------------------------------------------------

KString ToUpper(KString s)
{
    _wcsupr(s);
    return s;
}

KString ToLower(KString s)
{
    _wcslwr(s);
    return s;
}

KString StripSpaces(KString s)
{
    s.stripSpaces();
    return s;
}

KString CapitalizeFirstChars(KString s)
{
    s.capitalizeFirstChars();
    return s;
}

KString InsertLF(const KString& s)
{
    int n = s.length();
    KString out(n + s.countChar(L'\n'), 0);
    int j = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] == L'\n')
            out[j++] = L'\r';
        out[j++] = s[i];
    }
    return out;
}

int LookupIndex(const KArray<KString>& list, const KString& s)
{
    for (int i = 0; i < list.count(); ++i)
        if (list[i] == s)
            return i;
    return -1;
}

int _strcmp(const wchar_t* a, const char* b)
{
    if (!a)
        a = L"";
    if (!b)
        b = "";
    for (;; ++a, ++b) {
        int x = (unsigned short)*a;
        int y = (unsigned short)(wchar_t)(signed char)*b;
        if (x != y || x == 0)
            return x - y;
    }
}

// --- 8-bit zero-terminated strings -------------------------------------------

static bool AnyChar(const char* s, int (*test)(int))
{
    for (; s && *s; ++s)
        if (test((unsigned char)*s))
            return true;
    return false;
}

bool HasLower(const char* s)
{
    return AnyChar(s, islower);
}

bool HasUpper(const char* s)
{
    return AnyChar(s, isupper);
}

// strchr would also find the terminator.
static bool InSet(char c, const char* set)
{
    return c && set && strchr(set, c);
}

int FirstChar(const char* s, const char* set)
{
    for (int i = 0; s && s[i]; ++i)
        if (InSet(s[i], set))
            return i;
    return -1;
}

int strcount(const char* s, const char* set)
{
    int n = 0;
    for (; s && *s; ++s)
        for (const char* p = set; p && *p; ++p)
            n += *p == *s;
    return n;
}

bool strlast(const char* s, const char* set)
{
    if (!s || !*s)
        return false;
    return InSet(s[strlen(s) - 1], set);
}

int strip_spaces(char* s)
{
    if (!s)
        return 0;
    int n = (int)strlen(s);
    while (n > 0 && isspace((unsigned char)s[n - 1]))
        --n;
    int from = 0;
    while (from < n && isspace((unsigned char)s[from]))
        ++from;
    memmove(s, s + from, (size_t)(n - from));
    s[n - from] = 0;
    return n - from;
}

int _SafeCopy(char* dst, const char* src, int size)
{
    if (!dst || size <= 0)
        return 0;
    int n = 0;
    for (; src && src[n] && n < size - 1; ++n)
        dst[n] = src[n];
    dst[n] = 0;
    return n;
}

// --- Fixed-column records ----------------------------------------------------

namespace {

const int MaxField = 1023;

// The argument list, passed by reference between the steps.
struct Args {
    va_list list;
};

struct Conversion {
    int width = 1;
    char modifier = 0;
    char type = 0;
};

// Reads width, modifier and conversion character after the '%'.
const char* ParseConversion(const char* f, Args& args, Conversion* c)
{
    if (*f == '*') {
        c->width = va_arg(args.list, int);
        ++f;
    } else if (isdigit((unsigned char)*f)) {
        c->width = 0;
        while (isdigit((unsigned char)*f))
            c->width = c->width * 10 + (*f++ - '0');
    }
    if (c->width < 0)
        c->width = 0;
    if (*f == 'H' || *f == 'h' || *f == 'l' || *f == 'L')
        c->modifier = *f++;
    c->type = *f;
    return *f ? f + 1 : f;
}

// Copies the next width characters of the text (fewer at its end) into field
// and returns the text after them.
const char* TakeField(const char* t, int width, char* field)
{
    int n = 0;
    while (n < width && t[n])
        ++n;
    int kept = n < MaxField ? n : MaxField;
    memcpy(field, t, (size_t)kept);
    field[kept] = 0;
    return t + n;
}

void StoreInteger(const Conversion& c, const char* field, Args& args)
{
    switch (c.modifier) {
    case 'H': *va_arg(args.list, long long*) = _atoi64(field); break;
    case 'h': *va_arg(args.list, short*) = (short)atoi(field); break;
    case 'l': *va_arg(args.list, long*) = atol(field); break;
    default: *va_arg(args.list, int*) = atoi(field); break;
    }
}

void StoreUnsigned(const Conversion& c, const char* field, Args& args)
{
    switch (c.modifier) {
    case 'H': *va_arg(args.list, unsigned long long*) = _strtoui64(field, nullptr, 10); break;
    case 'h': *va_arg(args.list, unsigned short*) = (unsigned short)strtoul(field, nullptr, 10); break;
    default: *va_arg(args.list, unsigned long*) = strtoul(field, nullptr, 10); break;
    }
}

void StoreField(const Conversion& c, const char* field, Args& args)
{
    switch (c.type) {
    case 'S': *va_arg(args.list, KString*) = field; break;
    case 's': strcpy(va_arg(args.list, char*), field); break;
    case 'c': *va_arg(args.list, char*) = field[0]; break;
    case 'd': StoreInteger(c, field, args); break;
    case 'u': StoreUnsigned(c, field, args); break;
    case 'f': *va_arg(args.list, double*) = strtod(field, nullptr); break;
    default:
        ErrorBox(ERRCODE(1, 1027), "Unknown case '%c' in KString::_vsprint().", c.type);
        break;
    }
}

} // namespace

int _splitf(const char* text, const char* format, va_list list)
{
    if (!format)
        return 0;
    const char* t = text ? text : "";
    Args args;
    va_copy(args.list, list);
    int count = 0;
    for (const char* f = format; *f;) {
        if (*f != '%' || f[1] == '%') {
            // A literal, or "%%" standing for one '%'.
            if (*t != *f) {
                count = 0;
                break;
            }
            ++t;
            f += *f == '%' ? 2 : 1;
            continue;
        }
        Conversion c;
        f = ParseConversion(f + 1, args, &c);
        if (!c.type)
            break;
        char field[MaxField + 1];
        t = TakeField(t, c.width, field);
        StoreField(c, field, args);
        ++count;
    }
    va_end(args.list);
    return count;
}

int splitf(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = _splitf(text, format, args);
    va_end(args);
    return n;
}
