// The per-process log file: opened when the library is loaded, shared with
// child processes through an inherited handle, written under one recursive lock.
#include "kdiag.h"
#include "ksystem.h"
#include <stdlib.h>

namespace {

struct LogState {
    HANDLE file = nullptr;
    wchar_t name[MAX_PATH] = {0};
    int depth = 0;
    CRITICAL_SECTION lock;
    LogState() { InitializeCriticalSection(&lock); }
    ~LogState() { DeleteCriticalSection(&lock); }
};

LogState& Log()
{
    static LogState state;
    return state;
}

struct LogLock {
    LogLock() { KDebug::lock(); }
    ~LogLock() { KDebug::unlock(); }
};

// "<temp dir><exe base name>.log"
void MakeLogFileName(wchar_t* out)
{
    wchar_t temp[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp))
        lstrcpyW(temp, L"c:\\temp\\");
    wchar_t exe[MAX_PATH];
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
    full.set("%U%U.log", temp, (const wchar_t*)stem);
    lstrcpynW(out, full, MAX_PATH);
}

void WriteBytes(const char* bytes, DWORD n)
{
    HANDLE f = Log().file;
    if (!f || !n)
        return;
    DWORD written;
    WriteFile(f, bytes, n, &written, nullptr);
}

int LogFormatted(bool indent, const char* format, va_list args)
{
    KString text;
    text._vsprint(format, args);
    LogLock guard;
    if (indent)
        KDebug::printIndent();
    KDebug::printString(text);
    return text.length();
}

} // namespace

void KDebug::lock() { EnterCriticalSection(&Log().lock); }
void KDebug::unlock() { LeaveCriticalSection(&Log().lock); }
HANDLE KDebug::getHandle() { return Log().file; }
KString KDebug::getLogFileName() { return KString(Log().name); }

void KDebug::Init()
{
    LogLock guard;
    LogState& log = Log();
    MakeLogFileName(log.name);

    wchar_t shared[32];
    if (GetEnvironmentVariableW(L"TARNWELL_LOGFILE", shared, 32)) {
        long handle = wcstol(shared, nullptr, 10);
        if (handle) {
            log.file = (HANDLE)(INT_PTR)handle;
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
    if (!text)
        return;
    char chunk[512];
    DWORD n = 0;
    LogLock guard;
    for (; *text; ++text) {
        if (n + 2 > sizeof(chunk)) {
            WriteBytes(chunk, n);
            n = 0;
        }
        if (*text == L'\n')
            chunk[n++] = '\r';
        chunk[n++] = *text > 255 ? '.' : (char)*text;
    }
    WriteBytes(chunk, n);
}

void KDebug::printIndent()
{
    LogLock guard;
    for (int i = 0; i < Log().depth; ++i)
        WriteBytes("  ", 2);
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
