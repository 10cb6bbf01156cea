// The capital gains report of a portfolio in a program folder, as text.
#pragma once

#include "core/PackedDate.h"

#include <filesystem>
#include <optional>
#include <string>

namespace qv::dev {

struct CgtTextRequest {
    std::string portfolio; // its name
    std::string epic;      // one share's history; empty for the portfolio's
    int taxYear = -1;      // the tax year starting in 1990 + taxYear; -1 for every year
    int summaryYear = -1;  // the tax-year summary of this index in place of the report
    // The tax years run to this date's; 0 for the folder's latest price day (the system's date when
    // the folder has none), so that a folder's report does not change with the clock.
    PackedDate today = 0;
};

// Loads a copy of the folder's database and portfolios, runs the capital gains pass over the named
// portfolio and returns the report (UTF-8): a share's history, the portfolio's history or one tax
// year's lines. Nothing when the portfolio or the share is not there; `error` says which.
std::optional<std::string> DescribeCapitalGains(const std::filesystem::path& folder, const CgtTextRequest& request,
                                                std::string& error);

// The dividend report of the named portfolio for the tax year from 6 April `year`, one line each.
std::optional<std::string> DescribeDividends(const std::filesystem::path& folder, const std::string& portfolio, int year,
                                             std::string& error);

} // namespace qv::dev
