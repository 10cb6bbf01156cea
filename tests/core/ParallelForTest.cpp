// The shared loops: every item made once, the in-order loop's takes in order and after their makes,
// and a take that stops the loop leaving nothing running.
#include "core/ParallelFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

namespace qv {
namespace {

TEST(ParallelForTest, CallsEveryItemOnce)
{
    for (size_t count : {0, 1, 7, 1000})
        for (size_t batch : {1, 16}) {
            std::vector<std::atomic<int>> calls(count);
            ParallelFor(count, [&](size_t i) { ++calls[i]; }, batch);
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(calls[i], 1) << count << " items in batches of " << batch << ", item " << i;
        }
}

TEST(ParallelForTest, TakesInOrderWhatEachMakeLeft)
{
    for (size_t count : {0, 1, 3, 500}) {
        std::vector<size_t> made(count, 0);
        std::vector<std::atomic<int>> makes(count);
        std::vector<size_t> taken;
        ParallelForInOrder(
            count,
            [&](size_t i) {
                ++makes[i];
                made[i] = i * i + 1;
            },
            [&](size_t i) {
                EXPECT_EQ(made[i], i * i + 1) << "taken before made: " << i;
                taken.push_back(i);
                return true;
            });
        ASSERT_EQ(taken.size(), count);
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(taken[i], i);
            EXPECT_EQ(makes[i], 1) << i;
        }
    }
}

// What the loop guarantees, whatever the machine's speed: no make begins more than kInOrderRunAhead
// items beyond the take, a stopped loop begins nothing past that, and nothing runs after it returns.
TEST(ParallelForTest, MakesRunAheadOfTheTakesNoFurtherThanTheLoopLets)
{
    constexpr size_t kCount = 2000;
    std::atomic<size_t> takesDone{0};
    std::atomic<size_t> furthest{0};
    ParallelForInOrder(
        kCount,
        [&](size_t i) {
            // Every take up to the one being taken has counted itself before this make could begin.
            const size_t lead = i + 1 - std::min(i + 1, takesDone.load());
            size_t seen = furthest.load();
            while (lead > seen && !furthest.compare_exchange_weak(seen, lead)) {
            }
        },
        [&](size_t i) {
            takesDone = i + 1;
            return true;
        });
    EXPECT_EQ(takesDone, kCount);
    EXPECT_LE(furthest, kInOrderRunAhead);
}

TEST(ParallelForTest, ATakeAnsweringFalseStopsTheLoop)
{
    constexpr size_t kCount = 2000;
    constexpr size_t kStop = 4;
    std::atomic<size_t> begun{0};
    std::atomic<size_t> ended{0};
    std::vector<size_t> taken;
    ParallelForInOrder(
        kCount,
        [&](size_t) {
            ++begun;
            ++ended;
        },
        [&](size_t i) {
            taken.push_back(i);
            return i < kStop;
        });
    const size_t afterReturn = begun;
    EXPECT_EQ(taken, (std::vector<size_t>{0, 1, 2, 3, 4}));
    EXPECT_LE(afterReturn, kStop + kInOrderRunAhead) << "items not begun are not made";
    EXPECT_EQ(ended, afterReturn) << "the loop returns when the makes begun have ended";
    EXPECT_EQ(begun, afterReturn) << "nothing begins once the loop has returned";
}

} // namespace
} // namespace qv
