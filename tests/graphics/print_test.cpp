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
// its fields, then a real click on OK or Cancel. One still open after three clicks is cancelled.
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
        // A click that Wine lost to a pointer still on its way is given again.
        for (int click = 0; click < 3 && IsWindow(dialog); ++click) {
            Click(dialog, a.ok ? IDOK : IDCANCEL);
            for (int i = 0; i < 100 && IsWindow(dialog); ++i)
                Sleep(10);
        }
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

namespace {

// The height of "A" in a font on the default printer, measured on an information context.
int LineHeight(const wchar_t* face, int points)
{
    KPrintDC p;
    EXPECT_TRUE(p.choose(nullptr, false));
    DEVNAMES* names = (DEVNAMES*)GlobalLock(p.printDlg().hDevNames);
    const wchar_t* text = (const wchar_t*)names;
    KDevInfo info(text + names->wDeviceOffset, text + names->wDriverOffset, nullptr, nullptr);
    GlobalUnlock(p.printDlg().hDevNames);
    info.setFont(face, points);
    int h = 0;
    info.stringExtent(L"A", nullptr, &h);
    return h;
}

// Lines of height h that fit a page of the printer: a line goes on while its bottom stays above
// the page's last row.
int LinesPerPage(int h) { return (3508 - 1) / h; }

// Printer settings naming a printer that does not exist.
void NameMissingPrinter(KPrintDC& p)
{
    const wchar_t texts[] = L"winspool\0No Such Printer\0NOWHERE:\0";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + sizeof(texts));
    DEVNAMES* names = (DEVNAMES*)GlobalLock(block);
    const WORD base = sizeof(DEVNAMES) / sizeof(wchar_t);
    *names = DEVNAMES{base, (WORD)(base + 9), (WORD)(base + 25), 0};
    memcpy(names + 1, texts, sizeof(texts));
    GlobalUnlock(block);
    GlobalFree(p.printDlg().hDevNames);
    p.printDlg().hDevNames = block;
}

} // namespace

TEST(PrintDC, PrintDialogAnsweredByTheUser)
{
    WindowOwner windows;
    KWindow* owner = ShownPopup(windows, 0, 0, 200, 100);
    // preset: copies the settings hold before the dialog (0: no settings yet).
    struct Case { int preset; DialogAnswer answer; bool chosen; int flag, first, last, copies; };
    const Case cases[] = {{0, {true, 2, 5, 3}, true, PD_PAGENUMS, 1, 4, 3},
                          {0, {true, 0, 0, 2}, true, 0, -1, -1, 2},
                          {4, {true, 0, 0, 3}, true, 0, -1, -1, 3},
                          {0, {false, 3, 4, 1}, false, 0, -1, -1, 1}};
    for (const Case& c : cases) {
        KPrintDC p;
        if (c.preset) {
            ASSERT_TRUE(p.choose(nullptr, false));
            DEVMODEW* dm = (DEVMODEW*)GlobalLock(p.printDlg().hDevMode);
            dm->dmCopies = (short)c.preset;
            GlobalUnlock(p.printDlg().hDevMode);
        }
        PrintDialogAnswerer answerer(c.answer);
        const bool chosen = p.choose(owner, true);
        WaitFor([&] { return answerer.found; }, 1000);
        ASSERT_TRUE(answerer.found);
        EXPECT_FALSE(answerer.forced) << "the clicks closed the dialog; case " << &c - cases;
        EXPECT_EQ(c.chosen, chosen);
        EXPECT_EQ((Ints{1, 32000}), (Ints{p.printDlg().nMinPage, p.printDlg().nMaxPage}));
        EXPECT_EQ(*owner, p.printDlg().hwndOwner);
        EXPECT_EQ((Ints{c.flag, c.first, c.last, c.copies}),
                  (Ints{p.getPageFlag(), p.getFirstPage(), p.getLastPage(), p.getNumCopy()}));
        EXPECT_EQ(c.chosen ? 1 : c.preset ? c.preset : -1, Copies(p)) << "the driver prints one copy";
        EXPECT_TRUE(p.getCollate());
    }
}

TEST(PrintDC, OrientationOfTheSettingsShapesThePage)
{
    KPrintDC portrait, landscape, none, unset;
    portrait.choose(nullptr, false);
    landscape.setLandscapeMode(); // takes the default printer first
    unset.choose(nullptr, false);
    DEVMODEW* dm = (DEVMODEW*)GlobalLock(unset.printDlg().hDevMode);
    dm->dmFields &= ~DM_ORIENTATION;
    GlobalUnlock(unset.printDlg().hDevMode);
    EXPECT_EQ((Ints{1, 2, 0, -1}), (Ints{portrait.getOrientation(), landscape.getOrientation(),
                                         none.getOrientation(), unset.getOrientation()}));
    EXPECT_EQ((Ints{1, 0, 0, 1}), (Ints{portrait.isPortrait(), portrait.isLandscape(), landscape.isPortrait(),
                                        landscape.isLandscape()}));
    const std::wstring title = PdfTitle(L"Wide");
    ASSERT_TRUE(landscape.startDoc(title.c_str()));
    EXPECT_EQ((Ints{3508, 2479}), (Ints{landscape.Width(), landscape.Height()}));
    landscape.startPage();
    landscape.fillRect(DCRect(3000, 300, 300, 300), RGB(0, 0, 0)); // beyond a portrait page's width
    landscape.endPage();
    landscape.endDoc();
    const PdfImage image = RenderPdfPage(WaitForPdf(title), 1);
    EXPECT_EQ((Ints{585, 414}), (Ints{image.width, image.height}));
    EXPECT_EQ((Ints{500, 50, 550, 100}), Of(image.ink(image.all())));
    landscape.setPortraitMode();
    EXPECT_TRUE(landscape.isPortrait());
}

TEST(LinePrintDC, TextPouredOntoPagesBreaksWhereTheLineHeightsSay)
{
    const int h = LineHeight(L"Courier New", 24), big = LineHeight(L"Courier New", 48);
    const int perPage = LinesPerPage(h);
    KLinePrintDC lp;
    EXPECT_EQ((Ints{100, 0}), (Ints{lp.getX(), lp.getY()}));
    const std::wstring title = PdfTitle(L"Lines");
    ASSERT_TRUE(lp.startDoc(title.c_str()));
    lp.setLeftMargin(0.5f);
    EXPECT_EQ(150, lp.getX()) << "x raised to the margin";
    lp.startPage();
    lp.setFont(L"Courier New", 24);
    int w3 = 0;
    lp.stringExtent(L"AAA", &w3, nullptr);
    for (int i = 0; i < perPage - 1; ++i)
        lp.print("LINE %d\n", i);
    lp.print("AAA");                          // the last line of the first page
    EXPECT_EQ((Ints{150 + w3, (perPage - 1) * h}), (Ints{lp.getX(), lp.getY()}));
    lp.setFont(L"Courier New", 48);
    lp.printPrompt(L"B", "%d\n", 12);         // too high for what is left: a new page at the current x
    EXPECT_EQ((Ints{150, big}), (Ints{lp.getX(), lp.getY()}));
    lp.setFont(L"Courier New", 24);
    int wC = 0, wD = 0;
    lp.stringExtent(L"CCC", &wC, nullptr);
    lp.stringExtent(L"DDD", &wD, nullptr);
    lp.print("CCC");
    const KString d(L"DDD");
    lp.print("%S\n", &d);                     // two calls, one line
    lp.setFont(L"Courier New", 48);
    lp.printPrompt(L"B", "%d\n", 12);         // the same at the margin
    lp.endPage();
    lp.endDoc();
    const std::wstring pdf = WaitForPdf(title);
    ASSERT_EQ(2, PdfPageCount(pdf));
    const PdfImage first = RenderPdfPage(pdf, 1), second = RenderPdfPage(pdf, 2);
    const std::vector<PixelBox> rows = first.inkRows(first.all()), next = second.inkRows(second.all());
    ASSERT_EQ((size_t)perPage, rows.size());
    const int top = rows[0].top; // the ink of a capital starts this far below its line
    Ints tops;
    for (int i = 0; i < perPage; ++i)
        tops.push_back(top + Px(i * h));
    ExpectRowsAt(rows, tops, "first page");
    EXPECT_NEAR(Px(150 + w3), rows.back().right, 2) << "AAA";
    ASSERT_EQ(3u, next.size());
    EXPECT_NEAR(Px(w3), next[0].left - next[2].left, 1) << "the big line starts where AAA ended";
    EXPECT_NEAR(Px(big) + top, next[1].top, 2);
    EXPECT_NEAR(Px(150), next[1].left, 2) << "CCCDDD";
    EXPECT_NEAR(Px(150 + wC + wD), next[1].right, 2) << "CCCDDD";
}

TEST(LinePrintDC, TextFilesPrintedAsDocumentsAndTheirBoxes)
{
    const int perPage = LinesPerPage(LineHeight(L"Courier New", 12));
    ScratchDir dir;
    EnvVar macro(L"KORVEL_PRINT_DIR", dir.path().substr(0, dir.path().size() - 1).c_str());
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += Format("ROW %04d\n", i);
    WriteBytes(dir.file(L"long.txt"), Bytes(lines.begin(), lines.begin() + 9 * (perPage + 5)));
    WriteBytes(dir.file(L"locked.txt"), Bytes(lines.begin(), lines.end()));
    // Another handle locks all but the first 8 KB: reading stops there.
    HANDLE locker = CreateFileW(dir.file(L"locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(LockFile(locker, 8192, 0, 100000, 0));
    // Wine lets a read through a region another handle locked; a Unix file whose reading fails
    // (the memory of this process from its unmapped address 0) shows the box there.
    const std::wstring unreadable = WindowsPath("/proc/self/mem");
    enum Setup { Plain, MissingPrinter };
    struct Case { std::wstring path; Setup setup; int box, pages; bool wineGap; };
    const Case cases[] = {{dir.file(L"long.txt"), Plain, 0, 2, false}, {dir.file(L"none.txt"), Plain, 0, 0, false},
                          {dir.file(L"long.txt"), MissingPrinter, 1011, 0, false},
                          {dir.file(L"locked.txt"), Plain, 1012, 0, true}, {unreadable, Plain, 1012, 0, false}};
    for (const Case& c : cases) {
        const bool inDir = c.path.compare(0, dir.path().size(), dir.path()) == 0;
        const std::wstring given = inDir ? L"[KORVEL_PRINT_DIR]\\" + c.path.substr(dir.path().size()) : c.path;
        BoxWatcher boxes;
        KLinePrintDC lp;
        if (c.setup == MissingPrinter) {
            ASSERT_TRUE(lp.choose(nullptr, false));
            NameMissingPrinter(lp);
        }
        lp.printFile(given.c_str(), L"Courier New", 12);
        EXPECT_FALSE(lp.getHDC());
        if (c.wineGap) {
            TODO_WINE(boxes.count() == 1);
            continue;
        }
        ASSERT_EQ(c.box ? 1u : 0u, boxes.count()) << Narrow(given);
        if (c.box) {
            const std::wstring text = c.box == 1011 ? L"Could not open printer.\n" : L"Error while reading '" + c.path + L"'.";
            EXPECT_EQ(Format("Graphics Tests (01-%04d)", c.box), Narrow(boxes.box().title));
            EXPECT_EQ(Narrow(text), Narrow(boxes.box().text.substr(0, text.size())));
        }
        if (!c.pages)
            continue;
        const std::wstring pdf = WaitForPdf(c.path);
        ASSERT_EQ(c.pages, PdfPageCount(pdf));
        const PdfImage first = RenderPdfPage(pdf, 1), last = RenderPdfPage(pdf, c.pages);
        const std::vector<PixelBox> rows = last.inkRows(last.all());
        EXPECT_EQ((size_t)perPage, first.inkRows(first.all()).size());
        EXPECT_EQ(5u, rows.size()) << "the lines after the first page's";
        EXPECT_NEAR(Px(100), rows[0].left, 2) << "at the margin";
    }
    CloseHandle(locker);
}
