// Editors started on a file: the executable is found through the shell's
// application associations, as Explorer's "Open with" finds it.
#include <shlwapi.h>
#include "kservices.h"
#include "kdiag.h"

static bool FindEditor(const wchar_t* editor, wchar_t* exe, DWORD size)
{
    HRESULT hr = AssocQueryStringW(ASSOCF_OPEN_BYEXENAME, ASSOCSTR_EXECUTABLE, editor, nullptr,
                                   exe, &size);
    return SUCCEEDED(hr);
}

// Starts the command line in a window filling the screen less 20 pixels on each side.
static void Launch(KString command)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE;
    si.dwX = 20;
    si.dwY = 20;
    si.dwXSize = GetSystemMetrics(SM_CXSCREEN) - 40;
    si.dwYSize = GetSystemMetrics(SM_CYSCREEN) - 40;
    PROCESS_INFORMATION pi = {};
    // CreateProcessW may write into its command line: it gets this copy's buffer.
    if (!CreateProcessW(nullptr, static_cast<wchar_t*>(command), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

void _StartEditor(const wchar_t* editor, const wchar_t* file, bool mustExist)
{
    wchar_t exe[MAX_PATH];
    if (!FindEditor(editor, exe, MAX_PATH)) {
        ErrorBox(ERRCODE(1, 1029), "Could not find editor '%U'.", editor);
        return;
    }
    if (!file)
        file = L"";
    if (mustExist && *file && GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) {
        ErrorBox(ERRCODE(1, 1021), "File \"%U\" does not exist.", file);
        return;
    }
    KString command;
    command.set("%U %U", exe, file);
    Launch(command);
}

void StartNotePad(const wchar_t* file, bool mustExist)
{
    _StartEditor(L"notepad.exe", file, mustExist);
}

void StartWordPad(const wchar_t* file, bool mustExist)
{
    _StartEditor(L"wordpad.exe", file, mustExist);
}
