// The share editor on an imported item: both pages render, the fundamentals go into the rebuilt
// record, the price page's buttons work on the selected row, and the small dialogs check their input.
#include "tools/ui/EditShareDlg.h"

#include "chartmodel/TrainingMode.h"
#include "tools/ui/EditDayPriceDlg.h"
#include "core/ImportsFile.h"
#include "core/PriceImport.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "platform/ByteOrder.h"
#include "shell/ui/PriceListBox.h"
#include "support/FakeMessageBox.h"
#include "support/PriceFixtures.h"
#include "shell/ui/DateEdit.h"
#include "support/ui/Render.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<uint8_t> Item()
{
    ImportSeries series;
    series.name = "Brent Crude";
    series.days = {{test::Date(2024, 3, 4), 78.5}, {test::Date(2024, 3, 8), 80.25}};
    std::vector<uint8_t> record = BuildImportedRecord(series.name, series.keywords, 4, series.days.front().date,
                                                      series.days.back().value, *EncodeImportStream(series.days, 4));
    FinishImportedRecord(record.data(), LoadU16(&record[RecordLayout::FirstSubRecord]), record.size());
    return record;
}

TEST(EditShareDlg, FundamentalsAndPricesMakeTheRecord)
{
    test::FakeMessageBox box;
    const std::vector<uint8_t> record = Item();
    CEditShare sheet(record.data());
    EXPECT_EQ(sheet.tabs()->count(), 2);
    CEditShareFun* fun = sheet.fundamentals();
    EXPECT_EQ(fun->field(CEditShareFun::kName)->text(), QStringLiteral("Brent Crude"));
    fun->field(CEditShareFun::kName)->setText(QStringLiteral("North Sea Brent"));
    fun->list(CEditShareFun::kType)->setCurrentText(QStringLiteral("Bond"));
    fun->list(CEditShareFun::kListing)->setCurrentText(QStringLiteral("Full"));
    test::SaveRender(test::RenderWidget(sheet), QStringLiteral("EditShareFundamentals"));

    CEditSharePrice* page = sheet.prices();
    sheet.tabs()->setCurrentWidget(page);
    page->Interpolate();
    EXPECT_FLOAT_EQ(sheet.item().prices[2], 79.375f) << "Wednesday lies halfway along Monday to Friday";
    CEditSharePrice::SetAdjustChooser([](PackedDate date) { return std::optional(CEditSharePrice::Adjustment{date, 2.0}); });
    page->list()->setCurrentRow(page->list()->count() - 1); // the oldest day: Monday
    page->Adjust();
    EXPECT_FLOAT_EQ(sheet.item().prices[0], 157);
    EXPECT_FLOAT_EQ(sheet.item().prices[1], 78.9375f) << "Tuesday is not adjusted";
    // The dialog's date, moved on to Tuesday, is the last day adjusted.
    CEditSharePrice::SetAdjustChooser([](PackedDate) {
        return std::optional(CEditSharePrice::Adjustment{test::Date(2024, 3, 5), 0.5});
    });
    page->Adjust();
    CEditSharePrice::SetAdjustChooser(nullptr);
    EXPECT_FLOAT_EQ(sheet.item().prices[0], 78.5f);
    EXPECT_FLOAT_EQ(sheet.item().prices[1], 39.46875f);
    EXPECT_FLOAT_EQ(sheet.item().prices[2], 79.375f) << "Wednesday is not adjusted";
    CEditSharePrice::SetAdjustChooser([](PackedDate) {
        return std::optional(CEditSharePrice::Adjustment{test::Date(2024, 3, 5), 2.0});
    });
    page->Adjust();
    CEditSharePrice::SetAdjustChooser(nullptr);
    test::SaveRender(test::RenderWidget(sheet), QStringLiteral("EditSharePrice"));

    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    const std::vector<uint8_t>& made = sheet.record();
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(GetRecordName(made.data()), "North Sea Brent");
    EXPECT_EQ(FirstSubRecord(made.data())[SubRecordLayout::Kind], 14);
    EXPECT_EQ((LoadU16(made.data() + 4) >> 3) & 7, 0);

    CEditShare blank(record.data());
    blank.fundamentals()->field(CEditShareFun::kName)->clear();
    blank.accept();
    EXPECT_NE(blank.result(), QDialog::Accepted);
    EXPECT_EQ(box.texts().back(), "Please give this share a name");
}

TEST(EditShareDlg, AdjustmentAndAnomalyLevelCheckTheirInput)
{
    test::FakeMessageBox box;
    CPriceAdjustDlg adjust(test::Date(2024, 3, 8));
    adjust.factorField()->setText(QStringLiteral("4"));
    adjust.divideButton()->setChecked(true);
    EXPECT_EQ(adjust.dateField()->ReadDate(), test::Date(2024, 3, 8)) << "the selected row's date to start with";
    adjust.dateField()->edit()->setText(QStringLiteral("32/02/24"));
    adjust.accept();
    EXPECT_NE(adjust.result(), QDialog::Accepted) << "no such date";
    adjust.dateField()->edit()->setText(QStringLiteral("05/03/24"));
    adjust.accept();
    EXPECT_EQ(adjust.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(adjust.multiplier(), 0.25);
    EXPECT_EQ(adjust.date(), test::Date(2024, 3, 5));
    CPriceAdjustDlg refused(test::Date(2024, 3, 8));
    refused.factorField()->setText(QStringLiteral("200000"));
    refused.accept();
    EXPECT_NE(refused.result(), QDialog::Accepted);
    test::SaveRender(test::RenderWidget(adjust), QStringLiteral("PriceAdjustDlg"));

    for (const char* typed : {"0", "91", "x"}) {
        CAnomalyLevelDlg level(10);
        level.levelField()->setText(QString::fromLatin1(typed));
        level.accept();
        EXPECT_NE(level.result(), QDialog::Accepted) << typed;
    }
    CAnomalyLevelDlg level(10);
    level.levelField()->setText(QStringLiteral("25"));
    level.accept();
    EXPECT_EQ(level.level(), 25);
    test::SaveRender(test::RenderWidget(level), QStringLiteral("AnomalyLevelDlg"));
}

TEST(EditDayPriceDlg, AnOpenAboveTheHighMovesTheHighAndSaysSo)
{
    test::FakeMessageBox box;
    std::vector<std::string> warnings;
    SuppressibleInfoBox previous = SuppressibleInfo();
    SuppressibleInfo() = [&](const std::string& text) {
        warnings.push_back(text);
        return false;
    };
    DayPriceEdit edit;
    edit.shareName = "Abbotsford Energy";
    edit.original = DayRecord{100, 110, 95, 105, 5000, 1, {}, test::Date(2024, 3, 4), 1, 0, 0, {}};
    edit.edited = edit.original;
    CEditDayPriceDlg dialog(edit);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Prices for Abbotsford Energy"));
    dialog.field(CEditDayPriceDlg::kOpen)->setText(QStringLiteral("120"));
    dialog.field(CEditDayPriceDlg::kClose)->setText(QStringLiteral("90"));
    dialog.temporaryButton()->setChecked(true);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("EditDayPriceDlg"));
    dialog.accept();
    EXPECT_EQ(dialog.answer(), DayPriceAnswer::Ok);
    EXPECT_FLOAT_EQ(dialog.edit().edited.high, 120);
    EXPECT_FLOAT_EQ(dialog.edit().edited.low, 90);
    EXPECT_FALSE(dialog.edit().saved);
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "Editing the Opening price above the High will update the High price also.",
                            "Editing the Closing price below the Low will update the Low price also."}));
    CEditDayPriceDlg refused(edit);
    refused.field(CEditDayPriceDlg::kVolume)->setText(QStringLiteral("-3"));
    refused.accept();
    EXPECT_NE(refused.result(), QDialog::Accepted);
    edit.temporaryAllowed = false; // opened from the price list
    CEditDayPriceDlg saved(edit);
    EXPECT_FALSE(saved.temporaryButton()->isEnabled());
    SuppressibleInfo() = previous;
}

} // namespace
} // namespace qv
