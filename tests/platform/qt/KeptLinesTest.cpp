// A message's writer-made lines: the label is made wide enough for the widest, within its bounds.
#include "platform/qt/KeptLines.h"

#include <QApplication>
#include <QFontMetrics>
#include <QString>

#include <gtest/gtest.h>

using namespace qv;

TEST(KeptLines, TheWidestLineSetsTheWidthWithinItsBounds)
{
    const QFontMetrics metrics(QApplication::font());
    const QString longLine = QStringLiteral("Due to the large volume of data involved, backfill of");
    const int wide = metrics.horizontalAdvance(longLine) + 4;
    EXPECT_EQ(KeptLinesWidth(metrics, longLine, 100, 2000), 100) << "one line: the wrap lays it out";
    EXPECT_EQ(KeptLinesWidth(metrics, longLine + QStringLiteral("\nshort"), 100, 2000), wide);
    EXPECT_EQ(KeptLinesWidth(metrics, QStringLiteral("a\nb"), 100, 2000), 100) << "never below the least";
    EXPECT_EQ(KeptLinesWidth(metrics, longLine + QStringLiteral("\nx"), 0, 50), 50) << "never above the most";
}
