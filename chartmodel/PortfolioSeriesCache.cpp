// Building and caching the daily breadth series.
#include "chartmodel/PortfolioSeriesCache.h"

#include "chartmodel/IndicatorRecord.h"

#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStatistics.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/RollingExtremes.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "views/ViewBase.h"

#include <algorithm>
#include <limits>

namespace qv {
namespace {

constexpr uint16_t kHighLowDays = 250;
constexpr size_t kProgressAbove = 1000;
constexpr int32_t kFallbackGroup = 4;

// Weekdays since 1 January 1900 (a Monday); a Saturday or Sunday counts as the Monday after.
uint32_t WeekdayNumber(PackedDate date)
{
    const int32_t day = DateToDayNumber(date);
    return uint32_t(day / 7 * 5 + std::min(day % 7, 5));
}

PackedDate DateOfWeekdayNumber(uint32_t weekday)
{
    return DayNumberToDate(int32_t(weekday / 5 * 7 + weekday % 5));
}

bool IsShareLine(const uint8_t* sub)
{
    const uint8_t kind = SubRecordKindOf(sub);
    return kind == 7 || kind == SubRecordKind::Ordinary || kind == SubRecordKind::Ordinary2;
}

std::vector<RecordCursor> DatabaseLines(int32_t groupKey)
{
    std::vector<RecordCursor> rows;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r)) {
        const uint32_t lines = SubRecordCount(r);
        for (uint32_t k = 0; k < lines; ++k) {
            SubRecordSpan span = SubRecordOf(r, k);
            if (span && (groupKey == 0 || IsShareLine(span.sub)))
                rows.push_back({r, k});
        }
    }
    return rows;
}

MarketGroupRows& GroupRowsSource()
{
    static MarketGroupRows source = DatabaseLines;
    return source;
}

SeriesProgress*& ProgressSink()
{
    static SeriesProgress* sink = nullptr;
    return sink;
}

void Bump(uint16_t& counter)
{
    if (counter != std::numeric_limits<uint16_t>::max())
        ++counter;
}

// One share's days into the series: advances and declines against the previous price day, new highs
// and lows against the 250 price days before. Widens [earliest, latest] to the days met.
class ShareWalk {
public:
    ShareWalk(std::vector<BreadthRecord>& records, uint32_t spanStart)
        : records_(records), spanStart_(spanStart), window_(kHighLowDays, 0)
    {
    }

    void Walk(const RecordCursor& share)
    {
        SubRecordSpan span = SubRecordOf(share.record, share.count);
        if (!span)
            return;
        PriceDayWalker walker(span.sub, span.end, CorrectionCursor{});
        bool started = false;
        float previous = 0;
        while (walker.next()) {
            const DayRecord& day = walker.day();
            if (day.date == 0 || IsMarkedDay(day))
                continue;
            const uint32_t weekday = WeekdayNumber(day.date);
            const bool inSpan = weekday >= spanStart_ && weekday - spanStart_ < records_.size();
            const size_t index = weekday - spanStart_;
            if (inSpan)
                Meet(index);
            if (!started) {
                window_.Reset(day.close);
                started = true;
            } else {
                if (inSpan)
                    Count(records_[index], day, previous);
                window_.Push(day.close);
            }
            previous = day.close;
        }
    }

    size_t earliest = std::numeric_limits<size_t>::max();
    size_t latest = 0;

private:
    void Meet(size_t index)
    {
        earliest = std::min(earliest, index);
        latest = std::max(latest, index);
    }

    void Count(BreadthRecord& r, const DayRecord& day, float previous)
    {
        if (day.close > previous) {
            Bump(r.advances);
            r.advancingVolume += day.volume;
        } else if (day.close < previous) {
            Bump(r.declines);
            r.decliningVolume += day.volume;
        }
        if (day.close > window_.Highest())
            Bump(r.newHighs);
        else if (day.close < window_.Lowest())
            Bump(r.newLows);
    }

    std::vector<BreadthRecord>& records_;
    uint32_t spanStart_;
    RollingExtremes window_;
};

Portfolio* FindPortfolio(uint16_t number)
{
    if (number > 65534)
        return CurrentShareList() ? CurrentShareList()->source : nullptr;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return p;
    return nullptr;
}

} // namespace

std::vector<RecordCursor> BreadthEntryShares(BreadthSeriesEntry& entry)
{
    if (entry.key.portfolio) {
        const Portfolio* portfolio = FindPortfolio(entry.key.portfolioNumber);
        const uint32_t count = portfolio ? CountPortfolioEntries(*portfolio) : 0;
        if (count > 0) {
            entry.name = StringPrintf("Port: %s", portfolio->name.str().c_str());
            return std::vector<RecordCursor>(portfolio->entries.get(), portfolio->entries.get() + count);
        }
        entry.key = BreadthSeriesKey{false, 0, kFallbackGroup};
    }
    entry.name = ListCodeName(entry.key.groupKey);
    return MarketGroupShares(entry.key.groupKey);
}

void SetMarketGroupRows(MarketGroupRows rows)
{
    GroupRowsSource() = rows ? std::move(rows) : MarketGroupRows(DatabaseLines);
}

std::vector<RecordCursor> MarketGroupShares(int32_t groupKey)
{
    return GroupRowsSource()(groupKey);
}

namespace {

std::function<std::vector<MarketGraphPortfolio>()>& PortfolioListSource()
{
    static std::function<std::vector<MarketGraphPortfolio>()> list;
    return list;
}

} // namespace

void SetMarketGraphPortfolios(std::function<std::vector<MarketGraphPortfolio>()> list)
{
    PortfolioListSource() = std::move(list);
}

std::vector<MarketGraphPortfolio> MarketGraphPortfolios()
{
    return PortfolioListSource() ? PortfolioListSource()() : std::vector<MarketGraphPortfolio>{};
}

void SetSeriesProgress(SeriesProgress* progress)
{
    ProgressSink() = progress;
}

PortfolioSeriesCache& SeriesCache()
{
    static PortfolioSeriesCache cache;
    return cache;
}

BreadthSeriesEntry* PortfolioSeriesCache::Find(const BreadthSeriesKey& key)
{
    for (auto& entry : entries_) {
        if (entry->key.portfolio != key.portfolio)
            continue;
        if (key.portfolio ? entry->key.portfolioNumber == key.portfolioNumber : entry->key.groupKey == key.groupKey)
            return entry.get();
    }
    return nullptr;
}

BreadthSeriesEntry* PortfolioSeriesCache::Add(const BreadthSeriesKey& key)
{
    if (entries_.empty())
        MeasureSpan();
    auto entry = std::make_unique<BreadthSeriesEntry>();
    entry->key = key;
    entries_.insert(entries_.begin(), std::move(entry));
    return entries_.front().get();
}

void PortfolioSeriesCache::MeasureSpan()
{
    firstDay_ = kNoDay;
    lastDay_ = 0;
    dayCount_ = 0;
    for (const RecordCursor& line : MarketGroupShares(0)) {
        SubRecordSpan span = SubRecordOf(line.record, line.count);
        if (!span)
            continue;
        const PackedDate first = LoadU16(span.sub + SubRecordLayout::FirstDate);
        const PackedDate last = ReadStreamStatistics(span.sub).lastDate;
        if (first == 0 || last == 0 || last < first)
            continue;
        firstDay_ = std::min<uint32_t>(firstDay_, first);
        lastDay_ = std::max<uint32_t>(lastDay_, last);
    }
    if (firstDay_ != kNoDay)
        dayCount_ = WeekdayNumber(PackedDate(lastDay_)) - WeekdayNumber(PackedDate(firstDay_)) + 1;
}

void PortfolioSeriesCache::Rebuild()
{
    Clear();
    for (int32_t group : {0, 1})
        BuildPortfolioSeries(*this, *Add(BreadthSeriesKey{false, 0, group}), true);
}

void PortfolioSeriesCache::InvalidatePortfolio(const Portfolio& portfolio)
{
    std::erase_if(entries_, [&](const auto& entry) {
        return entry->key.portfolio && entry->key.portfolioNumber == portfolio.number;
    });
}

void PortfolioSeriesCache::InvalidateShare(int32_t groupKey)
{
    std::erase_if(entries_, [&](const auto& entry) { return !entry->key.portfolio && entry->key.groupKey == groupKey; });
}

void PortfolioSeriesCache::DropIfReloaded()
{
    if (generation_ != DatabaseLoadGeneration)
        Clear();
    generation_ = DatabaseLoadGeneration;
}

void PortfolioSeriesCache::Clear()
{
    entries_.clear();
    firstDay_ = kNoDay;
    lastDay_ = 0;
    dayCount_ = 0;
}

BreadthSeriesKey BreadthKeyOf(const IndicatorRecord& record)
{
    if (record.flags & kMarketGraphPortfolioFlag)
        return {true, uint16_t(record.period4), 0};
    return {false, 0, int32_t(record.period3)};
}

void BuildPortfolioSeries(PortfolioSeriesCache& cache, BreadthSeriesEntry& entry, bool showProgress)
{
    struct Building {
        PortfolioSeriesCache& cache;
        explicit Building(PortfolioSeriesCache& c) : cache(c) { cache.SetBuilding(true); }
        ~Building() { cache.SetBuilding(false); }
    } building(cache);
    entry.records.assign(cache.DayCount(), BreadthRecord{});
    entry.firstDay = entry.lastDay = entry.trinFirstDay = 0;
    const std::vector<RecordCursor> shares = BreadthEntryShares(entry);
    if (cache.FirstDay() == PortfolioSeriesCache::kNoDay) {
        // No priced share anywhere: an empty series, never a walk from a day that does not exist.
        entry.records.clear();
        return;
    }
    const uint32_t spanStart = WeekdayNumber(PackedDate(cache.FirstDay()));
    SeriesProgress* progress = showProgress && shares.size() > kProgressAbove ? ProgressSink() : nullptr;
    if (progress)
        progress->Open("Creating Market Graph Data");
    const size_t tenth = std::max<size_t>(shares.size() / 10, 1);
    ShareWalk walk(entry.records, spanStart);
    for (size_t i = 0; i < shares.size(); ++i) {
        walk.Walk(shares[i]);
        if (progress && (i + 1) % tenth == 0)
            progress->SetPosition(int((i + 1) * 100 / shares.size()));
    }
    if (progress)
        progress->Close();
    if (walk.earliest > walk.latest) {
        entry.records.clear();
        return;
    }
    entry.records.resize(walk.latest + 1);
    entry.records.erase(entry.records.begin(), entry.records.begin() + std::ptrdiff_t(walk.earliest));
    entry.firstDay = DateOfWeekdayNumber(spanStart + uint32_t(walk.earliest));
    entry.lastDay = DateOfWeekdayNumber(spanStart + uint32_t(walk.latest));
    // TRIN needs falling shares and volume on the rising ones; before that it is a flat 1.
    entry.trinFirstDay = entry.lastDay;
    for (size_t i = 0; i < entry.records.size(); ++i)
        if (entry.records[i].declines != 0 && entry.records[i].advancingVolume >= 0.1f) {
            entry.trinFirstDay = DateOfWeekdayNumber(spanStart + uint32_t(walk.earliest + i));
            break;
        }
}

} // namespace qv
