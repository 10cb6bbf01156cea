// The formula machine on constant expressions: the type rules, the conversions, the rolling blends
// and every error, including damaged expressions from files.
#include "lists/FormulaColumn.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <optional>
#include <vector>

using namespace qv;
using namespace qv::FormulaToken;

namespace {

using Tokens = std::vector<uint8_t>;

Tokens Int(int32_t v)
{
    uint32_t u = uint32_t(v);
    return {ConstantInteger, uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}

Tokens Real(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return {ConstantReal, uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}

Tokens Cat(std::initializer_list<Tokens> parts)
{
    Tokens out;
    for (const Tokens& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Tokens Bin(const Tokens& a, uint8_t op, const Tokens& b) { return Cat({{Open}, a, {op}, b, {Close}}); }
Tokens Un(uint8_t op, const Tokens& b) { return Cat({{Open, op}, b, {Close}}); }
Tokens Done(const Tokens& e) { return Cat({e, {FormulaToken::End}}); }

// The result, or nothing on an evaluation error.
std::optional<FormulaResult> Evaluate(const Tokens& e, uint32_t extra = 0)
{
    if (EvaluateFormulaColumn(e, nullptr, extra, nullptr) != 0)
        return std::nullopt;
    return LastFormulaResult();
}

struct Expect {
    const char* what;
    Tokens expression;
    uint32_t type;
    float value;
};

TEST(FormulaColumn, TypeRulesOfTheOperators)
{
    const Expect cases[] = {
        {"integer division is real", Done(Bin(Int(7), Divide, Int(2))), kFormulaReal, 3.5f},
        {"integer meets real", Done(Bin(Int(2), Add, Real(1.5f))), kFormulaReal, 3.5f},
        {"integers stay integers", Done(Bin(Int(2), Add, Int(1))), kFormulaInteger, 3},
        {"integer subtraction", Done(Bin(Int(2), Subtract, Int(5))), kFormulaInteger, -3},
        {"real product", Done(Bin(Real(2.5f), Multiply, Int(4))), kFormulaReal, 10},
        {"comparison", Done(Bin(Int(3), Greater, Real(2.5f))), kFormulaBoolean, 1},
        {"comparison false", Done(Bin(Int(3), LessEqual, Int(2))), kFormulaBoolean, 0},
        {"and", Done(Bin(Bin(Int(1), Less, Int(2)), And, Bin(Int(2), GreaterEqual, Int(2)))), kFormulaBoolean, 1},
        {"or", Done(Bin(Bin(Int(3), Less, Int(2)), Or, Bin(Int(2), Greater, Int(2)))), kFormulaBoolean, 0},
        {"days between dates", Done(Bin(Int(0x7D80 + 10), DaysApart, Int(0x7D80))), kFormulaInteger, 10},
        {"days with a date of 0", Done(Bin(Int(0x7D80), DaysApart, Int(0))), kFormulaInteger, 0},
        {"no-value integer gives 0", Done(Bin(Int(0x7F7FFFFF), Add, Int(5))), kFormulaInteger, 0},
        {"ratio to change", Done(Un(RatioToChange, Real(1.25f))), kFormulaReal, 25},
        {"percentage", Done(Un(Percent, Real(0.125f))), kFormulaReal, 12.5f},
        {"guard passes", Done(Un(PositiveGuard, Int(3))), kFormulaReal, 3},
        {"logarithm", Done(Un(Ln, Real(1))), kFormulaReal, 0},
        {"exponential", Done(Un(Exp, Int(0))), kFormulaReal, 1},
        {"complement", Done(Un(Complement, Int(0))), kFormulaBoolean, float(int32_t(~0u))},
        {"no value passes through a product", Done(Bin(Real(FLT_MAX), Multiply, Int(2))), kFormulaReal, FLT_MAX},
        {"a lone value", Done(Real(2.5f)), kFormulaReal, 2.5f},
        {"nothing token", Done(Cat({{Nothing}, Int(4)})), kFormulaInteger, 4},
    };
    for (const Expect& c : cases) {
        auto r = Evaluate(c.expression);
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(r->type, c.type) << c.what;
        if (c.type == kFormulaBoolean)
            EXPECT_EQ(r->integer(), int32_t(c.value)) << c.what;
        else
            EXPECT_FLOAT_EQ(r->real(), c.value) << c.what;
    }
}

TEST(FormulaColumn, RollingBlendsByDaysSinceTheYearEnd)
{
    auto blend = [](uint8_t op, int days, float c, float a, float b) {
        return Done(Cat({{Open}, Int(days), Real(c), Real(a), {op}, Real(b), {Close}}));
    };
    auto r = Evaluate(blend(Blend, 100, 30, 20, 10));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->real(), 12.74f, 0.005f); // (265 x 10 + 100 x 20) / 365
    r = Evaluate(blend(Blend, 400, 30, 20, 10));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->real(), (330.0f * 20 + 35.0f * 30) / 365, 1e-4f);
    const struct {
        const char* what;
        Tokens e;
    } none[] = {
        {"year after missing past a year", blend(Blend, 400, FLT_MAX, 20, 10)},
        {"next year missing", blend(Blend, 100, 30, FLT_MAX, 10)},
        {"latest year missing", blend(Blend, 100, 30, 20, FLT_MAX)},
        {"positive blend of a loss", blend(BlendPositive, 100, 30, -20, 10)},
        {"positive blend of a zero past a year", blend(BlendPositive, 400, 0, 20, 10)},
    };
    for (const auto& c : none) {
        auto v = Evaluate(c.e);
        ASSERT_TRUE(v) << c.what;
        EXPECT_EQ(v->real(), FLT_MAX) << c.what;
    }
}

TEST(FormulaColumn, EveryFaultIsAnEvaluationError)
{
    Tokens deep;
    for (int i = 0; i < 81; ++i)
        deep.push_back(Open);
    const struct {
        const char* what;
        Tokens e;
    } errors[] = {
        {"division by zero", Done(Bin(Real(1), Divide, Int(0)))},
        {"division by no value", Done(Bin(Real(1), Divide, Real(FLT_MAX)))},
        {"subtraction of no value", Done(Bin(Real(FLT_MAX), Subtract, Real(1)))},
        {"guard on zero", Done(Un(PositiveGuard, Real(0)))},
        {"guard on a negative", Done(Un(PositiveGuard, Int(-2)))},
        {"logarithm of zero", Done(Un(Ln, Int(0)))},
        {"ratio of an integer", Done(Un(RatioToChange, Int(2)))},
        {"boolean in arithmetic", Done(Bin(Bin(Int(1), Less, Int(2)), Add, Int(1)))},
        {"and of numbers", Done(Bin(Int(1), And, Int(1)))},
        {"days between reals", Done(Bin(Real(1), DaysApart, Real(2)))},
        {"blend of integers", Done(Cat({{Open}, Int(1), Int(2), Int(3), {Blend}, Int(4), {Close}}))},
        {"operator 0x86", Done(Bin(Int(1), 0x86, Int(2)))},
        {"unary 0xC6", Done(Un(0xC6, Int(1)))},
        {"unknown token", Done(Cat({{0xEC}, Int(1)}))},
        {"token 0", Done(Cat({{0x00}}))},
        {"constant of type 0", Done(Tokens{0x40, 1, 0, 0, 0})},
        {"close with nothing open", Done(Cat({Int(1), {Close}}))},
        {"close with an operand short", Done(Cat({{Open}, Int(1), {Add}, {Close}}))},
        {"an operation left open", Done(Cat({{Open}, Int(1)}))},
        {"two results", Done(Cat({Int(1), Int(2)}))},
        {"no result", Done({})},
        {"no end token", Bin(Int(1), Add, Int(2))},
        {"constant cut short", Tokens{ConstantInteger, 1, 2}},
        {"results operand missing", Tokens{Results}},
        {"field operand missing", Tokens{FieldReal}},
        {"parameter index out of range", Done(Tokens{Parameter | kFormulaInteger, 99, 0, 0, 0})},
        {"stack overflow", Done(deep)},
    };
    for (const auto& c : errors)
        EXPECT_FALSE(Evaluate(c.e)) << c.what;
    EXPECT_FALSE(Evaluate(Done(Cat({{MainLineOnly}, Int(1)})), 1)) << "main line only on a second line";
    EXPECT_TRUE(Evaluate(Done(Cat({{MainLineOnly}, Int(1)})), 0));
}

TEST(FormulaColumn, ParameterTableGivesTheGrossUp)
{
    FormulaParameters()[0] = 111;
    auto r = Evaluate(Done(Bin(Real(2), Multiply, Tokens{Parameter | kFormulaInteger, 0, 0, 0, 0})));
    ASSERT_TRUE(r);
    EXPECT_FLOAT_EQ(r->real(), 222);
    r = Evaluate(Done(Tokens{Parameter | kFormulaReal, 0, 0, 0, 0}));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->type, kFormulaReal);
    EXPECT_FLOAT_EQ(r->real(), 111);
    FormulaParameters()[0] = 100;
}

TEST(FormulaColumn, ApplyFormulaOperatorChecksWhatItPops)
{
    FormulaStack s;
    EXPECT_EQ(ApplyFormulaOperator(s), 1);
    ASSERT_TRUE(s.pushMarker(FormulaStack::OpenMark, Open));
    ASSERT_TRUE(s.pushCell(2, kFormulaInteger));
    ASSERT_TRUE(s.pushMarker(FormulaStack::OperatorMark, Multiply));
    ASSERT_TRUE(s.pushCell(21, kFormulaInteger));
    EXPECT_EQ(ApplyFormulaOperator(s), 0);
    ASSERT_EQ(s.top, 2u);
    EXPECT_EQ(s.words[0], 42u);
    EXPECT_EQ(s.words[1], kFormulaInteger);

    FormulaStack full;
    while (full.pushMarker(FormulaStack::OpenMark, Open)) {
    }
    EXPECT_EQ(full.top, FormulaStack::kWords);
    EXPECT_FALSE(full.pushCell(1, kFormulaInteger));
}

} // namespace
