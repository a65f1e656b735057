// KPrintPreviewDlg: a dialog that shows one page as the printer would print
// it, scaled to the screen. The application derives from it and draws the
// page in drawPage, in printer pixels passed through scaleRect.
//
//     class ReportPreview : public KPrintPreviewDlg {
//     public:
//         ReportPreview(KWindow* owner, KPrintDC* p) : KPrintPreviewDlg(owner, L"Preview", p) {}
//         void drawPage(KDevContext& dc) override
//         {
//             dc.setFont(L"Arial", 12);                       // shrunk for the preview
//             const DCRect box = scaleRect(DCRect(300, 300, 1200, 600)); // printer pixels
//             dc.drawRect(box);
//         }
//         void printHandler() override { ...print the document on printDC... }
//     };
//     ShowModal(new ReportPreview(mainWin, &printer));   // PRINT prints, then closes with OK
//
// Every repaint starts a document "Preview" on the printer to learn the page
// size, draws the page into a memory bitmap and ends the document unprinted.
#ifndef KORVEL_KPRINTPREVIEW_H
#define KORVEL_KPRINTPREVIEW_H

#include "kdialog.h"
#include "kprint.h"

class KORVEL_API KPrintPreviewDlg : public KDialog {
public:
    // A dialog nearly as large as the screen, with a PRINT button in its
    // tool strip; the printer context stays the caller's.
    KPrintPreviewDlg(KWindow* parent, const KString& title, KPrintDC* dc);
    ~KPrintPreviewDlg() override;

    void okHandler() override { KDialog::okHandler(); }
    void cancelHandler() override { KDialog::cancelHandler(); }
    // Draws the page into dc, a white bitmap of the page at the preview's scale.
    virtual void drawPage(KDevContext& dc) = 0;
    // The PRINT button: nothing unless overridden; the dialog closes with OK after it.
    virtual void printHandler() {}

    // A rectangle in printer pixels turned into preview pixels.
    DCRect scaleRect(DCRect r) const;
    double getScale() const { return scale; }
    KPushButton* getPrintButton() const { return printButton; }
    KWindow* getPreviewWin() const { return previewWin; }

protected:
    KPrintDC* printDC;
    double scale = 1.0; // preview pixels per printer pixel
    KPushButton* printButton = nullptr;
    KWindow* previewWin = nullptr;

private:
    void printClicked(KWindow*, MouseEvent*);
    void exposePreview(KWindow*, ExposeEvent*);
};

#endif
