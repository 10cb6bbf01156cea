// The rows of a dealings view under its filter byte, and the investor search over them.
#include "lists/HoldList.h"

#include "core/CodedText.h"
#include "core/ColumnDef.h"
#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/InvestorSearch.h"
#include "support/DealingsSample.h"

#include <gtest/gtest.h>
#include <map>

using namespace qv;

namespace {

// One entry per flag combination of data byte 4 (holding, superseded, major), for shares 1-8.
struct FlagBlock {
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    std::map<uint16_t, std::vector<uint8_t>> shares; // a record per share id

    FlagBlock()
    {
        dev::DealingsFileSpec spec = test::DealingsSample();
        const dev::DealingItemSpec base = spec.items[0];
        spec.items.clear();
        for (int i = 0; i < 8; ++i) {
            dev::DealingItemSpec item = base;
            item.head = i == 0;
            item.flags = uint8_t(((i & 1) ? kDealingHolding : 0) | ((i & 2) ? kDealingSuperseded : 0) |
                                 ((i & 4) ? kDealingMajorHolder : 0));
            item.shareId = uint16_t(i + 1);
            spec.items.push_back(item);
            shares[uint16_t(i + 1)] = std::vector<uint8_t>(8, uint8_t(i));
        }
        EXPECT_EQ(ParseDealingsFile(dev::WriteDealingsFile(spec).bytes, block, info, tables), DealingsParse::Ok);
    }
    ShareRecordLookup lookup() const
    {
        return [this](uint16_t id) -> const uint8_t* {
            auto found = shares.find(id);
            return found == shares.end() ? nullptr : found->second.data();
        };
    }
    // The share ids of the rows, in order.
    std::vector<int> ids(uint8_t filter, const HoldLimitSource& limit = {}) const
    {
        std::vector<int> out;
        for (const RecordCursor& row : BuildHoldRows(block.data(), filter, limit, lookup()))
            out.push_back(DealingShareId(row.record - 1));
        return out;
    }
};

TEST(HoldList, CategoriesLatestOnlyAndTheirCombinations)
{
    const FlagBlock b;
    // Shares 1-8 are: 1 director deal, 2 director holding, 3 superseded director deal, 4 superseded
    // director holding, 5-8 the same for a major holder.
    struct Case {
        uint8_t filter;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {0x00, {}},
        {kHoldDirectorDeals, {1, 3}},
        {kHoldDirectorHoldings, {1, 2, 4}},
        {kHoldMajorDeals, {5, 7}},
        {kHoldMajorHoldings, {5, 6, 8}},
        {kHoldDirectorDeals | kHoldMajorHoldings, {1, 3, 5, 6, 8}},
        {0x0F, {1, 2, 3, 4, 5, 6, 7, 8}},
        {0x0F | kHoldLatestOnly, {1, 2, 5, 6}},
        {kHoldDirectorDeals | kHoldLatestOnly, {1}},
        {kHoldMajorHoldings | kHoldLatestOnly, {5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.filter));
        EXPECT_EQ(b.ids(c.filter), c.ids);
    }
}

TEST(HoldList, LimitsAndSharesWithoutRecords)
{
    FlagBlock b;
    b.shares.erase(2);
    EXPECT_EQ(b.ids(0x0F), (std::vector<int>{1, 3, 4, 5, 6, 7, 8}));
    // The selected share, and none selected (empty).
    EXPECT_EQ(b.ids(0x0F | kHoldLimitShare, {6, {}}), (std::vector<int>{6}));
    EXPECT_TRUE(b.ids(0x0F | kHoldLimitShare, {0, {}}).empty());
    // The parent rows' records; without parent rows no limit.
    RecordCursor parent[] = {{b.shares[3].data(), 0}, {b.shares[7].data(), 0}};
    EXPECT_EQ(b.ids(0x0F | kHoldLimitParent, {0, parent}), (std::vector<int>{3, 7}));
    EXPECT_EQ(b.ids(0x0F | kHoldLimitParent, {}).size(), 7u);
}

TEST(HoldList, CountsAndFilterCommands)
{
    const FlagBlock b;
    auto rows = BuildHoldRows(b.block.data(), 0x0F, {}, b.lookup());
    const HoldCounts counts = CountHoldRows(rows);
    EXPECT_EQ(counts.directorDeals, 2);
    EXPECT_EQ(counts.directorHoldings, 2);
    EXPECT_EQ(counts.majorDeals, 2);
    EXPECT_EQ(counts.majorHoldings, 2);

    EXPECT_EQ(ToggleParentLimit(0x0F, false, false), 0x2F);
    EXPECT_EQ(ToggleParentLimit(0x2F, false, true), 0x4F);
    EXPECT_EQ(ToggleParentLimit(0x2F, false, false), 0x0F);
    EXPECT_EQ(ToggleParentLimit(0x2F, true, false), 0x2F);
    EXPECT_EQ(ShowAllShares(0x5F), 0x1F);
    UnpackHoldFilter(0x4A);
    EXPECT_EQ(HoldOptions().limit, 1);
    EXPECT_TRUE(HoldOptions().directorHoldings && HoldOptions().majorHoldings && !HoldOptions().directorDeals);
    // Packing gives the byte back; with both limits the selected share wins, as it does in the view.
    for (uint8_t filter : {0x4A, 0x2F, 0x1F, 0x05, 0x6F}) {
        UnpackHoldFilter(filter);
        EXPECT_EQ(PackHoldFilter(), filter == 0x6F ? 0x4F : filter) << int(filter);
    }
    UnpackHoldFilter(kHoldDefaultFilter);
}

TEST(InvestorSearch, MarksRowsAndMatchesNames)
{
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    ASSERT_EQ(ParseDealingsFile(dev::WriteDealingsFile(test::DealingsSample()).bytes, block, info, tables),
              DealingsParse::Ok);
    std::vector<RecordCursor> rows;
    for (uint8_t* e = block.data(); e[0] != 0; e += e[0])
        rows.push_back({e + 1, 0});
    MarkInvestorRows(block.data(), rows);

    auto names = [&](const std::string& text, bool first) {
        std::vector<std::string> out;
        for (const auto& m : FindInvestors(block.data(), info, tables, text, first))
            out.push_back(m.name);
        return out;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names("gate", false), (Names{"Northgate Capital", "Northgate Capital"}));
    EXPECT_TRUE(names("gate", true).empty());
    // From the first letter: once one matched, every later marked entry follows.
    EXPECT_EQ(names("marg", true), (Names{"Margaret Oakley", "Margaret Oakley", "Northgate Capital", "Northgate Capital"}));

    // Entries that are not rows are never listed.
    MarkInvestorRows(block.data(), std::span<const RecordCursor>(rows).first(1));
    EXPECT_EQ(names("", false), (Names{"Margaret Oakley"}));
}

TEST(InvestorSearch, ListsAtMost101Names)
{
    dev::DealingsFileSpec spec = test::DealingsSample();
    spec.items.resize(2);
    while (spec.items.size() < 150)
        spec.items.push_back(spec.items[1]);
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    ASSERT_EQ(ParseDealingsFile(dev::WriteDealingsFile(spec).bytes, block, info, tables), DealingsParse::Ok);
    std::vector<RecordCursor> rows;
    for (uint8_t* e = block.data(); e[0] != 0; e += e[0])
        rows.push_back({e + 1, 0});
    MarkInvestorRows(block.data(), rows);
    EXPECT_EQ(FindInvestors(block.data(), info, tables, "oak", false).size(), 101u);
}

} // namespace

namespace {

// The dealing cells the list tables' engine asks for, by field code, straight and through a column.
TEST(DealingCells, TextsByFieldCode)
{
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    ASSERT_EQ(ParseDealingsFile(dev::WriteDealingsFile(test::DealingsSample()).bytes, block, info,
                                DealingsCodingTables()),
              DealingsParse::Ok);
    InstallDealingsBlock(std::move(block), info);
    InstallDealingCells();
    const uint8_t* sale = DealingsMainBlock + 1;
    const uint8_t* holding = DealingsMainBlock + DealingsMainBlock[0] + 1;
    auto cell = [](const uint8_t* dealing, int code) {
        char text[64];
        float value = -1;
        const size_t n = DealingCellText(dealing, code, text, sizeof text, &value);
        return std::make_pair(std::string(text, n), value);
    };
    EXPECT_EQ(cell(sale, 1).first, "Margaret Oakley");
    EXPECT_EQ(cell(sale, 2).first, "Chairman");
    EXPECT_EQ(cell(sale, 3).first, "3/3/25");
    EXPECT_EQ(cell(sale, 4).first, "Sale");
    EXPECT_EQ(cell(sale, 5), std::make_pair(std::string("50,000"), 50000.0f));
    EXPECT_EQ(cell(sale, 6).first, "0.20%");
    EXPECT_EQ(cell(sale, 7).first, "\xA3" "125,000");
    EXPECT_EQ(cell(sale, 9).first, "Yes");
    EXPECT_EQ(cell(sale, 10).first, "Ord 10p");
    EXPECT_EQ(cell(sale, 13).first, "5.00%");
    EXPECT_EQ(cell(holding, 4).first, "Holding");
    EXPECT_EQ(cell(holding, 5).first, "");
    EXPECT_EQ(cell(holding, 12).first, "1,200,000");

    // Through the cell engine with a dealings column record.
    uint8_t column[kColumnDefBytes] = {};
    column[ColumnDefLayout::Length] = kColumnDefBytes;
    column[ColumnDefLayout::Kind] = kColumnDealing;
    column[ColumnDefLayout::FieldCode] = 1;
    ShareList dealings{};
    dealings.family = kFamilyDealings;
    char text[kCellTextBytes];
    const size_t n = FormatColumnValue(const_cast<uint8_t*>(sale), 0, column, text, sizeof text, 0, &dealings, 0);
    EXPECT_EQ(std::string(text, n), "Margaret Oakley");
    CurrentCellSources().dealingText = nullptr;
    FreeDirDealBlocks();
}

} // namespace
