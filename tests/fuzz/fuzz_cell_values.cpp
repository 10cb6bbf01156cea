// Runs random column records and random token strings through FormatColumnValue and
// EvaluateFormulaColumn for a row of every family: a share of a small database (with the demo's field
// table, results and company fields), a transaction, a cash entry, a news entry and a trade, each in
// a buffer of exactly its size so that no read may leave it.
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/CellValue.h"
#include "lists/FormulaColumn.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "portfolio/Transaction.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace qv;

uint8_t* Share()
{
    static uint8_t* share = [] {
        using namespace std::chrono;
        dev::DemoDatabase db = dev::BuildDemoDatabase(sys_days{year{2010} / March / 31});
        db.records.resize(std::min<size_t>(db.records.size(), 40));
        dev::DbFile file = dev::DemoDbFile(db);
        std::vector<uint8_t> quorva = dev::WriteQuorvaDat(file);
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(db));
        std::span<const uint8_t> c(comp);
        LoadDatabaseFromMemory(quorva, &c);
        std::atexit([] { FreeDatabase(true); });
        for (const dev::DemoRecord& r : db.records)
            if (!r.description.empty())
                return FindShareRecord(r.id);
        return FindShareRecord(db.records.front().id);
    }();
    return share;
}

std::vector<uint8_t> RowOf(int family)
{
    switch (family) {
    case kFamilyTransactions:
    case kFamilyCash: {
        TransactionFields t;
        t.type = 2;
        t.shareId = RecordId(Share());
        t.texts[0] = "Name";
        return *EncodeTransaction(t);
    }
    case kFamilyNews: return std::vector<uint8_t>(NewsEntryLayout::Size, 0x7F);
    case kFamilyTrades: return std::vector<uint8_t>(TradeLayout::Size, 0x80);
    case kFamilyDealings: return std::vector<uint8_t>(32, 0x55);
    default: return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    uint8_t* share = Share();
    const int family = data[0] % 7;
    const uint32_t extra = data[1] % 3;
    data += 2;
    size -= 2;

    std::vector<uint8_t> row = RowOf(family);
    if (family == kFamilyCash && extra == 1) {
        CashEntryFields f;
        row = *EncodeCashEntry(f);
    }
    uint8_t* record = row.empty() ? share : row.data();
    ShareList list{};
    list.family = family;

    // A column record of exactly the input's length (at least the plain 27 bytes).
    std::vector<uint8_t> column(std::max<size_t>(std::min<size_t>(size, 255), kColumnDefBytes), 0);
    std::memcpy(column.data(), data, std::min(size, column.size()));
    column[ColumnDefLayout::Length] = uint8_t(column.size());
    char text[kCellTextBytes];
    size_t n = FormatColumnValue(record, extra, column.data(), text, sizeof text, 1, &list, size ? data[0] & 1 : 0);
    if (n >= sizeof text || std::strlen(text) != n)
        std::abort();
    // A short buffer must hold whatever comes.
    char small[8];
    n = FormatColumnValue(record, extra, column.data(), small, sizeof small, 1, &list, 0);
    if (n >= sizeof small)
        std::abort();

    std::vector<uint8_t> tokens(data, data + size);
    EvaluateFormulaColumn(tokens, record, extra, family == kFamilyShares ? nullptr : &list);
    return 0;
}
