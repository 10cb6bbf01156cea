// The pivot points dialog by control id: OK without edits keeps the block, Default keeps the lines
// shown, Cancel restores after a Preview.
#include "chartmodel/ui/DisplayTrendsDlg.h"
#include "chartmodel/ui/PivotPointsDlg.h"
#include "chartmodel/ui/SupportResistDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::graphsetting;
using qv::test::Control;

TEST(PivotPointsDlg, OkKeepsTheBlockAndCancelRestoresAfterPreview)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    GraphSetting before = setting;
    int notices = 0;
    {
        CPivotPointsDlg dialog(setting, kPivot2, nullptr);
        dialog.SetNotify([&] { ++notices; });
        test::SaveRender(test::RenderWidget(dialog), "pivot_points");
        dialog.accept();
    }
    EXPECT_EQ(std::memcmp(before.data(), setting.data(), GraphSetting::kSize), 0);
    {
        CPivotPointsDlg dialog(setting, kPivot1, nullptr);
        dialog.SetNotify([&] { ++notices; });
        Control<QRadioButton>(dialog, 3182)->click();
        Control<QCheckBox>(dialog, 3195)->click();
        dialog.Preview();
        EXPECT_EQ(U32(setting, kPivot1 + kPivotMethod), 2u);
        dialog.reject();
    }
    EXPECT_EQ(std::memcmp(before.data(), setting.data(), GraphSetting::kSize), 0);
    EXPECT_EQ(notices, 3);
}

TEST(PivotPointsDlg, DefaultResetsMethodAndPensButKeepsTheLinesShown)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    GraphSetting defaults = setting;
    SetU32(setting, kPivot1 + kPivotMethod, 1);
    SetU32(setting, kPivot1 + kPivotFlags, 0x15);
    SetU32(setting, kPivot1 + kPivotPens, 0x00123456);
    CPivotPointsDlg dialog(setting, kPivot1, nullptr);
    Control<QPushButton>(dialog, 3)->click();
    dialog.accept();
    EXPECT_EQ(U32(setting, kPivot1 + kPivotMethod), U32(defaults, kPivot1 + kPivotMethod));
    EXPECT_EQ(U32(setting, kPivot1 + kPivotFlags) & 0x1F, 0x15u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(U32(setting, kPivot1 + kPivotPens + 4 * size_t(i)), U32(defaults, kPivot1 + kPivotPens + 4 * size_t(i))) << i;
}

TEST(SupportResistDlg, WritesTheSevenWordsOnOkAndRestoresThemOnCancel)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    SetU32(setting, kSupportResist + 20, 0xAABBCCDD);   // a kept word
    GraphSetting before = setting;
    {
        CSupportResistDlg dialog(setting);
        test::SaveRender(test::RenderWidget(dialog), "support_resist");
        Control<QCheckBox>(dialog, 3878)->click();
        dialog.Preview();
        EXPECT_NE(U32(setting, kSupportResist), U32(before, kSupportResist));
        dialog.reject();
    }
    EXPECT_EQ(std::memcmp(before.data(), setting.data(), GraphSetting::kSize), 0);
    {
        CSupportResistDlg dialog(setting);
        Control<QCheckBox>(dialog, 3874)->click();
        dialog.accept();
    }
    EXPECT_EQ(U32(setting, kSupportResist), U32(before, kSupportResist) ^ 1u);
    EXPECT_EQ(U32(setting, kSupportResist + 20), 0xAABBCCDDu);
    EXPECT_EQ(std::memcmp(before.data() + kSupportResist + 4, setting.data() + kSupportResist + 4, 24), 0);
}

TEST(DisplayTrendsDlg, OkWithoutEditsKeepsTheBlockAndDefaultFollowsTheVariant)
{
    for (bool intraday : {false, true}) {
        GraphSetting setting{};
        InitGraphSetting(setting, intraday);
        GraphSetting defaults = setting;
        {
            CDisplayTrendsDlg dialog(setting, intraday);
            dialog.accept();
        }
        EXPECT_EQ(std::memcmp(defaults.data(), setting.data(), GraphSetting::kSize), 0);
        SetU32(setting, kTrendShown, 0);
        SetU32(setting, kTrendPeriods, 7);
        SetU32(setting, kTrendRange, 2);
        CDisplayTrendsDlg dialog(setting, intraday);
        if (!intraday)
            test::SaveRender(test::RenderWidget(dialog), "display_trends");
        Control<QPushButton>(dialog, 3)->click();
        dialog.accept();
        EXPECT_EQ(std::memcmp(defaults.data() + kTrends, setting.data() + kTrends, kTrendsSize), 0) << intraday;
    }
}
