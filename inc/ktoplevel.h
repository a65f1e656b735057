// Top-level windows: KTopLevel and the application's main window KMainWin.
#ifndef KORVEL_KTOPLEVEL_H
#define KORVEL_KTOPLEVEL_H

#include "kform.h"

class KButtonBar;

class KORVEL_API KTopLevel : public KForm {
public:
    void checkMenuItem(int id, int checked) const;
    virtual void returnHandler() {}

protected:
    // The title becomes the caption of the native window.
    explicit KTopLevel(const wchar_t* title);

    HWND lastFocus = nullptr;
    long reserved[4] = {0, 0, 1, 1};
    long curGroup = 0;
    long curIndex = 0;
};

// The application's main window. Destroying it ends the message loop.
class KORVEL_API KMainWin : public KTopLevel {
public:
    ~KMainWin() override;
    KMessageWin* getMessageWin() override { return messageWin; }
    void setValues(KArgList* args) override;
    // Restores saved state after the first show; called by KAppClass::run.
    virtual void restoreState() {}
    KButtonBar* titleBar() const { return buttonBar; }
    KForm* mainForm() const { return workForm; }

protected:
    // Registers the window class named after the executable's path.
    explicit KMainWin(const wchar_t* title);
    // The main window is always a top level: parent is ignored.
    void init(KWindow* parent, KArgList* args);

    bool hasMessageBox = false;
    bool hasButtonBar = false;
    KButtonBar* buttonBar = nullptr;
    KMessageWin* messageWin = nullptr;
    KWNDCLASS wndClass;
    KWindow* grip = nullptr;
    KForm* workForm = nullptr;
};

// The number of visible top-level windows of this process.
KORVEL_API int GetTopLevelCount();

#endif
