// The rows of a directors' dealings view: which entries of the dealings block its filter byte lets
// through, and the program-wide option flags the filter is unpacked into.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qv {

// The view's filter byte.
constexpr uint8_t kHoldDirectorDeals = 0x01;
constexpr uint8_t kHoldDirectorHoldings = 0x02;
constexpr uint8_t kHoldMajorDeals = 0x04;
constexpr uint8_t kHoldMajorHoldings = 0x08;
constexpr uint8_t kHoldLatestOnly = 0x10;
constexpr uint8_t kHoldLimitMask = 0x60;
constexpr uint8_t kHoldLimitParent = 0x20;
constexpr uint8_t kHoldLimitShare = 0x40;
constexpr uint8_t kHoldDefaultFilter = 0x0F;

// The filter's limit: the selected-share bit wins over the parent bit (a layout's byte may carry
// both), 0 for all shares.
constexpr uint8_t HoldLimit(uint8_t filter)
{
    return (filter & kHoldLimitShare) ? kHoldLimitShare : (filter & kHoldLimitParent) ? kHoldLimitParent : 0;
}

// The six program-wide flags: the four categories, latest only, and the limit as 1 (selected
// share), 2 (parent list) or 3 (all shares).
struct HoldOptionFlags {
    bool directorDeals = false, directorHoldings = false, majorDeals = false, majorHoldings = false;
    bool latestOnly = false;
    int limit = 3;
};
HoldOptionFlags& HoldOptions();
void UnpackHoldFilter(uint8_t filter);
// The program-wide flags packed back into a filter byte (0 while no category is chosen).
uint8_t PackHoldFilter();

// True when data byte 4's flags f fall in a category the filter asks for.
bool HoldCategoryPasses(uint8_t filter, uint8_t f);

// What the limit of the filter compares with.
struct HoldLimitSource {
    uint16_t selectedShareId = 0;            // 0: none, so the selected-share limit shows nothing
    std::span<const RecordCursor> parentRows; // empty: no parent list, so no limit
};

// The share record of a 15-bit id, or null when there is none.
using ShareRecordLookup = std::function<const uint8_t*(uint16_t id)>;
// The database's own lookup.
const uint8_t* FindDealingShare(uint16_t id);

// The rows {entry + 1, 0} of the block's entries that pass the filter, in block order.
std::vector<RecordCursor> BuildHoldRows(const uint8_t* block, uint8_t filter, const HoldLimitSource& limit,
                                        const ShareRecordLookup& findShare);

// Counts of rows per category: directors' dealings, directors' holdings, major holdings dealings,
// major holdings.
struct HoldCounts {
    int directorDeals = 0, directorHoldings = 0, majorDeals = 0, majorHoldings = 0;
};
HoldCounts CountHoldRows(std::span<const RecordCursor> rows);

// Commands of the view on the filter byte.
uint8_t ToggleLatestOnly(uint8_t filter);
uint8_t ShowAllShares(uint8_t filter);
// Limit 0x20, unless it already is: then, outside the parent-list mode, the selected-share limit
// when the list has a selected share, else no limit.
uint8_t ToggleParentLimit(uint8_t filter, bool parentListMode, bool hasSelectedShare);
uint8_t LimitToSelectedShare(uint8_t filter);

} // namespace qv
