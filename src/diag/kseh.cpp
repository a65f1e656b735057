// Translation of structured exceptions (access violations, divisions by zero
// ...) into KorvelException(7, info) on the threads that asked for it.
//
// MinGW has no _set_se_translator, so a vectored exception handler does the
// work. For a hardware fault on a thread that called installSEH, it copies
// the exception record into that thread's slot and resumes the thread at a
// small assembly entry which pushes a return address just past the faulting
// instruction, as if that instruction had been a call. The entry goes on to a C++ function that
// throws; the unwinder then walks from that function through the faulting
// frame to the nearest catch, running the destructors on the way.
//
// The entry keeps the faulting frame intact: after the unwinder has undone
// the thrower's frame, the stack pointer is the faulting one again and the
// return address is the fault's, so the faulting function's unwind data
// apply as they would at a call made there.
#include "kdiag.h"

#ifndef STATUS_FLOAT_MULTIPLE_FAULTS
#define STATUS_FLOAT_MULTIPLE_FAULTS ((DWORD)0xC00002B4L)
#endif
#ifndef STATUS_FLOAT_MULTIPLE_TRAPS
#define STATUS_FLOAT_MULTIPLE_TRAPS ((DWORD)0xC00002B5L)
#endif

namespace {

// The fault being translated on one thread.
struct PendingFault {
    EXCEPTION_RECORD record;
    // Set from the redirection until the thrower has taken the record: a
    // fault in between is left to the system rather than translated again.
    bool busy;
};

// Allocated when a thread installs the translator, freed with the thread.
thread_local PendingFault threadFault;

// Address range of one loaded image.
struct ImageRange {
    ULONG_PTR begin = 0, end = 0;
    bool holds(ULONG_PTR a) const { return a >= begin && a < end; }
};

ImageRange RangeOf(const wchar_t* module)
{
    ImageRange r;
    HMODULE h = GetModuleHandleW(module);
    if (!h)
        return r;
    auto* dos = (const IMAGE_DOS_HEADER*)h;
    auto* nt = (const IMAGE_NT_HEADERS*)((const BYTE*)h + dos->e_lfanew);
    r.begin = (ULONG_PTR)h;
    r.end = r.begin + nt->OptionalHeader.SizeOfImage;
    return r;
}

// Process-wide: the thread slot pointing at a thread's PendingFault (null on
// threads without translation), the handler, and the system's core modules,
// whose functions probe memory under handlers of their own (lstrlenW,
// IsBadReadPtr ...); their faults are left to those handlers.
class Translator {
public:
    Translator();
    ~Translator();
    void enableThread();
    PendingFault* threadSlot() const;
    bool inSystemModule(ULONG_PTR address) const;

private:
    static LONG CALLBACK handler(EXCEPTION_POINTERS* info);

    DWORD slot;
    PVOID registration;
    ImageRange system[3];
};

Translator& TheTranslator();

// The faults of the running code. A stack overflow leaves no stack to throw
// on; the non-continuable codes cannot be resumed at all; software exceptions
// of other codes (C++ throws, debug output, thread names, RPC ...) are caught
// by those who raise them. Breakpoints and single steps belong to a debugger
// when one is attached (it sees them before any handler of the process).
bool IsTranslated(DWORD code)
{
    switch (code) {
    case EXCEPTION_BREAKPOINT:
    case EXCEPTION_SINGLE_STEP:
        return !IsDebuggerPresent();
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_GUARD_PAGE:
    case EXCEPTION_INVALID_HANDLE:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case STATUS_FLOAT_MULTIPLE_FAULTS:
    case STATUS_FLOAT_MULTIPLE_TRAPS:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
        return true;
    default:
        return false;
    }
}

// Codes that system functions raise on their caller's behalf: DebugBreak's
// breakpoint, and an invalid handle given to CloseHandle where Windows
// raises that. They are thrown from the caller, not from inside the system
// module. Other faults inside system modules are left to the handlers those
// modules install around their own memory probes (lstrlenW, IsBadReadPtr ...).
bool IsRaisedForCaller(DWORD code)
{
    return code == EXCEPTION_BREAKPOINT || code == EXCEPTION_INVALID_HANDLE;
}

bool IsFloatingPoint(DWORD code)
{
    return (code >= EXCEPTION_FLT_DENORMAL_OPERAND && code <= EXCEPTION_FLT_UNDERFLOW) ||
           code == STATUS_FLOAT_MULTIPLE_FAULTS || code == STATUS_FLOAT_MULTIPLE_TRAPS;
}

// The stack pointer lies in committed memory of the stack the handler runs
// on, which is the faulting thread's.
bool StackUsable(ULONG_PTR sp)
{
    MEMORY_BASIC_INFORMATION at, own;
    int local = 0;
    if (!VirtualQuery((const void*)sp, &at, sizeof(at)) ||
        !VirtualQuery(&local, &own, sizeof(own)))
        return false;
    return at.State == MEM_COMMIT && at.AllocationBase == own.AllocationBase;
}

} // namespace

// The thrower, entered from the assembly entry below as if the faulting
// instruction had called it.
extern "C" [[noreturn]] void ThrowPendingFault() __asm__("korvel_throw_pending_fault");
// The entry the faulting thread is resumed at.
extern "C" void SehEntry() __asm__("korvel_seh_entry");

#if defined(__x86_64__)
// In: rsp as at the fault, rax the return address to push (see Redirect).
// The push makes the fault look like a call; the frame realigns the stack for the thrower and
// is described to the unwinder through rbp, so any alignment will do.
__asm__(R"(
    .text
    .p2align 4
korvel_seh_entry:
    pushq %rax
    .seh_proc korvel_seh_frame
korvel_seh_frame:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-16, %rsp
    subq $32, %rsp
    call korvel_throw_pending_fault
    int3
    .seh_endproc
)");
#elif defined(__i386__)
// In: esp as at the fault, eax the faulting address plus one. The DWARF
// unwinder looks up the caller's frame at its return address less one,
// which is then the faulting instruction itself.
__asm__(R"(
    .text
    .p2align 4
korvel_seh_entry:
    pushl %eax
    jmp korvel_throw_pending_fault
)");
#else
#error "structured-exception translation is written for x86 and x86-64"
#endif

#if defined(__i386__)
// Entered by a jump with whatever alignment the faulting code had.
__attribute__((force_align_arg_pointer))
#endif
__attribute__((used, noinline)) void ThrowPendingFault()
{
    DWORD error = GetLastError();
    PendingFault* pending = TheTranslator().threadSlot();
    EXCEPTION_RECORD record = pending->record;
    pending->busy = false;
    SetLastError(error);
    EXCEPTION_POINTERS info = {&record, nullptr};
    throw KorvelException(7, &info);
}

namespace {

// Clears the sticky status flags, or the first floating-point instruction of
// the thrower would raise the same exception again.
void ClearFloatStatus(CONTEXT* ctx)
{
    const WORD x87Flags = 0x80FF; // exception flags, stack fault, summary, busy
    const DWORD sseFlags = 0x3F;
#if defined(__x86_64__)
    ctx->MxCsr &= ~sseFlags;
    ctx->FltSave.MxCsr &= ~sseFlags;
    ctx->FltSave.StatusWord &= ~x87Flags;
#else
    ctx->FloatSave.StatusWord &= ~(DWORD)x87Flags;
    if ((ctx->ContextFlags & CONTEXT_EXTENDED_REGISTERS) == CONTEXT_EXTENDED_REGISTERS) {
        // The FXSAVE image: status word at byte 2, MXCSR at byte 24.
        *(WORD*)&ctx->ExtendedRegisters[2] &= ~x87Flags;
        *(DWORD*)&ctx->ExtendedRegisters[24] &= ~sseFlags;
    }
#endif
}

#if defined(__x86_64__)
ULONG_PTR FaultAddress(const CONTEXT* ctx) { return (ULONG_PTR)ctx->Rip; }
ULONG_PTR StackPointer(const CONTEXT* ctx) { return (ULONG_PTR)ctx->Rsp; }

// The C++ personality looks up a frame's handler at its return address less
// one byte, the end of the call instruction. For a fault the return address
// pushed is the faulting instruction plus one, so the lookup lands on the
// faulting instruction itself, which may be the first of its try block (a
// division alone in a try, say). At a real return address (a call into the
// system that raised the exception) it is taken as it is.
void Redirect(CONTEXT* ctx, bool atReturnAddress)
{
    ctx->Rax = ctx->Rip + (atReturnAddress ? 0 : 1);
    ctx->Rip = (DWORD64)(ULONG_PTR)&SehEntry;
}

// Unwinds the context, frame by frame with the system's unwind data, out of
// the system modules to their first caller outside them; the context is then
// at a return address, as if that caller had just made a call. False when no
// such caller is found within a few frames.
bool LeaveSystemModules(CONTEXT* ctx, const Translator& t)
{
    for (int depth = 0; depth < 16; ++depth) {
        if (!t.inSystemModule((ULONG_PTR)ctx->Rip))
            return true;
        DWORD64 base = 0;
        PRUNTIME_FUNCTION f = RtlLookupFunctionEntry(ctx->Rip, &base, nullptr);
        if (!f) {
            // A leaf function: its return address is on top of the stack.
            ctx->Rip = *(DWORD64*)ctx->Rsp;
            ctx->Rsp += 8;
            continue;
        }
        void* handlerData = nullptr;
        DWORD64 frame = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, ctx->Rip, f, ctx, &handlerData, &frame, nullptr);
    }
    return false;
}
#else
ULONG_PTR FaultAddress(const CONTEXT* ctx) { return (ULONG_PTR)ctx->Eip; }
ULONG_PTR StackPointer(const CONTEXT* ctx) { return (ULONG_PTR)ctx->Esp; }

// As on x64; 32-bit faults in system modules are never redirected, so the
// context is always at the faulting instruction.
void Redirect(CONTEXT* ctx, bool)
{
    ctx->Eax = ctx->Eip + 1;
    ctx->Eip = (DWORD)(ULONG_PTR)&SehEntry;
}

// 32-bit system modules carry no unwind data the library could walk, so
// exceptions raised inside them stay with the system.
bool LeaveSystemModules(CONTEXT* ctx, const Translator& t)
{
    return !t.inSystemModule(FaultAddress(ctx));
}
#endif

Translator::Translator() : slot(TlsAlloc()), registration(nullptr)
{
    system[0] = RangeOf(L"ntdll.dll");
    system[1] = RangeOf(L"kernelbase.dll");
    system[2] = RangeOf(L"kernel32.dll");
    if (slot != TLS_OUT_OF_INDEXES)
        registration = AddVectoredExceptionHandler(0, handler);
}

Translator::~Translator()
{
    if (registration)
        RemoveVectoredExceptionHandler(registration);
    if (slot != TLS_OUT_OF_INDEXES)
        TlsFree(slot);
}

void Translator::enableThread()
{
    if (slot != TLS_OUT_OF_INDEXES)
        TlsSetValue(slot, &threadFault);
}

PendingFault* Translator::threadSlot() const
{
    return slot == TLS_OUT_OF_INDEXES ? nullptr : (PendingFault*)TlsGetValue(slot);
}

bool Translator::inSystemModule(ULONG_PTR address) const
{
    for (const ImageRange& r : system)
        if (r.holds(address))
            return true;
    return false;
}

LONG CALLBACK Translator::handler(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* rec = info->ExceptionRecord;
    CONTEXT* ctx = info->ContextRecord;
    if (!rec || !ctx || !IsTranslated(rec->ExceptionCode) ||
        (rec->ExceptionFlags & EXCEPTION_NONCONTINUABLE))
        return EXCEPTION_CONTINUE_SEARCH;
    Translator& t = TheTranslator();
    if (t.inSystemModule(FaultAddress(ctx)) && !IsRaisedForCaller(rec->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    if (!StackUsable(StackPointer(ctx)))
        return EXCEPTION_CONTINUE_SEARCH;

    // TlsGetValue clears the last error; the faulting code keeps its own.
    DWORD error = GetLastError();
    PendingFault* pending = t.threadSlot();
    SetLastError(error);
    if (!pending || pending->busy)
        return EXCEPTION_CONTINUE_SEARCH;

    // The context is changed only once the exception is certain to be thrown.
    CONTEXT resume = *ctx;
    const bool fromSystem = t.inSystemModule(FaultAddress(ctx));
    if (fromSystem && !LeaveSystemModules(&resume, t))
        return EXCEPTION_CONTINUE_SEARCH;
    pending->record = *rec;
    pending->record.ExceptionRecord = nullptr;
    pending->busy = true;
    *ctx = resume;
    if (IsFloatingPoint(rec->ExceptionCode))
        ClearFloatStatus(ctx);
    Redirect(ctx, fromSystem);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Made on the first installSEH; removed when the library is unloaded.
Translator& TheTranslator()
{
    static Translator translator;
    return translator;
}

} // namespace

void KorvelException::installSEH()
{
    TheTranslator().enableThread();
}
