// Evaluating a data-mining filter: the rows of its source, their candidate positions, the statistics of
// its criteria and the rows that pass, into a share list or into the filter-driven portfolio.
#pragma once

#include "core/DMFilter.h"

#include <cstdint>
#include <span>

namespace qv {

class CViewBase;
struct Portfolio;
struct ShareList;

// Evaluates `filter`, or without one the filter at the 1-based position of the list (none when the
// list is shorter: the list is left with an empty row array), into `list`. False without a list.
bool RunFilter(ShareList* list, DMFilter* filter, int32_t position);

// Makes the shares that pass the filter named like the filter-driven portfolio its entries (a
// portfolio without a name first takes the name of the filter the settings keep). 1 when filled (an
// unmatched name leaves it empty and counts as filled), 0 without a current filter.
int FillFilterPortfolio(DMFilter* currentFilter, Portfolio* portfolio);

// Keeps the rows (and their candidate positions) that pass every enabled criterion, in order; the
// number kept.
int32_t ApplyFilterCriteria(ShareList* list, uint32_t* positions, std::span<const DMCriterion> criteria);

// The rows of the user portfolio that is the filter's source; when it no longer exists, all shares,
// and the filter loses its portfolio source.
void LoadPortfolioRows(ShareList* list, DMFilter* filter);

// The rows of a filter's source: its portfolio's, or its list's.
void LoadFilterSourceRows(ShareList* list, DMFilter* filter);

// Share values still to be computed for the criterion (the progress window's total).
uint64_t EstimateCriterionWork(const DMCriterion& criterion);

// Posts the message (1, 0) to every view of every share list but `skip`; with a filter, only to the
// views that show it.
void PostToAllViews(uint32_t message, const DMFilter* filter, const CViewBase* skip);

// The cache of values is trimmed when its blocks add up to more than this.
constexpr uint64_t kValueCacheTrimBytes = 1048576;

} // namespace qv
