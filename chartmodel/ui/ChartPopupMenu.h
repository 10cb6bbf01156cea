// The chart's two toolbar popups: "Indicator" (21116) and "Market graphs" (21112), the add-indicator
// and market-graph menus of the chart kind, shown at the cursor.
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

namespace qv {

constexpr uint32_t kCommandIndicatorPopup = 21116;
constexpr uint32_t kCommandMarketPopup = 21112;

// The menu a popup command shows on a view kind: 773 and 774 on a daily chart, 776 and 772 on an
// intraday chart; 0 for any other command or kind.
uint32_t ChartPopupMenuId(uint32_t command, int32_t viewKind);

// Pops the menu up at the cursor; a chosen command goes to `run`.
void ShowChartPopupMenu(uint32_t menuId, QWidget* parent, std::function<void(uint32_t)> run);

} // namespace qv
