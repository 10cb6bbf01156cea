// An invented London market with random-walk price histories, the same on every run.
#include "devtools/lib/DemoDatabase.h"

#include "core/RecordAccess.h"
#include "devtools/lib/DemoCompanyTexts.h"
#include "devtools/lib/DemoResults.h"
#include "devtools/lib/LondonCalendar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>

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

const sys_days kDemoStart = sys_days{year{2009} / January / 2};

// Shares the default window layouts name, by record id.
const std::array<uint16_t, 10> kLayoutShareIds = {433, 849, 1906, 313, 3428, 16, 2406, 860, 1503, 4};

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
    uint16_t nextId() { return nextId_++; }

    // A listing day: most items have prices from the demo's first day, the rest join later.
    sys_days listing()
    {
        if (Uniform(rng_) < 0.7)
            return kDemoStart;
        return RandomDay(rng_, kDemoStart, kDemoStart + days{365 * 12});
    }

    PriceHistory walk(const WalkParameters& w, sys_days first) { return RandomWalkHistory(rng_, first, last_, w); }

    void addIndex(DemoDatabase& db, uint16_t id, const std::string& name, const std::string& epic, uint8_t classByte,
                  double level)
    {
        WalkParameters w;
        w.scale = 10;
        w.unit = 0.1f;
        w.startPrice = level;
        w.annualDrift = Between(rng_, 0.02, 0.07);
        w.dailyVolatility = Between(rng_, 0.009, 0.013);
        w.meanVolume = Between(rng_, 3e8, 9e8);
        DemoRecord r;
        r.id = id;
        r.name = namer_.unique(name);
        r.classByte = classByte;
        namer_.epics.insert(epic);
        r.streams.push_back(Stream(1, 0, epic, walk(w, kDemoStart)));
        db.records.push_back(std::move(r));
    }

    void addIndices(DemoDatabase& db)
    {
        // The market calendar is the FTSE 100 record: its days are the trading days.
        addIndex(db, kMarketCalendarId, "FTSE 100", "UKX", 10, 4400);
        addIndex(db, 0xB606, "FTSE 250", "MCX", 10, 6400);
        struct Special {
            uint16_t id;
            const char* name;
            const char* epic;
            double level;
        };
        const Special specials[] = {
            {0xC00D, "Paris Leaders Index", "PXL", 3200},     {0xC00E, "Frankfurt Leaders Index", "FXL", 4800},
            {0xC00F, "US Industrials Index", "USI", 9000},    {0xC010, "Tokyo Leaders Index", "TXL", 8800},
            {0xC011, "US Technology Index", "UST", 1600},     {0xC012, "Hong Kong Leaders Index", "HXL", 14000},
            {0xC013, "US Broad Market Index", "USB", 920},
        };
        for (const Special& s : specials)
            addIndex(db, s.id, s.name, s.epic, 0, s.level);
        const char* sectors[] = {"UK Banks Index", "UK Mining Index", "UK Oil and Gas Index", "UK Retailers Index",
                                 "UK Pharmaceuticals Index", "UK Utilities Index", "UK Telecoms Index",
                                 "UK Housebuilders Index", "UK Insurance Index", "UK Technology Index"};
        for (const char* name : sectors)
            addIndex(db, nextId(), name, namer_.epicFor(name, rng_), 10, Between(rng_, 1500, 12000));
    }

    WalkParameters shareWalk()
    {
        WalkParameters w;
        w.startPrice = std::exp(Between(rng_, std::log(8.0), std::log(3000.0)));
        w.annualDrift = Between(rng_, -0.06, 0.14);
        w.dailyVolatility = Between(rng_, 0.008, 0.032);
        w.meanVolume = std::exp(Between(rng_, std::log(2e4), std::log(2e7)));
        // Penny shares move in quarter pence.
        if (w.startPrice < 40)
            w.unit = 0.25f;
        if (Uniform(rng_) < 0.25)
            w.fullFrom = RandomDay(rng_, sys_days{year{2012} / 1 / 1}, sys_days{year{2016} / 12 / 31});
        if (Uniform(rng_) < 0.05) {
            w.suspendFrom = RandomDay(rng_, kDemoStart + days{400}, last_ - days{200});
            w.suspendDays = 5 + Below(rng_, 55);
        }
        if (Uniform(rng_) < 0.04) {
            w.unitChangeOn = RandomDay(rng_, kDemoStart + days{400}, last_ - days{100});
            w.newUnit = w.unit == 1.0f ? 0.5f : 1.0f;
        }
        w.missingDayRate = Uniform(rng_) < 0.1 ? 0.002 : 0;
        return w;
    }

    void addShare(DemoDatabase& db, uint16_t id, const std::string& name, uint8_t kind)
    {
        DemoRecord r;
        r.id = id;
        r.name = name;
        r.description = DemoCompanyText(textRng_, name);
        r.resultsCurrency = Uniform(rng_) < 0.08 ? (Uniform(rng_) < 0.5 ? 3 : 6) : 0;
        WalkParameters w = shareWalk();
        sys_days first = listing();
        float issue = float(std::exp(Between(rng_, std::log(20.0), std::log(3000.0))));
        std::string epic = namer_.epicFor(name, rng_);
        r.streams.push_back(Stream(kind, issue, epic, walk(w, first)));
        // Some companies have preference shares quoted beside the ordinary ones.
        if (kind == 10 && Uniform(rng_) < 0.06) {
            WalkParameters p;
            p.startPrice = Between(rng_, 60, 140);
            p.annualDrift = 0.0;
            p.dailyVolatility = 0.004;
            p.meanVolume = Between(rng_, 2e3, 5e4);
            r.streams.push_back(Stream(uint8_t(2 + Below(rng_, 2)), issue / 10, epic + "P", walk(p, first)));
        }
        db.records.push_back(std::move(r));
    }

    void addShares(DemoDatabase& db)
    {
        for (uint16_t id : kLayoutShareIds)
            addShare(db, id, namer_.company(rng_), 10);
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
            r.streams.push_back(Stream(8, 50, epic + "I", walk(income, first)));
            r.streams.push_back(Stream(9, 50, epic + "C", walk(capital, first)));
            db.records.push_back(std::move(r));
        }
    }

    void addCloseOnly(DemoDatabase& db, const std::string& name, uint8_t kind, int16_t scale, double price,
                      double volatility, uint8_t currency)
    {
        WalkParameters w;
        w.mode = 0;
        w.scale = scale;
        w.unit = 1.0f / float(scale);
        w.startPrice = price;
        w.annualDrift = Between(rng_, -0.01, 0.06);
        w.dailyVolatility = volatility;
        w.meanVolume = 0;
        DemoRecord r;
        r.id = nextId();
        r.name = namer_.unique(name);
        DemoStream s = Stream(kind, 0, namer_.epicFor(r.name, rng_), walk(w, listing()));
        s.currency = currency;
        r.streams.push_back(std::move(s));
        db.records.push_back(std::move(r));
    }

    void addOtherItems(DemoDatabase& db)
    {
        for (int i = 0; i < 15; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "Treasury %.2f%% %d", 0.25 * (1 + Below(rng_, 24)), 2030 + Below(rng_, 40));
            addCloseOnly(db, name, 13, 100, Between(rng_, 85, 130), 0.004, 0);
        }
        const char* funds[] = {"UK Growth", "UK Income", "European", "Japan", "American", "Global Equity",
                               "Corporate Bond", "Smaller Companies", "Far East", "Ethical"};
        for (int i = 0; i < 20; ++i) {
            std::string name = std::string(kFirstWords[Below(rng_, int(std::size(kFirstWords)))]) + " " +
                               funds[i % 10] + (i < 10 ? " Acc" : " Inc");
            addCloseOnly(db, name, 14, 100, Between(rng_, 80, 600), 0.009, 0);
        }
        const char* currencies[] = {"Sterling US Dollar", "Sterling Euro", "Sterling Yen", "Sterling Swiss Franc",
                                    "Sterling Australian Dollar", "Sterling Canadian Dollar",
                                    "Sterling Hong Kong Dollar", "Sterling Swedish Krona"};
        const double rates[] = {1.45, 1.1, 140, 1.6, 2.0, 1.8, 11.2, 11.5};
        for (int i = 0; i < 8; ++i)
            addCloseOnly(db, currencies[i], 16, rates[i] > 100 ? 100 : 10000, rates[i], 0.005, 0);
        const char* commodities[] = {"Gold", "Silver", "Platinum", "Copper", "Brent Crude Oil", "Natural Gas",
                                     "Wheat", "Cocoa"};
        const double prices[] = {880, 12, 950, 3100, 45, 5.5, 520, 2600};
        for (int i = 0; i < 8; ++i) {
            WalkParameters w;
            w.scale = 100;
            w.unit = 0.01f;
            w.startPrice = prices[i];
            w.annualDrift = Between(rng_, -0.02, 0.06);
            w.dailyVolatility = Between(rng_, 0.01, 0.022);
            w.meanVolume = 0;
            DemoRecord r;
            r.id = nextId();
            r.name = namer_.unique(commodities[i]);
            DemoStream s = Stream(17, 0, namer_.epicFor(r.name, rng_), walk(w, kDemoStart));
            s.currency = 3;
            r.streams.push_back(std::move(s));
            db.records.push_back(std::move(r));
        }
    }

    sys_days last_;
    std::mt19937 rng_;
    std::mt19937 textRng_;
    Namer namer_;
    uint16_t nextId_ = 0x4001;
};

} // namespace

uint16_t ToPackedDate(sys_days day)
{
    year_month_day ymd{day};
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
        price = std::max(double(unit), price * std::exp(move));
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
    return db;
}

} // namespace qv::dev
