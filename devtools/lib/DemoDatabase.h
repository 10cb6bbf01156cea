// The demo database: a deterministic invented market of about 300 items with full price histories over
// the London trading days, for ./run and for trying the program out.
#pragma once

#include "devtools/lib/PriceStreamEncoder.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qv::dev {

constexpr uint32_t kDemoSeed = 20260101;

// The demo generator's version, written into every demo folder (kDemoVersionFile). Raise it with every
// change that alters what the demo holds: ./run then sets an older demo folder aside and makes it anew.
constexpr int kDemoGeneratorVersion = 19;
constexpr const char* kDemoVersionFile = "DemoVersion.txt";

// The price currency of items shown as plain figures, without a currency sign: indices (points),
// exchange rates, gilts (pounds per 100 nominal) and commodities (US dollars).
constexpr uint8_t kNoCurrencyUnit = 2;
// Today's market values of the demo companies lie within these, in pounds millions.
constexpr double kLeastCapital = 5, kMostCapital = 240000;

struct DemoStream {
    uint8_t kind = 10;        // sub-record kind
    float issueFigure = 0;    // shares in issue in millions (market value = close x issue x 0.01, in pounds m)
    std::string epic;
    uint8_t currency = 0;     // price currency code (0 pounds)
    PriceHistory history;
};

// One entry of a company's results table: {u16 PackedDate, u8 class (0 annual, 1 interim, 3 forecast),
// u8 0, f32 profit (m), EPS (p), dividend (p), turnover (m)}.
struct DemoResultsEntry {
    uint16_t date = 0;
    uint8_t kind = 0;
    float profit = 0, eps = 0, dividend = 0, turnover = 0;
};

struct DemoRecord {
    uint16_t id = 0;
    std::string name;
    uint8_t classByte = 0;       // exchange code of the share's market (0 LSE)
    uint8_t resultsCurrency = 0; // currency of the published results
    std::string description;     // a company's business in a sentence or two; empty for other items
    std::vector<DemoStream> streams;
    // Company data (devtools/lib/DemoResults): results in date order, the detailed results blocks of
    // Comp.dat fields 118-122 (each with its length byte first) and the sector word of the field table.
    std::vector<DemoResultsEntry> results;
    std::vector<std::vector<uint8_t>> detailedBlocks;
    uint16_t sectorWord = 0;
    // The brokers' consensus (company data fields 49, 8 and 50): the number of analysts, the current and
    // the previous consensus as ratings 1-255, higher the stronger (0 none).
    uint8_t analysts = 0;
    uint8_t consensus = 0, previousConsensus = 0;
};

struct DemoDatabase {
    uint16_t databaseDate = 0;   // PackedDate of the last trading day
    std::vector<DemoRecord> records;  // in name order, letters compared in upper case
};

// The demo market over the London trading days from 2 January 2009 to `lastDay`; a set of companies
// has closes from 2 January 1998 (devtools/lib/DemoEarlyPrices.h).
DemoDatabase BuildDemoDatabase(std::chrono::sys_days lastDay, uint32_t seed = kDemoSeed);

// The demo's first day, and the first day of the early closes some companies have before it.
inline const std::chrono::sys_days kDemoFirstDay{std::chrono::year{2009} / std::chrono::January / 2};
inline const std::chrono::sys_days kDemoEarlyDay{std::chrono::year{1998} / std::chrono::January / 2};

// Whether the default window layouts name the share id (its company is among the largest).
bool IsDefaultLayoutShareId(uint16_t id);

// The last London trading day before `today`.
std::chrono::sys_days LastTradingDayBefore(std::chrono::sys_days today);

// How a random share price moves: prices in pence (unit `unit`), a daily walk with drift and volatility,
// and volumes around a mean.
struct WalkParameters {
    double startPrice = 250;     // in pence
    double annualDrift = 0.05;
    double dailyVolatility = 0.015;
    double meanVolume = 1e6;     // 0 for none
    uint8_t mode = 1;            // 0 closes only, 1 full days
    float unit = 1.0f;           // the price step in pence
    int16_t scale = 1;
    // Events: full days only from this day on (closes before it); a suspension (marked days at the
    // last price); a change of the price step; days without a price now and then ('C').
    std::chrono::sys_days fullFrom{};
    std::chrono::sys_days suspendFrom{};
    int suspendDays = 0;
    std::chrono::sys_days unitChangeOn{};
    float newUnit = 0;
    double missingDayRate = 0;
    // With a reversion above 0 the price keeps near its trend, the start price grown by the drift: the
    // logarithm of price over trend is pulled back by this share of itself each day and kept within
    // plus or minus `band`.
    double reversion = 0;
    double band = 0;
};

// A history over every weekday from `first` to `last`: bank holidays become days without data ('A').
PriceHistory RandomWalkHistory(std::mt19937& rng, std::chrono::sys_days first, std::chrono::sys_days last,
                               const WalkParameters& walk);

// The day as a PackedDate. Throws std::out_of_range for a day the 16 bits cannot hold (before 1900 or
// after 2027), rather than wrapping it to another year.
uint16_t ToPackedDate(std::chrono::sys_days day);
// The last day a PackedDate can hold.
inline const std::chrono::sys_days kLastHeldDay{std::chrono::year{2027} / std::chrono::December / 31};

} // namespace qv::dev
