// The demo's data-mining filters ("Filter.cfg"): a value, a momentum and a size filter, each with X, Y
// and Z criteria; the momentum filter runs over "Demo Portfolio".
#pragma once

#include "core/DMFilter.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv::dev {

// Demo Portfolio's number (devtools/lib/DemoPortfolios).
constexpr uint16_t kDemoPortfolioNumber = 0;

std::vector<std::unique_ptr<DMFilter>> BuildDemoFilters();
// Writes "Filter.cfg" into the folder, the first filter current.
bool WriteDemoFilters(const std::filesystem::path& folder);

// Loads a program folder's database, imports, portfolios and filters (from a copy), runs the named
// filter and gives one line per passing share: its name and every criterion's value ("-" for none).
// Nothing when the filter is not there.
std::optional<std::string> DescribeFilterRun(const std::filesystem::path& folder, const std::string& filterName);

} // namespace qv::dev
