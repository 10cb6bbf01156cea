// Numbers on charts: printf formats for a value at some decimals, rounding that keeps seven
// significant digits, scaling by thousands with a unit suffix, and the round step of an axis.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Writes the printf format the value prints with and returns the value as it will be printed.
// A format of "%d" means the returned value is printed as a whole number.
double BuildNumberFormat(std::string& format, float value, int decimals, bool plusSign, bool zeroFill,
                         int minDecimals);
// The value printed with the format BuildNumberFormat makes.
void FormatChartValueText(std::string& text, float value, int decimals, bool plusSign, bool zeroFill,
                          int minDecimals);
// An axis text: scaled by thousands with "k", "m" or "b", or with the fixed-scale flag divided by the
// divisor (when useDivisor) and without a suffix.
void FormatScaled(std::string& text, float value, bool useDivisor, bool fixedScale, int32_t divisor,
                  int minDecimals, int decimals, bool plusSign);
// The value scaled to billions, millions or thousands with "b", "m" or "k"; below a thousand it is
// returned unchanged and the suffix is left as it was.
double ScaleWithSuffix(double value, const char*& suffix);
// factor = 1000^power, power at most 3, taken while at least 4000 of the unit remain.
void GetThousandsScale(double value, double& factor, int& power);
// " - thousands", " - millions" or " - billions": the unit word a pane's title names for an axis
// counted at that power of a thousand; empty for plain numbers.
std::string PaneUnitSuffix(int power);

// The value rounded to d decimals; d is lowered for each trailing zero decimal, and for decimals
// beyond the seventh significant digit.
double RoundToDecimals(double value, int& decimals);
// The integer part with every digit after the seventh significant one set to 0.
int64_t KeepSignificantDigits(double value);
// a - b, each rounded to d decimals at seven significant digits.
double RoundedDifference(float a, float b, int decimals);

// A round step (2, 5 or 10 times a power of ten) for about n ticks between low and high; 0 when the
// range is empty or not finite. maxDecimals 0 means any.
double NiceAxisStep(double low, double high, int n, int maxDecimals);

} // namespace qv
