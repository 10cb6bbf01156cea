// Tests of price work on whole records.
#include "core/PriceSubRecords.h"

#include "core/LinesAndTextFiles.h"
#include "core/PriceStatistics.h"
#include "platform/ByteOrder.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

TEST(PriceSubRecords, EachSubRecordEndsAtItsLengthAndTheLastAtTheRecordsEnd)
{
    std::vector<uint8_t> record =
        Record(0x4002, {SubRecord(1, Date(2006, 1, 2), {5}), SubRecord(1, Date(2006, 1, 2), {7, 1})});
    EXPECT_EQ(SubRecordCount(record.data()), 2u);
    SubRecordSpan first = SubRecordOf(record.data(), 0);
    EXPECT_EQ(first.sub, record.data() + 32);
    EXPECT_EQ(first.end, record.data() + 32 + 81);
    SubRecordSpan last = SubRecordOf(record.data(), 5);  // past the last: the last
    EXPECT_EQ(last.sub, record.data() + 32 + 81);
    EXPECT_EQ(last.end, record.data() + record.size());

    // Neither stream has an end mark: each stops at its own end.
    ComputeRecordStatistics(record.data());
    EXPECT_FLOAT_EQ(ReadStreamStatistics(first.sub).lastClose, 5);
    EXPECT_FLOAT_EQ(ReadStreamStatistics(last.sub).lastClose, 8);
}

TEST(PriceSubRecords, LengthsThatDoNotHoldTogetherEndTheWalk)
{
    std::vector<uint8_t> record =
        Record(0x4002, {SubRecord(1, Date(2006, 1, 2), {5}), SubRecord(1, Date(2006, 1, 2), {7, 1})});
    struct {
        const char* name;
        size_t offset;
        uint16_t value;
        uint32_t count;
    } cases[] = {
        {"sub-record shorter than its head", 32, 40, 0},
        {"sub-record past the record", 32, 400, 0},
        {"record shorter than its first sub-record", 0, 60, 0},
        {"first sub-record offset past the record", 22, 0x8000, 0},
        {"last sub-record shorter than its head", 0, 32 + 81 + 70, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> damaged = record;
        StoreU16(damaged.data() + c.offset, c.value);
        EXPECT_EQ(SubRecordCount(damaged.data()), c.count);
        ComputeRecordStatistics(damaged.data());
    }
    EXPECT_EQ(SubRecordCount(nullptr), 0u);
    EXPECT_FALSE(SubRecordOf(nullptr, 0));
}

TEST(PriceSubRecords, PeriodExtremesOfEveryStream)
{
    std::vector<uint8_t> record =
        Record(0x4002, {SubRecord(1, Date(2006, 1, 2), {5, 3, ' '}), SubRecord(1, Date(2006, 1, 2), {7, 0x21, ' '})});
    RecomputePeriodExtremes(record.data(), 0, Date(2006, 1, 1));
    EXPECT_FLOAT_EQ(ReadStreamStatistics(SubRecordOf(record.data(), 0).sub).periodHigh, 8);
    EXPECT_FLOAT_EQ(ReadStreamStatistics(SubRecordOf(record.data(), 1).sub).periodLow, 6);
}

TEST(PriceSubRecords, RecomputedStatisticsTakeTheStreamsCorrections)
{
    std::vector<uint8_t> record =
        Record(0x4005, {SubRecord(1, Date(2006, 1, 2), {5, ' '}), SubRecord(1, Date(2006, 1, 2), {7, 1, ' '})});
    ComputeRecordStatistics(record.data());
    uint8_t* second = SubRecordOf(record.data(), 1).sub;
    EXPECT_FLOAT_EQ(ReadStreamStatistics(second).lastClose, 8);

    std::vector<DayRecord> corrections(1);
    corrections[0].date = Date(2006, 1, 3);
    corrections[0].close = 80;
    std::vector<uint8_t> body(4, 0);  // the second head word; the blob adds its length word
    std::vector<uint8_t> records = CorrectionBytes(corrections);
    body.insert(body.end(), records.begin(), records.end());
    PriceCorrectionStore().SetItem(ShareItemKey(0x4005, 1), kPriceCorrectionKind, 0, MakeBlob(body));
    RecordCursor cursor{record.data(), 1};
    RecomputeStreamStatistics(&cursor);
    PriceCorrectionStore().FreeItems();
    EXPECT_FLOAT_EQ(ReadStreamStatistics(second).lastClose, 80);
    EXPECT_FLOAT_EQ(ReadStreamStatistics(SubRecordOf(record.data(), 0).sub).lastClose, 5);
}
