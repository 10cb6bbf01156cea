// The dealings dialogs: display options in both forms, find an investor and the weekly statistics,
// with renders of each.
#include "lists/ui/DealingsOptionsDlg.h"
#include "lists/ui/DealingsStatsDlg.h"
#include "lists/ui/FindInvestorDlg.h"

#include "core/CodedText.h"
#include "core/ConfigState.h"
#include "devtools/lib/DemoDealings.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "shell/ui/DialogHelp.h"
#include "support/DealingsSample.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// Installs a dealings file as the program's block for the test.
class DealingsDialogs : public ::testing::Test {
protected:
    void Install(const dev::DealingsFileSpec& spec)
    {
        std::vector<uint8_t> block;
        DealingsFileInfo info;
        ASSERT_EQ(ParseDealingsFile(dev::WriteDealingsFile(spec).bytes, block, info, DealingsCodingTables()),
                  DealingsParse::Ok);
        InstallDealingsBlock(std::move(block), info);
        rows.clear();
        for (uint8_t* e = DealingsMainBlock; e[0] != 0; e += e[0])
            rows.push_back({e + 1, 0});
    }
    DealingsDialogs() : saved_(Config().optionsA) {}
    ~DealingsDialogs() override
    {
        FreeDirDealBlocks();
        Config().optionsA = saved_;
    }
    std::vector<RecordCursor> rows;

private:
    OptionBlockA saved_;
};

QPushButton* HelpButton(QDialog& dialog)
{
    for (auto* button : dialog.findChildren<QPushButton*>())
        if (button->text().contains(QStringLiteral("Help")))
            return button;
    return nullptr;
}

// F1 on a control asks for its pop-up topic (id + 0x10000); the Help button for the dialog's topic.
TEST_F(DealingsDialogs, HelpTopicsOfTheThreeDialogs)
{
    Install(DealingsSample());
    const WeeklyTables tables = BuildWeeklyTables(DealingsMainBlock, DealingsInfo(), DealingsCodingTables());
    CDealingsOptionsDlg options(0x0F, false);
    CFindInvestorDlg finder(rows, QString());
    CDealingsStatsDlg stats(0x0F, tables);
    struct Case {
        QDialog* dialog;
        int control;
        uint32_t topic;
    };
    for (const Case& c : {Case{&options, 1608, 66073}, Case{&finder, 1104, 86463}, Case{&stats, 18121, 83658}}) {
        std::vector<std::pair<uint32_t, bool>> asked;
        DialogHelpHost previous = SetDialogHelpHost([&](uint32_t topic, bool popup) { asked.emplace_back(topic, popup); });
        c.dialog->show();
        QWidget* control = Control<QWidget>(*c.dialog, c.control);
        ASSERT_NE(control, nullptr) << c.control;
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
        ASSERT_NE(HelpButton(*c.dialog), nullptr) << c.topic;
        HelpButton(*c.dialog)->click();
        c.dialog->hide();
        SetDialogHelpHost(previous);
        ASSERT_EQ(asked.size(), 2u) << c.topic;
        EXPECT_EQ(asked[0], std::make_pair(uint32_t(c.control) + 0x10000u, true));
        EXPECT_EQ(asked[1], std::make_pair(c.topic, false));
    }
}

TEST_F(DealingsDialogs, OptionsInBothForms)
{
    CDealingsOptionsDlg plain(0x13 | kHoldLimitParent, false);
    EXPECT_TRUE(Control<QCheckBox>(plain, 1608)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(plain, 1610)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(plain, 1622)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(plain, 3088)->isHidden());
    Control<QCheckBox>(plain, 1622)->setChecked(false);
    Control<QCheckBox>(plain, 1612)->setChecked(true);
    EXPECT_EQ(plain.filter(), 0x1B);
    SaveRender(RenderWidget(plain), QStringLiteral("dealings-options"));

    CDealingsOptionsDlg parent(0x0F | kHoldLimitShare, true);
    EXPECT_TRUE(Control<QRadioButton>(parent, 3088)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(parent, 1622)->isHidden());
    Control<QRadioButton>(parent, 1617)->setChecked(true);
    EXPECT_EQ(parent.filter(), 0x0F | kHoldLimitParent);
    Control<QRadioButton>(parent, 3089)->setChecked(true);
    EXPECT_EQ(parent.filter(), 0x0F);
    SaveRender(RenderWidget(parent), QStringLiteral("dealings-options-parent-list"));
}

TEST_F(DealingsDialogs, FindAnInvestor)
{
    Install(DealingsSample());
    Config().optionsA.data()[OptionBlockA::kFindContains] = 1; // anywhere in the name
    CFindInvestorDlg dialog(std::span<const RecordCursor>(rows).first(3), QStringLiteral("gate"));
    QPushButton* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_EQ(dialog.list()->count(), 1); // the fourth entry is not a row of the view
    EXPECT_EQ(dialog.list()->item(0)->text(), QStringLiteral("Northgate Capital"));
    EXPECT_EQ(dialog.chosen(), rows[2].record);
    SaveRender(RenderWidget(dialog), QStringLiteral("dealings-find-investor"));

    dialog.edit()->setText(QStringLiteral("zz"));
    ASSERT_EQ(dialog.list()->count(), 1);
    EXPECT_EQ(dialog.list()->item(0)->text(), QStringLiteral("No match found"));
    EXPECT_EQ(dialog.chosen(), nullptr);
    if (ok) {
        EXPECT_FALSE(ok->isEnabled());
    }

    dialog.edit()->setText(QStringLiteral("MARG"));
    dialog.firstLetterBox()->setChecked(true);
    EXPECT_EQ(dialog.list()->count(), 3);
    EXPECT_EQ(Config().optionsA.data()[OptionBlockA::kFindContains], 0);
}

TEST_F(DealingsDialogs, WeeklyStatisticsGraphAndTable)
{
    Install(dev::BuildDemoDealings(dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / 12 / 8})));
    const WeeklyTables tables = BuildWeeklyTables(DealingsMainBlock, DealingsInfo(), DealingsCodingTables());
    CDealingsStatsDlg dialog(0x0F, tables);
    dialog.resize(720, 460);
    EXPECT_EQ(dialog.graph()->request().first, tables.first);
    SaveRender(RenderWidget(dialog), QStringLiteral("dealings-stats-graph"));

    dialog.findChildren<QCheckBox*>()[2]->setChecked(true); // smoothing
    EXPECT_TRUE(dialog.graph()->request().smooth);
    SaveRender(RenderWidget(dialog), QStringLiteral("dealings-stats-graph-smoothed"));

    dialog.toggleTable();
    EXPECT_TRUE(dialog.graph()->isHidden());
    EXPECT_EQ(dialog.table()->topLevelItemCount(), int(WeeklyTableLines(tables, true, true).size()));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("18121"))->text(), QStringLiteral("Graph >>"));
    SaveRender(RenderWidget(dialog), QStringLiteral("dealings-stats-table"));

    // Neither group: no graph, an empty table.
    dialog.findChildren<QCheckBox*>()[0]->setChecked(false);
    dialog.findChildren<QCheckBox*>()[1]->setChecked(false);
    EXPECT_EQ(dialog.table()->topLevelItemCount(), 0);
    dialog.toggleTable();
    SaveRender(RenderWidget(dialog), QStringLiteral("dealings-stats-no-data"));
}

} // namespace
