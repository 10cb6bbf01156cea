// The data-mining control panel on the demo data: its title, rows and blackbox text, its commands
// driven by control id and synthesised mouse, the Add Criteria dialog's packing, the range strip, and
// renders of each.
#include "datamining/ui/DMControl.h"

#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/CriteriaRange.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterEditing.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/AddCriteriaDlg.h"
#include "datamining/ui/CriteriaRangeCtrl.h"
#include "datamining/ui/DMCriteriaDialog.h"
#include "datamining/ui/ViewDataMining.h"
#include "devtools/lib/DemoFilters.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/MessageDispatch.h"
#include "shell/FrameDialogSeams.h"
#include "shell/LayoutSwitch.h"
#include "shell/ui/CommandSweep.h"
#include "shell/ui/FilterNameDlg.h"
#include "lists/ui/EditNoteDlg.h"
#include "shell/ui/ModalDialog.h"
#include "support/DatabaseFixture.h"
#include "support/ui/DataMiningViewFixture.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// A panel without a view that keeps the messages it sends.
class RecordingPanel : public CDM_Control {
public:
    RecordingPanel() : CDM_Control(nullptr) { resize(kDefaultWidth, 600); }
    std::vector<std::pair<uint32_t, uintptr_t>> sent;

protected:
    void Notify(uint32_t message, uintptr_t wParam) override { sent.emplace_back(message, wParam); }
};

template <typename W = QWidget>
W* Control(QWidget& parent, int id)
{
    W* w = parent.findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

class DMControlTest : public DataMiningViewFixture {
protected:
    DMControlTest()
    {
        for (auto& filter : FilterList())
            UpdateFilterStatistics(FilterCandidates().rows.data(), nullptr, nullptr, filter.get());
    }
    ~DMControlTest() override
    {
        SetModalDialogRunner({});
        SetCriterionDialog({});
    }
    DMFilter& Current() { return *CurrentFilter(); }
    // Runs the next modal dialog through `act`, which answers for it.
    template <typename D>
    void Answer(std::function<int(D&)> act)
    {
        SetModalDialogRunner([act](QDialog& dialog) {
            auto* d = dynamic_cast<D*>(&dialog);
            return d ? act(*d) : int(QDialog::Rejected);
        });
    }
    // Adds a criterion through the Add Criteria dialog, set up by `fill` and closed with OK.
    bool AddThroughDialog(CDM_Control& panel, const std::function<void(CAddCriteriaDlg&)>& fill)
    {
        bool accepted = false;
        Answer<CAddCriteriaDlg>([&](CAddCriteriaDlg& d) {
            fill(d);
            d.accept();
            accepted = d.result() == QDialog::Accepted;
            return d.result();
        });
        panel.RunCommand(1893);
        return accepted;
    }

};

TEST_F(DMControlTest, ThePanelShowsTheFilterWithOneRowPerCriterion)
{
    CViewDataMining& v = MakeView();
    CDM_Control* panel = v.panel();
    ASSERT_NE(panel, nullptr);
    panel->resize(CDM_Control::kDefaultWidth, 640);
    RenderWidget(*panel);
    EXPECT_EQ(panel->title()->text(), QStringLiteral("Filter: Value Shares"));
    EXPECT_EQ(panel->note()->text().toStdString(), Current().note);
    EXPECT_EQ(panel->title()->font().pixelSize(), 14);
    const int visible = (panel->rowArea()->height() + 1) / 74;
    EXPECT_EQ(panel->visibleRows(), visible);
    const size_t count = Current().criteria.size();
    ASSERT_GE(count, 3u);
    for (size_t i = 0; i < panel->rows().size(); ++i) {
        CDM_CriteriaDialog* row = panel->rows()[i];
        EXPECT_EQ(row->height(), 74);
        EXPECT_EQ(row->index(), i < count ? int(i) : -1);
    }
    const DMCriterion& first = Current().criteria[0];
    CDM_CriteriaDialog& row = *panel->rows()[0];
    // The fields show the bounds within the data range of the source in view.
    EXPECT_EQ(row.lowerField()->text(), QString::asprintf("%.2f", double(ShownLowerBound(first))));
    EXPECT_EQ(row.upperField()->text(), QString::asprintf("%.2f", double(ShownUpperBound(first))));
    EXPECT_EQ(row.wording()->font().pixelSize(), 11);
    EXPECT_TRUE(Control<QAbstractButton>(row, 1909)->isChecked()) << "the first criterion is the X criterion";
    EXPECT_FALSE(Control<QAbstractButton>(row, 1919)->isChecked());
    // The scroll bar steps one criterion: the rows show the criteria from its position on.
    panel->resize(CDM_Control::kDefaultWidth, 320);
    RenderWidget(*panel);
    if (int(count) > panel->visibleRows()) {
        panel->scrollBar()->setValue(1);
        EXPECT_EQ(panel->rows()[0]->index(), 1);
    }
    // The view's commands reach the panel.
    CommandUi ui{26472, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(v.UpdateCommand(ui));
    EXPECT_TRUE(ui.enabled);
    ui = {26594, false, std::nullopt, std::nullopt};
    v.UpdateCommand(ui);
    EXPECT_TRUE(ui.enabled) << "the view installs the filter list dialog that deleting opens";
    EXPECT_TRUE(SweepSkipsItem(26594, QStringLiteral("&Delete filter..."))) << "the command sweep never deletes";
}

TEST_F(DMControlTest, TheWordingDoublesAmpersands)
{
    DMCriterion c;
    c.kind = kAdvancedResultKind;
    c.parameter = AdvancedParameter(11, 0); // "R & D"
    EXPECT_TRUE(RowWording(c).contains(QStringLiteral("R && D")));
}

TEST_F(DMControlTest, AReadOnlyFilterShowsTheBlackboxTextAndOnlyItsSourceChanges)
{
    RecordingPanel panel;
    auto readOnly = std::make_unique<DMFilter>(*FilterList().front());
    readOnly->name = "Ludrin Ossery filter 1";
    readOnly->flags = kFilterReadOnly | kFilterEdition;
    panel.SetFilter(readOnly.get());
    RenderWidget(panel);
    SaveRender(RenderWidget(panel), "dm-panel-readonly");
    EXPECT_EQ(panel.title()->text(), QStringLiteral("Ludrin Ossery filter 1"));
    EXPECT_TRUE(panel.blackbox()->isVisibleTo(&panel));
    EXPECT_FALSE(Control<QWidget>(panel, 1893)->isEnabled());
    EXPECT_FALSE(panel.rowArea()->isVisibleTo(&panel));
    EXPECT_EQ(Control<QLabel>(panel, 1897)->text().toStdString(), kBlackboxText);
    for (const CDM_CriteriaDialog* row : panel.rows())
        EXPECT_EQ(row->criterion(), nullptr);
    EXPECT_EQ(panel.scrollBar()->maximum(), 0);
    FrameDialogs().portfolioChooser = [](int, bool&) { return static_cast<Portfolio*>(nullptr); };
    for (uint32_t command : {1893u, 26477u, 26691u, 26772u, 26478u, 2005u, 1894u, 26802u, 26801u})
        EXPECT_FALSE(panel.CommandEnabled(command)) << command;
    FrameDialogs().portfolioChooser = {};
    Control<QAbstractButton>(panel, 2001)->click();
    EXPECT_EQ(readOnly->sourceKind, kFtse100Source);
    Control<QAbstractButton>(panel, 2000)->click();
    EXPECT_TRUE(panel.sourceList()->isEnabled());
    EXPECT_EQ(readOnly->sourceKind, kFtse100Source) << "\"Other:\" applies nothing until a list is picked";
    EXPECT_EQ(panel.sourceList()->currentIndex(), -1);
    panel.sourceList()->setCurrentIndex(6);
    emit panel.sourceList()->activated(6);
    EXPECT_EQ(readOnly->sourceKind, 5) << "FTSE 250";
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1213, 1}));

    panel.SetFilter(nullptr);
    EXPECT_EQ(panel.title()->text(), QStringLiteral("  No Selected Filter"));
}

// "<<User portfolio>>" asks the portfolio chooser; the chosen portfolio becomes the source and names the
// combo's first entry. Without user portfolios the source stays and the user is told.
TEST_F(DMControlTest, AUserPortfolioBecomesTheSource)
{
    RecordingPanel panel;
    DMFilter f = Current();
    panel.SetFilter(&f);
    Portfolio mine;
    mine.type = kUserPortfolio;
    mine.number = 6;
    mine.name = "Growth";
    Portfolio* saved = PortfolioChain();
    PortfolioChain() = nullptr;
    int asked = 0;
    FrameDialogs().portfolioChooser = [&](int, bool&) {
        ++asked;
        return &mine;
    };
    FakeMessageBox boxes;
    Control<QAbstractButton>(panel, 2000)->click();
    panel.sourceList()->setCurrentIndex(0);
    emit panel.sourceList()->activated(0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"There are currently no user portfolios available.\nUsing the all list."});
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(f.flags & kFilterPortfolioSource, 0);
    PortfolioChain() = &mine;
    emit panel.sourceList()->activated(0);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(f.flags & kFilterPortfolioSource, 0);
    EXPECT_EQ(f.portfolioNumber, 6);
    EXPECT_EQ(f.sourceKind, 0);
    EXPECT_EQ(panel.sourceList()->itemText(0), QStringLiteral("Port: Growth"));
    EXPECT_EQ(panel.sent.front(), (std::pair<uint32_t, uintptr_t>{1208, 1}));
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1213, 1}));
    PortfolioChain() = saved;
    FrameDialogs().portfolioChooser = {};
}

TEST_F(DMControlTest, RowsRefuseBadBoundsAndToggleAxes)
{
    RecordingPanel panel;
    DMFilter& f = Current();
    panel.SetFilter(&f);
    RenderWidget(panel);
    CDM_CriteriaDialog& row = *panel.rows()[0];
    const DMCriterion before = f.criteria[0];
    const float shownLower = ShownLowerBound(before), shownUpper = ShownUpperBound(before);
    // A lower bound equal to the upper is refused and the old value returns.
    row.lowerField()->setText(QString::asprintf("%.2f", double(shownUpper)));
    emit row.lowerField()->editingFinished();
    EXPECT_FLOAT_EQ(f.criteria[0].lower, before.lower);
    EXPECT_EQ(row.lowerField()->text(), QString::asprintf("%.2f", double(shownLower)));
    EXPECT_TRUE(panel.sent.empty());
    // Leaving a field as shown keeps the stored bound, below the data as it may be.
    emit row.lowerField()->editingFinished();
    EXPECT_FLOAT_EQ(f.criteria[0].lower, before.lower);
    EXPECT_TRUE(panel.sent.empty());
    const QString typed = QString::asprintf("%.2f", double((shownLower + shownUpper) / 2));
    const float inside = typed.toFloat();
    row.lowerField()->setText(typed);
    emit row.lowerField()->editingFinished();
    EXPECT_FLOAT_EQ(f.criteria[0].lower, inside);
    EXPECT_EQ(panel.sent, (std::vector<std::pair<uint32_t, uintptr_t>>{{1205, 1}}));
    // X on the X criterion clears it; Y on the first row makes it the Y criterion.
    ASSERT_EQ(f.axes[0], 1u);
    QTest::mouseClick(Control<QWidget>(row, 1909), Qt::LeftButton);
    EXPECT_EQ(f.axes[0], 0u);
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1207, 0}));
    QTest::mouseClick(Control<QWidget>(row, 1919), Qt::LeftButton);
    EXPECT_EQ(f.axes[1], 1u);
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1207, 1}));
    // The first row cannot move up, the last cannot move down.
    EXPECT_FALSE(panel.CommandEnabled(26693, 0));
    EXPECT_TRUE(panel.CommandEnabled(26694, 0));
    EXPECT_FALSE(panel.CommandEnabled(26694, int(f.criteria.size()) - 1));
    // The mode button and the context menu's checks.
    f.criteria[0].mode = 2;
    QTest::mouseClick(static_cast<QWidget*>(row.modeButton()), Qt::LeftButton);
    EXPECT_EQ(f.criteria[0].mode, 0);
    EXPECT_TRUE(panel.CommandChecked(26770, 0));
    EXPECT_FALSE(row.rangeControl()->enabledForDrag());
    panel.RunCommand(26768, 0);
    EXPECT_TRUE(panel.CommandChecked(26768, 0));
    panel.RunCommand(1944, 0);
    EXPECT_TRUE(panel.CommandChecked(1944, 0));
    EXPECT_TRUE(row.wording()->font().underline());
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1205, 0}));
}

// Deleting a criterion leaves every axis on the criterion it named, or on none, and tells the views.
TEST_F(DMControlTest, DeletingACriterionKeepsTheAxesOnTheirCriteria)
{
    struct Case {
        int deleted;
        std::array<uint32_t, 3> axes;
    } cases[] = {{0, {0, 1, 2}}, {1, {1, 0, 2}}, {2, {1, 2, 0}}};
    for (const Case& c : cases) {
        RecordingPanel panel;
        DMFilter f = Current();
        f.axes = {1, 2, 3};
        panel.SetFilter(&f);
        RenderWidget(panel);
        ASSERT_GT(panel.rows().size(), size_t(c.deleted));
        FakeMessageBox boxes;
        boxes.queue(MsgAnswer::Yes);
        QTest::mouseClick(Control<QWidget>(*panel.rows()[size_t(c.deleted)], 1936), Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Are you sure you want to delete this criteria?"});
        EXPECT_EQ(f.axes, c.axes) << c.deleted;
        EXPECT_EQ(f.criteria.size(), Current().criteria.size() - 1);
        EXPECT_EQ(panel.sent, (std::vector<std::pair<uint32_t, uintptr_t>>{{1208, 1}, {1209, 1}, {1213, 1}}));
    }
    RecordingPanel panel;
    DMFilter f = Current();
    panel.SetFilter(&f);
    FakeMessageBox boxes;
    boxes.queue(MsgAnswer::No);
    panel.RunCommand(1936, 0);
    EXPECT_EQ(f.criteria.size(), Current().criteria.size()) << "No keeps it";
}

TEST_F(DMControlTest, AddCriteriaPacksPeriodsAndKeepsEachKindsChoice)
{
    RecordingPanel panel;
    DMFilter f;
    f.name = "Empty";
    f.sourceKind = 1;
    panel.SetFilter(&f);
    FakeMessageBox boxes;
    // Period 2 of 3 is stored as 5, 9000 as 8000.
    for (const auto& [typed, stored] : {std::pair{"3", 5u}, std::pair{"9000", 8000u}}) {
        ASSERT_TRUE(AddThroughDialog(panel, [typed](CAddCriteriaDlg& d) {
            d.chooseKind(kMovingAverageKind);
            Control<QLineEdit>(d, 1186)->setText(QStringLiteral("20"));
            Control<QLineEdit>(d, 1187)->setText(QString::fromLatin1(typed));
        }));
        EXPECT_EQ(f.criteria.back().setting >> 18, stored);
        EXPECT_EQ((f.criteria.back().setting >> 4) & 0x3FFF, 20u);
    }
    EXPECT_EQ(f.axes, (std::array<uint32_t, 3>{1, 2, 0})) << "the first two became X and Y";
    // The criterion that took Y sets that axis at once, as choosing it for the axis would.
    const std::vector<std::pair<uint32_t, uintptr_t>> tail(panel.sent.end() - 2, panel.sent.end());
    EXPECT_EQ(tail, (std::vector<std::pair<uint32_t, uintptr_t>>{{1213, 1}, {1207, 1}}));
    // The whole range is selected, open at both ends: every value of every source passes.
    EXPECT_EQ(f.criteria[0].lower, kNoLowerLimit);
    EXPECT_EQ(f.criteria[0].upper, kNoUpperLimit);
    EXPECT_FLOAT_EQ(ShownLowerBound(f.criteria[0]), f.criteria[0].dataMin);
    EXPECT_FLOAT_EQ(ShownUpperBound(f.criteria[0]), f.criteria[0].dataMax);
    // Period 1 below 5 is refused with the standard message.
    EXPECT_FALSE(AddThroughDialog(panel, [](CAddCriteriaDlg& d) {
        d.chooseKind(kMovingAverageKind);
        Control<QLineEdit>(d, 1186)->setText(QStringLiteral("4"));
    }));
    EXPECT_EQ(boxes.texts().back(), "Please enter an integer between 5 and 9999.");
    EXPECT_EQ(f.criteria.size(), 2u);
    panel.sent.clear();
    // "Trading days" 15 as the first date of "Price for".
    ASSERT_TRUE(AddThroughDialog(panel, [](CAddCriteriaDlg& d) {
        d.chooseKind(kPriceKind);
        auto* parameters = Control<QComboBox>(d, 1911);
        parameters->setCurrentIndex(3);
        emit parameters->activated(3);
        Control<QAbstractButton>(d, 1164)->click();
        Control<QLineEdit>(d, 1176)->setText(QStringLiteral("15"));
    }));
    EXPECT_EQ(f.criteria.back().firstDate, 0x5000Fu);
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1213, 1})) << "both axes taken: no axis changes";
    EXPECT_EQ(f.criteria.back().parameter, 3);
    // "ROCE" (item 13) is stored as 14.
    ASSERT_TRUE(AddThroughDialog(panel, [](CAddCriteriaDlg& d) {
        d.chooseKind(kAdvancedResultKind);
        auto* parameters = Control<QComboBox>(d, 1911);
        parameters->setCurrentIndex(13);
        emit parameters->activated(13);
        EXPECT_FALSE(Control<QWidget>(d, 3513)->isVisibleTo(&d)) << "ROCE has no variants";
    }));
    EXPECT_EQ(f.criteria.back().parameter, 14);

    // Moving average, then P/E, then moving average again restores the moving-average settings.
    CAddCriteriaDlg d(CriterionDialogFields{}, false, PackedDate(FilterCandidates().referenceDate));
    d.chooseKind(kMovingAverageKind);
    Control<QComboBox>(d, 1911)->setCurrentIndex(6);
    Control<QComboBox>(d, 2092)->setCurrentIndex(2);
    Control<QLineEdit>(d, 1186)->setText(QStringLiteral("30"));
    Control<QLineEdit>(d, 1187)->setText(QStringLiteral("90"));
    d.chooseKind(3);
    EXPECT_FALSE(Control<QWidget>(d, 1186)->isVisibleTo(&d));
    d.chooseKind(kMovingAverageKind);
    EXPECT_EQ(Control<QComboBox>(d, 1911)->currentIndex(), 6);
    EXPECT_EQ(Control<QComboBox>(d, 2092)->currentIndex(), 2);
    EXPECT_EQ(Control<QLineEdit>(d, 1186)->text(), QStringLiteral("30"));
    EXPECT_EQ(Control<QLineEdit>(d, 1187)->text(), QStringLiteral("90"));
}

TEST_F(DMControlTest, EditingACriterionOpensTheDialogInEditMode)
{
    RecordingPanel panel;
    DMFilter f = Current();
    panel.SetFilter(&f);
    RenderWidget(panel);
    ASSERT_GT(panel.rows().size(), 1u);
    InstallCriterionDialog();
    QString caption;
    Answer<CAddCriteriaDlg>([&](CAddCriteriaDlg& d) {
        caption = d.windowTitle();
        EXPECT_TRUE(Control<QWidget>(d, 2085)->isVisibleTo(&d));
        Control<QLineEdit>(d, 2085)->setText(QStringLiteral("1"));
        Control<QLineEdit>(d, 2097)->setText(QStringLiteral("2"));
        d.accept();
        return d.result();
    });
    QTest::mouseDClick(panel.rows()[1], Qt::LeftButton, Qt::NoModifier, QPoint(2, 72));
    EXPECT_EQ(caption, QStringLiteral("Edit Criteria"));
    EXPECT_FLOAT_EQ(f.criteria[1].lower, 1);
    EXPECT_FLOAT_EQ(f.criteria[1].upper, 2);
    EXPECT_EQ(panel.sent, (std::vector<std::pair<uint32_t, uintptr_t>>{{1208, 1}, {1209, 1}}));
}

// An edit that leaves the bounds as shown keeps them as stored, an open bound included; an edit to
// another kind gives the new kind's whole range instead of the old bounds squeezed into it.
TEST_F(DMControlTest, EditingKeepsOpenBoundsAndAKindChangeOpensTheRange)
{
    RecordingPanel panel;
    DMFilter f = Current();
    f.criteria[1].lower = kNoLowerLimit;
    panel.SetFilter(&f);
    RenderWidget(panel);
    InstallCriterionDialog();
    const DMCriterion before = f.criteria[1];
    Answer<CAddCriteriaDlg>([](CAddCriteriaDlg& d) {
        d.accept();
        return d.result();
    });
    panel.RunCommand(26457, 1);
    EXPECT_EQ(f.criteria[1].lower, kNoLowerLimit) << "left as shown: still open";
    EXPECT_EQ(f.criteria[1].upper, before.upper);
    f.criteria[1].lower = 2;
    f.criteria[1].upper = 14.88f;
    FakeMessageBox boxes;
    Answer<CAddCriteriaDlg>([](CAddCriteriaDlg& d) {
        d.chooseKind(kMovingAverageKind);
        Control<QLineEdit>(d, 1186)->setText(QStringLiteral("20"));
        Control<QLineEdit>(d, 1187)->setText(QStringLiteral("50"));
        d.accept();
        return d.result();
    });
    panel.RunCommand(26457, 1);
    EXPECT_TRUE(boxes.texts().empty());
    const DMCriterion& edited = f.criteria[1];
    EXPECT_EQ(edited.kind, kMovingAverageKind);
    EXPECT_EQ(edited.lower, kNoLowerLimit);
    EXPECT_EQ(edited.upper, kNoUpperLimit);
    EXPECT_LT(ShownLowerBound(edited), ShownUpperBound(edited)) << "never a zero-width range";
}

TEST_F(DMControlTest, RendersOfTheAddCriteriaDialog)
{
    struct Case {
        uint8_t kind;
        int parameter;
        const char* name;
    } cases[] = {{kMovingAverageKind, 3, "dm-add-criteria-average"},
                 {kPriceKind, 8, "dm-add-criteria-price-high"},
                 {kPriceKind, 6, "dm-add-criteria-price-between"},
                 {13, 1, "dm-add-criteria-results"},
                 {kAdvancedResultKind, 3, "dm-add-criteria-advanced"}};
    for (const Case& c : cases) {
        CriterionDialogFields fields;
        fields.kind = c.kind;
        fields.parameter = uint8_t(c.parameter);
        CAddCriteriaDlg d(fields, c.kind == 13, PackedDate(FilterCandidates().referenceDate));
        d.adjustSize();
        const AddCriteriaControls shown = AddCriteriaControlsFor(c.kind, c.parameter);
        EXPECT_EQ(Control<QWidget>(d, 1829)->isVisibleTo(&d), shown.firstDate) << c.name;
        EXPECT_EQ(Control<QWidget>(d, 3957)->isVisibleTo(&d), shown.lookBack) << c.name;
        SaveRender(RenderWidget(d), c.name);
    }
}

// The range strip's drags: handles 7 pixels apart, nothing while a run is busy or the criterion is
// locked; and a render of each state.
TEST_F(DMControlTest, TheRangeStripDragsWithinItsRules)
{
    DMCriterion c;
    c.dataMin = 0;
    c.dataMax = 100;
    c.average = 20;
    c.lower = 10;
    c.upper = 60;
    c.mode = 2;
    CCriteriaRangeCtrl strip;
    strip.resize(214, 22);
    strip.SetData(&c);
    strip.SetLocked(1);
    int moved = 0, finished = 0;
    QObject::connect(&strip, &CCriteriaRangeCtrl::boundMoved, [&] { ++moved; });
    QObject::connect(&strip, &CCriteriaRangeCtrl::rangeChanged, [&] { ++finished; });
    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(56, 10));
    QTest::mouseMove(&strip, QPoint(200, 10));
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
    EXPECT_EQ(strip.geometry().lowerX, strip.geometry().upperX - 7);
    EXPECT_GT(moved, 0);
    EXPECT_EQ(finished, 1);

    const float lower = c.lower;
    DataMiningRunBusy = 1;
    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    DataMiningRunBusy = 0;
    EXPECT_FLOAT_EQ(c.lower, lower) << "no drag while a run is busy";
    c.locked = 1;
    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    EXPECT_FLOAT_EQ(c.lower, lower) << "no drag on a locked criterion";

    // An upper bound below the lower shows the whole range.
    c = DMCriterion{0, 0, 0, 0, 0};
    c.dataMax = 100;
    c.average = 20;
    c.lower = 50;
    c.upper = 5;
    c.mode = 2;
    strip.SetData(&c);
    EXPECT_FLOAT_EQ(c.lower, 0);
    EXPECT_FLOAT_EQ(c.upper, 100);

    struct State {
        const char* name;
        uint8_t inverted, locked, noData;
        int enabled;
    } states[] = {{"dm-range-selected", 0, 0, 0, 1}, {"dm-range-inverted", 1, 0, 0, 1},
                  {"dm-range-locked", 0, 1, 0, 1},   {"dm-range-disabled", 0, 0, 0, 0},
                  {"dm-range-no-data", 0, 0, 1, 1}};
    for (const State& s : states) {
        c.lower = 10;
        c.upper = 60;
        c.inverted = s.inverted;
        c.locked = s.locked;
        c.noData = s.noData;
        strip.SetData(&c);
        strip.SetLocked(s.enabled);
        SaveRender(RenderWidget(strip), s.name);
    }
}

// A range typed into one view's panel reaches the other data-mining view showing the same filter: its
// table and its own panel's row follow.
TEST_F(DMControlTest, AChangeReachesEveryViewShowingTheFilter)
{
    CViewDataMining& first = MakeView();
    std::unique_ptr<CViewDataMining> second(dynamic_cast<CViewDataMining*>(CreateViewWindowForKind(kViewDataMining)));
    second->setAttribute(Qt::WA_DeleteOnClose, false);
    second->list = CreateListSource(second.get(), 1, kFamilyShares, nullptr);
    second->resize(1000, 700);
    second->OnRefresh();
    for (CViewDataMining* v : {&first, second.get()}) {
        v->panel()->resize(CDM_Control::kDefaultWidth, 640);
        RenderWidget(*v->panel());
    }
    const int rowsBefore = ShareListCount(second->list);
    CDM_CriteriaDialog& row = *first.panel()->rows()[0];
    const DMCriterion& c = Current().criteria[0];
    const QString typed = QString::asprintf("%.2f", double(c.lower + (c.upper - c.lower) * 0.8f));
    row.lowerField()->setText(typed);
    emit row.lowerField()->editingFinished();
    while (DeliverPostedMessages() > 0) {
    }
    EXPECT_EQ(second->panel()->rows()[0]->lowerField()->text(), typed);
    EXPECT_LT(ShareListCount(second->list), rowsBefore) << "the narrower range keeps fewer shares";
    EXPECT_EQ(ShareListCount(second->list), ShareListCount(first.list));
    second.reset();
}

// The filter's own commands: its note, a copy under a new name, and a rename that refuses a taken name.
TEST_F(DMControlTest, NoteCopyAndRename)
{
    RecordingPanel panel;
    DMFilter& f = Current();
    panel.SetFilter(&f);
    FakeMessageBox boxes;
    Answer<CEditNoteDlg>([](CEditNoteDlg& d) {
        d.findChild<QLineEdit*>()->setText(QStringLiteral("Cheap and paying"));
        return int(QDialog::Accepted);
    });
    panel.RunCommand(2005);
    EXPECT_EQ(f.note, "Cheap and paying");
    EXPECT_EQ(panel.note()->text(), QStringLiteral("Cheap and paying"));
    EXPECT_EQ(panel.sent.back(), (std::pair<uint32_t, uintptr_t>{1213, 1}));

    std::vector<QString> captions;
    auto name = [&](const char* text) {
        Answer<CFilterNameDlg>([&captions, text](CFilterNameDlg& d) {
            captions.push_back(d.windowTitle());
            d.SetName(QString::fromLatin1(text));
            return int(QDialog::Accepted);
        });
    };
    const size_t count = FilterList().size();
    name("Value copy");
    panel.RunCommand(26691);
    ASSERT_EQ(FilterList().size(), count + 1);
    const int copy = FindFilterPosition("Value copy");
    ASSERT_GT(copy, 0);
    EXPECT_EQ(FilterList()[size_t(copy - 1)]->criteria.size(), f.criteria.size());
    EXPECT_EQ(boxes.texts().back(), "A copy of the filter '" + f.name + "' has been made.");

    // A taken name is refused and asked again; Cancel leaves the name.
    int asked = 0;
    Answer<CFilterNameDlg>([&](CFilterNameDlg& d) {
        captions.push_back(d.windowTitle());
        d.SetName(QStringLiteral("Value copy"));
        return ++asked == 1 ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    const std::string old = f.name;
    panel.RunCommand(26477);
    EXPECT_EQ(f.name, old);
    EXPECT_EQ(boxes.texts().back(), "A filter called 'Value copy' already exists.");
    name("Bargains");
    panel.RunCommand(26477);
    EXPECT_EQ(f.name, "Bargains");
    EXPECT_EQ(panel.title()->text(), QStringLiteral("Filter: Bargains"));
    EXPECT_EQ(captions, (std::vector<QString>{QStringLiteral("Enter Filter Name"), QStringLiteral("Edit Filter Name"),
                                              QStringLiteral("Edit Filter Name"), QStringLiteral("Edit Filter Name")}));
}

// The panel docks at the left of the view inside the view's child window; the layout renders whole.
TEST_F(DMControlTest, ThePanelDocksBesideTheViewInItsWindow)
{
    QMdiArea area;
    area.resize(1400, 800);
    RegisterDataMiningView();
    auto* v = dynamic_cast<CViewDataMining*>(CreateViewWindowForKind(kViewDataMining));
    v->list = CreateListSource(v, 1, kFamilyShares, nullptr);
    QMdiSubWindow* child = area.addSubWindow(v);
    child->resize(1380, 780);
    MainFrameState().activeView = v;
    v->OnRefresh();
    ASSERT_NE(v->panel(), nullptr);
    EXPECT_EQ(v->panel()->parentWidget(), child);
    EXPECT_EQ(child->widget(), v) << "the child window still holds the view";
    area.show();
    QApplication::processEvents();
    EXPECT_LT(v->panel()->geometry().right(), v->geometry().left());
    SaveRender(RenderWidget(*child), "dm-layout-with-panel");
    MainFrameState().activeView = nullptr;
    delete child;
}

} // namespace
