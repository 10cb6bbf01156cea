// Captions that windows and menus show: the portfolio caption and a command's tooltip text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

// "Portfolio: " + the list's portfolio name, else the current list's, else "None selected".
std::string GetPortfolioCaption(const std::optional<std::string>& listPortfolio,
                                const std::optional<std::string>& currentListPortfolio);

// The command strings ("prompt\ntip"); the resources install the source.
using CommandStringSource = std::function<std::string(uint32_t commandId)>;
CommandStringSource SetCommandStringSource(CommandStringSource source);

// The tooltip part of a command's string: from its "\n" on (the "\n" left out); for command 26422
// the part before it; the whole string when it has none.
std::string GetCommandTip(uint32_t commandId);

} // namespace qv
