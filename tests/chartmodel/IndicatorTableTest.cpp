// Tests the indicator table, the 52-byte indicator record and the display names of indicator lines.
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace qv {
namespace {

TEST(IndicatorTable, EveryRowMatchesTheGoldenListing)
{
    std::ifstream golden(QV_SOURCE_DIR "/tests/chartmodel/data/IndicatorTable.txt");
    ASSERT_TRUE(golden);
    std::ostringstream expected, actual;
    expected << golden.rdbuf();
    for (int code = 0; code < kIndicatorTypes; ++code) {
        const IndicatorTexts& t = IndicatorTable[size_t(code)];
        actual << code << '|' << t.longName << '|' << t.name << '|' << t.abbreviation << '\n';
    }
    EXPECT_EQ(actual.str(), expected.str());
    EXPECT_STREQ(IndicatorTable[30].abbreviation, "TICK");
}

TEST(IndicatorTable, NamesForEveryBranch)
{
    struct Case {
        IndicatorRecord record;
        const char* name;
    } cases[] = {
        {IndicatorRecord::Of(2, 0, 14), "14 RSI (Wilder)"},
        {IndicatorRecord::Of(2, 1, 14), "14 RSI (exp)"},
        {IndicatorRecord::Of(2, 2, 14), "14 RSI (simple)"},
        {IndicatorRecord::Of(2, 3, 9), "9 RSI (simple)"},
        {IndicatorRecord::Of(11, 0, 20, 5, 1), "5-20 Price Osc. (Exponential)"},
        {IndicatorRecord::Of(11, 0, 5, 20, 0), "5-20 Price Osc. (Simple)"},
        {IndicatorRecord::Of(11, 0, 5, 20, 4), "5-20 Price Osc. (Variable)"},
        {IndicatorRecord::Of(11, 0, 5, 20, 9), "5-20 Price Osc. (Simple)"},
        {IndicatorRecord::Of(12, 0, 14, 3, 0), "14(1)%K 3%D Stochastic Osc."},
        {IndicatorRecord::Of(12, 0, 14, 3, 3), "14(3)%K 3%D Stochastic Osc."},
        {IndicatorRecord::Of(54, 7, 14), "14 -DI/+DI, ADX, ADXR"},
        {IndicatorRecord::Of(54, 2, 14), "14  ADX"},
        {IndicatorRecord::Of(54, 6, 14), "14  ADX, ADXR"},
        {IndicatorRecord::Of(54, 4 | 0x80, 14), " ADXR"},
        {IndicatorRecord::Of(8, 0, 12, 26, 9), "12, 26 MACD (9 Sig)"},
        {IndicatorRecord::Of(15, 0, 0, 5, 3), "Point & Fig. (Box 1, Reversal 3)"},
        {IndicatorRecord::Of(15, 0, 0, 25, 3), "Point & Fig. (Box 2, Reversal 3)"},
        {IndicatorRecord::Of(56, 0), ""},
        {IndicatorRecord::Of(56, 0x80), "Pivot Points"},
        {IndicatorRecord::Of(0, 0), ""},
        {IndicatorRecord::Of(35, 0), ""},
        {IndicatorRecord::Of(61, 0), ""},
        {IndicatorRecord::Of(5, 0, 10), "10 Momentum"},
        {IndicatorRecord::Of(57, 0, 14), "14 Avg. True Range"},
        {IndicatorRecord::Of(5, 0x80, 10), "Momentum"},
        {IndicatorRecord::Of(48, 0), "On Balance Vol."},
        {IndicatorRecord::Of(3, 0, 7), "Ticks"},
        {IndicatorRecord::Of(42, 0, 7), "Accumul./Distrib."},
        {IndicatorRecord::Of(58, 0, 0, 25), "Volume"},
        {IndicatorRecord::Of(58, 1, 0, 25), "Volume (25 sig)"},
        {IndicatorRecord::Of(41, 0), "Equi Volume"},
        {IndicatorRecord::Of(41, 2), "Candle Volume"},
        {IndicatorRecord::Of(46, 0, 0, 255), "+ve Volume Index (255 sig.)"},
        {IndicatorRecord::Of(49, 0, 3), "Swing Index - 3 limit move"},
        {IndicatorRecord::Of(55, 3, 0, 0, 4), "Kagi Chart (Reversal 4% of range), graph time"},
        {IndicatorRecord::Of(55, 0, 0, 0, 4), "Kagi Chart (Reversal 4%)"},
        {IndicatorRecord::Of(62, 0, 14), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetIndicatorName(c.record), c.name) << int(c.record.type) << " flags " << int(c.record.flags);
}

TEST(IndicatorTable, BreadthTypesNameTheirSource)
{
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(19, 0), "FTSE 100"), "Advance-Decline (FTSE 100)");
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(30, 0x80), "FTSE 100"), "Mkt. TRIN");
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(5, 0, 10), "ignored"), "10 Momentum");
}

TEST(IndicatorTable, NamesAreBoundedAndAnUnknownOtherShareIsEmpty)
{
    const std::string longSource(400, 'x');
    std::string name = GetIndicatorName(IndicatorRecord::Of(20, 0), longSource);
    EXPECT_EQ(name.size(), kMaxIndicatorName);
    EXPECT_EQ(name.substr(0, 17), "Advance/Decline (");

    // No database loaded: the other share is not found, so its name and description stay empty.
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(6, 0, 18, 1234)), "18 Correlation ()");
    std::string other, description = "stale";
    GetOtherShareName(RecordCursor{}, other, description);
    EXPECT_TRUE(other.empty());
    EXPECT_TRUE(description.empty());
}

class OtherShareNames : public test::DatabaseFixture {
protected:
    ~OtherShareNames() override { SetShareFieldText(nullptr); }
};

TEST_F(OtherShareNames, NameTheShareWithItsFieldTexts)
{
    dev::DbRecord share = dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM");
    dev::DbRecord index = dev::ShareRecord(0xB605, "FTSE 100", 'I', "UKX");
    index.subRecords[0].kind = SubRecordKind::Index;
    Load(dev::WriteQuorvaDat(test::OneEntry({share, index})));
    SetShareFieldText([](const RecordCursor& cursor, uint32_t field) {
        return std::string(field == 7 ? "sector" : "market") + std::to_string(RecordId(cursor.record) & 0xF);
    });
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(6, 0, 18, 0x4001)), "18 Correlation (Alpha Mining market1: sector1)");
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(16, 0, 30, 0x4001)), "30 Beta (Alpha Mining market1: sector1)");
    // An index line takes the field 7 text alone.
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(59, 0, 0, int16_t(0xB605))), "Rel. to (FTSE 100 sector5)");
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(59, 0x80, 0, int16_t(0xB605))), "Rel. to");
}

TEST(IndicatorRecord, ReadsAndWritesEveryFieldAtItsOffset)
{
    std::array<uint8_t, IndicatorRecord::kSize> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 3);
    IndicatorRecord r = IndicatorRecord::Read(bytes);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(r.flags, 10);
    EXPECT_EQ(r.period1, int16_t(0x261F));
    EXPECT_EQ(r.period4, int16_t(0x5049));
    EXPECT_EQ(r.pens[0], 0x88817A73u);
    EXPECT_EQ(r.heightWeight, int16_t(0x221B));
    std::array<uint8_t, IndicatorRecord::kSize> back{};
    r.Write(back);
    EXPECT_EQ(back, bytes);

    IndicatorRecord fresh;
    fresh.Write(back);
    EXPECT_EQ(back[2], 4); // every new record carries 4
    EXPECT_EQ(IndicatorRecord::Read(back).marker, 4);
}

} // namespace
} // namespace qv
