// The directors' dealings blocks that the database load and free touch.
#pragma once

#include <cstdint>

namespace qv {

constexpr int kDealingsBlockSlots = 20;

extern uint8_t* DealingsMainBlock;
extern uint8_t* DealingsBlockTable[kDealingsBlockSlots];
extern int32_t DealingsBlockCount;

// Reads "data\DirDeal.dat" into the dealings blocks and reports its own errors.
void LoadDirDeal();
// Frees the main block and every block of the table, and clears them.
void FreeDirDealBlocks();

} // namespace qv
