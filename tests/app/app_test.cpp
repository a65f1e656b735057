// The application object: command line, start-up environment, exit code,
// saved window options and the tool-tip preference, through child processes
// and the real registry.
#include <gtest/gtest.h>
#include <korvel.h>
#include <string>
#include <vector>
#include "test_support.h"

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

// Copies the probe, the library and the runtime beside it into dir.
void CopyProgram(const std::wstring& dir)
{
    std::wstring from = ProgramDir();
    const wchar_t* files[] = {L"probe.exe", L"korvel.dll", L"libstdc++-6.dll",
                              L"libgcc_s_seh-1.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"};
    for (const wchar_t* f : files)
        CopyFileW((from + f).c_str(), (dir + f).c_str(), FALSE);
}

} // namespace

TEST(CommandLine, RecordsFromRealCommandLines)
{
    std::string out;
    DWORD n = RunChild(L"probe.exe", L"args", &out);
    std::vector<std::string> lines = Lines(out);
    ASSERT_EQ(2u, n) << out;
    EXPECT_EQ(Lower(Narrow(ProgramDir().c_str()) + "probe.exe|"), Lower(lines[0]))
        << "the program path comes first, its drive colon kept";
    EXPECT_EQ("args|", lines[1]);

    out.clear();
    n = RunChild(L"probe.exe", L"args /mode:fast \"c:\\my files\\a.dat\" x a:b:c c:\\x \"\" name: \"open", &out);
    lines = Lines(out);
    std::vector<std::string> expected = {"args|", "/mode|fast", "c:\\my files\\a.dat|", "x|",
                                         "a|b:c", "c:\\x|", "name|", "open|"};
    ASSERT_EQ(expected.size() + 1, lines.size()) << out;
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + 1, lines.end()));
    EXPECT_EQ(lines.size(), n);

    // A token of 300 characters is cut, not overrun.
    out.clear();
    RunChild(L"probe.exe", L"args " + std::wstring(300, L'z'), &out);
    lines = Lines(out);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(std::string(255, 'z') + "|", lines[2]);
}

TEST(StartUp, LocationVariablesFollowTheLibrary)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + L"korvel-boot-test\\";
    std::wstring inBin = root + L"Tools\\bin\\";
    std::wstring elsewhere = root + L"Plain\\";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"Tools").c_str(), nullptr);
    CreateDirectoryW(inBin.c_str(), nullptr);
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    CopyProgram(inBin);
    CopyProgram(elsewhere);

    std::string out;
    ASSERT_EQ(0u, RunChild(inBin + L"probe.exe", L"env", &out)) << out;
    std::vector<std::string> lines = Lines(out);
    ASSERT_EQ(2u, lines.size()) << out;
    std::string bin = Lower(Narrow(inBin.c_str()));
    EXPECT_EQ("BOOT_DIR=" + bin.substr(0, bin.size() - 1), lines[0]);
    EXPECT_EQ("TARNWELL_DIR=" + Lower(Narrow(root.c_str())) + "tools", lines[1]);

    // This test program's own library lies in a bin folder, and a child
    // inherits the environment: clear the variable so the child's own load
    // decides.
    out.clear();
    SetEnvironmentVariableW(L"TARNWELL_DIR", nullptr);
    ASSERT_EQ(0u, RunChild(elsewhere + L"probe.exe", L"env", &out)) << out;
    lines = Lines(out);
    ASSERT_EQ(2u, lines.size()) << out;
    std::string plain = Lower(Narrow(elsewhere.c_str()));
    EXPECT_EQ("BOOT_DIR=" + plain.substr(0, plain.size() - 1), lines[0]);
    EXPECT_EQ("TARNWELL_DIR=<unset>", lines[1]);
}

TEST(StartUp, ExitCodeOfTheMainWindowReachesTheProcess)
{
    EXPECT_EQ(7u, RunChild(L"probe.exe", L"window 7"));
    EXPECT_EQ(0u, RunChild(L"probe.exe", L"window 0"));
}

TEST(StartUp, ApplicationFrameInThisProcess)
{
    ASSERT_NE(nullptr, App);
    EXPECT_EQ(GetModuleHandleW(nullptr), App->instance());
    EXPECT_GE(GetOSVersion(), 5);
    EXPECT_NE(0, def_class.atom);
    EXPECT_NE(0, popup_class.atom);
    WNDCLASSW info;
    ASSERT_TRUE(GetClassInfoW(KWNDCLASS::hInst, L"Korvel Window", &info));
    EXPECT_EQ(UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), info.style);
    ASSERT_TRUE(GetClassInfoW(KWNDCLASS::hInst, L"Korvel Popup", &info));
    EXPECT_EQ(UINT(CS_SAVEBITS | CS_DBLCLKS), info.style);
    EXPECT_EQ((WNDPROC)WndProc, info.lpfnWndProc);
    EXPECT_FALSE(App->isForegroundWindow()) << "no main window";
    EXPECT_EQ(nullptr, App->getMenu());
    EXPECT_NE(nullptr, hInstKorvel);
    // A window without a message window still logs errors and warnings.
    KArgList args;
    KWindow* w = MakeWindow(nullptr, &args);
    w->err_printf(ERRCODE(3, 45), "disk %d is full", 2);
    w->warn_printf(ERRCODE(3, 47), "disk %s", "almost full");
    std::string log = ReadLog();
    EXPECT_NE(std::string::npos, log.find("ERROR(03-0045) disk 2 is full\r\n"));
    EXPECT_NE(std::string::npos, log.find("WARNING(03-0047) disk almost full\r\n"));
    delete w;
    // Through a null window or an application without main window: nothing.
    KWindow* none = nullptr;
    none->err_printf(ERRCODE(3, 46), "never");
    App->err_printf(ERRCODE(3, 46), "not this either");
    log = ReadLog();
    EXPECT_EQ(std::string::npos, log.find("never"));
    EXPECT_EQ(std::string::npos, log.find("not this either"));
}

// At namespace scope, so that its run-time type name is plainly "Remembered".
class Remembered : public KWindow {
public:
    static Remembered* make(KArgList& args)
    {
        auto* w = new Remembered;
        w->init(nullptr, &args);
        return w;
    }
    int getInitialTab() override { return 3; }
};

namespace {

void ForgetWindows()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}

} // namespace

TEST(SavedWindowOptions, RoundTripThroughTheRegistry)
{
    ForgetWindows();
    KArgList args;
    args.add(WA_X, 120);
    args.add(WA_Y, 90);
    args.add(WA_WIDTH, 250);
    args.add(WA_HEIGHT, 180);
    Remembered* w = Remembered::make(args);
    KString key = w->getModuleSubkey();
    EXPECT_EQ(KString(L"Remembered"), w->className());
    EXPECT_TRUE(key.startsWith(KString(L"Software\\Tarnwell\\Windows\\")));
    EXPECT_TRUE(key.endsWith(KString(L"_tests\\Remembered"), true)) << (const char*)key;
    EXPECT_FALSE(w->loadRegistry()) << "nothing saved yet, silently";
    ASSERT_TRUE(w->storeRegistry());

    // The value is the 56-byte record.
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h));
    long raw[14];
    DWORD type = 0, size = sizeof(raw);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"Dialog Rect", nullptr, &type, (BYTE*)raw, &size));
    RegCloseKey(h);
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_EQ(56u, size);
    EXPECT_EQ(1, raw[0]);
    EXPECT_EQ(120, raw[1]);
    EXPECT_EQ(90, raw[2]);
    EXPECT_EQ(250, raw[3]);
    EXPECT_EQ(180, raw[4]);
    EXPECT_EQ(3, raw[5]);
    for (int i = 6; i < 14; ++i)
        EXPECT_EQ(0, raw[i]);
    delete w;

    // A new window of the class takes position and size from the record.
    KArgList again;
    again.add(WA_USE_REGISTRY_POS, true);
    again.add(WA_USE_REGISTRY_SIZE, true);
    again.add(WA_WIDTH, 10);
    Remembered* back = Remembered::make(again);
    EXPECT_EQ(120, back->X());
    EXPECT_EQ(90, back->Y());
    EXPECT_EQ(250, back->Width());
    EXPECT_EQ(180, back->Height());
    delete back;

    // A position on no monitor comes back as 0, 0.
    KRegistry reg;
    reg.createKey(HKEY_CURRENT_USER, key);
    WindowRegistryInfo offscreen;
    offscreen.x = -30000;
    offscreen.y = 25000;
    offscreen.width = 100;
    offscreen.height = 100;
    reg.storeValue(L"Dialog Rect", &offscreen, sizeof(offscreen));
    reg.closeKey();
    KArgList none;
    Remembered* probe = Remembered::make(none);
    WindowRegistryInfo info;
    ASSERT_TRUE(probe->loadRegistry(&info));
    EXPECT_EQ(0, info.x);
    EXPECT_EQ(0, info.y);
    EXPECT_EQ(100, info.width);
    delete probe;
    ForgetWindows();
}

TEST(SavedWindowOptions, WrongValueIsReportedInABox)
{
    ForgetWindows();
    KArgList none;
    Remembered* w = Remembered::make(none);
    KRegistry reg;
    reg.createKey(HKEY_CURRENT_USER, w->getModuleSubkey());
    reg.storeValue(L"Dialog Rect", 5);
    reg.closeKey();
    WindowRegistryInfo info;
    BoxWatcher closer;
    EXPECT_FALSE(w->loadRegistry(&info));
    ASSERT_TRUE(closer.waitAnswered());
    EXPECT_EQ(L"Window Tests (01-1023)", closer.title);
    EXPECT_EQ(L"Could not load window options.\n\nIncorrect type for Dialog Rect", closer.text);
    delete w;
    ForgetWindows();
}

TEST(Preferences, ToolTipPreference)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Preferences");
    EXPECT_TRUE(KAppClass::setUseToolTip(1));
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Preferences", 0,
                                           KEY_READ, &h));
    DWORD value = 0, size = sizeof(value), type = 0;
    RegQueryValueExW(h, L"Use Tool Tips", nullptr, &type, (BYTE*)&value, &size);
    RegCloseKey(h);
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ(1u, value);

    // Read only while a window of this thread is active.
    SetActiveWindow(nullptr);
    if (!GetActiveWindow()) {
        EXPECT_FALSE(KAppClass::getUseToolTip());
    }
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_WIDTH, 50);
    args.add(WA_HEIGHT, 50);
    KWindow* w = MakeWindow(nullptr, &args);
    w->show(true);
    SetActiveWindow(*w);
    PumpMessages();
    ASSERT_EQ(w->getWindow(), GetActiveWindow());
    EXPECT_TRUE(KAppClass::getUseToolTip());
    KAppClass::setUseToolTip(0);
    EXPECT_FALSE(KAppClass::getUseToolTip());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Preferences");
    EXPECT_FALSE(KAppClass::getUseToolTip()) << "a missing value reads as false";
    delete w;
}

TEST(Attributes, ListsAndIdentifiers)
{
    KArgList args;
    args.add(WA_X, 1);
    args.add(WA_Y, 2);
    args.add(WA_X, 3);
    EXPECT_EQ(3, args.numArg());
    args.set(WA_X, 9);
    ASSERT_EQ(3, args.numArg());
    EXPECT_EQ(WA_Y, args.attr(0));
    EXPECT_EQ(WA_X, args.attr(1));
    EXPECT_EQ(3, (int)args.val(1)) << "set removes only the first occurrence";
    EXPECT_EQ(9, (int)args.val(2));
    args.removeArg(-1);
    args.removeArg(3);
    EXPECT_EQ(3, args.numArg());
    args.removeAttrib(WA_Y);
    EXPECT_FALSE(args.isSet(WA_Y));
    EXPECT_TRUE(args.isSet(WA_X));

    // The later value of a repeated attribute configures the window.
    KWindow* w = MakeWindow(nullptr, &args);
    EXPECT_EQ(9, w->X());
    delete w;

    KArgList full;
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(i, full.add(WA_X, i));
    EXPECT_EQ(-1, full.add(WA_X, 60)) << "a full list refuses the pair";
    EXPECT_EQ(60, full.numArg());

    int fresh = GetUniqueAttrib();
    const int known[] = {WA_PROMPT_FW, WA_X, WA_MODIFIED_ON_CHANGE, WA_HORZ_DIV};
    for (int k : known)
        EXPECT_NE(k, fresh);
    EXPECT_EQ(0, WA_PROMPT_FW);
    EXPECT_EQ(102, WA_HORZ_DIV);

    KArgVal f(1.5f);
    EXPECT_FLOAT_EQ(1.5f, (float)f);
    EXPECT_NE(1.5, (double)f) << "a float attribute is not read as double";
}
