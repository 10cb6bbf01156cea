// qvtool prices FOLDER EPIC: a stream's day records and its statistics room.
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Memory.h"
#include "core/PriceStatistics.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Paths.h"

#include <cstdio>
#include <string_view>

namespace qv::tool {
namespace {

void PrintStatistics(const uint8_t* sub)
{
    StreamStatistics s = ReadStreamStatistics(sub);
    std::printf("statistics: last %s close %g open %g high %g low %g volume %g change %g market value %g\n",
                FormatDate(s.lastDate).c_str(), s.lastClose, s.lastOpen, s.lastHigh, s.lastLow, s.lastVolume,
                s.change, s.marketValue);
    std::printf("period high %g on %s, low %g on %s (period from %s); all-time high %g, low %g\n", s.periodHigh,
                FormatDate(s.periodHighDate).c_str(), s.periodLow, FormatDate(s.periodLowDate).c_str(),
                FormatDate(PeriodStart()).c_str(), s.allTimeHigh, s.allTimeLow);
}

const char* MarkText(uint8_t modeMarks)
{
    if (modeMarks & kDayMarkA)
        return " A";
    if (modeMarks & kDayMarkC)
        return " C";
    if (modeMarks & kDayMarkF)
        return " F";
    return "";
}

int RunPrices(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto found = LoadFolderShare(args, "prices FOLDER EPIC", exitCode);
    if (!found)
        return exitCode;
    RecordCursor cursor = *found;
    RecordTexts texts = GetRecordTexts(cursor.record);
    uint8_t* sub = GetSubRecord(cursor, cursor.count);
    std::printf("%.*s (id %u, stream %u, kind %u, scale %d)\n", int(texts.name.size()), texts.name.data(),
                RecordId(cursor.record), cursor.count, SubRecordKindOf(sub), LoadI16(sub + 8));
    DayRecord* days = nullptr;
    int32_t count = DecodePriceHistory(&cursor, &days, 0, false, true);
    std::printf("%d days\n", count);
    for (const DayRecord* d = days; d && d->date != 0; ++d) {
        std::printf("%-10s %d %12.4f %12.4f %12.4f %12.4f %14.0f  unit %g mode %d%s\n", FormatDate(d->date).c_str(),
                    d->weekday, d->open, d->high, d->low, d->close, d->volume, d->unit, d->modeMarks & kDayModeBits,
                    MarkText(d->modeMarks));
    }
    ProFree(days);
    PrintStatistics(sub);
    FreeDatabase(true);
    return 0;
}

const Verb kPrices("prices", "prices FOLDER EPIC", "a share's day records and its statistics room", RunPrices);

} // namespace
} // namespace qv::tool
