// Decoding the fields of a dealings entry.
#include "lists/DealingItem.h"

#include "lists/DirectorsDealings.h"

#include <cmath>

namespace qv {

double DecodeCoded14(uint32_t v)
{
    return double(v & 0x3FF) * std::pow(10.0, int((v >> 10) & 0xF) - 3);
}

double DecodeCoded10(uint32_t v)
{
    return double(v & 0x7F) * std::pow(10.0, int((v >> 7) & 0x7) - 8);
}

uint16_t DealingShareId(const uint8_t* entry)
{
    return uint16_t(GetBitField(entry + kDealingEntryDataOffset + 3, 4, 15));
}

const uint8_t* DealingHeadEntry(const uint8_t* entry)
{
    const uint16_t word = uint16_t(entry[1] | entry[2] << 8);
    return (word & kDealingHeadMark) ? entry : entry - word;
}

BitCursor DealingCodedStart(const uint8_t* entry, const DealingsFileInfo& info)
{
    const size_t length = entry[0];
    const size_t from = kDealingEntryExtra + (info.codedStart >> 3);
    if (from >= length)
        return {};
    return {std::span<const uint8_t>(entry + from, length - from), info.codedStart & 7};
}

bool ReadCursorBits(BitCursor& cursor, int count, uint32_t& out)
{
    out = 0;
    for (int i = 0; i < count; ++i) {
        if (cursor.bytes.empty())
            return false;
        out = out << 1 | ((cursor.bytes[0] >> (7 - cursor.bit)) & 1);
        if (++cursor.bit == 8) {
            cursor.bit = 0;
            cursor.bytes = cursor.bytes.subspan(1);
        }
    }
    return true;
}

namespace {

bool ReadValue(BitCursor& cursor, double& value)
{
    uint32_t flag = 0, word = 0;
    if (!ReadCursorBits(cursor, 1, flag))
        return false;
    if (!flag)
        return true;
    if (!ReadCursorBits(cursor, 14, word))
        return false;
    value = DecodeCoded14(word);
    return true;
}

bool ReadText(BitCursor& cursor, int kind, const CodingTables& tables, std::string& text)
{
    text = UnpackText(cursor, kind, tables);
    return SkipCodedSymbol(cursor, kind, false, tables);
}

int FirstCode(const BitCursor& cursor, const CodingTables& tables)
{
    // The raw first symbol, before the tidy pass turns word codes into words.
    return UnpackText(nullptr, 0, cursor, kDealingTypeKind, true, tables) & 0xFF;
}

} // namespace

bool SkipToInvestorName(BitCursor& cursor, bool holding, const CodingTables& tables)
{
    if (!SkipCodedSymbol(cursor, kDealingShareTextKind, false, tables))
        return false;
    if (holding)
        return true;
    uint32_t bits = 0;
    double value = 0;
    return ReadCursorBits(cursor, 12, bits) && ReadValue(cursor, value) &&
           SkipCodedSymbol(cursor, kDealingTypeKind, false, tables) &&
           SkipCodedSymbol(cursor, kDealingRoleKind, false, tables) && ReadCursorBits(cursor, 24, bits);
}

int CodedBitPosition(const BitCursor& base, const BitCursor& at)
{
    return int(at.bytes.data() - base.bytes.data()) * 8 + at.bit;
}

uint32_t DealingDateKey(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables)
{
    if (DealingFlags(entry) & kDealingHolding)
        return 0;
    BitCursor cursor = DealingCodedStart(entry, info);
    uint32_t date = 0;
    if (!SkipCodedSymbol(cursor, kDealingShareTextKind, false, tables) || !ReadCursorBits(cursor, 12, date))
        return 0;
    return date;
}

std::string DealingInvestorName(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables)
{
    const uint8_t* head = DealingHeadEntry(entry);
    BitCursor cursor = DealingCodedStart(head, info);
    const int position = (head[1] | head[2] << 8) & 0x7FFF;
    AdvanceBitCursor(cursor, position - cursor.bit);
    if (cursor.bytes.empty())
        return {};
    return UnpackText(cursor, kDealingNameKind, tables);
}

DealingFields DecodeDealing(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables)
{
    DealingFields f;
    const uint8_t* data = entry + kDealingEntryDataOffset;
    const uint8_t flags = data[3];
    f.head = IsDealingHead(entry);
    f.holding = flags & kDealingHolding;
    f.beneficial = flags & kDealingBeneficial;
    f.superseded = flags & kDealingSuperseded;
    f.majorHolder = flags & kDealingMajorHolder;
    f.shareId = DealingShareId(entry);
    f.holdSize = DecodeCoded14(GetBitField(data, 0, 14));
    f.holdPercent = DecodeCoded10(GetBitField(data, 14, 10));
    f.investor = DealingInvestorName(entry, info, tables);

    BitCursor cursor = DealingCodedStart(entry, info);
    if (!ReadText(cursor, kDealingShareTextKind, tables, f.shareText))
        return f;
    if (f.holding) {
        f.complete = true;
        return f;
    }
    uint32_t date = 0, sizes = 0;
    if (!ReadCursorBits(cursor, 12, date) || !ReadValue(cursor, f.value))
        return f;
    f.date = PackedDate(((info.baseYear + (date >> 9)) & 0x7F) << 9 | (date & 0x1FF));
    f.dealTypeCode = FirstCode(cursor, tables);
    if (!ReadText(cursor, kDealingTypeKind, tables, f.dealType) || !ReadText(cursor, kDealingRoleKind, tables, f.role) ||
        !ReadCursorBits(cursor, 24, sizes))
        return f;
    f.dealSize = DecodeCoded14(sizes >> 10);
    f.dealPercent = DecodeCoded10(sizes & 0x3FF);
    f.complete = true;
    return f;
}

} // namespace qv
