// The criterion-kind table and the per-parameter tables of the price and moving-average kinds.
#include "datamining/CriterionKinds.h"

namespace qv {
namespace {

constexpr int32_t kPriceIds[] = {17, 18, 27, -1, -2, -3, -4, -5, 19, 54, 63, 20, 55, 64};
constexpr const char* kPriceNames[] = {"Last price",       "Price change",      "% Price change", "Price for",
                                       "Price since",      "% Price since",     "Price between",  "% Price between",
                                       "Price high",       "Days since high",   "% Fall since high", "Price low",
                                       "Days since low",   "% Rise since low"};
constexpr int32_t kMovingAverageIds[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr const char* kMovingAverageNames[] = {
    "Moving average value", "M.A. change since",    "M.A % change since",   "M.A. change between 2 dates",
    "M.A % change between", "M.A. minus price",     "M.A. minus Price (%)", "M.A.1 minus M.A.2",
    "M.A.1 minus M.A.2 (%)"};
constexpr int32_t kTurnoverIds[] = {ResultsCodeColumnId(4), ResultsCodeColumnId(0x14), 59, 60, 61};
constexpr const char* kTurnoverNames[] = {"Result", "last yr %change", "per share", "Turnover/Cap.",
                                          "Profit as %turnover"};
constexpr int32_t kPeIds[] = {13, 39, 40, 41};
constexpr const char* kFourYears[] = {"Historic", "Rolling1", "Projected", "Rolling2"};
constexpr int32_t kPegIds[] = {29, 42, 43, 44, 91};
constexpr const char* kPegNames[] = {"Historic", "Rolling1", "Projected", "Rolling2", "Alt. Rolling"};
constexpr int32_t kEpsIds[] = {10, 33, 34, 35, ResultsCodeColumnId(0x12)};
constexpr const char* kEpsNames[] = {"Historic", "Rolling1", "Projected", "Rolling2", "last yr %change"};
constexpr int32_t kNmsIds[] = {14, 89};
constexpr const char* kNmsNames[] = {"Number", "Value"};
constexpr int32_t kYieldIds[] = {12, 36, 37, 38};
constexpr int32_t kConsensusIds[] = {8, 50, 48, 49};
constexpr const char* kConsensusNames[] = {"Current", "Previous", "Change", "No. of analysts"};
constexpr int32_t kSharesIds[] = {9};
constexpr const char* kNoName[] = {""};
constexpr int32_t kIndicatorIds[] = {22, 46, 21};
constexpr const char* kIndicatorNames[] = {"Beta", "Correlation", "Volatility"};
constexpr int32_t kCapitalIds[] = {23};
constexpr int32_t kDividendIds[] = {11, 58, ResultsCodeColumnId(0x13)};
constexpr const char* kDividendNames[] = {"Result", "Cover", "last yr %change"};
constexpr const char* kHeadlineNames[] = {"Profit",         "EPS",         "Dividend",         "Turnover",
                                          "Interim Profit", "Interim EPS", "Interim Dividend", "Interim Turnover"};

constexpr AdvancedResultItem kAdvancedItems[kAdvancedItemCount] = {
    {"Norm. pretax profits", {"Norm. pretax profits", "Norm. pretax EPS", "", "", ""}},
    {"FRS3 pretax profits", {"FRS3 pretax profits", "FRS3 pretax EPS", "", "", ""}},
    {"FRS3 posttax profits", {"FRS3 posttax profits", "FRS3 posttax ps", "", "", ""}},
    {"Turnover", {"Turnover", "Turnover ps", "Price to turnover (PSR)", "", ""}},
    {"Dividend", {"Total dividend", "Interim dividend", "Final dividend", "Y/E Div. yield", ""}},
    {"Tax", {"Tax paid", "", "", "", ""}},
    {"Book value", {"Book value", "Book value ps (NAV ps)", "PBV", "", ""}},
    {"Tang. book value", {"Tangible book value", "Tang. book value ps (NTAV ps)", "PTBV", "", ""}},
    {"Cash", {"Net cash", "Net cash ps", "Price to net cash", "", ""}},
    {"Cash flow", {"Cash flow", "Cash flow ps", "Price to cash flow", "", ""}},
    {"Capex", {"Capex", "Capex ps", "Price to capex", "", ""}},
    {"R & D", {"R & D", "R & D ps", "Price to R & D (PRR)", "", ""}},
    {"Depreciation", {"Depreciation", "", "", "", ""}},
    {"ROCE", {"ROCE", "", "", "", ""}},
    {"ROE", {"ROE", "", "", "", ""}},
    {"Quick ratio", {"Quick ratio", "", "", "", ""}},
    {"Current ratio", {"Current ratio", "", "", "", ""}},
    {"Operating margin", {"OM", "", "", "", ""}},
    {"Interest cover", {"Interest cover", "", "", "", ""}},
    {"Interest paid", {"Interest paid", "", "", "", ""}},
    {"Net borrowing", {"Net borrowing", "", "", "", ""}},
    {"Net current assets", {"Net current assets", "", "", "", ""}},
    {"Net gearing", {"Net gearing (+)", "Net gearing (-)", "", "", ""}},
    {"Cash %", {"Cash % (+ intang)", "Cash % (-)", "", "", ""}},
    {"Gross gearing", {"Gross gear. (+)", "Gross gear. (- )", "", "", ""}},
    {"Gross gearing <5yrs", {"Gross gear. <5yrs (+)", "Gross gear. <5yrs (-)", "", "", ""}},
    {"Gross gearing <1yr", {"Gross gear. <1yr (+)", "Gross gear. <1yr (-)", "", "", ""}},
};

const char* const* AdvancedNames()
{
    static const auto names = [] {
        std::array<const char*, kAdvancedItemCount> out{};
        for (int i = 0; i < kAdvancedItemCount; ++i)
            out[size_t(i)] = kAdvancedItems[i].name;
        return out;
    }();
    return names.data();
}

template <size_t N>
constexpr int32_t Count(const int32_t (&)[N])
{
    return int32_t(N);
}

const std::array<CriterionKind, kCriterionKindCount + 1>& Table()
{
    static const std::array<CriterionKind, kCriterionKindCount + 1> table = {{
        {"Price", kValuePrice, Count(kPriceIds), kPriceIds, kPriceNames},
        {"Moving Average", kValueMovingAverage, Count(kMovingAverageIds), kMovingAverageIds, kMovingAverageNames},
        {"Turnover", kValueColumn, Count(kTurnoverIds), kTurnoverIds, kTurnoverNames},
        {"P/E", kValueColumn, Count(kPeIds), kPeIds, kFourYears},
        {"PEG", kValueColumn, Count(kPegIds), kPegIds, kPegNames},
        {"EPS", kValueColumn, Count(kEpsIds), kEpsIds, kEpsNames},
        {"NMS", kValueColumn, Count(kNmsIds), kNmsIds, kNmsNames},
        {"Yield", kValueColumn, Count(kYieldIds), kYieldIds, kFourYears},
        {"Consensus", kValueColumn, Count(kConsensusIds), kConsensusIds, kConsensusNames},
        {"Number of shares", kValueColumn, Count(kSharesIds), kSharesIds, kNoName},
        {"Indicator", kValueColumn, Count(kIndicatorIds), kIndicatorIds, kIndicatorNames},
        {"Capitalisation", kValueColumn, Count(kCapitalIds), kCapitalIds, kNoName},
        {"Dividend", kValueColumn, Count(kDividendIds), kDividendIds, kDividendNames},
        {"Headline Result", kValueHeadline, 8, nullptr, kHeadlineNames},
        {"Advanced Result", kValueAdvanced, kAdvancedItemCount, nullptr, AdvancedNames()},
        {"", kValueEnd, 0, nullptr, nullptr},
    }};
    return table;
}

} // namespace

const std::array<uint16_t, 14> kPriceDatesUsed = {0, 0, 0, 1, 1, 1, 2, 2, 0, 0, 0, 0, 0, 0};
const std::array<uint16_t, 14> kPriceLookBack = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1};
const std::array<uint16_t, 9> kMovingAverageDatesUsed = {1, 1, 1, 2, 2, 1, 1, 1, 1};
const std::array<uint8_t, 6> kHighLowTemplateEntry = {0, 4, 6, 1, 5, 7};

std::span<const CriterionKind> CriterionKindTable() { return Table(); }

const CriterionKind* CriterionKindOf(uint8_t kind)
{
    return kind < kCriterionKindCount ? &Table()[kind] : nullptr;
}

int32_t GetCriterionColumnId(const DMCriterion& criterion)
{
    const CriterionKind* kind = CriterionKindOf(criterion.kind);
    if (!kind || !kind->columnIds || criterion.parameter >= kind->parameterCount)
        return 0;
    return kind->columnIds[criterion.parameter];
}

int CriterionDatesUsed(const DMCriterion& criterion)
{
    const CriterionKind* kind = CriterionKindOf(criterion.kind);
    if (!kind)
        return 0;
    if (kind->valueClass == kValuePrice && criterion.parameter < kPriceDatesUsed.size())
        return kPriceDatesUsed[criterion.parameter];
    if (kind->valueClass == kValueMovingAverage && criterion.parameter < kMovingAverageDatesUsed.size())
        return kMovingAverageDatesUsed[criterion.parameter];
    return 0;
}

std::span<const AdvancedResultItem> AdvancedResultItems() { return kAdvancedItems; }

} // namespace qv
