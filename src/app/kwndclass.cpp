// Window-class records, the system cursors and the look-and-feel values.
#include "kwindow.h"
#include "kgraphics.h"
#include "kwindow_internal.h"
#include <shellapi.h>

HINSTANCE KWNDCLASS::hInst = nullptr;
KWNDCLASS def_class;
KWNDCLASS popup_class;

HCURSOR APPSTARTING_CURSOR, ARROW_CURSOR, CROSS_CURSOR, HELP_CURSOR, IBEAM_CURSOR, NO_CURSOR,
    SIZEALL_CURSOR, SIZENESW_CURSOR, SIZENS_CURSOR, SIZEWE_CURSOR, SIZENWSE_CURSOR,
    UPARROW_CURSOR, WAIT_CURSOR;

KWNDCLASS::KWNDCLASS()
{
    ZeroMemory(static_cast<WNDCLASSW*>(this), sizeof(WNDCLASSW));
}

KWNDCLASS::~KWNDCLASS()
{
    if (atom)
        UnregisterClassW(MAKEINTATOM(atom), hInstance);
}

unsigned short KWNDCLASS::registerClass(const wchar_t* name, unsigned int classStyle)
{
    style = classStyle;
    lpfnWndProc = WndProc;
    cbClsExtra = 0;
    // Slot 0 holds the KWindow bound to the native window.
    cbWndExtra = sizeof(LONG_PTR);
    hInstance = hInst;
    wchar_t exe[MAX_PATH] = {0};
    GetModuleFileNameW(hInst, exe, MAX_PATH);
    hIcon = ExtractIconW(hInst, exe, 0);
    if (!hIcon || hIcon == (HICON)1)
        hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    hCursor = nullptr;
    hbrBackground = nullptr;
    lpszMenuName = nullptr;
    lpszClassName = name;
    return registerClass();
}

unsigned short KWNDCLASS::registerClass()
{
    atom = RegisterClassW(this);
    return atom;
}

COLORREF BUTTON_FACE_COLOR, BUTTON_TEXT_COLOR, BORDER_COLOR;
int BORDER_WIDTH, FRAME_WIDTH, CAPTION_HEIGHT, MENU_HEIGHT, SHADOW_WIDTH;
HFONT DEFAULT_VAR_FONT, DEFAULT_FIXED_FONT;

void LoadLookAndFeel()
{
    BUTTON_FACE_COLOR = GetSysColor(COLOR_BTNFACE);
    BUTTON_TEXT_COLOR = GetSysColor(COLOR_BTNTEXT);
    BORDER_COLOR = GetSysColor(COLOR_WINDOWFRAME);
    BORDER_WIDTH = GetSystemMetrics(SM_CXBORDER);
    FRAME_WIDTH = GetSystemMetrics(SM_CXFRAME);
    CAPTION_HEIGHT = GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYBORDER);
    MENU_HEIGHT = GetSystemMetrics(SM_CYMENU) + 1;
    SHADOW_WIDTH = GetSystemMetrics(SM_CXEDGE);
    DEFAULT_VAR_FONT = (HFONT)GetStockObject(ANSI_VAR_FONT);
    DEFAULT_FIXED_FONT = (HFONT)GetStockObject(ANSI_FIXED_FONT);

    APPSTARTING_CURSOR = LoadCursorW(nullptr, IDC_APPSTARTING);
    ARROW_CURSOR = LoadCursorW(nullptr, IDC_ARROW);
    CROSS_CURSOR = LoadCursorW(nullptr, IDC_CROSS);
    HELP_CURSOR = LoadCursorW(nullptr, IDC_HELP);
    IBEAM_CURSOR = LoadCursorW(nullptr, IDC_IBEAM);
    NO_CURSOR = LoadCursorW(nullptr, IDC_NO);
    SIZEALL_CURSOR = LoadCursorW(nullptr, IDC_SIZEALL);
    SIZENESW_CURSOR = LoadCursorW(nullptr, IDC_SIZENESW);
    SIZENS_CURSOR = LoadCursorW(nullptr, IDC_SIZENS);
    SIZEWE_CURSOR = LoadCursorW(nullptr, IDC_SIZEWE);
    SIZENWSE_CURSOR = LoadCursorW(nullptr, IDC_SIZENWSE);
    UPARROW_CURSOR = LoadCursorW(nullptr, IDC_UPARROW);
    WAIT_CURSOR = LoadCursorW(nullptr, IDC_WAIT);
}

// Read with the library's other static objects, before any window exists.
static const bool look_and_feel_loaded = (LoadLookAndFeel(), true);
