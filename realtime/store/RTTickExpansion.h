// A share's stored day expanded into ticks for an active share, the trades classed as buys and
// sells against the quotes, and older days rolled up into bars.
#pragma once

#include "realtime/store/RTActiveShares.h"
#include "realtime/store/RTDayRecord.h"

#include <cstdint>

namespace qv {

// Mode bit 0 keeps items with a zero value and forces a day already expanded to be read again.
constexpr uint32_t kRTExpandKeepAll = 1;

// Expands the share's tick words of the day into its day block; true when a block was built.
bool LoadRTActiveShareDay(RTDayRecord* day, RTActiveShare* share, uint32_t mode);
// Sets each trade's class and counts the buys and sells.
void ClassifyRTTrades(RTShareDayBlock& block, uint32_t& buys, uint32_t& sells);
// Replaces the block's ticks by bars of the given length; `markTrades` notes the day's first two
// trades in their bars. The block keeps its ticks when the roll-up fails.
void RollUpRTTicks(PackedDate day, RTShareDayBlock& block, uint32_t secondsPerBar, bool markTrades);
// Bar length of a roll-up level (1-4); 0 for level 0.
uint32_t RTRollUpSeconds(uint8_t level);

} // namespace qv
