// The InfoCentre's own 16-bit date: bits 9-15 the year from 2004 (modulo 128), bits 5-8 the month,
// bits 0-4 the day. Dates compare as unsigned numbers.
#pragma once

#include <cstdint>

namespace qv {

uint16_t MakeInCDate(int year, int month, int day);
// Today's date from the local clock.
uint16_t InCDate();
// The date `days` calendar days after today.
uint16_t InCDateAfterDays(int days);

} // namespace qv
