// Filtering the dealings block into the rows of a dealings view.
#include "lists/HoldList.h"

#include "core/RecordAccess.h"
#include "lists/DealingItem.h"

#include <algorithm>

namespace qv {

HoldOptionFlags& HoldOptions()
{
    static HoldOptionFlags flags;
    return flags;
}

void UnpackHoldFilter(uint8_t filter)
{
    HoldOptionFlags& o = HoldOptions();
    o.directorDeals = filter & kHoldDirectorDeals;
    o.directorHoldings = filter & kHoldDirectorHoldings;
    o.majorDeals = filter & kHoldMajorDeals;
    o.majorHoldings = filter & kHoldMajorHoldings;
    o.latestOnly = filter & kHoldLatestOnly;
    o.limit = (filter & kHoldLimitShare) ? 1 : (filter & kHoldLimitParent) ? 2 : 3;
}

uint8_t PackHoldFilter()
{
    const HoldOptionFlags& o = HoldOptions();
    uint8_t filter = 0;
    filter |= o.directorDeals ? kHoldDirectorDeals : 0;
    filter |= o.directorHoldings ? kHoldDirectorHoldings : 0;
    filter |= o.majorDeals ? kHoldMajorDeals : 0;
    filter |= o.majorHoldings ? kHoldMajorHoldings : 0;
    filter |= o.latestOnly ? kHoldLatestOnly : 0;
    filter |= o.limit == 1 ? kHoldLimitShare : o.limit == 2 ? kHoldLimitParent : 0;
    return filter;
}

bool HoldCategoryPasses(uint8_t filter, uint8_t f)
{
    const bool holding = f & kDealingHolding;
    const bool major = f & kDealingMajorHolder;
    const bool current = holding || !(f & kDealingSuperseded);
    return ((filter & kHoldDirectorDeals) && !holding && !major) ||
           ((filter & kHoldDirectorHoldings) && !major && current) ||
           ((filter & kHoldMajorDeals) && major && !holding) || ((filter & kHoldMajorHoldings) && major && current);
}

const uint8_t* FindDealingShare(uint16_t id)
{
    const RecordCursor found = FindRecordById(id, 0);
    if (!found.record || RecordLength(found.record) == 0)
        return nullptr;
    return found.record;
}

std::vector<RecordCursor> BuildHoldRows(const uint8_t* block, uint8_t filter, const HoldLimitSource& limit,
                                        const ShareRecordLookup& findShare)
{
    std::vector<RecordCursor> rows;
    if (!block)
        return rows;
    for (const uint8_t* entry = block; entry[0] != 0; entry += entry[0]) {
        const uint8_t f = DealingFlags(entry);
        if (!HoldCategoryPasses(filter, f))
            continue;
        const uint16_t id = DealingShareId(entry);
        const uint8_t* share = findShare(id);
        if (!share)
            continue;
        if (filter & kHoldLimitShare) {
            if (limit.selectedShareId == 0 || id != limit.selectedShareId)
                continue;
        } else if ((filter & kHoldLimitParent) && !limit.parentRows.empty()) {
            const bool inParent = std::any_of(limit.parentRows.begin(), limit.parentRows.end(),
                                              [&](const RecordCursor& row) { return row.record == share; });
            if (!inParent)
                continue;
        }
        if ((filter & kHoldLatestOnly) && (f & kDealingSuperseded))
            continue;
        rows.push_back({const_cast<uint8_t*>(entry) + 1, 0});
    }
    return rows;
}

HoldCounts CountHoldRows(std::span<const RecordCursor> rows)
{
    HoldCounts counts;
    for (const RecordCursor& row : rows) {
        if (!row.record)
            break;
        const uint8_t f = DealingFlags(row.record - 1);
        const bool holding = f & kDealingHolding;
        if (f & kDealingMajorHolder)
            ++(holding ? counts.majorHoldings : counts.majorDeals);
        else
            ++(holding ? counts.directorHoldings : counts.directorDeals);
    }
    return counts;
}

uint8_t ToggleLatestOnly(uint8_t filter) { return filter ^ kHoldLatestOnly; }
uint8_t ShowAllShares(uint8_t filter) { return filter & ~kHoldLimitMask; }
uint8_t LimitToSelectedShare(uint8_t filter) { return filter | kHoldLimitShare; }

uint8_t ToggleParentLimit(uint8_t filter, bool parentListMode, bool hasSelectedShare)
{
    const uint8_t others = filter & ~kHoldLimitMask;
    if ((filter & kHoldLimitMask) != kHoldLimitParent)
        return others | kHoldLimitParent;
    if (parentListMode)
        return filter;
    return others | (hasSelectedShare ? kHoldLimitShare : 0);
}

} // namespace qv
