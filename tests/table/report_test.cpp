// Table reports: the record and option files of the print arguments, reports printed to the
// CUPS PDF printer and read back by page count and ink positions, a page drawn scaled into a
// memory bitmap, and the options dialog driven by real input.
#include "table_tests.h"
#include "test_pdf.h"
#include <functional>

namespace {
typedef KTablePrintArg A;
typedef std::vector<int> Ints;
// Wine gives process ids again in the next run: the time tells a run's PDFs from older ones.
const std::wstring RunStamp = Wide(Format("%u", (unsigned)time(nullptr)));
const int Dpi = 300; // the PDF printer's; pages are rendered at it
// A dialog with a message line holding a table of three columns and rows rows; the message
// line's texts are recorded whenever the table asks for a cell.
struct Stage : KDialog { Stage() : KDialog(nullptr, L"Report stage", MESSAGE_WIN) { KArgList none; init(nullptr, &none); } };
std::vector<std::string> messages;
std::string Message(KTableWin* t) { return Narrow(t->getTopLevel()->getMessageWin()->getPane(0)->getText()); }
void Record(KTableWin* t, TableWinCellEvent*, int, int) { if (messages.empty() || messages.back() != Message(t)) messages.push_back(Message(t)); }
KTableWin* ReportTable(WindowOwner& windows, int rows)
{
    KArgList none;
    KTableWin* t = MakeTableWin(windows.own(new Stage())->getWorkArea(), &none);
    for (const char* title : {"Row", "Value", "Note"})
        t->addCol(title, COL_FIELD_WIDTH, 8);
    t->configure(true), AddEventHandler(t, CellRecorder::handle), AddEventHandler(t, Record), t->setNumRow(rows);
    return t;
}
// Arguments whose page footer shows the page number and the page count as the indent of a "#"
// ("[P<n>]" is n spaces and a "#"), below an unindented "#" and one indented by 40.
A FooterArg()
{
    A a;
    KReportSection* s = a.sections;
    s[A::REPORT_TITLE].text = L"Quarterly Report", s[A::PAGE_HEADER].text = L"Samples";
    s[A::REPORT_FOOTER].text = L"End of samples", s[A::REPORT_FOOTER].align = 2; // right of the table, where no row reaches
    s[A::PAGE_FOOTER] = KReportSection(), s[A::PAGE_FOOTER].font = L"Courier New";
    s[A::PAGE_FOOTER].text = L"#\n[P40]\n[P[CUR_PAGE]]\n[P[NUM_PAGE]]";
    for (int n = 1; n <= 40; ++n)
        a.macros.set(Format("[P%d]", n).c_str(), "%U#", std::wstring(n, L' ').c_str());
    return a;
}
// The report's layout as the test works it out from the printer's resolution and fonts.
struct Layout {
    int L, T, rowH, h[7], edges[4], avail;
    std::vector<int> first; // the first row of each page, then one past the last page's
    int rows(int k) const { return first[k + 1] - first[k]; }
    int pages() const { return (int)first.size() - 1; }
    int headerTop(int k) const { return T + (k == 0 ? h[0] + h[1] : 0) + h[2]; }
    int footerTop(int k) const { return headerTop(k) + rowH * (1 + rows(k)) + (k == pages() - 1 ? h[5] : 0); }
};
int Extent(KPrintDC& p, const wchar_t* face, int pt, const KString& text, bool height = false)
{
    int cx = 0, cy = 0;
    return p.setFont(face, pt), p.stringExtent(text, &cx, &cy), height ? cy : cx;
}
Layout Expected(KPrintDC& p, const A& a, int n)
{
    Layout l;
    l.L = (int)(Dpi * a.leftInch), l.T = (int)(Dpi * a.topInch);
    for (int i = 0; i < 7; ++i) {
        const KReportSection& s = a.sections[i];
        const int lines = s.text.isNull() ? 0 : s.text.countChar(L'\n') + 1;
        l.h[i] = lines ? lines * Extent(p, s.font, s.ptSize, L"A", true) + (int)(Dpi * s.spacing) : 0;
    }
    const int cw = Extent(p, L"Courier New", 10, L"A"), pad = 4; // nint(300 x 0.014)
    l.rowH = Extent(p, L"Courier New", 10, L"A", true) + 2 * pad;
    for (int j = 0; j < 4; ++j)
        l.edges[j] = l.L + j * (9 * cw + 2 * pad);
    const int fixed = l.h[2] + l.h[4] + l.h[6] + l.rowH + l.T + (int)(Dpi * a.botInch);
    const int H = p.Height(), first = l.h[0] + l.h[1], last = l.h[5];
    l.avail = H - fixed;
    int pages = 1; // the first takes what fits below the title, the last all that is left if the footer fits
    if (n * l.rowH + fixed + first + last > H)
        for (int left = n - (l.avail - first) / l.rowH; left > 0; ++pages)
            left -= left * l.rowH + fixed + last <= H ? left : l.avail / l.rowH;
    l.first = {0};
    for (int k = 0; k < pages; ++k)
        l.first.push_back(l.first[k] + (l.avail - (k ? 0 : first) - (k + 1 < pages ? 0 : last)) / l.rowH);
    return l;
}
std::vector<unsigned> Units(const KString& s) { return std::vector<unsigned>((wchar_t*)s, (wchar_t*)s + s.length()); }
// Real clicks and keys into the running options dialog, one step per tick of a thread timer: a
// left margin of 1.5 and a report title "HI", then OK or Cancel; closed at the end in any case.
KQueryOptionDlg* dialog = nullptr;
size_t next = 0;
bool pressOk = false;
void ClickIn(KWindow* w, const DCRect& r) { SendMouseAt(*w, r.x + r.w / 2, r.y + r.h / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); }
const std::function<void()> Steps[] = {
    [] { Activate(*dialog), ClickIn(dialog->tabs(), dialog->tabs()->getTab(2)->rect); }, [] { ClickIn(dialog->margin(0), dialog->margin(0)->getBoxRect()); },
    [] { SendKeys({VK_END, VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK}); }, [] { SendKeys({'1'}), SendKeys({VK_OEM_PERIOD}), SendKeys({'5'}); },
    [] { ClickIn(dialog->tabs(), dialog->tabs()->getTab(0)->rect); }, [] { ClickIn(dialog->editor(0).text, {0, 0, 20, 20}); },
    [] { SendKeys({'H'}), SendKeys({'I'}); },
    [] { KWindow* b = pressOk ? dialog->getOkButton() : dialog->getCancelButton(); ClickIn(b, {0, 0, b->width(), b->height()}); },
    [] {}, [] {}, [] {}, [] {}, [] {}, [] { PostMessageW(*dialog, WM_CLOSE, 0, 0); }};
void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) { dialog && next < std::size(Steps) ? Steps[next++]() : void(); }
} // namespace

TEST(Report, DefaultsRecordOptionFilesAndTheOptionsDialog)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows"); // the dialog opens centred, on the screen
    ScratchDir dir;
    A a;
    EXPECT_EQ((std::vector<double>{0.75, 0.5, 0.5, 0.25}), (std::vector<double>{a.leftInch, a.topInch, a.rightInch, a.botInch}));
    const Ints sizes{20, 12, 10, 10, 10, 12, 7, 12}, aligns{0, 1, 1, 1, 2, 1, 2, 1};
    for (int i = 0; i < 8; ++i) // the eighth is the message line's
        EXPECT_EQ((Ints{sizes[i], aligns[i], sizes[i], aligns[i]}), (Ints{A::defaultPtSize(i), A::defaultAlign(i),
                  i < 7 ? a.sections[i].ptSize : sizes[i], i < 7 ? a.sections[i].align : aligns[i]})) << i;
    EXPECT_EQ("Tarnwell Output|Courier New|Tarnwell Quorvane 6.3", Narrow(a.jobName) + "|" + Narrow(a.sections[3].font) + "|" + Narrow(a.sections[6].text));
    a.sections[A::REPORT_TITLE].text = L"kept", a.sections[A::REPORT_TITLE].ptSize = 30, a.setDefaults();
    EXPECT_EQ((Ints{20, 1}), (Ints{a.sections[0].ptSize, a.sections[0].text == L"kept"}));
    // The options dialog by real input: OK keeps the changes; Cancel asks whether to save them.
    const struct { bool ok; int answer; bool saved; } runs[] = {{true, IDOK, false}, {false, IDNO, false}, {false, IDYES, true}};
    for (const auto& c : runs) {
        SCOPED_TRACE(Format("ok %d answer %d", c.ok, c.answer));
        A arg, stored;
        KString path = dir.file(L"options.opt").c_str();
        BoxWatcher asked(c.answer);
        dialog = new KQueryOptionDlg(nullptr, &arg, &path), next = 0, pressOk = c.ok;
        const UINT_PTR timer = SetTimer(nullptr, 0, 150, Step);
        EXPECT_EQ(c.ok, ShowModal(dialog));
        KillTimer(nullptr, timer), dialog = nullptr;
        EXPECT_EQ(c.ok ? "0 " : "1 Do you wish to save changes?", Format("%u ", (unsigned)asked.count()) + (c.ok ? "" : Narrow(asked.box().text)));
        EXPECT_EQ(c.ok || c.saved ? 1.5 : 0.75, arg.leftInch);
        EXPECT_EQ(c.ok || c.saved ? "hi" : "", Lower(Narrow(arg.sections[0].text)));
        EXPECT_EQ(c.saved, LoadPrintOptions(path, &stored) && stored.sameAs(arg));
        DeleteFileW(path);
    }
    // The record, byte for byte; one of eight sections is refused and changes nothing.
    a.leftInch = 1.25, a.drawSeparators = 0, a.sections[A::PAGE_FOOTER].text = L"p", a.sections[3].color = 0x123456;
    Bytes expected;
    auto putDouble = [&](double d) { unsigned char b[8]; memcpy(b, &d, 8); expected.insert(expected.end(), b, b + 8); };
    Put32(expected, 1), putDouble(1.25), putDouble(0.5), putDouble(0.5), putDouble(0.25), Put32(expected, 0), Put32(expected, 7);
    for (const KReportSection& s : a.sections) {
        Put32(expected, 1), PutString(expected, Units(s.text)), PutString(expected, Units(s.font));
        Put32(expected, s.ptSize), Put32(expected, s.color), Put32(expected, s.align), putDouble(s.spacing);
    }
    KFile f(dir.file(L"arg.bin").c_str());
    auto io = [&](A& x, const wchar_t* mode) { f.open(mode); Caught c = Catch([&] { x.IO(f); }); f.close(); return !c; };
    A back, untouched;
    EXPECT_TRUE(io(a, L"wb"));
    EXPECT_EQ(expected, ReadBytes(dir.file(L"arg.bin")));
    EXPECT_TRUE(io(back, L"rb") && back.sameAs(a));
    Set32(expected, 40, 8), WriteBytes(dir.file(L"arg.bin"), expected);
    EXPECT_TRUE(!io(untouched, L"rb") && untouched.sameAs(A()));
    // Option files: a failed load leaves the arguments as they were.
    PrintOptions stored;
    stored.arg = a;
    ASSERT_TRUE(stored.store(dir.file(L"good.opt").c_str(), false));
    Bytes cut = ReadBytes(dir.file(L"good.opt"));
    cut.resize(cut.size() - 20), WriteBytes(dir.file(L"cut.opt"), cut);
    BoxWatcher boxes;
    const struct { const wchar_t* file; bool loads; size_t boxes; } cases[] = {{L"missing.opt", false, 0}, {L"cut.opt", false, 1}, {L"good.opt", true, 1}};
    const A before = FooterArg(); // what a failed load leaves
    for (const auto& c : cases) {
        A target = before;
        EXPECT_EQ(c.loads, LoadPrintOptions(dir.file(c.file).c_str(), &target)) << Narrow(c.file);
        EXPECT_TRUE(target.sameAs(c.loads ? a : before) && c.boxes == boxes.count()) << Narrow(c.file) << " " << boxes.count();
    }
}

TEST(Report, PrintedPagesWhereTheLayoutPutsThemAndAScaledPage)
{
    BoxWatcher boxes(IDCANCEL);
    WindowOwner windows;
    CellRecorder cells;
    KPrintDC p; // measures while the reports print
    A a = FooterArg();
    ASSERT_TRUE(p.startDoc(PdfTitle(L"Measure").c_str()));
    const Layout big = Expected(p, a, 1000);
    const int n = big.pages(), rows5 = big.rows(0) + 3 * (big.avail / big.rowH) + 1;
    ASSERT_EQ(5, Expected(p, a, rows5).pages());
    KReportLayout lib;
    A measured = a;
    ReportTable(windows, 1000)->reportLayout(p, measured, lib);
    EXPECT_EQ((Ints{4, n}), (Ints{lib.pad, lib.numPage()})) << "pad at 300 dpi";
    // Each case one document: pages from (0: all) to, the page mode and the current row (-1:
    // none), the pages printed (from 0; none listed: all) and the pages rendered and checked.
    const struct { const char* name; int rows, from, to, mode, current; Ints printed, checked; } cases[] = {
        {"1000 rows", 1000, 0, 0, 0, -1, {}, {0, n - 1}},
        {"pages 2 to 3 of 5", rows5, 2, 3, 0, -1, {1, 2}, {1, 2}},
        {"page of the current row", 1000, 0, 0, 1, big.first[2] + 5, {2}, {2}},
        {"one page", 10, 0, 0, 0, -1, {}, {0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KTableWin* t = ReportTable(windows, c.rows);
        if (c.current >= 0)
            t->setCurRow(c.current, false);
        KPrintDC printer;
        ASSERT_TRUE(printer.choose(nullptr, true));
        if (c.from)
            printer.printDlg().Flags |= PD_PAGENUMS, printer.setFromToPage(c.from, c.to);
        A arg = a;
        arg.pageMode = c.mode, arg.jobName = PdfTitle(L"Report" + RunStamp).c_str();
        messages.clear(), t->print(printer, arg), messages.push_back(Message(t));
        const Layout l = Expected(p, arg, c.rows);
        const std::wstring pdf = WaitForPdf(Wide(arg.jobName));
        ASSERT_FALSE(pdf.empty());
        Ints printed = c.printed;
        std::vector<std::string> shown;
        for (int k = 0; c.printed.empty() && k < l.pages(); ++k)
            printed.push_back(k);
        for (int k : printed)
            shown.push_back(Format("Printing page %d of %d ...", k + 1, l.pages()));
        shown.push_back("Done printing table.");
        EXPECT_EQ((int)printed.size(), PdfPageCount(pdf));
        EXPECT_EQ(shown, messages);
        for (int k : c.checked) {
            SCOPED_TRACE(Format("page %d of %d", k + 1, l.pages()));
            const PdfImage page = RenderPdfPage(pdf, (int)(std::find(printed.begin(), printed.end(), k) - printed.begin()) + 1, Dpi);
            // The top band: the centred title on the first page, the page header at the left after.
            const PixelBox top = page.ink({0, l.T, page.width, l.T + l.h[k ? 2 : 0] - 30});
            EXPECT_NEAR(k ? l.L : (page.width + l.L - Dpi / 2) / 2, k ? top.left : (top.left + top.right) / 2, 8);
            const int yF = l.footerTop(k);
            const PixelBox report = page.ink({l.edges[3] + 10, yF - l.h[5], page.width, yF - 1});
            EXPECT_EQ(k == l.pages() - 1, !report.empty() && std::abs(report.right - (page.width - Dpi / 2 - 1)) < 8) << "report footer";
            // Below the last separator line: the "#"s, indented by the numbers, from their ink's start.
            const std::vector<PixelBox> footer = page.inkRows({0, yF + 3, page.width, yF + l.h[4]});
            ASSERT_EQ(4u, footer.size());
            EXPECT_NEAR(l.L, footer[0].left, 12) << "the unindented line";
            // The printed space is a little wider than the screen's rounded one: measured on the page.
            const double space = (footer[1].left - footer[0].left) / 40.0;
            EXPECT_NEAR(Extent(p, L"Courier New", 10, L" "), space, 1);
            EXPECT_NEAR(footer[0].left + (k + 1) * space, footer[2].left, 3) << "[CUR_PAGE]";
            EXPECT_NEAR(footer[0].left + l.pages() * space, footer[3].left, 3) << "[NUM_PAGE]";
        }
    }
    EXPECT_EQ(0u, boxes.count());
    // The first page of 100 rows drawn at a quarter of its size into a memory bitmap.
    KTableWin* t = ReportTable(windows, 100);
    const Layout l = Expected(p, a, 100);
    const double s = 0.25;
    for (int separators : {1, 0}) {
        SCOPED_TRACE(separators);
        a.drawSeparators = separators;
        KMemDC mem((int)(p.Width() * s), (int)(p.Height() * s));
        mem.fillRect(DCRect(0, 0, mem.Width(), mem.Height()), RGB(255, 255, 255));
        t->printPage(p, a, 0, mem, s);
        EXPECT_EQ((Ints{l.h[0], 0, 0}), (Ints{a.sections[0].height, a.sections[1].height, a.sections[1].numLine}));
        const std::vector<DWORD> px = Pixels(mem);
        auto black = [&](double x, double y) { return px[(size_t)((int)(y * s) * mem.Width() + (int)(x * s))] == 0; };
        const int yH = l.headerTop(0), yB = yH + l.rowH, yMid = yB + 5 * l.rowH + l.rowH / 2;
        // The frame: its top and bottom edges end at the outer column edges, its sides hold.
        for (int y : {yH, yB})
            EXPECT_TRUE(black(l.edges[0], y) && black(l.edges[3] - 1 / s, y) && !black(l.edges[0] - 2 / s, y) && !black(l.edges[3] + 2 / s, y)) << y;
        EXPECT_TRUE(black(l.edges[0], yH + l.rowH / 2) && black(l.edges[3], yH + l.rowH / 2));
        for (int j : {0, 1, 3})
            EXPECT_EQ(separators == 1, black(l.edges[j], yMid)) << "separator " << j;
    }
    p.endDoc();
}
