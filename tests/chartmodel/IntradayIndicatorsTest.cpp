// The intraday chart's indicators by type: the calculator each runs and its pane's level lines.
#include "chartmodel/IntradayIndicators.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

namespace qv {
namespace {

TEST(IntradayIndicators, CalculatorAndLevelsByType)
{
    struct Case {
        uint8_t type, flags;
        const char* calculator;
        std::vector<float> levels;
    };
    const Case cases[] = {
        {IndicatorType::RSI, 0, "CWilderRSICalc", {70, 50, 30}},
        {IndicatorType::RSI, 1, "CRSICalc", {70, 50, 30}},
        {IndicatorType::RSI, 4, "CWilderRSICalc", {50}},
        {IndicatorType::Momentum, 0, "CMomentumCalc", {100}},
        {IndicatorType::MACD, 0, "CMACDCalc", {0}},
        {IndicatorType::PriceOscillator, 0, "CPriceOscCalc", {0}},
        {IndicatorType::Stochastic, 0, "CStochasticCalc", {75, 25}},
        {IndicatorType::OnBalanceVolume, 0, "COBVCalc", {0}},
        {IndicatorType::CCI, 0, "CCCICalc", {-100, 100}},
        {IndicatorType::WilliamsR, 0, "CWilliamsRCalc", {-80, -20}},
        {IndicatorType::ADM, 0, "CADMCalc", {}},
        {IndicatorType::ADM, 4, "CADMCalc", {25, 20}},
        {IndicatorType::ATR, 0, "CATRCalc", {0}},
        {IndicatorType::PivotPoints, 0, "CMovAvgCalc", {0}},
        {1, 0, "CMovAvgCalc", {0}},
    };
    const Bar first{100, 101, 99, 100, 1000};
    for (const Case& c : cases) {
        const IndicatorRecord record = IndicatorRecord::Of(c.type, c.flags, 14, 3, 9, 0);
        std::unique_ptr<CIndicatorCalc> calc = CreateIntradayIndicatorCalc(record, first);
        ASSERT_NE(calc, nullptr);
        const CIndicatorCalc& made = *calc;
        EXPECT_NE(std::string(typeid(made).name()).find(c.calculator), std::string::npos)
            << int(c.type) << " made " << typeid(made).name();
        EXPECT_EQ(IntradayIndicatorLevels(record), c.levels) << int(c.type) << " flags " << int(c.flags);
    }
}

TEST(IntradayIndicators, OutputsDrawnByTheRecordsOptions)
{
    using L = IntradayIndicatorLine;
    struct Case {
        uint8_t type, flags;
        int outputs;
        std::vector<L> lines;
    };
    // Pens 1-4 stand for the record's four pens.
    const Case cases[] = {
        {IndicatorType::MACD, 0, 3, {}},
        {IndicatorType::MACD, 1, 3, {{0, false, 0, 1}, {1, false, 0, 2}}},
        {IndicatorType::MACD, 2, 3, {{2, true, +1, 4}, {2, true, -1, 3}}},
        {IndicatorType::ADM, 1, 4, {{0, false, 0, 2}, {1, false, 0, 3}}},
        {IndicatorType::ADM, 6, 4, {{2, false, 0, 1}, {3, false, 0, 4}}},
        {IndicatorType::RSI, 0, 1, {{0, false, 0, 1}}},
        {IndicatorType::Stochastic, 0, 2, {{0, false, 0, 1}, {1, false, 0, 2}}},
        {IndicatorType::MACD, 3, 2, {{0, false, 0, 1}, {1, false, 0, 2}}}, // no third output to draw
    };
    for (const Case& c : cases) {
        IndicatorRecord record = IndicatorRecord::Of(c.type, c.flags, 14);
        record.pens = {1, 2, 3, 4};
        EXPECT_EQ(IntradayIndicatorLines(record, c.outputs), c.lines) << int(c.type) << " flags " << int(c.flags);
    }
}

} // namespace
} // namespace qv
