// Placing indicator records among the add-on windows: the usage mask, the target radios, placement with
// its weight rebalancing, and deleting records and windows.
#include "chartmodel/IndicatorPlacement.h"

#include "chartmodel/GraphSettingLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;
namespace gs = qv::graphsetting;

namespace {

// A setting whose windows hold records of the given types, window by window.
GraphSetting Setting(const std::vector<std::vector<int>>& windows, const std::vector<int16_t>& weights = {})
{
    GraphSetting s{};
    for (size_t w = 0; w < windows.size(); ++w)
        for (size_t k = 0; k < windows[w].size(); ++k) {
            IndicatorRecord r = IndicatorRecord::Of(windows[w][k], 0, int(10 * w + k));
            if (k == 0)
                r.heightWeight = w < weights.size() ? weights[w] : 100;
            r.Write(gs::IndicatorSlot(s, int(w), int(k)));
        }
    return s;
}

IndicatorRecord At(const GraphSetting& s, int w, int k) { return IndicatorRecord::Read(gs::IndicatorSlot(s, w, k)); }

} // namespace

TEST(IndicatorPlacement, UsageMaskAndTargets)
{
    struct Case {
        const char* what;
        std::vector<std::vector<int>> windows;
        int type;
        uint8_t mask;
        bool noFree;
        int selected;
        std::array<bool, 6> enabled; // new, replace, add to 1-4
    };
    const std::vector<Case> cases = {
        {"empty setting", {}, 2, 0x00, false, kTargetNewWindow, {true, false, false, false, false, false}},
        {"two windows, one full", {{2, 5, 8, 9}, {4}}, 2, 0x13, false, kTargetNewWindow, {true, false, false, true, false, false}},
        {"equivolume refuses others", {{41}, {2}}, 5, 0x13, false, kTargetNewWindow, {true, false, false, true, false, false}},
        {"point and figure refuses used windows", {{2}, {3}, {4}}, 15, 0x77, false, kTargetNewWindow,
         {true, false, false, false, false, false}},
        {"all windows used: first that takes it", {{2, 3, 4, 5}, {41}, {6}, {7}}, 8, 0x3F, true, 2,
         {false, false, false, false, true, true}},
        {"all used, all refuse", {{15}, {41}, {1, 2, 3, 4}, {1, 2, 3, 4}}, 5, 0xFF, true, 3,
         {false, false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        GraphSetting s = Setting(c.windows);
        WindowUsage usage = ComputeWindowUsage(s, c.type);
        EXPECT_EQ(usage.mask, c.mask) << c.what;
        EXPECT_EQ(usage.noFreeWindow, c.noFree) << c.what;
        TargetChoice t = ChooseTargets(usage, false, false);
        EXPECT_EQ(t.selected, c.selected) << c.what;
        EXPECT_EQ(t.enabled, c.enabled) << c.what;
    }
    // All four unable to take point and figure: too many.
    EXPECT_TRUE(ComputeWindowUsage(Setting({{2}, {3}, {4}, {5}}), 15).tooMany());
    EXPECT_FALSE(ComputeWindowUsage(Setting({{2}, {3}, {4}}), 15).tooMany());
}

TEST(IndicatorPlacement, OpenedFromWindowAndLocked)
{
    WindowUsage usage = ComputeWindowUsage(Setting({{2}}), 2);
    TargetChoice t = ChooseTargets(usage, true, false);
    EXPECT_EQ(t.selected, kTargetReplace);
    EXPECT_TRUE(t.enabled[1]);
    TargetChoice locked = ChooseTargets(usage, true, true);
    EXPECT_EQ(locked.selected, kTargetReplace);
    EXPECT_EQ(locked.enabled, (std::array<bool, 6>{}));
}

TEST(IndicatorPlacement, NewWindowRebalancesWeights)
{
    GraphSetting s = Setting({{2}, {3}, {4}}, {100, 300, 350});
    ASSERT_TRUE(PlaceIndicator(s, IndicatorRecord::Of(5, 0, 12), kTargetNewWindow, -1, 0, {}));
    EXPECT_EQ(At(s, 3, 0).type, 5);
    EXPECT_EQ(At(s, 0, 0).heightWeight, 100);
    EXPECT_EQ(At(s, 1, 0).heightWeight, 200);
    EXPECT_EQ(At(s, 2, 0).heightWeight, 350);
    EXPECT_EQ(At(s, 3, 0).heightWeight, 100);

    // No window can give up the excess: the weights stay.
    GraphSetting t = Setting({{2}, {3}, {4}}, {330, 330, 330});
    ASSERT_TRUE(PlaceIndicator(t, IndicatorRecord::Of(5, 0), kTargetNewWindow, -1, 0, {}));
    for (int w = 0; w < 3; ++w)
        EXPECT_EQ(At(t, w, 0).heightWeight, 330) << w;
}

TEST(IndicatorPlacement, EditMovedElsewhereLeavesOriginal)
{
    GraphSetting s = Setting({{2, 5}, {4}});
    IndicatorRecord original = At(s, 0, 1);
    IndicatorRecord edited = original;
    edited.period1 = 33;
    edited.Write(gs::IndicatorSlot(s, 0, 1)); // the dialog edits in place
    ASSERT_TRUE(PlaceIndicator(s, edited, 1, 0, 1, original));
    EXPECT_EQ(At(s, 0, 1).period1, original.period1);
    EXPECT_EQ(At(s, 1, 1).type, 5);
    EXPECT_EQ(At(s, 1, 1).period1, 33);

    // Replace keeps the edit where it stands.
    ASSERT_TRUE(PlaceIndicator(s, edited, kTargetReplace, 0, 1, original));
    EXPECT_EQ(At(s, 0, 1).period1, 33);
    // Into a full window: refused, nothing written.
    GraphSetting full = Setting({{1, 2, 3, 4}});
    GraphSetting before = full;
    EXPECT_FALSE(PlaceIndicator(full, IndicatorRecord::Of(5, 0), 0, -1, 0, {}));
    EXPECT_EQ(full, before);
}

TEST(IndicatorPlacement, DeleteRecordsAndWindows)
{
    // The only record of window 1 of three: the window goes, the others move down.
    GraphSetting s = Setting({{2}, {3}, {4}}, {120, 130, 140});
    DeleteIndicatorRecord(s, 0, 0);
    EXPECT_EQ(At(s, 0, 0).type, 3);
    EXPECT_EQ(At(s, 1, 0).type, 4);
    EXPECT_EQ(At(s, 2, 0).type, 0);
    EXPECT_EQ(At(s, 0, 0).heightWeight, 130);

    // The first of three records: the others move up and the window keeps its weight.
    GraphSetting t = Setting({{2, 3, 4}}, {250});
    DeleteIndicatorRecord(t, 0, 0);
    EXPECT_EQ(At(t, 0, 0).type, 3);
    EXPECT_EQ(At(t, 0, 1).type, 4);
    EXPECT_EQ(At(t, 0, 2).type, 0);
    EXPECT_EQ(At(t, 0, 0).heightWeight, 250);

    GraphSetting u = Setting({{2}, {3}, {4}, {5}});
    DeleteAddOnWindow(u, 1);
    EXPECT_EQ(At(u, 1, 0).type, 4);
    EXPECT_EQ(At(u, 2, 0).type, 5);
    EXPECT_EQ(At(u, 3, 0).type, 0);
    EXPECT_TRUE(AnyAddOnWindow(u));
    for (int w = 3; w >= 0; --w)
        DeleteAddOnWindow(u, w);
    EXPECT_FALSE(AnyAddOnWindow(u));
}
