// The chart view's indicator, add-on window and stop-loss commands and their menu states, with the
// dialogs scripted.
#include "chartmodel/ViewGraph.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/StopLossSettings.h"
#include "core/ConfigState.h"
#include "core/SettingRecordStore.h"
#include "support/FakeMessageBox.h"
#include "views/CommandUpdate.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace qv;
namespace gs = qv::graphsetting;

namespace {

class ScriptedChart : public CViewGraph {
public:
    ScriptedChart() : CViewGraph(0) {}
    std::function<bool(IndicatorRecord&, bool editing, bool opened, int& target)> dialog;
    int dialogs = 0;
    bool shift = false;
    std::vector<uint32_t> helps;

protected:
    bool RunAddIndicatorDialog(IndicatorRecord& r, bool editing, bool opened, const WindowUsage&, int, int,
                               int& target) override
    {
        ++dialogs;
        return dialog ? dialog(r, editing, opened, target) : false;
    }
    bool ShownShare(StopShareKey& share) const override
    {
        share = {555, 0};
        return true;
    }
    bool ShiftHeld() const override { return shift; }
    void ShowHelpTopic(uint32_t topic) override { helps.push_back(topic); }
};

class ViewGraphIndicators : public ::testing::Test {
protected:
    ViewGraphIndicators() : saved_(Config())
    {
        Config().dailyGraphs.records[0] = {};
        SettingRecords().load({});
    }
    ~ViewGraphIndicators() override
    {
        Config() = saved_;
        SettingRecords().load({});
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    void Put(int w, int k, int type, int p1 = 0)
    {
        IndicatorRecord r = IndicatorRecord::Of(type, 0, p1);
        if (k == 0)
            r.heightWeight = 100;
        r.Write(gs::IndicatorSlot(Setting(), w, k));
    }
    IndicatorRecord At(int w, int k) { return IndicatorRecord::Read(gs::IndicatorSlot(Setting(), w, k)); }
    bool Enabled(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        EXPECT_TRUE(chart.UpdateCommandUi(ui)) << command;
        return ui.enabled;
    }

    ScriptedChart chart;

private:
    ConfigState saved_;
};

} // namespace

TEST_F(ViewGraphIndicators, AddCommandsPlaceOrRefuse)
{
    test::FakeMessageBox boxes;
    // Point and figure with every window in use: refused before any dialog.
    for (int w = 0; w < 4; ++w)
        Put(w, 0, 2 + w);
    EXPECT_TRUE(chart.OnIndicatorCommand(26366));
    EXPECT_EQ(chart.dialogs, 0);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Would be too many analytics");

    // MACD into the second window, as the dialog chose.
    chart.dialog = [](IndicatorRecord& r, bool editing, bool opened, int& target) {
        EXPECT_FALSE(editing || opened);
        r.period1 = 13;
        target = 1;
        return true;
    };
    EXPECT_TRUE(chart.OnIndicatorCommand(26351));
    EXPECT_EQ(At(1, 1).type, 8);
    EXPECT_EQ(At(1, 1).period1, 13);
}

TEST_F(ViewGraphIndicators, EditToAnotherWindowKeepsTheOriginal)
{
    Put(0, 0, 5, 12);
    Put(1, 0, 2, 14);
    chart.currentAddOn = 0;
    chart.dialog = [](IndicatorRecord& r, bool editing, bool opened, int& target) {
        EXPECT_TRUE(editing && opened);
        r.period1 = 40;
        target = 1;
        return true;
    };
    EXPECT_TRUE(chart.OnIndicatorCommand(26391));
    EXPECT_EQ(At(0, 0).period1, 12);
    EXPECT_EQ(At(1, 1).type, 5);
    EXPECT_EQ(At(1, 1).period1, 40);

    // Without a current window the edit does nothing.
    chart.currentAddOn = 4;
    EXPECT_TRUE(chart.OnIndicatorCommand(26391));
    EXPECT_EQ(chart.dialogs, 1);
}

TEST_F(ViewGraphIndicators, DeleteCommandsAndMenuStates)
{
    Put(0, 0, 5);
    Put(0, 1, 6);
    Put(1, 0, 2);
    chart.currentAddOn = 0;
    EXPECT_TRUE(Enabled(20226));
    EXPECT_TRUE(Enabled(26392));
    EXPECT_FALSE(Enabled(26393));
    CommandUi edit;
    edit.command = 26391;
    chart.UpdateCommandUi(edit);
    EXPECT_EQ(edit.text, GetIndicatorName(At(0, 0)));
    edit.command = 26394;
    chart.UpdateCommandUi(edit);
    EXPECT_EQ(edit.text, std::optional<std::string>("4th Indicator of Window"));
    EXPECT_TRUE(Enabled(20235));
    EXPECT_FALSE(Enabled(20236));
    EXPECT_TRUE(Enabled(20229));
    chart.viewFlags = 2; // a box chart in the price pane
    EXPECT_FALSE(Enabled(20226));
    EXPECT_FALSE(Enabled(26391));
    EXPECT_FALSE(Enabled(26059));
    chart.viewFlags = 0;

    CommandUi spike;
    spike.command = 26899;
    chart.OnIndicatorCommand(26899);
    ASSERT_TRUE(chart.UpdateCommandUi(spike));
    EXPECT_EQ(spike.checked, std::optional<bool>(true));
    chart.OnIndicatorCommand(26899);
    EXPECT_EQ(ChartOptions().spikeRemoval, 0);
    chart.graphSourceKind = 8; // a portfolio's profit or loss
    EXPECT_FALSE(Enabled(26899));
    chart.graphSourceKind = 0;

    chart.OnIndicatorCommand(26389);
    EXPECT_EQ(chart.helps, (std::vector<uint32_t>{84636 + 5}));
    chart.OnIndicatorCommand(26525);
    EXPECT_EQ(At(0, 0).type, 6);
    EXPECT_EQ(At(0, 0).heightWeight, 100);
    chart.OnIndicatorCommand(20234);
    EXPECT_EQ(At(0, 0).type, 2);
    chart.OnIndicatorCommand(20229);
    EXPECT_FALSE(AnyAddOnWindow(Setting()));
    EXPECT_FALSE(Enabled(20229));
}

TEST_F(ViewGraphIndicators, StopCommandsToggleAndAdjust)
{
    CommandUi ui;
    ui.command = 26059;
    chart.OnIndicatorCommand(26059);
    ASSERT_TRUE(chart.UpdateCommandUi(ui));
    EXPECT_EQ(ui.checked, std::optional<bool>(true));
    EXPECT_EQ(GlobalStopMask(false), 1);
    EXPECT_EQ(ui.text, std::optional<std::string>("&Stop-loss - Global"));

    // The individual line: created at 10%, then toggled off and on.
    chart.OnIndicatorCommand(26514);
    ASSERT_TRUE(ShareStopRecord({555, 0}, false));
    EXPECT_FLOAT_EQ(ShareStopRecord({555, 0}, false)->percent, 10.0f);
    EXPECT_EQ(IndividualStopMask(false), 1);
    chart.OnIndicatorCommand(26514);
    EXPECT_EQ(IndividualStopMask(false), 0);

    chart.OnIndicatorCommand(26764); // increase: nearer the price
    EXPECT_FLOAT_EQ(ShareStopRecord({555, 0}, false)->percent, 9.0f);
    chart.shift = true;
    chart.OnIndicatorCommand(26765); // Shift reverses the decrease
    EXPECT_FLOAT_EQ(ShareStopRecord({555, 0}, false)->percent, 8.0f);
    EXPECT_EQ(IndividualStopMask(false), 1);

    SetGlobalStopRecord(false, StopRecord{StopFlag::StopGain, 0, 0, 5.0f, 0});
    chart.UpdateCommandUi(ui);
    EXPECT_EQ(ui.text, std::optional<std::string>("Stop gain - Global"));
}
