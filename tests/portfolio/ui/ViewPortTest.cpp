// The "Portfolio" layout on the demo data: the portfolio view sums the demo portfolio in its strip,
// shows the list line when asked, and its commands change entries with their questions.
#include "portfolio/ui/ViewPort.h"

#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/ShareList.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/DemoPortfolios.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/ListOptions.h"
#include "lists/ListPaintPlan.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/ui/ViewList.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioChooserRules.h"
#include "portfolio/PortfolioEntryEdits.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/PortfolioWindows.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "shell/LayoutSwitch.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/ModalDialog.h"
#include "views/ui/ViewClassRegistry.h"
#include "support/FakeMessageBox.h"
#include "support/ui/PortfolioLayoutFrame.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class PortfolioLayout : public PortfolioLayoutFrame {
protected:
    PortfolioLayout()
    {
        view = FindView<CViewPort>();
        EXPECT_NE(view, nullptr);
        if (view)
            MainFrameState().activeView = view;
    }
    static std::string Labels(const std::vector<HeaderItem>& items)
    {
        std::string out;
        for (const HeaderItem& i : items)
            out += (i.label.empty() ? "+" : i.label) + "|";
        return out;
    }
    Portfolio* Demo() const { return FindPortfolioByNumber(0); }
    int Entries(const Portfolio* p) const { return int(CountPortfolioEntries(*p)); }
    void Run(uint32_t command)
    {
        ASSERT_TRUE(view->RunCommand(command)) << command;
        Settle();
    }
    void SelectRow(int row)
    {
        view->list->current = row;
        view->list->firstVisible = 0;
    }

    CViewPort* view = nullptr;
    FakeMessageBox boxes;
};

TEST_F(PortfolioLayout, TheStripNamesAndSumsTheDemoPortfolioOrShowsTheListLine)
{
    ASSERT_TRUE(FontsAvailable());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->portfolio(), Demo());
    SaveRender(view->RenderImage(view->size()), "portfolio-view-investments");
    EXPECT_EQ(Labels(view->headerItems()), "Portfolio:|Value|+|+|Profit|Realised profit|Charges|");
    EXPECT_EQ(view->headerItems()[0].value, "Demo Portfolio");
    // The attached cash account's balance is added to the value.
    EXPECT_NE(view->headerItems()[1].value.find(" / \xA3"), std::string::npos);
    // Every 'Latest' row is in place, one for each share with transactions.
    int latest = 0;
    for (const Transaction* t = Demo()->transactions; t; t = t->next)
        latest += t->type() == kLatestRowType;
    EXPECT_EQ(latest, 7);
    EXPECT_EQ(Demo()->changed, 0);
    // The placements move right, and the joined items sit closer than a label would put them.
    const auto& places = view->headerPlaces();
    ASSERT_EQ(places.size(), view->headerItems().size());
    for (size_t i = 1; i < places.size(); ++i)
        EXPECT_GT(places[i].valueX, places[i - 1].valueX);
    EXPECT_FALSE(places[2].labelDrawn);

    Run(25094);
    EXPECT_FALSE(view->investmentInfo());
    SaveRender(view->RenderImage(view->size()), "portfolio-view-list-line");
    EXPECT_EQ(Labels(view->headerItems()), "Portfolio:|No. in Portfolio|Av. price|+|+|Cap|Av. Cap|");
    EXPECT_EQ(view->headerItems()[1].value, "8");
    Run(25094);
    EXPECT_TRUE(view->investmentInfo());
}

TEST_F(PortfolioLayout, APrintedPageCarriesTheStripInBlackAboveTheHeadings)
{
    ASSERT_TRUE(FontsAvailable());
    ASSERT_NE(view, nullptr);
    QImage page = PrintedPageImage();
    const QRect table(100, 100, 1040, 1400);
    {
        QPainter painter(&page);
        ASSERT_GE(view->CountPrintPages(painter, table), 1);
        view->DrawPrintPage(painter, table, 1);
    }
    SaveRender(page, "portfolio-printed-page1");
    // The table's texts are planned below the strip.
    int headingTop = page.height();
    int texts = 0;
    for (const PaintOp& op : view->lastOps())
        if (op.step == PaintStep::Text) {
            headingTop = std::min(headingTop, op.y0);
            ++texts;
        }
    EXPECT_GT(texts, 8 * 3) << "the rows are printed";
    ASSERT_GT(headingTop, 10) << "room for one line of the list font";
    // The strip's figures are printed in black on the white page: no screen strip or value boxes.
    int dark = 0;
    int grey = 0;
    for (int y = table.top(); y < table.top() + headingTop; ++y)
        for (int x = table.left(); x < table.right(); ++x) {
            const QRgb c = page.pixel(x, y);
            dark += qGray(c) < 80;
            grey += c == QColor(0xA0, 0xA0, 0xA4).rgb() || c == QColor(0xC0, 0xC0, 0xC0).rgb();
        }
    EXPECT_GT(dark, 200) << "the portfolio's name and figures";
    EXPECT_LT(grey, 100) << "a screen box fills thousands; smoothed letter edges only a few";
    EXPECT_FALSE(view->headerItems().empty()) << "the screen's strip is kept";
}

TEST_F(PortfolioLayout, ARefreshWaitsWhileAFilterRuns)
{
    ASSERT_NE(view, nullptr);
    Demo()->changed = 1;
    DataMiningRunBusy = 1;
    view->OnRefresh();
    EXPECT_TRUE(view->refreshPending());
    EXPECT_EQ(Demo()->changed, 1);
    view->RenderImage(view->size());
    EXPECT_TRUE(view->headerItems().empty());
    DataMiningRunBusy = 0;
    Settle();
    EXPECT_FALSE(view->refreshPending());
    EXPECT_EQ(Demo()->changed, 0);
}

TEST_F(PortfolioLayout, DeletesAskFirstAndRemoveTheirRangeWithItsTransactions)
{
    ASSERT_NE(view, nullptr);
    Portfolio* p = Demo();
    const int before = Entries(p);
    // No changes nothing.
    SelectRow(0);
    boxes.queue(MsgAnswer::No);
    Run(20613);
    EXPECT_EQ(Entries(p), before);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].defaultButton, 1);
    // "Above - including" with the first row removes just that row and its transactions.
    const RecordCursor first = *CurrentEntry(view->list);
    const RecordCursor last = view->list->entries[ShareListCount(view->list) - 1];
    EXPECT_TRUE(HasShareTransactions(*p, first));
    boxes.queue(MsgAnswer::Yes);
    Run(20614);
    EXPECT_EQ(Entries(p), before - 1);
    EXPECT_FALSE(HasShareTransactions(*p, first));
    // "Below - including" with the last row removes just the last.
    SelectRow(ShareListCount(view->list) - 1);
    boxes.queue(MsgAnswer::Yes);
    Run(20613);
    EXPECT_EQ(Entries(p), before - 2);
    for (int i = 0; i < Entries(p); ++i)
        EXPECT_NE(p->entries[i].record, last.record);
    // The single delete names the transactions when there are any.
    for (int row = 0; row < ShareListCount(view->list); ++row)
        if (HasShareTransactions(*p, view->list->entries[row]))
            SelectRow(row);
    boxes.queue(MsgAnswer::Yes);
    Run(20611);
    EXPECT_EQ(boxes.shown().back().text,
              "Are you sure you want to delete this entry?\nThe associated transactions will also be deleted.");
    EXPECT_EQ(Entries(p), before - 3);
}

// After a deletion the share that took the removed rows' place is current: the one below them, or
// the one above when they ran to the end.
TEST_F(PortfolioLayout, ADeletionLeavesTheNeighbouringShareCurrent)
{
    ASSERT_NE(view, nullptr);
    auto idAt = [&](int row) { return EntryRecordId(view->list->entries[row]); };
    auto current = [&] {
        const RecordCursor* entry = CurrentEntry(view->list);
        return entry ? EntryRecordId(*entry) : 0;
    };
    ASSERT_GE(ShareListCount(view->list), 5);
    SelectRow(1);
    uint16_t expected = idAt(2);
    boxes.queue(MsgAnswer::Yes);
    Run(20611);
    EXPECT_EQ(current(), expected) << "the share below";
    EXPECT_EQ(view->list->current, 1);

    int last = ShareListCount(view->list) - 1;
    SelectRow(last);
    expected = idAt(last - 1);
    boxes.queue(MsgAnswer::Yes);
    Run(20611);
    EXPECT_EQ(current(), expected) << "the share above the last";
    EXPECT_EQ(view->list->current, last - 1);

    SelectRow(1);
    expected = idAt(0);
    boxes.queue(MsgAnswer::Yes);
    Run(20613);
    EXPECT_EQ(ShareListCount(view->list), 1);
    EXPECT_EQ(current(), expected) << "below - including takes the rest; the row above stays";
}

// The portfolio keeps the current share as an index into its own entries, which is how a view
// made again from it (the view shown after a Buy started here) finds the share; the rows are sorted.
TEST_F(PortfolioLayout, ThePortfolioKeepsTheCurrentShareForAViewMadeAgain)
{
    ASSERT_NE(view, nullptr);
    Portfolio* p = Demo();
    bool sorted = false;
    for (int row = 0; row < ShareListCount(view->list); ++row) {
        SelectRow(row);
        view->KeepPosition();
        ASSERT_GE(p->current, 0);
        EXPECT_EQ(EntryRecordId(p->entries[p->current]), EntryRecordId(view->list->entries[row])) << row;
        sorted = sorted || p->current != row;
    }
    EXPECT_TRUE(sorted) << "the fixture's rows stand in the entries' order: the test shows nothing";
}

// A share-list window can share the portfolio window's list (a Shares list opened, then a portfolio
// window from it). A refresh of both, as a recorded transaction sends, keeps the list on the
// portfolio and on the share the user chose, whichever window refreshes first, and although the
// list was made on a share the portfolio does not hold.
TEST_F(PortfolioLayout, AListWindowSharingTheListLeavesItOnThePortfolioAndItsShare)
{
    ASSERT_NE(view, nullptr);
    ASSERT_GE(ShareListCount(view->list), 4);
    CViewList shares(kViewList);
    shares.list = view->list;
    shares.nextInList = view->list->views;
    view->list->views = &shares;
    view->list->currentId = 0x7FFF;
    for (int row : {2, 3}) {
        SelectRow(row);
        const uint32_t chosen = EntryRecordId(view->list->entries[row]);
        shares.OnRefresh();
        view->OnRefresh();
        EXPECT_EQ(view->list->source, Demo()) << row;
        const RecordCursor* entry = CurrentEntry(view->list);
        ASSERT_NE(entry, nullptr) << row;
        EXPECT_EQ(EntryRecordId(*entry), chosen) << row;
        view->OnRefresh();
        shares.OnRefresh();
        EXPECT_EQ(view->list->source, Demo()) << row;
        EXPECT_EQ(EntryRecordId(*CurrentEntry(view->list)), chosen) << row;
    }
}

TEST_F(PortfolioLayout, CopyingAShareTakesItsTransactionsWithoutTheCashAccount)
{
    ASSERT_NE(view, nullptr);
    Portfolio* income = FindPortfolioByNumber(1);
    // The demo's recent buys are settled through the cash account: find such a row.
    int row = -1;
    for (int i = 0; i < ShareListCount(view->list) && row < 0; ++i)
        for (const Transaction* t = Demo()->transactions; t; t = t->next)
            if (t->shareId() == EntryRecordId(view->list->entries[i]) && LoadU16(&t->bytes[100]) == 2)
                row = i;
    ASSERT_GE(row, 0);
    SelectRow(row);
    const RecordCursor share = *CurrentEntry(view->list);
    SetModalDialogRunner([](QDialog& d) {
        auto& chooser = static_cast<CPortfolioChooser&>(d);
        EXPECT_EQ(chooser.mode(), 7);
        auto found = chooser.portfolioList()->findItems("Income", Qt::MatchExactly);
        chooser.portfolioList()->setCurrentItem(found.front());
        chooser.accept();
        return chooser.result();
    });
    Run(26559);
    EXPECT_TRUE(HasShareTransactions(*income, share));
    for (const Transaction* t = income->transactions; t; t = t->next)
        if (t->shareId() == EntryRecordId(share)) {
            EXPECT_EQ(LoadU16(&t->bytes[100]), 0xFFFF);
            EXPECT_EQ(LoadU16(&t->bytes[88]), 1);
        }
    EXPECT_TRUE(HasShareTransactions(*Demo(), share)); // a copy leaves the source as it was
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PortfolioLayout, MovingAShareToItsOwnPortfolioDoesNothing)
{
    ASSERT_NE(view, nullptr);
    const int before = Entries(Demo());
    SetModalDialogRunner([](QDialog& d) {
        auto& chooser = static_cast<CPortfolioChooser&>(d);
        auto found = chooser.portfolioList()->findItems("Demo Portfolio", Qt::MatchExactly);
        chooser.portfolioList()->setCurrentItem(found.front());
        chooser.accept();
        return chooser.result();
    });
    Run(26560);
    EXPECT_EQ(Entries(Demo()), before);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PortfolioLayout, CommandsAreEnabledByTheirRules)
{
    ASSERT_NE(view, nullptr);
    auto enabled = [&](uint32_t command) {
        CommandUi ui;
        ui.command = command;
        EXPECT_TRUE(view->UpdateCommand(ui)) << command;
        return ui.enabled;
    };
    for (uint32_t command : {20611u, 20612u, 20613u, 20614u, 20806u, 20803u, 25005u, 25094u, 25095u, 25096u, 26559u,
                             26560u})
        EXPECT_TRUE(enabled(command)) << command;
    EXPECT_FALSE(enabled(26499)); // not a group
    EXPECT_FALSE(enabled(26480)); // not an alarms portfolio
    SetShareListSource(view->list, FindPortfolioByNumber(2), 0, 0, true, false);
    view->OnRefresh();
    EXPECT_TRUE(enabled(26499));
    EXPECT_FALSE(enabled(20611)); // entries of a group are its members'
}

} // namespace
