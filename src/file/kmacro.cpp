// Macro tables (KMacroEntry, KMacro), ReplaceToken and the environment
// macros of paths (ReplaceMacros).
#include "kmacro.h"
#include "kfile.h"
#include "kdatetime.h"
#include "kdiag.h"
#include <stdarg.h>
#include <wchar.h>

namespace {

// Occurrences of token in text, without overlaps.
int CountToken(const wchar_t* text, const wchar_t* token, int tokenLen)
{
    int count = 0;
    for (const wchar_t* p = wcsstr(text, token); p; p = wcsstr(p + tokenLen, token))
        ++count;
    return count;
}

} // namespace

// ReplaceToken

int ReplaceToken(KString& text, const KString& token, const KString& value)
{
    if (token.isNull())
        return 0;
    const int count = CountToken(text, token, token.length());
    if (count == 0)
        return 0;
    // One buffer of the final size: the text between matches, then the value.
    KString result(text.length() + count * (value.length() - token.length()), 0);
    wchar_t* out = result;
    const wchar_t* from = text;
    for (const wchar_t* hit = wcsstr(from, token); hit; hit = wcsstr(from, token)) {
        wmemcpy(out, from, hit - from);
        out += hit - from;
        wmemcpy(out, value, value.length());
        out += value.length();
        from = hit + token.length();
    }
    wmemcpy(out, from, wcslen(from));
    text = result;
    return count;
}

// KMacroEntry

void KMacroEntry::setName(const KString& n)
{
    KString upper(n);
    upper.toUpper();
    name.clear();
    if (n.firstChar() != L'[')
        name += L'[';
    name += (const char*)upper; // keeps the low 8 bits of each character
    if (n.lastChar() != L']')
        name += L']';
}

KString KMacroEntry::bareName() const
{
    return name(1, name.length() - 1);
}

long cmp_macro(const KMacroEntry& a, const KMacroEntry& b)
{
    return a.name - b.name;
}

// KMacro: entries

KMacro::KMacro(bool withTime)
{
    if (withTime)
        setTime();
}

KMacroEntry* KMacro::findEntry(const KString& name)
{
    for (int i = 0; i < numEntry(); ++i) {
        if (entries[i].name == name)
            return &entries[i];
    }
    return nullptr;
}

void KMacro::set(const KString& name, const char* format, ...)
{
    KString value;
    va_list args;
    va_start(args, format);
    value._vsprint(format, args);
    va_end(args);
    if (KMacroEntry* e = findEntry(name)) {
        e->value = value;
        return;
    }
    KMacroEntry e;
    e.name = name;
    e.value = value;
    entries.append(e);
}

bool KMacro::lookupValue(const KString& bareName, KMacroEntry* found) const
{
    KString name;
    name.set("[%S]", &bareName);
    for (int i = 0; i < numEntry(); ++i) {
        if (entries[i].name != name)
            continue;
        if (found)
            *found = entries[i];
        return true;
    }
    return false;
}

void KMacro::merge(const KMacro& other)
{
    // other may be this table: take the count first.
    const int n = other.numEntry();
    for (int i = 0; i < n; ++i) {
        if (!findEntry(other.entries[i].name))
            entries.append(other.entries[i]);
    }
}

KMacro operator+(const KMacro& a, const KMacro& b)
{
    KMacro sum(a);
    for (int i = 0; i < b.numEntry(); ++i)
        sum.entries.append(b.entries[i]);
    return sum;
}

void KMacro::sort()
{
    entries.sort([](const KMacroEntry& a, const KMacroEntry& b) { return (int)cmp_macro(a, b); });
}

// KMacro: expansion

KString KMacro::execute(const KString& text, int maxPasses) const
{
    KString result(text);
    const int passes = maxPasses < MaxPasses ? maxPasses : MaxPasses;
    for (int pass = 0; pass < passes; ++pass) {
        KString before(result);
        int replaced = 0;
        for (int i = 0; i < numEntry(); ++i) {
            const KMacroEntry& e = entries[i];
            if (e.name.isNull())
                continue;
            long long count = CountToken(result, e.name, e.name.length());
            long long grown = result.length() + count * (e.value.length() - e.name.length());
            if (grown > MaxLength)
                return result;
            replaced += ReplaceToken(result, e.name, e.value);
        }
        // A pass that changed nothing would repeat itself exactly.
        if (replaced == 0 || result == before)
            break;
    }
    return result;
}

// KMacro: time macros

void KMacro::setTime()
{
    static const struct {
        const char* name;
        const char* format;
    } TimeMacros[] = {
        {"[CUR MONTH]", "%{%m}t"},      {"[CUR MONTH NAME]", "%{%B}t"},
        {"[CUR MONTH ABBR]", "%{%b}t"}, {"[CUR DAY]", "%{%d}t"},
        {"[CUR YEAR]", "%{%Y}t"},       {"[CUR HOUR]", "%{%H}t"},
        {"[CUR MINUTE]", "%{%M}t"},     {"[CUR SECOND]", "%{%S}t"},
        {"[CUR DATE]", "%{%m/%d/%Y}t"}, {"[CUR TIME]", "%{%X}t"},
        {"[CUR DATETIME]", "%t"},
    };
    const KDateTime now;
    for (const auto& m : TimeMacros)
        set(m.name, m.format, &now);
}

// KMacro: the table record

void KMacro::IO(KFile& file)
{
    int version = 1;
    int n = numEntry();
    file.IO(&version);
    file.IO(&n);
    if (file.IOMode() == 2) {
        for (int i = 0; i < n; ++i) {
            int entryVersion = 1;
            file.IO(&entryVersion);
            entries[i].name.write(file);
            entries[i].value.write(file);
        }
        return;
    }
    if (file.IOMode() != 1)
        return;
    if (n < 0)
        throw KorvelException(1, "Invalid count=%d in KMacro::IO()\nFile \"%S\".", n,
                              &file.getPath());
    // A damaged count must not reserve memory ahead of the entries that
    // actually follow: the table grows as they are read.
    KArray<KMacroEntry> read;
    read.reserve(n < 256 ? n : 256, false);
    for (int i = 0; i < n; ++i) {
        KMacroEntry e;
        int entryVersion = 0;
        file.IO(&entryVersion);
        e.name.read(file);
        e.value.read(file);
        read.append(e);
    }
    entries = read;
}

// Environment macros

namespace {

// The variable's value, at most 260 characters; throws when it is undefined or empty.
KString EnvironmentValue(const KString& name)
{
    wchar_t value[MAX_PATH + 1];
    DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
    if (n == 0)
        throw KorvelException(1, "GetEnvironmentVariable(%U) failed.", (const wchar_t*)name);
    if (n > MAX_PATH) {
        // Too long for the buffer: n is the size needed. Take its first 260.
        KString all(n, 0);
        DWORD got = GetEnvironmentVariableW(name, all, n);
        if (got == 0 || got >= n)
            throw KorvelException(1, "GetEnvironmentVariable(%U) failed.", (const wchar_t*)name);
        all.trunc(MAX_PATH);
        return all;
    }
    return KString(value);
}

// Copies in to out, at most room - 1 characters, replacing the macros.
void Expand(const wchar_t* in, wchar_t* out, size_t room)
{
    size_t n = 0;
    auto put = [&](wchar_t c) {
        if (n + 1 < room)
            out[n++] = c;
    };
    for (const wchar_t* p = in; p && *p; ++p) {
        if (*p != L'[') {
            put(*p);
            continue;
        }
        const wchar_t* close = wcschr(p + 1, L']');
        if (!close)
            break; // an unclosed bracket drops the rest
        KString name(p + 1);
        name.trunc((int)(close - p - 1));
        KString value = EnvironmentValue(name);
        for (int i = 0; i < value.length(); ++i)
            put(value[i]);
        p = close;
    }
    out[n] = 0;
}

} // namespace

void ReplaceMacros(const wchar_t* in, wchar_t* out)
{
    Expand(in, out, (size_t)-1);
}

KString ReplaceMacros(const wchar_t* in)
{
    wchar_t out[MAX_PATH];
    Expand(in, out, MAX_PATH);
    return KString(out);
}
