// The one kit of the test programs and their helper programs: text helpers,
// waiting, message boxes answered from a watcher thread, child processes,
// files and scratch directories, the log, exceptions, damaged input with the
// oracle that says what reading it must give, window ownership and the TODO_WINE marker.
#ifndef KORVEL_TESTS_TEST_SUPPORT_H
#define KORVEL_TESTS_TEST_SUPPORT_H

#include <windows.h>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include <korvel.h>

// 7-bit text; other units become '?'.
std::string Narrow(const wchar_t* text);
std::string Narrow(const std::wstring& text);
std::string Narrow(const KString& text);
std::wstring Wide(const KString& text);
std::wstring Wide(const std::string& text);
std::string Lower(std::string s);
std::wstring Lower(std::wstring s);
// The lines of a text, without their CR LF (or LF).
std::vector<std::string> Lines(const std::string& text);
// printf into a std::string, through the library's formatting language.
std::string Format(const char* format, ...);

// Dispatches every queued message of this thread; a WM_QUIT is put back.
void PumpMessages();
// Pumps this thread's messages until done() holds or ms have passed; returns
// done() at the end. Tests wait with this, never with a bare Sleep.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 5000);

// Real input through SendInput, as a user gives it (input.cpp). Keys are pressed in order and
// released in reverse; MouseButtons sends MOUSEEVENTF_LEFTDOWN ... at the pointer. Activate makes
// w the active, focused window and says whether that succeeded.
void PressKeys(std::initializer_list<WORD> keys);
// The same without dispatching anything, for a message loop that must see the keys itself.
void SendKeys(std::initializer_list<WORD> keys);
void MovePointer(int x, int y);
void MouseButtons(std::initializer_list<DWORD> buttonFlags);
void Wheel(int delta);
bool Activate(HWND w);
// Moves the pointer to client point (x, y) of w and sends the button flags,
// with heldKey (0: none) down around them; nothing is dispatched, so a modal
// loop that runs sees the input itself.
void SendMouseAt(HWND w, int x, int y, std::initializer_list<DWORD> buttonFlags, WORD heldKey = 0);

// The pixels of a memory context, row by row, as 0x00RRGGBB; a BMP file of
// them (pictures.cpp).
std::vector<DWORD> Pixels(KMemDC& dc);
void SaveBitmap(const std::wstring& path, KMemDC& dc);
// The same as a PNG file (8-bit RGB, stored without compression) for people to look at.
void SavePng(const std::wstring& path, KMemDC& dc);

// The visible message box (dialog class #32770) of this process, or with item the dialog holding
// a control of that id (COLOR_RED: the colour dialog); null when there is none.
HWND FindMessageBox(int item = 0);

// The next colour dialog of this thread gets its red, green and blue fields
// set to colour, "Add to Custom Colors" clicked when addCustom, then OK or
// Cancel clicked (real clicks, from a thread timer); one still open 3 s later
// is cancelled. The result says whether it was found or had to be cancelled,
// and holds CustColorOpt's colours as they were just before the last click.
struct ColorDialogAnswer {
    COLORREF colour = 0;
    bool addCustom = false, ok = true;
};
struct ColorDialogSeen {
    bool found = false, forced = false;
    COLORREF custom[16] = {0};
};
void AnswerColorDialog(const ColorDialogAnswer& answer);
const ColorDialogSeen& ColorDialogResult();

// What one message box showed.
struct ShownBox {
    std::wstring title, text;
    HWND owner = nullptr;
    HICON icon = nullptr;     // the icon shown, null when none
    DWORD exStyle = 0;        // WS_EX_TOPMOST for MB_TOPMOST ...
    std::vector<int> buttons; // ids of the visible buttons, in window order
};

// While it lives, a second thread answers every message box of this process
// with the button given and records what each showed. A box call returns
// after the box was answered, so the record is there when it returns.
class BoxWatcher {
public:
    explicit BoxWatcher(int press = IDOK);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    size_t count() const;
    // The i-th box answered (an empty record when there is none).
    ShownBox box(size_t i = 0) const;

private:
    static DWORD WINAPI watch(void* self);
    int press;
    HANDLE thread;
    mutable CRITICAL_SECTION lock;
    std::vector<ShownBox> boxes;
    volatile bool stop = false;
};

// Runs a program with its handles inherited, waits at most 60 s and returns
// its exit code (-1 when it could not start); its standard output and error
// go to out. A program without a backslash lies in ProgramDir().
DWORD RunChild(const std::wstring& program, const std::wstring& args, std::string* out = nullptr);

// Directory of the running program, with its trailing backslash.
std::wstring ProgramDir();
std::wstring TempDir();

typedef std::vector<unsigned char> Bytes;

// The whole content of a file opened with read and write sharing; empty when
// it cannot be opened.
Bytes ReadBytes(const std::wstring& path);
std::string ReadFileText(const std::wstring& path);
void WriteBytes(const std::wstring& path, const Bytes& bytes);

// A fresh directory under the temporary directory, removed with its content
// when the object goes; path() ends in a backslash.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::wstring& path() const { return dir; }
    std::wstring file(const std::wstring& name) const { return dir + name; }

private:
    std::wstring dir;
};

// Sets an environment variable for the object's lifetime (null: removes it)
// and puts back what was there.
class EnvVar {
public:
    EnvVar(const wchar_t* name, const wchar_t* value);
    ~EnvVar();
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    std::wstring name, old;
    bool had;
};

// The log of this process as written so far.
std::string ReadLog();
// Writes the marker line "== <marker> ==" into the log.
void MarkLog(const std::string& marker);
// The part of the log written after the last marker line of that name.
std::string LogAfter(const std::string& marker);
// How often text occurs in the log.
size_t CountInLog(const std::string& text);

// What f threw: nothing, a KorvelException (group, number, exception code,
// text), a std::exception (what() in text) or anything else.
struct Caught {
    enum Kind { Nothing, Korvel, Std, Other } kind = Nothing;
    int group = 0, number = 0;
    unsigned long code = 0;
    std::string text;
    explicit operator bool() const { return kind != Nothing; }
};

template <class F>
Caught Catch(F&& f)
{
    Caught c;
    try {
        f();
    } catch (const KorvelException& e) {
        c.kind = Caught::Korvel;
        c.group = e.group;
        c.number = e.number;
        c.code = e.exceptionCode;
        c.text = Narrow(e.text);
    } catch (const std::exception& e) {
        c.kind = Caught::Std;
        c.text = e.what();
    } catch (...) {
        c.kind = Caught::Other;
    }
    return c;
}

// A fixed linear congruential generator, so every run sees the same inputs.
class Random {
public:
    explicit Random(unsigned start) : x(start) {}
    unsigned next()
    {
        x = x * 1664525u + 1013904223u;
        return x >> 8 ^ x << 24;
    }
    unsigned below(unsigned n) { return n ? next() % n : 0; }

private:
    unsigned x;
};

// Little-endian pieces for building and reading records by hand.
void Put16(Bytes& b, unsigned v);
void Put32(Bytes& b, unsigned v);
unsigned Get32(const Bytes& b, size_t at);
void Set32(Bytes& b, size_t at, unsigned v);

// A file header of the given kind, version and layout, as WriteHeader
// writes it (layout 2 with the library version, 1 without).
Bytes HeaderBytes(const std::wstring& kind, unsigned version = 1, unsigned layout = 2);
// A string record: count, units, terminator.
void PutString(Bytes& b, const std::vector<unsigned>& units, unsigned terminator = 0);
// A string record of up to 24 random units (now and then a 0 unit) with a
// terminator that is mostly valid.
void PutRandomString(Random& r, Bytes& b);
Bytes RandomBytes(Random& r, unsigned maxLen);
// Damages a well-formed record: leaves it, cuts it, flips bits, replaces the
// 32-bit count at countAt (when it is not npos) with absurd or random values,
// or appends junk.
void Damage(Random& r, Bytes& b, size_t countAt = std::string::npos);

// Reads bytes the way the file formats define them and says what the
// library's reading must give: the values, or the exact text of the first
// defect. shownPath is the file name as the library's messages show it.
class RecordOracle {
public:
    RecordOracle(const Bytes& b, const std::string& shownPath) : b(b), shown(shownPath) {}
    // A file header of the given kind; fills h when it is given.
    bool header(const std::wstring& kind, KFileHeader* h = nullptr);
    bool u32(unsigned* v = nullptr);
    bool raw(size_t n, void* out = nullptr);
    // A string record, with the length and terminator checks of KString::read.
    bool string(std::wstring* text = nullptr);

    std::string error; // empty while everything read
    size_t at = 0;

private:
    bool have(size_t n);
    const Bytes& b;
    std::string shown;
};

// Counts refusals by the start of their text (up to the first '=' or '"'),
// so a run can show that every path was taken.
class Tally {
public:
    void add(const std::string& error);
    int operator[](const std::string& start) const;
    int total() const { return count; }
    void print(const char* what, int inputs) const;

private:
    std::map<std::string, int> kinds;
    int count = 0;
};

// Owns the windows a test makes: deletes them (last first) and resets the
// application's main window when the test ends, even when an assertion ended
// it early.
class WindowOwner {
public:
    WindowOwner() = default;
    ~WindowOwner();
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;
    template <class W>
    W* own(W* w)
    {
        windows.push_back(w);
        return w;
    }
    // Deletes w now and forgets it.
    void release(KWindow* w);

private:
    std::vector<KWindow*> windows;
};

// A shown popup top level (no frame) at (x, y), w x h, owned by windows: a
// stage for the windows a test places.
KWindow* ShownPopup(WindowOwner& windows, int x, int y, int w, int h);
// The rectangle of a window as its native window has it: x, y, width, height
// in its parent's client area (on the screen for a top level).
std::vector<long> Placed(KWindow* w);

// Under Wine, prints how a check of TODO_WINE came out and says true; elsewhere says false.
bool ReportWineGap(bool held, const char* check, const char* file, int line);

// A check of a behaviour Wine lacks. It always runs; on Windows it is an
// ordinary expectation; under Wine its failure is reported as a known gap and
// its success as "Wine now supports this", neither failing the test.
#define TODO_WINE(check)                                                  \
    do {                                                                  \
        const bool todoWineHeld = static_cast<bool>(check);               \
        if (!ReportWineGap(todoWineHeld, #check, __FILE__, __LINE__))     \
            EXPECT_TRUE(todoWineHeld) << #check;                          \
    } while (0)

#endif
