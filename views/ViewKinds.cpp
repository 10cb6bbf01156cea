// View-kind predicates and families.
#include "views/ViewKinds.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace qv {
namespace {

bool KindIn(int32_t kind, std::initializer_list<int32_t> kinds)
{
    for (int32_t k : kinds)
        if (k == kind)
            return true;
    return false;
}

constexpr std::array<int32_t, kViewKindCount> kFamilies{0, 0, 0, 0, 1, 2, 0, 3, 4, 0, 5, 6};

constexpr std::array<const char*, kViewKindCount> kClassNames{
    "CViewGraphEOD", "CViewList", "CViewPort", "CViewDetail", "CViewTran", "CViewHold",
    "CViewDataMining", "CViewCash", "CViewNews", "CViewGraphRT", "CViewTradeList", "CViewRTTicker",
};

bool InRange(int32_t kind) { return kind >= 0 && kind < kViewKindCount; }

} // namespace

bool IsListViewKind(int32_t kind) { return KindIn(kind, {1, 2, 6}); }
bool IsNonNewsTableViewKind(int32_t kind) { return KindIn(kind, {1, 2, 4, 6, 7}); }
bool IsTableViewKind(int32_t kind) { return KindIn(kind, {1, 2, 4, 6, 7, 8}); }
bool IsOneShareViewKind(int32_t kind) { return KindIn(kind, {0, 3, 9}); }
bool IsPortfolioViewKind(int32_t kind) { return KindIn(kind, {2, 4}); }
bool IsListOrMiningViewKind(int32_t kind) { return KindIn(kind, {1, 6}); }
bool IsChartViewKind(int32_t kind) { return KindIn(kind, {0, 9}); }

int32_t GetViewKindFamily(int32_t kind) { return InRange(kind) ? kFamilies[size_t(kind)] : -1; }

const char* ViewKindClassName(int32_t kind) { return InRange(kind) ? kClassNames[size_t(kind)] : nullptr; }

} // namespace qv
