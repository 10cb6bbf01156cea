// The daily and intraday graph setting defaults, field by field from the record's tables; the
// comparison with the defaults, the special edition's presets and the indicator line styles.
#include "chartmodel/GraphSettingDefaults.h"

#include "core/LinesAndTextFiles.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace qv;

namespace {

// One field: offset, width in bytes, daily default, intraday default.
struct Field {
    size_t at;
    int width;
    uint32_t daily;
    uint32_t intraday;
};

// Typed from the setting's table, including the blocks (date range, trends, pivot, swing, support and
// resistance, events).
const std::vector<Field> kFields = {
    {0, 4, 0x18300014, 0x18000005}, {4, 4, 0x1830003C, 0x1800000A}, {8, 4, 0x18300078, 0x1800000F},
    {12, 4, 0x183000FA, 0x18000014}, {16, 4, 0x0000FF, 0x0000FF}, {20, 4, 0x00FF00, 0x00FF00},
    {24, 4, 0xFF0000, 0xFF0000}, {28, 4, 0xFFFF00, 0xFFFF00}, {32, 4, 0x0000FF, 0x0000FF},
    {36, 4, 0x00FF00, 0x00FF00}, {40, 4, 0xFF0000, 0xFF0000}, {44, 4, 0xFFFF00, 0xFFFF00},
    {48, 2, 0, 0}, {50, 2, 0, 0}, {52, 2, 60, 60}, {54, 2, 0, 0},
    {56, 4, 0, 0}, {60, 4, 0, 0}, {64, 4, 0xFF0000, 0xFF0000}, {68, 4, 0x01FF0000, 0x01FF0000},
    {72, 4, 2, 1}, {76, 4, 0, 0}, {80, 4, 60, 20},
    {1036, 2, 0, 0}, {1038, 2, 2, 1}, {1040, 4, 3, 15},
    {1044, 1, 1, 0}, {1045, 1, 1, 0}, {1046, 1, 0, 0}, {1047, 1, 3, 0}, {1048, 2, 25, 10}, {1050, 1, 0, 0},
    {1051, 1, 2, 2},
    {1052, 4, 0, 0x800000}, {1056, 4, 0x0000FF, 0x800000}, {1060, 4, 0x008000, 0x008000},
    {1064, 4, 0x4080FF, 0xFF0000}, {1068, 4, 0x800000, 0xFF00FF}, {1072, 4, 0xFF0000, 0x008000},
    {1076, 4, 0x008000, 0}, {1080, 4, 0, 0}, {1084, 4, 0x0000FF, 0}, {1088, 4, 0xFF0000, 0xFF0000},
    {1092, 4, 2, 2}, {1096, 4, 2, 2}, {1100, 4, 0xC0C0C0, 0xC0C0C0}, {1104, 4, 0x800000, 0},
    {1108, 4, 0xC0C0C0, 0xC0C0C0}, {1112, 4, 0x800000, 0x800000}, {1116, 4, 0, 0},
    {1120, 4, 0xFFFFFF, 0xFFFFFF}, {1124, 4, 0x800000, 0x800000}, {1128, 4, 0, 0},
    {1132, 4, 0xFFFFFF, 0xFFFFFF}, {1136, 4, 0x808080, 0x808080}, {1140, 4, 0x0000FF, 0x0000FF},
    {1144, 2, 0x0010, 0x0FDA}, {1146, 1, 1, 1}, {1147, 1, 0, 1}, {1148, 1, 0, 1}, {1149, 1, 0, 1},
    {1150, 1, 0, 0}, {1152, 4, 0, 0}, {1156, 4, 0, 0}, {1160, 4, 0, 9}, {1164, 4, 0, 0x10FF0000},
    {1168, 4, 0, 0xFF0000}, {1172, 4, 0, 0xFFE0A0}, {1176, 4, 0, 0xFF0000}, {1180, 4, 0, 0xFFF0E0},
    {1184, 4, 0xDCDCDC, 0xDCDCDC}, {1188, 4, 0, 5}, {1192, 1, 0, 1}, {1193, 1, 0, 1}, {1194, 2, 0, 0},
    {1196, 1, 0, 3}, {1197, 1, 0, 2}, {1200, 4, 0, 28800}, {1204, 4, 0, 59400}, {1208, 2, 19, 19},
    {1210, 1, 0, 0}, {1212, 2, 200, 200}, {1216, 2, 0, 0}, {1220, 4, 0xFFF0E0, 0xFFF0E0},
    {1224, 4, 0xFFFFFF, 0xFFFFFF}, {1228, 4, 0, 0x1000FF00}, {1232, 4, 0, 0x100000FF}, {1236, 2, 0, 770},
    {1238, 2, 1, 1}, {1240, 4, 0, 0x0000FF}, {1244, 4, 0xF0F0F0, 0xF0F0F0}, {1248, 2, 36, 36},
    {1250, 1, 2, 0}, {1252, 4, 0xC0C0FF, 0xC0C0FF}, {1256, 4, 0xC0FFC0, 0xC0FFC0},
    {1260, 4, 0xE0E0E0, 0xE0E0E0}, {1264, 2, 100, 0}, {1266, 1, 34, 0}, {1267, 1, 0, 0}, {1268, 1, 2, 0},
    {1269, 1, 3, 0}, {1270, 2, 0, 0}, {1272, 4, 10, 10}, {1308, 4, 0, 0}, {1312, 4, 0x0000FF, 0},
    {1316, 1, 3, 0}, {1372, 4, 0, 0xFF0000}, {1376, 4, 0, 0x00FF00},
    // Both pivot blocks.
    {1460, 4, 0, 0}, {1464, 4, 0, 0}, {1468, 4, 0x02FF0000, 0x02FF0000}, {1472, 4, 0xFFFF00, 0xFFFF00},
    {1476, 4, 0x0000FF, 0x0000FF}, {1480, 4, 0xFFFF00, 0xFFFF00}, {1484, 4, 0x0000FF, 0x0000FF},
    {1496, 4, 0, 0}, {1504, 4, 0x02FF0000, 0x02FF0000}, {1508, 4, 0xFFFF00, 0xFFFF00},
    {1512, 4, 0x0000FF, 0x0000FF}, {1516, 4, 0xFFFF00, 0xFFFF00}, {1520, 4, 0x0000FF, 0x0000FF},
    // Support and resistance.
    {1532, 4, 0, 0}, {1536, 4, 0x0000FF, 0x0000FF}, {1540, 4, 0x0000FF, 0x0000FF},
    {1544, 4, 0xFF0000, 0xFF0000}, {1548, 4, 0xFF0000, 0xFF0000},
    // Swing.
    {1560, 4, 3190, 3190}, {1564, 4, 3, 3}, {1568, 4, 0xFF0000, 0xFF0000}, {1572, 4, 0x0000FF, 0x0000FF},
    {1576, 4, 0x00FF00, 0x00FF00}, {1580, 4, 0xFFF0F0, 0xFFF0F0}, {1584, 4, 0xF0F0FF, 0xF0F0FF},
    {1588, 4, 0x41FF0000, 0x41FF0000}, {1592, 4, 0x410000FF, 0x410000FF}, {1596, 4, 0x20FF0000, 0x20FF0000},
    {1600, 4, 0x200000FF, 0x200000FF}, {1604, 4, 0x30FFFF00, 0x30FFFF00}, {1608, 4, 0x20FFFF00, 0x20FFFF00},
    {1612, 4, 0x30FF00FF, 0x30FF00FF}, {1616, 4, 0x20FF00FF, 0x20FF00FF}, {1620, 4, 0x30000000, 0x30000000},
    {1624, 4, 0x30000000, 0x30000000},
    // Events: the leading word, entry 0, entry 10 (white first colour) and entry 12 (the last lettered).
    {1732, 4, 0, 0}, {1736, 1, 0, 0}, {1737, 1, 1, 1}, {1738, 1, 4, 4}, {1739, 1, 'n', 'n'},
    {1740, 4, 0x40000000, 0x40000000}, {1744, 4, 0xE0E0E0, 0xE0E0E0}, {1748, 4, 0x02000000, 0x02000000},
    {1736 + 160 + 3, 1, 'I', 'I'}, {1736 + 160 + 4, 4, 0x40FFFFFF, 0x40FFFFFF},
    {1736 + 160 + 8, 4, 0x000060, 0x000060}, {1736 + 160 + 12, 4, 0x02E0E0E0, 0x02E0E0E0},
    {1736 + 192 + 3, 1, 's', 's'}, {1736 + 192 + 4, 4, 0x40DCDCFF, 0x40DCDCFF},
    {1736 + 192 + 8, 4, 0x000080, 0x000080}, {1736 + 192 + 12, 4, 0x020000FF, 0x020000FF},
    {1736 + 208 + 3, 1, 0, 0}, {1736 + 208 + 4, 4, 0, 0},
};

uint32_t Read(const GraphSetting& s, const Field& f)
{
    if (f.width == 1)
        return s.bytes[f.at];
    if (f.width == 2)
        return LoadU16(s.data() + f.at);
    return LoadU32(s.data() + f.at);
}

TEST(GraphSettingDefaults, EveryTabledFieldOfBothVariants)
{
    for (bool intraday : {false, true}) {
        GraphSetting s;
        s.bytes.fill(0xAB);
        InitGraphSetting(s, intraday);
        for (const Field& f : kFields)
            EXPECT_EQ(Read(s, f), intraday ? f.intraday : f.daily)
                << "offset " << f.at << (intraday ? " intraday" : " daily");
        EXPECT_STREQ(reinterpret_cast<const char*>(s.data() + 1276), "Arial");
        // The four add-on windows and the added graphs are empty.
        for (size_t at = 84; at < 1036; ++at)
            ASSERT_EQ(s.bytes[at], 0) << at;
    }
}

TEST(GraphSettingDefaults, EveryEventEntryHasTheTwoStyleBytesAndItsLetter)
{
    GraphSetting s;
    InitGraphSetting(s, false);
    const char* letters = "nXARDBSTCEIbs";
    for (int i = 0; i < 16; ++i) {
        size_t at = 1736 + 16 * size_t(i);
        EXPECT_EQ(s.bytes[at + 1], 1);
        EXPECT_EQ(s.bytes[at + 2], 4);
        EXPECT_EQ(s.bytes[at + 3], i < 13 ? uint8_t(letters[i]) : 0) << i;
    }
}

TEST(GraphSettingDefaults, OnlyTheListedPartsCountAsDifferent)
{
    for (bool intraday : {false, true}) {
        GraphSetting s;
        InitGraphSetting(s, intraday);
        EXPECT_FALSE(GraphSettingDiffersFromDefault(s, intraday));
        // Lines, colours, the style block, pivot, swing and support-resistance are not compared.
        for (size_t at : {size_t(0), size_t(20), size_t(1045), size_t(1276), size_t(1470), size_t(1570),
                          size_t(1540)})
            s.bytes[at] ^= 0x5A;
        EXPECT_FALSE(GraphSettingDiffersFromDefault(s, intraday));
        for (size_t at : {size_t(84 + 208 * 3 + 52 * 2), size_t(916 + 24 * 4 + 22), size_t(60), size_t(52),
                          size_t(1042), size_t(1732 + 100)}) {
            GraphSetting changed = s;
            changed.bytes[at] ^= 1;
            EXPECT_TRUE(GraphSettingDiffersFromDefault(changed, intraday)) << at;
        }
        // The other variant's defaults differ in the trends block.
        GraphSetting other;
        InitGraphSetting(other, !intraday);
        EXPECT_TRUE(GraphSettingDiffersFromDefault(other, intraday));
    }
}

class LineStylesTest : public ::testing::Test {
protected:
    void SetUp() override { LinesAndTextStore().FreeItems(); }
    void TearDown() override { LinesAndTextStore().FreeItems(); }
    static int Count()
    {
        int n = 0;
        LinesAndTextStore().ForEachItem([&](const KeyedItemKey& key, const uint8_t* blob) {
            n += key.kind == kLineStyleKind && blob ? 1 : 0;
        });
        return n;
    }
};

TEST_F(LineStylesTest, DefaultsByTypeAndBackground)
{
    InitIndicatorLineStyles();
    struct Case {
        uint32_t key, type;
        std::vector<uint32_t> pens;
    };
    const Case cases[] = {
        {0, 1, {0x800000}},
        {1, 59, {0xFFC0C0}},
        {0, 8, {0x800000, 0x02800000, 0x00FF00, 0x008000}},
        {1, 8, {0xFFC0C0, 0x02FFC0C0, 0x00FF00, 0xC8FF96}},
        {1, 47, {0xFFC0C0, 0x02FFC0C0}},
        {0, 15, {0x800000, 0x800000}},
        {1, 54, {0xFFC0C0, 0x0200FFFF, 0x020000FF, 0x02FFC0C0}},
        {0, 55, {0x20800000, 0x800000}},
        {1, 58, {0x00FFFF, 0xFF0000, 0x0000FF}},
        {0, 31, {}},
        {1, 40, {}},
        {0, 60, {}},
    };
    for (const Case& c : cases) {
        std::array<uint32_t, kMaxLineStyles> pens{};
        int n = LoadIndicatorLineStyles(pens, c.key, c.type);
        ASSERT_EQ(n, int(c.pens.size())) << c.type;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(pens[size_t(i)], c.pens[size_t(i)]) << c.type << " pen " << i;
        if (n > 0) {
            EXPECT_EQ(LoadU32(LinesAndTextStore().GetItem(c.key, kLineStyleKind, c.type)), 8 + 4 * uint32_t(n));
        }
    }
    // 59 types less the ten of 31-40, under both keys.
    EXPECT_EQ(Count(), 2 * 49);
}

TEST_F(LineStylesTest, ASecondRunStoresNothingAndAKeyZeroTypeGetsOnlyItsDarkDefaults)
{
    const uint32_t mine[] = {0x123456, 0x02ABCDEF};
    SaveIndicatorLineStyles(mine, 0, 9);
    InitIndicatorLineStyles();
    std::array<uint32_t, kMaxLineStyles> pens{};
    ASSERT_EQ(LoadIndicatorLineStyles(pens, 0, 9), 2);
    EXPECT_EQ(pens[0], 0x123456u);
    EXPECT_EQ(pens[1], 0x02ABCDEFu);
    ASSERT_EQ(LoadIndicatorLineStyles(pens, 1, 9), 2);
    EXPECT_EQ(pens[0], 0xFFC0C0u);

    const uint8_t* before = LinesAndTextStore().GetItem(1, kLineStyleKind, 9);
    int count = Count();
    InitIndicatorLineStyles();
    EXPECT_EQ(Count(), count);
    EXPECT_EQ(LinesAndTextStore().GetItem(1, kLineStyleKind, 9), before);
}

TEST(GraphSettingPresets, PresetTwoAndThreeFromDailyDefaults)
{
    LinesAndTextStore().FreeItems();
    GraphSetting s;
    InitGraphSetting(s, false);
    s.bytes[84 + 208 * 3] = 5; // an indicator of window 3 is cleared
    InitVexaGraphSetting(s, 2);
    EXPECT_EQ(s.bytes[84], 8);
    EXPECT_EQ(s.bytes[85], 129);
    EXPECT_EQ(LoadU16(s.data() + 84 + 2), 4);
    EXPECT_EQ(LoadU16(s.data() + 84 + 4), 12);
    EXPECT_EQ(LoadU16(s.data() + 84 + 6), 26);
    EXPECT_EQ(LoadU16(s.data() + 84 + 8), 9);
    EXPECT_EQ(LoadU32(s.data() + 84 + 20), 0x02008000u);
    EXPECT_EQ(LoadU16(s.data() + 84 + 40), 300);
    EXPECT_EQ(s.bytes[84 + 208], 12);
    EXPECT_EQ(LoadU16(s.data() + 84 + 208 + 10), 1);
    EXPECT_EQ(LoadU16(s.data() + 84 + 208 + 40), 200);
    EXPECT_EQ(s.bytes[84 + 416], 2);
    EXPECT_EQ(LoadU16(s.data() + 84 + 416 + 40), 150);
    EXPECT_EQ(s.bytes[84 + 624], 0);
    EXPECT_EQ(LoadU32(s.data()), 0xD820A014u);
    EXPECT_EQ(LoadU32(s.data() + 4), 0u);
    EXPECT_EQ(LoadU32(s.data() + 16), 0x00FF00u);
    EXPECT_EQ(LoadU32(s.data() + 32), 0x00FF00u);
    EXPECT_EQ(LoadU32(s.data() + 56), 1u);
    EXPECT_EQ(LoadU32(s.data() + 72), 4u);
    EXPECT_EQ(LoadU32(s.data() + 1560), 0u);
    EXPECT_EQ(LoadU16(s.data() + 1208), 19 | 128);
    EXPECT_EQ(LoadU16(s.data() + 1036), 1);
    EXPECT_EQ(s.bytes[1045], 1);
    EXPECT_EQ(s.bytes[1051], 1);
    EXPECT_EQ(s.bytes[1250], 1);
    EXPECT_EQ(LoadU16(s.data() + 1212), 100);

    InitVexaGraphSetting(s, 3);
    EXPECT_EQ(s.bytes[84], 23);
    EXPECT_EQ(LoadU16(s.data() + 84 + 8), 4);
    EXPECT_EQ(s.bytes[84 + 208], 6);
    EXPECT_EQ(LoadU16(s.data() + 84 + 208 + 6), 46597);
    EXPECT_EQ(s.bytes[84 + 416], 0);
    EXPECT_EQ(LoadU32(s.data()), 0u);
}

TEST(GraphSettingPresets, StoredStylesOfThePresetKeyReplaceThePens)
{
    LinesAndTextStore().FreeItems();
    const uint32_t macd[] = {0x111111, 0x222222};
    const uint32_t trend[] = {0x333333, 0x444444};
    const uint32_t line[] = {0x555555, 0x666666};
    SaveIndicatorLineStyles(macd, 2, 8);
    SaveIndicatorLineStyles(trend, 2, 0x10000);
    SaveIndicatorLineStyles(line, 2, 0x20000);
    SaveIndicatorLineStyles(macd, 3, 8); // another key's styles do not reach preset 2's line 1
    GraphSetting s;
    InitGraphSetting(s, false);
    InitVexaGraphSetting(s, 2);
    EXPECT_EQ(LoadU32(s.data() + 84 + 16), 0x111111u);
    EXPECT_EQ(LoadU32(s.data() + 84 + 20), 0x222222u);
    EXPECT_EQ(LoadU32(s.data() + 84 + 24), 0x00FF00u); // beyond the stored two, the preset's own
    EXPECT_EQ(LoadU32(s.data() + 64), 0x333333u);
    EXPECT_EQ(LoadU32(s.data() + 68), 0x444444u);
    EXPECT_EQ(LoadU32(s.data() + 16), 0x555555u);
    EXPECT_EQ(LoadU32(s.data() + 32), 0x666666u);
    LinesAndTextStore().FreeItems();
}

} // namespace
