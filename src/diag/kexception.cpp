// KorvelException: construction from formats and from structured exceptions.
#include "kdiag.h"

KorvelException::KorvelException() : group(0), number(0), exceptionCode(0) {}

KorvelException::KorvelException(int g, const char* format, ...)
    : group(g), number(0), exceptionCode(0)
{
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
}

KorvelException::KorvelException(int g, int n, const char* format, ...)
    : group(g), number(n), exceptionCode(0)
{
    va_list args;
    va_start(args, format);
    text._vsprint(format, args);
    va_end(args);
}

static const wchar_t* ExceptionName(DWORD code)
{
    switch (code) {
#define NAME(c) case c: return L## #c
        NAME(EXCEPTION_ACCESS_VIOLATION);
        NAME(EXCEPTION_GUARD_PAGE);
        NAME(EXCEPTION_DATATYPE_MISALIGNMENT);
        NAME(EXCEPTION_BREAKPOINT);
        NAME(EXCEPTION_SINGLE_STEP);
        NAME(EXCEPTION_IN_PAGE_ERROR);
        NAME(EXCEPTION_INVALID_HANDLE);
        NAME(EXCEPTION_ILLEGAL_INSTRUCTION);
        NAME(EXCEPTION_NONCONTINUABLE_EXCEPTION);
        NAME(EXCEPTION_INVALID_DISPOSITION);
        NAME(EXCEPTION_ARRAY_BOUNDS_EXCEEDED);
        NAME(EXCEPTION_FLT_DENORMAL_OPERAND);
        NAME(EXCEPTION_FLT_DIVIDE_BY_ZERO);
        NAME(EXCEPTION_FLT_INEXACT_RESULT);
        NAME(EXCEPTION_FLT_INVALID_OPERATION);
        NAME(EXCEPTION_FLT_OVERFLOW);
        NAME(EXCEPTION_FLT_STACK_CHECK);
        NAME(EXCEPTION_FLT_UNDERFLOW);
        NAME(EXCEPTION_INT_DIVIDE_BY_ZERO);
        NAME(EXCEPTION_INT_OVERFLOW);
        NAME(EXCEPTION_PRIV_INSTRUCTION);
        NAME(EXCEPTION_STACK_OVERFLOW);
#undef NAME
    default: return L"???";
    }
}

KorvelException::KorvelException(int g, const _EXCEPTION_POINTERS* info)
    : group(g), number(0), exceptionCode(0)
{
    const EXCEPTION_RECORD* rec = info ? info->ExceptionRecord : nullptr;
    if (!rec)
        return;
    exceptionCode = rec->ExceptionCode;
    text.set("%U(%x)\nAddress=%p", ExceptionName(rec->ExceptionCode),
             (unsigned)rec->ExceptionCode, rec->ExceptionAddress);
}

KorvelException::KorvelException(const KorvelException& o)
    : group(o.group), number(o.number), exceptionCode(o.exceptionCode), text(o.text) {}

KorvelException& KorvelException::operator=(const KorvelException& o)
{
    group = o.group;
    number = o.number;
    exceptionCode = o.exceptionCode;
    text = o.text;
    return *this;
}

void KorvelException::popupMessage(ERRCODE code, const char* format, ...) const
{
    KString caller;
    va_list args;
    va_start(args, format);
    caller._vsprint(format, args);
    va_end(args);
    ErrorBox(code, "%S\n\n%S", &caller, &text);
    LogPrintf("%S: %S\n", &caller, &text);
}
