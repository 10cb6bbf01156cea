// The formula templates of the shares catalogue: "Rolling EPS 1" byte for byte, the blend and guard
// cases on a small results fixture, and every template against a hand computation on a demo share.
#include "lists/FormulaTemplates.h"

#include "core/ColumnDef.h"
#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "core/RecordLookup.h"
#include "devtools/lib/DemoResults.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/CellValue.h"
#include "lists/FormulaColumn.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <map>
#include <optional>

using namespace qv;
using namespace qv::test;

namespace {

const FormulaTemplate& Template(int index)
{
    for (const FormulaTemplate& t : ShareFormulaTemplates())
        if (t.index == index)
            return t;
    throw std::out_of_range("no such template");
}

// The value of a template's column for a row, or nothing for an empty cell.
std::optional<float> TemplateValue(int index, uint8_t* record)
{
    std::vector<uint8_t> column = FormulaTemplateColumn(Template(index));
    char text[kCellTextBytes];
    FormatColumnValue(record, 0, column.data(), text, sizeof text, 1, nullptr, 0);
    if (text[0] == 0)
        return std::nullopt;
    return LastCellValue().value;
}

LocalDateTime On(PackedDate d) { return {FullYear(d), MonthOfYear(d), DayOfMonth(d), 12, 0, 0, 0, 0}; }

TEST(FormulaTemplates, TheCatalogueHoldsTwentyNineSoundRecords)
{
    ASSERT_EQ(ShareFormulaTemplates().size(), 29u);
    EXPECT_EQ(Template(33).tokens, (std::vector<uint8_t>{0xEB, 0xE3, 0xFE, 0xFE, 0xE0, 0x8B, 0x3F, 0x00, 0xFD, 0x3F,
                                                          0x22, 0x3F, 0x12, 0x8C, 0x3F, 0x02, 0xFD, 0xFF}));
    for (const FormulaTemplate& t : ShareFormulaTemplates()) {
        std::vector<uint8_t> layout = FormulaTemplateColumn(t);
        layout.push_back(0);
        EXPECT_EQ(ValidateColumnLayout(layout), layout.size()) << t.title;
        EXPECT_STREQ(ColumnDefFormulaTitle(layout.data()), t.title);
    }
    EXPECT_EQ(std::string(TransactionPriceTemplate().title), "Price %");
}

class SmallResults : public DatabaseFixture {
protected:
    struct Entry {
        uint16_t date;
        uint8_t kind;
        float eps;
    };
    uint8_t* LoadShare(const std::vector<Entry>& entries)
    {
        dev::DbRecord r = dev::ShareRecord(0x4001, "Alpha", 0, "ALP");
        for (const Entry& e : entries) {
            dev::DbItem item;
            StoreU16(item.bytes.data(), e.date);
            item.bytes[2] = e.kind;
            StoreF32(item.bytes.data() + 8, e.eps);
            r.items.push_back(item);
        }
        dev::PriceHistory h;
        h.firstDate = Date(2024, 1, 1);
        dev::HistoryDay d;
        d.close = d.open = d.high = d.low = 250;
        h.days = {d, d};
        r.subRecords = {dev::PriceSubRecord(10, 100, h)};
        Load(dev::WriteQuorvaDat(OneEntry({r})));
        return FindShareRecord(0x4001);
    }
};

TEST_F(SmallResults, RollingEpsBlendsIntoTheNextYear)
{
    uint8_t* share = LoadShare({{Date(2023, 3, 31), 0, 10}, {Date(2024, 3, 31), 3, 20}});
    const PackedDate yearEnd = Date(2023, 3, 31);
    FixedClock clock(On(DayNumberToDate(DateToDayNumber(yearEnd) + 100)));
    auto v = TemplateValue(33, share);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 12.74f, 0.005f);
    clock.set(On(DayNumberToDate(DateToDayNumber(yearEnd) + 400)));
    EXPECT_FALSE(TemplateValue(33, share)) << "past a year the missing year after leaves no value";
}

TEST_F(SmallResults, EpsGrowthNeedsPositiveEarnings)
{
    uint8_t* share = LoadShare({{Date(2022, 3, 31), 0, 0}, {Date(2023, 3, 31), 0, 10}});
    EXPECT_FALSE(TemplateValue(28, share)) << "last year's EPS of 0";
    share = LoadShare({{Date(2022, 3, 31), 0, -4}, {Date(2023, 3, 31), 0, 10}});
    EXPECT_FALSE(TemplateValue(28, share)) << "a loss last year";
    share = LoadShare({{Date(2022, 3, 31), 0, 8}, {Date(2023, 3, 31), 0, 10}});
    auto v = TemplateValue(28, share);
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 25, 1e-4);
}

class DemoTemplates : public DatabaseFixture {
protected:
    // A demo that ends early enough for three forecast years before the last date a PackedDate holds.
    static constexpr PackedDate kLastDay = PackDate(8, 12, 2024);
    static const dev::DemoDatabase& Demo()
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2024} / std::chrono::December / 8});
        return demo;
    }
    void SetUp() override
    {
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(Demo()));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(Demo())), &comp);
    }
};

// Results figure of year y: 1 the first forecast, 0 the latest annual results, -1 the annual results
// before them (interims are not years).
std::optional<float> Year(const dev::DemoRecord& r, int y, int item)
{
    size_t forecast = 0;
    while (forecast < r.results.size() && r.results[forecast].kind != 3)
        ++forecast;
    long at = -1;
    if (y >= 1) {
        at = long(forecast) + y - 1;
    } else {
        for (long i = long(forecast) - 1, back = -y; i >= 0; --i) {
            if (r.results[size_t(i)].kind == 1)
                continue;
            if (back-- == 0) {
                at = i;
                break;
            }
        }
    }
    if (at < 0 || at >= long(r.results.size()))
        return std::nullopt;
    const dev::DemoResultsEntry& e = r.results[size_t(at)];
    switch (item) {
    case 0: return float(e.date);
    case 1: return e.profit;
    case 2: return e.eps;
    case 3: return e.dividend;
    default: return e.turnover;
    }
}

TEST_F(DemoTemplates, EveryTemplateAgreesWithAHandComputation)
{
    const dev::DemoRecord* company = nullptr;
    for (const dev::DemoRecord& r : Demo().records) {
        if (r.description.empty() || r.resultsCurrency != 0 || r.streams.front().currency != 0)
            continue;
        if (Year(r, 3, 2) && Year(r, -1, 2) && *Year(r, -1, 2) > 0 && *Year(r, 0, 2) > *Year(r, -1, 2)) {
            company = &r;
            break;
        }
    }
    ASSERT_NE(company, nullptr) << "a company with three forecast years and growing earnings";
    const dev::DemoRecord& r = *company;
    uint8_t* share = FindShareRecord(r.id);
    ASSERT_NE(share, nullptr);
    const PackedDate today = PackDate(9, 12, 2024);
    FixedClock clock(On(today));
    uint8_t* sub = FirstSubRecord(share);
    const double price = dev::LastClose(r.streams.front());
    const double issue = r.streams.front().issueFigure;
    const double high = LoadF32(sub + kStatPeriodHigh), low = LoadF32(sub + kStatPeriodLow);
    const double change = LoadF32(sub + kStatChange);
    const double marketValue = LoadF32(sub + kStatMarketValue);
    const int days = DaysBetween(today, PackedDate(*Year(r, 0, 0)));
    ASSERT_LT(days, 366) << "the latest year end lies within a year of the demo's last day";
    auto y = [&](int year, int item) { return double(*Year(r, year, item)); };
    auto rolling = [&](int y0, int item) {
        if (days < 366)
            return ((365 - days) * y(y0, item) + days * y(y0 + 1, item)) / 365;
        double e = days - 365;
        return ((365 - e) * y(y0 + 1, item) + e * y(y0 + 2, item)) / 365;
    };
    auto growth = [](double after, double before) { return (after / before - 1) * 100; };
    auto peg = [&](double eps, double g) { return std::optional<double>(price / eps / g); };
    auto positive = [](double g) { return g > 0 ? std::optional<double>(g) : std::nullopt; };
    const int grossUp = 100;
    std::map<int, std::function<std::optional<double>()>> expected = {
        {12, [&] { return y(0, 3) / price * grossUp; }},
        {27, [&] { return (price / (price - change) - 1) * 100; }},
        {28, [&] { return growth(y(0, 2), y(-1, 2)); }},
        {29, [&] { return positive(growth(y(0, 2), y(-1, 2))) ? peg(y(0, 2), growth(y(0, 2), y(-1, 2))) : std::nullopt; }},
        {33, [&] { return rolling(0, 2); }},
        {34, [&] { return y(1, 2); }},
        {35, [&] { return rolling(1, 2); }},
        {36, [&] { return rolling(0, 3) / price * grossUp; }},
        {37, [&] { return y(1, 3) / price * grossUp; }},
        {38, [&] { return rolling(1, 3) / price * grossUp; }},
        {39, [&] { return price / rolling(0, 2); }},
        {40, [&] { return price / y(1, 2); }},
        {41, [&] { return price / rolling(1, 2); }},
        {42, [&] { return positive(growth(rolling(1, 2), rolling(0, 2))) ? peg(rolling(0, 2), growth(rolling(1, 2), rolling(0, 2))) : std::nullopt; }},
        {43, [&] { return positive(growth(y(1, 2), y(0, 2))) ? peg(y(1, 2), growth(y(1, 2), y(0, 2))) : std::nullopt; }},
        {44, [&] { return positive(growth(rolling(2, 2), rolling(1, 2))) ? peg(rolling(1, 2), growth(rolling(2, 2), rolling(1, 2))) : std::nullopt; }},
        {47, [&] { return y(1, 3); }},
        {48, [&] { // the consensus less the previous one in steps of the rating texts, 3 added when not negative
             if (r.analysts == 0)
                 return std::optional<double>();
             auto step = [](int rating) { return std::min(8, (rating - 13) / 25); };
             double d = step(r.consensus) - step(r.previousConsensus);
             return std::optional<double>(d >= 0 ? d + 3 : d);
         }},
        {54, [&] { return double(DaysBetween(today, LoadU16(sub + kStatPeriodHighDate))); }},
        {55, [&] { return double(DaysBetween(today, LoadU16(sub + kStatPeriodLowDate))); }},
        {58, [&] { return y(0, 2) / y(0, 3); }},
        {59, [&] { return y(0, 4) / issue * 100; }},
        {60, [&] { return y(0, 4) / marketValue; }},
        {61, [&] { return y(0, 1) / y(0, 4) * 100; }},
        {63, [&] { return (price / high - 1) * 100; }},
        {64, [&] { return (price / low - 1) * 100; }},
        {89, [&] { return std::optional<double>(); }}, // no normal market size in the demo: 0, an empty cell
        {90, [&] { return growth(y(1, 2), y(0, 2)); }},
        {91, [&] { return positive(growth(y(1, 2), y(0, 2))) ? peg(rolling(0, 2), growth(y(1, 2), y(0, 2))) : std::nullopt; }},
    };
    ASSERT_EQ(expected.size(), ShareFormulaTemplates().size());
    for (const FormulaTemplate& t : ShareFormulaTemplates()) {
        std::optional<double> want = expected.at(t.index)();
        std::optional<float> got = TemplateValue(t.index, share);
        ASSERT_EQ(got.has_value(), want.has_value()) << t.title;
        if (want) {
            EXPECT_NEAR(*got, *want, std::max(1e-3, std::fabs(*want) * 1e-4)) << t.title;
        }
    }
}

} // namespace
