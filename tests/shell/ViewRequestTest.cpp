// Tests of the view request behind every command that shows a view.
#include "shell/ViewRequest.h"

#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

using namespace qv;

TEST(ViewRequest, CyclingRunsListGraphDetailsBothWays)
{
    struct Case {
        bool next;
        int32_t kind;
        bool parentLink;
        int32_t previousList;
        bool portfolio;
        int32_t to;
    };
    for (const Case& c : std::vector<Case>{
             {true, kViewList, false, -1, false, kViewDailyChart},
             {true, kViewPortfolio, false, -1, false, kViewDailyChart},
             {true, kViewDailyChart, false, -1, false, kViewDetails},
             {true, kViewDailyChart, true, kViewDataMining, false, kViewDataMining},
             {true, kViewDetails, false, -1, true, kViewPortfolio},
             {true, kViewDetails, false, -1, false, kViewList},
             {true, kViewDetails, false, kViewTransactions, true, kViewTransactions},
             {false, kViewList, false, -1, false, kViewDetails},
             {false, kViewDetails, false, -1, false, kViewDailyChart},
             {false, kViewDailyChart, false, kViewList, true, kViewList},
             {true, kViewNews, false, -1, false, -1},
             {false, kViewTicker, false, -1, false, -1},
         })
        EXPECT_EQ(CycleViewKind(c.next, c.kind, c.parentLink, c.previousList, c.portfolio), c.to)
            << c.next << " " << c.kind;
}

TEST(ViewRequest, ReferenceKindAndNothingToDo)
{
    EXPECT_EQ(RequestReferenceKind(kViewList, kViewList), kViewList);
    EXPECT_EQ(RequestReferenceKind(kViewList, kViewPortfolio), kViewList);
    EXPECT_EQ(RequestReferenceKind(kViewDetails, kViewPortfolio), kViewPortfolio);
    EXPECT_EQ(RequestReferenceKind(kViewDataMining, kViewList), kViewList);
    EXPECT_EQ(RequestReferenceKind(kViewDailyChart, kViewList), kViewDailyChart);

    for (const auto& [kind, reference, foundHasSource, looks] : std::vector<std::tuple<int32_t, int32_t, bool, bool>>{
             {kViewPortfolio, kViewList, false, true},
             {kViewTransactions, -1, false, true},
             {kViewDailyChart, kViewPortfolio, false, true},
             {kViewDetails, kViewList, true, true},
             {kViewDailyChart, kViewList, false, false},
             {kViewList, kViewPortfolio, true, false},
             {kViewNews, kViewTransactions, true, false},
         })
        EXPECT_EQ(RequestLooksForSource(kind, reference, foundHasSource), looks) << kind << " " << reference;

    EXPECT_TRUE(RequestChangesNothing(kViewList, kViewList, 4, 4, 0, 0));
    EXPECT_FALSE(RequestChangesNothing(kViewList, kViewList, 5, 4, 0, 0));
    EXPECT_FALSE(RequestChangesNothing(kViewPortfolio, kViewPortfolio, 4, 4, 0, 0));
    EXPECT_FALSE(RequestChangesNothing(kViewList, kViewDetails, 4, 4, 0, 0));

    EXPECT_EQ(RequestCurrentNumber(kRequestNewWindow, kViewList, 2), -1);
    EXPECT_EQ(RequestCurrentNumber(0, kViewCash, 2), kViewCash);
    EXPECT_EQ(RequestCurrentNumber(0, kViewDailyChart, 2), 2);
}

TEST(ViewRequest, LinkedViewsFollowOnlyBetweenListKinds)
{
    EXPECT_EQ(LinkedViewFollowKind(kViewList, kViewPortfolio, 0), kViewPortfolio);
    EXPECT_EQ(LinkedViewFollowKind(kViewPortfolio, kViewTransactions, 0), -1) << "2 and 4 count as one";
    EXPECT_EQ(LinkedViewFollowKind(kViewList, kViewList, 0), -1);
    EXPECT_EQ(LinkedViewFollowKind(kViewDailyChart, kViewList, 0), -1) << "a graph only refreshes";
    EXPECT_EQ(LinkedViewFollowKind(kViewPortfolio, kViewDailyChart, 0), -1);
    EXPECT_EQ(LinkedViewFollowKind(kViewPortfolio, kViewDailyChart, kRequestKeepOwnList), kViewList);
    EXPECT_EQ(LinkedViewFollowKind(kViewList, kViewDailyChart, kRequestKeepOwnList), -1);
}

TEST(ViewRequest, ListCommandIdsMapToOneNumberAndFamilyEach)
{
    std::set<uint32_t> seen;
    for (int32_t n = 0; n < kListNumberCount; ++n) {
        for (uint32_t id : {ShowListCommandId(n), ShowListSameWindowCommandId(n, 0), ShowListSameWindowCommandId(n, 1),
                            UseListCommandId(n)}) {
            if (id == 0)
                continue;
            EXPECT_TRUE(seen.insert(id).second) << id;
            EXPECT_EQ(LookupListCommand(id).number, n) << id;
        }
    }
    EXPECT_EQ(LookupListCommand(26915).family, ListCommandFamily::Show);
    EXPECT_EQ(LookupListCommand(26915).number, 4);
    EXPECT_EQ(LookupListCommand(25042).family, ListCommandFamily::ShowSameWindow);
    EXPECT_FALSE(LookupListCommand(25042).needsShowableShare);
    EXPECT_TRUE(LookupListCommand(26998).needsShowableShare);
    EXPECT_EQ(LookupListCommand(26443).family, ListCommandFamily::Use);
    EXPECT_EQ(LookupListCommand(26443).number, 9);
    EXPECT_EQ(LookupListCommand(27060).number, 25);
    EXPECT_EQ(ShowListCommandId(22), 0u);
    EXPECT_EQ(LookupListCommand(20316).family, ListCommandFamily::None);
}

TEST(ViewRequest, UpdateRulesOfTheCurrentShareAndListCommands)
{
    CommandFacts list;
    list.activeKind = kViewList;
    list.hasList = true;
    list.listHasCurrent = true;
    list.listFamily = 0;
    list.hasCurrentShare = true;
    list.canShowCurrentShare = true;
    list.listNumber = 4;

    CommandFacts graph = list;
    graph.activeKind = kViewDailyChart;
    CommandFacts busy = list;
    busy.busy = true;
    CommandFacts cash = list;
    cash.activeKind = kViewCash;
    cash.listFamily = 3;
    CommandFacts ticker = list;
    ticker.activeKind = kViewTicker;
    ticker.canShowCurrentShare = false;
    CommandFacts training = graph;
    training.graphTraining = true;
    training.canShowCurrentShare = false;
    const CommandFacts none;

    struct Case {
        uint32_t id;
        const CommandFacts* facts;
        bool enabled, checked;
    };
    for (const Case& c : std::vector<Case>{
             {kCommandGraphCurrent, &list, true, false},
             {kCommandGraphCurrent, &graph, true, true},
             {kCommandGraphCurrent, &busy, false, false},
             {kCommandGraphCurrent, &cash, false, false},
             {kCommandGraphCurrentBar, &ticker, false, false},
             {kCommandViewCurrentList, &ticker, true, false},
             {kCommandViewCurrentListBar, &ticker, false, false},
             {kCommandTicker, &training, false, false},
             {kCommandUnpricedShares, &graph, false, false},
             {kCommandFindShare, &none, false, false},
             {ShowListCommandId(4), &list, true, true},
             {ShowListCommandId(16), &list, false, false},
             {ShowListSameWindowCommandId(4, 0), &ticker, false, false},
             {ShowListSameWindowCommandId(4, 1), &ticker, true, false},
             {UseListCommandId(4), &graph, true, true},
             {UseListCommandId(4), &training, false, true},
             {UseListCommandId(4), &cash, false, false},
         }) {
        CommandUiState s = CommandUpdateState(c.id, *c.facts);
        EXPECT_TRUE(s.known) << c.id;
        EXPECT_EQ(s.enabled, c.enabled) << c.id;
        EXPECT_EQ(s.checked, c.checked) << c.id;
    }
    EXPECT_FALSE(CommandUpdateState(57665, list).known);
}
