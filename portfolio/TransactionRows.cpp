// The rows of the transaction and cash views.
#include "portfolio/TransactionRows.h"

#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashStatement.h"
#include "portfolio/Transaction.h"

#include <algorithm>

namespace qv {
namespace {

namespace L = TransactionLayout;

float HoldingOf(const Transaction& t)
{
    return t.bytes.size() >= L::FixedSize ? LoadF32(&t.bytes[L::Holding]) : 0;
}

} // namespace

std::vector<Transaction*> TransactionRowsOf(const Portfolio& portfolio, bool totalsOnly, bool heldOnly)
{
    std::vector<Transaction*> rows;
    size_t runStart = 0;
    for (Transaction* t = portfolio.transactions; t; t = t->next) {
        const bool latest = t->type() == kLatestRowType;
        if (!totalsOnly || latest)
            rows.push_back(t);
        if (!latest)
            continue;
        if (heldOnly && HoldingOf(*t) == 0)
            rows.resize(runStart);
        runStart = rows.size();
    }
    return rows;
}

std::vector<RecordCursor> RowsOfTransactions(const std::vector<Transaction*>& records)
{
    std::vector<RecordCursor> rows;
    rows.reserve(records.size());
    for (Transaction* t : records)
        rows.push_back({t->bytes.data(), 0});
    return rows;
}

void SetListRows(ShareList* list, const std::vector<RecordCursor>& rows)
{
    if (!list)
        return;
    const int32_t needed = int32_t(rows.size()) + 1;
    if (!list->entries || list->capacity < needed) {
        ProFree(list->entries);
        list->capacity = needed;
        list->entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(needed), sizeof(RecordCursor), "Share list"));
    }
    std::copy(rows.begin(), rows.end(), list->entries);
    list->entries[rows.size()] = RecordCursor{};
    const int32_t last = std::max<int32_t>(int32_t(rows.size()) - 1, 0);
    list->last = last;
    list->current = std::clamp(list->current, 0, last);
    list->firstVisible = std::clamp(list->firstVisible, 0, last);
    list->rowsEnd = int32_t(rows.size());
}

void ForgetRowsWithin(const void* begin, const void* end, ShareList* own)
{
    const auto first = reinterpret_cast<uintptr_t>(begin);
    const auto last = reinterpret_cast<uintptr_t>(end);
    auto holds = [&](const ShareList* l) {
        const auto row = l && l->entries ? reinterpret_cast<uintptr_t>(l->entries[0].record) : 0;
        return row >= first && row < last;
    };
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (holds(l))
            SetListRows(l, {});
    if (holds(own))
        SetListRows(own, {});
}

RecordCursor ShareOfRow(const ShareList& list, const RecordCursor& row)
{
    // News, trade and dealing rows are entries of their own, never share records (a dealing read as
    // a share record walked off its end).
    if (list.family == kFamilyNews || list.family == kFamilyTrades || list.family == kFamilyDealings)
        return {};
    if (!row.record || !ListRowsAreOwnRecords(&list))
        return row;
    if (list.family == kFamilyCash && row.count != kCashRowTransaction)
        return {};
    const RecordCursor share = FindRecordById(LoadU16(row.record + L::ShareId), row.record[L::Line]);
    return share.record && RecordLength(share.record) != 0 ? share : RecordCursor{};
}

Transaction* MemberRecordOf(const Portfolio& member, const Transaction& copy)
{
    if (copy.bytes.size() < L::FixedSize)
        return nullptr;
    const uint16_t number = LoadU16(&copy.bytes[L::MemberPortfolio]);
    for (Transaction* t = member.transactions; t; t = t->next)
        if (t->bytes.size() >= L::FixedSize && t->shareId() == copy.shareId() && t->line() == copy.line() &&
            t->date() == copy.date() && t->time() == copy.time() && t->type() == copy.type() &&
            (member.number == number || LoadU16(&t->bytes[L::MemberPortfolio]) == number))
            return t;
    return nullptr;
}

} // namespace qv
