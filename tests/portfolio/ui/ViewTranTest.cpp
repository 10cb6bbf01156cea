// The "Portfolio" layout's transactions and cash views on the demo data, and the record and cash
// dialogs driven by control id.
#include "portfolio/ui/ViewTran.h"

#include "core/CashAccounts.h"
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TransactionTypes.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/DemoPortfolios.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/ColumnHeading.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListOptions.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/SyntheticRecords.h"
#include "lists/ui/ViewList.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "portfolio/CashEntry.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"
#include "portfolio/TransactionRows.h"
#include "portfolio/UndoRing.h"
#include "portfolio/ui/CashDialogs.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/PortfolioWindows.h"
#include "portfolio/ui/RecordTransaction.h"
#include "portfolio/ui/TransactionRecordDlg.h"
#include "portfolio/ui/ViewCash.h"
#include "shell/LayoutStateHooks.h"
#include "portfolio/ui/ViewPort.h"
#include "shell/ui/CalcEdit.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlById.h"
#include "support/ui/PortfolioLayoutFrame.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

namespace C = TransactionControl;
namespace L = TransactionLayout;
constexpr int kPortfolioLayout = 3;

void Type(QWidget& dialog, int id, const QString& text)
{
    auto* edit = Control<QLineEdit>(dialog, id);
    edit->setText(text);
    emit edit->textEdited(text);
}

QString Text(QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id)->text(); }

int Count(const Transaction* t)
{
    int n = 0;
    for (; t; t = t->next)
        ++n;
    return n;
}

class TransactionLayoutViews : public PortfolioLayoutFrame {
protected:
    TransactionLayoutViews()
    {
        tran = FindView<CViewTran>();
        cash = FindView<CViewCash>();
        EXPECT_NE(tran, nullptr);
        EXPECT_NE(cash, nullptr);
        if (tran && tran->list && !tran->list->source) {
            tran->list->source = Demo();
            tran->OnRefresh();
        }
        Activate(tran);
        TransactionDialogDefaults().showGains = false;
    }
    ~TransactionLayoutViews() override
    {
        CViewTran::TotalsOnly() = CViewTran::HeldOnly() = false;
        TransactionDialogDefaults().showGains = false;
    }
    // A buy dated 1/6/2020, on that day.
    static TransactionDialogSetup BuyOnFirstJune2020()
    {
        TransactionDialogSetup setup;
        setup.type = 1;
        setup.date = setup.today = PackDate(1, 6, 2020);
        return setup;
    }
    void Activate(CViewBase* view) { MainFrameState().activeView = view; }
    Portfolio* Demo() const { return FindPortfolioByNumber(0); }
    int Rows(CViewListTop* view) const { return ShareListCount(view->list); }
    int RowOf(CViewTran* view, const Transaction* t) const
    {
        for (int i = 0; i < Rows(view); ++i)
            if (view->list->entries[i].record == t->bytes.data())
                return i;
        return -1;
    }
    CashAccount* DemoAccount() const
    {
        for (CashAccount* a = CashAccounts().head; a; a = a->next)
            if (a->kind == 0)
                return a;
        return nullptr;
    }
    // A share of the demo database the demo portfolio holds.
    uint16_t HeldShare() const { return Demo()->transactions->shareId(); }
    // A fresh ordinary portfolio in the chain.
    Portfolio* NewEmptyPortfolio()
    {
        auto* p = new Portfolio;
        p->number = 7;
        p->name = "Test";
        p->next = PortfolioChain();
        PortfolioChain() = p;
        return p;
    }
    // Records through the dialog, typing the shares and a price in pence.
    // A dialog shown again (after the sale question's No) is cancelled.
    bool Record(Portfolio* p, int type, uint16_t id, const char* shares, const char* pence)
    {
        int shown = 0;
        SetModalDialogRunner([&](QDialog& d) {
            auto* dialog = dynamic_cast<CTransactionRecord*>(&d);
            if (!dialog || shown++ > 0)
                return int(QDialog::Rejected);
            Type(d, C::Shares, QString::fromLatin1(shares));
            Type(d, C::Price, QString::fromLatin1(pence));
            d.accept();
            return d.result();
        });
        const bool stored = RecordTransaction(p, type, id, 0, 0, nullptr, nullptr);
        SetModalDialogRunner(nullptr);
        return stored;
    }

    CViewTran* tran = nullptr;
    CViewCash* cash = nullptr;
    FakeMessageBox boxes;
};

TEST_F(TransactionLayoutViews, ABuyIsStoredWithAnUndoStepAndANewDividendStartsFromTheHolding)
{
    Portfolio* p = NewEmptyPortfolio();
    const uint16_t id = HeldShare();
    const int undoBefore = GetUndoRing().writePosition();
    ASSERT_TRUE(Record(p, 1, id, "250", "120"));
    EXPECT_NE(GetUndoRing().writePosition(), undoBefore);
    ASSERT_EQ(Count(p->transactions), 2) << "the buy and its 'Latest' row";
    auto buy = DecodeTransaction(p->transactions->bytes);
    ASSERT_TRUE(buy);
    EXPECT_EQ(buy->type, 1);
    EXPECT_FLOAT_EQ(buy->shares, 250);
    EXPECT_FLOAT_EQ(buy->price, 1.2f) << "a price typed in pence is stored in pounds";
    EXPECT_FLOAT_EQ(buy->amount, 300);
    EXPECT_EQ(buy->portfolioNumber, 7);
    ASSERT_NE(FindShareRecord(id), nullptr);
    EXPECT_EQ(buy->shareType, SubRecordKindOf(FirstSubRecord(FindShareRecord(id)))) << "the line's own share type";
    EXPECT_EQ(CountPortfolioEntries(*p), 1u) << "the share joins the portfolio's entries";

    SetModalDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Record a transaction");
        EXPECT_EQ(Text(d, C::Shares), "250");
        EXPECT_EQ(Text(d, C::RateOrNew), "10");
        EXPECT_EQ(Control<QComboBox>(d, C::Type)->currentIndex(), 2);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(RecordTransaction(p, 3, id, 0, 0, nullptr, nullptr));
    EXPECT_EQ(Count(p->transactions), 2) << "Cancel stores nothing";
}

// Selling more than the portfolio holds on the date would record a negative holding and a profit
// never made: the dialog asks first, and No stores nothing.
TEST_F(TransactionLayoutViews, ASaleOfMoreThanIsHeldAsksFirst)
{
    Portfolio* p = NewEmptyPortfolio();
    const uint16_t id = HeldShare();
    ASSERT_TRUE(Record(p, 1, id, "250", "120"));
    ASSERT_EQ(Count(p->transactions), 2);

    boxes.queue(MsgAnswer::No);
    EXPECT_FALSE(Record(p, 2, id, "800", "650"));
    EXPECT_EQ(Count(p->transactions), 2) << "No stores nothing";
    ASSERT_EQ(boxes.texts().size(), 1u);
    const std::string asked = boxes.texts()[0];
    EXPECT_EQ(asked.rfind("You hold only 250 shares of ", 0), 0u) << asked;
    EXPECT_NE(asked.find("Record the sale anyway?"), std::string::npos) << asked;

    ASSERT_TRUE(Record(p, 2, id, "250", "650"));
    EXPECT_EQ(boxes.texts().size(), 1u) << "selling the whole holding asks nothing";
    boxes.queue(MsgAnswer::Yes);
    ASSERT_TRUE(Record(p, 2, id, "10", "650")) << "Yes records the sale as typed";
    ASSERT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(boxes.texts()[1].rfind("You hold only 0 shares of ", 0), 0u) << boxes.texts()[1];
}

TEST_F(TransactionLayoutViews, TheDialogKeepsItsFiguresInStepAndAsksAboutTheFuture)
{
    TransactionDialogSetup setup;
    setup.type = 1;
    setup.date = setup.today = PackDate(1, 6, 2020);
    setup.previousHolding = 200;
    CTransactionRecord dialog(setup);
    Control<QRadioButton>(dialog, C::Pence)->setChecked(true);
    Type(dialog, C::Shares, "100");
    Type(dialog, C::Price, "250");
    Type(dialog, C::Broker, "10");
    EXPECT_EQ(Text(dialog, C::Total), "260");
    Control<QRadioButton>(dialog, C::Pounds)->setChecked(true);
    EXPECT_EQ(Text(dialog, C::Price), "2.5");
    Type(dialog, C::Total, "510");
    EXPECT_EQ(Text(dialog, C::Shares), "200") << "the price was typed last: the shares follow the total";
    Type(dialog, C::Shares, "100");
    Type(dialog, C::Total, "510");
    EXPECT_EQ(Text(dialog, C::Price), "5") << "the shares were typed last: the price follows the total";

    Control<QComboBox>(dialog, C::Type)->setCurrentIndex(TransactionItemOfType(13));
    EXPECT_EQ(Text(dialog, C::Previous), "200");
    EXPECT_TRUE(Control<QLineEdit>(dialog, C::Previous)->isReadOnly());
    Type(dialog, C::RateOrNew, "500");
    EXPECT_EQ(Text(dialog, C::CreditOrRatio), "2.5");
    Type(dialog, C::CreditOrRatio, "0");
    dialog.accept();
    TransactionFields split = BuildTransactionFields(dialog.answer(), 1, "A", 0, nullptr);
    EXPECT_EQ(split.type, 13);
    EXPECT_FLOAT_EQ(split.splitRatio, 1) << "a ratio of 0 is stored as 1";

    setup.date = setup.today + 1;
    CTransactionRecord future(setup);
    boxes.queue(MsgAnswer::No);
    future.accept();
    EXPECT_NE(future.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Warning - the transaction's date is set in the future. Is this ok?");
}

TEST_F(TransactionLayoutViews, RebasingIsOfferedByDate)
{
    TransactionDialogDefaults().showGains = true;
    const struct {
        PackedDate date;
        bool b1965, b1982;
    } cases[] = {{PackDate(1, 4, 1982), false, true}, {PackDate(6, 4, 1982), false, false}, {PackDate(1, 1, 1965), true, true}};
    for (const auto& c : cases) {
        TransactionDialogSetup setup;
        setup.type = 1;
        setup.date = setup.today = c.date;
        CTransactionRecord dialog(setup);
        EXPECT_EQ(Control(dialog, C::Base1965)->isEnabled(), c.b1965) << c.date;
        EXPECT_EQ(Control(dialog, C::Base1982)->isEnabled(), c.b1982) << c.date;
        Control<QCheckBox>(dialog, C::Ignore)->setChecked(true);
        EXPECT_FALSE(Control(dialog, C::IgnorePounds)->isEnabled());
    }
}

// "Show CGT" makes the shown dialog wider; it moves so that it stays on the screen.
TEST_F(TransactionLayoutViews, ShowCgtKeepsTheDialogOnTheScreen)
{
    CTransactionRecord dialog(BuyOnFirstJune2020());
    dialog.show();
    ASSERT_NE(dialog.screen(), nullptr);
    const QRect area = dialog.screen()->availableGeometry();
    // In the corner, where the part shown grows the dialog past the screen's edge.
    dialog.move(area.right() + 1 - dialog.frameGeometry().width(), area.bottom() + 1 - dialog.frameGeometry().height());
    const QSize shortSize = dialog.frameGeometry().size();
    Control<QPushButton>(dialog, C::ShowGains)->click();
    const QRect frame = dialog.frameGeometry();
    EXPECT_GT(frame.width(), shortSize.width());
    if (frame.width() <= area.width()) {
        EXPECT_LE(frame.right(), area.right());
    }
    if (frame.height() <= area.height()) {
        EXPECT_LE(frame.bottom(), area.bottom());
        EXPECT_GE(frame.top(), area.top());
    } else {
        EXPECT_EQ(frame.top(), area.top());
    }
    dialog.hide();
}

TEST_F(TransactionLayoutViews, ShowCgtWidensTheDialogAndLeavesTheDateLineClear)
{
    CTransactionRecord dialog(BuyOnFirstJune2020());
    dialog.show();
    QApplication::processEvents();
    const QSize shortSize = dialog.size();
    Control<QPushButton>(dialog, C::ShowGains)->click();
    QApplication::processEvents();
    // The part stands beside the fields, so a screen that held the dialog still holds it.
    EXPECT_GT(dialog.width(), shortSize.width());
    EXPECT_LE(dialog.height(), shortSize.height() * 11 / 10);
    auto* date = dialog.findChild<CDateEdit*>();
    ASSERT_NE(date, nullptr);
    EXPECT_GE(date->height(), date->minimumHeight());
    const int dateBottom = date->mapTo(&dialog, QPoint(0, date->height())).y();
    EXPECT_LE(dateBottom, Control<QLineEdit>(dialog, C::Previous)->mapTo(&dialog, QPoint(0, 0)).y())
        << "the day line under the date is not covered";
    SaveRender(RenderWidget(dialog), "record-transaction-show-cgt");
    Control<QPushButton>(dialog, C::ShowGains)->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), shortSize) << "Hide CGT gives the short dialog back";
    dialog.hide();
}

TEST_F(TransactionLayoutViews, DialogRendersForEachLayout)
{
    ASSERT_TRUE(FontsAvailable());
    const struct {
        int type;
        const char* name;
    } cases[] = {{1, "transaction-dialog-buy"}, {3, "transaction-dialog-dividend"}, {13, "transaction-dialog-split"},
                 {17, "transaction-dialog-order"}};
    for (const auto& c : cases) {
        TransactionDialogSetup setup;
        setup.portfolioName = "Demo Portfolio";
        setup.shareName = "Alpha Holdings";
        setup.lines = {{"Alpha Holdings", 31}};
        setup.type = c.type;
        setup.date = setup.today = PackDate(8, 12, 2026);
        setup.previousHolding = 250;
        setup.accounts = {{"Global Account", 1}};
        CTransactionRecord dialog(setup);
        SaveRender(RenderWidget(dialog), c.name);
        const bool split = c.type == 13, order = c.type == 17;
        EXPECT_EQ(Control(dialog, C::Shares)->isHidden(), split) << c.name;
        EXPECT_EQ(Control(dialog, C::Cash)->isHidden(), split || order) << c.name;
        EXPECT_EQ(Control(dialog, C::Broker)->isHidden(), split || order) << c.name;
        EXPECT_EQ(Control(dialog, C::Stamp)->isHidden(), split || order || c.type == 3) << c.name;
    }
}

TEST_F(TransactionLayoutViews, TheViewListsEveryRunClosedByItsLatestRowNarrowedOnRequest)
{
    ASSERT_NE(tran, nullptr);
    Portfolio* demo = Demo();
    ASSERT_EQ(tran->portfolio(), demo);
    EXPECT_EQ(Rows(tran), Count(demo->transactions));
    EXPECT_EQ(tran->headerItems().empty() ? "" : tran->headerItems()[0].label, "Transactions for Portfolio:");

    // A run sold out completely: held only leaves it out, and buying again brings it back.
    const uint16_t id = HeldShare();
    ASSERT_TRUE(Record(demo, 1, id, "10", "100"));
    const int withBuy = Count(demo->transactions);
    std::vector<Transaction*> all = TransactionRowsOf(*demo, false, false);
    int latest = 0;
    for (Transaction* t : all)
        latest += t->type() == kLatestRowType;
    ASSERT_TRUE(tran->RunCommand(26102));
    Settle();
    EXPECT_EQ(Rows(tran), latest);
    EXPECT_EQ(tran->list->entries[0].record[L::Type], kLatestRowType);
    SaveRender(tran->RenderImage(tran->size()), "transactions-totals");
    ASSERT_TRUE(tran->RunCommand(26102));

    TransactionFields sold;
    sold.type = 1;
    sold.shareId = 0x4FFF;
    sold.date = PackDate(1, 1, 2020);
    sold.shares = 5;
    sold.texts[0] = "Zulu Gone";
    sold.texts[1] = "Bought on a tip";
    StoreTransaction(*demo, sold, nullptr);
    sold.type = 2;
    sold.date = PackDate(1, 2, 2020);
    StoreTransaction(*demo, sold, nullptr);
    demo->changed = 1;
    tran->OnRefresh();
    EXPECT_EQ(Rows(tran), withBuy + 3);
    ASSERT_TRUE(tran->RunCommand(26202));
    tran->list->current = tran->list->firstVisible = std::max(RowOf(tran, demo->transactions) , 0);
    for (int i = 0; i < Rows(tran); ++i)
        if (LoadU16(tran->list->entries[i].record + L::ShareId) == 0x4FFF)
            tran->list->firstVisible = std::max(i - 2, 0);
    SaveRender(tran->RenderImage(tran->size()), "transactions-notes");
    ASSERT_TRUE(tran->RunCommand(26541));
    Settle();
    EXPECT_LE(Rows(tran), withBuy);
    for (int i = 0; i < Rows(tran); ++i) {
        const uint8_t* r = tran->list->entries[i].record;
        EXPECT_NE(LoadU16(r + L::ShareId), 0x4FFF);
        if (r[L::Type] == kLatestRowType) {
            EXPECT_NE(LoadF32(r + L::Holding), 0) << "every run left holds shares";
        }
    }
    ASSERT_TRUE(tran->RunCommand(26541));
}

// The Time and "% Price +/-" items add their columns; a notes column, which shares the time
// column's field code, does not tick the Time item.
TEST_F(TransactionLayoutViews, TheTimeAndPriceChangeColumnsAreAddedByTheirItems)
{
    ASSERT_NE(tran, nullptr);
    auto headings = [&] {
        std::vector<std::string> out;
        const std::span<const uint8_t> layout = ListLayout(tran->list, tran->kind);
        for (int i = 0; i < ListColumnCount(tran->list, tran->kind); ++i)
            out.push_back(GetColumnHeading(tran->list, GetColumnDef(layout.data(), i), true));
        return out;
    };
    auto checked = [&](uint32_t command) {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(tran->UpdateCommand(ui)) << command;
        EXPECT_TRUE(ui.enabled) << command;
        return ui.checked.value_or(false);
    };
    ASSERT_TRUE(tran->RunCommand(26202));
    EXPECT_FALSE(checked(26047));
    for (auto [command, heading] : {std::pair{26047u, "Time"}, std::pair{26658u, "Price %"}}) {
        ASSERT_TRUE(tran->RunCommand(command));
        EXPECT_TRUE(checked(command)) << command;
        const std::vector<std::string> shown = headings();
        EXPECT_NE(std::find(shown.begin(), shown.end(), heading), shown.end()) << heading;
    }
}

// "Tran table 2" and the other numbered tables show their own columns in the views of this layout,
// at once, with the table's sort.
TEST_F(TransactionLayoutViews, ANumberedTableShowsItsOwnColumns)
{
    auto* port = FindView<CViewPort>();
    ASSERT_NE(port, nullptr);
    for (CViewListTop* view : std::vector<CViewListTop*>{tran, port}) {
        Activate(view);
        for (int n : {1, 3, 0}) {
            SCOPED_TRACE(testing::Message() << view->kind << " table " << n + 1);
            // What the frame's "Table n" commands ask of the active view.
            view->SelectColumnSetting(n, true, true);
            Settle();
            EXPECT_EQ(view->list->tableSetting, n);
            EXPECT_EQ(view->list->columnLayout, SettingLayout(view->kind, n, 0));
            EXPECT_EQ(view->list->sortColumn, std::abs(GetSettingSort(view->kind, n, 0)) - 1);
            if (n == 1)
                SaveRender(view->RenderImage(view->size()), view == static_cast<CViewListTop*>(tran) ? "transactions-table-2" : "portfolio-table-2");
        }
    }
}

TEST_F(TransactionLayoutViews, LatestRowsAreNotEditedAndTheGuardedCommandsFollowTheRow)
{
    ASSERT_NE(tran, nullptr);
    Transaction* latest = nullptr;
    Transaction* first = Demo()->transactions;
    for (Transaction* t = first; t; t = t->next)
        if (t->type() == kLatestRowType && !latest)
            latest = t;
    ASSERT_NE(latest, nullptr);
    tran->OpenCell(RowOf(tran, latest), 0);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "'Latest' rows can not be edited");
    for (uint32_t command : {25033u, 25163u, 26203u, 26557u, 26558u}) {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        ASSERT_TRUE(tran->UpdateCommand(ui));
        EXPECT_FALSE(ui.enabled) << command;
    }
    tran->list->current = RowOf(tran, first);
    CommandUi edit{25033, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(tran->UpdateCommand(edit));
    EXPECT_TRUE(edit.enabled);
    CViewTran::TotalsOnly() = true;
    ASSERT_TRUE(tran->UpdateCommand(edit));
    EXPECT_FALSE(edit.enabled) << "totals only refuses editing";
    CViewTran::TotalsOnly() = false;
    CommandUi add{26029, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(tran->UpdateCommand(add));
    EXPECT_TRUE(add.enabled);
}

TEST_F(TransactionLayoutViews, DeletingAsksAndACopyHasNoCashAccount)
{
    ASSERT_NE(tran, nullptr);
    Portfolio* demo = Demo();
    Portfolio* income = FindPortfolioByNumber(1);
    Transaction* first = demo->transactions;
    StoreU16(&first->bytes[L::CashAccount], 2);
    tran->list->current = RowOf(tran, first);
    const int before = Count(demo->transactions);
    const int incomeBefore = Count(income->transactions);
    SetModalDialogRunner([](QDialog& d) {
        auto& chooser = static_cast<CPortfolioChooser&>(d);
        chooser.portfolioList()->setCurrentItem(chooser.portfolioList()->findItems("Income", Qt::MatchExactly).front());
        chooser.accept();
        return chooser.result();
    });
    ASSERT_TRUE(tran->RunCommand(26557));
    ASSERT_EQ(Count(income->transactions), incomeBefore + 1);
    bool found = false;
    for (const Transaction* t = income->transactions; t; t = t->next)
        if (t->shareId() == first->shareId() && t->date() == first->date() && t->type() == first->type()) {
            found = true;
            EXPECT_EQ(LoadU16(&t->bytes[L::CashAccount]), 0xFFFF);
            EXPECT_EQ(LoadU16(&t->bytes[L::PortfolioNumber]), 1);
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(Count(demo->transactions), before) << "a copy leaves the source";

    boxes.queue(MsgAnswer::No);
    ASSERT_TRUE(tran->RunCommand(25163));
    EXPECT_EQ(Count(demo->transactions), before);
    boxes.queue(MsgAnswer::Yes);
    tran->list->current = RowOf(tran, demo->transactions);
    ASSERT_TRUE(tran->RunCommand(25163));
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete this transaction?");
    EXPECT_LT(Count(demo->transactions), before);
}

TEST_F(TransactionLayoutViews, ThePortfolioViewsBuyOpensTheDialogForItsShare)
{
    ASSERT_NE(tran, nullptr);
    PendingTransactionShare() = {HeldShare(), 0};
    int type = -1;
    SetModalDialogRunner([&](QDialog& d) {
        type = TransactionTypeOfItem(Control<QComboBox>(d, C::Type)->currentIndex());
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(SendProgramMessage(*tran, kMsgRecordPending, 2), 1);
    EXPECT_EQ(type, 2);
}

TEST_F(TransactionLayoutViews, TheDemoCashAccountShowsItsStatementWithOneBalanceRule)
{
    ASSERT_NE(cash, nullptr);
    CashAccounts().current = DemoAccount();
    cash->OnRefresh();
    ASSERT_EQ(cash->account(), DemoAccount());
    CashAccount& account = *cash->account();
    EXPECT_GT(Rows(cash), 0);
    // The statement and the portfolio's cash figure agree: orders and splits move no cash.
    double expected = 0;
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a == &account)
            expected = CashBalanceAt(account, account.kind >= 0 ? FindPortfolioByNumber(uint16_t(account.kind)) : nullptr,
                                     0xFFFF);
    if (account.kind >= 0) {
        EXPECT_NEAR(cash->balance(), expected, 0.01);
    }
    SaveRender(cash->RenderImage(cash->size()), "cash-account-demo");
    EXPECT_EQ(cash->headerItems().empty() ? "" : cash->headerItems()[0].label, "Cash account:");

    PortfolioHistoryInput input;
    ASSERT_TRUE(PortfolioHistoryInputOf(*Demo(), true, input));
    EXPECT_FALSE(input.cash.empty()) << "the value history counts the attached account's cash";
    // The value graph ends on the strip's cash: its entries, and only the transactions that name the
    // attached account (not those with no account, 0xFFFF).
    double charted = 0;
    for (const HistoryCashEntry& e : input.cash)
        charted += (e.type == 1 || e.type == 3 ? -1.0 : 1.0) * e.amount;
    bool unnamed = false;
    for (const Transaction* t = Demo()->transactions; t; t = t->next)
        unnamed = unnamed || (t->bytes.size() >= TransactionLayout::FixedSize &&
                              LoadU16(&t->bytes[TransactionLayout::CashAccount]) == 0xFFFF && TranCashSign(t->type()) != 0);
    for (const HistoryTransaction& t : input.chain)
        if (t.cashAccount)
            charted += TranCashSign(t.type) * double(t.amount);
    EXPECT_NEAR(charted, CashBalanceAt(*DemoAccount(), Demo(), 0xFFFF), 0.05);
    EXPECT_TRUE(unnamed) << "the demo has cash-moving transactions without an account";
}

TEST_F(TransactionLayoutViews, AWindowLayoutKeepsTheCashViewsAccount)
{
    ASSERT_NE(cash, nullptr);
    const LayoutStateHooks& hooks = GetLayoutStateHooks();
    ASSERT_TRUE(hooks.saveCashAccount && hooks.applyCashAccount) << "the cash view installs them";
    CashAccounts().current = nullptr;
    CashAccount* demo = DemoAccount();
    ASSERT_NE(demo, nullptr);
    hooks.applyCashAccount(*cash, demo->number);
    cash->OnRefresh();
    EXPECT_EQ(cash->account(), demo);
    EXPECT_EQ(hooks.saveCashAccount(*cash), demo->number);
    hooks.applyCashAccount(*cash, 999);
    cash->OnRefresh();
    EXPECT_EQ(cash->account(), CashAccounts().head) << "an account no longer there: the first";
}

TEST_F(TransactionLayoutViews, CashEntriesAreAddedAndEditedThroughTheirDialog)
{
    ASSERT_NE(cash, nullptr);
    Activate(cash);
    CashAccounts().current = DemoAccount();
    cash->OnRefresh();
    ASSERT_NE(cash->account(), nullptr);
    const int rows = Rows(cash);
    SetModalDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Add a Credit transaction");
        auto* amount = Control<CCalcEdit>(d, 2151);
        amount->edit()->setText("80.25");
        SendProgramMessage(*amount, 1086, 0x10000);
        Type(d, 2152, "A long description of where the money came from");
        Type(d, 2329, "REF-20-CHARACTERS-XX");
        SaveRender(RenderWidget(d), "cash-dialog-credit");
        d.accept();
        return d.result();
    });
    ASSERT_TRUE(cash->RunCommand(26572));
    ASSERT_EQ(Rows(cash), rows + 1);
    CashAccount& account = *cash->account();
    const auto end = CashEntriesEnd({account.data, account.dataSize});
    ASSERT_TRUE(end);
    // The new entry is the last of the block.
    uint32_t pos = 0, last = 0;
    while (pos < *end) {
        last = pos;
        pos += account.data[pos];
    }
    auto entry = DecodeCashEntry({account.data + last, account.dataSize - last});
    ASSERT_TRUE(entry);
    EXPECT_FLOAT_EQ(entry->amount, 80.25f);
    EXPECT_EQ(entry->note, "A long description of where the money came from");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry->description.data())), "REF-20-CHARACTERS-X")
        << "the reference is cut to 19 and keeps its NUL";

    for (int i = 0; i < Rows(cash); ++i)
        if (cash->list->entries[i].count == kCashRowEntry && cash->list->entries[i].record[CashEntryLayout::Type] == kCashInterest)
            cash->list->current = i;
    SetModalDialogRunner([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Edit an Interest transaction");
        SaveRender(RenderWidget(d), "cash-dialog-edit-interest");
        return int(QDialog::Rejected);
    });
    CommandUi edit{26576, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(cash->UpdateCommand(edit));
    EXPECT_TRUE(edit.enabled);
    ASSERT_TRUE(cash->RunCommand(26576));
}

TEST_F(TransactionLayoutViews, TheAccountDialogsGateTheirAnswers)
{
    CCashAccountName name;
    auto* ok = Control<QPushButton>(name, 1);
    EXPECT_FALSE(ok->isEnabled());
    Control<QLineEdit>(name, 2155)->setText(QString::fromLatin1(CashAccounts().head->name.c_str()));
    EXPECT_FALSE(ok->isEnabled()) << "a name in use";
    Control<QLineEdit>(name, 2155)->setText("Savings");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_FALSE(Control(name, 2154)->isEnabled());
    SaveRender(RenderWidget(name), "cash-dialog-name");

    CCashAccountSelect remove(1);
    auto* list = Control<QListWidget>(remove, 1061);
    EXPECT_TRUE(list->findItems(" << new >>", Qt::MatchExactly).isEmpty());
    EXPECT_EQ(remove.windowTitle(), "Select a Cash Account to delete");
    list->clearSelection();
    EXPECT_FALSE(Control<QPushButton>(remove, 1)->isEnabled()) << "no answer without a selection";
    CCashAccountSelect choose(0);
    EXPECT_EQ(Control<QListWidget>(choose, 1061)->findItems(" << new >>", Qt::MatchExactly).size(), 1);
    // One click on an account answers it.
    choose.show();
    QApplication::processEvents();
    auto* accounts = Control<QListWidget>(choose, 1061);
    QTest::mouseClick(accounts->viewport(), Qt::LeftButton, {}, accounts->visualItemRect(accounts->item(0)).center());
    EXPECT_EQ(choose.result(), QDialog::Accepted);
    EXPECT_EQ(choose.chosen(), CashAccounts().head);

    CCashAttachPortfolio gone(99);
    EXPECT_FALSE(Control<QCheckBox>(gone, 2127)->isChecked()) << "attached to a deleted portfolio";
    EXPECT_EQ(gone.answer(), -1);
    CCashAttachPortfolio attached(1);
    EXPECT_TRUE(Control<QCheckBox>(attached, 2127)->isChecked());
    EXPECT_EQ(attached.answer(), 1);
}

} // namespace
