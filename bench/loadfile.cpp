// Loading text files into edit controls, measured side by side in one run,
// each side's best of three rounds (one when a round takes over 2 s), for 1 MB and 4 MB files of 60-character
// lines (other sizes in KB on the command line), into the edit and the
// rich-edit control:
// - reading the file alone (fread of the whole file);
// - the plain way: reading it, putting a carriage return before each line
//   feed and one WM_SETTEXT into a native control of the same class and style;
// - loadFile of KEditControl / KRichEditControl;
// - up to 1 MB (256 KB for the rich edit), the old way: 4096-byte blocks
//   appended one by one with EM_REPLACESEL, whose cost grows with the square
//   of the size.
// Wine's rich-edit control itself takes time growing faster than the size
// even for one WM_SETTEXT, so its 4 MB rows take minutes there.
#include <korvel.h>
#include <richedit.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "bench_app.h"

namespace {

const int Rounds = 3;

std::wstring MakeFile(const std::wstring& dir, int kilobytes)
{
    const std::wstring path = dir + L"loadfile_" + std::to_wstring(kilobytes) + L"kb.txt";
    FILE* f = _wfopen(path.c_str(), L"wb");
    const long target = kilobytes * 1024L;
    for (long written = 0, line = 0; written < target; ++line)
        written += fprintf(f, "%08ld the quick brown fox jumps over the lazy dog, twice %04ld\n", line, line % 9973);
    fclose(f);
    return path;
}

std::string ReadWhole(const std::wstring& path)
{
    std::string bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    char block[65536];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        bytes.append(block, n);
    fclose(f);
    return bytes;
}

std::wstring WithReturns(const std::string& bytes)
{
    std::wstring text;
    text.reserve(bytes.size() + bytes.size() / 32);
    for (char c : bytes) {
        if (c == '\n')
            text += L'\r';
        text += (wchar_t)(signed char)c;
    }
    return text;
}

// A control of the library control's class, style, size and font.
HWND RawControl(KWindow* top, const wchar_t* cls, KEditBase* like)
{
    HWND raw = CreateWindowExW(0, cls, L"", like->getControlStyle() | WS_VISIBLE, 0, 0, like->width(),
                               like->height(), *top, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(raw, WM_SETFONT, (WPARAM)like->getFont(), FALSE);
    return raw;
}

// Raises the control's 32K default limit to n characters.
void Limit(HWND control, size_t n)
{
    wchar_t cls[32];
    GetClassNameW(control, cls, 32);
    if (lstrcmpiW(cls, L"EDIT") == 0)
        SendMessageW(control, EM_SETLIMITTEXT, n, 0);
    else
        SendMessageW(control, EM_EXLIMITTEXT, 0, (LPARAM)n);
}

void SetRaw(HWND control, const std::wstring& path)
{
    const std::wstring text = WithReturns(ReadWhole(path));
    Limit(control, text.size());
    SendMessageW(control, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

void AppendBlocks(HWND control, const std::wstring& path)
{
    SendMessageW(control, WM_SETTEXT, 0, (LPARAM)L"");
    Limit(control, 0x7FFFFFFE);
    FILE* f = _wfopen(path.c_str(), L"rb");
    char block[4097];
    size_t n;
    while ((n = fread(block, 1, 4096, f)) > 0) {
        block[n] = 0;
        const std::wstring text = WithReturns(block);
        const int end = GetWindowTextLengthW(control);
        SendMessageW(control, EM_SETSEL, end, end);
        SendMessageW(control, EM_REPLACESEL, TRUE, (LPARAM)text.c_str());
    }
    fclose(f);
}

template <class F>
double Best(F&& f)
{
    double best = 1e9;
    for (int r = 0; r < Rounds; ++r) {
        const double start = get_time();
        f();
        const double t = get_time() - start;
        best = t < best ? t : best;
        if (t > 2.0)
            break;
    }
    return best;
}

void Compare(KWindow* top, const wchar_t* cls, KEditBase* library, bool (*load)(KEditBase*, const wchar_t*),
             const std::wstring& path, int kilobytes)
{
    HWND raw = RawControl(top, cls, library);
    const double read = Best([&] { ReadWhole(path); });
    const double plain = Best([&] { SetRaw(raw, path); });
    const double ours = Best([&] { load(library, path.c_str()); });
    const bool same = library->getTextLength() == GetWindowTextLengthW(raw);
    printf("%-12S %5d KB: read %6.1f ms, read + WM_SETTEXT %8.1f ms, loadFile %8.1f ms, ratio %.2f (target <= 2)%s\n",
           cls, kilobytes, read * 1e3, plain * 1e3, ours * 1e3, ours / plain, same ? "" : "  TEXTS DIFFER");
    fflush(stdout);
    if (kilobytes <= (lstrcmpW(cls, L"EDIT") == 0 ? 1024 : 256)) {
        const double start = get_time();
        AppendBlocks(raw, path);
        printf("%-12S %5d KB: 4096-byte EM_REPLACESEL appends, once: %8.1f ms\n", cls, kilobytes,
               (get_time() - start) * 1e3);
    }
    DestroyWindow(raw);
}

int RunBench()
{
    KArgList args;
    args.add(WA_WINDOWS_STYLE, (unsigned long)WS_POPUP);
    args.add(WA_CLIENT_WIDTH, 320);
    args.add(WA_CLIENT_HEIGHT, 240);
    KWindow* top = MakeWindow(nullptr, &args);
    KArgList size;
    size.add(WA_NUM_CHAR, 30);
    size.add(WA_NUM_LINE, 10);
    size.add(WA_VERT_SCROLL, true);
    KEditControl* edit = MakeEditControl(top, &size);
    KRichEditControl* rich = MakeRichEditControl(top, &size);
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::vector<int> sizes = {1024, 4096};
    if (__argc > 1)
        sizes.clear();
    for (int i = 1; i < __argc; ++i)
        sizes.push_back(atoi(__argv[i]));
    for (int kilobytes : sizes) {
        const std::wstring path = MakeFile(dir, kilobytes);
        Compare(top, L"EDIT", edit, [](KEditBase* e, const wchar_t* p) { return ((KEditControl*)e)->loadFile(p); },
                path, kilobytes);
        Compare(top, L"RichEdit20W", rich,
                [](KEditBase* e, const wchar_t* p) { return ((KRichEditControl*)e)->loadFile(p); }, path, kilobytes);
        DeleteFileW(path.c_str());
    }
    delete top;
    return 0;
}

} // namespace

BenchApp app(L"Load File Bench", RunBench);
