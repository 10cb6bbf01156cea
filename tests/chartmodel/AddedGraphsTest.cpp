// Added graphs: filing and removing entries with the colour chooser, the toggles that undo
// themselves, the fifth graph replacing the fourth, the joint price range, the closes on the
// chart's bars, and the daily chart's commands over a small database.
#include "../lists/ListFixture.h"
#include "chartmodel/AddedGraphCommands.h"
#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/AddedGraphSet.h"
#include "chartmodel/ChartRoutines.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/ViewGraphEOD.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "lists/ListPortfolioAdd.h"
#include "portfolio/Transaction.h"
#include "shell/FrameDialogSeams.h"
#include "views/CommandUpdate.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;
using test::FixtureShare;
using test::kListDays;

constexpr uint32_t kWhite = 0xFFFFFF;

// Answers the colour chooser with pens 0x100 + call number, or Cancel when asked; remembers the
// colours offered.
class ColourChooser {
public:
    ColourChooser()
    {
        AddedGraphDialogSeams().chooseColour = [this](uint32_t, uint32_t offered) -> std::optional<uint32_t> {
            offers.push_back(offered);
            if (cancel)
                return std::nullopt;
            return 0x100 + uint32_t(offers.size());
        };
    }
    ~ColourChooser() { AddedGraphDialogSeams() = {}; }
    std::vector<uint32_t> offers;
    bool cancel = false;
};

class AddedGraphEntries : public ::testing::Test {
protected:
    AddedGraphEntries() { InitGraphSetting(setting, false); }
    GraphSetting setting{};
    ColourChooser chooser;
};

TEST_F(AddedGraphEntries, TogglesRestoreWhatTheyRemoved)
{
    WriteAddedGraph(setting, 0, {0, 0x10000FF, 0x4001});
    const GraphSetting before = setting;
    struct Case {
        const char* name;
        std::function<bool(GraphSetting&)> toggle;
        int entry;
        uint16_t id;
    };
    const Case cases[] = {
        {"FTSE 100", [](GraphSetting& s) { return ToggleAddedGraph(s, kAddedFtse100, kWhite); }, 1, kAddedFtse100},
        {"sector index", [](GraphSetting& s) { return ToggleAddedGraph(s, kAddedShareIndex, kWhite); }, 1,
         kAddedShareIndex},
        {"relative FTSE 100", [](GraphSetting& s) { return ToggleRelativeGraph(s, kAddedFtse100, kWhite); },
         kRelativeEntry, kAddedFtse100},
        {"relative sector index",
         [](GraphSetting& s) { return ToggleRelativeGraph(s, kAddedShareIndex, kWhite); }, kRelativeEntry,
         kAddedShareIndex},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.toggle(setting)) << c.name;
        const AddedGraphEntry added = ReadAddedGraph(setting, c.entry);
        EXPECT_EQ(added.id, c.id) << c.name;
        EXPECT_EQ(added.pen, 0x100 + chooser.offers.size()) << c.name;
        ASSERT_TRUE(c.toggle(setting)) << c.name;
        EXPECT_EQ(setting, before) << c.name << ": the second use takes away what the first added";
    }
}

TEST_F(AddedGraphEntries, ARelativeToggleReplacesTheOtherRelativeGraph)
{
    ToggleRelativeGraph(setting, kAddedFtse100, kWhite);
    ASSERT_TRUE(ToggleRelativeGraph(setting, kAddedShareIndex, kWhite));
    EXPECT_EQ(ReadAddedGraph(setting, kRelativeEntry).id, kAddedShareIndex);
    EXPECT_EQ(FirstFreeAddedGraph(setting), 0) << "the four added graphs are untouched";
}

TEST_F(AddedGraphEntries, AFifthGraphReplacesTheFourth)
{
    for (uint16_t id = 0x4001; id <= 0x4004; ++id)
        ASSERT_TRUE(SetAddedGraphEntry(setting, id, 0, AddedGraphTarget(setting), kWhite));
    EXPECT_EQ(FirstFreeAddedGraph(setting), -1);
    ASSERT_TRUE(SetAddedGraphEntry(setting, 0x4005, 2, AddedGraphTarget(setting), kWhite));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(ReadAddedGraph(setting, k).id, 0x4001 + k);
    EXPECT_EQ(ReadAddedGraph(setting, 3), (AddedGraphEntry{2, 0x105, 0x4005}));
    // With the entries full a toggle has nowhere to go, and a removal frees a place for it.
    EXPECT_FALSE(ToggleAddedGraph(setting, kAddedFtse100, kWhite));
    ASSERT_TRUE(RemoveAddedGraph(setting, 1));
    EXPECT_FALSE(RemoveAddedGraph(setting, 1));
    ASSERT_TRUE(ToggleAddedGraph(setting, kAddedFtse100, kWhite));
    EXPECT_EQ(FindAddedGraph(setting, kAddedFtse100), 1);
}

TEST_F(AddedGraphEntries, CancellingTheColourKeepsTheEntry)
{
    SetAddedGraphEntry(setting, 0x4001, 0, 3, kWhite);
    ToggleRelativeGraph(setting, kAddedFtse100, kWhite);
    const GraphSetting before = setting;
    chooser.cancel = true;
    EXPECT_FALSE(SetAddedGraphEntry(setting, 0x4002, 0, 3, kWhite));
    EXPECT_FALSE(ToggleAddedGraph(setting, kAddedShareIndex, kWhite));
    EXPECT_FALSE(ToggleRelativeGraph(setting, kAddedShareIndex, kWhite));
    EXPECT_EQ(setting, before);
}

TEST_F(AddedGraphEntries, TheOfferedColourSuitsTheBackground)
{
    ResetLineColourCounter();
    SetAddedGraphEntry(setting, 0x4001, 0, 0, kWhite);
    SetAddedGraphEntry(setting, 0x4002, 0, 1, 0x000000);
    EXPECT_EQ(chooser.offers, (std::vector<uint32_t>{0x800000, 0xFF7FFF}));
}

TEST_F(AddedGraphEntries, ARecordBuiltForAnEntryGoesWithIt)
{
    const uint32_t handle = KeepOwnRecord(static_cast<uint8_t*>(ProCalloc(1, 64, "test record")));
    ASSERT_NE(FindOwnRecord(handle), nullptr);
    ASSERT_TRUE(SetAddedGraphEntry(setting, kAddedOwnRecord, handle, 0, kWhite));
    ASSERT_TRUE(RemoveAddedGraph(setting, 0));
    EXPECT_EQ(FindOwnRecord(handle), nullptr);
}

TEST(AddedGraphRange, JointRangeTakesEachGraphToTheSharesLevel)
{
    float low = 100, high = 200;
    std::vector<AddedRange> graphs = {
        {50, 500, 100, 100},   // same level: widens the range as it stands
        {300, 600, 400, 200},  // twice the share's level: 150-300 on the share's axis
        {5, 9, 0, 150},        // a reference of 0 stays out
        {5, 9, 7, 0},          // so does a share's reference of 0
        {8, 8, 8, 100},        // an empty range
    };
    const std::vector<bool> joined = GetJointPriceRange(low, high, graphs);
    EXPECT_EQ(joined, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_FLOAT_EQ(low, 50);
    EXPECT_FLOAT_EQ(high, 500);
    EXPECT_FLOAT_EQ(graphs[0].low, 50);
    EXPECT_FLOAT_EQ(graphs[1].low, 100);
    EXPECT_FLOAT_EQ(graphs[1].high, 1000);
    EXPECT_FLOAT_EQ(graphs[2].low, 5) << "left with its own range";
    EXPECT_FLOAT_EQ(graphs[3].high, 9);
}

std::vector<DayRecord> Days(std::initializer_list<std::pair<uint16_t, float>> dated)
{
    std::vector<DayRecord> days;
    for (auto [date, close] : dated) {
        DayRecord d{};
        d.date = date;
        d.close = close;
        days.push_back(d);
    }
    return days;
}

TEST(AddedGraphRange, ClosesMeetTheChartsBarsOnCommonDays)
{
    const std::vector<DayRecord> chart = Days({{100, 1}, {101, 1}, {102, 1}, {103, 1}, {104, 1}, {105, 1}});
    // The added share misses day 102, has a day the chart lacks (103.5 is not a date; 106 lies beyond).
    const std::vector<DayRecord> graph = Days({{99, 7}, {101, 10}, {103, 20}, {104, 26}, {106, 30}});
    std::vector<FoldedBar> daily;
    for (int32_t i = 0; i < 6; ++i)
        daily.push_back({{}, i, i, chart[size_t(i)].date});
    EXPECT_EQ(AlignToBars(graph, chart.data(), daily), (std::vector<float>{0, 10, 15, 20, 26, 0}));
    // Bars of two days meet on their last day.
    const std::vector<FoldedBar> pairs = {{{}, 0, 1, 100}, {{}, 2, 3, 102}, {{}, 4, 5, 104}};
    EXPECT_EQ(AlignToBars(graph, chart.data(), pairs), (std::vector<float>{10, 20, 0}));
}

// The daily chart over a database: the share, another share, a sector index and the FTSE 100.
class AddedGraphCommandsTest : public test::ListFixture {
protected:
    AddedGraphCommandsTest() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        const uint16_t index = MakeRecordFlags(kMarketIndex, kIndexNone);
        FixtureShare share{0x4001, "Alpha Mining", {11}};
        share.sectorWord = 5;
        FixtureShare other{0x4002, "Bravo Foods", {11}, kRecordFlagsNone, 0, 0, kListDays - 1, 2000, -10};
        FixtureShare sector{0x4003, "Mining Index", {1}, index, 0, 5, kListDays - 1, 300, 2};
        FixtureShare unsectored{0x4004, "Charlie", {11}};
        LoadShares({share, other, sector, unsectored});
        list = NewList(1);
        list->entries[0] = {RecordIndex[0x4001], 0};
        list->entries[1] = {RecordIndex[0x4004], 0};
        list->last = 1;
        list->current = 0;
        list->filledMark = list->word + 1;  // filled here, not from the database
        view.list = list;
        AddedGraphDialogSeams().chooseShare = [this](const std::string&, ShareList*) { return chosen; };
    }
    ~AddedGraphCommandsTest() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    CommandUi State(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        EXPECT_TRUE(view.UpdateCommandUi(ui)) << command;
        return ui;
    }
    bool Run(uint32_t command) { return view.eod.RunCommand(command, false); }

    ColourChooser colours;
    ShareList* list = nullptr;
    std::optional<RecordCursor> chosen;
    CViewGraphEOD view{0};

private:
    GraphSetting saved_;
};

TEST_F(AddedGraphCommandsTest, CommandsFileLoadAndNameTheGraphs)
{
    chosen = RecordCursor{RecordIndex[0x4002], 0};
    ASSERT_TRUE(Run(kCmdAddGraphItem));
    ASSERT_TRUE(Run(kCmdAddFtse100));
    ASSERT_TRUE(Run(kCmdAddSectorIndex));
    EXPECT_EQ(State(kCmdAddFtse100).checked, true);
    EXPECT_EQ(State(kCmdAddSectorIndex).checked, true);
    view.eod.LoadAndLayout();
    const AddedGraphSet& graphs = view.eod.addedGraphs();
    EXPECT_EQ(graphs.slot(0).name, "Bravo Foods");
    EXPECT_EQ(graphs.slot(1).name, "~Market");
    EXPECT_EQ(graphs.slot(2).name, "Mining Index");
    EXPECT_EQ(graphs.slot(2).days.size(), size_t(kListDays));
    EXPECT_EQ(State(25082).text, "Remove &2nd: ~Market");
    EXPECT_FALSE(State(25084).enabled);
    LegendSource legend;
    view.eod.FillLegendSource(legend, false);
    EXPECT_EQ(legend.addedGraphNames[1], "~Market");
    EXPECT_EQ(legend.addedGraphPens[1], ReadAddedGraph(Setting(), 1).pen);

    // A share without a sector finds no index: the entry waits for a share that has one.
    list->current = 1;
    view.eod.LoadAndLayout();
    EXPECT_TRUE(view.eod.addedGraphs().slot(2).days.empty());
    EXPECT_EQ(ReadAddedGraph(Setting(), 2).id, kAddedShareIndex);

    ASSERT_TRUE(Run(kCmdRemoveAllGraphs));
    EXPECT_EQ(FirstFreeAddedGraph(Setting()), 0);
    EXPECT_FALSE(State(kCmdRemoveAllGraphs).enabled);
}

TEST_F(AddedGraphCommandsTest, AnItemFoundNowhereIsFreed)
{
    WriteAddedGraph(Setting(), 0, {0, 1, 0x4999});
    view.eod.LoadAndLayout();
    EXPECT_EQ(ReadAddedGraph(Setting(), 0).id, 0);
}

TEST_F(AddedGraphCommandsTest, TheRelativeItemCommandChoosesOrRemoves)
{
    chosen.reset();
    Run(kCmdRelativeItem);
    EXPECT_EQ(ReadAddedGraph(Setting(), kRelativeEntry).id, 0) << "a cancelled chooser changes nothing";
    chosen = RecordCursor{RecordIndex[0x4002], 0};
    Run(kCmdRelativeItem);
    EXPECT_EQ(ReadAddedGraph(Setting(), kRelativeEntry).id, 0x4002);
    EXPECT_EQ(State(kCmdRelativeItem).checked, true);
    EXPECT_EQ(State(kCmdRelativeFtse100).checked, false);
    Run(kCmdRelativeItem);
    EXPECT_EQ(ReadAddedGraph(Setting(), kRelativeEntry).id, 0);
}

Transaction* NewTransaction(uint16_t date, uint8_t type, float amount, float holding, Transaction* next)
{
    TransactionFields fields;
    fields.date = date;
    fields.type = type;
    fields.shareId = 0x4001;
    fields.amount = amount;
    fields.holding = holding;
    auto* t = new Transaction;
    t->bytes = *EncodeTransaction(fields);
    t->next = next;
    return t;
}

TEST_F(AddedGraphCommandsTest, APortfoliosValueIsDrawnUnderItsName)
{
    Transaction* valued = NewTransaction(test::WeekdaysAfter(test::kListDay0, kListDays - 1), kLatestRowType, 0, 0, nullptr);
    Transaction* bought = NewTransaction(test::kListDay0, 1, 1000, 100, valued);
    Portfolio portfolio;
    portfolio.name = "Mine";
    portfolio.transactions = bought;
    Portfolio* const savedChain = PortfolioChain();
    PortfolioChain() = &portfolio;
    EXPECT_FALSE(State(kCmdAddPortfolioGraph).enabled) << "no chooser yet";
    FrameDialogs().portfolioChooser = [&](int, bool&) { return &portfolio; };
    EXPECT_TRUE(State(kCmdAddPortfolioGraph).enabled);

    ASSERT_TRUE(Run(kCmdAddPortfolioGraph));
    const AddedGraphEntry entry = ReadAddedGraph(Setting(), 0);
    EXPECT_EQ(entry.id, kAddedOwnRecord);
    view.eod.LoadAndLayout();
    EXPECT_EQ(view.eod.addedGraphs().slot(0).name, "Portfolio: Mine");
    EXPECT_FALSE(view.eod.addedGraphs().slot(0).days.empty());
    ASSERT_TRUE(Run(kCmdRemoveFirstGraph));
    EXPECT_EQ(FindOwnRecord(entry.extra), nullptr);

    FrameDialogs().portfolioChooser = nullptr;
    PortfolioChain() = savedChain;
    portfolio.transactions = nullptr;
    delete bought;
    delete valued;
}

TEST_F(AddedGraphCommandsTest, AddingTheShareToTheCurrentPortfolioNamesIt)
{
    EXPECT_FALSE(State(kCmdChartAddToPortfolio).enabled) << "no portfolio view";
    EXPECT_FALSE(State(kCmdChartAddToChosenPortfolio).enabled) << "no chooser";
    Portfolio portfolio;
    portfolio.name = "Growth";
    SetCurrentPortfolioViewSource([&] { return CurrentPortfolioView{true, &portfolio}; });
    const CommandUi ui = State(kCmdChartAddToPortfolio);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(ui.text, "Add to &portfolio Growth");
    SetCurrentPortfolioViewSource(nullptr);
}

TEST_F(AddedGraphCommandsTest, LockedOrProfitSourcesGreyTheCommands)
{
    EXPECT_TRUE(State(kCmdAddGraphItem).enabled);
    EXPECT_TRUE(State(kCmdAddSectorIndex).enabled);
    view.graphSourceKind = 4;  // a portfolio's value: no sector index
    EXPECT_FALSE(State(kCmdAddSectorIndex).enabled);
    EXPECT_FALSE(State(kCmdRelativeSectorIndex).enabled);
    EXPECT_TRUE(State(kCmdAddFtse100).enabled);
    view.graphSourceKind = 8;  // its profit or loss
    for (uint32_t command : {kCmdAddGraphItem, kCmdAddFtse100, kCmdRelativeFtse100, kCmdRelativeItem})
        EXPECT_FALSE(State(command).enabled) << command;
}

} // namespace
} // namespace qv
