// The PDFs of the CUPS PDF printer: waiting for them, counting their pages,
// rendering pages to pixels with poppler's tools run on the host.
#include "test_pdf.h"
#include "test_support.h"
#include <algorithm>

namespace {

// Wine's own conversion named name (kernel32) applied to from; empty when there is none.
template <class To, class From>
To WineConvert(const char* name, const From& from)
{
    typedef typename To::value_type* (CDECL* Convert)(const typename From::value_type*);
    Convert convert = (Convert)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    typename To::value_type* converted = convert ? convert(from.c_str()) : nullptr;
    if (!converted)
        return To();
    const To s = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return s;
}

// The last of the files in dir matching pattern, with dir; empty when none does.
std::wstring LastFile(const std::wstring& dir, const std::wstring& pattern)
{
    std::wstring last;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + pattern).c_str(), &found);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &found))
        last = dir + found.cFileName;
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    return last;
}

// Reads a binary portable pixmap (P6, 8 bits a sample) as pdftoppm writes it.
PdfImage ReadPixmap(const Bytes& b)
{
    const std::string head(b.begin(), b.begin() + std::min<size_t>(b.size(), 64));
    int w = 0, h = 0, max = 0, at = 0;
    if (sscanf(head.c_str(), "P6 %d %d %d%n", &w, &h, &max, &at) != 3 || max != 255 || w <= 0 || h <= 0 ||
        b.size() < at + 1 + 3 * (size_t)w * h)
        return PdfImage();
    PdfImage image{w, h, std::vector<DWORD>((size_t)w * h)};
    const unsigned char* p = b.data() + at + 1; // after the one white-space byte ending the header
    for (DWORD& pixel : image.pixels)
        pixel = (DWORD)p[0] << 16 | (DWORD)p[1] << 8 | p[2], p += 3;
    return image;
}

} // namespace

std::string UnixPath(const std::wstring& path) { return WineConvert<std::string>("wine_get_unix_file_name", path); }
std::wstring WindowsPath(const std::string& path) { return WineConvert<std::wstring>("wine_get_dos_file_name", path); }

std::string ShellQuote(const std::string& text)
{
    std::string q = "'";
    for (char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int RunHost(const std::string& command, std::string* out, DWORD ms)
{
    ScratchDir scratch;
    const std::wstring shell = WindowsPath("/bin/sh");
    const std::string dir = UnixPath(scratch.path());
    if (shell.empty() || dir.empty() || command.find('"') != std::string::npos)
        return -1;
    const std::string output = ShellQuote(dir + "/out"), status = ShellQuote(dir + "/status");
    // The status file appears whole, after the output is complete.
    const std::string script = "(" + command + ") >" + output + " 2>&1; echo $? >" + status + ".part; mv " +
                               status + ".part " + status;
    std::wstring line = L"\"" + shell + L"\" -c \"" + Wide(script) + L"\"";
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const std::wstring statusFile = scratch.file(L"status");
    if (!WaitFor([&] { return GetFileAttributesW(statusFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, ms))
        return -1;
    if (out)
        *out = ReadFileText(scratch.file(L"out"));
    return atoi(ReadFileText(statusFile).c_str());
}

std::wstring PdfDir()
{
    wchar_t dir[MAX_PATH] = {0};
    const DWORD n = GetEnvironmentVariableW(L"KORVEL_PDF_DIR", dir, MAX_PATH);
    const std::wstring d = n && n < MAX_PATH ? std::wstring(dir) : WindowsPath("/var/spool/cups-pdf/korvel");
    return d.empty() ? d : d + L"\\";
}

std::wstring PdfTitle(const std::wstring& prefix)
{
    static int serial = 0;
    // Wine hands out the same process ids run after run, and the spool folder
    // keeps the PDFs of earlier runs: the time in milliseconds tells them apart
    // (within 11 days, in 32 bits: the library's Format knows no "%llu").
    // The letter at the end keeps one title from being the start of another.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ms = (((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime) / 10000;
    return prefix + Wide(Format("%lux%lux%dz", GetCurrentProcessId(), (unsigned long)(ms % 1000000000ULL), ++serial));
}

std::wstring WaitForPdf(const std::wstring& title, DWORD ms)
{
    // cups-pdf may append to the title before "-job_<n>" ("<title>_ps-pdf_korvel-job_4.pdf"),
    // and turns the characters of a title but letters, digits and dots into '_'.
    std::wstring start = title, found;
    std::replace_if(start.begin(), start.end(), [](wchar_t c) { return !iswalnum(c) && c != L'.'; }, L'_');
    const DWORD begun = GetTickCount();
    if (!WaitFor([&] { return !(found = LastFile(PdfDir(), start + L"*.pdf")).empty(); }, ms))
        return std::wstring();
    // cups-pdf writes the file while the job runs: it is whole once pdfinfo reads it.
    const DWORD spent = GetTickCount() - begun;
    return WaitFor([&] { return PdfPageCount(found) > 0; }, ms > spent ? ms - spent : 1) ? found : std::wstring();
}

int PdfPageCount(const std::wstring& pdf)
{
    std::string info;
    if (RunHost("/usr/bin/pdfinfo " + ShellQuote(UnixPath(pdf)), &info) != 0)
        return -1;
    for (const std::string& line : Lines(info))
        if (line.compare(0, 6, "Pages:") == 0)
            return atoi(line.c_str() + 6);
    return -1;
}

PdfImage RenderPdfPage(const std::wstring& pdf, int page, int dpi)
{
    ScratchDir scratch;
    const std::string root = UnixPath(scratch.path()) + "/page";
    const std::string command = Format("/usr/bin/pdftoppm -r %d -f %d -l %d -singlefile ", dpi, page, page) +
                                ShellQuote(UnixPath(pdf)) + " " + ShellQuote(root);
    return RunHost(command) == 0 ? ReadPixmap(ReadBytes(scratch.file(L"page.ppm"))) : PdfImage();
}

bool PdfImage::inked(int x, int y) const
{
    return (at(x, y) >> 16 & 255) + (at(x, y) >> 8 & 255) + (at(x, y) & 255) < 3 * 192;
}

PixelBox PdfImage::ink(PixelBox area) const
{
    area = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width), std::min(area.bottom, height)};
    PixelBox box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (inked(x, y))
                box = PixelBox{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                               std::max(box.bottom, y + 1)};
    return box.empty() ? PixelBox() : box;
}

std::vector<PixelBox> PdfImage::inkRows(PixelBox area) const
{
    std::vector<PixelBox> rows; // rows beyond the page hold no ink
    auto inkedRow = [&](int y) { return !ink(PixelBox{area.left, y, area.right, y + 1}).empty(); };
    for (int y = area.top; y < area.bottom; ++y) {
        if (!inkedRow(y))
            continue;
        int end = y + 1;
        while (end < area.bottom && inkedRow(end))
            ++end;
        rows.push_back(ink(PixelBox{area.left, y, area.right, end}));
        y = end;
    }
    return rows;
}
