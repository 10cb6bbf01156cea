// Backfill: request record bytes, the gap search and its requests, the status answer, and answer
// items written into the store with the watch lists marked at most every 2,000 ms.
#include "realtime/feed/RTBackfill.h"

#include "devtools/lib/FeedEncoder.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

using test::kMon7;

TEST(RTBackfillRecords, RequestRecordBytes)
{
    struct Case {
        PackedDate day;
        uint8_t source;
        uint32_t start, end;
        uint16_t sequence;
        RTRequestRecord bytes;
    };
    const Case cases[] = {
        {0x1234, 1, 0, 0, 0, {0x34, 0x12, 0x01, 0, 0, 0, 0, 0, 0, 0}},
        // start 1 at bit 21, end 1 at bit 42
        {0, 0, 1, 1, 0, {0, 0, 0x20, 0, 0, 0x04, 0, 0, 0, 0}},
        // 17-bit times: 86,400 s = 0x15180
        {kMon7, 14, 30600, 86400, 0, {}},
        // a queued request: kind 30 travels as 5, its sequence at bit 63
        {kMon7, 30, 100, 200, 0xBEEF, {}},
    };
    for (const Case& c : cases) {
        RTRequestRecord r = PackRTRequestRecord(c.day, c.source, c.start, c.end, c.sequence);
        if (c.bytes != RTRequestRecord{}) {
            EXPECT_EQ(r, c.bytes);
        }
        RTRequestFields f = UnpackRTRequestRecord(r);
        EXPECT_EQ(f.day, c.day);
        EXPECT_EQ(f.sourceOrKind, c.source >= 26 ? c.source - 25 : c.source);
        EXPECT_EQ(f.start, c.start);
        EXPECT_EQ(f.end, c.end);
        EXPECT_EQ(f.sequence, c.sequence);
        EXPECT_EQ(r[4] & 0xC0, 0) << "bits 38-41 stay 0";
        EXPECT_EQ(r[5] & 0x03, 0);
    }
}

TEST(RTBackfillRecords, StatusAnswersWithinTheirLength)
{
    dev::FeedBitWriter w;
    w.Bits(3, 6);
    w.Bits(2, 6), w.Bits(0, 1), w.Bits(0x2FFFF, 18);              // narrow, one value
    w.Bits(30, 6), w.Bits(1, 1), w.Bits(0xABCDEF, 24), w.Bits(7, 24); // wide, two values
    w.Bits(45, 6), w.Bits(0, 1), w.Bits(1, 18), w.Bits(2, 18);       // index 45: read, not kept
    RTStatusTables t;
    std::vector<uint8_t> bytes = w.bytes();
    ASSERT_EQ(bytes.size(), 17u) << "129 bits";
    EXPECT_EQ(ReadRTStatusAnswer(bytes, t), 17) << "the length in whole bytes, the partly used last one counted";
    EXPECT_EQ(t.first[2], 0x2FFFFu);
    EXPECT_EQ(t.second[2], 0u);
    EXPECT_EQ(t.first[30], 0xABCDEFu);
    EXPECT_EQ(t.second[30], 7u);
    // Every cut that loses a bit of the last item is refused, the tables untouched.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        RTStatusTables kept;
        kept.first[0] = 99;
        EXPECT_EQ(ReadRTStatusAnswer(std::span(bytes.data(), cut), kept), 0) << "cut at " << cut;
        EXPECT_EQ(kept.first[0], 99u);
    }
    // No items is a valid answer of one byte, told apart from a refused one.
    const uint8_t empty[] = {0};
    EXPECT_EQ(ReadRTStatusAnswer(empty, t), 1);
}

class RTBackfillTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        TheRTEngine().running = true;
        TheRTBackfillCounts() = {};
        GetRTDay(kMon7, true); // answers go only into a day the store holds
    }
    void TearDown() override
    {
        TheRTEngine().running = false;
        test::RTStoreTest::TearDown();
    }
    // Every request sent, by code.
    std::vector<std::pair<uint8_t, std::vector<uint8_t>>> sent;
    FeedSender send = [this](std::span<const uint8_t> data, uint8_t code) {
        sent.emplace_back(code, std::vector<uint8_t>(data.begin(), data.end()));
        return int(data.size());
    };
};

TEST_F(RTBackfillTest, GapsOfTheCoverageMapAreAskedForSourceBySource)
{
    RTDayRecord* day = GetRTDay(kMon7, true);
    // Source 4 (indices, mask 0xC0) covered 08:00-09:00 and 10:00-16:30; source 9 (0x30) not at all.
    for (uint32_t t = 8 * 3600; t < 9 * 3600; t += 15)
        MarkRTCovered(*day, 4, t);
    for (uint32_t t = 10 * 3600; t < 16 * 3600 + 1800; t += 15)
        MarkRTCovered(*day, 4, t);
    // Every source of the mask 0xC0 but 4 has a full row: no request for them.
    for (int source : {5, 6, 7, 8, 10, 11, 12, 13, 14})
        for (uint32_t t = 0; t < 86400; t += 15)
            MarkRTCovered(*day, source, t);
    EXPECT_EQ(CountRTCoveredSlots(*day, 4, 0, kRTCoverageSlots), 240u + 1560u);

    RTBackfillDay b;
    b.day = kMon7;
    b.mask = 0xC0;
    std::vector<std::pair<uint32_t, uint32_t>> gaps;
    for (int step = 0; step < 10 && !b.finished; ++step) {
        sent.clear();
        NextRTBackfillRequest(b, *day, false, send);
        for (const auto& [code, data] : sent)
            if (code == kRequestGap) {
                RTRequestFields f = UnpackRTRequestRecord(std::span<const uint8_t, 10>(data.data(), 10));
                EXPECT_EQ(f.sourceOrKind, 4);
                gaps.emplace_back(f.start, f.end);
                EXPECT_EQ(sent.back().first, kRequestMore) << "a step that asked ends with 0x33";
            }
    }
    EXPECT_TRUE(b.finished);
    // The morning before 08:00, the hour from 09:00; the evening gap runs to the end of the day and
    // follows a request, so it is not asked.
    EXPECT_EQ(gaps, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 8 * 3600}, {9 * 3600, 10 * 3600}}));

    // London's records come from source 0: with nothing of it covered, the whole day is asked once.
    RTBackfillDay london;
    sent.clear();
    NextRTBackfillRequest(london, *day, false, send);
    ASSERT_EQ(sent.size(), 2u);
    RTRequestFields whole = UnpackRTRequestRecord(std::span<const uint8_t, 10>(sent[0].second.data(), 10));
    EXPECT_EQ(whole.sourceOrKind, 0);
    EXPECT_EQ(whole.start, 0u);
    EXPECT_EQ(whole.end, 86400u);
    sent.clear();
    NextRTBackfillRequest(london, *day, false, send);
    EXPECT_TRUE(london.finished);

    // Once London's day has begun, the rest of it comes live: covered to 12:00 with no other gap,
    // nothing is asked (an answer would store what the live feed brings a second time).
    for (uint32_t t = 0; t < 12 * 3600; t += 15)
        MarkRTCovered(*day, 0, t);
    RTBackfillDay begun;
    sent.clear();
    NextRTBackfillRequest(begun, *day, false, send);
    EXPECT_TRUE(begun.finished);
    EXPECT_TRUE(sent.empty());

    // A day with nothing to ask is finished on its first step, sending nothing.
    for (uint32_t t = 0; t < 86400; t += 15)
        MarkRTCovered(*day, 0, t);
    RTBackfillDay covered;
    sent.clear();
    NextRTBackfillRequest(covered, *day, false, send);
    EXPECT_TRUE(covered.finished);
    EXPECT_TRUE(sent.empty());
}

TEST_F(RTBackfillTest, AnswerItemsGoInAndTheListsAreMarkedOnceIn2000ms)
{
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    // Prices in hundredths; a quote's second value is its offer, a trade's its volume.
    auto item = [](int kind, uint32_t share, uint32_t time, int64_t first, int64_t second) {
        if (share <= 0xFFFF)
            return dev::FeedBackfillItem(kind, uint16_t(share), time, first, second);
        // A share number of 20 bits the key cannot hold.
        std::vector<uint8_t> out = dev::FeedBackfillItem(kind, 0x4001, time, first, second);
        out[1 + 2] |= uint8_t(share >> 16);
        return out;
    };
    auto record = dev::FeedBackfillRecord;
    // The trade comes first in the answer but goes in after the quote.
    auto answer = record(kMon7, {item(2, 0x4001, 36000, 10045, 500), item(1, 0x4001, 36000, 10000, 10050)});
    EXPECT_EQ(ApplyRTBackfillItems(answer, 10000), 2);
    EXPECT_EQ(ApplyRTBackfillItems(record(kMon7, {item(1, 0x4001, 36010, 10010, 10060)}), 11999), 1);
    EXPECT_EQ(TheRTBackfillCounts().marks, 1u) << "two answers within 2,000 ms mark the lists once";
    EXPECT_EQ(ApplyRTBackfillItems(record(kMon7, {item(1, 0x4001, 36020, 10020, 10070)}), 12000), 1);
    EXPECT_EQ(TheRTBackfillCounts().marks, 2u);
    EXPECT_EQ(list.newData, 1);

    RTDayRecord* day = GetRTDay(kMon7, false);
    int32_t slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, false);
    ASSERT_NE(e, nullptr);
    RTDaySummary s = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e->ticks.data(), kRTSummaryWords));
    EXPECT_FLOAT_EQ(s.lastTrade, 100.45f);
    EXPECT_FLOAT_EQ(s.bid, 100.20f);
    EXPECT_FLOAT_EQ(s.offer, 100.70f);
    EXPECT_EQ(s.tradeCounts[0], 1u) << "the trade above the quote's mid is a buy: the quote went in first";

    // A share number above 0xFFFF is refused; a record whose items run past it goes in not at all.
    auto big = record(kMon7, {item(1, 0x14001, 36000, 10000, 10050)});
    EXPECT_EQ(ApplyRTBackfillItems(big, 20000), 0);
    EXPECT_EQ(TheRTBackfillCounts().quotes, 3u);
    auto cut = record(kMon7, {item(1, 0x4002, 36000, 10000, 10050)});
    cut.pop_back();
    StoreU16(cut.data(), uint16_t(cut.size()));
    EXPECT_EQ(ApplyRTBackfillItems(cut, 30000), -1);
    slot = -1;
    EXPECT_EQ(GetRTDayShare(MakeRTKey(0, 0x4002), *day, slot, false), nullptr);
    // A day the store does not hold is not made for an answer.
    ApplyRTBackfillItems(record(test::kTue8, {item(1, 0x4001, 36000, 10000, 10050)}), 40000);
    EXPECT_EQ(GetRTDay(test::kTue8, false), nullptr);
    FreeRTWatchList(list);
}

// A gap's answer comes after later records: the entry is written again in time order, so its
// trades meet the quotes of their time and its summary ends on the day's last trade, not the gap's.
TEST_F(RTBackfillTest, AnAnswerOlderThanTheEntrysRecordsGoesInInTimeOrder)
{
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    using dev::FeedBackfillItem;
    // 10:00 and 11:00 first, as the catch-up had them.
    ASSERT_EQ(ApplyRTBackfillItems(dev::FeedBackfillRecord(kMon7, {FeedBackfillItem(1, 0x4001, 36000, 10000, 10050),
                                                                   FeedBackfillItem(2, 0x4001, 36000, 10040, 100),
                                                                   FeedBackfillItem(1, 0x4001, 39600, 10200, 10250),
                                                                   FeedBackfillItem(2, 0x4001, 39600, 10210, 300)}),
                                   0),
              4);
    // Then the gap at 10:30: a quote around 90p and a trade at its offer (a buy there; a sell against
    // the 11:00 quote it would meet at the end of the stream).
    ASSERT_EQ(ApplyRTBackfillItems(dev::FeedBackfillRecord(kMon7, {FeedBackfillItem(1, 0x4001, 37800, 9000, 9050),
                                                                   FeedBackfillItem(2, 0x4001, 37800, 9050, 200)}),
                                   5000),
              2);
    FreeRTWatchList(list);
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(kMon7, false);
    int32_t slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, false);
    ASSERT_NE(e, nullptr);
    std::vector<std::pair<uint32_t, float>> trades;
    uint32_t last = 0;
    for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false)) {
        EXPECT_GE(i.time, last) << "in time order";
        last = i.time;
        if (i.kind == RTStoredItem::Trade)
            trades.emplace_back(i.time, i.value1);
    }
    EXPECT_EQ(trades, (std::vector<std::pair<uint32_t, float>>{{36000, 100.40f}, {37800, 90.50f}, {39600, 102.10f}}));
    RTDaySummary s = ReadRTDaySummary(std::span<const uint32_t, kRTSummaryWords>(e->ticks.data(), kRTSummaryWords));
    EXPECT_FLOAT_EQ(s.lastTrade, 102.10f);
    EXPECT_FLOAT_EQ(s.open, 100.40f);
    EXPECT_FLOAT_EQ(s.tradeLow, 90.50f);
    EXPECT_EQ(s.times[kRTSlotLatestTrade], 39600u);
    EXPECT_FLOAT_EQ(s.volumes[0] + s.volumes[1] + s.volumes[2], 600.0f);
    EXPECT_EQ(s.tradeCounts[kRTTradeBuy], 2u) << "the gap's trade at its own offer is a buy";
    EXPECT_EQ(s.tradeCounts[kRTTradeSell], 1u);
}

// The last answer of a run within 2,000 ms of a mark is shown once they have passed.
TEST_F(RTBackfillTest, AMarkHeldBackIsMadeOnceTheTimeHasPassed)
{
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    auto answer = [](uint32_t time) { return dev::FeedBackfillRecord(kMon7, {dev::FeedBackfillItem(1, 0x4001, time, 10000, 10050)}); };
    ApplyRTBackfillItems(answer(36000), 100000);
    list.newData = 0;
    ApplyRTBackfillItems(answer(36015), 101000);
    EXPECT_EQ(TheRTBackfillCounts().marks, 1u);
    FlushRTBackfillMarks(101999);
    EXPECT_EQ(TheRTBackfillCounts().marks, 1u) << "not before 2,000 ms";
    EXPECT_EQ(list.newData, 0);
    FlushRTBackfillMarks(102000);
    EXPECT_EQ(TheRTBackfillCounts().marks, 2u);
    EXPECT_EQ(list.newData, 1);
    FlushRTBackfillMarks(110000);
    EXPECT_EQ(TheRTBackfillCounts().marks, 2u) << "nothing came since";
    FreeRTWatchList(list);
}

} // namespace
} // namespace qv
