// Print options in option files, and the dialog that edits them.
#include "ktableprint.h"
#include "ktabwin.h"
#include "krowcol.h"
#include "kframe.h"
#include "kcombo.h"
#include "krangebtn.h"
#include "kcolorprompt.h"
#include "keditcontrol.h"
#include "kmenu.h"
#include "kdiag.h"

namespace {

// Lines of each section's text control; 0: the section has none.
const int TextLines[KTablePrintArg::NUM_SECTION] = {6, 8, 10, 0, 10, 6, 2};
const wchar_t* const MarginNames[4] = {L"Left Margin", L"Top Margin", L"Right Margin", L"Bottom Margin"};

// The align combo lists "Left", "Right", "Center": its items carry the align codes.
const int AlignCodes[3] = {1, 2, 0};
const wchar_t* const AlignNames[3] = {L"Left", L"Right", L"Center"};

double& MarginOf(KTablePrintArg& a, int i)
{
    double* m[4] = {&a.leftInch, &a.topInch, &a.rightInch, &a.botInch};
    return *m[i];
}
double MarginOf(const KTablePrintArg& a, int i) { return MarginOf(const_cast<KTablePrintArg&>(a), i); }

} // namespace

// --- Option files ------------------------------------------------------------

PrintOptions::PrintOptions()
{
    name = L"Print Options";
    version = 1;
    path = L"print_options\\default.opt";
}

void PrintOptions::IO(KFile& file, int) { arg.IO(file); }

bool LoadPrintOptions(const KString& path, KTablePrintArg* arg)
{
    PrintOptions file;
    if (!file.load(path, false))
        return false;
    *arg = file.arg;
    return true;
}

bool EditPrintOptions(KWindow* parent, KTablePrintArg* arg, KString* path)
{
    return ShowModal(new KQueryOptionDlg(parent, arg, path));
}

// --- The dialog --------------------------------------------------------------

KQueryOptionDlg::KQueryOptionDlg(KWindow* parent, KTablePrintArg* arg, KString* path)
    : KDialog(parent, L"Print Options", MESSAGE_WIN), result(arg), resultPath(path)
{
    opts.arg = *arg;
    if (path && path->notNull())
        opts.setPath(*path);
    saved = opts.arg;
    files[0].setInitialDir(L"print_options\\", false);
    files[1].setInitialDir(L"[TARNWELL_DIR]\\user\\print_options\\", false);
    for (KFileDlg& f : files) {
        f.setFilter(L"Print Options (*.opt)", L"*.opt");
        f.setDefaultExt(L"opt");
    }

    KArgList none;
    init(nullptr, &none);
    tabWin = MakeTabWin(getWorkArea(), &none);
    getWorkArea()->attachForm(tabWin, SIDE_LEFT, SIDE_TOP, SIDE_RIGHT, SIDE_BOTTOM);
    const wchar_t* names[3] = {L"Headers", L"Footers", L"Options"};
    KRowCol* pages[3];
    for (int i = 0; i < 3; i++) {
        KArgList page;
        page.add(WA_TAB_NAME, names[i]);
        page.add(WA_NUM_GRID_COL, 1);
        page.add(WA_MARGIN_HEIGHT, 4);
        pages[i] = MakeRowCol(tabWin, &page);
    }
    for (int s = 0; s < KTablePrintArg::NUM_SECTION; s++)
        buildSection(pages[s < KTablePrintArg::REPORT_BODY ? 0 : 1], s);
    buildOptions(pages[2]);
    show(opts.arg);
    showTitle();
    for (KRowCol* page : pages)
        page->configure(false);
    tabWin->configure(false);
    configureAll(false);
}

KQueryOptionDlg::~KQueryOptionDlg() = default;

void KQueryOptionDlg::buildSection(KWindow* page, int s)
{
    KArgList none;
    KFrame* frame = MakeFrame(page, &none, "%U", KTablePrintArg::sectionName(s));
    KRowPack* pack = MakeRowPack(frame, &none);
    KSectionEditor& e = editors[s];
    e.font = MakeFontPrompt(pack, &none, L"Font", 22, "Times New Roman");
    e.size = MakeRangeBtn<int>(pack, &none, L"Size", -1, 6, 10, 4, 30, 1, "%d pts");
    e.align = MakeComboBox(pack, &none, L"Align", 8);
    for (int i = 0; i < 3; i++)
        e.align->addString(AlignCodes[i], AlignNames[i], RGB(0, 0, 0), RGB(255, 255, 255));
    e.spacing = MakeRangeBtn<double>(pack, &none, L"Spacing", -1, 7, 0.1, 0.0, 2.0, 0.1, "%.2f in");
    e.color = MakeColorPrompt(pack, &none, L"Color", 4, RGB(0, 0, 0));
    if (TextLines[s] > 0) {
        pack->newLine();
        KArgList text;
        text.add(WA_NUM_CHAR, 80);
        text.add(WA_NUM_LINE, TextLines[s]);
        text.add(WA_VERT_SCROLL, true);
        text.add(WA_HORZ_SCROLL, true);
        text.add(WA_ADD_WINDOWS_STYLE, (long)(ES_MULTILINE | ES_WANTRETURN));
        e.text = MakeEditControl(pack, &text);
    }
    // Packs and frames take their size only when asked, innermost first.
    pack->configure(false);
    frame->configure(false);
}


void KQueryOptionDlg::buildOptions(KWindow* page)
{
    KArgList none;
    for (int i = 0; i < 4; i++)
        margins[i] = MakeRangeBtn<double>(page, &none, MarginNames[i], 14, 5, 0.0, 0.0, 5.0, 0.05, "%.2f\"");
    KArgList box;
    box.add(WA_CHECK_BOX, 1);
    separatorBox = MakeToggleButton(page, &box, L"Draw Separators");
}

KTablePrintArg KQueryOptionDlg::collect()
{
    KTablePrintArg a = opts.arg;
    for (int i = 0; i < 4; i++)
        MarginOf(a, i) = margins[i]->getValue();
    a.drawSeparators = separatorBox->getState() ? 1 : 0;
    for (int s = 0; s < KTablePrintArg::NUM_SECTION; s++) {
        const KSectionEditor& e = editors[s];
        KReportSection& r = a.sections[s];
        r.font = e.font->getText();
        r.ptSize = e.size->getValue();
        if (e.align->getCurItem() >= 0)
            r.align = e.align->getCurItem();
        r.spacing = e.spacing->getValue();
        r.color = e.color->getColor();
        if (e.text)
            r.text = e.text->getText();
    }
    return a;
}

void KQueryOptionDlg::show(const KTablePrintArg& a)
{
    for (int i = 0; i < 4; i++)
        margins[i]->setValue(MarginOf(a, i));
    separatorBox->setState(a.drawSeparators);
    for (int s = 0; s < KTablePrintArg::NUM_SECTION; s++) {
        const KSectionEditor& e = editors[s];
        const KReportSection& r = a.sections[s];
        e.font->setText(r.font);
        e.size->setValue(r.ptSize);
        e.align->setCurItem(r.align, false);
        e.spacing->setValue(r.spacing);
        e.color->setColor(r.color);
        if (e.text)
            e.text->setText(r.text, false);
    }
}

void KQueryOptionDlg::showTitle()
{
    KString title(L"Print Options");
    if (opts.getPath().notNull())
        title.set("Print Options - %S", &opts.getPath());
    SetWindowTextW(getWindow(), title);
}

void KQueryOptionDlg::makeMenu(HMENU& menu, HACCEL& accel)
{
    menu = MakeMenu(accel,
        MENU_POPUP, L"&File",
            MENU_ITEM, L"&Open ...", (int)ID_OPEN,
            MENU_ITEM, L"&Save", (int)ID_SAVE,
            MENU_ITEM, L"Save &As ...", (int)ID_SAVE_AS,
            MENU_SEPARATOR,
            MENU_ITEM, L"&Import ...", (int)ID_IMPORT,
            MENU_ITEM, L"&Export ...", (int)ID_EXPORT,
        MENU_POPUP_END,
        MENU_POPUP, L"&Edit",
            MENU_ITEM, L"Set &Defaults", (int)ID_DEFAULTS,
        MENU_POPUP_END,
        MENU_END);
}

void KQueryOptionDlg::menuHandler(unsigned int id, unsigned int code)
{
    switch (id) {
    case ID_OPEN: openFile(false); return;
    case ID_IMPORT: openFile(true); return;
    case ID_SAVE: saveFile(opts.getPath().isNull(), false); return;
    case ID_SAVE_AS: saveFile(true, false); return;
    case ID_EXPORT: saveFile(true, true); return;
    case ID_DEFAULTS: {
        KTablePrintArg a = collect();
        a.setDefaults();
        show(a);
        return;
    }
    default: KDialog::menuHandler(id, code);
    }
}

KString KQueryOptionDlg::choose(bool user, bool save)
{
    KFileDlg& f = files[user ? 1 : 0];
    return save ? f.getSaveAsFileName(this, L"Save Print Options")
                : f.getOpenFileName(this, L"Open Print Options");
}

bool KQueryOptionDlg::saveFirst()
{
    if (!changed())
        return true;
    const int answer = QuestionBox(this, MB_YESNOCANCEL, "Do you with do save changes first?");
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        saveFile(opts.getPath().isNull(), false);
    return true;
}

// Open makes the file the dialog's own; Import only takes its settings.
void KQueryOptionDlg::openFile(bool import)
{
    if (!import && !saveFirst())
        return;
    const KString path = choose(import, false);
    if (path.isNull())
        return;
    PrintOptions loaded;
    if (!loaded.load(path, true))
        return;
    opts.arg = loaded.arg;
    show(opts.arg);
    if (import)
        return;
    opts.setPath(loaded.getPath());
    saved = opts.arg;
    showTitle();
}

// Save As names the dialog's file anew; Export writes a copy elsewhere.
void KQueryOptionDlg::saveFile(bool as, bool exportCopy)
{
    KString path = opts.getPath();
    if (as && (path = choose(exportCopy, true)).isNull())
        return;
    opts.arg = collect();
    if (!opts.store(path, !exportCopy))
        return;
    if (exportCopy)
        return;
    saved = opts.arg;
    showTitle();
}

void KQueryOptionDlg::okHandler()
{
    opts.arg = collect();
    *result = opts.arg;
    if (resultPath)
        *resultPath = opts.getPath();
    KDialog::okHandler();
}

void KQueryOptionDlg::cancelHandler()
{
    if (!changed()) {
        mprintf("No changes to print options.");
        KDialog::cancelHandler();
        return;
    }
    const int answer = QuestionBox(this, MB_YESNOCANCEL, "Do you wish to save changes?");
    if (answer == IDCANCEL)
        return;
    if (answer == IDNO) {
        KDialog::cancelHandler();
        return;
    }
    saveFile(opts.getPath().isNull(), false);
    if (changed())
        return; // not stored: the dialog stays open
    *result = opts.arg;
    if (resultPath)
        *resultPath = opts.getPath();
    KDialog::cancelHandler();
}
