// Lookup of the user's price corrections.
#include "core/PriceCorrections.h"

#include <utility>

namespace qv {

namespace {
PriceCorrectionLookup& Lookup()
{
    static PriceCorrectionLookup lookup;
    return lookup;
}
} // namespace

PriceCorrectionLookup SetPriceCorrectionLookup(PriceCorrectionLookup lookup)
{
    return std::exchange(Lookup(), std::move(lookup));
}

const DayRecord* GetPriceCorrections(uint16_t shareId, uint32_t streamNumber)
{
    const PriceCorrectionLookup& lookup = Lookup();
    if (!lookup)
        return nullptr;
    const DayRecord* first = lookup(shareId, streamNumber);
    // A store entry that holds only its end record is no correction at all.
    return first && first->date != 0 ? first : nullptr;
}

} // namespace qv
