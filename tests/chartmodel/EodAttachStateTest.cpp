// The daily chart's chart kind flags and bar spacing, worked out at attach.
#include "chartmodel/EodAttachState.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigRecords.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;

TEST(EodAttachState, ChartKindFlagsOfEachStyle)
{
    struct Case {
        int style;
        bool dated;
        uint32_t flags;
    };
    for (const Case c : {Case{0, false, 0}, Case{4, false, 0}, Case{5, false, 3}, Case{5, true, 3}, Case{6, false, 6},
                         Case{6, true, 4}, Case{7, false, 6}, Case{8, true, 4}})
        EXPECT_EQ(ChartKindFlags(c.style, c.dated), c.flags) << c.style << " " << c.dated;
}

TEST(EodAttachState, BarSpacingFromTheSpacingByte)
{
    struct Case {
        uint8_t byte;
        float scaleX, scaleY;
        int32_t step, margin;
    };
    const Case cases[] = {
        {0x00, 1, 1, 2, 0},
        {0x23, 1, 1, 12, 2},     // width 8 and two margins of 2
        {0x0F, 1, 1, 18, 0},     // steps above 8 take the widest
        {0x31, 2, 1.5f, 16, 5},  // the smaller scale: width 6, margins round(4.5) = 5
        {0x10, 0.5f, 1, 3, 1},   // width 1, margin round(0.5) = 1
    };
    for (const Case& c : cases) {
        const BarSpacing spacing = ComputeBarSpacing(c.byte, c.scaleX, c.scaleY);
        EXPECT_EQ(spacing.step, c.step) << int(c.byte);
        EXPECT_EQ(spacing.margin, c.margin) << int(c.byte);
    }
}

TEST(EodAttachState, FromTheSetting)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    gs::SetU8(setting, gs::kPriceDisplay, 7);
    gs::SetU8(setting, gs::kVolumePane, 2);
    EodAttachState state = ComputeAttachState(setting, 1, 1);
    EXPECT_EQ(state.kindFlags, kChartReversal | kChartBoxAxis);
    EXPECT_TRUE(state.volumeShown);
    gs::SetU16(setting, gs::kBoxChartFlags, kBoxOptionDatedReversal);
    gs::SetU8(setting, gs::kVolumePane, 0);
    state = ComputeAttachState(setting, 1, 1);
    EXPECT_EQ(state.kindFlags, kChartReversal);
    EXPECT_FALSE(state.volumeShown);
}

} // namespace
} // namespace qv
