// Changes to a portfolio's entries.
#include "portfolio/PortfolioEntryEdits.h"

#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/Transaction.h"

#include <algorithm>

namespace qv {
namespace {

namespace L = TransactionLayout;

bool OfEntry(const Transaction& t, const RecordCursor& entry)
{
    const uint16_t id = EntryRecordId(entry);
    return t.shareId() == id && (id >= 0xF000 || t.line() == entry.count);
}

} // namespace

bool HasShareTransactions(const Portfolio& portfolio, const RecordCursor& entry)
{
    for (const Transaction* t = portfolio.transactions; t; t = t->next)
        if (OfEntry(*t, entry))
            return true;
    return false;
}

bool RemoveShareTransactions(Portfolio& portfolio, const RecordCursor& entry)
{
    Transaction* head = portfolio.transactions;
    bool removed = false;
    for (Transaction** link = &head; *link;) {
        Transaction* t = *link;
        if (OfEntry(*t, entry)) {
            *link = t->next;
            delete t;
            removed = true;
        } else {
            link = &t->next;
        }
    }
    portfolio.transactions = head;
    if (removed)
        portfolio.changed = 1;
    return removed;
}

void RemovePortfolioEntries(Portfolio& portfolio, const std::vector<RecordCursor>& entries)
{
    for (const RecordCursor& entry : entries) {
        const int count = int(CountPortfolioEntries(portfolio));
        int at = 0;
        while (at < count && !(portfolio.entries[at].record == entry.record && portfolio.entries[at].count == entry.count))
            ++at;
        if (at == count)
            continue;
        RemoveShareTransactions(portfolio, portfolio.entries[at]);
        for (int i = at; i < count; ++i)
            portfolio.entries[i] = portfolio.entries[i + 1];
        const int left = count - 1;
        portfolio.last = std::max(left - 1, 0);
        if (portfolio.current >= left)
            portfolio.current = std::max(left - 1, 0);
        if (portfolio.firstVisible >= left)
            portfolio.firstVisible = std::max(left - 1, 0);
        portfolio.changed = 1;
    }
}

std::string EntryRemovalQuestion(const Portfolio& portfolio, const RecordCursor& entry, bool move)
{
    std::string text = StringPrintf("Are you sure you want to %s this entry?", move ? "move" : "delete");
    if (HasShareTransactions(portfolio, entry))
        text += std::string("\nThe associated transactions will also be ") + (move ? "moved." : "deleted.");
    return text;
}

bool CopyShareToPortfolio(const Portfolio& source, const RecordCursor& entry, Portfolio& target)
{
    if (&source == &target || source.type != kUserPortfolio || target.type != kUserPortfolio)
        return false;
    bool present = false;
    for (uint32_t i = 0; i < CountPortfolioEntries(target); ++i)
        present = present || (target.entries[i].record == entry.record && target.entries[i].count == entry.count);
    if (!present)
        AddPortfolioEntry(target, entry);
    for (const Transaction* t = source.transactions; t; t = t->next) {
        if (!OfEntry(*t, entry) || t->type() == kLatestRowType || t->bytes.size() < L::FixedSize)
            continue;
        auto* copy = new Transaction;
        copy->bytes = t->bytes;
        StoreU16(&copy->bytes[L::CashAccount], 0xFFFF);
        StoreU16(&copy->bytes[L::PortfolioNumber], target.number);
        InsertSortedByName(target.transactions, copy);
    }
    target.changed = 1;
    return true;
}

std::vector<HeaderItem> PortfolioListLine(const RecordCursor* entries, int count)
{
    if (!entries || count <= 0)
        return {};
    double price = 0, change = 0, cap = 0;
    for (int i = 0; i < count; ++i) {
        const LineFigures figures = ReadLineFigures(entries[i].record, entries[i].count);
        price += figures.close;
        change += figures.change;
        cap += figures.capital;
    }
    const double averagePrice = price / count, averageChange = change / count;
    std::vector<HeaderItem> items;
    items.push_back({"No. in Portfolio", StringPrintf("%i", count)});
    items.push_back({"Av. price", StringPrintf("\xA3%.2f", averagePrice / 100)});
    items.push_back({"", StringPrintf("%+.2fp", averageChange)});
    if (averagePrice - averageChange != 0)
        items.push_back({"", StringPrintf("%+.2f%%", averageChange * 100 / (averagePrice - averageChange))});
    items.push_back({"Cap", StringPrintf("\xA3%.0fm", cap)});
    items.push_back({"Av. Cap", StringPrintf("\xA3%.0fm", cap / count)});
    return items;
}

} // namespace qv
