// The chart's indicator and market-graph popups: which menu each chart kind shows, and the daily
// chart window offering both.
#include "chartmodel/ui/ChartPopupMenu.h"

#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ChartPopupMenu, EachChartKindShowsItsOwnMenus)
{
    struct Case {
        uint32_t command;
        int32_t kind;
        uint32_t menu;
    };
    const Case cases[] = {
        {kCommandIndicatorPopup, kViewDailyChart, 773}, {kCommandMarketPopup, kViewDailyChart, 774},
        {kCommandIndicatorPopup, kViewIntradayChart, 776}, {kCommandMarketPopup, kViewIntradayChart, 772},
        {kCommandIndicatorPopup, kViewIntradayChart + 1, 0}, {20225, kViewDailyChart, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChartPopupMenuId(c.command, c.kind), c.menu) << c.command << " on kind " << c.kind;
}

TEST(ChartPopupMenu, TheDailyChartOffersBothPopups)
{
    CViewGraphEODWnd chart(kViewDailyChart);
    for (uint32_t command : {kCommandIndicatorPopup, kCommandMarketPopup}) {
        CommandUi ui;
        ui.command = command;
        ASSERT_TRUE(chart.UpdateCommandUi(ui));
        EXPECT_TRUE(ui.enabled) << command;
    }
}

TEST(ChartPopupMenu, AChosenItemRunsItsCommand)
{
    QWidget chart;
    std::vector<uint32_t> run;
    ShowChartPopupMenu(773, &chart, [&](uint32_t command) { run.push_back(command); });
    QMenu* menu = chart.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    QAction* rsi = nullptr;
    for (QAction* action : menu->actions())
        if (ActionCommand(action) == 20225)
            rsi = action;
    ASSERT_NE(rsi, nullptr) << "the daily chart's indicator menu offers the RSI";
    rsi->setEnabled(true);  // no view routes its state here
    rsi->trigger();
    EXPECT_TRUE(run.empty()) << "the command waits until the menu has returned";
    menu->close();
    QApplication::processEvents();
    EXPECT_EQ(run, (std::vector<uint32_t>{20225}));
}

} // namespace
} // namespace qv
