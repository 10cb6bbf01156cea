// The store's days and entries: the day chain and list, entries by key, slot maps that survive
// insertion, summaries, active shares and their subscribers.
#include "realtime/store/RTStore.h"

#include "realtime/store/RTDaySummary.h"
#include "support/DebugCapture.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;
using test::kTue8;
using test::kWed9;

class RTStoreDaysTest : public test::RTStoreTest {};

TEST_F(RTStoreDaysTest, DaysAreFoundMadeAndOrdered)
{
    EXPECT_EQ(GetRTDay(0, false), nullptr) << "no days at all";
    EXPECT_EQ(GetRTDay(kMon7, false), nullptr);
    EXPECT_TRUE(TheRTStore().days.empty()) << "a look-up without create leaves the day list";

    RTDayRecord* mon = GetRTDay(kMon7, true);
    ASSERT_NE(mon, nullptr);
    EXPECT_EQ(GetRTDay(0, false), mon) << "day 0 is the current day";
    RTDayRecord* fri = GetRTDay(kFri4, true);
    EXPECT_EQ(GetRTDay(0, false), mon) << "an older day does not become the current one";
    EXPECT_EQ(GetRTDay(-1, false), fri);
    EXPECT_EQ(TheRTStore().latestDay, kMon7);
    RTDayRecord* tue = GetRTDay(kTue8, true);
    EXPECT_EQ(GetRTDay(0, false), tue);
    EXPECT_EQ(TheRTStore().latestDay, kTue8);
    EXPECT_EQ(TheRTStore().days, (std::vector<PackedDate>{kFri4, kMon7, kTue8}));
    EXPECT_EQ(GetRTDay(-3, false), nullptr);
    EXPECT_EQ(GetRTDay(kWed9, false), nullptr);
    EXPECT_EQ(TheRTStore().days.size(), 3u);

    // Ages: weekdays back from the current day.
    EXPECT_EQ(GetRTDayOfAge(0), tue);
    EXPECT_EQ(GetRTDayOfAge(-1), mon);
    EXPECT_EQ(GetRTDayOfAge(-2), fri) << "the weekend is stepped over";
    EXPECT_EQ(GetRTDayOfAge(kFri4), fri);

    // Days no file holds cannot be loaded again, so they stay in memory.
    PurgeOldRTDays(true);
    EXPECT_EQ(TheRTStore().dayChain.size(), 3u);
    EXPECT_EQ(GetRTDay(0, false)->day, kTue8);
}

TEST_F(RTStoreDaysTest, StoredDaysLoadOnDemand)
{
    WriteDay(MakeDay(kFri4, {0x4001, 0x4002}));
    ScanRTHistoryFiles();
    ASSERT_TRUE(IsRTDayStored(kFri4));
    EXPECT_TRUE(TheRTStore().dayChain.empty());
    RTDayRecord* fri = GetRTDay(kFri4, false);
    ASSERT_NE(fri, nullptr);
    EXPECT_EQ(fri->entries.size(), 2u);
    EXPECT_EQ(GetRTDay(kFri4, false), fri) << "loaded once, then found in memory";
}

TEST_F(RTStoreDaysTest, EntriesStayWithTheirSharesWhenKeysAreInsertedBelowThem)
{
    RTDayRecord* day = GetRTDay(kMon7, true);
    int32_t slot = -1;
    RTDayShareEntry* high = GetRTDayShare(MakeRTKey(0, 0x5000), *day, slot, true);
    ASSERT_NE(high, nullptr);
    high->tickCount = 99;
    slot = -1;
    EXPECT_EQ(GetRTDayShare(MakeRTKey(0, 0x4000), *day, slot, false), nullptr);
    EXPECT_EQ(TheRTStore().table.keyCount, 1) << "a look-up without create adds no key";
    // A key below moves 0x5000's position in the sorted index; its entry must not move with it.
    slot = -1;
    RTDayShareEntry* low = GetRTDayShare(MakeRTKey(0, 0x4000), *day, slot, true);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(slot, 0);
    slot = -1;
    RTDayShareEntry* again = GetRTDayShare(MakeRTKey(0, 0x5000), *day, slot, false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->key, MakeRTKey(0, 0x5000));
    EXPECT_EQ(again->tickCount, 99u);
    EXPECT_EQ(slot, 1);
}

TEST_F(RTStoreDaysTest, AMapEntryNamingAnotherShareIsNotTrusted)
{
    RTDayRecord* day = GetRTDay(kMon7, true);
    int32_t slot = -1;
    GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, true);
    slot = -1;
    GetRTDayShare(MakeRTKey(0, 0x4002), *day, slot, true);
    std::swap(day->slotMap[0], day->slotMap[1]); // as a damaged file could hold
    slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, false);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->key, MakeRTKey(0, 0x4001));
}

TEST_F(RTStoreDaysTest, SummariesComeFromTheTickWordsOrEmptyWithEveryMaskBit)
{
    RTDayRecord* day = GetRTDay(kMon7, true);
    std::array<uint32_t, kRTSummaryWords> words{};
    EXPECT_EQ(GetRTSummaryBlock(nullptr, words, *day), -1);
    EXPECT_EQ(words, EmptyRTSummaryWords());
    EXPECT_EQ((words[6] >> 16) & 0x1FFF, 0x1FFFu);

    int32_t slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, true);
    dev::WriteIntradayEntry(*e, dev::GenerateIntradayDay(0x4001, kMon7, Prices(250.0f)), 247.5f);
    ASSERT_EQ(GetRTSummaryBlock(e, words, *day), 0);
    RTDaySummary s = ReadRTDaySummary(words);
    EXPECT_FLOAT_EQ(s.previousClose, 247.5f);
    EXPECT_FLOAT_EQ(s.open, 250.0f * 0.995f);
    EXPECT_FLOAT_EQ(s.lastTrade, 250.0f);
    EXPECT_EQ(s.times[kRTSlotLatestRecord], 16u * 3600 + 30 * 60);
    EXPECT_EQ(s.times[kRTSlotOpen], 8u * 3600);
}

TEST(RTSummaryTest, TimesAboveTheBiasClearTheirMaskBit)
{
    RTDaySummary s;
    s.times[0] = 43198; // below 21,600 units
    s.times[1] = 43200; // 21,600 units
    s.times[12] = 86398;
    std::array<uint32_t, kRTSummaryWords> w{};
    WriteRTDaySummary(s, w);
    uint16_t mask = uint16_t(w[6] >> 16);
    EXPECT_TRUE(mask & 1);
    EXPECT_FALSE(mask & 2);
    EXPECT_FALSE(mask & 0x1000);
    EXPECT_EQ(w[0] >> 16, 0u) << "stored less 21,600";
    RTDaySummary back = ReadRTDaySummary(w);
    EXPECT_EQ(back.times, s.times);
}

class RTActiveSharesTest : public test::RTStoreTest {};

TEST_F(RTActiveSharesTest, AListTakesOneSlotAndTheLiveCountFallsBackToZero)
{
    RTActiveShare* a = CreateRTActiveShare(ShareRef{nullptr, 0, 0x4001});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(CreateRTActiveShare(ShareRef{nullptr, 0, 0x4001}), a);
    RTWatchList lists[6];
    for (auto& l : lists)
        l.countsAsLive = 1;
    AddRTSubscriber(lists[0], *a);
    AddRTSubscriber(lists[0], *a);
    EXPECT_EQ(a->subscriberCount, 1);
    EXPECT_EQ(a->liveSubscribers, 1u);
    EXPECT_EQ(a->subscribers.size(), 4u);
    for (int i = 1; i < 6; ++i)
        AddRTSubscriber(lists[i], *a);
    EXPECT_EQ(a->subscriberCount, 6);
    EXPECT_EQ(a->subscribers.size(), 8u) << "a full array grows by 4";
    for (auto& l : lists) {
        RemoveRTSubscriber(l, *a);
        RemoveRTSubscriber(l, *a);
    }
    EXPECT_EQ(a->subscriberCount, 0);
    EXPECT_EQ(a->liveSubscribers, 0u);
}

TEST_F(RTActiveSharesTest, APruneFreesSharesWithoutSubscribersAndTheirBlocks)
{
    RTActiveShare* kept = CreateRTActiveShare(ShareRef{nullptr, 0, 0x4001});
    RTActiveShare* left = CreateRTActiveShare(ShareRef{nullptr, 0, 0x4002});
    CreateRTActiveShare(ShareRef{nullptr, 0, 0x4003});
    left->days.push_back(std::make_unique<RTShareDayBlock>());
    RTWatchList list;
    AddRTSubscriber(list, *kept);
    AddRTSubscriber(list, *left);
    RemoveRTSubscriber(list, *left);
    PruneRTActiveShares();
    ASSERT_EQ(TheRTStore().activeShares.size(), 1u);
    EXPECT_EQ(TheRTStore().activeShares.front().get(), kept);
    EXPECT_EQ(FindRTActiveShare(MakeRTKey(0, 0x4002)), nullptr);
}

} // namespace
} // namespace qv
