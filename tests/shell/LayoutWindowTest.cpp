// Tests of one window of a window layout as the factory reads it.
#include "shell/LayoutWindow.h"

#include "core/Memory.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

LayoutWindow Linked(int32_t kind, int32_t own, int32_t link)
{
    LayoutWindow w;
    w.kind = kind;
    w.ownGroup = own;
    w.linkGroup = link;
    return w;
}

std::vector<std::array<int32_t, 4>> Rects(const std::vector<LayoutWindow>& v)
{
    std::vector<std::array<int32_t, 4>> r;
    for (const LayoutWindow& w : v)
        r.push_back({w.left, w.top, w.right, w.bottom});
    return r;
}

} // namespace

TEST(LayoutWindow, FieldsLandAtTheirOffsetsAndReservedBytesAreKept)
{
    LayoutWindowRecord record{};
    record.fill(0xEE);
    LayoutWindow w;
    w.shareId = 433;
    w.ownGroup = 1001;
    w.linkGroup = -1;
    w.kind = kViewTradeList;
    w.listWords = {-1, 2025, 3, 4, 5};
    w.portfolio = 7;
    w.maximised = 1;
    w.left = 10, w.top = 20, w.right = 300, w.bottom = 400;
    w.signedSortColumn = -3;
    w.active = 1;
    w.tradeFilter = 0xBEEF;
    w.newsMode = 0x12345678;
    EncodeLayoutWindow(w, record);
    const uint8_t* r = record.data();
    EXPECT_EQ(LoadU32(r + 0), 433u);
    EXPECT_EQ(LoadI32(r + 12), 1001);
    EXPECT_EQ(LoadI32(r + 16), -1);
    EXPECT_EQ(LoadI32(r + 20), kViewTradeList);
    EXPECT_EQ(LoadI32(r + 48), 2025);
    EXPECT_EQ(LoadI32(r + 64), 7);
    EXPECT_EQ(r[69], 1);
    EXPECT_EQ(LoadI32(r + 80), 300);
    EXPECT_EQ(LoadI32(r + 88), -3);
    EXPECT_EQ(r[100], 1);
    EXPECT_EQ(LoadU16(r + 102), 0xBEEF);
    EXPECT_EQ(LoadU32(r + 124), 0x12345678u);
    for (size_t reserved : {8, 70, 71, 93, 99, 128, 151})
        EXPECT_EQ(r[reserved], 0xEE) << reserved;
    LayoutWindow back = DecodeLayoutWindow(record);
    EXPECT_EQ(back.listWords, w.listWords);
    EXPECT_EQ(back.bottom, 400);
    EXPECT_EQ(back.tradeFilter, 0xBEEF);
}

TEST(LayoutWindow, UnownedLinksGetAnOwnerAndTickersJoinNoGroup)
{
    // Two windows linked to 1005, which no record owns: the table kind becomes the owner even
    // though a chart comes first.
    std::vector<LayoutWindow> v{Linked(kViewDailyChart, -1, 1005), Linked(kViewPortfolio, -1, 1005),
                                Linked(kViewTicker, 1001, 1001), Linked(kViewDetails, 1009, -1)};
    NormaliseLayoutLinks(v);
    EXPECT_EQ(v[1].ownGroup, 1005);
    EXPECT_EQ(v[1].linkGroup, -1);
    EXPECT_EQ(v[0].ownGroup, 1005) << "an unowned linked record owns its link";
    EXPECT_EQ(v[0].linkGroup, 1005);
    EXPECT_EQ(v[2].ownGroup, -1);
    EXPECT_EQ(v[2].linkGroup, -1);
    EXPECT_EQ(v[3].ownGroup, 1009);

    // Without a table kind the shares family wins over a dealings view; the single-window default
    // links to 2 and so owns 2.
    std::vector<LayoutWindow> w{Linked(kViewDealings, -1, 1003), Linked(kViewDetails, -1, 1003)};
    NormaliseLayoutLinks(w);
    EXPECT_EQ(w[1].linkGroup, -1);
    EXPECT_EQ(w[0].ownGroup, 1003);
    std::vector<LayoutWindow> single = BuildDefaultLayout(kSingleWindowLayout, {0, 0, 800, 600});
    NormaliseLayoutLinks(single);
    EXPECT_EQ(single[0].ownGroup, 2);
    EXPECT_EQ(single[0].linkGroup, -1);
}

TEST(LayoutWindow, DefaultLayoutsFollowTheAreaGeometry)
{
    const AreaRect area{0, 0, 1200, 900};
    std::vector<LayoutWindow> main = BuildDefaultLayout(0, area);
    // S = R - R/5 above 900 pixels of width.
    EXPECT_EQ(Rects(main), (std::vector<std::array<int32_t, 4>>{
                               {0, 0, 960, 450}, {0, 450, 600, 900}, {600, 450, 1200, 900},
                               {960, 0, 1200, 225}, {960, 225, 1200, 450}}));
    EXPECT_EQ(main[0].kind, kViewList);
    EXPECT_EQ(main[0].shareId, 0x4000u + 433) << "share numbers count from the first share id";
    EXPECT_EQ(main[0].active, 1);
    EXPECT_EQ(main[0].listWords[1], 2025);
    EXPECT_EQ(main[1].listWords[1], 0);
    EXPECT_EQ(main[3].graphSetting, 11);
    EXPECT_EQ(main[4].shareId, 49167u);
    EXPECT_EQ(BuildDefaultLayout(0, {0, 0, 850, 600})[0].right, 850 - 4 * 850 / 17);

    std::vector<LayoutWindow> nine = BuildDefaultLayout(1, {0, 0, 1000, 700});
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(Rects(nine)[0], (std::array<int32_t, 4>{0, 0, 333, 233}));
    EXPECT_EQ(Rects(nine)[8], (std::array<int32_t, 4>{666, 466, 1000, 700})) << "the last reaches R and B";
    EXPECT_EQ(nine[8].ownGroup, 1008);
    EXPECT_EQ(nine[1].shareId, 0x4000u + 1906);

    std::vector<LayoutWindow> one = BuildDefaultLayout(2, area);
    std::vector<int32_t> kinds;
    for (const LayoutWindow& w : one)
        kinds.push_back(w.kind);
    EXPECT_EQ(kinds, (std::vector<int32_t>{kViewIntradayChart, kViewDailyChart, kViewTradeList, kViewDealings, kViewNews}));
    EXPECT_EQ(one[3].dealingsOption, 0x60);
    EXPECT_EQ(one[4].linkGroup, 1001);
    EXPECT_EQ(one[0].linkGroup, -1);

    std::vector<LayoutWindow> port = BuildDefaultLayout(3, area);
    EXPECT_EQ(Rects(port)[2], (std::array<int32_t, 4>{0, 600, 1200, 900}));
    for (const LayoutWindow& w : port) {
        EXPECT_EQ(w.providerKind, -1);
        EXPECT_EQ(w.portfolio, 0);
        EXPECT_EQ(w.listWords[1], 2025);
    }
    EXPECT_EQ(port[2].cashAccount, 1u);
    EXPECT_EQ(BuildDefaultLayout(4, area)[0].kind, kViewDataMining);
    EXPECT_TRUE(BuildDefaultLayout(5, area).empty());
}

TEST(LayoutWindow, CreationOrderPutsOwnersFirstAndAMaximisedWindowAlone)
{
    std::vector<LayoutWindow> main = BuildDefaultLayout(0, {0, 0, 1200, 900});
    EXPECT_EQ(PlanLayoutCreation(main).order, (std::vector<int>{4, 3, 0, 2, 1}));
    main[2].maximised = 1;
    main[3].maximised = 1;
    CreationPlan plan = PlanLayoutCreation(main);
    EXPECT_EQ(plan.maximised, 2);
    EXPECT_EQ(plan.order, std::vector<int>{2});
}

TEST(LayoutWindow, CreationMapsIntradayKindsWithoutRealTimeAndMendsSettings)
{
    struct Case {
        int32_t kind;
        bool realTime;
        int32_t kindAfter;
        int32_t tableAfter;
    };
    for (const Case& c : std::vector<Case>{{kViewIntradayChart, false, kViewDailyChart, 4},
                                           {kViewTradeList, false, kViewList, 4},
                                           {kViewTicker, false, kViewList, 0},
                                           {kViewTicker, true, kViewTicker, 4},
                                           {-3, true, kViewList, 0}}) {
        LayoutWindow w = Linked(c.kind, 1001, -1);
        w.listTable = 4;
        w.setting = 13;
        w.graphSetting = -1;
        LayoutWindow n = NormaliseForCreation(w, c.realTime);
        EXPECT_EQ(n.kind, c.kindAfter) << c.kind;
        EXPECT_EQ(n.listTable, c.tableAfter) << c.kind;
        EXPECT_EQ(n.setting, 0);
        EXPECT_EQ(n.graphSetting, 0);
    }
}

TEST(LayoutWindow, RenumberingKeepsSharedNumbersShared)
{
    std::vector<ShareList*> lists;
    for (int32_t number : {1004, 1001, 1004, -1, 1002}) {
        ShareList* l = CreateShareList(4, 0, kFamilyShares, nullptr, false);
        l->number = number;
        lists.push_back(l);
    }
    for (size_t i = 0; i + 1 < lists.size(); ++i)
        lists[i]->next = lists[i + 1];
    RenumberShareLists(lists[0]);
    std::vector<int32_t> numbers;
    for (ShareList* l : lists)
        numbers.push_back(l->number);
    EXPECT_EQ(numbers, (std::vector<int32_t>{0, 1, 0, -1, 2}));
    for (ShareList* l : lists) {
        ProFree(l->entries);
        ProFree(l);
    }
}

TEST(LayoutWindow, CapturedGroupNumbers)
{
    struct Case {
        bool linked;
        int32_t linkFamily;
        bool first;
        int32_t own, link;
    };
    for (const Case& c : std::vector<Case>{{false, 0, false, 1003, -1},
                                           {true, 0, false, -1, 1003},
                                           {true, 0, true, 1003, -1},
                                           {true, 4, false, 1003, 1001}}) {
        GroupNumbers g = SavedGroupNumbers(1003, 0, c.linked, 1001, c.linkFamily, c.first);
        EXPECT_EQ(g.own, c.own);
        EXPECT_EQ(g.link, c.link);
    }
}
