// KDialog: OK and Cancel along the bottom, a remembered place, and the loop
// that runs a dialog.
#include "kdialog.h"
#include "kapp.h"
#include "kgraphics.h"
#include "../app/kwindow_internal.h"
#include <initializer_list>

KDialog::KDialog(KWindow* ownerWindow, const wchar_t* title, int flags)
    : KTopLevel(title), hasTitleBar(flags & TITLE_BAR), hasMessageWin(flags & MESSAGE_WIN),
      inlineMessage(flags & INLINE_MESSAGE), varFontMessage(!(flags & OWN_MESSAGE_FONT)), okText(L"OK"),
      cancelText(L"Cancel")
{
    owner = ownerWindow;
    winX = winY = -1;
    resizeBorder = false;
}

KDialog::~KDialog() = default;

static KLabel* Button(KWindow* grid, const KString& text)
{
    KArgList args;
    args.add(WA_MARGIN_WIDTH, 3);
    args.add(WA_MARGIN_HEIGHT, 3);
    args.add(WA_FIELD_WIDTH, 6);
    return MakeLabel(grid, &args, text, 6);
}

void KDialog::init(KWindow* parent, KArgList* args)
{
    loadRegistry();
    KForm::init(parent, args);
    if (!owner)
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
    setDefaultOffset(5);
    KArgList none;
    bottomForm = MakeForm(this, &none);
    if (hasTitleBar) {
        KArgList bar;
        bar.add(WA_BORDERWIDTH, (short)1);
        bar.add(WA_SIDE_MARGIN, 4);
        bar.add(WA_MARGIN_HEIGHT, 4);
        titleBarWin = MakeButtonBar(this, &bar);
        attachForm(titleBarWin, SIDE_LEFT, SIDE_TOP, SIDE_RIGHT);
    }
    if (hasMessageWin) {
        KArgList m;
        if (inlineMessage)
            m.add(WA_DEFAULT_SHADOW_STYLE, 0);
        if (varFontMessage)
            m.add(WA_FONT, DEFAULT_VAR_FONT);
        messageWin = MakeMessageWin(bottomForm, &m);
        bottomForm->attachForm(messageWin, SIDE_LEFT);
        bottomForm->attachOff(messageWin, SIDE_RIGHT, 5);
    }
    if (resizeBorder) {
        _addEventHandler(new ResizeEventHandler<KDialog>(this, &KDialog::resizeHandler));
        KArgList corner;
        corner.add(WA_WIDTH, GetSystemMetrics(SM_CXVSCROLL));
        corner.add(WA_HEIGHT, GetSystemMetrics(SM_CXVSCROLL));
        corner.add(WA_IS_GRIP_WIN, true);
        grip = MakeWindow(bottomForm, &corner);
        grip->_addEventHandler(new ExposeEventHandler<KDialog>(this, &KDialog::exposeHandler));
        bottomForm->attachForm(grip, SIDE_RIGHT, SIDE_BOTTOM);
    }
    KArgList g;
    g.add(WA_NUM_GRID_ROW, 1);
    g.add(WA_MARGIN_HEIGHT, 5);
    g.add(WA_MARGIN_WIDTH, 5);
    g.add(WA_LEFT_MARGIN, 0);
    g.add(WA_RIGHT_MARGIN, 0);
    buttonGrid = MakeGrid(bottomForm, &g);
    okButton = Button(buttonGrid, okText);
    cancelButton = Button(buttonGrid, cancelText);
    buttonGrid->configure(false);
    for (KLabel* b : {okButton, cancelButton})
        b->_addEventHandler(new MouseEventHandler<KDialog>(this, &KDialog::buttonHandler, ME_LEFT | ME_RELEASE));
    if (messageWin && !inlineMessage)
        bottomForm->attach(buttonGrid, SIDE_TOP, messageWin);
    else
        bottomForm->attachForm(buttonGrid, SIDE_TOP);
    bottomForm->attachForm(buttonGrid, SIDE_BOTTOM);
    if (grip) {
        bottomForm->attach(buttonGrid, SIDE_RIGHT, grip);
        bottomForm->attachOff(buttonGrid, SIDE_RIGHT, 0);
    } else {
        bottomForm->attachForm(buttonGrid, SIDE_RIGHT);
        bottomForm->attachOff(buttonGrid, SIDE_RIGHT, 5);
    }
    if (messageWin) {
        if (inlineMessage) {
            bottomForm->attachOpp(messageWin, SIDE_TOP, buttonGrid);
            bottomForm->attachOpp(messageWin, SIDE_BOTTOM, buttonGrid);
            bottomForm->attachOff(messageWin, SIDE_TOP, 6, SIDE_BOTTOM, 6);
            bottomForm->attach(messageWin, SIDE_RIGHT, buttonGrid);
        } else {
            bottomForm->attachForm(messageWin, SIDE_TOP, SIDE_RIGHT);
        }
    }
    workArea = MakeForm(this, &none);
    attachForm(workArea, SIDE_LEFT, SIDE_RIGHT);
    if (titleBarWin)
        attach(workArea, SIDE_TOP, titleBarWin);
    else
        attachForm(workArea, SIDE_TOP);
    attach(workArea, SIDE_BOTTOM, bottomForm);
    attachForm(bottomForm, SIDE_LEFT, SIDE_BOTTOM, SIDE_RIGHT);
    attachOff(bottomForm, SIDE_LEFT, 0, SIDE_BOTTOM, 0, SIDE_RIGHT, 0);
    addTabGroup();
}

void KDialog::buttonHandler(KWindow* w, MouseEvent* e)
{
    shiftedClick = e->isShifted();
    if (w == okButton)
        okHandler();
    else if (w == cancelButton)
        cancelHandler();
}

// Maximised, the grip goes and the buttons keep off the edge; restored, it
// comes back.
void KDialog::resizeHandler(KWindow*, ResizeEvent* e)
{
    if (!grip)
        return;
    fitGrip(grip, e->sizeType);
    bottomForm->attachOff(buttonGrid, SIDE_RIGHT, e->sizeType == SIZE_MAXIMIZED ? 5 : 0);
    bottomForm->configure(false);
    configure(false);
}

void KDialog::close(bool withOk)
{
    activateOwner();
    show(false);
    running = false;
    untoggleButton();
    ok = withOk;
    storeRegistry();
    if (deleteOnUnmap)
        delete this;
}

void KDialog::okHandler() { close(true); }
void KDialog::cancelHandler() { close(false); }

void KDialog::untoggleButton()
{
    if (toggleButton)
        toggleButton->setState(false);
}

void KDialog::setToggleState(bool on)
{
    if (toggleButton)
        toggleButton->setState(on);
}

void KDialog::configure(bool resize)
{
    KForm::configure(resize);
    if (winX != -1 || winY != -1)
        return;
    move((ScreenWidth() - winWidth) / 2, (ScreenHeight() - winHeight) / 2);
}

void KDialog::reconfigureContainer()
{
    clientWidth = clientHeight = 0;
    if (messageWin)
        messageWin->resizeClient(1, messageWin->height());
    bottomForm->reconfigureContainer();
    if (titleBarWin)
        titleBarWin->resizeClient(1, titleBarWin->height());
    configure(false);
}

// --- Running a dialog -------------------------------------------------------------

namespace {

// Whether a message of a modal loop goes to a window it may not reach.
bool Withheld(const MSG& msg, KDialog* d, HWND toggle)
{
    if (!IsModalMsg(msg.message) || !msg.hwnd)
        return false;
    HWND dialog = d->getWindow();
    return msg.hwnd != dialog && !IsChild(dialog, msg.hwnd) && msg.hwnd != toggle;
}

} // namespace

bool ShowDialog(KDialog* d, bool modal, KToggleButton* toggle)
{
    d->deleteOnUnmap = false; // this loop deletes it
    d->toggleButton = toggle;
    d->show(true);
    d->running = true;
    HWND toggleWindow = toggle ? toggle->getWindow() : nullptr;
    MSG msg;
    bool quit = false;
    while (d->running) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            d->cancelHandler();
            break;
        }
        if (modal && Withheld(msg, d, toggleWindow))
            continue;
        if (modal && d->hasAccel() && TranslateAcceleratorW(*d, d->getAccel(), &msg))
            continue;
        if (!modal && TranslateMainAccelerator(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (toggle && msg.hwnd == toggleWindow && !toggle->getState() && d->running)
            d->cancelHandler();
    }
    const bool result = d->isOk();
    delete d;
    if (quit)
        PostQuitMessage((int)msg.wParam); // the loop around this one ends too
    return result;
}

bool ShowModal(KDialog* d, KToggleButton* toggle)
{
    return ShowDialog(d, true, toggle);
}

bool ShowDialog(KDialog* d, KToggleButton* toggle)
{
    return ShowDialog(d, false, toggle);
}
