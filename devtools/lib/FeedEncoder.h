// Writes feed messages as the feed's servers send them: bit streams, the code trees' leaves, share
// directories and whole records of price items. The feed stand-in and the tests build their
// messages with it.
#pragma once

#include "core/PackedDate.h"
#include "realtime/feed/FeedBits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::dev {

// Bits appended from the least significant upward, as the reader takes them.
class FeedBitWriter {
public:
    void Bits(uint32_t value, int n);
    void Code(const char* bitsInReadingOrder);
    void Leaf(FeedTree tree, uint8_t leaf);
    size_t bitCount() const { return bits_; }
    // The bytes, the last one padded with zero bits.
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t bits_ = 0;
};

// A coded price against a register: a 0 bit when the value is the register (with keep) or 0
// (without), else the smallest leaf that holds the difference.
void WriteDeltaValue(FeedBitWriter& w, int32_t value, int32_t& previous, bool keep);
void WriteFeedDirection(FeedBitWriter& w, int direction);
void WriteFeedVolume(FeedBitWriter& w, uint32_t volume);
// A count of at least 1 in the largest class that divides it; 0 writes class 3 (none). An escape
// width index forces the escape.
void WriteFeedCount(FeedBitWriter& w, uint32_t count, int escapeWidthIndex = -1);
// The directory's bytes: bit count / 8 + 1 of them.
std::vector<uint8_t> FeedShareDirectory(const std::vector<uint16_t>& shares);

// One price item of a share; prices are the coded integers.
struct FeedPriceItem {
    int32_t bid = 0, offer = 0;
    std::optional<int32_t> trade; // item code 1 when present, else 2
    int direction = 0;
    uint32_t volume = 0;
    std::optional<int32_t> open, close;
};
struct FeedShareRecord {
    uint16_t share = 0;
    std::vector<FeedPriceItem> items;
};
// A record of price items (kind 1) at a time of day in seconds.
std::vector<uint8_t> FeedPriceRecord(uint8_t source, PackedDate day, uint32_t seconds,
                                     const std::vector<FeedShareRecord>& shares);
// A catch-up block of records.
// `lacking`: bits 0-14 the sources whose records the server lacks since the block before, bits 15-31
// the second of the day from which this block serves them again (0x1FFFF: not in it).
std::vector<uint8_t> FeedCatchUpBlock(uint32_t blockTime20, const std::vector<std::vector<uint8_t>>& records,
                                      uint32_t lacking = 0);
// An instrument definition.
std::vector<uint8_t> FeedInstrumentDefinition(uint32_t key, const std::string& shortName, const std::string& longName,
                                              uint16_t sequence, uint8_t priceScale, uint8_t exchange,
                                              uint8_t marketType);

// A backfill answer's item: its byte of kind (top 3 bits) and payload length, then the payload (the
// share, the record's own day, the seconds, the flags and the prices as scale, width and value).
// Kind 1 is a quote, first the bid and second the offer; kind 2 a trade, first the price and second
// the volume. Prices are in hundredths.
std::vector<uint8_t> FeedBackfillItem(int kind, uint16_t share, uint32_t seconds, int64_t first, int64_t second);
// A share answer's record: u16 its length, u16 the item count, 2 bytes, u16 the day, the items.
std::vector<uint8_t> FeedBackfillRecord(PackedDate day, const std::vector<std::vector<uint8_t>>& items);

} // namespace qv::dev
