// Table reports: the layout of a printed table (margins, seven text sections,
// separator lines), its option files and the dialog that edits them.
//
//     KTablePrintArg arg;                          // the defaults
//     LoadPrintOptions(L"print_options\\lab.opt", &arg);   // false: arg untouched
//     arg.sections[KTablePrintArg::PAGE_FOOTER].text = L"Page [CUR_PAGE] of [NUM_PAGE]";
//     arg.sections[KTablePrintArg::REPORT_TITLE].text = L"Calibration\n[CUR DATE]";
//     KString path;
//     if (!EditPrintOptions(mainWin, &arg, &path)) return;  // the user cancelled
//     KPrintDC printer;
//     if (printer.choose(mainWin, true))
//         table->print(printer, arg);              // one document per copy
//
//     // A preview: the page laid out for the printer, drawn at screen scale.
//     void Preview::drawPage(KDevContext& dc)      // printer is in a document
//     {
//         table->printPage(printer, arg, page, dc, scale);   // preview pixels per printer pixel
//     }
//
// A report page holds, from the top margin down: the report title and report
// header (first page only), the page header, the column header, as many rows
// as fit, the report footer (last page only), the page footer and the version
// line. Section texts may use the print macros "[CUR_PAGE]", "[NUM_PAGE]" and
// "[NUM_ENTRY]" and the time macros of KMacro.
#ifndef KORVEL_KTABLEPRINT_H
#define KORVEL_KTABLEPRINT_H

#include "kexport.h"
#include "kstring.h"
#include "kmacro.h"
#include "koptionfile.h"
#include "kdialog.h"
#include "kfiledlg.h"
#include "array"

class KFile;
class KPrintDC;
class KDevContext;
class KTabWin;
class KFontPrompt;
class KComboBox;
class KColorPrompt;
class KEditControl;
class KToggleButton;
template <class T> class KRangeBtn;

// One text block of a report.
class KORVEL_API KReportSection {
public:
    KString text;                         // empty: not printed; '\n' makes lines
    KString font = L"Times New Roman";
    int ptSize = 10;
    COLORREF color = 0;
    int align = 1;                        // 0 centred, 1 left, 2 right
    double spacing = 0.1;                 // inches below the text
    int height = 0;                       // device pixels, from computeSectionHeights
    int numLine = 0;

    // The stored fields (not the computed height) are equal.
    bool sameAs(const KReportSection& o) const;
    // Version 1, text, font, ptSize, color, align, spacing.
    void IO(KFile& file);
};

class KORVEL_API KTablePrintArg {
public:
    enum Section {
        REPORT_TITLE = 0, REPORT_HEADER = 1, PAGE_HEADER = 2, REPORT_BODY = 3,
        PAGE_FOOTER = 4, REPORT_FOOTER = 5, REPORT_VERSION = 6, NUM_SECTION = 7
    };

    KString jobName = L"Tarnwell Output";  // the print job's document name
    double leftInch = 0.75, topInch = 0.5, rightInch = 0.5, botInch = 0.25;
    int drawSeparators = 1;
    KReportSection sections[NUM_SECTION];
    KMacro macros;                         // "[CUR_PAGE]" ... while printing
    int pageMode = 0;                      // 1: only the page of the current row

    KTablePrintArg();
    // Margins, separators and the sections' looks and spacings; the version
    // line's text. Other texts stay.
    void setDefaults();
    // The record of the option files: margins, separators, seven sections.
    void IO(KFile& file);
    // The stored fields are equal (the job name, heights and macros aside).
    bool sameAs(const KTablePrintArg& o) const;

    // Positions on a printer in its pixels; the vertical resolution serves
    // both directions, so a margin is as long across as down.
    int leftMargin(KPrintDC& p) const;
    int topMargin(KPrintDC& p) const;
    int rightMargin(KPrintDC& p) const;
    int botMargin(KPrintDC& p) const;
    int rightPos(KPrintDC& p) const;       // the last pixel left of the right margin
    int xCenter(KPrintDC& p) const;        // the middle between the margins

    // Each section's line count and height (with its spacing) on p.
    void computeSectionHeights(KPrintDC& p);
    // Prints section i with its top at y, macros expanded; returns its height.
    int printSection(KPrintDC& p, int i, int y);
    // The same drawn onto target at scale: positions and the font's height
    // are p's times scale (a preview of the page). Returns p's height.
    int printSection(KPrintDC& p, int i, int y, KDevContext& target, double scale);

    // Size and alignment of section i by default (12 and 1 outside 0 .. 6).
    static int defaultPtSize(int i);
    static int defaultAlign(int i);
    // The section names as the options dialog shows them.
    static const wchar_t* sectionName(int i);
};

// Where a table report goes on one printer, in the printer's pixels
// (KTableWin::reportLayout).
struct KORVEL_API KReportLayout {
    int left = 0, top = 0, bottom = 0;
    int charWidth = 0, charHeight = 0;    // "A" in the body font
    int pad = 0, rowHeight = 0;
    int firstExtra = 0, lastExtra = 0;    // title and header; report footer
    int fixed = 0, avail = 0;             // what every page spends; what is left
    bool fits = false;                    // false: not one row fits on a page
    KArray<int> firstRow;                 // of each page, then one past the last page
    KArray<int> edges;                    // the column edges, left to right

    int numPage() const { return firstRow.count() > 0 ? firstRow.count() - 1 : 0; }
    int numCol() const { return edges.count() - 1; }
};

// Print options kept in an option file ("Print Options", version 1).
class KORVEL_API PrintOptions : public OptionFile {
public:
    PrintOptions();
    KTablePrintArg arg;

protected:
    void IO(KFile& file, int version) override;
};

// Loads a print options file into *arg; a failure leaves *arg as it was.
KORVEL_API bool LoadPrintOptions(const KString& path, KTablePrintArg* arg);
// Edits *arg in the modal options dialog. OK, or saving on Cancel, copies the
// result into *arg and its file into *path; returns true for OK only.
KORVEL_API bool EditPrintOptions(KWindow* parent, KTablePrintArg* arg, KString* path);

// The editors of one section inside the options dialog.
struct KSectionEditor {
    KFontPrompt* font = nullptr;
    KRangeBtn<int>* size = nullptr;
    KComboBox* align = nullptr;
    KRangeBtn<double>* spacing = nullptr;
    KColorPrompt* color = nullptr;
    KEditControl* text = nullptr;          // none for the body
};

// The "Print Options" dialog: tabs "Headers", "Footers" and "Options", a
// File menu for option files and an Edit menu with "Set Defaults".
class KORVEL_API KQueryOptionDlg : public KDialog {
public:
    enum { ID_OPEN = 101, ID_SAVE, ID_SAVE_AS, ID_IMPORT, ID_EXPORT, ID_DEFAULTS };

    // OK copies the options into *arg and their file into *path (when given).
    KQueryOptionDlg(KWindow* parent, KTablePrintArg* arg, KString* path);
    ~KQueryOptionDlg() override;
    void makeMenu(HMENU& menu, HACCEL& accel) override;
    void menuHandler(unsigned int id, unsigned int code) override;
    void okHandler() override;
    // With changes asks whether to save them; Cancel in that box keeps the dialog open.
    void cancelHandler() override;

    // The options as the controls show them, and the controls from the options.
    KTablePrintArg collect();
    void show(const KTablePrintArg& a);
    // The edited options and their file.
    const PrintOptions& options() const { return opts; }
    KTabWin* tabs() const { return tabWin; }
    const KSectionEditor& editor(int section) const { return editors[section]; }
    KRangeBtn<double>* margin(int i) const { return margins[i]; }
    KToggleButton* separators() const { return separatorBox; }

private:
    void buildSection(KWindow* page, int section);
    void buildOptions(KWindow* page);
    bool changed() { return !collect().sameAs(saved); }
    // The file operations of the menu.
    void openFile(bool import);
    void saveFile(bool as, bool exportCopy);
    bool saveFirst();
    void showTitle();
    // A file chosen to read or to write, empty on Cancel.
    KString choose(bool user, bool save);

    KTablePrintArg* result;
    KString* resultPath;
    PrintOptions opts;
    KTablePrintArg saved;                  // as last loaded or stored
    KTabWin* tabWin = nullptr;
    KSectionEditor editors[KTablePrintArg::NUM_SECTION];
    KRangeBtn<double>* margins[4] = {};
    KToggleButton* separatorBox = nullptr;
    KFileDlg files[2];                     // the options folder; the user's one
};

#endif
