// Study keys: the price and volume series keep the keys their stored lines were saved under, and an
// indicator's key packs its periods and flags by type.
#include "chartmodel/StudyKey.h"

#include "chartmodel/IndicatorRecord.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(StudyKey, PriceAndVolumeKeepTheirStoredKeys)
{
    EXPECT_EQ(MakeStudyKey(1, nullptr), 0x01000000u);
    EXPECT_EQ(MakeStudyKey(2, nullptr), 0x02000000u);
    // Below 4 the record plays no part.
    const IndicatorRecord rsi = IndicatorRecord::Of(2, 0, 14);
    EXPECT_EQ(MakeStudyKey(1, &rsi), 0x01000000u);
    EXPECT_EQ(MakeStudyKey(4, nullptr), 0x04000000u);
}

TEST(StudyKey, IndicatorKeysPackTheirFieldsByType)
{
    struct Case {
        IndicatorRecord record;
        uint32_t key;
    };
    const Case cases[] = {
        {IndicatorRecord::Of(2, 0, 14), 0x060E0000u},            // RSI: period and flags
        {IndicatorRecord::Of(2, 5, 270), 0x060E0005u},           // only the period's low byte
        {IndicatorRecord::Of(8, 3, 12, 26, 9), 0x0C0C1A00u},     // MACD: two periods, no flags
        {IndicatorRecord::Of(11, 0, 5, 20, 3), 0x0F051403u},     // price oscillator: three
        {IndicatorRecord::Of(42, 0, 9), 0x2E000000u},            // accumulation: nothing packed
        {IndicatorRecord::Of(48, 1, 9), 0x34000000u},            // on-balance volume
        {IndicatorRecord::Of(14, 0, 9), 0x12000000u},            // up/down count
        {IndicatorRecord::Of(57, 0, 14, 3), 0x3D0E0000u},        // others: the first period
        {IndicatorRecord::Of(20, 0, 0, 0, 0x1FF), 0x1800007Fu},  // breadth: a market group's low 7 bits
        {IndicatorRecord::Of(20, 1, 0, 0, 0, 0x0203), 0x18020380u}, // breadth: a portfolio
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeStudyKey(5, &c.record), c.key) << int(c.record.type);
}

// An older store's market-breadth item (type + 4 and a market group 0-3) takes the key the chart
// gives that type over that group now.
TEST(StudyKey, OlderBreadthItemsTakeTheirStudyKeys)
{
    for (int type = 18; type <= 30; ++type)
        for (int group = 0; group <= 3; ++group) {
            const IndicatorRecord record = IndicatorRecord::Of(type, 0, 0, 0, group);
            EXPECT_EQ(MakeSlotKey(record), uint32_t(group));
            EXPECT_EQ(BreadthStudyKeyOf(uint32_t(type + 4) << 24 | uint32_t(group)), MakeStudyKey(4, &record))
                << type << " " << group;
        }
}

} // namespace
} // namespace qv
