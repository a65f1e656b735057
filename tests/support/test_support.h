// Helpers shared by the test programs and their helper programs: message
// boxes answered from a watcher thread, the message queue, child processes,
// files and the log.
#ifndef KORVEL_TESTS_TEST_SUPPORT_H
#define KORVEL_TESTS_TEST_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>

// The visible message box (dialog class #32770) of this process, or null.
HWND FindMessageBox();

// Watches, from a second thread, for a message box of this process; records
// what it shows and presses the button given. The box call returns after that.
class BoxWatcher {
public:
    explicit BoxWatcher(int press = IDOK);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Pumps this thread's messages until the box was answered or the time is
    // up; for boxes shown by code that does not block this thread.
    bool waitAnswered(DWORD ms = 5000);

    std::wstring title, text;
    HWND owner = nullptr;
    HICON icon = nullptr;        // the icon shown, null when none
    std::vector<int> buttons;    // ids of the visible buttons, in window order
    volatile bool answered = false;

private:
    static DWORD WINAPI watch(void* self);
    void read(HWND box);
    int press;
    HANDLE thread;
    volatile bool stop = false;
};

// Dispatches every queued message of this thread; a WM_QUIT is put back.
void PumpMessages();

// Runs a program with its handles inherited, waits at most 60 s and returns
// its exit code (-1 when it could not start); its standard output and error
// go to out. A program without a backslash lies in ProgramDir().
DWORD RunChild(const std::wstring& program, const std::wstring& args,
               std::string* out = nullptr);

// Directory of the running program, with its trailing backslash.
std::wstring ProgramDir();
std::wstring TempDir();
// The whole content of a file opened with read and write sharing; empty when
// it cannot be opened.
std::string ReadFileText(const std::wstring& path);
// The log of this process as written so far.
std::string ReadLog();
// 7-bit text; other units become '?'.
std::string Narrow(const wchar_t* text);
// The lines of a text, without their CR LF.
std::vector<std::string> Lines(const std::string& text);

#endif
