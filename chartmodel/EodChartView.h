// The end-of-day chart's data side, for the daily chart view: the loaded price history of the share
// under the view's list cursor, the display range and the layout pass, the time band with its bar
// scale, the price, average and volume series, the time axis labels and the view's own commands.
// The view (ViewGraphEOD.h) owns one and calls it from the chart view's hooks.
#pragma once

#include "chartmodel/EodChart.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
struct CommandUi;
struct GraphSetting;
struct RecordCursor;

class EodChartView {
public:
    explicit EodChartView(CViewGraph& view) : view_(view) {}
    ~EodChartView();
    EodChartView(const EodChartView&) = delete;
    EodChartView& operator=(const EodChartView&) = delete;

    // Loads the history when the share or the setting changed, then runs the layout pass.
    void LoadAndLayout();
    // Loads the given days as the history (the tool and the tests; a date-0 record or count ends them).
    void SetHistory(const DayRecord* days, int32_t count, uint32_t key);
    // Loads the daily prices of a database share.
    void LoadShare(const RecordCursor& cursor);
    // Builds the record of a list or portfolio graph source (kinds 1, 2, 4, 8) from the view's list,
    // or takes the one its list view handed over; the chart then shows it in place of the share.
    // False when it cannot be built.
    bool BuildSourceHistory(uint32_t sourceKind);
    void BuildTimeBand();
    void BuildSeries();
    void BuildAverage(int line);
    // The pivot-point lines of the setting's pivot block over the price series.
    void BuildPivots();
    // The time axis labels in the time band, with the start and end dates; queued on the view.
    std::vector<AxisLabel> AxisLabels(int32_t slots, int gridMode) const;
    // The status readouts of the bar under x (the last day when x lies outside the chart): price and
    // OHLC, volume.
    std::array<std::string, 2> Readouts(int32_t x) const;

    // The volume pane has something to show: a visible day with prices, and some visible volume.
    bool VolumeShowable() const;
    // Zoom to a dragged x range: under 5 pixels, or a display of under 6 days, changes nothing;
    // otherwise the dates under the two ends become the display start (not before the old one) and
    // the axis end (not after the old one). True when the display changed.
    bool ZoomToDragRange(int32_t x0, int32_t x1);
    // "From ..." and "To ..." of a drag.
    std::array<std::string, 2> ZoomRangeTexts(int32_t x0, int32_t x1) const;
    // The price series' title: the share's name and, for the bar styles, the bar-period label.
    std::string ChartTitle() const;

    // Scrolls the visible records back (direction < 0) or forward by `records`, or by two thirds of
    // the visible count (count x 66 / 100) when 0; never past the first or last record. False when
    // nothing moved.
    bool ScrollRecords(int direction, int32_t records);

    // The view's commands: true when the command is the view's own.
    bool RunCommand(uint32_t command, bool shift);
    bool UpdateCommand(CommandUi& ui) const;
    void Reload();
    // A double-click: over a no-data text the whole history is shown; otherwise the range is worked
    // out again from the setting.
    void OnDoubleClick();

    const std::vector<DayRecord>& days() const { return days_; }
    const DisplayRange& display() const { return display_; }
    int32_t firstVisible() const { return firstVisible_; }
    int32_t visibleCount() const { return visibleCount_; }
    int32_t shownEnd() const { return shownEnd_; }
    int32_t axisEnd() const { return axisEnd_; }
    const BarScale& scale() const { return scale_; }
    bool weekly() const { return weekly_; }
    int32_t futureBars() const { return futureBars_; }
    const std::string& message() const { return message_; }
    int32_t firstPriceDate() const { return days_.empty() ? 0 : days_.front().date; }
    int32_t lastPriceDate() const { return days_.empty() ? 0 : days_.back().date; }
    bool rangeDirty = true;

private:
    GraphSetting& Setting() const;
    int Style() const;
    int DrawStyle() const;
    DateRangeSetting ReadRange() const;
    void WriteRange(const DateRangeSetting& range);
    void LayoutPass();
    void Changed(bool range);
    bool BarRule() const;
    // The first or last day of the bar under x.
    int32_t DateAtX(int32_t x, bool firstDay) const;

    CViewGraph& view_;
    std::vector<DayRecord> days_;
    std::vector<FoldedBar> bars_;
    uint32_t key_ = 0;
    int32_t settingIndex_ = -1;
    bool loaded_ = false;
    bool hasStream_ = false;
    DisplayRange display_;
    int32_t axisEnd_ = 0;
    int32_t shownEnd_ = 0;
    int32_t firstVisible_ = -1;
    int32_t firstMarkedVisible_ = -1;
    int32_t visibleCount_ = 0;
    bool weekly_ = false;
    int32_t futureBars_ = 0;
    BarScale scale_;
    std::string message_;
    std::string name_;
    bool swapGuard_ = false;
    uint8_t* source_ = nullptr; // the graph source's record
};

} // namespace qv
