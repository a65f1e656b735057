// KRichEditControl: the native "RichEdit20W" control, with coloured ranges.
#include "keditcontrol.h"
#include <richedit.h>

static_assert(sizeof(CHARFORMAT2W) == 116, "CHARFORMAT2W is 116 bytes");

RichEditControlEvent::RichEditControlEvent(KRichEditControl* e) : Event(e), edit(e) {}

KRichEditControl::KRichEditControl()
    : KEditBase(WS_CHILD | ES_MULTILINE, (HFONT)GetStockObject(SYSTEM_FONT))
{
}

KRichEditControl::~KRichEditControl() = default;

KRichEditControl* MakeRichEditControl(KWindow* parent, KArgList* args)
{
    auto* edit = new KRichEditControl;
    edit->initControl(parent, args);
    return edit;
}

void KRichEditControl::createControl()
{
    // Registers the window class; the library stays loaded for the process.
    static HMODULE library = LoadLibraryW(L"riched20.dll");
    if (!library)
        Fatal(__FILE__, __LINE__, "Could not load Richedit DLL riched20.dll");
    makeControl(L"RichEdit20W", 0);
}

void KRichEditControl::menuHandler(unsigned, unsigned code)
{
    RichEditControlEvent e(this);
    e.code = (int)code;
    callHandlers(&e);
}

void KRichEditControl::setEventMask(long mask)
{
    send(EM_SETEVENTMASK, 0, mask);
}

void KRichEditControl::setSelectedColor(unsigned long colour)
{
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = colour;
    send(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
}

void KRichEditControl::setColor(int start, int end, unsigned long colour)
{
    CHARRANGE saved = {0, 0};
    send(EM_EXGETSEL, 0, (LPARAM)&saved);
    CHARRANGE range = {start, end};
    send(EM_EXSETSEL, 0, (LPARAM)&range);
    setSelectedColor(colour);
    send(EM_EXSETSEL, 0, (LPARAM)&saved);
}

bool KRichEditControl::loadFile(const wchar_t* path)
{
    return KEditBase::loadFile(path, ERRCODE(1, 1016), "Could not load RichEdit file.");
}
