#include "shell/ViewRequest.h"

#include "shell/ViewKinds.h"

#include <gtest/gtest.h>
#include <set>

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
