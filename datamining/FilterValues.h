// The rows every data-mining filter is evaluated over (the candidates), the reference date their
// period words resolve against, and the cache of price and moving-average values computed for all
// candidates at once per date and key.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// A row that is not among the candidates (an intraday or imported row of a portfolio source): the
// value getters answer no value for it.
constexpr uint32_t kNotACandidate = 0xFFFFFFFFu;

struct FilterCandidateRows {
    std::vector<RecordCursor> rows; // every listed line of the database, ended by a zero row
    int32_t referenceDate = 0;      // the database's latest date at the rebuild
    uint32_t generation = 0;        // the database load the rows belong to
    int32_t itemCount = -1;         // the database's item count at the rebuild (imports change it)
    bool built = false;
};
FilterCandidateRows& FilterCandidates();
// Rows before the zero row.
uint32_t FilterCandidateCount();

// True when the database changed since the candidates were built (or they never were).
bool FilterCandidatesOutOfDate();
// Rebuilds the candidates, sets the reference date, empties the value cache, marks every filter out of
// date and every filter-driven portfolio for refilling.
void RebuildFilterCandidates();
// Rebuilds only when out of date.
void EnsureFilterCandidates();

// For each row up to the zero row, its position among the candidates, the search resuming where the
// last one stopped (restarting once from the first); kNotACandidate when it is not there.
void MapRowsToCandidates(const RecordCursor* rows, std::span<const RecordCursor> candidates, uint32_t* positions);

// Cache keys: the plain price is 0; a moving average its type in bits 0-3 and its period in bits 16-29.
// Types 2-5 are exponential, weighted, triangular and variable; any other is simple.
uint32_t MovingAverageKey(uint32_t type, uint32_t period);

// The cache entry's block: its key, date and in-use mark, then one value per candidate row.
struct FilterValueBlock {
    uint32_t key;
    int32_t date;     // a PackedDate, or minus a count of trading days
    uint32_t inUse;
    uint32_t count;   // values that follow, the zero row's included
    float* values() { return reinterpret_cast<float*>(this + 1); }
};
static_assert(sizeof(FilterValueBlock) == 16);

bool IsValueCached(int32_t date, uint32_t key);
// Makes the entry for (date, key), computing the value of every candidate on the processors the
// process may use, the progress window ticked once per value on the calling thread.
void ComputeCachedValues(int32_t date, uint32_t key);
// The cached value of a candidate, computing its block first when needed; marks the entry in use.
float GetCachedValue(uint32_t position, int32_t date, uint32_t key);
// Sums the blocks' sizes and clears every in-use mark.
uint64_t ResetValueCacheMarks();
// Frees every entry whose in-use mark is still clear.
void TrimValueCache();
size_t ValueCacheEntries();

} // namespace qv
