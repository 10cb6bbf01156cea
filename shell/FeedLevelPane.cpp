// Feed-level bars.
#include "shell/FeedLevelPane.h"

namespace qv {
namespace {

constexpr int kBarShift[5] = {8, 0, 2, 4, 6};

} // namespace

int FeedLevelOfBar(uint32_t word, int bar) { return bar < 0 || bar > 4 ? 0 : int((word >> kBarShift[bar]) & 3); }

std::vector<LevelBlock> FeedLevelBlocks(uint32_t wanted, uint32_t inUse, int connectionState)
{
    bool connected = connectionState >= kFeedConnected;
    std::vector<LevelBlock> blocks;
    for (int i = 0; i < 5; ++i) {
        int u = connected ? FeedLevelOfBar(inUse, i) : 0;
        int w = connected ? FeedLevelOfBar(wanted, i) : 0;
        int x = 1 + 5 * i;
        int top = 11 - 3 * u;
        blocks.push_back(LevelBlock{x, top, 3, 12, kLevelNavy});
        if (w > u)
            blocks.push_back(LevelBlock{x, top - 3 * (w - u), 3, top, u > 0 ? kLevelWhite : kLevelRed});
    }
    return blocks;
}

FeedLevels& CurrentFeedLevels()
{
    static FeedLevels levels;
    return levels;
}

} // namespace qv
