// Path parts, full and long forms, relative paths and name checks.
#include "kpath.h"
#include "kpath_internal.h"
#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <vector>

namespace {

// The four parts of a path as the runtime's splitter gives them.
struct PathParts {
    KString drive, dir, name, ext;
};

PathParts Split(const KString& p)
{
    // No part can be longer than the path itself, so buffers of its length
    // take any path, also one longer than the runtime's fixed limits.
    const size_t n = (size_t)p.length() + 1;
    std::vector<wchar_t> buf(4 * n, 0);
    wchar_t* drive = buf.data();
    wchar_t* dir = drive + n;
    wchar_t* name = dir + n;
    wchar_t* ext = name + n;
    PathParts parts;
    if (p.isNull())
        return parts;
    if (_wsplitpath_s(p, drive, n, dir, n, name, n, ext, n) != 0)
        return parts;
    parts.drive = drive;
    parts.dir = dir;
    parts.name = name;
    parts.ext = ext;
    return parts;
}

const wchar_t* NonNull(const wchar_t* s)
{
    return s ? s : L"";
}

// s begins with prefix, ignoring case.
bool BeginsWithNoCase(const wchar_t* s, const KString& prefix)
{
    return _wcsnicmp(s, prefix, prefix.length()) == 0;
}

// s without one trailing backslash.
KString WithoutTrailingBackslash(const wchar_t* s)
{
    KString r(NonNull(s));
    if (r.lastChar() == L'\\')
        r.trunc(r.length() - 1);
    return r;
}

} // namespace

// Path parts

KString GetDirPart(const KString& p)
{
    PathParts parts = Split(p);
    return parts.drive + parts.dir;
}

KString GetFileNameDir(const KString& p)
{
    return GetDirPart(p);
}

KString GetFilePart(const KString& p)
{
    PathParts parts = Split(p);
    return parts.name + parts.ext;
}

KString GetFileNamePart(const KString& p)
{
    return Split(p).name;
}

KString GetExtPart(const KString& p)
{
    return Split(p).ext;
}

bool HasFileExt(const KString& p, const wchar_t* ext)
{
    return _wcsicmp(GetExtPart(p), NonNull(ext)) == 0;
}

KString GetFileNameTail(const KString& p, unsigned n)
{
    unsigned seen = 0;
    for (int i = p.length() - 1; i >= 0; --i) {
        if (!IsDirSeparator(p[i]) && p[i] != L':')
            continue;
        if (seen == n)
            return p(i + 1, -1);
        ++seen;
    }
    return p;
}

// Full and long forms

KString GetFullPath(const KString& p)
{
    wchar_t buf[MAX_PATH];
    DWORD n = GetFullPathNameW(p, MAX_PATH, buf, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return p;
    return KString(buf);
}

KString GetLongFileName(const KString& p)
{
    if (p.isNull())
        return p;
    CriticalErrorsOff quiet;
    DWORD need = GetLongPathNameW(p, nullptr, 0);
    if (need == 0)
        return p;
    std::vector<wchar_t> buf(need + 1, 0);
    DWORD n = GetLongPathNameW(p, buf.data(), need + 1);
    if (n == 0 || n > need)
        return p;
    return KString(buf.data());
}

// Comparing and relative paths

bool IsSameDir(const wchar_t* a, const wchar_t* b)
{
    return _wcsicmp(WithoutTrailingBackslash(a), WithoutTrailingBackslash(b)) == 0;
}

KString GetRelPath(const wchar_t* p)
{
    KString current = GetCurrentDir();
    if (current.isNull() || !p)
        return KString(p);
    // The root directory ("c:\") already ends in its backslash.
    if (current.lastChar() != L'\\')
        current += L'\\';
    if (!BeginsWithNoCase(p, current))
        return KString(p);
    return KString(p + current.length());
}

KString GetRelPath(const wchar_t* base, const wchar_t* p)
{
    if (!base || !*base || !p || !*p)
        return KString();
    KString fullBase = GetFullPath(base);
    KString fullPath = GetFullPath(p);
    if (fullBase.lastChar() == L'\\')
        fullBase.trunc(fullBase.length() - 1);
    const int n = fullBase.length();
    if (!BeginsWithNoCase(fullPath, fullBase) || fullPath[n] != L'\\')
        return fullPath;
    return fullPath(n + 1, -1);
}

KString GetRelName(const wchar_t* prefix, const wchar_t* p)
{
    KString rel = GetRelPath(p);
    if (!BeginsWithNoCase(rel, KString(prefix)))
        return rel;
    return GetFilePart(rel);
}

// Names

bool IsValidFileNameChar(int c)
{
    // Wide characters beyond the 8-bit range are outside the C locale's classes.
    if (c <= 0 || c > 255)
        return false;
    return isalnum(c) || strchr(" $%'-_@~`!()^#&+,.;=[]", c) != nullptr;
}

bool IsValidDirNameChar(int c)
{
    return IsValidFileNameChar(c) || c == '\\' || c == ':';
}

bool IsValidFileName(const KString& s)
{
    if (s.isNull())
        return false;
    for (int i = 0; i < s.length(); ++i) {
        if (!IsValidFileNameChar(s[i]))
            return false;
    }
    return true;
}

bool IsValidDirName(const KString& s)
{
    if (s.isNull())
        return false;
    for (int i = 0; i < s.length(); ++i) {
        if (!IsValidDirNameChar(s[i]))
            return false;
    }
    return true;
}

KString MakeValidFileName(KString s)
{
    int kept = 0;
    for (int i = 0; i < s.length(); ++i) {
        if (IsValidFileNameChar(s[i]))
            s[kept++] = s[i];
    }
    s.trunc(kept);
    return s;
}
