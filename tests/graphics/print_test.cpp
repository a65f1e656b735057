// Printing to the CUPS PDF printer: documents and pages read back from the PDFs, the print
// dialog answered by real clicks, orientation, and the line printer's page breaks and boxes.
#include <gtest/gtest.h>
#include "test_pdf.h"
#include "test_support.h"
#include <dlgs.h>

namespace {

typedef std::vector<int> Ints;
const int Dpi = 300, Shown = 50, Scale = Dpi / Shown; // printer and rendered resolutions

// Answers the next print dialog from a second thread: the page range and copies typed into
// its fields, then a real click on OK or Cancel. One still open after 5 s is cancelled.
struct DialogAnswer {
    bool ok = true;
    int from = 0, to = 0, copies = 1; // from 0: all pages
};
class PrintDialogAnswerer {
public:
    explicit PrintDialogAnswerer(const DialogAnswer& a) : answer(a)
    {
        thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~PrintDialogAnswerer()
    {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
    }
    bool found = false, forced = false;
    int maxPage = -1; // the upper page limit the dialog was given (the "To" field accepts it)

private:
    static void Click(HWND dialog, int id)
    {
        RECT r;
        HWND item = GetDlgItem(dialog, id);
        GetClientRect(item, &r);
        SendMouseAt(item, r.right / 2, r.bottom / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
    static DWORD WINAPI run(void* p)
    {
        auto* self = static_cast<PrintDialogAnswerer*>(p);
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !(dialog = FindMessageBox(edt3)); ++i)
            Sleep(10);
        if (!(self->found = dialog != nullptr))
            return 0;
        Sleep(100); // the dialog finishes its set-up
        const DialogAnswer& a = self->answer;
        if (a.from) {
            Click(dialog, rad3);
            SetDlgItemInt(dialog, edt1, a.from, FALSE);
            SetDlgItemInt(dialog, edt2, a.to, FALSE);
        }
        SetDlgItemInt(dialog, edt3, a.copies, FALSE);
        Click(dialog, a.ok ? IDOK : IDCANCEL);
        for (int i = 0; i < 500 && IsWindow(dialog); ++i)
            Sleep(10);
        if ((self->forced = IsWindow(dialog) != 0))
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    DialogAnswer answer;
    HANDLE thread;
};

int Copies(KPrintDC& p)
{
    DEVMODEW* dm = (DEVMODEW*)GlobalLock(p.printDlg().hDevMode);
    const int copies = dm ? dm->dmCopies : -1;
    GlobalUnlock(p.printDlg().hDevMode);
    return copies;
}

Ints Of(const PixelBox& b) { return Ints{b.left, b.top, b.right, b.bottom}; }

// Printer pixels to rendered ones.
int Px(int printer) { return printer / Scale; }

// Each rendered row box near its expected top (within 2 pixels of the rendering).
void ExpectRowsAt(const std::vector<PixelBox>& rows, const Ints& tops, const char* what)
{
    ASSERT_EQ(tops.size(), rows.size()) << what;
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_NEAR(tops[i], rows[i].top, 2) << what << " row " << i;
}

} // namespace

TEST(PrintDC, PagesOfADocumentReachThePdfPrinter)
{
    BoxWatcher boxes(IDCANCEL);
    KPrintDC p;
    EXPECT_EQ(0, p.getOrientation()) << "no printer chosen yet";
    const std::wstring title = PdfTitle(L"Squares");
    const int before = GetLibraryGDIObjectCount();
    ASSERT_TRUE(p.startDoc(title.c_str())) << "the default printer, without a dialog";
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ((Ints{Dpi, 2479, 3508, 1}), (Ints{p.getLOGPIXELSY(), p.Width(), p.Height(), p.isPortrait()}));
    // One black square a page, further down and right on each page.
    const DCRect squares[] = {{300, 600, 300, 300}, {1200, 1800, 600, 300}, {60, 3000, 120, 480}};
    for (const DCRect& r : squares) {
        ASSERT_TRUE(p.startPage());
        p.fillRect(r, RGB(0, 0, 0));
        p.endPage();
    }
    p.endDoc();
    EXPECT_FALSE(p.getHDC()) << "the printer context ends with the document";
    EXPECT_EQ(before, GetLibraryGDIObjectCount());
    const std::wstring pdf = WaitForPdf(title);
    ASSERT_FALSE(pdf.empty()) << Narrow(title);
    ASSERT_EQ(3, PdfPageCount(pdf));
    for (int page = 1; page <= 3; ++page) {
        const DCRect& r = squares[page - 1];
        const PdfImage image = RenderPdfPage(pdf, page);
        ASSERT_EQ((Ints{(2479 + Scale - 1) / Scale, (3508 + Scale - 1) / Scale}), (Ints{image.width, image.height}));
        const Ints expected{Px(r.x), Px(r.y), Px(r.x + r.w), Px(r.y + r.h)};
        const Ints seen = Of(image.ink(image.all()));
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(expected[i], seen[i], 1) << "page " << page << " edge " << i;
    }
}
