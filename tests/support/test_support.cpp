#include "test_support.h"
#include <korvel.h>

namespace {

BOOL CALLBACK FindBox(HWND hwnd, LPARAM data)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {0};
    GetClassNameW(hwnd, cls, 32);
    if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowText(HWND h)
{
    wchar_t buf[2048] = {0};
    GetWindowTextW(h, buf, 2048);
    return buf;
}

} // namespace

HWND FindMessageBox()
{
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

BoxWatcher::BoxWatcher(int button) : press(button)
{
    thread = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher()
{
    stop = true;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
}

bool BoxWatcher::waitAnswered(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!answered && GetTickCount() - start < ms) {
        PumpMessages();
        Sleep(10);
    }
    return answered;
}

void BoxWatcher::read(HWND box)
{
    title = WindowText(box);
    // The static control with id 0xFFFF holds the message text.
    text = WindowText(GetDlgItem(box, 0xFFFF));
    owner = GetWindow(box, GW_OWNER);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {0};
        GetClassNameW(c, cls, 32);
        LONG style = GetWindowLongW(c, GWL_STYLE);
        if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
            icon = (HICON)SendMessageW(c, STM_GETICON, 0, 0);
        if (lstrcmpiW(cls, L"Button") == 0 && IsWindowVisible(c))
            buttons.push_back(GetDlgCtrlID(c));
    }
}

DWORD WINAPI BoxWatcher::watch(void* p)
{
    auto* self = static_cast<BoxWatcher*>(p);
    while (!self->stop) {
        HWND box = FindMessageBox();
        if (!box) {
            Sleep(20);
            continue;
        }
        Sleep(50); // the box finishes its layout
        self->read(box);
        self->answered = true;
        HWND button = GetDlgItem(box, self->press);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->press, BN_CLICKED), (LPARAM)button);
        return 0;
    }
    return 0;
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
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
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
    wchar_t path[MAX_PATH] = {0};
    GetTempPathW(MAX_PATH, path);
    return path;
}

std::string ReadFileText(const std::wstring& path)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char chunk[4096];
    DWORD n;
    while (ReadFile(f, chunk, sizeof(chunk), &n, nullptr) && n)
        text.append(chunk, n);
    CloseHandle(f);
    return text;
}

std::string ReadLog()
{
    return ReadFileText((const wchar_t*)KDebug::getLogFileName());
}

std::string Narrow(const wchar_t* text)
{
    std::string s;
    for (; text && *text; ++text)
        s += *text < 128 ? (char)*text : '?';
    return s;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find("\r\n", from);
        if (end == std::string::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}
