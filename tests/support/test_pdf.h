// Printed pages read back: the CUPS PDF printer (scripts/cups.sh) writes each
// document into a PDF whose name begins with its title.
//
//     const std::wstring title = PdfTitle(L"Lines");   // unique; print a document so named
//     PdfImage page = RenderPdfPage(WaitForPdf(title), 1);   // 50 dpi
//     EXPECT_FALSE(page.ink({0, 0, page.width, 40}).empty());
//
// Wine starts Unix programs (pdfinfo, pdftoppm) but neither waits for them nor
// hands back their output or status: they run inside /bin/sh -c writing files.
#ifndef KORVEL_TESTS_TEST_PDF_H
#define KORVEL_TESTS_TEST_PDF_H

#include <windows.h>
#include <string>
#include <vector>

// The Unix path of a Windows path and back (Wine's); empty when there is none.
std::string UnixPath(const std::wstring& path);
std::wstring WindowsPath(const std::string& unixPath);

// Runs command (no double quotes in it) under /bin/sh -c for at most ms: its exit
// status, -1 when it did not start or finish; out gets its output and errors.
int RunHost(const std::string& command, std::string* out = nullptr, DWORD ms = 30000);
// A shell word holding text exactly.
std::string ShellQuote(const std::string& text);

// The folder the PDF printer writes into (KORVEL_PDF_DIR or cups.sh's).
std::wstring PdfDir();
// A job title no other document has: prefix, process id, time, serial number.
std::wstring PdfTitle(const std::wstring& prefix);
// The PDF of the job titled title once pdfinfo reads it whole; waits at most
// ms while pumping messages. Empty when none came.
std::wstring WaitForPdf(const std::wstring& title, DWORD ms = 30000);
// Pages of a PDF; -1 when pdfinfo cannot read it.
int PdfPageCount(const std::wstring& pdf);

// A pixel rectangle: left and top inside, right and bottom outside.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

// A rendered page: rows top down, pixels as 0x00RRGGBB.
struct PdfImage {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD at(int x, int y) const { return pixels[(size_t)y * width + x]; }
    // A pixel darker than light gray counts as ink.
    bool inked(int x, int y) const;
    // The smallest box round the ink inside area (clipped to the page), or empty.
    PixelBox ink(PixelBox area) const;
    // The runs of inked rows inside area, top down, boxed round their ink: lines of text.
    std::vector<PixelBox> inkRows(PixelBox area) const;
    PixelBox all() const { return PixelBox{0, 0, width, height}; }
};

// Page page (from 1) of a PDF rendered at dpi dots per inch, or an empty image.
PdfImage RenderPdfPage(const std::wstring& pdf, int page, int dpi = 50);

#endif
