// Two years of an invented oil price and a gold fixing, written as import files.
#include "devtools/lib/DemoImportFiles.h"

#include "devtools/lib/LondonCalendar.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace qv::dev {
namespace {

using namespace std::chrono;

constexpr uint32_t kImportSeed = 20260366;

struct Day {
    year_month_day date;
    double open, high, low, close, volume;
};

std::vector<Day> Walk(std::mt19937& rng, sys_days lastDay, double start, double volatility)
{
    std::normal_distribution<double> step(0.0, volatility);
    std::uniform_real_distribution<double> spread(0.0, volatility);
    std::vector<Day> out;
    double close = start;
    for (sys_days d = lastDay - days{730}; d <= lastDay; d += days{1}) {
        if (!IsLondonTradingDay(d))
            continue;
        const double open = close;
        close = std::max(1.0, open * std::exp(step(rng)));
        const double high = std::max(open, close) * (1 + spread(rng));
        const double low = std::min(open, close) * (1 - spread(rng));
        out.push_back({year_month_day{d}, open, high, low, close, std::round(2e5 * (1 + spread(rng) * 40))});
    }
    return out;
}

std::string Iso(const year_month_day& d)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(d.year()), unsigned(d.month()), unsigned(d.day()));
    return text;
}

bool WriteOil(const std::filesystem::path& file, const std::vector<Day>& days)
{
    std::ofstream out(file, std::ios::binary);
    out << "Date,Open,High,Low,Close,Adj Close,Volume\n";
    char row[160];
    for (auto it = days.rbegin(); it != days.rend(); ++it) {
        std::snprintf(row, sizeof row, "%s,%.2f,%.2f,%.2f,%.2f,%.2f,%.0f\n", Iso(it->date).c_str(), it->open,
                      it->high, it->low, it->close, it->close, it->volume);
        out << row;
    }
    return bool(out);
}

bool WriteGold(const std::filesystem::path& file, const std::vector<Day>& days)
{
    std::ofstream out(file, std::ios::binary);
    out << "// London gold fixing, US dollars per troy ounce\r\nType:commodity\r\nCurrency:us dollars\r\n"
           "Gold Fixing\r\n";
    char row[80];
    for (const Day& d : days) {
        std::snprintf(row, sizeof row, "%02u/%02u/%04d,%.2f\r\n", unsigned(d.date.day()), unsigned(d.date.month()),
                      int(d.date.year()), d.close);
        out << row;
    }
    return bool(out);
}

} // namespace

bool WriteDemoImportFiles(const std::filesystem::path& folder, sys_days lastDay)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::mt19937 rng(kImportSeed);
    const std::vector<Day> oil = Walk(rng, lastDay, 78.4, 0.018);
    const std::vector<Day> gold = Walk(rng, lastDay, 2030, 0.008);
    return !error && WriteOil(folder / "Brent Crude.csv", oil) && WriteGold(folder / "GOLDFIX.exp", gold);
}

} // namespace qv::dev
