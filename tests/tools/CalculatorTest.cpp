// The calculator's arithmetic: key sequences typed as text against what the display shows, the
// division error that only C and CE clear, the memory, and the number format.
#include "tools/Calculator.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Types keys: digits and ".", "+-*/=%", "s" +/-, "b" back, "e" CE, "c" C, "P" M+, "N" M-, "R" MR, "Z" MC.
void Type(Calculator& calc, const std::string& keys)
{
    for (char k : keys) {
        CalcKey key = CalcKey::Clear;
        switch (k) {
        case '.': key = CalcKey::Point; break;
        case '+': key = CalcKey::Add; break;
        case '-': key = CalcKey::Subtract; break;
        case '*': key = CalcKey::Multiply; break;
        case '/': key = CalcKey::Divide; break;
        case '=': key = CalcKey::Equals; break;
        case '%': key = CalcKey::Percent; break;
        case 's': key = CalcKey::Sign; break;
        case 'b': key = CalcKey::Back; break;
        case 'e': key = CalcKey::ClearEntry; break;
        case 'c': key = CalcKey::Clear; break;
        case 'P': key = CalcKey::MemoryAdd; break;
        case 'N': key = CalcKey::MemorySubtract; break;
        case 'R': key = CalcKey::MemoryRecall; break;
        case 'Z': key = CalcKey::MemoryClear; break;
        default: key = CalcKey(int(CalcKey::Digit0) + (k - '0')); break;
        }
        calc.press(key);
    }
}

TEST(CalculatorTest, KeySequencesShowTheirResults)
{
    struct Case {
        const char* keys;
        const char* shown;
    } cases[] = {
        {"7/2=", "3.5"},
        {"1/3=", "0.333333333333"},
        {"200+10%", "220"},
        {"200-10%", "180"},
        {"200*10%", "20"},
        {"5+*2=", "10"},
        {"8/0=", kCalculatorDivideByZero},
        {"8/0=123", kCalculatorDivideByZero},
        {"8/0=123e4", "4"},
        {"8/0=c9+1=", "10"},
        {"1+2+3=", "6"},
        {"1+2=*4=", "12"},
        {"1+2=7", "7"},
        {"12.5.3", "12.53"},
        {".5+.25=", "0.75"},
        {"123bb", "1"},
        {"3s+5=", "2"},
        {"10%", "0"},
        {"2+%", "2"},
        {"50/200%", "25"},
        {"2*3=P4PcR", "10"},
        {"9PZR", "0"},
        {"1e", "0"},
        {"123456789012345678901234", "12345678901234567890"},
        {"1/3*3=", "1"},
        {"1000000*1000000*1000000=", "1e+18"},
    };
    for (const Case& k : cases) {
        Calculator calc;
        Type(calc, k.keys);
        EXPECT_EQ(calc.display(), k.shown) << k.keys;
    }
}

TEST(CalculatorTest, ThePendingLineAndTheMemoryFollowTheKeys)
{
    Calculator calc;
    calc.start(12.5);
    EXPECT_EQ(calc.display(), "12.5");
    Type(calc, "+");
    EXPECT_EQ(calc.pendingText(), "12.5 +");
    Type(calc, "*");
    EXPECT_EQ(calc.pendingText(), "12.5 *") << "a second operator only replaces the first";
    Type(calc, "2=");
    EXPECT_EQ(calc.pendingText(), "");
    EXPECT_DOUBLE_EQ(calc.value(), 25);
    Type(calc, "PP");
    EXPECT_DOUBLE_EQ(calc.memory(), 50);
    Type(calc, "c");
    EXPECT_DOUBLE_EQ(calc.memory(), 50) << "C leaves the memory";
    EXPECT_EQ(calc.pendingOperator(), Calculator::kNone);
}

TEST(CalculatorTest, NumbersAreTrimmedOfTheirZeros)
{
    EXPECT_EQ(FormatCalculatorNumber(3.5), "3.5");
    EXPECT_EQ(FormatCalculatorNumber(220), "220");
    EXPECT_EQ(FormatCalculatorNumber(-0.25), "-0.25");
    EXPECT_EQ(FormatCalculatorNumber(1e20), "1e+20");
    EXPECT_EQ(FormatCalculatorNumber(0), "0");
}

} // namespace
} // namespace qv
