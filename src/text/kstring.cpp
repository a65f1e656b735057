// KString: exact-size wide strings. Every change of length builds a new
// buffer of the new size, copies into it and only then frees the old one, so
// an operand may point into the string being changed.
#include "kstring.h"
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

namespace {

wchar_t Widen(char b)
{
    return (wchar_t)(signed char)b;
}

int WideLen(const wchar_t* s)
{
    return s ? (int)wcslen(s) : 0;
}

int ByteLen(const char* s)
{
    return s ? (int)strlen(s) : 0;
}

// Buffer for n units and the terminator.
wchar_t* AllocUnits(int n)
{
    wchar_t* b = (wchar_t*)Malloc((size_t)(n + 1) * sizeof(wchar_t));
    if (!b)
        throw std::bad_alloc();
    b[n] = 0;
    return b;
}

void WidenInto(wchar_t* dst, const char* src, int n)
{
    for (int i = 0; i < n; ++i)
        dst[i] = Widen(src[i]);
}

// The 8-bit views: a ring of buffers, 64 bytes unless a longer text needed more.
const int RingSlots = 20;
const int RingSmall = 64;
char* Ring[RingSlots];
int RingSize[RingSlots];
int RingNext;

char* NextRingBuffer(int need)
{
    if (!Ring[0]) {
        for (int i = 0; i < RingSlots; ++i) {
            Ring[i] = (char*)Malloc(RingSmall);
            RingSize[i] = RingSmall;
        }
    }
    int i = RingNext;
    RingNext = (RingNext + 1) % RingSlots;
    if (Ring[i] && RingSize[i] >= need && RingSize[i] <= RingSmall)
        return Ring[i];
    // Too small, or a large buffer from earlier that is given back now.
    Free(Ring[i]);
    RingSize[i] = need > RingSmall ? need : RingSmall;
    Ring[i] = (char*)Malloc(RingSize[i]);
    if (!Ring[i])
        throw std::bad_alloc();
    return Ring[i];
}

} // namespace

// Construction and assignment

KString::KString() : buf(AllocUnits(0)), len(0)
{
}

KString::KString(const KString& other) : buf(AllocUnits(other.len)), len(other.len)
{
    wmemcpy(buf, other.buf, len);
}

KString::KString(const wchar_t* text) : buf(nullptr), len(WideLen(text))
{
    buf = AllocUnits(len);
    wmemcpy(buf, text, len);
}

KString::KString(const char* text) : buf(nullptr), len(ByteLen(text))
{
    buf = AllocUnits(len);
    WidenInto(buf, text, len);
}

KString::KString(int count, wchar_t fill) : buf(nullptr), len(count > 0 ? count : 0)
{
    buf = AllocUnits(len);
    if (fill)
        wmemset(buf, fill, len);
}

KString::~KString()
{
    Free(buf);
}

KString& KString::operator=(const KString& other)
{
    if (this != &other)
        *this = other.buf;
    return *this;
}

KString& KString::operator=(const wchar_t* text)
{
    int n = WideLen(text);
    wchar_t* b = AllocUnits(n);
    wmemcpy(b, text, n);
    adopt(b, n);
    return *this;
}

KString& KString::operator=(const char* text)
{
    int n = ByteLen(text);
    wchar_t* b = AllocUnits(n);
    WidenInto(b, text, n);
    adopt(b, n);
    return *this;
}

wchar_t* KString::openGap(int pos, int cut, int n) const
{
    wchar_t* b = AllocUnits(len - cut + n);
    wmemcpy(b, buf, pos);
    wmemcpy(b + pos + n, buf + pos + cut, len - pos - cut);
    return b;
}

void KString::adopt(wchar_t* b, int n)
{
    Free(buf);
    buf = b;
    len = n;
}

void KString::keepRange(int from, int to)
{
    if (from == 0 && to == len)
        return;
    int n = to > from ? to - from : 0;
    wchar_t* b = AllocUnits(n);
    wmemcpy(b, buf + from, n);
    adopt(b, n);
}

// Conversion

KString::operator const char*() const
{
    char* out = NextRingBuffer(len + 1);
    for (int i = 0; i <= len; ++i)
        out[i] = (char)buf[i];
    return out;
}

void KString::getString(char* dst, int size) const
{
    if (!dst || size < 1)
        return;
    int n = len < size - 1 ? len : size - 1;
    for (int i = 0; i < n; ++i)
        dst[i] = (char)buf[i];
    dst[n] = 0;
    // The last byte of the buffer is always a terminator, whatever the length.
    dst[size - 1] = 0;
}

int _SafeCopy(char* dst, const KString& s, int size)
{
    if (!dst || size < 1)
        return 0;
    int n = 0;
    for (; n < size - 1 && n < s.length(); ++n)
        dst[n] = (char)s[n];
    dst[n] = 0;
    return n;
}

// Comparison

bool KString::operator==(const KString& s) const
{
    return len == s.len && wmemcmp(buf, s.buf, len) == 0;
}

bool KString::operator==(const wchar_t* s) const
{
    return len == WideLen(s) && wmemcmp(buf, s, len) == 0;
}

bool KString::operator==(const char* s) const
{
    if (len != ByteLen(s))
        return false;
    for (int i = 0; i < len; ++i) {
        if (buf[i] != Widen(s[i]))
            return false;
    }
    return true;
}

long KString::operator-(const KString& s) const
{
    // Both end in 0, which sorts a prefix before the longer string.
    for (int i = 0;; ++i) {
        if (buf[i] != s.buf[i])
            return buf[i] < s.buf[i] ? -1 : 1;
        if (!buf[i])
            return 0;
    }
}

bool KString::startsWith(const KString& s) const
{
    return beginsWith(s, true);
}

bool KString::beginsWith(const KString& s, bool exact) const
{
    if (len < s.len)
        return false;
    if (exact)
        return wmemcmp(buf, s.buf, s.len) == 0;
    return _wcsnicmp(buf, s.buf, s.len) == 0;
}

bool KString::endsWith(const KString& s, bool exact) const
{
    if (len < s.len)
        return false;
    const wchar_t* tail = buf + len - s.len;
    if (exact)
        return wmemcmp(tail, s.buf, s.len) == 0;
    return _wcsicmp(tail, s.buf) == 0;
}

// Search

int KString::find(const KString& s) const
{
    const wchar_t* at = wcsstr(buf, s.buf);
    return at ? (int)(at - buf) : -1;
}

int KString::hasSub(const KString& s) const
{
    return find(s);
}

int KString::findChar(wchar_t c) const
{
    for (int i = 0; i < len; ++i) {
        if (buf[i] == c)
            return i;
    }
    return -1;
}

int KString::findLast(wchar_t c) const
{
    for (int i = len - 1; i >= 0; --i) {
        if (buf[i] == c)
            return i;
    }
    return -1;
}

int KString::countChar(wchar_t c) const
{
    int n = 0;
    for (int i = 0; i < len; ++i)
        n += buf[i] == c;
    return n;
}

int KString::nonSpace() const
{
    return len - countChar(L' ');
}

// Building and editing

KString& KString::operator+=(const KString& s)
{
    return *this += s.buf;
}

KString& KString::operator+=(const wchar_t* s)
{
    int n = WideLen(s);
    if (n == 0)
        return *this;
    wchar_t* b = openGap(len, 0, n);
    wmemcpy(b + len, s, n);
    adopt(b, len + n);
    return *this;
}

KString& KString::operator+=(const char* s)
{
    insert(s, len);
    return *this;
}

KString& KString::operator+=(wchar_t c)
{
    insert(c, len);
    return *this;
}

KString& KString::operator+=(char c)
{
    insert(Widen(c), len);
    return *this;
}

void KString::append(wchar_t c)
{
    insert(c, len);
}

KString operator+(const KString& a, const KString& b)
{
    KString r(a.length() + b.length(), 0);
    wmemcpy(r, a, a.length());
    wmemcpy((wchar_t*)r + a.length(), b, b.length());
    return r;
}

void KString::insert(wchar_t c, int pos)
{
    if (pos < 0 || pos > len)
        return;
    wchar_t* b = openGap(pos, 0, 1);
    b[pos] = c;
    adopt(b, len + 1);
}

void KString::insert(const char* s, int pos)
{
    int n = ByteLen(s);
    if (n == 0 || pos < 0 || pos > len)
        return;
    wchar_t* b = openGap(pos, 0, n);
    WidenInto(b + pos, s, n);
    adopt(b, len + n);
}

void KString::remove(int pos)
{
    if (pos < 0 || pos >= len)
        return;
    remove(pos, pos);
}

void KString::remove(int a, int b)
{
    int lo = a < b ? a : b;
    int hi = a < b ? b : a;
    if (lo < 0)
        lo = 0;
    if (hi > len - 1)
        hi = len - 1;
    if (lo > hi)
        return;
    // The terminator moves down with the tail.
    wmemmove(buf + lo, buf + hi + 1, len - hi);
    len -= hi - lo + 1;
}

void KString::trunc(int n)
{
    if (len > n)
        keepRange(0, n > 0 ? n : 0);
}

void KString::clear()
{
    adopt(AllocUnits(0), 0);
}

void KString::blank(int n, wchar_t c)
{
    if (n < 0)
        n = 0;
    wchar_t* b = AllocUnits(n);
    wmemset(b, c, n);
    adopt(b, n);
}

void KString::stompField(int a, int b, const KString& s)
{
    if (a < 0 || a >= len || b < 0 || b >= len || b < a)
        return;
    int width = b - a + 1;
    int n = s.len < width ? s.len : width;
    wmemmove(buf + a, s.buf, n);
    wmemset(buf + a + n, L' ', width - n);
}

KString KString::operator()(int start, int end) const
{
    if (start < 0)
        start = 0;
    if (start > len)
        start = len;
    if (end < 0 || end > len)
        end = len;
    int n = end - start;
    if (n <= 0)
        return KString();
    KString r(n, 0);
    wmemcpy(r.buf, buf + start, n);
    return r;
}

void KString::extract(const KString& s, int start, int end)
{
    *this = s(start, end);
}

KString KString::replace(const KString& from, const KString& to) const
{
    int pos = find(from);
    if (pos < 0)
        return *this;
    KString r;
    r.adopt(openGap(pos, from.len, to.len), len - from.len + to.len);
    wmemcpy(r.buf + pos, to.buf, to.len);
    return r;
}

KString KString::replaceToken(const KString& from, const KString& to) const
{
    for (int pos = 0; pos + from.len <= len; ++pos) {
        if (wmemcmp(buf + pos, from.buf, from.len) != 0)
            continue;
        KString r;
        r.adopt(openGap(pos, from.len, to.len), len - from.len + to.len);
        wmemcpy(r.buf + pos, to.buf, to.len);
        return r;
    }
    return *this;
}

// Case and character classes

void KString::toUpper()
{
    _wcsupr(buf);
}

void KString::toLower()
{
    _wcslwr(buf);
}

void KString::toUpper(int pos)
{
    if (pos >= 0 && pos < len)
        _wcsupr(buf + pos);
}

void KString::toLower(int pos)
{
    if (pos >= 0 && pos < len)
        _wcslwr(buf + pos);
}

void KString::capitalizeFirstChars()
{
    for (int i = 0; i < len; ++i) {
        bool first = i == 0 || iswspace(buf[i - 1]);
        buf[i] = first ? towupper(buf[i]) : towlower(buf[i]);
    }
}

int KString::replaceChar(wchar_t from, wchar_t to)
{
    if (!from || !to)
        return 0;
    int n = 0;
    for (int i = 0; i < len; ++i) {
        if (buf[i] == from) {
            buf[i] = to;
            ++n;
        }
    }
    return n;
}

int KString::keepWhere(bool (*keep)(wchar_t unit, const void* ctx), const void* ctx)
{
    int kept = 0;
    for (int i = 0; i < len; ++i)
        kept += keep(buf[i], ctx);
    int removed = len - kept;
    if (removed == 0)
        return 0;
    wchar_t* b = AllocUnits(kept);
    for (int i = 0, j = 0; i < len; ++i) {
        if (keep(buf[i], ctx))
            b[j++] = buf[i];
    }
    adopt(b, kept);
    return removed;
}

int KString::removeChar(wchar_t c)
{
    auto differs = [](wchar_t u, const void* ctx) { return u != *(const wchar_t*)ctx; };
    return keepWhere(differs, &c);
}

namespace {
struct CharTest {
    int (*test)(int);
    bool invert;
};
}

int KString::keepChars(int (*test)(int), bool invert)
{
    CharTest t = {test, invert};
    auto passes = [](wchar_t u, const void* ctx) {
        const CharTest* t = (const CharTest*)ctx;
        return (t->test(u) != 0) != t->invert;
    };
    return keepWhere(passes, &t);
}

int KString::keepChars(int (*test)(int))
{
    return keepChars(test, false);
}

int KString::removeChars(int (*test)(int))
{
    return keepChars(test, true);
}

void KString::stripSpaces()
{
    int from = 0, to = len;
    while (from < to && iswspace(buf[from]))
        ++from;
    while (to > from && iswspace(buf[to - 1]))
        --to;
    keepRange(from, to);
}

void KString::stripTrailing()
{
    int to = len;
    while (to > 0 && iswspace(buf[to - 1]))
        --to;
    keepRange(0, to);
}

void KString::stripChar(wchar_t c)
{
    int from = 0, to = len;
    while (from < to && buf[from] == c)
        ++from;
    while (to > from && buf[to - 1] == c)
        --to;
    keepRange(from, to);
}

void KString::stripChars(const wchar_t* set)
{
    if (!set)
        return;
    int from = 0, to = len;
    while (from < to && wcschr(set, buf[from]))
        ++from;
    while (to > from && wcschr(set, buf[to - 1]))
        --to;
    keepRange(from, to);
}

bool KString::trim(const KString& s, bool exact)
{
    if (!endsWith(s, exact))
        return false;
    len -= s.len;
    buf[len] = 0;
    return true;
}

bool KString::skip(const KString& s, bool exact)
{
    if (!beginsWith(s, exact))
        return false;
    keepRange(s.len, len);
    return true;
}

// Splitting

KArray<KString> KString::split(wchar_t sep, bool strip) const
{
    KArray<KString> fields;
    int start = 0;
    for (int i = 0; i <= len; ++i) {
        if (i < len && buf[i] != sep)
            continue;
        KString& f = fields.append((*this)(start, i));
        if (strip)
            f.stripSpaces();
        start = i + 1;
    }
    return fields;
}

KArray<KString> KString::splitTokens() const
{
    KArray<KString> tokens;
    int i = 0;
    while (i < len) {
        while (i < len && iswspace(buf[i]))
            ++i;
        int start = i;
        while (i < len && !iswspace(buf[i]))
            ++i;
        if (i > start)
            tokens.append((*this)(start, i));
    }
    return tokens;
}
