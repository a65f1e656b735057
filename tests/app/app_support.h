// Helpers of the window tests: pumping messages, closing message boxes,
// reading the log and running child processes.
#ifndef KORVEL_TESTS_APP_SUPPORT_H
#define KORVEL_TESTS_APP_SUPPORT_H

#include <windows.h>
#include <string>
#include <korvel.h>

// Dispatches every queued message of this thread (WM_QUIT is put back).
void PumpMessages();

// Watches for a message box of this process from a second thread and
// presses its default button; records its title, text and style.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    // Waits (pumping messages) until a box was closed or the time is up.
    bool waitClosed(DWORD ms = 5000);
    std::wstring title, text;
    HWND owner = nullptr;
    LONG style = 0;
    bool closed = false;
private:
    static DWORD WINAPI watch(void* self);
    HANDLE thread;
    volatile bool stop = false;
};

// Runs a program with the command line given, waits for it (at most 60 s)
// and returns its exit code; its standard output goes into out.
DWORD RunChild(const std::wstring& commandLine, std::string* out);

// Directory of the running test program, with a trailing backslash.
std::wstring ProgramDir();

// The log text written so far.
std::string ReadLog();

#endif
