// The application object through child processes and the real registry: command line, start-up
// environment, exit code, the tool-tip preference; attribute lists.
#include <gtest/gtest.h>
#include "app_tests.h"

TEST(CommandLine, RecordsFromRealCommandLines)
{
    const std::string z(300, 'z');
    const struct { std::string args; Texts records; } rows[] = {
        {"args", {"args|"}},
        {"args /mode:fast \"c:\\my files\\a.dat\" x a:b:c c:\\x \"\" name:",
         {"args|", "/mode|fast", "c:\\my files\\a.dat|", "x|", "a|b:c", "c:\\x|", "name|"}},
        // The text after a quote that is never closed makes no record.
        {"args \"open it", {"args|"}},
        // Tokens of 255 characters are whole; one of 300 is cut, not overrun.
        {"args " + z.substr(45), {"args|", z.substr(45) + "|"}},
        {"args " + z, {"args|", z.substr(45) + "|"}},
    };
    for (const auto& r : rows) {
        std::string out;
        const DWORD n = RunChild(L"probe.exe", Wide(r.args), &out);
        const std::vector<std::string> lines = Lines(out);
        ASSERT_FALSE(lines.empty()) << r.args;
        EXPECT_EQ(Lower(Narrow(ProgramDir()) + "probe.exe|"), Lower(lines[0])) << "the program comes first";
        EXPECT_EQ(r.records, Texts(lines.begin() + 1, lines.end())) << r.args;
        EXPECT_EQ(lines.size(), n);
    }
}

TEST(StartUp, LocationVariablesAndExitCode)
{
    ScratchDir root;
    CreateDirectoryW(root.file(L"Tools").c_str(), nullptr);
    // A child inherits the environment: clear it so the child's own load decides.
    EnvVar unset(L"TARNWELL_DIR", nullptr);
    const struct { std::wstring dir; std::string tarnwell; } rows[] = {
        {root.file(L"Tools\\bin\\"), "TARNWELL_DIR=" + Lower(Narrow(root.file(L"tools")))},
        {root.file(L"Plain\\"), "TARNWELL_DIR=<unset>"},
    };
    for (const auto& r : rows) {
        CreateDirectoryW(r.dir.c_str(), nullptr);
        for (const wchar_t* f : {L"probe.exe", L"korvel.dll", L"libstdc++-6.dll", L"libgcc_s_seh-1.dll",
                                 L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"})
            CopyFileW((ProgramDir() + f).c_str(), (r.dir + f).c_str(), FALSE);
        std::string out;
        ASSERT_EQ(0u, RunChild(r.dir + L"probe.exe", L"env", &out)) << out;
        const std::string dir = Lower(Narrow(r.dir));
        EXPECT_EQ((Texts{"BOOT_DIR=" + dir.substr(0, dir.size() - 1), r.tarnwell}), Lines(out));
    }
    for (DWORD code : {7u, 0u})
        EXPECT_EQ(code, RunChild(L"probe.exe", L"window " + std::to_wstring(code))) << "main window's code";
}

TEST(StartUp, ApplicationFrameInThisProcess)
{
    ASSERT_TRUE(App && App->instance() == GetModuleHandleW(nullptr) && GetOSVersion() >= 5 && hInstKorvel);
    EXPECT_FALSE(App->isForegroundWindow() || App->getMenu()) << "no main window";
    const struct { unsigned short atom; const wchar_t* name; UINT style; } classes[] = {
        {def_class.atom, L"Korvel Window", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS},
        {popup_class.atom, L"Korvel Popup", CS_SAVEBITS | CS_DBLCLKS},
    };
    for (const auto& c : classes) {
        WNDCLASSW info;
        ASSERT_TRUE(c.atom && GetClassInfoW(KWNDCLASS::hInst, c.name, &info)) << Narrow(c.name);
        EXPECT_TRUE(c.style == info.style && (WNDPROC)WndProc == info.lpfnWndProc) << Narrow(c.name);
    }
}

TEST(Preferences, ToolTipPreference)
{
    const wchar_t* prefs = L"Software\\Tarnwell\\Preferences";
    RegDeleteTreeW(HKEY_CURRENT_USER, prefs);
    EXPECT_TRUE(KAppClass::setUseToolTip(1));
    DWORD value = 0, size = sizeof(value), type = 0;
    RegGetValueW(HKEY_CURRENT_USER, prefs, L"Use Tool Tips", RRF_RT_ANY, &type, &value, &size);
    EXPECT_EQ((std::vector<DWORD>{REG_DWORD, 1}), (std::vector<DWORD>{type, value}));
    // Read only while a window of this thread is active.
    SetActiveWindow(nullptr);
    EXPECT_FALSE(GetActiveWindow() || KAppClass::getUseToolTip());
    WindowOwner windows;
    KArgList args;
    KWindow* w = windows.own(MakeWindow(nullptr, &args));
    w->show(true);
    SetActiveWindow(*w);
    ASSERT_TRUE(WaitFor([&] { return GetActiveWindow() == w->getWindow(); }));
    EXPECT_TRUE(KAppClass::getUseToolTip());
    KAppClass::setUseToolTip(0);
    EXPECT_FALSE(KAppClass::getUseToolTip());
    RegDeleteTreeW(HKEY_CURRENT_USER, prefs);
    EXPECT_FALSE(KAppClass::getUseToolTip()) << "a missing value reads as false";
}

TEST(Attributes, ListsAndIdentifiers)
{
    KArgList args;
    for (int attrib : {WA_X, WA_Y, WA_X})
        args.add(attrib, args.numArg() + 1);
    // set removes the first pair of the attribute only, and appends.
    args.set(WA_X, 9);
    ASSERT_EQ(3, args.numArg());
    typedef std::vector<int> Ints;
    EXPECT_EQ((Ints{WA_Y, 2, WA_X, 3, WA_X, 9}),
              (Ints{args.attr(0), args.val(0), args.attr(1), args.val(1), args.attr(2), args.val(2)}));
    args.removeArg(-1);
    args.removeArg(3); // indices outside the list remove nothing
    args.removeAttrib(WA_Y);
    EXPECT_TRUE(args.numArg() == 2 && !args.isSet(WA_Y) && args.isSet(WA_X));
    // The later value of a repeated attribute configures the window.
    WindowOwner windows;
    EXPECT_EQ(9, windows.own(MakeWindow(nullptr, &args))->X());
    KArgList full;
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(i, full.add(WA_X, i));
    EXPECT_EQ(-1, full.add(WA_X, 60)) << "a full list refuses the pair";
    // The library's identifiers are numbered from 0 at load; later ones follow.
    EXPECT_EQ((Ints{0, 102}), (Ints{WA_PROMPT_FW, WA_HORZ_DIV}));
    const int fresh = GetUniqueAttrib();
    EXPECT_TRUE(fresh > WA_HORZ_DIV && GetUniqueAttrib() == fresh + 1);
    // A float attribute is read back as float, not as double.
    EXPECT_TRUE((float)KArgVal(1.5f) == 1.5f && (double)KArgVal(1.5f) != 1.5);
}
