// The returns distribution simulation: the one-year log returns of a share list's shares over a fixed
// period, 400,000 random equal-weight portfolios drawn from them, and the histogram, average, median
// and return bands of their returns. One bin mapping serves the bars, the axis labels and the bands.
#pragma once

#include "core/PackedDate.h"
#include "core/RecordCursor.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The three fixed periods (index 0 and any other: December 2000 to December 2001; 1 and 2 the two
// years before), and the list kind of each share-selection index.
struct SimulationPeriod {
    PackedDate first = 0, second = 0;
};
SimulationPeriod SimulationPeriodOf(int index);
int SimulationListKind(int selection);

// The log return of each row of a share list, or kNoReturn when the share lacks a positive price at either
// date; the rows with one are kept apart for drawing.
inline constexpr float kNoReturn = -99999.9f;
struct PreparedReturns {
    std::vector<float> values; // one per row, sized by the rows
    std::vector<float> usable; // the values of the rows with both prices
    bool logWritten = false;   // "MC.log" could be created
};
// Reads each row's two prices and writes "MC.log" ("%.*s\t%g\t%g\r" per priced share) to logPath;
// an empty path writes no log.
PreparedReturns PrepareReturns(std::span<const RecordCursor> rows, SimulationPeriod period,
                               const std::filesystem::path& logPath);

// The generator of one dialog's draws: seeded 12345 at opening, so a reopened dialog repeats a run, and
// a second run continues the sequence.
class SimulationRandom {
public:
    SimulationRandom() : engine_(12345) {}
    // Uniform over 0..n-1 (n at least 1).
    size_t Below(size_t n);

private:
    std::mt19937 engine_;
};

// The histogram's scale: bin = 300 x return + 300, so bin 0 is a return of -100% (no portfolio loses
// more) and bin 999 about +233%; three bins to a percent.
inline constexpr int kSimulationBins = 1000;
inline constexpr int kZeroReturnBin = 300;
inline constexpr int kBinsPerUnitReturn = 300;
inline constexpr int kSimulationDraws = 400000;
int ReturnBin(double ret);          // clamped into 0..999
double BinReturnPercent(double bin); // the return a bin (or a pixel offset) stands for, in percent
int PercentBin(double percent);     // the bin a return in percent falls in, unclamped

struct SimulationResult {
    std::array<uint32_t, kSimulationBins> bins{};
    double averagePercent = 0;
    double medianPercent = 0;
    // Per cent of the draws below 0% and 5%, above 20%, 50% and 100%.
    std::array<double, 5> bands{};
};
// The rows of the results text, in order, and their figures from a result.
inline constexpr std::array<const char*, 7> kSimulationRowTitles = {
    "Average return", "Median", "Less than 0%", "Less than 5%", "More than 20%", "More than 50%", "More than 100%"};
std::array<double, 7> SimulationRowFigures(const SimulationResult& result);

// Runs the draws of portfolios of n shares from `usable` into `out`, whose bins fill as the draws go.
// `every100` is called on every 100th draw with the draw's number, for the window to pump and
// repaint; it returns false to stop the run (then the figures are not made and false is returned).
bool RunReturnsSimulation(const std::vector<float>& usable, int n, SimulationRandom& random, SimulationResult& out,
                          const std::function<bool(int)>& every100 = {});

// The median bin and the bands, from the bins.
void CompleteSimulationFigures(SimulationResult& result);

// A bar's height in pixels for a bin count, at most the plot's height; the curve's 7-bin moving
// average of those heights.
int SimulationBarHeight(uint32_t count, int plotHeight);
std::vector<double> SimulationCurve(const std::array<uint32_t, kSimulationBins>& bins, int plotHeight);

// The plot's text when no share of the list has prices on both dates of the period.
std::string NoPricesText(SimulationPeriod period);

} // namespace qv
