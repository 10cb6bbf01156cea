// Intraday indicator calculators and levels by indicator type.
#include "chartmodel/IntradayIndicators.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"

#include <algorithm>

namespace qv {
namespace {

constexpr uint8_t kOptionBit2 = 0x04;

} // namespace

std::unique_ptr<CIndicatorCalc> CreateIntradayIndicatorCalc(const IndicatorRecord& settings, const Bar& first)
{
    switch (settings.type) {
    case IndicatorType::RSI:
    case IndicatorType::Momentum:
    case IndicatorType::MACD:
    case IndicatorType::PriceOscillator:
    case IndicatorType::Stochastic:
    case IndicatorType::OnBalanceVolume:
    case IndicatorType::CCI:
    case IndicatorType::WilliamsR:
    case IndicatorType::ADM:
    case IndicatorType::ATR: return CreateIndicatorCalc(settings, first);
    default: return std::make_unique<CMovAvgCalc>(settings, first);
    }
}

std::vector<float> IntradayIndicatorLevels(const IndicatorRecord& settings)
{
    const bool bit2 = settings.flags & kOptionBit2;
    switch (settings.type) {
    case IndicatorType::RSI: return bit2 ? std::vector<float>{50} : std::vector<float>{70, 50, 30};
    case IndicatorType::Momentum: return {100};
    case IndicatorType::Stochastic: return {75, 25};
    case IndicatorType::CCI: return {-100, 100};
    case IndicatorType::WilliamsR: return {-80, -20};
    case IndicatorType::ADM: return bit2 ? std::vector<float>{25, 20} : std::vector<float>{};
    default: return {0};
    }
}

std::vector<IntradayIndicatorLine> IntradayIndicatorLines(const IndicatorRecord& settings, int outputs)
{
    const auto& pens = settings.pens;
    const uint8_t flags = settings.flags;
    std::vector<IntradayIndicatorLine> lines;
    switch (settings.type) {
    case IndicatorType::MACD:
        if (flags & 1)
            lines = {{0, false, 0, pens[0]}, {1, false, 0, pens[1]}};
        if (flags & 2) {
            lines.push_back({2, true, +1, pens[3]});
            lines.push_back({2, true, -1, pens[2]});
        }
        break;
    case IndicatorType::ADM:
        if (flags & 2)
            lines.push_back({2, false, 0, pens[0]});
        if (flags & 1) {
            lines.push_back({0, false, 0, pens[1]});
            lines.push_back({1, false, 0, pens[2]});
        }
        if (flags & 4)
            lines.push_back({3, false, 0, pens[3]});
        break;
    default:
        for (int j = 0; j < std::min<int>(outputs, int(pens.size())); ++j)
            lines.push_back({j, false, 0, pens[size_t(j)]});
        break;
    }
    // A calculator with fewer outputs than the plan names draws what it has.
    std::erase_if(lines, [outputs](const IntradayIndicatorLine& l) { return l.output >= outputs; });
    return lines;
}

} // namespace qv
