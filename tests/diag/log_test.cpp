// The log file: its name and first line, sharing with a child process, trace scopes, the byte
// conversion and writes from several threads.
#include <gtest/gtest.h>
#include <regex>
#include "test_support.h"

// A trace line: "%4d [%f] " (thread id, seconds since the last event) and the rest, indentation
// included; thread -1 when the line is none.
struct TraceLine {
    int thread = -1;
    double seconds = -1;
    std::string rest;
    double dt() const { return atof(rest.c_str() + rest.find("dt=") + 3); } // LEAVE lines only
};

static TraceLine ParseTrace(const std::string& line)
{
    static const std::regex form(R"(^( *)(\d+) \[(\d+\.\d{6})\] (.*)$)");
    std::smatch m;
    // The thread id is right-aligned in at least four columns.
    if (!std::regex_match(line, m, form) || m[1].length() + m[2].length() != std::max(4, (int)m[2].length()))
        return TraceLine();
    return TraceLine{atoi(m[2].str().c_str()), atof(m[3].str().c_str()), m[4]};
}

// Without TARNWELL_LOGFILE a program creates its own log in the temporary directory; given the
// number of an open handle it writes into that file.
TEST(LogFile, OwnLogOrTheInheritedHandle)
{
    EXPECT_EQ(Narrow(TempDir()) + "diag_tests.log", Narrow(KDebug::getLogFileName()));
    const HANDLE log = KDebug::getHandle();
    ASSERT_NE(nullptr, log);
    const std::wstring childLog = TempDir() + L"diag_child.log";
    for (bool shared : {false, true}) {
        DeleteFileW(childLog.c_str());
        MarkLog("child");
        {
            EnvVar var(L"TARNWELL_LOGFILE", shared ? std::to_wstring((ULONG_PTR)log).c_str() : nullptr);
            ASSERT_EQ(0u, RunChild(L"diag_child.exe", L"log"));
        }
        Printf("parent again\n");
        const std::string text = shared ? LogAfter("child") : ReadFileText(childLog);
        const std::vector<std::string> lines = Lines(text);
        ASSERT_EQ(shared ? 6u : 5u, lines.size()) << text;
        const std::string first =
            "Log '" + Narrow(childLog) + (shared ? "' connected hFile=" : "' created hFile=");
        const long long handle = atoll(lines[0].substr(first.size()).c_str());
        EXPECT_TRUE(handle > 0) << lines[0];
        typedef std::vector<std::string> Texts;
        EXPECT_EQ((Texts{first + std::to_string(shared ? (long long)(ULONG_PTR)log : handle), "child line 1",
                         "ENTER[1] child scope", "LEAVE[1] dt=", "Closing logfile", "parent again"}),
                  (Texts{lines[0], lines[1], ParseTrace(lines[2]).rest,
                         ParseTrace(lines[3]).rest.substr(0, 12), lines[4],
                         shared ? lines[5] : "parent again"}));
        // A child given the handle makes no log of its own.
        EXPECT_EQ(shared, GetFileAttributesW(childLog.c_str()) == INVALID_FILE_ATTRIBUTES);
    }
}

TEST(LogText, TraceScopesTimesRateAndBytes)
{
    MarkLog("trace");
    {
        KDebug outer("outer %d\n", 1);
        {
            KDebug inner("inner\n");
            Sleep(60); // time spent in the scope, measured below
            const double since = inner.dt(), rate = inner.rate(10);
            EXPECT_TRUE(since >= 0.05 && rate <= 10 / since && rate >= 10 / inner.dt()) << rate;
            inner.print("half");
            inner.print(" done\n");
            inner.print("next\n");
            EXPECT_LT(inner.dt(), since) << "a finished line is a trace event";
        }
        Printf("indented %s\n", "text");
        LogPrintf("flush left\n");
        KDebug open("open");
        open.print(" end\n");
    }
    const std::vector<std::string> lines = Lines(LogAfter("trace"));
    ASSERT_EQ(10u, lines.size()) << LogAfter("trace");
    EXPECT_TRUE(lines[5] == "  indented text" && lines[6] == "flush left");
    std::vector<TraceLine> t;
    for (const std::string& line : lines)
        t.push_back(ParseTrace(line));
    const int id = atoi(t[0].rest.c_str() + 6);
    auto scope = [&](const char* what, int n) { return what + std::to_string(id + n) + "]"; };
    // Line, then indentation and text (LEAVE lines: up to "dt="). A print without a line feed is
    // continued by the next on the same line.
    const std::pair<size_t, std::string> rows[] = {
        {0, scope("ENTER[", 0) + " outer 1"}, {1, scope("  ENTER[", 1) + " inner"}, {2, "    half done"},
        {3, "    next"}, {4, scope("  LEAVE[", 1) + " dt="}, {7, scope("  ENTER[", 2) + " open end"},
        {8, scope("  LEAVE[", 2) + " dt="}, {9, scope("LEAVE[", 0) + " dt="},
    };
    for (const auto& r : rows) {
        const TraceLine& got = t[r.first];
        EXPECT_EQ((int)GetCurrentThreadId(), got.thread) << lines[r.first];
        EXPECT_EQ(r.second, r.second.back() == '=' ? got.rest.substr(0, r.second.size()) : got.rest);
    }
    EXPECT_TRUE(t[2].seconds >= 0.05 && t[3].seconds < t[2].seconds) << "time since the inner ENTER";
    EXPECT_TRUE(t[4].dt() >= 0.05 && t[9].dt() >= t[4].dt());
    // Wide text is written byte-wise, '.' above 255, with carriage returns.
    MarkLog("bytes");
    Printf("%U", L"a\x263A" L"b\xE9\n");
    LogPrintf("x\r\ny\n");
    KDebug::printString(L"p\nq");
    KDebug::printString(L"\n");
    EXPECT_EQ("a.b\xE9\r\nx\r\r\ny\r\np\r\nq\r\n", LogAfter("bytes"));
}

// Writes 500 lines of 1500 copies of its tag, letting other threads run between them.
static DWORD WINAPI WriteLines(void* tag)
{
    const std::string body(1500, *(char*)tag);
    for (int i = 0; i < 500; ++i, SwitchToThread())
        Printf("%c%03d %s\n", body[0], i, body.c_str());
    return 0;
}

TEST(LogFile, LinesOfConcurrentThreadsDoNotInterleave)
{
    MarkLog("threads");
    char tags[] = "ab";
    HANDLE threads[2] = {CreateThread(nullptr, 0, WriteLines, &tags[0], 0, nullptr),
                         CreateThread(nullptr, 0, WriteLines, &tags[1], 0, nullptr)};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 30000));
    for (HANDLE h : threads)
        CloseHandle(h);
    int next[2] = {0, 0};
    for (const std::string& line : Lines(LogAfter("threads"))) {
        const int k = line[0] - 'a';
        ASSERT_TRUE(k == 0 || k == 1) << line.substr(0, 80);
        ASSERT_EQ(Format("%c%03d ", line[0], next[k]++) + std::string(1500, line[0]), line);
    }
    EXPECT_EQ((std::vector<int>{500, 500}), (std::vector<int>{next[0], next[1]}));
}
