// The current directory and its scoped change, the executable's path and
// the temporary directory.
#include "kpath.h"
#include "kpath_internal.h"
#include "kmacro.h"
#include "kdiag.h"
#include <vector>

namespace {

// Creates every missing directory of path, which ends in a separator; the
// drive, or the server and share of a UNC path, is taken as given.
void CreateDirectories(const KString& path)
{
    int from = 0;
    if (path.startsWith(L"\\\\")) {
        // Skip "\\server\share\".
        int seen = 0;
        for (from = 2; from < path.length() && seen < 2; ++from)
            seen += IsDirSeparator(path[from]) ? 1 : 0;
    }
    CriticalErrorsOff quiet;
    for (int i = from; i < path.length(); ++i) {
        if (!IsDirSeparator(path[i]) || i == 0 || path[i - 1] == L':')
            continue;
        // Existing levels only fail with "already exists".
        CreateDirectoryW(path(0, i), nullptr);
    }
}

} // namespace

KString GetCurrentDir()
{
    DWORD need = GetCurrentDirectoryW(0, nullptr);
    if (need == 0)
        return KString();
    std::vector<wchar_t> buf(need + 1, 0);
    DWORD n = GetCurrentDirectoryW(need + 1, buf.data());
    if (n == 0 || n > need)
        return KString();
    return KString(buf.data());
}

bool SetCurrentDir(KString dir, bool mustSucceed)
{
    dir = ReplaceMacros(dir);
    DWORD error;
    {
        CriticalErrorsOff quiet;
        if (SetCurrentDirectoryW(dir))
            return true;
        error = GetLastError();
    }
    if (!mustSucceed)
        return false;
    KString reason = GetWin32Error(error);
    throw KorvelException(1, "Could not set current directory to \"%S\".\n%S", &dir, &reason);
}

KCurrentDir::KCurrentDir(const KString& d) : dir(ReplaceMacros(d)), previous(GetCurrentDir())
{
    CriticalErrorsOff quiet;
    SetCurrentDirectoryW(dir);
}

KCurrentDir::KCurrentDir() : previous(GetCurrentDir()) {}

// The remembered directory is a real path: it is restored as written, since
// brackets in it are part of a name, not macros.
KCurrentDir::~KCurrentDir()
{
    if (previous.isNull())
        return;
    CriticalErrorsOff quiet;
    SetCurrentDirectoryW(previous);
}

KString GetModulePath()
{
    std::vector<wchar_t> buf(MAX_PATH, 0);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), (DWORD)buf.size());
        if (n == 0)
            return KString();
        if (n < buf.size())
            return KString(buf.data());
        // Cut short: try again with twice the room.
        buf.assign(buf.size() * 2, 0);
    }
}

KString GetTempDir()
{
    KString temp;
    DWORD need = GetTempPathW(0, nullptr);
    if (need > 0) {
        std::vector<wchar_t> buf(need + 1, 0);
        DWORD n = GetTempPathW(need + 1, buf.data());
        if (n > 0 && n <= need)
            temp = buf.data();
    }
    if (temp.isNull())
        temp = L"c:\\temp\\";
    if (!IsDirSeparator(temp.lastChar()))
        temp += L'\\';
    if (!PathExists(temp))
        CreateDirectories(temp);
    return temp;
}
