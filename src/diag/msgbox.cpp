// Modal message boxes with the application's title and error codes.
#include "kdiag.h"
#include "kapp.h"
#include "kwindow.h"
#include "ktoplevel.h"

static HWND BoxOwner(KWindow* w)
{
    if (w) {
        HWND top = w->getTopLevel()->getWindow();
        if (top)
            return top;
    }
    if (HWND active = GetActiveWindow())
        return active;
    if (App && App->getMainWindow())
        return App->getMainWindow()->getWindow();
    return nullptr;
}

int _MessageBox(KWindow* w, unsigned type, const wchar_t* titleSuffix,
                const char* format, va_list args)
{
    HWND owner = BoxOwner(w);
    if (!owner)
        type |= MB_TOPMOST;
    KString text;
    text._vsprint(format, args);
    KString title = App ? App->appTitle() : KString(L"Tarnwell");
    if (titleSuffix)
        title += titleSuffix;
    return ::MessageBoxW(owner, text, title, type);
}

int MessageBoxW(KWindow* w, unsigned type, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int r = _MessageBox(w, type, nullptr, format, args);
    va_end(args);
    return r;
}

int QuestionBox(KWindow* w, unsigned type, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int r = _MessageBox(w, type | MB_ICONQUESTION | MB_TASKMODAL, nullptr, format, args);
    va_end(args);
    return r;
}

void InfoBox(KWindow* w, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _MessageBox(w, MB_OK | MB_ICONASTERISK | MB_TASKMODAL, nullptr, format, args);
    va_end(args);
}

void InfoBox(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _MessageBox(nullptr, MB_OK | MB_ICONASTERISK | MB_TASKMODAL, nullptr, format, args);
    va_end(args);
}

static int ShowWithSuffix(KWindow* w, unsigned type, const wchar_t* suffix,
                          const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int r = _MessageBox(w, type, suffix, format, args);
    va_end(args);
    return r;
}

// Error and warning boxes show the caller's text through "%S" and carry the
// code in the title: "<title> (gg-nnnn)".
static int CodedBox(KWindow* w, unsigned type, const ERRCODE& code,
                    const char* format, va_list args)
{
    KString text, suffix;
    text._vsprint(format, args);
    suffix.set(" (%02d-%04d)", code.group, code.number);
    return ShowWithSuffix(w, type, suffix, "%S", &text);
}

#define CODED_BOX(w, type)                                   \
    va_list args;                                            \
    va_start(args, format);                                  \
    int r = CodedBox(w, type, code, format, args);           \
    va_end(args);                                            \
    (void)r

void ErrorBox(KWindow* w, const ERRCODE& code, const char* format, ...)
{
    CODED_BOX(w, MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

void ErrorBox(const ERRCODE& code, const char* format, ...)
{
    CODED_BOX(nullptr, MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

void WarnBox(KWindow* w, const ERRCODE& code, const char* format, ...)
{
    CODED_BOX(w, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

void WarnBox(const ERRCODE& code, const char* format, ...)
{
    CODED_BOX(nullptr, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

int WarnBox(unsigned type, const ERRCODE& code, const char* format, ...)
{
    CODED_BOX(nullptr, type | MB_ICONEXCLAMATION | MB_TASKMODAL);
    return r;
}

void Beep(unsigned type)
{
    MessageBeep(type);
}

int Fatal(const char* file, int line, const char* format, ...)
{
    KString text, where;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
    where.set("FILE: %s LINE: %d %S", file, line, &text);
    FatalAppExitW(0, where);
    return -1;
}

KString GetWin32Error(unsigned long code)
{
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             (LPWSTR)&buffer, 0, nullptr);
    KString text;
    if (n && buffer)
        text = buffer;
    if (buffer)
        LocalFree(buffer);
    // The system's texts end in a line break, which the width mask turns
    // into a blank.
    text.stripTrailing();
    return text;
}

KString GetWin32Error()
{
    return GetWin32Error(GetLastError());
}

void PrintWin32Error(const char* prefix)
{
    KString text = GetWin32Error();
    if (text.notNull())
        Printf("%s %U\n", prefix, (const wchar_t*)text);
}
