// Texts for errors and traces: Windows error messages, common-dialog error names and descriptions of
// the messages of a real window.
#include <gtest/gtest.h>
#include <map>
#include "test_support.h"
#include <commdlg.h>

// The description of the last message of each kind the windows received.
static std::map<UINT, std::string> seen;

static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    seen[msg] = WinMsgString(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// "HWND=%08X " with the window, then the rest.
static std::string About(HWND h, const std::string& rest)
{
    return Format("HWND=%08X ", (unsigned)(ULONG_PTR)h) + rest;
}

TEST(Texts, ErrorsAndWindowMessages)
{
    const KString notFound = GetWin32Error(ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(notFound.notNull());
    EXPECT_TRUE(!iswspace(notFound.lastChar()) && notFound.findChar(L'\n') == -1) << "no line break";
    EXPECT_TRUE(GetWin32Error(0x2BAD1234).isNull());
    // A real failure leaves its number as the last error.
    CreateFileW(L"Z:\\no\\such\\dir\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(Narrow(GetWin32Error(GetLastError())), Narrow(GetWin32Error()));
    MarkLog("win32");
    SetLastError(ERROR_FILE_NOT_FOUND);
    PrintWin32Error("open failed:");
    SetLastError(0x2BAD1234);
    PrintWin32Error("nothing:");
    EXPECT_EQ("open failed: " + Narrow(notFound) + "\r\n", LogAfter("win32"));

    // The ends of each common-dialog family's range, and codes just outside.
    const std::pair<unsigned long, const char*> names[] = {
        {0, "CDERR_GENERALCODES."}, {2, "CDERR_INITIALIZATION."}, {12, "CDERR_REGISTERMSGFAIL."}, {13, "D"},
        {4095, "FFF"}, {4096, "PDERR_PRINTERCODES."}, {4104, "PDERR_NODEFAULTPRN."},
        {4108, "PDERR_DEFAULTDIFFERENT."}, {4109, "100D"}, {8191, "1FFF"}, {8192, "CFERR_CHOOSEFONTCODES."},
        {8194, "CFERR_MAXLESSTHANMIN."}, {8195, "2003"}, {12288, "FNERR_FILENAMECODES."},
        {12291, "FNERR_BUFFERTOOSMALL."}, {12292, "3004"}, {16384, "FRERR_FINDREPLACECODES."},
        {16385, "FRERR_BUFFERLENGTHZERO."}, {16386, "4002"}, {20480, "CCERR_CHOOSECOLORCODES."},
        {20481, "5001"}, {0xFFFE, "FFFE"}, {0xFFFF, "CDERR_DIALOGFAILURE."}, {12345, "3039"},
    };
    for (const auto& n : names)
        EXPECT_EQ(n.second, Narrow(GetCommDlgError(n.first))) << n.first;
    // The last error of a real dialog call given a bad record (should a dialog open, the watcher
    // cancels it).
    BoxWatcher safety(IDCANCEL);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = 3;
    ASSERT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_TRUE(safety.count() == 0 && Narrow(GetCommDlgError()) == "CDERR_STRUCTSIZE.");

    // Descriptions of the messages of a real window.
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = L"DiagRecording";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, 0, 0, 0, 0);
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(About(top, "WM_CREATE x=10 y=20 width=300 height=200"), seen[WM_CREATE]);
    MoveWindow(top, 30, 40, 320, 240, TRUE);
    POINT origin = {0, 0};
    ClientToScreen(top, &origin);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(About(top, Format("WM_MOVE x=%3d y=%3d", (int)origin.x, (int)origin.y)), seen[WM_MOVE]);
    EXPECT_EQ(About(top, Format("WM_SIZE width=%3d height=%3d", client.right, client.bottom)), seen[WM_SIZE]);

    HWND child = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 0, 0, 0);
    const std::string created = Format("WM_PARENTNOTIFY event WM_CREATE child %x", (int)(ULONG_PTR)child);
    EXPECT_EQ(About(top, created), seen[WM_PARENTNOTIFY]);
    const struct { HWND to; UINT msg; WPARAM wParam; LPARAM lParam; const char* text; } sent[] = {
        {top, WM_PARENTNOTIFY, WM_LBUTTONDOWN, At(1, 2), "WM_PARENTNOTIFY event WM_LBUTTONDOWN (1,2)"},
        {top, WM_PARENTNOTIFY, WM_RBUTTONDOWN, At(12, 34), "WM_PARENTNOTIFY event WM_RBUTTONDOWN (12,34)"},
        {top, WM_PARENTNOTIFY, WM_MBUTTONDOWN, At(5, 6), "WM_PARENTNOTIFY event WM_MBUTTONDOWN (5,6)"},
        {top, WM_PARENTNOTIFY, WM_KEYDOWN, 0, "WM_PARENTNOTIFY event WM_???"},
        {child, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(-5, 7), "WM_LBUTTONDOWN flags=5 x=-5 y=7"},
        {child, WM_MBUTTONDBLCLK, MK_MBUTTON, At(3, 4), "WM_MBUTTONDBLCLK flags=10 x=3 y=4"},
        {top, WM_COMMAND, MAKEWPARAM(5, 1), 0, "WM_COMMAND wParm=10005"},
    };
    for (const auto& s : sent) {
        SendMessageW(s.to, s.msg, s.wParam, s.lParam);
        EXPECT_EQ(About(s.to, s.text), seen[s.msg]);
    }
    SendMessageW(top, WM_USER + 5, 0, 0);
    EXPECT_EQ(Format("hwnd=%08X unknown msg=405", (unsigned)(ULONG_PTR)top), seen[WM_USER + 5]);
    DestroyWindow(child);
    EXPECT_EQ(About(child, "WM_DESTROY"), seen[WM_DESTROY]);
    const std::string destroyed = "WM_PARENTNOTIFY event WM_DESTROY" + created.substr(created.find(" child"));
    EXPECT_EQ(About(top, destroyed), seen[WM_PARENTNOTIFY]);
    DestroyWindow(top);
    EXPECT_EQ(About(top, "WM_DESTROY"), seen[WM_DESTROY]);
}
