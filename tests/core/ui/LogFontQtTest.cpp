// Stored font descriptions to Qt fonts and back.
#include "core/ui/LogFontQt.h"

#include <QFont>
#include <gtest/gtest.h>

using namespace qv;

TEST(LogFontQt, RoundTrip)
{
    LogFont font;
    font.setFaceName("Arial");
    font.height = HeightForPoints(12, 96);
    font.weight = 700;
    font.underline = 1;
    QFont qt = FontFromLogFont(font, 96);
    EXPECT_EQ(qt.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(qt.pointSizeF(), 12.0);
    EXPECT_TRUE(qt.bold());
    EXPECT_TRUE(qt.underline());
    LogFont back = LogFontFromFont(qt, 96);
    EXPECT_EQ(back.height, font.height);
    EXPECT_EQ(back.weight, 700);
    EXPECT_EQ(back.underline, 1);
    EXPECT_EQ(back.faceName(), "Arial");
}
