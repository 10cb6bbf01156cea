// The London market's trading days: weekdays other than the bank holidays of England and Wales.
#pragma once

#include <chrono>
#include <vector>

namespace qv::dev {

// The bank holidays of England and Wales in a year (substitute days included, and the one-off
// holidays of 1999-2023), in date order.
std::vector<std::chrono::sys_days> EnglandBankHolidays(int year);

bool IsLondonTradingDay(std::chrono::sys_days day);

} // namespace qv::dev
