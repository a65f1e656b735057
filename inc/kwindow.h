// KWindow: the base of every window of the library. It owns one native
// window, mirrors its geometry, links it into a tree of parent and children,
// and holds the handler chain that the one window procedure feeds.
//
// Use: a window class derives from KWindow (or a container), makes itself
// with init() from an attribute list and adds its handlers.
//
//     class Meter : public KWindow {
//     public:
//         static Meter* make(KWindow* parent) {
//             auto* m = new Meter;
//             KArgList args;
//             args.add(WA_WIDTH, 200);
//             args.add(WA_HEIGHT, 40);
//             m->init(parent, &args);          // native window, child of parent
//             m->_addEventHandler(new MouseEventHandler<Meter>(m, &Meter::clicked, 65));
//             return m;                         // parent owns it from here on
//         }
//     private:
//         void clicked(KWindow*, MouseEvent* e) { ... }
//     };
//
// Ownership:
// - A window owns its children, its handlers, its layout record (KParentData,
//   setParentData) and its accelerator table. Deleting a window deletes its
//   subtree depth first, then those; the native window goes with the object.
// - _addEventHandler takes ownership of the handler; _removeEventHandler takes
//   it out of the chain and gives ownership back to the caller, who deletes it.
//   A handler may remove itself, add handlers or delete its window while an
//   event is delivered.
// - closeHandler, called for WM_CLOSE (the close box, Alt+F4, KAppClass::close),
//   deletes the window unless a derived class overrides it; the main window
//   refuses while other top-level windows are open.
// - Whatever a handler or virtual operation throws stops at the window
//   procedure: it is shown in an error box (code 1-1030) and logged, and the
//   message gets the default processing. No exception reaches the message loop.
// - Event objects live on the stack for one delivery; handlers keep no
//   pointers to them.
#ifndef KORVEL_KWINDOW_H
#define KORVEL_KWINDOW_H

#include <windows.h>
#include <stdarg.h>
#include "kexport.h"
#include "kstring.h"
#include "array"
#include "kargs.h"
#include "kevent.h"
#include "kgeometry.h"
#include "kdiag.h"

class KDevContext;
class KWinDC;
class KMessageWin;
class KToolTip;
class KWindow;

// A window-class registration with the library's window procedure.
struct KORVEL_API KWNDCLASS : public WNDCLASSW {
    unsigned short atom = 0;

    KWNDCLASS();
    virtual ~KWNDCLASS();
    // Fills the record (icon from the executable) and registers it.
    unsigned short registerClass(const wchar_t* name, unsigned int style);
    virtual unsigned short registerClass();

    // The application's instance, used for every registration and window.
    static HINSTANCE hInst;
};

// The classes registered by WinMain: "Korvel Window" and "Korvel Popup".
extern KORVEL_API KWNDCLASS def_class;
extern KORVEL_API KWNDCLASS popup_class;

// The layout record that a container keeps for each child.
class KORVEL_API KParentData {
public:
    virtual ~KParentData() = default;
};

// A window's saved placement, stored whole as the binary value "Dialog Rect".
struct WindowRegistryInfo {
    long version = 1;
    long x = 0, y = 0, width = 0, height = 0;
    long tab = 0;
    long reserved[8] = {0};
};
static_assert(sizeof(WindowRegistryInfo) == 56, "registry record is 56 bytes");

// System cursors.
extern KORVEL_API HCURSOR APPSTARTING_CURSOR, ARROW_CURSOR, CROSS_CURSOR, HELP_CURSOR,
    IBEAM_CURSOR, NO_CURSOR, SIZEALL_CURSOR, SIZENESW_CURSOR, SIZENS_CURSOR, SIZEWE_CURSOR,
    SIZENWSE_CURSOR, UPARROW_CURSOR, WAIT_CURSOR;

// The window procedure of every library window class.
KORVEL_API LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class KORVEL_API KWindow {
public:
    virtual ~KWindow();

    // --- Virtual operations, in slot order ---
    virtual int getInitialTab() { return 0; }
    virtual void setIsModified(bool on);
    virtual bool getIsModified() const { return modifiedCount > 0; }
    virtual void dumpHandler(int) {}
    virtual KString getPrintText(int) { return KString(); }
    virtual KMessageWin* getMessageWin();
    virtual bool setTextHandler(const wchar_t*) { return false; }
    virtual void enterLeaveHandler(bool) {}
    virtual void enableHandler(bool) {}
    virtual void showHandler(bool) {}
    virtual void sizeHandler(unsigned int) {}
    virtual void activateHandler(bool) {}
    virtual void enableDoubleClicks(bool on) { acceptDoubleClick = on; }
    virtual void setFocus() { SetFocus(hwnd); }
    virtual int addTabGroup();
    virtual void addToTabGroup(KWindow* w);
    virtual void removeFromTabGroup(KWindow* w);
    virtual void setTab(int group, int index);
    virtual void addedHandlerHandler(EventHandler*) {}
    virtual void removedHandlerHandler(EventHandler*) {}
    virtual KString toString(const char*) { return KString(); }
    virtual void reconfigureContainer() {}
    virtual void makeMenu(HMENU&, HACCEL&) {}
    virtual void configure(bool) {}
    virtual void setValues(KArgList* args);
    virtual void menuHandler(unsigned int, unsigned int) {}
    virtual bool altKeyHandler(int) { return false; }
    virtual void initMenuHandler(unsigned int, HMENU) {}
    virtual void removeChild(KWindow*) {}
    virtual void insertChild(KWindow*, KArgList*) {}
    virtual void closeHandler() { delete this; }
    // Default processing of a message nobody took (DefWindowProcW).
    virtual LRESULT defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam);

    // --- Creation ---
    void _create();

    // --- Geometry ---
    void move(int x, int y, int width, int height, bool repaint = true);
    void move(int x, int y, bool repaint = true);
    void resize(int width, int height, bool repaint = true);
    // Turns a client size into an outer size and resizes to it.
    void resizeClient(int width, int height, bool repaint = true);
    KRECT getClientRect() const;
    KRECT getWindowRect() const;
    // The other window's client area in this window's client coordinates.
    DCRect mapClientRect(KWindow* other) const;
    void clientToScreen(KPOINT* p) const;
    bool isPointerInWindow() const;
    int X() const { return winX; }
    int Y() const { return winY; }
    int Width() const { return winWidth; }
    int Height() const { return winHeight; }
    int x() const { return clientX; }
    int y() const { return clientY; }
    int width() const { return clientWidth; }
    int height() const { return clientHeight; }

    // --- Display ---
    void show(bool on);
    void mapChild(int i, bool on) { child(i)->show(on); }
    void setManaged(bool on);
    bool isManaged() const { return managed; }
    bool isMapped() const { return mapped; }
    bool isVisible() const { return visible; }
    bool isWindowVisible() const { return IsWindowVisible(hwnd) != 0; }
    void invalidate(bool erase = true);
    void invalidate(const DCRect& r, bool erase = true);
    void expose();
    void update() { UpdateWindow(hwnd); }
    void redrawWindow();
    // Fills the client area with the background colour.
    void clear();
    void scroll(int dx, int dy, unsigned int flags = 0);
    void scroll(const DCRect& r, int dx, int dy, unsigned int flags = 0);
    void scroll(const DCRect& r, const KPOINT& d, unsigned int flags = 0);
    void drawFocusRect(KWinDC& dc, DCRect r, bool focused);

    // --- Colours and frame ---
    COLORREF getBackground() const { return background; }
    void setBackground(COLORREF colour, bool repaint = true);
    COLORREF getForeground() const { return foreground; }
    COLORREF setForeground(COLORREF colour);
    COLORREF setBorderColor(COLORREF colour, bool redraw = true);
    void setBorderWidth(int w) { borderWidth = (short)w; }
    int shadowThick() const { return edgeThick; }
    int shadowStyle() const { return edgeStyle; }
    void setShadowStyle(int style);
    // Draws the one-pixel border and the 3-D edge; false when there is none.
    bool drawBorder();
    void eraseBackground(HDC hdc);
    bool hasResizeBorder() const { return resizeBorder; }
    void setResizeBorder(bool on) { resizeBorder = on; }

    // --- Focus ---
    void clearFocus() { SetFocus(nullptr); }
    bool isFocus() const { return hwnd && GetFocus() == hwnd; }
    void setFocusToTop();
    void activateOwner();

    // --- Hierarchy ---
    KWindow* getParent() const; // null for a null window
    KWindow* getOwner() const { return owner; }
    KWindow* getTopLevel();
    int numChild() const { return children.count(); }
    KWindow* child(int i) const { return children[i]; }
    int childNum() const { return childIndex; }
    void reconfigureContainers();
    // Lays out the children first, then this window.
    void configureAll(bool resize);
    void _addChild(KWindow* w);
    void _removeChild(KWindow* w);
    KParentData* getParentData() const { return parentData; }
    void setParentData(KParentData* p);

    // --- Modification tracking ---
    void clearIsModified() { setIsModified(false); }
    bool isAnyModified();
    int getAnyModifiedCount();
    void clearAllModified();
    int getModifiedCount() const { return modifiedCount; }
    void enableIsModified(bool on) { isModifiedEnabled = on; }
    void disableIsModified() { isModifiedEnabled = false; }
    void setModifiedOnChange(bool on) { modifiedOnChange = on; }

    // --- Handlers ---
    EventHandler* _addEventHandler(EventHandler* h);
    void _removeEventHandler(EventHandler* h);
    // Offers the event to every handler; returns how many took it.
    int callHandlers(Event* e);
    bool hasIOHandlers() const;

    // --- Cursor and mouse ---
    void setCursor(HCURSOR h);
    void limitMouse(bool on);
    // Drops queued mouse moves of this window; rebuilds last from the final one.
    int compressMotionEvents(MouseEvent* last);

    // --- Input state ---
    bool isInputEnabled() const { return inputEnabled; }
    bool showAsDisabled() const { return showDisabled && !inputEnabled; }
    bool acceptsDoubleClick() const { return acceptDoubleClick; }
    bool beingDestroyed() const { return destroying; }
    void setIsInTabGroup(bool on) { isInTabGroup = on; }
    bool getPrintBackground() const { return printBackground; }
    void setPrintBackground(bool on) { printBackground = on; }
    bool isEntered() const { return high_win == this; }
    void setToolTipText(const KString& text) { toolTipText = text; }
    const KString& getToolTipText() const { return toolTipText; }

    // --- Accelerators ---
    HACCEL& getAccel() { return accel; }
    bool hasAccel() const { return accel != nullptr; }
    bool areAccelEnabled() const { return accelEnabled; }
    // Enables or disables the accelerators of this window's top level.
    void enableAccel(bool on);

    // --- Messages into the top level's message window ---
    void err_printf(ERRCODE code, const char* format, ...);
    void err_printf(int field, ERRCODE code, const char* format, ...);
    void warn_printf(ERRCODE code, const char* format, ...);
    void warn_printf(int field, ERRCODE code, const char* format, ...);
    void mprintf(const char* format, ...);
    void mprintf(int field, const char* format, ...);
    void mprintf(int field, unsigned long fg, unsigned long bg, const char* format, ...);
    void _err_printf(int field, ERRCODE code, const char* format, va_list args);
    void _warn_printf(int field, ERRCODE code, const char* format, va_list args);
    void _mprintf(int field, unsigned long fg, unsigned long bg, const char* format, va_list args);
    void mshow_progress(int field, double fraction);
    void clearMessageWin();

    // --- Saved window options (per user, under "Software\Tarnwell\Windows") ---
    KString getModuleSubkey();
    bool loadRegistry(WindowRegistryInfo* info);
    bool loadRegistry();
    bool storeRegistry();

    // --- Text ---
    void setCaption(const KString& text);
    void setCaption(const char* format, ...);
    KString getCaption() const;

    // --- Other ---
    LRESULT sendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void enableWindow(bool on) { EnableWindow(hwnd, on); }
    bool isEnabled() const { return IsWindowEnabled(hwnd) != 0; }
    HMENU getMenu() const { return GetMenu(hwnd); }
    bool hasMenu() const { return GetMenu(hwnd) != nullptr; }
    // The run-time type name, e.g. "KMainWin".
    KString className() const;
    HWND getWindow() const; // null for a null window
    operator HWND() const { return hwnd; }
    unsigned long getStyle() const { return style; }
    unsigned long getExStyle() const { return exStyle; }
    void addWindowsStyle(unsigned long bits) { style |= bits; }
    void setClassAtom(unsigned short atom) { classAtom = atom; }
    long getUser1() const { return user1; }
    long getUser2() const { return user2; }
    void setUser1(long v) { user1 = v; }
    void setUser2(long v) { user2 = v; }
    // Applies this window's mapping mode and origins to a device context.
    void setCoord(HDC hdc) const;

    // --- Debug aids ---
    void printTree(int depth = 0);
    // Copies the picture of this window tree into dc at (x, y).
    void dump(KDevContext& dc, int flags, int x, int y, bool top = true);

    // The window under the pointer, for enter/leave tracking.
    static KWindow* high_win;
    // The one tool tip shown, or null.
    static KToolTip* tool_tip;
    static HCURSOR hDefaultCursor;

protected:
    KWindow();
    void init(KWindow* parent, KArgList* args);
    // After init: a width or height that args did not give counts as none
    // (Wine reports one anyway), so that configure sizes the window.
    void forgetUngivenSize(KArgList* args, bool width = true, bool height = true);

    // Dispatch helpers of the window procedure.
    void _showTree(bool on, bool top);
    void _enableTree(bool on);
    void _enterLeaveNotify(bool enter);
    void _hoverHandler();
    bool _setCursorHandler(HWND window, int hitTest);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT mouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT keyMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void applySavedOptions();

    friend KORVEL_API KWindow* MakeWindow(KWindow* parent, KArgList* args);
    // The window procedure binds native windows to objects and dispatches.
    friend struct WindowProcedure;

    unsigned long style;
    unsigned long exStyle;
    bool visible;
    bool destroying;
    bool acceptDoubleClick;
    bool mapped;
    bool managed;
    HACCEL accel;
    bool accelEnabled;
    bool printBackground;
    long modifiedCount;
    bool isModifiedEnabled;
    bool inputEnabled;
    bool showDisabled;
    bool isInTabGroup;
    short borderWidth;
    bool resizeBorder;
    KParentData* parentData;
    long user1, user2;
    short childIndex;
    KArray<EventHandler*> handlers;
    KArray<KWindow*> children;
    KString name;
    KString toolTipText;
    long winX, winY, winWidth, winHeight;
    long clientX, clientY, clientWidth, clientHeight;
    COLORREF background;
    COLORREF foreground;
    COLORREF borderColor;
    // Coordinate settings applied to device contexts of this window.
    long vpOrgX, vpOrgY, winOrgX, winOrgY;
    long mapMode, vpExtX, vpExtY, winExtX, winExtY;
    long initialTab;
    bool enterLeaveEnabled;
    bool useRegistryPos, useRegistrySize;
    bool doEraseBackground;
    bool isGripWin;
    bool modifiedOnChange;
    HWND hwnd;
    HCURSOR cursor;
    KWindow* parent;
    KWindow* owner;
    unsigned short classAtom;
    bool activateOnClick;
    short edgeThick;
    short edgeStyle;
    bool joinTabGroup;
};

// A plain window.
KORVEL_API KWindow* MakeWindow(KWindow* parent, KArgList* args);

// Batched moves of the children of one container (BeginDeferWindowPos).
class KORVEL_API KDeferPos {
public:
    explicit KDeferPos(KWindow* parent) { beginDefer(parent); }
    ~KDeferPos() { endDefer(); }
    KDeferPos(const KDeferPos&) = delete;
    KDeferPos& operator=(const KDeferPos&) = delete;

    void beginDefer(KWindow* parent);
    void endDefer();
    void show(KWindow* w, bool on);
    // A rectangle without area hides the child.
    void move(KWindow* w, const DCRect& r);
    void move(KWindow* w, int x, int y, int width, int height);
    void move(KWindow* w, int x, int y);
    void resize(KWindow* w, int width, int height);

private:
    void defer(KWindow* w, int x, int y, int width, int height, UINT flags);
    HDWP hdwp = nullptr;
};

#endif
