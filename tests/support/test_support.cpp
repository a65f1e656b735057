#include "test_support.h"
#include <stdio.h>
#include <algorithm>

std::string Narrow(const wchar_t* text)
{
    std::string s;
    for (; text && *text; ++text)
        s += *text < 128 ? (char)*text : '?';
    return s;
}

std::string Narrow(const std::wstring& text) { return Narrow(text.c_str()); }

std::string Narrow(const KString& text)
{
    // A KString may hold 0 units inside; keep them.
    std::string s;
    for (int i = 0; i < text.length(); ++i)
        s += text[i] < 128 ? (char)text[i] : '?';
    return s;
}

std::wstring Wide(const KString& text)
{
    return std::wstring((const wchar_t*)text, (size_t)text.length());
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = towlower(c);
    return s;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos)
            end = text.size();
        size_t cut = end > from && text[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(text.substr(from, cut - from));
        from = end + 1;
    }
    return lines;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    KString s;
    s._vsprint(format, args);
    va_end(args);
    return Narrow(s);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitFor(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - start >= ms)
            return done();
        // Wakes on the next message or after a short while, whichever first.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

DWORD RunChild(const std::wstring& program, const std::wstring& args, std::string* out)
{
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return (DWORD)-1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    const bool hasDir = program.find(L'\\') != std::wstring::npos;
    std::wstring line = L"\"" + (hasDir ? program : ProgramDir() + program) + L"\" " + args;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return (DWORD)-1;
    }
    CloseHandle(writeEnd);
    char chunk[4096];
    DWORD n;
    while (ReadFile(readEnd, chunk, sizeof(chunk), &n, nullptr) && n)
        if (out)
            out->append(chunk, n);
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(readEnd);
    return code;
}

std::wstring ProgramDir()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::wstring TempDir()
{
    wchar_t path[MAX_PATH + 1] = {0};
    GetTempPathW(MAX_PATH + 1, path);
    return path;
}

Bytes ReadBytes(const std::wstring& path)
{
    Bytes out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    unsigned char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        out.insert(out.end(), chunk, chunk + got);
    CloseHandle(h);
    return out;
}

std::string ReadFileText(const std::wstring& path)
{
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD put = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, nullptr);
    CloseHandle(h);
}

namespace {

void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

ScratchDir::ScratchDir()
{
    static int serial = 0;
    wchar_t name[64];
    swprintf(name, 64, L"korvel_test_%lu_%d\\", GetCurrentProcessId(), ++serial);
    dir = TempDir() + name;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
}

ScratchDir::~ScratchDir()
{
    RemoveTree(dir);
}

EnvVar::EnvVar(const wchar_t* n, const wchar_t* value) : name(n)
{
    wchar_t buf[4096];
    DWORD len = GetEnvironmentVariableW(n, buf, 4096);
    had = len > 0 && len < 4096;
    if (had)
        old = buf;
    SetEnvironmentVariableW(n, value);
}

EnvVar::~EnvVar()
{
    SetEnvironmentVariableW(name.c_str(), had ? old.c_str() : nullptr);
}

std::string ReadLog()
{
    return ReadFileText(Wide(KDebug::getLogFileName()));
}

void MarkLog(const std::string& marker)
{
    LogPrintf("== %s ==\n", marker.c_str());
}

std::string LogAfter(const std::string& marker)
{
    std::string log = ReadLog();
    std::string line = "== " + marker + " ==\r\n";
    size_t at = log.rfind(line);
    return at == std::string::npos ? std::string() : log.substr(at + line.size());
}

size_t CountInLog(const std::string& text)
{
    std::string log = ReadLog();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
        ++n;
    return n;
}

WindowOwner::~WindowOwner()
{
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        delete *it;
    if (App)
        App->setMainWindow(nullptr);
    PumpMessages();
}

void WindowOwner::release(KWindow* w)
{
    windows.erase(std::remove(windows.begin(), windows.end(), w), windows.end());
    delete w;
}

bool ReportWineGap(bool held, const char* check, const char* file, int line)
{
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine)
        return false;
    const char* name = strrchr(file, '/');
    printf("TODO_WINE %s:%d: %s: %s\n", name ? name + 1 : file, line,
           held ? "Wine now supports this" : "known gap under Wine", check);
    fflush(stdout);
    return true;
}
