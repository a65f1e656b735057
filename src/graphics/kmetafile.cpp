// KMetaFile: recording enhanced metafiles and holding the finished ones; and
// the replay of metafiles from the library's resources and from files into a
// rectangle of any context.
#include "kmetafile.h"
#include "kgdi.h"
#include "kmacro.h"
#include "kdiag.h"
#include <string.h>
#include <wchar.h>

namespace {

// Copies the whole header; false when the metafile has less of one.
bool ReadHeader(HENHMETAFILE mf, ENHMETAHEADER* header)
{
    memset(header, 0, sizeof(*header));
    return mf && GetEnhMetaFileHeader(mf, sizeof(*header), header) == sizeof(*header);
}

} // namespace

KMetaFile::KMetaFile()
{
    memset(&header, 0, sizeof(header));
}

KMetaFile::KMetaFile(const wchar_t* fileName) : KMetaFile()
{
    start(nullptr, fileName);
}

KMetaFile::KMetaFile(const wchar_t* fileName, KDevContext& ref) : KMetaFile()
{
    create(fileName, ref);
}

KMetaFile::~KMetaFile()
{
    close();
}

void KMetaFile::start(HDC ref, const wchar_t* fileName)
{
    // No bounds and no description: GDI measures the picture as it is drawn.
    hdc = Counted(CreateEnhMetaFileW(ref, fileName, nullptr, nullptr));
}

void KMetaFile::create(const wchar_t* fileName, KDevContext& ref)
{
    close();
    start(ref.getHDC(), fileName);
    mfWidth = getHORZRES();
    mfHeight = getVERTRES();
}

void KMetaFile::closeDC()
{
    if (!hdc)
        return;
    restoreSelection();
    hmf = Counted(CloseEnhMetaFile(hdc));
    // Closing the recording deletes its context.
    CountGdi(-1);
    hdc = nullptr;
    readHeader();
}

void KMetaFile::deleteMetaFile()
{
    if (!hmf)
        return;
    DeleteEnhMetaFile(hmf);
    CountGdi(-1);
    hmf = nullptr;
}

void KMetaFile::close()
{
    closeDC();
    deleteMetaFile();
}

bool KMetaFile::openFile(const wchar_t* fileName)
{
    close();
    hmf = Counted(GetEnhMetaFileW(fileName));
    readHeader();
    return hmf != nullptr;
}

void KMetaFile::readHeader()
{
    ReadHeader(hmf, &header);
}

BOOL KMetaFile::play(KDevContext& dc, const KRECT& r)
{
    const RECT rc = ToRECT(r);
    return PlayEnhMetaFile(dc.getHDC(), hmf, &rc);
}

KRECT KMetaFile::getBoundsRect() const
{
    const RECTL& b = header.rclBounds;
    return KRECT{b.left, b.top, b.right, b.bottom};
}

// --- Replay into a rectangle of any context -----------------------------------

HENHMETAFILE KDevContext::getMetaFile(int id, ENHMETAHEADER* header) const
{
    HMODULE module = GetModuleHandleW(L"korvel.dll");
    if (!module)
        return nullptr;
    wchar_t name[16];
    swprintf(name, 16, L"#%d", id);
    HRSRC found = FindResourceW(module, name, L"ENHMETAFILE");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return nullptr;
    HENHMETAFILE mf = SetEnhMetaFileBits(SizeofResource(module, found), (const BYTE*)data);
    if (!mf || !header)
        return mf;
    if (ReadHeader(mf, header))
        return mf;
    DeleteEnhMetaFile(mf);
    return nullptr;
}

void KDevContext::playFitted(HENHMETAFILE mf, const ENHMETAHEADER& header, const DCRect& r)
{
    const double w = header.rclBounds.right - header.rclBounds.left;
    const double h = header.rclBounds.bottom - header.rclBounds.top;
    // A metafile that drew nothing has no bounds to scale by.
    if (w <= 0 || h <= 0)
        return;
    const double sx = r.w / w, sy = r.h / h;
    const double scale = sx * w <= r.w && sx * h < r.h ? sx : sy;
    const RECT target = {r.x, r.y, (LONG)(r.x + w * scale), (LONG)(r.y + h * scale)};
    PlayEnhMetaFile(hdc, mf, &target);
}

void KDevContext::playMetaFile(int id, const DCRect& r)
{
    ENHMETAHEADER header;
    HENHMETAFILE mf = getMetaFile(id, &header);
    if (!mf)
        return;
    playFitted(mf, header, r);
    DeleteEnhMetaFile(mf);
}

void KDevContext::playMetaFile(const KString& path, const DCRect& r)
{
    KString expanded;
    try {
        expanded = ReplaceMacros(path);
    } catch (const KorvelException&) {
        return; // a path naming an unknown macro names no metafile
    }
    HENHMETAFILE mf = GetEnhMetaFileW(expanded);
    ENHMETAHEADER header;
    if (ReadHeader(mf, &header))
        playFitted(mf, header, r);
    if (mf)
        DeleteEnhMetaFile(mf);
}
