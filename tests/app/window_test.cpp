// The window core inside this application, through real native windows and messages: creation,
// geometry, the tree, display, the main window, reports and saved options.
#include <gtest/gtest.h>
#include "app_tests.h"

static DWORD StyleOf(KWindow* w) { return (DWORD)GetWindowLongW(*w, GWL_STYLE); }

TEST(WindowCreation, StylesAndSizes)
{
    const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    WindowOwner windows;
    Probe* top = windows.own(
        Probe::make(nullptr, WA_WIDTH, 300, WA_HEIGHT, 200, WA_CLIENT_WIDTH, 50, WA_CLIENT_HEIGHT, 50));
    EXPECT_EQ(frame, StyleOf(top) & frame);
    EXPECT_FALSE(top->isMapped() || IsWindowVisible(*top)) << "top levels start hidden";
    Probe* fixed = windows.own(Probe::make(nullptr, WA_RESIZE_BORDER, false));
    EXPECT_EQ(DWORD(WS_CAPTION | WS_SYSMENU), StyleOf(fixed) & frame);
    EXPECT_EQ(0u, StyleOf(windows.own(Probe::make(nullptr, WA_WINDOWS_STYLE, Popup))) & frame);
    // The outer size wins over the client size; the fields follow the window.
    RECT client, outer;
    GetClientRect(*top, &client);
    GetWindowRect(*top, &outer);
    EXPECT_EQ((Longs{300, 200, client.right, client.bottom}),
              (Longs{outer.right - outer.left, outer.bottom - outer.top, top->width(), top->height()}));
    Probe* sized = windows.own(Probe::make(nullptr, WA_CLIENT_WIDTH, 120, WA_CLIENT_HEIGHT, 80));
    GetClientRect(*sized, &client);
    GetWindowRect(*sized, &outer);
    EXPECT_EQ((Longs{120, 80, outer.right - outer.left}),
              (Longs{client.right, client.bottom, sized->Width()}));
    Probe* child = Probe::make(top, WA_SHADOW_STYLE, (short)EDGE_SUNKEN, WA_WIDTH, 50, WA_HEIGHT, 30);
    EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE), StyleOf(child) & (WS_CHILD | WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongW(*child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(child->shadowThick() == SHADOW_WIDTH && child->getParent() == top);
    EXPECT_EQ(top->getWindow(), GetParent(*child));
    Probe* unmapped = Probe::make(top, WA_IS_MAPPED, false);
    EXPECT_FALSE(StyleOf(unmapped) & WS_VISIBLE);
    EXPECT_EQ((Longs{0, 1}), (Longs{child->childNum(), unmapped->childNum()}));
}

TEST(WindowGeometry, MoveAndSizeMessagesAndBatchedMoves)
{
    WindowOwner windows;
    Probe* top =
        windows.own(Probe::make(nullptr, WA_X, 30, WA_Y, 40, WA_CLIENT_WIDTH, 300, WA_CLIENT_HEIGHT, 200));
    const short one = 1;
    Probe* child = Probe::make(top, WA_BORDERWIDTH, one, WA_X, 10, WA_Y, 20, WA_WIDTH, 60, WA_HEIGHT, 40);
    EXPECT_TRUE(StyleOf(child) & WS_BORDER);
    // WM_MOVE reports the client origin; the field keeps the outer corner.
    MoveWindow(*child, 17, 23, 60, 40, TRUE);
    EXPECT_EQ((Longs{17, 23}), (Longs{child->X(), child->Y()}));
    SendMessageW(*child, WM_MOVE, 0, MAKELPARAM(5, -3));
    EXPECT_EQ((Longs{4, -4}), (Longs{child->X(), child->Y()}));
    MoveWindow(*top, 55, 66, 320, 240, TRUE);
    RECT r, client;
    GetWindowRect(*top, &r);
    GetClientRect(*top, &client);
    EXPECT_EQ((Longs{r.left, r.top, 320, 240, client.right, client.bottom}),
              (Longs{top->X(), top->Y(), top->Width(), top->Height(), top->width(), top->height()}))
        << "a top level takes its position from the window rectangle";
    ASSERT_FALSE(top->sizeTypes.empty()) << "a top level hears its own WM_SIZE";
    EXPECT_EQ(unsigned(SIZE_RESTORED), top->sizeTypes.back());
    child->resize(80, 50);
    EXPECT_TRUE(child->sizeTypes.empty() && child->width() == 78) << "no sizeHandler; 1-pixel border";
    Probe* a = Probe::make(top, WA_WIDTH, 40, WA_HEIGHT, 40);
    Probe* b = Probe::make(top, WA_WIDTH, 40, WA_HEIGHT, 40);
    top->show(true);
    {
        KDeferPos batch(top);
        batch.move(a, DCRect(5, 6, 0, 30));
        batch.move(b, DCRect(50, 60, 70, 30));
    }
    EXPECT_TRUE(!IsWindowVisible(*a) && IsWindowVisible(*b)) << "a rectangle without area hides";
    EXPECT_EQ((Longs{50, 60, 70}), (Longs{b->X(), b->Y(), b->width()}));
    {
        KDeferPos batch(top);
        batch.move(a, DCRect(1, 2, 10, 10));
        batch.move(nullptr, DCRect(1, 2, 10, 10));
        batch.resize(b, 33, 44);
    }
    EXPECT_TRUE(IsWindowVisible(*a));
    EXPECT_EQ((Longs{50, 33, 44}), (Longs{b->X(), b->Width(), b->Height()})) << "resize keeps the position";
}

TEST(WindowTree, RemovalRenumbersAndDeletionGoesDepthFirst)
{
    Log log;
    auto named = [&](KWindow* parent, const char* text) {
        Probe* p = Probe::make(parent);
        SetWindowTextA(*p, text);
        p->_addEventHandler(new MemberEventHandler<Log, DestroyEvent>(&log, &Log::destroyed));
        return p;
    };
    WindowOwner windows;
    Probe* root = windows.own(named(nullptr, "root"));
    Probe* gone = named(root, "gone");
    Probe* a = named(root, "a");
    named(a, "a1");
    named(a, "a2");
    Probe* b = named(root, "b");
    named(b, "b1");
    delete gone;
    EXPECT_EQ((Longs{2, 0, 1}), (Longs{root->numChild(), a->childNum(), b->childNum()}));
    EXPECT_TRUE(root->child(0) == a && b->getTopLevel() == root);
    windows.release(root);
    EXPECT_EQ((Texts{"gone", "root", "a", "a1", "a2", "b", "b1"}), log.events);
    for (HWND h : log.windows)
        EXPECT_FALSE(IsWindow(h)) << "every native window is destroyed";
}

TEST(WindowDisplay, ShowEraseDumpAndPrintTree)
{
    WindowOwner windows;
    const COLORREF red = RGB(250, 0, 0), blue = RGB(0, 0, 250);
    Probe* top = windows.own(Probe::make(nullptr, WA_WINDOWS_STYLE, Popup, WA_X, 200, WA_Y, 200,
                                         WA_CLIENT_WIDTH, 80, WA_CLIENT_HEIGHT, 50, WA_BACKGROUND, red));
    Probe* child = Probe::make(top, WA_X, 40, WA_WIDTH, 40, WA_HEIGHT, 50, WA_BACKGROUND, blue);
    Probe::make(child);
    top->show(true);
    EXPECT_TRUE(top->isVisible() && top->isMapped());
    // WM_ERASEBKGND fills with the background, on the screen and in the copy.
    UpdateWindow(*top);
    HDC dc = GetDC(*top);
    EXPECT_TRUE(WaitFor([&] { return GetPixel(dc, 10, 25) == red; }));
    ReleaseDC(*top, dc);
    KMemDC image(nullptr, 80, 50);
    top->dump(image, 0, 0, 0);
    EXPECT_TRUE(GetPixel(image, 10, 25) == red && GetPixel(image, 60, 25) == blue) << "children in the copy";
    // The tree in the log, each level indented by four more blanks.
    MarkLog("tree");
    top->printTree(0);
    const std::string tree = LogAfter("tree");
    const int hwnd = (int)(UINT_PTR)top->getWindow();
    EXPECT_EQ(0u, tree.find(Format("this=%p hwnd=%08x cls='", top, hwnd))) << tree;
    EXPECT_TRUE(tree.find("\r\n    this=") != tree.npos && tree.find("\r\n        this=") != tree.npos)
        << tree;
    top->show(false);
    EXPECT_FALSE(child->isVisible() || IsWindowVisible(*top)) << "hiding walks the children";
}

TEST(MainWindow, BoxOwnersReportsCloseAndTheQuitMessage)
{
    struct Main : KMainWin {
        KArgList none;
        int closes = 0;
        Main() : KMainWin(L"Main Under Test") { init(nullptr, &none); }
        void closeHandler() override { ++closes; }
    };
    WindowOwner windows;
    BoxWatcher watcher;
    ErrorBox(ERRCODE(1, 1013), "bad");
    // Some other window is active: it owns boxes shown without a window.
    HWND active = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, 0, 0, 0, 0);
    SetActiveWindow(active);
    EXPECT_TRUE(WaitFor([&] { return GetActiveWindow() == active; }));
    InfoBox("hello");
    Probe* top = windows.own(Probe::make(nullptr));
    WarnBox(Probe::make(top), ERRCODE(3, 4), "careful");
    DestroyWindow(active);

    Main* main = windows.own(new Main);
    App->setMainWindow(main);
    main->show(true);
    ASSERT_EQ(1, GetTopLevelCount());
    SendMessageW(*main, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, main->closes) << "alone, the main window closes";
    // Refused while another top level is visible.
    top->show(true);
    SendMessageW(*main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(main->closes == 1 && watcher.count() == 4u);
    EXPECT_EQ(L"Cannot exit while dialogs are open!", watcher.box(3).text);
    const std::vector<std::pair<std::wstring, HWND>> boxes = {{L"Window Tests (01-1013)", nullptr},
        {L"Window Tests", active}, {L"Window Tests (03-0004)", *top}, {L"Window Tests (01-1022)", *main}};
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i], std::make_pair(watcher.box(i).title, watcher.box(i).owner)) << i;
    // Reports reach the log without a message window, directly or through the application.
    MarkLog("reports");
    App->err_printf(ERRCODE(3, 21), "main window error %d", 5);
    App->warn_printf(ERRCODE(3, 22), "main window warning %s", "x");
    top->warn_printf(2, ERRCODE(2, 3), "careful with %s", "x");
    top->err_printf(ERRCODE(1, 42), "bad value %d", 7);
    top->mprintf("shown nowhere");
    wchar_t cls[MAX_PATH] = {0}, exe[MAX_PATH] = {0};
    GetClassNameW(*main, cls, MAX_PATH);
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_STREQ(exe, cls) << "the main window's class is named after the executable";
    App->setExitCode(42);
    windows.release(main);
    App->setExitCode(0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, msg.wParam) << "destroying the main window posts the quit message with the exit code";
    App->setMainWindow(nullptr);
    App->err_printf(ERRCODE(3, 23), "no main window");
    EXPECT_EQ("ERROR(03-0021) main window error 5\r\nWARNING(03-0022) main window warning x\r\n"
              "WARNING(02-0003) careful with x\r\nERROR(01-0042) bad value 7\r\n",
              LogAfter("reports"));
}

TEST(SavedWindowOptions, RoundTripThroughTheRegistry)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
    WindowOwner windows;
    BoxWatcher watcher;
    Probe* w = windows.own(Probe::make(nullptr, WA_X, 120, WA_Y, 90, WA_WIDTH, 250, WA_HEIGHT, 180));
    const KString key = w->getModuleSubkey();
    EXPECT_TRUE(w->className() == KString(L"Probe") && key.endsWith(KString(L"_tests\\Probe"), true) &&
                key.startsWith(KString(L"Software\\Tarnwell\\Windows\\"))) << (const char*)key;
    EXPECT_FALSE(w->loadRegistry()) << "nothing saved yet";
    ASSERT_TRUE(w->storeRegistry());
    long raw[15] = {0};
    DWORD type = 0, size = sizeof(raw);
    RegGetValueW(HKEY_CURRENT_USER, key, L"Dialog Rect", RRF_RT_ANY, &type, raw, &size);
    EXPECT_EQ((Longs{REG_BINARY, 56}), (Longs{(long)type, (long)size}));
    EXPECT_EQ((Longs{1, 120, 90, 250, 180, 3, 0, 0, 0, 0, 0, 0, 0, 0}), Longs(raw, raw + 14));
    windows.release(w);
    w = windows.own(
        Probe::make(nullptr, WA_USE_REGISTRY_POS, true, WA_USE_REGISTRY_SIZE, true, WA_WIDTH, 10));
    EXPECT_EQ((Longs{120, 90, 250, 180}), (Longs{w->X(), w->Y(), w->Width(), w->Height()}));
    WindowRegistryInfo info{1, -30000, 25000, 100, 100};
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Dialog Rect", REG_BINARY, &info, sizeof(info));
    info = WindowRegistryInfo();
    ASSERT_TRUE(w->loadRegistry(&info));
    EXPECT_EQ((Longs{0, 0, 100}), (Longs{info.x, info.y, info.width})) << "a position on no monitor is 0, 0";
    EXPECT_EQ(0u, watcher.count()) << "no box so far";
    const DWORD five = 5;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Dialog Rect", REG_DWORD, &five, sizeof(five));
    EXPECT_FALSE(w->loadRegistry(&info));
    ASSERT_EQ(1u, watcher.count());
    EXPECT_EQ(L"Window Tests (01-1023)", watcher.box().title);
    EXPECT_EQ(L"Could not load window options.\n\nIncorrect type for Dialog Rect", watcher.box().text);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}
