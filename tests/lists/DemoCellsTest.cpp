// The demo's company data as list cells show it: the coded description (field 30), the company
// fields of the descriptor route, partner views, and one price-history, results and results-change
// cell, each against what the demo wrote.
#include "lists/CellValue.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "core/RecordAccess.h"
#include "lists/ListRows.h"

#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/PriceLookups.h"
#include "core/RecordLookup.h"
#include "devtools/lib/DemoResults.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ColumnHeading.h"
#include "lists/DetailDialogRules.h"
#include "lists/DetailPage.h"
#include "lists/ResultsFigures.h"
#include "shell/FindShareIndex.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using namespace qv;
using namespace qv::test;

namespace {

class DemoCells : public DatabaseFixture {
protected:
    static const dev::DemoDatabase& Demo()
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        return demo;
    }
    void SetUp() override
    {
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(Demo()));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(Demo())), &comp);
    }
    static std::string Cell(uint8_t* record, const ColumnDefSpec& spec)
    {
        std::vector<uint8_t> column;
        AppendColumnDef(column, spec);
        char text[kCellTextBytes];
        FormatColumnValue(record, 0, column.data(), text, sizeof text, 1, nullptr, 0);
        return text;
    }
};

// Correlation, Beta and "Rel. to" name the other share with its description in the lists' format.
TEST_F(DemoCells, IndicatorNamesDescribeTheOtherShareAsTheListsShowIt)
{
    SetShareFieldText(ShareColumnText);
    const dev::DemoRecord& other = Demo().records.front();
    const RecordCursor cursor = FindRecordById(other.id, 0);
    // The price (field 17), then the share type (field 7).
    const std::string price = ShareColumnText(cursor, 17);
    EXPECT_EQ(price.back(), 'p');
    EXPECT_EQ(ShareColumnText(cursor, 7), "Ordinary");
    EXPECT_EQ(GetIndicatorName(IndicatorRecord::Of(IndicatorType::Correlation, 0, 20, other.id)),
              "20 Correlation (" + other.name + " " + price + ": Ordinary)");
    SetShareFieldText(nullptr);
}

TEST_F(DemoCells, CompaniesShowTheirDescriptionsAndCompanyFields)
{
    int companies = 0, partnerViews = 0;
    for (const dev::DemoRecord& r : Demo().records) {
        uint8_t* record = FindShareRecord(r.id);
        ASSERT_NE(record, nullptr) << r.name;
        EXPECT_EQ(Cell(record, ColumnOf(kColumnField, 30)), r.description) << r.name;
        if (r.description.empty()) {
            EXPECT_EQ(Cell(record, ColumnOf(kColumnField, 0x71)), "") << r.name;
            continue;
        }
        ++companies;
        EXPECT_NE(Cell(record, ColumnOf(kColumnField, 0x71)).find(".example"), std::string::npos) << r.name;
        EXPECT_EQ(Cell(record, ColumnOf(kColumnField, 0x70)).rfind("020 7946 ", 0), 0u) << r.name;
        EXPECT_FALSE(Cell(record, ColumnOf(kColumnField, 0x63)).empty()) << "year end of " << r.name;
        if (!Cell(record, ColumnOf(kColumnPartnerView, 0)).empty())
            ++partnerViews;
    }
    EXPECT_GT(companies, 200);
    EXPECT_GT(partnerViews, 20);
}

TEST_F(DemoCells, PriceHistoryResultsAndResultsChangeCells)
{
    const dev::DemoRecord* company = nullptr;
    for (const dev::DemoRecord& r : Demo().records)
        if (!r.results.empty() && r.streams.front().currency == 0 && r.resultsCurrency == 0)
            company = company ? company : &r;
    ASSERT_NE(company, nullptr);
    uint8_t* record = FindShareRecord(company->id);
    // The close 20 trading days back and the percentage change since.
    const float then = GetPriceDaysBack(record, 0, 20);
    const double latest = dev::LastClose(company->streams.front());
    Cell(record, ColumnOf(kColumnPriceHistory, 30).withParameters({4, 5, 20, 0}));
    EXPECT_FLOAT_EQ(LastCellValue().value, then);
    Cell(record, ColumnOf(kColumnPriceHistory, 31).withParameters({4, 0x85, 20, 0}));
    EXPECT_NEAR(LastCellValue().value, (latest / then - 1) * 100, 1e-3);
    // The latest EPS as a results figure, and its one-year growth as a results change.
    EXPECT_FLOAT_EQ((Cell(record, ColumnOf(kColumnResults, kResultsEps).withFormatB(2)), LastCellValue().value),
                    GetResultsFigure(0, kResultsEps, record, 0));
    float growth = GetResultsColumnValue(0x10, 32, record, 0);
    std::string text = Cell(record, ColumnOf(kColumnResultsChange, 32).withOption(0x10).withFormatB(2));
    if (growth == kNoResultsValue)
        EXPECT_EQ(text, "");
    else
        EXPECT_FLOAT_EQ(LastCellValue().value, growth);
}

TEST_F(DemoCells, DetailItemsAndCatalogueFieldColumnsAreNamed)
{
    InstallColumnCatalogues();
    for (const uint8_t code : kDetailItemCodes)
        EXPECT_NE(DetailItemHeading(code), "") << "detail item of field " << int(code);
    // Every plain field column of the shares catalogue but the blank separator (86) and field 32,
    // which nothing adds.
    for (int n = 0; n < CatalogueSize(Catalogue::Shares); ++n) {
        const std::span<const uint8_t> column = CatalogueTemplate(Catalogue::Shares, n);
        if (column.size() < kColumnDefBytes || ColumnDefKind(column.data()) != kColumnField || n == 32 || n == 86)
            continue;
        EXPECT_NE(GetColumnHeading(nullptr, column.data(), true), "") << "shares template " << n;
    }
}

// A period high or low is a price: shown as the price column shows it, in pence in the share's unit.
TEST_F(DemoCells, HighLowPricesShowInThePriceColumnsFormat)
{
    InstallColumnCatalogues();
    const std::span<const uint8_t> price = CatalogueTemplate(Catalogue::Shares, 17);
    int dear = 0;
    for (const dev::DemoRecord& r : Demo().records) {
        uint8_t* record = FindShareRecord(r.id);
        ASSERT_NE(record, nullptr) << r.name;
        if (r.streams.front().currency != 0 || !r.description.size())
            continue;
        char priceText[kCellTextBytes];
        FormatColumnValue(record, 0, price.data(), priceText, sizeof priceText, 0, nullptr, 0);
        for (int side = 0; side < 2; ++side) {
            const std::span<const uint8_t> column = CatalogueTemplate(Catalogue::HighLow, side);
            char text[kCellTextBytes];
            FormatColumnValue(record, 0, column.data(), text, sizeof text, 0, nullptr, 0);
            const float value = LastCellValue().value;
            const std::string shown = text;
            if (value < 100)
                continue;
            ++dear;
            EXPECT_EQ(shown.find("\xA3"), std::string::npos) << r.name << ": " << shown << " beside " << priceText;
            EXPECT_EQ(shown.back(), std::string(priceText).back()) << r.name << ": " << shown << " beside " << priceText;
        }
    }
    EXPECT_GT(dear, 100);
}

} // namespace

// A company with preference shares quoted beside its ordinary ones: each line tells its type, in the
// share-type cell and in Find's lines.
TEST_F(DemoCells, AShareInSeveralClassesTellsItsLinesApart)
{
    const auto two = std::find_if(Demo().records.begin(), Demo().records.end(),
                                  [](const dev::DemoRecord& r) { return r.streams.size() == 2 && r.streams[1].kind <= 3; });
    ASSERT_NE(two, Demo().records.end());
    const RecordCursor share = FindRecordById(two->id, 0);
    ASSERT_NE(share.record, nullptr);
    std::vector<uint8_t> column;
    AppendColumnDef(column, ColumnOf(kColumnField, 7).withWidth(100));
    const auto type = [&](uint32_t line) {
        char text[kCellTextBytes];
        FormatColumnValue(share.record, line, column.data(), text, sizeof text, 1, nullptr, 0);
        return std::string(text);
    };
    EXPECT_EQ(type(0), "Ordinary");
    EXPECT_EQ(type(1), "Preference");

    FindShareQuery query;
    query.text = GetRecordName(share.record);
    query.firstLetter = false;
    std::vector<std::string> lines;
    for (const FindShareLine& line : FillFindShareList(BuildNameIndex(), query).lines)
        if (line.item.cursor.record == share.record)
            lines.push_back(line.text);
    const std::string name(GetRecordName(share.record));
    EXPECT_EQ(lines, (std::vector<std::string>{name + " - Ordinary", name + " - Preference"}));
}
