// What the file tests share beyond the kit: their includes, the text of a thrown group-1 exception,
// directory listings, header comparison and an option file.
#ifndef KORVEL_TESTS_FILE_TESTS_H
#define KORVEL_TESTS_FILE_TESTS_H

#include <errno.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <malloc.h>
#include <string.h>
#include <algorithm>
#include <tuple>
#include "test_support.h"

// The text of the group-1 KorvelException f throws; else "<group n>" or "<no exception>".
template <class F>
std::string ThrownText(F f)
{
    const Caught c = Catch(f);
    if (c.kind != Caught::Korvel)
        return c ? "<not a KorvelException>" : "<no exception>";
    return c.group == 1 ? c.text : "<group " + std::to_string(c.group) + ">";
}

// The names that match a pattern such as "dir\\*", without "." and "..".
inline std::vector<std::wstring> Listing(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd))
        if (wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0)
            names.push_back(fd.cFileName);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    return names;
}

inline bool SameHeader(const KFileHeader& a, const KFileHeader& b)
{
    return a.magic == b.magic && wcscmp(a.name, b.name) == 0 && a.version == b.version &&
           a.subVersion == b.subVersion && a.extra == b.extra && a.libVersionMajor == b.libVersionMajor &&
           a.libVersionMinor == b.libVersionMinor;
}

const wchar_t* const TestKind = L"Korvel Test Options";
const wchar_t* const ColourKind = L"Custom Color Options";

// An option file with a field of each kind, whose hooks record their calls and can fail.
class TestOptions : public OptionFile {
public:
    explicit TestOptions(int v = 3, int c = 0, double s = 0, const wchar_t* t = L"", int f = 0)
        : count(c), flags(f), scale(s), title(t)
    {
        name = TestKind;
        version = v;
    }
    bool same(const TestOptions& o) const
    {
        return count == o.count && memcmp(&scale, &o.scale, 8) == 0 && Wide(title) == Wide(o.title) &&
               flags == o.flags;
    }
    int count, flags;
    double scale;
    KString title;
    bool scramble = false, failWriting = false, failBeforeStore = false;
    std::wstring here; // once set, calls lists the hooks called and IO on files in this directory
    std::string calls;

protected:
    void note(const std::string& call) { calls += here.empty() ? "" : call + ", "; }
    void storeHandler() override
    {
        note("storeHandler");
        if (failBeforeStore)
            throw KorvelException(1, "Nothing to store.");
    }
    void loadHandler() override { note("loadHandler"); }
    void encryptHandler(KFile& f) override
    {
        note("encryptHandler");
        if (scramble)
            f.setEncrypt(def_enc_bytes, num_def_enc_bytes, 0);
    }
    void IO(KFile& f, int v) override
    {
        if (Wide(f.getDir()) == here)
            note((f.IOMode() == 1 ? "IO read v" : "IO write v") + std::to_string(v));
        f.IO(&count);
        if (failWriting && f.IOMode() == 2) // after the first field
            throw KorvelException(1, "Disk pulled out.");
        f.IO(&scale);
        f.IO(&title);
        f.IO(&flags);
    }
};

#endif
