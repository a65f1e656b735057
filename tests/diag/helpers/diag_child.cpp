// A program on the library started by the diagnostics tests, in the library's WinMain. By its first
// argument it:
//   log         writes a line and a trace scope into its log
//   fatal       calls Fatal; a second thread prints the box's text and closes it
//   thread-seh  faults in a new thread that installed the translator; prints "caught 7", exits with 0
//   thread-raw  faults in a new thread that did not; the process ends through its unhandled-exception
//               filter with the exception code
#include "test_support.h"
#include <stdio.h>
#include <string.h>

namespace {

void StoreOne(volatile int* p) { *p = 1; }

// Called through a pointer the compiler cannot follow, as a call into another library would be; a
// direct call it would prove unable to throw.
void (*volatile WriteThrough)(volatile int*) = StoreOne;

void Say(const std::string& text)
{
    fputs(text.c_str(), stdout);
    fflush(stdout);
}

DWORD WINAPI FaultingThread(void* install)
{
    if (install)
        KorvelException::installSEH();
    try {
        WriteThrough(nullptr);
    } catch (const KorvelException& e) {
        Say(install ? Format("caught %d\n", e.group) : "translated without installSEH\n");
        return install ? 0 : 2;
    }
    return 1;
}

LONG WINAPI ExitWithCode(EXCEPTION_POINTERS* info)
{
    fflush(stdout);
    ExitProcess(info->ExceptionRecord->ExceptionCode);
}

// The process ends as the box goes, so the text is printed at once.
DWORD WINAPI CloseFatalBox(void*)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindMessageBox()) != nullptr; }, 10000))
        return 1;
    wchar_t text[512] = {0};
    GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
    Say("box: " + Narrow(text) + "\n");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int Run(const char* mode)
{
    if (strcmp(mode, "log") == 0) {
        Printf("child line %d\n", 1);
        KDebug scope("child scope\n");
        return 0;
    }
    if (strcmp(mode, "fatal") == 0) {
        CreateThread(nullptr, 0, CloseFatalBox, nullptr, 0, nullptr);
        Fatal("child.cpp", 42, "boom %d", 7);
        Say("Fatal returned\n");
        return 3;
    }
    const bool install = strcmp(mode, "thread-seh") == 0;
    if (!install && strcmp(mode, "thread-raw") != 0)
        return 100;
    if (!install)
        SetUnhandledExceptionFilter(ExitWithCode);
    HANDLE thread = CreateThread(nullptr, 0, FaultingThread, install ? (void*)1 : nullptr, 0, nullptr);
    DWORD code = 99;
    WaitForSingleObject(thread, 30000);
    GetExitCodeThread(thread, &code);
    return (int)code;
}

class ChildApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Diag Child"); }
    void main() override
    {
        const int code = __argc > 1 ? Run(__argv[1]) : 100;
        setExitCode(code);
        PostQuitMessage(code);
    }
} app;

} // namespace
