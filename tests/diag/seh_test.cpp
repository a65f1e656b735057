// Structured exceptions arriving as KorvelException at C++ catch clauses.
#include <gtest/gtest.h>
#include <korvel.h>
#include <stdexcept>
#include <stdlib.h>
#include "diag_support.h"
#include "faults.h"

namespace {

struct CountOnExit {
    int& n;
    ~CountOnExit() { ++n; }
};

// A frame with a destructor between the fault and the catch.
__attribute__((noinline)) void GuardedWrite(int& unwound, volatile int* p)
{
    CountOnExit guard{unwound};
    WriteThrough(p);
    ++unwound; // not reached
}

ULONG_PTR AddressInText(const std::string& text)
{
    size_t at = text.find("Address=");
    return at == std::string::npos ? 0 : (ULONG_PTR)strtoull(text.c_str() + at + 8, nullptr, 16);
}

} // namespace

TEST(StructuredExceptions, AccessViolationArrivesAsGroup7WithNameAndAddress)
{
    // Twice: the translation is ready again after it was used.
    for (int round = 0; round < 2; ++round) {
        bool caught = false;
        try {
            WriteThrough(nullptr);
        } catch (const KorvelException& e) {
            caught = true;
            EXPECT_EQ(7, e.group);
            EXPECT_EQ(0, e.number);
            EXPECT_EQ(0xC0000005ul, e.exceptionCode);
            std::string text = Narrow(e.getErrorText());
            EXPECT_EQ(0u, text.find("EXCEPTION_ACCESS_VIOLATION(c0000005)\nAddress=")) << text;
            ULONG_PTR fault = AddressInText(text);
            ULONG_PTR fn = (ULONG_PTR)&WriteThrough;
            EXPECT_TRUE(fault >= fn && fault < fn + 32) << text << " function at " << std::hex << fn;
        }
        EXPECT_TRUE(caught) << "round " << round;
    }
}

TEST(StructuredExceptions, UnwindingRunsDestructorsAndOtherFaultsAreNamed)
{
    int unwound = 0;
    try {
        GuardedWrite(unwound, nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const KorvelException& e) {
        EXPECT_EQ(7, e.group);
    }
    EXPECT_EQ(1, unwound);

    try {
        DivideBy(0);
        ADD_FAILURE() << "no exception";
    } catch (const KorvelException& e) {
        EXPECT_EQ(7, e.group);
        EXPECT_EQ(0xC0000094ul, e.exceptionCode);
        EXPECT_EQ(0u, Narrow(e.getErrorText()).find("EXCEPTION_INT_DIVIDE_BY_ZERO(c0000094)\n"));
    }

    // catch (...) takes it as well.
    bool any = false;
    try {
        WriteThrough(nullptr);
    } catch (...) {
        any = true;
    }
    EXPECT_TRUE(any);
}

TEST(StructuredExceptions, OrdinaryThrowsAndSystemProbesAreLeftAlone)
{
    try {
        throw std::runtime_error("plain");
    } catch (const KorvelException&) {
        ADD_FAILURE() << "a C++ exception was translated";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("plain", e.what());
    }

    try {
        throw KorvelException(1, 1013, "Could not load option file \"%s\".", "a.opt");
    } catch (const KorvelException& e) {
        EXPECT_EQ(1, e.group);
        EXPECT_EQ(1013, e.number);
        EXPECT_EQ(0ul, e.exceptionCode);
        EXPECT_EQ("Could not load option file \"a.opt\".", Narrow(e.getErrorText()));
    }

    // The system's own guarded probes keep their handlers: lstrlenW of a bad
    // pointer answers 0 instead of throwing.
    int n = -1;
    EXPECT_NO_THROW(n = lstrlenW((LPCWSTR)(ULONG_PTR)16));
    EXPECT_EQ(0, n);
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

TEST(StructuredExceptions, ConstructedFromExceptionPointers)
{
    EXCEPTION_RECORD rec = {};
    rec.ExceptionCode = EXCEPTION_FLT_OVERFLOW;
    rec.ExceptionAddress = (void*)0x1234;
    EXCEPTION_POINTERS info = {&rec, nullptr};
    KorvelException e(7, &info);
    KString expected;
    expected.set("EXCEPTION_FLT_OVERFLOW(c0000091)\nAddress=%p", (void*)0x1234);
    EXPECT_EQ(Narrow(expected), Narrow(e.getErrorText()));
    EXPECT_EQ(0xC0000091ul, e.exceptionCode);

    rec.ExceptionCode = 0xE0000001;
    KorvelException other(7, &info);
    EXPECT_EQ(0u, Narrow(other.getErrorText()).find("?" "?" "?(e0000001)\n"));
}
