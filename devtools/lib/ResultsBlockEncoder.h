// Encoder of the detailed results blocks of the company data (fields 118-122): 18-bit figure codes
// and whole blocks, the inverse of lists/ResultsFigures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qv::dev {

// The nearest 18-bit code of a value: 0 for 0, the no-value code 0x1FFFF for none; magnitudes below
// e^-8 become 0 and above the largest code the largest.
uint32_t EncodeResultsFigure(std::optional<double> value);

using ResultsBlockFigures = std::array<std::optional<double>, 25>;

// A block: its length byte (60 for a full block; a smaller one makes a block that does not count and
// keeps only the bytes it counts), a zero byte, the year end's PackedDate and the 25 packed figures.
std::vector<uint8_t> EncodeResultsBlock(uint16_t yearEnd, const ResultsBlockFigures& figures, uint8_t length = 60);

} // namespace qv::dev
