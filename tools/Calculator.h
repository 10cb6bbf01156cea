// The pocket calculator's arithmetic: immediate execution with one pending operator, a memory, the
// percentage key and the display texts, apart from the dialog that shows them.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

enum class CalcKey : uint8_t {
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
    Point, Add, Subtract, Multiply, Divide, Equals, Sign, Percent,
    MemoryAdd, MemorySubtract, MemoryRecall, MemoryClear, Back, ClearEntry, Clear,
};

// A number as the display shows it: "%12.12g", trailing zeros after the point (and a bare point)
// dropped when there is no exponent, leading blanks removed.
std::string FormatCalculatorNumber(double value);

inline constexpr const char* kCalculatorDivideByZero = "Cannot divide by zero.";

class Calculator {
public:
    // The pending operator codes.
    static constexpr int kAdd = 1, kSubtract = 2, kMultiply = 3, kDivide = 4, kNone = 13;

    // Starts afresh showing the value (a field's value when opened from one).
    void start(double value);
    void press(CalcKey key);

    double value() const { return displayed_; }
    double memory() const { return memory_; }
    bool error() const { return error_; }
    int pendingOperator() const { return operator_; }
    double accumulator() const { return accumulator_; }
    // The main line: the entry as typed, else the displayed value, or the division error.
    std::string display() const;
    // The line above it: the accumulator and the pending operator ("200 +"), empty when none waits.
    std::string pendingText() const;

private:
    enum class Last : uint8_t { Value, Digit, Operator, Equals };

    void digit(char c);
    void back();
    void operatorKey(int code);
    void equals();
    void percent();
    // The pending operator applied to the accumulator and the displayed value; false on a division
    // by zero, which sets the error.
    bool apply(double& result);

    std::string entry_;
    double displayed_ = 0;
    double accumulator_ = 0;
    int operator_ = kNone;
    Last last_ = Last::Value;
    double memory_ = 0;
    bool error_ = false;
};

} // namespace qv
