// Tests of the portfolio commands' rules: undo and redo texts, stepping through the chain, and
// reverting to the saved file.
#include "shell/PortfolioCommands.h"

#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "support/DatabaseFixture.h"
#include "support/FakeMessageBox.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class PortfolioSteps : public DatabaseFixture {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        Config() = ConfigState{};
        Load(dev::WriteQuorvaDat(OneEntry({dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM")})));
        GetUndoRing().clear();
    }
    void TearDown() override
    {
        GetUndoRing().clear();
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
    }
    Portfolio* make(uint16_t number, const std::string& name, uint8_t type = kUserPortfolio)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        p->type = type;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        return p;
    }
    void push(uint32_t kind, Portfolio* p)
    {
        PrepareUndoStep(1, p, nullptr);
        PushUndoStep(kind, p);
    }

    dev::TempFolder dir;
};

} // namespace

TEST_F(PortfolioSteps, UndoAndRedoTextsNameTheOperationAndItem)
{
    UndoRing& ring = GetUndoRing();
    EXPECT_EQ(UndoCommandState(ring, false).text, "Undo\tCtrl Z");
    EXPECT_FALSE(UndoCommandState(ring, false).enabled);
    EXPECT_EQ(RedoCommandState(ring).text, "Redo\tCtrl Y");

    Portfolio* growth = make(1, "Growth");
    push(14, growth);
    UndoMenuState undo = UndoCommandState(ring, false);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(undo.text, "Undo rename portfolio 'Growth'\tCtrl Z");
    EXPECT_FALSE(UndoCommandState(ring, true).enabled) << "not while busy";
    EXPECT_FALSE(RedoCommandState(ring).enabled);

    ring.undo();
    EXPECT_FALSE(UndoCommandState(ring, false).enabled);
    UndoMenuState redo = RedoCommandState(ring);
    EXPECT_TRUE(redo.enabled);
    EXPECT_EQ(redo.text, "Redo rename portfolio 'Growth'\tCtrl Y");
}

TEST_F(PortfolioSteps, OperationsTenAndElevenNeedTwoStepsBeforeUndoOffersThem)
{
    for (uint32_t kind : {10u, 11u}) {
        GetUndoRing().clear();
        Portfolio* p = make(uint16_t(kind), "Kept");
        push(kind, p);
        EXPECT_FALSE(UndoCommandState(GetUndoRing(), false).enabled) << kind;
        push(kind, p);
        EXPECT_TRUE(UndoCommandState(GetUndoRing(), false).enabled) << kind;
        EXPECT_EQ(UndoRepeats(GetUndoRing()), 2);
    }
    push(14, PortfolioChain());
    EXPECT_EQ(UndoRepeats(GetUndoRing()), 1);
}

TEST_F(PortfolioSteps, NextAndPreviousStopAtTheEnds)
{
    Portfolio* filter = make(0xFF05, "Filter", kFilterPreset);
    Portfolio* first = make(1, "First");
    Portfolio* last = make(2, "Last");
    EXPECT_EQ(NextPortfolio(first), last);
    EXPECT_EQ(NextPortfolio(last), nullptr);
    EXPECT_EQ(PreviousPortfolio(last), first);
    EXPECT_EQ(PreviousPortfolio(first), nullptr) << "the first of the chain is a filter pre-set";
    EXPECT_EQ(PreviousPortfolio(filter), nullptr);
    filter->type = kPresetList;
    EXPECT_EQ(PreviousPortfolio(first), filter);
}

TEST_F(PortfolioSteps, RevertNeedsTheSavedFileAndNeverLosesTheInterimCopyWithoutIt)
{
    FakeMessageBox boxes;
    Portfolio* p = make(4, "Income");
    AddPortfolioEntry(*p, RecordCursor{});
    ASSERT_TRUE(SavePortfolio(p, false));
    const std::filesystem::path interim = AppPath("Quorva004.new");
    ASSERT_TRUE(std::filesystem::exists(interim));

    // Never saved finally: the user is told and the interim copy stays.
    EXPECT_EQ(RevertPortfolioToSaved(p), nullptr);
    EXPECT_TRUE(std::filesystem::exists(interim));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("Income"), std::string::npos);
    EXPECT_EQ(PortfolioChain(), p);

    // Saved: the interim copy goes and the saved portfolio takes the old one's place in the chain.
    make(5, "After");
    ASSERT_TRUE(SavePortfolio(p, true));
    ASSERT_TRUE(SavePortfolio(p, false));
    p->name = "Changed since";
    ShareList* list = CreateShareList(0, 4, 0, p, true);
    Portfolio* fresh = RevertPortfolioToSaved(p);
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(std::filesystem::exists(interim));
    EXPECT_EQ(PortfolioChain(), fresh);
    EXPECT_EQ(fresh->name, "Income");
    EXPECT_EQ(fresh->next->name, "After");
    EXPECT_EQ(list->source, fresh);
}

TEST_F(PortfolioSteps, RevertRebuildsTheGroupsThatHoldThePortfolioAndTheirLists)
{
    Portfolio* p = make(4, "Income");
    AddPortfolioEntry(*p, RecordCursor{RecordIndex[0x4001], 0});
    ASSERT_TRUE(SavePortfolio(p, true));
    Portfolio* group = make(7, "All", kGroupPortfolio);
    group->members = new PortfolioMember{{}, uint16_t(p->number + 1), 0};
    RebuildGroupPortfolio(group);
    ShareList* list = CreateShareList(0, 4, 0, group, true);
    ASSERT_EQ(CountPortfolioEntries(*group), 1u);
    // The group's entries are the member's, which the revert is about to free with the old copy.
    ResetPortfolioEntries(*group);
    Portfolio* fresh = RevertPortfolioToSaved(p);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(CountPortfolioEntries(*group), 1u) << "the group holds the fresh copy's entries";
    EXPECT_EQ(list->source, group);
    EXPECT_EQ(ShareListCount(list), 1) << "the group's list is filled again";
}
