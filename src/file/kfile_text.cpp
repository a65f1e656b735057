// KFile: formatted 8-bit and wide text, headings and boxes, and reading lines.
// Text goes to the stream as it is; scrambling applies to binary data only,
// as getLine and getChar read text unscrambled.
#include "kfile.h"
#include "kdiag.h"
#include <wchar.h>

namespace {

// The low byte of each character.
void Narrow(const KString& text, char* out)
{
    for (int i = 0; i < text.length(); ++i)
        out[i] = (char)(text[i] & 0xFF);
}

} // namespace

void KFile::_print(const char* format, va_list args)
{
    KString text;
    text._vsprint(format, args);
    requireStream();
    const int n = text.length();
    char small[256];
    char* bytes = n <= (int)sizeof(small) ? small : (char*)Malloc(n);
    if (!bytes)
        throw std::bad_alloc();
    Narrow(text, bytes);
    try {
        writeRaw(bytes, n);
    } catch (...) {
        if (bytes != small)
            Free(bytes);
        throw;
    }
    if (bytes != small)
        Free(bytes);
}

void KFile::print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _print(format, args);
    va_end(args);
}

void KFile::wprint(const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    // wchar_t is 16 bits on Windows and the machine is little-endian.
    writeRaw((const wchar_t*)text, (size_t)text.length() * 2);
}

void KFile::printFill(int count, char c)
{
    char line[256];
    memset(line, c, sizeof(line));
    while (count > 0) {
        int part = count < (int)sizeof(line) ? count : (int)sizeof(line);
        writeRaw(line, part);
        count -= part;
    }
}

void KFile::printHeading(int width, char fill, const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    int left = (width - text.length()) / 2;
    printFill(left, fill);
    print("%S", &text);
    printFill(width - text.length() - (left > 0 ? left : 0), fill);
    writeRaw("\n", 1);
}

void KFile::printBoxBar(int width, char c)
{
    printFill(width, c);
    writeRaw("\n", 1);
}

void KFile::printBoxLines(int count, int width, char c)
{
    for (int i = 0; i < count; ++i) {
        printFill(1, c);
        printFill(width - 2, ' ');
        printFill(1, c);
        writeRaw("\n", 1);
    }
}

void KFile::printBox(int width, int blankLines, char c, const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    int pad = width - text.length() - 3;
    printBoxBar(width, c);
    printBoxLines(blankLines, width, c);
    print("%c %S%*s%c\n", c, &text, pad > 0 ? pad : 0, "", c);
    printBoxLines(blankLines, width, c);
    printBoxBar(width, c);
}

int KFile::getChar()
{
    requireStream();
    return fgetc(stream);
}

int KFile::wGetChar()
{
    requireStream();
    return fgetwc(stream);
}

// A carriage return is stored as 0, so the text ends there; whatever follows
// it up to the line feed is read and stored but not part of the text.
int KFile::getLine(char* buf, int size)
{
    requireStream();
    if (!buf || size < 1)
        throw KorvelException(1, "Line to long.");
    int n = 0;
    int c = EOF;
    while ((c = fgetc(stream)) != EOF && c != '\n') {
        if (n == size - 1) {
            // A carriage return needs no room: the terminator ends the text there.
            if (c == '\r')
                continue;
            buf[n] = 0;
            throw KorvelException(1, "Line to long.");
        }
        buf[n++] = c == '\r' ? 0 : (char)c;
    }
    buf[n] = 0;
    return (n == 0 && c == EOF) ? 0 : 1;
}

int KFile::getLine(KString& line)
{
    char buf[1025];
    int r = getLine(buf, sizeof(buf));
    line = buf;
    return r;
}
