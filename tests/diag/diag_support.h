// Helpers of the diagnostics tests: a watcher that reads and answers message
// boxes, child processes, and reading log files.
#ifndef KORVEL_TESTS_DIAG_SUPPORT_H
#define KORVEL_TESTS_DIAG_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>

// Watches, from a second thread, for a message box of this process; records
// what it shows and presses the button given. The box call returns after that.
class BoxWatcher {
public:
    explicit BoxWatcher(int press = IDOK);
    ~BoxWatcher();

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

// Runs a program of the tests' directory with its handles inherited, waits
// at most 60 s and returns its exit code; standard output goes to out.
DWORD RunChild(const std::wstring& program, const std::wstring& args,
               std::string* out = nullptr);

std::wstring ProgramDir();
std::wstring TempDir();
// The whole content of a file opened with read and write sharing; empty when
// it cannot be opened.
std::string ReadFileText(const std::wstring& path);
// The part of the log written after the marker line "== <marker> ==".
std::string LogAfter(const std::string& marker);
// Writes the marker line into the log.
void MarkLog(const std::string& marker);
std::string Narrow(const wchar_t* text);
// The lines of a text, without their CR LF.
std::vector<std::string> Lines(const std::string& text);

#endif
