// The twelve words of a graph setting that the moving-average dialogs edit: four packed line words,
// the four lines' pens and the four bands' pens (the setting record's layout); the unpacked fields of one line, the packing with its clamps and
// the Default button's values.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace qv {

struct GraphSetting;
class CMovingAverage;

struct MovAvgLine {
    bool shown = false;
    int period = 20;          // 2..4000
    int envelopeWidth = 10;   // 1..99 per cent
    int deviation = 3;        // index 0-5 into 0.5 .. 3.0 standard deviations
    int type = 0;             // 0 Simple .. 4 Variable
    bool lagged2 = false;     // bit 27
    bool lagged1 = false;     // bit 28
    bool envelope = false;    // band kind: Bollinger or envelope
    bool bandShown = false;
    uint32_t bandPen = 0;
    uint32_t linePen = 0;
};

using MovAvgWords = std::array<uint32_t, 12>;
constexpr int kMovAvgLines = 4;
constexpr int kMinAveragePeriod = 2;
constexpr int kMaxAveragePeriod = 4000;

// Line i (0-3) of the words.
MovAvgLine UnpackMovAvgLine(const MovAvgWords& words, int i);
// Writes line i back, clamping the period to 2..4000 and the envelope width to 1..99.
void PackMovAvgLine(MovAvgWords& words, int i, const MovAvgLine& line);
// The Default button's line i for a daily or an intraday chart.
MovAvgLine DefaultMovAvgLine(int i, bool intraday);

// The calculator of a packed line word: its type and period, and its bands (an envelope of the
// word's width in per cent, else the word's standard deviations).
std::unique_ptr<CMovingAverage> CreateLineAverage(uint32_t word);

MovAvgWords ReadMovAvgWords(const GraphSetting& setting);
void WriteMovAvgWords(GraphSetting& setting, const MovAvgWords& words);

// The program-wide choice of moving-average dialog: true opens the Advanced one.
bool& MovAvgAdvancedChosen();

} // namespace qv
