// The report commands of the portfolio-type views: the capital gains histories, the tax-year
// summaries, the tax tables, the losses dialog, the dividend report and the valuation report.
#pragma once

#include <cstdint>

namespace qv {

class CViewListTop;
struct CommandUi;

// True for the commands answered here: enabled for a portfolio with transactions; the tax-year
// items take their "Tax year ..." texts.
bool UpdateCgtCommand(const CViewListTop& view, CommandUi& ui);
// True when the command is one of them (it runs when the view shows a portfolio with transactions).
bool RunCgtCommand(CViewListTop& view, uint32_t command);

// The last year chosen for "Any other year's CGT" (2000 at first) and the dividend report's year
// (0 at first), kept until the program ends.
int& LastCgtSummaryYear();
int& LastDividendYear();

} // namespace qv
