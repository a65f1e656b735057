// Macro substitution: environment macros in paths and macro tables for texts.
//
// ReplaceMacros replaces each "[NAME]" in a path by the environment variable
// NAME; the library sets BOOT_DIR and TARNWELL_DIR when it is loaded, so
// "[TARNWELL_DIR]\\user\\" works on any installation.
//
// A KMacro is an ordered table of ("[NAME]", value) pairs that execute applies
// to a text, pass after pass, so that values may name other macros:
//
//     KMacro m(true);                        // with the [CUR ...] time macros
//     m.set("[CUR_PAGE]", "%d", page);
//     KString line = m.execute("Page [CUR_PAGE], printed [CUR DATE]", 5);
//
// Names are compared exactly (ordinal, case-sensitive).
#ifndef KORVEL_KMACRO_H
#define KORVEL_KMACRO_H

#include "kexport.h"
#include "kstring.h"
#include "array"

class KFile;

class KORVEL_API KMacroEntry {
public:
    KString name;  // with its brackets, such as "[CUR DATE]"
    KString value;

    KMacroEntry() = default;
    KMacroEntry(const KMacroEntry& other) = default;
    KMacroEntry& operator=(const KMacroEntry& other) = default;
    ~KMacroEntry() = default;

    // Sets "[NAME]": brackets added where missing, the text upper-cased and
    // kept to the low 8 bits of each character ("cur date" gives "[CUR DATE]").
    void setName(const KString& name);
    // The name without its first and last characters.
    KString bareName() const;
    // Identity: true only for the same object.
    bool operator==(const KMacroEntry& other) const { return this == &other; }
};

// Three-way ordinal comparison of the entries' names: -1, 0 or +1.
KORVEL_API long cmp_macro(const KMacroEntry& a, const KMacroEntry& b);

class KORVEL_API KMacro {
public:
    // An empty table; with withTime, filled with the time macros (setTime).
    explicit KMacro(bool withTime = false);
    KMacro(const KMacro& other) = default;
    KMacro& operator=(const KMacro& other) = default;
    ~KMacro() = default;

    int numEntry() const { return entries.count() > 0 ? entries.count() : 0; }
    // Not bounds-checked: 0 <= i < numEntry().
    KMacroEntry& operator[](int i) { return entries[i]; }
    const KMacroEntry& operator[](int i) const { return entries[i]; }

    // Formats the value of the entry named exactly name ("[NAME]"), adding it when new.
    void set(const KString& name, const char* format, ...);
    // Copies the first entry named "[bareName]" into *found; false when there is none.
    bool lookupValue(const KString& bareName, KMacroEntry* found) const;

    // Replaces every name by its value, entry by entry in table order, and
    // repeats the pass while something was replaced, for at most maxPasses
    // passes (and never more than MaxPasses). Expansion also stops, leaving
    // the rest unexpanded, where a replacement would make the text longer
    // than MaxLength characters, so a macro whose value holds its own name
    // cannot run away.
    KString execute(const KString& text, int maxPasses) const;
    enum { MaxPasses = 1000, MaxLength = 1000000 };

    // Appends copies of the entries of other whose names are not here yet.
    void merge(const KMacro& other);
    KMacro& operator+=(const KMacro& other)
    {
        merge(other);
        return *this;
    }
    // Orders the entries by name (cmp_macro).
    void sort();

    // Sets [CUR MONTH], [CUR DAY], [CUR YEAR], [CUR DATE], [CUR TIME] ... to
    // the current local time, taken once.
    void setTime();

    // The table record: version 1, the count, then for each entry version 1,
    // the name and the value as string records. Reading replaces the table
    // only when the whole record was read.
    void IO(KFile& file);

private:
    friend KORVEL_API KMacro operator+(const KMacro& a, const KMacro& b);
    // The entry named exactly name, or null.
    KMacroEntry* findEntry(const KString& name);

    KArray<KMacroEntry> entries;
};

// All entries of a followed by all of b, duplicates included.
KORVEL_API KMacro operator+(const KMacro& a, const KMacro& b);

// Replaces every occurrence of token (scanning on after each match, so matches
// do not overlap) by value; returns the number replaced. An empty token
// replaces nothing.
KORVEL_API int ReplaceToken(KString& text, const KString& token, const KString& value);

// Copies in to out with each "[NAME]" replaced by the environment variable
// NAME (at most 260 characters of it); an unclosed "[" drops the rest. Throws
// KorvelException for a variable that is undefined or empty. out must hold
// the result.
KORVEL_API void ReplaceMacros(const wchar_t* in, wchar_t* out);
// The same into a buffer of 260 characters: the result holds at most 259.
KORVEL_API KString ReplaceMacros(const wchar_t* in);

#endif
