// The intraday chart's data side: one share's trades and quotes over one to ten of the intraday
// store's days, loaded into a series set per day, laid out as day bands side by side on a time axis
// of seconds, and built into the price and volume panes of the chart view it serves; with the days'
// stepping, the price display commands and the time axis labels.
#pragma once

#include "chartmodel/StopLossSettings.h"
#include "charts/DailyChartDrawing.h"
#include "charts/IntradayChart.h"
#include "core/DayRecord.h"
#include "core/PackedDate.h"
#include "core/RecordAccess.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
struct CommandUi;
struct GraphPane;
struct GraphSeries;
struct LegendSource;
struct TimeBand;
struct ValueRange;

// One loaded day of the share: its items split by type and cleaned, the span of its ticks, the
// exchange's time-zone bias, the previous trading day's prices and its own from the daily history,
// its period bars and its band.
struct IntradayDaySet {
    PackedDate day = 0;
    IntradaySeriesSet items;
    TickPriceRange range;
    int32_t firstTick = 0, lastTick = 0;
    int32_t biasMinutes = 0;
    bool today = false;
    bool previousKnown = false;
    Bar previous{};               // the previous trading day's open, high, low and close
    bool ownKnown = false;
    Bar own{};
    PeriodBars bars;
    // The added graphs' quotes on this day, their times moved onto the view's clock.
    std::array<TickItemArray, 4> added;
    BandSpan span;
    int32_t left = 1, right = 0;  // pixels; left > right while the band is not shown
    TimeBand* band = nullptr;
};

// Command ids of the intraday chart.
namespace intraday {
constexpr uint32_t kCmdMidLine = 27119;
constexpr uint32_t kCmdCloseLine = 27118;
constexpr uint32_t kCmdOhlcBars = 27121;
constexpr uint32_t kCmdCandles = 27122;
constexpr uint32_t kCmdFewerDays = 26750;
constexpr uint32_t kCmdMoreDays = 26751;
constexpr uint32_t kCmdLimitRange = 20217;
constexpr uint32_t kCmdDefaultRange = 26115;

} // namespace intraday

// A label of the time axis at its x: the time, or with `date` the band's date.
struct IntradayAxisLabel {
    int32_t x = 0;
    std::string text;
    bool date = false;
};

// An added graph's ticks in time order: the count of ticks before the first time stamp that goes back,
// all of them when none does. At that stamp the corruption message is shown with the day, unless the
// same day was the last one reported.
size_t CheckAddedTickOrder(std::span<const IntradayTick> ticks, PackedDate day);
// Forgets the day last reported (tests).
void ResetAddedTickReport();

// The share a chart shows: its id, exchange, title and daily prices (for the previous days' values).
struct IntradayShare {
    uint16_t id = 0;
    uint8_t exchange = 0;
    std::string name;
    std::vector<DayRecord> history;
    // The market whose clock and hours the share keeps: an index's own (its record class), else the
    // exchange.
    uint8_t market = 0;
};
IntradayShare DescribeIntradayShare(const RecordCursor& entry);
uint8_t IntradayMarketOf(const RecordCursor& entry);

// The previous day's level lines of a day that opened at `open`: the high, low and close the display
// flags ask for, and the pivot levels of the previous-day pivot record (the pivot left out where it
// equals a drawn close, a level where it equals the pivot, none when all five are equal); each with
// its pen.
std::vector<std::pair<float, uint32_t>> PreviousDayLevels(const GraphSetting& s, const Bar& previous, float open);

class IntradayChartView : public DrawingAxis {
public:
    explicit IntradayChartView(CViewGraph& view);
    ~IntradayChartView() override;
    IntradayChartView(const IntradayChartView&) = delete;
    IntradayChartView& operator=(const IntradayChartView&) = delete;

    // Where the data comes from; the intraday store by default, tests replace them.
    struct Source {
        std::function<std::vector<PackedDate>()> heldDays;
        std::function<std::vector<IntradayTick>(uint16_t share, PackedDate day)> dayTicks;
        // The exchange's latest time of the day (-1 when not known) and its market hours.
        std::function<int32_t(uint8_t exchange, PackedDate day)> latestTime;
        std::function<std::pair<int32_t, int32_t>(uint8_t exchange)> marketHours;
        std::function<void()> beep;
    };
    Source source;

    // Shows this share whatever the view's list holds (renders and tests without a list).
    void ShowShare(IntradayShare share) { fixed_ = std::move(share); }
    // The shown share's id and exchange: the fixed one, else the list's current entry (id 0: none).
    std::pair<uint16_t, uint8_t> ShownShareKey() const;

    // Loads the shown share's days when the share, setting, days or added graphs changed or new data
    // came (`dataChanged`); the sets come out oldest first.
    void Load();
    // The day bands, their pixels and the period bars over the price pane's width.
    void LayOutTimeAxis();
    // The price and volume panes' series on every shown band.
    void BuildSeries();
    // Widens the price and volume ranges by what the bands show (the tick items are read here).
    void WidenRanges();
    bool PriceRangeHasDots() const;

    // The days: shift moves the shown days by one, else direction +1 shows one more day, -1 one
    // fewer. Beeps and keeps them at the ends.
    void StepDays(bool shift, int direction);
    // Back to the setting's days viewed and display-from (a double click on the chart).
    void ReturnToSettingDays();
    bool RunCommand(uint32_t command);
    bool UpdateCommand(CommandUi& ui) const;

    std::string TitleSuffix() const;
    std::string ChartTitle() const;
    const std::vector<IntradayAxisLabel>& axisLabels() const { return labels_; }
    const std::vector<IntradayDaySet>& sets() const { return sets_; }
    const std::optional<IntradayDaySet>& latestSet() const { return latest_; }
    const std::vector<PackedDate>& heldDays() const { return days_; }
    DayWindow shownDays() const { return window_; }
    int32_t daysViewed() const { return daysViewed_; }
    PackedDate displayFrom() const { return displayFrom_; }
    bool keepOwnDays() const { return keepOwnDays_; }
    // The drawing objects' axis: moments in seconds from 2000 on the bands; before the first band and
    // after the last the bands' scales run on, a moment between two bands stands at the later one.
    bool HasPositions() const override;
    int32_t PositionAtX(int32_t x) const override;
    int32_t XOfPosition(int32_t position) const override;
    // "NAME DD/MM/YYYY HH:MM.SS - 0.000", and "Anchor time DD/MM/YYYY HH:MM.SS" (the time alone on the
    // latest day held).
    std::string PointText(int32_t position, float value) const override;
    std::string AnchorText(int32_t position) const override;
    // The status texts of a time range selected between two x positions: the anchor's time and the
    // range ("From ... to ...").
    std::array<std::string, 2> TimeRangeTexts(int32_t x0, int32_t x1) const;
    // The legend's stop-loss lines: their records and the last stop values the build reached.
    void FillStopLegend(LegendSource& source) const;
    int32_t LastPosition() const override;
    uint16_t StoreKind() const override { return 1; }
    // The period bars of every shown band between two moments, each at its x; moments outside the
    // bars are held to the first and last bar.
    std::vector<PlacedBar> GetBarsInRange(int32_t from, int32_t to) const override;
    // The x of a time of the set's day, and the loaded share and added graphs (share id, exchange,
    // pen; names), for the read-outs and the indicator panes.
    int32_t XOfTime(const IntradayDaySet& set, int32_t time) const { return XOf(set, time); }
    const IntradayShare& share() const { return share_; }
    // Whether the weekday before the last shown day (the latest held day when none is shown) has
    // prices in the share's daily history or in the intraday store.
    bool PreviousDayHeld() const;
    const std::array<std::array<uint32_t, 3>, 4>& addedEntries() const { return addedEntries_; }
    const std::array<std::string, 4>& addedNames() const { return addedNames_; }
    // The market whose clock added graph k keeps (IntradayMarketOf).
    uint8_t addedMarket(size_t k) const { return addedMarkets_[k]; }

    // Set by the price-update message: the next build reloads.
    bool dataChanged = false;

private:
    // Pads the price range so that its highest and lowest values are drawn a margin inside the pane,
    // the highest below the pane's title.
    void KeepPricesClearOfTitle();
    const GraphSetting& Look() const;
    IntradayDaySet LoadDay(uint16_t share, PackedDate day, const std::string& name) const;
    void TakeDailyPrices(IntradayDaySet& set, const IntradayDaySet* before) const;
    GraphSeries* AddTickSeries(IntradayDaySet& set, GraphPane* pane);
    void BuildBandSeries(IntradayDaySet& set, bool last);
    void AddPreviousDayLevels(IntradayDaySet& set, GraphPane* price, bool last);
    // The share's own and the global intraday stop-loss lines, walked over the quotes from their
    // start and carried from one day to the next.
    void AddStopLines(IntradayDaySet& set, GraphPane* price);
    // The pivot series and the price moving averages over the days' period bars, worked out for
    // every day before the bands' series are built, and drawn on each shown band over its shading.
    void PrepareStudies();
    void AddPivotSeries();
    void AddMovingAverage(int line);
    void AddStudyLines(IntradayDaySet& set);
    // Lines of values per bar on a shown band, in the price pane on the price scale.
    void AddBarLines(IntradayDaySet& set, const std::vector<std::vector<float>>& lines, std::span<const uint32_t> pens);
    void SetBarScale(GraphSeries* series, const IntradayDaySet& set) const;
    void LoadAddedGraphs();
    void AddComparisonSeries(IntradayDaySet& set, bool last);
    void BuildTimeLabels();
    int32_t XOf(const IntradayDaySet& set, int32_t time) const;

    CViewGraph& view_;
    std::vector<PackedDate> days_;
    DayWindow window_;
    std::vector<IntradayDaySet> sets_;
    std::optional<IntradayDaySet> latest_;
    IntradayShare share_;
    std::vector<IntradayAxisLabel> labels_;
    uint32_t shareKey_ = 0;
    int32_t settingIndex_ = -1;
    int32_t daysViewed_ = 1;
    PackedDate displayFrom_ = 0;
    int32_t loadedDays_ = 0;
    PackedDate loadedFrom_ = 0;
    bool keepOwnDays_ = false;
    int lastDirection_ = 0;
    std::optional<IntradayShare> fixed_;
    ValueRange* priceRange_ = nullptr;
    ValueRange* volumeRange_ = nullptr;
    std::array<float, 2> stopValues_{-1, -1};
    // Each day's study lines (values per bar) and their pens.
    struct StudyLines {
        std::vector<std::vector<float>> values;
        std::vector<uint32_t> pens;
    };
    std::vector<std::vector<StudyLines>> studies_;
    // The share's own and the global stop records the last build drew.
    std::array<std::optional<StopRecord>, 2> stops_;
    // The added graphs the sets were loaded for (share id, exchange, pen), their names and ranges.
    std::array<std::array<uint32_t, 3>, 4> addedEntries_{};
    std::array<std::string, 4> addedNames_;
    std::array<uint8_t, 4> addedMarkets_{};
    std::array<ValueRange*, 4> addedRanges_{};
};

} // namespace qv
