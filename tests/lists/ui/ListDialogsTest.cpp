// The column, results and detail dialogs as a user drives them: what OK hands back, what is refused
// and kept open, the enabling of their controls, and renders of each for a person to look at.
#include "core/StatisticsPeriod.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/DetailDialogs.h"
#include "lists/ui/ResultsSheetDlg.h"

#include "core/ConfigState.h"
#include "core/DateText.h"
#include "lists/ui/ListDialogCommands.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

template <typename W = QWidget>
W* Child(QWidget& dialog, const char* name)
{
    W* w = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void Render(QWidget& w, const char* name)
{
    w.adjustSize();
    SaveRender(RenderWidget(w), QString::fromLatin1(name));
}

} // namespace

TEST(ColumnStyleDlg, ReadsTogglesAndWritesTheAppearance)
{
    ColumnAppearance start;
    start.background = true;
    start.mix = true;
    start.backgroundColour = 0x00FFEEDD;
    start.left = 3;
    CColumnStyleDlg dialog(start, 0x000000, 0xFFFFFF);
    EXPECT_EQ(dialog.appearance(), start);
    EXPECT_TRUE(Child(dialog, "mix")->isEnabled());
    EXPECT_FALSE(Child(dialog, "bold")->isEnabled());
    EXPECT_EQ(Child<QComboBox>(dialog, "rightStyle")->currentText(), QStringLiteral("Default"));
    // Without "Background" the mix is neither offered nor kept.
    Child<QCheckBox>(dialog, "background")->click();
    EXPECT_FALSE(Child(dialog, "mix")->isEnabled());
    EXPECT_FALSE(dialog.appearance().mix);
    Child<QCheckBox>(dialog, "textStyle")->click();
    Child<QCheckBox>(dialog, "italic")->click();
    EXPECT_TRUE(dialog.appearance().italic);
    Render(dialog, "column-borders-shading");
    Child<QPushButton>(dialog, "default")->click();
    EXPECT_EQ(dialog.appearance(), ColumnAppearance{});
}

TEST(ColumnNameDlg, DefaultEndsWithTheDefaultName)
{
    CColumnNameDlg dialog(QStringLiteral("My price"), QStringLiteral("Price"));
    EXPECT_EQ(dialog.name(), QStringLiteral("My price"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "name")->maxLength(), 50);
    Render(dialog, "column-name");
    Child<QPushButton>(dialog, "default")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.name(), QStringLiteral("Price"));
}

TEST(NumberDialogs, OutOfRangeNumbersAreRefusedAndTheDialogStaysOpen)
{
    FakeMessageBox boxes;
    CTextEntryDlg width(QStringLiteral("Column width"), QStringLiteral("Width:"), QStringLiteral("In pixels"), 1, 5, true);
    width.accept();
    EXPECT_NE(width.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Please enter an integer between 10 and 1000.");
    Child<QLineEdit>(width, "value")->setText(QStringLiteral("120"));
    width.accept();
    EXPECT_EQ(width.result(), QDialog::Accepted);
    EXPECT_EQ(width.value(), 120);
    Render(width, "number-entry");

    // Trading days 1: refused as a high/low period, accepted as the date of a price.
    CHighLowSettingsDlg settings(true, {1, 1}, PackDate(2, 1, 2004));
    EXPECT_EQ(settings.windowTitle(), QStringLiteral("Highs & Lows Settings (Global)"));
    settings.accept();
    EXPECT_NE(settings.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.texts().back(), "Please enter an integer between 2 and 999.");
    EXPECT_FALSE(Child(settings, "daysValue")->isEnabled());
    Render(settings, "highs-lows-settings");
    CPriceDateDlg price(5, 1, PackDate(2, 1, 2004));
    price.accept();
    EXPECT_EQ(price.result(), QDialog::Accepted);
    EXPECT_EQ(price.choice(), std::make_pair(5, 1));
    Render(price, "price-date");
}

TEST(PriceDialogs, EachGroupFollowsItsOwnUnit)
{
    const PackedDate date = PackDate(30, 6, 2004);
    CPriceChangeDlg change({0, date}, {3, 4}, PackDate(2, 1, 2004), PackDate(30, 6, 2004));
    EXPECT_EQ(change.first(), std::make_pair(0, int(date)));
    EXPECT_EQ(change.second(), std::make_pair(3, 4));
    EXPECT_EQ(change.secondGroup().selected(), 4);
    // Defaults of the first group double those of the second.
    change.firstGroup().select(3);
    EXPECT_EQ(change.first(), std::make_pair(2, 2));
    Render(change, "price-change");
}

TEST(HighLowColumnDlg, PeriodsFromTheColumnAndTheSettingsDialogs)
{
    HighLowPeriods periods{{0, 0}, {2, 30}};
    CHighLowColumnDlg added(periods, true, 2, PackDate(2, 1, 2004));
    EXPECT_EQ(Child<QPushButton>(added, "globalPeriod")->text(), QStringLiteral("All history"));
    EXPECT_EQ(Child<QPushButton>(added, "customPeriod")->text(), QStringLiteral("Last 30 days"));
    EXPECT_EQ(Child<QRadioButton>(added, "daysSince")->text(), QStringLiteral("Days since Low"));
    EXPECT_EQ(added.fieldCodeAndSubKind(), std::make_pair(55, 0));
    Render(added, "high-low-column");

    // The own period's dialog, answered: it becomes the column's and the next new column's period.
    SetModalDialogRunner([](QDialog& d) {
        auto& s = static_cast<CHighLowSettingsDlg&>(d);
        s.choose(1);
        s.findChild<QLineEdit*>(QStringLiteral("tradingDaysValue"))->setText(QStringLiteral("60"));
        return int(QDialog::Accepted);
    });
    CHighLowColumnDlg edited(periods, 94, 6, {3, 0}, PackDate(2, 1, 2004));
    EXPECT_TRUE(edited.customPeriod());
    EXPECT_EQ(edited.display(), 3);
    EXPECT_FALSE(edited.lows());
    edited.editOwn();
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(edited.ownPeriod(), (HighLowPeriod{1, 60}));
    EXPECT_EQ(periods.lastColumn, (HighLowPeriod{1, 60}));
    EXPECT_EQ(Child<QPushButton>(edited, "customPeriod")->text(), QStringLiteral("Last 60 trad. days"));
    EXPECT_EQ(edited.fieldCodeAndSubKind(), std::make_pair(94, 6));
}

TEST(ResultsSheet, ClicksFollowTheRulesAndAddNowStopsAtTheLimit)
{
    CResultsV2 sheet(true, 0, 118, nullptr);
    CResultsBasic& basic = sheet.basic();
    Child<QRadioButton>(basic, "figure2")->click();
    Child<QRadioButton>(basic, "period2")->click();
    EXPECT_EQ(basic.choice(), (BasicResultChoice{8, kFinal, kDividend, 0}));
    EXPECT_EQ(sheet.description(), QStringLiteral(" Final dividend"));
    Child<QRadioButton>(basic, "year9")->click();
    EXPECT_EQ(basic.choice().period, kYearEnd);
    EXPECT_FALSE(basic.periodEnabled(kInterim));
    Render(sheet, "results-sheet-basic");

    sheet.setActivePage(1);
    CResultsAdvanced& advanced = sheet.advanced();
    Child<QRadioButton>(advanced, "year2")->click();
    Child<QRadioButton>(advanced, "item6")->click();
    EXPECT_EQ(advanced.optionLabel(2), QStringLiteral("Price to book value"));
    EXPECT_FALSE(advanced.optionShown(3));
    Child<QRadioButton>(advanced, "option2")->click();
    EXPECT_EQ(advanced.choice().year, kAdvancedMostRecent);
    EXPECT_FALSE(advanced.yearEnabled(2));
    EXPECT_FALSE(advanced.typeEnabled(1));
    Render(sheet, "results-sheet-advanced");

    int added = 0;
    sheet.setAddNow([&](const CResultsV2&) { return 118 + ++added; });
    sheet.addNow();
    EXPECT_TRUE(sheet.addNowButton()->isEnabled());
    sheet.addNow();
    EXPECT_FALSE(sheet.addNowButton()->isEnabled());
    sheet.addNow();
    EXPECT_EQ(added, 2);
    EXPECT_EQ(CResultsV2(false, 1, 0).addNowButton(), nullptr);

    // The page last used opens next time.
    const OptionBlockB saved = Config().optionsB;
    sheet.reject();
    EXPECT_EQ(CResultsV2(true, -1, 0).activePage(), 1);
    Config().optionsB = saved;
}

TEST(SelectDetailsDlg, MovesEntriesAndStoresTheEndMark)
{
    std::vector<QString> names;
    for (int i = 0; i < kDetailItemCount; ++i)
        names.push_back(QStringLiteral("Item %1").arg(i));
    CSelectDetailsDlg dialog({3, 1}, names);
    EXPECT_FALSE(dialog.button("right")->isEnabled());
    dialog.selectLeft(0);
    EXPECT_TRUE(dialog.button("right")->isEnabled());
    dialog.moveRight();
    EXPECT_EQ(dialog.selection(), (std::vector<uint8_t>{3, 1, 0}));
    dialog.selectRight(2);
    EXPECT_FALSE(dialog.button("down")->isEnabled());
    dialog.moveUp();
    EXPECT_EQ(dialog.storedSelection(), (std::vector<uint8_t>{3, 0, 1, 255}));
    Render(dialog, "select-details");
    dialog.moveAllLeft();
    EXPECT_EQ(dialog.storedSelection(), std::vector<uint8_t>{255});
    dialog.useDefault();
    EXPECT_EQ(dialog.selection().size(), 26u);
}

TEST(DisplayDesignDlg, SharedBackgroundsAndDefaults)
{
    DetailDisplaySettings start;
    start.whiteSpace = 3;
    CDisplayDesignDlg dialog(start);
    dialog.setBoxBackground(0x00336699);
    for (int bar = 0; bar < 8; ++bar)
        EXPECT_EQ(dialog.sampleBackground(bar), 0x00336699u) << bar;
    dialog.setWhiteSpacePosition(4);
    EXPECT_EQ(dialog.settings().whiteSpace, 9);
    // A font chosen through the label sample is the font of all samples.
    auto* label = Child<CStyleButton>(dialog, "labelText");
    label->SetFont(QStringLiteral("Courier"), 1, 14);
    emit label->styleChosen();
    EXPECT_EQ(dialog.settings().face, "Courier");
    EXPECT_EQ(dialog.settings().points, 14);
    EXPECT_TRUE(dialog.settings().bold);
    QString face;
    uint32_t flags = 0;
    int size = 0;
    Child<CStyleButton>(dialog, "boxText")->GetFont(face, flags, size);
    EXPECT_EQ(face, QStringLiteral("Courier"));
    EXPECT_EQ(size, 14);
    // A bar's background is the box background: every sample showing it follows.
    auto* eps = Child<CStyleButton>(dialog, "eps");
    eps->SetColour(0x000000FF, 0x00112233);
    emit eps->styleChosen();
    EXPECT_EQ(dialog.settings().boxBackground, 0x00112233u);
    EXPECT_EQ(dialog.settings().bars[1] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(dialog.settings().bars[0], start.bars[0]); // the others keep their pens
    EXPECT_EQ(dialog.settings().forecastBars, start.forecastBars);
    for (int bar = 0; bar < 8; ++bar)
        EXPECT_EQ(dialog.sampleBackground(bar), 0x00112233u) << bar;
    Render(dialog, "display-design");
    dialog.resetToDefault();
    EXPECT_EQ(dialog.settings(), DetailDisplaySettings{});
    EXPECT_EQ(LogFontHeight(10, 96), -13);
}

TEST(ShareDatesDlg, RowsInDateOrderOrNone)
{
    CShareDatesDlg dialog(QString(), {{"Year end", PackDate(31, 3, 2004)}, {"Ex-dividend", PackDate(4, 2, 2004)}, {"AGM", 0}});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Unknown company"));
    ASSERT_EQ(dialog.rowCount(), 2);
    EXPECT_TRUE(dialog.rowText(0).startsWith(QStringLiteral("Ex-dividend")));
    Render(dialog, "share-dates");
    CShareDatesDlg none(QStringLiteral("Alpha plc"), {});
    EXPECT_EQ(none.rowText(0), QStringLiteral("No dates available"));
}

TEST(DefaultRangeDlg, ChecksPreviewAndCancelRestore)
{
    FakeMessageBox boxes;
    std::array<uint8_t, kChartRangeBytes> record{};
    WriteChartRange({ChartRange::kLimited | ChartRange::kCountUsed | 0, 0, 4, 0}, record);
    const auto original = record;
    int redraws = 0;
    CDefaultRangeDlg dialog(record, PackDate(2, 1, 2004), PackDate(30, 6, 2004), PackDate(30, 6, 2004), [&] { ++redraws; });
    EXPECT_EQ(dialog.range().start, PackDate(2, 1, 2004));
    EXPECT_TRUE(dialog.countEnabled());
    EXPECT_EQ(dialog.countLabel(), QStringLiteral("Previous"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.texts().back(), "Enter a number between 5 and 5000");
    EXPECT_EQ(record, original);
    Render(dialog, "default-range");

    ChartRange r = dialog.range();
    r.count = 50;
    r.set(ChartRange::kStartUsed, true);
    dialog.setRange(r);
    EXPECT_EQ(dialog.countLabel(), QStringLiteral("Following"));
    EXPECT_TRUE(dialog.preview());
    EXPECT_EQ(ReadChartRange(record).count, 50);
    EXPECT_EQ(redraws, 1);
    dialog.reject();
    EXPECT_EQ(record, original);
    EXPECT_EQ(redraws, 2);
}

TEST(GlobalHighLowCommand, KeepsThePeriodOnlyOnOk)
{
    const OptionBlockB saved = Config().optionsB;
    const StatisticsPeriodOption savedPeriod = StatisticsPeriod;
    WriteHighLowPeriod(Config().optionsB, OptionBlockB::kGlobalHighLowPeriod, {1, 250});
    SetModalDialogRunner([](QDialog& d) {
        auto& s = static_cast<CHighLowSettingsDlg&>(d);
        EXPECT_EQ(s.period(), (HighLowPeriod{1, 250}));
        s.choose(2);
        s.findChild<QLineEdit*>(QStringLiteral("daysValue"))->setText(QStringLiteral("30"));
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(RunGlobalHighLowSettings(nullptr));
    EXPECT_EQ(ReadHighLowPeriod(Config().optionsB, OptionBlockB::kGlobalHighLowPeriod), (HighLowPeriod{2, 30}));
    // The period is the one the period highs and lows are worked out over.
    EXPECT_EQ(StatisticsPeriod.unit, 2);
    EXPECT_EQ(StatisticsPeriod.count, 30);
    SetModalDialogRunner([](QDialog& d) {
        static_cast<CHighLowSettingsDlg&>(d).choose(0);
        return int(QDialog::Rejected);
    });
    RunGlobalHighLowSettings(nullptr);
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(ReadHighLowPeriod(Config().optionsB, OptionBlockB::kGlobalHighLowPeriod), (HighLowPeriod{2, 30}));
    EXPECT_EQ(StatisticsPeriod.count, 30);
    Config().optionsB = saved;
    StatisticsPeriod = savedPeriod;
}
