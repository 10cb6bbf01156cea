// Reading the sector analysis's shares from the loaded database.
#include "portfolio/ui/SectorShares.h"

#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/FieldTable.h"
#include "lists/FieldValue.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

namespace qv {
namespace {

constexpr size_t kSectorWordOffset = 6;
constexpr int kCapitalField = 23;

SectorShare ShareOf(uint8_t* record, uint32_t extra)
{
    RecordCursor cursor{record, extra};
    SectorShare s;
    s.codes = ShareSectorCodes(GetRecordClass(&cursor), LoadU16(record + kSectorWordOffset));
    s.name = std::string(GetRecordName(record));
    GetShareFileCode(cursor, s.epic, false);
    return s;
}

double CapitalOf(uint8_t* record, uint32_t extra)
{
    const auto entry = FieldTableEntryOf(DatabaseFieldTable(), kCapitalField);
    if (!entry)
        return 0;
    const std::span<const uint8_t> bytes = FieldBytes(*entry, record, extra, kCapitalField);
    if (bytes.size() < 4)
        return 0;
    const float capital = LoadF32(bytes.data());
    return capital == kNotComputed ? 0 : capital;
}

} // namespace

std::vector<SectorShare> SectorSharesOf(const ShareList& list)
{
    namespace L = TransactionLayout;
    std::vector<SectorShare> shares;
    // A transactions list's entries are transactions: its shares come from its portfolio alone.
    for (const RecordCursor* e = list.family == kFamilyTransactions ? nullptr : list.entries; e && e->record; ++e) {
        SectorShare s = ShareOf(e->record, e->count);
        s.capital = CapitalOf(e->record, e->count);
        shares.push_back(std::move(s));
    }
    if (!list.source)
        return shares;
    for (const Transaction* t = list.source->transactions; t; t = t->next) {
        if (t->type() != kLatestRowType || t->bytes.size() < L::FixedSize)
            continue;
        uint8_t* record = FindShareRecord(t->shareId());
        if (!record)
            continue;
        SectorShare s = ShareOf(record, 0);
        s.inPortfolio = true;
        s.held = LoadF32(&t->bytes[L::Holding]);
        s.holding = LoadF32(&t->bytes[L::Consideration]);
        shares.push_back(std::move(s));
    }
    return shares;
}

} // namespace qv
