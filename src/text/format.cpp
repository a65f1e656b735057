// The formatting engine behind KString::set, append and stompField: a printf
// dialect with wide output and conversions for the library's own types.
#include "kstring.h"
#include "kdiag.h"
#include "kdatetime.h"
#include "kformat.h"
#include "ksystem.h"
#include "kformat_hook.h"
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

WindowTextFunction windowText = nullptr;

KString WindowText(KWindow* w, const char* format)
{
    return w && windowText ? windowText(w, format) : KString();
}

} // namespace

void SetWindowTextFunction(WindowTextFunction f)
{
    windowText = f;
}

namespace {

// Size of the area each numeric conversion is first written into.
const int WorkSize = 100;
// Longest brace text kept.
const int MaxBrace = 100;

// One conversion as read from the format.
struct Conversion {
    bool left;
    bool sign;
    wchar_t pad;
    int width;
    int prec;
    char mod; // 'h', 'l', 'H' or ' '
    char sub[MaxBrace + 1];
};

// The text being built, with the field mark and padding of KStringBuff. It
// starts in an area on the stack and moves to the heap, doubling, only when
// it outgrows it: under Windows a heap block costs about as much as
// formatting a line of fields, so a short text takes no heap block until its
// exact copy is made.
class Builder {
public:
    Builder() : buffer(local), capacity(LocalSize), length(0), mark(0) {}
    ~Builder()
    {
        if (buffer != local)
            Free(buffer);
    }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    // 8-bit text is widened as signed bytes; null pointers add nothing.
    void append(const char* s, int n)
    {
        reserve(n);
        for (int i = 0; i < n; ++i)
            buffer[length + i] = (wchar_t)(signed char)s[i];
        length += n;
    }
    void append(const wchar_t* s, int n)
    {
        reserve(n);
        wmemcpy(buffer + length, s, n);
        length += n;
    }
    Builder& operator+=(const char* s) { append(s, s ? (int)strlen(s) : 0); return *this; }
    Builder& operator+=(const wchar_t* s) { append(s, s ? (int)wcslen(s) : 0); return *this; }
    Builder& operator+=(const KString& s) { append((const wchar_t*)s, s.length()); return *this; }
    Builder& operator+=(const KString* s) { return s ? *this += *s : *this; }
    Builder& operator+=(wchar_t c)
    {
        reserve(1);
        buffer[length++] = c;
        return *this;
    }

    // A field starts at markPos; padField pads what was added since to width.
    void markPos() { mark = length; }
    void padField(int width, wchar_t pad, bool leftJustify)
    {
        const int field = length - mark;
        if (field >= width)
            return;
        const int n = width - field;
        reserve(n);
        if (leftJustify) {
            wmemset(buffer + length, pad, n);
        } else {
            wmemmove(buffer + mark + n, buffer + mark, field);
            wmemset(buffer + mark, pad, n);
        }
        length += n;
    }

    int getLength() const { return length; }
    const wchar_t* getBuff() const { return buffer; }

private:
    static const int LocalSize = 256;
    static const int MaxLength = 0x3FFFFFFF;

    // Room for n more units; a text of a billion units is refused.
    void reserve(int n)
    {
        if (length + n <= capacity)
            return;
        if (n > MaxLength - length)
            throw std::bad_alloc();
        int cap = capacity;
        while (cap < length + n)
            cap *= 2;
        wchar_t* b = (wchar_t*)Malloc((size_t)cap * sizeof(wchar_t));
        if (!b)
            throw std::bad_alloc();
        wmemcpy(b, buffer, length);
        if (buffer != local)
            Free(buffer);
        buffer = b;
        capacity = cap;
    }

    wchar_t* buffer;
    int capacity;
    int length;
    int mark;
    wchar_t local[LocalSize];
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal number; digits beyond nine are read but not added, so that an
// absurd width cannot overflow.
const char* ReadNumber(const char* p, int* n)
{
    *n = 0;
    for (int digits = 0; IsDigit(*p); ++p) {
        if (++digits <= 9)
            *n = *n * 10 + (*p - '0');
    }
    return p;
}

// Reads a brace text from its '{' to the '}' that balances it (inner pairs
// are kept) or to the end of the format, keeping at most 100 characters.
// Returns the position after it.
const char* ReadBrace(const char* p, char* sub)
{
    int depth = 1, n = 0;
    for (++p; *p; ++p) {
        if (*p == '{')
            ++depth;
        else if (*p == '}' && --depth == 0) {
            ++p;
            break;
        }
        if (n < MaxBrace)
            sub[n++] = *p;
    }
    sub[n] = 0;
    return p;
}

// Flags, width, precision, brace text and size modifier; '*' takes its
// number from the arguments.
const char* ReadConversion(const char* p, Conversion& c, va_list& ap)
{
    c.left = c.sign = false;
    c.pad = L' ';
    c.prec = -1;
    c.mod = ' ';
    c.sub[0] = 0;
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
        p = ReadNumber(p, &c.width);
    }
    // A '.' without digits or '*' leaves the precision unset (-1), so "%.f"
    // prints as "%f".
    if (*p == '.') {
        if (*++p == '*') {
            c.prec = va_arg(ap, int);
            ++p;
        } else if (IsDigit(*p)) {
            p = ReadNumber(p, &c.prec);
        }
    }
    if (*p == '{')
        p = ReadBrace(p, c.sub);
    if (*p == 'h' || *p == 'l' || *p == 'H')
        c.mod = *p++;
    else if (*p == 'L')
        ++p;
    return p;
}

// Writes v in base 10, 16 or 2 backwards from end; returns its first digit.
char* Digits(char* end, unsigned long long v, unsigned base, bool upper)
{
    if (base == 10) {
        // 32-bit division is much cheaper, above all on i686.
        for (; v > 0xFFFFFFFFull; v /= 10)
            *--end = (char)('0' + v % 10);
        unsigned u = (unsigned)v;
        do {
            *--end = (char)('0' + u % 10);
            u /= 10;
        } while (u);
        return end;
    }
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    const int shift = base == 16 ? 4 : 1;
    do {
        *--end = set[v & (base - 1)];
        v >>= shift;
    } while (v);
    return end;
}

// The argument of d and D, with the brace offset when no size was given.
long long SignedArg(const Conversion& c, va_list& ap)
{
    switch (c.mod) {
    case 'h': return (short)va_arg(ap, int);
    case 'l': return va_arg(ap, long);
    case 'H': return va_arg(ap, long long);
    }
    int v = va_arg(ap, int);
    if (c.sub[0])
        v = (int)((unsigned)v + (unsigned)atoi(c.sub));
    return v;
}

void AppendDecimal(Builder& out, const Conversion& c, va_list& ap, bool commas)
{
    long long v = SignedArg(c, ap);
    char work[WorkSize];
    char* p = Digits(work + WorkSize - 1, v < 0 ? 0ull - (unsigned long long)v : (unsigned long long)v, 10, false);
    work[WorkSize - 1] = 0;
    if (v < 0)
        *--p = '-';
    else if (c.sign)
        *--p = '+';
    int n = (int)(work + WorkSize - 1 - p);
    if (commas) {
        memmove(work, p, n + 1);
        InsertCommas(work, WorkSize);
        p = work;
        n = (int)strlen(work);
    }
    out.append(p, n);
}

// u: 16 bits with h, and a 32-bit argument even with H.
unsigned long long UnsignedArg(const Conversion& c, va_list& ap)
{
    if (c.mod == 'h')
        return (unsigned short)va_arg(ap, int);
    return va_arg(ap, unsigned int);
}

// x and X: a short is widened with its sign, then shown as unsigned.
unsigned long long HexArg(const Conversion& c, va_list& ap)
{
    switch (c.mod) {
    case 'h': return (unsigned)(int)(short)va_arg(ap, int);
    case 'H': return va_arg(ap, unsigned long long);
    }
    return va_arg(ap, unsigned int);
}

// b: the low 16 bits with h.
unsigned long long BinaryArg(const Conversion& c, va_list& ap)
{
    switch (c.mod) {
    case 'h': return (unsigned short)va_arg(ap, int);
    case 'H': return va_arg(ap, unsigned long long);
    }
    return va_arg(ap, unsigned int);
}

void AppendUnsigned(Builder& out, unsigned long long v, unsigned base, bool upper)
{
    char work[WorkSize];
    char* end = work + WorkSize - 1;
    char* p = Digits(end, v, base, upper);
    out.append(p, (int)(end - p));
}

// Formats with the runtime's printf into the work area, cut at its size.
void RuntimeFormat(char* work, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = _vsnprintf(work, WorkSize - 1, format, args);
    va_end(args);
    work[n >= 0 && n < WorkSize - 1 ? n : WorkSize - 1] = 0;
}

// "%.*f" without the runtime when its rounding is certain; false otherwise.
// y = |x|·10^prec is formed in double arithmetic (10^prec is exact); below
// 2^40 its error is under 2^-13, so when the fraction of y is further than
// 10^-3 from one half, rounding y gives the digits that the exact value of x
// gives. Values near a half, large values, infinities and NaNs go to the
// runtime.
bool FixedDirect(char* work, double x, int prec, bool plus)
{
    static const double Pow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (prec > 15)
        return false;
    const double y = fabs(x) * Pow10[prec];
    if (!(y < 1099511627776.0))
        return false;
    const double whole = floor(y), fraction = y - whole;
    if (fabs(fraction - 0.5) < 1e-3)
        return false;
    char digits[32];
    char* end = digits + sizeof(digits);
    char* p = Digits(end, (unsigned long long)whole + (fraction > 0.5), 10, false);
    while (end - p < prec + 1)
        *--p = '0';
    const int integerDigits = (int)(end - p) - prec;
    char* w = work;
    if (signbit(x))
        *w++ = '-';
    else if (plus)
        *w++ = '+';
    memcpy(w, p, integerDigits);
    w += integerDigits;
    if (prec > 0) {
        *w++ = '.';
        memcpy(w, p + integerDigits, prec);
        w += prec;
    }
    *w = 0;
    return true;
}

void AppendFloat(Builder& out, const Conversion& c, va_list& ap, char conv)
{
    double v = va_arg(ap, double);
    int prec = c.prec < 0 ? 6 : c.prec;
    char work[WorkSize];
    if (conv == 'g') {
        if (c.prec < 0)
            RuntimeFormat(work, "%g", v);
        else
            RuntimeFormat(work, "%.*g", c.prec, v);
    } else if (conv == 'e') {
        RuntimeFormat(work, c.sign ? "%+.*e" : "%.*e", prec, v);
    } else {
        if (!FixedDirect(work, v, prec, c.sign))
            RuntimeFormat(work, c.sign ? "%+.*f" : "%.*f", prec, v);
        if (conv == 'F')
            InsertFloatCommas(work, WorkSize);
    }
    out.append(work, (int)strlen(work));
}

// "%p" as the toolchain's printf writes it: lower-case hexadecimal filled
// with zeros to the width of a pointer.
void AppendPointer(Builder& out, const void* v)
{
    const int digits = 2 * (int)sizeof(void*);
    char work[WorkSize];
    char* p = Digits(work + digits, (UINT_PTR)v, 16, false);
    while (p > work)
        *--p = '0';
    out.append(work, digits);
}

const char* BraceOrNull(const Conversion& c)
{
    return c.sub[0] ? c.sub : nullptr;
}

// Appends the text of one conversion. Returns false for an unknown
// conversion, which consumes no argument.
bool AppendConversion(Builder& out, const Conversion& c, char conv, va_list& ap)
{
    switch (conv) {
    case 'c': out += (wchar_t)(signed char)va_arg(ap, int); return true;
    case 'C': out += (wchar_t)(unsigned short)va_arg(ap, int); return true;
    case 's': out += va_arg(ap, const char*); return true;
    case 'U': out += va_arg(ap, const wchar_t*); return true;
    case 'S': out += va_arg(ap, const KString*); return true;
    case 'd': AppendDecimal(out, c, ap, false); return true;
    case 'D': AppendDecimal(out, c, ap, true); return true;
    case 'u': AppendUnsigned(out, UnsignedArg(c, ap), 10, false); return true;
    case 'x': AppendUnsigned(out, HexArg(c, ap), 16, false); return true;
    case 'X': AppendUnsigned(out, HexArg(c, ap), 16, true); return true;
    case 'b': AppendUnsigned(out, BinaryArg(c, ap), 2, false); return true;
    case 'e':
    case 'f':
    case 'F':
    case 'g': AppendFloat(out, c, ap, conv); return true;
    case 'p': AppendPointer(out, va_arg(ap, const void*)); return true;
    case 't': out += va_arg(ap, const KDateTime*)->to_string(BraceOrNull(c)); return true;
    case 'w': out += WindowText(va_arg(ap, KWindow*), BraceOrNull(c)); return true;
    }
    return false;
}

} // namespace

void KString::_vsprint(const char* format, va_list args)
{
    Builder out;
    va_list ap;
    va_copy(ap, args);
    Conversion c;
    const char* p = format ? format : "";
    while (*p) {
        if (*p != '%') {
            const char* run = p;
            while (*p && *p != '%')
                ++p;
            out.append(run, (int)(p - run));
            continue;
        }
        if (p[1] == '%') {
            out += L'%';
            p += 2;
            continue;
        }
        p = ReadConversion(p + 1, c, ap);
        // A '%' or a brace text at the very end ends the output.
        if (!*p)
            break;
        out.markPos();
        const char conv = *p++;
        if (!AppendConversion(out, c, conv, ap))
            ErrorBox(ERRCODE(1, 1018), "Unknown case '%c' in KString::_vsprint().", conv);
        out.padField(c.width, c.pad, c.left);
    }
    va_end(ap);

    // The string keeps an exact copy of the text built.
    const int n = out.getLength();
    wchar_t* b = (wchar_t*)Malloc((size_t)(n + 1) * sizeof(wchar_t));
    if (!b)
        throw std::bad_alloc();
    wmemcpy(b, out.getBuff(), n);
    b[n] = 0;
    adopt(b, n);
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
    for (; format && format[n] && n < 1000; ++n)
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

// Thousands separators

namespace {

void InsertAt(char* text, int len, int pos, char c)
{
    memmove(text + pos + 1, text + pos, len - pos + 1);
    text[pos] = c;
}

} // namespace

void InsertCommas(char* text, int size)
{
    const int original = (int)strlen(text);
    int len = original;
    // A ',' goes 3, 6, 9 ... characters from the right end of the original
    // text, when a digit stands left of that place; places further left are
    // not moved by the insertions.
    for (int right = 3; right < original && len < size - 1; right += 3) {
        const int pos = original - right;
        if (IsDigit(text[pos - 1])) {
            InsertAt(text, len, pos, ',');
            ++len;
        }
    }
}

void InsertFloatCommas(char* text, int size)
{
    int len = (int)strlen(text);
    int end = 0;
    while (IsDigit(text[end]) || text[end] == '-' || text[end] == '+')
        ++end;
    for (int pos = end - 3; pos > 0 && len < size - 1; pos -= 3) {
        if (!IsDigit(text[pos - 1]) || !IsDigit(text[pos]))
            continue;
        InsertAt(text, len, pos, ',');
        ++len;
    }
}

// KFormatSpec

void KFormatSpec::reset()
{
    left = sign = false;
    pad = L' ';
    width = 0;
    prec = -1;
    mod = ' ';
    fmt = ' ';
    off = 0;
    format[0] = prefix[0] = suffix[0] = sub[0] = 0;
}

namespace {

// Appends c to a field of at most 100 characters.
void AddChar(char* field, int* n, char c)
{
    if (*n < MaxBrace) {
        field[(*n)++] = c;
        field[*n] = 0;
    }
}

void CopyField(char* field, const char* from, int count)
{
    if (count > MaxBrace)
        count = MaxBrace;
    memcpy(field, from, count);
    field[count] = 0;
}

} // namespace

void KFormatSpec::parseFormat(const char* text)
{
    reset();
    int nPrefix = 0;
    const char* p = text ? text : "";
    while (*p) {
        if (*p != '%') {
            AddChar(prefix, &nPrefix, *p++);
            continue;
        }
        if (p[1] == '%') {
            AddChar(prefix, &nPrefix, '%');
            p += 2;
            continue;
        }
        const char* start = p++;
        left = sign = false;
        if (*p == '-' || *p == '+')
            (*p++ == '-' ? left : sign) = true;
        pad = L' ';
        if (*p == '0') {
            pad = L'0';
            ++p;
        }
        if (*p == '*') {
            width = -1;
            ++p;
        } else {
            p = ReadNumber(p, &width);
        }
        prec = 0;
        if (*p == '.') {
            if (*++p == '*') {
                prec = -1;
                ++p;
            } else {
                p = ReadNumber(p, &prec);
            }
        }
        sub[0] = 0;
        if (*p == '{')
            p = ReadBrace(p, sub);
        mod = ' ';
        if (*p == 'L' || *p == 'h' || *p == 'l')
            mod = *p++;
        // Any other character is ordinary text again; the attempt is dropped.
        if (!*p || !strchr("CDSUXbcdefpstux", *p))
            continue;
        fmt = *p;
        off = (int)(p - text);
        CopyField(format, start, (int)(p - start) + 1);
        CopyField(suffix, p + 1, (int)strlen(p + 1));
        return;
    }
}

void KFormatSpec::printFormat() const
{
    Printf("prefix='%s' format='%s' left=%d sign=%d width=%d prec=%d mod='%c' fmt='%c' "
           "off=%d pad='%c' suffix='%s' sub='%s'\n",
           prefix, format, left, sign, width, prec, mod, fmt, off, pad, suffix, sub);
}
