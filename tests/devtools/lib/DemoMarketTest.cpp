// The demo market's figures read like the London market of 2009-2026: share prices and their histories,
// market values and volumes, every item in its own unit, deals at the day's price, the consensus, and
// results that never pass the last date a PackedDate holds.
#include "core/PackedDate.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/DemoDealings.h"
#include "devtools/lib/DemoResults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

using namespace qv;
using namespace qv::dev;
using namespace std::chrono;

namespace {

const DemoDatabase& Demo()
{
    static const DemoDatabase db = BuildDemoDatabase(sys_days{year{2026} / December / 8});
    return db;
}

bool IsCompany(const DemoRecord& r) { return !r.description.empty(); }

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The closes of a stream in pence (or points, or pounds), priced days only.
std::vector<double> Closes(const DemoStream& s)
{
    std::vector<double> out;
    double unit = 1.0 / s.history.scale;
    for (const HistoryDay& d : s.history.days) {
        if (d.newUnit != 0)
            unit = d.newUnit / s.history.scale;
        if (d.kind == HistoryDay::Kind::Priced)
            out.push_back(d.close * unit);
    }
    return out;
}

const DemoRecord& Named(const std::string& name)
{
    for (const DemoRecord& r : Demo().records)
        if (r.name == name)
            return r;
    throw std::invalid_argument(name);
}

} // namespace

TEST(DemoMarket, SharePricesAndTheirHistoriesArePlausible)
{
    std::vector<double> last;
    int above10000 = 0, outside10To3000 = 0;
    for (const DemoRecord& r : Demo().records) {
        if (!IsCompany(r))
            continue;
        const std::vector<double> closes = Closes(r.streams.front());
        ASSERT_FALSE(closes.empty()) << r.name;
        last.push_back(closes.back());
        above10000 += closes.back() > 10000;
        outside10To3000 += closes.back() < 10 || closes.back() > 3000;
        const auto [low, high] = std::minmax_element(closes.begin(), closes.end());
        EXPECT_LT(*high / closes.front(), 10) << r.name << " rose past ten times its first price";
        EXPECT_GT(*low / closes.front(), 0.1) << r.name << " fell below a tenth of its first price";
    }
    const double median = Median(last);
    EXPECT_GE(median, 200);
    EXPECT_LE(median, 600);
    EXPECT_LE(above10000, 3);
    EXPECT_LT(outside10To3000, int(last.size()) / 8);
}

TEST(DemoMarket, MarketValuesAndVolumesFitTheCompanies)
{
    std::vector<double> capitals;
    for (const DemoRecord& r : Demo().records) {
        if (!IsCompany(r))
            continue;
        const DemoStream& s = r.streams.front();
        const double capital = LastClose(s) * s.issueFigure / 100; // pounds millions
        capitals.push_back(capital);
        EXPECT_GE(capital, kLeastCapital * 0.99) << r.name;
        EXPECT_LE(capital, kMostCapital * 1.01) << r.name;
        // A day's trade is a small part of the shares in issue: on average from a hundredth of a
        // percent to 2% of them. Volume words count shares where the price step is a penny.
        const bool pennyStep = std::none_of(s.history.days.begin(), s.history.days.end(),
                                            [](const HistoryDay& d) { return d.newUnit != 0; });
        if (!pennyStep)
            continue;
        double volume = 0;
        int counted = 0;
        for (const HistoryDay& d : s.history.days) {
            if (!d.hasVolume)
                continue;
            volume += (d.volumeWord & 0x0FFF) * std::pow(10.0, d.volumeWord >> 12);
            ++counted;
        }
        if (counted < 250)
            continue;
        const double share = volume / counted / (double(s.issueFigure) * 1e6);
        EXPECT_GT(share, 0.0001) << r.name;
        EXPECT_LT(share, 0.02) << r.name;
    }
    const double median = Median(capitals);
    EXPECT_GE(median, 100);
    EXPECT_LE(median, 1000);
    EXPECT_GT(*std::max_element(capitals.begin(), capitals.end()), 20000) << "the largest are worth tens of billions";
}

TEST(DemoMarket, EveryItemHasItsOwnUnitAndLevel)
{
    const struct {
        const char* name;
        double low, high;   // over the whole history
        int16_t scale;
    } items[] = {
        {"FTSE 100", 3500, 10500, 100},
        {"FTSE 250", 5000, 28000, 100},
        {"Sterling US Dollar", 1.05, 1.75, 10000},
        {"Sterling Euro", 1.0, 1.45, 10000},
        {"Gold", 600, 3500, 100},
        {"Brent Crude Oil", 20, 150, 100},
    };
    for (const auto& item : items) {
        const DemoStream& s = Named(item.name).streams.front();
        EXPECT_EQ(s.currency, kNoCurrencyUnit) << item.name << ": shown without a currency sign";
        EXPECT_EQ(s.history.scale, item.scale) << item.name;
        const std::vector<double> closes = Closes(s);
        const auto [low, high] = std::minmax_element(closes.begin(), closes.end());
        EXPECT_GE(*low, item.low) << item.name;
        EXPECT_LE(*high, item.high) << item.name;
    }
    for (const DemoRecord& r : Demo().records) {
        const DemoStream& s = r.streams.front();
        const bool plain = s.kind == 1 || s.kind == 13 || s.kind == 16 || s.kind == 17;
        EXPECT_EQ(s.currency, plain ? kNoCurrencyUnit : 0) << r.name;
        EXPECT_FALSE(s.epic.empty()) << r.name;
        if (s.kind == 13) {
            EXPECT_GT(LastClose(s), 80) << r.name << ": a gilt stays near 100";
            EXPECT_LT(LastClose(s), 125) << r.name;
        }
    }
}

TEST(DemoMarket, DealsAreDoneAtAboutTheDaysPrice)
{
    std::map<uint16_t, const DemoRecord*> byId;
    for (const DemoRecord& r : Demo().records)
        byId[r.id] = &r;
    int deals = 0;
    for (const DealingItemSpec& deal : BuildDemoDealings(Demo()).items) {
        if (deal.value <= 0 || deal.dealSize <= 0)
            continue;
        const double price = CloseOn(byId.at(deal.shareId)->streams.front(), deal.date);
        ASSERT_GT(price, 0) << "a deal before the share was priced";
        EXPECT_NEAR(deal.value * 100 / deal.dealSize / price, 1.0, 0.05) << byId.at(deal.shareId)->name;
        ++deals;
    }
    EXPECT_GT(deals, 500);
}

TEST(DemoMarket, MostCompaniesHaveAConsensus)
{
    int companies = 0, followed = 0, moved = 0;
    for (const DemoRecord& r : Demo().records) {
        if (!IsCompany(r))
            continue;
        ++companies;
        if (r.analysts == 0)
            continue;
        ++followed;
        moved += r.consensus != r.previousConsensus;
        EXPECT_GE(r.consensus, 14) << "rating 0-13 would read as no text";
        EXPECT_GE(r.previousConsensus, 14);
    }
    EXPECT_GT(followed, companies * 3 / 4);
    EXPECT_GT(moved, followed / 4);
    EXPECT_LT(moved, followed);
}

TEST(DemoMarket, ResultsStopAtTheLastDateHeldAndLaterDatesAreRefused)
{
    // Forecast years one to three ahead of a demo that ends in the last year a date can hold.
    const DemoDatabase late = BuildDemoDatabase(sys_days{year{2027} / December / 30});
    int forecasts = 0;
    for (const DemoRecord& r : late.records)
        for (const DemoResultsEntry& e : r.results) {
            EXPECT_GE(YearField(e.date), 109) << r.name << ": a date wrapped to before 2009";
            EXPECT_LE(e.date, kLastPackedDate) << r.name;
            forecasts += e.kind == 3;
        }
    EXPECT_GT(forecasts, 0);

    EXPECT_EQ(ToPackedDate(sys_days{year{2027} / December / 31}), kLastPackedDate);
    EXPECT_THROW(ToPackedDate(sys_days{year{2028} / January / 1}), std::out_of_range);
    EXPECT_THROW(ToPackedDate(sys_days{year{1899} / December / 31}), std::out_of_range);
}
