// The share list window painting a real list through its own paint code: rows, the empty text, the
// stored sort, the designs and the banded arrangement, and its commands' enabling.
#include "lists/ui/ViewList.h"

#include "../ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ConfigRecords.h"
#include "core/Portfolio.h"
#include "lists/ListOptions.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewBaseWindow.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class ViewListPaint : public ListFixture {
protected:
    void SetUp() override { LoadShares(FourListShares()); }
    void TearDown() override { ForgetListRows(); }

    ShareList* Filled(int32_t number)
    {
        ShareList* list = NewList(number, 16);
        list->windowSlot = -1;
        SelectColumnSetting(list, kListKindShares, 0, false, false);
        RefreshListRows(list, true, true);
        return list;
    }

    std::unique_ptr<CViewList> ViewOf(ShareList* list)
    {
        auto view = std::make_unique<CViewList>(1);
        view->list = list;
        view->SetFixedFontPixels(12);
        return view;
    }

    static std::vector<std::string> Texts(const CViewListBase& view)
    {
        std::vector<std::string> out;
        for (const PaintOp& op : view.lastOps())
            if (op.step == PaintStep::Text)
                out.push_back(op.text);
        return out;
    }

    static bool Has(const std::vector<std::string>& texts, const std::string& text)
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

} // namespace

TEST_F(ViewListPaint, RowsOfARealListWithHeadingsAndTitle)
{
    ShareList* list = Filled(0);
    ASSERT_GT(ShareListCount(list), 3);
    auto view = ViewOf(list);
    QImage image = view->RenderImage(QSize(900, 300));
    SaveRender(image, "list-light");
    auto texts = Texts(*view);
    EXPECT_TRUE(Has(texts, "Alpha Mining"));
    EXPECT_TRUE(Has(texts, "Delta Power"));
    EXPECT_FALSE(Has(texts, "No shares"));
    EXPECT_GT(view->headings().texts.size(), 3u);
    EXPECT_TRUE(view->paintReady());
    EXPECT_EQ(view->GetListTitle().rfind("List: All - ", 0), 0u) << view->GetListTitle();
    // The rows start under the heading band and the first row is shaded.
    EXPECT_EQ(view->grid().rowsTop(), view->headings().height);
    QRgb shaded = image.pixel(3, view->grid().RowTop(0) + 2);
    QRgb plain = image.pixel(3, view->grid().RowTop(1) + 2);
    EXPECT_NE(shaded, plain);
    view->list = nullptr;
}

TEST_F(ViewListPaint, EmptyListsSayNoSharesOrNoIndices)
{
    for (auto [number, text] : {std::pair{3, "No indices"}, std::pair{11, "No shares"}}) {
        ShareList* list = NewList(number, 4);
        list->windowSlot = -1;
        SelectColumnSetting(list, kListKindShares, 0, false, false);
        auto view = ViewOf(list);
        QImage image = view->RenderImage(QSize(600, 200));
        auto ops = view->lastOps();
        auto it = std::find_if(ops.begin(), ops.end(), [&](const PaintOp& op) { return op.text == text; });
        ASSERT_NE(it, ops.end()) << text;
        EXPECT_EQ(it->y0, view->grid().rowsTop() + 50);
        if (number == 11)
            SaveRender(image, "list-empty");
        view->list = nullptr;
    }
}

TEST_F(ViewListPaint, AStoredSortOfZeroOrMinusOneNeverResorts)
{
    ShareList* list = Filled(0);
    auto firstName = [&] { return std::string(GetRecordTexts(list->entries[0].record).name); };
    std::string before = firstName();
    auto view = ViewOf(list);
    int saved = GetSettingSort(kListKindShares, list->tableSetting, 0);
    for (int stored : {0, -1}) {
        SetSettingSort(kListKindShares, list->tableSetting, 0, stored);
        view->RenderImage(QSize(600, 200));
        EXPECT_EQ(firstName(), before) << stored;
    }
    // A stored descending sort by the first text column re-sorts on paint.
    SetSettingSort(kListKindShares, list->tableSetting, 0, -2);
    view->RenderImage(QSize(600, 200));
    EXPECT_EQ(list->sortDirection * (list->sortColumn + 1), -2);
    SetSettingSort(kListKindShares, list->tableSetting, 0, saved);
    view->list = nullptr;
}

TEST_F(ViewListPaint, DesignsAndBands)
{
    ShareList* list = Filled(0);
    TableStyle* style = SettingStyle(kListKindShares, list->tableSetting);
    ASSERT_NE(style, nullptr);
    TableStyle saved = *style;
    auto view = ViewOf(list);

    // Dark design.
    style->setWord(TableStyle::kBackground, 0x202020);
    style->setWord(TableStyle::kAlternateBackground, 0x303030);
    style->setWord(TableStyle::kText, 0xE0E0E0);
    style->setWord(TableStyle::kHeadingBackground, 0x404040);
    style->setWord(TableStyle::kHeadingText, 0xFFFFFF);
    style->setWord(TableStyle::kCurrentBackground, 0x805020);
    style->setWord(TableStyle::kCurrentText, 0xFFFFFF);
    QImage dark = view->RenderImage(QSize(900, 300));
    SaveRender(dark, "list-dark");
    EXPECT_EQ(dark.pixel(dark.width() - 30, view->grid().RowTop(1) + 2) & 0xFFFFFF, 0x202020u);

    // Banded: the columns repeat side by side and the rows flow on.
    style->bytes[TableStyle::kWrapColumns] = 1;
    list->firstVisible = 0;
    QImage banded = view->RenderImage(QSize(900, 120));
    SaveRender(banded, "list-banded");
    EXPECT_TRUE(view->grid().banded());
    EXPECT_GE(view->grid().bandsNeeded(), 1);
    *style = saved;
    view->list = nullptr;
}

TEST_F(ViewListPaint, AddCommandsAnswerOnlyForTheActiveViewAndNeedAPortfolio)
{
    ShareList* list = Filled(0);
    auto view = ViewOf(list);
    CommandUi ui;
    ui.command = kCmdAddAllToCurrent;
    CViewBase* savedActive = MainFrameState().activeView;
    MainFrameState().activeView = nullptr;
    EXPECT_FALSE(view->UpdateCommand(ui));
    MainFrameState().activeView = view.get();
    EXPECT_TRUE(view->UpdateCommand(ui));
    EXPECT_FALSE(ui.enabled);
    ASSERT_TRUE(ui.text.has_value()); // the menu names the current portfolio, or that none is chosen
    EXPECT_NE(ui.text->find("<None selected>"), std::string::npos) << *ui.text;
    ui.command = kCmdAddAllToChosen;
    ui.text.reset();
    EXPECT_TRUE(view->UpdateCommand(ui));
    EXPECT_FALSE(ui.enabled) << "greyed while no portfolio chooser is installed";
    // The chooser answers Cancel: nothing is added, nothing blocks.
    SetPortfolioChooser([](int) -> Portfolio* { return nullptr; });
    EXPECT_TRUE(view->UpdateCommand(ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(view->RunCommand(kCmdAddAllToChosen));
    SetPortfolioChooser({});
    MainFrameState().activeView = savedActive;
    view->list = nullptr;
}

TEST_F(ViewListPaint, AddingTheSharesAboveTheFirstRowAddsOne)
{
    ShareList* list = Filled(0);
    list->current = 0;
    Portfolio chosen;
    chosen.name = "Chosen";
    PortfolioAddHooks hooks;
    hooks.save = [](Portfolio*) {};
    hooks.prepareUndo = [](const Portfolio*) {};
    hooks.pushUndo = [](uint32_t, Portfolio*) {};
    hooks.rebuildGroup = [](Portfolio*) {};
    SetPortfolioAddHooks(hooks);
    SetPortfolioChooser([&](int mode) { return mode == kChooserAddMode ? &chosen : nullptr; });
    EXPECT_TRUE(RunAddCommand(kCmdAddAboveToChosen, list));
    EXPECT_EQ(CountPortfolioEntries(chosen), 1u);
    EXPECT_TRUE(RunAddCommand(kCmdAddAllToChosen, list));
    EXPECT_EQ(CountPortfolioEntries(chosen), uint32_t(ShareListCount(list)));
    // Without a current portfolio view the current-portfolio commands add nothing.
    EXPECT_FALSE(RunAddCommand(kCmdAddShareToCurrent, list));
    SetPortfolioChooser({});
    SetPortfolioAddHooks(DefaultPortfolioAddHooks());
    ProFree(chosen.entries);
}

// A list made active shows its own texts in the status panes: nothing a chart or another view
// wrote there before stays.
TEST_F(ViewListPaint, TheActiveListShowsItsOwnStatusTexts)
{
    ShareList* list = Filled(0);
    CMainFrame frame;
    frame.resize(900, 600);
    frame.show();
    MessageTarget* savedTarget = MainFrameTarget();
    MainFrameTarget() = &frame;
    auto* other = new CViewBaseWnd(kViewDailyChart);
    QMdiSubWindow* otherSub = frame.mdiArea()->addSubWindow(other);
    otherSub->show();
    frame.mdiArea()->setActiveSubWindow(otherSub);
    CStatusBarEx& bar = *frame.statusBarEx();
    for (int pane = 1; pane <= 3; ++pane)
        bar.SetPaneText(pane, QStringLiteral("Cursor (Off graph)"));

    auto* view = new CViewList(1);
    view->list = list;
    view->SetFixedFontPixels(12);
    QMdiSubWindow* sub = frame.mdiArea()->addSubWindow(view);
    sub->show();
    frame.mdiArea()->setActiveSubWindow(sub);
    QApplication::processEvents();
    EXPECT_EQ(bar.PaneText(3).toStdString(), view->GetSourceTitle(true));
    for (int pane = 1; pane <= 2; ++pane)
        EXPECT_NE(bar.PaneText(pane), QStringLiteral("Cursor (Off graph)")) << pane;

    // A view that writes nothing leaves the panes empty.
    frame.mdiArea()->setActiveSubWindow(otherSub);
    for (int pane = 1; pane <= 3; ++pane)
        EXPECT_EQ(bar.PaneText(pane), QString()) << pane;
    MainFrameTarget() = savedTarget;
}

// A price column narrowed below its numbers shows them whole or marked as too narrow, on screen as
// the printed page lays it out; never a number cut on its left.
TEST_F(ViewListPaint, ANarrowColumnNeverCutsANumber)
{
    ShareList* list = Filled(0);
    auto view = ViewOf(list);
    auto cellTexts = [&](int column) {
        view->RenderImage(QSize(900, 300));
        std::vector<std::string> texts;
        for (const ColumnSpan& span : view->VisibleColumnSpans())
            if (span.column == column)
                for (const PaintOp& op : view->lastOps())
                    if (op.step == PaintStep::Text && op.x0 >= span.left && op.x1 <= span.right + 1 &&
                        op.y0 >= view->grid().RowTop(0))
                        texts.push_back(op.text);
        return texts;
    };
    int price = -1;
    for (int c = 0; c < CountColumnDefs(list->columnLayout); ++c)
        if (ColumnDefCode(GetColumnDef(list->columnLayout, c)) == 17)
            price = c;
    ASSERT_GE(price, 0);
    const std::vector<std::string> whole = cellTexts(price);
    ASSERT_FALSE(whole.empty());
    SetListColumnWidth(list, kListKindShares, price, 3);
    const std::vector<std::string> narrow = cellTexts(price);
    ASSERT_EQ(narrow.size(), whole.size());
    for (size_t i = 0; i < narrow.size(); ++i)
        EXPECT_TRUE(narrow[i] == whole[i] || narrow[i].find_first_not_of('#') == std::string::npos)
            << whole[i] << " shown as " << narrow[i];
    EXPECT_NE(std::find_if(narrow.begin(), narrow.end(), [](const std::string& t) { return t[0] == '#'; }), narrow.end());
}

// "New Highs" fills the list again with the shares at their period high; choosing it again brings
// every share back.
TEST_F(ViewListPaint, NewHighsFillTheListAgain)
{
    ShareList* list = Filled(0);
    auto view = ViewOf(list);
    list->views = view.get();
    const int32_t all = ShareListCount(list);
    SendProgramMessage(*view, WM_COMMAND, kCommandNewHighs);
    const int32_t highs = ShareListCount(list);
    EXPECT_LT(highs, all);
    EXPECT_GT(highs, 0);
    SendProgramMessage(*view, WM_COMMAND, kCommandNewHighs);
    EXPECT_EQ(ShareListCount(list), all);
    list->views = nullptr;
}
