// File and product version numbers from a file's version resource.
#include <vector>
#include "kservices.h"

// "major,minor,build,revision" from the two 32-bit halves of a version.
static KString VersionText(DWORD ms, DWORD ls)
{
    KString text;
    text.set("%d,%d,%d,%d", (int)HIWORD(ms), (int)LOWORD(ms), (int)HIWORD(ls), (int)LOWORD(ls));
    return text;
}

bool GetFileVersion(const wchar_t* path, KString& fileVersion, KString& productVersion)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (!size)
        return false;
    // A file that has version information but whose block cannot be read
    // still counts as versioned; the texts are left as they were.
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return true;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\", (void**)&info, &len) || !info || len < sizeof(*info))
        return true;
    fileVersion = VersionText(info->dwFileVersionMS, info->dwFileVersionLS);
    productVersion = VersionText(info->dwProductVersionMS, info->dwProductVersionLS);
    return true;
}
