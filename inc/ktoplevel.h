// Top-level windows: KTopLevel and the application's main window KMainWin.
#ifndef KORVEL_KTOPLEVEL_H
#define KORVEL_KTOPLEVEL_H

#include "kform.h"

class KButtonBar;
class KMessageWin;
class KLabel;
class KToggleButton;
class KPushButton;

// A window without a parent. Its controls form tab groups: Tab moves the
// focus to the next member of the current group (after the last, the
// first), Shift+Tab to the first member of the next group (after the last
// group, group 0), Escape one member back, and Enter calls returnHandler().
// A member whose window is hidden is not given the focus; the focus then
// stays where it was. Deactivated and activated again, the top level gives
// the focus back to the window that had it.
class KORVEL_API KTopLevel : public KForm {
public:
    void checkMenuItem(int id, int checked) const;
    // Enter in a tab group; nothing here.
    virtual void returnHandler() {}

    // --- Tab groups ---
    // Starts a new group (the index it will have); members added from now on go there.
    int addTabGroup() override;
    void addToTabGroup(KWindow* w) override;
    void removeFromTabGroup(KWindow* w) override;
    // Focuses member index of group (a group out of range wraps round; the index
    // counts only in the current group, else the first member is taken).
    void setTab(int group, int index) override;
    int getCurGroup() const { return curGroup; }
    int getCurIndex() const { return curIndex; }
    void setLastFocus(KWindow* w) { lastFocus = w ? w->getWindow() : nullptr; }
    void activateHandler(bool active) override;
    // The keys and focus changes of the members.
    void tabGroupFocusHandler(KWindow* w, KeyboardEvent* e);
    // Draws the size grip of a main window or dialog.
    static void drawGrip(KWindow* grip);

    // The tool strip, if the top level has one.
    virtual KButtonBar* titleBar() const { return nullptr; }
    // Children of the tool strip, and panes of the status strip (null, -1
    // without them).
    KLabel* addLabel(const KString& text, AttachSide side);
    KToggleButton* addToggle(const KString& text, AttachSide side);
    KPushButton* addPushButton(const KString& text, AttachSide side);
    int addMessageWin(int width, AttachSide side);

protected:
    // The title becomes the caption of the native window.
    explicit KTopLevel(const wchar_t* title);
    // The size grip gives way while maximised and comes back when restored.
    static void fitGrip(KWindow* grip, unsigned int sizeType);

    HWND lastFocus = nullptr;
    long reserved[4] = {0, 0, 1, 1};
    long curGroup = 0;
    long curIndex = 0;
    KArray<KArray<KWindow*>> tabGroups;
};

// The application's main window: a work-area form, with WA_BUTTON_BAR a tool
// strip along the top and with WA_MESSAGE_BOX a status strip along the bottom
// (and a size grip beside it when the window has a resize border).
// Destroying it ends the message loop.
class KORVEL_API KMainWin : public KTopLevel {
public:
    ~KMainWin() override;
    KMessageWin* getMessageWin() override { return messageWin; }
    void setValues(KArgList* args) override;
    // Forgets the size: the window grows back to what its parts need.
    void reconfigureContainer() override;
    // Restores saved state after the first show; called by KAppClass::run.
    virtual void restoreState() {}
    KButtonBar* titleBar() const override { return buttonBar; }
    KForm* mainForm() const { return workForm; }

    void enableTitleBar(bool on);
    void disableTitleBar() { enableTitleBar(false); }
    void enableClientArea(bool on);
    void disableClientArea() { enableClientArea(false); }

protected:
    // Registers the window class named after the executable's path.
    explicit KMainWin(const wchar_t* title);
    // The main window is always a top level: parent is ignored.
    void init(KWindow* parent, KArgList* args);
    void resizeHandler(KWindow*, ResizeEvent* e);
    void exposeHandler(KWindow*, ExposeEvent*);

    bool hasMessageBox = false;
    bool hasButtonBar = false;
    KButtonBar* buttonBar = nullptr;
    KMessageWin* messageWin = nullptr;
    KWNDCLASS wndClass;
    KWindow* grip = nullptr;
    KForm* workForm = nullptr;
};

// Whether a modal dialog withholds the message from other windows: mouse
// input in client (WM_MOUSEMOVE .. 525) and non-client areas (160 .. 169) and
// keyboard input (WM_KEYDOWN .. 264). Paint and timer messages pass.
KORVEL_API bool IsModalMsg(unsigned int msg);

// The number of visible top-level windows of this process.
KORVEL_API int GetTopLevelCount();

#endif
