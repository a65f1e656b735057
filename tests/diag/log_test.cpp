// The log file: its name and first line, sharing with a child process, trace
// scopes, the byte conversion and writes from several threads.
#include <gtest/gtest.h>
#include <korvel.h>
#include <regex>
#include <stdlib.h>
#include <string>
#include "diag_support.h"

namespace {

// One trace line: thread id, seconds since the last event, indentation, rest.
struct TraceLine {
    int thread = -1;
    double seconds = -1;
    int indent = -1;
    std::string rest;
};

TraceLine ParseTrace(const std::string& line)
{
    static const std::regex form(R"(^( *)(\d+) \[(\d+\.\d{6})\] ( *)(.*)$)");
    std::smatch m;
    TraceLine t;
    if (!std::regex_match(line, m, form))
        return t;
    // "%4d": the thread id is right-aligned in at least four columns.
    size_t width = m[1].length() + m[2].length();
    if (width < 4 || (m[1].length() > 0 && width != 4))
        return t;
    t.thread = atoi(m[2].str().c_str());
    t.seconds = atof(m[3].str().c_str());
    t.indent = (int)m[4].length();
    t.rest = m[5];
    return t;
}

double ValueAfter(const std::string& text, const std::string& key)
{
    size_t at = text.find(key);
    return at == std::string::npos ? -1 : atof(text.c_str() + at + key.size());
}

int ThreadId()
{
    return (int)GetCurrentThreadId();
}

std::string LogNameOf(const wchar_t* program)
{
    return Narrow((TempDir() + program + L".log").c_str());
}

} // namespace

TEST(LogFile, ProgramLogIsCreatedInTheTemporaryDirectory)
{
    EXPECT_EQ(LogNameOf(L"diag_tests"), Narrow(KDebug::getLogFileName()));
    EXPECT_NE(nullptr, KDebug::getHandle());

    SetEnvironmentVariableW(L"TARNWELL_LOGFILE", nullptr);
    std::wstring childLog = TempDir() + L"diag_child.log";
    DeleteFileW(childLog.c_str());
    ASSERT_EQ(0u, RunChild(L"diag_child.exe", L"log"));

    std::vector<std::string> lines = Lines(ReadFileText(childLog));
    ASSERT_EQ(5u, lines.size()) << ReadFileText(childLog);
    std::string created = "Log '" + LogNameOf(L"diag_child") + "' created hFile=";
    EXPECT_EQ(0u, lines[0].find(created)) << lines[0];
    EXPECT_GT(atoi(lines[0].c_str() + created.size()), 0) << lines[0];
    EXPECT_EQ("child line 1", lines[1]);
    EXPECT_EQ("ENTER[1] child scope", ParseTrace(lines[2]).rest);
    EXPECT_EQ(0u, ParseTrace(lines[3]).rest.find("LEAVE[1] dt=")) << lines[3];
    EXPECT_EQ("Closing logfile", lines[4]);
}

TEST(LogFile, ChildGivenTheHandleWritesIntoTheParentsLog)
{
    HANDLE log = KDebug::getHandle();
    ASSERT_NE(nullptr, log);
    std::wstring childLog = TempDir() + L"diag_child.log";
    DeleteFileW(childLog.c_str());

    MarkLog("shared");
    std::wstring number = std::to_wstring((ULONG_PTR)log);
    SetEnvironmentVariableW(L"TARNWELL_LOGFILE", number.c_str());
    DWORD code = RunChild(L"diag_child.exe", L"log");
    SetEnvironmentVariableW(L"TARNWELL_LOGFILE", nullptr);
    ASSERT_EQ(0u, code);
    Printf("parent again\n");

    std::vector<std::string> lines = Lines(LogAfter("shared"));
    ASSERT_EQ(6u, lines.size()) << LogAfter("shared");
    EXPECT_EQ("Log '" + LogNameOf(L"diag_child") + "' connected hFile=" +
                  std::to_string((ULONG_PTR)log),
              lines[0]);
    EXPECT_EQ("child line 1", lines[1]);
    EXPECT_EQ("ENTER[1] child scope", ParseTrace(lines[2]).rest);
    EXPECT_EQ(0u, ParseTrace(lines[3]).rest.find("LEAVE[1] dt=")) << lines[3];
    EXPECT_EQ("Closing logfile", lines[4]);
    EXPECT_EQ("parent again", lines[5]);
    // The child made no log of its own.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(childLog.c_str()));
}

TEST(TraceScopes, NestedScopesIndentAndLeaveInReverseOrder)
{
    MarkLog("trace");
    {
        KDebug outer("outer %d\n", 1);
        {
            KDebug inner("inner\n");
            Sleep(60);
            inner.print("half");
            inner.print(" done\n");
            inner.print("next\n");
        }
        Printf("indented %s\n", "text");
        LogPrintf("flush left\n");
        KDebug open("open");
        open.print(" end\n");
    }
    std::vector<std::string> lines = Lines(LogAfter("trace"));
    ASSERT_EQ(10u, lines.size()) << LogAfter("trace");

    TraceLine enterOuter = ParseTrace(lines[0]);
    TraceLine enterInner = ParseTrace(lines[1]);
    TraceLine half = ParseTrace(lines[2]);
    TraceLine next = ParseTrace(lines[3]);
    TraceLine leaveInner = ParseTrace(lines[4]);
    TraceLine enterOpen = ParseTrace(lines[7]);
    TraceLine leaveOpen = ParseTrace(lines[8]);
    TraceLine leaveOuter = ParseTrace(lines[9]);
    for (const TraceLine* t : {&enterOuter, &enterInner, &half, &next, &leaveInner, &enterOpen,
                               &leaveOpen, &leaveOuter})
        EXPECT_EQ(ThreadId(), t->thread);

    int id = atoi(enterOuter.rest.c_str() + 6);
    ASSERT_EQ("ENTER[" + std::to_string(id) + "] outer 1", enterOuter.rest);
    EXPECT_EQ(0, enterOuter.indent);
    EXPECT_EQ("ENTER[" + std::to_string(id + 1) + "] inner", enterInner.rest);
    EXPECT_EQ(2, enterInner.indent);
    // A print without a line feed is continued by the next on the same line.
    EXPECT_EQ("half done", half.rest);
    EXPECT_EQ(4, half.indent);
    EXPECT_GE(half.seconds, 0.05) << "time since the inner ENTER";
    EXPECT_EQ("next", next.rest);
    EXPECT_LT(next.seconds, half.seconds);
    EXPECT_EQ(0u, leaveInner.rest.find("LEAVE[" + std::to_string(id + 1) + "] dt="));
    EXPECT_EQ(2, leaveInner.indent);
    double innerDt = ValueAfter(leaveInner.rest, "dt=");
    EXPECT_GE(innerDt, 0.05);

    EXPECT_EQ("  indented text", lines[5]);
    EXPECT_EQ("flush left", lines[6]);
    EXPECT_EQ("ENTER[" + std::to_string(id + 2) + "] open end", enterOpen.rest);
    EXPECT_EQ(0u, leaveOpen.rest.find("LEAVE[" + std::to_string(id + 2) + "] dt="));
    EXPECT_EQ(0u, leaveOuter.rest.find("LEAVE[" + std::to_string(id) + "] dt="));
    EXPECT_EQ(0, leaveOuter.indent);
    EXPECT_GE(ValueAfter(leaveOuter.rest, "dt="), innerDt);
}

TEST(TraceScopes, TimeSinceTheLastEventAndRate)
{
    KDebug scope("rate\n");
    Sleep(50);
    double since = scope.dt();
    EXPECT_GE(since, 0.04);
    double rate = scope.rate(10);
    EXPECT_GT(rate, 0);
    EXPECT_LE(rate, 10 / since);
    // A finished line is a trace event.
    scope.print("line\n");
    EXPECT_LT(scope.dt(), since);
}

TEST(LogFile, WideTextIsWrittenByteWiseWithCarriageReturns)
{
    MarkLog("bytes");
    Printf("%U", L"a\x263A" L"b\xE9\n");
    LogPrintf("x\r\ny\n");
    KDebug::printString(L"p\nq");
    KDebug::printString(L"\n");
    EXPECT_EQ("a.b\xE9\r\nx\r\r\ny\r\np\r\nq\r\n", LogAfter("bytes"));
}

TEST(LogFile, LinesOfConcurrentThreadsDoNotInterleave)
{
    const int count = 500;
    struct Writer {
        char tag;
        HANDLE go;
        static DWORD WINAPI run(void* p)
        {
            auto* w = static_cast<Writer*>(p);
            std::string body(1500, w->tag);
            WaitForSingleObject(w->go, 10000);
            for (int i = 0; i < count; ++i) {
                Printf("%c%03d %s\n", w->tag, i, body.c_str());
                SwitchToThread(); // keeps both writers going at once
            }
            return 0;
        }
    };
    MarkLog("threads");
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Writer a{'a', go}, b{'b', go};
    HANDLE threads[2] = {CreateThread(nullptr, 0, Writer::run, &a, 0, nullptr),
                         CreateThread(nullptr, 0, Writer::run, &b, 0, nullptr)};
    Sleep(50);
    SetEvent(go);
    WaitForMultipleObjects(2, threads, TRUE, 30000);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    CloseHandle(go);

    int next[2] = {0, 0};
    for (const std::string& line : Lines(LogAfter("threads"))) {
        ASSERT_EQ(1505u, line.size()) << line.substr(0, 80);
        int k = line[0] - 'a';
        ASSERT_TRUE(k == 0 || k == 1) << line.substr(0, 80);
        char expected[8];
        snprintf(expected, sizeof(expected), "%c%03d ", line[0], next[k]);
        ASSERT_EQ(expected, line.substr(0, 5));
        ASSERT_EQ(std::string(1500, line[0]), line.substr(5));
        ++next[k];
    }
    EXPECT_EQ(count, next[0]);
    EXPECT_EQ(count, next[1]);
}
