// KStringBuff: the builder behind formatted output. It grows by doubling on
// the runtime heap, so building long text stays linear.
#include "kstring.h"
#include "kdiag.h"
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {
const int InitialCapacity = 128;
}

KStringBuff::KStringBuff()
    : buffer((wchar_t*)malloc(InitialCapacity * sizeof(wchar_t))),
      capacity(InitialCapacity), length(0), mark(0)
{
    if (!buffer)
        throw std::bad_alloc();
}

KStringBuff::~KStringBuff()
{
    free(buffer);
}

void KStringBuff::verifyBuffer(int n)
{
    int cap = capacity;
    while (cap < n)
        cap *= 2;
    if (cap == capacity)
        return;
    wchar_t* b = (wchar_t*)realloc(buffer, (size_t)cap * sizeof(wchar_t));
    if (!b)
        throw std::bad_alloc();
    buffer = b;
    capacity = cap;
}

void KStringBuff::append(const char* s, int n)
{
    if (!s || n <= 0)
        return;
    verifyBuffer(length + n);
    for (int i = 0; i < n; ++i)
        buffer[length + i] = (wchar_t)(signed char)s[i];
    length += n;
}

void KStringBuff::append(const wchar_t* s, int n)
{
    if (!s || n <= 0)
        return;
    verifyBuffer(length + n);
    wmemcpy(buffer + length, s, n);
    length += n;
}

KStringBuff& KStringBuff::operator+=(const char* s)
{
    append(s, s ? (int)strlen(s) : 0);
    return *this;
}

KStringBuff& KStringBuff::operator+=(const wchar_t* s)
{
    append(s, s ? (int)wcslen(s) : 0);
    return *this;
}

KStringBuff& KStringBuff::operator+=(const KString& s)
{
    append((const wchar_t*)s, s.length());
    return *this;
}

KStringBuff& KStringBuff::operator+=(const KString* s)
{
    if (s)
        *this += *s;
    return *this;
}

KStringBuff& KStringBuff::operator+=(wchar_t c)
{
    verifyBuffer(length + 1);
    buffer[length++] = c;
    return *this;
}

void KStringBuff::padField(int width, wchar_t pad, bool leftJustify)
{
    int field = length - mark;
    if (field >= width)
        return;
    int n = width - field;
    verifyBuffer(length + n);
    if (leftJustify) {
        wmemset(buffer + length, pad, n);
    } else {
        wmemmove(buffer + mark + n, buffer + mark, field);
        wmemset(buffer + mark, pad, n);
    }
    length += n;
}

void KStringBuff::print() const
{
    Printf("'");
    for (int i = 0; i < length; ++i)
        Printf("%C", buffer[i]);
    Printf("'\n");
}
