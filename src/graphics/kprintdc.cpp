// The printer context: the print dialog's record with the printer settings
// and names it owns, and the document and page calls on the printer context
// that lives from startDoc to endDoc.
#include "kprint.h"
#include "kgdi.h"
#include "kwindow.h"

// The record as 32-bit Windows lays it out (packed), which the library's
// callers and the dialog share.
#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGW) == 66, "PRINTDLGW is 66 bytes on 32-bit Windows");
#endif

namespace {

// A movable global block locked for one operation: the printer settings
// (DEVMODEW) or names (DEVNAMES) of the dialog record.
template <class T>
class Locked {
public:
    explicit Locked(HGLOBAL h) : handle(h), data(h ? (T*)GlobalLock(h) : nullptr) {}
    ~Locked()
    {
        if (data)
            GlobalUnlock(handle);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    T* operator->() const { return data; }
    T* get() const { return data; }
    explicit operator bool() const { return data != nullptr; }

private:
    HGLOBAL handle;
    T* data;
};

void FreeGlobal(HGLOBAL& h)
{
    if (h)
        GlobalFree(h);
    h = nullptr;
}

// The text at a character offset of the names block.
const wchar_t* NameAt(const DEVNAMES* names, WORD offset)
{
    return (const wchar_t*)names + offset;
}

} // namespace

KPrintDC::KPrintDC() : pd()
{
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_NOSELECTION | PD_HIDEPRINTTOFILE;
}

KPrintDC::~KPrintDC()
{
    // A job still open is abandoned with its context: the owner ends it first.
    freeDC();
    FreeGlobal(pd.hDevMode);
    FreeGlobal(pd.hDevNames);
}

bool KPrintDC::choose(KWindow* owner, bool pageRange)
{
    endPage();
    endDoc();
    if (owner) {
        pd.Flags &= ~PD_RETURNDEFAULT;
        pd.hwndOwner = owner->getWindow();
    } else {
        pd.Flags |= PD_RETURNDEFAULT;
        // PrintDlgW refuses PD_RETURNDEFAULT while settings are passed in
        // (PDERR_RETDEFFAILURE): the default printer replaces the old choice.
        FreeGlobal(pd.hDevMode);
        FreeGlobal(pd.hDevNames);
    }
    const WORD first = pageRange ? 1 : 0;
    pd.nFromPage = pd.nToPage = pd.nMinPage = first;
    pd.nMaxPage = pageRange ? 32000 : 0;
    pd.Flags |= PD_COLLATE;
    if (!PrintDlgW(&pd))
        return false;
    // The driver prints one copy; the caller repeats the document. Where the
    // count was left depends on the dialog: a driver that makes copies itself
    // gets it in the settings with 1 in nCopies; otherwise (Wine always) it is
    // in nCopies and the settings keep what they held before the dialog.
    Locked<DEVMODEW> settings(pd.hDevMode);
    if (settings) {
        if (pd.nCopies <= 1)
            pd.nCopies = settings->dmCopies;
        settings->dmCopies = 1;
    }
    return true;
}

bool KPrintDC::startDoc(const KString& name)
{
    inDoc = false;
    if (!pd.hDevMode || !pd.hDevNames)
        choose(nullptr, false);
    if (!pd.hDevMode || !pd.hDevNames)
        return false;
    freeDC();
    Locked<DEVNAMES> names(pd.hDevNames);
    Locked<DEVMODEW> settings(pd.hDevMode);
    if (!names || !settings)
        return false;
    hdc = Counted(CreateDCW(NameAt(names.get(), names->wDriverOffset),
                            NameAt(names.get(), names->wDeviceOffset), nullptr, settings.get()));
    if (!hdc)
        return false;
    DOCINFOW doc = {};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = name;
    if (pd.Flags & PD_PRINTTOFILE)
        doc.lpszOutput = NameAt(names.get(), names->wOutputOffset);
    inDoc = StartDocW(hdc, &doc) > 0;
    // A context without a document is of no use to anyone: it goes at once.
    if (!inDoc)
        freeDC();
    return inDoc;
}

bool KPrintDC::startPage()
{
    inPage = StartPage(hdc) > 0;
    return inPage;
}

void KPrintDC::endPage()
{
    if (inPage)
        EndPage(hdc);
    inPage = false;
}

void KPrintDC::endDoc()
{
    if (inDoc)
        EndDoc(hdc);
    inDoc = false;
    freeDC();
}

void KPrintDC::freeDC()
{
    if (!hdc)
        return;
    restoreSelection();
    DeleteCountedDC(hdc);
    hdc = nullptr;
}

int KPrintDC::getFirstPage() const
{
    return getPageFlag() == PD_PAGENUMS ? pd.nFromPage - 1 : -1;
}

int KPrintDC::getLastPage() const
{
    return getPageFlag() == PD_PAGENUMS ? pd.nToPage - 1 : -1;
}

void KPrintDC::setFromToPage(int from, int to)
{
    pd.nFromPage = (WORD)from;
    pd.nToPage = (WORD)to;
}

void KPrintDC::setMinMaxPage(int min, int max)
{
    pd.nMinPage = (WORD)min;
    pd.nMaxPage = (WORD)max;
}

int KPrintDC::getOrientation() const
{
    Locked<DEVMODEW> settings(pd.hDevMode);
    if (!settings)
        return 0;
    if (!(settings->dmFields & DM_ORIENTATION))
        return -1;
    return settings->dmOrientation;
}

void KPrintDC::setOrientation(short orientation)
{
    if (!pd.hDevMode)
        choose(nullptr, false);
    Locked<DEVMODEW> settings(pd.hDevMode);
    if (!settings)
        return;
    settings->dmFields |= DM_ORIENTATION;
    settings->dmOrientation = orientation;
}
