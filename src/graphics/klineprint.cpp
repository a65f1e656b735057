// The line printer: text poured onto pages from a running position, with a
// new page wherever the next line would reach the bottom; and whole text
// files printed as one document.
#include <stdarg.h>
#include <stdio.h>
#include <memory>
#include "kprint.h"
#include "kdiag.h"
#include "kmacro.h"

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
typedef std::unique_ptr<FILE, FileCloser> TextFile;

// Longest piece of a line read at once, in bytes.
const int PieceBytes = 999;

} // namespace

void KLinePrintDC::setLeftMargin(float inches)
{
    leftMargin = (int)(getLOGPIXELSY() * inches);
    if (x < leftMargin)
        x = leftMargin;
}

void KLinePrintDC::printText(const KString& text)
{
    setBkMode(TRANSPARENT);
    const wchar_t* all = text;
    const int n = text.length();
    int start = 0;
    while (start < n) {
        int end = start;
        while (end < n && all[end] != L'\n')
            ++end;
        int w = 0, h = 0;
        getTextExtent(all + start, end - start, &w, &h);
        if (y + h >= Height()) {
            endPage();
            startPage();
            y = 0;
        }
        textOut(x, y, all + start, end - start);
        if (end == n) {
            x += w; // the next text goes on along this line
            break;
        }
        y += h;
        x = leftMargin;
        start = end + 1;
    }
}

void KLinePrintDC::print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    KString text;
    text._vsprint(format, args);
    va_end(args);
    printText(text);
}

void KLinePrintDC::printPrompt(const wchar_t* prompt, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    KString value;
    value._vsprint(format, args);
    va_end(args);
    print("%U: ", prompt);
    print("%S", &value);
}

void KLinePrintDC::printFile(const KString& path, const wchar_t* fontFace, int pointSize)
{
    x = leftMargin;
    y = 0;
    const KString expanded = ReplaceMacros(path);
    TextFile file(_wfopen(expanded, L"rt"));
    if (!file)
        return;
    if (!startDoc(expanded)) {
        ErrorBox(ERRCODE(1, 1011), "Could not open printer.\n%U", GetCommDlgError());
        return;
    }
    setFont(fontFace, pointSize, 0, FW_NORMAL);
    startPage();
    char piece[PieceBytes + 1];
    while (fgets(piece, sizeof(piece), file.get()))
        printText(KString(piece));
    if (!feof(file.get()))
        ErrorBox(ERRCODE(1, 1012), "Error while reading '%U'.", (const wchar_t*)expanded);
    endPage();
    endDoc();
}
