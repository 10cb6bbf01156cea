// Tests of derived values of the database records.
#include "core/ShareStatistics.h"

#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "platform/ByteOrder.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

struct RatioCase {
    const char* what;
    std::vector<dev::DbItem> items;
    float close;
    uint8_t resultsCurrency;
    float earnings;   // expected at offset 12
    uint16_t date;    // expected at offset 16
    uint16_t ratio;   // expected at offset 20
};

class ShareStatistics : public DatabaseFixture {
protected:
    void TearDown() override { GetExchangeRates() = ExchangeRates{}; }

    // Loads one share per case and sets its stored last close.
    void LoadCases(const std::vector<RatioCase>& cases)
    {
        dev::DbFile db;
        dev::CompFile comp;
        comp.records.descriptors = {{115, 0xE0, {}}};
        auto& records = db.entries.emplace_back().records;
        for (size_t i = 0; i < cases.size(); ++i) {
            dev::DbRecord r = dev::ShareRecord(uint16_t(0x4001 + i), "Share", 'O', "SHR");
            r.items = cases[i].items;
            records.push_back(r);
            comp.records.items.push_back({uint16_t(0x4001 + i), 0, {{115, {cases[i].resultsCurrency}}}});
        }
        std::vector<uint8_t> compImage = dev::WriteCompDat(comp);
        Load(dev::WriteQuorvaDat(db), &compImage);
        for (size_t i = 0; i < cases.size(); ++i)
            StoreF32(FirstSubRecord(RecordIndex[0x4001 + i]) + kStatLastClose, cases[i].close);
    }
};

constexpr uint16_t kJan = PackDate(4, 1, 1999), kJun = PackDate(1, 6, 1999), kDec = PackDate(1, 12, 1999);

} // namespace

TEST_F(ShareStatistics, RatioComesFromTheLastResultsItemAndTheClose)
{
    GetExchangeRates() = {1.25f, 1.6f};
    std::vector<RatioCase> cases = {
        {"last type 0 wins over a later type 2", {dev::MakeItem(0, 12.5f, kJan), dev::MakeItem(2, 20, kDec)}, 250, 0,
         12.5f, kJan, 2000},
        {"type 2 items alone: the last", {dev::MakeItem(2, 10, kJan), dev::MakeItem(2, 20, kJun)}, 250, 0, 20, kJun,
         1250},
        {"other types are passed over", {dev::MakeItem(0, 25, kJan), dev::MakeItem(1, 1, kDec)}, 250, 0, 25, kJan,
         1000},
        {"rounded to nearest", {dev::MakeItem(0, 3, kJan)}, 100, 0, 3, kJan, 3333},
        {"earnings of 0 or below", {dev::MakeItem(0, -5, kJan)}, 250, 0, -5, kJan, 0},
        {"capped", {dev::MakeItem(0, 0.001f, kJan)}, 250, 0, 0.001f, kJan, 50000},
        {"results in euros", {dev::MakeItem(0, 12.5f, kJan)}, 250, 6, 12.5f, kJan, 2500},
        {"results in dollars", {dev::MakeItem(0, 16, kJan)}, 250, 3, 16, kJan, 2500},
        {"a falling close below zero", {dev::MakeItem(0, 10, kJan)}, -5, 0, 10, kJan, 0},
        {"no results item", {dev::MakeItem(5, 10, kJan)}, 250, 0, 0, 0, 0},
        {"no items", {}, 250, 0, 0, 0, 0},
    };
    LoadCases(cases);
    UpdateAllRecordRatios();
    for (size_t i = 0; i < cases.size(); ++i) {
        const uint8_t* r = RecordIndex[0x4001 + i];
        EXPECT_EQ(LoadF32(r + 12), cases[i].earnings) << cases[i].what;
        EXPECT_EQ(LoadU16(r + 16), cases[i].date) << cases[i].what;
        EXPECT_EQ(LoadU16(r + 20), cases[i].ratio) << cases[i].what;
    }
}

TEST_F(ShareStatistics, ARateOfZeroOrBelowGivesARatioOfZero)
{
    LoadCases({{"euros", {dev::MakeItem(0, 12.5f, kJan)}, 250, 6, 12.5f, kJan, 0},
               {"pounds", {dev::MakeItem(0, 12.5f, kJan)}, 250, 0, 12.5f, kJan, 2000}});
    for (float rate : {0.0f, -1.0f}) {
        GetExchangeRates() = {rate, rate};
        UpdateAllRecordRatios();
        EXPECT_EQ(LoadU16(RecordIndex[0x4001] + 20), 0);
        EXPECT_EQ(LoadF32(RecordIndex[0x4001] + 12), 12.5f);
        EXPECT_EQ(LoadU16(RecordIndex[0x4002] + 20), 2000);
    }
}

TEST_F(ShareStatistics, TheHighLowBaseDateFollowsTheOption)
{
    LatestDatabaseDate = PackDate(15, 3, 2000);
    GetHighLowOption() = {1, 20, PackDate(1, 1, 1999), PackDate(2, 2, 1998)};
    EXPECT_EQ(HighLowBaseDate(), PackDate(24, 2, 2000));
    GetHighLowOption().mode = 2;
    EXPECT_EQ(HighLowBaseDate(), PackDate(1, 1, 1999));
    GetHighLowOption().mode = 3;
    EXPECT_EQ(HighLowBaseDate(), PackDate(2, 2, 1998));
    GetHighLowOption().mode = 0;
    EXPECT_EQ(HighLowBaseDate(), PackDate(15, 3, 2000));
    GetHighLowOption() = HighLowOption{};
    LatestDatabaseDate = 0;
}

TEST_F(ShareStatistics, TheLoadFillsTheRatioExceptForDollarPricesAndUnitTrusts)
{
    dev::PriceHistory history;
    history.firstDate = PackDate(4, 1, 1999);
    for (int close : {240, 250}) {
        dev::HistoryDay day;
        day.close = close;
        history.days.push_back(day);
    }
    std::vector<uint8_t> stream;
    ASSERT_TRUE(dev::EncodePriceStream(history, stream));
    dev::DbFile db;
    auto& records = db.entries.emplace_back().records;
    for (uint16_t id : {0x4001, 0x4002, 0x4003}) {
        dev::DbRecord r = dev::ShareRecord(id, "Share", 'O', "SHR");
        r.items = {dev::MakeItem(0, 12.5f, kJan)};
        r.subRecords[0].priceScale = 1;
        r.subRecords[0].firstDate = history.firstDate;
        r.subRecords[0].body = stream;
        records.push_back(r);
    }
    records[1].head[0] = 3;
    records[2].subRecords[0].kind = SubRecordKind::UnitTrust;
    Load(dev::WriteQuorvaDat(db));
    EXPECT_EQ(LoadF32(FirstSubRecord(RecordIndex[0x4001]) + kStatLastClose), 250.0f);
    EXPECT_EQ(LoadU16(RecordIndex[0x4001] + 20), 2000);
    EXPECT_EQ(LoadF32(RecordIndex[0x4001] + 12), 12.5f);
    EXPECT_EQ(LoadU16(RecordIndex[0x4002] + 20), 0);
    EXPECT_EQ(LoadF32(RecordIndex[0x4002] + 12), 0.0f);
    EXPECT_EQ(LoadU16(RecordIndex[0x4003] + 20), 0);
}
