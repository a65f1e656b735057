// KPrintPreviewDlg: the page drawn by the application at screen scale,
// centred on grey in a dialog nearly as large as the screen.
#include "kprintpreview.h"
#include "kdiag.h"
#include "kform.h"

namespace {

// Ends the preview's document however the drawing ends, also when the
// application's drawPage throws.
class PreviewDoc {
public:
    explicit PreviewDoc(KPrintDC* p) : printer(p), started(p->startDoc(KString(L"Preview"))) {}
    ~PreviewDoc() { end(); }
    void end()
    {
        if (printer)
            printer->endDoc();
        printer = nullptr;
    }
    PreviewDoc(const PreviewDoc&) = delete;
    PreviewDoc& operator=(const PreviewDoc&) = delete;
    bool ok() const { return started; }
private:
    KPrintDC* printer;
    bool started;
};

} // namespace

KPrintPreviewDlg::KPrintPreviewDlg(KWindow* parent, const KString& title, KPrintDC* dc)
    : KDialog(parent, title, TITLE_BAR | MESSAGE_WIN), printDC(dc)
{
    KArgList args;
    args.add(WA_WIDTH, ScreenWidth() - 50);
    args.add(WA_HEIGHT, ScreenHeight() - 100);
    init(nullptr, &args);

    printButton = addPushButton(KString(L"PRINT"), SIDE_LEFT);
    printButton->_addEventHandler(new MouseEventHandler<KPrintPreviewDlg>(
        this, &KPrintPreviewDlg::printClicked, ME_RELEASE | ME_LEFT));

    KArgList preview;
    preview.add(WA_BACKGROUND, (unsigned long)RGB(0x80, 0x80, 0x80));
    previewWin = MakeWindow(workArea, &preview);
    workArea->attachForm(previewWin, SIDE_LEFT, SIDE_TOP, SIDE_RIGHT, SIDE_BOTTOM);
    previewWin->_addEventHandler(
        new ExposeEventHandler<KPrintPreviewDlg>(this, &KPrintPreviewDlg::exposePreview));
    configureAll(false);
}

KPrintPreviewDlg::~KPrintPreviewDlg() = default;

DCRect KPrintPreviewDlg::scaleRect(DCRect r) const
{
    return DCRect((long)(r.x * scale), (long)(r.y * scale), (long)(r.w * scale), (long)(r.h * scale));
}

void KPrintPreviewDlg::printClicked(KWindow*, MouseEvent*)
{
    printHandler();
    okHandler();
}

void KPrintPreviewDlg::exposePreview(KWindow*, ExposeEvent*)
{
    PreviewDoc doc(printDC);
    if (!doc.ok()) {
        ErrorBox(ERRCODE(1, 1015), "Could not open printer.\n%U", GetCommDlgError());
        return;
    }
    const double pageW = printDC->width(), pageH = printDC->height();
    const int W = previewWin->width(), H = previewWin->height();
    const double sw = W / pageW, sh = H / pageH;
    scale = (sw < sh ? sw : sh) * 0.98;
    const int w = (int)(pageW * scale), h = (int)(pageH * scale);
    if (w < 1 || h < 1)
        return;
    KMemDC page(w, h);
    page.setIsPreview(true);
    page.setBkColor(RGB(255, 255, 255));
    page.clear();
    drawPage(page);
    doc.end();
    KWinDC target(previewWin);
    page.copy(target, (W - w) / 2, (H - h) / 2, SRCCOPY);
}
