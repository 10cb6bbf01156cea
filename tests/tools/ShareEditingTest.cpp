// The share editor's rules: code lists, interpolation, anomalies, adjustment, a new start date, and
// an item read and rebuilt with its missing, closed and suspended days.
#include "tools/ShareEditing.h"

#include "core/ImportsFile.h"
#include "core/Memory.h"
#include "core/PriceImport.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

constexpr float M = kEntryMissing, X = kEntryClosed, S = kEntrySuspended;

TEST(ShareEditing, CodeListsStoreTheirCodes)
{
    struct Case {
        CodeList list;
        const char* text;
        uint8_t code;
    };
    for (const Case& c : {Case{ShareTypeList(), "Bond", 14}, Case{ShareTypeList(), "<<blank>>", 15},
                          Case{ListingList(), "Full", 0}, Case{CurrencyList(), "Euros", 6},
                          Case{EventList(), "Rights", 2}}) {
        size_t i = 0;
        while (i < c.list.texts.size() && std::string_view(c.list.texts[i]) != c.text)
            ++i;
        ASSERT_LT(i, c.list.texts.size()) << c.text;
        EXPECT_EQ(c.list.codes[i], c.code) << c.text;
        EXPECT_EQ(c.list.IndexOf(c.code), int(i)) << c.text;
    }
    EXPECT_EQ(ShareTypeList().IndexOf(6), 0) << "a type without an entry shows <<blank>>";
}

TEST(ShareEditing, PriceOperations)
{
    std::vector<float> prices = {100, M, M, M, M, 110, X, 120, S, 122};
    ASSERT_TRUE(InterpolatePrices(prices));
    EXPECT_EQ(prices, (std::vector<float>{100, 102, 104, 106, 108, 110, X, 120, 121, 122}));
    std::vector<float> one = {M, 5, M};
    EXPECT_FALSE(InterpolatePrices(one));

    const std::vector<float> jumps = {100, 101, 150, 151};
    EXPECT_EQ(FindNextAnomaly(jumps, 0, 0.10), std::optional<size_t>(2));
    EXPECT_EQ(FindNextAnomaly(jumps, 3, 0.10), std::optional<size_t>(3)) << "the turn after a jump is one too";
    EXPECT_EQ(FindNextAnomaly({100, 150, 151, 152, 153}, 4, 0.10), std::optional<size_t>(1)) << "it wraps";
    EXPECT_EQ(FindNextAnomaly(jumps, 0, 0.60), std::nullopt);

    std::vector<float> adjusted = {10, M, 20, 30};
    AdjustPrices(adjusted, 2, 0.5);
    EXPECT_EQ(adjusted, (std::vector<float>{5, M, 10, 30}));

    // The entry an adjustment date reaches, in an array of six weekdays from Thursday 7 March.
    struct Case {
        PackedDate date;
        std::optional<size_t> entry;
    };
    for (const Case& c : {Case{Date(2024, 3, 6), std::nullopt}, Case{Date(2024, 3, 7), 0}, Case{Date(2024, 3, 9), 1},
                          Case{Date(2024, 3, 11), 2}, Case{Date(2024, 3, 14), 5}, Case{Date(2025, 1, 1), 5}})
        EXPECT_EQ(EntryOnOrBefore(Date(2024, 3, 7), c.date, 6), c.entry) << c.date;
    EXPECT_EQ(EntryOnOrBefore(Date(2024, 3, 7), Date(2024, 3, 8), 0), std::nullopt);
}

TEST(ShareEditing, ANewStartDateAddsOrDropsDays)
{
    EditedItem item;
    item.firstDate = Date(2024, 3, 11);
    item.prices = {5, 6};
    EXPECT_EQ(SetStartDate(item, Date(2024, 3, 4), false), StartDateResult::Moved);
    EXPECT_EQ(item.prices, (std::vector<float>{M, M, M, M, M, 5, 6}));
    EXPECT_EQ(item.firstDate, Date(2024, 3, 4));
    EXPECT_EQ(SetStartDate(item, Date(2024, 3, 11), false), StartDateResult::Moved) << "only missing days go";
    EXPECT_EQ(item.prices, (std::vector<float>{5, 6}));
    EXPECT_EQ(SetStartDate(item, Date(2024, 3, 12), false), StartDateResult::AskToDelete);
    EXPECT_EQ(item.prices.size(), 2u);
    EXPECT_EQ(SetStartDate(item, Date(2024, 3, 12), true), StartDateResult::Moved);
    EXPECT_EQ(item.prices, std::vector<float>{6});
    item.prices.assign(8990, 1);
    EXPECT_EQ(SetStartDate(item, Date(2024, 2, 26), false), StartDateResult::TooMany);
}

TEST(ShareEditing, AnItemReadAndRebuiltKeepsItsDaysAndFundamentals)
{
    EditedItem item;
    item.fundamentals.name = "Edited plc";
    item.fundamentals.sedol = 123456;
    item.fundamentals.nms = 2.5f;
    item.fundamentals.codes.type = 14;
    item.fundamentals.codes.listing = 0;
    item.firstDate = Date(2024, 3, 4);
    item.prices = {M, 1.25f, X, S, 1.5f, M, 2.75f, M, M};
    std::vector<uint8_t> record;
    ASSERT_EQ(RebuildEditedRecord(item, record), RebuildResult::Built);
    FinishImportedRecord(record.data(), LoadU16(&record[RecordLayout::FirstSubRecord]), record.size());
    EditedItem back = ReadEditedItem(record.data(), Date(2024, 3, 14));
    EXPECT_EQ(back.fundamentals.name, "Edited plc");
    EXPECT_EQ(back.fundamentals.sedol, 123456u);
    EXPECT_EQ(back.fundamentals.nms, 2.5f);
    EXPECT_EQ(back.fundamentals.codes.type, 14);
    EXPECT_EQ(back.fundamentals.codes.listing, 0);
    EXPECT_EQ(back.firstDate, Date(2024, 3, 5)) << "the leading missing day is dropped";
    EXPECT_EQ(back.prices, (std::vector<float>{1.25f, X, S, 1.5f, M, 2.75f, M, M})) << "padded with missing days to today";

    EditedItem empty;
    empty.prices = {M, M};
    EXPECT_EQ(RebuildEditedRecord(empty, record), RebuildResult::NoPrices);
    item.prices = {1.5e8f};
    EXPECT_EQ(RebuildEditedRecord(item, record), RebuildResult::TooLarge);
    // A fall too large for the stream's coding would read back as no price at all.
    item.prices = {14770001.0f, 13480001.0f, 1.0f};
    EXPECT_EQ(RebuildEditedRecord(item, record), RebuildResult::TooLarge);
}

TEST(ShareEditing, AnItemOfFullDaysStaysOneAndAnAdjustmentMovesItsBars)
{
    const PackedDate mon = Date(2024, 3, 4), tue = Date(2024, 3, 5), wed = Date(2024, 3, 6);
    const std::vector<ImportDay> days = {{mon, 10, 9.5, 11, 9, 1000}, {wed, 12, 11, 12.5, 10.5, 2000}};
    std::vector<uint8_t> record = BuildImportedRecord("Bars", {}, 4, mon, 12, *EncodeImportStream(days, 4));
    FinishImportedRecord(record.data(), LoadU16(&record[RecordLayout::FirstSubRecord]), record.size());
    EditedItem item = ReadEditedItem(record.data(), wed);
    ASSERT_EQ(item.fullDays.size(), 2u);
    EXPECT_EQ(item.prices, (std::vector<float>{10, M, 12}));
    AdjustPrices(item.prices, 0, 0.5); // Monday halved
    item.prices[1] = 11;               // Tuesday typed in
    ASSERT_EQ(RebuildEditedRecord(item, record), RebuildResult::Built);
    FinishImportedRecord(record.data(), LoadU16(&record[RecordLayout::FirstSubRecord]), record.size());
    const EditedItem back = ReadEditedItem(record.data(), wed);
    ASSERT_EQ(back.fullDays.size(), 3u);
    auto bar = [](const ImportDay& d) { return std::vector<double>{d.open, d.high, d.low, d.value, d.volume}; };
    EXPECT_EQ(bar(back.fullDays[0]), (std::vector<double>{4.75, 5.5, 4.5, 5, 1000}));
    EXPECT_EQ(back.fullDays[1].date, tue);
    EXPECT_EQ(bar(back.fullDays[1]), (std::vector<double>{11, 11, 11, 11, 0})) << "a typed day is its close";
    EXPECT_EQ(bar(back.fullDays[2]), (std::vector<double>{11, 12.5, 10.5, 12, 2000}));
}

} // namespace
} // namespace qv::test
