// Dealing cell texts.
#include "lists/DealingCells.h"

#include "core/CodedText.h"
#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/RecordLookup.h"
#include "lists/CellValue.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace qv {
namespace {

std::string Shares(double n)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.0f", n);
    return GroupThousands(digits);
}

std::string Percent(double fraction)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", fraction * 100);
    return text;
}

std::string CellOf(const DealingFields& f, int code, float& value)
{
    switch (code) {
    case 1: return f.investor;
    case 2: return f.holding ? (f.majorHolder ? "Major holder" : "Director") : f.role;
    case 3: value = f.date; return f.holding ? std::string() : FormatDate(f.date);
    case 4: return f.holding ? std::string("Holding") : f.dealType;
    case 5: value = float(f.dealSize); return f.holding ? std::string() : Shares(f.dealSize);
    case 6: value = float(f.dealPercent * 100); return f.holding ? std::string() : Percent(f.dealPercent);
    case 7: value = float(f.value); return f.holding || f.value == 0 ? std::string() : FormatMoney(f.value, false, false);
    case 8: return f.beneficial ? "Yes" : "";
    case 9: return f.superseded ? "" : "Yes";
    case 10: return f.shareText;
    case 11: {
        const uint8_t* share = FindDealingShare(f.shareId);
        return share ? std::string(GetRecordName(share)) : std::string();
    }
    case 12: value = float(f.holdSize); return Shares(f.holdSize);
    case 13: value = float(f.holdPercent * 100); return Percent(f.holdPercent);
    default: return {};
    }
}

} // namespace

size_t DealingCellText(const uint8_t* dealing, int code, char* text, size_t capacity, float* value)
{
    if (value)
        *value = 0;
    if (capacity == 0)
        return 0;
    text[0] = 0;
    if (!dealing || !DealingsMainBlock)
        return 0;
    float v = 0;
    const std::string cell =
        CellOf(DecodeDealing(dealing - 1, DealingsInfo(), DealingsCodingTables()), code, v);
    const size_t length = std::min(cell.size(), capacity - 1);
    std::memcpy(text, cell.data(), length);
    text[length] = 0;
    if (value)
        *value = v;
    return length;
}

void InstallDealingCells() { CurrentCellSources().dealingText = DealingCellText; }

} // namespace qv
