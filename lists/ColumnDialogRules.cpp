// The column dialogs' rules, kept apart from their windows.
#include "lists/ColumnDialogRules.h"

#include "core/ConfigRecords.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"

namespace qv {

namespace {

constexpr uint8_t kOwnBackground = 1;
constexpr uint8_t kOwnText = 2;
constexpr uint8_t kMix = 4;
constexpr uint8_t kOwnLeft = 8;
constexpr uint8_t kOwnRight = 16;
constexpr uint8_t kOwnStyle = 32;

// Field codes of the global-period columns: high then low, per display kind.
constexpr int kGlobalCodes[4][2] = {{19, 20}, {52, 53}, {54, 55}, {63, 64}};
constexpr int kOwnPeriodCode = 94;

} // namespace

ColumnAppearance UnpackColumnAppearance(std::span<const uint8_t, kColumnAppearanceBytes> bytes)
{
    const uint8_t flags = bytes[0];
    const uint8_t styles = bytes[9];
    ColumnAppearance a;
    a.background = flags & kOwnBackground;
    a.mix = a.background && (flags & kMix);
    a.textColour = flags & kOwnText;
    a.textStyle = flags & kOwnStyle;
    a.left = (flags & kOwnLeft) ? styles & 3 : -1;
    a.right = (flags & kOwnRight) ? (styles >> 2) & 3 : -1;
    a.bold = a.textStyle && (styles & 0x10);
    a.italic = a.textStyle && (styles & 0x20);
    a.underline = a.textStyle && (styles & 0x40);
    a.backgroundColour = LoadU32(bytes.data() + 1);
    a.textColourValue = LoadU32(bytes.data() + 5);
    return a;
}

void PackColumnAppearance(const ColumnAppearance& a, std::span<uint8_t, kColumnAppearanceBytes> bytes)
{
    uint8_t flags = 0;
    if (a.background)
        flags |= a.mix ? kOwnBackground | kMix : kOwnBackground;
    if (a.textColour)
        flags |= kOwnText;
    if (a.left >= 0)
        flags |= kOwnLeft;
    if (a.right >= 0)
        flags |= kOwnRight;
    if (a.textStyle)
        flags |= kOwnStyle;
    bytes[0] = flags;
    StoreU32(bytes.data() + 1, a.background ? a.backgroundColour : 0);
    StoreU32(bytes.data() + 5, a.textColour ? a.textColourValue : 0);
    uint8_t styles = 0;
    if (a.left >= 0)
        styles |= uint8_t(a.left & 3);
    if (a.right >= 0)
        styles |= uint8_t((a.right & 3) << 2);
    if (a.textStyle)
        styles |= uint8_t((a.bold ? 0x10 : 0) | (a.italic ? 0x20 : 0) | (a.underline ? 0x40 : 0));
    bytes[9] = styles;
}

std::string FormatHighLowPeriod(int kind, int value)
{
    switch (kind) {
    case 0:
        return "All history";
    case 1:
        return StringPrintf("Last %d trad. days", value);
    case 2:
        return StringPrintf("Last %d days", value);
    case 3:
        return "Since 1st Jan";
    case 4:
        return "Since " + FormatDate(PackedDate(value));
    default:
        return "[unknown]";
    }
}

HighLowPeriod ReadHighLowPeriod(const OptionBlockB& block, size_t offset)
{
    return {LoadU16(block.data() + offset), LoadU16(block.data() + offset + 2)};
}

void WriteHighLowPeriod(OptionBlockB& block, size_t offset, HighLowPeriod period)
{
    StoreU16(block.data() + offset, period.kind);
    StoreU16(block.data() + offset + 2, period.value);
}

NumberRange HighLowPeriodRange(int kind)
{
    if (kind == 1)
        return {2, 999, 250};
    if (kind == 2)
        return {2, 999, 7};
    return {};
}

int DateChoiceOfUnit(int unit)
{
    switch (unit) {
    case 1: return 1;
    case 5: return 2;
    case 2: return 3;
    case 3: return 4;
    case 4: return 5;
    default: return 0;
    }
}

int UnitOfDateChoice(int choice)
{
    constexpr int kUnits[6] = {0, 1, 5, 2, 3, 4};
    return choice >= 0 && choice < 6 ? kUnits[choice] : 0;
}

NumberRange DateChoiceRange(int choice)
{
    switch (choice) {
    case 1:
    case 2:
        return {1, 9999, 10};
    case 3:
    case 4:
        return {1, 999, 1};
    case 5:
        return {1, 99, 1};
    default:
        return {};
    }
}

int DateChoiceDefault(int choice, bool firstOfChange)
{
    const int base = DateChoiceRange(choice).start;
    return firstOfChange ? base * 2 : base;
}

HighLowColumnChoice HighLowChoiceOfColumn(int fieldCode, int subKind)
{
    HighLowColumnChoice c;
    if (fieldCode == kOwnPeriodCode) {
        if (subKind < 0 || subKind > 7)
            return c;
        c.customPeriod = true;
        c.display = subKind / 2;
        c.lows = subKind & 1;
        c.valid = true;
        return c;
    }
    for (int d = 0; d < 4; ++d) {
        for (int l = 0; l < 2; ++l) {
            if (kGlobalCodes[d][l] == fieldCode) {
                c.display = d;
                c.lows = l == 1;
                c.valid = true;
            }
        }
    }
    return c;
}

int GlobalHighLowFieldCode(bool lows, int display)
{
    return display >= 0 && display < 4 ? kGlobalCodes[display][lows ? 1 : 0] : 0;
}

} // namespace qv
