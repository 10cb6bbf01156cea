// A cash account's statement.
#include "portfolio/CashStatement.h"

#include "core/CashAccounts.h"
#include "core/Portfolio.h"
#include "core/TransactionTypes.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

namespace L = TransactionLayout;
constexpr uint16_t kNoCashAccount = 0xFFFF;

uint16_t RowDate(const RecordCursor& row)
{
    return LoadU16(row.record + (row.count == kCashRowEntry ? CashEntryLayout::Date : L::Date));
}

} // namespace

CashStatement BuildCashStatement(CashAccount& account, Portfolio* chain)
{
    CashStatement out;
    for (uint32_t pos = 0; account.data && pos < account.dataSize && account.data[pos] != 0;) {
        if (!DecodeCashEntry({account.data + pos, account.dataSize - pos}))
            break;
        out.rows.push_back({account.data + pos, kCashRowEntry});
        pos += account.data[pos];
    }
    for (Portfolio* p = chain; p; p = p->next) {
        if (p->type == kGroupPortfolio)
            continue;
        for (Transaction* t = p->transactions; t; t = t->next)
            if (t->bytes.size() >= L::FixedSize && LoadU16(&t->bytes[L::CashAccount]) == account.number &&
                TranCashSign(t->type()) != 0)
                out.rows.push_back({t->bytes.data(), kCashRowTransaction});
    }
    std::stable_sort(out.rows.begin(), out.rows.end(), [](const RecordCursor& a, const RecordCursor& b) {
        const uint16_t da = RowDate(a), db = RowDate(b);
        if (da != db)
            return da < db;
        return a.count == kCashRowEntry && b.count != kCashRowEntry;
    });
    double balance = 0;
    for (const RecordCursor& row : out.rows) {
        if (row.count == kCashRowEntry) {
            balance += CashEntrySign(row.record[CashEntryLayout::Type]) * LoadF32(row.record + CashEntryLayout::Amount);
            StoreF32(row.record + CashEntryLayout::Balance, float(balance));
        } else {
            balance += TranCashSign(row.record[L::Type]) * LoadF32(row.record + L::Amount);
            StoreF32(row.record + L::CashBalance, float(balance));
        }
    }
    out.balance = balance;
    return out;
}

int64_t CashEntryOffset(const CashAccount& account, const RecordCursor& row)
{
    if (row.count != kCashRowEntry || !account.data || row.record < account.data ||
        row.record >= account.data + account.dataSize)
        return -1;
    return row.record - account.data;
}

bool RemoveCashEntry(CashAccount& account, uint32_t offset)
{
    auto end = CashEntriesEnd({account.data, account.dataSize});
    if (!end || offset >= *end)
        return false;
    uint32_t pos = 0;
    while (pos < offset)
        pos += account.data[pos];
    if (pos != offset)
        return false;
    const uint32_t length = account.data[pos];
    std::memmove(account.data + pos, account.data + pos + length, *end + 1 - pos - length);
    std::memset(account.data + *end + 1 - length, 0, length);
    return true;
}

int CountForeignCashTransactions(uint32_t account, uint16_t portfolioNumber, Portfolio* chain, bool clear)
{
    int count = 0;
    for (Portfolio* p = chain; p; p = p->next)
        for (Transaction* t = p->transactions; t; t = t->next) {
            if (t->bytes.size() < L::FixedSize || LoadU16(&t->bytes[L::CashAccount]) != account ||
                LoadU16(&t->bytes[L::PortfolioNumber]) == portfolioNumber)
                continue;
            ++count;
            if (clear)
                StoreU16(&t->bytes[L::CashAccount], kNoCashAccount);
        }
    return count;
}

} // namespace qv
