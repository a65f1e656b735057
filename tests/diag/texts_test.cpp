// Texts for errors and traces: Windows error messages, common-dialog error
// names and descriptions of real window messages.
#include <gtest/gtest.h>
#include <korvel.h>
#include <commdlg.h>
#include <cderr.h>
#include <stdio.h>
#include <map>
#include "diag_support.h"

namespace {

std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

unsigned Number(HWND h)
{
    return (unsigned)(ULONG_PTR)h;
}

// Records the description of every message its windows receive.
std::map<UINT, std::string> seen;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    seen[msg] = WinMsgString(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeRecordingWindow(HWND parent, int x, int y, int width, int height)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DiagRecording";
    RegisterClassW(&wc);
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExW(0, L"DiagRecording", L"rec", style, x, y, width, height, parent,
                           nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(WindowsErrors, SystemMessagesForErrorNumbers)
{
    KString notFound = GetWin32Error(ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(notFound.notNull());
    EXPECT_FALSE(iswspace(notFound.lastChar())) << "no line break at the end";
    EXPECT_EQ(-1, notFound.findChar(L'\n'));
    EXPECT_TRUE(GetWin32Error(0x2BAD1234).isNull());

    // A real failure leaves its number as the last error.
    HANDLE f = CreateFileW(L"Z:\\no\\such\\dir\\file.txt", GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(INVALID_HANDLE_VALUE, f);
    DWORD code = GetLastError();
    KString last = GetWin32Error();
    EXPECT_EQ(Narrow(GetWin32Error(code)), Narrow(last));

    MarkLog("win32");
    SetLastError(ERROR_FILE_NOT_FOUND);
    PrintWin32Error("open failed:");
    SetLastError(0x2BAD1234);
    PrintWin32Error("nothing:");
    EXPECT_EQ("open failed: " + Narrow(notFound) + "\r\n", LogAfter("win32"));
}

TEST(CommonDialogErrors, NamesOfEveryFamilyAndHexForOthers)
{
    // The ends of each family's range, and codes just past them.
    EXPECT_STREQ(L"CDERR_GENERALCODES.", GetCommDlgError(0));
    EXPECT_STREQ(L"CDERR_REGISTERMSGFAIL.", GetCommDlgError(12));
    EXPECT_STREQ(L"D", GetCommDlgError(13));
    EXPECT_STREQ(L"PDERR_NODEFAULTPRN.", GetCommDlgError(4104));
    EXPECT_STREQ(L"100D", GetCommDlgError(4109));
    EXPECT_STREQ(L"CFERR_MAXLESSTHANMIN.", GetCommDlgError(8194));
    EXPECT_STREQ(L"FNERR_BUFFERTOOSMALL.", GetCommDlgError(12291));
    EXPECT_STREQ(L"FRERR_BUFFERLENGTHZERO.", GetCommDlgError(16385));
    EXPECT_STREQ(L"CCERR_CHOOSECOLORCODES.", GetCommDlgError(20480));
    EXPECT_STREQ(L"CDERR_DIALOGFAILURE.", GetCommDlgError(0xFFFF));
    EXPECT_STREQ(L"3039", GetCommDlgError(12345));

    // The last error of a real dialog call that was given a bad record.
    // (Should a dialog open after all, the watcher cancels it.)
    BoxWatcher safety(IDCANCEL);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = 3;
    ASSERT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_FALSE(safety.answered);
    EXPECT_STREQ(L"CDERR_STRUCTSIZE.", GetCommDlgError());
}

TEST(WindowMessageTexts, DescribesTheMessagesOfARealWindow)
{
    seen.clear();
    HWND top = MakeRecordingWindow(nullptr, 10, 20, 300, 200);
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(Format("HWND=%08X WM_CREATE x=10 y=20 width=300 height=200", Number(top)),
              seen[WM_CREATE]);

    MoveWindow(top, 30, 40, 320, 240, TRUE);
    POINT origin = {0, 0};
    ClientToScreen(top, &origin);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(Format("HWND=%08X WM_MOVE x=%3d y=%3d", Number(top), (int)origin.x, (int)origin.y),
              seen[WM_MOVE]);
    EXPECT_EQ(Format("HWND=%08X WM_SIZE width=%3d height=%3d", Number(top), (int)client.right,
                     (int)client.bottom),
              seen[WM_SIZE]);

    HWND child = MakeRecordingWindow(top, 0, 0, 50, 50);
    EXPECT_EQ(Format("HWND=%08X WM_PARENTNOTIFY event WM_CREATE child %x", Number(top),
                     Number(child)),
              seen[WM_PARENTNOTIFY]);
    SendMessageW(top, WM_PARENTNOTIFY, WM_RBUTTONDOWN, MAKELPARAM(12, 34));
    EXPECT_EQ(Format("HWND=%08X WM_PARENTNOTIFY event WM_RBUTTONDOWN (12,34)", Number(top)),
              seen[WM_PARENTNOTIFY]);
    SendMessageW(top, WM_PARENTNOTIFY, WM_KEYDOWN, 0);
    EXPECT_EQ(Format("HWND=%08X WM_PARENTNOTIFY event WM_???", Number(top)),
              seen[WM_PARENTNOTIFY]);

    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
    EXPECT_EQ(Format("HWND=%08X WM_LBUTTONDOWN flags=5 x=-5 y=7", Number(child)),
              seen[WM_LBUTTONDOWN]);
    SendMessageW(child, WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(3, 4));
    EXPECT_EQ(Format("HWND=%08X WM_MBUTTONDBLCLK flags=10 x=3 y=4", Number(child)),
              seen[WM_MBUTTONDBLCLK]);
    SendMessageW(top, WM_COMMAND, MAKEWPARAM(5, 1), 0);
    EXPECT_EQ(Format("HWND=%08X WM_COMMAND wParm=10005", Number(top)), seen[WM_COMMAND]);
    SendMessageW(top, WM_USER + 5, 0, 0);
    EXPECT_EQ(Format("hwnd=%08X unknown msg=405", Number(top)), seen[WM_USER + 5]);

    DestroyWindow(top);
    EXPECT_EQ(Format("HWND=%08X WM_DESTROY", Number(child)), seen[WM_DESTROY]);
}
