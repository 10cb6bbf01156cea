// View kinds: the small code every view carries, its predicates and the family of records its
// share list holds.
#pragma once

#include <cstdint>

namespace qv {

enum ViewKind : int32_t {
    kViewLayout = -2,     // stands for a window layout where a kind is expected
    kViewDailyChart = 0,
    kViewList = 1,
    kViewPortfolio = 2,
    kViewDetails = 3,
    kViewTransactions = 4,
    kViewDealings = 5,
    kViewDataMining = 6,
    kViewCash = 7,
    kViewNews = 8,
    kViewIntradayChart = 9,
    kViewTradeList = 10,
    kViewTicker = 11,
};
constexpr int32_t kViewKindCount = 12;

bool IsListViewKind(int32_t kind);          // 1, 2, 6: tables of shares
bool IsNonNewsTableViewKind(int32_t kind);  // 1, 2, 4, 6, 7
bool IsTableViewKind(int32_t kind);         // 1, 2, 4, 6, 7, 8
bool IsOneShareViewKind(int32_t kind);      // 0, 3, 9
bool IsPortfolioViewKind(int32_t kind);     // 2, 4
bool IsListOrMiningViewKind(int32_t kind);  // 1, 6
bool IsChartViewKind(int32_t kind);         // 0, 9

// The family of records a kind's share list holds (ListFamily), -1 outside 0-11. The list source
// kind a view creates its share list with is the same number.
int32_t GetViewKindFamily(int32_t kind);

// The class each kind is created as ("CViewGraphEOD" ...), null outside 0-11.
const char* ViewKindClassName(int32_t kind);

} // namespace qv
