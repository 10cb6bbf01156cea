// Intraday indicator calculators and levels by indicator type.
#include "chartmodel/IntradayIndicators.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"

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

} // namespace qv
