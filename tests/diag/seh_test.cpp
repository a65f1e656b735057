// Faults arriving as KorvelException (group 7) at the catch clauses around them, written directly
// inside the try blocks: the library's package builds with -fnon-call-exceptions, so the compiler
// keeps those clauses.
#include <gtest/gtest.h>
#include <float.h>
#include <stdexcept>
#include "test_support.h"

namespace {

struct CountOnExit {
    int& n;
    ~CountOnExit() { ++n; }
};

volatile int* volatile nowhere = nullptr;
volatile int zero = 0;
volatile double zeroDouble = 0.0;

// Floating-point division by zero unmasked for the scope, then masked and cleared again so that the
// rest of the program computes as before.
struct UnmaskedZeroDivide {
    unsigned old = _controlfp(0, 0);
    UnmaskedZeroDivide()
    {
        _clearfp();
        _controlfp(old & ~_EM_ZERODIVIDE, _MCW_EM);
    }
    ~UnmaskedZeroDivide()
    {
        _clearfp();
        _controlfp(old, _MCW_EM);
    }
};

// A page that faults once with a guard-page violation.
struct GuardedPage {
    volatile int* page = (volatile int*)VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD);
    ~GuardedPage() { VirtualFree((void*)page, 0, MEM_RELEASE); }
};

// The first 8 hex digits and the name of the code, as the exception's text gives them.
std::string Named(const char* name, unsigned long code)
{
    char hex[16];
    snprintf(hex, sizeof hex, "%lx", code);
    return std::string(name) + "(" + hex + ")\nAddress=";
}

struct Fault {
    const char* name;
    unsigned long code;
    std::function<void()> raise;
};

} // namespace

TEST(StructuredExceptions, FaultsInsideTryBlocksArriveAsGroup7WithNameAndAddress)
{
    const Fault faults[] = {
        {"EXCEPTION_ACCESS_VIOLATION", 0xC0000005, [] { *nowhere = 1; }},
        {"EXCEPTION_INT_DIVIDE_BY_ZERO", 0xC0000094, [] { zero = 100 / zero; }},
        {"EXCEPTION_BREAKPOINT", 0x80000003, [] { DebugBreak(); }},
        {"EXCEPTION_INVALID_HANDLE", 0xC0000008,
         [] { RaiseException(EXCEPTION_INVALID_HANDLE, 0, 0, nullptr); }},
        {"EXCEPTION_GUARD_PAGE", 0x80000001, [] { GuardedPage g; zero = *g.page; }},
        {"EXCEPTION_ILLEGAL_INSTRUCTION", 0xC000001D, [] { __builtin_trap(); }},
    };
    // Twice each: the translation is ready again after it was used.
    for (int round = 0; round < 2; ++round)
        for (const Fault& f : faults) {
            Caught c = Catch(f.raise);
            EXPECT_TRUE(c.kind == Caught::Korvel && c.group == 7 && c.code == f.code) << f.name;
            EXPECT_EQ(0u, c.text.find(Named(f.name, f.code))) << c.text;
        }

    // Directly in the try block, the only instruction in it that can fault.
    bool caught = false;
    try {
        UnmaskedZeroDivide unmasked;
        zeroDouble = 1.0 / zeroDouble;
    } catch (const KorvelException& e) {
        // SSE reports a lone fault as such, several at once as multiple traps.
        caught = e.group == 7 && (e.exceptionCode == EXCEPTION_FLT_DIVIDE_BY_ZERO ||
                                  e.exceptionCode == 0xC00002B5 /* STATUS_FLOAT_MULTIPLE_TRAPS */);
        EXPECT_TRUE(caught) << Narrow(e.text);
    }
    EXPECT_TRUE(caught);
    EXPECT_EQ(2.0, zeroDouble + 2.0) << "the floating-point state is usable again";
}

TEST(StructuredExceptions, UnwindingRunsDestructorsAndOtherExceptionsAreLeftAlone)
{
    int unwound = 0;
    Caught c = Catch([&] {
        CountOnExit guard{unwound};
        *nowhere = 3;
        ++unwound; // not reached
    });
    EXPECT_TRUE(c.group == 7 && unwound == 1);
    c = Catch([] { throw std::runtime_error("plain"); });
    EXPECT_TRUE(c.kind == Caught::Std && c.text == "plain");
    c = Catch([] { throw KorvelException(1, 1013, "Could not load option file \"%s\".", "a.opt"); });
    EXPECT_TRUE(c.kind == Caught::Korvel && c.group == 1 && c.number == 1013 && c.code == 0);
    EXPECT_EQ("Could not load option file \"a.opt\".", c.text);

    // The system's own guarded probes keep their handlers: lstrlenW of a bad pointer answers 0
    // instead of throwing.
    int n = -1;
    EXPECT_TRUE(!Catch([&] { n = lstrlenW((LPCWSTR)(ULONG_PTR)16); }) && n == 0);
}

TEST(StructuredExceptions, TranslationBelongsToThreadsThatInstalledIt)
{
    std::string out;
    EXPECT_EQ(0u, RunChild(L"diag_child.exe", L"thread-seh", &out)) << out;
    EXPECT_NE(std::string::npos, out.find("caught 7")) << out;
    out.clear();
    EXPECT_EQ(0xC0000005u, RunChild(L"diag_child.exe", L"thread-raw", &out)) << out;
    EXPECT_EQ(std::string::npos, out.find("translated")) << out;
}

TEST(StructuredExceptions, TextsFromExceptionPointers)
{
    EXCEPTION_RECORD rec = {};
    rec.ExceptionAddress = (void*)0x1234;
    EXCEPTION_POINTERS info = {&rec, nullptr};
    const Fault named[] = {{"EXCEPTION_FLT_OVERFLOW", 0xC0000091, nullptr},
                           {"EXCEPTION_STACK_OVERFLOW", 0xC00000FD, nullptr},
                           {"EXCEPTION_SINGLE_STEP", 0x80000004, nullptr},
                           {"???", 0xE0000001, nullptr}};
    for (const Fault& f : named) {
        rec.ExceptionCode = f.code;
        KorvelException e(7, &info);
        EXPECT_EQ(Named(f.name, f.code) + Format("%p", (void*)0x1234), Narrow(e.text));
        EXPECT_EQ(f.code, e.exceptionCode) << f.name;
    }
}
