// Up/down colours of share list columns.
#include "lists/UpDownColour.h"

#include "core/ColumnDef.h"
#include "lists/CellNumber.h"
#include "platform/ByteOrder.h"

#include <cmath>

namespace qv {
namespace {

constexpr float kEpsilon = 1.1920928955078125e-7f;
constexpr uint8_t kFieldK = 0x4B;
constexpr uint8_t kFieldI = 0x49;
constexpr uint8_t kFieldRating = 0x30;
constexpr uint8_t kUpDownArrowBit = 0x10;

// An intraday column's option word: the value kind, then the form (bytes 27-28).
uint16_t ColumnOptionWord(const uint8_t* column)
{
    return column[ColumnDefLayout::Length] >= ColumnDefLayout::IntradayWord + 2 ? LoadU16(column + ColumnDefLayout::IntradayWord) : 0;
}

} // namespace

int ShareListUpDownState(uint8_t fieldCode, float v)
{
    if (fieldCode == kFieldRating) {
        if (std::fabs(v) < kEpsilon || (v > 0 && v < 3))
            return 2;
        if (v >= 3)
            return std::fabs(v - 3) < kEpsilon ? 0 : 1;
        return -1;
    }
    if (fieldCode == kFieldI)
        return 2; // the share list's rows give the last trade's direction
    if (v == kCellNoValue)
        return 2;
    if (std::fabs(v) < kEpsilon)
        return 0;
    return v > 0 ? 1 : -1;
}

bool ShareListHasUpDownColour(uint8_t* column)
{
    switch (ColumnDefCode(column)) {
    case 18:
    case 27:
    case 31:
    case 0x30:
    case 0x38:
    case 0x39:
    case 0x3F:
    case 0x40: return true;
    case kFieldK: return (ColumnOptionWord(column) & 0x0700) != 0;
    case kFieldI:
        column[ColumnDefLayout::Align] |= kUpDownArrowBit;
        return ColumnOptionWord(column) < 256;
    default: return false;
    }
}

} // namespace qv
