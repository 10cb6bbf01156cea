// Readable listings of "Quorva.cfg" and of keyed item stores, for qvtool and tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qv::dev {

// The header, then one line per block and item in file order, then how the load went.
std::string DescribeConfigImage(std::span<const uint8_t> image);
// The header, then one line per item key in file order with its blob length.
std::string DescribeKeyedStoreImage(std::span<const uint8_t> image);

} // namespace qv::dev
