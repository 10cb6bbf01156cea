// The calculator's keys, worked on the entry, the accumulator, the pending operator and the memory.
#include "tools/Calculator.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

constexpr size_t kMostEntry = 20;

char OperatorSign(int code)
{
    switch (code) {
    case Calculator::kAdd: return '+';
    case Calculator::kSubtract: return '-';
    case Calculator::kMultiply: return '*';
    case Calculator::kDivide: return '/';
    default: return ' ';
    }
}

} // namespace

std::string FormatCalculatorNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%12.12g", value);
    std::string out(text);
    if (out.find('e') == std::string::npos && out.find('.') != std::string::npos) {
        while (!out.empty() && out.back() == '0')
            out.pop_back();
        if (!out.empty() && out.back() == '.')
            out.pop_back();
    }
    size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first);
}

void Calculator::start(double value)
{
    *this = Calculator();
    displayed_ = value;
}

std::string Calculator::display() const
{
    if (error_)
        return kCalculatorDivideByZero;
    if (last_ == Last::Digit)
        return entry_.empty() ? "0" : entry_;
    return FormatCalculatorNumber(displayed_);
}

std::string Calculator::pendingText() const
{
    if (error_ || operator_ == kNone)
        return std::string();
    return FormatCalculatorNumber(accumulator_) + " " + OperatorSign(operator_);
}

void Calculator::press(CalcKey key)
{
    if (key == CalcKey::Clear) {
        double memory = memory_;
        *this = Calculator();
        memory_ = memory;
        return;
    }
    if (key == CalcKey::ClearEntry) {
        entry_.clear();
        displayed_ = 0;
        error_ = false;
        last_ = Last::Digit;
        return;
    }
    if (error_)
        return;
    switch (key) {
    case CalcKey::Point: return digit('.');
    case CalcKey::Add: return operatorKey(kAdd);
    case CalcKey::Subtract: return operatorKey(kSubtract);
    case CalcKey::Multiply: return operatorKey(kMultiply);
    case CalcKey::Divide: return operatorKey(kDivide);
    case CalcKey::Equals: return equals();
    case CalcKey::Percent: return percent();
    case CalcKey::Back: return back();
    case CalcKey::Sign:
        displayed_ = -displayed_;
        if (last_ == Last::Digit)
            entry_ = entry_.starts_with('-') ? entry_.substr(1) : "-" + entry_;
        return;
    case CalcKey::MemoryAdd: memory_ += displayed_; return;
    case CalcKey::MemorySubtract: memory_ -= displayed_; return;
    case CalcKey::MemoryClear: memory_ = 0; return;
    case CalcKey::MemoryRecall:
        displayed_ = memory_;
        entry_.clear();
        last_ = Last::Value;
        return;
    default: return digit(char('0' + int(key) - int(CalcKey::Digit0)));
    }
}

void Calculator::digit(char c)
{
    if (last_ != Last::Digit)
        entry_.clear();
    last_ = Last::Digit;
    if ((c == '.' && entry_.find('.') != std::string::npos) || entry_.size() >= kMostEntry)
        return;
    if (c == '.' && (entry_.empty() || entry_ == "-"))
        entry_ += '0';
    entry_ += c;
    displayed_ = std::strtod(entry_.c_str(), nullptr);
}

void Calculator::back()
{
    if (last_ != Last::Digit || entry_.empty())
        return;
    entry_.pop_back();
    displayed_ = std::strtod(entry_.c_str(), nullptr);
}

bool Calculator::apply(double& result)
{
    const double a = accumulator_, x = displayed_;
    switch (operator_) {
    case kAdd: result = a + x; return true;
    case kSubtract: result = a - x; return true;
    case kMultiply: result = a * x; return true;
    case kDivide:
        if (x == 0) {
            error_ = true;
            accumulator_ = 0;
            entry_.clear();
            return false;
        }
        result = a / x;
        return true;
    default: result = x; return true;
    }
}

// A second operator key in a row only replaces the pending one; after "=" the displayed result is
// where the sum goes on from.
void Calculator::operatorKey(int code)
{
    if (last_ == Last::Equals) {
        accumulator_ = displayed_;
    } else if (last_ != Last::Operator) {
        double result = 0;
        if (!apply(result))
            return;
        accumulator_ = displayed_ = result;
    }
    entry_.clear();
    operator_ = code;
    last_ = Last::Operator;
}

void Calculator::equals()
{
    double result = 0;
    if (!apply(result))
        return;
    accumulator_ = displayed_ = result;
    operator_ = kNone;
    entry_.clear();
    last_ = Last::Equals;
}

// A percentage of the accumulator by the pending operator: add A × (100 + x) / 100, subtract
// A × (100 - x) / 100, multiply A × x / 100, divide A as a percentage of x; 0 with none pending.
void Calculator::percent()
{
    if (last_ == Last::Operator)
        return;
    const double a = accumulator_, x = displayed_;
    double result = 0;
    switch (operator_) {
    case kAdd: result = a * (100 + x) * 0.01; break;
    case kSubtract: result = a * (100 - x) * 0.01; break;
    case kMultiply: result = a * x * 0.01; break;
    case kDivide:
        if (x == 0) {
            error_ = true;
            accumulator_ = 0;
            return;
        }
        result = a / x * 100;
        break;
    default: result = 0; break;
    }
    accumulator_ = displayed_ = result;
    operator_ = kNone;
    entry_.clear();
    last_ = Last::Equals;
}

} // namespace qv
