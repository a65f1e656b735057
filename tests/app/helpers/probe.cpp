// A program on the library used by the tests as a child process. It starts
// through the library's WinMain and, by its first argument:
//   args           prints its command-line records, one "name|value" a line
//   env            prints BOOT_DIR and TARNWELL_DIR
//   window <code>  opens a main window, sets the exit code, and closes it
//                  from a timer through the message loop
#include <korvel.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

class ProbeWindow : public KMainWin {
public:
    ProbeWindow() : KMainWin(L"Probe")
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 200);
        args.add(WA_CLIENT_HEIGHT, 100);
        init(nullptr, &args);
        KArgList childArgs;
        childArgs.add(WA_WIDTH, 50);
        childArgs.add(WA_HEIGHT, 50);
        MakeWindow(this, &childArgs);
    }
};

void PrintEnv(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {0};
    DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    KString line;
    line.set("%U=%U\n", name, n ? value : L"<unset>");
    fputs((const char*)line, stdout);
}

class ProbeApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Probe"); }

    void main() override
    {
        KArray<KCmdArg> args = GetCommandArgs();
        KString mode = args.count() > 1 ? args[1].name : KString();
        if (mode == "args") {
            for (int i = 0; i < args.count(); ++i) {
                KString line;
                line.set("%S|%S\n", &args[i].name, &args[i].value);
                fputs((const char*)line, stdout);
            }
            quit(args.count());
        } else if (mode == "env") {
            PrintEnv(L"BOOT_DIR");
            PrintEnv(L"TARNWELL_DIR");
            quit(0);
        } else if (mode == "window" && args.count() > 2) {
            setExitCode(wcstoul(args[2].name, nullptr, 10));
            setMainWindow(new ProbeWindow);
            SetTimer(getMainWindow()->getWindow(), 1, 200, closeSoon);
        } else {
            quit(255);
        }
    }

private:
    void quit(int code)
    {
        fflush(stdout);
        setExitCode(code);
        PostQuitMessage(code);
    }

    static void CALLBACK closeSoon(HWND hwnd, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(hwnd, id);
        App->close();
    }
};

ProbeApp app;

} // namespace
