// qvtool zones [FILE] [YEAR]: the time-zone table of a "Timezone.dat" (or the built-in one) and the
// days its zones change in a year.
#include "core/PackedDate.h"
#include "core/TimeZoneFile.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/FileOps.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::tool {
namespace {

std::string DateText(PackedDate date)
{
    if (date == 0)
        return "-";
    return std::to_string(FullYear(date)) + "-" + std::to_string(MonthOfYear(date)) + "-" +
           std::to_string(DayOfMonth(date));
}

std::optional<TimeZoneTable> TableFrom(const std::string& name)
{
    auto bytes = ReadFileBytes(name);
    if (!bytes || bytes->size() < 16) {
        std::fprintf(stderr, "qvtool: cannot read %s\n", name.c_str());
        return std::nullopt;
    }
    std::optional<TimeZoneRecords> zones = ReadTimeZoneBody(std::span<const uint8_t>(*bytes).subspan(16));
    if (!zones) {
        std::fprintf(stderr, "qvtool: %s does not hold eight zone records\n", name.c_str());
        return std::nullopt;
    }
    return TimeZoneTable{(*bytes)[4], *zones};
}

int RunZones(const std::vector<std::string>& args)
{
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: qvtool zones [FILE] [YEAR]\n");
        return 2;
    }
    std::optional<TimeZoneTable> table = BuiltInTimeZoneTable();
    if (!args.empty() && args[0] != "-")
        table = TableFrom(args[0]);
    if (!table)
        return 1;
    int year = args.size() == 2 ? std::atoi(args[1].c_str()) : 2026;
    std::printf("table version %u, changes in %d\n", table->version, year);
    for (size_t i = 0; i < kTimeZoneCount; ++i) {
        const TimeZoneRecord& z = table->zones[i];
        PackedDate summer = RuleToDate(year, z.daylightStart.month, z.daylightStart.occurrence, z.daylightStart.dayOfWeek);
        PackedDate winter = RuleToDate(year, z.standardStart.month, z.standardStart.occurrence, z.standardStart.dayOfWeek);
        std::printf("%zu %-16s %-6s bias %4d | %-16s %-6s %+d from %s to %s\n", i,
                    std::string(FieldText(z.standardName)).c_str(), std::string(FieldText(z.standardLabel)).c_str(),
                    z.bias, std::string(FieldText(z.daylightName)).c_str(),
                    std::string(FieldText(z.daylightLabel)).c_str(), z.daylightBias, DateText(summer).c_str(),
                    DateText(winter).c_str());
    }
    return 0;
}

const Verb kZones("zones", "zones [FILE|-] [YEAR]", "time-zone table and its change days", RunZones);

} // namespace
} // namespace qv::tool
