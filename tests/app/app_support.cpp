#include "app_support.h"
#include <vector>

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

MessageBoxCloser::MessageBoxCloser()
{
    thread = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

MessageBoxCloser::~MessageBoxCloser()
{
    stop = true;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
}

namespace {
struct FindBox {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM data)
{
    auto* f = reinterpret_cast<FindBox*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {0};
    GetClassNameW(hwnd, cls, 32);
    if (pid == f->process && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        f->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowText(HWND h)
{
    wchar_t buf[1024] = {0};
    GetWindowTextW(h, buf, 1024);
    return buf;
}
} // namespace

DWORD WINAPI MessageBoxCloser::watch(void* p)
{
    auto* self = static_cast<MessageBoxCloser*>(p);
    while (!self->stop) {
        FindBox f = {GetCurrentProcessId(), nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&f));
        if (f.box) {
            self->title = WindowText(f.box);
            // The static control with id 0xFFFF holds the message text.
            self->text = WindowText(GetDlgItem(f.box, 0xFFFF));
            self->owner = GetWindow(f.box, GW_OWNER);
            self->style = GetWindowLongW(f.box, GWL_EXSTYLE);
            PostMessageW(f.box, WM_COMMAND, IDOK, 0);
            PostMessageW(f.box, WM_COMMAND, IDCANCEL, 0);
            self->closed = true;
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

bool MessageBoxCloser::waitClosed(DWORD ms)
{
    DWORD start = GetTickCount();
    while (!closed && GetTickCount() - start < ms) {
        PumpMessages();
        Sleep(10);
    }
    return closed;
}

DWORD RunChild(const std::wstring& commandLine, std::string* out)
{
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return (DWORD)-1;
    }
    CloseHandle(writeEnd);
    char buf[4096];
    DWORD n;
    while (ReadFile(readEnd, buf, sizeof(buf), &n, nullptr) && n)
        if (out)
            out->append(buf, n);
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

std::string ReadLog()
{
    KString name = KDebug::getLogFileName();
    HANDLE f = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof(buf), &n, nullptr) && n)
        text.append(buf, n);
    CloseHandle(f);
    return text;
}
