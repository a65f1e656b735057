// Table reports: the record and option files of the print arguments, reports printed to the
// CUPS PDF printer and read back by page count and ink positions, a page drawn scaled into a
// memory bitmap, and the options dialog driven by real input.
#include "table_tests.h"
#include "test_pdf.h"
#include <functional>

namespace {

typedef KTablePrintArg A;
// Wine gives process ids again in the next run: the time tells a run's PDFs from older ones.
const std::wstring RunStamp = Wide(Format("%u", (unsigned)time(nullptr)));
typedef std::vector<int> Ints;
const int Dpi = 300; // the PDF printer's; pages are rendered at it

// A dialog with a message line holding a table of three columns and rows rows; the message
// line's texts are recorded whenever the table asks for a cell.
struct Stage : KDialog {
    Stage() : KDialog(nullptr, L"Report stage", MESSAGE_WIN) { KArgList none; init(nullptr, &none); }
};
std::vector<std::string> messages;
void Record(KTableWin* t, TableWinCellEvent*, int, int)
{
    const std::string m = Narrow(t->getTopLevel()->getMessageWin()->getPane(0)->getText());
    if (messages.empty() || messages.back() != m)
        messages.push_back(m);
}
KTableWin* ReportTable(WindowOwner& windows, int rows)
{
    Stage* s = windows.own(new Stage());
    KArgList none;
    KTableWin* t = MakeTableWin(s->getWorkArea(), &none);
    for (const char* title : {"Row", "Value", "Note"})
        t->addCol(title, COL_FIELD_WIDTH, 8);
    t->configure(true);
    AddEventHandler(t, CellRecorder::handle);
    AddEventHandler(t, Record);
    t->setNumRow(rows);
    return t;
}

// Arguments whose page footer shows the page number and the page count as the indent of a "#"
// ("[P<n>]" is n spaces and a "#"), below an unindented "#" and one indented by 40.
A FooterArg()
{
    A a;
    a.sections[A::REPORT_TITLE].text = L"Quarterly Report";
    a.sections[A::PAGE_HEADER].text = L"Samples";
    a.sections[A::REPORT_FOOTER].text = L"End of samples";
    a.sections[A::PAGE_FOOTER] = KReportSection();
    a.sections[A::PAGE_FOOTER].font = L"Courier New";
    a.sections[A::PAGE_FOOTER].text = L"#\n[P40]\n[P[CUR_PAGE]]\n[P[NUM_PAGE]]";
    a.sections[A::REPORT_FOOTER].align = 2; // right of the table, where no row reaches
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
    p.setFont(face, pt);
    int cx = 0, cy = 0;
    p.stringExtent(text, &cx, &cy);
    return height ? cy : cx;
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
    std::vector<int> takes;
    if (n * l.rowH + fixed + first + last <= H)
        takes.push_back(n);
    else
        for (int left = n; left > 0; left -= takes.back())
            takes.push_back(takes.empty() ? (l.avail - first) / l.rowH
                            : left * l.rowH + fixed + last <= H ? left : l.avail / l.rowH);
    l.first = {0};
    for (size_t k = 0; k < takes.size(); ++k)
        l.first.push_back(l.first[k] + (l.avail - (k ? 0 : first) - (k + 1 < takes.size() ? 0 : last)) / l.rowH);
    return l;
}

// Checks one printed page (page k of the layout) rendered at the printer's resolution.
void CheckPage(KPrintDC& p, const Layout& l, const PdfImage& page, int k)
{
    SCOPED_TRACE(Format("page %d of %d", k + 1, l.pages()));
    const int yH = l.headerTop(k);
    const PixelBox frame = page.ink({0, yH - 1, page.width, yH + 2});
    EXPECT_TRUE(std::abs(l.edges[0] - frame.left) <= 2 && std::abs(l.edges[3] - frame.right) <= 2) << frame.left;
    // The top band: the centred title on the first page, the page header at the left after.
    const PixelBox top = page.ink({0, l.T, page.width, l.T + l.h[k ? 2 : 0] - 30});
    if (k == 0)
        EXPECT_NEAR((page.width + l.L - Dpi / 2) / 2, (top.left + top.right) / 2, 8);
    else
        EXPECT_NEAR(l.L, top.left, 8);
    const int yF = l.footerTop(k), rightPos = page.width - Dpi / 2 - 1;
    const PixelBox report = page.ink({l.edges[3] + 10, yF - l.h[5], page.width, yF - 1});
    EXPECT_EQ(k == l.pages() - 1, !report.empty() && std::abs(report.right - rightPos) < 8) << "report footer";
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

std::vector<unsigned> Units(const KString& s) { return std::vector<unsigned>((wchar_t*)s, (wchar_t*)s + s.length()); }

} // namespace

TEST(Report, DefaultsOfTheSections)
{
    A a;
    EXPECT_EQ("Tarnwell Output", Narrow(a.jobName));
    EXPECT_EQ((std::vector<double>{0.75, 0.5, 0.5, 0.25}), (std::vector<double>{a.leftInch, a.topInch, a.rightInch, a.botInch}));
    const Ints sizes{20, 12, 10, 10, 10, 12, 7, 12}, aligns{0, 1, 1, 1, 2, 1, 2, 1};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ((Ints{sizes[i], aligns[i]}), (Ints{A::defaultPtSize(i), A::defaultAlign(i)})) << i;
        if (i < 7)
            EXPECT_EQ((Ints{sizes[i], aligns[i]}), (Ints{a.sections[i].ptSize, a.sections[i].align})) << i;
    }
    EXPECT_EQ("Courier New Tarnwell Quorvane 6.3", Narrow(a.sections[3].font) + " " + Narrow(a.sections[6].text));
    a.sections[A::REPORT_TITLE].text = L"kept", a.sections[A::REPORT_TITLE].ptSize = 30;
    a.setDefaults();
    EXPECT_EQ((Ints{20, 1}), (Ints{a.sections[0].ptSize, a.sections[0].text == L"kept"}));
}

TEST(Report, RecordByteForByteAndOptionFiles)
{
    ScratchDir dir;
    A a;
    a.leftInch = 1.25, a.drawSeparators = 0, a.sections[A::PAGE_FOOTER].text = L"p", a.sections[3].color = 0x123456;
    Bytes expected;
    Put32(expected, 1);
    auto putDouble = [&](double d) { unsigned char b[8]; memcpy(b, &d, 8); expected.insert(expected.end(), b, b + 8); };
    for (double d : {1.25, 0.5, 0.5, 0.25})
        putDouble(d);
    Put32(expected, 0), Put32(expected, 7);
    for (const KReportSection& s : a.sections) {
        Put32(expected, 1);
        PutString(expected, Units(s.text)), PutString(expected, Units(s.font));
        Put32(expected, s.ptSize), Put32(expected, s.color), Put32(expected, s.align), putDouble(s.spacing);
    }
    KFile f(dir.file(L"arg.bin").c_str());
    auto io = [&](A& x, const wchar_t* mode) { f.open(mode); Caught c = Catch([&] { x.IO(f); }); f.close(); return !c; };
    EXPECT_TRUE(io(a, L"wb"));
    EXPECT_EQ(expected, ReadBytes(dir.file(L"arg.bin")));
    A back, untouched;
    EXPECT_TRUE(io(back, L"rb") && back.sameAs(a));
    Set32(expected, 40, 8); // eight sections: refused, nothing changed
    WriteBytes(dir.file(L"arg.bin"), expected);
    EXPECT_FALSE(io(untouched, L"rb"));
    EXPECT_TRUE(untouched.sameAs(A()));

    PrintOptions stored;
    stored.arg = a; // stored whole, then cut short
    ASSERT_TRUE(stored.store(dir.file(L"good.opt").c_str(), false));
    Bytes cut = ReadBytes(dir.file(L"good.opt"));
    cut.resize(cut.size() - 20);
    WriteBytes(dir.file(L"cut.opt"), cut);
    BoxWatcher boxes;
    const struct { const wchar_t* file; bool loads; size_t boxes; } cases[] = {
        {L"missing.opt", false, 0}, {L"cut.opt", false, 1}, {L"good.opt", true, 1}};
    A three;
    three.topInch = 3; // what a failed load leaves
    for (const auto& c : cases) {
        A target = three;
        EXPECT_EQ(c.loads, LoadPrintOptions(dir.file(c.file).c_str(), &target)) << Narrow(c.file);
        EXPECT_TRUE(target.sameAs(c.loads ? a : three)) << Narrow(c.file);
        EXPECT_EQ(c.boxes, boxes.count()) << Narrow(c.file);
    }
}

TEST(Report, PrintedPagesWhereTheLayoutPutsThem)
{
    BoxWatcher boxes(IDCANCEL);
    WindowOwner windows;
    CellRecorder cells;
    KPrintDC p; // measures while the reports print
    const A a = FooterArg();
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
        {"one page", 10, 0, 0, 0, -1, {}, {0}},
    };
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
        arg.pageMode = c.mode;
        arg.jobName = PdfTitle(L"Report" + RunStamp).c_str();
        messages.clear();
        t->print(printer, arg);
        messages.push_back(Narrow(t->getTopLevel()->getMessageWin()->getPane(0)->getText()));
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
            const int at = (int)(std::find(printed.begin(), printed.end(), k) - printed.begin());
            CheckPage(p, l, RenderPdfPage(pdf, at + 1, Dpi), k);
        }
    }
    p.endDoc();
    EXPECT_EQ(0u, boxes.count());
}

TEST(Report, ScaledPageInAMemoryBitmap)
{
    WindowOwner windows;
    CellRecorder cells;
    KPrintDC p;
    A a = FooterArg();
    ASSERT_TRUE(p.startDoc(PdfTitle(L"Preview").c_str()));
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
        for (int y : {yH, yB}) {
            EXPECT_TRUE(black(l.edges[0], y) && black(l.edges[3] - 1 / s, y)) << y;
            EXPECT_FALSE(black(l.edges[0] - 2 / s, y) || black(l.edges[3] + 2 / s, y)) << y;
        }
        EXPECT_TRUE(black(l.edges[0], yH + l.rowH / 2) && black(l.edges[3], yH + l.rowH / 2));
        for (int j : {0, 1, 3})
            EXPECT_EQ(separators == 1, black(l.edges[j], yMid)) << "separator " << j;
    }
    p.endDoc();
}

namespace {

// Real clicks and keys into the running options dialog, one step per tick of a thread timer.
KQueryOptionDlg* dialog = nullptr;
std::vector<std::function<void()>> steps;
void ClickAt(KWindow* w, int x, int y) { SendMouseAt(*w, x, y, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); }
void ClickIn(KWindow* w, const DCRect& r) { ClickAt(w, r.x + r.w / 2, r.y + r.h / 2); }
void ClickTab(int i) { ClickIn(dialog->tabs(), dialog->tabs()->getTab(i)->rect); }
size_t next = 0;
void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) { dialog && next < steps.size() ? steps[next++]() : void(); }
bool RunOptions(KTablePrintArg* arg, KString* path, bool ok)
{
    dialog = new KQueryOptionDlg(nullptr, arg, path);
    steps = {[] { Activate(*dialog), ClickTab(2); },
             [] { ClickIn(dialog->margin(0), dialog->margin(0)->getBoxRect()); },
             [] { SendKeys({VK_END, VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK, VK_BACK}); },
             [] { SendKeys({'1'}), SendKeys({VK_OEM_PERIOD}), SendKeys({'5'}); },
             [] { ClickTab(0); },
             [] { ClickAt(dialog->editor(0).text, 10, 10); },
             [] { SendKeys({'H'}), SendKeys({'I'}); },
             [ok] { KWindow* b = ok ? dialog->getOkButton() : dialog->getCancelButton(); ClickIn(b, {0, 0, b->width(), b->height()}); },
             [] {}, [] {}, [] {}, [] {}, [] {}, [] { PostMessageW(*dialog, WM_CLOSE, 0, 0); }};
    next = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, Step);
    const bool result = ShowModal(dialog);
    KillTimer(nullptr, timer);
    dialog = nullptr;
    return result;
}

} // namespace

TEST(Report, OptionsDialogByRealInput)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows"); // opens centred, on the screen
    ScratchDir dir;
    const struct { bool ok; int answer; bool saved; } cases[] = {{true, IDOK, false}, {false, IDNO, false}, {false, IDYES, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("ok %d answer %d", c.ok, c.answer));
        A arg;
        KString path = dir.file(L"options.opt").c_str();
        BoxWatcher boxes(c.answer);
        EXPECT_EQ(c.ok, RunOptions(&arg, &path, c.ok));
        EXPECT_EQ(c.ok ? 0u : 1u, boxes.count());
        if (!c.ok)
            EXPECT_EQ("Do you wish to save changes?", Narrow(boxes.box().text));
        const bool changed = c.ok || c.saved;
        EXPECT_EQ(changed ? 1.5 : 0.75, arg.leftInch);
        EXPECT_EQ(changed ? "hi" : "", Lower(Narrow(arg.sections[0].text)));
        A stored;
        EXPECT_EQ(c.saved, LoadPrintOptions(path, &stored) && stored.sameAs(arg));
        DeleteFileW(path);
    }
}
