// The PDFs of the CUPS PDF printer: waiting for them, counting their pages,
// rendering pages to pixels with poppler's tools run on the host.
#include "test_pdf.h"
#include "test_support.h"
#include <algorithm>
#include <set>

namespace {

typedef char* (CDECL* ToUnix)(const wchar_t*);
typedef wchar_t* (CDECL* ToWindows)(const char*);

FARPROC WineCall(const char* name)
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names of the files in dir matching pattern.
std::vector<std::wstring> Files(const std::wstring& dir, const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

// cups-pdf turns the characters of a title but letters, digits and dots into '_'.
std::wstring FileTitle(const std::wstring& title)
{
    std::wstring s = title;
    for (wchar_t& c : s)
        if (!iswalnum(c) && c != L'.')
            c = L'_';
    return s;
}

// The value of a "Name: value" line of pdfinfo's answer.
std::string Field(const std::string& info, const std::string& name)
{
    for (const std::string& line : Lines(info))
        if (line.compare(0, name.size() + 1, name + ":") == 0) {
            const size_t at = line.find_first_not_of(' ', name.size() + 1);
            return at == std::string::npos ? std::string() : line.substr(at);
        }
    return std::string();
}

// Reads a binary portable pixmap (P6, 8 bits a sample).
PdfImage ReadPixmap(const Bytes& b)
{
    PdfImage image;
    size_t at = 2;
    int fields[3] = {0, 0, 0};
    if (b.size() < 2 || b[0] != 'P' || b[1] != '6')
        return image;
    for (int& field : fields) {
        while (at < b.size() && (isspace(b[at]) || b[at] == '#'))
            at = b[at] == '#' ? std::find(b.begin() + at, b.end(), '\n') - b.begin() : at + 1;
        while (at < b.size() && isdigit(b[at]))
            field = field * 10 + (b[at++] - '0');
    }
    ++at; // the one white-space byte before the samples
    const size_t count = (size_t)fields[0] * fields[1];
    if (fields[2] != 255 || b.size() < at + 3 * count)
        return image;
    image.width = fields[0];
    image.height = fields[1];
    image.pixels.resize(count);
    for (size_t i = 0; i < count; ++i, at += 3)
        image.pixels[i] = (DWORD)b[at] << 16 | (DWORD)b[at + 1] << 8 | b[at + 2];
    return image;
}

PixelBox Clip(PixelBox a, int width, int height)
{
    a.left = std::max(a.left, 0);
    a.top = std::max(a.top, 0);
    a.right = std::min(a.right, width);
    a.bottom = std::min(a.bottom, height);
    return a;
}

} // namespace

std::string UnixPath(const std::wstring& path)
{
    ToUnix convert = (ToUnix)WineCall("wine_get_unix_file_name");
    char* unix = convert ? convert(path.c_str()) : nullptr;
    if (!unix)
        return std::string();
    std::string s = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return s;
}

std::wstring WindowsPath(const std::string& unixPath)
{
    ToWindows convert = (ToWindows)WineCall("wine_get_dos_file_name");
    wchar_t* dos = convert ? convert(unixPath.c_str()) : nullptr;
    if (!dos)
        return std::wstring();
    std::wstring s = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return s;
}

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
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const std::wstring statusFile = scratch.file(L"status");
    if (!WaitFor([&] { return Exists(statusFile); }, ms))
        return -1;
    if (out)
        *out = ReadFileText(scratch.file(L"out"));
    return atoi(ReadFileText(statusFile).c_str());
}

std::wstring PdfDir()
{
    wchar_t dir[MAX_PATH] = {0};
    if (GetEnvironmentVariableW(L"KORVEL_PDF_DIR", dir, MAX_PATH) - 1u < MAX_PATH - 1u)
        return std::wstring(dir) + L"\\";
    const std::wstring spool = WindowsPath("/var/spool/cups-pdf/korvel");
    return spool.empty() ? spool : spool + L"\\";
}

std::wstring PdfTitle(const std::wstring& prefix)
{
    static int serial = 0;
    // The letter at the end keeps one title from being the start of another.
    return prefix + Wide(Format("%lux%dz", GetCurrentProcessId(), ++serial));
}

std::wstring WaitForPdf(const std::wstring& title, DWORD ms)
{
    // cups-pdf may append to the title before "-job_<n>" ("<title>_ps-pdf_korvel-job_4.pdf").
    const std::wstring dir = PdfDir(), start = FileTitle(title);
    std::wstring found;
    const DWORD begun = GetTickCount();
    WaitFor([&] {
        std::vector<std::wstring> names = Files(dir, start + L"*.pdf");
        if (!names.empty())
            found = dir + names.back();
        return !found.empty();
    }, ms);
    if (found.empty())
        return found;
    // cups-pdf writes the file while the job runs: it is whole once pdfinfo reads it.
    const DWORD spent = GetTickCount() - begun;
    WaitFor([&] { return PdfPageCount(found) > 0; }, ms > spent ? ms - spent : 1);
    return PdfPageCount(found) > 0 ? found : std::wstring();
}

int PdfPageCount(const std::wstring& pdf)
{
    std::string info;
    if (RunHost("/usr/bin/pdfinfo " + ShellQuote(UnixPath(pdf)), &info) != 0)
        return -1;
    const std::string pages = Field(info, "Pages");
    return pages.empty() ? -1 : atoi(pages.c_str());
}

PdfImage RenderPdfPage(const std::wstring& pdf, int page, int dpi)
{
    ScratchDir scratch;
    const std::string root = UnixPath(scratch.path()) + "/page";
    const std::string command = Format("/usr/bin/pdftoppm -r %d -f %d -l %d -singlefile ", dpi, page, page) +
                                ShellQuote(UnixPath(pdf)) + " " + ShellQuote(root);
    if (RunHost(command) != 0)
        return PdfImage();
    return ReadPixmap(ReadBytes(scratch.file(L"page.ppm")));
}

bool PdfImage::inked(int x, int y) const
{
    const DWORD p = at(x, y);
    return ((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) < 3 * 192;
}

PixelBox PdfImage::ink(PixelBox area) const
{
    area = Clip(area, width, height);
    PixelBox box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (inked(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x + 1);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box.empty() ? PixelBox() : box;
}

std::vector<PixelBox> PdfImage::inkRows(PixelBox area) const
{
    area = Clip(area, width, height);
    std::vector<PixelBox> rows;
    int y = area.top;
    while (y < area.bottom) {
        PixelBox band = ink(PixelBox{area.left, y, area.right, y + 1});
        if (band.empty()) {
            ++y;
            continue;
        }
        int end = y + 1;
        while (end < area.bottom && !ink(PixelBox{area.left, end, area.right, end + 1}).empty())
            ++end;
        rows.push_back(ink(PixelBox{area.left, y, area.right, end}));
        y = end;
    }
    return rows;
}
