// KDialog: a top level with OK and Cancel buttons along the bottom, and
// optionally a tool strip (flag 1) and a status strip (flag 2; flag 4 puts it
// on the row of the buttons, flag 8 keeps its own font). It remembers where it
// was closed, per user and dialog class, and opens there again; the first
// time it opens centred on the screen.
//
//     class Limits : public KDialog {
//     public:
//         explicit Limits(KWindow* owner) : KDialog(owner, L"Limits", 0) { init(nullptr, &none); ... }
//         void okHandler() override { ...read the fields...; KDialog::okHandler(); }
//     };
//     if (ShowModal(new Limits(main), nullptr)) ...   // the dialog is deleted on return
//
// Enter in one of its tab groups is OK, the close box Cancel. Shift held on
// a button click shows in wasShifted().
//
// Settled here:
// - A quit message that the loop of ShowDialog takes ends that loop (the
//   dialog is cancelled and deleted) and is posted again, so that the loop
//   around it ends as well.
// - ShowDialog deletes the dialog itself; it switches deleteOnUnmap off while
//   it runs, so a dialog given to it is never deleted twice.
#ifndef KORVEL_KDIALOG_H
#define KORVEL_KDIALOG_H

#include "ktoplevel.h"
#include "klabel.h"
#include "krowcol.h"
#include "kbuttonbar.h"
#include "kmessagewin.h"

class KORVEL_API KDialog : public KTopLevel {
public:
    enum { TITLE_BAR = 1, MESSAGE_WIN = 2, INLINE_MESSAGE = 4, OWN_MESSAGE_FONT = 8 };
    ~KDialog() override;

    KMessageWin* getMessageWin() override { return messageWin; }
    KButtonBar* titleBar() const override { return titleBarWin; }
    KForm* getWorkArea() const { return workArea; }
    KLabel* getOkButton() const { return okButton; }
    KLabel* getCancelButton() const { return cancelButton; }
    bool isOk() const { return ok; }
    bool wasShifted() const { return shiftedClick; }
    bool isRunning() const { return running; }
    void setDeleteOnUnmap(bool on) { deleteOnUnmap = on; }
    void setToggleButton(KToggleButton* t) { toggleButton = t; }
    void untoggleButton();
    void setToggleState(bool on);
    void deleteSelf() { delete this; }


    // Hide the dialog, store its place, and close it with OK or Cancel.
    virtual void okHandler();
    virtual void cancelHandler();
    void returnHandler() override { okHandler(); }
    void closeHandler() override { cancelHandler(); }
    // Lays out; the first time also centres the dialog on the screen.
    void configure(bool resize) override;
    void reconfigureContainer() override;

protected:
    KDialog(KWindow* owner, const wchar_t* title, int flags);
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API bool ShowDialog(KDialog* d, bool modal, KToggleButton* toggle);

    KButtonBar* titleBarWin = nullptr;
    KMessageWin* messageWin = nullptr;
    KForm* workArea = nullptr;
    KForm* bottomForm = nullptr;
    KLabel* okButton = nullptr;
    KLabel* cancelButton = nullptr;
    KWindow* grip = nullptr;
    KGrid* buttonGrid = nullptr;
    bool hasTitleBar, hasMessageWin, inlineMessage, varFontMessage;
    bool running = false;
    bool shiftedClick = false;
    bool ok = false;
    bool deleteOnUnmap = false;
    KString okText;
    KString cancelText;
    KToggleButton* toggleButton = nullptr;

private:
    void buttonHandler(KWindow* w, MouseEvent* e);
    void resizeHandler(KWindow*, ResizeEvent* e);
    void exposeHandler(KWindow*, ExposeEvent*) { drawGrip(grip); }
    void close(bool withOk);
};

// Runs the dialog until OK or Cancel and returns isOk(); the dialog is
// deleted before it returns. Modal: input to other windows is withheld
// (paint and timers go on). A toggle button tied to the dialog cancels it
// when it is unset and is unset when the dialog closes.
KORVEL_API bool ShowDialog(KDialog* d, bool modal, KToggleButton* toggle);
KORVEL_API bool ShowModal(KDialog* d, KToggleButton* toggle = nullptr);
KORVEL_API bool ShowDialog(KDialog* d, KToggleButton* toggle);

#endif
