// The shared loops: every item made once, the in-order loop's takes in order and after their makes,
// and a take that stops the loop leaving nothing running.
#include "core/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
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

TEST(ParallelForTest, ATakeAnsweringFalseStopsTheLoop)
{
    constexpr size_t kCount = 2000;
    std::atomic<size_t> makes{0};
    std::vector<size_t> taken;
    ParallelForInOrder(
        kCount,
        [&](size_t) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++makes;
        },
        [&](size_t i) {
            taken.push_back(i);
            return i < 4;
        });
    const size_t afterReturn = makes;
    EXPECT_EQ(taken, (std::vector<size_t>{0, 1, 2, 3, 4}));
    EXPECT_LT(afterReturn, kCount / 10) << "items not begun are not made";
    EXPECT_EQ(makes, afterReturn) << "nothing runs once the loop has returned";
}

} // namespace
} // namespace qv
