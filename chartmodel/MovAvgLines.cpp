// Packing and unpacking of the moving-average line words.
#include "chartmodel/MovAvgLines.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/MovingAverage.h"

#include <algorithm>

namespace qv {

namespace {
constexpr uint32_t Bit(bool on, int n) { return on ? (1u << n) : 0u; }
constexpr std::array<uint32_t, 4> kDefaultColours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00}; // red, green, blue, cyan
} // namespace

MovAvgLine UnpackMovAvgLine(const MovAvgWords& words, int i)
{
    uint32_t w = words[size_t(i)];
    MovAvgLine line;
    line.shown = (w >> 31) & 1;
    line.period = int(w & 0xFFF);
    line.type = int((w >> 23) & 0xF);
    line.linePen = words[size_t(4 + i)];
    line.lagged1 = (w >> 28) & 1;
    line.bandShown = (w >> 30) & 1;
    line.envelopeWidth = int((w >> 12) & 0xFF);
    line.deviation = int((w >> 20) & 7);
    line.envelope = (w >> 29) & 1;
    line.bandPen = words[size_t(8 + i)];
    line.lagged2 = (w >> 27) & 1;
    return line;
}

void PackMovAvgLine(MovAvgWords& words, int i, const MovAvgLine& line)
{
    uint32_t period = uint32_t(std::clamp(line.period, kMinAveragePeriod, kMaxAveragePeriod));
    uint32_t width = uint32_t(std::clamp(line.envelopeWidth, 1, 99));
    words[size_t(i)] = period | (width << 12) | (uint32_t(line.deviation & 7) << 20) | (uint32_t(line.type & 0xF) << 23) |
                       Bit(line.lagged2, 27) | Bit(line.lagged1, 28) | Bit(line.envelope, 29) |
                       Bit(line.bandShown, 30) | Bit(line.shown, 31);
    words[size_t(4 + i)] = line.linePen;
    words[size_t(8 + i)] = line.bandPen;
}

MovAvgLine DefaultMovAvgLine(int i, bool intraday)
{
    static constexpr std::array<int, 4> kDaily = {20, 60, 120, 250};
    static constexpr std::array<int, 4> kIntraday = {5, 10, 15, 20};
    MovAvgLine line;
    line.period = intraday ? kIntraday[size_t(i)] : kDaily[size_t(i)];
    line.lagged1 = line.lagged2 = true;
    line.envelopeWidth = intraday ? 5 : 10;
    line.deviation = intraday ? 2 : 3;
    // A plain solid pen of width 1 is the bare colour word.
    line.linePen = line.bandPen = kDefaultColours[size_t(i)];
    return line;
}

std::unique_ptr<CMovingAverage> CreateLineAverage(uint32_t word)
{
    const int32_t period = int32_t(word & 0xFFF);
    const int type = int((word >> 23) & 15);
    const bool envelope = (word & (1u << 29)) != 0;
    const double bandWidth = envelope ? ((word >> 12) & 0xFF) * 0.01 : (((word >> 20) & 7) + 1) * 0.5;
    return CreateMovingAverage(type, std::max(period, 1), bandWidth, envelope ? 1 : 0);
}

MovAvgWords ReadMovAvgWords(const GraphSetting& setting)
{
    MovAvgWords words{};
    for (size_t i = 0; i < words.size(); ++i)
        words[i] = graphsetting::U32(setting, graphsetting::kLineWords + 4 * i);
    return words;
}

void WriteMovAvgWords(GraphSetting& setting, const MovAvgWords& words)
{
    for (size_t i = 0; i < words.size(); ++i)
        graphsetting::SetU32(setting, graphsetting::kLineWords + 4 * i, words[i]);
}

bool& MovAvgAdvancedChosen()
{
    static bool advanced = false;
    return advanced;
}

} // namespace qv
