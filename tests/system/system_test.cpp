// Allocation rules, the clock, KMutex and KArray.
#include <gtest/gtest.h>
#include <malloc.h>
#include <algorithm>
#include "test_support.h"

namespace {

TEST(Memory, ZeroSizesTheHeapTotalAndTheClock)
{
    EXPECT_TRUE(!Malloc(0) && !Calloc(0, 8) && !Calloc(8, 0) && !Realloc(nullptr, 0));
    size_t before = GetHeapSize();
    ASSERT_GT(before, 0u);
    unsigned char* p = (unsigned char*)Calloc(4, 50000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0] | p[199999], 0);
    p[0] = 0x5A;
    EXPECT_GE(GetHeapSize(), before + 200000);
    p = (unsigned char*)Realloc(p, 300000);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(_msize(p) == 300000u && p[0] == 0x5A);
    Free(p);
    EXPECT_LT(GetHeapSize(), before + 200000);
    // get_time: monotonic seconds that follow a Sleep.
    double t0 = get_time();
    EXPECT_GE(get_time(), t0);
    Sleep(50);
    double elapsed = get_time() - t0;
    EXPECT_TRUE(elapsed > 0.040 && elapsed < 0.500) << elapsed;
}

// Enters and leaves the mutex on another thread, which ends once it got in.
DWORD WINAPI EnterAndLeave(void* m)
{
    static_cast<KMutex*>(m)->enter();
    static_cast<KMutex*>(m)->leave();
    return 0;
}

bool Ends(HANDLE thread, DWORD ms) { return WaitForSingleObject(thread, ms) == WAIT_OBJECT_0; }

// The mutex is leaked when a thread stays stuck in enter().
TEST(KMutex, ScopedLockHoldsUntilItsScopeEndsAndIsRecursive)
{
    KMutex* m = new KMutex;
    HANDLE first, second;
    {
        KMutex guard(m);
        first = CreateThread(nullptr, 0, EnterAndLeave, m, 0, nullptr);
        EXPECT_FALSE(Ends(first, 150));
    }
    ASSERT_TRUE(Ends(first, 5000));
    m->enter();
    {
        KMutex inner(m);
        m->enter();
        m->leave();
    }
    second = CreateThread(nullptr, 0, EnterAndLeave, m, 0, nullptr);
    EXPECT_FALSE(Ends(second, 150));
    m->leave();
    ASSERT_TRUE(Ends(second, 5000));
    CloseHandle(first);
    CloseHandle(second);
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

TEST(KArray, GrowthRemovalLifeOfElementsSortAndCopies)
{
    KArray<int> a, b(3);
    std::vector<std::pair<int, int>> sizes = {{a.count(), a.capacity()}};
    for (int i = 0; i < 7; ++i) {
        a.append(10 + i);
        sizes.push_back({a.count(), a.capacity()});
    }
    EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{0, 0}, {1, 2}, {2, 2}, {3, 6}, {4, 6}, {5, 6}, {6, 6},
                                                        {7, 14}}));
    EXPECT_EQ(a[0] + a[6], 26);
    EXPECT_EQ(b[0] | b[1] | b[2], 0);
    b.append(7);
    EXPECT_TRUE(b.capacity() == 8 && b[3] == 7 && KArray<KString>(2)[1].isNull());
    EXPECT_EQ(KArray<int>().findRemove(0), -1);
    // Appending an element of the array itself while the storage moves.
    KArray<KString> s;
    s.append("first");
    s.append("second");
    s.append(s[0]);
    EXPECT_EQ(s[2], "first");
    // Copies are deep.
    KArray<KString> copy(s), assigned;
    copy[0] += "!";
    EXPECT_TRUE(s[0] == "first" && copy[0] == "first!");
    EXPECT_NE((wchar_t*)s[1], (wchar_t*)copy[1]);
    assigned.append("x");
    assigned = s;
    ASSERT_EQ(assigned.count(), 3);
    EXPECT_EQ(assigned[1], "second");
    // remove, findRemove, reserve and free destroy exactly the elements they drop.
    {
        KArray<Tracked> t;
        for (int i = 0; i < 5; ++i)
            t.append(Tracked(i));
        t.remove(1);
        t.remove(4);
        t.remove(-1);
        ASSERT_EQ(t.count(), 4);
        EXPECT_EQ(std::vector<int>({Tracked::live, t[1].value, t[3].value, t.findRemove(Tracked(7)),
                                    t.count(), t.findRemove(Tracked(3)), t.count(), t[2].value}),
                  std::vector<int>({4, 2, 4, -1, 4, 2, 3, 4}));
    }
    EXPECT_EQ(Tracked::live, 0);
    KArray<Tracked> t;
    t.append(Tracked(1));
    t.append(Tracked(2));
    t.reserve(5, true);
    EXPECT_EQ(std::vector<int>({Tracked::live, t.count(), t.capacity(), t[0].value}),
              std::vector<int>({5, 5, 5, 0}));
    t.reserve(3, false);
    EXPECT_EQ(std::vector<int>({Tracked::live, t.count(), t.capacity()}), std::vector<int>({0, 0, 3}));
    t.append(Tracked(9));
    t.free();
    EXPECT_TRUE(Tracked::live == 0 && t.count() == -1);
    // sort orders by the comparison.
    std::vector<std::vector<int>> inputs = {{}, {5}, {2, 1}, {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}, {3, 3, 3}, {}};
    Random r(12345);
    for (int i = 0; i < 500; ++i)
        inputs.back().push_back((int)r.below(37));
    for (const std::vector<int>& in : inputs) {
        KArray<int> sorted;
        for (int v : in)
            sorted.append(v);
        sorted.sort([](const int& x, const int& y) { return x < y ? -1 : (x > y ? 1 : 0); });
        std::vector<int> want = in;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(std::vector<int>(sorted.begin(), sorted.begin() + sorted.count()), want) << in.size();
    }
}

} // namespace
