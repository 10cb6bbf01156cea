// The menu bar's slots by view kind.
#include "shell/MenuBarPlan.h"

#include "views/ViewKinds.h"

namespace qv {
namespace {

uint8_t graphMenuByte = 0;

const char* const kViewMenuTitles[kViewKindCount] = {
    "&Graph", "&List", "&Portfolio", "&Details", "Tran&saction", "&Dealings",
    "&Data mining", "&Cash", "&News", "&Graph", "&Trade List", "Ticker",
};

} // namespace

MenuBarPlan PlanMenuBar(int32_t activeKind, int32_t portfolioKind, bool parentLinked)
{
    MenuBarPlan plan;
    plan.graphMenu = IsChartViewKind(activeKind);
    plan.graphMenuChanged = uint8_t(plan.graphMenu) != graphMenuByte;
    graphMenuByte = uint8_t(plan.graphMenu);
    if (activeKind >= 0 && activeKind < kViewKindCount) {
        plan.viewMenu = 301 + uint32_t(activeKind);
        if (activeKind == kViewPortfolio && portfolioKind == 3)
            plan.viewMenu = kGroupPortfolioMenu;
        else if (activeKind == kViewPortfolio && portfolioKind != 0)
            plan.viewMenu = kOtherPortfolioMenu;
        else if (activeKind == kViewDailyChart && parentLinked)
            plan.viewMenu = kParentListGraphMenu;
    }
    plan.tablesMenu = activeKind != kViewDetails;
    plan.portfolioMenu = activeKind != kViewPortfolio;
    return plan;
}

const char* TablesMenuTitle(int32_t kind, bool dataMiningGraphMode)
{
    switch (kind) {
    case kViewDailyChart:
    case kViewIntradayChart: return "Graph &Settings";
    case kViewTicker: return "Ticker &Settings";
    case kViewDataMining: return dataMiningGraphMode ? "Graph &Settings" : "Data Mining &Tables";
    case kViewDealings: return "Dealings &Tables";
    case kViewNews: return "News &Tables";
    case kViewTradeList: return "Trade List &Tables";
    case kViewCash: return "Cash &Tables";
    case kViewTransactions: return "Transaction &Tables";
    default: return "List &Tables";
    }
}

const char* TablesMenuNoun(int32_t kind, bool dataMiningGraphMode)
{
    if (IsChartViewKind(kind) || kind == kViewTicker || (kind == kViewDataMining && dataMiningGraphMode))
        return "setting";
    return kind == kViewTransactions ? "transaction table" : "table";
}

const char* ViewMenuTitle(int32_t kind)
{
    return kind >= 0 && kind < kViewKindCount ? kViewMenuTitles[kind] : "";
}

} // namespace qv
