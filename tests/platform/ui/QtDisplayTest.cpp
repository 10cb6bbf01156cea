// The Qt display host: the application's screens and its font families.
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtText.h"

#include <QFontDatabase>
#include <QStringList>
#include <gtest/gtest.h>

using namespace qv;

TEST(QtDisplayTest, ScreensAndFontsFromTheApplication)
{
    QtDisplayHost host;
    auto monitors = host.monitorRects();
    ASSERT_TRUE(monitors.has_value());
    ASSERT_FALSE(monitors->empty());
    EXPECT_GT(monitors->front().right, monitors->front().left);
    ScreenRect desktop = host.desktopRect();
    EXPECT_GE(desktop.right - desktop.left, monitors->front().right - monitors->front().left);

    auto families = QFontDatabase::families(QFontDatabase::Latin);
    ASSERT_FALSE(families.isEmpty());
    EXPECT_TRUE(host.hasFontFamily(ToCp1252(families.front().toLower())));
    EXPECT_FALSE(host.hasFontFamily("No Such Face Anywhere"));
}
