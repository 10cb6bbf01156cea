// The dividend report of a portfolio for a tax year: each dividend with its tax credit, and the totals.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct Transaction;

constexpr int kDividendFirstYear = 1990;
constexpr int kDividendLastYear = 2027;
constexpr int kDividendDefaultYear = 2001;
constexpr double kMaxTaxCreditRate = 90;

// The report's lines for the tax year from 6 April `year` (transactions may be null).
std::vector<std::string> DividendReportLines(const Transaction* transactions, int year);
// The credit on an amount received at a rate in per cent, the rate capped at 90 as the dialogs cap it.
double DividendTaxCredit(double received, double rate);
// "Dividend report for portfolio %s, tax year %i/%i"; "unknown" for no portfolio.
std::string DividendReportCaption(const std::string& portfolio, int year);

} // namespace qv
