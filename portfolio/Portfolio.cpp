// The program-wide portfolio chain.
#include "portfolio/Portfolio.h"

namespace qv {

Portfolio*& PortfolioChain()
{
    static Portfolio* head = nullptr;
    return head;
}

} // namespace qv
