// The criterion kinds of data-mining filters: each kind's name, value class, parameters and the list
// columns behind them, the per-parameter tables of the price and moving-average kinds, and the items
// and variants of the advanced results.
#pragma once

#include "core/DMFilter.h"

#include <array>
#include <cstdint>
#include <span>

namespace qv {

// How a criterion's number is got.
enum CriterionValueClass : int32_t {
    kValueColumn = 0,        // a list-table column or a latest-year results figure
    kValueHeadline = 1,      // a headline results figure
    kValueMovingAverage = 2, // moving averages at dates
    kValuePrice = 3,         // prices at dates, or price columns
    kValueAdvanced = 4,      // an advanced (detailed) results item
    kValueEnd = -1,          // the row that ends the table
};

struct CriterionKind {
    const char* name;
    int32_t valueClass;
    int32_t parameterCount;
    const int32_t* columnIds;           // one per parameter; null for the headline and advanced kinds
    const char* const* parameterNames;  // one per parameter
};

// The kinds in criterion-kind order, ended by a row of value class -1 (which the span includes).
std::span<const CriterionKind> CriterionKindTable();
constexpr int kCriterionKindCount = 15;
constexpr uint8_t kPriceKind = 0;
constexpr uint8_t kMovingAverageKind = 1;
constexpr uint8_t kAdvancedResultKind = 14;
// The kind's row, or null outside the table.
const CriterionKind* CriterionKindOf(uint8_t kind);

// A results code in a column-id table: its high byte 7 means the latest year.
constexpr int32_t ResultsCodeColumnId(int32_t code) { return -(0x700 + code); }

// The price kind's parameters that take dates (1 or 2) and those that take a look-back (1).
extern const std::array<uint16_t, 14> kPriceDatesUsed;
extern const std::array<uint16_t, 14> kPriceLookBack;
extern const std::array<uint16_t, 9> kMovingAverageDatesUsed;
// The highs-and-lows parameters 8-13 as entries of the indexed highs-and-lows column templates.
extern const std::array<uint8_t, 6> kHighLowTemplateEntry;

// The column-id table entry of a criterion's kind and parameter; 0 when it has none.
int32_t GetCriterionColumnId(const DMCriterion& criterion);
// The parameter's dates-used entry (0, 1 or 2) for the price and moving-average kinds; 0 elsewhere.
int CriterionDatesUsed(const DMCriterion& criterion);

// The advanced results: 27 items as the dialog lists them, each with up to five variant names
// (empty slots have none).
struct AdvancedResultItem {
    const char* name;
    std::array<const char*, 5> variants;
};
constexpr int kAdvancedItemCount = 27;
std::span<const AdvancedResultItem> AdvancedResultItems();
// Items 13-26 are stored one higher, so a stored 13 never occurs.
constexpr int StoredAdvancedItem(int item) { return item > 12 ? item + 1 : item; }
constexpr int ShownAdvancedItem(int stored) { return stored > 13 ? stored - 1 : stored; }
// The parameter byte of an advanced criterion: the stored item in bits 0-4, the variant in bits 5-7.
constexpr uint8_t AdvancedParameter(int item, int variant)
{
    return uint8_t((StoredAdvancedItem(item) & 0x1F) | (variant & 7) << 5);
}

} // namespace qv
