// The feed's bit reader and its code trees, built once from the code tables.
#include "realtime/feed/FeedBits.h"

#include <array>
#include <cstring>

namespace qv {
namespace {

constexpr FeedCode kValueCodes[] = {
    {"011", 13}, {"111", 8}, {"0000", 2}, {"0001", 14}, {"0010", 19}, {"0100", 12}, {"1000", 20}, {"1010", 7},
    {"1011", 9}, {"1100", 27}, {"1101", 11}, {"00111", 26}, {"01010", 3}, {"10010", 16}, {"001101", 18},
    {"010111", 1}, {"100110", 6}, {"0011000", 21}, {"0011001", 10}, {"0101101", 17}, {"1001110", 4},
    {"1001111", 24}, {"01011001", 25}, {"010110001", 0}, {"0101100000", 5}, {"01011000010", 22},
    {"010110000110", 28}, {"0101100001110", 29}, {"01011000011110", 30}, {"010110000111111", 31},
    {"0101100001111100", 23}, {"0101100001111101", 15},
};
constexpr FeedCode kVolumeClassCodes[] = {{"0", 3}, {"10", 1}, {"110", 0}, {"111", 2}};
constexpr FeedCode kVolumeWidthCodes[] = {{"01", 0}, {"10", 1}, {"11", 2}, {"001", 3}, {"0000", 4}, {"00010", 5},
                                          {"000110", 6}, {"000111", 7}};
constexpr FeedCode kCountClassCodes[] = {{"0", 1}, {"10", 3}, {"110", 0}, {"111", 2}};
constexpr FeedCode kCountValueCodes[] = {
    {"10", 0}, {"011", 1}, {"0000", 2}, {"0100", 3}, {"0010", 4}, {"00110", 5}, {"01011", 6}, {"11001", 7},
    {"000101", 8}, {"1101", 9}, {"010100", 10}, {"110001", 11}, {"0001000", 12}, {"0001100", 13},
    {"111011", 14}, {"0011100", 15}, {"1100000", 16}, {"1110000", 17}, {"1110010", 18}, {"001111", 19},
    {"00011010", 20}, {"00011101", 21}, {"00011111", 22}, {"01010100", 23}, {"00010010", 24},
    {"11000010", 25}, {"11100011", 26}, {"11100010", 27}, {"000100110", 28}, {"1110100", 29},
    {"000110110", 30}, {"000111001", 31}, {"001110100", 32}, {"001110110", 33}, {"000111000", 34},
    {"010101010", 35}, {"010101011", 36}, {"110000110", 37}, {"111001100", 38}, {"11101010", 39},
    {"111001111", 40}, {"111001110", 41}, {"111010110", 42}, {"0001101110", 43}, {"111001101", 44},
    {"0001111000", 45}, {"0001111010", 46}, {"0001001111", 47}, {"0001111011", 48}, {"0101011", 49},
    {"0001111001", 50}, {"0011101110", 51}, {"0011101011", 52}, {"1100001110", 53}, {"0011101111", 54},
    {"1110101110", 55}, {"1100001111", 56}, {"00010011101", 57}, {"1110101111", 58}, {"0001101111", 59},
    {"00010011100", 60}, {"00111010101", 61}, {"00111010100", 62}, {"1111", 63},
};
constexpr FeedCode kEscapeWidthCodes[] = {{"0", 1}, {"10", 2}, {"110", 3}, {"1110", 4}, {"11110", 5},
                                          {"111110", 0}, {"1111110", 7}, {"1111111", 6}};

// A binary tree of the codes: each node's two children (0 none), a leaf value or -1.
struct Tree {
    std::vector<std::array<uint16_t, 2>> next{{0, 0}};
    std::vector<int16_t> leaf{-1};

    explicit Tree(std::span<const FeedCode> codes)
    {
        for (const FeedCode& c : codes) {
            size_t node = 0;
            for (const char* b = c.bits; *b; ++b) {
                int bit = *b == '1';
                if (!next[node][bit]) {
                    next[node][bit] = uint16_t(next.size());
                    next.push_back({0, 0});
                    leaf.push_back(-1);
                }
                node = next[node][bit];
            }
            leaf[node] = int16_t(c.leaf);
        }
    }
};

const Tree& TreeOf(FeedTree t)
{
    static const std::array<Tree, 6> trees{Tree(kValueCodes),      Tree(kVolumeClassCodes), Tree(kVolumeWidthCodes),
                                           Tree(kCountClassCodes), Tree(kCountValueCodes),  Tree(kEscapeWidthCodes)};
    return trees[size_t(t)];
}

} // namespace

uint32_t FeedBitStream::ReadBits(int n)
{
    if (overrun_)
        return 0;
    if (n < 1 || n > 32 || bit_ + size_t(n) > bytes_.size() * 8) {
        overrun_ = true;
        bit_ = bytes_.size() * 8; // ran off the end: nothing is left to read
        return 0;
    }
    size_t byte = bit_ / 8;
    uint64_t window = 0;
    size_t take = std::min<size_t>(8, bytes_.size() - byte);
    std::memcpy(&window, bytes_.data() + byte, take); // little-endian hosts only, as everywhere
    uint32_t v = uint32_t((window >> (bit_ % 8)) & (n == 32 ? 0xFFFFFFFFull : (1ull << n) - 1));
    bit_ += size_t(n);
    return v;
}

std::span<const FeedCode> FeedCodeTable(FeedTree tree)
{
    switch (tree) {
    case FeedTree::Value: return kValueCodes;
    case FeedTree::VolumeClass: return kVolumeClassCodes;
    case FeedTree::VolumeWidth: return kVolumeWidthCodes;
    case FeedTree::CountClass: return kCountClassCodes;
    case FeedTree::CountValue: return kCountValueCodes;
    case FeedTree::EscapeWidth: return kEscapeWidthCodes;
    }
    return {};
}

int ReadFeedLeaf(FeedBitStream& s, FeedTree tree)
{
    const Tree& t = TreeOf(tree);
    size_t node = 0;
    while (t.leaf[node] < 0) {
        uint32_t bit = s.ReadBits(1);
        if (s.overrun())
            return -1;
        node = t.next[node][bit];
        if (!node) {
            s.fail();
            return -1;
        }
    }
    return t.leaf[node];
}

int32_t ReadDeltaValue(FeedBitStream& s, int32_t& previous, int& cls, bool keep)
{
    cls = 0;
    if (!s.ReadBits(1))
        return keep ? previous : 0;
    bool negative = s.ReadBits(1);
    int leaf = ReadFeedLeaf(s, FeedTree::Value);
    if (leaf < 0)
        return keep ? previous : 0;
    uint32_t magnitude = s.ReadBits(kFeedValueWidths[leaf & 7]);
    cls = magnitude ? 0 : leaf & 7;
    int64_t step = int64_t(kFeedValueMultipliers[leaf >> 3]) * magnitude;
    // Wraps as the 32-bit registers do; never undefined.
    previous = int32_t(uint32_t(int64_t(previous) + (negative ? -step : step)));
    return previous;
}

int ReadFeedDirection(FeedBitStream& s, int& cls)
{
    cls = 0;
    if (!s.ReadBits(1))
        return 0;
    bool negative = s.ReadBits(1);
    int leaf = ReadFeedLeaf(s, FeedTree::Value);
    if (leaf < 0)
        return 0;
    cls = leaf >> 3;
    if (!s.ReadBits(kFeedValueWidths[leaf & 7]))
        return 0;
    return negative ? -1 : 1;
}

uint32_t ReadFeedVolume(FeedBitStream& s, int& cls, uint32_t& bits)
{
    cls = ReadFeedLeaf(s, FeedTree::VolumeClass);
    if (cls < 0 || cls == 3) {
        cls = 3;
        return 0;
    }
    int w = ReadFeedLeaf(s, FeedTree::VolumeWidth);
    if (w < 0)
        return 0;
    bits += uint32_t(kFeedVolumeWidths[w]);
    return s.ReadBits(kFeedVolumeWidths[w]);
}

uint32_t ReadFeedCount(FeedBitStream& s, int& cls, uint32_t& value, uint32_t& bits, bool skip)
{
    value = 0;
    if (skip)
        return 0;
    cls = ReadFeedLeaf(s, FeedTree::CountClass);
    if (cls < 0 || cls == 3) {
        cls = 3;
        return 0;
    }
    int leaf = ReadFeedLeaf(s, FeedTree::CountValue);
    if (leaf < 0)
        return 0;
    uint32_t v = uint32_t(leaf);
    if (v == kFeedCountEscape) {
        int w = ReadFeedLeaf(s, FeedTree::EscapeWidth);
        if (w < 0)
            return 0;
        bits += uint32_t(kFeedEscapeWidths[w]);
        v = s.ReadBits(kFeedEscapeWidths[w]);
    }
    value = v + 1;
    return kFeedCountMultipliers[cls] * value;
}

bool ReadFeedShareDirectory(std::span<const uint8_t> body, std::vector<uint16_t>& shares, size_t& bytes)
{
    shares.clear();
    FeedBitStream s(body);
    uint32_t count = s.ReadBits(12);
    uint32_t sum = 0;
    shares.reserve(count);
    for (uint32_t i = 0; i < count && !s.overrun(); ++i) {
        uint32_t w = s.ReadBits(3);
        sum += s.ReadBits(int(2 * w + 2));
        shares.push_back(uint16_t(0x4000 + sum));
    }
    bytes = s.bitPosition() / 8 + 1;
    if (s.overrun() || bytes > body.size()) {
        shares.clear();
        return false;
    }
    return true;
}

} // namespace qv
