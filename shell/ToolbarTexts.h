// The texts toolbar buttons show: tooltips by the button's kind, and the labels of the wide text
// buttons (setting, portfolio and layout names).
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// The name of the portfolio numbered `number` in the chain; empty when none has a name.
std::string PortfolioNameOf(uint32_t number);
// Portfolio 1-9: "Portfolio: " and the name or "Portfolio - not set"; Setting 1-12: the name of
// that setting for the active view's kind; others the command's tooltip. Cut to 79 characters.
std::string ButtonTooltipText(uint16_t code, uint32_t portfolio);
// The label of a wide text button: the setting's name, the portfolio's name ("Portfolio %i" while
// unassigned) or the layout's name; other buttons their command's label.
std::string WideButtonLabel(uint16_t code, uint32_t portfolio);

} // namespace qv
