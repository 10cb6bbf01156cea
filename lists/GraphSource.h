// The record a chart draws in place of a share when it shows a whole list or a portfolio: the graph
// source kinds 1 (the list's composite weighted by capitalisation), 2 (not weighted), 4 (a
// portfolio's value) and 8 (its profit or loss), built from the rows or the portfolio of a view's
// list. A list view that has built one for the chart it opens hands it over, so the chart does not
// build it (and say its messages) a second time.
#pragma once

#include <cstdint>

namespace qv {

class CViewBase;
struct ShareList;

constexpr uint32_t kSourceListWeighted = 1;
constexpr uint32_t kSourceListUnweighted = 2;
constexpr uint32_t kSourcePortfolioValue = 4;
constexpr uint32_t kSourcePortfolioProfit = 8;

// Builds the record of the source kind for the view's list into `target` (freed and replaced),
// titled with the view's source title. False (after the builder's message) when there is not enough
// data, or the kind needs a portfolio the list lacks; `target` then stays as it was.
bool BuildGraphSourceRecord(uint8_t*& target, const CViewBase& view, uint32_t sourceKind);

// The hand-over: a built record kept for the next chart of that list and kind (a record handed
// earlier and not taken is freed). Take returns it and gives up ownership; null when none matches.
void HandOverGraphSource(const ShareList* list, uint32_t sourceKind, uint8_t* record);
uint8_t* TakeGraphSource(const ShareList* list, uint32_t sourceKind);

} // namespace qv
