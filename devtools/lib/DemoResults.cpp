// Invented company results that suit each company's size and price.
#include "devtools/lib/DemoResults.h"

#include "devtools/lib/ResultsBlockEncoder.h"
#include "devtools/lib/ShareFieldTable.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <string>

namespace qv::dev {

namespace {

using namespace std::chrono;

constexpr uint32_t kResultsSeedMix = 0x3C3C3C3Cu;
constexpr int kBlocks = 5;
constexpr uint8_t kAnnual = 0, kInterim = 1, kForecast = 3;
constexpr uint16_t kNoSubSector = 0x3F;

// A figure as published: three significant figures.
float Published(double value)
{
    if (value == 0)
        return 0;
    double scale = std::pow(10.0, 2 - std::floor(std::log10(std::fabs(value))));
    return float(std::round(value * scale) / scale);
}

double Uniform(std::mt19937& rng) { return (double(rng()) + 0.5) / 4294967296.0; }
double Between(std::mt19937& rng, double lo, double hi) { return lo + (hi - lo) * Uniform(rng); }

sys_days FromPacked(uint16_t d)
{
    return sys_days{year{1900 + (d >> 9)} / month{unsigned(((d >> 5) & 15) + 1)} / day{unsigned((d & 31) + 1)}};
}

sys_days MonthEnd(int y, unsigned m) { return sys_days{year{y} / month{m} / last}; }

// The sector of a company by the trade word of its name.
int SectorOf(const std::string& name)
{
    static const std::map<std::string, int> kByTrade = {
        {"Mining", 0}, {"Minerals", 0}, {"Resources", 0}, {"Energy", 1}, {"Pharmaceuticals", 2},
        {"Engineering", 3}, {"Retail", 4}, {"Estates", 5}, {"Properties", 5}, {"Brewers", 6}, {"Telecom", 7},
        {"Software", 8}, {"Technology", 8}, {"Insurance", 9}, {"Foods", 10}, {"Logistics", 11}, {"Shipping", 11},
        {"Media", 12}, {"Aerospace", 13}, {"Housing", 14}, {"Construction", 14}, {"Leisure", 15}, {"Bank", 16},
        {"Utilities", 17}, {"Chemicals", 18}, {"Motors", 19}, {"Textiles", 20}, {"Trust", 21},
        {"Healthcare", 22}, {"Holdings", 23}, {"Group", 23}};
    auto space = name.find_last_of(' ');
    std::string word = space == std::string::npos ? name : name.substr(space + 1);
    auto it = kByTrade.find(word);
    return it == kByTrade.end() ? 23 : it->second;
}

uint16_t SectorWord(int sector, int sizeClass)
{
    int industry = DemoIndustryOfSector(sector);
    return uint16_t((sector + 1) | ((industry + 1) << 6) | (sizeClass << 10));
}

// The sector indices stand for the sector of their trade; -1 for any other record.
int IndexSector(const std::string& name)
{
    static const std::map<std::string, int> kBySector = {
        {"UK Mining Index", 0},     {"UK Oil and Gas Index", 1}, {"UK Pharmaceuticals Index", 2},
        {"UK Retailers Index", 4},  {"UK Telecoms Index", 7},    {"UK Technology Index", 8},
        {"UK Insurance Index", 9},  {"UK Housebuilders Index", 14}, {"UK Banks Index", 16},
        {"UK Utilities Index", 17}};
    auto it = kBySector.find(name);
    return it == kBySector.end() ? -1 : it->second;
}

struct Company {
    double shares;   // millions
    double price;    // pence
    double margin;   // profit / turnover
    double payout;
    double growth;   // yearly
};

class ResultsMaker {
public:
    ResultsMaker(uint32_t seed, sys_days last) : rng_(seed ^ kResultsSeedMix), last_(last) {}

    void fill(DemoRecord& r, bool shortBlock)
    {
        const DemoStream& s = r.streams.front();
        Company c{std::max(1.0, double(s.issueFigure)), std::max(1.0, LastClose(s)), Between(rng_, 0.04, 0.25),
                  Between(rng_, 0.25, 0.6), Between(rng_, -0.05, 0.15)};
        // Earnings of the last year from a P/E of 8 to 30 at today's price.
        double eps = c.price / Between(rng_, 8, 30);
        unsigned yearEndMonth = std::array<unsigned, 4>{3, 6, 9, 12}[size_t(rng_() % 4)];
        sys_days first = FromPacked(s.history.firstDate);
        int firstYear = int(year_month_day{first}.year()) + 1;
        int lastYear = int(year_month_day{last_}.year());
        // Results are published about three months after the year end, interims five months after
        // the half year.
        std::vector<sys_days> yearEnds;
        for (int y = firstYear; y <= lastYear; ++y) {
            if (MonthEnd(y, yearEndMonth) + days{90} <= last_)
                yearEnds.push_back(MonthEnd(y, yearEndMonth));
        }
        if (yearEnds.empty())
            return;
        std::vector<double> epsByYear(yearEnds.size());
        for (size_t i = yearEnds.size(); i-- > 0;) {
            epsByYear[i] = eps;
            eps /= 1 + c.growth + Between(rng_, -0.1, 0.1);
        }
        for (size_t i = 0; i < yearEnds.size(); ++i) {
            year_month_day end{yearEnds[i]};
            sys_days half = sys_days{(end.year() / end.month() / last) - months{6}};
            if (i > 0 || half >= first)
                r.results.push_back(entry(half, kInterim, epsByYear[i] * 0.45, c));
            r.results.push_back(entry(yearEnds[i], kAnnual, epsByYear[i], c));
        }
        double forecast = epsByYear.back();
        int forecasts = 1 + int(rng_() % 3);
        for (int f = 1; f <= forecasts; ++f) {
            forecast *= 1 + c.growth + Between(rng_, -0.03, 0.05);
            sys_days end = MonthEnd(int(year_month_day{yearEnds.back()}.year()) + f, yearEndMonth);
            // Forecasts stop at the last day a date can hold.
            if (end > kLastHeldDay)
                break;
            r.results.push_back(entry(end, kForecast, forecast, c));
        }
        addBlocks(r, yearEnds, epsByYear, c, shortBlock);
        addConsensus(r);
    }

private:
    // Most companies are followed by analysts, the larger by more; the consensus moved a little since
    // the last time for some.
    void addConsensus(DemoRecord& r)
    {
        if (Uniform(rng_) < 0.12)
            return;
        const int sizeClass = (r.sectorWord >> 10) & 0x3F;
        r.analysts = uint8_t(sizeClass == 0 ? 8 + rng_() % 18 : sizeClass == 1 ? 3 + rng_() % 9 : 1 + rng_() % 4);
        r.consensus = uint8_t(Between(rng_, 40, 230));
        const double move = Uniform(rng_);
        int previous = move < 0.55 ? r.consensus : r.consensus + int(Between(rng_, -40, 40));
        r.previousConsensus = uint8_t(std::clamp(previous, 14, 240));
    }

    DemoResultsEntry entry(sys_days date, uint8_t kind, double eps, const Company& c)
    {
        DemoResultsEntry e;
        e.date = ToPackedDate(date);
        e.kind = kind;
        e.eps = Published(eps);
        e.profit = Published(eps * c.shares / 100 * 1.3);
        e.dividend = Published(eps * c.payout);
        e.turnover = Published(e.profit / c.margin);
        return e;
    }

    // Figures in millions of pounds, per-share figures in pence.
    ResultsBlockFigures figures(double eps, const Company& c)
    {
        double posttax = eps * c.shares / 100;
        double pretax = posttax * 1.3;
        double book = c.shares * c.price / 100 / Between(rng_, 0.8, 4);
        double intangibles = book * Between(rng_, 0, 0.4);
        double cash = book * Between(rng_, 0.02, 0.3);
        double gross = book * Between(rng_, 0, 0.9);
        ResultsBlockFigures f;
        f[0] = c.shares;
        f[1] = c.shares * Between(rng_, 0.97, 1.0);
        f[2] = book;
        f[3] = book - intangibles;
        f[4] = eps * Between(rng_, 1.1, 1.8);
        f[5] = eps * Between(rng_, 0.3, 0.9);
        f[6] = pretax * Between(rng_, 0, 0.2);
        f[7] = pretax * Between(rng_, 0.1, 0.4);
        f[8] = pretax * Between(rng_, 1.0, 1.15);
        f[9] = eps * Between(rng_, 0.85, 1.0);
        f[10] = c.margin * 100;
        f[11] = pretax / (book + gross) * 100;
        f[12] = posttax / book * 100;
        f[13] = gross * 0.05;
        f[14] = gross - cash;
        f[15] = book * Between(rng_, -0.1, 0.3);
        f[16] = gross;
        f[17] = gross * Between(rng_, 0.3, 0.8);
        f[18] = gross * Between(rng_, 0, 0.3);
        f[19] = cash;
        f[20] = Between(rng_, 0.5, 1.8);
        f[21] = Between(rng_, 0.8, 2.5);
        f[22] = f[13] == 0 ? std::optional<double>() : pretax / *f[13];
        f[23] = posttax;
        f[24] = intangibles * Between(rng_, 0, 0.1);
        // Some figures are not published.
        for (auto& figure : f) {
            if (Uniform(rng_) < 0.04)
                figure.reset();
        }
        return f;
    }

    void addBlocks(DemoRecord& r, const std::vector<sys_days>& yearEnds, const std::vector<double>& eps,
                   const Company& c, bool shortBlock)
    {
        size_t from = yearEnds.size() > size_t(kBlocks) ? yearEnds.size() - kBlocks : 0;
        for (size_t i = from; i < yearEnds.size(); ++i) {
            bool cut = shortBlock && i == from;
            r.detailedBlocks.push_back(EncodeResultsBlock(ToPackedDate(yearEnds[i]), figures(eps[i], c), cut ? 40 : 60));
        }
        // The blocks are stored in no fixed order.
        std::reverse(r.detailedBlocks.begin(), r.detailedBlocks.end());
    }

    std::mt19937 rng_;
    sys_days last_;
};

} // namespace

double CloseOn(const DemoStream& stream, uint16_t date)
{
    const PriceHistory& h = stream.history;
    double unit = 1.0 / std::max<int>(1, h.scale);
    double close = 0;
    sys_days day = FromPacked(h.firstDate);
    const sys_days wanted = FromPacked(date);
    for (const HistoryDay& d : h.days) {
        while (weekday{day}.iso_encoding() >= 6)
            day += days{1};
        if (day > wanted)
            break;
        if (d.newUnit != 0)
            unit = d.newUnit / std::max<int>(1, h.scale);
        if (d.kind == HistoryDay::Kind::Priced)
            close = d.close * unit;
        day += days{1};
    }
    return close;
}

double LastClose(const DemoStream& stream)
{
    const PriceHistory& h = stream.history;
    double unit = 1.0 / std::max<int>(1, h.scale);
    double close = 0;
    for (const HistoryDay& d : h.days) {
        if (d.newUnit != 0)
            unit = d.newUnit / std::max<int>(1, h.scale);
        if (d.kind == HistoryDay::Kind::Priced)
            close = d.close * unit;
    }
    return close;
}

void AddDemoCompanyData(DemoDatabase& db, uint32_t seed)
{
    ResultsMaker maker(seed, FromPacked(db.databaseDate));
    bool shortGiven = false;
    for (DemoRecord& r : db.records) {
        if (r.description.empty()) {
            const int sector = IndexSector(r.name);
            r.sectorWord = uint16_t((sector < 0 ? 0 : SectorWord(sector, 0)) | kNoSubSector << 10);
            continue;
        }
        double value = LastClose(r.streams.front()) * r.streams.front().issueFigure / 100;
        int sizeClass = value > 2000 ? 0 : value > 300 ? 1 : 2;
        r.sectorWord = SectorWord(SectorOf(r.name), sizeClass);
        maker.fill(r, !shortGiven);
        shortGiven = shortGiven || !r.detailedBlocks.empty();
    }
}

} // namespace qv::dev
