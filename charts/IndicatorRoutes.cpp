// The dispatch table of the indicator windows and the walk helpers the routines share.
#include "charts/IndicatorRoutes.h"

#include "charts/BoxIndicatorPanes.h"

namespace qv {
namespace {

using F = IndicatorFamily;

// One row per type code; a new routine fills its row.
constexpr std::array<IndicatorRoute, kIndicatorTypes> kRoutes = {{
    {F::None, nullptr, 0}, // 0 "Undefined"
    {F::Lines, DrawOscillator, 0}, // 1 "Oscillator"
    {F::Lines, DrawRsi, 0}, // 2 "RSI"
    {F::Lines, DrawTicks, 0}, // 3 "Ticks"
    {F::Lines, DrawVolatility, 0}, // 4 "Volatility"
    {F::Lines, DrawMomentum, 0}, // 5 "Momentum"
    {F::Lines, DrawStatistics, 6}, // 6 "Correlation"
    {F::Lines, DrawVhf, 0}, // 7 "VHF"
    {F::Lines, DrawMacd, 0}, // 8 "MACD"
    {F::Lines, DrawTrix, 0}, // 9 "TRIX Momentum"
    {F::Lines, DrawPriceRoc, 0}, // 10 "Price ROC"
    {F::Lines, DrawPriceOscillator, 0}, // 11 "Price Osc."
    {F::Lines, DrawStochastic, 0}, // 12 "Stochastic Osc."
    {F::Lines, DrawCoppock, 0}, // 13 "Coppock"
    {F::Lines, DrawUpDownCount, 0}, // 14 "Meisels"
    {F::Pane, DrawPointFigureIndicator, 0}, // 15 "Point & Fig." in a window
    {F::Lines, DrawStatistics, 16}, // 16 "Beta"
    {F::Lines, DrawStatistics, 17}, // 17 "Std. Deviation"
    {F::Lines, DrawBreadth, 18}, // 18 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 19}, // 19 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 20}, // 20 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 21}, // 21 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 22}, // 22 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 23}, // 23 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 24}, // 24 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 25}, // 25 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 26}, // 26 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 27}, // 27 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 28}, // 28 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 29}, // 29 market breadth: the type selects the series
    {F::Lines, DrawBreadth, 30}, // 30 market breadth: the type selects the series
    {F::None, nullptr, 0}, // 31 spare market type
    {F::None, nullptr, 0}, // 32 spare market type
    {F::None, nullptr, 0}, // 33 spare market type
    {F::None, nullptr, 0}, // 34 spare market type
    {F::None, nullptr, 0}, // 35 spare market type
    {F::None, nullptr, 0}, // 36 spare market type
    {F::None, nullptr, 0}, // 37 spare market type
    {F::None, nullptr, 0}, // 38 spare market type
    {F::None, nullptr, 0}, // 39 spare market type
    {F::None, nullptr, 0}, // 40 spare market type
    {F::Pane, DrawEquiVolumeIndicator, 0}, // 41 "Equi Volume"
    {F::Lines, DrawAccumulation, 42}, // 42 "Accumul./Distrib."
    {F::Lines, DrawAccumulation, 43}, // 43 "Chaikin Osc."
    {F::Lines, DrawEaseOfMovement, 0}, // 44 "Ease of Movement"
    {F::Lines, DrawMassIndex, 0}, // 45 "Mass Index"
    {F::Lines, DrawVolumeIndex, 1}, // 46 "+ve Volume Index"
    {F::Lines, DrawVolumeIndex, 0}, // 47 "-ve Volume Index"
    {F::Lines, DrawOnBalanceVolume, 0}, // 48 "On Balance Vol."
    {F::Lines, DrawSwingIndex, 0}, // 49 "Swing Index"
    {F::Lines, DrawSwingIndex, 1}, // 50 "Swing Accumulation"
    {F::Lines, DrawMoneyFlow, 0}, // 51 "Money Flow"
    {F::Lines, DrawCci, 0}, // 52 "CCI"
    {F::Lines, DrawWilliamsR, 0}, // 53 "William's %R"
    {F::Lines, DrawDirectionalMovement, 0}, // 54 "Avg. Direct. Movt."
    {F::Pane, DrawKagiIndicator, 0}, // 55 "Kagi Chart"
    {F::None, nullptr, 0}, // 56 "Pivot Points": drawn in the price pane
    {F::Lines, DrawAverageTrueRange, 0}, // 57 "Avg. True Range"
    {F::VolumeWindow, nullptr, 0}, // 58 "Volume"
    {F::Lines, DrawRelative, 0}, // 59 "Rel. to"
    {F::None, nullptr, 0}, // 60 "Zig Zag"
    {F::None, nullptr, 0}, // 61 "Spare I 3"
}};

} // namespace

const std::array<IndicatorRoute, kIndicatorTypes>& IndicatorRoutes()
{
    return kRoutes;
}

const IndicatorRoute& RouteOf(uint8_t type)
{
    static const IndicatorRoute none;
    return type < kIndicatorTypes ? IndicatorRoutes()[type] : none;
}

int32_t RecordsRead(const IndicatorInput& in)
{
    int32_t k = 0;
    while (size_t(k) < in.days.size() && in.days[size_t(k)].date != 0 && in.days[size_t(k)].date <= in.lastDate)
        ++k;
    return k;
}

int32_t FirstFullDataRecord(const IndicatorInput& in, int32_t end)
{
    int32_t k = 0;
    while (k < end && !IsFullDataDay(in.days[size_t(k)]))
        ++k;
    return k;
}

} // namespace qv
