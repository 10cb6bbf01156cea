// The three program-wide keyed item stores and their start-up loading: "Graph.cfg" (drawings,
// indicator line styles, setting records), "EditPrice.cfg" (price corrections) and "RTMarket.cfg".
#pragma once

#include "core/KeyedItemStore.h"

#include <cstdint>
#include <functional>

namespace qv {

inline constexpr uint16_t kPriceCorrectionKind = 6;
inline constexpr size_t kPriceCorrectionHeadBytes = 8;

KeyedItemStore& LinesAndTextStore();
KeyedItemStore& PriceCorrectionStore();
KeyedItemStore& MarketItemStore();

// Loads "Graph.cfg" into the lines-and-text store. With retry, a file that cannot be opened is tried
// three times in all, waiting 1000 ms between tries, and then reported.
void LoadGraphConfigRetry(bool retry, const std::function<void(int ms)>& wait = {});

// The first stored 36-byte correction record of a share's price stream ("EditPrice.cfg", kind 6,
// sub-key 0), or null when the share has none.
uint8_t* FindPriceCorrections(uint16_t recordId, uint16_t extraWord);

} // namespace qv
