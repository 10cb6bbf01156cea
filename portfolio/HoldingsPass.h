// The holdings pass over a portfolio's transactions (each holding's 'Latest' valuation row and the
// derived fields), the summary items of a portfolio's 'Latest' rows, and a cash account's balance.
#pragma once

#include "portfolio/HeaderStrip.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;
struct CashAccount;

// What the pass needs of a share: its name in the database and its latest close and change (pence).
struct HoldingShare {
    std::string name;
    float closePence = 0;
    float changePence = 0;
};
struct HoldingsMarket {
    uint16_t latestDate = 0;
    // Nothing when the database has no share of that id.
    std::function<std::optional<HoldingShare>(uint16_t id, uint8_t line)> share;
};
// The loaded database's shares and latest date.
HoldingsMarket DatabaseHoldingsMarket();

// A share line's latest close and change (pence) and its capitalisation, from the statistics the
// database keeps in its price sub-record; 0 where the line has none.
struct LineFigures {
    float close = 0;
    float change = 0;
    float capital = 0;
};
LineFigures ReadLineFigures(uint8_t* record, uint32_t line);

// The capital gains pass the holdings pass ends with: the silent pass of the tax engine unless replaced.
using HoldingsTaxStep = std::function<void(Portfolio&)>;
void SetHoldingsTaxStep(HoldingsTaxStep step);

// Renames records whose share was renamed (or is lost), removes the old 'Latest' rows, recomputes
// every derived field and closes each share's run with a new 'Latest' row; then the tax step.
void BuildHoldingRows(Portfolio& portfolio, const HoldingsMarket& market);
void BuildHoldingRows(Portfolio& portfolio);

// "Include attached Cash balance(s) in Portfolio valuation" (the portfolio options).
bool& IncludeAttachedCashOption();

// The summary of the portfolio's 'Latest' rows: value (with the attached accounts' balances when the
// option is on and one is attached), the day's change in pounds and percent, profit, realised profit
// and charges. The accounts are the program's.
std::vector<HeaderItem> PortfolioValueLine(const Portfolio& portfolio, bool includeCash);

// The account's balance on the date (0xFFFF: every entry): its own entries, and the amounts of the
// portfolio's transactions that name the account (none when the portfolio is null).
float CashBalanceAt(const CashAccount& account, const Portfolio* portfolio, uint16_t date);

} // namespace qv
