// The window core driven through real native windows and messages.
#include <gtest/gtest.h>
#include <korvel.h>
#include <string>
#include <vector>
#include "test_support.h"

namespace {

// A window that exposes its fields and records the virtual calls it gets.
class Probe : public KWindow {
public:
    static Probe* make(KWindow* parent, KArgList& args)
    {
        auto* p = new Probe;
        p->init(parent, &args);
        return p;
    }
    static Probe* make(KWindow* parent) { KArgList args; return make(parent, args); }

    void closeHandler() override { ++closes; KWindow::closeHandler(); }
    void sizeHandler(unsigned int type) override { sizeTypes.push_back(type); }

    int closes = 0;
    std::vector<unsigned> sizeTypes;
    using KWindow::style;
    using KWindow::exStyle;
    using KWindow::edgeThick;
};

DWORD StyleOf(KWindow* w) { return (DWORD)GetWindowLongW(w->getWindow(), GWL_STYLE); }
DWORD ExStyleOf(KWindow* w) { return (DWORD)GetWindowLongW(w->getWindow(), GWL_EXSTYLE); }

} // namespace

TEST(WindowCreation, TopLevelAndChildStyles)
{
    const DWORD frameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

    Probe* top = Probe::make(nullptr);
    EXPECT_EQ(frameBits, StyleOf(top) & frameBits);
    EXPECT_FALSE(top->isMapped()) << "top levels start hidden";
    EXPECT_FALSE(IsWindowVisible(*top));

    KArgList fixed;
    fixed.add(WA_RESIZE_BORDER, false);
    Probe* dialogLike = Probe::make(nullptr, fixed);
    EXPECT_EQ(DWORD(WS_CAPTION | WS_SYSMENU), StyleOf(dialogLike) & frameBits);

    KArgList popup;
    popup.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    Probe* bare = Probe::make(nullptr, popup);
    EXPECT_EQ(0u, StyleOf(bare) & frameBits);

    KArgList childArgs;
    childArgs.add(WA_SHADOW_STYLE, (short)EDGE_SUNKEN);
    childArgs.add(WA_WIDTH, 50);
    childArgs.add(WA_HEIGHT, 30);
    Probe* child = Probe::make(top, childArgs);
    EXPECT_TRUE(StyleOf(child) & WS_CHILD);
    EXPECT_TRUE(StyleOf(child) & WS_VISIBLE);
    EXPECT_TRUE(ExStyleOf(child) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SHADOW_WIDTH, child->shadowThick());
    EXPECT_EQ(top, child->getParent());
    EXPECT_EQ(0, child->childNum());
    EXPECT_EQ(GetParent(*child), top->getWindow());

    KArgList hidden;
    hidden.add(WA_IS_MAPPED, false);
    Probe* unmapped = Probe::make(top, hidden);
    EXPECT_FALSE(StyleOf(unmapped) & WS_VISIBLE);
    EXPECT_EQ(1, unmapped->childNum());

    delete top;
    delete dialogLike;
    delete bare;
}

TEST(WindowCreation, OuterSizeWinsOverClientSize)
{
    KArgList args;
    args.add(WA_WIDTH, 300);
    args.add(WA_HEIGHT, 200);
    args.add(WA_CLIENT_WIDTH, 50);
    args.add(WA_CLIENT_HEIGHT, 50);
    Probe* top = Probe::make(nullptr, args);
    RECT client, outer;
    GetClientRect(*top, &client);
    GetWindowRect(*top, &outer);
    EXPECT_EQ(300, outer.right - outer.left);
    EXPECT_EQ(200, outer.bottom - outer.top);
    EXPECT_EQ(client.right, top->width());
    EXPECT_EQ(client.bottom, top->height());
    EXPECT_LT(top->width(), 300);

    KArgList clientOnly;
    clientOnly.add(WA_CLIENT_WIDTH, 120);
    clientOnly.add(WA_CLIENT_HEIGHT, 80);
    Probe* sized = Probe::make(nullptr, clientOnly);
    GetClientRect(*sized, &client);
    EXPECT_EQ(120, client.right);
    EXPECT_EQ(80, client.bottom);
    GetWindowRect(*sized, &outer);
    EXPECT_EQ(outer.right - outer.left, sized->Width());
    delete top;
    delete sized;
}

TEST(WindowGeometry, MoveAndSizeMessagesUpdateFields)
{
    KArgList args;
    args.add(WA_X, 30);
    args.add(WA_Y, 40);
    args.add(WA_CLIENT_WIDTH, 300);
    args.add(WA_CLIENT_HEIGHT, 200);
    Probe* top = Probe::make(nullptr, args);

    KArgList bordered;
    bordered.add(WA_BORDERWIDTH, (short)1);
    bordered.add(WA_X, 10);
    bordered.add(WA_Y, 20);
    bordered.add(WA_WIDTH, 60);
    bordered.add(WA_HEIGHT, 40);
    Probe* child = Probe::make(top, bordered);
    EXPECT_TRUE(StyleOf(child) & WS_BORDER);

    // WM_MOVE reports the client origin; the field keeps the outer corner.
    MoveWindow(*child, 17, 23, 60, 40, TRUE);
    EXPECT_EQ(17, child->X());
    EXPECT_EQ(23, child->Y());
    SendMessageW(*child, WM_MOVE, 0, MAKELPARAM(5, -3));
    EXPECT_EQ(4, child->X());
    EXPECT_EQ(-4, child->Y());

    // A top level takes its position from the window rectangle.
    MoveWindow(*top, 55, 66, 320, 240, TRUE);
    RECT r;
    GetWindowRect(*top, &r);
    EXPECT_EQ(r.left, top->X());
    EXPECT_EQ(r.top, top->Y());
    EXPECT_EQ(320, top->Width());
    EXPECT_EQ(240, top->Height());
    GetClientRect(*top, &r);
    EXPECT_EQ(r.right, top->width());
    EXPECT_EQ(r.bottom, top->height());
    ASSERT_FALSE(top->sizeTypes.empty()) << "a top level hears its own WM_SIZE";
    EXPECT_EQ(unsigned(SIZE_RESTORED), top->sizeTypes.back());

    // Children do not get sizeHandler calls.
    child->resize(80, 50);
    EXPECT_TRUE(child->sizeTypes.empty());
    EXPECT_EQ(78, child->width()) << "client width inside a one-pixel border";
    delete top;
}

TEST(WindowTree, DeletionGoesDepthFirst)
{
    struct Recorder {
        std::vector<std::string> order;
        std::vector<HWND> natives;
        void onDestroy(KWindow* w, DestroyEvent*)
        {
            KString caption = w->getCaption();
            order.push_back((const char*)caption);
            natives.push_back(w->getWindow());
        }
    } rec;
    auto named = [&](KWindow* parent, const char* text) {
        Probe* p = Probe::make(parent);
        SetWindowTextA(*p, text);
        p->_addEventHandler(new MemberEventHandler<Recorder, DestroyEvent>(&rec, &Recorder::onDestroy));
        return p;
    };
    Probe* root = named(nullptr, "root");
    Probe* a = named(root, "a");
    named(a, "a1");
    named(a, "a2");
    Probe* b = named(root, "b");
    named(b, "b1");
    EXPECT_EQ(2, root->numChild());
    EXPECT_EQ(1, b->childNum());

    delete root;
    std::vector<std::string> expected = {"root", "a", "a1", "a2", "b", "b1"};
    EXPECT_EQ(expected, rec.order);
    for (HWND h : rec.natives)
        EXPECT_FALSE(IsWindow(h)) << "every native window is destroyed";
}

TEST(WindowTree, RemovingAChildRenumbersTheRest)
{
    Probe* root = Probe::make(nullptr);
    Probe* c0 = Probe::make(root);
    Probe* c1 = Probe::make(root);
    Probe* c2 = Probe::make(root);
    delete c0;
    EXPECT_EQ(2, root->numChild());
    EXPECT_EQ(c1, root->child(0));
    EXPECT_EQ(0, c1->childNum());
    EXPECT_EQ(1, c2->childNum());
    EXPECT_EQ(root, c2->getTopLevel());
    delete root;
}

TEST(DeferPos, ZeroWidthRectangleHidesTheChild)
{
    Probe* top = Probe::make(nullptr);
    KArgList args;
    args.add(WA_WIDTH, 40);
    args.add(WA_HEIGHT, 40);
    Probe* a = Probe::make(top, args);
    Probe* b = Probe::make(top, args);
    top->show(true);
    {
        KDeferPos batch(top);
        batch.move(a, DCRect(5, 6, 0, 30));
        batch.move(b, DCRect(50, 60, 70, 30));
    }
    EXPECT_FALSE(IsWindowVisible(*a)) << "a rectangle without area hides";
    EXPECT_TRUE(IsWindowVisible(*b));
    EXPECT_EQ(50, b->X());
    EXPECT_EQ(60, b->Y());
    EXPECT_EQ(70, b->width());
    {
        KDeferPos batch(top);
        batch.move(a, DCRect(1, 2, 10, 10));
        batch.move(nullptr, DCRect(1, 2, 10, 10));
        batch.resize(b, 33, 44);
    }
    EXPECT_TRUE(IsWindowVisible(*a));
    EXPECT_EQ(33, b->Width());
    EXPECT_EQ(44, b->Height());
    EXPECT_EQ(50, b->X()) << "resize keeps the position";
    delete top;
}

TEST(WindowDisplay, ShowWalksTheTreeAndErasesWithBackground)
{
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 100);
    args.add(WA_CLIENT_HEIGHT, 60);
    args.add(WA_X, 10);
    args.add(WA_Y, 10);
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_BACKGROUND, (unsigned long)RGB(10, 200, 30));
    Probe* top = Probe::make(nullptr, args);
    Probe* child = Probe::make(top);
    top->show(true);
    EXPECT_TRUE(top->isVisible());
    EXPECT_TRUE(top->isMapped());
    UpdateWindow(*top);
    PumpMessages();
    HDC dc = GetDC(*top);
    EXPECT_EQ(RGB(10, 200, 30), GetPixel(dc, 50, 30)) << "WM_ERASEBKGND fills with background";
    ReleaseDC(*top, dc);

    top->show(false);
    EXPECT_FALSE(child->isVisible()) << "hiding walks the children";
    EXPECT_FALSE(IsWindowVisible(*top));
    delete top;
}

TEST(MainWindow, CloseWithAndWithoutOtherTopLevels)
{
    class Main : public KMainWin {
    public:
        Main() : KMainWin(L"Main Under Test")
        {
            KArgList args;
            init(nullptr, &args);
        }
        void closeHandler() override { ++closes; }
        int closes = 0;
    };
    Main* main = new Main;
    App->setMainWindow(main);
    main->show(true);
    ASSERT_EQ(1, GetTopLevelCount());

    SendMessageW(*main, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, main->closes) << "alone, the main window closes";

    KArgList popupArgs;
    Probe* other = Probe::make(nullptr, popupArgs);
    other->show(true);
    {
        BoxWatcher closer;
        SendMessageW(*main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(closer.answered) << "the refusal is a modal box, closed by the watcher";
        EXPECT_EQ(L"Window Tests (01-1022)", closer.title);
        EXPECT_EQ(L"Cannot exit while dialogs are open!", closer.text);
        EXPECT_EQ(main->getWindow(), closer.owner);
    }
    EXPECT_EQ(1, main->closes) << "refused while another top level is visible";
    delete other;

    // The main window's own class is named after the executable.
    wchar_t cls[MAX_PATH] = {0}, exe[MAX_PATH] = {0};
    GetClassNameW(*main, cls, MAX_PATH);
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_STREQ(exe, cls);

    // Destroying the main window posts the quit message with the exit code.
    App->setExitCode(42);
    delete main;
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, msg.wParam);
    App->setExitCode(0);
    App->setMainWindow(nullptr);
}

TEST(WindowDebug, PrintTreeIndentsDescendants)
{
    Probe* root = Probe::make(nullptr);
    Probe* child = Probe::make(root);
    Probe::make(child);
    root->printTree(0);
    std::string log = ReadLog();
    char line[200];
    snprintf(line, sizeof(line), "this=%p hwnd=%08x cls='", (void*)root,
             (unsigned)(UINT_PTR)root->getWindow());
    size_t at = log.rfind(line);
    ASSERT_NE(std::string::npos, at) << log;
    std::string tail = log.substr(at);
    EXPECT_NE(std::string::npos, tail.find("\r\n    this=")) << tail;
    EXPECT_NE(std::string::npos, tail.find("\r\n        this=")) << tail;
    delete root;
}

TEST(WindowDebug, DumpCopiesTheWindowPicture)
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_X, 200);
    args.add(WA_Y, 200);
    args.add(WA_CLIENT_WIDTH, 80);
    args.add(WA_CLIENT_HEIGHT, 50);
    args.add(WA_BACKGROUND, (unsigned long)RGB(250, 0, 0));
    Probe* top = Probe::make(nullptr, args);
    KArgList childArgs;
    childArgs.add(WA_X, 40);
    childArgs.add(WA_Y, 0);
    childArgs.add(WA_WIDTH, 40);
    childArgs.add(WA_HEIGHT, 50);
    childArgs.add(WA_BACKGROUND, (unsigned long)RGB(0, 0, 250));
    Probe::make(top, childArgs);
    top->show(true);
    UpdateWindow(*top);
    PumpMessages();

    KMemDC image(nullptr, 80, 50);
    top->dump(image, 0, 0, 0);
    EXPECT_EQ(RGB(250, 0, 0), GetPixel(image, 10, 25));
    EXPECT_EQ(RGB(0, 0, 250), GetPixel(image, 60, 25)) << "children appear in the copy";
    delete top;
}
