// The stored face names draw in their metric-compatible stand-ins. The tests' font set has no
// fontconfig aliases, so only the program's own substitutions can make these hold.
#include "platform/qt/QtFonts.h"

#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

using namespace qv;

TEST(QtFontsTest, StoredFacesDrawInTheirMetricCompatibleStandIns)
{
    const struct {
        const char* face;
        const char* drawnIn;
    } cases[] = {
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Liberation Serif", "Liberation Serif"},
        {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const auto& c : cases) {
        QFont font(QString::fromLatin1(c.face));
        font.setPixelSize(13);
        EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(c.drawnIn)) << c.face;
        EXPECT_TRUE(FaceAvailable(QString::fromLatin1(c.face))) << c.face;
    }
    EXPECT_FALSE(FaceAvailable(QStringLiteral("No Such Face Anywhere")));
    EXPECT_FALSE(FaceAvailable(QString()));
}
