// Top-level windows and the main window.
#include "ktoplevel.h"
#include "kapp.h"
#include "kgraphics.h"
#include "kbuttonbar.h"
#include "kmessagewin.h"

KTopLevel::KTopLevel(const wchar_t* title)
{
    name = title;
}

void KTopLevel::checkMenuItem(int id, int checked) const
{
    CheckMenuItem(GetMenu(hwnd), id, checked ? MF_CHECKED : MF_UNCHECKED);
}

KMainWin::KMainWin(const wchar_t* title) : KTopLevel(title)
{
    // A class of its own, named after the executable, so that other programs
    // can find the main window by its class.
    wchar_t path[MAX_PATH] = {0};
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH))
        return;
    if (wndClass.registerClass(path, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS))
        classAtom = wndClass.atom;
}

// The class cannot be unregistered while the native window exists; the
// registration then simply lasts until the process ends.
KMainWin::~KMainWin() = default;

void KMainWin::setValues(KArgList* args)
{
    KTopLevel::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_MESSAGE_BOX)
            hasMessageBox = (bool)args->val(i);
        else if (args->attr(i) == WA_BUTTON_BAR)
            hasButtonBar = (bool)args->val(i);
    }
}

void KMainWin::init(KWindow*, KArgList* args)
{
    KForm::init(nullptr, args);
    KArgList none;
    workForm = MakeForm(this, &none);
    attachForm(workForm, SIDE_LEFT, SIDE_RIGHT);
    if (hasButtonBar) {
        KArgList bar;
        bar.add(WA_SIDE_MARGIN, 2);
        bar.add(WA_MARGIN_HEIGHT, 4);
        buttonBar = MakeButtonBar(this, &bar);
        attachForm(buttonBar, SIDE_LEFT, SIDE_TOP, SIDE_RIGHT);
    }
    if (hasMessageBox) {
        messageWin = MakeMessageWin(this, &none);
        attachForm(messageWin, SIDE_LEFT, SIDE_BOTTOM);
        attachForm(messageWin, SIDE_RIGHT);
        if (resizeBorder) {
            _addEventHandler(new ResizeEventHandler<KMainWin>(this, &KMainWin::resizeHandler));
            KArgList g;
            g.add(WA_WIDTH, GetSystemMetrics(SM_CXVSCROLL));
            g.add(WA_HEIGHT, GetSystemMetrics(SM_CXVSCROLL));
            g.add(WA_IS_GRIP_WIN, true);
            grip = MakeWindow(this, &g);
            grip->_addEventHandler(new ExposeEventHandler<KMainWin>(this, &KMainWin::exposeHandler));
            attachForm(grip, SIDE_RIGHT, SIDE_BOTTOM);
            attachOpp(grip, SIDE_TOP, messageWin);
            attach(messageWin, SIDE_RIGHT, grip);
        }
        attachOff(messageWin, SIDE_RIGHT, 0);
    }
    if (messageWin)
        attach(workForm, SIDE_BOTTOM, messageWin);
    else
        attachForm(workForm, SIDE_BOTTOM);
    if (buttonBar)
        attach(workForm, SIDE_TOP, buttonBar);
    else
        attachForm(workForm, SIDE_TOP);
}

void KMainWin::resizeHandler(KWindow*, ResizeEvent* e)
{
    if (!grip)
        return;
    fitGrip(grip, e->sizeType);
    configure(false);
}

void KTopLevel::drawGrip(KWindow* grip)
{
    KWinDC dc(grip);
    dc.drawFrameControl(DCRect(0, 0, grip->width(), grip->height()), DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void KMainWin::exposeHandler(KWindow*, ExposeEvent*)
{
    drawGrip(grip);
}

void KMainWin::reconfigureContainer()
{
    clientWidth = clientHeight = 0;
    if (messageWin)
        messageWin->resizeClient(1, messageWin->height());
    if (buttonBar)
        buttonBar->resizeClient(1, buttonBar->height());
    configure(false);
}

KLabel* KTopLevel::addLabel(const KString& text, AttachSide side)
{
    KButtonBar* bar = titleBar();
    return bar ? bar->addLabel(text, side) : nullptr;
}

KToggleButton* KTopLevel::addToggle(const KString& text, AttachSide side)
{
    KButtonBar* bar = titleBar();
    return bar ? bar->addToggle(text, side) : nullptr;
}

KPushButton* KTopLevel::addPushButton(const KString& text, AttachSide side)
{
    KButtonBar* bar = titleBar();
    return bar ? bar->addPushButton(text, side) : nullptr;
}

int KTopLevel::addMessageWin(int width, AttachSide side)
{
    KMessageWin* strip = getMessageWin();
    return strip ? strip->add(width, side) : -1;
}

void KTopLevel::fitGrip(KWindow* grip, unsigned int sizeType)
{
    if (sizeType == SIZE_MAXIMIZED)
        grip->resize(0, grip->Height());
    else if (sizeType == SIZE_RESTORED && grip->Width() == 0)
        grip->resize(GetSystemMetrics(SM_CXVSCROLL), grip->Height());
}

void KMainWin::enableTitleBar(bool on)
{
    if (buttonBar)
        buttonBar->enableWindow(on);
}

void KMainWin::enableClientArea(bool on)
{
    if (workForm)
        workForm->enableWindow(on);
}

namespace {

struct TopLevelCount {
    DWORD process;
    int count;
};

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM data)
{
    auto* c = reinterpret_cast<TopLevelCount*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->process && IsWindowVisible(hwnd))
        ++c->count;
    return TRUE;
}

} // namespace

int GetTopLevelCount()
{
    TopLevelCount c = {GetCurrentProcessId(), 0};
    if (App && App->getMainWindow())
        GetWindowThreadProcessId(App->getMainWindow()->getWindow(), &c.process);
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    return c.count;
}
