// The daily chart view without a window: the layout pass over a history and the view's commands with
// their menu states (bar codes, Shift's swap, styles, range limits, the limit toggle's warning).
#include "chartmodel/ViewGraphEOD.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/FakeMessageBox.h"
#include "views/CommandUpdate.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

class DailyChartView : public ::testing::Test {
protected:
    DailyChartView() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        view.eod.SetHistory(days.data(), int32_t(days.size()), 1);
        view.eod.LoadAndLayout();
    }
    ~DailyChartView() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    bool Run(uint32_t command, bool shift = false) { return view.eod.RunCommand(command, shift); }
    CommandUi State(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        EXPECT_TRUE(view.UpdateCommandUi(ui)) << command;
        return ui;
    }

    std::vector<DayRecord> days = dev::MakeSyntheticDays(500);
    CViewGraphEOD view{0};

private:
    GraphSetting saved_;
};

TEST_F(DailyChartView, LayoutShowsTheWholeHistoryByDefault)
{
    EXPECT_EQ(view.eod.display().start, days[0].date);
    EXPECT_EQ(view.eod.display().end, days[499].date);
    EXPECT_EQ(view.eod.visibleCount(), 500);
    EXPECT_FALSE(view.eod.weekly());
}

TEST_F(DailyChartView, ScrollingMovesByTwoThirdsOfTheVisibleRecords)
{
    Run(26745);  // 6 months
    view.eod.LoadAndLayout();
    const int32_t visible = view.eod.visibleCount(), first = view.eod.firstVisible();
    ASSERT_LT(visible, 200);
    EXPECT_FALSE(view.eod.ScrollRecords(1, 0));  // already at the last record
    ASSERT_TRUE(view.eod.ScrollRecords(-1, 0));
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.firstVisible(), first - visible * 66 / 100);
    EXPECT_EQ(view.eod.visibleCount(), visible);
    ASSERT_TRUE(view.eod.ScrollRecords(-1, 1000));
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.firstVisible(), 0);
    ASSERT_TRUE(view.eod.ScrollRecords(1, 10));
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.firstVisible(), 10);
    EXPECT_EQ(view.eod.visibleCount(), visible);
}

TEST_F(DailyChartView, BarCommandsTheirLimitsAndShiftsSwap)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    ASSERT_TRUE(Run(26735));
    EXPECT_EQ(gs::U8(Setting(), gs::kBarPeriod), 5);
    EXPECT_EQ(State(26735).checked, true);
    Run(26737);
    EXPECT_EQ(gs::U8(Setting(), gs::kBarPeriod), 6);
    Run(26737, true);  // Shift turns "increase" into "decrease"
    EXPECT_EQ(gs::U8(Setting(), gs::kBarPeriod), 5);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    EXPECT_FALSE(State(26738).enabled);
    Run(26738);
    EXPECT_EQ(gs::U8(Setting(), gs::kBarPeriod), 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 56);
    EXPECT_FALSE(State(26737).enabled);
    Run(26739);
    EXPECT_EQ(gs::U8(Setting(), gs::kBarPeriod), 0);
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);  // the close line has no bars
    EXPECT_FALSE(State(26731).enabled);
    EXPECT_FALSE(State(27119).enabled);
}

TEST_F(DailyChartView, StyleAndRangeCommands)
{
    Run(27122);
    EXPECT_EQ(gs::U8(Setting(), gs::kPriceDisplay), 4);
    EXPECT_EQ(State(27122).checked, true);
    EXPECT_EQ(State(27121).checked, false);
    Run(26746);  // 1 year
    EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeFlags), 3 | 48);
    EXPECT_EQ(State(26746).checked, true);
    view.eod.LoadAndLayout();
    EXPECT_LT(view.eod.visibleCount(), 270);
    EXPECT_GT(view.eod.visibleCount(), 250);
    Run(26746);  // the same range again shows everything
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.visibleCount(), 500);
}

TEST_F(DailyChartView, FutureToggleRunsTheAxisOnPastTheLastDay)
{
    gs::SetU16(Setting(), gs::kShowFutureSecond, 4);
    gs::SetU32(Setting(), gs::kShowFutureThird, 90);
    EXPECT_TRUE(State(26451).enabled);
    Run(26451);
    EXPECT_EQ(State(26451).checked, true);
    view.eod.LoadAndLayout();
    const int32_t shownDays = DateToDayNumber(PackedDate(view.eod.display().end)) -
                              DateToDayNumber(PackedDate(view.eod.display().start));
    EXPECT_EQ(DateToDayNumber(PackedDate(view.eod.axisEnd())) - DateToDayNumber(PackedDate(days[499].date)),
              shownDays * 3);  // 90% counts as 75%: three times the days shown
    EXPECT_GT(view.eod.futureBars(), 1000);
    Run(26451);
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.axisEnd(), days[499].date);
}

TEST_F(DailyChartView, LimitWithAFixedEndSwitchesTheFutureOffWithAWarning)
{
    test::FakeMessageBox box;
    gs::SetU16(Setting(), gs::kShowFutureBars, 1);
    gs::SetU16(Setting(), gs::kDateRangeFlags, 128 | 32 | 2);
    Run(20217);
    EXPECT_EQ(gs::U16(Setting(), gs::kShowFutureBars), 0);
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].caption, "WARNING");
    EXPECT_EQ(box.shown()[0].text, "The new end date limit means that the graph cannot be extended into the future.");
    EXPECT_EQ(State(20217).checked, true);
}

TEST_F(DailyChartView, RangeAndFutureDialogsKeepTheFixedEndAndTheFutureApart)
{
    test::FakeMessageBox box;
    // The range dialog confirmed with a fixed end switches the future off.
    gs::SetU16(Setting(), gs::kShowFutureBars, 1);
    gs::SetU16(Setting(), gs::kDateRangeFlags, 16 | 128);
    gs::SetU16(Setting(), gs::kDateRangeEnd, days[300].date);
    view.eod.RangeDialogConfirmed();
    EXPECT_EQ(gs::U16(Setting(), gs::kShowFutureBars), 0);
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].text, "The new end date limit means that the graph cannot be extended into the future.");
    // The future dialog confirmed with the future on drops the whole range word.
    gs::SetU16(Setting(), gs::kShowFutureBars, 1);
    view.eod.FutureDialogConfirmed();
    EXPECT_EQ(gs::U16(Setting(), gs::kDateRangeFlags), 0);
    ASSERT_EQ(box.shown().size(), 2u);
    EXPECT_EQ(box.shown()[1].caption, "WARNING");
    EXPECT_EQ(box.shown()[1].text,
              "The end date limit has been removed to enable the date range to be extended into the future.");
    // Without a fixed end neither says anything.
    view.eod.FutureDialogConfirmed();
    view.eod.RangeDialogConfirmed();
    EXPECT_EQ(box.shown().size(), 2u);
    EXPECT_TRUE(State(26115).enabled);
    view.eod.LoadAndLayout();
    EXPECT_EQ(State(26512).enabled, State(26451).enabled);
}

TEST_F(DailyChartView, ChartKindFlagsGreyTheCommandsTheyCannotServe)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    view.eod.Attach(1, 1);
    EXPECT_TRUE(State(26743).enabled);
    EXPECT_TRUE(State(26731).enabled);
    // Point and figure: no bar periods, range limits, reduce or limit toggle; no future either.
    gs::SetU8(Setting(), gs::kPriceDisplay, 5);
    view.trainingMode = 1;
    view.eod.Attach(1, 1);
    EXPECT_EQ(view.eod.chartKind(), 3u);
    EXPECT_EQ(view.trainingMode, 0);
    for (uint32_t command : {26731u, 26743u, 26750u, 20217u, 26451u, 26512u})
        EXPECT_FALSE(State(command).enabled) << command;
    // A reversal chart drawn against dates keeps the future and the limit toggle.
    gs::SetU8(Setting(), gs::kPriceDisplay, 6);
    gs::SetU16(Setting(), gs::kBoxChartFlags, 2);
    view.eod.Attach(1, 1);
    EXPECT_EQ(view.eod.chartKind(), 4u);
    EXPECT_FALSE(State(26743).enabled);
    EXPECT_TRUE(State(20217).enabled);
    EXPECT_TRUE(State(26451).enabled);
}

// A paint while a drawing tool waits builds the model anew although the tool's redraw mask leaves
// out the free step: the old model goes all the same (the sanitizer build sees the bands themselves).
TEST_F(DailyChartView, APaintInAModeThatKeepsTheModelStillReplacesIt)
{
    int dc = 0;
    auto ranges = [this] {
        int n = 0;
        for (const ValueRange* r = view.valueRanges; r; r = r->next)
            ++n;
        return n;
    };
    view.textHeight = 12;
    view.digitWidth = 7;
    view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
    const int shown = ranges();
    ASSERT_GT(shown, 0);
    for (int paint = 0; paint < 3; ++paint) {
        view.SetMode(true, kModeLineStudy, 0, 0, kRedrawDrawGraph);
        view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
        EXPECT_EQ(ranges(), shown) << "paint " << paint;
        ASSERT_NE(view.timeBands, nullptr);
        EXPECT_EQ(view.timeBands->next, nullptr);
    }
}

// Each box style's command sets its style and is checked; a paint lays out columns on the price
// pane: the last column at the right edge, the step scale at the column width, the zoom clamped
// with the offsets back to auto, and a column scrolled back moves the chart right by one column.
TEST_F(DailyChartView, BoxStylesLayOutColumnsAndMoveByColumns)
{
    int dc = 0;
    view.textHeight = 12;
    view.digitWidth = 7;
    const uint32_t commands[4] = {27217, 27250, 27251, 27252};
    for (int style = 5; style <= 8; ++style) {
        const uint32_t command = commands[style - 5];
        EXPECT_TRUE(State(command).enabled);
        ASSERT_TRUE(Run(command));
        EXPECT_EQ(gs::U8(Setting(), gs::kPriceDisplay), style);
        EXPECT_EQ(State(command).checked, true);
        EXPECT_EQ(State(commands[(style - 4) % 4]).checked, false);
        // The first paint measures the axis labels that the second lays the panes out by.
        view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
        view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
        ASSERT_TRUE(view.eod.BoxMode());
        ASSERT_FALSE(view.eod.boxPoints().empty()) << style;
        ASSERT_NE(view.timeBands, nullptr);
        const GraphPane* price = view.FindPane(kPanePrice);
        ASSERT_NE(price, nullptr);
        const int32_t w = view.eod.BoxColumnWidth();
        const TimeScale& scale = view.timeBands->scale;
        const int32_t last = int32_t(view.eod.boxPoints().back().step);
        const int32_t lastX = view.IndexToXScale(&scale, last);
        EXPECT_EQ(view.eod.scale().code, 0);
        EXPECT_LE(lastX + w / 2, price->right) << style;
        if (last + 1 >= (price->right - price->left) / w) {
            EXPECT_GT(lastX + w / 2 + w, price->right) << style;
        }
        const GraphSeries* series = FindSeries(view.timeBands, const_cast<GraphPane*>(price));
        ASSERT_NE(series, nullptr);
        EXPECT_FALSE(IsRangeEmpty(*series->range)) << style;
        ASSERT_TRUE(view.eod.ScrollBoxes(-1));
        view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
        EXPECT_EQ(view.IndexToXScale(&view.timeBands->scale, last), lastX + w) << style;
    }
    gs::SetU8(Setting(), gs::kBoxSizeSpace, 0x17);
    for (int i = 0; i < 3; ++i)
        view.eod.ZoomBoxes(1);
    EXPECT_EQ(gs::U8(Setting(), gs::kBoxSizeSpace), 0x18);
    view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
    // Back to auto: the last column at the right edge again.
    const int32_t w = view.eod.BoxColumnWidth();
    EXPECT_LE(view.IndexToXScale(&view.timeBands->scale, int32_t(view.eod.boxPoints().back().step)) + w / 2,
              view.FindPane(kPanePrice)->right);
    // Outside box mode the box moves do nothing.
    Run(27118);
    view.OnDraw(&dc, DrawDevice{false, 900, 600, 0, 0});
    EXPECT_FALSE(view.eod.ScrollBoxes(1));
    EXPECT_FALSE(view.eod.ZoomBoxes(1));
}

} // namespace
} // namespace qv
