// The feed's bit streams: 32-bit little-endian words read from the least significant bit upward,
// bounded by the bytes the message holds, and the prefix codes of its values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// A reader over a message's bytes. Reading past the end yields zero bits and marks the stream
// overrun, so a short or damaged message is refused rather than read beyond its buffer.
class FeedBitStream {
public:
    FeedBitStream() = default;
    explicit FeedBitStream(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // n from 1 to 32 bits; a read that crosses a word joins the current word's high bits (low part)
    // with the next word's low bits (high part).
    uint32_t ReadBits(int n);
    bool overrun() const { return overrun_; }
    void fail() { overrun_ = true; }
    size_t bitPosition() const { return bit_; }
    // Whole bytes used so far: a partly used last byte counts.
    size_t bytesUsed() const { return (bit_ + 7) / 8; }
    size_t size() const { return bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
    size_t bit_ = 0;
    bool overrun_ = false;
};

// The code trees of the feed (with the directory's width codes, its seven tables).
enum class FeedTree : uint8_t {
    Value,        // 32 leaves: low 3 bits a width index, upper bits a multiplier index
    VolumeClass,  // 0-3, 3 meaning no volume
    VolumeWidth,  // 8 width indices
    CountClass,   // 0-3, 3 meaning none
    CountValue,   // 64 leaves, 63 the escape
    EscapeWidth,  // 8 width indices
};

struct FeedCode {
    const char* bits; // in reading order
    uint8_t leaf;
};
std::span<const FeedCode> FeedCodeTable(FeedTree tree);
// Reads one leaf; -1 when the stream runs out or the bits name no leaf.
int ReadFeedLeaf(FeedBitStream& s, FeedTree tree);

constexpr int kFeedValueWidths[8] = {2, 5, 8, 10, 11, 12, 16, 24};
constexpr int32_t kFeedValueMultipliers[4] = {1, 100, 300, 1000};
constexpr int kFeedVolumeWidths[8] = {1, 2, 3, 4, 6, 10, 16, 30};
constexpr uint32_t kFeedVolumeMultipliers[3] = {1, 100, 1000};
constexpr int kFeedEscapeWidths[8] = {5, 6, 7, 8, 9, 10, 16, 30};
constexpr uint32_t kFeedCountMultipliers[3] = {1, 100, 1000};
constexpr uint32_t kFeedCountEscape = 63;

// A coded price: a 0 bit gives no new value (the previous one when keep is set, else 0); else a
// sign, a value leaf and a magnitude, added to the previous value, which it replaces. The class is
// the leaf's width index, or 0 when the magnitude is non-zero.
int32_t ReadDeltaValue(FeedBitStream& s, int32_t& previous, int& cls, bool keep);
// -1, 0 or +1; the class is the leaf's multiplier index.
int ReadFeedDirection(FeedBitStream& s, int& cls);
// A volume before its class's multiplier; class 3 gives 0. The width read is added to bits.
uint32_t ReadFeedVolume(FeedBitStream& s, int& cls, uint32_t& bits);
// A count times its class's multiplier; 0 for skip or class 3.
uint32_t ReadFeedCount(FeedBitStream& s, int& cls, uint32_t& value, uint32_t& bits, bool skip);

// The share directory at the start of a record's body: a 12-bit count, then per share a 3-bit
// width code w and a (2w + 2)-bit difference. Share numbers are the running sum modulo 65,536 plus
// 0x4000. The directory takes its bit count / 8 + 1 bytes. False when the body is too short.
bool ReadFeedShareDirectory(std::span<const uint8_t> body, std::vector<uint16_t>& shares, size_t& bytes);

} // namespace qv
