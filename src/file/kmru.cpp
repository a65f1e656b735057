// The most-recently-used file list.
#include "kpath.h"
#include "kpath_internal.h"
#include "kmacro.h"
#include "kdiag.h"
#include <utility>

namespace {

// An entry exists as written, or, when it names macros, with them replaced.
// An entry whose macros are undefined does not exist; brackets that belong
// to a real name are found by the first test.
bool EntryExists(const KString& entry)
{
    if (PathExists(entry))
        return true;
    if (entry.findChar(L'[') < 0)
        return false;
    try {
        return PathExists(ReplaceMacros(entry));
    } catch (const KorvelException&) {
        return false;
    }
}

} // namespace

void UpdateRecentFilesList(KArray<KString>& list, const KString& file, int max)
{
    const KString entry = GetRelPath(file);
    const int n = list.count() > 0 ? list.count() : 0;
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i) {
        if (list[i] == entry)
            found = i;
    }

    // The entry first, then the others in their order; a new entry may push
    // the last ones past max.
    const int limit = found >= 0 ? n : (max > 0 ? max : 0);
    KArray<KString> updated;
    updated.reserve(n + 1, false);
    if (limit > 0)
        updated.append(entry);
    for (int i = 0; i < n && updated.count() < limit; ++i) {
        if (i != found)
            updated.append(list[i]);
    }

    for (int i = updated.count() - 1; i >= 0; --i) {
        if (!EntryExists(updated[i]))
            updated.remove(i);
    }
    list = std::move(updated);
}
