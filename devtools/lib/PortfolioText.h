// Text listings of the portfolios, their transactions and the cash accounts of a program folder.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace qv::dev {

// Loads a program folder's database (when there is one), imports, portfolios and cash accounts as
// start-up does, lists them, and frees them again. The loaders work on a copy of the files, so a
// damaged file is reported but never set aside; the program folder is left pointing at the copy's
// original.
std::string DescribePortfolioFolder(const std::filesystem::path& folder);
// Loads a copy of the folder's database, imports, portfolios and cash accounts as start-up does, runs
// `describe` (which appends to the text returned) and frees them again.
std::string WithLoadedFolder(const std::filesystem::path& folder, const std::function<void(std::string&)>& describe);
// The 'Latest' rows and the summary of the named portfolio (the first user or group portfolio when
// the name is empty) after a holdings pass; nothing when there is no such portfolio.
std::optional<std::string> DescribeHoldings(const std::filesystem::path& folder, const std::string& name);

} // namespace qv::dev
