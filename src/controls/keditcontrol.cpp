// KEditBase: the text operations of the edit controls; KEditControl: the
// native "EDIT" control with its colours and font.
#include "keditcontrol.h"
#include "kfile.h"
#include "kgraphics.h"
#include <richedit.h>
#include <string.h>
#include <string>

namespace {

// A carriage return before every line feed, as the native controls want.
KString WithReturns(const KString& text)
{
    const int feeds = text.countChar(L'\n');
    if (!feeds)
        return text;
    KString out(text.length() + feeds, 0);
    int o = 0;
    for (int i = 0; i < text.length(); ++i) {
        if (text[i] == L'\n')
            out[o++] = L'\r';
        out[o++] = text[i];
    }
    return out;
}

// Appends a block of file bytes: up to its first 0 byte, each byte widened
// as a signed value (as KString widens 8-bit text), a carriage return before
// every line feed.
void AppendBlock(std::wstring& text, const char* block, size_t n)
{
    n = strnlen(block, n);
    for (size_t i = 0; i < n; ++i) {
        if (block[i] == '\n')
            text += L'\r';
        text += (wchar_t)(signed char)block[i];
    }
}

} // namespace

EditControlEvent::EditControlEvent(KEditControl* e) : Event(e), edit(e) {}

KEditBase::~KEditBase() = default;

KString KEditBase::getText()
{
    if (plainEdit)
        send(EM_FMTLINES, TRUE);
    const int n = GetWindowTextLengthW(control);
    KString text(n, 0);
    text.trunc(GetWindowTextW(control, text, n + 1));
    text.removeChar(L'\r');
    return text;
}

void KEditBase::_setText(const KString& text, unsigned msg, unsigned wParam, bool modified)
{
    const KString converted = WithReturns(text);
    send(msg, wParam, (LPARAM)(const wchar_t*)converted);
    markModified(modified);
}

void KEditBase::appendText(const KString& text)
{
    const KString converted = WithReturns(text);
    appendText(converted, true);
}

void KEditBase::appendText(const wchar_t* text, bool canUndo)
{
    const int end = getTextLength();
    send(EM_SETSEL, end, end);
    send(EM_REPLACESEL, canUndo, (LPARAM)text);
}

KString KEditBase::getLine(int n)
{
    wchar_t line[1000];
    *(WORD*)line = 999; // EM_GETLINE reads the buffer's size from its first unit
    const int got = (int)send(EM_GETLINE, n, (LPARAM)line);
    line[got > 0 && got < 1000 ? got : 0] = 0;
    return KString(line);
}

int KEditBase::getCurLineNum()
{
    DWORD start = 0;
    send(EM_GETSEL, (WPARAM)&start, 0);
    return (int)send(EM_LINEFROMCHAR, start);
}

void KEditBase::setFirstLine(int n)
{
    send(EM_LINESCROLL, 0, n - getFirstVisibleLine());
}

bool KEditBase::loadFile(const wchar_t* path, ERRCODE code, const char* failure)
{
    try {
        KFile file;
        file.open(path, L"rb");
        setText(KString(), true);
        // The whole text is built first and set with one message: appending
        // block by block makes the control copy its text again each time.
        std::wstring text;
        char block[4096];
        int n;
        while ((n = file.read(block, sizeof block, true)) > 0)
            AppendBlock(text, block, (size_t)n);
        // The controls' default limit (32K characters) would cut a longer file.
        if (text.size() > (size_t)send(EM_GETLIMITTEXT))
            send(plainEdit ? EM_SETLIMITTEXT : EM_EXLIMITTEXT, plainEdit ? text.size() : 0, (LPARAM)text.size());
        send(WM_SETTEXT, 0, (LPARAM)text.c_str());
        markModified(true);
        setFirstLine(0);
        return true;
    } catch (const KorvelException& e) {
        e.popupMessage(code, failure);
        return false;
    }
}

KEditControl::KEditControl() : KEditBase(WS_CHILD | ES_MULTILINE, (HFONT)GetStockObject(SYSTEM_FONT)),
                               backBrush(KStock{WHITE_BRUSH})
{
    plainEdit = true;
}

KEditControl::~KEditControl() = default;

KEditControl* MakeEditControl(KWindow* parent, KArgList* args)
{
    auto* edit = new KEditControl;
    edit->initControl(parent, args);
    return edit;
}

void KEditControl::createControl()
{
    makeControl(L"EDIT", 0);
}

void KEditControl::menuHandler(unsigned, unsigned code)
{
    EditControlEvent e(this);
    e.code = (int)code;
    callHandlers(&e);
}

LRESULT KEditControl::defMsgHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) || (HWND)lParam != control)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    SetTextColor((HDC)wParam, textForeground);
    SetBkColor((HDC)wParam, textBackground);
    return (LRESULT)(HBRUSH)backBrush;
}

void KEditControl::print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    KString text;
    text._vsprint(format, args);
    va_end(args);
    appendText(text);
}

void KEditControl::setTabStop(int n)
{
    int stop = n * 4;
    send(EM_SETTABSTOPS, 1, (LPARAM)&stop);
}

void KEditControl::setForeground(unsigned long colour, bool redraw)
{
    textForeground = colour;
    if (redraw)
        InvalidateRect(control, nullptr, TRUE);
}

void KEditControl::setBackground(unsigned long colour, bool redraw)
{
    textBackground = colour;
    backBrush = KBrush((COLORREF)colour);
    if (redraw)
        InvalidateRect(control, nullptr, TRUE);
}

void KEditControl::setFont(const wchar_t* face, int points, int weight)
{
    LOGFONTW description = {};
    KDisplay screen;
    description.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    description.lfWeight = weight;
    description.lfCharSet = 0;
    description.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
    // The control gets the new font before the old one is deleted.
    KDrawObj made(CreateFontIndirectW(&description), true);
    send(WM_SETFONT, (WPARAM)made.getHandle(), TRUE);
    font = std::move(made);
    invalidate();
}

bool KEditControl::loadFile(const wchar_t* path)
{
    return KEditBase::loadFile(path, ERRCODE(1, 1003), "Could not load edit control file.");
}
