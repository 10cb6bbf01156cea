// What the alarm server reads of the intraday store itself: an earlier day's quotes for the stop-loss
// high, in the prices the rest of the store gives.
#include "realtime/alarms/AlarmMarket.h"

#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

class AlarmMarketStore : public test::RTStoreTest {};

TEST_F(AlarmMarketStore, AnEarlierDaysQuotesComeFromItsStoredDay)
{
    WriteDay(MakeDay(test::kMon7, {0x4001}));
    WriteIndex();
    LoadRTIndex();
    AlarmMarket market;
    const std::vector<AlarmQuote> quotes = market.DayQuotes(MakeRTKey(0, 0x4001), test::kMon7);
    ASSERT_FALSE(quotes.empty());
    const float close = 100.0f + float(0x4001 % 50); // the fixture's close, in pence
    for (const AlarmQuote& q : quotes) {
        EXPECT_LE(q.bid, q.offer) << q.time;
        EXPECT_GT(q.bid, close * 0.95f) << q.time;
        EXPECT_LT(q.offer, close * 1.05f) << q.time;
    }
    EXPECT_TRUE(market.DayQuotes(MakeRTKey(0, 0x4001), test::kTue8).empty()) << "a day not held";
    EXPECT_TRUE(market.DayQuotes(MakeRTKey(0, 0x4002), test::kMon7).empty()) << "a share the day lacks";
}

} // namespace
} // namespace qv
