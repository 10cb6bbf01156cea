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

} // namespace qv
