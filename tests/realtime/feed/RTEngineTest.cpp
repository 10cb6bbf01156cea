// The engine's queries and marks: column values per letter, variant and mode, the day summary,
// column flags, change marks and their expiry, the recent-trades ring, the day roll-over and the
// watch lists.
#include "realtime/feed/RTEngine.h"

#include "realtime/FeedStates.h"
#include "realtime/store/RTDaySummary.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <bit>

namespace qv {
namespace {

using test::kMon7;
using test::kTue8;

uint32_t W(float f) { return std::bit_cast<uint32_t>(f); }

class RTEngineTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        RTDayRecord* day = GetRTDay(kMon7, true);
        int32_t slot = -1;
        RTDayShareEntry* e = GetRTDayShare(kKey, *day, slot, true);
        RTDaySummary s;
        s.previousClose = 95;
        AddRTSummaryQuote(s, 8 * 3600, 101, 99);
        AddRTSummaryTrade(s, 8 * 3600 + 60, 102, 1000); // a buy
        AddRTSummaryQuote(s, 9 * 3600, 104, 100);
        AddRTSummaryTrade(s, 9 * 3600 + 30, 98, 3000);  // a sell
        auto words = EmptyRTSummaryWords();
        WriteRTDaySummary(s, words);
        words[11] = W(106); // the offer's high and low, which the feed keeps beside the store's pairs
        words[15] = W(100);
        e->ticks.assign(words.begin(), words.end());
        e->tickCount = kRTSummaryWords;
        e->loadFlags |= kRTLoadAllTicks;
        TheRTEngine().exchanges[0].latestTime = 10 * 3600;
        TheRTEngineHooks().previousClose = [](uint16_t) { return 100.0f; };
    }
    void TearDown() override
    {
        TheRTEngineHooks() = {};
        TheRTEngine().exchanges = {};
        TheRTEngine().running = false;
        test::RTStoreTest::TearDown();
    }
    static constexpr uint32_t kKey = MakeRTKey(0, 0x4001);
    static int Value(char letter, uint32_t option, double& v)
    {
        return GetRTColumnValue(0, v, ShareRef{nullptr, 0, 0x4001}, uint16_t(letter), option);
    }
};

TEST_F(RTEngineTest, ColumnValuesByLetterVariantAndMode)
{
    struct Case {
        char letter;
        uint32_t option;
        int type;
        double value;
    };
    const double vwap = (102.0 * 1000 + 98.0 * 3000) / 4000;
    const Case cases[] = {
        {'G', 0, kRTValuePrice, 102},  // the open (the first trade)
        {'H', 0, kRTValuePrice, 98},   // the last trade
        {'I', 0, kRTValuePrice, 100},  // the bid, not the trade's direction
        {'J', 0, kRTValuePrice, 104},  // the offer
        {'J', 1, kRTValuePrice, 106},  // its high
        {'J', 2, kRTValuePrice, 100},  // its low
        {'J', 3, kRTValuePrice, 6},    // high less low
        {'K', 0, kRTValuePrice, 102},  // the mid
        {'K', 1, kRTValuePrice, 102},  // the mid's high (of 100 and 102)
        {'K', 2, kRTValuePrice, 100},
        {'P', 0, kRTValuePrice, 98},   // the latest trade
        {'P', 1, kRTValuePrice, 102},  // the trades' high and low
        {'P', 2, kRTValuePrice, 98},
        {'L', 0, kRTValueNumber, (104.0 - 100.0) * 200 / 204},
        {'M', 0, kRTValuePrice, vwap},
        {'N', 0, kRTValueTime, 9 * 3600 + 30}, // slot 0: the latest record
        {'O', 0, kRTValueTime, 3600 - 30},
        {'Q', 5, kRTValueNumber, 4000},
        {'Q', 6, kRTValueNumber, 1000}, // buys
        {'Q', 7, kRTValueNumber, 3000}, // sells
        {'Q', 4, kRTValueNumber, 3000}, // the last trade's volume
        {'R', 5, kRTValueNumber, 102.0 * 1000 + 98.0 * 3000},
        {'R', 8, kRTValueNumber, 0},
        {'S', 5, kRTValueInteger, 2},
        {'S', 6, kRTValueInteger, 1},
        {'S', 4, kRTValueInteger, 1},
        // Modes: 1 the difference from the close, 2 the percentage, 3 the time of the slot, 4 the
        // time since it.
        {'H', 0x100, kRTValuePrice, -2},
        {'H', 0x200, kRTValueNumber, -2},
        {'P', 0x300, kRTValueTime, 9 * 3600 + 30},
        {'P', 0x400, kRTValueTime, 3600 - 30},
        {'P', 0x2000 | 0x100, kRTValuePrice, -2}, // bit 13 is not part of the mode
        {'Z', 0, kRTValueNone, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        int type = Value(c.letter, c.option, v);
        SCOPED_TRACE(std::string(1, c.letter) + " option " + std::to_string(c.option));
        EXPECT_EQ(type, c.type);
        if (type != kRTValueNone) {
            EXPECT_NEAR(v, c.value, 1e-4);
        }
    }
}

TEST_F(RTEngineTest, MissingValuesAndDivisionsByZero)
{
    double v = 0;
    EXPECT_EQ(GetRTColumnValue(0, v, ShareRef{nullptr, 0, 0x4002}, 'G', 0), kRTValueNone) << "no entry for the share";
    EXPECT_EQ(GetRTColumnValue(1, v, ShareRef{nullptr, 0, 0x4001}, 'G', 0), kRTValueNone) << "no earlier day";
    // A share that has traded nothing: no average price, rather than a division by 0.
    RTDayRecord* day = GetRTDay(kMon7, false);
    int32_t slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4003), *day, slot, true);
    RTDaySummary s;
    AddRTSummaryQuote(s, 8 * 3600, 101, 99);
    auto words = EmptyRTSummaryWords();
    WriteRTDaySummary(s, words);
    e->ticks.assign(words.begin(), words.end());
    e->tickCount = kRTSummaryWords;
    e->loadFlags |= kRTLoadAllTicks;
    EXPECT_EQ(GetRTColumnValue(0, v, ShareRef{nullptr, 0, 0x4003}, 'M', 0), kRTValueNone);
    // No close: mode 1 gives type 0.
    TheRTEngineHooks().previousClose = [](uint16_t) { return 0.0f; };
    EXPECT_EQ(Value('H', 0x100, v), kRTValueZero);
    // An instrument the feed has not priced gives nothing.
    e->flags = kRTEntryNotInDatabase;
    EXPECT_EQ(GetRTColumnValue(0, v, ShareRef{nullptr, 0, 0x4003}, 'J', 0), kRTValueNone);
}

TEST_F(RTEngineTest, DaySummaryAndColumnFlags)
{
    std::array<float, 11> out{};
    ASSERT_TRUE(GetRTDaySummaryEx(out, kKey, kMon7));
    EXPECT_FLOAT_EQ(out[0], 102); // open
    EXPECT_FLOAT_EQ(out[3], 98);  // last
    EXPECT_FLOAT_EQ(out[4], 102); // mid
    EXPECT_FLOAT_EQ(out[1], 102); // the mid's high, widened by the open and the last
    EXPECT_FLOAT_EQ(out[2], 98);
    EXPECT_FLOAT_EQ(out[5], 4000);
    EXPECT_FLOAT_EQ(out[6], 95);
    EXPECT_FLOAT_EQ(out[7], 100); // bid
    EXPECT_FLOAT_EQ(out[8], 104); // offer
    std::array<float, 7> seven{};
    EXPECT_FALSE(GetRTDaySummary(seven, MakeRTKey(0, 0x4009), kMon7));
    EXPECT_EQ(seven, (std::array<float, 7>{}));

    struct Flags {
        char letter;
        uint32_t option, first, second;
    };
    const Flags flags[] = {{'I', 0xFF, 0, 3}, {'I', 0x10, 0, 1}, {'J', 0x08, 0, 2}, {'K', 0x80, 0, 2},
                           {'N', 0x40, 0, 1}, {'P', 0x03, 3, 0}, {'T', 0x01, 1, 0}, {'G', 0xFF, 0, 0}};
    for (const Flags& f : flags) {
        uint32_t a = 9, b = 9;
        DecodeIntradayColumnFlags(uint8_t(f.letter), f.option, a, b);
        EXPECT_EQ(a, f.first) << f.letter;
        EXPECT_EQ(b, f.second) << f.letter;
    }
}

TEST_F(RTEngineTest, ChangeMarksExpireAfterTheHighlight)
{
    RTActiveShare a;
    MarkRTTickChange(a, 1000, 2, 105, 99, 104, 100); // offer up, bid down, sum unchanged
    EXPECT_EQ(a.changeFlags, (1u << 2) | (2u << 4) | (3u << 6));
    MarkRTTickChange(a, 1500, 1, 98, 0, 102, 0);
    EXPECT_EQ(a.changeFlags & 3u, 2u);
    struct Case {
        uint8_t duration;
        uint32_t now, flags;
    };
    const Case cases[] = {{8, 1700, 0xFF}, {8, 1800, 0x03}, {8, 2300, 0x00}, {0, 1500, 0x00}};
    for (const Case& c : cases) {
        TheRTEngine().highlightDuration = c.duration;
        uint32_t flags = 0xFF;
        ExpireRTTickFlags(a, c.now, flags);
        EXPECT_EQ(flags, c.flags) << "duration " << int(c.duration) << " at " << c.now;
    }
    TheRTEngine().highlightDuration = 8;
}

TEST_F(RTEngineTest, RecentTradesKeepTheLast500)
{
    ClearRTRecentTrades();
    for (uint32_t i = 0; i < 503; ++i)
        AddRTRecentTrade({uint16_t(0x4000 + i % 7), i, float(i), 0, 0, 100});
    auto trades = RecentRTTrades();
    ASSERT_EQ(trades.size(), kRecentTrades - 1); // one slot stays free between head and tail
    EXPECT_EQ(trades.front().time, 503u - (kRecentTrades - 1));
    EXPECT_EQ(trades.back().time, 502u);
    ClearRTRecentTrades();
    EXPECT_TRUE(RecentRTTrades().empty());
}

TEST_F(RTEngineTest, NewDaysRollOverOnlyForwardAndWhileRunning)
{
    int notices = 0;
    TheRTEngineHooks().postToMainWindow = [&](uint32_t m) { notices += m == kMsgRTNewDay; };
    TheRTStore().newestDaySeen = kMon7;
    EXPECT_EQ(BeginRTDay(kTue8, true, true), nullptr) << "not while the engine is stopped";
    TheRTEngine().running = true;
    EXPECT_EQ(BeginRTDay(kMon7, true, true)->day, kMon7) << "the day in memory";
    RTDayRecord* tue = BeginRTDay(kTue8, true, true);
    ASSERT_NE(tue, nullptr);
    EXPECT_EQ(CurrentRTDay(), tue);
    EXPECT_EQ(TheRTStore().newestDaySeen, kTue8);
    EXPECT_EQ(TheRTEngine().exchanges[5].day, kTue8);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(BeginRTDay(kTue8, true, true), tue) << "the same day again does nothing";
    EXPECT_EQ(notices, 1);
}

TEST_F(RTEngineTest, RequestListsTakeWatchedSharesFirstThenTheDatabaseOnce)
{
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    AddRTWatchShare(ShareRef{nullptr, 0, 0x4100}, list);
    TheRTEngine().requestShares = {0x4001, 0x4100, 0x4200, 0x4201};
    TheRTEngine().requestCursor = 0;
    RTDayRecord* day = GetRTDay(kMon7, false);
    uint32_t keys[10] = {};
    ASSERT_EQ(BuildRTRequestList(*day, keys, 10), 1u);
    EXPECT_EQ(keys[0], MakeRTKey(0, 0x4100)) << "the watched share first";
    ASSERT_EQ(BuildRTRequestList(*day, keys, 10), 3u) << "then the database's, each once";
    EXPECT_EQ(keys[0], MakeRTKey(0, 0x4001));
    EXPECT_EQ(keys[2], MakeRTKey(0, 0x4201));
    EXPECT_EQ(BuildRTRequestList(*day, keys, 10), 0u);
    EXPECT_EQ(CountRTRequested(*day), 4u);
    ClearRTRequested(*day);
    EXPECT_EQ(CountRTRequested(*day), 0u);
    FreeRTWatchList(list);
}

TEST_F(RTEngineTest, WatchListsReAddSharesWithoutFreeingThem)
{
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    BeginRTWatchListUpdate(list, true);
    RTActiveShare* a = AddRTWatchShare(ShareRef{nullptr, 0, 0x4001}, list);
    RTActiveShare* b = AddRTWatchShare(ShareRef{nullptr, 0, 0x4002}, list);
    EndRTWatchListUpdate(list);
    ASSERT_NE(a, nullptr);
    BeginRTWatchListUpdate(list, true);
    EXPECT_EQ(AddRTWatchShare(ShareRef{nullptr, 0, 0x4002}, list), b);
    EXPECT_EQ(AddRTWatchShare(ShareRef{nullptr, 0, 0x4001}, list), a);
    EndRTWatchListUpdate(list);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(TheRTStore().activeShares.size(), 2u);
    BeginRTWatchListUpdate(list, true);
    AddRTWatchShare(ShareRef{nullptr, 0, 0x4002}, list);
    EndRTWatchListUpdate(list);
    EXPECT_EQ(TheRTStore().activeShares.size(), 1u) << "the share no list watches goes";
    FreeRTWatchList(list);
    EXPECT_TRUE(TheRTStore().activeShares.empty());
    EXPECT_TRUE(TheRTStore().watchLists.empty());
}

} // namespace
} // namespace qv
