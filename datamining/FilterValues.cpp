// The candidate rows, their reference date and the value cache of the data-mining filters.
#include "datamining/FilterValues.h"

#include "core/DMFilter.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/ParallelFor.h"
#include "core/Portfolio.h"
#include "core/PriceLookups.h"
#include "core/RecordLists.h"
#include "datamining/FilterProgress.h"
#include "lists/ListRows.h"
#include "shell/LayoutSwitch.h"

#include <algorithm>
#include <cstdint>

namespace qv {
namespace {

constexpr int32_t kAllList = 0;

FilterValueBlock* BlockOf(RecordListNode* node) { return reinterpret_cast<FilterValueBlock*>(node->record); }

RecordListNode* FindEntry(int32_t date, uint32_t key)
{
    for (RecordListNode* node = DataMiningValueList; node; node = node->next) {
        const FilterValueBlock* block = BlockOf(node);
        if (block && block->date == date && block->key == key)
            return node;
    }
    return nullptr;
}

// Entries stay in date order: a new one goes to the head unless it is later than the head, else
// behind the first entry whose successor is missing or not later.
void LinkEntry(RecordListNode* node, int32_t date)
{
    RecordListNode* head = DataMiningValueList;
    if (!head || date <= BlockOf(head)->date) {
        node->next = head;
        DataMiningValueList = node;
        return;
    }
    RecordListNode* at = head;
    while (at->next && date > BlockOf(at->next)->date)
        at = at->next;
    node->next = at->next;
    at->next = node;
}

size_t BlockBytes(uint32_t count) { return sizeof(FilterValueBlock) + size_t(count) * sizeof(float); }

} // namespace

FilterCandidateRows& FilterCandidates()
{
    static FilterCandidateRows candidates;
    return candidates;
}

uint32_t FilterCandidateCount()
{
    const auto& rows = FilterCandidates().rows;
    return rows.empty() ? 0 : uint32_t(rows.size() - 1);
}

bool FilterCandidatesOutOfDate()
{
    const FilterCandidateRows& c = FilterCandidates();
    return !c.built || c.generation != DatabaseLoadGeneration || c.itemCount != TotalItemCount;
}

void RebuildFilterCandidates()
{
    FilterCandidateRows& c = FilterCandidates();
    RowFilter all;
    all.listNumber = kAllList;
    c.rows = CollectListRows(all);
    c.rows.push_back(RecordCursor{});
    c.referenceDate = LatestDatabaseDate;
    c.generation = DatabaseLoadGeneration;
    c.itemCount = TotalItemCount;
    c.built = true;
    const uint8_t busy = DataMiningRunBusy;
    DataMiningRunBusy = 1;
    FreeItemList();
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kFilterPreset)
            p->changed = 1;
    if (!busy)
        for (const auto& filter : FilterList())
            filter->flags |= kFilterOutOfDate;
    DataMiningRunBusy = busy;
}

void EnsureFilterCandidates()
{
    if (FilterCandidatesOutOfDate())
        RebuildFilterCandidates();
}

void MapRowsToCandidates(const RecordCursor* rows, std::span<const RecordCursor> candidates, uint32_t* positions)
{
    if (!rows || !positions || candidates.empty())
        return;
    const size_t end = candidates.size() - 1; // the zero row
    size_t at = 0;
    for (size_t r = 0; rows[r].record; ++r) {
        const RecordCursor row = rows[r];
        uint32_t found = kNotACandidate;
        for (int pass = 0; pass < 2 && found == kNotACandidate; ++pass) {
            for (; at < end; ++at) {
                if (candidates[at].record == row.record && candidates[at].count == row.count) {
                    found = uint32_t(at++);
                    break;
                }
            }
            if (found == kNotACandidate)
                at = 0;
        }
        positions[r] = found;
    }
}

uint32_t MovingAverageKey(uint32_t type, uint32_t period)
{
    // Type 0 would read as the plain close; it is a simple average like every other unnamed type.
    const uint32_t named = type >= 1 && type <= 5 ? type : 1;
    return named | (period & 0x3FFF) << 16;
}

bool IsValueCached(int32_t date, uint32_t key) { return FindEntry(date, key) != nullptr; }

void ComputeCachedValues(int32_t date, uint32_t key)
{
    const std::vector<RecordCursor>& rows = FilterCandidates().rows;
    const uint32_t count = uint32_t(rows.size());
    auto* block = static_cast<FilterValueBlock*>(ProCalloc(1, uint32_t(BlockBytes(count)), "Filter values"));
    block->key = key;
    block->date = date;
    block->count = count;
    RecordListNode* node = NewListNode(reinterpret_cast<uint8_t*>(block), 0);
    LinkEntry(node, date);
    float* values = block->values();
    const uint32_t n = count > 0 ? count - 1 : 0;
    // The values are shared out over the processors in runs that end where the progress window pumps
    // the waiting messages: the window stays alive (and Esc reaches it) as before, and whatever the
    // messages do meets no value half computed.
    constexpr uint32_t kSlice = 16;
    for (uint32_t first = 0; first < n;) {
        const uint32_t last = uint32_t(std::min<uint64_t>(n, uint64_t(first) + FilterTicksToNextPump()));
        ParallelFor((last - first + kSlice - 1) / kSlice, [&](size_t slice) {
            MovingAverageCache calculator;
            const uint32_t from = first + uint32_t(slice) * kSlice;
            for (uint32_t i = from; i < std::min(last, from + kSlice); ++i)
                values[i] = GetMovingAverageAt(rows[i].record, rows[i].count, date, key, &calculator);
        }, 1);
        for (; first < last; ++first)
            FilterProgressTick();
    }
}

float GetCachedValue(uint32_t position, int32_t date, uint32_t key)
{
    RecordListNode* node = FindEntry(date, key);
    while (!node) {
        ComputeCachedValues(date, key);
        node = FindEntry(date, key);
    }
    FilterValueBlock* block = BlockOf(node);
    block->inUse = 1;
    return position < block->count ? block->values()[position] : 0.0f;
}

uint64_t ResetValueCacheMarks()
{
    uint64_t bytes = 0;
    for (RecordListNode* node = DataMiningValueList; node; node = node->next) {
        FilterValueBlock* block = BlockOf(node);
        bytes += BlockBytes(block->count);
        block->inUse = 0;
    }
    return bytes;
}

void TrimValueCache()
{
    RecordListNode** link = &DataMiningValueList;
    while (*link) {
        RecordListNode* node = *link;
        if (BlockOf(node)->inUse) {
            link = &node->next;
            continue;
        }
        *link = node->next;
        ProFree(node->record);
        ProFree(node);
    }
}

size_t ValueCacheEntries()
{
    size_t n = 0;
    for (RecordListNode* node = DataMiningValueList; node; node = node->next)
        ++n;
    return n;
}

} // namespace qv
