// Allocation rules, the clock, KMutex and KArray.
#include <gtest/gtest.h>
#include <malloc.h>
#include <string.h>
#include <algorithm>
#include <memory>
#include <vector>
#include "ksystem.h"
#include "kstring.h"

namespace {

TEST(Memory, ZeroSizesGiveNullAndTheHeapTotalFollowsBlocks)
{
    EXPECT_EQ(Malloc(0), nullptr);
    EXPECT_EQ(Calloc(0, 8), nullptr);
    EXPECT_EQ(Calloc(8, 0), nullptr);
    EXPECT_EQ(Realloc(nullptr, 0), nullptr);

    size_t before = GetHeapSize();
    ASSERT_GT(before, 0u);
    unsigned char* p = (unsigned char*)Calloc(4, 50000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0] | p[199999], 0);
    p[0] = 0x5A;
    EXPECT_GE(GetHeapSize(), before + 200000);
    p = (unsigned char*)Realloc(p, 300000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(_msize(p), 300000u);
    EXPECT_EQ(p[0], 0x5A);
    Free(p);
    EXPECT_LT(GetHeapSize(), before + 200000);
}

TEST(Clock, MonotonicSecondsMatchSleep)
{
    double t0 = get_time();
    EXPECT_GE(get_time(), t0);
    Sleep(50);
    double elapsed = get_time() - t0;
    EXPECT_GT(elapsed, 0.040);
    EXPECT_LT(elapsed, 0.500);
}

// A second thread that enters a mutex, reports it, and leaves when told.
class Prober {
public:
    explicit Prober(KMutex* m) : mutex(m)
    {
        entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, &Prober::run, this, 0, nullptr);
    }
    ~Prober()
    {
        SetEvent(release);
        // A thread still stuck in enter() is abandoned rather than waited for.
        WaitForSingleObject(thread, 2000);
        CloseHandle(thread);
        CloseHandle(entered);
        CloseHandle(release);
    }
    bool hasEntered(DWORD ms) { return WaitForSingleObject(entered, ms) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI run(void* arg)
    {
        Prober* p = (Prober*)arg;
        p->mutex->enter();
        SetEvent(p->entered);
        WaitForSingleObject(p->release, INFINITE);
        p->mutex->leave();
        return 0;
    }

    KMutex* mutex;
    HANDLE entered, release, thread;
};

// The mutexes are leaked when a test fails: the prober may still wait on them.
TEST(KMutex, ScopedLockHoldsUntilItsScopeEnds)
{
    KMutex* m = new KMutex;
    std::unique_ptr<Prober> probe;
    {
        KMutex guard(m);
        probe.reset(new Prober(m));
        EXPECT_FALSE(probe->hasEntered(150));
    }
    bool released = probe->hasEntered(5000);
    EXPECT_TRUE(released);
    probe.reset();
    if (released)
        delete m;
}

TEST(KMutex, IsRecursive)
{
    KMutex* m = new KMutex;
    m->enter();
    {
        KMutex inner(m);
        m->enter();
        m->leave();
    }
    bool released;
    {
        Prober probe(m);
        EXPECT_FALSE(probe.hasEntered(150));
        m->leave();
        released = probe.hasEntered(5000);
        EXPECT_TRUE(released);
    }
    if (released)
        delete m;
}

// Counts live instances so that missing or doubled destruction shows.
struct Tracked {
    static int live;
    int value;
    Tracked(int v = 0) : value(v) { ++live; }
    Tracked(const Tracked& o) : value(o.value) { ++live; }
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::live = 0;

TEST(KArray, AppendDoublesTheNewCountWhenFull)
{
    KArray<int> a;
    EXPECT_EQ(a.capacity(), 0);
    int caps[] = {2, 2, 6, 6, 6, 6, 14};
    for (int i = 0; i < 7; ++i) {
        a.append(10 + i);
        EXPECT_EQ(a.count(), i + 1);
        EXPECT_EQ(a.capacity(), caps[i]) << "append " << i + 1;
    }
    EXPECT_EQ(a[0] + a[6], 26);

    KArray<int> b(3);
    EXPECT_EQ(b[0] | b[1] | b[2], 0);
    b.append(7);
    EXPECT_EQ(b.capacity(), 8);
    EXPECT_EQ(b[3], 7);
    KArray<KString> e(2);
    EXPECT_TRUE(e[1].isNull());
    // Appending an element of the array itself while the storage moves.
    KArray<KString> s;
    s.append("first");
    s.append("second");
    s.append(s[0]);
    EXPECT_EQ(s[2], "first");
}

TEST(KArray, RemoveAndFindRemoveDestroyTheElement)
{
    {
        KArray<Tracked> a;
        for (int i = 0; i < 5; ++i)
            a.append(Tracked(i));
        a.remove(1);
        a.remove(4);
        a.remove(-1);
        EXPECT_EQ(Tracked::live, 4);
        ASSERT_EQ(a.count(), 4);
        EXPECT_EQ(a[1].value, 2);
        EXPECT_EQ(a[3].value, 4);

        EXPECT_EQ(a.findRemove(Tracked(7)), -1);
        EXPECT_EQ(a.count(), 4);
        EXPECT_EQ(a.findRemove(Tracked(3)), 2);
        EXPECT_EQ(a.count(), 3);
        EXPECT_EQ(a[2].value, 4);
    }
    EXPECT_EQ(Tracked::live, 0);
    KArray<int> empty;
    EXPECT_EQ(empty.findRemove(0), -1);
}

TEST(KArray, ReserveAndFreeDestroyTheElements)
{
    KArray<Tracked> a;
    a.append(Tracked(1));
    a.append(Tracked(2));
    a.reserve(5, true);
    EXPECT_EQ(Tracked::live, 5);
    EXPECT_EQ(a.count(), 5);
    EXPECT_EQ(a.capacity(), 5);
    EXPECT_EQ(a[0].value, 0);
    a.reserve(3, false);
    EXPECT_EQ(Tracked::live, 0);
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.capacity(), 3);
    a.append(Tracked(9));
    a.free();
    EXPECT_EQ(Tracked::live, 0);
    EXPECT_EQ(a.count(), -1);
}

int CompareInts(const int& a, const int& b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

TEST(KArray, SortOrdersByTheComparison)
{
    std::vector<std::vector<int>> inputs = {{}, {5}, {2, 1}, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}, {3, 3, 3, 3}};
    std::vector<int> mixed;
    unsigned state = 12345;
    for (int i = 0; i < 500; ++i) {
        state = state * 1103515245 + 12345;
        mixed.push_back((int)(state >> 16) % 37);
    }
    inputs.push_back(mixed);
    for (const std::vector<int>& in : inputs) {
        KArray<int> a;
        for (int v : in)
            a.append(v);
        a.sort(CompareInts);
        std::vector<int> want = in;
        std::sort(want.begin(), want.end());
        ASSERT_EQ(a.count(), (int)want.size());
        EXPECT_TRUE(std::equal(want.begin(), want.end(), a.begin())) << "size " << in.size();
    }
}

TEST(KArray, CopiesAreDeep)
{
    KArray<KString> a;
    a.append("one");
    a.append("two");
    KArray<KString> b(a);
    b[0] += "!";
    EXPECT_EQ(a[0], "one");
    EXPECT_EQ(b[0], "one!");
    EXPECT_NE((wchar_t*)a[1], (wchar_t*)b[1]);

    KArray<KString> c;
    c.append("x");
    c = a;
    ASSERT_EQ(c.count(), 2);
    EXPECT_EQ(c[1], "two");
}

} // namespace
