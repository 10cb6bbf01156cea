// The directors' dealings view on the demo data: its rows, commands with their enabling and checks,
// the header counts and status texts, made by the view-class registry for kind 5, and a render.
#include "lists/ui/ViewHoldWindow.h"

#include "core/CodedText.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoDealings.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListSettings.h"
#include "lists/ui/ListDialogCommands.h"
#include "lists/ui/ListPagePrinter.h"
#include "shell/KeyRouting.h"
#include "shell/ui/ModalDialog.h"
#include "support/DatabaseFixture.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

class ViewHoldWindow : public DatabaseFixture {
protected:
    ViewHoldWindow() : saved_(Config().optionsA), savedSort_(GetSettingSort(kListKindDealings, 0))
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)));
        std::vector<uint8_t> block;
        DealingsFileInfo info;
        EXPECT_EQ(ParseDealingsFile(dev::WriteDealingsFile(dev::BuildDemoDealings(demo)).bytes, block, info,
                                    DealingsCodingTables()),
                  DealingsParse::Ok);
        InstallDealingsBlock(std::move(block), info);
    }
    ~ViewHoldWindow() override
    {
        SetSettingSort(kListKindDealings, 0, 0, savedSort_);
        MainFrameState().activeView = nullptr;
        view.reset();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        FreeDirDealBlocks();
        Config().optionsA = saved_;
    }
    CViewHoldWnd& Make()
    {
        InstallDealingsViewClass();
        view.reset(dynamic_cast<CViewHoldWnd*>(CreateViewWindowForKind(kViewDealings)));
        EXPECT_NE(view, nullptr);
        view->setAttribute(Qt::WA_DeleteOnClose, false);
        view->list = CreateListSource(view.get(), 1, kFamilyDealings, nullptr);
        view->resize(900, 420);
        MainFrameState().activeView = view.get();
        view->OnRefresh();
        return *view;
    }
    bool Checked(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(view->UpdateCommand(ui));
        return ui.checked.value_or(false);
    }
    bool Enabled(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(view->UpdateCommand(ui));
        return ui.enabled;
    }
    std::unique_ptr<CViewHoldWnd> view;

private:
    OptionBlockA saved_;
    int savedSort_;
};

TEST_F(ViewHoldWindow, ShowsTheDemoDealingsWithCounts)
{
    CViewHoldWnd& v = Make();
    EXPECT_EQ(v.rows.size(), size_t(CountHoldRows(v.rows).directorDeals + CountHoldRows(v.rows).directorHoldings +
                                    CountHoldRows(v.rows).majorDeals + CountHoldRows(v.rows).majorHoldings));
    EXPECT_GT(v.rows.size(), 3000u);
    const auto items = v.HeaderItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_NE(items[0].find("Directors' dealings"), std::string::npos);
    EXPECT_EQ(v.StatusTexts()[0], "All shares");
    EXPECT_EQ(v.StatusTexts()[2], "Director & Major holdings");
    // Over the header strip the first pane names the list window's function key.
    EXPECT_EQ(v.HeaderKeyName(), "List: All ( F2)");
    v.list->number = 4;
    EXPECT_EQ(v.HeaderKeyName(), "List: All (Shift+F3)");
    v.list->number = 0;
    SaveRender(RenderWidget(v), QStringLiteral("dealings-view"));
}

// The dealings print page by page at the printer's resolution: the pages the rows fill, the range
// the printer asks for, and a page drawn to look at.
TEST_F(ViewHoldWindow, PrintsItsRowsPageByPage)
{
    CViewHoldWnd& v = Make();
    CListPagePrinter pages(PrintSourceOf(v));
    QImage page = PrintedPageImage();
    QPainter painter(&page);
    const int count = pages.pageCount(painter, page.size());
    EXPECT_GT(count, 20);
    pages.drawPage(painter, page.size(), 2);
    painter.end();
    SaveRender(page, QStringLiteral("dealings-view-printed-page2"));

    const QString path = QStringLiteral("/tmp/qv-dealings-print-%1.pdf").arg(::getpid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    ASSERT_TRUE(pages.print(printer));
    EXPECT_EQ(PdfPageCount(path), 2);
    QFile::remove(path);
}

TEST_F(ViewHoldWindow, FilterCommandsRebuildAndShowTheirChecks)
{
    CViewHoldWnd& v = Make();
    const size_t all = v.rows.size();
    EXPECT_FALSE(Checked(kCommandLatestHoldings));
    EXPECT_TRUE(Checked(kCommandAllDealings));
    EXPECT_TRUE(v.RunCommand(kCommandLatestHoldings));
    EXPECT_TRUE(Checked(kCommandLatestHoldings));
    EXPECT_LT(v.rows.size(), all);
    EXPECT_EQ(v.StatusTexts()[2], "Latest Director & Major holdings");

    // Unlinked, without a selected share: the share limit is greyed; the parent limit toggles.
    EXPECT_FALSE(Enabled(kCommandShareDealings));
    EXPECT_TRUE(v.RunCommand(kCommandParentDealings));
    EXPECT_TRUE(Checked(kCommandParentDealings));
    EXPECT_FALSE(Checked(kCommandAllDealings));
    EXPECT_TRUE(v.RunCommand(kCommandAllDealings));
    EXPECT_TRUE(Checked(kCommandAllDealings));

    EXPECT_TRUE(v.RunCommand(kCommandExpandAbbreviations));
    EXPECT_TRUE(Checked(kCommandExpandAbbreviations));
    v.RunCommand(kCommandExpandAbbreviations);

    // Another view active: the commands are not this view's; the weekly statistics stay open to
    // the View menu while dealings are loaded.
    MainFrameState().activeView = nullptr;
    CommandUi ui{kCommandLatestHoldings, false, std::nullopt, std::nullopt};
    EXPECT_FALSE(v.UpdateCommand(ui));
    EXPECT_FALSE(QueryCommandUi(kCommandLatestHoldings).enabled);
    EXPECT_TRUE(QueryCommandUi(kCommandDealingsStats).enabled);
}

// The deal values of the rows in their order.
std::vector<float> DealValues(const CViewHold& v)
{
    std::vector<float> values;
    for (const RecordCursor& row : v.rows) {
        char text[256];
        float value = 0;
        DealingCellText(row.record, 7, text, sizeof text, &value);
        values.push_back(value);
    }
    return values;
}

TEST_F(ViewHoldWindow, TheSortIsRememberedOnLosingFocus)
{
    SetSettingSort(kListKindDealings, 0, 0, 0);
    CViewHoldWnd& v = Make();
    const std::vector<RecordCursor> dateOrder = v.rows;
    // A heading sorts by its column, a second click the other way.
    v.SortByHeading(7);
    std::vector<float> values = DealValues(v);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    v.SortByHeading(7);
    values = DealValues(v);
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
    EXPECT_LT(values.back(), values.front());
    EXPECT_EQ(v.rows.size(), dateOrder.size());

    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(view.get(), &out);
    EXPECT_EQ(GetSettingSort(kListKindDealings, 0), -8);

    // The next dealings view starts from the remembered sort; the number column is the date order.
    CViewHoldWnd& next = Make();
    EXPECT_EQ(DealValues(next), values);
    next.SortByHeading(0);
    EXPECT_TRUE(std::equal(next.rows.begin(), next.rows.end(), dateOrder.begin(),
                           [](const RecordCursor& a, const RecordCursor& b) { return a.record == b.record; }));
}

TEST_F(ViewHoldWindow, ATypedLetterFindsAnInvestor)
{
    CViewHoldWnd& v = Make();
    Config().optionsA.data()[OptionBlockA::kFindContains] = 0; // from the first letter
    SetModalDialogRunner([](QDialog& dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    });
    const FindSharePlan plan = PlanFindShare('N', KeyState{}, &v, false);
    EXPECT_EQ(plan.action, FindShareAction::FindInvestor);
    EXPECT_TRUE(CarryOutFindShare(&v, plan, 'N', {}));
    SetModalDialogRunner(nullptr);
    SetFindInvestorDialog(nullptr);
    ASSERT_GT(v.currentRow, 0);
    const std::string name =
        DealingInvestorName(v.rows[size_t(v.currentRow)].record - 1, DealingsInfo(), DealingsCodingTables());
    EXPECT_EQ(name[0], 'N') << name;
}

TEST_F(ViewHoldWindow, NoBlockPaintsNoData)
{
    CViewHoldWnd& v = Make();
    FreeDirDealBlocks();
    v.rows.clear();
    SaveRender(RenderWidget(v), QStringLiteral("dealings-view-no-data"));
    EXPECT_EQ(DealingsMainBlock, nullptr);
}

} // namespace

// A left press on a heading sorts by it; a right click there leaves the order alone.
TEST_F(ViewHoldWindow, OnlyTheLeftButtonSortsByAHeading)
{
    SetSettingSort(kListKindDealings, 0, 0, 0);
    CViewHoldWnd& v = Make();
    v.SortByHeading(7);
    const std::vector<float> byValue = DealValues(v);
    const int line = v.fontMetrics().height() + 4;
    const QPoint heading(5, line + 2 + line / 2);
    QTest::mousePress(&v, Qt::RightButton, Qt::NoModifier, heading);
    QTest::mouseRelease(&v, Qt::RightButton, Qt::NoModifier, heading);
    EXPECT_EQ(DealValues(v), byValue);
    QTest::mousePress(&v, Qt::LeftButton, Qt::NoModifier, heading);
    QTest::mouseRelease(&v, Qt::LeftButton, Qt::NoModifier, heading);
    EXPECT_NE(DealValues(v), byValue) << "the number column is the date order";
}
