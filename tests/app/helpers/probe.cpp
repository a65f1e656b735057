// A program on the library used by the tests as a child process. It starts
// through the library's WinMain and, by its first argument:
//   args           prints its command-line records, one "name|value" a line,
//                  and exits with their number
//   env            prints BOOT_DIR and TARNWELL_DIR
//   window <code>  opens a main window with a child, sets the exit code, and
//                  closes it from a timer through the message loop
#include <korvel.h>
#include <stdio.h>

namespace {

struct ProbeWindow : KMainWin {
    KArgList none;
    ProbeWindow() : KMainWin(L"Probe")
    {
        init(nullptr, &none);
        MakeWindow(this, &none);
    }
};

class ProbeApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Probe"); }
    void main() override
    {
        KArray<KCmdArg> args = GetCommandArgs();
        const KString mode = args.count() > 1 ? args[1].name : KString();
        if (mode == "window" && args.count() > 2) {
            setExitCode(wcstoul(args[2].name, nullptr, 10));
            setMainWindow(new ProbeWindow);
            SetTimer(getMainWindow()->getWindow(), 1, 200, closeSoon);
            return;
        }
        KString text;
        int code = 255;
        if (mode == "args") {
            for (int i = 0; i < args.count(); ++i)
                text.append("%S|%S\n", &args[i].name, &args[i].value);
            code = args.count();
        } else if (mode == "env") {
            const wchar_t* names[] = {L"BOOT_DIR", L"TARNWELL_DIR"};
            for (const wchar_t* name : names) {
                wchar_t value[MAX_PATH] = {0};
                const bool set = GetEnvironmentVariableW(name, value, MAX_PATH) > 0;
                text.append("%U=%U\n", name, set ? value : L"<unset>");
            }
            code = 0;
        }
        fputs((const char*)text, stdout);
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
