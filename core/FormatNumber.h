// Amounts, money, significant digits, magnitudes, clock times and the number parser behind input fields.
// Texts are Windows-1252: the pound sign is the byte 0xA3.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The user's display settings that the formatting reads; the settings code keeps them current.
struct FormatOptions {
    bool negativeMoneyInBrackets = false; // "(£5)" rather than "-£5"
    bool plainEuroSign = false;           // "E" rather than the euro sign
};
FormatOptions& CurrentFormatOptions();

// Two decimals with ".00" dropped and thousands commas: 1234567.5 -> "1,234,567.50", -1234 -> "-1,234".
// Not-a-number and infinities give an empty text.
std::string FormatAmount(double value);
// Pounds with the pound sign and thousands commas; `decimals` adds pence, `allowFourDecimals` shows four
// places when there is a fraction of a penny. Not-a-number and infinities give an empty text.
std::string FormatMoney(double value, bool decimals, bool allowFourDecimals);
// The largest power of ten at most `value` whose exponent is a multiple of 3 (at most 10^15); the
// exponent goes to `exponent`.
double FindMagnitude(double value, int& exponent);
// "thousands", "millions", "billions", "trillions" for 3, 6, 9, 12; empty otherwise.
std::string_view GetMagnitudeWord(int exponent);
// `value` with `digits` significant digits, measured in `unit`, keeping `reserve` digits for decimals;
// asterisks when it is too wide, an empty text for not-a-number.
std::string FormatSignificantDigits(double value, int digits, double unit, int reserve);
// " 9:05:30" (24-hour) or " 9:05:30 AM"; empty for 0.
std::string FormatClockTime(uint32_t seconds, bool twentyFourHour);
// Reads a decimal number with optional sign and surrounding blanks. True when the whole text is a
// number; `out` gets what was read either way.
bool ParseDecimal(double& out, std::string_view text);

// Puts a comma before every third digit of a run of decimal digits.
std::string GroupThousands(std::string_view digits);

} // namespace qv
