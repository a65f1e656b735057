// Message boxes answered from a watcher thread.
#include "test_support.h"

namespace {

std::wstring WindowText(HWND h)
{
    wchar_t buf[2048] = {0};
    GetWindowTextW(h, buf, 2048);
    return buf;
}

ShownBox Read(HWND box)
{
    ShownBox b;
    b.title = WindowText(box);
    // The static control with id 0xFFFF holds the message text.
    b.text = WindowText(GetDlgItem(box, 0xFFFF));
    b.owner = GetWindow(box, GW_OWNER);
    b.exStyle = (DWORD)GetWindowLongW(box, GWL_EXSTYLE);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {0};
        GetClassNameW(c, cls, 32);
        LONG style = GetWindowLongW(c, GWL_STYLE);
        if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
            b.icon = (HICON)SendMessageW(c, STM_GETICON, 0, 0);
        if (lstrcmpiW(cls, L"Button") == 0 && IsWindowVisible(c))
            b.buttons.push_back(GetDlgCtrlID(c));
    }
    return b;
}

} // namespace

HWND FindMessageBox(int item)
{
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && (!item || GetDlgItem(w, item)))
            return w;
    }
    return nullptr;
}

BoxWatcher::BoxWatcher(int button) : press(button)
{
    InitializeCriticalSection(&lock);
    thread = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher()
{
    stop = true;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    DeleteCriticalSection(&lock);
}

size_t BoxWatcher::count() const
{
    EnterCriticalSection(&lock);
    size_t n = boxes.size();
    LeaveCriticalSection(&lock);
    return n;
}

ShownBox BoxWatcher::box(size_t i) const
{
    EnterCriticalSection(&lock);
    ShownBox b = i < boxes.size() ? boxes[i] : ShownBox();
    LeaveCriticalSection(&lock);
    return b;
}

DWORD WINAPI BoxWatcher::watch(void* p)
{
    auto* self = static_cast<BoxWatcher*>(p);
    while (!self->stop) {
        HWND box = FindMessageBox();
        if (!box) {
            Sleep(10);
            continue;
        }
        Sleep(30); // the box finishes its layout
        ShownBox shown = Read(box);
        EnterCriticalSection(&self->lock);
        self->boxes.push_back(shown);
        LeaveCriticalSection(&self->lock);
        HWND button = GetDlgItem(box, self->press);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(self->press, BN_CLICKED), (LPARAM)button);
        // The next box is another window: wait until this one is gone.
        for (int i = 0; i < 500 && IsWindow(box) && IsWindowVisible(box); ++i)
            Sleep(10);
    }
    return 0;
}
