// The price list's rows: closes and OHLC, missing, closed and suspended days, change, volume
// rounding, order, the title and heads.
#include "tools/PriceListRows.h"

#include "core/VarInt.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

class PriceListRows : public DatabaseFixture {
protected:
    // Monday 4 March 2024 100.00, Tuesday missing ('C'), Wednesday closed ('A'), Thursday 110.00.
    RecordCursor Share()
    {
        dev::DbRecord record = dev::ShareRecord(0x4001, "Abcdef Widgets", 0, "ABC");
        dev::DbSubRecord& sub = record.subRecords[0];
        sub.priceScale = 1;
        sub.firstDate = Date(2024, 3, 4);
        uint8_t buf[8];
        uint8_t* end = EncodeVarInt(100, buf);
        sub.body.assign(buf, end);
        sub.body.push_back(kStreamDayC);
        sub.body.push_back(kStreamDayA);
        end = EncodeVarInt(10, buf);
        sub.body.insert(sub.body.end(), buf, end);
        sub.body.push_back(kStreamEnd);
        Load(dev::WriteQuorvaDat(OneEntry({record})));
        return FindRecordById(0x4001, 0);
    }

    std::vector<std::string> Texts(const PriceListMode& mode)
    {
        std::vector<std::string> texts;
        for (const PriceListRow& row : BuildPriceListRows(Share(), mode))
            texts.push_back(row.text);
        return texts;
    }
};

TEST_F(PriceListRows, RowsByTheOptions)
{
    PriceListMode mode;
    EXPECT_EQ(Texts(mode), (std::vector<std::string>{"Thu\t07/03/24\t110.00", "Wed\t06/03/24\tClosed",
                                                     "Mon\t04/03/24\t100.00"}));
    mode.options.daysWithoutData = true;
    mode.options.oldestFirst = true;
    mode.options.percentChange = true;
    EXPECT_EQ(Texts(mode), (std::vector<std::string>{"Mon\t04/03/24\t100.00", "Tue\t05/03/24\tMissing",
                                                     "Wed\t06/03/24\tClosed", "Thu\t07/03/24\t110.00\t+ 10.0%  "}));
    mode = {};
    mode.editedPrices = true;
    EXPECT_EQ(Texts(mode).front(), "Thu\t07/03/24\t110.00\t110.00\t110.00\t110.00\t0");
    mode = {};
    mode.options.editedOnly = true;
    EXPECT_EQ(Texts(mode), std::vector<std::string>{"No edited prices"});
}

TEST(PriceListText, VolumesKeepFiveDigitsAndTitlesNameTheFields)
{
    struct Case {
        double volume;
        const char* text;
    };
    for (const Case& c : {Case{1234567, "1,234,500"}, Case{1234597, "1,234,600"}, Case{999999, "1,000,000"},
                          Case{12345, "12,345"}, Case{0, "0"}, Case{99999, "99,999"}})
        EXPECT_EQ(FormatPriceListVolume(c.volume), c.text) << c.volume;

    PriceListMode mode;
    EXPECT_EQ(PriceListTitle("Acme", mode), "Price List for Acme - Closing price");
    EXPECT_EQ(PriceListHeads(mode), std::vector<std::string>{"Close"});
    mode.options = {true, true, true, true, false, false, false, true};
    EXPECT_EQ(PriceListTitle("Acme", mode), "Edited Price List for Acme - OHLC, price change, Volume, Adjusted");
    EXPECT_EQ(PriceListHeads(mode),
              (std::vector<std::string>{"Open", "High", "Low", "Close", "Change", "Volume", "Adjustment"}));
    EXPECT_EQ(UnpackPriceListOptions(PackPriceListOptions(mode.options)), mode.options);
}

} // namespace
} // namespace qv::test
