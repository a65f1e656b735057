// The binary record of a KString: a 32-bit count n, n 16-bit units and one
// terminator unit, little-endian. Writers always end with 0; a terminator 1
// marks a fixed-width field whose text ends at its first 0 unit.
#include "kstring.h"
#include "kfile.h"
#include "kdiag.h"
#include <wchar.h>

namespace {

// Longest text a record may announce; larger counts mean a damaged file.
const unsigned MaxRecordLength = 1000000;

// Owns a freshly read buffer until the string takes it.
struct UnitBuffer {
    wchar_t* units;
    explicit UnitBuffer(unsigned n) : units((wchar_t*)Malloc((size_t)n * sizeof(wchar_t)))
    {
        if (!units)
            throw std::bad_alloc();
    }
    ~UnitBuffer() { Free(units); }
    wchar_t* release()
    {
        wchar_t* u = units;
        units = nullptr;
        return u;
    }
};

} // namespace

void KString::write(KFile& f) const
{
    int n = len;
    f.write(&n, 4);
    // The buffer's own terminator is the record's terminator 0.
    f.write(buf, (unsigned)(len + 1) * 2);
}

// The string keeps its old content whenever reading throws.
void KString::read(KFile& f)
{
    int n = 0;
    f.read(&n, 4, false);
    if ((unsigned)n > MaxRecordLength) {
        long offset = f.getPos();
        throw KorvelException(1, "Invalid length=%d in KString::read()\nFile %S offset=%d.", n,
                              &f.getPath(), (int)offset);
    }
    UnitBuffer b((unsigned)n + 1);
    f.read(b.units, ((unsigned)n + 1) * 2, false);
    unsigned terminator = (unsigned short)b.units[n];
    if (terminator > 1)
        throw KorvelException(1, "Invalid terminator=%d in KString::read()\nFile \"%S\".",
                              (int)terminator, &f.getPath());
    b.units[n] = 0;
    // A string holds no 0 unit before its end: a fixed-width field (terminator
    // 1), or any record with a 0 inside, ends at its first 0.
    int used = (int)wcslen(b.units);
    if (used == n) {
        adopt(b.release(), n);
        return;
    }
    UnitBuffer exact((unsigned)used + 1);
    wmemcpy(exact.units, b.units, (size_t)used + 1);
    adopt(exact.release(), used);
}

// By the file's mode, as every IO routine; a closed file throws in read or write.
void KString::IO(KFile& f)
{
    if (f.IOMode() == 1)
        read(f);
    else if (f.IOMode() == 2)
        write(f);
}
