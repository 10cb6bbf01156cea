// The chart view's own commands through its message handler and update rule: add-on window zoom,
// the log scale and the stop command.
#include "chartmodel/ui/ViewGraphWindow.h"

#include "chartmodel/AddOnZoom.h"
#include "chartmodel/ChartToggles.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendPlacement.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ui/GraphLegend.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "devtools/lib/SyntheticChart.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"

#include "support/ui/Render.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>
#include <memory>

namespace qv {
namespace {

namespace gs = graphsetting;
using Chart = dev::SyntheticChart<CViewGraphWnd>;

class ChartViewCommands : public ::testing::Test {
protected:
    ChartViewCommands()
    {
        saved_ = Config().dailyGraphs.records[0];
        savedZoom_ = ChartOptions().zoomPercent;
        dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
    }
    ~ChartViewCommands() override
    {
        Config().dailyGraphs.records[0] = saved_;
        ChartOptions().zoomPercent = savedZoom_;
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    static CommandUi State(const Chart& chart, uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        EXPECT_TRUE(chart.UpdateCommandUi(ui)) << command;
        return ui;
    }

private:
    GraphSetting saved_;
    int32_t savedZoom_ = 70;
};

TEST_F(ChartViewCommands, ZoomCommandsToggleAWindowAndTheSizeCommandOnlyZooms)
{
    Chart chart(300);
    chart.RenderToImage(800, 600);
    chart.onProgramMessage(WM_COMMAND, 26530, 0);
    EXPECT_TRUE(AddOnWindowZoomed(Setting(), 1));
    EXPECT_EQ(State(chart, 26530).checked, true);
    EXPECT_EQ(State(chart, 26532).enabled, false) << "the fourth window is not in use";

    // The size command zooms the window under the mouse, and a second use leaves it zoomed.
    chart.RenderToImage(800, 600);
    GraphPane* first = chart.FindPane(kPaneFirstAddOn);
    ASSERT_NE(first, nullptr);
    chart.lastMouseX = (chart.plotRect[0] + chart.plotRect[2]) / 2;
    chart.lastMouseY = (first->top + first->bottom) / 2;
    chart.onProgramMessage(WM_COMMAND, 26509, 0);
    EXPECT_EQ(ChartOptions().zoomPercent, 50);
    EXPECT_TRUE(AddOnWindowZoomed(Setting(), 0));
    EXPECT_FALSE(AddOnWindowZoomed(Setting(), 1));
    chart.onProgramMessage(WM_COMMAND, 26509, 0);
    EXPECT_TRUE(AddOnWindowZoomed(Setting(), 0));
    EXPECT_EQ(State(chart, 26509).checked, true);
    EXPECT_EQ(State(chart, 26507).checked, false);

    // "Delete the current window" deletes the window under the mouse; the second moves down.
    uint8_t secondType = gs::IndicatorSlot(Setting(), 1, 0)[gs::kSlotType];
    chart.onProgramMessage(WM_COMMAND, 26380, 0);
    EXPECT_EQ(gs::IndicatorSlot(Setting(), 0, 0)[gs::kSlotType], secondType);
    EXPECT_EQ(gs::IndicatorSlot(Setting(), 1, 0)[gs::kSlotType], 0);
    chart.lastMouseY = chart.FindPane(kPanePrice)->top + 5;
    chart.onProgramMessage(WM_COMMAND, 26380, 0);
    EXPECT_EQ(gs::IndicatorSlot(Setting(), 0, 0)[gs::kSlotType], secondType) << "over no add-on window: nothing";
}

TEST_F(ChartViewCommands, LogScaleAndStopCommands)
{
    Chart chart(300);
    bool before = LogScaleOn(Setting());
    chart.onProgramMessage(WM_COMMAND, 20223, 0);
    EXPECT_NE(LogScaleOn(Setting()), before);
    EXPECT_EQ(State(chart, 20223).checked, !before);
    chart.graphSourceKind = 8;
    EXPECT_EQ(State(chart, 20223).enabled, false) << "not for a portfolio's profit";
    chart.graphSourceKind = 0;

    chart.trainingMode = 1;
    chart.priceEditMode = 1;
    chart.onProgramMessage(WM_COMMAND, 27265, 0);
    EXPECT_EQ(chart.trainingMode, 0);
    EXPECT_EQ(chart.priceEditMode, 0);
}

TEST_F(ChartViewCommands, LegendCommandShowsTheLegendForTheChartAndHidesIt)
{
    ResetLegendSettings();
    ChartOptions().legendShown = 0;
    Chart chart(300);
    chart.RenderToImage(800, 600);
    chart.onProgramMessage(WM_COMMAND, 26061, 0);
    CGraphLegend& legend = GraphLegendWindow();
    EXPECT_TRUE(legend.isVisible());
    EXPECT_EQ(legend.view(), &chart);
    EXPECT_EQ(State(chart, 26061).checked, true);
    LegendRect expected = DefaultLegendRect(QGuiApplication::primaryScreen()->geometry().width(),
                                            chart.mapToGlobal(QPoint(0, 0)).x(), chart.mapToGlobal(QPoint(0, 0)).y());
    EXPECT_EQ(legend.geometry().size(), QSize(expected.width, expected.height));
    test::SaveRender(legend.grab().toImage(), "chart-legend-window");
    chart.onProgramMessage(WM_COMMAND, 26061, 0);
    EXPECT_FALSE(legend.isVisible());
    EXPECT_EQ(ChartOptions().legendShown, 0);
    ResetLegendSettings();
}

TEST_F(ChartViewCommands, TheLegendLetsGoOfAClosedChartAndHidesWithTheLast)
{
    ResetLegendSettings();
    ChartOptions().legendShown = 0;
    auto first = std::make_unique<Chart>(300);
    auto second = std::make_unique<Chart>(300);
    first->show();
    second->show();
    first->RenderToImage(800, 600);
    first->onProgramMessage(WM_COMMAND, 26061, 0);
    CGraphLegend& legend = GraphLegendWindow();
    ASSERT_EQ(legend.view(), first.get());

    // Another chart remains: the legend stays up, bound to nothing until a chart takes the focus.
    first.reset();
    EXPECT_TRUE(legend.isVisible());
    EXPECT_EQ(legend.view(), nullptr);
    second.reset();
    EXPECT_FALSE(legend.isVisible());

    // Closed while unbound, the legend turns its option off.
    legend.show();
    legend.close();
    EXPECT_EQ(ChartOptions().legendShown, 0);
    ResetLegendSettings();
}

TEST_F(ChartViewCommands, FirstAndLastShareOfTheList)
{
    Chart chart(300);
    std::vector<std::array<uint8_t, 8>> records(3);
    ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].fill(0);
        StoreU16(records[i].data(), 8);
        StoreU16(records[i].data() + 2, uint16_t(100 + i));
        list->entries[i].record = records[i].data();
    }
    list->current = 1;
    chart.list = list;
    EXPECT_EQ(State(chart, 20605).enabled, true);
    chart.onProgramMessage(WM_COMMAND, 20605, 0);
    EXPECT_EQ(list->current, 2);
    EXPECT_EQ(list->currentId, 102u);
    chart.onProgramMessage(WM_COMMAND, 20604, 0);
    EXPECT_EQ(list->current, 0);
    EXPECT_EQ(list->currentId, 100u);
    chart.list = nullptr;
    EXPECT_EQ(State(chart, 20604).enabled, false);
}

} // namespace
} // namespace qv
