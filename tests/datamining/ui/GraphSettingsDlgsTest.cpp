// The data-mining dialogs driven by control id: the range checks and enabling of the three graph
// settings dialogs and what OK writes, the criterion and filter choosers, and the filter-name check.
#include "datamining/ui/GraphSettingsDlgs.h"

#include "datamining/ui/SelectListDlgs.h"
#include "shell/ui/FilterNameDlg.h"
#include "ChooserFilters.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace qv;

namespace {

template <typename T = QWidget>
T* Control(QWidget& dialog, int id)
{
    T* control = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

void SetField(QWidget& dialog, int id, const char* text) { Control<QLineEdit>(dialog, id)->setText(QString::fromLatin1(text)); }

DataMiningGraph DefaultRecord()
{
    DataMiningGraph record{};
    DefaultDataMiningGraphSettings().Write(record);
    return record;
}

TEST(GraphSettingsDlgs, HistogramRefusesOutOfRangeFieldsAndWritesTheRecord)
{
    struct Case {
        int id;
        const char* value;
        const char* message;
    } refused[] = {
        {1948, "0", "Please enter an integer between 1 and 50."},
        {1950, "51", "Please enter an integer between 1 and 50."},
        {2095, "4", "Please enter an integer between 5 and 63."},
        {2099, "64", "Please enter an integer between 5 and 63."},
        {1948, "x", "Please enter an integer."},
    };
    for (const Case& c : refused) {
        DataMiningGraph record = DefaultRecord();
        const DataMiningGraph before = record;
        test::FakeMessageBox box;
        CHistogramDlg dialog(record);
        SetField(dialog, c.id, c.value);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << c.id << " " << c.value;
        EXPECT_EQ(box.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(record.bytes, before.bytes);
    }
    DataMiningGraph record = DefaultRecord();
    CHistogramDlg dialog(record);
    EXPECT_EQ(Control<QLineEdit>(dialog, 1948)->text(), "5");
    EXPECT_EQ(Control<QLineEdit>(dialog, 2099)->text(), "10");
    // The histogram check greys its whole group; the line check its smoothing and pen.
    Control<QCheckBox>(dialog, 2102)->setChecked(false);
    EXPECT_FALSE(Control(dialog, 2095)->isEnabled());
    EXPECT_FALSE(Control(dialog, 1916)->isEnabled());
    EXPECT_TRUE(Control(dialog, 1948)->isEnabled());
    Control<QCheckBox>(dialog, 1914)->setChecked(false);
    for (int id : {1950, 2081, 2093, 2099, 2086})
        EXPECT_FALSE(Control(dialog, id)->isEnabled()) << id;
    test::SaveRender(test::RenderWidget(dialog), "dm_histogram_dialog");
    SetField(dialog, 1948, "50");
    SetField(dialog, 2095, "63");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const DataMiningGraphSettings s = DataMiningGraphSettings::Read(record);
    EXPECT_EQ(s.xBinWidth, 50);
    EXPECT_EQ(s.xSmoothing, 63);
    EXPECT_FALSE(s.has(kHistXLine));
    EXPECT_FALSE(s.has(kHistYShown));
    EXPECT_TRUE(s.has(kHistXShown));
    EXPECT_TRUE(s.has(kHistXBars)) << "the bars bits are not the dialog's";
    // Default puts the defaults back and enables by them.
    CHistogramDlg again(record);
    again.RestoreDefaults();
    EXPECT_EQ(Control<QLineEdit>(again, 1948)->text(), "5");
    EXPECT_TRUE(Control<QCheckBox>(again, 1914)->isChecked());
    EXPECT_TRUE(Control(again, 2099)->isEnabled());
}

TEST(GraphSettingsDlgs, StatisticLinesEnableTheirPensAndWriteTheirBits)
{
    DataMiningGraph record = DefaultRecord();
    CStatLinesDlg dialog(record);
    Control<QCheckBox>(dialog, 2007)->setChecked(false);
    EXPECT_FALSE(Control(dialog, 2103)->isEnabled());
    EXPECT_TRUE(Control(dialog, 2105)->isEnabled());
    test::SaveRender(test::RenderWidget(dialog), "dm_statlines_dialog");
    dialog.accept();
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record);
    EXPECT_FALSE(s.scatter(kStatRegression));
    EXPECT_TRUE(s.scatter(kStatMeans));
    EXPECT_EQ(s.meanPen & 0xFFFFFF, 0x00FF00u);
    CStatLinesDlg again(record);
    again.RestoreDefaults();
    EXPECT_TRUE(Control<QCheckBox>(again, 2007)->isChecked());
    again.accept();
    EXPECT_TRUE(DataMiningGraphSettings::Read(record).scatter(kStatRegression));
}

// Which controls each mark style leaves enabled, with a Z criterion.
TEST(GraphSettingsDlgs, ScatterStylesGreyWhatTheyCannotUse)
{
    struct Case {
        int style;
        bool size, filled, border, zColour, zSize;
    } cases[] = {
        {0, true, true, true, true, true},   {1, true, true, true, true, true},
        {2, true, true, true, true, true},   {3, true, true, true, true, true},
        {4, true, false, false, false, true}, {5, true, false, false, false, true},
        {6, false, false, false, false, false},
    };
    const char* names[7] = {"square", "circle", "diamond", "triangle", "cross", "plus", "point"};
    for (const Case& c : cases) {
        DataMiningGraph record = DefaultRecord();
        CScatterDlg dialog(record, true);
        Control<QRadioButton>(dialog, 1926 + c.style)->setChecked(true);
        EXPECT_EQ(Control(dialog, 1923)->isEnabled(), c.size) << c.style;
        EXPECT_EQ(Control(dialog, 2090)->isEnabled(), c.filled) << c.style;
        EXPECT_EQ(Control(dialog, 1938)->isEnabled(), c.filled) << c.style;
        EXPECT_EQ(Control(dialog, 1933)->isEnabled(), c.border) << c.style;
        EXPECT_EQ(Control(dialog, 1934)->isEnabled(), c.zColour) << c.style;
        EXPECT_EQ(Control(dialog, 1935)->isEnabled(), c.zSize) << c.style;
        test::SaveRender(test::RenderWidget(dialog), QStringLiteral("dm_scatter_dialog_%1").arg(names[c.style]));
        dialog.accept();
        EXPECT_EQ(DataMiningGraphSettings::Read(record).markShape, c.style);
    }
}

TEST(GraphSettingsDlgs, ScatterColourAndFilledExcludeEachOtherAndZNeedsACriterion)
{
    DataMiningGraph record = DefaultRecord();
    {
        CScatterDlg noZ(record, false);
        for (int id : {1934, 1935, 1951, 1952, 2082, 2087, 1922, 2094})
            EXPECT_FALSE(Control(noZ, id)->isEnabled()) << id;
    }
    test::FakeMessageBox box;
    CScatterDlg dialog(record, true);
    auto* filled = Control<QCheckBox>(dialog, 2090);
    auto* colour = Control<QCheckBox>(dialog, 1934);
    ASSERT_TRUE(filled->isChecked());
    colour->setChecked(true);
    EXPECT_FALSE(filled->isChecked());
    EXPECT_TRUE(Control(dialog, 2094)->isEnabled());
    colour->setChecked(false);
    EXPECT_TRUE(filled->isChecked()) << "unticking the colour gives Filled its earlier state";
    colour->setChecked(true);
    filled->setChecked(true);
    EXPECT_FALSE(colour->isChecked()) << "the one ticked last wins";
    // Sizes are 1 to 16.
    Control<QCheckBox>(dialog, 1935)->setChecked(true);
    SetField(dialog, 1952, "17");
    dialog.accept();
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Please enter an integer between 1 and 16."});
    SetField(dialog, 1952, "12");
    SetField(dialog, 1923, "16");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const DataMiningGraphSettings s = DataMiningGraphSettings::Read(record);
    EXPECT_EQ(s.largestSize, 12);
    EXPECT_EQ(s.markSize, 16);
    EXPECT_TRUE(s.scatter(kScatterSizeByZ));
    EXPECT_TRUE(s.scatter(kScatterFilled));
    EXPECT_FALSE(s.scatter(kScatterColourByZ));
    EXPECT_TRUE(s.scatter(kScatterShown)) << "the shown bit is the view's";
}

class DataMiningChoosers : public ::testing::Test {
protected:
    DataMiningChoosers()
    {
        test::AddChooserFilters();
        DMFilter& growth = *FilterList()[1];
        growth.criteria.resize(3);
        growth.criteria[0].kind = 0;
        growth.criteria[0].mode = 2;
        growth.criteria[1].kind = 1;
        growth.criteria[1].mode = 0; // disabled
        growth.criteria[2].kind = 2;
        growth.criteria[2].mode = 1;
        growth.axes = {3, 0, 0};
    }
    ~DataMiningChoosers() override { ClearFilterList(); }

    static QStringList Lines(const QListWidget* list)
    {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
};

TEST_F(DataMiningChoosers, CriterionChooserListsEnabledCriteriaForAnAxisAndAllToEdit)
{
    const DMFilter& growth = *FilterList()[1];
    CSelectCriterionDlg x(growth, CSelectCriterionDlg::Mode::XAxis);
    EXPECT_EQ(x.windowTitle(), "Select x-axis criteria");
    EXPECT_EQ(x.findChild<QLabel*>("prompt")->text(), "Select the criteria for the x-axis");
    ASSERT_EQ(x.list()->count(), 3);
    EXPECT_EQ(x.list()->item(0)->text(), "<<UNSELECTED>>");
    EXPECT_EQ(x.list()->currentRow(), 2) << "the axis's criterion is chosen to start with";
    EXPECT_EQ(x.Chosen(), 2);
    x.list()->setCurrentRow(0);
    EXPECT_EQ(x.Chosen(), -1);
    CSelectCriterionDlg z(growth, CSelectCriterionDlg::Mode::ZAxis);
    EXPECT_EQ(z.windowTitle(), "Select z-axis (mark colour & size) criteria");
    EXPECT_EQ(z.list()->currentRow(), 0);
    CSelectCriterionDlg edit(growth, CSelectCriterionDlg::Mode::Edit);
    EXPECT_EQ(edit.windowTitle(), "Edit criteria");
    EXPECT_EQ(edit.findChild<QLabel*>("prompt")->text(), "Edit the criteria");
    ASSERT_EQ(edit.list()->count(), 3);
    edit.list()->setCurrentRow(1);
    EXPECT_EQ(edit.Chosen(), 1) << "the disabled criterion, by its place among all";
    test::SaveRender(test::RenderWidget(x), "dm_select_criterion_dialog");
}

TEST_F(DataMiningChoosers, FilterChooserOffersNewAllOrOnlyWritableFilters)
{
    CSelectFilterDlg all(FilterList()[2].get(), false, true);
    EXPECT_EQ(all.windowTitle(), "Select the filter");
    EXPECT_EQ(Lines(all.list()), (QStringList{"<<new>>", "Blue Chips", "Growth", "Value"}));
    EXPECT_EQ(all.Chosen(), FilterList()[2].get());
    all.list()->setCurrentRow(0);
    EXPECT_EQ(all.Chosen(), nullptr);
    CSelectFilterDlg writable(nullptr, true, true);
    EXPECT_EQ(Lines(writable.list()), (QStringList{"Growth", "Value"}));
    EXPECT_EQ(writable.Chosen(), nullptr);
    CSelectFilterDlg existing(FilterList()[0].get(), false, false);
    EXPECT_EQ(Lines(existing.list()), (QStringList{"Blue Chips", "Growth", "Value"}));
    EXPECT_EQ(existing.Chosen(), FilterList()[0].get());
    test::SaveRender(test::RenderWidget(all), "dm_select_filter_dialog");
}

TEST_F(DataMiningChoosers, FilterNameOkWaitsForANewNameWithLetterCaseCounting)
{
    CFilterNameDlg dialog;
    auto* ok = dialog.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    dialog.SetRenaming(true);
    EXPECT_EQ(dialog.windowTitle(), "Edit Filter Name");
    dialog.SetRenaming(false);
    EXPECT_EQ(dialog.windowTitle(), "Enter Filter Name");
    dialog.SetNameCheck(true);
    const struct {
        const char* name;
        bool ok;
    } cases[] = {{"", false}, {"Growth", false}, {"Blue Chips", false}, {"growth", true}, {"Growth 2", true}};
    for (const auto& c : cases) {
        dialog.edit()->setText(QString::fromLatin1(c.name));
        EXPECT_EQ(ok->isEnabled(), c.ok) << c.name;
    }
    test::SaveRender(test::RenderWidget(dialog), "dm_filter_name_dialog");
}

} // namespace
