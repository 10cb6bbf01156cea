// Field-table entries and the names of the list families' fields.
#include "lists/FieldTable.h"

#include "core/Database.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"

#include <array>
#include <vector>

namespace qv {
namespace {

constexpr size_t kShortestEntry = FieldEntryLayout::Name + FieldEntryLayout::AfterName;

using Names = std::vector<const char*>;

// Field names of the families with fixed tables, field code n at index n - 1.
const Names& FixedNames(int family)
{
    // The transactions table names only the fields the list tables show by name so far.
    static const Names transactions = {
        "Date", "Transaction type", "", "Shares", "Deal price", "Cost", "Broker", "Stamp", "Levy", "Total charges",
        "Shares held", "Current value",
        "Profit/loss", "Return", "Annualised return", "Average price", "", "Name", "", "CGT before losses",
        "CGT after losses", "Portfolio name",
        "Reference", "Cash account", "Realised profit/loss", "Price", "Price +/-", "", "Time"};
    static const Names dealings = {"Investor name", "Role", "Deal Date", "Deal type", "Deal size", "Deal size %",
                                   "Deal value", "Bene- ficial", "Latest", "Share name", "Company name",
                                   "Hold size", "Hold size %", "Hold value"};
    static const Names cash = {"Date", "Portfolio name", "Type", "Description", "Debit",
                               "Credit", "Value", "Balance", "Share name", "Reference"};
    static const Names news = {"Date", "Time", "Status", "Company name", "Headline",
                               "Country", "Industry", "Subject", "Company name 2", "Company name 3"};
    static const Names trades = {"Time", "Bid", "Mid", "Offer", "Trade", "Volume", "Trade Type",
                                 "Trade Action", "Trade Timing", "Value", "Buy / Sell", "Market Centre"};
    static const Names none;
    switch (family) {
    case kFamilyTransactions: return transactions;
    case kFamilyDealings: return dealings;
    case kFamilyCash: return cash;
    case kFamilyNews: return news;
    case kFamilyTrades: return trades;
    default: return none;
    }
}

// The name of `code` in a run of {u8 length, u8 type, u8 code, name} ended by a length of 0.
std::string NameInItemTable(std::span<const uint8_t> table, int code)
{
    size_t pos = 0;
    while (pos < table.size() && table[pos] >= 3 && table[pos] <= table.size() - pos) {
        size_t length = table[pos];
        if (table[pos + 2] == code)
            return std::string(reinterpret_cast<const char*>(table.data() + pos + 3), length - 3);
        pos += length;
    }
    return {};
}

} // namespace

std::optional<FieldTableEntry> FieldTableEntryOf(std::span<const uint8_t> table, int n)
{
    using namespace FieldEntryLayout;
    size_t pos = 0;
    for (int i = 1; n >= 1 && table.size() - pos >= 2; ++i) {
        size_t length = LoadU16(table.data() + pos);
        if (length < 2 || length > table.size() - pos)
            return std::nullopt;
        if (i < n) {
            pos += length;
            continue;
        }
        auto bytes = table.subspan(pos, length);
        size_t dataAt = kShortestEntry + (length > NameLength ? bytes[NameLength] : 0);
        if (length < kShortestEntry || dataAt + Scale > length)
            return std::nullopt;
        FieldTableEntry e;
        e.type = bytes[Type] & kFieldTypeBits;
        e.multiply = (bytes[Type] & kFieldMultiply) != 0;
        e.divide = (bytes[Type] & kFieldDivide) != 0;
        e.offset = bytes[Offset];
        e.name = std::string_view(reinterpret_cast<const char*>(bytes.data() + Name), bytes[NameLength]);
        e.data = bytes.subspan(dataAt, length - Scale - dataAt);
        e.scale = LoadU16(bytes.data() + length - Scale);
        return e;
    }
    return std::nullopt;
}

std::span<const uint8_t> DatabaseFieldTable()
{
    if (DatabaseBlockCount() < 1)
        return {};
    const DatabaseBlock& first = GetDatabaseBlock(0);
    return first.extra ? std::span<const uint8_t>(first.extra, first.extraSize) : std::span<const uint8_t>{};
}

std::string DatabaseItemName(int code)
{
    auto entry = FieldTableEntryOf(DatabaseFieldTable(), code < 128 ? kItemNamesEntry : kStreamItemNamesEntry);
    return entry ? NameInItemTable(entry->data, code) : std::string();
}

std::string FamilyFieldName(int family, int code)
{
    const Names& names = FixedNames(family);
    if (family == kFamilyShares || family == kFamilyTicker || family < 0 || family > kFamilyTicker) {
        auto entry = FieldTableEntryOf(DatabaseFieldTable(), code);
        return entry ? std::string(entry->name) : std::string();
    }
    return code >= 1 && size_t(code) <= names.size() ? names[size_t(code - 1)] : "";
}

} // namespace qv
