// What the column dialogs collect and how it is stored: a column's own appearance (bytes 7 to 16 of
// its record), the look-back period of a price high or low, and the date choices of price columns.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// A column's own colours, borders and text style. A border of -1 is "Default" (its flag clear).
struct ColumnAppearance {
    bool background = false;
    bool mix = false;
    bool textColour = false;
    bool textStyle = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int left = -1;
    int right = -1;
    uint32_t backgroundColour = 0;
    uint32_t textColourValue = 0;

    bool operator==(const ColumnAppearance&) const = default;
};

inline constexpr size_t kColumnAppearanceBytes = 10;

// Reads bytes 7-16 (the ten bytes given); a border without its flag reads as -1.
ColumnAppearance UnpackColumnAppearance(std::span<const uint8_t, kColumnAppearanceBytes> bytes);
// Writes bytes 7-16: mixing is stored only with a background, colours only with their flags.
void PackColumnAppearance(const ColumnAppearance& appearance, std::span<uint8_t, kColumnAppearanceBytes> bytes);

// Look-back periods: kind 0 all history, 1 trading days, 2 days, 3 since 1 January, 4 since a date.
struct HighLowPeriod {
    uint16_t kind = 0;
    uint16_t value = 0;
    bool operator==(const HighLowPeriod&) const = default;
};
std::string FormatHighLowPeriod(int kind, int value);

struct OptionBlockB;
// The global period (OptionBlockB::kGlobalHighLowPeriod) or the last column's (kColumnHighLowPeriod).
HighLowPeriod ReadHighLowPeriod(const OptionBlockB& block, size_t offset);
void WriteHighLowPeriod(OptionBlockB& block, size_t offset, HighLowPeriod period);

struct NumberRange {
    int low = 0;
    int high = 0;
    int start = 0;   // the value offered when none is given
    bool contains(int v) const { return v >= low && v <= high; }
};
// The number field of a period kind (1 or 2); other kinds have none ({0, 0, 0}).
NumberRange HighLowPeriodRange(int kind);

// The six choices of a price date: 0 a fixed date, 1 days, 2 trading days, 3 weeks, 4 months, 5 years
// ago. Callers hand them over as a unit (1 days, 2 weeks, 3 months, 4 years, 5 trading days; any other
// unit: the value is a date).
int DateChoiceOfUnit(int unit);
int UnitOfDateChoice(int choice);
NumberRange DateChoiceRange(int choice);
// The values a price-date group starts with, for choices 1 to 5: the first and only group of "Select
// date of price" and the second of "Price change between two dates" (10, 10, 1, 1, 1) or the first
// group of the price change (20, 20, 2, 2, 2).
int DateChoiceDefault(int choice, bool firstOfChange);

// How an existing high/low column opens its dialog: global (field codes 19/20, 52/53, 54/55, 63/64)
// or with its own period (field code 94, sub-kind 0-7: display sub-kind / 2, lows when odd).
struct HighLowColumnChoice {
    bool lows = false;
    int display = 0;          // 0 price, 1 date of, 2 days since, 3 % change from
    bool customPeriod = false;
    bool valid = false;       // false for any other field code
};
HighLowColumnChoice HighLowChoiceOfColumn(int fieldCode, int subKind);
// The field code of a column that follows the global period.
int GlobalHighLowFieldCode(bool lows, int display);

} // namespace qv
