// The investor search of the find-an-investor dialog.
#include "lists/InvestorSearch.h"

#include "core/TextHelpers.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"

#include <cctype>

namespace qv {

namespace {
constexpr int kMarkByte = 3;

bool StartsNoCase(const std::string& name, const std::string& text)
{
    if (name.size() < text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::tolower(uint8_t(name[i])) != std::tolower(uint8_t(text[i])))
            return false;
    return true;
}
} // namespace

void MarkInvestorRows(uint8_t* block, std::span<const RecordCursor> rows)
{
    if (!block)
        return;
    for (uint8_t* entry = block; entry[0] != 0; entry += entry[0])
        entry[kMarkByte] = 0;
    for (const RecordCursor& row : rows) {
        if (!row.record)
            break;
        row.record[kMarkByte - 1] = kInvestorRowMark;
    }
}

std::vector<InvestorMatch> FindInvestors(uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables,
                                         const std::string& text, bool fromFirstLetter)
{
    std::vector<InvestorMatch> matches;
    if (!block)
        return matches;
    bool matchedOnce = false;
    const uint8_t* head = nullptr;
    std::string name;
    for (uint8_t* entry = block; entry[0] != 0 && int(matches.size()) < kMaxInvestorMatches; entry += entry[0]) {
        if (IsDealingHead(entry) && entry != head) {
            head = entry;
            name = DealingInvestorName(entry, info, tables);
        }
        if (!(entry[kMarkByte] & kInvestorRowMark))
            continue;
        const bool match = fromFirstLetter ? (matchedOnce || StartsNoCase(name, text)) : FindNoCase(name, text);
        if (!match)
            continue;
        matchedOnce = true;
        matches.push_back({name, entry + 1});
    }
    return matches;
}

} // namespace qv
