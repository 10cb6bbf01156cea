// Find a share: the name index, the list filling and the remembered choices.
#include "shell/FindShareIndex.h"

#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/TableLock.h"
#include "shell/ColumnFormatter.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace qv {
namespace {

constexpr std::array<const char*, 8> kMarketLabels = {"LSE", "NYSE", "AMEX", "NNM", "NSC", "NAS", "ENXT", "GER"};
constexpr uint8_t kClassMask = 0x38;
constexpr uint8_t kExcludedClass = 0x18;
constexpr uint8_t kFastEpicBit = 1;
constexpr uint8_t kQuestionSuppressedBit = 2;

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i]))
            return false;
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    if (part.empty())
        return true;
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (StartsWithNoCase(text.substr(i), part))
            return true;
    return false;
}

std::string_view ItemName(const NameIndexItem& item) { return GetRecordName(item.cursor.record); }

// An extra record's texts: the name, a NUL, the class byte, the second text and the code, each ended
// by a NUL; its text length byte counts the name alone.
std::string ExtraRecordCode(const uint8_t* record)
{
    const char* p = reinterpret_cast<const char*>(record + RecordLayout::Text) + record[RecordLayout::TextLength] + 2;
    std::string_view second(p);
    std::string code(p + second.size() + 1);
    for (char& c : code)
        c = Upper(c);
    return code;
}

std::string NamesLine(const NameIndexItem& item)
{
    std::string line(ItemName(item));
    std::string former = FormerName(item.cursor);
    if (!former.empty())
        line += " (was " + former + ")";
    return line;
}

// The line shown: a share in several classes (lines of one record) tells them apart by its type.
std::string ShownLine(const NameIndexItem& item, std::string line)
{
    if (item.source != ItemSource::Database || CountSubRecords(item.cursor.record) < 2)
        return line;
    const std::string type = FormatShareField(item.cursor, ColumnField::ShareType);
    return type.empty() ? line : line + " - " + type;
}

bool SameCursor(const RecordCursor& a, const RecordCursor& b) { return a.record == b.record && a.count == b.count; }

uint8_t& OptionByte(size_t offset) { return Config().optionsA.bytes[offset]; }

void AddDatabaseItems(std::vector<NameIndexItem>& out)
{
    for (int entry = 0; entry < DatabaseBlockCount(); ++entry) {
        uint8_t* record = GetDatabaseBlock(entry).records;
        for (; record && RecordLength(record) != 0; record = NextRecord(record)) {
            int subs = CountSubRecords(record);
            for (int sub = 0; sub < subs; ++sub)
                out.push_back({{record, uint32_t(sub)}, ItemSource::Database});
        }
    }
}

std::vector<NameIndexItem> ListItems(const RecordListNode* node, ItemSource source)
{
    std::vector<NameIndexItem> out;
    for (; node; node = node->next)
        if (node->record)
            out.push_back({{node->record, 0}, source});
    return out;
}

} // namespace

int CompareShareNames(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto ca = uint8_t(Upper(a[i]));
        auto cb = uint8_t(Upper(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<NameIndexItem> MergeNameSources(const std::vector<NameIndexItem>& database,
                                            const std::vector<NameIndexItem>& extra,
                                            const std::vector<NameIndexItem>& imported)
{
    std::vector<NameIndexItem> all;
    all.reserve(database.size() + extra.size() + imported.size());
    std::set<std::pair<const uint8_t*, uint32_t>> seen;
    for (const auto* source : {&database, &extra, &imported})
        for (const NameIndexItem& item : *source)
            if (seen.insert({item.cursor.record, item.cursor.count}).second)
                all.push_back(item);
    // Stable: equal names keep the order of the sources, the database first.
    std::stable_sort(all.begin(), all.end(), [](const NameIndexItem& a, const NameIndexItem& b) {
        return CompareShareNames(ItemName(a), ItemName(b)) < 0;
    });
    return all;
}

std::vector<NameIndexItem> BuildNameIndex()
{
    std::vector<NameIndexItem> database;
    AddDatabaseItems(database);
    std::vector<NameIndexItem> extra;
    {
        TableLockGuard hold(&ExtraRecordsLock);
        extra = ListItems(ExtraRecordList, ItemSource::Extra);
    }
    return MergeNameSources(database, extra, ListItems(ImportedItemList, ItemSource::Imported));
}

const char* MarketLabel(unsigned market) { return market < kMarketLabels.size() ? kMarketLabels[market] : "LSE"; }

unsigned ItemMarket(const NameIndexItem& item)
{
    if (item.source != ItemSource::Extra || !item.cursor.record)
        return 0;
    return item.cursor.record[4] & 0x3F;
}

std::string ItemEpic(const NameIndexItem& item)
{
    if (!item.cursor.record)
        return {};
    if (item.source == ItemSource::Extra)
        return ExtraRecordCode(item.cursor.record);
    std::string code;
    GetShareFileCode(item.cursor, code, false);
    return code;
}

std::string FormerName(const RecordCursor& cursor)
{
    std::string names = PreviousNamesText(cursor);
    return names.substr(0, names.find('|'));
}

bool ExcludedInMode2(const RecordCursor& cursor)
{
    return cursor.record && (cursor.record[RecordLayout::TypeByte] & kClassMask) == kExcludedClass;
}

FindShareFill FillFindShareList(const std::vector<NameIndexItem>& index, const FindShareQuery& query)
{
    FindShareFill fill;
    fill.typed = query.text;
    if (query.useEpic && !fill.typed.empty() && fill.typed.back() == ' ') {
        fill.exact = true;
        fill.typed.pop_back();
    }
    auto skipped = [&](const NameIndexItem& item) { return query.mode == 2 && ExcludedInMode2(item.cursor); };
    auto add = [&](const NameIndexItem& item, std::string text, std::string key) {
        fill.lines.push_back({std::move(text), std::move(key), item});
        if (fill.selection < 0 && SameCursor(item.cursor, query.previous))
            fill.selection = int(fill.lines.size()) - 1;
    };

    if (!query.useEpic && query.firstLetter) {
        auto found = std::find_if(index.begin(), index.end(), [&](const NameIndexItem& item) {
            return CompareShareNames(ItemName(item), fill.typed) >= 0;
        });
        size_t place = size_t(found - index.begin());
        size_t start = place > kNeighbourhoodBefore ? place - kNeighbourhoodBefore : 0;
        for (size_t i = start; i < index.size() && fill.lines.size() < kFindShareLines; ++i) {
            if (skipped(index[i]))
                continue;
            if (i >= place && fill.selection < 0)
                fill.selection = int(fill.lines.size());
            fill.lines.push_back({ShownLine(index[i], NamesLine(index[i])), {}, index[i]});
        }
        if (fill.selection < 0 && !fill.lines.empty())
            fill.selection = int(fill.lines.size()) - 1;
        return fill;
    }

    for (const NameIndexItem& item : index) {
        if (fill.lines.size() >= kFindShareLines)
            break;
        if (skipped(item))
            continue;
        if (!query.useEpic) {
            std::string line = NamesLine(item);
            if (ContainsNoCase(line, fill.typed))
                add(item, ShownLine(item, std::move(line)), {});
            continue;
        }
        std::string epic = ItemEpic(item);
        if (epic.empty())
            continue;
        std::string key = query.marketsInUse ? std::string(MarketLabel(ItemMarket(item))) + ":" + epic : epic;
        std::string line = ShownLine(item, key + "  " + NamesLine(item));
        bool match = fill.exact ? EqualsNoCase(key, fill.typed) : StartsWithNoCase(key + " " + NamesLine(item), fill.typed);
        if (match)
            add(item, std::move(line), std::move(key));
    }
    if (fill.selection < 0 && !fill.lines.empty())
        fill.selection = 0;
    return fill;
}

bool FastEpicTakes(const FindShareFill& fill, const FindShareQuery& query, bool fastEpic)
{
    if (!query.useEpic || !fastEpic || fill.lines.size() != 1)
        return false;
    if (fill.typed.size() != fill.lines.front().key.size())
        return false;
    if (!query.marketsInUse || fill.typed.find(':') != std::string::npos)
        return true;
    return std::none_of(kMarketLabels.begin(), kMarketLabels.end(),
                        [&](const char* label) { return StartsWithNoCase(label, fill.typed); });
}

std::vector<RecordCursor> SameShareLines(const std::vector<NameIndexItem>& index, const RecordCursor& chosen)
{
    std::string_view name = GetRecordName(chosen.record);
    std::vector<RecordCursor> lines;
    auto first = std::partition_point(index.begin(), index.end(), [&](const NameIndexItem& item) {
        return CompareShareNames(ItemName(item), name) < 0;
    });
    for (auto it = first; it != index.end() && lines.size() < 8; ++it) {
        if (ItemName(*it) != name)
            break;
        lines.push_back(it->cursor);
    }
    return lines;
}

FindShareChoices LoadFindShareChoices()
{
    FindShareChoices choices;
    choices.useEpic = OptionByte(OptionBlockA::kFindUseEpic) != 0;
    choices.firstLetter = OptionByte(OptionBlockA::kFindContains) == 0;
    uint8_t fast = OptionByte(OptionBlockA::kFindFastEpic);
    choices.fastEpic = (fast & kFastEpicBit) != 0;
    choices.fastEpicQuestionSuppressed = (fast & kQuestionSuppressedBit) != 0;
    choices.showAlphabet = OptionByte(OptionBlockA::kFindShowAlphabet) != 0;
    return choices;
}

void StoreFindShareChoices(const FindShareChoices& choices)
{
    OptionByte(OptionBlockA::kFindUseEpic) = choices.useEpic ? 1 : 0;
    OptionByte(OptionBlockA::kFindContains) = choices.firstLetter ? 0 : 1;
    OptionByte(OptionBlockA::kFindFastEpic) =
        uint8_t((choices.fastEpic ? kFastEpicBit : 0) | (choices.fastEpicQuestionSuppressed ? kQuestionSuppressedBit : 0));
    OptionByte(OptionBlockA::kFindShowAlphabet) = choices.showAlphabet ? 1 : 0;
}

bool IndexHasEpics(const std::vector<NameIndexItem>& index)
{
    return std::any_of(index.begin(), index.end(), [](const NameIndexItem& item) { return !ItemEpic(item).empty(); });
}

uint32_t FindShareItemData(const RecordCursor& cursor)
{
    uint16_t id = cursor.record ? RecordId(cursor.record) : 0;
    return (cursor.count & 0xFFFF) << 16 | id;
}

} // namespace qv
