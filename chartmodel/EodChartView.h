// The end-of-day chart's data side, for the daily chart view: the loaded price history of the share
// under the view's list cursor, the display range and the layout pass, the time band with its bar
// scale, the price, average and volume series, the time axis labels and the view's own commands.
// The view (ViewGraphEOD.h) owns one and calls it from the chart view's hooks.
#pragma once

#include "chartmodel/AddedGraphCommands.h"
#include "chartmodel/AddedGraphSet.h"
#include "chartmodel/EodAttachState.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/EodReadouts.h"
#include "chartmodel/EventArray.h"
#include "chartmodel/EodPriceEdit.h"
#include "chartmodel/SwingChart.h"
#include "chartmodel/SwingOverlay.h"
#include "charts/BoxChartLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

class CViewGraph;
struct ShareList;
struct CommandUi;
struct DataArray;
struct GraphSeries;
struct GraphPane;
struct PlotElement;
class CGraphSeriesLayout;
struct TimeBand;
struct GraphSetting;
struct LegendSource;
struct RecordCursor;

// The list a chart shows, filled first when no list window has filled it yet: from its source, or a
// fixed list from the database in its setting's order.
ShareList* FillChartList(ShareList* list);

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
    // The colouring rule of the price bars or line and of the volume bars, set on their layouts as
    // they are drawn.
    void PrepareColouring(const PlotElement& element, CGraphSeriesLayout& layout) const;
    // Builds the record of a list or portfolio graph source (kinds 1, 2, 4, 8) from the view's list,
    // or takes the one its list view handed over; the chart then shows it in place of the share.
    // False when it cannot be built.
    bool BuildSourceHistory(uint32_t sourceKind);
    void BuildTimeBand();
    void BuildSeries();
    void BuildAverage(int line);
    // The pivot-point lines of the setting's pivot block over the price series.
    void BuildPivots();
    // The swing chart of the shown share with the user's swing edits, and its elements over the price
    // series, by the setting's swing block.
    void BuildSwing();
    const SwingChart& swingChart() const { return swing_; }
    std::vector<SwingShade> SwingShades() const;
    // After the value ranges: the price series and the added graphs on one axis (a reversal chart
    // against the dates takes its points' prices first).
    void JoinAddedGraphRanges();
    // After the value ranges: the volume pane's range runs from 0 to the highest visible volume.
    void FloorVolumeRange();
    // While training shows a mark (trainingEnd), the chart stops at the mark's date and its price range
    // leaves room for the hidden days.
    void LeaveTrainingRoom();
    int32_t trainingEnd = 0;
    // The bar of a date in the display range, days hidden by training counted on past the last bar; -1
    // outside the range. And the last day's date of a bar (hidden ones too); 0 for none.
    int32_t DateToBar(int32_t date) const;
    int32_t BarToDate(int32_t bar) const;
    // The time axis labels in the time band, with the start and end dates; queued on the view.
    std::vector<AxisLabel> AxisLabels(int32_t slots, int gridMode) const;
    // The labels of the built time band, one per slot of the width of "MM" in the chart font, and
    // the band's time lines where the setting's vertical grid asks for them.
    void BuildTimeAxis();
    const std::vector<AxisLabel>& axisLabels() const { return axisLabels_; }
    // The dates at the two ends of the axis: the first shown day and the display or axis end.
    std::array<std::string, 2> AxisEndTexts() const;
    // Where those dates stand: the band's ends, or on a box chart its first and last shown columns.
    std::array<int32_t, 2> AxisEndXs() const;
    // At attach: the chart kind flags and the bar spacing of the setting at the print scale; the
    // box-axis charts leave training mode. A design preview fits a box chart afresh, whatever the
    // window has scrolled to.
    void Attach(float scaleX, float scaleY, bool preview = false);
    // The last day's readouts, and those of the point (x, y) (off the graph when `inside` is false;
    // off a box chart "No column selected" twice, "No box selected" and the box settings in full).
    EodReadoutTexts LatestTexts() const;
    EodReadoutTexts CursorTexts(int32_t x, int32_t y, bool inside) const;
    // The frame's three panes: the cursor readout (while no mode is active), price and OHLC of the
    // point, volume and trend.
    void FillStatusTexts(std::array<std::string, 3>& texts, bool inside, bool modeActive) const;
    // The legend's value lines, share name and added graphs of this chart.
    void FillLegendSource(LegendSource& source, bool inside) const;
    // A keyboard step of the pointer from x by one bar; scrolls by a record at either edge. Returns the
    // pointer's new x.
    int32_t StepCursor(int32_t x, int direction);
    // Position keys through the x table: the bar under x with the fraction, and back.
    int32_t XToPositionKey(int32_t x) const;
    int32_t PositionKeyToX(int32_t key) const;
    // The event array of the shown share (price-scale changes and the share's dated events).
    void BuildEvents();
    // After the date-range dialog's OK and the future dialog's OK: the fixed end and the future
    // extension cannot both be on.
    void RangeDialogConfirmed();
    void FutureDialogConfirmed();
    // The future fields or the date-range fields changed (the dialogs' Preview): the axis end, or
    // the whole display range, is worked out again and the charts of the setting redraw.
    void FutureChanged();
    void RangeChanged() { Changed(true); }

    // The volume pane has something to show: a visible day with prices, and some visible volume.
    bool VolumeShowable() const;
    // Zoom to a dragged x range: under 5 pixels, or a display of under 6 days, changes nothing;
    // otherwise the dates under the two ends become the display start (not before the old one) and
    // the axis end (not after the old one). True when the display changed.
    bool ZoomToDragRange(int32_t x0, int32_t x1);
    // "From ..." and "To ..." of a drag.
    std::array<std::string, 2> ZoomRangeTexts(int32_t x0, int32_t x1) const;
    // Watermarks by the style's bits: the share's code (bit 0) and last close (bit 1) on the price pane,
    // "Volume" (bit 2) and the average daily volume of the shown days (bit 3) on the volume pane.
    std::vector<std::string> WatermarkTexts(uint32_t paneId, uint16_t bits) const;
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
    const AddedGraphSet& addedGraphs() const { return addedGraphs_; }
    const DisplayRange& display() const { return display_; }
    int32_t firstVisible() const { return firstVisible_; }
    // The shown share's minor currency symbol ('p'), 0 none: prices read as the lists show them.
    char minor() const { return minor_; }
    int32_t visibleCount() const { return visibleCount_; }
    int32_t shownEnd() const { return shownEnd_; }
    int32_t axisEnd() const { return axisEnd_; }
    const BarScale& scale() const { return scale_; }
    bool weekly() const { return weekly_; }
    int32_t futureBars() const { return futureBars_; }
    const std::string& message() const { return message_; }
    char priceSymbol() const { return minor_; }
    const std::string& shareName() const { return name_; }
    int32_t firstPriceDate() const { return days_.empty() ? 0 : days_.front().date; }
    int32_t lastPriceDate() const { return days_.empty() ? 0 : days_.back().date; }
    uint32_t chartKind() const { return attach_.kindFlags; }
    const BarSpacing& barSpacing() const { return attach_.spacing; }
    bool volumeWanted() const { return attach_.volumeShown; }
    const std::vector<float>& volumeSignal() const { return signal_; }
    int32_t eventCount() const { return int32_t(events_.size()); }
    bool rangeDirty = true;
    // The values of an indicator window's lines on a day, as its readout lists them; installed by
    // the view that draws the windows. Without it the windows give no cursor readout.
    std::function<std::string(uint32_t paneId, int32_t day)> indicatorReadout;
    // The price pane's trend line for the trend readout (the selected line, else the setting's
    // trend); none without one.
    std::function<std::optional<TrendLineEnds>()> trendLine;
    // The days and bars the price editing reads and changes, and the style the bars are drawn in.
    std::vector<DayRecord>& editableDays() { return days_; }
    const std::vector<FoldedBar>& bars() const { return bars_; }
    int DrawStyle() const;

    // Box mode: a point-and-figure chart, or a Kagi, Renko or line-break chart laid out by columns
    // (steps) rather than against the dates (box option 2).
    bool BoxMode() const;
    // A Kagi, Renko or line-break chart drawn against the dates: the days keep their bars, and the
    // indicator windows and overlays draw as on a bar chart.
    bool DatedReversal() const;
    const std::vector<BoxChartPoint>& boxPoints() const { return boxPoints_; }
    int32_t boxFirstColumn() const { return boxFirstColumn_; }
    int32_t boxLowRow() const { return boxLowRow_; }
    int32_t BoxColumnWidth() const { return std::max(attach_.spacing.step, 2); }
    // Box mode's moves: a column left or right, a row down or up, the box size zoomed a step in or
    // out (offsets back to auto). False outside box mode.
    bool ScrollBoxes(int direction);
    bool ShiftBoxes(int direction);
    bool ZoomBoxes(int delta);
    // Box columns and rows back to auto: the chart is fitted again at its next layout.
    void ResetBoxOffsets();
    // The trading days a box chart is built from.
    int32_t BoxChartDays() const;
    // Box mode: the price pane's range in boxes (point and figure) or prices, after the value ranges.
    void FitBoxRange();
    // Box mode's readout of the column and box under (x, y): "From d to d  price - price" and
    // "Box (d - d, price)".
    std::string DescribeBoxSelection(int32_t x, int32_t y) const;
    // The box size and reversal ("(1% box, 3 rev)"), or in full ("1% box size, 3 reversal").
    std::string BoxParameterText(bool longForm) const;
    std::string DescribeBoxUnder(int32_t x, int32_t y) const;
    // Point and figure: a click picks the box under it; the readout then counts from there to the box
    // under the pointer ("4 X's, ...", "1 X + 3 O's, ...") and names the pointer's box's value.
    void PickBox(int32_t x, int32_t y);
    bool boxPicked() const { return boxPick_.has_value(); }
    std::array<std::string, 2> DescribePick(int32_t x, int32_t y) const;
    // Box mode's drag: the offsets saved as the drag starts, then set from the pointer's way.
    void BeginBoxDrag(int32_t x, int32_t y);
    bool DragBoxesTo(int32_t x, int32_t y);
    // Point and figure on a variable or volatility grid: the price axis labels every band bound and
    // every few boxes between them; empty otherwise.
    std::vector<BoxAxisLabel> BoxAxisLabels(int32_t textHeight) const;
    // The box grid's rows (box option 0x20) of the price pane; empty without the grid.
    std::vector<int32_t> BoxGridRowLines() const;
    const BoxGrid& boxGrid() const { return boxGrid_; }
    // The shown part of the box chart (the columns the price pane shows).
    std::span<const BoxChartPoint> ShownBoxColumns() const;
    // The column under x on a box chart.
    int32_t BoxColumnOfX(int32_t x) const;
    // The 45-degree lines of a point-and-figure chart on screen, in their kinds' pens; traced anew on
    // each call, kept nowhere.
    struct ScreenLine {
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        uint32_t pen = 0;
    };
    std::vector<ScreenLine> FortyFiveDegreeLines() const;
    // The bars as 20-byte bar items, plotting the field of the selector.
    void FillBarArray(DataArray& array, uint32_t selector) const;
    EodPriceEdit& priceEdit() { return priceEdit_; }
    const EodPriceEdit& priceEdit() const { return priceEdit_; }

private:
    GraphSetting& Setting() const;
    const GraphSetting& Look() const;
    int Style() const;
    DateRangeSetting ReadRange() const;
    void WriteRange(const DateRangeSetting& range);
    void LayoutPass();
    // Ends the shown days at the training mark's date; the days after it stay as blank bars.
    void CutAtTrainingMark();
    void ComputeVolumeSignal();
    void BuildMarkedLine(GraphSeries* series);
    void BuildVolumeSeries();
    // The setting's price colouring mode, single colour where the shown days cannot give it.
    int PriceColourMode() const;
    struct VolumeColouring {
        int mode;
        int count;
        std::array<uint32_t, 5> colours;
    };
    // The volume bars' rule and colours by the setting's volume colour scheme.
    VolumeColouring VolumeColours() const;
    void BuildXTable(TimeBand* band);
    void BuildBoxBand(GraphPane* price);
    void BuildBoxSeries(TimeBand* band, GraphPane* price);
    void BuildBoxAxis();
    void BuildBoxVolumeSeries();
    void BuildDatedReversalSeries(TimeBand* band, GraphPane* price);
    void AddBoxPriceElement(TimeBand* band, GraphPane* price);
    void FitDatedReversalRange();
    bool BoxOption(uint16_t bit) const;
    void FitBoxVolumeRange(int32_t columns);
    // The box chart's points from the first shown column on, up to `columns` of them.
    std::span<const BoxChartPoint> ShownBoxPoints(int32_t columns) const;
    int32_t RecordUnderX(int32_t x) const;
    // The signal of a bar: the signal at its middle day times its days.
    float BarSignal(int32_t bar) const;
    EodReadoutInput ReadoutInput() const;
    // "%d %s %s": an average's period, type and value at the bar; empty without one.
    std::string AverageText(int line, int32_t bar) const;
    void Changed(bool range);
    bool BarRule() const;
    // The first or last day of the bar under x.
    int32_t DateAtX(int32_t x, bool firstDay) const;

    CViewGraph& view_;
    std::vector<DayRecord> days_;
    std::vector<FoldedBar> bars_;
    std::vector<float> signal_;
    PlotElement* priceElement_ = nullptr;
    PlotElement* volumeElement_ = nullptr;
    mutable std::vector<float> barSignals_;
    mutable std::vector<uint8_t> barMarks_;  // the swing chart's marks per bar, for the marks rule
    std::array<std::vector<float>, 4> averageValues_;  // each average per bar; empty when not drawn
    std::vector<ChartEventEntry> events_;
    SwingChart swing_;
    std::vector<AxisLabel> axisLabels_;
    EodAttachState attach_;
    std::vector<BoxChartPoint> boxPoints_;
    BoxGrid boxGrid_;
    int32_t boxColumnOffset_ = kBoxAuto;  // the first shown column, auto until scrolled
    int32_t boxRowOffset_ = kBoxAuto;     // the lowest shown box (point and figure), auto until shifted
    int32_t boxRowShift_ = 0;             // rows the price range of the other box charts is moved up
    int32_t boxFirstColumn_ = 0;
    int32_t boxLowRow_ = 0;
    BoxDrag boxDrag_;
    std::optional<BoxPick> boxPick_;
    bool boxFitted_ = false;  // the offsets taken as auto (a design preview)
    mutable TrendLineEnds trendEnds_;  // what the readout input points at
    int attachedStyle_ = -1;  // the price display style of the last attach
    uint32_t key_ = 0;
    int32_t settingIndex_ = -1;
    bool loaded_ = false;
    bool hasStream_ = false;
    DisplayRange display_;
    int32_t axisEnd_ = 0;
    int32_t shownEnd_ = 0;
    int32_t trainingHidden_ = 0; // shown days after the training mark, left blank
    int32_t firstVisible_ = -1;
    int32_t firstMarkedVisible_ = -1;
    int32_t visibleCount_ = 0;
    bool weekly_ = false;
    int32_t futureBars_ = 0;
    BarScale scale_;
    std::string message_;
    std::string name_;
    char minor_ = 0;          // the shown share's minor currency symbol
    std::string code_;        // and its EPIC code
    bool swapGuard_ = false;
    uint8_t* source_ = nullptr; // the graph source's record
    AddedGraphSet addedGraphs_;
    AddedGraphCommands addedCommands_{view_, addedGraphs_};
    EodPriceEdit priceEdit_{view_, *this};
};

} // namespace qv
