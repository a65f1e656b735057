// What the library does when it is loaded into and unloaded from a process.
#include "kapp.h"
#include "kdiag.h"
#include "kwindow.h"
#include "../text/kformat_hook.h"
#include <time.h>
#include <wctype.h>

HINSTANCE hInstKorvel = nullptr;

// BOOT_DIR is the library's own directory; TARNWELL_DIR is the part of it
// before "\bin\", when it lies in such a folder.
static void SetLocationVariables()
{
    wchar_t path[MAX_PATH + 1] = {0};
    GetModuleFileNameW(hInstKorvel, path, MAX_PATH);
    KString dir(path);
    dir.toLower();
    int slash = dir.findLast(L'\\');
    if (slash >= 0)
        dir.trunc(slash); // drive and directory, without the trailing backslash
    SetEnvironmentVariableW(L"BOOT_DIR", dir);

    KString withSlash = dir;
    withSlash += L'\\';
    int bin = withSlash.find(KString(L"\\bin\\"));
    if (bin < 0)
        return;
    KString top = withSlash(0, bin);
    SetEnvironmentVariableW(L"TARNWELL_DIR", top);
}

// The text of a window for the %w conversion.
static KString WindowTextOf(KWindow* w, const char* format)
{
    return w->toString(format);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        KDebug::Init();
        if (GetOSVersion() < 5)
            FatalAppExitW(0, L"Quorvane requires WinXP or greater.");
        _tzset();
        KorvelException::installSEH();
        hInstKorvel = module;
        SetLocationVariables();
        SetWindowTextFunction(WindowTextOf);
        break;
    case DLL_PROCESS_DETACH:
        KDebug::Close();
        break;
    default:
        break;
    }
    return TRUE;
}
