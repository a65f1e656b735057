// KFileHeader, the typed header of binary files, with WriteHeader and ReadHeader.
//
// Record, little-endian: magic (4), layout version (4), name capacity 100 (4),
// name as 101 UTF-16 units (202), version (2), subVersion (2), then from layout
// 2 on the library version major and minor (2 + 2), and extra (4): 226 bytes.
// Layout 1 headers lack the library version, so extra follows subVersion.
#include "kfile.h"
#include "kdiag.h"
#include <string.h>
#include <wchar.h>

namespace {

const int HeaderLayout = 2;
const int NameCapacity = 100;

} // namespace

void KFileHeader::clear()
{
    magic = 0x12345678;
    memset(name, 0, sizeof(name));
    version = 1;
    subVersion = 0;
    extra = 0;
    libVersionMajor = 6;
    libVersionMinor = 3;
}

void KFileHeader::IO(KFile& file)
{
    // Reading fills a copy that replaces this header only once all of it came.
    KFileHeader h(*this);
    int layout = HeaderLayout;
    int capacity = NameCapacity;
    file.IO(&h.magic);
    file.IO(&layout);
    file.IO(&capacity);
    file.IO(h.name, sizeof(h.name));
    h.name[NameCapacity] = 0;
    file.IO(&h.version);
    file.IO(&h.subVersion);
    if (layout >= 2) {
        file.IO(&h.libVersionMajor);
        file.IO(&h.libVersionMinor);
    } else {
        h.libVersionMajor = 0;
        h.libVersionMinor = 0;
    }
    file.IO(&h.extra);
    if (file.IOMode() == 1)
        *this = h;
}

void WriteHeader(KFile& file, const KString& name, short version, short subVersion)
{
    if (file.isOpen())
        file.rewind();
    else
        file.open(L"wb");
    KFileHeader h;
    wcsncpy(h.name, name, NameCapacity);
    h.version = version;
    h.subVersion = subVersion;
    h.IO(file);
}

// The header the caller passes is only changed when the whole header was read
// and is of the kind expected.
void ReadHeader(KFile& file, KFileHeader& header, const KString& name)
{
    KFileHeader h;
    file.open(L"rb");
    h.IO(file);
    if (wcscmp(h.name, name) != 0)
        throw KorvelException(1, "Not a \"%S\" file.", &name);
    header = h;
}
