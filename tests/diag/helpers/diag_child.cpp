// A program on the library started by the diagnostics tests. It starts in
// the library's WinMain and, by its first argument:
//   log          writes a line and a trace scope into its log
//   messages     opens a main window and reports an error and a warning
//                through the application object
//   fatal        calls Fatal; a watcher thread prints the box's text and
//                closes it
//   thread-seh   a new thread installs the translator and catches an
//                access violation (exit code 0, prints "caught 7")
//   thread-raw   a new thread that did not install it faults; the process
//                ends through its unhandled-exception filter with the code
#include <korvel.h>
#include "test_support.h"
#include <stdio.h>
#include <string.h>

namespace {

class ChildWindow : public KMainWin {
public:
    ChildWindow() : KMainWin(L"Diag Child")
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 200);
        args.add(WA_CLIENT_HEIGHT, 100);
        init(nullptr, &args);
    }
};

void StoreOne(volatile int* p)
{
    *p = 1;
}

// Called through a pointer the compiler cannot follow, as a call into
// another library would be; a direct call it would prove unable to throw.
void (*volatile WriteThrough)(volatile int*) = StoreOne;

void Say(const char* text)
{
    fputs(text, stdout);
    fflush(stdout);
}

DWORD WINAPI CatchingThread(void*)
{
    KorvelException::installSEH();
    try {
        WriteThrough(nullptr);
    } catch (const KorvelException& e) {
        char line[64];
        snprintf(line, sizeof(line), "caught %d\n", e.group);
        Say(line);
        return 0;
    }
    return 1;
}

DWORD WINAPI RawThread(void*)
{
    try {
        WriteThrough(nullptr);
    } catch (const KorvelException&) {
        Say("translated without installSEH\n");
        return 2;
    }
    return 1;
}

LONG WINAPI ExitWithCode(EXCEPTION_POINTERS* info)
{
    fflush(stdout);
    ExitProcess(info->ExceptionRecord->ExceptionCode);
}

DWORD RunThread(LPTHREAD_START_ROUTINE body)
{
    HANDLE t = CreateThread(nullptr, 0, body, nullptr, 0, nullptr);
    WaitForSingleObject(t, 30000);
    DWORD code = 99;
    GetExitCodeThread(t, &code);
    CloseHandle(t);
    return code;
}

// Prints the text of the first message box of this process and closes it.
DWORD WINAPI CloseFatalBox(void*)
{
    for (int i = 0; i < 500; ++i) {
        HWND box = FindMessageBox();
        if (box) {
            wchar_t text[512] = {0};
            GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
            char line[600];
            snprintf(line, sizeof(line), "box: %ls\n", text);
            Say(line);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}

int Messages()
{
    ChildWindow* win = new ChildWindow;
    App->setMainWindow(win);
    App->err_printf(ERRCODE(3, 21), "main window error %d", 5);
    App->warn_printf(ERRCODE(3, 22), "main window warning %s", "x");
    App->setMainWindow(nullptr);
    delete win;
    // Without a main window nothing is reported.
    App->err_printf(ERRCODE(3, 23), "no main window");
    return 0;
}

int Run(const char* mode)
{
    if (strcmp(mode, "log") == 0) {
        Printf("child line %d\n", 1);
        KDebug scope("child scope\n");
        return 0;
    }
    if (strcmp(mode, "messages") == 0)
        return Messages();
    if (strcmp(mode, "fatal") == 0) {
        CreateThread(nullptr, 0, CloseFatalBox, nullptr, 0, nullptr);
        Fatal("child.cpp", 42, "boom %d", 7);
        Say("Fatal returned\n");
        return 3;
    }
    if (strcmp(mode, "thread-seh") == 0)
        return (int)RunThread(CatchingThread);
    if (strcmp(mode, "thread-raw") == 0) {
        SetUnhandledExceptionFilter(ExitWithCode);
        return (int)RunThread(RawThread);
    }
    return 100;
}

class ChildApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Diag Child"); }
    void main() override
    {
        int code = __argc > 1 ? Run(__argv[1]) : 100;
        setExitCode(code);
        PostQuitMessage(code);
    }
};

ChildApp app;

} // namespace
