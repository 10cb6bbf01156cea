// What the portfolios keep of cash accounts.
#pragma once

#include <cstdint>

namespace qv {

// Clears every portfolio's references to the cash account with that number (the portfolio code
// fills this in; until portfolios hold cash references there is nothing to clear).
void ClearPortfolioCashReferences(uint32_t accountNumber);

} // namespace qv
