// The lines of the graph legend: four sections (latest values, cursor values, headings, plotted
// items) built from the legend item record in force, the chart's texts and its graph setting. The
// floating legend window and the legend box draw them.
#pragma once

#include "chartmodel/ChartRoutines.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct GraphSetting;

// Which lines the legend lists: word 0 bits 0-11 latest values, bits 16-27 cursor values; word 1
// the heading bits and, in bits 12-31, the items (bits 44-63 of the two words read as one mask).
struct LegendItemRecord {
    uint32_t word0 = 0;
    uint32_t word1 = 0;
    uint64_t mask() const { return uint64_t(word0) | (uint64_t(word1) << 32); }
};

enum LegendSection : int {
    kLegendLatest = 0,
    kLegendCursor = 1,
    kLegendHeadings = 2,
    kLegendItems = 3,
};

// Item bits of the 64-bit mask.
enum LegendItemBit : int {
    kItemMain = 44,
    kItemAddedGraph = 45,     // 45-49
    kItemTrend = 50,
    kItemConfidence = 51,
    kItemGlobalStop = 52,
    kItemIndividualStop = 53,
    kItemAverage = 54,        // 54-57
    kItemBand = 58,           // 58-61
    kItemSwing = 62,
    kItemSignals = 63,
};

// Heading bits of word 1.
enum LegendHeadingBit : uint32_t {
    kHeadingMain = 1,
    kHeadingSetting = 2,
    kHeadingExtra = 8,
    kHeadingSector = 16,
    kHeadingSubSector = 32,
    kHeadingIndex = 64,
};

constexpr int kLegendValueTexts = 12;
constexpr int kLegendSamples = 5;
constexpr int kLegendMaxLines = 64;
// Lines built from database texts are cut to this many characters.
constexpr size_t kLegendTextLimit = 127;

// Line flags.
constexpr uint32_t kLegendSamplesLeft = 1;   // samples not centred
constexpr uint32_t kLegendSamplesSloped = 2; // samples drawn as diagonal strokes

struct LegendLine {
    std::string text;
    int section = 0;
    int sampleCount = 0;
    std::array<uint32_t, kLegendSamples> pens{};
    std::array<int32_t, kLegendSamples> values{};
    uint32_t flags = 0;
    bool valueScaled = false;
    bool hasValues() const;
};

// An indicator window's line in the legend: its name and pen, and its values on the last day shown
// and under the cursor (empty without one).
struct LegendIndicatorLine {
    std::string name;
    uint32_t pen = 0;
    std::string latest;
    std::string cursor;
};

// What the chart view gives the legend.
struct LegendSource {
    bool intraday = false;
    bool suppress = false;            // only the setting line, the extra heading and the items
    bool shortTexts = false;
    bool filterEvaluating = false;    // a data-mining filter runs: list nothing
    bool showsMainSeries = true;
    uint32_t chartFlags = 0;          // bits 0 and 2: a box chart
    const LegendItemRecord* items = nullptr;
    const GraphSetting* setting = nullptr;
    std::array<std::string, kLegendValueTexts> latest;
    std::array<std::string, kLegendValueTexts> cursor;
    // Share name, setting name, extra heading, sector, sub-sector, index name.
    std::string shareName, settingName, extraHeading, sector, subSector, indexName;
    bool hasIndex = false;
    std::array<std::string, 5> addedGraphNames;
    std::array<uint32_t, 5> addedGraphPens{};
    const StopRecord* globalStop = nullptr;
    const StopRecord* individualStop = nullptr;
    float globalStopValue = 0;
    float individualStopValue = 0;
    std::vector<LegendIndicatorLine> indicators;
};

// The program's legend item records, one for historic and one for intraday charts. Until the legend
// design dialog changes them, a historic legend lists the latest and cursor values (price, OHLC,
// volume, trend and cursor), the share and setting headings, the main series, the added graphs, the
// trend line and the moving averages with their bands; an intraday legend its six value texts of
// each kind, the headings and the main series.
LegendItemRecord& ProgramLegendItems(bool intraday);

// "Simple", "Exponential", "Weighted", "Triangular" or "Variable" (types above 4).
const char* AverageTypeName(int type);

// " (displayed data)", " (all data)" or " (last %i periods)".
std::string GetLegendPeriodText(int mode, int n);

class LegendModel {
public:
    // Rebuilds every line; with omitTop the value texts and the first headings are left out.
    void Update(const LegendSource& source, bool omitTop);
    void Clear();
    int AddLine(int section, const std::string& text, uint32_t pen, int32_t value, uint32_t flags, bool withSample);
    void AddLineSample(int line, uint32_t pen, int32_t value);

    // The items the chart can show, as a 64-bit mask in the record's layout.
    static uint64_t GetAvailableItems(const LegendSource& source);

    const std::vector<LegendLine>& lines() const { return lines_; }
    int first(int section) const { return first_[size_t(section)]; }
    int last(int section) const { return last_[size_t(section)]; }
    const std::string& title() const { return title_; }
    uint64_t available() const { return available_; }
    bool suppress() const { return suppress_; }

private:
    void AddMainLines(const LegendSource& source, const GraphSetting& setting);
    void AddAverageLines(const LegendSource& source, const GraphSetting& setting, uint64_t mask);
    void AddSwingLines(const GraphSetting& setting);
    void AddSignalLines(const GraphSetting& setting);
    void AddItems(const LegendSource& source, uint64_t mask);
    void AddIndicatorLines(const LegendSource& source, int section);

    std::vector<LegendLine> lines_;
    std::array<int, 4> first_{-1, -1, -1, -1};
    std::array<int, 4> last_{-1, -1, -1, -1};
    std::string title_;
    uint64_t available_ = 0;
    bool suppress_ = false;
};

} // namespace qv
