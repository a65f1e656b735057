// KString, the library's wide-character string, and KStringBuff, the growable
// buffer that formatted output is built in.
//
// A KString owns a buffer of exactly length + 1 units ending in 0 (remove and
// trim work in place and leave it longer). 8-bit text is widened byte by byte
// as a signed value (0xE9 becomes 0xFFE9) and narrowed by keeping the low 8
// bits, so byte strings survive the round trip. Comparisons are ordinal.
#ifndef KORVEL_KSTRING_H
#define KORVEL_KSTRING_H

#include <stdarg.h>
#include "kexport.h"
#include "array"

class KFile;

class KORVEL_API KString {
public:
    // Construction and assignment; a null pointer reads as empty text.
    KString();
    KString(const KString& other);
    KString(const wchar_t* text);
    KString(const char* text);
    // count copies of fill; with fill 0 the characters are left for the caller to write.
    KString(int count, wchar_t fill);
    ~KString();
    KString& operator=(const KString& other);
    KString& operator=(const wchar_t* text);
    KString& operator=(const char* text);

    // Access and conversion.
    int length() const { return len; }
    bool isNull() const { return len == 0; }
    bool notNull() const { return len > 0; }
    // Not bounds-checked; 0 <= i <= length().
    wchar_t& operator[](int i) const { return buf[i]; }
    wchar_t firstChar() const { return buf[0]; }
    wchar_t lastChar() const { return len ? buf[len - 1] : 0; }
    // The buffer itself, writable, valid until the string is next reallocated.
    operator wchar_t*() const { return buf; }
    // Narrowed copy in a ring of 20 static buffers: valid for 19 more conversions.
    operator const char*() const;
    // Narrowed copy of at most size - 1 characters, always 0-terminated.
    void getString(char* dst, int size) const;

    // Comparison by unsigned code unit; 8-bit text is widened first.
    bool operator==(const KString& s) const;
    bool operator==(const wchar_t* s) const;
    bool operator==(const char* s) const;
    bool operator!=(const KString& s) const { return !(*this == s); }
    bool operator!=(const wchar_t* s) const { return !(*this == s); }
    bool operator!=(const char* s) const { return !(*this == s); }
    bool operator<(const KString& s) const { return (*this - s) < 0; }
    bool operator<=(const KString& s) const { return (*this - s) <= 0; }
    bool operator>(const KString& s) const { return (*this - s) > 0; }
    bool operator>=(const KString& s) const { return (*this - s) >= 0; }
    // Three-way comparison: -1, 0 or +1.
    long operator-(const KString& s) const;
    bool startsWith(const KString& s) const;
    // Prefix or suffix test; exact false ignores case.
    bool beginsWith(const KString& s, bool exact) const;
    bool endsWith(const KString& s, bool exact) const;

    // Search: 0-based positions, -1 when absent.
    int find(const KString& s) const;
    int hasSub(const KString& s) const;
    int findChar(wchar_t c) const;
    int findLast(wchar_t c) const;
    int countChar(wchar_t c) const;
    // Length less the number of U+0020 blanks.
    int nonSpace() const;

    // Building and editing.
    KString& operator+=(const KString& s);
    KString& operator+=(const wchar_t* s);
    KString& operator+=(const char* s);
    KString& operator+=(wchar_t c);
    KString& operator+=(char c);
    void append(wchar_t c);
    // Inserts before pos; nothing unless 0 <= pos <= length().
    void insert(wchar_t c, int pos);
    void insert(const char* s, int pos);
    // In place: the character at pos, or positions min(a,b)..max(a,b) clamped to the string.
    void remove(int pos);
    void remove(int a, int b);
    void trunc(int n);
    void clear();
    // Becomes n copies of c.
    void blank(int n, wchar_t c);
    // Overwrites positions a..b with s, padded with blanks; the length never changes.
    void stompField(int a, int b, const KString& s);
    // Characters start..end-1; an end below 0 or past the string means the end.
    KString operator()(int start, int end) const;
    void extract(const KString& s, int start, int end);
    // Copies with the first occurrence of from replaced by to.
    KString replace(const KString& from, const KString& to) const;
    KString replaceToken(const KString& from, const KString& to) const;

    // Case and character classes, in place, by the runtime's mappings.
    void toUpper();
    void toLower();
    // From pos to the end.
    void toUpper(int pos);
    void toLower(int pos);
    // Upper case at the start and after white space, lower case elsewhere.
    void capitalizeFirstChars();
    // Each returns the number of characters replaced or removed.
    int replaceChar(wchar_t from, wchar_t to);
    int removeChar(wchar_t c);
    // Keeps the characters that pass test (that fail it with invert).
    int keepChars(int (*test)(int), bool invert);
    int keepChars(int (*test)(int));
    int removeChars(int (*test)(int));
    // Strip leading and trailing white space, or runs of c, or characters of set.
    void stripSpaces();
    void stripTrailing();
    void stripChar(wchar_t c);
    void stripChars(const wchar_t* set);
    // Cut s off the end (in place) or the front when it is there; true if it was.
    bool trim(const KString& s, bool exact);
    bool skip(const KString& s, bool exact);

    // Fields between separators, empty ones kept; strip applies stripSpaces to each.
    KArray<KString> split(wchar_t sep, bool strip) const;
    // Runs of non-white-space characters.
    KArray<KString> splitTokens() const;

    // Formatted output in the library's format language; set returns the new length.
    int set(const char* format, ...);
    int set(const wchar_t* format, ...);
    void append(const char* format, ...);
    void stompField(int a, int b, const char* format, ...);
    void _vsprint(const char* format, va_list args);
    void _stompField(int a, int b, const char* format, va_list args);

    // Binary record: 32-bit count, the units, a terminator unit.
    void write(KFile& f) const;
    void read(KFile& f);
    // read or write by the file's mode.
    void IO(KFile& f);

private:
    // New buffer holding this text with [pos, pos + cut) replaced by n unset units.
    wchar_t* openGap(int pos, int cut, int n) const;
    // Frees the buffer and takes b, holding n units plus terminator.
    void adopt(wchar_t* b, int n);
    // Becomes the characters from..to-1.
    void keepRange(int from, int to);
    int keepWhere(bool (*keep)(wchar_t unit, const void* ctx), const void* ctx);

    wchar_t* buf;
    int len;
};

KORVEL_API KString operator+(const KString& a, const KString& b);
// Copies narrowed characters of s while fewer than size - 1 are written; returns the count.
KORVEL_API int _SafeCopy(char* dst, const KString& s, int size);

// Text builder with doubling growth; not 0-terminated.
class KORVEL_API KStringBuff {
public:
    KStringBuff();
    ~KStringBuff();
    KStringBuff(const KStringBuff&) = delete;
    KStringBuff& operator=(const KStringBuff&) = delete;

    // Doubles the capacity until it holds n units.
    void verifyBuffer(int n);
    void append(const char* s, int n);
    void append(const wchar_t* s, int n);
    KStringBuff& operator+=(const char* s);
    KStringBuff& operator+=(const wchar_t* s);
    KStringBuff& operator+=(const KString& s);
    KStringBuff& operator+=(const KString* s);
    KStringBuff& operator+=(wchar_t c);

    // Fields: markPos() starts one; padField pads the text added since to width.
    void markPos() { mark = length; }
    void padField(int width, wchar_t pad, bool leftJustify);

    int getLength() const { return length; }
    wchar_t* getBuff() const { return buffer; }
    // Writes the text to the log between single quotes.
    void print() const;

private:
    wchar_t* buffer;
    int capacity;
    int length;
    int mark;
};

#endif
