// The layout of a table report: its sections, margins and their record.
#include "ktableprint.h"
#include "kprint.h"
#include "kfile.h"
#include "kdiag.h"

namespace {

struct SectionLook {
    const wchar_t* name;
    int ptSize, align;
    const wchar_t* font;
    double spacing;
};

const SectionLook Looks[KTablePrintArg::NUM_SECTION] = {
    {L"Report Title", 20, 0, L"Times New Roman", 0.1},
    {L"Report Header", 12, 1, L"Times New Roman", 0.1},
    {L"Page Header", 10, 1, L"Times New Roman", 0.1},
    {L"Report Body", 10, 1, L"Courier New", 0.2},
    {L"Page Footer", 10, 2, L"Times New Roman", 0.1},
    {L"Report Footer", 12, 1, L"Times New Roman", 0.1},
    {L"Report Version", 7, 2, L"Times New Roman", 0.0},
};

bool ValidSection(int i) { return i >= 0 && i < KTablePrintArg::NUM_SECTION; }

// Inches to pixels of p's vertical resolution, truncated.
int Pixels(KPrintDC& p, double inches) { return (int)(p.getLOGPIXELSY() * inches); }

} // namespace

// --- KReportSection ----------------------------------------------------------

bool KReportSection::sameAs(const KReportSection& o) const
{
    return text == o.text && font == o.font && ptSize == o.ptSize && color == o.color &&
           align == o.align && spacing == o.spacing;
}

void KReportSection::IO(KFile& file)
{
    int version = 1;
    file.IO(&version);
    file.IO(&text);
    file.IO(&font);
    file.IO(&ptSize);
    file.IO(&color);
    file.IO(&align);
    file.IO(&spacing);
}

// --- KTablePrintArg ----------------------------------------------------------

KTablePrintArg::KTablePrintArg() { setDefaults(); }

void KTablePrintArg::setDefaults()
{
    leftInch = 0.75, topInch = 0.5, rightInch = 0.5, botInch = 0.25;
    drawSeparators = 1;
    for (int i = 0; i < NUM_SECTION; i++) {
        KReportSection& s = sections[i];
        s.font = Looks[i].font;
        s.ptSize = Looks[i].ptSize;
        s.align = Looks[i].align;
        s.spacing = Looks[i].spacing;
        s.color = 0;
    }
    sections[REPORT_VERSION].text.set("Tarnwell Quorvane %U", L"6.3");
}

void KTablePrintArg::IO(KFile& file)
{
    // Read into a copy, so that a record cut short changes nothing here.
    KTablePrintArg copy(*this);
    KTablePrintArg& a = file.IOMode() == 1 ? copy : *this;
    int version = 1;
    file.IO(&version);
    file.IO(&a.leftInch);
    file.IO(&a.topInch);
    file.IO(&a.rightInch);
    file.IO(&a.botInch);
    file.IO(&a.drawSeparators);
    int count = NUM_SECTION;
    file.IO(&count);
    // The record has room for seven sections; a different count is no such record.
    if (count != NUM_SECTION)
        throw KorvelException(1, "Print options hold %d sections instead of %d.", count, (int)NUM_SECTION);
    for (KReportSection& s : a.sections)
        s.IO(file);
    if (&a == &copy)
        *this = copy;
}

bool KTablePrintArg::sameAs(const KTablePrintArg& o) const
{
    if (leftInch != o.leftInch || topInch != o.topInch || rightInch != o.rightInch ||
        botInch != o.botInch || drawSeparators != o.drawSeparators)
        return false;
    for (int i = 0; i < NUM_SECTION; i++)
        if (!sections[i].sameAs(o.sections[i]))
            return false;
    return true;
}

int KTablePrintArg::leftMargin(KPrintDC& p) const { return Pixels(p, leftInch); }
int KTablePrintArg::topMargin(KPrintDC& p) const { return Pixels(p, topInch); }
int KTablePrintArg::rightMargin(KPrintDC& p) const { return Pixels(p, rightInch); }
int KTablePrintArg::botMargin(KPrintDC& p) const { return Pixels(p, botInch); }
int KTablePrintArg::rightPos(KPrintDC& p) const { return p.Width() - Pixels(p, rightInch) - 1; }

int KTablePrintArg::xCenter(KPrintDC& p) const
{
    return (p.Width() + Pixels(p, leftInch) - Pixels(p, rightInch)) / 2;
}

void KTablePrintArg::computeSectionHeights(KPrintDC& p)
{
    for (KReportSection& s : sections) {
        s.height = s.numLine = 0;
        if (s.text.isNull())
            continue;
        s.numLine = s.text.countChar(L'\n') + 1;
        p.setFont(s.font, s.ptSize, 0, FW_NORMAL);
        int cx = 0, cy = 0;
        p.stringExtent(L"A", &cx, &cy);
        s.height = s.numLine * cy;
        if (s.height > 0)
            s.height += Pixels(p, s.spacing);
    }
}

int KTablePrintArg::printSection(KPrintDC& p, int i, int y) { return printSection(p, i, y, p, 1.0); }

int KTablePrintArg::printSection(KPrintDC& p, int i, int y, KDevContext& target, double scale)
{
    if (!ValidSection(i))
        return 0;
    const KReportSection& s = sections[i];
    if (s.text.isNull())
        return s.height;
    const KString text = macros.execute(s.text, 10);
    // The printer's pixel height, so that a scaled page breaks its lines alike.
    target.setFontSize(s.font, (int)(p.pointsToHeight(s.ptSize) * scale), 0, FW_NORMAL);
    target.setAlign(s.align, 4);
    target.setTextColor(s.color);
    target.setBkMode(TRANSPARENT);
    int x = leftMargin(p);
    if (s.align == 0) {
        target.setJustify(2);
        x = xCenter(p);
    } else if (s.align == 2) {
        target.setJustify(1);
        x = rightPos(p);
    } else {
        target.setJustify(0);
    }
    target.textOut((int)(x * scale), (int)(y * scale), text);
    return s.height;
}

int KTablePrintArg::defaultPtSize(int i) { return ValidSection(i) ? Looks[i].ptSize : 12; }
int KTablePrintArg::defaultAlign(int i) { return ValidSection(i) ? Looks[i].align : 1; }
const wchar_t* KTablePrintArg::sectionName(int i) { return ValidSection(i) ? Looks[i].name : L""; }
