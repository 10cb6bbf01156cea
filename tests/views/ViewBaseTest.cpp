// Tests of the view base.
#include "views/ViewBase.h"

#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/ViewGroups.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qv;

namespace {

class ResyncView : public CViewBase {
public:
    explicit ResyncView(int32_t kind) : CViewBase(kind) {}
    void SetResyncCode(uint32_t code) override { resync = code; }
    void OnRefresh() override { ++refreshes; }
    uint32_t resync = 0;
    int refreshes = 0;
};

class ViewBaseTest : public ::testing::Test {
protected:
    ~ViewBaseTest() override
    {
        views.clear();
        WindowNumberingOption = 0;
        DatabaseElementCount = 0;
        dev::FreeShareListChain();
    }
    ResyncView& View(int32_t kind) { return *views.emplace_back(std::make_unique<ResyncView>(kind)); }
    std::vector<CViewBase*> Chain(const ShareList* list)
    {
        std::vector<CViewBase*> chain;
        for (CViewBase* v = list->views; v; v = v->nextInList)
            chain.push_back(v);
        return chain;
    }
    std::vector<std::unique_ptr<ResyncView>> views;
};

TEST_F(ViewBaseTest, AttachMakesAListOfTheSourceKindAndJoinsItsGroup)
{
    DatabaseElementCount = 2000;
    ResyncView& view = View(kViewList);
    ASSERT_TRUE(view.AttachListSource(GetViewKindFamily(kViewList), nullptr, -1));
    ASSERT_NE(view.list, nullptr);
    EXPECT_EQ(view.list->family, kFamilyShares);
    EXPECT_GE(view.list->capacity, 6100);
    EXPECT_LE(view.list->capacity, 6100 + 4100);
    EXPECT_EQ(Chain(view.list), std::vector<CViewBase*>{&view});
    EXPECT_EQ(GetViewGroupFields(view.list).needsRefill, 1);
    EXPECT_EQ(view.list->filledMark, 0) << "the list tables fill it";

    // Every source kind gets a list of its own family.
    for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
        ResyncView& v = View(kind);
        ASSERT_TRUE(v.AttachListSource(GetViewKindFamily(kind), nullptr, 10)) << kind;
        EXPECT_EQ(v.list->family, GetViewKindFamily(kind)) << kind;
        EXPECT_TRUE(IsShareListLive(v.list));
        EXPECT_EQ(v.list->entries != nullptr, kind != kViewTicker) << kind;
    }

    // A second view on the same list joins the chain at its head; attaching again changes nothing.
    ResyncView& second = View(kViewDailyChart);
    second.list = view.list;
    second.AttachListSource(kFamilyShares, nullptr, 10);
    second.AttachListSource(kFamilyShares, nullptr, 10);
    EXPECT_EQ(Chain(view.list), (std::vector<CViewBase*>{&second, &view}));

    // Switching to another kind leaves the shared list to the other view.
    second.AttachListSource(kFamilyNews, nullptr, 10);
    EXPECT_EQ(Chain(view.list), std::vector<CViewBase*>{&view});
    EXPECT_NE(view.list->entries, nullptr);
    EXPECT_EQ(second.list->family, kFamilyNews);
}

TEST_F(ViewBaseTest, AFollowingViewSitsInTheChainOfTheListItFollows)
{
    ResyncView& leader = View(kViewList);
    leader.AttachListSource(kFamilyShares, nullptr, 10);
    ResyncView& follower = View(kViewTransactions);
    follower.secondList = leader.list;
    follower.AttachListSource(kFamilyTransactions, nullptr, 10);
    EXPECT_EQ(Chain(leader.list), (std::vector<CViewBase*>{&follower, &leader}));
    EXPECT_TRUE(Chain(follower.list).empty());

    // A follower of the same kind takes the followed list as its own.
    ResyncView& same = View(kViewDailyChart);
    same.secondList = leader.list;
    same.AttachListSource(kFamilyShares, nullptr, 10);
    EXPECT_EQ(same.list, leader.list);
    EXPECT_EQ(same.GetActiveShareList(), leader.list);
    EXPECT_EQ(follower.GetActiveShareList(), follower.list);

    uint32_t mask = 0;
    EXPECT_EQ(CountLinkedViews(&leader, leader.list, &mask), 2);
    EXPECT_EQ(mask, (1u << kViewTransactions) | (1u << kViewDailyChart));
}

TEST_F(ViewBaseTest, TitlesNumberTheWindowAndMarkLinkedOnes)
{
    ResyncView& a = View(kViewList);
    a.AttachListSource(kFamilyShares, nullptr, 10);
    a.list->number = 0;
    EXPECT_EQ(a.GetSourceTitle(false), "List: All");
    EXPECT_EQ(a.DecorateTitle("List: All"), "Quorvantis - List: All");
    WindowNumberingOption = 1;
    EXPECT_EQ(a.DecorateTitle("List: All"), "01 List: All");

    ResyncView& b = View(kViewDailyChart);
    b.list = a.list;
    b.AttachListSource(kFamilyShares, nullptr, 10);
    EXPECT_EQ(a.DecorateTitle("x"), "01 x (Linked)");
    EXPECT_EQ(b.DecorateTitle("x"), "01 x (Linked)");

    // Each source kind names itself.
    struct Case {
        const char* name;
        int32_t listNumber;
        bool hasSource;
        uint8_t type;
        uint16_t number;
        const char* portfolioName;
        int32_t graphMode;
        const char* title;
    };
    const Case cases[] = {
        {"fixed list by its own number", 4, false, 0, 0, "", 0, "List: FTSE 100"},
        {"the all list", 0, false, 0, 0, "", 0, "List: All"},
        {"fixed source list", 0, true, kPresetList, 9, "", 0, "List: AIM"},
        {"pre-set portfolio", 0, true, kPresetList, kNewHighsNumber, "New Highs", 0, "List: New Highs"},
        {"alarm portfolio", 0, true, kFilterPreset, 0xFF05, "Alarms - Global", 0, "List: Alarms - Global"},
        {"user portfolio", 0, true, kUserPortfolio, 2, "Pension", 0, "Portfolio: Pension"},
        {"unnamed user portfolio", 0, true, kUserPortfolio, 2, "", 8, "Portfolio profit/loss: Portfolio 3"},
        {"group portfolio value", 0, true, kGroupPortfolio, 5, "Family", 4, "Portfolio value: Family"},
    };
    for (const Case& c : cases) {
        Portfolio port;
        port.type = c.type;
        port.number = c.number;
        port.name = c.portfolioName;
        a.list->word = c.listNumber;
        a.list->source = c.hasSource ? &port : nullptr;
        a.portfolioGraphMode = c.graphMode;
        EXPECT_EQ(a.GetSourceTitle(false), c.title) << c.name;
    }
    a.list->source = nullptr;
    a.portfolioGraphMode = 0;
    WindowNumberingOption = 0;
    ApplicationTitle() = "Quorvantis Zoze";
    EXPECT_EQ(a.DecorateTitle("List: All"), "Quorvantis Zoze - List: All");
    ApplicationTitle() = "Quorvantis";

    ResyncView& mining = View(kViewDataMining);
    mining.AttachListSource(kFamilyShares, nullptr, 10);
    EXPECT_EQ(mining.GetSourceTitle(false), "No filter selected");
    ResyncView& none = View(kViewList);
    EXPECT_EQ(none.GetSourceTitle(false), "");
    EXPECT_EQ(none.GetSettingIndex(), -1);
}

TEST_F(ViewBaseTest, SettingIndexComesFromTheListOrTheViewByKind)
{
    for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
        ResyncView& v = View(kind);
        v.AttachListSource(GetViewKindFamily(kind), nullptr, 4);
        v.list->tableSetting = 5;
        v.secondKey = 9;
        int32_t expected = kind == 11 ? -1 : IsOneShareViewKind(kind) ? 9 : 5;
        EXPECT_EQ(v.GetSettingIndex(), expected) << kind;
    }
    DataMiningOwnSettingOption = 1;
    EXPECT_EQ(views[size_t(kViewDataMining)]->GetSettingIndex(), 9);
    DataMiningOwnSettingOption = 0;
}

TEST_F(ViewBaseTest, LinkedViewsAreResyncedAndRepaintedButNotTheViewItself)
{
    ResyncView& a = View(kViewList);
    a.AttachListSource(kFamilyShares, nullptr, 10);
    ResyncView& b = View(kViewList);
    b.list = a.list;
    b.AttachListSource(kFamilyShares, nullptr, 10);
    ResyncView& c = View(kViewDailyChart);
    c.AttachListSource(kFamilyShares, nullptr, 10);
    a.secondKey = 7;
    b.intradayMark = 1;
    a.InvalidateLinkedViews(true, true);
    EXPECT_EQ(b.resync, HINT_REDO_EVERYTHING);
    EXPECT_EQ(b.secondKey, 7);
    EXPECT_EQ(b.intradayMark, 0);
    EXPECT_EQ(b.invalidations(), 1);
    EXPECT_EQ(a.invalidations(), 0);
    EXPECT_EQ(c.resync, 0u);

    a.ForceRefresh();
    EXPECT_EQ(a.refreshes, 1) << "sent, not posted";
    EXPECT_EQ(b.refreshes, 0);
    EXPECT_EQ(b.invalidations(), 2);
}

TEST_F(ViewBaseTest, FocusMakesTheViewActiveAndLosingItForgetsIt)
{
    ResyncView& v = View(kViewPortfolio);
    v.AttachListSource(kFamilyShares, nullptr, 4);
    v.list->word = 6;
    v.list->number = 1003;
    v.OnSetFocus();
    EXPECT_EQ(MainFrameState().activeView, nullptr) << "only while its frame is active";
    v.active = 1;
    v.OnSetFocus();
    EXPECT_EQ(MainFrameState().activeView, &v);
    EXPECT_EQ(MainFrameState().activeKind, kViewPortfolio);
    EXPECT_EQ(MainFrameState().listNumber, 6) << "the list number, not the group number";
    ResyncView& other = View(kViewList);
    other.OnKillFocus();
    EXPECT_EQ(MainFrameState().activeView, &v) << "another view's loss leaves it";
    v.OnKillFocus();
    EXPECT_EQ(MainFrameState().activeView, nullptr);
    EXPECT_EQ(MainFrameState().activeKind, -1);
}

TEST_F(ViewBaseTest, FollowingALinkedDealingsListMovesToItsShare)
{
    ResyncView& dealings = View(kViewDealings);
    dealings.AttachListSource(kFamilyDealings, nullptr, 4);
    dealings.list->currentId = 0x4002;
    uint8_t deal[16] = {16};
    dealings.list->entries[0] = {deal, 0};
    ResyncView& chart = View(kViewDailyChart);
    chart.secondList = dealings.list;
    chart.AttachListSource(kFamilyShares, nullptr, 4);
    uint8_t r1[8] = {8, 0, 0x01, 0x40}, r2[8] = {8, 0, 0x02, 0x40};
    chart.list->entries[0] = {r1, 0};
    chart.list->entries[1] = {r2, 0};
    chart.FollowLinkedShare();
    EXPECT_EQ(chart.list->current, 1);
    EXPECT_EQ(chart.list->currentId, 0x4002u);
    EXPECT_EQ(chart.refreshes, 1);
    chart.FollowLinkedShare();
    EXPECT_EQ(chart.refreshes, 1) << "same share: nothing to do";

    EXPECT_FALSE(chart.IsNotCurrentRow(&chart.list->entries[1]));
    EXPECT_TRUE(chart.IsNotCurrentRow(&chart.list->entries[0]));
    EXPECT_TRUE(chart.IsNotCurrentRow(nullptr));
}

TEST_F(ViewBaseTest, NewHighsAndLowsToggleTheListFilterAndBecomeTheDefault)
{
    ResyncView& view = View(kViewList);
    view.AttachListSource(kFamilyShares, nullptr, 4);
    SectorFilter start;
    start.sectorFilterOn = 1;
    start.sectorIndex = 3;
    SetSectorFilter(*view.list, start);
    SectorFilterDefaults() = SectorFilter{};

    SendProgramMessage(view, WM_COMMAND, kCommandNewHighs);
    SectorFilter f = SectorFilterOf(*view.list);
    EXPECT_EQ(f.newHighsOnly, 1);
    EXPECT_EQ(f.newLowsOnly, 0);
    EXPECT_EQ(f.sectorFilterOn, 0) << "the plain filter is cleared";
    EXPECT_EQ(SectorFilterDefaults().newHighsOnly, 1);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_TRUE(view.OnUpdateNewHighs().checked);
    EXPECT_FALSE(view.OnUpdateNewLows().checked);
    EXPECT_TRUE(view.OnUpdateNewLows().pressed);

    view.OnToggleNewLows();
    f = SectorFilterOf(*view.list);
    EXPECT_EQ(f.newHighsOnly, 0);
    EXPECT_EQ(f.newLowsOnly, 1);
    view.OnToggleNewLows();
    EXPECT_EQ(SectorFilterOf(*view.list).newLowsOnly, 0);
    EXPECT_FALSE(view.OnUpdateNewLows().pressed);

    // With lists keeping their own filters, the list's marks decide, not the defaults.
    SetFixedSectorFilter(true);
    SectorFilterDefaults().newHighsOnly = 1;
    EXPECT_FALSE(view.OnUpdateNewHighs().checked);
    SetFixedSectorFilter(false);
    EXPECT_TRUE(view.OnUpdateNewHighs().checked);
    SectorFilterDefaults() = SectorFilter{};
}

TEST_F(ViewBaseTest, IntradayRowsAreLoadedForTheRowsShare)
{
    ResyncView& view = View(kViewTransactions);
    view.AttachListSource(kFamilyTransactions, nullptr, 4);
    uint8_t transaction[16] = {16, 0, 0x01, 0x90, 0, 0, 0, 0, 0x07, 0x42, 3};
    view.list->entries[0] = {transaction, 0};
    view.list->current = 0;
    view.intradayMark = 1;
    EXPECT_FALSE(view.LoadRowIntraday()) << "no intraday store";
    EXPECT_EQ(view.intradayMark, 0);
    static uint32_t loaded = 0;
    SetIntradayRowLoader([](ShareList*, uint32_t id, uint32_t sub) {
        loaded = id << 8 | sub;
        return true;
    });
    EXPECT_TRUE(view.LoadRowIntraday());
    EXPECT_EQ(loaded, 0x420703u);
    SetIntradayRowLoader(nullptr);
}

TEST(ViewBaseHelpers, GraphOptionOnlyForGraphs)
{
    class TrainingView : public CViewBase {
    public:
        using CViewBase::CViewBase;
        uint8_t GraphTrainingMode() const override { return 1; }
    };
    TrainingView daily(kViewDailyChart), intraday(kViewIntradayChart), list(kViewList);
    EXPECT_EQ(GetGraphViewOption(&daily), 1);
    EXPECT_EQ(GetGraphViewOption(&intraday), 1);
    EXPECT_EQ(GetGraphViewOption(&list), 0);
    EXPECT_EQ(GetGraphViewOption(nullptr), 0);
}

TEST(ViewBaseHelpers, BitSetsAndDisplayFlags)
{
    BitSet set;
    ResizeBitSet(set, 20);
    ASSERT_NE(set.bits, nullptr);
    EXPECT_EQ(set.count, 20);
    EXPECT_EQ(set.capacity, 24);
    set.bits[0] = 0xFF;
    uint8_t* before = set.bits;
    ResizeBitSet(set, 10);
    EXPECT_EQ(set.bits, before) << "no reallocation below the capacity";
    EXPECT_EQ(set.bits[0], 0);
    ResizeBitSet(set, 0);
    EXPECT_EQ(set.bits, nullptr);

    DisplayOptions o;
    o.bit0 = o.bit4 = true;
    o.threeWay = 1;
    EXPECT_EQ(PackDisplayFlags(o), 0x51);
    o.threeWay = 2;
    EXPECT_EQ(PackDisplayFlags(o), 0x31);
    o.threeWay = 3;
    EXPECT_EQ(PackDisplayFlags(o), 0x11);
}

} // namespace
