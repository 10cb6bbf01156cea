// The criterion-kind table, its per-parameter tables and the advanced items, against the written table.
#include "datamining/CriterionKinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qv;

namespace {

struct KindRow {
    const char* name;
    int32_t valueClass;
    std::vector<int32_t> ids; // empty for the headline and advanced kinds
    std::vector<std::string> names;
};

const std::vector<KindRow>& Golden()
{
    static const std::vector<KindRow> rows = {
        {"Price", 3, {17, 18, 27, -1, -2, -3, -4, -5, 19, 54, 63, 20, 55, 64},
         {"Last price", "Price change", "% Price change", "Price for", "Price since", "% Price since",
          "Price between", "% Price between", "Price high", "Days since high", "% Fall since high", "Price low",
          "Days since low", "% Rise since low"}},
        {"Moving Average", 2, {0, 1, 2, 3, 4, 5, 6, 7, 8},
         {"Moving average value", "M.A. change since", "M.A % change since", "M.A. change between 2 dates",
          "M.A % change between", "M.A. minus price", "M.A. minus Price (%)", "M.A.1 minus M.A.2",
          "M.A.1 minus M.A.2 (%)"}},
        {"Turnover", 0, {-1796, -1812, 59, 60, 61},
         {"Result", "last yr %change", "per share", "Turnover/Cap.", "Profit as %turnover"}},
        {"P/E", 0, {13, 39, 40, 41}, {"Historic", "Rolling1", "Projected", "Rolling2"}},
        {"PEG", 0, {29, 42, 43, 44, 91}, {"Historic", "Rolling1", "Projected", "Rolling2", "Alt. Rolling"}},
        {"EPS", 0, {10, 33, 34, 35, -1810}, {"Historic", "Rolling1", "Projected", "Rolling2", "last yr %change"}},
        {"NMS", 0, {14, 89}, {"Number", "Value"}},
        {"Yield", 0, {12, 36, 37, 38}, {"Historic", "Rolling1", "Projected", "Rolling2"}},
        {"Consensus", 0, {8, 50, 48, 49}, {"Current", "Previous", "Change", "No. of analysts"}},
        {"Number of shares", 0, {9}, {""}},
        {"Indicator", 0, {22, 46, 21}, {"Beta", "Correlation", "Volatility"}},
        {"Capitalisation", 0, {23}, {""}},
        {"Dividend", 0, {11, 58, -1811}, {"Result", "Cover", "last yr %change"}},
        {"Headline Result", 1, {},
         {"Profit", "EPS", "Dividend", "Turnover", "Interim Profit", "Interim EPS", "Interim Dividend",
          "Interim Turnover"}},
        {"Advanced Result", 4, {},
         {"Norm. pretax profits", "FRS3 pretax profits", "FRS3 posttax profits", "Turnover", "Dividend", "Tax",
          "Book value", "Tang. book value", "Cash", "Cash flow", "Capex", "R & D", "Depreciation", "ROCE", "ROE",
          "Quick ratio", "Current ratio", "Operating margin", "Interest cover", "Interest paid", "Net borrowing",
          "Net current assets", "Net gearing", "Cash %", "Gross gearing", "Gross gearing <5yrs",
          "Gross gearing <1yr"}},
    };
    return rows;
}

TEST(CriterionKinds, TheTableHoldsEveryKindWithItsParametersAndColumns)
{
    const auto table = CriterionKindTable();
    ASSERT_EQ(table.size(), Golden().size() + 1);
    EXPECT_EQ(table.back().valueClass, -1) << "the table ends with a row of value class -1";
    for (size_t k = 0; k < Golden().size(); ++k) {
        const KindRow& want = Golden()[k];
        const CriterionKind& got = table[k];
        EXPECT_STREQ(got.name, want.name) << k;
        EXPECT_EQ(got.valueClass, want.valueClass) << want.name;
        ASSERT_EQ(got.parameterCount, int32_t(want.names.size())) << want.name;
        EXPECT_EQ(got.columnIds == nullptr, want.ids.empty()) << want.name;
        for (int32_t p = 0; p < got.parameterCount; ++p) {
            EXPECT_EQ(got.parameterNames[p], want.names[size_t(p)]) << want.name << " " << p;
            if (!want.ids.empty()) {
                EXPECT_EQ(got.columnIds[p], want.ids[size_t(p)]) << want.name << " " << p;
            }
            DMCriterion c;
            c.kind = uint8_t(k);
            c.parameter = uint8_t(p);
            EXPECT_EQ(GetCriterionColumnId(c), want.ids.empty() ? 0 : want.ids[size_t(p)]) << want.name << " " << p;
        }
    }
    EXPECT_EQ(ResultsCodeColumnId(4), -1796);
    EXPECT_EQ(CriterionKindOf(15), nullptr);
}

TEST(CriterionKinds, PerParameterTablesAndTheHighsAndLowsMap)
{
    EXPECT_EQ(kPriceDatesUsed, (std::array<uint16_t, 14>{0, 0, 0, 1, 1, 1, 2, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(kPriceLookBack, (std::array<uint16_t, 14>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(kMovingAverageDatesUsed, (std::array<uint16_t, 9>{1, 1, 1, 2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(kHighLowTemplateEntry, (std::array<uint8_t, 6>{0, 4, 6, 1, 5, 7}));
}

TEST(CriterionKinds, AdvancedItemsTheirVariantsAndStoredNumbers)
{
    const std::vector<std::vector<std::string>> variants = {
        {"Norm. pretax profits", "Norm. pretax EPS"}, {"FRS3 pretax profits", "FRS3 pretax EPS"},
        {"FRS3 posttax profits", "FRS3 posttax ps"}, {"Turnover", "Turnover ps", "Price to turnover (PSR)"},
        {"Total dividend", "Interim dividend", "Final dividend", "Y/E Div. yield"}, {"Tax paid"},
        {"Book value", "Book value ps (NAV ps)", "PBV"}, {"Tangible book value", "Tang. book value ps (NTAV ps)", "PTBV"},
        {"Net cash", "Net cash ps", "Price to net cash"}, {"Cash flow", "Cash flow ps", "Price to cash flow"},
        {"Capex", "Capex ps", "Price to capex"}, {"R & D", "R & D ps", "Price to R & D (PRR)"}, {"Depreciation"},
        {"ROCE"}, {"ROE"}, {"Quick ratio"}, {"Current ratio"}, {"OM"}, {"Interest cover"}, {"Interest paid"},
        {"Net borrowing"}, {"Net current assets"}, {"Net gearing (+)", "Net gearing (-)"},
        {"Cash % (+ intang)", "Cash % (-)"}, {"Gross gear. (+)", "Gross gear. (- )"},
        {"Gross gear. <5yrs (+)", "Gross gear. <5yrs (-)"}, {"Gross gear. <1yr (+)", "Gross gear. <1yr (-)"}};
    const auto items = AdvancedResultItems();
    ASSERT_EQ(items.size(), variants.size());
    for (size_t i = 0; i < items.size(); ++i)
        for (size_t v = 0; v < 5; ++v)
            EXPECT_EQ(items[i].variants[v], v < variants[i].size() ? variants[i][v] : "") << i << " " << v;
    // Dialog item 13 ("ROCE") is stored as 14 and shows as 13 again; 12 is stored as it is.
    EXPECT_EQ(StoredAdvancedItem(13), 14);
    EXPECT_EQ(ShownAdvancedItem(14), 13);
    EXPECT_EQ(StoredAdvancedItem(12), 12);
    EXPECT_EQ(AdvancedParameter(22, 1), 23 | 1 << 5);
}

} // namespace
