// Portfolio references to cash accounts.
#include "portfolio/CashReferences.h"

namespace qv {

void ClearPortfolioCashReferences(uint32_t) {}

} // namespace qv
