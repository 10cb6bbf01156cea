// Feeds arbitrary bytes to the readers of the portfolio, cash-account and imports files and of the
// transaction and cash-entry records: none may read out of bounds, loop without end or crash, and
// whatever they read must write back. A portfolio file is loaded only when it reads whole (every
// length adds up), and what a loaded one writes back reads whole again.
#include "core/CashAccountFile.h"
#include "core/ImportsFile.h"
#include "core/RecordLists.h"
#include "platform/MessageBox.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

class SilentHost : public qv::MessageBoxHost {
public:
    qv::MsgAnswer show(const qv::MessageRequest&) override { return qv::MsgAnswer::Ok; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentHost host;
    qv::SetMessageBoxHost(&host);
    std::span<const uint8_t> bytes(data, size);

    const bool whole = qv::PortfolioImageReadsWhole(bytes);
    if (qv::Portfolio* p = qv::LoadPortfolioImage(bytes, 5, 1, 2)) {
        if (!whole || !qv::PortfolioImageReadsWhole(qv::BuildPortfolioImage(*p)))
            std::abort();
    }
    qv::FreePortfolioChain();

    qv::CashFileContents cash = qv::ReadCashFile(bytes);
    qv::WriteCashFile(cash.accounts);

    qv::LoadImportsImage(bytes);
    qv::BuildImportsImage();
    qv::FreeRecordList(&qv::ImportedItemList, &qv::ImportedItemCount);

    if (auto t = qv::DecodeTransaction(bytes))
        qv::EncodeTransaction(*t);
    if (auto e = qv::DecodeCashEntry(bytes))
        qv::EncodeCashEntry(*e);
    std::vector<uint8_t> block(bytes.begin(), bytes.end());
    qv::RepairCashBlock(block);
    qv::WidenVersion1CashBlock(bytes);
    return 0;
}
