// Format commands as bit edits of the column record, and the menu bits of each list family.
#include "lists/ColumnFormatCommands.h"

#include "core/ColumnDef.h"

namespace qv {
namespace {

using namespace ColumnDefLayout;
using namespace ColumnCommand;

constexpr uint8_t kJustifyBits = 0x03;
constexpr uint8_t kArrowBit = 0x10;
constexpr uint8_t kArrowPlacementBit = 0x20;
constexpr uint8_t kZeroBits = 0x03;
constexpr uint8_t kUnitBits = 0x0C;
constexpr uint8_t kManyDecimalsBit = 0x10;
constexpr uint8_t kCountBits = 0x0F;
constexpr uint8_t kFractionsBit = 0x10;
constexpr uint8_t kThousandsBit = 0x40;
constexpr uint8_t kSignificantBit = 0x80;
constexpr uint8_t kKeptByNumbers = 0x60; // "+" and B/M/k survive a decimals choice

uint8_t Bits(uint8_t byte, uint8_t mask, uint8_t value) { return uint8_t((byte & ~mask) | value); }

bool Formattable(const uint8_t* def) { return def && (def[Align] & 0x0F) < 3; }

bool IsDecimals(int command) { return command >= Decimals0 && command <= Decimals0 + 5; }
bool IsSignificant(int command) { return command >= Significant1 && command <= Significant1 + 4; }

bool ApplySignificant(uint8_t* def, int figures)
{
    uint8_t& b = def[FormatB];
    const uint8_t chosen = uint8_t((b & kKeptByNumbers) | kSignificantBit | figures);
    b = b == chosen ? uint8_t(b & 0x70) : chosen;
    return true;
}

} // namespace

bool ApplyColumnFormat(uint8_t* def, int command)
{
    uint8_t& align = def[Align];
    uint8_t& a = def[FormatA];
    uint8_t& b = def[FormatB];
    if (IsDecimals(command)) {
        b = uint8_t((b & kKeptByNumbers) | (command - Decimals0));
        a = uint8_t(a & ~kManyDecimalsBit);
        return true;
    }
    if (IsSignificant(command))
        return ApplySignificant(def, command - Significant1 + 1);
    switch (command) {
    case LeftJustify: align = Bits(align, kJustifyBits, 0); return true;
    case RightJustify: align = Bits(align, kJustifyBits, 1); return true;
    case CentreJustify: align = Bits(align, kJustifyBits, 2); return true;
    case ZeroBlank: a = Bits(a, kZeroBits, 0); return true;
    case ZeroAsZero: a = Bits(a, kZeroBits, 1); return true;
    case ZeroAsHyphen: a = Bits(a, kZeroBits, 2); return true;
    case Thousands: b ^= kThousandsBit; return true;
    case Fractions:
        b ^= kFractionsBit;
        if (b & kFractionsBit) {
            b = uint8_t(b & ~(kCountBits | kSignificantBit));
            a = uint8_t(a & ~kManyDecimalsBit);
        }
        return true;
    case ManyDecimals:
        a ^= kManyDecimalsBit;
        if (a & kManyDecimalsBit)
            b = uint8_t(b & kKeptByNumbers);
        return true;
    case Simplest: a = Bits(a, kUnitBits, 0); return true;
    case Pounds: a = Bits(a, kUnitBits, 1 << 2); return true;
    case Pence: a = Bits(a, kUnitBits, 2 << 2); return true;
    case UpDownArrow: align ^= kArrowBit; return true;
    case ArrowPlacement: align ^= kArrowPlacementBit; return true;
    case ConsensusNumbers:
    case ExchangeCode: b ^= 1; return true;
    default: return false;
    }
}

ColumnItemState ColumnFormatState(const uint8_t* def, int command, int columnCount)
{
    if (command == Remove)
        return {def != nullptr && columnCount > 1, false};
    if (!def)
        return {};
    const uint8_t align = def[Align];
    const uint8_t a = def[FormatA];
    const uint8_t b = def[FormatB];
    const bool formattable = Formattable(def);
    if (IsDecimals(command)) {
        const bool plain = !(b & (kFractionsBit | kSignificantBit)) && !(a & kManyDecimalsBit);
        return {formattable, plain && (b & kCountBits) == command - Decimals0};
    }
    if (IsSignificant(command))
        return {formattable, (b & kSignificantBit) && (b & kCountBits) == command - Significant1 + 1};
    switch (command) {
    case LeftJustify: case RightJustify: case CentreJustify:
        return {formattable, (align & kJustifyBits) == command - LeftJustify};
    case ZeroBlank: return {formattable, (a & kZeroBits) == 0};
    case ZeroAsZero: return {formattable, (a & kZeroBits) == 1};
    case ZeroAsHyphen: return {formattable, (a & kZeroBits) == 2};
    case Thousands: return {formattable, (b & kThousandsBit) != 0};
    case Fractions: return {formattable, (b & kFractionsBit) != 0};
    case ManyDecimals: return {formattable, (a & kManyDecimalsBit) != 0};
    case Simplest: return {formattable, (a & kUnitBits) == 0};
    case Pounds: return {formattable, (a & kUnitBits) == 1 << 2};
    case Pence: return {formattable, (a & kUnitBits) == 2 << 2};
    case ConsensusNumbers: case ExchangeCode: return {formattable, (b & 1) != 0};
    case UpDownArrow: {
        const bool noParameter = def[Length] <= Parameters + 1 || def[Parameters + 1] == 0;
        const bool enabled = !(align & kArrowPlacementBit) && !(def[FieldCode] == 73 && noParameter);
        return {enabled, (align & kArrowBit) != 0};
    }
    case ArrowPlacement: return {true, (align & kArrowPlacementBit) != 0};
    default: return {true, false};
    }
}

uint8_t FamilyMenuBits(MenuFamily family, int code)
{
    constexpr uint8_t kSort = 1, kNumber = 1 | 2, kCount = 1 | 4, kMoney = 1 | 6, kAmount = 1 | 8;
    switch (family) {
    case MenuFamily::Shares:
        switch (code) {
        case 0: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 15: case 16: case 24: case 25: case 26:
        case 45: case 50: case 51: case 62: case 92: case 93: case 129:
            return kSort;
        case 86: return 0;
        case 10: case 11: case 17: case 18: case 19: case 20: case 30: case 33: case 34: case 35: case 47: case 52:
        case 53: case 56: case 59: case 65: case 66: case 67:
            return kMoney;
        case 9: case 14: case 68: case 87: case 88: return kCount;
        case 23: case 69: case 70: case 89: return kAmount;
        default: return kNumber;
        }
    case MenuFamily::Results: return kNumber;
    case MenuFamily::Transactions:
        switch (code) {
        case 10: case 12: case 13: case 16: case 25: return kMoney;
        case 11: case 14: case 15: case 28: return kNumber;
        default: return kSort;
        }
    case MenuFamily::Dealings:
        switch (code) {
        case 5: case 12: return kCount;
        case 6: case 13: return kNumber;
        case 7: return kAmount;
        default: return kSort;
        }
    case MenuFamily::Cash: return code >= 5 && code <= 8 ? kMoney : kSort;
    case MenuFamily::News: return kSort;
    case MenuFamily::Trades:
        if (code >= 1 && code <= 6)
            return kMoney;
        return code == 9 ? kCount : kSort;
    }
    return kSort;
}

uint8_t ColumnMenuBits(MenuFamily family, const uint8_t* def)
{
    const uint8_t code = def[FieldCode];
    const uint8_t kind = def[Kind];
    if (family != MenuFamily::Shares)
        return FamilyMenuBits(family, code);
    if (code == 86 && kind == kColumnField)
        return 0;
    if (kind == kColumnIntraday && (def[Align] & 0x0F) < 3) {
        const uint8_t first = def[Length] > Parameters + 1 ? uint8_t(def[Parameters + 1] & ~0x20) : 0;
        uint8_t bits = (code == 76 || code == 83 || first == 1 || first == 2) ? 3 : 7;
        if (code == 81)
            bits |= 4;
        return bits;
    }
    if ((def[Align] & 0x0F) >= 3 || kind == kColumnResults || kind == kColumnResultsChange || kind == kColumnPartnerView)
        return 1;
    if (kind == kColumnHolding)
        return uint8_t(FamilyMenuBits(MenuFamily::Transactions, code) | 1);
    return FamilyMenuBits(MenuFamily::Shares, code);
}

namespace {

bool ContentsChange(const uint8_t* def)
{
    const uint8_t code = def[FieldCode];
    switch (def[Kind]) {
    case kColumnResults: case kColumnResultsChange: return true;
    case kColumnField: return code == 19 || code == 20 || code == 52 || code == 53;
    case kColumnFormula: return code == 54 || code == 55 || code == 63 || code == 64;
    case kColumnPriceHistory:
        return code == 87 || code == 88 || code == 30 || code == 31 || code == 56 || code == 57 || (code == 94 && def[SubKind] < 8);
    default: return false;
    }
}

} // namespace

ColumnMenuPlan PlanColumnMenu(MenuFamily family, const uint8_t* def)
{
    ColumnMenuPlan plan;
    const uint8_t bits = ColumnMenuBits(family, def);
    const uint8_t kind = def[Kind];
    const uint8_t code = def[FieldCode];
    plan.sort = (bits & 1) != 0;
    const uint8_t numbers = bits & 0x0E;
    const bool resultsFigures = family == MenuFamily::Shares
        && ((kind == kColumnResults && (code & 7) != 0) || kind == kColumnResultsChange);
    if (numbers != 0 || resultsFigures) {
        plan.numberSubmenu = plan.zeroSubmenu = true;
        plan.moneySubmenu = numbers == 6;
        plan.thousands = numbers == 4 || numbers == 8;
    }
    plan.consensusItem = code == 8 || code == 50;
    plan.exchangeItem = code == 92;
    plan.changeContents = family == MenuFamily::Shares && ContentsChange(def);
    plan.fitAndJustify = !(code == 86 && kind == kColumnField);
    return plan;
}

} // namespace qv
