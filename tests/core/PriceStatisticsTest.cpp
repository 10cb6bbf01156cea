// Tests of the statistics room of a price sub-record.
#include "core/PriceStatistics.h"

#include "core/Database.h"
#include "core/PriceStream.h"
#include "core/StatisticsPeriod.h"
#include "platform/ByteOrder.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const uint16_t kMonday = Date(2006, 1, 2);

// Sets the latest database date and the period option for one test.
struct PeriodScope {
    PeriodScope(uint16_t latest, StatisticsPeriodOption option)
        : oldLatest(LatestDatabaseDate), oldOption(StatisticsPeriod)
    {
        LatestDatabaseDate = latest;
        StatisticsPeriod = option;
        ResetPeriodStart();
    }
    ~PeriodScope()
    {
        LatestDatabaseDate = oldLatest;
        StatisticsPeriod = oldOption;
        ResetPeriodStart();
    }
    uint16_t oldLatest;
    StatisticsPeriodOption oldOption;
};

StreamStatistics Compute(std::vector<uint8_t>& sub, CorrectionCursor corrections = {})
{
    ComputeStreamStatistics(sub.data(), sub.data() + sub.size(), corrections);
    return ReadStreamStatistics(sub.data());
}

} // namespace

TEST(PriceStatistics, FullDaysGiveLastPricesChangeAndExtremes)
{
    // Latest date Friday 13 January; period: 5 weekdays back = Friday 6 January, so the period holds
    // the days after it (9-13 January).
    PeriodScope scope(Date(2006, 1, 13), {1, 5});
    // Closes over 2-13 January (scale 100): 5, 9, 9, 3, 4 | 8, 2, 8, 2, 6; the last day carries a volume.
    std::vector<uint8_t> stream = {'E', 1, 0x08, 5, 0x08, 4, 0x08, 0, 0x08, 0x26, 0x08, 1,
                                   0x08, 4, 0x08, 0x26, 0x08, 6, 0x08, 0x26, 0x1F, 1, 2, 0x22, 3, 0x19, 0x20, ' '};
    std::vector<uint8_t> sub = SubRecord(100, kMonday, stream, 0, 1000.0f);
    StreamStatistics s = Compute(sub);
    EXPECT_FLOAT_EQ(s.lastClose, 0.06f);
    EXPECT_FLOAT_EQ(s.change, 0.04f);
    EXPECT_FLOAT_EQ(s.marketValue, 0.6f);
    EXPECT_FLOAT_EQ(s.lastOpen, 0.03f);
    EXPECT_FLOAT_EQ(s.lastHigh, 0.05f);
    EXPECT_FLOAT_EQ(s.lastLow, 0.03f);
    EXPECT_FLOAT_EQ(s.lastVolume, 2500);
    EXPECT_EQ(s.lastDate, Date(2006, 1, 13));
    // Ties go to the later day.
    EXPECT_FLOAT_EQ(s.periodHigh, 0.08f);
    EXPECT_EQ(s.periodHighDate, Date(2006, 1, 11));
    EXPECT_FLOAT_EQ(s.periodLow, 0.02f);
    EXPECT_EQ(s.periodLowDate, Date(2006, 1, 12));
    EXPECT_FLOAT_EQ(s.allTimeHigh, 0.09f);
    EXPECT_FLOAT_EQ(s.allTimeLow, 0.02f);
    EXPECT_EQ(LoadU16(sub.data() + 42), 0x8001);
    EXPECT_EQ(sub[44], 0x81);
    EXPECT_EQ(LoadU16(sub.data() + 46), 0x8001);
}

TEST(PriceStatistics, MarkedDaysAreLeftOut)
{
    PeriodScope scope(Date(2006, 1, 13), {1, 50});
    // 5, then 'A' (at 5), 'F', 7, then a trailing 'C'.
    std::vector<uint8_t> stream = {5, 'A', 'F', 2, 'C', ' '};
    std::vector<uint8_t> sub = SubRecord(1, kMonday, stream);
    StreamStatistics s = Compute(sub);
    EXPECT_FLOAT_EQ(s.lastClose, 7);
    EXPECT_FLOAT_EQ(s.change, 2);
    EXPECT_EQ(s.lastDate, Date(2006, 1, 5));
    EXPECT_FLOAT_EQ(s.allTimeLow, 5);
}

TEST(PriceStatistics, StreamWithoutPricedDaysStoresZeros)
{
    PeriodScope scope(Date(2006, 1, 13), {1, 50});
    for (std::vector<uint8_t> stream : {std::vector<uint8_t>{' '}, std::vector<uint8_t>{'A', 'C', ' '}}) {
        std::vector<uint8_t> sub = SubRecord(1, kMonday, stream);
        StreamStatistics s = Compute(sub);
        EXPECT_EQ(s.allTimeHigh, 0);
        EXPECT_EQ(s.allTimeLow, 0);
        EXPECT_EQ(s.periodHigh, 0);
        EXPECT_EQ(s.periodLow, 0);
        EXPECT_EQ(s.change, 0);
        EXPECT_EQ(s.lastDate, kMonday);
    }
}

TEST(PriceStatistics, CorrectionsCountInTheStatistics)
{
    PeriodScope scope(Date(2006, 1, 13), {1, 50});
    std::vector<uint8_t> sub = SubRecord(1, kMonday, {5, 1, 1, ' '});
    std::vector<DayRecord> corrections(1);
    corrections[0].date = Date(2006, 1, 3);
    corrections[0].close = 50;
    std::vector<uint8_t> bytes = CorrectionBytes(corrections);
    StreamStatistics s = Compute(sub, Corrections(bytes));
    EXPECT_FLOAT_EQ(s.allTimeHigh, 50);
    EXPECT_FLOAT_EQ(s.lastClose, 7);
}

TEST(PriceStatistics, PeriodExtremesCountMarkedDaysButNotDaysWithoutData)
{
    // 5, 'F' (at 5), 'A', 9, 3; period after Tuesday 3 January.
    std::vector<uint8_t> sub = SubRecord(1, kMonday, {5, 'F', 'A', 4, 0x26, ' '});
    RecomputeSubRecordExtremes(sub.data(), sub.data() + sub.size(), {}, kMonday);
    StreamStatistics s = ReadStreamStatistics(sub.data());
    EXPECT_FLOAT_EQ(s.periodHigh, 9);
    EXPECT_EQ(s.periodHighDate, Date(2006, 1, 5));
    EXPECT_FLOAT_EQ(s.periodLow, 3);
    EXPECT_EQ(s.periodLowDate, Date(2006, 1, 6));
    RecomputeSubRecordExtremes(sub.data(), sub.data() + sub.size(), {}, Date(2006, 1, 6));
    s = ReadStreamStatistics(sub.data());
    EXPECT_EQ(s.periodHigh, 0);
    EXPECT_EQ(s.periodLow, 0);
}

TEST(PriceStatistics, DateBackFromLatest)
{
    struct {
        uint16_t latest;
        uint32_t unit;
        int32_t count;
        uint16_t want;
    } cases[] = {
        {Date(2001, 2, 15), 3, 0, Date(2000, 1, 1)},
        {Date(2001, 4, 2), 3, 0, Date(2001, 1, 1)},
        {Date(2006, 1, 9), 1, 1, Date(2006, 1, 6)},
        {Date(2006, 1, 9), 1, 6, Date(2005, 12, 30)},
        {Date(2006, 3, 1), 2, 1, Date(2006, 2, 28)},
        {Date(2004, 3, 1), 2, 1, Date(2004, 2, 29)},
        {Date(2006, 1, 9), 4, Date(2005, 6, 1), uint16_t(Date(2005, 6, 1) - 1)},
        {Date(2006, 1, 9), 5, 10, 0},
        {0, 1, 10, 0},
        {Date(1900, 1, 3), 2, 100000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.latest << " unit " << c.unit << " count " << c.count);
        PeriodScope scope(c.latest, {1, 1});
        EXPECT_EQ(DateBackFromLatest(c.unit, c.count), c.want);
    }
}

TEST(PriceStatistics, PeriodStartFollowsTheLatestDate)
{
    PeriodScope scope(Date(2006, 1, 9), {2, 1});
    EXPECT_EQ(PeriodStart(), Date(2006, 1, 8));
    LatestDatabaseDate = Date(2006, 1, 10);
    EXPECT_EQ(PeriodStart(), Date(2006, 1, 9));
}

TEST(PriceStatistics, ChangeOfAnIndexIsWholeHundredthsOfAPoint)
{
    PeriodScope scope(Date(2006, 1, 13), {1, 50});
    // Index levels in hundredths of a point (scale 100): the float closes differ by 166.9395 or so.
    for (auto [before, after] : {std::pair{829039, 812345}, std::pair{812345, 829039}, std::pair{5, 9}}) {
        dev::PriceHistory history;
        history.scale = 100;
        history.firstDate = kMonday;
        for (int32_t close : {before, after}) {
            dev::HistoryDay day;
            day.close = close;
            history.days.push_back(day);
        }
        std::vector<uint8_t> stream;
        ASSERT_TRUE(dev::EncodePriceStream(history, stream));
        std::vector<uint8_t> sub = SubRecord(100, kMonday, stream);
        StreamStatistics s = Compute(sub);
        EXPECT_EQ(s.change, float((after - before) / 100.0)) << before << " to " << after;
    }
}
