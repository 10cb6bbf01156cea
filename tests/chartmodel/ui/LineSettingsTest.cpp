// The line settings dialog: the flags word shown and handed back, values winning over ratios.
#include "chartmodel/ui/LineSettings.h"

#include "support/ui/Render.h"

#include <QCheckBox>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LineSettingsTest, TheFlagsWordIsShownAndHandedBackWithOtherBitsKept)
{
    struct Case {
        uint16_t given;
        const char* radio;
        bool linear, bars;
        uint16_t back; // OK at once
    } cases[] = {
        {0, "3393", false, false, 0},
        {4, "3394", false, false, 4},
        {8 | 16, "3395", true, false, 8 | 16},
        {4 | 8 | 32, "3394", false, true, 4 | 32}, // values win when both are set
        {1 | 2 | 16, "3393", true, false, 1 | 2 | 16}, // the extension bits stay
    };
    for (const Case& c : cases) {
        CLineSettings d(c.given);
        EXPECT_TRUE(d.findChild<QRadioButton*>(QString::fromLatin1(c.radio))->isChecked()) << c.given;
        EXPECT_EQ(d.findChild<QCheckBox*>(QStringLiteral("3391"))->isChecked(), c.linear) << c.given;
        EXPECT_EQ(d.findChild<QCheckBox*>(QStringLiteral("3392"))->isChecked(), c.bars) << c.given;
        EXPECT_EQ(d.flags(), c.back) << c.given;
    }
    CLineSettings d(0);
    d.findChild<QRadioButton*>(QStringLiteral("3395"))->setChecked(true);
    d.findChild<QCheckBox*>(QStringLiteral("3391"))->setChecked(true);
    d.findChild<QCheckBox*>(QStringLiteral("3396"))->setChecked(true);
    EXPECT_EQ(d.flags(), 8 | 16);
    EXPECT_TRUE(d.setAsDefault());
    test::SaveRender(test::RenderWidget(d), "LineSettings_805");
}

} // namespace
} // namespace qv
