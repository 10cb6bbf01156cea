// Zooming add-on windows: one zoomed at a time, and zoom-only never un-zooms.
#include "chartmodel/AddOnZoom.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PaneLayout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

int16_t Height(const GraphSetting& s, int w)
{
    return int16_t(LoadU16(gs::IndicatorSlot(s, w, 0).data() + gs::kSlotHeightWeight));
}

GraphSetting ThreeWindows()
{
    GraphSetting s{};
    for (int w = 0; w < 3; ++w) {
        gs::IndicatorSlot(s, w, 0)[gs::kSlotType] = 1;
        StoreU16(gs::IndicatorSlot(s, w, 0).data() + gs::kSlotHeightWeight, uint16_t(100 + 10 * w));
    }
    return s;
}

TEST(AddOnZoom, ZoomingOneUnzoomsTheOthersAndToggling)
{
    GraphSetting s = ThreeWindows();
    EXPECT_TRUE(ToggleAddOnZoom(s, 0, false));
    EXPECT_EQ(Height(s, 0), 100 + kZoomAddition);
    EXPECT_TRUE(ToggleAddOnZoom(s, 2, false));
    EXPECT_EQ(Height(s, 0), 100) << "the other zoomed window is un-zoomed";
    EXPECT_EQ(Height(s, 2), 120 + kZoomAddition);
    EXPECT_TRUE(AddOnWindowZoomed(s, 2));
    EXPECT_TRUE(ToggleAddOnZoom(s, 2, true));
    EXPECT_EQ(Height(s, 2), 120 + kZoomAddition) << "zoom only never un-zooms";
    EXPECT_TRUE(ToggleAddOnZoom(s, 2, false));
    EXPECT_EQ(Height(s, 2), 120);
    EXPECT_FALSE(ToggleAddOnZoom(s, 3, false)) << "a window not in use";
    EXPECT_FALSE(ToggleAddOnZoom(s, 4, false));
    EXPECT_EQ(Height(s, 3), 0);
}

} // namespace
} // namespace qv
