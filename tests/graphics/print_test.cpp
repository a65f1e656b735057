// Printing to the CUPS PDF printer: documents and pages read back from the PDFs, the print
// dialog answered by real clicks, orientation, and the line printer's page breaks and boxes.
#include <gtest/gtest.h>
#include "test_pdf.h"
#include "test_support.h"
#include <dlgs.h>

namespace {

typedef std::vector<int> Ints;
const int Dpi = 300, Scale = Dpi / 50; // printer pixels to a pixel of a page rendered at 50 dpi

// Answers the next print dialog from a second thread: the page range (from 0: all pages) and
// copies set in its fields, then a real click on OK or Cancel; one still open after three clicks
// (Wine loses a click to a pointer still on its way) is cancelled.
struct DialogAnswer { bool ok; int from, to, copies; };
struct PrintDialogAnswerer {
    DialogAnswer answer;
    bool found = false, forced = false;
    HWND owner = nullptr;
    HANDLE thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
    ~PrintDialogAnswerer() { WaitForSingleObject(thread, 10000), CloseHandle(thread); }

    static DWORD WINAPI run(void* p)
    {
        auto* self = static_cast<PrintDialogAnswerer*>(p);
        const DialogAnswer& a = self->answer;
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !(dialog = FindMessageBox(edt3)); ++i)
            Sleep(10);
        if (!(self->found = dialog != nullptr))
            return 0;
        self->owner = GetWindow(dialog, GW_OWNER);
        Sleep(100); // the dialog finishes its set-up
        auto click = [dialog](int id) {
            RECT r;
            GetClientRect(GetDlgItem(dialog, id), &r);
            SendMouseAt(GetDlgItem(dialog, id), r.right / 2, r.bottom / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        };
        if (a.from) {
            click(rad3);
            SetDlgItemInt(dialog, edt1, a.from, FALSE);
            SetDlgItemInt(dialog, edt2, a.to, FALSE);
        }
        SetDlgItemInt(dialog, edt3, a.copies, FALSE);
        for (int n = 0; n < 3 && IsWindow(dialog); ++n) {
            click(a.ok ? IDOK : IDCANCEL);
            for (int i = 0; i < 100 && IsWindow(dialog); ++i)
                Sleep(10);
        }
        if ((self->forced = IsWindow(dialog) != 0))
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
};

// f on the printer settings of p, locked for it; nothing when there are none.
template <class F> void WithSettings(KPrintDC& p, F f)
{
    if (DEVMODEW* dm = (DEVMODEW*)GlobalLock(p.printDlg().hDevMode))
        f(*dm), GlobalUnlock(p.printDlg().hDevMode);
}

int Px(int printer) { return printer / Scale; }

// The height of "A" in a font on the default printer, measured on an information context.
int LineHeight(const wchar_t* face, int points)
{
    wchar_t name[256];
    DWORD size = 256;
    EXPECT_TRUE(GetDefaultPrinterW(name, &size));
    KDevInfo info(name, L"winspool", nullptr, nullptr);
    info.setFont(face, points);
    int h = 0;
    info.stringExtent(L"A", nullptr, &h);
    return h;
}

// Lines of height h on a page: a line goes on while its bottom stays above the last row.
int LinesPerPage(int h) { return (3508 - 1) / h; }
// The printer names of p replaced: the device (the chosen one when null) and the output port.
void SetNames(KPrintDC& p, const wchar_t* device, const std::wstring& port)
{
    const DEVNAMES* old = (const DEVNAMES*)GlobalLock(p.printDlg().hDevNames);
    const std::wstring texts = std::wstring(L"winspool") + L'\0' +
                               (device ? device : (const wchar_t*)old + old->wDeviceOffset) + L'\0' + port + L'\0';
    GlobalUnlock(p.printDlg().hDevNames);
    const WORD base = sizeof(DEVNAMES) / sizeof(wchar_t), at = (WORD)(texts.find(L'\0') + 1);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + texts.size() * sizeof(wchar_t));
    DEVNAMES* names = (DEVNAMES*)GlobalLock(block);
    *names = DEVNAMES{base, (WORD)(base + at), (WORD)(base + texts.find(L'\0', at) + 1), 0};
    memcpy(names + 1, texts.data(), texts.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    GlobalFree(p.printDlg().hDevNames);
    p.printDlg().hDevNames = block;
}

} // namespace

TEST(PrintDC, PagesOfADocumentInEitherOrientationReachThePdfPrinter)
{
    BoxWatcher boxes(IDCANCEL);
    KPrintDC p;
    const std::wstring title = PdfTitle(L"Squares"), wide = PdfTitle(L"Wide");
    const int before = GetLibraryGDIObjectCount();
    ASSERT_TRUE(p.startDoc(title.c_str())) << "the default printer, without a dialog";
    EXPECT_EQ((Ints{Dpi, 2479, 3508, 1}), (Ints{p.getLOGPIXELSY(), p.Width(), p.Height(), p.isPortrait()}));
    // One black square a page, further down and right on each page; the last on a landscape page,
    // beyond a portrait page's width.
    const DCRect squares[] = {{300, 600, 300, 300}, {1200, 1800, 600, 300}, {60, 3000, 120, 480},
                              {3000, 300, 300, 300}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(p.startPage());
        p.fillRect(squares[i], RGB(0, 0, 0));
        p.endPage();
    }
    p.endDoc();
    EXPECT_FALSE(p.getHDC()) << "the printer context ends with the document";
    EXPECT_EQ(before, GetLibraryGDIObjectCount());
    // The same job to the port of the printer names, a file, when printing to a file.
    ScratchDir dir;
    SetNames(p, nullptr, dir.file(L"job.ps"));
    p.printDlg().Flags |= PD_PRINTTOFILE;
    ASSERT_TRUE(p.startDoc(title.c_str()) && p.startPage());
    p.endPage();
    p.endDoc();
    EXPECT_EQ("%!PS", ReadFileText(dir.file(L"job.ps")).substr(0, 4));

    KPrintDC portrait, landscape, none, unset;
    portrait.choose(nullptr, false), unset.choose(nullptr, false);
    landscape.setLandscapeMode(); // takes the default printer first
    WithSettings(unset, [](DEVMODEW& dm) { dm.dmFields &= ~DM_ORIENTATION; });
    EXPECT_EQ((Ints{1, 2, 0, -1}), (Ints{portrait.getOrientation(), landscape.getOrientation(),
                                         none.getOrientation(), unset.getOrientation()}));
    EXPECT_EQ((Ints{1, 0, 0, 1}), (Ints{portrait.isPortrait(), portrait.isLandscape(), landscape.isPortrait(),
                                        landscape.isLandscape()}));
    ASSERT_TRUE(landscape.startDoc(wide.c_str()));
    EXPECT_EQ((Ints{3508, 2479}), (Ints{landscape.Width(), landscape.Height()}));
    landscape.startPage();
    landscape.fillRect(squares[3], RGB(0, 0, 0));
    landscape.endPage();
    landscape.endDoc();
    landscape.setPortraitMode();
    EXPECT_TRUE(landscape.isPortrait());
    const std::wstring pdf = WaitForPdf(title);
    ASSERT_EQ(3, PdfPageCount(pdf)) << Narrow(title);
    for (int page = 1; page <= 4; ++page) {
        const DCRect& r = squares[page - 1];
        const PdfImage image = page < 4 ? RenderPdfPage(pdf, page) : RenderPdfPage(WaitForPdf(wide), 1);
        const PixelBox b = image.ink(image.all());
        ASSERT_EQ(page < 4 ? (Ints{414, 585}) : (Ints{585, 414}), (Ints{image.width, image.height})) << "page " << page;
        const Ints expected{Px(r.x), Px(r.y), Px(r.x + r.w), Px(r.y + r.h)}, seen{b.left, b.top, b.right, b.bottom};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(expected[i], seen[i], 1) << "page " << page << " edge " << i;
    }
}

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
            BoxWatcher none(IDCANCEL); // a dialog where none belongs is cancelled
            ASSERT_TRUE(p.choose(nullptr, false));
            WithSettings(p, [&](DEVMODEW& dm) { dm.dmCopies = (short)c.preset; });
        }
        PrintDialogAnswerer answerer{c.answer};
        const bool chosen = p.choose(owner, true);
        ASSERT_TRUE(WaitFor([&] { return answerer.found; }, 1000));
        EXPECT_FALSE(answerer.forced) << "the clicks closed the dialog; case " << &c - cases;
        EXPECT_EQ(c.chosen, chosen);
        EXPECT_EQ((Ints{1, 32000}), (Ints{p.printDlg().nMinPage, p.printDlg().nMaxPage}));
        EXPECT_EQ((std::vector<HWND>{*owner, *owner}), (std::vector<HWND>{p.printDlg().hwndOwner, answerer.owner}));
        EXPECT_EQ((Ints{c.flag, c.first, c.last, c.copies, 1}),
                  (Ints{p.getPageFlag(), p.getFirstPage(), p.getLastPage(), p.getNumCopy(), p.getCollate()}));
        int copies = -1;
        WithSettings(p, [&](DEVMODEW& dm) { copies = dm.dmCopies; });
        EXPECT_EQ(c.chosen ? 1 : c.preset ? c.preset : -1, copies) << "the driver prints one copy";
    }
}

TEST(LinePrintDC, TextPouredOntoPagesBreaksWhereTheLineHeightsSayAndFilesShowTheirBoxes)
{
    BoxWatcher boxes;
    const int h = LineHeight(L"Courier New", 24), big = LineHeight(L"Courier New", 48), perPage = LinesPerPage(h);
    KLinePrintDC lp;
    EXPECT_EQ((Ints{100, 0}), (Ints{lp.getX(), lp.getY()}));
    const std::wstring title = PdfTitle(L"Lines");
    ASSERT_TRUE(lp.startDoc(title.c_str()));
    lp.setLeftMargin(0.5f);
    EXPECT_EQ(150, lp.getX()) << "x raised to the margin";
    lp.startPage();
    lp.setFont(L"Courier New", 24);
    int w3 = 0, w6 = 0;
    lp.stringExtent(L"AAA", &w3, nullptr), lp.stringExtent(L"CCCDDD", &w6, nullptr);
    for (int i = 0; i < perPage - 1; ++i)
        lp.print("LINE %d\n", i);
    lp.print("AAA");                          // the last line of the first page
    EXPECT_EQ((Ints{150 + w3, (perPage - 1) * h}), (Ints{lp.getX(), lp.getY()}));
    lp.setFont(L"Courier New", 48);
    lp.printPrompt(L"B", "%d\n", 12);         // too high for what is left: a new page at the current x
    EXPECT_EQ((Ints{150, big}), (Ints{lp.getX(), lp.getY()}));
    lp.setFont(L"Courier New", 24);
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
    for (int i = 0; i < perPage; ++i)
        EXPECT_NEAR(top + Px(i * h), rows[i].top, 2) << "row " << i;
    EXPECT_NEAR(Px(150 + w3), rows.back().right, 2) << "AAA";
    ASSERT_EQ(3u, next.size());
    EXPECT_NEAR(Px(w3), next[0].left - next[2].left, 1) << "the big line starts where AAA ended";
    EXPECT_NEAR(Px(big) + top, next[1].top, 2);
    EXPECT_NEAR(Px(150), next[1].left, 2) << "CCCDDD";
    EXPECT_NEAR(Px(150 + w6), next[1].right, 2) << "CCCDDD";
    ASSERT_EQ(0u, boxes.count()) << "no dialog, no box";

    const int perFilePage = LinesPerPage(LineHeight(L"Courier New", 12));
    ScratchDir dir;
    EnvVar macro(L"KORVEL_PRINT_DIR", dir.path().substr(0, dir.path().size() - 1).c_str());
    std::string lines;
    for (int i = 0; i < perFilePage + 5; ++i)
        lines += Format("ROW %04d\n", i);
    WriteBytes(dir.file(L"long.txt"), Bytes(lines.begin(), lines.end()));
    // A file whose reading fails: this process's memory, from its unmapped address 0 (Wine lets
    // reads through a region another handle locked, so that is no way to make one there).
    const std::wstring unreadable = WindowsPath("/proc/self/mem");
    struct Case { std::wstring path; bool noPrinter; int box, pages; std::wstring text; };
    const Case cases[] = {{dir.file(L"long.txt"), false, 0, 2}, {dir.file(L"none.txt"), false, 0, 0},
                          {dir.file(L"long.txt"), true, 1011, 0, L"Could not open printer.\n"},
                          {unreadable, false, 1012, 0, L"Error while reading '" + unreadable + L"'."}};
    for (const Case& c : cases) {
        const size_t seen = boxes.count();
        const int objects = GetLibraryGDIObjectCount();
        const bool inDir = c.path.compare(0, dir.path().size(), dir.path()) == 0;
        const std::wstring given = inDir ? L"[KORVEL_PRINT_DIR]\\" + c.path.substr(dir.path().size()) : c.path;
        KLinePrintDC lp;
        if (c.noPrinter) {
            ASSERT_TRUE(lp.choose(nullptr, false));
            SetNames(lp, L"No Such Printer", L"NOWHERE:");
        }
        lp.printFile(given.c_str(), L"Courier New", 12);
        EXPECT_FALSE(lp.getHDC());
        EXPECT_EQ(objects, GetLibraryGDIObjectCount()) << "the font goes with the context";
        ASSERT_EQ(c.box ? seen + 1 : seen, boxes.count()) << Narrow(given);
        EXPECT_EQ(c.box ? Format("Graphics Tests (01-%04d)", c.box) + Narrow(c.text) : std::string(),
                  Narrow(boxes.box(seen).title + boxes.box(seen).text.substr(0, c.text.size())));
        if (!c.pages)
            continue;
        const std::wstring pdf = WaitForPdf(c.path);
        ASSERT_EQ(c.pages, PdfPageCount(pdf));
        const PdfImage first = RenderPdfPage(pdf, 1), last = RenderPdfPage(pdf, c.pages);
        const std::vector<PixelBox> rows = last.inkRows(last.all());
        EXPECT_EQ((size_t)perFilePage, first.inkRows(first.all()).size());
        EXPECT_EQ(5u, rows.size()) << "the lines after the first page's";
        EXPECT_NEAR(Px(100), rows[0].left, 2) << "at the margin";
    }
}
