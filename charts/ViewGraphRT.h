// The intraday chart view: a chart view (CViewGraph, or its window) whose data hooks load the shown
// share's intraday days through IntradayChartView, lay them out as day bands and build the price and
// volume panes; it follows new data for its share through a watch list and runs the intraday
// chart's own commands.
#pragma once

#include "chartmodel/GraphModel.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraph.h"
#include "charts/ChartDrawingHooks.h"
#include "charts/IntradayChartReadouts.h"
#include "charts/IntradayChartView.h"
#include "charts/IntradayIndicatorPanes.h"
#include "charts/IntradayLineAlarm.h"
#include "core/KeyedItemStore.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "resources/MessageIds.h"
#include "platform/Clock.h"
#include "views/CommandUpdate.h"

#include <cstdio>

namespace qv {

template <typename Base>
class ViewGraphRTT : public ChartDrawingHooks<Base> {
public:
    // The view bases are virtual: the most derived class gives them the kind.
    explicit ViewGraphRTT(int32_t kind)
        : CViewBase(kind), CViewGraphBase(kind), ChartDrawingHooks<Base>(kind), chart(*this), drawing(*this, chart, [this]() -> std::optional<uint32_t> {
              const auto [share, exchange] = chart.ShownShareKey();
              if (share == 0)
                  return std::nullopt;
              return ShareItemKey(share, exchange);
          })
    {
        // The setting's regression studies run over the day bands the chart shows.
        drawing.SetTrendRanges([this] { return indicatorPanes.AddRegressionObjects(); });
    }
    ~ViewGraphRTT() override
    {
        TheRTMarketTable().Withdraw(this->targetId());
        if (watching_)
            FreeRTWatchList(watch_);
    }

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        // New ticks for a watched share: the next paint reloads the days.
        if (message == kMsgRTNewData || message == kMsgRTRefreshAll) {
            chart.dataChanged = true;
            this->InvalidateWindow();
            return 0;
        }
        // A market table entry a breadth window reads has changed: the windows are built again.
        if (message == kMsgMarketChanged) {
            this->InvalidateWindow();
            return 0;
        }
        const uint32_t command = uint32_t(wParam & 0xFFFF);
        if (message == WM_COMMAND && (chart.RunCommand(command) || RunLineAlarm(command) || drawing.RunCommand(command)))
            return 1;
        return Base::onProgramMessage(message, wParam, lParam);
    }
    bool UpdateCommandUi(CommandUi& ui) const override
    {
        return chart.UpdateCommand(ui) || UpdateLineAlarmCommand(ui, drawing) || drawing.UpdateCommand(ui) ||
               Base::UpdateCommandUi(ui);
    }

    // Outside the share-stepping modes a double click toggles the range limit (the base) and returns
    // to the setting's days.
    void OnDoubleClick(uint32_t keys, int32_t x, int32_t y) override
    {
        const ChartModeRecord m = this->modeRecord;
        if (m.active && (m.mode == kModePreviousShare || m.mode == kModeNextShare))
            return;
        Base::OnDoubleClick(keys, x, y);
        chart.ReturnToSettingDays();
    }

    // The days: fewer, more, the previous and the next day.
    void FewerDays() { chart.StepDays(false, -1); }
    void MoreDays() { chart.StepDays(false, +1); }
    void PreviousDay() { chart.StepDays(true, -1); }
    void NextDay() { chart.StepDays(true, +1); }

    IntradayChartView chart;
    // The user's lines and texts, stored under kind 1 at moments of the program calendar.
    DailyChartDrawing drawing;
    IntradayChartReadouts readouts{*this, chart};
    IntradayIndicatorPanes indicatorPanes{*this, chart};
    // How a line alarm finds its side and today (tests replace them).
    LineAlarmCommand lineAlarm{LineAlarmSide, [] {
                                   const LocalDateTime now = NowLocal();
                                   return PackDate(now.day, now.month, now.year);
                               }};

protected:
    DailyChartDrawing& Drawing() override { return drawing; }
    const DailyChartDrawing& Drawing() const override { return drawing; }
    void LoadShareData() override
    {
        chart.Load();
        Watch();
        this->volumeShown = graphsetting::U8(Look(), intraday::kVolumeDisplay) != 0;
        // The time axis keeps a row of its own below the panes.
        this->bottomStrip = 1;
    }
    void BuildTimeBands() override { chart.LayOutTimeAxis(); }
    void BuildSeries() override
    {
        chart.BuildSeries();
        AddTitleValues();
    }
    // The view's interest in the market table goes; the breadth windows built now register it again.
    void BuildAddOnSeries() override
    {
        if (this->modeRecord.mask & kRedrawAddOnSeries)
            TheRTMarketTable().Withdraw(this->targetId());
        Base::BuildAddOnSeries();
    }
    GraphSeries* BuildIndicatorSeries(int window, int row, GraphSeries*) override
    {
        return indicatorPanes.AddIndicatorPane(window, row);
    }
    GraphSeries* BuildMarketGraphSeries(int window, int row) override { return indicatorPanes.AddBreadthPane(window, row); }
    // The status panes read out the point under the mouse, or the latest values; the first keeps the
    // name of a mode in progress.
    void FillReadouts(std::array<std::string, 3>& texts) override
    {
        const std::string mode = texts[0];
        readouts.FillStatusTexts(texts, this->lastMouseX, this->lastMouseY, this->MouseInside(), drawing.selected());
        if (this->modeRecord.active && this->modeRecord.mode != 0)
            texts[0] = mode;
    }
    void ComputeValueRanges() override
    {
        Base::ComputeValueRanges();
        if (this->modeRecord.mask & kRedrawValueRanges)
            chart.WidenRanges();
    }
    std::string DescribeGraphSource() const override { return chart.ChartTitle(); }
    std::array<std::string, 2> TimeRangeStatusTexts(int32_t x0, int32_t x1) const override
    {
        return chart.TimeRangeTexts(x0, x1);
    }
    std::string SelectedRangeText() const override
    {
        return chart.TimeRangeTexts(this->selectionAnchors[0], this->selectionAnchors[1])[1];
    }

private:
    bool RunLineAlarm(uint32_t command)
    {
        const auto [share, exchange] = chart.ShownShareKey();
        return RunLineAlarmCommand(command, drawing, ShareRef{nullptr, exchange, share}, lineAlarm);
    }
    // The title options' latest values after the price title, and the average trade volume after the
    // volume title.
    void AddTitleValues()
    {
        const uint16_t options = graphsetting::U16(Look(), intraday::kTitleOptions);
        const std::string values = readouts.TitleValues();
        const int64_t average = (options & kTitleAverageVolume) ? readouts.AverageVolume() : -1;
        const std::string title = chart.ChartTitle();
        for (TimeBand* band = this->timeBands; band; band = band->next)
            for (GraphSeries* series = band->series; series; series = series->next) {
                const char* own = series->title;
                std::string text;
                if (!values.empty() && series->pane && series->pane->id == kPanePrice && title == own)
                    text = title + " " + values;
                else if (average >= 0 && series->pane && series->pane->id == kPaneVolume && std::string(own) == "Volume")
                    text = "Volume, average trade " + IntradayVolumeText(float(average));
                if (!text.empty())
                    std::snprintf(series->title, sizeof series->title, "%s", text.c_str());
            }
    }
    const GraphSetting& Look() const
    {
        const GraphSetting* style = this->StyleRecord();
        return style ? *style : *this->ActiveSetting();
    }
    // The view follows the shown share's new ticks.
    void Watch()
    {
        const auto [share, exchange] = chart.ShownShareKey();
        if (!RTStoreExists() || share == watched_)
            return;
        if (!watching_) {
            InitRTWatchList(this, this->targetId(), watch_);
            watching_ = true;
        }
        BeginRTWatchListUpdate(watch_, true);
        if (share)
            AddRTWatchShare(ShareRef{nullptr, exchange, share}, watch_);
        EndRTWatchListUpdate(watch_);
        watched_ = share;
    }

    RTWatchList watch_;
    bool watching_ = false;
    uint16_t watched_ = 0;
};

using CViewGraphRT = ViewGraphRTT<CViewGraph>;

} // namespace qv
