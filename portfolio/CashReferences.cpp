// Portfolio references to cash accounts.
#include "portfolio/CashReferences.h"

#include "core/Portfolio.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

namespace qv {

void ClearPortfolioCashReferences(uint32_t accountNumber)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next) {
        if (p->cashAccount == accountNumber)
            p->cashAccount = 0;
        for (Transaction* t = p->transactions; t; t = t->next)
            if (t->bytes.size() >= TransactionLayout::FixedSize &&
                LoadU16(&t->bytes[TransactionLayout::CashAccount]) == accountNumber)
                StoreU16(&t->bytes[TransactionLayout::CashAccount], 0);
    }
}

} // namespace qv
