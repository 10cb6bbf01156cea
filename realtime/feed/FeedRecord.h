// One feed record parsed whole before anything of it is stored: its 12-byte header, its share
// directory and each share's items. A record that runs short or holds bits no code names is refused
// whole, so a damaged record leaves the store as it was.
#pragma once

#include "core/PackedDate.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

constexpr size_t kFeedRecordHeaderBytes = 12;
constexpr int kFeedSources = 15;
// Each source's bits in the enabled-feeds word (London 0x300, NASDAQ 0x3, NYSE/AMEX 0xC, forex 0x30,
// indices 0xC0).
constexpr uint32_t kFeedSourceMasks[kFeedSources] = {0x300, 0xC, 0xC, 0x3, 0xC0, 0xC0, 0xC0, 0xC0,
                                                     0xC0,  0x30, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0};
// The source of index values (an index's value stands as its bid and offer alike).
constexpr int kFeedIndexSource = 9;
constexpr size_t kFeedBlockHeaderBytes = 12;

// One item of a share. Prices are the coded integers before the source factor and price scale.
struct FeedItem {
    uint8_t code = 0;          // 1-3
    int32_t first = 0;         // price records: first coded value (unscaled)
    int32_t bid = 0;
    int32_t trade = 0;         // item code 1 only
    int direction = 0;
    uint32_t volume = 0;       // after the class multiplier
    uint32_t secondVolume = 0; // after its class multiplier
    int32_t offer = 0;
    int32_t last = 0;          // 0 stands for the bid
    bool hasOpen = false, hasClose = false;
    int32_t open = 0, close = 0;
    // Records of kind 0: the register the item addresses (1-3) and its price; volume above.
    int32_t registers[3] = {};
};

struct FeedShareItems {
    uint16_t share = 0;
    std::vector<FeedItem> items;
};

struct FeedRecord {
    uint8_t source = 0;
    uint8_t kind = 0; // low 4 bits of byte 1
    uint32_t time20 = 0; // twentieths of a second since midnight
    PackedDate day = 0;
    std::vector<FeedShareItems> shares;
    size_t bytes = 0; // header, directory and items: the byte after the items' last bit
};

enum class FeedParse : uint8_t { Ok, Short, Damaged };

// Parses the record at the start of bytes; Short when the bytes end inside it.
FeedParse ParseFeedRecord(std::span<const uint8_t> bytes, FeedRecord& out);

} // namespace qv
