// The status bar's feed-level pane: five small bars, one per exchange, showing the level of data in
// use and, above it, the level wanted but not yet had.
#pragma once

#include "realtime/FeedStates.h"

#include <cstdint>
#include <vector>

namespace qv {

// A block relative to the pane's top-left corner; colour as 0x00BBGGRR.
struct LevelBlock {
    int x, top, width, bottom; // rows top .. bottom - 1
    uint32_t colour;
};

constexpr uint32_t kLevelNavy = 0x800000;
constexpr uint32_t kLevelWhite = 0xFFFFFF;
constexpr uint32_t kLevelRed = 0x0000FF;

// Bar i's 2-bit level: bars take bits 8-9, 0-1, 2-3, 4-5 and 6-7.
int FeedLevelOfBar(uint32_t word, int bar);
std::vector<LevelBlock> FeedLevelBlocks(uint32_t wanted, uint32_t inUse, int connectionState);

// The feed's level words and connection state; the feed client fills them in.
struct FeedLevels {
    uint32_t wanted = 0;
    uint32_t inUse = 0;
    int connectionState = 0;
};
FeedLevels& CurrentFeedLevels();

} // namespace qv
