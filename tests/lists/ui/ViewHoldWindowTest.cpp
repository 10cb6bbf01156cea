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
    const auto items = v.HeaderCounts();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].label, "Directors' dealings");
    EXPECT_EQ(items[0].value, std::to_string(CountHoldRows(v.rows).directorDeals));
    // A list table of the dealings family: the rows are the list's, the columns the dealings setting's.
    EXPECT_EQ(v.list->family, kFamilyDealings);
    EXPECT_EQ(ShareListCount(v.list), int32_t(v.rows.size()));
    EXPECT_EQ(v.list->columnLayout, SettingLayout(kListKindDealings, v.list->tableSetting));
    v.RenderImage(v.size());
    ASSERT_GE(v.grid().columnCount(), 8);
    EXPECT_EQ(v.GetListTitle(), "Director and major holdings - Table 1");
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

// The deal values of the list's rows in their order.
std::vector<float> DealValues(const CViewHoldWnd& v)
{
    std::vector<float> values;
    for (int32_t i = 0; i < ShareListCount(v.list); ++i) {
        char text[256];
        float value = 0;
        DealingCellText(v.list->entries[i].record, 7, text, sizeof text, &value);
        values.push_back(value);
    }
    return values;
}

// The middle of a column's heading on the laid-out view.
QPoint HeadingPoint(CViewHoldWnd& v, int column)
{
    v.RenderImage(v.size());
    for (const ColumnSpan& span : v.VisibleColumnSpans())
        if (span.column == column)
            return {(span.left + span.right) / 2, v.grid().rowsTop() - 4};
    ADD_FAILURE() << "no column " << column;
    return {};
}

// The dealings setting's first table: its eighth column is the deal value.
constexpr int kDealValueColumn = 7;

TEST_F(ViewHoldWindow, ADoubleClickOnAHeadingSortsOnceAndTheSortIsRemembered)
{
    SetSettingSort(kListKindDealings, 0, 0, 0);
    CViewHoldWnd& v = Make();
    const std::vector<RecordCursor> dateOrder(v.list->entries, v.list->entries + ShareListCount(v.list));
    // A double click on a heading sorts by its column (once, not forth and back), the next the other way.
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, HeadingPoint(v, kDealValueColumn));
    std::vector<float> values = DealValues(v);
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()) || std::is_sorted(values.begin(), values.end()));
    const std::vector<float> first = values;
    QTest::mouseDClick(&v, Qt::LeftButton, Qt::NoModifier, HeadingPoint(v, kDealValueColumn));
    values = DealValues(v);
    EXPECT_NE(values, first);
    EXPECT_EQ(std::vector<float>(values.rbegin(), values.rend()), first);
    EXPECT_EQ(values.size(), dateOrder.size());
    // A single click or a right click on a heading leaves the order alone.
    QTest::mouseClick(&v, Qt::LeftButton, Qt::NoModifier, HeadingPoint(v, kDealValueColumn));
    QTest::mouseClick(&v, Qt::RightButton, Qt::NoModifier, HeadingPoint(v, kDealValueColumn));
    EXPECT_EQ(DealValues(v), values);

    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(view.get(), &out);
    const int remembered = GetSettingSort(kListKindDealings, 0);
    EXPECT_EQ(std::abs(remembered), kDealValueColumn + 1);

    // The next dealings view starts from the remembered sort.
    CViewHoldWnd& next = Make();
    EXPECT_EQ(DealValues(next), values);
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
    ASSERT_GT(v.list->current, 0);
    const std::string name =
        DealingInvestorName(v.list->entries[v.list->current].record - 1, DealingsInfo(), DealingsCodingTables());
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

