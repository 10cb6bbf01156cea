// The moving-average line words: unpack and pack round trips, the clamps and the Default values.
#include "chartmodel/MovAvgLines.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "core/ConfigRecords.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(MovAvgLines, RoundTripOfEveryField)
{
    MovAvgWords words{};
    MovAvgLine line;
    line.shown = true;
    line.period = 4000;
    line.envelopeWidth = 99;
    line.deviation = 5;
    line.type = 4;
    line.lagged1 = true;
    line.lagged2 = false;
    line.envelope = true;
    line.bandShown = true;
    line.bandPen = 0x12345678;
    line.linePen = 0x0000FF;
    PackMovAvgLine(words, 2, line);
    EXPECT_EQ(words[2], 4000u | (99u << 12) | (5u << 20) | (4u << 23) | (1u << 28) | (1u << 29) | (1u << 30) | (1u << 31));
    EXPECT_EQ(words[6], 0x0000FFu);
    EXPECT_EQ(words[10], 0x12345678u);
    MovAvgLine back = UnpackMovAvgLine(words, 2);
    EXPECT_EQ(back.period, 4000);
    EXPECT_EQ(back.envelopeWidth, 99);
    EXPECT_EQ(back.deviation, 5);
    EXPECT_EQ(back.type, 4);
    EXPECT_TRUE(back.lagged1 && !back.lagged2 && back.envelope && back.bandShown && back.shown);

    // Every stored default unpacks and packs again to the same words but the envelope width of 0,
    // which the packing raises to 1.
    GraphSetting s{};
    InitGraphSetting(s, false);
    MovAvgWords stored = ReadMovAvgWords(s);
    MovAvgWords again = stored;
    for (int i = 0; i < kMovAvgLines; ++i)
        PackMovAvgLine(again, i, UnpackMovAvgLine(stored, i));
    for (int i = 0; i < kMovAvgLines; ++i) {
        EXPECT_EQ(again[size_t(i)], stored[size_t(i)] | (1u << 12)) << i;
        EXPECT_EQ(again[size_t(4 + i)], stored[size_t(4 + i)]);
        EXPECT_EQ(again[size_t(8 + i)], stored[size_t(8 + i)]);
    }
}

TEST(MovAvgLines, ClampsOnPacking)
{
    struct Case {
        int period, width;
        int storedPeriod, storedWidth;
    } cases[] = {{1, 0, 2, 1}, {5000, 100, 4000, 99}, {2, 1, 2, 1}, {-3, 250, 2, 99}};
    for (const Case& c : cases) {
        MovAvgWords words{};
        MovAvgLine line;
        line.period = c.period;
        line.envelopeWidth = c.width;
        PackMovAvgLine(words, 0, line);
        MovAvgLine back = UnpackMovAvgLine(words, 0);
        EXPECT_EQ(back.period, c.storedPeriod) << c.period;
        EXPECT_EQ(back.envelopeWidth, c.storedWidth) << c.width;
    }
}

TEST(MovAvgLines, DefaultsDailyAndIntraday)
{
    const int daily[] = {20, 60, 120, 250};
    const int intraday[] = {5, 10, 15, 20};
    const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00};
    for (int i = 0; i < 4; ++i) {
        MovAvgLine d = DefaultMovAvgLine(i, false);
        MovAvgLine n = DefaultMovAvgLine(i, true);
        EXPECT_EQ(d.period, daily[i]);
        EXPECT_EQ(n.period, intraday[i]);
        EXPECT_FALSE(d.shown || d.bandShown || d.envelope);
        EXPECT_TRUE(d.lagged1 && d.lagged2);
        EXPECT_EQ(d.envelopeWidth, 10);
        EXPECT_EQ(n.envelopeWidth, 5);
        EXPECT_EQ(d.deviation, 3);
        EXPECT_EQ(n.deviation, 2);
        EXPECT_EQ(d.linePen, colours[i]);
        EXPECT_EQ(d.bandPen, colours[i]);
    }
}
