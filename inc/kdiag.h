// Diagnostics: error codes, the library's one exception type, message boxes,
// fatal errors and the per-process log.
#ifndef KORVEL_KDIAG_H
#define KORVEL_KDIAG_H

#include <windows.h>
#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"

class KWindow;

// Two-number error code, shown as "(gg-nnnn)".
struct ERRCODE {
    int group;
    int number;
    ERRCODE(int g = 0, int n = 0) : group(g), number(n) {}
};

// The one exception type of the library. Group 1 is used for library
// failures, group 7 for translated structured exceptions.
class KORVEL_API KorvelException {
public:
    int group;
    int number;
    unsigned long exceptionCode;
    KString text;

    KorvelException();
    KorvelException(int group, const char* format, ...);
    KorvelException(int group, int number, const char* format, ...);
    // Describes a structured exception: its name, code and address.
    KorvelException(int group, const _EXCEPTION_POINTERS* info);
    KorvelException(const KorvelException& other);
    KorvelException& operator=(const KorvelException& other);

    KString getErrorText() const { return text; }
    // Error box with the caller's text followed by the exception's text; also logged.
    void popupMessage(ERRCODE code, const char* format, ...) const;

    // Turns structured exceptions of the calling process into KorvelException(7, ...).
    static void installSEH();
};

// Message boxes. The owner is the top level of w, else the active window, else
// the main window; the title is the application's title plus any suffix.
KORVEL_API int _MessageBox(KWindow* w, unsigned type, const wchar_t* titleSuffix,
                           const char* format, va_list args);
KORVEL_API int MessageBoxW(KWindow* w, unsigned type, const char* format, ...);
KORVEL_API int QuestionBox(KWindow* w, unsigned type, const char* format, ...);
KORVEL_API void InfoBox(KWindow* w, const char* format, ...);
KORVEL_API void InfoBox(const char* format, ...);
KORVEL_API void ErrorBox(KWindow* w, const ERRCODE& code, const char* format, ...);
KORVEL_API void ErrorBox(const ERRCODE& code, const char* format, ...);
KORVEL_API void WarnBox(KWindow* w, const ERRCODE& code, const char* format, ...);
KORVEL_API void WarnBox(const ERRCODE& code, const char* format, ...);
KORVEL_API int WarnBox(unsigned type, const ERRCODE& code, const char* format, ...);
KORVEL_API void Beep(unsigned type);

// Ends the process with "FILE: <file> LINE: <line> <text>". Never returns.
KORVEL_API int Fatal(const char* file, int line, const char* format, ...);

// Windows error texts.
KORVEL_API KString GetWin32Error(unsigned long code);
KORVEL_API KString GetWin32Error();
KORVEL_API void PrintWin32Error(const char* prefix);

// Log output: Printf indents by the trace depth, LogPrintf does not.
KORVEL_API int Printf(const char* format, ...);
KORVEL_API int LogPrintf(const char* format, ...);

// The per-process log file in the temporary directory, and trace scopes.
class KORVEL_API KDebug {
public:
    static void Init();
    static void Close();
    static HANDLE getHandle();
    static KString getLogFileName();
    // Writes each unit as one byte ('.' above 255), a line feed as CR LF.
    static void printString(const wchar_t* text);
    static void printIndent();
    // The recursive lock that every log write holds.
    static void lock();
    static void unlock();
};

#endif
