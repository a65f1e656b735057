// The application object, the command line and the process entry point.
// An application defines one static object of a class derived from
// KAppClass; the library's WinMain calls its main() and runs the message loop.
#ifndef KORVEL_KAPP_H
#define KORVEL_KAPP_H

#include <windows.h>
#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"
#include "array"
#include "kdiag.h"

class KMainWin;

class KORVEL_API KAppClass {
public:
    KAppClass();
    virtual ~KAppClass();
    // Builds the main window and stores it with setMainWindow.
    virtual void main() {}
    // The title of the application; message boxes use it as their title.
    virtual KString appTitle() = 0;

    void init(HINSTANCE hInst, HINSTANCE hPrevInst, char* cmdLine, int cmdShow);
    // Shows the main window and runs the message loop until it is destroyed;
    // returns the exit code posted then.
    unsigned long run();
    // Closes the main window as the user's close box would.
    void close();

    bool isForegroundWindow();
    HMENU getMenu() const;
    HINSTANCE instance() const { return hInst; }
    void* prevInst() { return hPrevInst; }
    KMainWin* getMainWindow() { return mainWin; }
    void setMainWindow(KMainWin* w) { mainWin = w; }
    unsigned long getExitCode() const { return exitCode; }
    void setExitCode(unsigned long code) { exitCode = code; }

    // Messages into the main window's message window.
    void err_printf(ERRCODE code, const char* format, ...);
    void err_printf(int field, ERRCODE code, const char* format, ...);
    void warn_printf(ERRCODE code, const char* format, ...);
    void warn_printf(int field, ERRCODE code, const char* format, ...);
    void mprintf(const char* format, ...);
    void mprintf(int field, const char* format, ...);
    void mprintf(int field, unsigned long fg, unsigned long bg, const char* format, ...);

    // The per-user tool-tip preference ("Use Tool Tips").
    static bool getUseToolTip();
    static bool setUseToolTip(int value);
    static const wchar_t USE_TOOL_TIPS_VALUE[];

protected:
    HINSTANCE hInst;
    HINSTANCE hPrevInst;
    char* cmdLine;
    int cmdShow;
    KMainWin* mainWin;
    unsigned long exitCode;
};

// The one application object.
extern KORVEL_API KAppClass* App;
// The library's own module handle.
extern KORVEL_API HINSTANCE hInstKorvel;

// One name:value token of the command line.
struct KORVEL_API KCmdArg {
    KString name;
    KString value;
    void clear() { name.clear(); value.clear(); }
    bool operator==(const KCmdArg& o) const { return name == o.name && value == o.value; }
    bool operator!=(const KCmdArg& o) const { return !(*this == o); }
};

// The process's command line as records, the program path first.
KORVEL_API KArray<KCmdArg> GetCommandArgs();
// Whether the process was started with a request to show maximised.
KORVEL_API bool StartMaximized();
// The major version number of the running Windows.
KORVEL_API int GetOSVersion();

extern "C" KORVEL_API int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance,
                                         LPSTR lpCmdLine, int nCmdShow);

#endif
