// KPrintDC and KLinePrintDC: printing through the Windows print dialog.
// A printer context owns the printer choice and its settings across jobs;
// the device context itself exists only between startDoc and endDoc.
//
//     KPrintDC p;
//     if (!p.choose(mainWin, true)) return;          // the print dialog; false on Cancel
//     for (int copy = 0; copy < p.getNumCopy(); copy++) {
//         if (!p.startDoc(L"Curves")) break;         // the default printer if none chosen
//         p.startPage();
//         p.setFont(L"Arial", 12);
//         p.textOut(p.getLOGPIXELSX(), p.getLOGPIXELSY(), L"Hello");
//         p.endPage();
//         p.endDoc();
//     }
//
//     KLinePrintDC lp;                                // text poured onto pages
//     lp.startDoc(L"Log"); lp.startPage(); lp.setFont(L"Courier New", 10);
//     lp.print("%d volts\n", 5);                     // breaks pages by itself
//     lp.endPage(); lp.endDoc();
#ifndef KORVEL_KPRINT_H
#define KORVEL_KPRINT_H

#include <windows.h>
#include <commdlg.h>
#include "kexport.h"
#include "kgraphics.h"
#include "kstring.h"

class KWindow;

class KORVEL_API KPrintDC : public KDevContext {
public:
    KPrintDC();
    // Frees the printer settings; an open document must be ended first.
    ~KPrintDC() override;

    // --- Choosing the printer ---
    // The print dialog over owner, or the default printer without a dialog
    // when owner is null. pageRange offers pages 1 to 32000. The copy count
    // asked for ends in getNumCopy() and the driver's settings keep 1: the
    // caller repeats the document. False when cancelled or failed.
    bool choose(KWindow* owner, bool pageRange);

    // --- Documents and pages ---
    // Creates the printer context and starts a document; chooses the default
    // printer first when none was chosen.
    bool startDoc(const KString& name);
    bool startPage();
    void endPage();
    // Ends the document and deletes the printer context.
    void endDoc();
    void freeDC();
    bool isInDoc() const { return inDoc; }
    bool isInPage() const { return inPage; }

    // --- What the user asked for ---
    // 0 all pages, 1 the selection, 2 page numbers.
    int getPageFlag() const { return (int)(pd.Flags & 3); }
    bool isAllPage() const { return getPageFlag() == 0; }
    // The chosen page range from 0, or -1 when all pages were asked for.
    int getFirstPage() const;
    int getLastPage() const;
    int getNumCopy() const { return pd.nCopies ? pd.nCopies : 1; }
    bool getCollate() const { return (pd.Flags & PD_COLLATE) != 0; }
    void setFromToPage(int from, int to);
    void setMinMaxPage(int min, int max);

    // --- Orientation (1 portrait, 2 landscape) ---
    // 0 before a printer is chosen; -1 when the settings carry none.
    int getOrientation() const;
    bool isPortrait() const { return getOrientation() == DMORIENT_PORTRAIT; }
    bool isLandscape() const { return getOrientation() == DMORIENT_LANDSCAPE; }
    // Chooses the default printer when none was chosen yet.
    void setOrientation(short orientation);
    void setPortraitMode() { setOrientation(DMORIENT_PORTRAIT); }
    void setLandscapeMode() { setOrientation(DMORIENT_LANDSCAPE); }

    // The dialog record, for settings this class has no operation for.
    PRINTDLGW& printDlg() { return pd; }

protected:
    PRINTDLGW pd;
    bool inPage = false;
    bool inDoc = false;
};

// A printer context that pours text onto pages: each piece goes where the
// last one ended, a line feed starts a new line at the left margin, and a
// line that would reach the bottom of the page goes onto a new page.
class KORVEL_API KLinePrintDC : public KPrintDC {
public:
    KLinePrintDC() = default;
    ~KLinePrintDC() override = default;

    // After startDoc: the margin in inches of the printer's resolution.
    void setLeftMargin(float inches);
    void printText(const KString& text);
    void print(const char* format, ...);
    // "prompt: value".
    void printPrompt(const wchar_t* prompt, const char* format, ...);
    // Prints a text file as one document in the given font; errors are
    // shown in boxes, a file that cannot be opened is skipped.
    void printFile(const KString& path, const wchar_t* fontFace, int pointSize);

    int getX() const { return x; }
    int getY() const { return y; }
    void setPos(int nx, int ny) { x = nx, y = ny; }

protected:
    int x = 100;
    int y = 0;
    int leftMargin = 100;
};

#endif
