// Training mode: the marks table, which shares may be drawn, the fair draw that never loops, the next
// and previous steps, and the toggle's messages.
#include "chartmodel/EodTraining.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/ViewGraphEOD.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/Beep.h"
#include "support/FakeMessageBox.h"
#include "support/PriceFixtures.h"
#include "views/CommandUpdate.h"
#include "views/ViewBase.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Date;

TEST(TrainingMarks, OnlyTheLeadingValidMarksCount)
{
    const struct {
        std::array<int32_t, 10> marks;
        int32_t count;
    } cases[] = {
        {{}, 0},
        {{5, 99999, 1}, 3},
        {{5, 100000, 7}, 1},       // past 99999 ends the table
        {{5, -1, 7}, 1},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10},
    };
    for (const auto& c : cases) {
        TrainingMarks table;
        table.marks = c.marks;
        EXPECT_EQ(CountTrainingMarks(table), c.count);
        EXPECT_EQ(table.count, c.count);
        for (int32_t i = c.count; i < kTrainingMarkSlots; ++i)
            EXPECT_EQ(table.marks[size_t(i)], 0) << "slot " << i << " is cleared";
    }
}

TEST(TrainingDraw, EveryEligibleShareIsEquallyLikelyAndNoneMeansStay)
{
    const std::vector<bool> eligible{false, true, false, false, true, true, false};
    std::array<int, 7> hits{};
    for (uint32_t r = 0; r < 300; ++r)
        ++hits[size_t(DrawTrainingShare(eligible, r))];
    EXPECT_EQ(hits, (std::array<int, 7>{0, 100, 0, 0, 100, 100, 0}));
    EXPECT_EQ(DrawTrainingShare(std::vector<bool>(50, false), 12345), -1);
    EXPECT_EQ(DrawTrainingShare({}, 7), -1);
}

TEST(TrainingSteps, NextCyclesThroughTheMarksThenDrawsPreviousWalksBack)
{
    TrainingState s;
    s.cursor = 0;
    // Three marks: 0 -> 1 -> 2 -> the whole chart -> a draw.
    EXPECT_EQ(TrainingNextStep(s, 3), TrainingStep::Repaint);
    EXPECT_EQ(s.cursor, 1);
    TrainingNextStep(s, 3);
    EXPECT_EQ(TrainingNextStep(s, 3), TrainingStep::Repaint);
    EXPECT_EQ(s.cursor, -1);
    EXPECT_EQ(TrainingNextStep(s, 3), TrainingStep::Draw);
    // Back from the whole chart to the last mark, then down to the first, then the share before.
    EXPECT_EQ(TrainingPreviousStep(s, 3), TrainingStep::Repaint);
    EXPECT_EQ(s.cursor, 2);
    TrainingPreviousStep(s, 3);
    TrainingPreviousStep(s, 3);
    EXPECT_EQ(s.cursor, 0);
    EXPECT_EQ(TrainingPreviousStep(s, 3), TrainingStep::Draw);
    s.remembered = 4;
    EXPECT_EQ(TrainingPreviousStep(s, 3), TrainingStep::ReturnToRemembered);
    // Without marks every next is a draw.
    TrainingState none;
    EXPECT_EQ(TrainingNextStep(none, 0), TrainingStep::Draw);
}

// A list of four shares: a week of prices, a single day, no price stream, a week again.
class TrainingView : public ::testing::Test {
protected:
    TrainingView() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Config().dailyGraphs.records[0], false);
        const uint16_t monday = Date(2006, 1, 2);
        records_.push_back(test::Record(0x4001, {test::SubRecord(100, monday, {5, 1, 1, 1, ' '})}));
        records_.push_back(test::Record(0x4002, {test::SubRecord(100, monday, {5, ' '})}));
        records_.push_back(test::Record(0x4003, {}));
        records_.push_back(test::Record(0x4004, {test::SubRecord(100, monday, {5, 1, 1, 1, 1, ' '})}));
        previousBeep_ = SetBeepHandler([this] { ++beeps; });
        TrainingInfoSuppressed() = false;
        previousBox_ = SuppressibleInfo();
        SuppressibleInfo() = [this](const std::string& text) {
            infos.push_back(text);
            return suppressNext;
        };
    }
    ~TrainingView() override
    {
        SuppressibleInfo() = previousBox_;
        TrainingInfoSuppressed() = false;
        SetBeepHandler(previousBeep_);
        // The view outlives this body: it leaves the lists before they go.
        UnlinkViewFromLists(&view);
        view.list = view.secondList = nullptr;
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        Config().dailyGraphs.records[0] = saved_;
    }
    ShareList* MakeList(std::initializer_list<int> which)
    {
        ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        int i = 0;
        for (int r : which)
            list->entries[i++].record = records_[size_t(r)].data();
        list->current = 0;
        return list;
    }
    CommandUi State(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(view.UpdateCommandUi(ui));
        return ui;
    }

    CViewGraphEOD view{0};
    test::FakeMessageBox boxes;
    std::vector<std::string> infos;
    bool suppressNext = false;
    int beeps = 0;

private:
    GraphSetting saved_;
    std::vector<std::vector<uint8_t>> records_;
    BeepHandler previousBeep_;
    SuppressibleInfoBox previousBox_;
};

TEST_F(TrainingView, OnlySharesWithAPriceHistoryMayBeDrawn)
{
    EXPECT_EQ(EligibleShares(MakeList({0, 1, 2, 3})), (std::vector<bool>{true, false, false, true}));
}

TEST_F(TrainingView, AListWithoutSharesOrPricesRefusesTrainingMode)
{
    const struct {
        std::vector<int> shares;
        const char* message;
    } cases[] = {
        {{}, kTrainingNoShares},
        {{1, 2}, kTrainingNoPrices},
    };
    for (const auto& c : cases) {
        view.list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        for (size_t i = 0; i < c.shares.size(); ++i)
            view.list->entries[i].record = MakeList({c.shares[i]})->entries[0].record;
        view.list->current = 0;
        const size_t before = boxes.shown().size();
        view.onProgramMessage(WM_COMMAND, 26452, 0);
        EXPECT_EQ(view.trainingMode, 0);
        ASSERT_EQ(boxes.shown().size(), before + 1);
        EXPECT_EQ(boxes.shown().back().text, c.message);
    }
    EXPECT_TRUE(infos.empty());
}

TEST_F(TrainingView, TurnedOnItTellsHowUntilTheUserDeclinesAndDrawsOnlyPricedShares)
{
    view.list = MakeList({1, 0, 2, 3});
    suppressNext = true;
    view.onProgramMessage(WM_COMMAND, 26452, 0);
    EXPECT_EQ(view.trainingMode, 1);
    EXPECT_EQ(view.GraphTrainingMode(), 1);
    EXPECT_EQ(State(26452).checked, true);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0], kTrainingInfo);
    EXPECT_FALSE(State(27260).enabled) << "no price editing while training";

    for (int i = 0; i < 20; ++i) {
        view.NextShare();
        EXPECT_TRUE(view.list->current == 1 || view.list->current == 3) << view.list->current;
    }
    view.list->current = 0;
    view.NextShare();
    view.PreviousShare();
    EXPECT_EQ(view.list->current, 0) << "back to the share before the draw";

    view.onProgramMessage(WM_COMMAND, 26452, 0);
    EXPECT_EQ(view.trainingMode, 0);
    view.onProgramMessage(WM_COMMAND, 26452, 0);
    EXPECT_EQ(infos.size(), 1u) << "the user asked not to see it again";
    EXPECT_EQ(beeps, 0);
}

TEST_F(TrainingView, AChartFollowingAnotherListIsUnlinkedSoThatTheDrawsLeaveThatListAlone)
{
    ShareList* followed = MakeList({0, 3, 1});
    followed->current = 1;
    followed->currentId = 0x4004;
    ShareList* own = MakeList({0, 3, 1});
    own->filledMark = own->word + 1;
    view.list = own;
    view.secondList = followed;
    view.nextInList = followed->views;
    followed->views = &view;

    view.onProgramMessage(WM_COMMAND, 26452, 0);
    ASSERT_EQ(view.trainingMode, 1);
    EXPECT_EQ(view.secondList, nullptr);
    EXPECT_EQ(view.list, own);
    EXPECT_EQ(followed->views, nullptr);
    EXPECT_EQ(own->views, &view);
    EXPECT_EQ(own->current, 1) << "the chart stays on the share it showed";
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0], std::string(kTrainingUnlinked) + kTrainingInfo);
    for (int i = 0; i < 10; ++i)
        view.NextShare();
    EXPECT_EQ(followed->current, 1);
}

TEST_F(TrainingView, ClearingTheMarksNeedsAMark)
{
    view.list = MakeList({0});
    ClearTrainingMarks(TrainingMarkTable());
    EXPECT_FALSE(State(26453).enabled);
    TrainingMarkTable().marks[0] = 4000;
    TrainingMarkTable().count = 1;
    EXPECT_TRUE(State(26453).enabled);
    view.onProgramMessage(WM_COMMAND, 26453, 0);
    EXPECT_EQ(TrainingMarkTable().count, 0);
    EXPECT_EQ(TrainingMarkTable().marks[0], 0);
}

} // namespace
} // namespace qv
