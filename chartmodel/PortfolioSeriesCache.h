// The daily breadth series of market groups and portfolios (advances, declines, new highs and lows
// and their volumes per weekday), built once and kept in one program-wide cache that the charts of
// the breadth indicators share.
#pragma once

#include "chartmodel/BreadthCalc.h"
#include "core/PackedDate.h"
#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;
struct IndicatorRecord;

struct BreadthSeriesKey {
    bool portfolio = false;
    uint16_t portfolioNumber = 0; // a portfolio entry; 65535 the portfolio the current list shows
    int32_t groupKey = 0;         // a market entry: the list number of the market group
};

struct BreadthSeriesEntry {
    std::string name; // "Port: NAME" or the market group's name
    BreadthSeriesKey key;
    std::vector<BreadthRecord> records; // one per weekday from firstDay to lastDay
    PackedDate firstDay = 0;
    PackedDate lastDay = 0;
    PackedDate trinFirstDay = 0; // the first day with a TRIN of its own (declines and rising volume)
};

class PortfolioSeriesCache {
public:
    static constexpr uint32_t kNoDay = 0xFFFFFFFF;

    BreadthSeriesEntry* Find(const BreadthSeriesKey& key);
    // A new, empty entry at the head; the span is measured first when the cache is empty.
    BreadthSeriesEntry* Add(const BreadthSeriesKey& key);
    // Clears the cache and builds the market entries of the groups "All" and "Shares", with progress.
    void Rebuild();
    // Remove the matching entry, after a portfolio's or a share's data changed.
    void InvalidatePortfolio(const Portfolio& portfolio);
    void InvalidateShare(int32_t groupKey);
    void Clear();
    // Clears the cache when the database was loaded again since it was filled.
    void DropIfReloaded();
    // Measures the span over every share of the database: the earliest first and the latest last
    // price day, and the weekdays between them.
    void MeasureSpan();

    const std::vector<std::unique_ptr<BreadthSeriesEntry>>& Entries() const { return entries_; }
    uint32_t DayCount() const { return dayCount_; }
    uint32_t FirstDay() const { return firstDay_; } // kNoDay before any priced share is met
    uint32_t LastDay() const { return lastDay_; }
    // While an entry is being built (its progress may let other charts paint), no breadth draws.
    bool Building() const { return building_; }
    void SetBuilding(bool on) { building_ = on; }

private:
    std::vector<std::unique_ptr<BreadthSeriesEntry>> entries_; // the head first
    uint32_t dayCount_ = 0;
    uint32_t firstDay_ = kNoDay;
    uint32_t lastDay_ = 0;
    uint32_t generation_ = 0; // the database load the entries were built from
    bool building_ = false;
};

// The cache key of a breadth record: flags bit 0 set names a portfolio by the u16 field after
// period 3; clear, a market group by period 3 widened with its sign.
BreadthSeriesKey BreadthKeyOf(const IndicatorRecord& record);

PortfolioSeriesCache& SeriesCache();

// The entry's shares, naming it; a missing or empty portfolio makes it the market entry of group 4.
std::vector<RecordCursor> BreadthEntryShares(BreadthSeriesEntry& entry);

// Fills the entry: a portfolio's shares (a missing or empty portfolio becomes the market entry of
// group 4) or a market group's shares, one 16-byte record per weekday of the cache's span, trimmed
// to the days met.
void BuildPortfolioSeries(PortfolioSeriesCache& cache, BreadthSeriesEntry& entry, bool showProgress);

// The shares of a market group (list number). Until the list sources serve it, the database's lines:
// every line for "All" (0), the ordinary-share lines (classes 7, 10, 11) for the others.
using MarketGroupRows = std::function<std::vector<RecordCursor>(int32_t groupKey)>;
void SetMarketGroupRows(MarketGroupRows rows);
std::vector<RecordCursor> MarketGroupShares(int32_t groupKey);

// The portfolios a market graph can follow, {number, name}, as the portfolio chooser lists them
// when asked to pick one; none until the portfolio windows install the list.
struct MarketGraphPortfolio {
    uint16_t number = 0;
    std::string name;
};
void SetMarketGraphPortfolios(std::function<std::vector<MarketGraphPortfolio>()> list);
std::vector<MarketGraphPortfolio> MarketGraphPortfolios();
// A market graph record's source: flag bit 0 set, a portfolio's number in the u16 field after period
// 3 (offset 10); clear, the market group's code in period 3.
constexpr uint8_t kMarketGraphPortfolioFlag = 0x01;

// The progress the build shows above 1000 shares; none installed shows nothing.
class SeriesProgress {
public:
    virtual ~SeriesProgress() = default;
    virtual void Open(const std::string& title) = 0;
    virtual void SetPosition(int percent) = 0;
    virtual void Close() = 0;
};
void SetSeriesProgress(SeriesProgress* progress);

} // namespace qv
