// The rules of the details-view dialogs and the chart's default range: the detail items and their
// selection list, the display design's settings, and the checks of the 8-byte range record.
#pragma once

#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The detail items, one table for the details page and its dialogs: item index -> database field
// code (a column of the share list's catalogue), in table order.
inline constexpr int kDetailItemCount = 63;
extern const std::array<uint8_t, kDetailItemCount> kDetailItemCodes;
inline constexpr uint8_t kDetailListEnd = 255;

// The "Default" items, in table order: what the details page shows until the user chooses.
std::vector<uint8_t> DefaultDetailItems();
// A stored selection (indices ended by 255) read back; indices out of range or repeated are dropped.
std::vector<uint8_t> ReadDetailSelection(std::span<const uint8_t> bytes);
// The indices followed by the end mark.
std::vector<uint8_t> WriteDetailSelection(std::span<const uint8_t> selection);
// The items not in the selection, in table order.
std::vector<uint8_t> DetailItemsNotIncluded(std::span<const uint8_t> selection);

// The details view's display settings, with their defaults.
struct DetailDisplaySettings {
    int whiteSpace = 5;                      // odd, 1 to 9
    uint32_t labelText = 0x000000;
    uint32_t labelBackground = 0xC0C0C0;
    uint32_t boxText = 0x000000;
    uint32_t boxBackground = 0x808080;
    // Profits, EPS, dividend, turnover: actual then forecast.
    std::array<uint32_t, 4> bars{0xFF0000, 0x0000FF, 0x00FFFF, 0xFFFF00};
    std::array<uint32_t, 4> forecastBars{0x800000, 0x000080, 0x008000, 0x808000};
    std::string face = "Arial";
    int points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const DetailDisplaySettings&) const = default;
};
inline int WhiteSpaceOfSlider(int position) { return 2 * position + 1; }
inline int SliderOfWhiteSpace(int whiteSpace) { return (whiteSpace - 1) / 2; }
// The stored font height of the settings' point size.
inline int32_t LogFontHeight(int points, int pixelsPerInch) { return -(points * pixelsPerInch / 72); }

// The chart range record: u16 flags, start date, count, end date.
struct ChartRange {
    static constexpr uint16_t kUnitMask = 0x0F;
    static constexpr uint16_t kLimited = 0x10;
    static constexpr uint16_t kCountUsed = 0x20;
    static constexpr uint16_t kStartUsed = 0x40;
    static constexpr uint16_t kEndUsed = 0x80;

    uint16_t flags = 0;
    PackedDate start = 0;
    uint16_t count = 0;
    PackedDate end = 0;

    int unit() const { return flags & kUnitMask; }
    bool has(uint16_t bit) const { return (flags & bit) != 0; }
    void set(uint16_t bit, bool on) { flags = on ? uint16_t(flags | bit) : uint16_t(flags & ~bit); }
    bool operator==(const ChartRange&) const = default;
};
inline constexpr size_t kChartRangeBytes = 8;
ChartRange ReadChartRange(std::span<const uint8_t, kChartRangeBytes> bytes);
void WriteChartRange(const ChartRange& range, std::span<uint8_t, kChartRangeBytes> bytes);
// Missing dates become the latest trading dates (mode 0 for the start, mode 1 for the end).
ChartRange FillRangeDates(ChartRange range, PackedDate latestStart, PackedDate latestEnd);
// Switching the count on with both dates on switches the dates off.
ChartRange ApplyRangeSwitches(ChartRange range);
// The count of a unit (0 days .. 3 years): its range.
std::pair<int, int> RangeCountLimits(int unit);

struct RangeCheck {
    bool accepted = false;
    bool swapped = false;        // the dates were swapped (the dialog stays open)
    std::string message;         // what to tell the user (also a warning on acceptance)
    ChartRange range;            // the range after the check
};
// The checks of OK and Preview. `lastPrice` is the date of the latest prices.
RangeCheck CheckChartRange(const ChartRange& range, PackedDate lastPrice);

// The dates of one share for the dates dialog: rows sorted by date, empty dates left out.
struct ShareDateRow {
    std::string name;
    PackedDate date = 0;
};
inline constexpr int kShareDateRows = 15;
std::vector<ShareDateRow> SortShareDates(std::vector<ShareDateRow> rows);

} // namespace qv
