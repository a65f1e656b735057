// Printed pages read back: the CUPS PDF printer (scripts/cups.sh) turns each
// printed document into a PDF whose name begins with its title; these helpers wait
// for it, count its pages and render a page into pixels the tests inspect.
//
//     const std::wstring title = PdfTitle(L"Lines");   // unique in this run
//     ... print a document named title ...
//     const std::wstring pdf = WaitForPdf(title);       // empty on time out
//     EXPECT_EQ(2, PdfPageCount(pdf));
//     PdfImage page = RenderPdfPage(pdf, 1);            // 50 dpi
//     EXPECT_FALSE(page.ink({0, 0, page.width, 40}).empty());
//
// Wine starts Unix programs (pdfinfo, pdftoppm) through CreateProcess but
// neither waits for them nor hands back their output or exit status, so they
// run inside /bin/sh -c with both written to files that the test waits for.
#ifndef KORVEL_TESTS_TEST_PDF_H
#define KORVEL_TESTS_TEST_PDF_H

#include <windows.h>
#include <string>
#include <vector>

// The Unix path of a Windows path and back (Wine's own conversions); empty
// when there is none, as on Windows.
std::string UnixPath(const std::wstring& path);
std::wstring WindowsPath(const std::string& unixPath);

// Runs command under /bin/sh -c (no double quotes in it); waits at most ms.
// Returns the exit status, -1 when it could not start or did not finish; out
// receives its standard output and error.
int RunHost(const std::string& command, std::string* out = nullptr, DWORD ms = 30000);
// A shell word holding text exactly.
std::string ShellQuote(const std::string& text);

// The folder the PDF printer writes into (KORVEL_PDF_DIR or cups.sh's).
std::wstring PdfDir();
// A job title of letters and digits that no other document has: prefix, the
// process id and a serial number.
std::wstring PdfTitle(const std::wstring& prefix);
// The PDF of the job titled title, once it is complete (pdfinfo reads it);
// waits at most ms while pumping messages. Empty when none came.
std::wstring WaitForPdf(const std::wstring& title, DWORD ms = 30000);
// Pages of a PDF; -1 when pdfinfo cannot read it.
int PdfPageCount(const std::wstring& pdf);

// A pixel rectangle: left and top inside, right and bottom outside.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// A rendered page: rows top down, pixels as 0x00RRGGBB.
struct PdfImage {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD at(int x, int y) const { return pixels[(size_t)y * width + x]; }
    // A pixel darker than light gray counts as ink.
    bool inked(int x, int y) const;
    // The smallest box round the ink inside area (clipped to the page);
    // empty when area holds none.
    PixelBox ink(PixelBox area) const;
    // The runs of rows holding ink inside area, top down, as boxes as wide
    // as the ink of each run: the lines of text a page shows.
    std::vector<PixelBox> inkRows(PixelBox area) const;
    PixelBox all() const { return PixelBox{0, 0, width, height}; }
};

// Page page (from 1) of a PDF rendered at dpi dots per inch; an empty image
// when it cannot be rendered.
PdfImage RenderPdfPage(const std::wstring& pdf, int page, int dpi = 50);

#endif
