// The store under its lock with real threads: readers of summaries and of the lists' row loader
// while a writer adds keys and entries, and readers that load an older day side by side.
#include "core/ReadersWriterLock.h"
#include "realtime/IntradayState.h"
#include "realtime/store/RTStoreHooks.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <atomic>
#include <thread>

namespace qv {
namespace {

class RTStoreThreadsTest : public test::RTStoreTest {};

TEST_F(RTStoreThreadsTest, ReadersSeeWholeEntriesWhileTheWriterGrowsTheStore)
{
    WriteDay(MakeDay(test::kFri4, {0x4001, 0x4002}));
    WriteDay(MakeDay(test::kMon7, {0x4001, 0x4002}));
    WriteIndex();
    DestroyRTStoreObjects();
    InitRTStore();
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0}, reads{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r)
        readers.emplace_back([&] {
            while (!stop) {
                if (!RTShareHasIntraday(nullptr, 0x4001, 0))
                    ++bad;
                SharedLockGuard lock(IntradayStoreLock());
                RTDayRecord* day = GetRTDay(0, false);
                int32_t slot = -1;
                RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, 0x4002), *day, slot, false) : nullptr;
                std::array<uint32_t, kRTSummaryWords> words{};
                if (!e || GetRTSummaryBlock(e, words, *day) != 0)
                    ++bad;
                // An older day, loaded by whichever reader asks first.
                RTDayRecord* older = GetRTDay(test::kFri4, false);
                slot = -1;
                e = older ? GetRTDayShare(MakeRTKey(0, 0x4001), *older, slot, false) : nullptr;
                if (!e || !GetRTShareTickData(*e, *older, kRTLoadAllTicks))
                    ++bad;
                ++reads;
            }
        });
    for (uint16_t share = 0x4100; share < 0x4400; ++share) {
        ExclusiveLockGuard lock(IntradayStoreLock());
        EXPECT_EQ(IntradayLockFlag, 1);
        RTDayRecord* day = GetRTDay(0, false);
        int32_t slot = -1;
        RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, share), *day, slot, true);
        e->tickCount = 1;
    }
    while (reads < 50)
        std::this_thread::yield();
    stop = true;
    for (auto& t : readers)
        t.join();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(GetRTDay(0, false)->entries.size(), 2u + 0x300);
    CloseRTStore();
}

} // namespace
} // namespace qv
