// Filled configurations for tests: every slot with its own name, chain and record bytes.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <random>
#include <vector>

namespace qv::test {

// A column chain of 1-4 records with lengths in [minLength, maxLength], ended by its zero byte.
std::vector<uint8_t> SampleChain(std::mt19937& rng, size_t minLength, size_t maxLength);

// Every slot filled from the seed. Names are set everywhere except some no-name slots of the
// families that allow it; sort bytes only where the file stores them. With narrowChains the column
// records are of the older, 16-byte shorter kind.
ConfigState SampleConfig(uint32_t seed, bool narrowChains = false);

} // namespace qv::test
