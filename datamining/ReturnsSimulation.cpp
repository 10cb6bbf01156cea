// The returns distribution simulation's preparation, draws and figures.
#include "datamining/ReturnsSimulation.h"

#include "core/DateText.h"
#include "core/PriceLookups.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "datamining/DataMiningGraphs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

std::string LongDate(PackedDate date)
{
    return StringPrintf("%d %s %d", DayOfMonth(date), std::string(GetMonthName(MonthField(date))).c_str(),
                        FullYear(date));
}

} // namespace

SimulationPeriod SimulationPeriodOf(int index)
{
    switch (index) {
    case 1: return {PackDate(1, 12, 1999), PackDate(1, 12, 2000)};
    case 2: return {PackDate(1, 12, 1998), PackDate(1, 12, 1999)};
    default: return {PackDate(1, 12, 2000), PackDate(1, 12, 2001)};
    }
}

int SimulationListKind(int selection)
{
    switch (selection) {
    case 1: return 5;
    case 2: return 6;
    case 3: return 9;
    default: return 4;
    }
}

PreparedReturns PrepareReturns(std::span<const RecordCursor> rows, SimulationPeriod period,
                               const std::filesystem::path& logPath)
{
    PreparedReturns out;
    out.values.assign(rows.size(), kNoReturn);
    FILE* log = logPath.empty() ? nullptr : std::fopen(logPath.string().c_str(), "wb");
    out.logWritten = log != nullptr;
    for (size_t i = 0; i < rows.size(); ++i) {
        const RecordCursor row = rows[i];
        const float p1 = GetPriceOnDate(row.record, row.count, period.first, true);
        const float p2 = GetPriceOnDate(row.record, row.count, period.second, true);
        if (!(p1 > 0 && p2 > 0))
            continue;
        if (log) {
            const std::string_view name = GetRecordName(row.record);
            std::fprintf(log, "%.*s\t%g\t%g\r", int(name.size()), name.data(), double(p1), double(p2));
        }
        out.values[i] = float(std::log(double(p2) / double(p1)));
        out.usable.push_back(out.values[i]);
    }
    if (log)
        std::fclose(log);
    return out;
}

size_t SimulationRandom::Below(size_t n)
{
    // Rejection keeps every row equally likely, however many rows there are.
    const uint64_t range = uint64_t(engine_.max()) + 1;
    const uint64_t limit = range - range % n;
    uint64_t r = 0;
    do
        r = engine_();
    while (r >= limit);
    return size_t(r % n);
}

int ReturnBin(double ret)
{
    const long bin = RoundHalfAway(kBinsPerUnitReturn * ret) + kZeroReturnBin;
    return int(std::clamp<long>(bin, 0, kSimulationBins - 1));
}

double BinReturnPercent(double bin) { return (bin - kZeroReturnBin) * 100.0 / kBinsPerUnitReturn; }

int PercentBin(double percent) { return int(RoundHalfAway(percent * kBinsPerUnitReturn / 100.0)) + kZeroReturnBin; }

bool RunReturnsSimulation(const std::vector<float>& usable, int n, SimulationRandom& random, SimulationResult& out,
                          const std::function<bool(int)>& every100)
{
    out = SimulationResult{};
    if (usable.empty() || n < 1)
        return false;
    double sum = 0;
    for (int draw = 0; draw < kSimulationDraws; ++draw) {
        if (every100 && draw % 100 == 0 && !every100(draw))
            return false;
        double total = 0;
        for (int k = 0; k < n; ++k)
            total += usable[random.Below(usable.size())];
        const double m = total / n;
        sum += m;
        ++out.bins[size_t(ReturnBin(std::exp(m) - 1))];
    }
    out.averagePercent = (std::exp(sum / kSimulationDraws) - 1) * 100;
    CompleteSimulationFigures(out);
    return true;
}

void CompleteSimulationFigures(SimulationResult& result)
{
    uint64_t running = 0, total = 0;
    for (uint32_t c : result.bins)
        total += c;
    result.medianPercent = 0;
    for (int i = 0; i < kSimulationBins; ++i) {
        running += result.bins[size_t(i)];
        if (running * 2 > total) {
            result.medianPercent = BinReturnPercent(i);
            break;
        }
    }
    // Below x%: the bins whose return is under x; above x%: the bins whose return is over x.
    const int below0 = PercentBin(0), below5 = PercentBin(5);
    const int above[3] = {PercentBin(20), PercentBin(50), PercentBin(100)};
    std::array<uint64_t, 5> counts{};
    for (int i = 0; i < kSimulationBins; ++i) {
        const uint32_t c = result.bins[size_t(i)];
        counts[0] += i < below0 ? c : 0;
        counts[1] += i < below5 ? c : 0;
        for (int k = 0; k < 3; ++k)
            counts[size_t(2 + k)] += i > above[k] ? c : 0;
    }
    for (size_t k = 0; k < counts.size(); ++k)
        result.bands[k] = total ? double(counts[k]) * 100.0 / double(total) : 0;
}

std::array<double, 7> SimulationRowFigures(const SimulationResult& r)
{
    return {r.averagePercent, r.medianPercent, r.bands[0], r.bands[1], r.bands[2], r.bands[3], r.bands[4]};
}

int SimulationBarHeight(uint32_t count, int plotHeight)
{
    const int64_t h = int64_t((uint64_t(count) + 1) >> 3) + 1;
    return int(std::min<int64_t>(h, std::max(plotHeight, 0)));
}

std::vector<double> SimulationCurve(const std::array<uint32_t, kSimulationBins>& bins, int plotHeight)
{
    constexpr int kSpan = 7;
    std::vector<double> curve(bins.size(), 0);
    for (int i = 0; i < kSimulationBins; ++i) {
        const int from = std::max(0, i - kSpan / 2), to = std::min(kSimulationBins - 1, i + kSpan / 2);
        double sum = 0;
        for (int k = from; k <= to; ++k)
            sum += bins[size_t(k)] ? SimulationBarHeight(bins[size_t(k)], plotHeight) : 0;
        curve[size_t(i)] = sum / (to - from + 1);
    }
    return curve;
}

std::string NoPricesText(SimulationPeriod period)
{
    return "No prices for this period: none of these shares has prices on both " + LongDate(period.first) + " and " +
           LongDate(period.second) + ".";
}

} // namespace qv
