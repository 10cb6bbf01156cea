// The user's price corrections, looked up by share id and stream number. The corrections store that
// keeps them ("EditPrice.cfg") installs its lookup here; until it does there are none.
#pragma once

#include "core/DayRecord.h"

#include <cstdint>
#include <functional>

namespace qv {

// Returns the first correction record of the stream (records in ascending date order ended by a date
// of 0), or null when the stream has no corrections.
using PriceCorrectionLookup = std::function<const DayRecord*(uint16_t shareId, uint32_t streamNumber)>;

// Installs the lookup (an empty one removes it); returns the previous one.
PriceCorrectionLookup SetPriceCorrectionLookup(PriceCorrectionLookup lookup);

const DayRecord* GetPriceCorrections(uint16_t shareId, uint32_t streamNumber);

} // namespace qv
