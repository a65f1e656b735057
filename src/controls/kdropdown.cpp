// KDropDownList: the pop-up list of a combo box. It never takes the
// activation or the focus; the combo box keeps both and forwards its keys.
#include "kcombo.h"
#include "kgraphics.h"

KDropDownList::KDropDownList(KComboBox* c, int sel) : font(DEFAULT_VAR_FONT), curSel(sel), combo(c)
{
    ZeroMemory(&scrollInfo, sizeof(scrollInfo));
    scrollInfo.cbSize = sizeof(scrollInfo);
    activateOnClick = false;
    owner = c;
}

KDropDownList::~KDropDownList() = default;

KDropDownList* MakeDropDown(KComboBox* combo, KArgList* args, int curSel)
{
    KArgList none;
    KArgList* list = args ? args : &none;
    list->removeAttrib(WA_WINDOWS_STYLE);
    list->add(WA_WINDOWS_STYLE, (unsigned long)(WS_POPUP | WS_BORDER));
    list->removeAttrib(WA_BACKGROUND);
    list->add(WA_BACKGROUND, (unsigned long)RGB(255, 255, 255));
    auto* drop = new KDropDownList(combo, curSel);
    drop->init(list);
    return drop;
}

void KDropDownList::init(KArgList* args)
{
    KWindow::init(nullptr, args);
    _addEventHandler(new ExposeEventHandler<KDropDownList>(this, &KDropDownList::exposeHandler));
    _addEventHandler(new MouseEventHandler<KDropDownList>(this, &KDropDownList::mouseHandler, 78));
    _addEventHandler(new KeyboardEventHandler<KDropDownList>(this, &KDropDownList::focusHandler, 24));
}

void KDropDownList::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        const int a = args->attr(i);
        if (a == WA_FONT) font = (HFONT)args->val(i);
        else if (a == WA_NUM_DISP_ROW) numDispRow = (int)args->val(i);
    }
}

void KDropDownList::showList(int x, int y, int width, int sel)
{
    const int count = combo->getCount();
    curSel = sel;
    shownRows = numDispRow < count ? numDispRow : count;
    if (curSel < topIndex || curSel >= topIndex + shownRows)
        topIndex = curSel - shownRows + 1 > 0 ? curSel - shownRows + 1 : 0;
    // Items removed since the last opening must not leave empty rows below.
    if (topIndex > count - shownRows)
        topIndex = count - shownRows > 0 ? count - shownRows : 0;
    {
        KWinDC dc(this);
        dc.setFont(font);
        dc.stringExtent(L"A", 1, &lineWidth, &lineHeight);
    }
    move(x, y, false);
    resizeClient(width, shownRows * lineHeight, false);
    scrollInfo.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    scrollInfo.nMin = 0;
    scrollInfo.nMax = count - 1;
    scrollInfo.nPage = (UINT)shownRows;
    scrollInfo.nPos = topIndex;
    SetScrollInfo(hwnd, SB_VERT, &scrollInfo, TRUE);
    shown = true;
    ReleaseCapture();
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    invalidate();
}

void KDropDownList::hideList()
{
    shown = false;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    ShowWindow(hwnd, SW_HIDE);
}

void KDropDownList::exposeHandler(KWindow*, ExposeEvent*)
{
    KWinDC dc(this);
    dc.setFont(font);
    dc.setBkMode(TRANSPARENT);
    const int w = width();
    for (int r = 0; r < shownRows && combo->validIndex(topIndex + r); ++r) {
        const KComboItem& it = combo->item(topIndex + r);
        const bool lit = topIndex + r == curSel;
        const DCRect row(0, r * lineHeight, w, lineHeight);
        dc.fillRect(row, lit ? GetSysColor(COLOR_HIGHLIGHT) : it.background);
        dc.setTextColor(lit ? GetSysColor(COLOR_HIGHLIGHTTEXT) : it.foreground);
        dc.setAlign(1, 0);
        dc.textOut(3, row.y + lineHeight / 2, it.text);
        if (it.rightText.notNull()) {
            dc.setAlign(2, 0);
            dc.textOut(w - 3, row.y + lineHeight / 2, it.rightText);
        }
    }
}

void KDropDownList::invalidateRow(int index)
{
    if (index >= topIndex && index < topIndex + shownRows)
        invalidate(DCRect(0, (index - topIndex) * lineHeight, width(), lineHeight));
}

void KDropDownList::highlight(int index)
{
    if (index == curSel || !combo->validIndex(index))
        return;
    invalidateRow(curSel);
    curSel = index;
    invalidateRow(curSel);
}

void KDropDownList::mouseHandler(KWindow*, MouseEvent* e)
{
    if (lineHeight > 0 && e->y >= 0)
        highlight(topIndex + e->y / lineHeight);
    if (e->type == (ME_RELEASE | ME_LEFT))
        okHandler();
}

void KDropDownList::focusHandler(KWindow*, KeyboardEvent* e)
{
    if (e->type == KE_FOCUS_OUT && shown)
        cancelHandler();
}

void KDropDownList::arrowHandler(int direction, bool shift)
{
    const int last = combo->getCount() - 1;
    int next = shift ? (direction > 0 ? 0 : last) : curSel - direction;
    if (next < 0 || next > last)
        return;
    highlight(next);
    if (next >= topIndex + shownRows)
        next == topIndex + shownRows ? scrollLine(SB_LINEDOWN) : scrollTo(next - shownRows + 1);
    else if (next < topIndex)
        next == topIndex - 1 ? scrollLine(SB_LINEUP) : scrollTo(next);
}

// A scroll request of the keyboard: it must not leave the mouse captured, or
// the next press elsewhere would reach the list instead of closing it.
void KDropDownList::scrollLine(int code)
{
    vscroll(code);
    vscroll(SB_ENDSCROLL);
}

void KDropDownList::okHandler()
{
    combo->dropDownHandler(curSel);
}

void KDropDownList::cancelHandler()
{
    combo->dropDownHandler(-1);
}

void KDropDownList::closeHandler()
{
    if (shown)
        cancelHandler();
}

void KDropDownList::scrollTo(int position)
{
    scrollInfo.fMask = SIF_POS;
    scrollInfo.nPos = position;
    SetScrollInfo(hwnd, SB_VERT, &scrollInfo, TRUE);
    scroll(0, (topIndex - position) * lineHeight);
    topIndex = position;
}

LRESULT KDropDownList::vscroll(int code)
{
    scrollInfo.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(hwnd, SB_VERT, &scrollInfo);
    SetCapture(hwnd);
    const int pos = scrollInfo.nPos, last = combo->getCount() - shownRows;
    int next;
    switch (code) {
    case SB_TOP: next = 0; break;
    case SB_LINEUP: next = pos - 1; break;
    case SB_LINEDOWN: next = pos + 1; break;
    case SB_PAGEUP: next = pos - shownRows; break;
    case SB_PAGEDOWN: next = pos + shownRows; break;
    case SB_BOTTOM: next = last; break;
    case SB_THUMBTRACK: next = scrollInfo.nTrackPos; break;
    case SB_THUMBPOSITION: next = pos; break;
    case SB_ENDSCROLL:
        ReleaseCapture();
        return 0;
    default:
        ErrorBox(ERRCODE(1, 1002), "Unknown scroll code=%d.", code);
        return 0;
    }
    if (next < 0 || next > last)
        return 0;
    scrollTo(next);
    return 0;
}

LRESULT KDropDownList::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_VSCROLL)
        return vscroll(LOWORD(wParam));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
