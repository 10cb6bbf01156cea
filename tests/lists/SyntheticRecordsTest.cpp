// The composite of a list and the history of a portfolio, decoded back from their records' streams.
#include "lists/SyntheticRecords.h"

#include "core/DateText.h"
#include "core/LinesAndTextFiles.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "core/VarInt.h"
#include "portfolio/Transaction.h"
#include "ListFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace qv;
using namespace qv::test;

namespace {

struct Decoded {
    int16_t scale = 0;
    uint16_t first = 0, last = 0;
    std::vector<float> closes; // 0 for a day without value
};

Decoded DecodeRecord(uint8_t* record)
{
    Decoded out;
    uint8_t* sub = FirstSubRecord(record);
    out.scale = LoadI16(sub + kSubRecordScale);
    out.first = LoadU16(sub + kSubRecordFirstDate);
    out.last = LoadU16(sub + kSubRecordLastDate);
    EXPECT_EQ(SubRecordKindOf(sub), kSyntheticClass);
    EXPECT_EQ(std::string(GetRecordTexts(record).name).empty(), false);
    PriceDayWalker walker(sub, record + RecordLength(record), CorrectionCursor{});
    while (walker.next())
        out.closes.push_back(IsMarkedDay(walker.day()) ? 0.0f : walker.day().close);
    return out;
}

class Synthetic : public ListFixture {
protected:
    ~Synthetic() override { ProFree(record_); }
    uint8_t* record_ = nullptr;
};

TEST_F(Synthetic, OneShareCompositeIsItsPriceOverItsFirstClose)
{
    FixtureShare share{0x4001, "A", {11}};
    share.start = 400;
    share.step = 8;
    LoadShares({share});
    RecordCursor rows[] = {{RecordIndex[0x4001], 0}, {}};
    ASSERT_TRUE(BuildListCompositeSeries(record_, "Shares", rows, false, false));
    EXPECT_EQ(GetRecordTexts(record_).name, "Shares (not weighted)");
    Decoded d = DecodeRecord(record_);
    EXPECT_EQ(d.scale, 100);
    EXPECT_EQ(d.first, kListDay0);
    // One slot a weekday, as the price stream counts its days.
    ASSERT_EQ(d.closes.size(), size_t(kListDays));
    EXPECT_NEAR(d.closes.front(), 100.0f, 0.01f);
    EXPECT_NEAR(d.closes[2], 100.0f * 416 / 400, 0.01f) << "Wednesday";
    EXPECT_NEAR(d.closes[5], 100.0f * 440 / 400, 0.01f) << "the Monday after";
    EXPECT_NEAR(d.closes.back(), 100.0f * (400 + 8 * (kListDays - 1)) / 400, 0.01f);
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(Synthetic, CompositeLeavesOutRowsWithoutACloseOrCapital)
{
    LoadShares({{0x4001, "A", {11}}});
    RecordCursor none[] = {{}};
    EXPECT_FALSE(BuildListCompositeSeries(record_, "Empty", none, false, true));
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Not enough data to construct graph"});
    EXPECT_EQ(record_, nullptr);
}

HistoryTransaction Bought(uint16_t date, float amount, float holding)
{
    return {date, 1, 0x4001, 0, amount, holding, false};
}
HistoryTransaction Valued(uint16_t date) { return {date, kLatestRowType, 0x4001, 0, 0, 0, false}; }

TEST_F(Synthetic, ProfitIsValueLessMoneyPaid)
{
    FixtureShare share{0x4001, "A", {11}};
    share.start = 1200;
    share.step = 0;
    LoadShares({share});
    PortfolioHistoryInput input;
    input.chain = {Bought(kListDay0, 1000, 100), Valued(WeekdaysAfter(kListDay0, kListDays - 1))};
    PortfolioHistory profit = ComputePortfolioHistory(input, true);
    ASSERT_FALSE(profit.days.empty());
    EXPECT_DOUBLE_EQ(profit.days[0], 120000.0 - 100000.0) << "close 1200p x 100 shares less 1000 pounds";
    PortfolioHistory value = ComputePortfolioHistory(input, false);
    EXPECT_DOUBLE_EQ(value.days[3], 120000.0);
    EXPECT_EQ(value.days.size(), size_t(kListDays + 1)) << "one slot a weekday and the weekday after the end";

    input.title = "Mine";
    ASSERT_EQ(BuildPortfolioHistoryRecord(record_, input, true), 0);
    Decoded d = DecodeRecord(record_);
    EXPECT_EQ(d.scale, 100);
    EXPECT_NEAR(d.closes[0], 200.0f, 0.01f) << "20000 shown with the scale word 100";
}

TEST_F(Synthetic, AHoldingBoughtBeforeItsPricesShowsTheMoneyPutIn)
{
    FixtureShare share{0x4001, "A", {11}};
    share.start = 1200;
    share.step = 0;
    LoadShares({share});
    PortfolioHistoryInput input;
    uint16_t bought = WeekdaysAfter(kListDay0, -0) - 3; // the Friday before the prices start
    input.chain = {Bought(bought, 500, 100), Valued(WeekdaysAfter(kListDay0, kListDays - 1))};
    PortfolioHistory value = ComputePortfolioHistory(input, false);
    ASSERT_FALSE(value.days.empty());
    EXPECT_EQ(value.start, bought);
    EXPECT_DOUBLE_EQ(value.days[0], 50000.0);
    EXPECT_DOUBLE_EQ(value.days[1], 120000.0);
}

TEST_F(Synthetic, CashEntriesMoveTheValue)
{
    FixtureShare share{0x4001, "A", {11}};
    share.start = 1000;
    share.step = 0;
    LoadShares({share});
    PortfolioHistoryInput input;
    input.chain = {Bought(kListDay0, 1000, 100), Valued(WeekdaysAfter(kListDay0, kListDays - 1))};
    input.chartCash = true;
    input.cash = {{WeekdaysAfter(kListDay0, 5), 2, 300}, {WeekdaysAfter(kListDay0, 10), 1, 100},
                  {WeekdaysAfter(kListDay0, 15), 3, 50}};
    PortfolioHistory value = ComputePortfolioHistory(input, false);
    EXPECT_DOUBLE_EQ(value.days[4], 100000.0);
    EXPECT_DOUBLE_EQ(value.days[5], 130000.0);
    EXPECT_DOUBLE_EQ(value.days[10], 120000.0) << "type 1 takes money off";
    EXPECT_DOUBLE_EQ(value.days[15], 115000.0) << "type 3 takes money off";
}

// Over bank holidays every weekday keeps its own slot: the value of each trading day is the sum of
// the holdings at that day's closes (a share closed that day counts at its last close), a holiday of
// every record stays a day without value, and the user's corrections count.
TEST_F(Synthetic, PortfolioValueFollowsTheRecordsOverHolidays)
{
    FixtureShare a{0x4001, "A", {11}};
    a.holidays = {3, 10, 20};
    FixtureShare b{0x4002, "B", {11}};
    b.start = 500;
    b.step = -5;
    b.holidays = {10, 20};
    LoadShares({a, b});
    DayRecord corrected{};
    corrected.date = WeekdaysAfter(kListDay0, 7);
    corrected.close = 5000;
    std::vector<uint8_t> body(4, 0);
    std::vector<uint8_t> records = CorrectionBytes({corrected});
    body.insert(body.end(), records.begin(), records.end());
    PriceCorrectionStore().SetItem(0x4001, kPriceCorrectionKind, 0, MakeBlob(body));

    const uint16_t last = WeekdaysAfter(kListDay0, kListDays - 1);
    PortfolioHistoryInput input;
    input.chain = {Bought(kListDay0, 1000, 100), Valued(last),
                   {WeekdaysAfter(kListDay0, 5), 1, 0x4002, 0, 500, 200, false},
                   {WeekdaysAfter(kListDay0, 25), 2, 0x4002, 0, 300, 0, false},
                   {last, kLatestRowType, 0x4002, 0, 0, 0, false}};
    PortfolioHistory value = ComputePortfolioHistory(input, false);
    PriceCorrectionStore().FreeItems();
    ASSERT_EQ(value.start, kListDay0);
    ASSERT_GE(value.days.size(), size_t(kListDays));
    auto closeOf = [](const FixtureShare& s, int day) {
        while (std::find(s.holidays.begin(), s.holidays.end(), day) != s.holidays.end())
            --day;
        if (s.id == 0x4001 && day == 7)
            return 5000.0;
        return double(s.start + s.step * day);
    };
    for (int day = 0; day < kListDays; ++day) {
        SCOPED_TRACE(FormatDate(WeekdaysAfter(kListDay0, day)));
        if (day == 10 || day == 20) {
            EXPECT_EQ(value.days[size_t(day)], double(kSlotNoValue)) << "a holiday of every record";
            continue;
        }
        const double holdingB = day >= 5 && day < 25 ? 200 : 0;
        EXPECT_DOUBLE_EQ(value.days[size_t(day)], closeOf(a, day) * 100 + closeOf(b, day) * holdingB);
    }
}

// The composite counts weekdays as the price streams do: a share's day lands on its own date.
TEST_F(Synthetic, CompositeKeepsEachDayOnItsDate)
{
    FixtureShare a{0x4001, "A", {11}};
    a.start = 400;
    a.step = 8;
    a.holidays = {4};
    LoadShares({a});
    RecordCursor rows[] = {{RecordIndex[0x4001], 0}, {}};
    ASSERT_TRUE(BuildListCompositeSeries(record_, "Shares", rows, false, false));
    uint8_t* sub = FirstSubRecord(record_);
    PriceDayWalker walker(sub, record_ + RecordLength(record_), CorrectionCursor{}, true);
    int day = 0;
    while (walker.next() && day < kListDays) {
        SCOPED_TRACE(day);
        EXPECT_EQ(walker.day().date, WeekdaysAfter(kListDay0, day));
        if (day == 4)
            EXPECT_TRUE(IsMarkedDay(walker.day()));
        else
            EXPECT_NEAR(walker.day().close, 100.0f * float(400 + 8 * day) / 400, 0.01f);
        ++day;
    }
    EXPECT_EQ(day, kListDays);
}

TEST_F(Synthetic, ScalingKeepsEveryDifferenceInsideTheStream)
{
    const double none = kSlotNoValue;
    struct Case {
        std::vector<double> days;
        bool profit;
        int16_t scale;
        double first;
    } cases[] = {
        {{10, 200000}, false, 100, 10},            // value mode: a first value of 10 or less is not scaled
        {{10, 200000}, true, 10, 1},                // profit: divided until the largest is 100000 or less
        {{none, 5e7, 2e6}, true, -10, none},        // 100 -> 10 -> 0 -> -10
        {{5, 1e9}, false, 1, 0.05},                 // the difference must fit: past the early stop, 0 stored as 1
        {{50000, 60000}, false, 100, 50000},
    };
    for (const Case& c : cases) {
        std::vector<double> days = c.days;
        EXPECT_EQ(ScalePortfolioHistory(days, c.profit), c.scale);
        EXPECT_DOUBLE_EQ(days[0], c.first);
        double total = 0;
        for (double v : days)
            if (v != none) {
                double d = std::trunc(v - total);
                EXPECT_LE(std::fabs(d), kVarIntLimit);
                total += d;
            }
    }
}

TEST_F(Synthetic, NoDataShowsTheMessage)
{
    LoadShares({{0x4001, "A", {11}}});
    PortfolioHistoryInput input;
    input.chain = {{kListDay0, 1, 0x4999, 0, 100, 10, false}, {kListDay0, kLatestRowType, 0x4999, 0, 0, 0, false}};
    EXPECT_EQ(BuildPortfolioHistoryRecord(record_, input, false), -1);
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Not enough data to construct graph"});
    EXPECT_TRUE(ComputePortfolioHistory(input, false).incomplete);
}

} // namespace
