// The formula templates, built once from a shorthand of the token language.
#include "lists/FormulaTemplates.h"

#include "core/ColumnDef.h"
#include "lists/FormulaColumn.h"
#include "lists/ResultsFigures.h"

#include <cstring>
#include <stdexcept>

namespace qv {
namespace {

using namespace FormulaToken;
using Tokens = std::vector<uint8_t>;

Tokens Join(std::initializer_list<Tokens> parts)
{
    Tokens out;
    for (const Tokens& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Tokens T(uint8_t token) { return {token}; }
// A results figure: year 0 the latest, 1-7 forecasts, -1 to -8 earlier years.
Tokens R(int year, int item) { return {Results, uint8_t(((year < 0 ? 7 - year : year) << 4) | item)}; }
Tokens Binary(const Tokens& a, uint8_t op, const Tokens& b) { return Join({T(Open), a, T(op), b, T(Close)}); }
Tokens Unary(uint8_t op, const Tokens& b) { return Join({T(Open), T(op), b, T(Close)}); }
Tokens Integer(int32_t v)
{
    uint32_t u = uint32_t(v);
    return {ConstantInteger, uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}
Tokens GrossUp() { return {Parameter | kFormulaInteger, 0, 0, 0, 0}; }
Tokens FieldInt(int code) { return {FieldInteger, uint8_t(code)}; }
Tokens FieldNumber(int code) { return {FieldReal, uint8_t(code)}; }
Tokens Ended(const Tokens& e) { return Join({e, T(FormulaToken::End)}); }

Tokens DaysSinceYearEnd() { return Binary(T(Today), DaysApart, R(0, kResultsDate)); }
// The blend of an item over years y, y + 1 and y + 2 by the days since the last year end.
Tokens Rolling(int year, int item)
{
    return Join({T(Open), DaysSinceYearEnd(), R(year + 2, item), R(year + 1, item), T(Blend), R(year, item), T(Close)});
}

constexpr int kEps = 2, kDividend = 3, kProfit = 1, kTurnover = 4;

Tokens Yield(const Tokens& dividend) { return Binary(Binary(dividend, Divide, T(Price)), Multiply, GrossUp()); }
Tokens PriceEarnings(const Tokens& eps) { return Binary(T(Price), Divide, Unary(PositiveGuard, eps)); }
// Growth in percent from `before` to `after`; only positive earnings give one.
Tokens Growth(const Tokens& after, const Tokens& before)
{
    return Unary(RatioToChange, Unary(PositiveGuard, Binary(after, Divide, Unary(PositiveGuard, before))));
}
Tokens Peg(const Tokens& eps, const Tokens& growth)
{
    return Binary(PriceEarnings(eps), Divide, Unary(PositiveGuard, growth));
}
Tokens MainLine(const Tokens& e) { return Join({T(MainLineOnly), e}); }

std::vector<FormulaTemplate> BuildShareTemplates()
{
    const Tokens rolling1 = Rolling(0, kEps), rolling2 = Rolling(1, kEps), rolling3 = Rolling(2, kEps);
    return {
        {12, "Yield", Ended(MainLine(Yield(R(0, kDividend))))},
        {27, "Price %", Ended(Unary(RatioToChange, Binary(T(Price), Divide, Binary(T(Price), Subtract, T(PriceChange)))))},
        {28, "EPS Growth", Ended(Growth(R(0, kEps), R(-1, kEps)))},
        {29, "PEG", Ended(Peg(R(0, kEps), Growth(R(0, kEps), R(-1, kEps))))},
        {33, "Rolling EPS 1", Ended(Join({T(ResultsConversionOff), T(MainLineOnly), rolling1}))},
        {34, "Projected EPS", Ended(Join({T(ResultsConversionOff), T(MainLineOnly), R(1, kEps)}))},
        {35, "Rolling EPS 2", Ended(Join({T(ResultsConversionOff), T(MainLineOnly), rolling2}))},
        {36, "Rolling Yield 1", Ended(MainLine(Yield(Rolling(0, kDividend))))},
        {37, "Projected Yield", Ended(MainLine(Yield(R(1, kDividend))))},
        {38, "Rolling Yield 2", Ended(MainLine(Yield(Rolling(1, kDividend))))},
        {39, "Rolling P/E 1", Ended(MainLine(PriceEarnings(rolling1)))},
        {40, "Projected P/E", Ended(MainLine(PriceEarnings(R(1, kEps))))},
        {41, "Rolling P/E 2", Ended(MainLine(PriceEarnings(rolling2)))},
        {42, "Rolling PEG 1", Ended(MainLine(Peg(rolling1, Growth(rolling2, rolling1))))},
        {43, "Projected PEG", Ended(MainLine(Peg(R(1, kEps), Growth(R(1, kEps), R(0, kEps)))))},
        {44, "Rolling PEG 2", Ended(MainLine(Peg(rolling2, Growth(rolling3, rolling2))))},
        {47, "Projected Dividend", Ended(Join({T(ResultsConversionOff), T(MainLineOnly), R(1, kDividend)}))},
        // Worked out by the cell code from fields 50 and 8; the expression is never run.
        {48, "Consensus change", Ended(MainLine(Integer(0))), 0},
        {54, "Days since high", Ended(Binary(T(Today), DaysApart, FieldInt(52))), 0},
        {55, "Days since low", Ended(Binary(T(Today), DaysApart, FieldInt(53))), 0},
        {58, "Dividend cover", Ended(MainLine(Binary(R(0, kEps), Divide, R(0, kDividend))))},
        {59, "Turnover per share (p)",
         Ended(MainLine(Binary(Binary(R(0, kTurnover), Divide, Unary(PositiveGuard, T(IssueFigure))), Multiply, Integer(100))))},
        {60, "Turnover / Cap.", Ended(MainLine(Binary(R(0, kTurnover), Divide, Unary(PositiveGuard, T(MarketValue)))))},
        {61, "Profit as % of T.O.", Ended(MainLine(Unary(Percent, Binary(R(0, kProfit), Divide, Unary(PositiveGuard, R(0, kTurnover))))))},
        {63, "Fall% from high", Ended(Unary(RatioToChange, Binary(T(Price), Divide, T(PeriodHigh))))},
        {64, "Inc.% from low", Ended(Unary(RatioToChange, Binary(T(Price), Divide, T(PeriodLow))))},
        // Normal market size (thousands of shares, field 14) at the price, in thousands of pounds.
        {89, "NMS (\xA3)", Ended(MainLine(Binary(Binary(FieldNumber(14), Multiply, T(Price)), Divide, Integer(100))))},
        {90, "Forecast EPS Growth", Ended(Growth(R(1, kEps), R(0, kEps)))},
        {91, "Alt. Rolling PEG", Ended(MainLine(Peg(rolling1, Growth(R(1, kEps), R(0, kEps)))))},
    };
}

} // namespace

const std::vector<FormulaTemplate>& ShareFormulaTemplates()
{
    static const std::vector<FormulaTemplate> templates = BuildShareTemplates();
    return templates;
}

const FormulaTemplate& TransactionPriceTemplate()
{
    constexpr int kPrice = 26, kPriceChange = 27;
    static const FormulaTemplate t{
        28, "Price %",
        Ended(Unary(RatioToChange, Binary(T(kPrice), Divide, Binary(T(kPrice), Subtract, T(kPriceChange)))))};
    return t;
}

std::vector<uint8_t> FormulaTemplateColumn(const FormulaTemplate& t)
{
    std::vector<uint8_t> parameters;
    parameters.push_back(uint8_t(t.tokens.size() + 1));
    parameters.insert(parameters.end(), t.tokens.begin(), t.tokens.end());
    parameters.insert(parameters.end(), t.title, t.title + std::strlen(t.title) + 1);
    std::vector<uint8_t> column;
    AppendColumnDef(column, ColumnOf(kColumnFormula, uint8_t(t.index)).withFormatB(t.decimals).withParameters(std::move(parameters)));
    return column;
}

} // namespace qv
