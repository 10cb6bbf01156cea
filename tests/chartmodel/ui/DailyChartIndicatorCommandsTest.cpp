// The indicator, moving-average and stop-loss commands on a daily chart window: their menu states
// and the dialogs they open through the program's modal runner.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "core/ConfigState.h"
#include "resources/MessageIds.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

class DailyChartCommands : public ::testing::Test {
protected:
    DailyChartCommands() : saved_(Config())
    {
        InitGraphSetting(Config().dailyGraphs.records[0], false);
        SetModalDialogRunner([this](QDialog& d) {
            opened.push_back(d.objectName());
            return answer ? answer(d) : int(QDialog::Rejected);
        });
    }
    ~DailyChartCommands() override
    {
        SetModalDialogRunner(nullptr);
        Config() = saved_;
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    bool Enabled(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        return chart.UpdateCommandUi(ui) && ui.enabled;
    }

    CViewGraphEODWnd chart{kViewDailyChart};
    std::vector<QString> opened;
    std::function<int(QDialog&)> answer;

private:
    ConfigState saved_;
};

} // namespace

TEST_F(DailyChartCommands, AddCommandOpensItsDialogAndPlacesTheRecord)
{
    EXPECT_TRUE(Enabled(26351));
    EXPECT_TRUE(Enabled(20205));
    EXPECT_TRUE(Enabled(26090));
    EXPECT_FALSE(Enabled(26525)); // no indicator yet
    answer = [](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("1072"))->setText(QStringLiteral("12"));
        d.accept();
        return d.result();
    };
    chart.onProgramMessage(WM_COMMAND, 26351, 0);
    ASSERT_EQ(opened, std::vector<QString>{QStringLiteral("650")});
    IndicatorRecord r = IndicatorRecord::Read(graphsetting::IndicatorSlot(Setting(), 0, 0));
    EXPECT_EQ(r.type, 8);
    EXPECT_EQ(r.period1, 12);
    EXPECT_EQ(r.heightWeight, 100);
    EXPECT_TRUE(Enabled(20234));
}

TEST_F(DailyChartCommands, SettingsCommandsOpenTheirDialogsAndCancelChangesNothing)
{
    const GraphSetting before = Setting();
    chart.onProgramMessage(WM_COMMAND, 20205, 0);
    chart.onProgramMessage(WM_COMMAND, 26090, 0);
    EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("202"), QStringLiteral("342")}));
    EXPECT_EQ(Setting(), before);
}

} // namespace qv
