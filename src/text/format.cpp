// The formatting engine behind KString::set, append and stompField: a printf
// dialect with wide output and conversions for the library's own types.
#include "kstring.h"
#include "kdiag.h"
#include "kwindow.h"
#include "kformat.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// One conversion as read from the format.
struct Conversion {
    bool left = false;
    bool sign = false;
    wchar_t pad = L' ';
    int width = 0;
    int prec = -1;
    char mod = ' ';
    char sub[101] = {0};
};

// Reads a brace text that ends at its balancing '}' (or at the end of the
// format), keeping at most 100 characters. Returns the position after it.
const char* ReadBrace(const char* p, char* sub)
{
    int depth = 1, n = 0;
    ++p;
    for (; *p; ++p) {
        if (*p == '{')
            ++depth;
        else if (*p == '}' && --depth == 0)
            return p + 1;
        if (n < 100)
            sub[n++] = *p;
    }
    sub[n] = 0;
    return p;
}

// Unsigned value in the given base into the end of a work area.
char* Digits(char* end, unsigned long long v, unsigned base, bool upper)
{
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    *end = 0;
    do {
        *--end = set[v % base];
        v /= base;
    } while (v);
    return end;
}

long long SignedArg(const Conversion& c, va_list& args)
{
    switch (c.mod) {
    case 'h': return (short)va_arg(args, int);
    case 'l': return va_arg(args, long);
    case 'H': return va_arg(args, long long);
    default: return va_arg(args, int);
    }
}

unsigned long long UnsignedArg(const Conversion& c, va_list& args, bool allow64)
{
    switch (c.mod) {
    case 'h': return (unsigned short)va_arg(args, int);
    case 'l': return va_arg(args, unsigned long);
    case 'H':
        if (allow64)
            return va_arg(args, unsigned long long);
        return va_arg(args, unsigned int);
    default: return va_arg(args, unsigned int);
    }
}

void AppendDecimal(KStringBuff& out, const Conversion& c, va_list& args, bool commas)
{
    long long v = SignedArg(c, args);
    if (c.mod == ' ')
        v += atoi(c.sub);
    char work[100];
    char* p = Digits(work + 99, v < 0 ? 0ULL - (unsigned long long)v : (unsigned long long)v, 10, false);
    if (v < 0)
        *--p = '-';
    else if (c.sign)
        *--p = '+';
    if (commas) {
        memmove(work, p, strlen(p) + 1);
        InsertCommas(work, sizeof(work));
        p = work;
    }
    out += p;
}

void AppendHex(KStringBuff& out, const Conversion& c, va_list& args, unsigned base, bool upper)
{
    unsigned long long v;
    if (c.mod == 'h')  // a short is widened with its sign, then shown unsigned
        v = (unsigned)(int)(short)va_arg(args, int);
    else
        v = UnsignedArg(c, args, true);
    char work[100];
    out += Digits(work + 99, v, base, upper);
}

void AppendFloat(KStringBuff& out, const Conversion& c, va_list& args, char conv)
{
    double v = va_arg(args, double);
    char work[100];
    int prec = c.prec < 0 ? 6 : c.prec;
    switch (conv) {
    case 'g':
        if (c.prec < 0)
            snprintf(work, sizeof(work), "%g", v);
        else
            snprintf(work, sizeof(work), "%.*g", c.prec, v);
        break;
    case 'e':
        snprintf(work, sizeof(work), c.sign ? "%+.*e" : "%.*e", prec, v);
        break;
    default:
        snprintf(work, sizeof(work), c.sign ? "%+.*f" : "%.*f", prec, v);
        if (conv == 'F')
            InsertFloatCommas(work, sizeof(work));
        break;
    }
    out += work;
}

void UnknownConversion(char conv)
{
    ErrorBox(ERRCODE(1, 1018), "Unknown case '%c' in KString::_vsprint().", conv);
}

// Appends the text of one conversion. Returns false for an unknown conversion,
// which consumes no argument.
bool AppendConversion(KStringBuff& out, const Conversion& c, char conv, va_list& args)
{
    switch (conv) {
    case 'c': out += (wchar_t)(signed char)va_arg(args, int); return true;
    case 'C': out += (wchar_t)va_arg(args, int); return true;
    case 's': {
        const char* s = va_arg(args, const char*);
        out += s;
        return true;
    }
    case 'U': {
        const wchar_t* s = va_arg(args, const wchar_t*);
        out += s;
        return true;
    }
    case 'S': out += va_arg(args, const KString*); return true;
    case 'd': AppendDecimal(out, c, args, false); return true;
    case 'D': AppendDecimal(out, c, args, true); return true;
    case 'u': {
        char work[100];
        out += Digits(work + 99, UnsignedArg(c, args, false), 10, false);
        return true;
    }
    case 'x': AppendHex(out, c, args, 16, false); return true;
    case 'X': AppendHex(out, c, args, 16, true); return true;
    case 'b': AppendHex(out, c, args, 2, false); return true;
    case 'p': {
        char work[100];
        snprintf(work, sizeof(work), "%p", va_arg(args, void*));
        out += work;
        return true;
    }
    case 'e':
    case 'f':
    case 'F':
    case 'g': AppendFloat(out, c, args, conv); return true;
    case 'w': {
        KWindow* w = va_arg(args, KWindow*);
        KString text = w->toString(c.sub[0] ? c.sub : nullptr);
        out += text;
        return true;
    }
    default: return false;
    }
}

} // namespace

void KString::_vsprint(const char* format, va_list args)
{
    KStringBuff out;
    va_list ap;
    va_copy(ap, args);
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            out += (wchar_t)(signed char)*p++;
            continue;
        }
        if (p[1] == '%') {
            out += L'%';
            p += 2;
            continue;
        }
        Conversion c;
        ++p;
        if (*p == '-' || *p == '+')
            (*p++ == '-' ? c.left : c.sign) = true;
        if (*p == '0') {
            c.pad = L'0';
            ++p;
        }
        if (*p == '*') {
            c.width = va_arg(ap, int);
            ++p;
        } else {
            while (*p >= '0' && *p <= '9')
                c.width = c.width * 10 + (*p++ - '0');
        }
        if (*p == '.') {
            ++p;
            c.prec = 0;
            if (*p == '*') {
                c.prec = va_arg(ap, int);
                ++p;
            } else {
                while (*p >= '0' && *p <= '9')
                    c.prec = c.prec * 10 + (*p++ - '0');
            }
        }
        if (*p == '{')
            p = ReadBrace(p, c.sub);
        if (*p == 'h' || *p == 'l' || *p == 'H')
            c.mod = *p++;
        else if (*p == 'L')
            ++p;
        if (!*p)
            break;
        out.markPos();
        char conv = *p++;
        if (!AppendConversion(out, c, conv, ap))
            UnknownConversion(conv);
        out.padField(c.width, c.pad, c.left);
    }
    va_end(ap);

    KString result(out.getLength(), 0);
    memcpy((wchar_t*)result, out.getBuff(), out.getLength() * sizeof(wchar_t));
    *this = result;
}

int KString::set(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _vsprint(format, args);
    va_end(args);
    return length();
}

int KString::set(const wchar_t* format, ...)
{
    char narrow[1001];
    int n = 0;
    for (; format[n] && n < 1000; ++n)
        narrow[n] = (char)format[n];
    narrow[n] = 0;
    va_list args;
    va_start(args, format);
    _vsprint(narrow, args);
    va_end(args);
    return length();
}

void KString::append(const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    *this += text;
}

void KString::_stompField(int a, int b, const char* format, va_list args)
{
    KString text;
    text._vsprint(format, args);
    stompField(a, b, text);
}

void KString::stompField(int a, int b, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _stompField(a, b, format, args);
    va_end(args);
}

void InsertCommas(char* text, int size)
{
    int len = (int)strlen(text);
    // Walk leftward from the fourth digit from the right, every third place.
    for (int pos = len - 3; pos > 0 && len < size - 1; pos -= 3) {
        if (text[pos - 1] < '0' || text[pos - 1] > '9')
            break;
        memmove(text + pos + 1, text + pos, len - pos + 1);
        text[pos] = ',';
        ++len;
    }
}

void InsertFloatCommas(char* text, int size)
{
    int len = (int)strlen(text);
    int end = 0;
    while (text[end] && ((text[end] >= '0' && text[end] <= '9') || text[end] == '-' || text[end] == '+'))
        ++end;
    for (int pos = end - 3; pos > 0 && len < size - 1; pos -= 3) {
        if (text[pos - 1] < '0' || text[pos - 1] > '9')
            break;
        memmove(text + pos + 1, text + pos, len - pos + 1);
        text[pos] = ',';
        ++len;
    }
}
