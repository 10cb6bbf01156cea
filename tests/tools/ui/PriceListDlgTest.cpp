// The price list window (its columns follow the settings, the adjustment box refills it, the
// rectangle is kept), its settings dialog in the edited-prices mode, and the print settings.
#include "tools/ui/PriceListDlg.h"

#include "chartmodel/EodPriceEdit.h"
#include "core/VarInt.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"
#include "support/PrivateRegistry.h"
#include "support/ui/Render.h"
#include "lists/ListPrinting.h"
#include "lists/ListViewOptions.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

class PriceListDlg : public test::DatabaseFixture {
protected:
    PriceListDlg() : saved_(PriceListSettings())
    {
        dev::DbRecord record = dev::ShareRecord(0x4001, "Abcdef Widgets", 0, "ABC");
        dev::DbSubRecord& sub = record.subRecords[0];
        sub.priceScale = 100;
        sub.firstDate = test::Date(2024, 3, 4);
        uint8_t buf[8];
        for (int change : {12345, 55, -20, 130}) {
            uint8_t* end = EncodeVarInt(change, buf);
            sub.body.insert(sub.body.end(), buf, end);
        }
        sub.body.push_back(kStreamEnd);
        Load(dev::WriteQuorvaDat(test::OneEntry({record})));
        share_ = FindRecordById(0x4001, 0);
    }
    ~PriceListDlg() override { PriceListSettings() = saved_; }

    test::PrivateRegistry registry;
    PriceListOptions saved_;
    RecordCursor share_{};
};

TEST_F(PriceListDlg, ColumnsFollowTheSettingsAndTheWindowRendersTheDays)
{
    PriceListSettings() = {};
    PriceListSettings().percentChange = true;
    CPriceListDlg dialog(share_, false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Price List for Abcdef Widgets - Closing price, price change"));
    ASSERT_EQ(dialog.list()->topLevelItemCount(), 4);
    QTreeWidgetItem* newest = dialog.list()->topLevelItem(0);
    EXPECT_EQ(newest->text(0), QStringLiteral("Thu 07/03/24"));
    EXPECT_EQ(newest->text(1), QStringLiteral("125.10"));
    EXPECT_EQ(dialog.list()->headerItem()->text(2), QStringLiteral("Change"));
    dialog.adjustBox()->setChecked(true);
    EXPECT_TRUE(PriceListSettings().adjustment);
    EXPECT_EQ(dialog.list()->columnCount(), 4) << "the adjustment column joins";
    dialog.resize(420, 300);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("PriceListDlg"));
}

TEST_F(PriceListDlg, ADoubleClickedRowOpensTheDayEditorAndShowsItsAnswer)
{
    PriceListSettings() = {};
    CPriceListDlg dialog(share_, false);
    DayPriceAnswer answer = DayPriceAnswer::Ok;
    DayPriceEdit seen;
    SetEditDayPriceDialog([&](DayPriceEdit& edit) {
        seen = edit;
        edit.edited.close = 130.0f;
        return answer;
    });
    // Wednesday 6 March: 123.80 as the database has it.
    QTreeWidgetItem* row = dialog.list()->topLevelItem(1);
    ASSERT_EQ(row->text(0), QStringLiteral("Wed 06/03/24"));
    ASSERT_TRUE(dialog.EditDay(row));
    EXPECT_EQ(seen.shareName, "Abcdef Widgets");
    EXPECT_FLOAT_EQ(seen.original.close, 123.80f);
    EXPECT_FALSE(seen.temporaryAllowed) << "no chart holds a temporary value";
    row = dialog.list()->topLevelItem(1);
    EXPECT_EQ(row->text(0), QStringLiteral("*Wed 06/03/24")) << "the edited day is marked";
    EXPECT_EQ(row->text(1), QStringLiteral("130.00"));
    EXPECT_EQ(dialog.list()->currentItem(), row);
    EXPECT_EQ(dialog.list()->topLevelItem(0)->text(1), QStringLiteral("125.10")) << "the other days stay";

    answer = DayPriceAnswer::Cancel;
    EXPECT_FALSE(dialog.EditDay(dialog.list()->topLevelItem(1)));
    EXPECT_EQ(dialog.list()->topLevelItem(1)->text(1), QStringLiteral("130.00"));
    answer = DayPriceAnswer::Reset;
    ASSERT_TRUE(dialog.EditDay(dialog.list()->topLevelItem(1)));
    EXPECT_EQ(dialog.list()->topLevelItem(1)->text(0), QStringLiteral("Wed 06/03/24"));
    EXPECT_EQ(dialog.list()->topLevelItem(1)->text(1), QStringLiteral("123.80"));
    SetEditDayPriceDialog(nullptr);
    EXPECT_FALSE(dialog.EditDay(dialog.list()->topLevelItem(1))) << "no editor installed";
}

TEST_F(PriceListDlg, SettingsInTheEditedModeKeepTheFixedBoxes)
{
    PriceListOptions options;
    options.volume = true;
    CPriceListSettingsDlg edited(options, true);
    for (int id : {4091, 3376, 3380, 3383})
        EXPECT_FALSE(edited.box(id)->isEnabled()) << id;
    EXPECT_TRUE(edited.box(3381)->isEnabled());
    CPriceListSettingsDlg settings(options, false);
    settings.box(3376)->setChecked(true);
    EXPECT_TRUE(settings.options().ohlc);
    EXPECT_TRUE(settings.options().volume);
    test::SaveRender(test::RenderWidget(settings), QStringLiteral("PriceListSettingsDlg"));
}

TEST(PrintSettingsDlg, SizesFrom4To30AndTenStoredAsZero)
{
    struct Case {
        const char* typed;
        bool screen;
        bool accepted;
        uint8_t stored;
    };
    for (const Case& c : {Case{"12", false, true, 12}, Case{"10", false, true, 0}, Case{"3", false, false, 0},
                          Case{"31", false, false, 0}, Case{"x", true, true, 0x80}}) {
        test::FakeMessageBox box;
        CPrintSettingsDlg dialog(0, false);
        dialog.sizeField()->setText(QString::fromLatin1(c.typed));
        dialog.screenBox()->setChecked(c.screen);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.typed;
        if (c.accepted) {
            EXPECT_EQ(dialog.stored(), c.stored) << c.typed;
        }
        EXPECT_EQ(box.shown().size(), c.accepted ? 0u : 1u) << c.typed;
    }
    CPrintSettingsDlg shown(14, true);
    EXPECT_EQ(shown.sizeField()->text(), QStringLiteral("14"));
    test::SaveRender(test::RenderWidget(shown), QStringLiteral("PrintSettingsDlg"));
}

// The print settings command sets the data-mining view's print: its graphs as the first page, and
// whether its rows follow them.
TEST(PrintSettingsDlgTest, TheCommandSetsTheDataMiningPrint)
{
    test::PrivateRegistry registry;
    InstallPriceListDialogs();
    ListViewOptions& options = CurrentListViewOptions();
    const ListViewOptions saved = options;
    options.dataMiningOwnPrintPage = false;
    options.dataMiningPrintRows = true;
    SetModalDialogRunner([](QDialog& d) {
        auto* print = dynamic_cast<CPrintSettingsDlg*>(&d);
        if (!print)
            return int(QDialog::Rejected);
        EXPECT_FALSE(print->rowsBox()->isEnabled()) << "rows print anyway without the graphs";
        print->graphsBox()->setChecked(true);
        EXPECT_TRUE(print->rowsBox()->isEnabled());
        print->rowsBox()->setChecked(false);
        print->accept();
        return print->result();
    });
    const CommandDialog* command = FindCommandDialog(26213);
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE((*command)());
    SetModalDialogRunner({});
    EXPECT_TRUE(options.dataMiningOwnPrintPage);
    EXPECT_FALSE(options.dataMiningPrintRows);
    const DataMiningPrintOptions dataMining{options.dataMiningOwnPrintPage, options.dataMiningPrintRows};
    EXPECT_EQ(PlanListPrint(3, true, &dataMining).pages, 1) << "the graphs' page alone";
    options = saved;
    RemovePriceListDialogs();
}

} // namespace
} // namespace qv
