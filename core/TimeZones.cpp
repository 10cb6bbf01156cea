// The table of eight market time zones, their daylight-saving rules and the per-market lookups.
#include "core/TimeZones.h"

#include "core/PackedDate.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 1900 + 127; // seven bits of year in a PackedDate

// 0 Sunday .. 6 Saturday, the numbering of the stored rules.
int SundayBasedWeekday(PackedDate date) { return (WeekdayOf(date) + 1) % 7; }

TimeZoneRule Rule(uint16_t month, uint16_t occurrence, uint16_t hour)
{
    TimeZoneRule rule;
    rule.month = month;
    rule.dayOfWeek = 0; // every built-in rule falls on a Sunday
    rule.occurrence = occurrence;
    rule.hour = hour;
    return rule;
}

template <size_t N> void SetField(std::array<char, N>& field, std::string_view text)
{
    field.fill(0);
    std::memcpy(field.data(), text.data(), text.size() < N ? text.size() : N - 1);
}

TimeZoneRecord Zone(std::string_view standardName, std::string_view standardLabel,
                    std::string_view daylightName, std::string_view daylightLabel, int32_t bias,
                    int32_t daylightBias, TimeZoneRule standardStart, TimeZoneRule daylightStart)
{
    TimeZoneRecord zone;
    SetField(zone.standardName, standardName);
    SetField(zone.standardLabel, standardLabel);
    SetField(zone.daylightName, daylightName);
    SetField(zone.daylightLabel, daylightLabel);
    zone.bias = bias;
    zone.daylightBias = daylightBias;
    zone.standardStart = standardStart;
    zone.daylightStart = daylightStart;
    return zone;
}

TimeZoneTable MakeBuiltInTable()
{
    const TimeZoneRule none;
    const TimeZoneRule lastOctober = Rule(10, 5, 2);
    const TimeZoneRule lastMarch = Rule(3, 5, 1);
    // Since 2007 the US changes on the second Sunday of March and the first Sunday of November.
    const TimeZoneRule usStandard = Rule(11, 1, 2);
    const TimeZoneRule usDaylight = Rule(3, 2, 2);
    TimeZoneTable table;
    table.version = 0;
    table.zones[0] = TimeZoneRecord{};
    table.zones[1] = Zone("GMT", "GMT", "GMT", "GMT", 0, 0, none, none);
    table.zones[2] = Zone("GMT", "GMT", "BST (GMT+1)", "BST", 0, -60, lastOctober, lastMarch);
    table.zones[3] = Zone("EST (GMT-5)", "EST", "EDT (GMT-4)", "EDT", 300, -60, usStandard, usDaylight);
    table.zones[4] = Zone("CST (GMT-6)", "CST", "CDT (GMT-5)", "CDT", 360, -60, usStandard, usDaylight);
    table.zones[5] = Zone("EET (GMT+2)", "EET", "EEST (GMT+3)", "EEST", -120, -60, Rule(10, 5, 4),
                          Rule(3, 5, 3));
    table.zones[6] = Zone("CET (GMT+1)", "CET", "CEST (GMT+2)", "CEST", -60, -60, Rule(10, 5, 3),
                          Rule(3, 5, 2));
    table.zones[7] = Zone("WET (GMT)", "WET", "WEST (GMT+1)", "WEST", 0, -60, lastOctober, lastMarch);
    return table;
}

// London is the home market and the zone of every market the feed's exchange table does not name.
constexpr uint8_t kDefaultMarketZone = 2;
// The zones of the feed's exchanges, by exchange number: LSE, NYSE, AMEX, NASDAQ (NM), NASDAQ (SC),
// NASDAQ indices, Euronext, XETRA, FOREX, US indices, UK indices, European indices (EET, CET, WET,
// UTC), global indices, gilts, unit trusts, London bullion.
constexpr std::array<uint8_t, 19> kExchangeZones = {2, 3, 3, 3, 3, 3, 6, 6, 2, 3, 2, 5, 6, 7, 1, 1, 2, 2, 2};

struct ZoneState {
    TimeZoneTable table = BuiltInTimeZoneTable();
    std::array<uint8_t, kMarketCount> marketZones = DefaultMarketZones();

    static std::array<uint8_t, kMarketCount> DefaultMarketZones()
    {
        std::array<uint8_t, kMarketCount> zones;
        zones.fill(kDefaultMarketZone);
        std::copy(kExchangeZones.begin(), kExchangeZones.end(), zones.begin());
        return zones;
    }
};

ZoneState& State()
{
    static ZoneState state;
    return state;
}

const TimeZoneRecord& MarketZone(unsigned market)
{
    return ActiveTimeZoneTable().zones[MarketZoneIndex(market)];
}

void ReadRule(ByteReader& in, TimeZoneRule& rule)
{
    for (uint16_t* field : {&rule.year, &rule.month, &rule.dayOfWeek, &rule.occurrence, &rule.hour,
                            &rule.minute, &rule.second, &rule.milliseconds})
        in.u16(*field);
}

void WriteRule(ByteWriter& out, const TimeZoneRule& rule)
{
    for (uint16_t field : {rule.year, rule.month, rule.dayOfWeek, rule.occurrence, rule.hour,
                           rule.minute, rule.second, rule.milliseconds})
        out.u16(field);
}

} // namespace

std::string_view FieldText(const char* field, size_t width)
{
    size_t n = 0;
    while (n < width && field[n] != 0)
        ++n;
    return {field, n};
}

void ReadTimeZoneRecord(ByteReader& in, TimeZoneRecord& zone)
{
    in.bytes(zone.standardName.data(), zone.standardName.size());
    in.bytes(zone.daylightName.data(), zone.daylightName.size());
    in.bytes(zone.standardLabel.data(), zone.standardLabel.size());
    in.bytes(zone.daylightLabel.data(), zone.daylightLabel.size());
    in.i32(zone.bias);
    in.i32(zone.daylightBias);
    ReadRule(in, zone.standardStart);
    ReadRule(in, zone.daylightStart);
}

void WriteTimeZoneRecord(ByteWriter& out, const TimeZoneRecord& zone)
{
    out.bytes(zone.standardName.data(), zone.standardName.size());
    out.bytes(zone.daylightName.data(), zone.daylightName.size());
    out.bytes(zone.standardLabel.data(), zone.standardLabel.size());
    out.bytes(zone.daylightLabel.data(), zone.daylightLabel.size());
    out.i32(zone.bias);
    out.i32(zone.daylightBias);
    WriteRule(out, zone.standardStart);
    WriteRule(out, zone.daylightStart);
}

const TimeZoneTable& BuiltInTimeZoneTable()
{
    static const TimeZoneTable table = MakeBuiltInTable();
    return table;
}

const TimeZoneTable& ActiveTimeZoneTable() { return State().table; }
void SetActiveTimeZoneTable(const TimeZoneTable& table) { State().table = table; }
void ResetTimeZoneTable() { State().table = BuiltInTimeZoneTable(); }

PackedDate RuleToDate(int year, unsigned month, unsigned occurrence, unsigned weekday)
{
    if (occurrence < 1 || occurrence > 5 || month < 1 || month > 12 || weekday > 6)
        return 0;
    if (year < kFirstYear || year > kLastYear)
        return 0;
    int month0 = int(month) - 1;
    int year0 = year - 1900;
    if (occurrence == 5) {
        int last = DaysInMonth(month0, year0);
        int day = last - SundayBasedWeekday(MakePackedDate(last - 1, month0, year0)) + int(weekday);
        if (day > last)
            day -= 7;
        return MakePackedDate(day - 1, month0, year0);
    }
    int day = 1 + int(weekday) - SundayBasedWeekday(MakePackedDate(0, month0, year0));
    if (day < 1)
        day += 7;
    return MakePackedDate(day - 1 + 7 * int(occurrence - 1), month0, year0);
}

bool IsDaylightSaving(const TimeZoneRecord& zone, PackedDate date)
{
    int year = FullYear(date);
    const TimeZoneRule& d = zone.daylightStart;
    const TimeZoneRule& s = zone.standardStart;
    PackedDate daylightFrom = RuleToDate(year, d.month, d.occurrence, d.dayOfWeek);
    PackedDate standardFrom = RuleToDate(year, s.month, s.occurrence, s.dayOfWeek);
    if (daylightFrom == 0 || standardFrom == 0)
        return false;
    return daylightFrom <= date && date < standardFrom;
}

int32_t ZoneUtcBias(const TimeZoneRecord& zone, PackedDate date)
{
    return zone.bias + (IsDaylightSaving(zone, date) ? zone.daylightBias : 0);
}

uint8_t MarketZoneIndex(unsigned market)
{
    if (market >= kMarketCount)
        return 0;
    uint8_t zone = State().marketZones[market];
    return zone < kTimeZoneCount ? zone : 0;
}

void SetMarketZoneIndex(unsigned market, uint8_t zone)
{
    if (market < kMarketCount)
        State().marketZones[market] = zone;
}

void ResetMarketZoneMap() { State().marketZones = ZoneState::DefaultMarketZones(); }

int32_t GetMarketUtcBias(unsigned market, PackedDate date)
{
    return ZoneUtcBias(MarketZone(market), date);
}

std::string_view GetMarketTimeZoneName(unsigned market, PackedDate date)
{
    const TimeZoneRecord& zone = MarketZone(market);
    return IsDaylightSaving(zone, date) ? FieldText(zone.daylightName)
                                              : FieldText(zone.standardName);
}

uint8_t GetMarketTimeZoneCode(unsigned market, PackedDate date)
{
    uint8_t index = MarketZoneIndex(market);
    bool summer = IsDaylightSaving(ActiveTimeZoneTable().zones[index], date);
    return uint8_t(index | (summer ? 0x80 : 0));
}

std::string_view GetTimeZoneAbbrev(uint8_t zoneCode)
{
    unsigned index = zoneCode & 0x7F;
    if (index >= kTimeZoneCount)
        return {};
    const TimeZoneRecord& zone = ActiveTimeZoneTable().zones[index];
    return (zoneCode & 0x80) ? FieldText(zone.daylightLabel) : FieldText(zone.standardLabel);
}

} // namespace qv
