// qvtool results FOLDER EPIC: a share's results table, its detailed results items per year and its
// three cached statistics.
#include "core/CachedStatistics.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/ResultsFigures.h"
#include "platform/TextCodec.h"

#include <cstdio>

namespace qv::tool {
namespace {

const char* ClassName(float kind)
{
    switch (int(kind)) {
    case kResultsInterim: return "interim";
    case kResultsForecast: return "forecast";
    default: return "annual";
    }
}

void PrintResultsTable(uint8_t* record)
{
    std::printf("results:\n%-10s %-8s %12s %10s %10s %12s %10s\n", "date", "class", "profit (m)", "EPS", "dividend",
                "turnover (m)", "final div");
    for (int year = kResultsDirectYear;; ++year) {
        float date = GetResultsFigure(year, kResultsDate, record, 0);
        if (date == kNoResultsValue)
            break;
        std::printf("%-10s %-8s %12.2f %10.2f %10.2f %12.2f %10.2f\n", FormatDate(PackedDate(date)).c_str(),
                    ClassName(GetResultsFigure(year, kResultsClass, record, 0)),
                    GetResultsFigure(year, kResultsProfit, record, 0), GetResultsFigure(year, kResultsEps, record, 0),
                    GetResultsFigure(year, kResultsDividend, record, 0),
                    GetResultsFigure(year, kResultsTurnover, record, 0),
                    GetResultsFigure(year, kResultsFinalDividend, record, 0));
    }
}

void PrintDetailedItems(uint8_t* record)
{
    std::printf("detailed results (years ago 0-4; a dash for no value):\n");
    for (int years = 0; years < 5; ++years) {
        float end = GetResultsColumnValue(years, 13, record, 0);
        std::printf("year %d (%s)%s\n", years, end == kNoResultsValue ? "-" : FormatDate(PackedDate(end)).c_str(),
                    FindResultsBlock(record, 0, years) ? "" : ", no detailed block");
        for (int code = 0; code <= 132; ++code) {
            const char* name = ResultsItemName(code);
            if (*name == 0 || code == 13)
                continue;
            float value = GetResultsColumnValue(years, code, record, 0);
            std::string label = Cp1252ToUtf8(name);
            if (value == kNoResultsValue)
                std::printf("  %-30s -\n", label.c_str());
            else if (code == 45)
                std::printf("  %-30s %s\n", label.c_str(), FormatDate(PackedDate(value)).c_str());
            else
                std::printf("  %-30s %.2f\n", label.c_str(), value);
        }
    }
}

int RunResults(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto found = LoadFolderShare(args, "results FOLDER EPIC", exitCode);
    if (!found)
        return exitCode;
    RecordCursor cursor = *found;
    RecordTexts texts = GetRecordTexts(cursor.record);
    std::printf("%.*s (id %u, stream %u)\n", int(texts.name.size()), texts.name.data(), RecordId(cursor.record),
                cursor.count);
    PrintResultsTable(cursor.record);
    PrintDetailedItems(cursor.record);
    uint16_t volatility = GetCachedVolatility(cursor);
    int8_t correlation = GetCachedCorrelation(cursor);
    int16_t beta = GetCachedBeta(cursor);
    auto shown = [](int value, int none, double scale) {
        return value == none ? std::string("no value") : std::to_string(value / scale);
    };
    std::printf("volatility %s (cached %u), correlation %s (cached %d), beta %s (cached %d)\n",
                shown(volatility, kStatisticNoValue, 10000).c_str(), volatility,
                shown(correlation, kCorrelationNoValue, 100).c_str(), correlation,
                shown(beta, int16_t(kStatisticNoValue), 100).c_str(), beta);
    FreeDatabase(true);
    return 0;
}

const Verb kResults("results", "results FOLDER EPIC", "a share's results, detailed results items and statistics",
                    RunResults);

} // namespace
} // namespace qv::tool
