// A ramp of colours between two colours, and the three-way placing of a value in a range.
#pragma once

#include <cstdint>
#include <span>

namespace qv {

// Writes n colours (0x00BBGGRR) stepping from `from` towards `to`; the last stops one step short
// of `to`. Writes nothing when n is below 1 and at most out.size() colours.
void MakeColourGradient(uint32_t from, uint32_t to, std::span<uint32_t> out, int n);

// 1 when the value lies in the upper third of low..high, 0 in the middle third, -1 below. The
// boundary between the middle and the upper third belongs to the upper third.
int CompareToMiddleThird(double low, double high, double value);

} // namespace qv
