// Tests of the table of eight market time zones, their daylight-saving rules and the per-market lookups.
#include "core/TimeZones.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

using namespace qv;

namespace {

PackedDate Date(int year, int month, int day) { return PackDate(day, month, year); }

// Compares against the system's own zone database through the C library: libstdc++ 12 ships
// <chrono> without the zone database, so locate_zone is not available to us.
class SystemZone {
public:
    explicit SystemZone(const char* name)
    {
        if (const char* tz = std::getenv("TZ"))
            saved_ = tz;
        setenv("TZ", name, 1);
        tzset();
    }
    ~SystemZone()
    {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    SystemZone(const SystemZone&) = delete;
    SystemZone& operator=(const SystemZone&) = delete;

    static std::tm At(time_t instant)
    {
        std::tm local{};
        localtime_r(&instant, &local);
        return local;
    }

private:
    std::optional<std::string> saved_;
};

bool HaveZoneDatabase(const char* name)
{
    return std::filesystem::exists(std::filesystem::path("/usr/share/zoneinfo") / name);
}

time_t NoonUtc(int year, int month, int day)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = 12;
    return timegm(&t);
}

struct ZoneCase {
    uint8_t zone;
    const char* systemName;
    int firstYear; // from this year the table's rules are the real rules
};

class TimeZonesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ResetTimeZoneTable();
        ResetMarketZoneMap();
    }
};

// Every day from the first year to the end of the PackedDate range, at noon UTC (switches happen
// in the small hours, and the table is kept by day): the bias and the short label agree with the
// system's zone database.
void ExpectAgreesWithSystem(const TimeZoneRecord& zone, const char* systemName, int firstYear,
                            int lastYear)
{
    SystemZone system(systemName);
    int mismatches = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                std::tm check{};
                check.tm_year = year - 1900;
                check.tm_mon = month - 1;
                check.tm_mday = day;
                check.tm_hour = 12;
                time_t instant = timegm(&check);
                std::tm utc{};
                gmtime_r(&instant, &utc);
                if (utc.tm_mon != month - 1)
                    continue; // no such day
                std::tm local = SystemZone::At(instant);
                PackedDate date = Date(year, month, day);
                int32_t bias = ZoneUtcBias(zone, date);
                bool summer = IsDaylightSaving(zone, date);
                std::string label(summer ? FieldText(zone.daylightLabel) : FieldText(zone.standardLabel));
                if (-bias * 60 != local.tm_gmtoff || label != local.tm_zone) {
                    if (++mismatches < 5)
                        ADD_FAILURE() << systemName << " " << year << "-" << month << "-" << day
                                      << ": bias " << bias << " label " << label << ", system "
                                      << local.tm_gmtoff << " " << local.tm_zone;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << systemName;
}

} // namespace

TEST_F(TimeZonesTest, RuleToDateFindsTheNthAndLastWeekday)
{
    struct Case {
        int year;
        unsigned month, occurrence, weekday;
        PackedDate expected;
    };
    const Case cases[] = {
        {2024, 3, 5, 0, Date(2024, 3, 31)},  // last Sunday is the month's last day
        {2024, 10, 5, 0, Date(2024, 10, 27)},
        {2026, 3, 2, 0, Date(2026, 3, 8)},   // second Sunday of March
        {2026, 11, 1, 0, Date(2026, 11, 1)}, // the first is itself a Sunday
        {2025, 11, 1, 0, Date(2025, 11, 2)},
        {2024, 2, 5, 4, Date(2024, 2, 29)},  // last Thursday of a leap February
        {2023, 2, 5, 2, Date(2023, 2, 28)},
        {2000, 2, 5, 2, Date(2000, 2, 29)},  // 2000 is a leap year
        {1900, 2, 5, 3, Date(1900, 2, 28)},  // 1900 is not
        {2024, 6, 4, 6, Date(2024, 6, 22)},  // fourth Saturday
        {2027, 12, 5, 5, Date(2027, 12, 31)}, // last day of the range
        {2024, 3, 0, 0, 0},                  // occurrence outside 1-5
        {2024, 3, 6, 0, 0},
        {2024, 0, 1, 0, 0},                  // empty rule
        {2024, 13, 1, 0, 0},
        {2024, 3, 1, 7, 0},                  // no such weekday
        {1899, 3, 1, 0, 0},                  // outside the PackedDate range
        {2028, 3, 1, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RuleToDate(c.year, c.month, c.occurrence, c.weekday), c.expected)
            << c.year << "/" << c.month << " occurrence " << c.occurrence << " weekday " << c.weekday;
}

TEST_F(TimeZonesTest, DaylightSavingRunsFromItsStartDayToTheDayBeforeStandardTime)
{
    const TimeZoneRecord& london = BuiltInTimeZoneTable().zones[2];
    EXPECT_FALSE(IsDaylightSaving(london, Date(2024, 3, 30)));
    EXPECT_TRUE(IsDaylightSaving(london, Date(2024, 3, 31)));
    EXPECT_TRUE(IsDaylightSaving(london, Date(2024, 10, 26)));
    EXPECT_FALSE(IsDaylightSaving(london, Date(2024, 10, 27)));
    // Zones without rules never are.
    EXPECT_FALSE(IsDaylightSaving(BuiltInTimeZoneTable().zones[0], Date(2024, 7, 1)));
    EXPECT_FALSE(IsDaylightSaving(BuiltInTimeZoneTable().zones[1], Date(2024, 7, 1)));
    // A southern-hemisphere style zone (daylight from October to March) is never in daylight.
    TimeZoneRecord south = london;
    std::swap(south.daylightStart, south.standardStart);
    EXPECT_FALSE(IsDaylightSaving(south, Date(2024, 12, 1)));
    EXPECT_FALSE(IsDaylightSaving(south, Date(2024, 7, 1)));
}

TEST_F(TimeZonesTest, MarketLookupsFollowTheZoneAndTheDay)
{
    SetMarketZoneIndex(5, 6);
    EXPECT_EQ(GetMarketUtcBias(5, Date(2024, 1, 15)), -60);
    EXPECT_EQ(GetMarketUtcBias(5, Date(2024, 7, 15)), -120);
    EXPECT_EQ(GetMarketTimeZoneName(5, Date(2024, 7, 15)), "CEST (GMT+2)");
    EXPECT_EQ(GetMarketTimeZoneName(5, Date(2024, 1, 15)), "CET (GMT+1)");
    EXPECT_EQ(GetMarketTimeZoneCode(5, Date(2024, 7, 15)), 0x86);
    EXPECT_EQ(GetMarketTimeZoneCode(5, Date(2024, 1, 15)), 0x06);

    EXPECT_EQ(GetTimeZoneAbbrev(0x83), "EDT");
    EXPECT_EQ(GetTimeZoneAbbrev(0x03), "EST");
    EXPECT_EQ(GetTimeZoneAbbrev(0x85), "EEST");
    EXPECT_EQ(GetTimeZoneAbbrev(0x80), "");
    EXPECT_EQ(GetTimeZoneAbbrev(0x08), ""); // beyond the table
    EXPECT_EQ(GetTimeZoneAbbrev(0xFF), "");

    // London is the default market zone; markets and map entries out of range fall on zone 0.
    EXPECT_EQ(GetMarketTimeZoneName(0, Date(2024, 7, 15)), "BST (GMT+1)");
    EXPECT_EQ(GetMarketUtcBias(kMarketCount, Date(2024, 7, 15)), 0);
    EXPECT_EQ(GetMarketTimeZoneName(kMarketCount + 100, Date(2024, 7, 15)), "");
    SetMarketZoneIndex(7, 200);
    EXPECT_EQ(GetMarketTimeZoneCode(7, Date(2024, 7, 15)), 0);
}

TEST_F(TimeZonesTest, TheFeedsExchangesStartInTheirZones)
{
    struct Case {
        unsigned market;
        const char* summer;
    };
    // LSE, NYSE, Euronext, US indices, European indices (EET, WET, UTC), global indices, and a market
    // beyond the feed's table, which stays in London.
    for (const Case& c : {Case{0, "BST"}, Case{1, "EDT"}, Case{6, "CEST"}, Case{9, "EDT"}, Case{11, "EEST"},
                          Case{13, "WEST"}, Case{14, "GMT"}, Case{15, "GMT"}, Case{19, "BST"}})
        EXPECT_EQ(GetTimeZoneAbbrev(GetMarketTimeZoneCode(c.market, Date(2024, 7, 15))), c.summer) << c.market;
    EXPECT_EQ(GetMarketUtcBias(1, Date(2024, 1, 15)) - GetMarketUtcBias(0, Date(2024, 1, 15)), 300);
}

TEST_F(TimeZonesTest, BuiltInZonesAgreeWithTheSystemZoneDatabase)
{
    // The European rules (last Sundays of March and October) hold from 1996, the US ones from 2007.
    const ZoneCase cases[] = {
        {2, "Europe/London", 1996},   {3, "America/New_York", 2007}, {4, "America/Chicago", 2007},
        {5, "Europe/Helsinki", 1996}, {6, "Europe/Paris", 1996},     {7, "Europe/Lisbon", 1997}, // Portugal kept CET to March 1996
    };
    for (const ZoneCase& c : cases) {
        if (!HaveZoneDatabase(c.systemName))
            GTEST_SKIP() << "no system zone database for " << c.systemName;
        ExpectAgreesWithSystem(BuiltInTimeZoneTable().zones[c.zone], c.systemName, c.firstYear, 2027);
    }
}

TEST_F(TimeZonesTest, OlderUsRuleHeldBefore2007AndNotSince)
{
    if (!HaveZoneDatabase("America/New_York"))
        GTEST_SKIP() << "no system zone database";
    // A loaded table may carry the rule of 1987-2006: first Sunday of April to last Sunday of October.
    TimeZoneRecord older = BuiltInTimeZoneTable().zones[3];
    older.daylightStart.month = 4;
    older.daylightStart.occurrence = 1;
    older.standardStart.month = 10;
    older.standardStart.occurrence = 5;
    ExpectAgreesWithSystem(older, "America/New_York", 1987, 2006);
    // Since 2007 that rule is three weeks late in spring and a week early in autumn.
    EXPECT_FALSE(IsDaylightSaving(older, Date(2024, 3, 20)));
    EXPECT_TRUE(IsDaylightSaving(BuiltInTimeZoneTable().zones[3], Date(2024, 3, 20)));
    EXPECT_FALSE(IsDaylightSaving(older, Date(2024, 10, 30)));
    EXPECT_TRUE(IsDaylightSaving(BuiltInTimeZoneTable().zones[3], Date(2024, 10, 30)));
}

TEST_F(TimeZonesTest, LondonToNewYorkConversionMatchesTheSystem)
{
    if (!HaveZoneDatabase("Europe/London") || !HaveZoneDatabase("America/New_York"))
        GTEST_SKIP() << "no system zone database";
    SetMarketZoneIndex(0, 2);
    SetMarketZoneIndex(1, 3);
    // A London local time becomes a New York one by the difference of the two markets' biases;
    // checked over the weeks around every switch of 2007-2027, when the gap is 4 or 5 hours.
    for (int year = 2007; year <= 2027; ++year) {
        for (int month : {3, 4, 10, 11}) {
            for (int day = 1; day <= 30; ++day) {
                time_t instant = NoonUtc(year, month, day);
                std::tm london, newYork;
                {
                    SystemZone zone("Europe/London");
                    london = SystemZone::At(instant);
                }
                {
                    SystemZone zone("America/New_York");
                    newYork = SystemZone::At(instant);
                }
                PackedDate date = Date(year, month, day);
                int londonMinutes = london.tm_hour * 60 + london.tm_min;
                int converted = londonMinutes + GetMarketUtcBias(0, date) - GetMarketUtcBias(1, date);
                EXPECT_EQ(converted, newYork.tm_hour * 60 + newYork.tm_min)
                    << year << "-" << month << "-" << day;
            }
        }
    }
}

TEST_F(TimeZonesTest, RecordRoundTripKeepsEveryByte)
{
    ByteWriter out;
    for (uint8_t i = 0; i < kTimeZoneRecordSize; ++i)
        out.u8(uint8_t(i * 7 + 3));
    std::vector<uint8_t> bytes = out.take();
    ByteReader in(bytes);
    TimeZoneRecord zone;
    ReadTimeZoneRecord(in, zone);
    ASSERT_TRUE(in.ok());
    EXPECT_TRUE(in.atEnd());
    ByteWriter again;
    WriteTimeZoneRecord(again, zone);
    EXPECT_EQ(again.data(), bytes);

    ByteReader shortIn(bytes.data(), bytes.size() - 1);
    ReadTimeZoneRecord(shortIn, zone);
    EXPECT_FALSE(shortIn.ok());
}

TEST_F(TimeZonesTest, ActiveTableCanBeReplacedAndReset)
{
    TimeZoneTable table = BuiltInTimeZoneTable();
    table.version = 3;
    table.zones[3].daylightLabel = {'X', 'D', 'T'};
    SetActiveTimeZoneTable(table);
    EXPECT_EQ(ActiveTimeZoneTable().version, 3);
    EXPECT_EQ(GetTimeZoneAbbrev(0x83), "XDT");
    ResetTimeZoneTable();
    EXPECT_EQ(GetTimeZoneAbbrev(0x83), "EDT");
    EXPECT_EQ(ActiveTimeZoneTable().version, 0);
}
