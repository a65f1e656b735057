// Diagnostics: error codes, the library's one exception type, message boxes,
// fatal errors and the per-process log.
#ifndef KORVEL_KDIAG_H
#define KORVEL_KDIAG_H

#include <windows.h>
#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"
#include "kmemory.h"

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

    // Turns structured exceptions (access violations, divisions by zero ...)
    // raised on the calling thread into KorvelException(7, info). The fault
    // must lie in a call that the compiler takes to be able to throw (code
    // it cannot see into, or code built with -fnon-call-exceptions); the
    // loading thread has it from start-up.
    static void installSEH();
};

// Message boxes, modal to the task; each returns once the user has closed it.
// The owner is the top level of w, else the active window, else the main
// window (with none, the box stays on top). The title is the application's
// title ("Tarnwell" without an application) plus any suffix; error and
// warning boxes add the code as " (gg-nnnn)".
KORVEL_API int _MessageBox(KWindow* w, unsigned type, const wchar_t* titleSuffix,
                           const char* format, va_list args);
// The buttons and icon of type; returns the button pressed (IDOK ...).
KORVEL_API int MessageBoxW(KWindow* w, unsigned type, const char* format, ...);
// The buttons of type with the question icon; returns the button pressed.
KORVEL_API int QuestionBox(KWindow* w, unsigned type, const char* format, ...);
// OK with the information icon.
KORVEL_API void InfoBox(KWindow* w, const char* format, ...);
KORVEL_API void InfoBox(const char* format, ...);
// OK with the stop icon.
KORVEL_API void ErrorBox(KWindow* w, const ERRCODE& code, const char* format, ...);
KORVEL_API void ErrorBox(const ERRCODE& code, const char* format, ...);
// OK, or the buttons of type, with the exclamation icon.
KORVEL_API void WarnBox(KWindow* w, const ERRCODE& code, const char* format, ...);
KORVEL_API void WarnBox(const ERRCODE& code, const char* format, ...);
KORVEL_API int WarnBox(unsigned type, const ERRCODE& code, const char* format, ...);
// The system sound of a box type (MessageBeep).
KORVEL_API void Beep(unsigned type);

// Windows error texts: the system's message for a Windows error number
// (empty when there is none), and PrintWin32Error logs "<prefix> <message>".
KORVEL_API KString GetWin32Error(unsigned long code);
KORVEL_API KString GetWin32Error();
KORVEL_API void PrintWin32Error(const char* prefix);
// Name of a common-dialog error ("CDERR_INITIALIZATION."), else the code in
// hexadecimal; the no-argument form takes CommDlgExtendedError().
KORVEL_API const wchar_t* GetCommDlgError(unsigned long code);
KORVEL_API const wchar_t* GetCommDlgError();
// One line describing a window message, e.g. "HWND=000100AC WM_SIZE width=..".
// Both answer in static buffers that the next call may overwrite.
KORVEL_API const char* WinMsgString(HWND hwnd, unsigned msg, WPARAM wParam, LPARAM lParam);

// Log output: Printf indents by the trace depth, LogPrintf does not.
KORVEL_API int Printf(const char* format, ...);
KORVEL_API int LogPrintf(const char* format, ...);

// The per-process log "<temp dir><program>.log", and trace scopes.
//
//     void load() {
//         KDebug scope("load %S\n", &name);   // "ENTER[n] load ..."
//         scope.print("%d records\n", n);      // indented under the scope
//     }                                        // "LEAVE[n] dt=<seconds>"
//
// A child process given the number of the inheritable log handle in the
// environment variable TARNWELL_LOGFILE writes into its parent's log.
class KORVEL_API KDebug {
public:
    // Enters a trace scope: logs thread id, time since the last trace event,
    // ENTER[id] and the text, and indents the log by one more level.
    KDebug(const char* format, ...);
    // Leaves it: logs LEAVE[id] and the seconds spent in the scope.
    ~KDebug();
    KDebug(const KDebug&) = delete;
    KDebug& operator=(const KDebug&) = delete;

    // Writes within the scope; a line begins with thread id and time.
    void print(const char* format, ...);
    // Seconds since the last trace event.
    double dt() const;
    // amount / dt(), or -1 when no time has passed.
    double rate(double amount) const;

    // Open and close the log; done when the library is loaded and unloaded.
    static void Init();
    static void Close();
    static HANDLE getHandle();
    static KString getLogFileName();
    // Writes each unit as one byte ('.' above 255), a line feed as CR LF.
    static void printString(const wchar_t* text);
    // Two blanks per trace depth.
    static void printIndent();
    // The recursive lock that every log write holds.
    static void lock();
    static void unlock();

private:
    int id;
    bool atLineStart;
    double start;
};

#endif
