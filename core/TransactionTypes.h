// Groupings of the transaction type codes (1 buy, 2 sell, 3 dividend, 4-7 other increases,
// reductions, returns and costs, 8 take up rights, 9 sell nil-paid rights, 10 scrip dividend,
// 11-12 part payments, ...).
#pragma once

namespace qv {

constexpr bool TranAddsShares(int type) { return type == 1 || type == 4 || type == 8 || type == 10 || type == 11; }
constexpr bool TranRemovesShares(int type) { return type == 2 || type == 5; }
// The amount is received.
constexpr bool TranIsCredit(int type) { return type == 2 || type == 3 || type == 5 || type == 6 || type == 9; }
// The amount is paid.
constexpr bool TranIsDebit(int type)
{
    return type == 1 || type == 4 || type == 7 || type == 8 || type == 11 || type == 12;
}

// How a transaction moves the cash of the account it names: +1 received, -1 paid, 0 none (orders,
// splits, scrip dividends and 'Latest' rows move no cash).
constexpr int TranCashSign(int type) { return TranIsCredit(type) ? 1 : TranIsDebit(type) ? -1 : 0; }

} // namespace qv
