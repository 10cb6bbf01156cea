// qvtool indicator FOLDER EPIC TYPE [P1 P2 P3 P4 FLAGS]: a share's indicator values, bar by bar.
#include "chartmodel/BreadthCalc.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "charts/IndicatorRoutes.h"
#include "charts/IndicatorWindows.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "usage: qvtool indicator FOLDER EPIC TYPE [P1 P2 P3 P4 FLAGS]\n";

bool ParseNumber(const std::string& text, long low, long high, long& out)
{
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && out >= low && out <= high;
}

// The indicator record the arguments describe; false (after saying why) for a bad one.
bool ReadRecord(const std::vector<std::string>& args, IndicatorRecord& record)
{
    long values[6] = {0, 14, 0, 0, 0, 0};
    for (size_t i = 2; i < args.size(); ++i) {
        const bool flags = i == 7, type = i == 2;
        // A period may also name another share by its id, read unsigned (the indices lie above 0x7FFF).
        if (!ParseNumber(args[i], type || flags ? 0 : -32768, type ? 61 : flags ? 255 : 65535, values[i - 2])) {
            std::fprintf(stderr, "qvtool: bad %s: %s\n", type ? "type (0-61)" : flags ? "flags (0-255)" : "period",
                         args[i].c_str());
            return false;
        }
    }
    record.type = uint8_t(values[0]);
    record.period1 = int16_t(uint16_t(values[1]));
    record.period2 = int16_t(uint16_t(values[2]));
    record.period3 = int16_t(uint16_t(values[3]));
    record.period4 = int16_t(uint16_t(values[4]));
    record.flags = uint8_t(values[5]);
    return true;
}

// The breadth types run over the market breadth of the whole database ("All"), one line a weekday.
void PrintBreadth(const IndicatorRecord& record)
{
    PortfolioSeriesCache cache;
    BreadthSeriesEntry* entry = cache.Add({false, 0, 0});
    BuildPortfolioSeries(cache, *entry, false);
    CBreadthCalc calc(record, entry->records.data(), entry->records.size(), entry->name);
    std::printf("%s\n", calc.Name().c_str());
    PackedDate day = entry->firstDay;
    for (size_t i = 0; i < entry->records.size(); ++i, day = NextWeekday(day))
        std::printf("%-10s %12.4f\n", FormatDate(day).c_str(), *calc.AddValue());
}

// The types a streaming calculator computes bar by bar; every other type is computed as the chart
// computes it, by its window's routine.
bool HasStreamingCalc(uint8_t type)
{
    switch (type) {
    case 1: case IndicatorType::RSI: case IndicatorType::Momentum: case IndicatorType::MACD:
    case IndicatorType::PriceOscillator: case IndicatorType::Stochastic: case IndicatorType::OnBalanceVolume:
    case IndicatorType::CCI: case IndicatorType::WilliamsR: case IndicatorType::ADM:
    case IndicatorType::PivotPoints: case IndicatorType::ATR:
        return true;
    default:
        return false;
    }
}

void PrintValue(double v)
{
    if (std::isnan(v))
        std::printf(" %12s", "-");
    else
        std::printf(" %12.4f", v);
}

// The lines the chart's routine for the type draws over the whole history, one row per day from the
// first day of the history ("-" before a line has a value); false when the chart draws no lines for the type.
bool PrintChartLines(const IndicatorRecord& record, const std::vector<DayRecord>& days)
{
    const IndicatorRoute& route = RouteOf(record.type);
    if (route.family != IndicatorFamily::Lines || !route.routine)
        return false;
    IndicatorInput in;
    in.record = record;
    in.days = std::span<const DayRecord>(days);
    in.firstVisibleDate = days.front().date;
    in.loadShare = LoadShareHistory;
    ValueRange range{};
    IndicatorResult result;
    route.routine(in, range, result, route.variant);
    std::printf("%s\n", GetIndicatorName(record).c_str());
    for (size_t i = 0; i < days.size(); ++i) {
        std::printf("%-10s", FormatDate(days[i].date).c_str());
        for (const IndicatorLine& line : result.lines) {
            // A line's values start after its lead-in days.
            const size_t lead = size_t(std::max(line.leadIn, 0));
            PrintValue(i >= lead && i - lead < line.values.size() ? line.values[i - lead] : NAN);
        }
        std::printf("\n");
    }
    return true;
}

int RunIndicator(const std::vector<std::string>& args)
{
    if (args.size() < 3 || args.size() > 8) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    IndicatorRecord record;
    if (!ReadRecord(args, record))
        return 2;
    SetProgramFolder(args[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", args[0].c_str());
        return 1;
    }
    if (record.type >= IndicatorType::FirstBreadth && record.type <= IndicatorType::LastBreadth) {
        PrintBreadth(record);
        FreeDatabase(true);
        return 0;
    }
    RecordCursor cursor = FindByEpic(args[1]);
    if (cursor.record == nullptr) {
        std::fprintf(stderr, "qvtool: no share with the EPIC %s\n", args[1].c_str());
        FreeDatabase(true);
        return 1;
    }
    DayRecord* days = nullptr;
    const int32_t count = DecodePriceHistory(&cursor, &days, 0, true, true);
    std::vector<DayRecord> history;
    std::vector<Bar> bars;
    std::vector<uint16_t> dates;
    for (int32_t i = 0; i < count && days[i].date != 0; ++i) {
        history.push_back(days[i]);
        bars.push_back({days[i].open, days[i].high, days[i].low, days[i].close, days[i].volume});
        dates.push_back(days[i].date);
    }
    ProFree(days);
    if (bars.empty()) {
        std::fprintf(stderr, "qvtool: %s has no prices\n", args[1].c_str());
        FreeDatabase(true);
        return 1;
    }
    if (!HasStreamingCalc(record.type) && PrintChartLines(record, history)) {
        FreeDatabase(true);
        return 0;
    }
    auto calc = CreateIndicatorCalc(record, bars[0]);
    std::printf("%s\n", calc->Name().c_str());
    const int outputs = calc->OutputCount();
    std::vector<float> values(bars.size() * size_t(outputs));
    calc->AddSeries(bars.data(), bars.size(), values.data());
    for (size_t i = 0; i < bars.size(); ++i) {
        std::printf("%-10s", FormatDate(dates[i]).c_str());
        for (int j = 0; j < outputs; ++j)
            std::printf(" %12.4f", values[i * size_t(outputs) + size_t(j)]);
        std::printf("\n");
    }
    calc->Release();
    FreeDatabase(true);
    return 0;
}

const Verb kIndicator("indicator", "indicator FOLDER EPIC TYPE [P1 P2 P3 P4 FLAGS]",
                      "a share's indicator values bar by bar (type 0-61, periods, flags); the breadth "
                      "types 18-30 give the whole market's, day by day",
                      RunIndicator);

} // namespace
} // namespace qv::tool
