// The per-process log file and the trace scopes written into it. The log is
// opened when the library is loaded, can be shared with child processes
// through an inherited handle, and every write holds one recursive lock and
// goes to the file in a single WriteFile, so that lines of different threads
// (and of processes sharing the file) do not interleave within a call.
#include "kdiag.h"
#include "ksystem.h"
#include <stdlib.h>
#include <string>

namespace {

struct LogState {
    HANDLE file = nullptr;
    wchar_t name[MAX_PATH] = {0};
    int depth = 0;
    // Time of the last trace event; the trace lines show the time since it.
    double lastEvent = get_time();
    LONG scopes = 0;
    KMutex lock;
};

// Never destroyed: static destructors that run while the library unloads
// may still log (into nothing once the log is closed).
LogState& Log()
{
    static LogState* state = new LogState;
    return *state;
}

// The last-event time starts when the library is loaded.
const LogState& loadedState = Log();

class LogLock {
public:
    LogLock() : guard(&Log().lock) {}
private:
    KMutex guard;
};

// "<temp dir><exe base name>.log"
void MakeLogFileName(wchar_t* out)
{
    wchar_t temp[MAX_PATH] = {0};
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        lstrcpyW(temp, L"c:\\temp\\");
    wchar_t exe[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const wchar_t* base = exe;
    for (const wchar_t* p = exe; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            base = p + 1;
    KString stem(base);
    int dot = stem.findLast(L'.');
    if (dot >= 0)
        stem.trunc(dot);
    KString full;
    full.set("%U%S.log", temp, &stem);
    lstrcpynW(out, full, MAX_PATH);
}

// One unit per byte ('.' above 255), CR before each LF; one write.
void WriteText(const wchar_t* text)
{
    HANDLE f = Log().file;
    if (!f || !text || !*text)
        return;
    std::string bytes;
    for (; *text; ++text) {
        if (*text == L'\n')
            bytes += '\r';
        bytes += *text > 255 ? '.' : (char)*text;
    }
    DWORD written;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}

KString Indent(int depth)
{
    return depth > 0 ? KString(2 * depth, L' ') : KString();
}

int LogFormatted(bool indent, const char* format, va_list args)
{
    // Formatted before the lock is taken: a bad format shows a message box.
    KString text;
    text._vsprint(format, args);
    LogLock guard;
    if (indent) {
        KString line = Indent(Log().depth);
        line += text;
        WriteText(line);
    } else {
        WriteText(text);
    }
    return text.length();
}

int ThreadId()
{
    return (int)GetCurrentThreadId();
}

} // namespace

void KDebug::lock() { Log().lock.enter(); }
void KDebug::unlock() { Log().lock.leave(); }

HANDLE KDebug::getHandle()
{
    LogLock guard;
    return Log().file;
}

KString KDebug::getLogFileName()
{
    LogLock guard;
    return KString(Log().name);
}

void KDebug::Init()
{
    LogLock guard;
    LogState& log = Log();
    MakeLogFileName(log.name);

    wchar_t shared[32] = {0};
    DWORD n = GetEnvironmentVariableW(L"TARNWELL_LOGFILE", shared, 32);
    if (n > 0 && n < 32) {
        // A handle number handed down by the parent, which made it inheritable.
        ULONG_PTR handle = (ULONG_PTR)wcstoull(shared, nullptr, 10);
        if (handle) {
            log.file = (HANDLE)handle;
            Printf("Log '%U' connected hFile=%d\n", log.name, (int)handle);
            return;
        }
    }
    if (log.file)
        return;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE f = CreateFileW(log.name, GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    log.file = f;
    Printf("Log '%U' created hFile=%d\n", log.name, (int)(INT_PTR)f);
}

void KDebug::Close()
{
    LogLock guard;
    LogState& log = Log();
    if (!log.file)
        return;
    LogPrintf("Closing logfile\n");
    CloseHandle(log.file);
    log.file = nullptr;
}

void KDebug::printString(const wchar_t* text)
{
    LogLock guard;
    WriteText(text);
}

void KDebug::printIndent()
{
    LogLock guard;
    KString blanks = Indent(Log().depth);
    WriteText(blanks);
}

int Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = LogFormatted(true, format, args);
    va_end(args);
    return n;
}

int LogPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = LogFormatted(false, format, args);
    va_end(args);
    return n;
}

// --- Trace scopes ----------------------------------------------------------

KDebug::KDebug(const char* format, ...) : id(0), atLineStart(false), start(0)
{
    LogState& log = Log();
    id = (int)InterlockedIncrement(&log.scopes);
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);

    LogLock guard;
    KString line;
    line.set("%4d [%f] %*sENTER[%d] ", ThreadId(), get_time() - log.lastEvent, 2 * log.depth, "", id);
    line += text;
    WriteText(line);
    start = log.lastEvent = get_time();
    ++log.depth;
    atLineStart = text.lastChar() == L'\n';
}

KDebug::~KDebug()
{
    LogState& log = Log();
    LogLock guard;
    if (log.depth > 0)
        --log.depth;
    double now = get_time();
    KString line;
    line.set("%4d [%f] %*sLEAVE[%d] dt=%f\n", ThreadId(), now - log.lastEvent, 2 * log.depth, "",
             id, now - start);
    WriteText(line);
    log.lastEvent = get_time();
}

void KDebug::print(const char* format, ...)
{
    LogState& log = Log();
    KString text;
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);

    LogLock guard;
    KString line;
    if (atLineStart)
        line.set("%4d [%f] %*s", ThreadId(), get_time() - log.lastEvent, 2 * log.depth, "");
    line += text;
    WriteText(line);
    // An empty text leaves the line state as it was.
    if (text.isNull())
        return;
    atLineStart = text.lastChar() == L'\n';
    if (atLineStart)
        log.lastEvent = get_time();
}

double KDebug::dt() const
{
    LogLock guard;
    return get_time() - Log().lastEvent;
}

double KDebug::rate(double amount) const
{
    LogLock guard;
    double seconds = dt();
    return seconds > 0 ? amount / seconds : -1;
}
