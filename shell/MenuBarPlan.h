// Which menus the menu bar holds for the active view kind: the kind's own menu in slot 6 at bar
// position 3, the tables-and-settings popup in slot 7 at position 4 and the general portfolio menu
// in slot 5. The window layer builds the menus themselves (BuildSoftMenu).
#pragma once

#include <cstdint>

namespace qv {

constexpr uint32_t kMainMenu = 300;
constexpr uint32_t kGeneralPortfolioMenu = 345;
constexpr uint32_t kGroupPortfolioMenu = 626;
constexpr uint32_t kOtherPortfolioMenu = 567;
constexpr uint32_t kParentListGraphMenu = 767;
constexpr int kViewMenuSlot = 6;
constexpr int kTablesMenuSlot = 7;
constexpr int kPortfolioMenuSlot = 5;
constexpr int kViewMenuPosition = 3;
constexpr int kTablesMenuPosition = 4;
constexpr int kPortfolioMenuPosition = 4;

struct MenuBarPlan {
    uint32_t viewMenu = 0;        // 0: no kind's menu
    bool tablesMenu = false;
    bool portfolioMenu = false;
    bool graphMenu = false;       // the active kind is a chart
    bool graphMenuChanged = false;
};

// portfolioKind: the current portfolio's kind (3 a group) for the portfolio view; parentLinked: the
// daily graph was opened from a list.
MenuBarPlan PlanMenuBar(int32_t activeKind, int32_t portfolioKind, bool parentLinked);

// The tables-and-settings popup's title and noun by kind ("List &Tables", "table" ...); data-mining
// views in graph mode use the graph titles.
const char* TablesMenuTitle(int32_t kind, bool dataMiningGraphMode);
const char* TablesMenuNoun(int32_t kind, bool dataMiningGraphMode);

// The title of a view kind's menu ("&Graph", "&List" ...), or of the general menus.
const char* ViewMenuTitle(int32_t kind);

} // namespace qv
