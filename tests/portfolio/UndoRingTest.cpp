// Tests of the eleven-step undo ring for changes to share-list portfolios and cash accounts.
#include "portfolio/UndoRing.h"

#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qv;

namespace {

class UndoSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        GetUndoRing().clear();
    }
    void TearDown() override
    {
        GetUndoRing().clear();
        FreePortfolioChain();
        FreeCashAccounts();
    }

    Portfolio* make(uint16_t number, const std::string& name, std::vector<uint8_t*> records)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        ResetPortfolioEntries(*p);
        for (uint8_t* r : records)
            AddPortfolioEntry(*p, {r, 0});
        AppendToChain(p);
        return p;
    }
    static std::vector<uint8_t*> Entries(const Portfolio* p)
    {
        std::vector<uint8_t*> out;
        for (uint32_t i = 0; i < CountPortfolioEntries(*p); ++i)
            out.push_back(p->entries[i].record);
        return out;
    }

    dev::TempFolder dir;
    uint8_t a[4] = {4, 0, 1, 0x40}, b[4] = {4, 0, 2, 0x40}, c[4] = {4, 0, 3, 0x40};
};

} // namespace

TEST_F(UndoSteps, TwelveStepsKeepTheLastElevenAndANewStepDropsTheUndoneOnes)
{
    Portfolio* p = make(1, "", {});
    for (int i = 1; i <= 12; ++i) {
        p->name = "step " + std::to_string(i);
        PrepareAndPushUndoStep(5, kUndoChange, p, nullptr);
    }
    UndoRing& ring = GetUndoRing();
    std::vector<std::string> kept;
    for (int i = ring.oldestPosition();; i = (i + 1) % UndoRing::kSlots) {
        kept.push_back(ring.slot(i).name);
        if (i == ring.donePosition())
            break;
    }
    ASSERT_EQ(kept.size(), 11u);
    EXPECT_EQ(kept.front(), "step 2");
    EXPECT_EQ(kept.back(), "step 12");

    ring.undo();
    EXPECT_NE(ring.writePosition(), ring.donePosition()); // redo is on offer
    p->name = "step 13";
    PrepareAndPushUndoStep(5, kUndoChange, p, nullptr);
    EXPECT_EQ(ring.writePosition(), ring.donePosition()); // nothing newer to redo
    EXPECT_EQ(ring.slot(ring.donePosition()).name, "step 13");
}

TEST_F(UndoSteps, WithoutAPreparedStepTheModeComesFromTheKind)
{
    Portfolio* p = make(1, "P", {});
    UndoRing& ring = GetUndoRing();
    for (auto [kind, mode] : {std::pair{2u, 0}, std::pair{4u, 1}, std::pair{20u, 1}, std::pair{21u, 2}}) {
        ring.clear();
        PushUndoStep(kind, p);
        EXPECT_EQ(ring.slot(ring.donePosition()).mode(), mode) << kind;
        EXPECT_EQ(ring.slot(ring.donePosition()).kind(), kind);
    }
}

TEST_F(UndoSteps, AChangeIsSwappedBackAndForth)
{
    Portfolio* p = make(3, "Income", {a});
    PrepareUndoStep(kUndoChange, p, nullptr);
    AddPortfolioEntry(*p, {b, 0});
    p->name = "Income 2";
    PushUndoStep(6, p);
    ShareList* list = GetShareListForSource(p);
    ASSERT_TRUE(GetUndoRing().undo());
    EXPECT_EQ(Entries(p), (std::vector<uint8_t*>{a}));
    EXPECT_EQ(p->name, "Income");
    EXPECT_EQ(ShareListCount(list), 1);
    ASSERT_TRUE(GetUndoRing().redo());
    EXPECT_EQ(Entries(p), (std::vector<uint8_t*>{a, b}));
    EXPECT_EQ(p->name, "Income 2");
    EXPECT_EQ(ShareListCount(list), 2);
    ShareListChain() = list->next;
    ProFree(list->entries);
    ProFree(list);
}

TEST_F(UndoSteps, ADeletionIsUndoneByMakingThePortfolioAgainAndANewOneByDeletingIt)
{
    make(0, "First", {});
    Portfolio* p = make(4, "Growth", {a, c});
    PrepareAndPushUndoStep(25, kUndoDelete, p, nullptr);
    DeletePortfolio(p);
    ASSERT_TRUE(GetUndoRing().undo());
    Portfolio* again = FindPortfolioByNumber(1); // the lowest free number
    ASSERT_TRUE(again);
    EXPECT_EQ(again->name, "Growth");
    EXPECT_EQ(Entries(again), (std::vector<uint8_t*>{a, c}));
    ASSERT_TRUE(GetUndoRing().redo());
    EXPECT_EQ(FindPortfolioByNumber(1), nullptr);

    GetUndoRing().clear();
    Portfolio* fresh = make(2, "Fresh", {b});
    PrepareAndPushUndoStep(1, kUndoNew, fresh, nullptr);
    ASSERT_TRUE(GetUndoRing().undo());
    EXPECT_EQ(FindPortfolioByNumber(2), nullptr);
    ASSERT_TRUE(GetUndoRing().redo());
    ASSERT_TRUE(FindPortfolioByNumber(1));
    EXPECT_EQ(Entries(FindPortfolioByNumber(1)), (std::vector<uint8_t*>{b}));
}

TEST_F(UndoSteps, CashAccountChangesAndRemovalsAreUndone)
{
    CashAccount* account = NewCashAccount("Broker");
    ASSERT_TRUE(account);
    CashAccounts().current = account;
    PrepareUndoStep(kUndoChange, nullptr, account);
    account->data[0] = 48;
    PushUndoStep(17, nullptr);
    EXPECT_EQ(GetUndoRing().slot(GetUndoRing().donePosition()).target, kUndoCashAccount);
    ASSERT_TRUE(GetUndoRing().undo());
    EXPECT_EQ(account->data[0], 0);
    ASSERT_TRUE(GetUndoRing().redo());
    EXPECT_EQ(account->data[0], 48);

    PrepareAndPushUndoStep(19, kUndoDelete, nullptr, account);
    EXPECT_EQ(GetUndoRing().slot(GetUndoRing().donePosition()).name, "Broker");
    CashAccounts().current = nullptr;
    RemoveCashAccount(account);
    ASSERT_TRUE(GetUndoRing().undo());
    ASSERT_TRUE(CashAccounts().head);
    EXPECT_EQ(CashAccounts().head->name, "Broker");
    EXPECT_EQ(CashAccounts().head->data[0], 48);
}
