// The data-mining view on the demo data and the demo filters: its table and graphs, commands, mouse
// (synthesised events), empty states and renders.
#include "datamining/ui/ViewDataMining.h"

#include "core/ConfigState.h"
#include "core/FilterFile.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/FilterEditing.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/DMControl.h"
#include "datamining/ui/GraphSettingsDlgs.h"
#include "datamining/ui/RandomReturnsDlg.h"
#include "datamining/ui/SelectListDlgs.h"
#include "devtools/lib/DemoFilters.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "core/Portfolio.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListViewOptions.h"
#include "support/DatabaseFixture.h"
#include "support/ui/DataMiningViewFixture.h"
#include "support/FakeMessageBox.h"
#include "shell/ui/ModalDialog.h"
#include "devtools/lib/TempFolder.h"
#include "support/ui/Render.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <numeric>

using namespace qv;
using namespace qv::test;

namespace {

class ViewDataMiningTest : public DataMiningViewFixture {
protected:
    CViewDataMining& Make() { return MakeView(); }
    CommandUi Ui(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(view->UpdateCommand(ui)) << command;
        return ui;
    }
    QImage Shot(const char* name)
    {
        QImage image = RenderWidget(*view);
        SaveRender(image, name);
        return image;
    }
    DataMiningGraphSettings Settings() { return DataMiningGraphSettings::Read(Config().dataMiningGraphs.records[Config().dataMining.bytes[2]]); }
    void Write(const DataMiningGraphSettings& s) { s.Write(Config().dataMiningGraphs.records[Config().dataMining.bytes[2]]); }
    void Press(QPoint at) { QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, at); }
    void Release(QPoint at) { QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, at); }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        QTest::mouseMove(view.get(), to);
        Release(to);
    }

};

TEST_F(ViewDataMiningTest, ShowsTheCurrentFiltersSharesAndGraphs)
{
    CViewDataMining& v = Make();
    const int rows = ShareListCount(v.list);
    EXPECT_GE(rows, 5);
    EXPECT_LE(rows, 50);
    Shot("datamining-view-demo");
    const GraphPaintResult& g = v.lastGraph();
    EXPECT_EQ(g.emptyText, nullptr);
    EXPECT_FALSE(g.plot.isEmpty());
    EXPECT_GT(g.displayed, 0);
    EXPECT_LE(g.displayed, rows);
    const GraphPaintInput in = v.GraphInput();
    EXPECT_EQ(GraphStatusLine(in, g.displayed),
              "Shares: " + std::to_string(rows) + " / " + std::to_string(in.sourceRows) + " ( " +
                  std::to_string(g.displayed) + " displayed) ");
    EXPECT_GT(in.sourceRows, rows);
    EXPECT_EQ(v.GetDataMiningFilterName(), "Value Shares");
}

TEST_F(ViewDataMiningTest, CommandsToggleTheGraphsAndSwapTheAxes)
{
    CViewDataMining& v = Make();
    struct Toggle {
        uint32_t command;
        bool (*on)(const DataMiningGraphSettings&);
    };
    const Toggle toggles[] = {
        {26462, [](const DataMiningGraphSettings& s) { return s.has(kHistXShown); }},
        {26461, [](const DataMiningGraphSettings& s) { return s.has(kHistYShown); }},
        {26463, [](const DataMiningGraphSettings& s) { return s.scatter(kScatterShown); }},
        {26474, [](const DataMiningGraphSettings& s) { return s.scatter(kStatLinesShown); }},
    };
    for (const Toggle& t : toggles) {
        const bool before = t.on(Settings());
        EXPECT_TRUE(Ui(t.command).enabled) << t.command;
        EXPECT_EQ(Ui(t.command).checked, before) << t.command;
        EXPECT_TRUE(v.RunCommand(t.command));
        EXPECT_EQ(t.on(Settings()), !before) << t.command;
        v.RunCommand(t.command);
    }
    for (uint32_t greyed : {26105u, 25076u, 25062u, 25063u})
        EXPECT_FALSE(Ui(greyed).enabled) << greyed;
    // The table and graph flags are the data-mining option bytes 4 and 5.
    EXPECT_TRUE(Ui(26133).enabled);
    v.RunCommand(26502);
    EXPECT_EQ(Config().dataMining.bytes[4], 0);
    EXPECT_EQ(Config().dataMining.pack() & (1u << 9), 0u);
    EXPECT_FALSE(Ui(26133).enabled) << "the focus moves only when both are shown";
    v.RunCommand(26502);
    // Swapping twice restores the graph.
    const AxisRange x = v.xRange(), y = v.yRange();
    ASSERT_TRUE(Ui(26460).enabled);
    v.RunCommand(26460);
    EXPECT_EQ(v.xRange().min, y.min);
    EXPECT_EQ(v.yRange().max, x.max);
    v.RunCommand(26460);
    EXPECT_EQ(v.xRange().min, x.min);
    EXPECT_EQ(v.yRange().max, y.max);
    EXPECT_EQ(FilterList().front()->axes, (std::array<uint32_t, 3>{1, 2, 3}));
}

// Nothing but the user's own edit changes a stored filter: showing each demo filter over every source
// and back, and every toggle of the table's menu run twice, leave the filter file byte for byte.
TEST_F(ViewDataMiningTest, ViewingSourcesAndTheTableMenuNeverChangeAStoredFilter)
{
    CViewDataMining& v = Make();
    ASSERT_NE(v.panel(), nullptr);
    CDM_Control& panel = *v.panel();
    const auto click = [&](int id) {
        auto* button = panel.findChild<QAbstractButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
        QApplication::processEvents();
    };
    constexpr int kShares = 1999, kOther = 2000, kFtse = 2001;
    // The table menu's toggles: new highs and lows, the sector, table and graph.
    constexpr uint32_t kToggles[] = {25062, 25063, 25076, 26502, 26503};
    for (const auto& owned : FilterList()) {
        DMFilter& f = *owned;
        SetCurrentFilter(&f);
        v.OnRefresh();
        const std::vector<uint8_t> before = BuildFilterFile(FilterList(), CurrentFilter());
        const int passing = ShareListCount(v.list);
        const DMFilter source = f;
        if (!f.readOnly()) {
            click(kShares);
            click(kFtse);
            click(kOther);
            EXPECT_EQ(f.sourceKind, kFtse100Source) << "\"Other:\" alone chooses nothing";
            for (int i = 1; i <= int(kSourceListKinds.size()); ++i) {
                emit panel.sourceList()->activated(i);
                QApplication::processEvents();
            }
            f.flags = source.flags;
            f.sourceKind = source.sourceKind;
            f.portfolioNumber = source.portfolioNumber;
        }
        for (uint32_t command : kToggles) {
            for (int twice = 0; twice < 2; ++twice) {
                if (QueryCommandUi(command).enabled)
                    RouteCommand(command);
                v.onProgramMessage(WM_COMMAND, command, 0);
                QApplication::processEvents();
            }
        }
        v.OnRefresh();
        EXPECT_EQ(BuildFilterFile(FilterList(), CurrentFilter()), before) << f.name;
        EXPECT_EQ(ShareListCount(v.list), passing) << f.name;
    }
    for (uint32_t greyed : {25062u, 25063u}) {
        CommandUi ui{greyed, true, std::nullopt, std::nullopt};
        EXPECT_TRUE(v.UpdateCommandUi(ui));
        EXPECT_FALSE(ui.enabled) << "greyed wherever the frame asks the view first";
        EXPECT_FALSE(QueryCommandUi(greyed).enabled);
    }
}

// Turning off the table and then the graph shows both again, and the menu ticks say so; with both
// shown, Tab moves the focus mark between them instead of leaving for the panel.
TEST_F(ViewDataMiningTest, TableAndGraphNeverBothOffAndTabMovesTheFocusMark)
{
    CViewDataMining& v = Make();
    const bool mark = v.GraphInput().focusMark;
    QTest::keyClick(&v, Qt::Key_Tab);
    EXPECT_NE(v.GraphInput().focusMark, mark);
    QTest::keyClick(&v, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(v.GraphInput().focusMark, mark);
    v.RunCommand(26502);
    EXPECT_EQ(Ui(26502).checked, false);
    EXPECT_EQ(Ui(26503).checked, true);
    EXPECT_EQ(v.GraphArea().top(), 0);
    v.RunCommand(26503);
    EXPECT_EQ(Ui(26502).checked, true);
    EXPECT_EQ(Ui(26503).checked, true);
    EXPECT_GT(v.GraphArea().top(), 0);
    EXPECT_LT(v.GraphArea().top(), v.height());
}

// The axis choosers, the three settings dialogs and the simulation open from their commands; OK
// takes what was chosen.
TEST_F(ViewDataMiningTest, AxisChoosersAndSettingsDialogsOpenFromTheirCommands)
{
    CViewDataMining& v = Make();
    DMFilter& filter = *FilterList().front();
    for (uint32_t command : {26458u, 26459u, 26471u, 26465u, 26466u, 26473u, 26900u, 26472u, 26594u, 26595u, 26596u})
        EXPECT_TRUE(Ui(command).enabled) << command;
    std::vector<QString> titles;
    SetModalDialogRunner([&](QDialog& dialog) {
        titles.push_back(dialog.windowTitle());
        if (auto* chooser = dynamic_cast<CSelectCriterionDlg*>(&dialog)) {
            // X takes the last criterion listed, Z none.
            chooser->list()->setCurrentRow(dialog.windowTitle().startsWith("Select x") ? chooser->list()->count() - 1 : 0);
        } else if (dynamic_cast<CHistogramDlg*>(&dialog)) {
            dialog.findChild<QLineEdit*>("1948")->setText("9");
        } else if (auto* simulation = dynamic_cast<CRandomReturnsDlg*>(&dialog)) {
            // Every list the simulation offers has more shares priced on both dates of every period
            // than the default portfolio holds, so a run completes whatever is chosen.
            auto* selection = dialog.findChild<QComboBox*>("selection");
            auto* period = dialog.findChild<QComboBox*>("period");
            for (int list = 0; list < selection->count(); ++list) {
                selection->setCurrentIndex(list);
                for (int p = period->count() - 1; p >= 0; --p) {
                    period->setCurrentIndex(p);
                    EXPECT_GT(simulation->prepared().usable.size(), 5u) << list << " " << p;
                }
            }
            selection->setCurrentIndex(0);
            EXPECT_TRUE(simulation->Start());
            const SimulationResult& run = simulation->current()->result;
            EXPECT_EQ(std::accumulate(run.bins.begin(), run.bins.end(), 0u), 400000u);
            EXPECT_EQ(simulation->current()->caption, "FTSE 100     5 shares     Dec 2000 - Dec 2001");
            SaveRender(RenderWidget(dialog), "montecarlo_demo");
            dialog.reject();
            return int(dialog.result());
        } else {
            dialog.reject();
            return int(dialog.result());
        }
        dialog.accept();
        return int(dialog.result());
    });
    v.RunCommand(26458);
    v.RunCommand(26471);
    v.RunCommand(26466);
    v.RunCommand(26465);
    v.RunCommand(26473);
    v.RunCommand(26900);
    SetModalDialogRunner({});
    EXPECT_EQ(titles, (std::vector<QString>{"Select x-axis criteria", "Select z-axis (mark colour & size) criteria",
                                            "Histogram Settings", "Scatter Graph Settings", "Statistic Lines Settings",
                                            "Monte Carlo Simulation"}));
    EXPECT_EQ(filter.axes[0], uint32_t(filter.criteria.size()));
    EXPECT_EQ(filter.axes[2], 0u);
    const DMCriterion& x = filter.criteria.back();
    // The X axis runs over the new criterion's selected range (its data range where a bound is open).
    const double lo = x.lower <= kNoLowerLimit / 2 ? x.dataMin : x.lower;
    const double hi = x.upper >= kNoUpperLimit / 2 ? x.dataMax : x.upper;
    EXPECT_DOUBLE_EQ(v.xRange().min, std::min(lo, hi));
    EXPECT_DOUBLE_EQ(v.xRange().max, std::max(lo, hi));
    EXPECT_EQ(Settings().xBinWidth, 9);
    // The histogram settings need a shown histogram with its criterion; the choosers a writable
    // filter with criteria.
    DataMiningGraphSettings s = Settings();
    s.histogramFlags &= ~(kHistXShown | kHistYShown);
    Write(s);
    EXPECT_FALSE(Ui(26466).enabled);
    filter.flags |= kFilterReadOnly;
    EXPECT_FALSE(Ui(26458).enabled);
    filter.flags &= uint8_t(~kFilterReadOnly);
    // "Select filter..." goes through the panel, whose filter list is the chooser.
    SetModalDialogRunner([&](QDialog& dialog) {
        auto* filters = dynamic_cast<CSelectFilterDlg*>(&dialog);
        EXPECT_NE(filters, nullptr);
        if (!filters)
            return int(QDialog::Rejected);
        filters->list()->setCurrentItem(filters->list()->findItems("Momentum", Qt::MatchExactly).front());
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(Ui(26595).enabled);
    v.RunCommand(26595);
    SetModalDialogRunner({});
    EXPECT_EQ(CurrentFilter()->name, "Momentum");
}

// Off the graph, pane 2 names the current portfolio (nothing without one).
TEST_F(ViewDataMiningTest, OffTheGraphThePaneNamesTheCurrentPortfolio)
{
    EXPECT_EQ(CViewDataMining::CurrentPortfolioText(), "");
    Portfolio portfolio;
    portfolio.name = "Growth";
    SetCurrentPortfolioViewSource([&] { return CurrentPortfolioView{true, &portfolio}; });
    EXPECT_EQ(CViewDataMining::CurrentPortfolioText(), "Curr. Port: Growth");
    SetCurrentPortfolioViewSource(nullptr);
}

// Export writes the current filter to the file chosen in a "Filter (*.flt)" dialog; import reads it
// back under a free name and says how many filters it made; a read-only filter cannot be exported.
TEST_F(ViewDataMiningTest, ExportAndImportGoThroughTheirFileDialogsAndMessages)
{
    CViewDataMining& v = Make();
    dev::TempFolder folder{"dmflt"};
    const std::string file = (folder / "mine.flt").string();
    std::vector<QString> titles;
    SetModalDialogRunner([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        titles.push_back(files->windowTitle());
        EXPECT_EQ(files->nameFilters(), QStringList{QStringLiteral("Filter (*.flt)")});
        files->selectFile(QString::fromStdString(file));
        return int(QDialog::Accepted);
    });
    FakeMessageBox boxes;
    ASSERT_TRUE(Ui(26772).enabled);
    EXPECT_TRUE(Ui(26773).enabled);
    const DMFilter* current = CurrentFilter();
    const size_t before = FilterList().size();
    v.RunCommand(26772);
    v.RunCommand(26773);
    ASSERT_EQ(FilterList().size(), before + 1);
    const DMFilter& imported = *FilterList().front();
    EXPECT_EQ(imported.name, current->name + " 0");
    EXPECT_EQ(imported.criteria.size(), current->criteria.size());
    EXPECT_EQ(imported.axes, current->axes);
    std::filesystem::remove(file);
    v.RunCommand(26773);
    SetModalDialogRunner({});
    EXPECT_EQ(titles, (std::vector<QString>{QStringLiteral("Export the current filter"),
                                            QStringLiteral("Import a filter file"),
                                            QStringLiteral("Import a filter file")}));
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"1 filters were successfully imported.",
                                                       "Error: The file did not contain any valid filters."}));
    auto readOnly = std::make_unique<DMFilter>();
    readOnly->flags = kFilterReadOnly;
    SetCurrentFilter(readOnly.get());
    EXPECT_FALSE(Ui(26772).enabled);
    SetCurrentFilter(FilterList().front().get());
}

TEST_F(ViewDataMiningTest, TheMouseDragsTheDividerZoomsAndPicks)
{
    CViewDataMining& v = Make();
    RenderWidget(v);
    // The divider clamps to 100-800 thousandths.
    const int divider = v.height() * v.split() / 1000;
    Drag({300, divider}, {300, 0});
    EXPECT_EQ(v.split(), 100);
    Drag({300, v.height() * v.split() / 1000}, {300, v.height() - 1});
    EXPECT_EQ(v.split(), 800);
    Drag({300, v.height() * v.split() / 1000 + 5}, {300, v.height() / 2});
    EXPECT_EQ(v.split(), 500);
    RenderWidget(v);
    const QRect plot = v.lastGraph().plot;
    ASSERT_FALSE(plot.isEmpty());
    // A read-out of the point under the cursor.
    const std::string readout = v.ReadoutText(plot.center());
    EXPECT_EQ(readout.rfind("X ", 0), 0u);
    EXPECT_NE(readout.find(",   Y "), std::string::npos);
    // A 10-pixel rectangle zooms nothing; 11 x 11 zooms both axes.
    const AxisRange x = v.xRange(), y = v.yRange();
    Drag(plot.center(), plot.center() + QPoint(10, 30));
    EXPECT_EQ(v.xRange().min, x.min);
    EXPECT_EQ(v.yRange().max, y.max);
    Drag(plot.center(), plot.center() + QPoint(11, 11));
    EXPECT_GT(v.xRange().min, x.min);
    EXPECT_LT(v.xRange().span(), x.span());
    EXPECT_LT(v.yRange().span(), y.span());
    // A range of 0.05 or less zooms no further.
    for (int i = 0; i < 40 && v.xRange().span() > kLeastZoomRange; ++i) {
        RenderWidget(v);
        const QRect p = v.lastGraph().plot;
        Drag(p.topLeft() + QPoint(1, 1), p.topLeft() + QPoint(40, 40));
    }
    ASSERT_LE(v.xRange().span(), kLeastZoomRange);
    const AxisRange narrow = v.xRange();
    RenderWidget(v);
    const QRect p = v.lastGraph().plot;
    Drag(p.topLeft() + QPoint(1, 1), p.topLeft() + QPoint(40, 40));
    EXPECT_EQ(v.xRange().min, narrow.min);
    EXPECT_EQ(v.xRange().max, narrow.max);
}

TEST_F(ViewDataMiningTest, APickSelectsTheNearestMarkWithinSixteenPixels)
{
    CViewDataMining& v = Make();
    RenderWidget(v);
    const GraphPaintResult& g = v.lastGraph();
    int row = -1;
    for (size_t i = 0; i < g.drawn.size() && row < 0; ++i) {
        bool alone = g.drawn[i] != 0;
        for (size_t j = 0; j < g.drawn.size() && alone; ++j)
            alone = j == i || !g.drawn[j] || std::hypot(g.marks[j][0] - g.marks[i][0], g.marks[j][1] - g.marks[i][1]) > 40;
        if (alone)
            row = int(i);
    }
    ASSERT_GE(row, 0) << "a mark with no neighbour within 40 pixels";
    const QPoint mark(g.marks[size_t(row)][0], g.marks[size_t(row)][1]);
    v.list->current = row == 0 ? 1 : 0;
    const QPoint far = mark + QPoint(g.plot.center().x() > mark.x() ? 17 : -17, 0);
    if (g.plot.contains(far)) {
        Press(far);
        Release(far);
        EXPECT_NE(v.list->current, row) << "17 pixels away picks nothing";
    }
    const QPoint near = mark + QPoint(g.plot.center().x() > mark.x() ? 16 : -16, 0);
    Press(near);
    Release(near);
    EXPECT_EQ(v.list->current, row);
}

TEST_F(ViewDataMiningTest, EmptyStates)
{
    CViewDataMining& v = Make();
    DataMiningGraphSettings s = Settings();
    const DataMiningGraphSettings kept = s;
    s.histogramFlags &= ~(kHistXShown | kHistYShown);
    s.scatterFlags &= ~kScatterShown;
    Write(s);
    Shot("datamining-empty-graphs-off");
    EXPECT_STREQ(v.lastGraph().emptyText, "All graphs turned off - nothing to display.");
    Write(kept);
    // Bounds above every P/E: an inverted pair would be put the right way round by the statistics.
    FilterList().front()->criteria[0].lower = 1000;
    FilterList().front()->criteria[0].upper = 2000;
    FilterList().front()->criteria[0].locked = 1;
    v.OnRefresh();
    Shot("datamining-empty-all-filtered");
    EXPECT_EQ(ShareListCount(v.list), 0);
    EXPECT_STREQ(v.lastGraph().emptyText, "All shares filtered - nothing to display.");
    SetCurrentFilter(nullptr);
    v.OnRefresh();
    Shot("datamining-empty-no-data");
    EXPECT_STREQ(v.lastGraph().emptyText, "No data to display.");
    EXPECT_GT(ShareListCount(v.list), 100) << "without a filter every share is listed";
}

TEST_F(ViewDataMiningTest, RendersOfTheGraphs)
{
    CViewDataMining& v = Make();
    DataMiningGraphSettings s = Settings();
    s.scatterFlags &= ~kScatterShown;
    Write(s);
    SaveRender(v.RenderGraphs({900, 400}), "datamining-histograms-only");
    s.scatterFlags |= kScatterShown;
    s.scatterFlags &= ~kStatLinesShown;
    for (int shape = 0; shape <= 6; ++shape) {
        s.markShape = shape;
        s.markSize = 5;
        Write(s);
        SaveRender(v.RenderGraphs({900, 400}), QString("datamining-mark-%1").arg(shape));
        EXPECT_GT(v.lastGraph().displayed, 0) << shape;
    }
    s.markShape = int(MarkShape::Triangle);
    s.scatterFlags |= kScatterSizeByZ;
    Write(s);
    SaveRender(v.RenderGraphs({900, 400}), "datamining-z-size");
    EXPECT_EQ(ZLegendText(v.GraphInput()), "Mark size coded with Capitalisation");
    s.markShape = 0;
    s.scatterFlags = (s.scatterFlags & ~kScatterSizeByZ) | kScatterColourByZ;
    Write(s);
    SaveRender(v.RenderGraphs({900, 400}), "datamining-z-colour");
    EXPECT_EQ(ZLegendText(v.GraphInput()), "Mark colour coded with Capitalisation");
    s.scatterFlags |= kScatterSizeByZ | kStatLinesShown;
    Write(s);
    SaveRender(v.RenderGraphs({900, 400}), "datamining-statistic-lines");
    EXPECT_EQ(ZLegendText(v.GraphInput()), "Mark size & colour coded with Capitalisation");
    // A Y title longer than the plot is tall ("Momentum" plots a moving-average criterion).
    SetCurrentFilter(FilterList()[size_t(FindFilterPosition("Momentum") - 1)].get());
    v.OnFilterChanged();
    SaveRender(v.RenderGraphs({700, 260}), "datamining-long-y-title");
}

// Printing: with the option on, the graph area is the view's own first page, before the rows.
TEST_F(ViewDataMiningTest, TheGraphsPrintAsTheFirstPageWhenAsked)
{
    CViewDataMining& v = Make();
    ListViewOptions& options = CurrentListViewOptions();
    const ListViewOptions saved = options;
    QImage page = PrintedPageImage();
    QPainter painter(&page);
    const QRect table(60, 60, page.width() - 120, page.height() / 2);
    const int rowPages = v.CountPrintPages(painter, table);
    options.dataMiningOwnPrintPage = true;
    EXPECT_EQ(v.CountPrintPages(painter, table), rowPages + 1);
    v.DrawPrintPage(painter, table, 1);
    painter.end();
    SaveRender(page, "datamining-printed-graph-page");
    int inked = 0;
    for (int y = table.top(); y < table.bottom(); y += 2)
        for (int x = table.left(); x < table.right(); x += 2)
            inked += page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 1000) << "the page holds the graphs";
    // A printer's finer dots draw the same picture larger, not a smaller one: the graph page at 600
    // dots per inch inks the same share of the page as at 150 (marks, pens and labels keep their size).
    const auto inkedShare = [&](int dpi) {
        QImage sheet(620 * dpi / 150, 440 * dpi / 150, QImage::Format_RGB32);
        sheet.setDotsPerMeterX(int(dpi / 0.0254));
        sheet.setDotsPerMeterY(int(dpi / 0.0254));
        sheet.fill(Qt::white);
        QPainter on(&sheet);
        v.DrawPrintPage(on, sheet.rect(), 1);
        on.end();
        if (dpi == 600)
            SaveRender(sheet, "datamining-printed-graph-page-600dpi");
        long inked = 0;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                inked += qGray(sheet.pixel(x, y)) < 160;
        return double(inked) / (double(sheet.width()) * sheet.height());
    };
    const double coarse = inkedShare(150), fine = inkedShare(600);
    EXPECT_NEAR(fine / coarse, 1.0, 0.25) << coarse << " " << fine;
    EXPECT_DOUBLE_EQ(v.PrintScale(page), double(150 * 72 / v.logicalDpiX()) / 72);
    options = saved;
}

} // namespace
