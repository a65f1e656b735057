// The print preview on the PDF printer (scripts/cups.sh): a page of marks placed in printer pixels
// shown centred on grey at the preview's scale, read back from the screen and kept as
// preview.png beside the test program; the PRINT button prints and closes the dialog with OK.
#include <gtest/gtest.h>
#include "test_support.h"
#include "test_pdf.h"

namespace {

const COLORREF Red = RGB(220, 0, 0), Blue = RGB(0, 0, 200);
// Marks in printer pixels: near the top-left corner and low on the right of an A4 page.
const DCRect TopMark(300, 300, 600, 400), LowMark(1500, 2800, 600, 400);

struct Seen {
    int pages = 0, printed = 0, ticks = 0; // pages: drawn for the preview, with its flag set
    std::wstring title; // of the printed document
    long pageW = 0, pageH = 0;
    std::vector<DWORD> shot; // the preview window's client area
    int shotW = 0, shotH = 0;
} seen;

class MarkedPage : public KPrintPreviewDlg {
public:
    explicit MarkedPage(KPrintDC* p) : KPrintPreviewDlg(nullptr, KString(L"Page preview"), p) {}
    void drawPage(KDevContext& dc) override
    {
        if (dc.getIsPreview()) {
            ++seen.pages;
            seen.pageW = dc.Width();
            seen.pageH = dc.Height();
        }
        dc.setFont(L"Arial", 24);
        dc.textOut(scaleRect(DCRect(300, 1500, 1800, 300)), KString(L"Preview of one page"));
        dc.fillRect(scaleRect(TopMark), Red);
        dc.fillRect(scaleRect(LowMark), Blue);
    }
    // The same page on the printer, at its own scale.
    void printHandler() override
    {
        ++seen.printed;
        scale = 1.0;
        seen.title = PdfTitle(L"Preview");
        if (!printDC->startDoc(KString(seen.title.c_str())) || !printDC->startPage())
            return;
        drawPage(*printDC);
        printDC->endPage();
        printDC->endDoc();
    }
};

MarkedPage* running = nullptr;

// A screenshot of the preview once it is painted, then a real click on PRINT; Cancel after 15 s
// so that the dialog never hangs the test.
void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
{
    const int t = ++seen.ticks;
    if (!running || !IsWindowVisible(*running) || (seen.pages == 0 && t < 150))
        return;
    if (t >= 150) {
        KillTimer(nullptr, id);
        running->cancelHandler();
        return;
    }
    if (seen.shot.empty()) {
        KWindow* preview = running->getPreviewWin();
        seen.shotW = preview->width();
        seen.shotH = preview->height();
        KWinDC dc(preview);
        KMemDC shot(seen.shotW, seen.shotH);
        shot.bitBlt(DCRect(0, 0, seen.shotW, seen.shotH), dc, KPOINT{0, 0});
        seen.shot = Pixels(shot);
        SavePng(ProgramDir() + L"preview.png", shot);
        SetForegroundWindow(*running);
        KWindow* print = running->getPrintButton();
        SendMouseAt(*print, print->width() / 2, print->height() / 2, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }
}

DWORD Rgb(COLORREF c) { return RGB(GetBValue(c), GetGValue(c), GetRValue(c)); } // as 0x00RRGGBB

} // namespace

TEST(PrintPreview, PageCentredOnGreyWithMarksAtScaleAndPrint)
{
    wchar_t name[256];
    DWORD size = 256;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size)) << "a default printer (scripts/cups.sh start)";
    long printerW, printerH;
    {
        KDevContext printer(name, L"WINSPOOL", nullptr);
        printerW = printer.getHORZRES();
        printerH = printer.getVERTRES();
    }
    KPrintDC printDC;
    seen = Seen();
    running = new MarkedPage(&printDC);
    EXPECT_EQ((std::vector<int>{ScreenWidth() - 50, ScreenHeight() - 100}),
              (std::vector<int>{running->Width(), running->Height()}));
    SetTimer(nullptr, 0, 100, Drive);
    const bool ok = ShowModal(running);
    running = nullptr;
    EXPECT_TRUE(ok) << "closed with OK after PRINT";
    EXPECT_EQ(1, seen.printed);
    EXPECT_FALSE(printDC.isInDoc()) << "the preview's document ended";
    ASSERT_FALSE(seen.shot.empty()) << "the preview was painted";

    // The page at min(W / page width, H / page height) x 0.98, centred in the preview window.
    const int W = seen.shotW, H = seen.shotH;
    const double scale = std::min((double)W / printerW, (double)H / printerH) * 0.98;
    const int w = (int)(printerW * scale), h = (int)(printerH * scale), x0 = (W - w) / 2, y0 = (H - h) / 2;
    EXPECT_EQ((std::vector<long>{w, h}), (std::vector<long>{seen.pageW, seen.pageH}));
    auto at = [&](double x, double y) { return seen.shot[(size_t)((int)y * W + (int)x)] & 0xFFFFFF; };
    const auto mid = [&](const DCRect& m, double dx, double dy) {
        return std::make_pair(x0 + (int)(m.x * scale) + dx * (int)(m.w * scale),
                              y0 + (int)(m.y * scale) + dy * (int)(m.h * scale));
    };
    struct Probe { const char* what; std::pair<double, double> p; COLORREF colour; };
    const Probe probes[] = {
        {"grey left of the page", {x0 - 2, y0 + h / 2}, RGB(128, 128, 128)},
        {"grey right of the page", {x0 + w + 1, y0 + h / 2}, RGB(128, 128, 128)},
        {"grey below the page", {x0 + w / 2, y0 + h + 1}, RGB(128, 128, 128)},
        {"white page corner", {x0 + 1, y0 + 1}, RGB(255, 255, 255)},
        {"white page middle", {x0 + w / 2, y0 + h / 2}, RGB(255, 255, 255)},
        {"top mark", mid(TopMark, 0.5, 0.5), Red},
        {"top mark's first column", mid(TopMark, 0, 0.5), Red},
        {"left of the top mark", {mid(TopMark, 0, 0.5).first - 1, mid(TopMark, 0, 0.5).second}, RGB(255, 255, 255)},
        {"low mark", mid(LowMark, 0.5, 0.5), Blue},
        {"low mark's last row", {mid(LowMark, 0.5, 1).first, mid(LowMark, 0.5, 1).second - 1}, Blue},
        {"below the low mark", mid(LowMark, 0.5, 1), RGB(255, 255, 255)},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(Rgb(p.colour), at(p.p.first, p.p.second)) << p.what << " at " << p.p.first << "," << p.p.second;
    // The printed page at 50 dpi holds the marks at the same places, scaled.
    const std::wstring pdf = WaitForPdf(seen.title);
    ASSERT_FALSE(pdf.empty()) << "the page printed";
    const PdfImage page = RenderPdfPage(pdf, 1, 50);
    const double dots = 50.0 / 300;
    for (const DCRect& m : {TopMark, LowMark}) {
        const PixelBox box = page.ink({(int)(m.x * dots) - 10, (int)(m.y * dots) - 10,
                                       (int)((m.x + m.w) * dots) + 10, (int)((m.y + m.h) * dots) + 10});
        EXPECT_NEAR(m.x * dots, box.left, 1.5);
        EXPECT_NEAR(m.y * dots, box.top, 1.5);
        EXPECT_NEAR(m.w * dots, box.width(), 1.5);
        EXPECT_NEAR(m.h * dots, box.height(), 1.5);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarnwell\\Windows");
}
