// Operating-system services: the wait cursor, dynamic libraries, GUID text,
// the system error mode, message-queue flushing, shell links, editors, file
// versions and the counts of the process's window-system objects.
//
//     {
//         KWaitCursor wait(true);             // every library window shows the hourglass
//         KLibrary lib;
//         if (lib.loadLibrary(L"[TARNWELL_DIR]\\plugin.dll"))
//             run = (RunFn)lib.getProcAddress("run");
//     }                                       // the windows show their own cursors again
//
//     KString fileVersion, productVersion;
//     GetFileVersion(L"korvel.dll", fileVersion, productVersion);   // "0,1,0,0"
#ifndef KORVEL_KSERVICES_H
#define KORVEL_KSERVICES_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"

class KWindow;

// Scoped hourglass. While any KWaitCursor is active, library windows show
// WAIT_CURSOR over their client area instead of their own cursor.
class KORVEL_API KWaitCursor {
public:
    explicit KWaitCursor(bool start = true);
    // The window under the pointer is asked to set its own cursor again.
    ~KWaitCursor();
    KWaitCursor(const KWaitCursor&) = delete;
    KWaitCursor& operator=(const KWaitCursor&) = delete;

    // Counts this object once, however often it is called.
    void startWait();
    static bool usingWaitCursor();
    static void setCursor();

private:
    bool active;
    static int count;
};

// A dynamic library loaded by name, freed by the destructor.
class KORVEL_API KLibrary {
public:
    KLibrary();
    ~KLibrary();
    KLibrary(const KLibrary&) = delete;
    KLibrary& operator=(const KLibrary&) = delete;

    // Frees what was loaded, replaces the macros of name and loads the result.
    bool loadLibrary(const wchar_t* name);
    // The name built with the library's format language first.
    bool loadLibraryF(const char* format, ...);
    // Null while nothing is loaded.
    FARPROC getProcAddress(const char* name) const;
    FARPROC getProcAddress(int ordinal) const;
    void freeLibrary();

    HMODULE getModule() const { return module; }
    // The expanded name last loaded.
    const KString& getPath() const { return path; }

private:
    KString path;
    HMODULE module;
};

// A GUID with its text form "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
class KORVEL_API KGUID {
public:
    explicit KGUID(const GUID& g) : guid(g) {}
    // Text that does not parse ends the program.
    explicit KGUID(const wchar_t* text);
    KString getString() const;
    const GUID& get() const { return guid; }

private:
    GUID guid;
};

// Sets the process's error mode (SEM_FAILCRITICALERRORS ...) for its lifetime.
class KORVEL_API KSysErrorMode {
public:
    explicit KSysErrorMode(UINT mode);
    ~KSysErrorMode();
    KSysErrorMode(const KSysErrorMode&) = delete;
    KSysErrorMode& operator=(const KSysErrorMode&) = delete;

private:
    UINT previous;
};

// Dispatches every queued message of this thread; the second only WM_PAINT.
KORVEL_API void FlushEvents();
KORVEL_API void FlushPaintMessages();

// True when a window of the null-terminated list says it is modified.
KORVEL_API bool IsAnyModified(KWindow* first, ...);

// The system's count of this process's user objects (windows, menus, cursors ...).
// GetGDIObjectCount (kdrawobj.h) gives the GDI objects.
KORVEL_API int GetUserObjectCount();

// Writes a shell link to target, opening maximized; returns the last HRESULT.
KORVEL_API HRESULT CreateLink(const wchar_t* target, const wchar_t* linkFile,
                              const wchar_t* description, const wchar_t* arguments);

// Opens file in the editor program named (found through the shell's
// associations), in a window filling the screen less a 20-pixel margin.
// Errors are shown in boxes: an unknown editor, or with mustExist a named
// file that does not exist.
KORVEL_API void _StartEditor(const wchar_t* editor, const wchar_t* file, bool mustExist);
KORVEL_API void StartNotePad(const wchar_t* file, bool mustExist);
KORVEL_API void StartWordPad(const wchar_t* file, bool mustExist);

// The fixed file and product versions of a file as "major,minor,build,revision";
// false when the file carries no version information.
KORVEL_API bool GetFileVersion(const wchar_t* path, KString& fileVersion, KString& productVersion);

#endif
