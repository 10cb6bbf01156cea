// The list window's commands on the whole list and its current share, on the demo data in a real
// frame offscreen: graphing the whole list opens a daily chart of the list's composite in the list's
// window, the sector commands show one sector of the list through the sector chooser, and "Share's
// Dates" lists the share's calendar.
#include "lists/ui/ViewList.h"

#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/GraphSource.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/SectorChoice.h"
#include "lists/ShareDates.h"
#include "lists/ui/DetailDialogs.h"
#include "lists/ui/SelectSector.h"
#include "platform/MessageDispatch.h"
#include "shell/LayoutWindow.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowCommands.h"
#include "shell/ui/WindowFactory.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <chrono>

using namespace qv;
using namespace qv::test;

namespace {

class WholeListCommands : public FactoryFrame {
protected:
    WholeListCommands() : FactoryFrame(1400, 900)
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        static const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
        const std::span<const uint8_t> companies(comp);
        LoadDatabaseFromMemory(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), &companies);
        previousList_ = RegisterViewClass(1, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
        previousChart_ = RegisterViewClass(kViewDailyChart, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphEODWnd(k); });
        requests_ = std::make_unique<CViewRequests>(*frame, *factory);
        commands_ = std::make_unique<CWindowCommands>(*frame, *factory, *requests_);
    }
    ~WholeListCommands() override
    {
        SetModalDialogRunner(nullptr);
        factory->CloseAllWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        commands_.reset();
        requests_.reset();
        RegisterViewClass(1, previousList_);
        RegisterViewClass(kViewDailyChart, previousChart_);
        SectorFilterDefaults() = {};
        LastSectorChoice() = {};
        HandOverGraphSource(nullptr, 0, nullptr);
        ForgetListRows();
        FreeSettingLayouts();
        FreeDatabase(true);
    }

    // One list window of "All" over the left part of the area, active.
    CViewList* Start()
    {
        std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
        windows.resize(1);
        windows[0].kind = kViewList;
        windows[0].left = windows[0].top = 0;
        windows[0].right = 1000;
        windows[0].bottom = 700;
        SetLayoutSlotWindows(0, windows);
        factory->CreateLayoutWindows();
        Settle();
        auto* view = dynamic_cast<CViewList*>(MainFrameState().activeView);
        EXPECT_NE(view, nullptr);
        return view;
    }
    void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            DeliverPostedMessages();
        }
    }
    // Runs the command as the menus do, once its rule enables it.
    bool Run(uint32_t command)
    {
        if (!QueryCommandUi(command).enabled)
            return false;
        frame->OnCommand(command);
        Settle();
        return true;
    }

    ViewClassFactory previousList_, previousChart_;
    std::unique_ptr<CViewRequests> requests_;
    std::unique_ptr<CWindowCommands> commands_;
};

} // namespace

TEST_F(WholeListCommands, GraphingTheWholeListChartsItsCompositeInTheListsWindow)
{
    const struct {
        uint32_t command;
        uint32_t sourceKind;
        const char* render;
    } cases[] = {{25060, kSourceListWeighted, "list-composite-chart"},
                 {25061, kSourceListUnweighted, "list-composite-chart-unweighted"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        CViewList* list = Start();
        ASSERT_NE(list, nullptr);
        ASSERT_GT(ShareListCount(list->list), 1);
        CChildWindow* window = CWindowFactory::ChildOf(list);
        ASSERT_TRUE(Run(c.command));
        auto* chart = dynamic_cast<CViewGraphEODWnd*>(MainFrameState().activeView);
        ASSERT_NE(chart, nullptr) << "a daily chart is active";
        EXPECT_EQ(CWindowFactory::ChildOf(chart), window) << "in the list's window";
        EXPECT_EQ(chart->graphSourceKind, c.sourceKind);
        ASSERT_GT(chart->eod.days().size(), 100u);
        EXPECT_NEAR(chart->eod.days().front().close, 100.0f, 0.05f) << "the composite starts at 100";
        const std::string title = chart->eod.ChartTitle();
        EXPECT_NE(title.find("List: "), std::string::npos) << title;
        EXPECT_EQ(title.find("(not weighted)") != std::string::npos, c.sourceKind == kSourceListUnweighted) << title;
        EXPECT_TRUE(chart->noDataText.empty()) << chart->noDataText;
        EXPECT_EQ(TakeGraphSource(chart->list, c.sourceKind), nullptr) << "the chart took the handed record";
        SaveRender(RenderWidget(*frame), c.render);
        factory->CloseAllWindows();
        Settle();
    }
}

TEST_F(WholeListCommands, TheSectorCommandsShowOneSectorOfTheList)
{
    CViewList* view = Start();
    ASSERT_NE(view, nullptr);
    const int all = ShareListCount(view->list);
    const std::vector<std::string> sectors = SectorLevelNames(kSectorLevelSectors);
    ASSERT_GT(sectors.size(), 3u);
    const int mining = int(std::find(sectors.begin(), sectors.end(), "Mining") - sectors.begin());
    ASSERT_LT(mining, int(sectors.size()));

    // Without a sector "Select sector" opens the chooser; Cancel changes nothing.
    int opened = 0;
    SetModalDialogRunner([&](QDialog& d) {
        ++opened;
        EXPECT_EQ(d.objectName(), "227");
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(Run(25076));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(view->list->sectorFilterOn, 0);

    SetModalDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<CSelectSector&>(d);
        auto* list = d.findChild<QListWidget*>("1207");
        EXPECT_FALSE(list->isEnabled()) << "the rest waits for \"Display only one sector\"";
        EXPECT_TRUE(d.findChild<QRadioButton*>("2025")->isChecked()) << "no level yet: Sectors";
        d.findChild<QCheckBox*>("2838")->setChecked(true);
        d.findChild<QRadioButton*>("2023")->click();
        EXPECT_EQ(list->count(), 2);
        d.findChild<QRadioButton*>("2025")->click();
        list->setCurrentRow(mining);
        SaveRender(RenderWidget(d), "select-sector-dialog");
        EXPECT_EQ(dialog.choice().index, mining);
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(Run(26105));
    SectorFilter filter = SectorFilterOf(*view->list);
    EXPECT_EQ(filter.sectorFilterOn, 1);
    EXPECT_EQ(filter.sectorGroup, kSectorLevelSectors);
    EXPECT_EQ(filter.sectorIndex, mining);
    const int miners = ShareListCount(view->list);
    EXPECT_GT(miners, 0);
    EXPECT_LT(miners, all);
    EXPECT_TRUE(QueryCommandUi(25076).checked.value_or(false));
    EXPECT_TRUE(view->Title().contains(QStringLiteral(" - Mining"))) << view->Title().toStdString();
    EXPECT_EQ(SectorFilterDefaults(), filter) << "the choice is the program's";

    // "Select sector" now switches the chosen sector off and on again without asking.
    SetModalDialogRunner([&](QDialog&) {
        ADD_FAILURE() << "no chooser";
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(Run(25076));
    EXPECT_EQ(ShareListCount(view->list), all);
    EXPECT_FALSE(QueryCommandUi(25076).checked.value_or(true));
    ASSERT_TRUE(Run(25076));
    EXPECT_EQ(ShareListCount(view->list), miners);

    // The chooser opens on the sector shown; leaving "Display only one sector" unticked shows all.
    SetModalDialogRunner([&](QDialog& d) {
        EXPECT_EQ(static_cast<CSelectSector&>(d).choice().index, mining);
        d.findChild<QCheckBox*>("2838")->setChecked(false);
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(Run(26105));
    EXPECT_EQ(view->list->sectorFilterOn, 0);
    EXPECT_EQ(ShareListCount(view->list), all);
}

// "Share's Dates" reads the current share's calendar through the field table: named rows in date
// order, at most fifteen.
TEST_F(WholeListCommands, ShareDatesListTheCurrentSharesCalendar)
{
    CViewList* view = Start();
    ASSERT_NE(view, nullptr);
    // The first company of the list (indices have no calendar).
    int row = 0;
    while (row < ShareListCount(view->list) && ReadShareDates(view->list->entries[row]).empty())
        ++row;
    ASSERT_LT(row, ShareListCount(view->list));
    view->list->current = row;
    const RecordCursor* share = CurrentEntry(view->list);
    const std::vector<ShareDateRow> dates = ReadShareDates(*share);
    EXPECT_EQ(dates.size(), 16u) << "the demo fills every calendar field";
    for (const ShareDateRow& row : dates)
        EXPECT_FALSE(row.name.empty());
    EXPECT_EQ(dates[3].name, "Year end") << "field 0x63";
    QStringList shown;
    QString caption;
    SetModalDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<CShareDatesDlg&>(d);
        caption = d.windowTitle();
        for (int r = 0; r < dialog.rowCount(); ++r)
            shown << dialog.rowText(r);
        SaveRender(RenderWidget(d), "share-dates-dialog");
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(Run(26907));
    EXPECT_EQ(caption.toStdString(), std::string(GetRecordName(share->record)));
    ASSERT_EQ(shown.size(), 15);
    const std::vector<ShareDateRow> sorted = SortShareDates(dates);
    EXPECT_EQ(shown.front().section('\t', 0, 0).toStdString(), sorted.front().name);
}
