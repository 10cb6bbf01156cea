// The built-in layouts and the demo's company data read back through the list-table services.
#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/ConfigFamilies.h"
#include "core/RecordLookup.h"
#include "core/SectorFilter.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/ColumnHeading.h"
#include "lists/ResultsFigures.h"
#include "portfolio/SectorAnalysis.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

std::vector<std::string> Headings(const std::vector<uint8_t>& layout)
{
    std::vector<std::string> headings;
    for (int i = 0; i < CountColumnDefs(layout.data()); ++i)
        headings.push_back(GetColumnHeading(nullptr, GetColumnDef(layout.data(), i), false));
    return headings;
}

class DemoCompanyData : public DatabaseFixture {
protected:
    static const dev::DemoDatabase& Demo()
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        return demo;
    }
    void LoadDemo()
    {
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(Demo()));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(Demo())), &comp);
    }
};

} // namespace

TEST(DefaultColumnLayouts, EveryLayoutIsSoundAndItsSortByteNamesAColumn)
{
    using Set = ColumnLayoutSet;
    struct Family {
        Set set;
        int layouts;
    };
    for (Family f : {Family{Set::ListTables, 5}, Family{Set::ListTablesAlt, 4}, Family{Set::TranTables, 4},
                     Family{Set::DealTables, 4}, Family{Set::CashTables, 4}, Family{Set::NewsTables, 4},
                     Family{Set::TradeTables, 4}, Family{Set::QuoteTables, 4}, Family{Set::TradeQuoteTables, 4}}) {
        for (int i = 0; i < f.layouts; ++i) {
            std::vector<uint8_t> layout = DefaultColumnLayout(f.set, i);
            ASSERT_EQ(ValidateColumnLayout(layout), layout.size()) << int(f.set) << " " << i;
            EXPECT_GE(CountColumnDefs(layout.data()), 3);
        }
    }
    for (size_t slot = 0; slot < 12; ++slot) {
        for (bool alternative : {false, true}) {
            TableSlot design = DefaultListTableDesign(slot, alternative);
            int column = ColumnOfSignedNumber(design.sort);
            EXPECT_LT(column, CountColumnDefs(design.chain.data())) << slot;
        }
    }
}

TEST_F(DemoCompanyData, LayoutsAreNamedByTheDemosFieldTable)
{
    LoadDemo();
    EXPECT_EQ(Headings(DefaultColumnLayout(ColumnLayoutSet::ListTables, 0)),
              (std::vector<std::string>{"No.", "Name", "EPIC", "Price", "Change", "Day high", "Day low", "Open", "Date",
                                        "Capital (m)"}));
    EXPECT_EQ(Headings(DefaultColumnLayout(ColumnLayoutSet::ListTables, 3)),
              (std::vector<std::string>{"No.", "Name", "Price", "Most recent EPS", "1 year forecast EPS",
                                        "Most recent Dividend", "Most recent Profit (millions)", "Most recent ROCE (%)"}));
    EXPECT_EQ(Headings(DefaultColumnLayout(ColumnLayoutSet::ListTablesAlt, 1))[5], "Fall% from 250 trading day High");
}

TEST_F(DemoCompanyData, ResultsBlocksAndSectorsReadBack)
{
    LoadDemo();
    int companies = 0, shortBlocks = 0, matchedYears = 0;
    for (const dev::DemoRecord& r : Demo().records) {
        uint8_t* record = FindRecordById(r.id, 0).record;
        if (r.description.empty()) {
            EXPECT_EQ(GetResultsFigure(0, kResultsEps, record, 0), kNoResultsValue) << r.name;
            continue;
        }
        ++companies;
        ASSERT_FALSE(r.results.empty()) << r.name;
        const dev::DemoResultsEntry* lastAnnual = nullptr;
        for (const dev::DemoResultsEntry& e : r.results) {
            if (e.kind == 0)
                lastAnnual = &e;
        }
        ASSERT_NE(lastAnnual, nullptr);
        EXPECT_EQ(GetResultsFigure(0, kResultsEps, record, 0), lastAnnual->eps) << r.name;
        EXPECT_NE(GetResultsFigure(1, kResultsEps, record, 0), kNoResultsValue) << r.name;
        for (const auto& block : r.detailedBlocks)
            shortBlocks += block[0] < 60;
        for (int years = 0; years < 5; ++years)
            matchedYears += FindResultsBlock(record, 0, years) != nullptr;
        // The sector filter names the share's sector from the same table.
        int sector = (r.sectorWord & dev::kSectorMask) - 1;
        EXPECT_EQ(CompanySectorName(2025, sector), dev::DemoSectorNames()[size_t(sector)]) << r.name;
        int industry = ((r.sectorWord & dev::kIndustryMask) >> 6) - 1;
        EXPECT_EQ(CompanySectorName(2024, industry), dev::DemoIndustryNames()[size_t(industry)]) << r.name;
    }
    EXPECT_GT(companies, 200);
    EXPECT_EQ(shortBlocks, 1);
    // Every block but the short one is matched to its year.
    size_t blocks = 0;
    for (const dev::DemoRecord& r : Demo().records)
        blocks += r.detailedBlocks.size();
    EXPECT_EQ(size_t(matchedYears), blocks - 1);
}

TEST_F(DemoCompanyData, EverySectorNameComesFromTheOneReader)
{
    LoadDemo();
    for (const auto& [group, names] : {std::pair{kSectorLevelMain, &dev::DemoIndustryNames()},
                                       {kSectorLevelSectors, &dev::DemoSectorNames()},
                                       {kSectorLevelSubSectors, &dev::DemoSubSectorNames()}}) {
        const std::vector<std::string_view> texts = SectorLevelTexts(group);
        ASSERT_EQ(texts.size(), names->size()) << group;
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(texts[i], (*names)[i]) << group << "/" << i;
    }
    int named = 0;
    for (const dev::DemoRecord& r : Demo().records) {
        RecordCursor cursor = FindRecordById(r.id, 0);
        const SectorCodes codes = ShareSectorCodes(GetRecordClass(&cursor), r.sectorWord);
        if (r.description.empty() || codes.sector < 0)
            continue;
        ++named;
        const int sector = (r.sectorWord & dev::kSectorMask) - 1;
        const int industry = ((r.sectorWord & dev::kIndustryMask) >> 6) - 1;
        const int sub = r.sectorWord >> 10;
        EXPECT_EQ(SectorName(kLevelSectors, codes.sector), dev::DemoSectorNames()[size_t(sector)]) << r.name;
        EXPECT_EQ(SectorName(kLevelMainSectors, codes.main), dev::DemoIndustryNames()[size_t(industry)]) << r.name;
        EXPECT_EQ(SectorName(kLevelSubsectors, codes.sub),
                  sub == 63 ? std::string("No sector") : dev::DemoSubSectorNames()[size_t(sub)]) << r.name;
    }
    EXPECT_GT(named, 200);
}
