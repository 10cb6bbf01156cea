// Results figures by year, the 18-bit figures of the detailed blocks and the detailed items.
#include "lists/ResultsFigures.h"

#include "core/RecordLookup.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ResultsBlockEncoder.h"
#include "platform/ByteOrder.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint16_t kShare = 0x4001;
constexpr float kNone = kNoResultsValue;

struct Entry {
    uint16_t date;
    uint8_t kind;
    float profit, eps, dividend, turnover;
};

dev::DbItem Item(const Entry& e)
{
    dev::DbItem item;
    StoreU16(item.bytes.data(), e.date);
    item.bytes[2] = e.kind;
    StoreF32(item.bytes.data() + 4, e.profit);
    StoreF32(item.bytes.data() + 8, e.eps);
    StoreF32(item.bytes.data() + 12, e.dividend);
    StoreF32(item.bytes.data() + 16, e.turnover);
    return item;
}

class Results : public DatabaseFixture {
protected:
    // A share priced at `price` pence with the results table and the detailed blocks (fields 118 on).
    void LoadShare(const std::vector<Entry>& entries, const std::vector<std::vector<uint8_t>>& blocks = {},
                   int32_t price = 250)
    {
        dev::DbRecord r = dev::ShareRecord(kShare, "Alpha", 'O', "ALP");
        for (const Entry& e : entries)
            r.items.push_back(Item(e));
        dev::PriceHistory h;
        h.firstDate = Date(2018, 1, 1);
        for (int i = 0; i < 5; ++i) {
            dev::HistoryDay d;
            d.close = d.open = d.high = d.low = price;
            h.days.push_back(d);
        }
        r.subRecords = {dev::PriceSubRecord(10, 100, h)};
        dev::CompFile comp;
        for (uint8_t f = 118; f < 123; ++f)
            comp.records.descriptors.push_back({f, 0x00, {}});
        dev::CompanyItem item{kShare, 0, {}};
        for (size_t i = 0; i < blocks.size(); ++i)
            item.values[uint8_t(118 + i)].assign(blocks[i].begin() + 1, blocks[i].end());
        comp.records.items.push_back(item);
        std::vector<uint8_t> compDat = dev::WriteCompDat(comp);
        Load(dev::WriteQuorvaDat(OneEntry({r})), &compDat);
    }
    uint8_t* Share() { return FindShareRecord(kShare); }
    float Figure(int year, int item) { return GetResultsFigure(year, item, Share(), 0); }
};

const std::vector<Entry> kWithForecasts = {
    {Date(2019, 3, 31), 0, 10, 20, 8, 100},  {Date(2019, 9, 30), 1, 4, 9, 3, 48},
    {Date(2020, 3, 31), 0, 12, 24, 10, 110}, {Date(2021, 3, 31), 3, 15, 30, 12, 120},
    {Date(2022, 3, 31), 3, 18, 36, 14, 130},
};

} // namespace

TEST(ResultsBlockFigures, CodesDecodeAsDefined)
{
    const double e = std::exp(1.0);
    struct Case {
        uint32_t code;
        double value; // kNone for no value
    };
    for (Case c : {Case{0, 0}, Case{0x1FFFF, kNone}, Case{8u << 12, 1}, Case{9u << 12, e},
                   Case{0x20000 | (8u << 12), -1}, Case{(8u << 12) | 2048, 1 + (e - 1) / 2},
                   Case{1, (1 + (e - 1) / 4096) * std::exp(-8.0)}, Case{31u << 12, std::exp(23.0)}}) {
        float v = DecodeResultsFigure(c.code);
        if (c.value == kNone)
            EXPECT_EQ(v, kNone) << c.code;
        else
            EXPECT_NEAR(v, c.value, std::fabs(c.value) * 1e-6) << c.code;
    }
}

TEST(ResultsBlockFigures, EveryPositionOfABlockRoundTrips)
{
    dev::ResultsBlockFigures figures;
    for (size_t n = 0; n < figures.size(); ++n)
        figures[n] = (n % 3 == 0 ? -1.0 : 1.0) * std::pow(1.7, double(n)) * 0.37;
    figures[5].reset();
    figures[24] = 0.0;
    std::vector<uint8_t> block = dev::EncodeResultsBlock(Date(2020, 3, 31), figures);
    ASSERT_EQ(block.size(), 61u);
    EXPECT_EQ(block[0], 60);
    EXPECT_EQ(LoadU16(block.data() + 2), Date(2020, 3, 31));
    const double step = (std::exp(1.0) - 1) / 4096; // a mantissa step, relative
    for (int n = 0; n < 25; ++n) {
        float v = ReadResultsBlockFigure(block.data(), n);
        if (!figures[size_t(n)])
            EXPECT_EQ(v, kNone) << n;
        else
            EXPECT_NEAR(v, *figures[size_t(n)], std::fabs(*figures[size_t(n)]) * step) << n;
    }
    EXPECT_EQ(dev::EncodeResultsFigure(1e-6), 0u);       // below e^-8
    EXPECT_EQ(dev::EncodeResultsFigure(1e30), 0x1FFFEu); // the largest, not the no-value code
}

TEST_F(Results, YearsWalkFromTheFirstForecast)
{
    LoadShare(kWithForecasts);
    struct Case {
        int year, item;
        float value;
    };
    for (Case c : {Case{0, kResultsEps, 24}, Case{-1, kResultsEps, 20}, Case{-2, kResultsEps, kNone},
                   Case{1, kResultsEps, 30}, Case{2, kResultsProfit, 18}, Case{3, kResultsEps, kNone},
                   Case{0, kResultsDate, float(Date(2020, 3, 31))}, Case{0, kResultsClass, 0},
                   Case{0, kResultsDividend | kResultsInterimBit, 3}, Case{-1, kResultsEps | kResultsInterimBit, kNone},
                   Case{64, kResultsTurnover, 100}, Case{68, kResultsClass, 3}, Case{69, kResultsEps, kNone},
                   // Growth: 24 against 20 a year before, 36 against 24 two years before, clamped.
                   Case{0, 0x12, 20}, Case{2, 0x22, 50}, Case{0, 0x22, kNone}, Case{64, 0x12, kNone},
                   // Forecast growth: the last forecast's profit against the entry's.
                   Case{0, kResultsForecastGrowth, 50}}) {
        EXPECT_FLOAT_EQ(Figure(c.year, c.item), c.value) << c.year << " item " << c.item;
    }
}

TEST_F(Results, WithoutForecastsYearZeroIsTheLastAnnualEntry)
{
    LoadShare({{Date(2018, 12, 31), 0, 5, 10, 4, 50}, {Date(2019, 6, 30), 1, 0, 6, 2, 30},
               {Date(2019, 12, 31), 0, 0, 12, 5, 60}});
    EXPECT_EQ(Figure(1, kResultsEps), kNone);
    EXPECT_EQ(Figure(0, kResultsEps), 12);
    EXPECT_EQ(Figure(-1, kResultsEps), 10);
    EXPECT_EQ(Figure(0, kResultsEps | kResultsInterimBit), 6);
    // No forecast: item 5 is 0; a profit of 0 with a forecast would give no value (below).
    EXPECT_EQ(Figure(-1, kResultsForecastGrowth), 0);
    // Final dividend: 5 less the interim 2; the first entry counts as a full year.
    EXPECT_EQ(Figure(0, kResultsFinalDividend), 3);
    EXPECT_EQ(Figure(-1, kResultsFinalDividend), 4);
    // Growth needs both years above 0.
    EXPECT_EQ(Figure(0, 0x11), kNone);
}

TEST_F(Results, FinalDividendsOfShortYearsAreScaledAndNeverNegative)
{
    LoadShare({{Date(2019, 12, 31), 0, 1, 1, 4, 1},
               {Date(2020, 3, 31), 1, 1, 1, 5, 1},   // interim larger than the scaled final
               {Date(2020, 6, 30), 0, 1, 1, 8, 1},   // 182 days: 8 x 182 / 365
               {Date(2021, 6, 30), 3, 0, 1, 9, 1}}); // a forecast against a profit of 0
    EXPECT_EQ(Figure(0, kResultsFinalDividend), 0);
    EXPECT_NEAR(Figure(65, kResultsFinalDividend), 5 * 91 * 0.002739726, 1e-4); // the interim entry itself
    EXPECT_NEAR(Figure(0, kResultsDividend), 8, 1e-6);
    EXPECT_NEAR(Figure(1, kResultsFinalDividend), 9, 1e-6); // 365 days: a full year
    EXPECT_EQ(GetResultsFigure(1, kResultsForecastGrowth, Share(), 0), kNone);
}

TEST_F(Results, DetailedItemsReadTheMatchingYearsBlock)
{
    auto figures = [](double book, std::optional<double> gross) {
        dev::ResultsBlockFigures f;
        f.fill(1.0);
        f[0] = 100;   // shares (m)
        f[1] = 100;
        f[2] = book;
        f[3] = book / 2;
        f[16] = gross;
        f[19] = 20;   // net cash
        f[23] = 6;    // FRS3 post-tax
        f[24] = 0.0;  // minorities
        return f;
    };
    // Blocks in no fixed order; the year two back has a short block, the year one back none.
    LoadShare(kWithForecasts,
              {dev::EncodeResultsBlock(Date(2020, 3, 31), figures(50, 40)),
               dev::EncodeResultsBlock(Date(2019, 3, 31), figures(40, std::nullopt), 40)},
              /*price=*/25000);
    uint8_t* share = Share();
    auto item = [&](int yearByte, int code) { return GetResultsColumnValue(yearByte, code, share, 0); };
    const double step = 1e-3;
    EXPECT_NEAR(item(0, 25), 40.0 * 100 / 50, 8 * step);        // gross gearing on book value
    EXPECT_NEAR(item(0, 57), 40.0 * 100 / 25, 16 * step);       // ... on tangible book value
    EXPECT_NEAR(item(0, 23), (40.0 - 20) * 100 / 50, 4 * step); // net gearing
    EXPECT_NEAR(item(0, 38), 50.0 * 100 / 100, step * 50);      // NAV per share (p)
    EXPECT_NEAR(item(0, 5), 12 - 6, 6 * step);                  // tax paid: results profit less post-tax
    EXPECT_NEAR(item(0, 132), 6 / (100 * 10 * 0.01), step);     // dividend cover
    EXPECT_EQ(item(0, 70), 99);                                 // 25000p / 50p: capped
    EXPECT_EQ(item(0, 13), float(Date(2020, 3, 31)));
    EXPECT_EQ(item(0, 44), kNone);                              // a code without an item
    // The year before has no block that counts: only the results-table items have values.
    EXPECT_EQ(item(1, 25), kNone);
    EXPECT_EQ(item(1, 0), kNone);
    EXPECT_EQ(item(1, 1), 10);
    EXPECT_EQ(item(1, 32), 20);
    EXPECT_EQ(item(1, 36), kNone); // no interim before that year's end
    EXPECT_EQ(item(0, 36), 3);
    EXPECT_EQ(item(0, 45), float(Date(2019, 9, 30)));
    // Growth over a year from the results table: EPS 24 against 20; beyond the five years, none.
    EXPECT_NEAR(item(0x10, 32), 20, 1e-4);
    EXPECT_EQ(item(0x13, 32), kNone);
    EXPECT_EQ(item(0x21, 32), kNone); // two years back from one year ago: no entry

    // A missing gross borrowing leaves every gearing item without a value; a negative book value
    // leaves its price ratio negative rather than capped.
    LoadShare(kWithForecasts, {dev::EncodeResultsBlock(Date(2020, 3, 31), figures(-50, std::nullopt))}, 25000);
    share = Share();
    EXPECT_EQ(item(0, 25), kNone);
    EXPECT_EQ(item(0, 23), kNone);
    EXPECT_NEAR(item(0, 70), 25000.0 / -50, 1);
}
