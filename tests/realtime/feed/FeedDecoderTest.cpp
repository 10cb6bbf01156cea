// Feed blocks into the store: what ends a block, records of day 0, the catch-up counter, a new
// day, short blocks, and instrument definitions.
#include "realtime/feed/FeedDecoder.h"

#include "devtools/lib/FeedEncoder.h"
#include "platform/ByteOrder.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/FeedRecord.h"
#include "realtime/feed/RTBackfill.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

using test::kMon7;
using test::kTue8;

class FeedDecoderTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        TheRTEngine().running = true;
        TheRTEngine().enabledFeeds = 0x300;
        TheFeedCatchUp() = {};
        TheFeedDecodeCounts() = {};
    }
    void TearDown() override
    {
        TheRTEngine().running = false;
        TheRTEngine().enabledFeeds = 0xFFFFFFFF;
        test::RTStoreTest::TearDown();
    }

    static std::vector<uint8_t> Record(PackedDate day, uint32_t seconds, uint16_t share = 0x4001, uint8_t source = 0,
                                       int32_t bid = 10000, bool trade = true)
    {
        dev::FeedPriceItem item{bid, bid + 50, std::nullopt, 1, 0, std::nullopt, std::nullopt};
        if (trade) {
            item.trade = bid + 25;
            item.volume = 2500;
        }
        return dev::FeedPriceRecord(source, day, seconds, {{share, {item}}});
    }
    static RTDayShareEntry* Entry(PackedDate day, uint16_t share)
    {
        RTDayRecord* d = GetRTDay(day, false);
        int32_t slot = -1;
        return d ? GetRTDayShare(MakeRTKey(0, share), *d, slot, false) : nullptr;
    }
    static std::vector<RTStoredItem> Ticks(PackedDate day, uint16_t share)
    {
        RTDayShareEntry* e = Entry(day, share);
        if (!e)
            return {};
        return ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false);
    }
};

TEST_F(FeedDecoderTest, ALiveRecordFillsTheEntryItsSummaryAndTheRecentTrades)
{
    ClearRTRecentTrades();
    auto rec = dev::FeedPriceRecord(0, kMon7, 9 * 3600,
                                    {{0x4001, {{10000, 10050, 10025, 1, 2500, 9990, 9900}}},
                                     {0x4005, {{500, 510, std::nullopt, 0, 0, std::nullopt, std::nullopt}}}});
    FeedBlockResult r = HandleFeedRecords(nullptr, rec, false);
    EXPECT_EQ(r.handled, 1);
    EXPECT_EQ(r.end, FeedBlockEnd::Complete);
    EXPECT_EQ(TheRTStore().newestDaySeen, kMon7) << "the record's day began a new trading day";

    RTDayShareEntry* e = Entry(kMon7, 0x4001);
    ASSERT_NE(e, nullptr);
    RTDaySummary s = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e->ticks.data(), kRTSummaryWords));
    EXPECT_FLOAT_EQ(s.bid, 10000.0f);
    EXPECT_FLOAT_EQ(s.offer, 10050.0f);
    EXPECT_FLOAT_EQ(s.lastTrade, 10025.0f);
    EXPECT_FLOAT_EQ(s.volumes[0] + s.volumes[1] + s.volumes[2], 2500.0f);
    EXPECT_FLOAT_EQ(s.open, 9990.0f) << "the announced opening price";
    EXPECT_FLOAT_EQ(s.previousClose, 9900.0f);
    EXPECT_EQ(s.times[kRTSlotOpen], 9u * 3600);

    auto items = Ticks(kMon7, 0x4001);
    ASSERT_EQ(items.size(), 4u); // time, quote, further prices, trade
    EXPECT_EQ(items[0].time, 9u * 3600);
    EXPECT_FLOAT_EQ(items[1].value1, 10050.0f);
    EXPECT_FLOAT_EQ(items[1].value2, 10000.0f);
    EXPECT_EQ(items[3].kind, RTStoredItem::Trade);
    EXPECT_FLOAT_EQ(items[3].value1, 10025.0f);
    EXPECT_EQ(Ticks(kMon7, 0x4005).size(), 3u) << "a quote without a trade";

    auto trades = RecentRTTrades();
    ASSERT_EQ(trades.size(), 1u);
    EXPECT_EQ(trades[0].share, 0x4001);
    EXPECT_FLOAT_EQ(trades[0].price, 10025.0f);
}

TEST_F(FeedDecoderTest, WhatEndsABlockKeepsTheRecordsBefore)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bad;
        FeedBlockEnd end;
    };
    auto beyond = Record(kMon7, 0);
    StoreU32(beyond.data() + 6, 86401u * 20);
    const Case cases[] = {
        {"a source the user does not take", Record(kMon7, 36000, 0x4002, 4), FeedBlockEnd::DisabledSource},
        {"source 15", Record(kMon7, 36000, 0x4002, 15), FeedBlockEnd::BadSource},
        {"source 200", Record(kMon7, 36000, 0x4002, 200), FeedBlockEnd::BadSource},
        {"a time beyond the day", beyond, FeedBlockEnd::TimeBeyondDay},
        {"another day while catching up", Record(kTue8, 36000, 0x4002), FeedBlockEnd::OtherDay},
    };
    for (const Case& c : cases) {
        ResetRTStore();
        TheFeedCatchUp() = {};
        TheFeedCatchUp().running = true;
        TheFeedCatchUp().day = kMon7;
        auto block = dev::FeedCatchUpBlock(36000 * 20, {Record(kMon7, 35000), c.bad, Record(kMon7, 37000, 0x4003)});
        FeedBlockResult r = HandleFeedRecords(nullptr, block, true);
        EXPECT_EQ(r.handled, 1) << c.what;
        EXPECT_EQ(r.end, c.end) << c.what;
        EXPECT_NE(Entry(kMon7, 0x4001), nullptr) << c.what << ": the record before stays";
        EXPECT_EQ(Entry(kMon7, 0x4002), nullptr) << c.what;
        EXPECT_EQ(Entry(kMon7, 0x4003), nullptr) << c.what << ": nothing after it is read";
    }
    // Source 9 is taken with the forex and index feeds, London (source 0) always.
    ResetRTStore();
    TheRTEngine().enabledFeeds = 0x330;
    auto ok = Record(kMon7, 36000, 0x4002, 9);
    EXPECT_EQ(HandleFeedRecords(nullptr, ok, false).end, FeedBlockEnd::Complete);
}

TEST_F(FeedDecoderTest, ShortRecordsAreRefusedWholeAndLoseNothing)
{
    auto good = Record(kMon7, 36000);
    ASSERT_EQ(HandleFeedRecords(nullptr, good, false).handled, 1);
    auto before = Entry(kMon7, 0x4001)->ticks;
    uint32_t words = Entry(kMon7, 0x4001)->tickCount;

    auto next = Record(kMon7, 36100, 0x4001, 0, 10100);
    for (size_t cut = 0; cut < next.size(); ++cut) {
        std::vector<uint8_t> part(next.begin(), next.begin() + long(cut));
        FeedBlockResult r = HandleFeedRecords(nullptr, part, false);
        EXPECT_EQ(r.handled, 0) << "cut at " << cut;
        EXPECT_EQ(r.end, FeedBlockEnd::Short) << "cut at " << cut;
    }
    // A catch-up block that promises more records than it holds keeps those it has.
    TheFeedCatchUp().day = kMon7;
    auto block = dev::FeedCatchUpBlock(0, {Record(kMon7, 36050, 0x4002)});
    StoreU16(block.data() + 8, 3);
    FeedBlockResult r = HandleFeedRecords(nullptr, block, true);
    EXPECT_EQ(r.handled, 1);
    EXPECT_EQ(r.end, FeedBlockEnd::Short);
    EXPECT_NE(Entry(kMon7, 0x4002), nullptr);
    EXPECT_EQ(HandleFeedRecords(nullptr, std::span(block.data(), 11), true).end, FeedBlockEnd::Short)
        << "a block header cut short";

    EXPECT_EQ(Entry(kMon7, 0x4001)->ticks, before) << "the entry is as it was";
    EXPECT_EQ(Entry(kMon7, 0x4001)->tickCount, words);
    EXPECT_EQ(HandleFeedRecords(nullptr, next, false).handled, 1) << "the whole record still goes in";
}

TEST_F(FeedDecoderTest, DayZeroIsSkippedAndANewDayRollsOver)
{
    int newDays = 0;
    TheRTEngineHooks().postToMainWindow = [&](uint32_t m) { newDays += m == kMsgRTNewDay; };
    auto block = dev::FeedCatchUpBlock(0, {Record(0, 36000, 0x4002), Record(kMon7, 36000)});
    TheFeedCatchUp().day = 0;
    // Live records, one by one: day 0 is skipped, counted as handled.
    FeedBlockResult r = HandleFeedRecords(nullptr, Record(0, 36000, 0x4002), false);
    EXPECT_EQ(r.handled, 1);
    EXPECT_TRUE(TheRTStore().dayChain.empty());
    HandleFeedRecords(nullptr, Record(kMon7, 36000), false);
    HandleFeedRecords(nullptr, Record(kTue8, 30000), false);
    EXPECT_EQ(newDays, 2);
    EXPECT_EQ(CurrentRTDay()->day, kTue8);
    EXPECT_EQ(TheRTStore().dayChain.size(), 2u) << "the older day has no file to load it again from: it stays";
    HandleFeedRecords(nullptr, Record(kMon7, 37000), false);
    EXPECT_EQ(newDays, 2) << "an older day does not roll over";
    EXPECT_EQ(CurrentRTDay()->day, kTue8);

    // A live record without a time ends the block.
    EXPECT_EQ(HandleFeedRecords(nullptr, Record(kTue8, 0), false).end, FeedBlockEnd::ZeroTime);
    TheRTEngineHooks().postToMainWindow = nullptr;
    (void)block;
}

// The feed's ticks fill the market table's entries whose source holds the share, against the
// previous close the feed gave; a new day empties them.
TEST_F(FeedDecoderTest, TicksFillTheMarketTableAndANewDayEmptiesIt)
{
    MarketSource source;
    source.listCode = 9;
    source.name = "Decoder test";
    source.shares = {0x4001};
    CRTMarketTable& table = TheRTMarketTable();
    CRTMarketTable::Entry& entry = table.SourceEntry(0x4001, source);
    // 09:00, bid 100.00 offer 100.50 against a previous close of 99.00: advancing, with its volume.
    HandleFeedRecords(nullptr, dev::FeedPriceRecord(0, kMon7, 9 * 3600, {{0x4001, {{10000, 10050, 10025, 1, 2500, std::nullopt, 9900}}},
                                                                      {0x4005, {{500, 510, 505, 1, 100, std::nullopt, 600}}}}),
                      false);
    EXPECT_EQ(entry.Day()[108].advancing, 1);
    EXPECT_EQ(entry.Day()[108].declining, 0) << "share 0x4005 is not in the source";
    EXPECT_FLOAT_EQ(entry.Day()[108].upVolume, 2500);
    // 09:10 below the close: the share declines from bucket 110 on.
    HandleFeedRecords(nullptr, Record(kMon7, 9 * 3600 + 600, 0x4001, 0, 9800, false), false);
    EXPECT_EQ(entry.Day()[109].advancing, 1);
    EXPECT_EQ(entry.Day()[110].declining, 1);
    HandleFeedRecords(nullptr, Record(kTue8, 9 * 3600, 0x4005), false);
    EXPECT_EQ(entry.Day()[110], MarketBucket{}) << "the new day starts empty";
    table.DeleteEntry(0x4001, 9);
}

// A source's entry made after some trading counts the day the store holds, in time order across the
// shares: share 0x4005 met late still stands in the buckets after its first tick.
TEST_F(FeedDecoderTest, ANewMarketEntryCountsTheStoredDayFirst)
{
    // 0x4001 above its close at 09:00 and below it at 10:00; 0x4005 below its close from 09:30.
    HandleFeedRecords(nullptr, dev::FeedPriceRecord(0, kMon7, 9 * 3600, {{0x4001, {{10000, 10050, 10025, 1, 2500, std::nullopt, 9900}}}}),
                      false);
    HandleFeedRecords(nullptr, dev::FeedPriceRecord(0, kMon7, 9 * 3600 + 1800, {{0x4005, {{500, 510, std::nullopt, 0, 0, std::nullopt, 600}}}}),
                      false);
    HandleFeedRecords(nullptr, Record(kMon7, 10 * 3600, 0x4001, 0, 9800, true), false);
    MarketSource source;
    source.listCode = 11;
    source.name = "Replay test";
    source.shares = {0x4001, 0x4005};
    CRTMarketTable& table = TheRTMarketTable();
    table.SourceEntry(0x4001, source);
    ReplayStoredMarketDay(11, kMon7);
    CRTMarketTable::Entry& entry = *table.FindEntry(0x4001, 11);
    EXPECT_FALSE(entry.building);
    struct Case {
        int bucket;
        uint16_t advancing, declining;
        float upVolume, downVolume;
    };
    const Case cases[] = {{107, 0, 0, 0, 0}, {108, 1, 0, 2500, 0}, {114, 1, 1, 0, 0}, {119, 1, 1, 0, 0}, {120, 0, 2, 0, 2500}};
    for (const Case& c : cases) {
        const MarketBucket& b = entry.Day()[size_t(c.bucket)];
        EXPECT_EQ(b.advancing, c.advancing) << c.bucket;
        EXPECT_EQ(b.declining, c.declining) << c.bucket;
        EXPECT_FLOAT_EQ(b.upVolume, c.upVolume) << c.bucket;
        EXPECT_FLOAT_EQ(b.downVolume, c.downVolume) << c.bucket;
    }
    table.DeleteEntry(0x4001, 11);
}

TEST_F(FeedDecoderTest, TheCatchUpCounterFollowsTheBlockTimes)
{
    FeedCatchUp& c = TheFeedCatchUp();
    c.running = true;
    c.day = kMon7;
    c.remaining = 100;
    struct Step {
        uint32_t blockTime;
        int32_t remaining;
    };
    const Step steps[] = {
        {0, 99},      // no time yet: one block
        {3000, 98},   // no last time set (0): one block
        {3150, 88},   // 150 / 15
        {3100, 87},   // an earlier time: one block
        {3100, 86},   // the same time: one block
    };
    for (const Step& s : steps) {
        auto block = dev::FeedCatchUpBlock(s.blockTime, {Record(kMon7, 36000)});
        HandleFeedRecords(nullptr, block, true);
        EXPECT_EQ(c.remaining, s.remaining) << "block time " << s.blockTime;
    }
    EXPECT_EQ(c.blocksPerSource[0], 1u) << "the first record noted its source once";
}

// The catch-up's blocks cover the day up to their last record: a stretch without trading between
// two blocks is quiet, not missing; only the stretch the server says London lacks stays a gap, from
// the last London record before it to the time the server serves London again.
TEST_F(FeedDecoderTest, CatchUpBlocksCoverQuietStretchesAndLeaveOnlyWhatTheServerLacks)
{
    TheRTEngine().enabledFeeds = 0x330; // London and the index values
    FeedCatchUp& c = TheFeedCatchUp();
    c.running = true;
    c.day = kMon7;
    const uint32_t lacksLondon = 1, notServedAgain = 0x1FFFFu << 15;
    struct Block {
        uint8_t source;
        std::vector<uint32_t> times;
        uint32_t header;
    };
    const Block blocks[] = {
        {0, {28800, 28830}, 0},                               // 08:00; the night before was quiet
        {0, {30000, 32000}, 0},                               // 20 quiet minutes since the block before
        {kFeedIndexSource, {33000, 36600}, lacksLondon | notServedAgain}, // index values only
        {0, {37200, 37215, 39000}, lacksLondon | (37200u << 15)},        // London again from 10:20
        {0, {39600, 40000}, 0},
    };
    for (const Block& b : blocks) {
        std::vector<std::vector<uint8_t>> records;
        for (uint32_t t : b.times)
            records.push_back(Record(kMon7, t, 0x4001, b.source));
        ASSERT_EQ(HandleFeedRecords(nullptr, dev::FeedCatchUpBlock(b.times.front() * 20, records, b.header), true).end,
                  FeedBlockEnd::Complete);
    }
    RTDayRecord* day = GetRTDay(kMon7, false);
    ASSERT_NE(day, nullptr);
    uint32_t first = 0, end = 0;
    ASSERT_TRUE(FindRTCoverageGap(*day, 0, first, end));
    EXPECT_EQ(first, 32000u / 15 + 1) << "London's gap starts after its last record before the lack";
    EXPECT_EQ(end, 37200u / 15) << "and ends where London is served again";
    first = end;
    ASSERT_TRUE(FindRTCoverageGap(*day, 0, first, end));
    EXPECT_EQ(first, 40000u / 15 + 1) << "then only the rest of the day, still to come";
    EXPECT_EQ(end, kRTCoverageSlots);
    first = 0;
    ASSERT_TRUE(FindRTCoverageGap(*day, kFeedIndexSource, first, end));
    EXPECT_EQ(first, 40000u / 15 + 1) << "a source first seen at 09:10 had been quiet since midnight";

    // A priority catch-up (some shares only) says nothing of the stretches between its records.
    ResetRTStore();
    TheRTStore().workAreaReady = true;
    c = {};
    c.running = c.priority = true;
    c.day = kMon7;
    HandleFeedRecords(nullptr, dev::FeedCatchUpBlock(0, {Record(kMon7, 30000), Record(kMon7, 36000)}), true);
    first = 30000 / 15;
    ASSERT_TRUE(FindRTCoverageGap(*GetRTDay(kMon7, false), 0, first, end));
    EXPECT_EQ(first, 30000u / 15 + 1);
    EXPECT_EQ(end, 36000u / 15);
}

TEST_F(FeedDecoderTest, ARecordingPlaysBackUntilAFrameIsRefused)
{
    std::vector<uint8_t> recording;
    auto add = [&](uint8_t kind, uint8_t code, const std::vector<uint8_t>& payload) {
        auto frame = EncodeFeedFrame(kind, code, payload);
        recording.insert(recording.end(), frame.begin(), frame.end());
    };
    add(kFeedDefinition, 0, dev::FeedInstrumentDefinition(MakeRTKey(0, 0xF200), "PLB", "Playback", 1, 2, 0, 1));
    add(kFeedLiveRecord, 0, Record(kMon7, 36000, 0xF200, 0, 12345));
    add(kFeedLiveRecord, 0, Record(kMon7, 36001, 0x4002)); // 1 s later: 50 ms / 32 apart
    add(77, 0, {1, 2, 3});                                  // a kind the client does not know
    size_t good = recording.size();
    add(kFeedLiveRecord, 0, Record(kMon7, 36002, 0x4003));
    StoreU32(recording.data() + good + 4, kFeedMaxPayload + 1); // an oversized frame
    EXPECT_EQ(PlayBackFeedFrames(recording, 32, nullptr), 4u);
    ASSERT_GE(Ticks(kMon7, 0xF200).size(), 2u);
    EXPECT_NEAR(Ticks(kMon7, 0xF200)[1].value2, 123.45f, 1e-3);
    EXPECT_NE(Entry(kMon7, 0x4002), nullptr);
    EXPECT_EQ(Entry(kMon7, 0x4003), nullptr) << "nothing behind the refused frame";
}

TEST_F(FeedDecoderTest, InstrumentDefinitionsApplyByTheirSequence)
{
    uint32_t key = MakeRTKey(0, 0xF123);
    EXPECT_TRUE(HandleRTInstrumentRecord(dev::FeedInstrumentDefinition(key, "ACME", "Acme Widgets", 2, 2, 5, 1)));
    auto& t = TheRTStore().table;
    RTKeySlot at = FindRTKeySlot(t, key);
    ASSERT_TRUE(at.found);
    RTInstrument* x = t.Instrument(t.keys[t.slotIndex[at.slot]].instrument);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(t.NameAt(x->longName), "Acme Widgets");
    EXPECT_EQ(x->exchange, 5);
    EXPECT_EQ(x->priceScale, 2);
    EXPECT_TRUE(HandleRTInstrumentRecord(dev::FeedInstrumentDefinition(key, "OLD", "Older", 1, 0, 6, 1)));
    EXPECT_EQ(t.NameAt(x->longName), "Acme Widgets") << "an older definition does not apply";

    // Prices of a share with scale index 2 come in hundredths.
    HandleFeedRecords(nullptr, Record(kMon7, 36000, 0xF123, 0, 12345), false);
    RTDayShareEntry* e = Entry(kMon7, 0xF123);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->flags & kRTEntryInstrumentApplied, kRTEntryInstrumentApplied);
    auto items = Ticks(kMon7, 0xF123);
    ASSERT_GE(items.size(), 2u);
    EXPECT_NEAR(items[1].value2, 123.45f, 1e-3);

    // A share of the database the table knows without an instrument record gets one from its
    // definition, and its prices their scale.
    RTDatabaseLookup previous = SetRTDatabaseLookup([](uint16_t s) { return s < 0x8000; });
    uint32_t known = MakeRTKey(0, 0x4007);
    AddRTKey(t, known, FindRTKeySlot(t, known).slot, ShareRef{nullptr, 0, 0x4007}, false);
    EXPECT_EQ(t.keys[t.slotIndex[FindRTKeySlot(t, known).slot]].instrument, kRTNoInstrument);
    EXPECT_TRUE(HandleRTInstrumentRecord(dev::FeedInstrumentDefinition(known, "KNW", "Known", 1, 2, 0, 1)));
    HandleFeedRecords(nullptr, Record(kMon7, 36000, 0x4007, 0, 64800), false);
    auto knownItems = Ticks(kMon7, 0x4007);
    ASSERT_GE(knownItems.size(), 2u);
    EXPECT_NEAR(knownItems[1].value2, 648.0f, 1e-3);
    EXPECT_EQ(Entry(kMon7, 0x4007)->flags & kRTEntryNotInDatabase, 0);
    SetRTDatabaseLookup(previous);

    auto def = dev::FeedInstrumentDefinition(MakeRTKey(0, 0xF124), "X", "Y", 1, 0, 70, 1);
    EXPECT_FALSE(HandleRTInstrumentRecord(def)) << "exchange 70 and above are refused";
    EXPECT_FALSE(HandleRTInstrumentRecord(dev::FeedInstrumentDefinition(MakeRTKey(70, 0xF124), "X", "Y", 1, 0, 1, 1)));
    def = dev::FeedInstrumentDefinition(MakeRTKey(0, 0xF125), "ACME", "Acme Widgets", 1, 0, 1, 1);
    for (size_t cut = 0; cut < def.size(); ++cut)
        EXPECT_FALSE(HandleRTInstrumentRecord(std::span(def.data(), cut))) << "cut at " << cut;
    EXPECT_FALSE(FindRTKeySlot(t, MakeRTKey(0, 0xF125)).found) << "a short definition adds nothing";
}

} // namespace
} // namespace qv
