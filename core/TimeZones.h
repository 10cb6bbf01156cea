// The table of eight market time zones, their daylight-saving rules and the per-market lookups.
#pragma once

#include "core/PackedDate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

class ByteReader;
class ByteWriter;

// One switch-over rule in the Windows system-time layout, day-in-month form. Only month (1-12),
// dayOfWeek (0 Sunday .. 6 Saturday) and occurrence (1-4, 5 = last) are read; the rest is kept so
// that a stored table is written back byte for byte.
struct TimeZoneRule {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t occurrence = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

inline constexpr size_t kTimeZoneRuleSize = 16;

// A zone as stored: names and labels in fixed NUL-padded fields (kept as raw bytes so that whatever
// follows the NUL survives a round trip), UTC = local time + bias (+ daylightBias in summer).
struct TimeZoneRecord {
    std::array<char, 16> standardName{};
    std::array<char, 16> daylightName{};
    std::array<char, 8> standardLabel{};
    std::array<char, 8> daylightLabel{};
    int32_t bias = 0;
    int32_t daylightBias = 0;
    TimeZoneRule standardStart;
    TimeZoneRule daylightStart;
};

inline constexpr size_t kTimeZoneRecordSize = 88;
static_assert(16 + 16 + 8 + 8 + 4 + 4 + 2 * kTimeZoneRuleSize == kTimeZoneRecordSize);
inline constexpr size_t kTimeZoneCount = 8;
inline constexpr size_t kTimeZoneTableSize = kTimeZoneRecordSize * kTimeZoneCount;
static_assert(kTimeZoneTableSize == 704);

using TimeZoneRecords = std::array<TimeZoneRecord, kTimeZoneCount>;

// The zone table in force: version 0 is the built-in table, anything else came from the zone file.
struct TimeZoneTable {
    uint8_t version = 0;
    TimeZoneRecords zones;
};

// Texts of a fixed field, up to its first NUL (the whole field when it has none).
std::string_view FieldText(const char* field, size_t width);
template <size_t N> std::string_view FieldText(const std::array<char, N>& field)
{
    return FieldText(field.data(), N);
}

void ReadTimeZoneRecord(ByteReader& in, TimeZoneRecord& zone);
void WriteTimeZoneRecord(ByteWriter& out, const TimeZoneRecord& zone);

// The built-in table. The US zones switch on the second Sunday of March and the first Sunday of
// November, the rule in force since 2007.
const TimeZoneTable& BuiltInTimeZoneTable();
const TimeZoneTable& ActiveTimeZoneTable();
void SetActiveTimeZoneTable(const TimeZoneTable& table);
// Back to the built-in table (start-up state; tests).
void ResetTimeZoneTable();

// The day a rule falls on in a year; 0 for an occurrence outside 1-5, a month
// outside 1-12, a weekday above 6 or a year a PackedDate cannot hold.
PackedDate RuleToDate(int year, unsigned month, unsigned occurrence, unsigned weekday);

// Daylight saving is in force from its start day up to the day before standard time returns;
// the hour of the switch is not considered. A zone without rules, or whose daylight start falls
// after its standard start in the year, never is.
bool IsDaylightSaving(const TimeZoneRecord& zone, PackedDate date);
// Minutes to add to a local time of the zone on that day to get UTC.
int32_t ZoneUtcBias(const TimeZoneRecord& zone, PackedDate date);

// Market numbers index a map of zone indexes; markets beyond the map, and map entries beyond the
// table, fall on zone 0 (no name, no bias).
inline constexpr size_t kMarketCount = 70;
uint8_t MarketZoneIndex(unsigned market);
void SetMarketZoneIndex(unsigned market, uint8_t zone);
void ResetMarketZoneMap();

int32_t GetMarketUtcBias(unsigned market, PackedDate date);
std::string_view GetMarketTimeZoneName(unsigned market, PackedDate date);
// The market's zone index with bit 7 set while daylight saving is in force.
uint8_t GetMarketTimeZoneCode(unsigned market, PackedDate date);
std::string_view GetTimeZoneAbbrev(uint8_t zoneCode);

} // namespace qv
