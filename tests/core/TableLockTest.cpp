// The table lock with real threads: exclusive per flag, independent across flags.
#include "core/TableLock.h"

#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace qv;
using namespace std::chrono_literals;

TEST(TableLock, ThreadsContendingForOneFlagTakeItOneAtATime)
{
    CreateDataLock();
    uint16_t flag = 0;
    std::atomic<int> inside{0};
    std::atomic<bool> overlap{false};
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                LockTable(&flag);
                if (inside.fetch_add(1) != 0)
                    overlap = true;
                ++counter;
                inside.fetch_sub(1);
                UnlockTable(&flag);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_FALSE(overlap);
    EXPECT_EQ(counter, 8 * 2000);
    EXPECT_EQ(flag, 0);
}

TEST(TableLock, ThreadsOnDifferentFlagsDoNotWaitForEachOther)
{
    uint16_t held = 0;
    uint16_t other = 0;
    LockTable(&held);
    // Several threads work on their own flag while the first stays taken.
    std::vector<std::future<int>> workers;
    for (int t = 0; t < 4; ++t) {
        workers.push_back(std::async(std::launch::async, [&] {
            for (int i = 0; i < 500; ++i) {
                TableLockGuard hold(&other);
            }
            return 1;
        }));
    }
    for (auto& w : workers)
        ASSERT_EQ(w.wait_for(30s), std::future_status::ready);
    EXPECT_TRUE(IsTableLocked(&held));
    UnlockTable(&held);
    EXPECT_FALSE(IsTableLocked(&held));
}

TEST(TableLock, AWaiterWokenByAnotherFlagWaitsOnUntilItsOwnIsFree)
{
    uint16_t a = 0;
    uint16_t b = 0;
    LockTable(&a);
    std::atomic<bool> gotA{false};
    std::thread waiter([&] {
        LockTable(&a);
        gotA = true;
        UnlockTable(&a);
    });
    for (int i = 0; i < 50; ++i) {
        LockTable(&b);
        UnlockTable(&b); // wakes the waiter, whose flag is still taken
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(gotA);
    UnlockTable(&a);
    waiter.join();
    EXPECT_TRUE(gotA);
    EXPECT_EQ(a, 0);
}

TEST(TableLock, ReleasingAFreeFlagLeavesItFree)
{
    uint16_t flag = 0;
    UnlockTable(&flag);
    EXPECT_EQ(flag, 0);
    LockTable(&flag);
    EXPECT_EQ(flag, 1);
    UnlockTable(&flag);
    EXPECT_EQ(flag, 0);
    CloseDataLock();
}
