// The print preview on the PDF printer (scripts/cups.sh): marks placed in printer pixels shown at
// the preview's scale on a white page centred on grey, read back from the screen and kept as
// preview.png beside the test program; PRINT prints the same page and closes the dialog with OK.
#include <gtest/gtest.h>
#include "test_support.h"
#include "test_pdf.h"

namespace {

const COLORREF Red = RGB(220, 0, 0), Blue = RGB(0, 0, 200), Grey = RGB(128, 128, 128), White = RGB(255, 255, 255);
const DCRect TopMark(300, 300, 600, 400), LowMark(1500, 2800, 600, 400); // on an A4 page at 300 dpi

struct Seen {
    int pages = 0, printed = 0, ticks = 0, patience = 0; // pages: drawn with the preview flag set
    long pageW = 0, pageH = 0, dialogW = 0, dialogH = 0; // dialogW, dialogH: before it shows
    std::wstring title; // of the printed document
    KMemDC* shot = nullptr;
} seen;
class MarkedPage : public KPrintPreviewDlg {
public:
    explicit MarkedPage(KPrintDC* p) : KPrintPreviewDlg(nullptr, KString(L"Page preview"), p) {}
    void drawPage(KDevContext& dc) override
    {
        if (dc.getIsPreview() && ++seen.pages)
            seen.pageW = dc.Width(), seen.pageH = dc.Height();
        dc.setFont(L"Arial", 24), dc.textOut(scaleRect(DCRect(300, 1500, 1800, 300)), KString(L"Preview of one page"));
        dc.fillRect(scaleRect(TopMark), Red), dc.fillRect(scaleRect(LowMark), Blue);
    }
    // The same page on the printer, at its own scale.
    void printHandler() override
    {
        scale = 1.0, seen.title = PdfTitle(L"Preview");
        if (printDC->startDoc(KString(seen.title.c_str())) && printDC->startPage())
            drawPage(*printDC), printDC->endPage(), printDC->endDoc(), ++seen.printed;
    }
};
// Once the preview is painted: a screenshot, then a real click on PRINT. Cancels when patience
// ticks have passed, so that the dialog never hangs the test.
MarkedPage* running = nullptr;
void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!running || ++seen.ticks >= seen.patience) {
        KillTimer(nullptr, id);
        if (running)
            running->cancelHandler();
    } else if (seen.pages && !seen.shot) {
        KWindow* preview = running->getPreviewWin();
        KWinDC dc(preview);
        seen.shot = new KMemDC(preview->width(), preview->height());
        seen.shot->bitBlt(DCRect(0, 0, preview->width(), preview->height()), dc, KPOINT{0, 0}), SavePng(ProgramDir() + L"preview.png", *seen.shot);
        KWindow* print = running->getPrintButton();
        SendMouseAt(*print, print->width() / 2, print->height() / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
}
// The preview of the marked page driven by ticks of 0.1 s.
bool RunPreview(KPrintDC& printDC, int patience)
{
    seen = Seen(), seen.patience = patience;
    running = new MarkedPage(&printDC);
    seen.dialogW = running->Width(), seen.dialogH = running->Height();
    SetTimer(nullptr, 0, 100, Drive);
    const bool ok = ShowModal(running);
    running = nullptr;
    return ok;
}

} // namespace

TEST(PrintPreview, PageCentredOnGreyWithMarksAtScaleAndPrintedThenAPrinterGone)
{
    KPrintDC printDC;
    ASSERT_TRUE(printDC.startDoc(KString(L"size"))) << "a default printer (scripts/cups.sh start)";
    const double pw = printDC.width(), ph = printDC.height();
    printDC.endDoc();
    EXPECT_TRUE(RunPreview(printDC, 150)) << "closed with OK after PRINT";
    EXPECT_EQ((std::vector<long>{ScreenWidth() - 50, ScreenHeight() - 100}), (std::vector<long>{seen.dialogW, seen.dialogH}));
    ASSERT_TRUE(seen.shot) << "the preview was painted";
    std::unique_ptr<KMemDC> shot(seen.shot);
    EXPECT_EQ(1, seen.printed);
    // The page at min(W / page width, H / page height) x 0.98, centred in the preview window.
    const int W = shot->Width(), H = shot->Height();
    const double s = std::min(W / pw, H / ph) * 0.98;
    const int w = (int)(pw * s), h = (int)(ph * s), x0 = (W - w) / 2, y0 = (H - h) / 2;
    EXPECT_EQ((std::vector<long>{w, h}), (std::vector<long>{seen.pageW, seen.pageH}));
    const auto in = [&](const DCRect& m, double dx, double dy, int ox = 0, int oy = 0) {
        return KPOINT{x0 + (long)(m.x * s) + (long)(dx * (int)(m.w * s)) + ox, y0 + (long)(m.y * s) + (long)(dy * (int)(m.h * s)) + oy};
    };
    const struct { const char* what; KPOINT p; COLORREF colour; } probes[] = {
        {"left of the page", {x0 - 2, y0 + h / 2}, Grey}, {"right of the page", {x0 + w + 1, y0 + h / 2}, Grey},
        {"below the page", {x0 + w / 2, y0 + h + 1}, Grey}, {"page corner", {x0 + 1, y0 + 1}, White},
        {"top mark", in(TopMark, 0.5, 0.5), Red}, {"its first column", in(TopMark, 0, 0.5), Red},
        {"left of it", in(TopMark, 0, 0.5, -1), White}, {"low mark's last row", in(LowMark, 0.5, 1, 0, -1), Blue},
        {"below it", in(LowMark, 0.5, 1), White}};
    for (const auto& p : probes)
        EXPECT_EQ(p.colour, shot->getPixel(p.p)) << p.what << " at " << p.p.x << "," << p.p.y;
    // The printed page at 50 dpi holds the marks at the same places.
    const PdfImage page = RenderPdfPage(WaitForPdf(seen.title), 1, 50);
    const auto dots = [](long v) { return (int)((v + 3) / 6); };
    for (const DCRect& m : {TopMark, LowMark}) {
        const std::vector<int> edges = {dots(m.x), dots(m.y), dots(m.x + m.w), dots(m.y + m.h)};
        const PixelBox box = page.ink({edges[0] - 9, edges[1] - 9, edges[2] + 9, edges[3] + 9});
        EXPECT_EQ(edges, (std::vector<int>{box.left, box.top, box.right, box.bottom}));
    }
    // The chosen printer gone (the device in the printer names no longer exists): a box, no page.
    KPrintDC gone;
    ASSERT_TRUE(gone.startDoc(KString(L"size")));
    gone.endDoc();
    DEVNAMES* names = (DEVNAMES*)GlobalLock(gone.printDlg().hDevNames);
    wcscpy((wchar_t*)names + names->wDeviceOffset, L"Gone");
    GlobalUnlock(gone.printDlg().hDevNames);
    BoxWatcher boxes;
    EXPECT_FALSE(RunPreview(gone, 20));
    EXPECT_EQ(0, seen.pages);
    EXPECT_TRUE(boxes.box().title.find(L"(01-1015)") != std::wstring::npos && boxes.box().text.find(L"Could not open printer.\n") == 0)
        << boxes.count() << " " << Narrow(boxes.box().title) << ": " << Narrow(boxes.box().text);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}
