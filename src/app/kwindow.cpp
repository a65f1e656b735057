// KWindow: construction, creation of the native window, attributes,
// hierarchy and destruction.
#include "kwindow.h"
#include "kgraphics.h"
#include "kapp.h"
#include "kwindow_internal.h"
#include <typeinfo>
#include <cxxabi.h>
#include <stdlib.h>

KWindow* KWindow::high_win = nullptr;
KToolTip* KWindow::tool_tip = nullptr;
HCURSOR KWindow::hDefaultCursor = LoadCursorW(nullptr, IDC_ARROW);

KWindow::KWindow()
    : style(WS_CLIPSIBLINGS | WS_CLIPCHILDREN), exStyle(0), visible(true), destroying(false),
      acceptDoubleClick(false), mapped(true), managed(true), accel(nullptr), accelEnabled(true),
      printBackground(true), modifiedCount(0), isModifiedEnabled(true), inputEnabled(true),
      showDisabled(true), isInTabGroup(false), borderWidth(0), resizeBorder(true),
      parentData(nullptr), user1(0), user2(0), childIndex(-1), handlers(0), children(0),
      winX(0), winY(0), winWidth(0), winHeight(0), clientX(0), clientY(0), clientWidth(0),
      clientHeight(0), background(BUTTON_FACE_COLOR), foreground(BUTTON_TEXT_COLOR),
      borderColor(BORDER_COLOR), vpOrgX(0), vpOrgY(0), winOrgX(0), winOrgY(0), mapMode(MM_TEXT),
      vpExtX(1), vpExtY(1), winExtX(1), winExtY(1), initialTab(0), enterLeaveEnabled(false),
      useRegistryPos(false), useRegistrySize(false), doEraseBackground(true), isGripWin(false),
      modifiedOnChange(true), hwnd(nullptr), cursor(hDefaultCursor), parent(nullptr),
      owner(nullptr), classAtom(def_class.atom), activateOnClick(true), edgeThick(0),
      edgeStyle(0), joinTabGroup(false)
{
}

KWindow* MakeWindow(KWindow* parent, KArgList* args)
{
    auto* w = new KWindow;
    w->init(parent, args);
    return w;
}

void KWindow::init(KWindow* p, KArgList* args)
{
    parent = p;
    setValues(args);
    _create();
    if (parent) {
        parent->_addChild(this);
        parent->insertChild(this, args);
    }
}

// Wine reports a client area for a window made without a size (the size of
// its edges); a width or height never given counts as none, so that the
// window's configure sizes it the same way on Windows and Wine.
void KWindow::forgetUngivenSize(KArgList* args, bool width, bool height)
{
    if (width && !(args && (args->isSet(WA_WIDTH) || args->isSet(WA_CLIENT_WIDTH))))
        clientWidth = 0;
    if (height && !(args && (args->isSet(WA_HEIGHT) || args->isSet(WA_CLIENT_HEIGHT))))
        clientHeight = 0;
}

void KWindow::setValues(KArgList* args)
{
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        const KArgVal& v = args->val(i);
        if (a == WA_X) winX = (int)v;
        else if (a == WA_Y) winY = (int)v;
        else if (a == WA_WIDTH) winWidth = (int)v;
        else if (a == WA_HEIGHT) winHeight = (int)v;
        else if (a == WA_CLIENT_WIDTH) clientWidth = (int)v;
        else if (a == WA_CLIENT_HEIGHT) clientHeight = (int)v;
        else if (a == WA_IS_MAPPED) mapped = (bool)v;
        else if (a == WA_IS_MANAGED) managed = (bool)v;
        else if (a == WA_SHADOW_STYLE) {
            edgeStyle = (short)v;
            if (edgeStyle)
                edgeThick = (short)SHADOW_WIDTH;
        }
        else if (a == WA_SHADOW_THICK) edgeThick = (short)v;
        else if (a == WA_BORDERWIDTH) borderWidth = (short)v;
        else if (a == WA_BACKGROUND) background = (unsigned long)v;
        else if (a == WA_FOREGROUND) foreground = (unsigned long)v;
        else if (a == WA_BORDER_COLOR) borderColor = (unsigned long)v;
        else if (a == WA_WINDOWS_STYLE) style = (unsigned long)v;
        else if (a == WA_WINDOWS_EXSTYLE) exStyle = (unsigned long)v;
        else if (a == WA_RESIZE_BORDER) resizeBorder = (bool)v;
        else if (a == WA_CLASS_ATOM) classAtom = (unsigned short)(short)v;
        else if (a == WA_ADD_WINDOWS_STYLE) style |= (unsigned long)v;
        else if (a == WA_ENABLE_IS_MODIFIED) isModifiedEnabled = (bool)v;
        else if (a == WA_ADD_TO_TAB_GROUP) joinTabGroup = (bool)v;
        else if (a == WA_SHOW_DISABLED) showDisabled = (bool)v;
        else if (a == WA_ENTER_LEAVE_ENABLED) enterLeaveEnabled = (bool)v;
        else if (a == WA_USE_REGISTRY_POS) useRegistryPos = (bool)v;
        else if (a == WA_USE_REGISTRY_SIZE) useRegistrySize = (bool)v;
        else if (a == WA_ERASE_BACKGROUND) doEraseBackground = (bool)v;
        else if (a == WA_IS_GRIP_WIN) {
            isGripWin = (bool)v;
            if (isGripWin)
                cursor = SIZENWSE_CURSOR;
        }
        else if (a == WA_MODIFIED_ON_CHANGE) modifiedOnChange = (bool)v;
    }
    if (useRegistryPos || useRegistrySize)
        applySavedOptions();
}

void KWindow::_create()
{
    HMENU menu = nullptr;
    makeMenu(menu, accel);
    if (borderWidth == 1)
        style |= WS_BORDER;
    if (parent) {
        style |= WS_CHILD;
        if (mapped)
            style |= WS_VISIBLE;
        if (edgeStyle != 0) {
            edgeThick = (short)SHADOW_WIDTH;
            exStyle |= WS_EX_CLIENTEDGE;
        }
    } else {
        if (!(style & WS_POPUP)) {
            style |= WS_OVERLAPPEDWINDOW & ~WS_OVERLAPPED;
            if (!resizeBorder)
                style &= ~(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
        }
        // Top levels start hidden; the application (or run) shows them.
        mapped = false;
    }
    if (owner)
        owner = owner->getTopLevel();

    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
    const int frameW = (frame.right - frame.left) - clientWidth;
    const int frameH = (frame.bottom - frame.top) - clientHeight;
    if (winWidth)
        clientWidth = winWidth - frameW;
    else
        winWidth = frame.right - frame.left;
    if (winHeight)
        clientHeight = winHeight - frameH;
    else
        winHeight = frame.bottom - frame.top;
    clientX = clientY = 0;

    HWND parentHwnd = parent ? parent->hwnd : owner ? owner->hwnd : nullptr;
    CreateWindowExW(exStyle, MAKEINTATOM(classAtom), name, style, winX, winY, winWidth,
                    winHeight, parentHwnd, menu, KWNDCLASS::hInst, this);
    setBackground(background, false);
}

KWindow::~KWindow()
{
    destroying = true;
    EndWatchesOf(this);
    DestroyEvent gone(this);
    // A destructor must not throw: a failing handler is reported here.
    try {
        callHandlers(&gone);
    } catch (...) {
        ReportHandlerException(this);
    }
    if (high_win == this)
        high_win = nullptr;
    // Children go first, depth first; with parent cleared they do not call
    // back into this window's _removeChild.
    for (int i = 0; i < children.count(); ++i) {
        KWindow* c = children[i];
        if (c->isInTabGroup)
            removeFromTabGroup(c);
        c->parent = nullptr;
        delete c;
    }
    if (parent && isInTabGroup)
        parent->removeFromTabGroup(this); // the top level forgets it before it goes
    if (parent)
        parent->_removeChild(this);
    delete parentData;
    parentData = nullptr;
    if (accel)
        DestroyAcceleratorTable(accel);
    accel = nullptr;
    if (hwnd)
        DestroyWindow(hwnd);
    hwnd = nullptr;
    cursor = nullptr;
    owner = nullptr;
    for (int i = 0; i < handlers.count(); ++i)
        delete handlers[i];
}

KWindow* KWindow::getParent() const
{
    return this ? parent : nullptr;
}

HWND KWindow::getWindow() const
{
    return this ? hwnd : nullptr;
}

KWindow* KWindow::getTopLevel()
{
    KWindow* w = this;
    while (w->parent)
        w = w->parent;
    return w;
}

void KWindow::_addChild(KWindow* w)
{
    children.append(w);
    w->childIndex = (short)(children.count() - 1);
}

void KWindow::_removeChild(KWindow* w)
{
    removeChild(w);
    int i = children.findRemove(w);
    if (i < 0)
        return;
    for (; i < children.count(); ++i)
        children[i]->childIndex = (short)i;
}

void KWindow::setParentData(KParentData* p)
{
    if (p == parentData)
        return;
    delete parentData;
    parentData = p;
}

void KWindow::reconfigureContainers()
{
    for (KWindow* w = parent; w; w = w->parent)
        w->reconfigureContainer();
}

void KWindow::configureAll(bool resize)
{
    for (int i = 0; i < children.count(); ++i)
        children[i]->configureAll(resize);
    configure(resize);
}

int KWindow::addTabGroup()
{
    return parent ? parent->addTabGroup() : -1;
}

void KWindow::addToTabGroup(KWindow* w)
{
    if (parent)
        parent->addToTabGroup(w);
}

void KWindow::removeFromTabGroup(KWindow* w)
{
    if (parent)
        parent->removeFromTabGroup(w);
}

void KWindow::setTab(int group, int index)
{
    if (parent)
        parent->setTab(group, index);
}

KMessageWin* KWindow::getMessageWin()
{
    return parent ? parent->getMessageWin() : nullptr;
}

void KWindow::setIsModified(bool on)
{
    if (!on)
        modifiedCount = 0;
    else if (isModifiedEnabled)
        ++modifiedCount;
}

bool KWindow::isAnyModified()
{
    if (getIsModified())
        return true;
    for (int i = 0; i < children.count(); ++i)
        if (children[i]->isAnyModified())
            return true;
    return false;
}

int KWindow::getAnyModifiedCount()
{
    int n = modifiedCount;
    if (n == 0 && getIsModified())
        n = 1;
    for (int i = 0; i < children.count(); ++i)
        n += children[i]->getAnyModifiedCount();
    return n;
}

void KWindow::clearAllModified()
{
    setIsModified(false);
    for (int i = 0; i < children.count(); ++i)
        children[i]->clearAllModified();
}

void KWindow::enableAccel(bool on)
{
    getTopLevel()->accelEnabled = on;
}

KString KWindow::className() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    KString result(status == 0 && plain ? plain : mangled);
    free(plain);
    return result;
}

LRESULT KWindow::sendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageW(hwnd, msg, wParam, lParam);
}

void KWindow::setCaption(const KString& text)
{
    HWND top = getTopLevel()->hwnd;
    if (top)
        SetWindowTextW(top, text);
}

void KWindow::setCaption(const char* format, ...)
{
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    setCaption(text);
}

KString KWindow::getCaption() const
{
    int n = GetWindowTextLengthW(hwnd);
    KString text(n, L' ');
    if (n > 0)
        GetWindowTextW(hwnd, text, n + 1);
    return text;
}
