// Message boxes read and answered by a watcher thread: title, text, owner,
// buttons, icon and result.
#include <gtest/gtest.h>
#include <korvel.h>
#include "diag_support.h"

namespace {

const std::vector<int> OkOnly = {IDOK};

HICON SystemIcon(LPCWSTR id)
{
    return LoadIconW(nullptr, id);
}

class TestApp : public KAppClass {
public:
    KString appTitle() override { return KString(L"Viewer"); }
};

// A library window: the classes are registered as WinMain would.
class Probe : public KWindow {
public:
    static Probe* make(KWindow* parent)
    {
        if (!def_class.atom) {
            KWNDCLASS::hInst = GetModuleHandleW(nullptr);
            def_class.registerClass(L"Korvel Window", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
        }
        auto* p = new Probe;
        KArgList args;
        args.add(WA_WIDTH, 200);
        args.add(WA_HEIGHT, 100);
        p->init(parent, &args);
        return p;
    }
};

// A plain window made active, as another program's window would be.
HWND MakeActiveWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DiagActive";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"DiagActive", L"active", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetActiveWindow(h);
    return h;
}

} // namespace

TEST(MessageBoxes, ErrorAndWarningBoxesCarryTheCodeInTheTitle)
{
    ASSERT_EQ(nullptr, App);
    ASSERT_EQ(nullptr, GetActiveWindow());
    {
        BoxWatcher box;
        KString name(L"x.opt");
        ErrorBox(ERRCODE(1, 1013), "Could not load option file \"%S\".", &name);
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(L"Tarnwell (01-1013)", box.title);
        EXPECT_EQ(L"Could not load option file \"x.opt\".", box.text);
        EXPECT_EQ(SystemIcon(IDI_HAND), box.icon);
        EXPECT_EQ(OkOnly, box.buttons);
        // No owner anywhere. (The box is asked to stay on top, but Wine does
        // not show MB_TOPMOST in the box's style, so that is not checked.)
        EXPECT_EQ(nullptr, box.owner);
    }
    {
        // The caller's text goes through "%S": a '%' in it is shown as it is.
        BoxWatcher box;
        WarnBox(ERRCODE(2, 7), "%s", "100% sure");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(L"Tarnwell (02-0007)", box.title);
        EXPECT_EQ(L"100% sure", box.text);
        EXPECT_EQ(SystemIcon(IDI_EXCLAMATION), box.icon);
    }
    {
        BoxWatcher box(IDCANCEL);
        int r = WarnBox(MB_OKCANCEL, ERRCODE(12, 345), "Overwrite %d files?", 3);
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(IDCANCEL, r);
        EXPECT_EQ(L"Tarnwell (12-0345)", box.title);
        EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons);
        EXPECT_EQ(SystemIcon(IDI_EXCLAMATION), box.icon);
    }
}

TEST(MessageBoxes, InfoQuestionAndPlainBoxes)
{
    {
        BoxWatcher box;
        InfoBox("%d items", 12);
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(L"Tarnwell", box.title);
        EXPECT_EQ(L"12 items", box.text);
        EXPECT_EQ(SystemIcon(IDI_ASTERISK), box.icon);
        EXPECT_EQ(OkOnly, box.buttons);
    }
    {
        BoxWatcher box(IDNO);
        int r = QuestionBox(nullptr, MB_YESNO, "Save %s?", "a.txt");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(IDNO, r);
        EXPECT_EQ(L"Save a.txt?", box.text);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
        EXPECT_EQ(SystemIcon(IDI_QUESTION), box.icon);
    }
    {
        BoxWatcher box(IDRETRY);
        int r = MessageBoxW(nullptr, MB_RETRYCANCEL, "Printer %s offline", "P1");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(IDRETRY, r);
        EXPECT_EQ(L"Tarnwell", box.title);
        EXPECT_EQ(nullptr, box.icon);
    }
}

TEST(MessageBoxes, TitleFromTheApplicationAndOwnerFromTheWindows)
{
    TestApp app;
    {
        BoxWatcher box;
        ErrorBox(ERRCODE(1, 1013), "bad");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(L"Viewer (01-1013)", box.title);
    }

    // Some other window is active: it owns boxes shown without a window.
    HWND active = MakeActiveWindow();
    ASSERT_EQ(active, GetActiveWindow());
    {
        BoxWatcher box;
        InfoBox("hello");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(L"Viewer", box.title);
        EXPECT_EQ(active, box.owner);
    }

    // Given a window, the box belongs to that window's top level.
    Probe* top = Probe::make(nullptr);
    Probe* child = Probe::make(top);
    {
        BoxWatcher box;
        WarnBox(child, ERRCODE(3, 4), "careful");
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(top->getWindow(), box.owner);
        EXPECT_EQ(L"Viewer (03-0004)", box.title);
    }
    delete top;
    DestroyWindow(active);
}

TEST(MessageBoxes, PopupMessageShowsBothTextsAndLogsThem)
{
    MarkLog("popup");
    KorvelException e(1, 5, "disk %s", "full");
    BoxWatcher box;
    e.popupMessage(ERRCODE(1, 1014), "Could not store option file.");
    ASSERT_TRUE(box.answered);
    EXPECT_EQ(L"Tarnwell (01-1014)", box.title);
    EXPECT_EQ(L"Could not store option file.\n\ndisk full", box.text);
    EXPECT_EQ(SystemIcon(IDI_HAND), box.icon);
    EXPECT_EQ("Could not store option file.: disk full\r\n", LogAfter("popup"));
}

TEST(WindowMessages, ErrorsAndWarningsAreLoggedEvenWithoutMessageWindow)
{
    Probe* w = Probe::make(nullptr);
    MarkLog("window messages");
    w->err_printf(ERRCODE(1, 42), "bad value %d", 7);
    w->warn_printf(2, ERRCODE(2, 3), "careful with %s", "x");
    w->mprintf("shown nowhere");

    // A null window and a missing application object do nothing.
    KWindow* none = nullptr;
    none->err_printf(ERRCODE(9, 9), "null window");
    none->warn_printf(ERRCODE(9, 9), "null window");
    ASSERT_EQ(nullptr, App);
    App->err_printf(ERRCODE(9, 9), "no application");
    App->warn_printf(1, ERRCODE(9, 9), "no application");
    App->mprintf("no application");

    EXPECT_EQ("ERROR(01-0042) bad value 7\r\nWARNING(02-0003) careful with x\r\n",
              LogAfter("window messages"));
    delete w;
}

TEST(WindowMessages, ApplicationForwardsToItsMainWindow)
{
    std::string out;
    ASSERT_EQ(0u, RunChild(L"diag_child.exe", L"messages", &out)) << out;
    std::string log = ReadFileText(TempDir() + L"diag_child.log");
    EXPECT_NE(std::string::npos, log.find("\r\nERROR(03-0021) main window error 5\r\n"
                                          "WARNING(03-0022) main window warning x\r\n"))
        << log;
    EXPECT_EQ(std::string::npos, log.find("no main window")) << log;
}

TEST(FatalErrors, FatalShowsFileLineAndTextAndEndsTheProcess)
{
    std::string out;
    DWORD code = RunChild(L"diag_child.exe", L"fatal", &out);
    EXPECT_NE(std::string::npos, out.find("box: FILE: child.cpp LINE: 42 boom 7\r\n")) << out;
    EXPECT_EQ(std::string::npos, out.find("Fatal returned")) << out;
    EXPECT_NE(0u, code);
}
