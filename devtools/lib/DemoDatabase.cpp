// An invented London market with random-walk price histories, the same on every run.
#include "devtools/lib/DemoDatabase.h"

#include "core/RecordAccess.h"
#include "devtools/lib/DemoCompanyTexts.h"
#include "devtools/lib/DemoEarlyPrices.h"
#include "devtools/lib/DemoResults.h"
#include "devtools/lib/LondonCalendar.h"
#include "shell/LayoutWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace qv::dev {

namespace {

using namespace std::chrono;

// Portable draws from the engine's raw output (the standard distributions differ between libraries).
double Uniform(std::mt19937& rng) { return (double(rng()) + 0.5) / 4294967296.0; }
double Gaussian(std::mt19937& rng)
{
    return std::sqrt(-2.0 * std::log(Uniform(rng))) * std::cos(6.283185307179586 * Uniform(rng));
}
int Below(std::mt19937& rng, int n) { return int(Uniform(rng) * n); }
double Between(std::mt19937& rng, double lo, double hi) { return lo + (hi - lo) * Uniform(rng); }

bool IsWeekend(sys_days d) { return weekday{d}.iso_encoding() >= 6; }


// The least market value at listing of the default layouts' shares, in pounds millions.
constexpr double kLayoutShareCapital = 5000;

// A draw from a normal distribution of the logarithm: half the draws lie below `median`.
double LogNormal(std::mt19937& rng, double median, double spread)
{
    return median * std::exp(spread * Gaussian(rng));
}

const char* const kFirstWords[] = {
    "Abbotsford", "Alder", "Ambleside", "Ashcombe", "Barrowby", "Beacon", "Belmont", "Blackwater", "Bramley",
    "Brookfield", "Calder", "Carrick", "Castlegate", "Chalkhill", "Chiltern", "Clearwell", "Copperfield",
    "Cranmore", "Dalesford", "Davenport", "Dunmore", "Eastbrook", "Elmstead", "Fairhaven", "Falconer", "Fernhill",
    "Foxley", "Glenrock", "Greyfriars", "Hadleigh", "Harrowgate", "Hawthorn", "Heathcote", "Holloway",
    "Ironbridge", "Kestrel", "Kingsmead", "Langford", "Larchwood", "Lowther", "Marlow", "Meridian", "Millbrook",
    "Moorgate", "Northcliffe", "Oakley", "Orchard", "Pemberton", "Penrose", "Quarry", "Ravensworth", "Redbank",
    "Ridgeway", "Rosewood", "Saltash", "Sandford", "Severn", "Shelford", "Silverdale", "Southwark", "Stanmore",
    "Stonebridge", "Thornbury", "Trent", "Tyburn", "Underwood", "Vale", "Wainwright", "Westbury", "Whitecliff",
    "Willowmere", "Windermere", "Wolsey", "Yarrow"};

const char* const kTradeWords[] = {
    "Mining", "Holdings", "Group", "Pharmaceuticals", "Engineering", "Retail", "Estates", "Energy", "Brewers",
    "Telecom", "Software", "Insurance", "Foods", "Logistics", "Media", "Minerals", "Aerospace", "Housing",
    "Leisure", "Resources", "Bank", "Utilities", "Chemicals", "Motors", "Textiles", "Shipping", "Technology",
    "Healthcare", "Construction", "Properties"};

struct Namer {
    std::set<std::string> names, epics;

    std::string epicFor(const std::string& name, std::mt19937& rng)
    {
        std::string letters;
        for (char c : name) {
            if (c >= 'A' && c <= 'Z')
                letters += c;
            else if (c >= 'a' && c <= 'z' && letters.size() < 2)
                letters += char(c - 32);
        }
        while (letters.size() < 3)
            letters += 'X';
        std::string epic = letters.substr(0, 3);
        while (epics.count(epic))
            epic = letters.substr(0, 2) + char('A' + Below(rng, 26)) + (Below(rng, 2) ? std::string(1, char('A' + Below(rng, 26))) : "");
        epics.insert(epic);
        return epic;
    }

    std::string unique(std::string name)
    {
        std::string candidate = name;
        for (int n = 2; names.count(candidate); ++n)
            candidate = name + " " + std::to_string(n);
        names.insert(candidate);
        return candidate;
    }

    std::string company(std::mt19937& rng, const char* trade = nullptr)
    {
        std::string first = kFirstWords[Below(rng, int(std::size(kFirstWords)))];
        std::string second = trade ? trade : kTradeWords[Below(rng, int(std::size(kTradeWords)))];
        return unique(first + " " + second);
    }
};

std::string UpperName(std::string name)
{
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return name;
}

sys_days RandomDay(std::mt19937& rng, sys_days from, sys_days to)
{
    return from + days{Below(rng, int((to - from).count()) + 1)};
}

DemoStream Stream(uint8_t kind, float issue, const std::string& epic, PriceHistory history)
{
    DemoStream s;
    s.kind = kind;
    s.issueFigure = issue;
    s.epic = epic;
    s.history = std::move(history);
    return s;
}

class DemoBuilder {
public:
    // The descriptions draw from an engine of their own, so that they leave the prices as they were.
    DemoBuilder(sys_days last, uint32_t seed) : last_(last), rng_(seed), textRng_(seed ^ 0x5A5A5A5Au) {}

    DemoDatabase build()
    {
        DemoDatabase db;
        db.databaseDate = ToPackedDate(last_);
        addIndices(db);
        addShares(db);
        addOtherItems(db);
        // Find-a-share looks names up in record order, comparing letters in upper case.
        std::sort(db.records.begin(), db.records.end(),
                  [](const DemoRecord& a, const DemoRecord& b) { return UpperName(a.name) < UpperName(b.name); });
        return db;
    }

private:
    // The next free share id: the ids the default layouts name are kept for their shares.
    uint16_t nextId()
    {
        while (IsDefaultLayoutShareId(nextId_))
            ++nextId_;
        return nextId_++;
    }

    // A listing day: most items have prices from the demo's first day, the rest join later.
    sys_days listing()
    {
        if (Uniform(rng_) < 0.7)
            return kDemoFirstDay;
        return RandomDay(rng_, kDemoFirstDay, kDemoFirstDay + days{365 * 12});
    }

    PriceHistory walk(const WalkParameters& w, sys_days first) { return RandomWalkHistory(rng_, first, last_, w); }

    // An index in points to two decimals, kept near a trend from its 2009 level to `level2026`.
    void addIndex(DemoDatabase& db, uint16_t id, const std::string& name, const std::string& epic, uint8_t classByte,
                  double level2009, double level2026)
    {
        WalkParameters w;
        w.scale = 100;
        w.unit = 0.01f;
        w.startPrice = level2009;
        w.annualDrift = std::log(level2026 / level2009) / 18;
        w.dailyVolatility = Between(rng_, 0.009, 0.012);
        w.reversion = 1.0 / 200;
        w.band = 0.18;
        w.meanVolume = Between(rng_, 3e8, 9e8);
        DemoRecord r;
        r.id = id;
        r.name = namer_.unique(name);
        r.classByte = classByte;
        namer_.epics.insert(epic);
        DemoStream s = Stream(1, 0, epic, walk(w, kDemoFirstDay));
        s.currency = kNoCurrencyUnit;
        r.streams.push_back(std::move(s));
        db.records.push_back(std::move(r));
    }

    void addIndices(DemoDatabase& db)
    {
        // The market calendar is the FTSE 100 record: its days are the trading days.
        addIndex(db, kMarketCalendarId, "FTSE 100", "UKX", 10, 4400, 8800);
        addIndex(db, 0xB606, "FTSE 250", "MCX", 10, 6400, 21000);
        struct Special {
            uint16_t id;
            const char* name;
            const char* epic;
            double level2009, level2026;
        };
        const Special specials[] = {
            {0xC00D, "Paris Leaders Index", "PXL", 3200, 7800},   {0xC00E, "Frankfurt Leaders Index", "FXL", 4800, 22000},
            {0xC00F, "US Industrials Index", "USI", 9000, 44000}, {0xC010, "Tokyo Leaders Index", "TXL", 8800, 42000},
            {0xC011, "US Technology Index", "UST", 1600, 19000},  {0xC012, "Hong Kong Leaders Index", "HXL", 14000, 24000},
            {0xC013, "US Broad Market Index", "USB", 920, 6200},
        };
        for (const Special& s : specials)
            addIndex(db, s.id, s.name, s.epic, 0, s.level2009, s.level2026);
        const char* sectors[] = {"UK Banks Index", "UK Mining Index", "UK Oil and Gas Index", "UK Retailers Index",
                                 "UK Pharmaceuticals Index", "UK Utilities Index", "UK Telecoms Index",
                                 "UK Housebuilders Index", "UK Insurance Index", "UK Technology Index"};
        for (const char* name : sectors) {
            double level = Between(rng_, 1500, 12000);
            addIndex(db, nextId(), name, namer_.epicFor(name, rng_), 10, level, level * Between(rng_, 0.6, 2.6));
        }
    }

    // A share's walk: prices mostly between 10p and 3,000p (half below about 300p), kept near a trend
    // that drifts between -4% and +8% a year.
    WalkParameters shareWalk()
    {
        WalkParameters w;
        w.startPrice = std::clamp(LogNormal(rng_, 300, 1.05), 8.0, 9000.0);
        w.annualDrift = Between(rng_, -0.04, 0.08);
        w.dailyVolatility = Between(rng_, 0.008, 0.022);
        w.reversion = 1.0 / 250;
        w.band = 0.6;
        // Penny shares move in quarter pence.
        if (w.startPrice < 40)
            w.unit = 0.25f;
        if (Uniform(rng_) < 0.25)
            w.fullFrom = RandomDay(rng_, sys_days{year{2012} / 1 / 1}, sys_days{year{2016} / 12 / 31});
        if (Uniform(rng_) < 0.05) {
            w.suspendFrom = RandomDay(rng_, kDemoFirstDay + days{400}, last_ - days{200});
            w.suspendDays = 5 + Below(rng_, 55);
        }
        if (Uniform(rng_) < 0.04) {
            w.unitChangeOn = RandomDay(rng_, kDemoFirstDay + days{400}, last_ - days{100});
            w.newUnit = w.unit == 1.0f ? 0.5f : 1.0f;
        }
        w.missingDayRate = Uniform(rng_) < 0.1 ? 0.002 : 0;
        return w;
    }

    // Shares in issue (millions) for a market value at listing of about `capital` pounds millions, and a
    // daily volume of a small share of them.
    static float IssueFor(double capital, WalkParameters& w, double turnover)
    {
        double issue = capital * 100 / w.startPrice;
        w.meanVolume = issue * 1e6 * turnover;
        return float(issue);
    }

    // Keeps today's market value within £5m-£240bn: the issue is scaled when the walk ended outside.
    static void KeepCapitalInRange(DemoStream& s)
    {
        double capital = LastClose(s) * s.issueFigure / 100;
        if (capital > kMostCapital)
            s.issueFigure = float(s.issueFigure * kMostCapital / capital);
        else if (capital > 0 && capital < kLeastCapital)
            s.issueFigure = float(s.issueFigure * kLeastCapital / capital);
    }

    // `leastCapital` (pounds millions) raises the market value at listing, drawn as for any share.
    void addShare(DemoDatabase& db, uint16_t id, const std::string& name, uint8_t kind, double leastCapital = 0)
    {
        DemoRecord r;
        r.id = id;
        r.name = name;
        r.description = DemoCompanyText(textRng_, name);
        r.resultsCurrency = Uniform(rng_) < 0.08 ? (Uniform(rng_) < 0.5 ? 3 : 6) : 0;
        WalkParameters w = shareWalk();
        sys_days first = listing();
        const double capital = std::max(std::clamp(LogNormal(rng_, 250, 1.9), 4.0, 80000.0), leastCapital);
        float issue = IssueFor(capital, w, Between(rng_, 0.0008, 0.004));
        std::string epic = namer_.epicFor(name, rng_);
        r.streams.push_back(Stream(kind, issue, epic, walk(w, first)));
        KeepCapitalInRange(r.streams.back());
        // Some companies have preference shares quoted beside the ordinary ones.
        if (kind == 10 && Uniform(rng_) < 0.06) {
            WalkParameters p;
            p.startPrice = Between(rng_, 60, 140);
            p.annualDrift = 0.0;
            p.dailyVolatility = 0.004;
            p.reversion = 1.0 / 100;
            p.band = 0.2;
            p.meanVolume = Between(rng_, 2e3, 5e4);
            r.streams.push_back(Stream(uint8_t(2 + Below(rng_, 2)), r.streams.back().issueFigure / 10, epic + "P",
                                       walk(p, first)));
        }
        db.records.push_back(std::move(r));
    }

    void addShares(DemoDatabase& db)
    {
        // The default layouts' windows show their shares from the FTSE 100 list, so these are large
        // companies: they rank among the 100 largest whatever their walks did.
        for (uint32_t number : kDefaultLayoutShares)
            addShare(db, uint16_t(DefaultLayoutShareId(number)), namer_.company(rng_), 10, kLayoutShareCapital);
        for (int i = 0; i < 190; ++i)
            addShare(db, nextId(), namer_.company(rng_), Uniform(rng_) < 0.1 ? 11 : 10);
        for (int i = 0; i < 15; ++i)
            addShare(db, nextId(), namer_.company(rng_, "Investment Trust"), 10);
        // Split-capital trusts: income and capital shares of one trust.
        for (int i = 0; i < 4; ++i) {
            DemoRecord r;
            r.id = nextId();
            r.name = namer_.company(rng_, "Split Capital Trust");
            r.description = DemoCompanyText(textRng_, r.name);
            std::string epic = namer_.epicFor(r.name, rng_);
            sys_days first = listing();
            WalkParameters income = shareWalk();
            income.startPrice = Between(rng_, 40, 120);
            income.dailyVolatility = 0.006;
            WalkParameters capital = shareWalk();
            income.meanVolume = capital.meanVolume = Between(rng_, 2e4, 2e5);
            r.streams.push_back(Stream(8, 50, epic + "I", walk(income, first)));
            r.streams.push_back(Stream(9, 50, epic + "C", walk(capital, first)));
            db.records.push_back(std::move(r));
        }
    }

    // An item with closes only, kept near a trend within `band`.
    void addCloseOnly(DemoDatabase& db, const std::string& name, uint8_t kind, int16_t scale, double price,
                      double drift, double volatility, double band, uint8_t currency, sys_days first)
    {
        WalkParameters w;
        w.mode = 0;
        w.scale = scale;
        w.unit = 1.0f / float(scale);
        w.startPrice = price;
        w.annualDrift = drift;
        w.dailyVolatility = volatility;
        w.reversion = 1.0 / 250;
        w.band = band;
        w.meanVolume = 0;
        DemoRecord r;
        r.id = nextId();
        r.name = namer_.unique(name);
        DemoStream s = Stream(kind, 0, namer_.epicFor(r.name, rng_), walk(w, first));
        s.currency = currency;
        r.streams.push_back(std::move(s));
        db.records.push_back(std::move(r));
    }

    void addOtherItems(DemoDatabase& db)
    {
        // Gilts near 100 (pounds per 100 nominal), unit trusts in pence.
        for (int i = 0; i < 15; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "Treasury %.2f%% %d", 0.25 * (1 + Below(rng_, 24)), 2030 + Below(rng_, 40));
            addCloseOnly(db, name, 13, 100, Between(rng_, 92, 112), 0, 0.003, 0.15, kNoCurrencyUnit, listing());
        }
        const char* funds[] = {"UK Growth", "UK Income", "European", "Japan", "American", "Global Equity",
                               "Corporate Bond", "Smaller Companies", "Far East", "Ethical"};
        for (int i = 0; i < 20; ++i) {
            std::string name = std::string(kFirstWords[Below(rng_, int(std::size(kFirstWords)))]) + " " +
                               funds[i % 10] + (i < 10 ? " Acc" : " Inc");
            addCloseOnly(db, name, 14, 100, Between(rng_, 80, 400), Between(rng_, 0.0, 0.06), 0.008, 0.4, 0, listing());
        }
        // Rates against sterling, from their 2009 levels to about their levels of today.
        struct Rate {
            const char* name;
            double level2009, level2026;
        };
        const Rate rates[] = {{"Sterling US Dollar", 1.45, 1.32},      {"Sterling Euro", 1.12, 1.16},
                              {"Sterling Yen", 135, 200},              {"Sterling Swiss Franc", 1.60, 1.07},
                              {"Sterling Australian Dollar", 2.15, 2.02}, {"Sterling Canadian Dollar", 1.80, 1.84},
                              {"Sterling Hong Kong Dollar", 11.2, 10.3}, {"Sterling Swedish Krona", 11.5, 12.6}};
        for (const Rate& r : rates)
            addCloseOnly(db, r.name, 16, r.level2009 > 100 ? 100 : 10000, r.level2009,
                         std::log(r.level2026 / r.level2009) / 18, 0.005, 0.1, kNoCurrencyUnit, kDemoFirstDay);
        // Commodities in US dollars (an ounce, a tonne, a barrel, a million British thermal units, a bushel).
        struct Commodity {
            const char* name;
            double level2009, level2026;
        };
        const Commodity commodities[] = {{"Gold", 880, 2600},   {"Silver", 12, 30},         {"Platinum", 950, 1000},
                                         {"Copper", 3100, 9500}, {"Brent Crude Oil", 45, 72}, {"Natural Gas", 5.5, 3.5},
                                         {"Wheat", 5.2, 5.6},    {"Cocoa", 2600, 6000}};
        for (const Commodity& c : commodities)
            addCloseOnly(db, c.name, 17, 100, c.level2009, std::log(c.level2026 / c.level2009) / 18,
                         Between(rng_, 0.011, 0.018), 0.35, kNoCurrencyUnit, kDemoFirstDay);
    }

    sys_days last_;
    std::mt19937 rng_;
    std::mt19937 textRng_;
    Namer namer_;
    uint16_t nextId_ = 0x4001;
};

} // namespace

bool IsDefaultLayoutShareId(uint16_t id)
{
    for (uint32_t number : kDefaultLayoutShares)
        if (DefaultLayoutShareId(number) == id)
            return true;
    return false;
}

uint16_t ToPackedDate(sys_days day)
{
    year_month_day ymd{day};
    if (ymd.year() < year{1900} || ymd.year() > year{2027})
        throw std::out_of_range("a date outside 1900-2027 cannot be held");
    return uint16_t(((int(ymd.year()) - 1900) << 9) | ((unsigned(ymd.month()) - 1) << 5) | (unsigned(ymd.day()) - 1));
}

sys_days LastTradingDayBefore(sys_days today)
{
    sys_days d = today - days{1};
    while (!IsLondonTradingDay(d))
        d -= days{1};
    return d;
}

PriceHistory RandomWalkHistory(std::mt19937& rng, sys_days first, sys_days last, const WalkParameters& w)
{
    PriceHistory h;
    h.scale = w.scale;
    double price = w.startPrice;
    float unit = w.unit;
    float startingUnit = w.scale > 0 ? 1.0f / float(w.scale) : float(-w.scale);
    bool started = false;
    double trend = std::log(w.startPrice), deviation = 0;
    for (sys_days d = first; d <= last; d += days{1}) {
        if (IsWeekend(d))
            continue;
        HistoryDay day;
        if (!IsLondonTradingDay(d)) {
            if (started) {
                day.kind = HistoryDay::Kind::NoDataA;
                h.days.push_back(day);
            }
            continue;
        }
        if (!started) {
            h.firstDate = ToPackedDate(d);
            if (unit != startingUnit)
                day.newUnit = unit * float(w.scale);
            started = true;
        }
        if (w.newUnit != 0 && d == w.unitChangeOn) {
            unit = w.newUnit;
            day.newUnit = unit * float(w.scale);
        }
        bool full = w.mode == 1 && d >= w.fullFrom;
        day.mode = full ? 1 : 0;
        if (w.suspendDays > 0 && d >= w.suspendFrom && d < w.suspendFrom + days{w.suspendDays} && !h.days.empty()) {
            day.kind = HistoryDay::Kind::Marked;
            if (day.newUnit == 0) {
                h.days.push_back(day);
                continue;
            }
            day.kind = HistoryDay::Kind::Priced;
        }
        double previous = price;
        double move = w.annualDrift / 252 + w.dailyVolatility * Gaussian(rng);
        if (w.reversion > 0) {
            trend += w.annualDrift / 252;
            double next = std::clamp(deviation * (1 - w.reversion) + move - w.annualDrift / 252, -w.band, w.band);
            move = next - deviation + w.annualDrift / 252;
            deviation = next;
        }
        price = std::max(double(unit), w.reversion > 0 ? std::exp(trend + deviation) : price * std::exp(move));
        if (w.missingDayRate > 0 && Uniform(rng) < w.missingDayRate && !h.days.empty() && day.newUnit == 0) {
            day.kind = HistoryDay::Kind::NoDataC;
            h.days.push_back(day);
            continue;
        }
        auto steps = [&](double p) { return std::max<int32_t>(1, int32_t(std::lround(p / unit))); };
        day.close = steps(price);
        if (full) {
            day.open = steps(previous * std::exp(w.dailyVolatility / 3 * Gaussian(rng)));
            double reach = w.dailyVolatility / 2 * price / unit;
            day.high = std::max(day.open, day.close) + int32_t(std::lround(std::fabs(Gaussian(rng)) * reach));
            day.low = std::max<int32_t>(1, std::min(day.open, day.close) - int32_t(std::lround(std::fabs(Gaussian(rng)) * reach)));
            if (w.meanVolume > 0) {
                double volume = w.meanVolume * std::exp(0.5 * Gaussian(rng)) * (1 + 20 * std::fabs(move));
                day.hasVolume = true;
                day.volumeWord = VolumeWordFor(volume, w.scale, unit);
            }
        } else {
            day.open = day.high = day.low = day.close;
        }
        h.days.push_back(day);
    }
    return h;
}

DemoDatabase BuildDemoDatabase(sys_days lastDay, uint32_t seed)
{
    DemoDatabase db = DemoBuilder(lastDay, seed).build();
    AddDemoCompanyData(db, seed);
    AddEarlyPrices(db, seed);
    return db;
}

} // namespace qv::dev
